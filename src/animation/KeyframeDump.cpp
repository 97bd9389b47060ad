#include "animation/KeyframeDump.h"

#include "animation/MadTracks.h"
#include "base/AtomicFile.h"
#include "base/NumberText.h"
#include "editor/context/EditingContext.h"
#include "editor/context/TrapGuard.h"
#include "model/ModelHelpers.h"

namespace tarv {

namespace {

constexpr const char* kEnd = "\r\n";

void line(std::string& text, const std::string& content) {
    text += content;
    text += kEnd;
}

// The key block of key k, with the TCB line when asked.
void keyBlock(std::string& text, size_t k, const MadKeyframe& key, bool tcb) {
    line(text, "    " + intText(int64_t(k)) + ": " + floatText(key.time));
    line(text, "      Pos X: " + floatText(key.position.x) + " Y: " + floatText(key.position.y) +
                   " Z: " + floatText(key.position.z));
    line(text, "      Rot X: " + floatText(radToDeg(key.rotation.x)) + " Y: " + floatText(radToDeg(key.rotation.y)) +
                   " Z: " + floatText(radToDeg(key.rotation.z)));
    if (tcb)
        line(text, "      Tension: " + floatText(key.tension) + " Continuity: " + floatText(key.continuity) +
                       " Bias: " + floatText(key.bias));
}

// The track of an object, when it has one with keys.
const MadObject* keysOf(const EditingContext& ctx, const PeoObject& object) {
    const int16_t t = object.madObjectIndex;
    if (t < 0 || t >= ctx.animation.madObjectCount()) return nullptr;
    const MadObject& track = ctx.animation.madObjects[size_t(t)];
    return track.keyframes.empty() ? nullptr : &track;
}

void showDump(EditingContext& ctx, const std::string& text) {
    const std::filesystem::path path = keyframeDumpPath(ctx);
    if (text.empty()) {
        removeKeyframeDump(ctx);
        return;
    }
    std::filesystem::create_directories(path.parent_path());
    writeFileAtomically(path, std::string_view(text));
    ctx.textViewer().openTextFile(path.string());  // a viewer that cannot start is passed over
}

}  // namespace

std::string allKeyframesText(const EditingContext& ctx) {
    std::string text;
    for (const PeoObject& object : ctx.model.peoObjects) {
        const MadObject* track = keysOf(ctx, object);
        if (!track) continue;
        line(text, "Keyframes for object: " + object.name);
        line(text, kEnd);
        line(text, "All keyframes: ");
        for (size_t k = 0; k < track->keyframes.size(); ++k) keyBlock(text, k, track->keyframes[k], false);
        line(text, kEnd);
    }
    return text;
}

std::string selectedKeyframesText(EditingContext& ctx) {
    std::string text;
    const int16_t o = ctx.objects.selectedObject;
    if (o < 0 || o >= ctx.model.objectCount()) return text;
    const PeoObject& object = ctx.model.peoObjects[size_t(o)];
    const MadObject* track = keysOf(ctx, object);
    if (!track) return text;
    line(text, "Keyframes for object: " + object.name);
    const auto& animations = ctx.animation.madAnimations;
    for (size_t a = 0; a < animations.size(); ++a) {
        const MadAnimation& window = animations[a];
        line(text, "\r");
        line(text, "  Animation: " + window.name);
        line(text, "             (Start: " + floatText(window.startTime) + ", End: " + floatText(window.endTime) + ")");
        line(text, "  Keyframes found: " + intText(getNoOfKeyframesForAnim(ctx, object.madObjectIndex, int(a))));
        for (size_t k = 0; k < track->keyframes.size(); ++k) {
            const float time = track->keyframes[k].time;
            if (window.startTime <= time && time <= window.endTime) keyBlock(text, k, track->keyframes[k], true);
        }
    }
    line(text, kEnd);
    line(text, "All keyframes: ");
    for (size_t k = 0; k < track->keyframes.size(); ++k) keyBlock(text, k, track->keyframes[k], false);
    return text;
}

std::filesystem::path keyframeDumpPath(const EditingContext& ctx) { return ctx.userDataFolder / "keyframes.tmp"; }

void dumpAllKeyframes(EditingContext& ctx) {
    trapErrors(ctx, "modMad", "dumpAllKeyframes", "", [&] { showDump(ctx, allKeyframesText(ctx)); });
}

void dumpKeyframes(EditingContext& ctx) {
    trapErrors(ctx, "modMad", "dumpKeyframes", "", [&] {
        const std::string text = selectedKeyframesText(ctx);
        setErrorContext(ctx, "modMad", "dumpKeyframes");
        showDump(ctx, text);
    });
}

void removeKeyframeDump(EditingContext& ctx) {
    std::error_code ec;
    std::filesystem::remove(keyframeDumpPath(ctx), ec);
}

}  // namespace tarv
