#pragma once
// Large synthetic ships for the benchmarks.
#include <cmath>
#include <string>

#include "model/state/ShipModel.h"

namespace tarv::bench {

// A rounded dome of n x n quads: neighbouring polygons differ by little, so the normals merge a lot and a few
// thousand distinct ones remain. 50 x 50 quads: 2,601 vertices, 5,000 polygons.
inline PeoObject dome(const std::string& name, int n) {
    PeoObject o;
    o.name = name;
    o.matrix = Matrix4::identity();
    for (int i = 0; i <= n; ++i)
        for (int j = 0; j <= n; ++j) {
            const float x = -1 + 2.0f * float(i) / float(n), y = -1 + 2.0f * float(j) / float(n);
            o.vertices.push_back({x, y, std::sqrt(4 - x * x - y * y), 0, 0});
        }
    auto at = [n](int i, int j) { return int32_t(i * (n + 1) + j); };
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            PeoPolygon a, b;
            a.v0 = at(i, j), a.v1 = at(i + 1, j), a.v2 = at(i + 1, j + 1);
            b.v0 = at(i, j), b.v1 = at(i + 1, j + 1), b.v2 = at(i, j + 1);
            o.polygons.push_back(a);
            o.polygons.push_back(b);
        }
    o.nVertices = int32_t(o.vertices.size());
    o.nPolygons = int32_t(o.polygons.size());
    return o;
}

}  // namespace tarv::bench
