#include "animation/KeyframePanel.h"

#include "animation/AnimationList.h"
#include "animation/MadTracks.h"
#include "animation/state/AnimationsPageState.h"
#include "base/NumberText.h"
#include "base/RunTimeError.h"
#include "editor/context/EditingContext.h"
#include "editor/context/Messages.h"
#include "editor/context/TrapGuard.h"
#include "model/ModelHelpers.h"
#include "model/RotationMath.h"
#include "preview/PreviewScene.h"

namespace tarv {

namespace {

constexpr float kFreshClosingTime = 9999999.0f;
const char* const kNoKeysForObject = "No keyframes defined for this object";

PeoObject& objectAt(EditingContext& ctx, int objNo) {
    auto& objects = ctx.model.peoObjects;
    if (objNo < 0 || size_t(objNo) >= objects.size()) throw RunTimeError::subscriptOutOfRange();
    return objects[size_t(objNo)];
}

MadObject& trackAt(EditingContext& ctx, int track) {
    auto& tracks = ctx.animation.madObjects;
    if (track < 0 || size_t(track) >= tracks.size()) throw RunTimeError::subscriptOutOfRange();
    return tracks[size_t(track)];
}

MadKeyframe& keyAt(MadObject& track, int index) {
    if (index < 0 || index >= track.keyframeCount()) throw RunTimeError::subscriptOutOfRange();
    return track.keyframes[size_t(index)];
}

const MadAnimation& animationAt(const EditingContext& ctx, int animation) {
    if (animation < 0) throw RunTimeError::subscriptOutOfRange();
    return ctx.animation.madAnimations.at(size_t(animation));
}

void hideKeys(EditingContext& ctx, const char* caption) {
    setKeyframeInfo(ctx, false);
    ctx.animationsPage->frmKeyframeInfo = caption;
}

// A new track named after the object, linked to it; its index.
int16_t appendTrack(EditingContext& ctx, PeoObject& object) {
    auto& tracks = ctx.animation.madObjects;
    if (tracks.size() >= size_t(kMaxMadObjects)) throw RunTimeError::overflow();
    MadObject track;
    track.name = object.name;
    tracks.push_back(track);
    object.madObjectIndex = int16_t(tracks.size() - 1);
    return object.madObjectIndex;
}

}  // namespace

void getAnimations(EditingContext& ctx, int16_t objNo) {
    trapErrors(ctx, "modMad", "getAnimations", intText(objNo), [&] {
        if (objNo < 0 || objectAt(ctx, objNo).madObjectIndex == -1) {
            hideKeys(ctx, kNoKeysForObject);
            ctx.animationsPage->lblkeyfdebug.clear();
            return;
        }
        if (ctx.animation.madAnimations.empty()) return;
        ctx.animationsPage->cmbObjAnimsIndex = 0;
        cmbObjAnims_Click(ctx);
    });
}

void setKeyframeInfo(EditingContext& ctx, bool visible) {
    trapErrors(ctx, "modMad", "setKeyframeInfo", visible ? "True" : "False", [&] {
        AnimationsPageState& page = *ctx.animationsPage;
        page.keyControlsShown = visible;
        page.chkKeyfUse.fill(true);
    });
}

void checkKeyframes(EditingContext& ctx) {
    trapErrors(ctx, "modMad", "checkKeyframes", "", [&] {
        const int16_t o = ctx.objects.selectedObject;
        if (o < 0) return;
        const int16_t t = objectAt(ctx, o).madObjectIndex;
        const int a = cmbObjAnimsSelection(ctx);
        int first = 0, last = 0;
        if (t >= 0 && a >= 0) {
            const MadAnimation& window = animationAt(ctx, a);
            const auto& keys = trackAt(ctx, t).keyframes;
            for (size_t k = 0; k < keys.size(); ++k) {
                if (window.startTime <= keys[k].time && keys[k].time <= window.endTime) {
                    if (first == 0) first = int(k);
                    if (int(k) > last) last = int(k);
                }
            }
        }
        if (first == 0 && last == 0) {
            hideKeys(ctx, kNoKeysForObject);
            return;
        }
        const int n = last - first + 1;
        setKeyframeInfo(ctx, true);
        setErrorContext(ctx, "modMad", "checkKeyframes");
        AnimationsPageState& page = *ctx.animationsPage;
        KeySlider& slider = page.sldObjKeyf;
        slider = KeySlider{};
        slider.maximum = last;
        if (n > 1) {
            slider.minimum = first;
            slider.value = first;
            slider.enabled = true;
        } else {
            slider.value = last;
        }
        page.frmKeyframeInfo = "Keyframe Information: " + intText(n) + " found";
        const MadKeyframe key = keyAt(trackAt(ctx, t), slider.value);
        getKeyframe(ctx, key);
        applyKeyframeMatrix(ctx, o, key);
    });
}

void getKeyframe(EditingContext& ctx, const MadKeyframe& key) {
    AnimationsPageState& page = *ctx.animationsPage;
    page.lblkeyfdebug = intText(page.sldObjKeyf.value) + " of " + intText(page.sldObjKeyf.maximum);
    auto& box = page.txtKeyVal;
    box[0] = floatText(key.time);
    box[1] = floatText(key.position.x);
    box[2] = floatText(key.position.y);
    box[3] = floatText(key.position.z);
    box[4] = floatText(radToDeg(key.rotation.x));
    box[5] = floatText(radToDeg(key.rotation.z));
    box[6] = floatText(radToDeg(key.rotation.y));
    box[7] = floatText(key.tension);
    box[8] = floatText(key.continuity);
    box[9] = floatText(key.bias);
}

void applyKeyframeMatrix(EditingContext& ctx, int16_t objNo, const MadKeyframe& key) {
    trapErrors(ctx, "modMad", "applyKeyframeMatrix", intText(objNo), [&] {
        auto& views = ctx.view.viewObjects;
        if (objNo < 0 || size_t(objNo) >= views.size()) throw RunTimeError::subscriptOutOfRange();
        setFramePosition(views[size_t(objNo)], key.position);
        setFrameRotation(views[size_t(objNo)], key.rotation);
    });
}

void applyKeyframeValues(const AnimationsPageState& page, const MadKeyframe& source, MadKeyframe& target) {
    const auto& use = page.chkKeyfUse;
    if (use[kUsePosition]) {
        if (use[kUseX]) target.position.x = source.position.x;
        if (use[kUseY]) target.position.y = source.position.y;
        if (use[kUseZ]) target.position.z = source.position.z;
    }
    if (use[kUseRotation]) {
        if (use[kUseX]) target.rotation.x = source.rotation.x;
        if (use[kUseY]) target.rotation.y = source.rotation.y;
        if (use[kUseZ]) target.rotation.z = source.rotation.z;
    }
    if (use[kUseTens]) target.tension = source.tension;
    if (use[kUseCont]) target.continuity = source.continuity;
    if (use[kUseBias]) target.bias = source.bias;
    if (use[kUseTime]) target.time = source.time;
}

void cmbObjAnims_Click(EditingContext& ctx) { checkKeyframes(ctx); }

void sldObjKeyf_Scroll(EditingContext& ctx, int value) {
    trapErrors(ctx, "frmTARV", "sldObjKeyf_Scroll", "", [&] {
        ctx.animationsPage->sldObjKeyf.value = value;
        const int16_t o = ctx.objects.selectedObject;
        if (o < 0) {
            okMessage(ctx, "Please select an object first.");
            return;
        }
        const int16_t t = objectAt(ctx, o).madObjectIndex;
        if (t < 0) return;
        const MadKeyframe key = keyAt(trackAt(ctx, t), value);
        getKeyframe(ctx, key);
        applyKeyframeMatrix(ctx, o, key);
    });
}

void cmdKeyfApply_Click(EditingContext& ctx) {
    trapErrors(ctx, "frmTARV", "cmdKeyfApply_Click", "", [&] {
        AnimationsPageState& page = *ctx.animationsPage;
        float v[kKeyValCount];
        for (int i = 0; i < kKeyValCount; ++i) {
            const auto number = parseNumber(page.txtKeyVal[size_t(i)]);
            if (!number) {
                okMessage(ctx, kAnimationInvalidNumberText);
                return;
            }
            v[i] = float(*number);
        }
        MadKeyframe K;
        K.time = v[0];
        K.position = {v[1], v[2], v[3]};
        K.rotation = {float(degToRad(v[4])), float(degToRad(v[6])), float(degToRad(v[5]))};
        K.tension = v[7];
        K.continuity = v[8];
        K.bias = v[9];
        const int s = page.sldObjKeyf.value;
        const int16_t o = ctx.objects.selectedObject;
        const int mode = page.cmbApplyKeyframeType.listIndex;
        // The current key and the window's keys are the selected object's: without an object or its track
        // there are none.
        if ((mode == 0 || mode == 2) && (o < 0 || objectAt(ctx, o).madObjectIndex < 0)) return;
        switch (mode) {
        case 0: {
            keyAt(trackAt(ctx, objectAt(ctx, o).madObjectIndex), s) = K;
            applyKeyframeMatrix(ctx, o, K);
            break;
        }
        case 1:
            for (const PeoObject& object : ctx.model.peoObjects) {
                if (object.madObjectIndex < 0) continue;
                MadObject& track = trackAt(ctx, object.madObjectIndex);
                if (track.keyframeCount() > 0 && track.keyframeCount() - 1 > s)
                    applyKeyframeValues(page, K, track.keyframes[size_t(s)]);
            }
            break;
        case 2: {
            const int16_t t = objectAt(ctx, o).madObjectIndex;
            MadObject& track = trackAt(ctx, t);
            const int a = cmbObjAnimsSelection(ctx);
            const int first = getStartKeyframeForAnim(ctx, t, a);
            const int last = getEndKeyframeForAnim(ctx, t, a);
            setErrorContext(ctx, "frmTARV", "cmdKeyfApply_Click");
            for (int k = first; k <= last; ++k) applyKeyframeValues(page, K, keyAt(track, k));
            applyKeyframeMatrix(ctx, o, K);
            break;
        }
        default:
            break;
        }
    });
}

void cmdKeyInsert_Click(EditingContext& ctx) {
    trapErrors(ctx, "frmTARV", "cmdKeyInsert_Click", "", [&] {
        const int a = cmbObjAnimsSelection(ctx);
        if (a < 0) return;
        // Without a selected object there is nothing to insert into.
        const int16_t o = ctx.objects.selectedObject;
        if (o < 0) return;
        PeoObject& object = objectAt(ctx, o);
        int16_t t = object.madObjectIndex;
        if (t == -1) t = appendTrack(ctx, object);
        MadObject& track = trackAt(ctx, t);
        auto& keys = track.keyframes;
        const int c = keys.empty() ? 2 : track.keyframeCount();
        AnimationsPageState& page = *ctx.animationsPage;
        // The position is found among the keys as they are, before the track grows.
        int p;
        if (page.keyControlsShown) {
            p = page.sldObjKeyf.value;
        } else if (a == 0 || c + 1 < 4) {
            p = 1;
        } else {
            p = 1;
            for (int b = 0; b < a; ++b) p += getNoOfKeyframesForAnim(ctx, t, b);
            setErrorContext(ctx, "frmTARV", "cmdKeyInsert_Click");
        }
        if (p < 0 || p > c - 1) throw RunTimeError::subscriptOutOfRange();
        keys.resize(size_t(c + 1));
        const float start = animationAt(ctx, a).startTime;
        if (c + 1 == 3 && p <= 1) {
            keys[0].time = -1.0f;
            keys[2].time = kFreshClosingTime;
            keys[1].position = getObjectPosition(ctx, o);
        } else {
            for (int k = c; k > p; --k) keys[size_t(k)] = keys[size_t(k - 1)];
        }
        keys[size_t(p)].time = start;
        checkKeyframes(ctx);
        setErrorContext(ctx, "frmTARV", "cmdKeyInsert_Click");
        getKeyframe(ctx, keys[size_t(p)]);
    });
}

void cmdKeyDelete_Click(EditingContext& ctx) {
    trapErrors(ctx, "frmTARV", "cmdKeyDelete_Click", "", [&] {
        // Without a selected object or a track of its own there is no key to delete.
        const int16_t o = ctx.objects.selectedObject;
        if (o < 0 || objectAt(ctx, o).madObjectIndex < 0) return;
        MadObject& track = trackAt(ctx, objectAt(ctx, o).madObjectIndex);
        const int c = track.keyframeCount();
        if (c - 1 < 2) {
            track.keyframes.clear();
            hideKeys(ctx, kNoKeysForObject);
            return;
        }
        const int s = ctx.animationsPage->sldObjKeyf.value;
        keyAt(track, s);
        track.keyframes.erase(track.keyframes.begin() + s);
        checkKeyframes(ctx);
    });
}

void cmdAutoKeyfTime_Click(EditingContext& ctx) {
    trapErrors(ctx, "frmTARV", "cmdAutoKeyfTime_Click", "", [&] {
        const int16_t o = ctx.objects.selectedObject;
        const int a = cmbObjAnimsSelection(ctx);
        if (o < 0 || a < 0) return;
        const int16_t t = objectAt(ctx, o).madObjectIndex;
        if (t < 0) return;
        const MadAnimation& window = animationAt(ctx, a);
        const float L = window.endTime - window.startTime;
        const int n = getNoOfKeyframesForAnim(ctx, t, a);
        const int f = getStartKeyframeForAnim(ctx, t, a);
        setErrorContext(ctx, "frmTARV", "cmdAutoKeyfTime_Click");
        AnimationsPageState& page = *ctx.animationsPage;
        const int s = page.sldObjKeyf.value;
        // Nothing to spread without keys, and one key spreads only onto itself.
        if (n == 0 || (n == 1 && s != f)) return;
        float offset;
        if (s == f)
            offset = a == 0 ? window.startTime : 0.0f;
        else
            offset = float(double(s - f) * double(L) / double(n - 1));
        MadObject& track = trackAt(ctx, t);
        const float time = keyAt(track, f).time + offset;
        keyAt(track, s).time = time;
        page.txtKeyVal[0] = floatText(time);
    });
}

void cmdCopyToNext_Click(EditingContext& ctx) {
    trapErrors(ctx, "frmTARV", "cmdCopyToNext_Click", "", [&] {
        const int16_t o = ctx.objects.selectedObject;
        const int choice = ctx.animationsPage->cmbObjectListIndex;
        if (o < 0 || choice < 0) return;
        const auto& names = ctx.objects.cmbObjectList;
        if (size_t(choice) >= names.size()) throw RunTimeError::subscriptOutOfRange();
        const int16_t source = objectAt(ctx, o).madObjectIndex;
        if (source < 0) return;
        auto& objects = ctx.model.peoObjects;
        for (size_t i = 0; i < objects.size(); ++i) {
            if (objects[i].name != names[size_t(choice)]) continue;
            int16_t target = objects[i].madObjectIndex;
            if (target == -1) target = appendTrack(ctx, objects[i]);
            if (target == source) return;
            trackAt(ctx, target).keyframes = trackAt(ctx, source).keyframes;
            return;
        }
        // No object bears the chosen name: nothing is copied.
    });
}

void cmdResetPeoObjectPosition_Click(EditingContext& ctx) {
    const int16_t o = ctx.objects.selectedObject;
    if (o >= 0 && o < ctx.model.objectCount()) resetPeoObject(ctx, o);
}

}  // namespace tarv
