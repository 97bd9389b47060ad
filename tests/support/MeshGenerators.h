#pragma once
// Meshes for the mesh tools' tests and benchmarks: closed grid surfaces with seam duplicates, triangle soups,
// objects with many holes, and random small objects whose coordinates come from a set rich in ties, cell
// borders, tolerance edges and non-finite values.
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "model/state/ShipModel.h"

namespace tarv::test {

inline PeoPolygon generatedPolygon(int32_t a, int32_t b, int32_t c, int32_t material) {
    PeoPolygon p;
    p.v0 = a, p.v1 = b, p.v2 = c, p.material = material;
    p.faceNormal = a;
    p.flags = int16_t(material);
    p.s0 = float(a) * 0.5f, p.t1 = float(b) * 0.25f;
    return p;
}

inline void finishObject(PeoObject& o) {
    o.nVertices = int32_t(o.vertices.size());
    o.nPolygons = int32_t(o.polygons.size());
    o.matrix = Matrix4::identity();
    bool first = true;
    for (const PeoVertex& v : o.vertices) {
        if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.z)) continue;
        if (first) {
            o.minX = o.maxX = v.x, o.minY = o.maxY = v.y, o.minZ = o.maxZ = v.z;
            first = false;
        }
        o.minX = std::min(o.minX, v.x), o.maxX = std::max(o.maxX, v.x);
        o.minY = std::min(o.minY, v.y), o.maxY = std::max(o.maxY, v.y);
        o.minZ = std::min(o.minZ, v.z), o.maxZ = std::max(o.maxZ, v.z);
    }
}

// A closed grid surface: a cylinder of `around` x `rows` quads with capped ends, about `vertexCount`
// vertices; every `seamEvery`-th vertex of the seam is repeated (exactly, or moved by less than 0.1) so the
// weld has work. Two triangles per quad, wound consistently.
inline PeoObject gridSurface(int vertexCount, int material = 0, uint32_t seed = 1) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> jitter(-0.09f, 0.09f);
    PeoObject o;
    o.name = "grid";
    const int around = std::max(8, int(std::sqrt(double(vertexCount)) * 1.2));
    const int seamExtra = around > 0 ? vertexCount / (around * 8) : 0;
    const int rows = std::max(2, (vertexCount - 2 - seamExtra) / around);
    const float radius = float(around) * 0.6f;
    for (int r = 0; r < rows; ++r)
        for (int a = 0; a < around; ++a) {
            const double angle = 2 * M_PI * a / around;
            o.vertices.push_back(PeoVertex{float(radius * std::cos(angle)), float(r), float(radius * std::sin(angle)), 0, 0});
        }
    auto at = [&](int r, int a) { return int32_t(r * around + (a % around)); };
    for (int r = 0; r + 1 < rows; ++r)
        for (int a = 0; a < around; ++a) {
            o.polygons.push_back(generatedPolygon(at(r, a), at(r + 1, a), at(r, a + 1), material));
            o.polygons.push_back(generatedPolygon(at(r, a + 1), at(r + 1, a), at(r + 1, a + 1), material));
        }
    const int32_t bottom = int32_t(o.vertices.size());
    o.vertices.push_back(PeoVertex{0, -1, 0, 0, 0});
    const int32_t top = int32_t(o.vertices.size());
    o.vertices.push_back(PeoVertex{0, float(rows), 0, 0, 0});
    for (int a = 0; a < around; ++a) {
        o.polygons.push_back(generatedPolygon(bottom, at(0, a + 1), at(0, a), material));
        o.polygons.push_back(generatedPolygon(top, at(rows - 1, a), at(rows - 1, a + 1), material));
    }
    // Seam duplicates: the quads' vertices at a = 0 get twins that the next quad uses.
    for (int r = 0; r < rows && int(o.vertices.size()) < vertexCount; r += 1) {
        PeoVertex twin = o.vertices[size_t(at(r, 0))];
        if (r % 2) twin.x += jitter(rng), twin.y += jitter(rng) * 0.5f;
        const int32_t index = int32_t(o.vertices.size());
        o.vertices.push_back(twin);
        if (r + 1 < rows) o.polygons[size_t(2 * (r * around + around - 1))].v2 = index;
    }
    finishObject(o);
    return o;
}

// A triangle soup: every triangle has its own three corners; neighbours' corners coincide.
inline PeoObject triangleSoup(int vertexCount, int material = 0) {
    PeoObject o;
    o.name = "soup";
    const int side = std::max(2, int(std::sqrt(vertexCount / 3.0)));
    for (int i = 0; int(o.vertices.size()) + 3 <= vertexCount; ++i) {
        const float x = float(i % side), z = float((i / side) % side), y = float(i / (side * side));
        const int32_t base = int32_t(o.vertices.size());
        if (i % 2 == 0) {
            o.vertices.push_back(PeoVertex{x, y, z, 0, 0});
            o.vertices.push_back(PeoVertex{x + 1, y, z, 0, 0});
            o.vertices.push_back(PeoVertex{x, y, z + 1, 0, 0});
        } else {
            o.vertices.push_back(PeoVertex{x + 1, y, z, 0, 0});
            o.vertices.push_back(PeoVertex{x + 1, y, z + 1, 0, 0});
            o.vertices.push_back(PeoVertex{x, y, z + 1, 0, 0});
        }
        o.polygons.push_back(generatedPolygon(base, base + 1, base + 2, material));
    }
    finishObject(o);
    return o;
}

// A grid sheet with every other quad missing one triangle: about `openEdges` single-sided open edges and
// many triangular holes.
inline PeoObject holeyObject(int openEdges, int material = 0) {
    PeoObject o;
    o.name = "holes";
    const int side = std::max(3, int(std::sqrt(double(openEdges))) + 1);
    for (int r = 0; r < side; ++r)
        for (int c = 0; c < side; ++c) o.vertices.push_back(PeoVertex{float(c), 0, float(r), 0, 0});
    auto at = [&](int r, int c) { return int32_t(r * side + c); };
    for (int r = 0; r + 1 < side; ++r)
        for (int c = 0; c + 1 < side; ++c) {
            o.polygons.push_back(generatedPolygon(at(r, c), at(r + 1, c), at(r, c + 1), material));
            if ((r + c) % 2 == 0)
                o.polygons.push_back(generatedPolygon(at(r, c + 1), at(r + 1, c), at(r + 1, c + 1), material));
        }
    finishObject(o);
    return o;
}

// Coordinates that make ties, cell borders and tolerance edges common.
inline float trickyCoordinate(std::mt19937& rng, bool nonFinite) {
    std::uniform_int_distribution<int> pick(0, nonFinite ? 15 : 11);
    std::uniform_int_distribution<int> small(-8, 8);
    std::uniform_real_distribution<float> dense(-1.5f, 1.5f);
    switch (pick(rng)) {
        case 0: return float(small(rng)) * 0.25f;
        case 1: return std::nextafter(float(small(rng)) * 0.25f, 100.0f);
        case 2: return std::nextafter(float(small(rng)) * 1.0f, -100.0f);
        case 3: return float(small(rng)) * 0.2f;
        case 4: return 0.2f;
        case 5: return std::nextafter(0.2f, 1.0f);
        case 6: return rng() % 2 ? 1000.0f : 1000.2f;
        case 7: return -0.0f;
        case 8: return float(small(rng)) * 0.1f;
        case 9:
        case 10:
        case 11: return dense(rng);
        case 12: return std::numeric_limits<float>::quiet_NaN();
        case 13: return std::numeric_limits<float>::infinity();
        case 14: return -std::numeric_limits<float>::infinity();
        default: return rng() % 2 ? FLT_MAX : -FLT_MAX;
    }
}

// A random small object: vertexCount vertices (with exact duplicates), polygonCount polygons over them
// (rotations, reversals, repeated corners, shared edges), materials below materialCount.
inline PeoObject randomObject(std::mt19937& rng, const std::string& name, int vertexCount, int polygonCount,
                              int materialCount, bool nonFinite) {
    PeoObject o;
    o.name = name;
    for (int i = 0; i < vertexCount; ++i) {
        if (i > 0 && rng() % 5 == 0) {
            o.vertices.push_back(o.vertices[rng() % o.vertices.size()]);
            continue;
        }
        const bool odd = nonFinite && rng() % 12 == 0;
        o.vertices.push_back(PeoVertex{trickyCoordinate(rng, odd), trickyCoordinate(rng, odd), trickyCoordinate(rng, odd),
                                       int32_t(i), 0});
    }
    const int32_t v = std::max(1, vertexCount);
    for (int p = 0; p < polygonCount; ++p) {
        const int32_t material = int32_t(rng() % uint32_t(materialCount));
        if (p > 0 && rng() % 4 == 0) {
            PeoPolygon q = o.polygons[rng() % o.polygons.size()];
            switch (rng() % 3) {
                case 0: std::swap(q.v1, q.v2); break;  // reversed
                case 1: q = generatedPolygon(q.v1, q.v2, q.v0, material); break;
                default: q.v2 = int32_t(rng() % uint32_t(v)); break;  // shares an edge
            }
            o.polygons.push_back(q);
            continue;
        }
        const int32_t a = int32_t(rng() % uint32_t(v));
        const int32_t b = rng() % 8 == 0 ? a : int32_t(rng() % uint32_t(v));
        const int32_t c = int32_t(rng() % uint32_t(v));
        o.polygons.push_back(generatedPolygon(a, b, c, material));
    }
    finishObject(o);
    return o;
}

}  // namespace tarv::test
