#include "scene/Viewport.h"

#include <algorithm>
#include <limits>

#include "base/RunTimeError.h"

namespace tarv::scene {

Viewport::Viewport(FramePtr sceneRoot)
    : scene_(std::move(sceneRoot)), camera_(std::make_shared<Frame>(Frame::Token{})) {
    scene_->addChild(camera_);
}

void Viewport::setSize(int width, int height) {
    width_ = std::max(1, width);
    height_ = std::max(1, height);
    markSceneChanged();
}

Transform Viewport::viewTransform() const {
    Transform inv;
    if (!camera_->worldTransform().inverse(inv)) throw RunTimeError::invalidCall();
    return inv;
}

std::array<float, 16> Viewport::projectionRowMajor() const {
    const double shorter = std::min(width_, height_);
    const double sx = shorter / width_ / field_, sy = shorter / height_ / field_;
    const double n = front_, f = back_;
    const double a = (f + n) / (f - n), b = -2 * f * n / (f - n);
    // clip = (x sx, y sy, a z + b, z): row-vector form, so the columns hold the outputs.
    return {float(sx), 0, 0, 0, 0, float(sy), 0, 0, 0, 0, float(a), 1, 0, 0, float(b), 0};
}

Vec3 Viewport::rayDirection(double x, double y) const {
    const double half = std::min(width_, height_) / 2.0;
    return {(x - width_ / 2.0) / half * field_, -(y - height_ / 2.0) / half * field_, 1.0};
}

namespace {

struct Ray {
    Vec3 origin, dir;
};

bool rayMeetsBox(const Ray& ray, const Bounds& b) {
    if (b.empty) return false;
    double tMin = 0, tMax = std::numeric_limits<double>::infinity();
    const double o[3] = {ray.origin.x, ray.origin.y, ray.origin.z}, d[3] = {ray.dir.x, ray.dir.y, ray.dir.z};
    const double lo[3] = {b.min.x, b.min.y, b.min.z}, hi[3] = {b.max.x, b.max.y, b.max.z};
    for (int i = 0; i < 3; ++i) {
        if (d[i] == 0) {
            if (o[i] < lo[i] || o[i] > hi[i]) return false;
            continue;
        }
        double t0 = (lo[i] - o[i]) / d[i], t1 = (hi[i] - o[i]) / d[i];
        if (t0 > t1) std::swap(t0, t1);
        tMin = std::max(tMin, t0);
        tMax = std::min(tMax, t1);
        if (tMin > tMax * (1 + 1e-12) + 1e-12) return false;
    }
    return true;
}

// Ray parameter of the hit on triangle (a, b, c), either side, edges included; negative when missed.
double rayMeetsTriangle(const Ray& ray, const Vec3& a, const Vec3& b, const Vec3& c) {
    const Vec3 e1 = b - a, e2 = c - a;
    const Vec3 n = cross(e1, e2);
    if (dot(n, n) <= 1e-24 * dot(e1, e1) * dot(e2, e2)) return -1;  // no area: a line or a point
    const Vec3 p = cross(ray.dir, e2);
    const double det = dot(e1, p);
    if (det == 0) return -1;  // the ray runs along the plane
    const double inv = 1.0 / det;
    const Vec3 s = ray.origin - a;
    const double u = dot(s, p) * inv;
    const double eps = 1e-9;
    if (u < -eps || u > 1 + eps) return -1;
    const Vec3 q = cross(s, e1);
    const double v = dot(ray.dir, q) * inv;
    if (v < -eps || u + v > 1 + eps) return -1;
    const double t = dot(e2, q) * inv;
    return t >= 0 ? t : -1;
}

void pickFrame(const FramePtr& frame, const Transform& parentWorld, const Ray& worldRay, double dirLength,
               std::vector<FramePtr>& path, std::vector<PickHit>& hits) {
    const Transform world = frame->localTransform().then(parentWorld);
    path.push_back(frame);
    if (!frame->visuals().empty()) {
        Transform inv;
        if (world.inverse(inv)) {
            const Ray local{inv.applyToPoint(worldRay.origin), inv.applyToVector(worldRay.dir)};
            for (const MeshPtr& mesh : frame->visuals()) {
                if (!rayMeetsBox(local, mesh->bounds())) continue;
                double best = std::numeric_limits<double>::infinity();
                int bestFace = -1;
                const std::span<const uint32_t> starts = mesh->faceStarts();
                const std::span<const Vec3> positions = mesh->positions();
                for (size_t f = 0; f + 1 < starts.size(); ++f) {
                    const Vec3* v = positions.data() + starts[f];
                    const size_t n = starts[f + 1] - starts[f];
                    for (size_t i = 1; i + 1 < n; ++i) {
                        const double t = rayMeetsTriangle(local, v[0], v[i], v[i + 1]);
                        if (t >= 0 && t < best) {
                            best = t;
                            bestFace = int(f);
                        }
                    }
                }
                if (bestFace >= 0) hits.push_back({mesh, mesh->face(size_t(bestFace)), bestFace, best * dirLength, path});
            }
        }
    }
    for (const FramePtr& child : frame->children()) pickFrame(child, world, worldRay, dirLength, path, hits);
    path.pop_back();
}

}  // namespace

std::vector<PickHit> Viewport::pick(double x, double y) const {
    std::vector<PickHit> hits;
    if (!camera_->isOrHasAncestor(scene_.get())) return hits;
    const Transform cam = camera_->worldTransform();
    const Vec3 dir = cam.applyToVector(rayDirection(x + 0.5, y + 0.5));
    const double dirLength = length(dir);
    if (dirLength == 0) return hits;
    const Ray ray{cam.t, dir * (1.0 / dirLength)};
    std::vector<FramePtr> path;
    pickFrame(scene_, Transform::identity(), ray, 1.0, path, hits);
    std::stable_sort(hits.begin(), hits.end(),
                     [](const PickHit& a, const PickHit& b) { return a.distance < b.distance; });
    return hits;
}

}  // namespace tarv::scene
