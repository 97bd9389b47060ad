// Arbitrary text as a ship definition: parse its lines, then read it into a context and patch it. A save
// right after the read, with nothing edited, must leave every byte as it was; then every gun is edited and
// saved again.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzSupport.h"
#include "attachments/ShpFile.h"
#include "base/AtomicFile.h"
#include "base/RunTimeError.h"
#include "base/TextLines.h"
#include "editor/context/EditingContext.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        tarv::parseShpLines(tarv::splitTextLines(text));
    } catch (const tarv::RunTimeError&) {
        // A refused line.
    }

    // The patch works on the file and on the guns the reader took from it.
    tarv::EditingContext ctx;
    tarv::fuzz::AlternatingPrompts prompts;
    ctx.services.prompts = &prompts;
    ctx.prefs.logLevel = 0;
    ctx.userDataFolder = tarv::fuzz::scratchFolder();
    auto path = tarv::fuzz::writeScratch("ship.shp", data, size).string();
    tarv::loadShpFile(ctx, path);

    if (tarv::patchShpText(text, ctx.shp) != text) std::abort();
    tarv::saveSHPfile(ctx, path);
    const std::vector<uint8_t> after = tarv::readWholeFile(path);
    if (after.size() != size || !std::equal(after.begin(), after.end(), data)) std::abort();

    for (auto& gun : ctx.shp.shpGuns) {
        gun.barrelLength = 1.25f;
        gun.gunType = gun.gunType % 4 + 1;
    }
    tarv::saveSHPfile(ctx, path);
    return 0;
}
