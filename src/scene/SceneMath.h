#pragma once
// The small vector and matrix arithmetic of the scene. Points are row vectors: a transform maps p to
// p * m + t, so of two transforms applied one after the other the first is written first.
#include <array>
#include <cmath>

namespace tarv::scene {

struct Vec3 {
    double x = 0, y = 0, z = 0;
    Vec3 operator+(const Vec3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    Vec3 operator-(const Vec3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    Vec3 operator*(double s) const { return {x * s, y * s, z * s}; }
    Vec3 operator-() const { return {-x, -y, -z}; }
    friend bool operator==(const Vec3&, const Vec3&) = default;
};

inline double dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 cross(const Vec3& a, const Vec3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double length(const Vec3& v) { return std::sqrt(dot(v, v)); }

// An affine transform in the row-vector convention: p' = p * m + t.
struct Transform {
    std::array<std::array<double, 3>, 3> m{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    Vec3 t;

    static Transform identity() { return {}; }

    Vec3 applyToPoint(const Vec3& p) const { return applyToVector(p) + t; }
    Vec3 applyToVector(const Vec3& v) const {
        return {v.x * m[0][0] + v.y * m[1][0] + v.z * m[2][0], v.x * m[0][1] + v.y * m[1][1] + v.z * m[2][1],
                v.x * m[0][2] + v.y * m[1][2] + v.z * m[2][2]};
    }
    // This transform, then the other one.
    Transform then(const Transform& next) const {
        Transform r;
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                r.m[size_t(i)][size_t(j)] = m[size_t(i)][0] * next.m[0][size_t(j)] +
                                            m[size_t(i)][1] * next.m[1][size_t(j)] +
                                            m[size_t(i)][2] * next.m[2][size_t(j)];
        r.t = next.applyToPoint(t);
        return r;
    }
    double determinant() const {
        return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
               m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    }
    // The inverse; false when the transform flattens space (determinant zero).
    bool inverse(Transform& out) const {
        const double det = determinant();
        if (det == 0 || !std::isfinite(det)) return false;
        const double k = 1.0 / det;
        Transform r;
        r.m[0][0] = (m[1][1] * m[2][2] - m[1][2] * m[2][1]) * k;
        r.m[0][1] = (m[0][2] * m[2][1] - m[0][1] * m[2][2]) * k;
        r.m[0][2] = (m[0][1] * m[1][2] - m[0][2] * m[1][1]) * k;
        r.m[1][0] = (m[1][2] * m[2][0] - m[1][0] * m[2][2]) * k;
        r.m[1][1] = (m[0][0] * m[2][2] - m[0][2] * m[2][0]) * k;
        r.m[1][2] = (m[0][2] * m[1][0] - m[0][0] * m[1][2]) * k;
        r.m[2][0] = (m[1][0] * m[2][1] - m[1][1] * m[2][0]) * k;
        r.m[2][1] = (m[0][1] * m[2][0] - m[0][0] * m[2][1]) * k;
        r.m[2][2] = (m[0][0] * m[1][1] - m[0][1] * m[1][0]) * k;
        r.t = -r.applyToVector(t);
        out = r;
        return true;
    }
    // The sixteen numbers of the 4 x 4 matrix, row by row (translation in the last row), as the drawing
    // code uploads them.
    std::array<float, 16> toRowMajor4x4() const {
        return {
            float(m[0][0]), float(m[0][1]), float(m[0][2]), 0.f, float(m[1][0]), float(m[1][1]), float(m[1][2]), 0.f,
            float(m[2][0]), float(m[2][1]), float(m[2][2]), 0.f, float(t.x),     float(t.y),     float(t.z),     1.f};
    }
};

}  // namespace tarv::scene
