#pragma once
// The animation data of the loaded ship: named animations as windows on one timeline (seconds, 30 frames a
// second) and one key track per animated model object.
#include <cstdint>
#include <string>
#include <vector>

#include "base/Geometry.h"

namespace tarv {

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

}  // namespace tarv
