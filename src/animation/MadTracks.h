#pragma once
// The animation data of the loaded ship: named animations as windows on one timeline (seconds, 30 frames a
// second), one key track per animated model object, and the small queries on tracks that the animation
// list, the keyframe panel, playback, the .smd import and the dumps use.
#include <cstdint>
#include <string>
#include <vector>

#include "core/ShipModel.h"

namespace tarv {

class EditingContext;

// The games allow at most this many animations per ship; one bit of a track's mask each.
constexpr int kMaxMadAnimations = 32;

struct MadAnimation {
    std::string name;
    float startTime = 0;  // window start, seconds
    float endTime = 0;    // window end, seconds
    uint8_t loop = 0;     // 1: playback does not stop at the end
    friend bool operator==(const MadAnimation&, const MadAnimation&) = default;
};

struct MadKeyframe {
    float time = 0;  // seconds on the shared timeline
    float tension = 0;
    float continuity = 0;
    float bias = 0;
    Vector3 position;  // model units
    Vector3 rotation;  // Euler angles, radians
    friend bool operator==(const MadKeyframe&, const MadKeyframe&) = default;
};

// The key track of one model object. Key 0 is the opening key (time -1), the last key the closing key,
// later than every window; keys lie in ascending time order. A track named "**DELETED**" was emptied and
// keeps its slot.
struct MadObject {
    std::string name;
    uint32_t animBits = 0;  // bit a: the track has keys in animation a; as read from the file
    std::vector<MadKeyframe> keyframes;

    int32_t keyframeCount() const { return int32_t(keyframes.size()); }
    friend bool operator==(const MadObject&, const MadObject&) = default;
};

// A model object's madObjectIndex (16-bit) indexes madObjects, so there are never more tracks than this.
constexpr int kMaxMadObjects = 32767;

struct AnimationState {
    std::vector<MadAnimation> madAnimations;  // the animation lists lstAnimations and cmbObjAnims show these
    std::vector<MadObject> madObjects;

    int madObjectCount() const { return int(madObjects.size()); }
    // The clean-up before every load and at exit: no animations and no tracks.
    void reset() {
        madAnimations.clear();
        madObjects.clear();
    }
};

// The track's animation mask for the file: bit a when a key other than the last lies in animation a's
// window (plain float compares). 0 for a track without keys. Traps its errors (then 0).
uint32_t calcAnimBits(EditingContext& ctx, int track);

// Rewrites the opening key as a copy of key 1 at time -1 and the closing key as a copy of the key before it,
// one second later. Tracks with fewer than two keys stay as they are. Traps its errors.
void calcDuplicates(EditingContext& ctx, int track);

// The window queries. "Rounded" compares times rounded to three decimals (halves to even); "exact" compares
// the floats as they are. A key just outside a window (by less than the rounding step) is therefore counted
// and can start the animation, but never ends it.
// Number of the track's keys in the window (rounded test).
int16_t getNoOfKeyframesForAnim(EditingContext& ctx, int track, int animation);
// Index of the first key above 0 in the window (rounded test); 0 when none or when track is negative.
int16_t getStartKeyframeForAnim(EditingContext& ctx, int track, int animation);
// Index of the last key in the window (exact test); 0 when none or when track is negative.
int16_t getEndKeyframeForAnim(EditingContext& ctx, int track, int animation);
// The lowest model object index linked to the track, -1 when none.
int16_t getPeoObjectFromMadObjects(EditingContext& ctx, int track);

} // namespace tarv
