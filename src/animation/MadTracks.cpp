#include "animation/MadTracks.h"

#include "editor/context/EditingContext.h"
#include "base/NumberText.h"
#include "base/RunTimeError.h"
#include "editor/context/TrapGuard.h"

namespace tarv {

namespace {

constexpr const char* kModule = "modMad";

// These small procedures run inside the reader and the writer, which trap errors too: on return the
// caller's error context is back, so a later error of the caller is reported under its own name.
class KeepCallerErrorContext {
public:
    explicit KeepCallerErrorContext(EditingContext& ctx) : ctx_(ctx), saved_(ctx.err) {}
    ~KeepCallerErrorContext() { ctx_.err = saved_; }
    KeepCallerErrorContext(const KeepCallerErrorContext&) = delete;
    KeepCallerErrorContext& operator=(const KeepCallerErrorContext&) = delete;

private:
    EditingContext& ctx_;
    ErrorContext saved_;
};

MadObject& trackAt(EditingContext& ctx, int track) {
    auto& tracks = ctx.animation.madObjects;
    if (track < 0 || track >= int(tracks.size())) throw RunTimeError::subscriptOutOfRange();
    return tracks[size_t(track)];
}

const MadAnimation& animationAt(const EditingContext& ctx, int animation) {
    const auto& animations = ctx.animation.madAnimations;
    if (animation < 0 || animation >= int(animations.size())) throw RunTimeError::subscriptOutOfRange();
    return animations[size_t(animation)];
}

std::string trackAndAnimation(int track, int animation) { return intText(track) + "|" + intText(animation); }

// Times rounded to three decimals, halves to even.
double rounded(float value) { return roundHalfEven(double(value), 3); }

bool inWindowRounded(float time, const MadAnimation& a) {
    double t = rounded(time);
    return t >= rounded(a.startTime) && t <= rounded(a.endTime);
}

bool inWindowExact(float time, const MadAnimation& a) { return a.startTime <= time && time <= a.endTime; }

}  // namespace

uint32_t calcAnimBits(EditingContext& ctx, int track) {
    KeepCallerErrorContext keep(ctx);
    uint32_t mask = 0;
    bool ok = trapErrors(ctx, kModule, "calcAnimBits", intText(track), [&] {
        const MadObject& t = trackAt(ctx, track);
        const auto& keys = t.keyframes;
        if (keys.empty()) return;
        const auto& animations = ctx.animation.madAnimations;
        for (size_t a = 0; a < animations.size(); ++a) {
            for (size_t k = 0; k + 1 < keys.size(); ++k) {
                if (inWindowExact(keys[k].time, animations[a])) {
                    if (a >= size_t(kMaxMadAnimations)) throw RunTimeError::overflow();
                    mask |= uint32_t(1) << a;
                    break;
                }
            }
        }
    });
    return ok ? mask : 0;
}

void calcDuplicates(EditingContext& ctx, int track) {
    KeepCallerErrorContext keep(ctx);
    trapErrors(ctx, kModule, "calcDuplicates", intText(track), [&] {
        auto& keys = trackAt(ctx, track).keyframes;
        if (keys.size() < 2) return;
        keys.front() = keys[1];
        keys.front().time = -1.0f;
        keys.back() = keys[keys.size() - 2];
        keys.back().time = keys[keys.size() - 2].time + 1.0f;
    });
}

int16_t getNoOfKeyframesForAnim(EditingContext& ctx, int track, int animation) {
    KeepCallerErrorContext keep(ctx);
    int16_t result = 0;
    trapErrors(ctx, kModule, "getNoOfKeyframesForAnim", trackAndAnimation(track, animation), [&] {
        const MadObject& t = trackAt(ctx, track);
        if (t.keyframes.empty()) return;
        const MadAnimation& a = animationAt(ctx, animation);
        int64_t count = 0;
        for (const MadKeyframe& key : t.keyframes)
            if (inWindowRounded(key.time, a)) ++count;
        result = toInt16(count);
    });
    return result;
}

bool hasKeyframesForAnim(const EditingContext& ctx, int track, int animation, int atLeast) {
    const auto& tracks = ctx.animation.madObjects;
    const auto& animations = ctx.animation.madAnimations;
    if (track < 0 || track >= int(tracks.size()) || animation < 0 || animation >= int(animations.size())) return false;
    const MadAnimation& a = animations[size_t(animation)];
    const double start = rounded(a.startTime), end = rounded(a.endTime);
    int count = 0;
    for (const MadKeyframe& key : tracks[size_t(track)].keyframes) {
        const double t = rounded(key.time);
        if (t >= start && t <= end && ++count >= atLeast) return true;
    }
    return false;
}

int16_t getStartKeyframeForAnim(EditingContext& ctx, int track, int animation) {
    KeepCallerErrorContext keep(ctx);
    int16_t result = 0;
    trapErrors(ctx, kModule, "getStartKeyframeForAnim", trackAndAnimation(track, animation), [&] {
        if (track < 0) return;
        const MadObject& t = trackAt(ctx, track);
        const MadAnimation& a = animationAt(ctx, animation);
        for (size_t k = 1; k < t.keyframes.size(); ++k) {
            if (inWindowRounded(t.keyframes[k].time, a)) {
                result = toInt16(int64_t(k));
                return;
            }
        }
    });
    return result;
}

int16_t getEndKeyframeForAnim(EditingContext& ctx, int track, int animation) {
    KeepCallerErrorContext keep(ctx);
    int16_t result = 0;
    trapErrors(ctx, kModule, "getEndKeyframeForAnim", trackAndAnimation(track, animation), [&] {
        if (track < 0) return;
        const MadObject& t = trackAt(ctx, track);
        const MadAnimation& a = animationAt(ctx, animation);
        for (size_t k = t.keyframes.size(); k-- > 0;) {
            if (inWindowExact(t.keyframes[k].time, a)) {
                result = toInt16(int64_t(k));
                return;
            }
        }
    });
    return result;
}

int16_t getPeoObjectFromMadObjects(EditingContext& ctx, int track) {
    KeepCallerErrorContext keep(ctx);
    int16_t result = -1;
    bool ok = trapErrors(ctx, kModule, "getPeoObjectFromMadObjects", intText(track), [&] {
        trackAt(ctx, track);
        const auto& objects = ctx.model.peoObjects;
        for (size_t i = 0; i < objects.size(); ++i) {
            if (objects[i].madObjectIndex == track) {
                result = toInt16(int64_t(i));
                return;
            }
        }
    });
    return ok ? result : int16_t(-1);
}

}  // namespace tarv
