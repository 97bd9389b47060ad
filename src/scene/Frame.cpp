#include "scene/Frame.h"

#include <algorithm>
#include <functional>

#include "base/RunTimeError.h"

namespace tarv::scene {

namespace {
template <class T>
void removeOne(std::vector<T>& list, const T& item) {
    auto it = std::find(list.begin(), list.end(), item);
    if (it != list.end()) list.erase(it);
}

Transform inverseOrThrow(const Transform& t) {
    Transform inv;
    if (!t.inverse(inv)) throw RunTimeError::invalidCall();
    return inv;
}
}  // namespace

Transform quaternionMatrix(const Quaternion& q) {
    const double w = q.w, x = q.x, y = q.y, z = q.z;
    Transform r;
    r.m = {{{1 - 2 * (y * y + z * z), 2 * (x * y - z * w), 2 * (x * z + y * w)},
            {2 * (x * y + z * w), 1 - 2 * (x * x + z * z), 2 * (y * z - x * w)},
            {2 * (x * z - y * w), 2 * (y * z + x * w), 1 - 2 * (x * x + y * y)}}};
    return r;
}

Transform rotationAbout(const Vec3& k, double angle) {
    const double c = std::cos(angle), s = std::sin(angle), v = 1 - c;
    // Column-vector rotation, then transposed for the row-vector convention.
    const double rc[3][3] = {{c + k.x * k.x * v, k.x * k.y * v - k.z * s, k.x * k.z * v + k.y * s},
                             {k.y * k.x * v + k.z * s, c + k.y * k.y * v, k.y * k.z * v - k.x * s},
                             {k.z * k.x * v - k.y * s, k.z * k.y * v + k.x * s, c + k.z * k.z * v}};
    Transform r;
    for (size_t i = 0; i < 3; ++i)
        for (size_t j = 0; j < 3; ++j) r.m[i][j] = rc[j][i];
    return r;
}

FramePtr createSceneRoot() { return std::make_shared<Frame>(Frame::Token{}); }

bool Frame::isOrHasAncestor(const Frame* ancestor) const {
    for (const Frame* f = this; f; f = f->parent_.lock().get())
        if (f == ancestor) return true;
    return false;
}

void Frame::addChild(const FramePtr& child) {
    if (!child || isOrHasAncestor(child.get())) throw RunTimeError::invalidCall();
    if (auto old = child->getParent()) {
        if (old.get() == this) return;
        removeOne(old->children_, child);
    }
    children_.push_back(child);
    child->parent_ = weak_from_this();
    markSceneChanged();
}

void Frame::deleteChild(const FramePtr& child) {
    if (!child || child->getParent().get() != this) return;
    removeOne(children_, child);
    child->parent_.reset();
    markSceneChanged();
}

void Frame::detachFrames(std::span<const FramePtr> frames) {
    // First every frame forgets its parent; then each parent that lost one keeps only the children that still
    // name it (a child's parent handle is empty exactly when it was detached here).
    std::vector<FramePtr> parents;
    for (const FramePtr& frame : frames) {
        if (!frame) continue;
        FramePtr parent = frame->parent_.lock();
        if (!parent) continue;
        frame->parent_.reset();
        if (parents.empty() || parents.back() != parent) parents.push_back(std::move(parent));
    }
    if (parents.empty()) return;
    std::sort(parents.begin(), parents.end(),
              [](const FramePtr& a, const FramePtr& b) { return std::less<Frame*>{}(a.get(), b.get()); });
    parents.erase(std::unique(parents.begin(), parents.end()), parents.end());
    for (const FramePtr& parent : parents)
        std::erase_if(parent->children_, [](const FramePtr& child) { return child->parent_.expired(); });
    markSceneChanged();
}

Transform Frame::worldTransform() const {
    Transform world = local_;
    for (auto p = getParent(); p; p = p->getParent()) world = world.then(p->local_);
    return world;
}

Transform Frame::referenceWorld(const FramePtr& reference) const {
    return reference ? reference->worldTransform() : Transform::identity();
}

void Frame::setPosition(const FramePtr& reference, double x, double y, double z) {
    const Vec3 world = referenceWorld(reference).applyToPoint({x, y, z});
    const auto parent = getParent();
    local_.t = parent ? inverseOrThrow(parent->worldTransform()).applyToPoint(world) : world;
    markSceneChanged();
}

Vector3 Frame::getPosition(const FramePtr& reference) const {
    const Vec3 world = worldTransform().t;
    const Vec3 p = reference ? inverseOrThrow(reference->worldTransform()).applyToPoint(world) : world;
    return {float(p.x), float(p.y), float(p.z)};
}

void Frame::setRotationRelativeTo(const FramePtr& reference, const Transform& rotation) {
    // The wanted world orientation is rotation then the reference's; the local one follows from the parent's.
    Transform refWorld = referenceWorld(reference);
    refWorld.t = {};
    Transform world = rotation.then(refWorld);
    if (const auto parent = getParent()) {
        Transform parentLinear = parent->worldTransform();
        parentLinear.t = {};
        world = world.then(inverseOrThrow(parentLinear));
    }
    local_.m = world.m;
    markSceneChanged();
}

void Frame::setQuaternion(const FramePtr& reference, const Quaternion& q) {
    setRotationRelativeTo(reference, quaternionMatrix(q));
}

void Frame::setOrientation(const FramePtr& reference, const Vector3& direction, const Vector3& up) {
    const Vec3 d{direction.x, direction.y, direction.z};
    const Vec3 u{up.x, up.y, up.z};
    const double dl = length(d);
    if (dl == 0) throw RunTimeError::invalidCall();
    const Vec3 z = d * (1.0 / dl);
    const Vec3 yRaw = u - z * dot(u, z);
    const double yl = length(yRaw);
    if (yl <= 1e-12 * std::max(1.0, length(u))) throw RunTimeError::invalidCall();
    const Vec3 y = yRaw * (1.0 / yl);
    const Vec3 x = cross(y, z);
    Transform r;
    r.m = {{{x.x, x.y, x.z}, {y.x, y.y, y.z}, {z.x, z.y, z.z}}};
    setRotationRelativeTo(reference, r);
}

void Frame::addRotation(int32_t combine, double axisX, double axisY, double axisZ, double angle) {
    const Vec3 axis{axisX, axisY, axisZ};
    const double l = length(axis);
    if (l == 0) throw RunTimeError::invalidCall();
    const Transform r = rotationAbout(axis * (1.0 / l), angle);
    switch (combine) {
    case kCombineReplace: local_ = r; break;
    case kCombineBefore: local_ = r.then(local_); break;
    case kCombineAfter: local_ = local_.then(r); break;
    default: throw RunTimeError::invalidCall();
    }
    markSceneChanged();
}

void Frame::addVisual(const MeshPtr& mesh) {
    if (mesh && std::find(visuals_.begin(), visuals_.end(), mesh) == visuals_.end()) {
        visuals_.push_back(mesh);
        markSceneChanged();
    }
}

void Frame::deleteVisual(const MeshPtr& mesh) {
    removeOne(visuals_, mesh);
    markSceneChanged();
}

void Frame::addLight(const LightPtr& light) {
    if (light && std::find(lights_.begin(), lights_.end(), light) == lights_.end()) {
        lights_.push_back(light);
        markSceneChanged();
    }
}

void Frame::deleteLight(const LightPtr& light) {
    removeOne(lights_, light);
    markSceneChanged();
}

}  // namespace tarv::scene
