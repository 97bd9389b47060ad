// Arbitrary bytes as an .smd sequence: the pure parse gives a record or a refusal, and every record it accepts
// goes through the import's stages on a fresh context with a small model, once answering every question Yes
// and once No. Never a crash, a hang or an allocation the input's size does not justify; a No or a failure
// leaves the model as it was.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "animation/SmdFile.h"
#include "animation/SmdImport.h"
#include "base/RunTimeError.h"
#include "editor/context/EditingContext.h"
#include "scene/Scene.h"

namespace {

class Answering : public tarv::DecliningPrompts {
public:
    explicit Answering(bool yes) : yes_(yes) {}
    bool yesNo(const std::string&, const std::string&, tarv::PromptIcon) override { return yes_; }

private:
    bool yes_;
};

void importInto(tarv::SmdSequence smd, bool yes) {
    tarv::EditingContext ctx;
    ctx.prefs.logLevel = 0;
    Answering prompts(yes);
    ctx.services.prompts = &prompts;
    auto root = tarv::scene::createFrame();
    for (const char* name : {"root", "Gun", "Arm", "Gun", "left gun"}) {
        tarv::PeoObject object;
        object.name = name;
        ctx.model.peoObjects.push_back(object);
        tarv::ViewObject view;
        view.frame = tarv::scene::createFrame(root);
        ctx.view.viewObjects.push_back(view);
    }
    ctx.animation.madAnimations = {{"Old", 0, 2, 0}};
    bool completed = false;
    try {
        completed = tarv::importSmd(ctx, smd);
    } catch (const tarv::RunTimeError&) {
    }
    if (!completed) {
        if (ctx.animation.madAnimations.size() != 1 || ctx.animation.madAnimations[0].name != "Old") std::abort();
        return;
    }
    if (ctx.animation.madAnimations.size() != 1) std::abort();
    for (const auto& object : ctx.model.peoObjects)
        if (object.madObjectIndex >= ctx.animation.madObjectCount()) std::abort();
    for (const auto& track : ctx.animation.madObjects)
        if (track.keyframes.size() != smd.frames.size() + 2) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tarv::SmdSequence smd;
    try {
        smd = tarv::parseSmd(std::span<const uint8_t>(data, size), "input.smd");
    } catch (const tarv::RunTimeError&) {
        return 0;
    }
    if (smd.nodes.empty() || smd.frames.empty()) std::abort();
    for (const auto& frame : smd.frames)
        if (frame.poses.size() != smd.nodes.size()) std::abort();
    importInto(smd, true);
    importInto(smd, false);
    return 0;
}
