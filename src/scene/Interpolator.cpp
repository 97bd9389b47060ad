#include "scene/Interpolator.h"

#include <algorithm>
#include <cmath>

namespace tarv::scene {

void Interpolator::setPosition(const FramePtr& reference, double x, double y, double z) {
    positions_[index_] = {{float(x), float(y), float(z)}, reference, reference != nullptr};
}

void Interpolator::setQuaternion(const FramePtr& reference, const Quaternion& q) {
    orientations_[index_] = {q, reference, reference != nullptr};
}

void Interpolator::attachObject(const FramePtr& frame) {
    if (frame && std::find(frames_.begin(), frames_.end(), frame) == frames_.end()) frames_.push_back(frame);
}

Quaternion slerp(const Quaternion& a, const Quaternion& bIn, double t) {
    Quaternion b = bIn;
    double d = double(a.w) * b.w + double(a.x) * b.x + double(a.y) * b.y + double(a.z) * b.z;
    if (d < 0) {
        b = {-b.w, -b.x, -b.y, -b.z};
        d = -d;
    }
    const double la = std::sqrt(double(a.w) * a.w + double(a.x) * a.x + double(a.y) * a.y + double(a.z) * a.z);
    const double lb = std::sqrt(double(b.w) * b.w + double(b.x) * b.x + double(b.y) * b.y + double(b.z) * b.z);
    double ka = 1 - t, kb = t;
    if (la > 0 && lb > 0) {
        const double c = std::min(1.0, d / (la * lb));
        const double theta = std::acos(c);
        const double s = std::sin(theta);
        if (s > 1e-9) {
            ka = std::sin((1 - t) * theta) / s;
            kb = std::sin(t * theta) / s;
        }
    }
    return {float(ka * a.w + kb * b.w), float(ka * a.x + kb * b.x), float(ka * a.y + kb * b.y),
            float(ka * a.z + kb * b.z)};
}

namespace {

// The keys around the time as (before, after, fraction); time already wrapped or clamped by the options.
template <class Map>
bool locate(const Map& keys, double time, int32_t options, typename Map::const_iterator& lo,
            typename Map::const_iterator& hi, double& fraction) {
    if (keys.empty()) return false;
    const double first = keys.begin()->first, last = keys.rbegin()->first;
    if ((options & kInterpolationClosed) && last > first) {
        const double span = last - first;
        time = first + std::fmod(std::fmod(time - first, span) + span, span);
    }
    time = std::clamp(time, first, last);
    hi = keys.lower_bound(time);
    if (hi == keys.end()) hi = std::prev(keys.end());
    if (hi->first == time || hi == keys.begin()) {
        lo = hi;
        fraction = 0;
        return true;
    }
    lo = std::prev(hi);
    fraction = (time - lo->first) / (hi->first - lo->first);
    if (!(options & kInterpolationLinear)) {
        hi = lo;
        fraction = 0;
    }
    return true;
}

}  // namespace

bool Interpolator::positionAt(double time, int32_t options, Vector3& out, Sample& sample) const {
    decltype(positions_)::const_iterator lo, hi;
    double f = 0;
    if (!locate(positions_, time, options, lo, hi, f)) return false;
    const Vector3 &a = lo->second.value, &b = hi->second.value;
    out = {float(a.x + (b.x - a.x) * f), float(a.y + (b.y - a.y) * f), float(a.z + (b.z - a.z) * f)};
    sample.reference = lo->second.reference.lock();
    sample.referenceLost = lo->second.hasReference && !sample.reference;
    return true;
}

bool Interpolator::orientationAt(double time, int32_t options, Quaternion& out, Sample& sample) const {
    decltype(orientations_)::const_iterator lo, hi;
    double f = 0;
    if (!locate(orientations_, time, options, lo, hi, f)) return false;
    out = f == 0 ? lo->second.value : slerp(lo->second.value, hi->second.value, f);
    sample.reference = lo->second.reference.lock();
    sample.referenceLost = lo->second.hasReference && !sample.reference;
    return true;
}

void Interpolator::interpolate(double time, int32_t options) {
    // A key whose reference frame is gone applies relative to the frame's parent.
    for (const FramePtr& frame : frames_) {
        Vector3 p;
        Quaternion q;
        Sample s;
        if (orientationAt(time, options, q, s))
            frame->setQuaternion(s.referenceLost ? frame->getParent() : s.reference, q);
        if (positionAt(time, options, p, s))
            frame->setPosition(s.referenceLost ? frame->getParent() : s.reference, p.x, p.y, p.z);
    }
}

}  // namespace tarv::scene
