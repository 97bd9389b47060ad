// Arbitrary bytes as a .mad file: every input ends in applied data or a refusal through the error report,
// never in an out-of-bounds read or an allocation the file's size does not justify.
#include <cstdint>
#include <cstdlib>
#include <system_error>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "FuzzSupport.h"
#include "animation/MadFile.h"
#include "animation/MadTracks.h"
#include "editor/context/EditingContext.h"

namespace {

// The input file, in the process's scratch folder.
const std::filesystem::path& inputPath() {
    static const std::filesystem::path path = tarv::fuzz::scratchFolder() / "input.mad";
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    {
        std::ofstream out(inputPath(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }
    tarv::EditingContext ctx;
    ctx.userDataFolder = inputPath().parent_path();  // the log without a model goes there
    ctx.prefs.logLevel = 0;                          // and stays empty: log lines are level 1
    tarv::SilentErrorReport report;
    ctx.services.errorReport = &report;
    for (const char* name : {"Hull", "Gun", "**DELETED**", "Fire"}) {
        tarv::PeoObject object;
        object.name = name;
        ctx.model.peoObjects.push_back(object);
    }
    ctx.model.peoObjects[0].madObjectIndex = 9;  // a stale value that only a matching track may replace

    tarv::getMadInfo(ctx, inputPath());

    const auto& state = ctx.animation;
    if (report.count > 0) {
        // Refused: nothing applied.
        if (!state.madAnimations.empty() || !state.madObjects.empty()) std::abort();
        if (ctx.model.peoObjects[0].madObjectIndex != 9 || ctx.model.peoObjects[1].madObjectIndex != -1) std::abort();
        return 0;
    }
    if (state.madAnimations.size() > size_t(tarv::kMaxMadAnimations)) std::abort();
    if (state.madObjectCount() > tarv::kMaxMadObjects) std::abort();
    for (const auto& object : ctx.model.peoObjects) {
        bool named = false;  // a track carries the object's name
        for (const auto& track : state.madObjects) named = named || track.name == object.name;
        // Without a track of its name, the object keeps the link it had (the stale 9 of object 0, or none).
        if (!named) {
            if (object.madObjectIndex != (&object == &ctx.model.peoObjects[0] ? 9 : -1)) std::abort();
            continue;
        }
        if (object.madObjectIndex < 0 || object.madObjectIndex >= state.madObjectCount() ||
            state.madObjects[size_t(object.madObjectIndex)].name != object.name)
            std::abort();
    }
    // What was read can be queried.
    for (int track = 0; track < state.madObjectCount() && track < 8; ++track)
        for (int a = 0; a < int(state.madAnimations.size()) && a < 4; ++a) {
            tarv::getNoOfKeyframesForAnim(ctx, track, a);
            tarv::getEndKeyframeForAnim(ctx, track, a);
        }
    return 0;
}
