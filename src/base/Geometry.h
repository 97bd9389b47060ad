#pragma once
// The small geometry vocabulary every layer shares: a 4x4 matrix, a vector and a quaternion.
#include <array>

namespace tarv {

// Sixteen floats, row-major: element (r, c) is entry 4r + c; translation in entries 3, 7 and 11.
struct Matrix4 {
    std::array<float, 16> m{};
    float& operator[](int i) { return m[size_t(i)]; }
    float operator[](int i) const { return m[size_t(i)]; }
    float& at(int row, int col) { return m[size_t(row * 4 + col)]; }
    float at(int row, int col) const { return m[size_t(row * 4 + col)]; }
    static Matrix4 identity() {
        Matrix4 r;
        r.m[0] = r.m[5] = r.m[10] = r.m[15] = 1.0f;
        return r;
    }
    friend bool operator==(const Matrix4&, const Matrix4&) = default;
};

struct Vector3 {
    float x = 0, y = 0, z = 0;
    friend bool operator==(const Vector3&, const Vector3&) = default;
};

struct Quaternion {
    float w = 1, x = 0, y = 0, z = 0;
    friend bool operator==(const Quaternion&, const Quaternion&) = default;
};

}  // namespace tarv
