#include "animation/Playback.h"

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "animation/MadTracks.h"
#include "animation/state/AnimationsPageState.h"
#include "base/NumberText.h"
#include "base/RunTimeError.h"
#include "editor/context/EditingContext.h"
#include "editor/context/TrapGuard.h"
#include "model/RotationMath.h"
#include "objects/ObjectSelection.h"
#include "preview/PreviewScene.h"
#include "scene/Scene.h"

namespace tarv {

namespace {

constexpr float kJumpLimit = 3.1415927f;  // pi as a 32-bit float
constexpr double kPi = 3.14159265359;
constexpr double kHoldSeconds = 2.0;

const MadKeyframe& keyAt(const MadObject& track, int index) {
    if (index < 0 || index >= track.keyframeCount()) throw RunTimeError::subscriptOutOfRange();
    return track.keyframes[size_t(index)];
}

float& axis(Vector3& v, int c) { return c == 0 ? v.x : c == 1 ? v.y : v.z; }
float axis(const Vector3& v, int c) { return c == 0 ? v.x : c == 1 ? v.y : v.z; }

// The first axis (x, y, z in order) whose angle moves by pi or more from P to K; -1 when none does.
int jumpingAxis(const MadKeyframe& K, const MadKeyframe& P) {
    for (int c = 0; c < 3; ++c)
        if (std::fabs(float(axis(K.rotation, c) - axis(P.rotation, c))) >= kJumpLimit) return c;
    return -1;
}

void putKey(scene::Interpolator& in, const scene::FramePtr& reference, const Vector3& position,
            const Vector3& rotation) {
    in.setPosition(reference, position.x, position.y, position.z);
    in.setQuaternion(reference, makeQuaternion(rotation));
}

// The jump from P to K on axis c in m equal steps of at most pi/2, the last of them K itself.
void putSplitKeys(scene::Interpolator& in, const scene::FramePtr& reference, const MadKeyframe& K, const MadKeyframe& P,
                  int c, float base) {
    const double d0 = double(axis(P.rotation, c)) - double(axis(K.rotation, c));
    int m = 1;
    double d = d0 - kPi / 2;
    while (std::fabs(d) > kPi / 2) {
        d = std::fabs(d0) - m * (kPi / 2);
        ++m;
    }
    const double stepT = (double(K.time) - double(P.time)) / m;
    const double stepA = (double(axis(K.rotation, c)) - double(axis(P.rotation, c))) / m;
    const float index = K.time - base;
    for (int i = 1; i <= m; ++i) {
        in.setIndex(float(double(index) - (m - i) * stepT));
        Vector3 rotation = K.rotation;
        axis(rotation, c) = float(double(axis(K.rotation, c)) - (m - i) * stepA);
        putKey(in, reference, K.position, rotation);
    }
}

// Interpolates the track's first linked object when the track has two keys or more in the animation.
// firstObject: the lowest object index linked to each track, -1 for none.
void interpolateTrack(EditingContext& ctx, int track, int animation, float el,
                      const std::vector<int16_t>& firstObject) {
    const int16_t o = firstObject[size_t(track)];
    if (o < 0 || size_t(o) >= ctx.view.viewObjects.size()) return;
    const auto& interpolator = ctx.view.viewObjects[size_t(o)].interpolator;
    if (!interpolator || !hasKeyframesForAnim(ctx, track, animation, 2)) return;
    interpolator->interpolate(el, scene::kInterpolationLinear);
}

// The lowest object index linked to each track (as getPeoObjectFromMadObjects finds it), in one pass.
std::vector<int16_t> firstObjectOfTracks(const EditingContext& ctx) {
    std::vector<int16_t> first(size_t(ctx.animation.madObjectCount()), -1);
    const auto& objects = ctx.model.peoObjects;
    for (size_t i = objects.size(); i-- > 0;) {
        const int16_t t = objects[i].madObjectIndex;
        if (t >= 0 && size_t(t) < first.size()) first[size_t(t)] = int16_t(i);
    }
    return first;
}

void stopAndCaption(EditingContext& ctx, std::string& caption) {
    PlaybackState& play = ctx.preview.playback;
    play.isPlaying = 0;
    play.playObject = -1;
    play.playAnimation = -1;
    play.playStartTime = 0;
    caption = "Play";
}

bool isSelected(int index, const EditingContext& ctx) {
    return index >= 0 && size_t(index) < ctx.animation.madAnimations.size();
}

}  // namespace

void createInterpolators(EditingContext& ctx, int track, int animation) {
    trapErrors(ctx, "modMad", "createInterpolators", intText(track) + "|" + intText(animation), [&] {
        if (getNoOfKeyframesForAnim(ctx, track, animation) < 1) return;
        const int s = getStartKeyframeForAnim(ctx, track, animation);
        const int e = getEndKeyframeForAnim(ctx, track, animation);
        const int16_t o = getPeoObjectFromMadObjects(ctx, track);
        if (o == -1) return;
        // Every key found in the window lies outside it by less than the rounding step: nothing to play.
        if (e < s) return;
        if (animation < 0 || size_t(animation) >= ctx.animation.madAnimations.size() || track < 0 ||
            track >= ctx.animation.madObjectCount() || size_t(o) >= ctx.view.viewObjects.size())
            throw RunTimeError::subscriptOutOfRange();
        const float base = ctx.animation.madAnimations[size_t(animation)].startTime;
        const MadObject& keys = ctx.animation.madObjects[size_t(track)];
        ViewObject& view = ctx.view.viewObjects[size_t(o)];
        const scene::FramePtr& frame = frameOf(view);
        auto interpolator = scene::createInterpolator();
        view.interpolator = interpolator;
        for (int k = s; k <= e; ++k) {
            const MadKeyframe& K = keyAt(keys, k);
            const MadKeyframe& P = keyAt(keys, k - 1);
            const scene::FramePtr reference = frame->getParent();
            ctx.preview.playback.playEndTime = K.time - base;
            interpolator->setIndex(K.time - base);
            const int c = jumpingAxis(K, P);
            if (c < 0)
                putKey(*interpolator, reference, K.position, K.rotation);
            else
                putSplitKeys(*interpolator, reference, K, P, c, base);
        }
        const MadKeyframe& L = keyAt(keys, e);
        interpolator->setIndex(float(double(L.time - base) + kHoldSeconds));
        putKey(*interpolator, frame->getParent(), L.position, L.rotation);
        interpolator->attachObject(frame);
    });
}

bool advancePlayback(EditingContext& ctx) {
    PlaybackState& play = ctx.preview.playback;
    if (play.isPlaying != 1) return false;
    const float el = float(ctx.clock().monotonicSeconds() - play.playStartTime);
    const auto& animations = ctx.animation.madAnimations;
    if (el > play.playEndTime && play.playAnimation >= 0) {
        if (size_t(play.playAnimation) < animations.size() && animations[size_t(play.playAnimation)].loop == 0) {
            if (play.playObject < 0)
                cmdPlayAnimation_Click(ctx);
            else
                cmdObjectPlay_Click(ctx);
        }
        return true;
    }
    if (play.playAnimation < 0 || size_t(play.playAnimation) >= animations.size()) return false;
    const std::vector<int16_t> firstObject = firstObjectOfTracks(ctx);
    if (play.playObject == -1) {
        for (int t = 0; t < ctx.animation.madObjectCount(); ++t)
            interpolateTrack(ctx, t, play.playAnimation, el, firstObject);
    } else if (play.playObject >= 0 && play.playObject < ctx.animation.madObjectCount()) {
        interpolateTrack(ctx, play.playObject, play.playAnimation, el, firstObject);
    }
    return false;
}

void cmdPlayAnimation_Click(EditingContext& ctx) {
    trapErrors(ctx, "frmTARV", "cmdPlayAnimation_Click", "", [&] {
        AnimationsPageState& page = *ctx.animationsPage;
        const int a = page.lstAnimationsIndex;
        if (!isSelected(a, ctx)) return;
        if (page.cmdPlayAnimationCaption != "Play") {
            stopAndCaption(ctx, page.cmdPlayAnimationCaption);
            return;
        }
        int total = 0;
        for (int t = 0; t < ctx.animation.madObjectCount(); ++t) total += getNoOfKeyframesForAnim(ctx, t, a);
        if (total == 0) return;
        for (int t = 0; t < ctx.animation.madObjectCount(); ++t) createInterpolators(ctx, t, a);
        setErrorContext(ctx, "frmTARV", "cmdPlayAnimation_Click");
        PlaybackState& play = ctx.preview.playback;
        play.isPlaying = 1;
        play.playObject = -1;
        play.playAnimation = int16_t(a);
        play.playStartTime = ctx.clock().monotonicSeconds();
        page.cmdPlayAnimationCaption = "Stop";
    });
}

void cmdObjectPlay_Click(EditingContext& ctx) {
    trapErrors(ctx, "frmTARV", "cmdObjectPlay_Click", "", [&] {
        AnimationsPageState& page = *ctx.animationsPage;
        const int a = page.cmbObjAnimsIndex;
        if (!isSelected(a, ctx)) return;
        if (page.cmdObjectPlayCaption != "Play") {
            stopAndCaption(ctx, page.cmdObjectPlayCaption);
            return;
        }
        const int16_t selected = ctx.objects.selectedObject;
        if (selected < 0 || selected >= ctx.model.objectCount()) return;
        const int16_t t = ctx.model.peoObjects[size_t(selected)].madObjectIndex;
        if (t == -1) return;
        createInterpolators(ctx, t, a);
        setErrorContext(ctx, "frmTARV", "cmdObjectPlay_Click");
        PlaybackState& play = ctx.preview.playback;
        play.isPlaying = 1;
        play.playObject = t;
        play.playAnimation = int16_t(a);
        play.playStartTime = ctx.clock().monotonicSeconds();
        page.cmdObjectPlayCaption = "Stop";
    });
}

void stopPlayback(EditingContext& ctx) {
    AnimationsPageState& page = *ctx.animationsPage;
    stopAndCaption(ctx, page.cmdPlayAnimationCaption);
    page.cmdObjectPlayCaption = "Play";
    previewControls(ctx).setSpinCaption("Spin Object");
}

void cmdResetAllObjects_Click(EditingContext& ctx) {
    for (int i = 0; i < ctx.model.objectCount(); ++i) resetPeoObject(ctx, int16_t(i));
}

void chkObjectsShowAnims_Click(EditingContext& ctx, bool ticked) {
    trapErrors(ctx, "frmTARV", "chkObjectsShowAnims_Click", "", [&] {
        ctx.animationsPage->chkObjectsShowAnims = ticked;
        const KeyedTree& tree = ctx.shell.treeHeirachy;
        for (int n = 1; n <= tree.count(); ++n) {
            const KeyedTree::Node& node = tree.nodeAt(n);
            const int16_t objNo = int16_t(std::atoi(node.key.c_str() + (node.key.empty() ? 0 : 1)));
            if (objNo < 0 || objNo >= ctx.model.objectCount()) throw RunTimeError::subscriptOutOfRange();
            const bool hasTrack = ctx.model.peoObjects[size_t(objNo)].madObjectIndex != -1;
            const bool checked = node.checked;
            if (!ticked)
                showObject(ctx, objNo);
            else if (!hasTrack && checked)
                hideObject(ctx, objNo);
            else if (hasTrack && !checked)
                showObject(ctx, objNo);
            setErrorContext(ctx, "frmTARV", "chkObjectsShowAnims_Click");
        }
    });
}

void chkShowRecoil_Click(EditingContext& ctx, bool ticked) {
    ctx.objects.chkShowRecoil = ticked;
    trapErrors(ctx, "frmTARV", "chkShowRecoil_Click", "", [&] {
        const int16_t objNo = ctx.objects.selectedObject;
        if (objNo < 0 || objNo >= ctx.model.objectCount() || size_t(objNo) >= ctx.view.viewObjects.size())
            throw RunTimeError::subscriptOutOfRange();
        const std::string& name = ctx.model.peoObjects[size_t(objNo)].name;
        const ShipDefinition& shp = ctx.shp;
        const ShpGun* gun = nullptr;
        for (int g = 0; g < shp.shpGunCount && size_t(g) < shp.shpGuns.size(); ++g)
            if (shp.shpGuns[size_t(g)].recoilJoint == name) {
                gun = &shp.shpGuns[size_t(g)];
                break;
            }
        Vector3 pos = getObjectPosition(ctx, objNo);
        if (ticked && gun) pos.z -= gun->recoilLength;
        setFramePosition(ctx.view.viewObjects[size_t(objNo)], pos);
        if (ctx.view.canvas) ctx.view.canvas->render();
    });
}

namespace {

class AnimationPlayback : public PlaybackHook {
public:
    bool advancePlayback(EditingContext& ctx) override { return tarv::advancePlayback(ctx); }
};

AnimationPlayback animationPlayback;  // no state of its own: everything lives in the context

}  // namespace

void connectPlayback(EditingContext& ctx) {
    ctx.preview.playbackHook = &animationPlayback;
}

}  // namespace tarv
