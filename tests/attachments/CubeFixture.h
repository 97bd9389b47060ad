#pragma once
// A closed cube of twelve triangles for the commands that renew normals: corner k sits at centre +/- half
// along x (bit 0 of k), y (bit 1) and z (bit 2); every triangle winds so its normal points out of the cube,
// or into it for an inside-out cube.
#include <array>
#include <string>

#include "model/state/ShipModel.h"

namespace tarv::test {

inline PeoObject cubeObject(const std::string& name, Vector3 centre = {}, float half = 1, bool insideOut = false) {
    PeoObject o;
    o.name = name;
    o.matrix = Matrix4::identity();
    for (int k = 0; k < 8; ++k)
        o.vertices.push_back({centre.x + (k & 1 ? half : -half), centre.y + (k & 2 ? half : -half),
                              centre.z + (k & 4 ? half : -half)});
    o.minX = centre.x - half, o.minY = centre.y - half, o.minZ = centre.z - half;
    o.maxX = centre.x + half, o.maxY = centre.y + half, o.maxZ = centre.z + half;
    o.sizeX = o.sizeY = o.sizeZ = 2 * half;
    const auto at = [&](int k) {
        const PeoVertex& v = o.vertices[size_t(k)];
        return std::array<float, 3>{v.x, v.y, v.z};
    };
    for (int axis = 0; axis < 3; ++axis)
        for (int side = 0; side < 2; ++side) {
            // The face's corners in a cycle round it.
            const int u = 1 << ((axis + 1) % 3), w = 1 << ((axis + 2) % 3), base = side << axis;
            const int ring[4] = {base, base | u, base | u | w, base | w};
            const float outward = (side ? 1.0f : -1.0f) * (insideOut ? -1.0f : 1.0f);
            for (int t = 0; t < 2; ++t) {
                int a = ring[0], b = ring[1 + t], c = ring[2 + t];
                // The normal's component along the face's axis: (a - b) x (b - c).
                const auto A = at(a), B = at(b), C = at(c);
                const std::array<float, 3> p{A[0] - B[0], A[1] - B[1], A[2] - B[2]};
                const std::array<float, 3> q{B[0] - C[0], B[1] - C[1], B[2] - C[2]};
                const int i = (axis + 1) % 3, j = (axis + 2) % 3;
                const float along = p[size_t(i)] * q[size_t(j)] - p[size_t(j)] * q[size_t(i)];
                if (along * outward < 0) std::swap(b, c);
                PeoPolygon poly;
                poly.v0 = a, poly.v1 = b, poly.v2 = c;
                o.polygons.push_back(poly);
            }
        }
    o.nVertices = 8;
    o.nPolygons = int32_t(o.polygons.size());
    return o;
}

}  // namespace tarv::test
