#pragma once
// Frame interpolators: position and orientation keys at indices (times), played onto the attached frames.
#include <map>
#include <memory>
#include <vector>

#include "scene/Frame.h"

namespace tarv::scene {

// Options of interpolate: 2 closed (time wraps over the keys), 4 linear. Without 2 the time is clamped to
// the keys (open); without 4 a frame takes the key at or before the time.
enum InterpolationOption : int32_t { kInterpolationClosed = 2, kInterpolationLinear = 4 };

class Interpolator {
public:
    // The index that the following keys take.
    void setIndex(double index) { index_ = index; }
    double getIndex() const { return index_; }
    // Keys at the current index, relative to the reference frame (none = the scene root); a key at an index
    // already present in its channel replaces it.
    void setPosition(const FramePtr& reference, double x, double y, double z);
    void setQuaternion(const FramePtr& reference, const Quaternion& q);
    void attachObject(const FramePtr& frame);
    const std::vector<FramePtr>& attachedObjects() const { return frames_; }
    size_t positionKeyCount() const { return positions_.size(); }
    size_t orientationKeyCount() const { return orientations_.size(); }

    // Poses every attached frame for the time.
    void interpolate(double time, int32_t options);

    // The value of a channel at a time, without touching any frame; false when the channel has no key.
    // The reference is the key's; referenceLost tells a key whose reference frame no longer exists.
    struct Sample {
        FramePtr reference;
        bool referenceLost = false;
    };
    bool positionAt(double time, int32_t options, Vector3& out, Sample& sample) const;
    bool orientationAt(double time, int32_t options, Quaternion& out, Sample& sample) const;

private:
    template <class T>
    struct Key {
        T value;
        std::weak_ptr<Frame> reference;
        bool hasReference = false;
    };
    double index_ = 0;
    std::map<double, Key<Vector3>> positions_;
    std::map<double, Key<Quaternion>> orientations_;
    std::vector<FramePtr> frames_;
};

// Spherical interpolation by the shorter arc: the second quaternion is negated when the dot product is
// negative (not when it is zero).
Quaternion slerp(const Quaternion& a, const Quaternion& b, double t);

}  // namespace tarv::scene
