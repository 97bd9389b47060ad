#pragma once
// The per-object work of the mesh tools: plain lists in; lists, counts and marks out. Each step has two
// forms with the same results: the production form (fastMeshKernels, hash grids and groupings, near-linear)
// and the literal form (library tarv_meshtools_literal, the pairwise loops as the tools were first described),
// which tests and benchmarks use to prove the production form right. The commands take the set as a parameter.
#include <cstdint>
#include <vector>

#include "model/state/ShipModel.h"

namespace tarv {

// The weld tolerance: 0.2 on each axis, strict, in single precision.
inline constexpr float kWeldTolerance = 0.2f;
// The plane tolerance of the LOD reduction (snapping and the plane guard).
inline constexpr float kPlaneTolerance = 0.2f;

// The symmetry boxes of the LOD reduction: xzCheck snaps y, yzCheck snaps x, xyCheck snaps z.
struct LodSymmetry {
    bool xz = false, yz = false, xy = false;
};

// The counters of the loose-end moves, totalled over the objects.
struct LooseEndCounts {
    int64_t single = 0, fixed = 0, leftAlone = 0, orphans = 0;
    friend bool operator==(const LooseEndCounts&, const LooseEndCounts&) = default;
};

// The edge matching of one object. shared counts the matches; open lists the edge-table entries (3p + corner)
// of the single-sided open edges in ascending order; doubleSidedOpen counts the double-sided ones.
struct EdgeMatch {
    int64_t shared = 0;
    int64_t doubleSidedOpen = 0;
    std::vector<int32_t> open;
    friend bool operator==(const EdgeMatch&, const EdgeMatch&) = default;
};

// Start and end vertex of edge-table entry e: (first, second), (second, third), (third, first) of polygon e / 3.
inline int32_t edgeStart(const std::vector<PeoPolygon>& polygons, int32_t e) {
    const PeoPolygon& p = polygons[size_t(e / 3)];
    return e % 3 == 0 ? p.v0 : e % 3 == 1 ? p.v1 : p.v2;
}
inline int32_t edgeEnd(const std::vector<PeoPolygon>& polygons, int32_t e) {
    const PeoPolygon& p = polygons[size_t(e / 3)];
    return e % 3 == 0 ? p.v1 : e % 3 == 1 ? p.v2 : p.v0;
}

// A mending patch: made by the new-polygon constructor, it takes every field of G's polygon but the corners
// and the reserved bytes.
PeoPolygon mendPatch(const PeoPolygon& g, int32_t a, int32_t b, int32_t c);

struct MeshKernels {
    // The weld's marks: each vertex 0 (kept) or j + 1 for the last kept j < k within the weld tolerance.
    void (*weldMarks)(std::vector<PeoVertex>& vertices);
    // Compaction: kept vertices (mark 0) keep their order, every mark becomes the new index + 1 (of the vertex
    // or of its target), the polygons' corners are re-pointed and the list and nVertices replaced. Returns the
    // number of vertices dropped. Every corner must lie in the vertex list.
    int64_t (*compact)(PeoObject& object);
    // The duplicate pass of the polygon clean-up over polygons with three different corners: returns the
    // polygons kept; a back of a back-to-back pair sets twoSided of the kept polygon's material and adds 1 to
    // pairs[material].
    std::vector<PeoPolygon> (*dropDuplicates)(std::vector<PeoPolygon>& polygons, std::vector<PeoMaterial>& materials,
                                              std::vector<int64_t>& pairs);
    // The LOD merge pass with distance t: snaps and marks.
    void (*lodMerge)(std::vector<PeoVertex>& vertices, float t, LodSymmetry symmetry);
    // The LOD mirror-partner pass: restores marked vertices whose mirror image lies near a kept one.
    void (*lodMirror)(std::vector<PeoVertex>& vertices);
    // The loose-end moves of one object (single-use and unused vertices); every material index must exist.
    void (*looseEnds)(PeoObject& object, const std::vector<PeoMaterial>& materials, LooseEndCounts& counts);
    // Per material, the polygons of the objects that are not deleted and not left out (skip[i] != 0).
    std::vector<int64_t> (*materialUse)(const ShipModel& model, const std::vector<char>& skip);
    // Edge matching of one object.
    EdgeMatch (*matchEdges)(const std::vector<PeoPolygon>& polygons, const std::vector<PeoMaterial>& materials);
    // Back-to-back count: sets every polygon's mark (-1 for a counted back, else 0) and returns B.
    int64_t (*backToBack)(std::vector<PeoPolygon>& polygons);
    // Mending: the patches of every triple of open edges that closes a triangle, in the order found.
    std::vector<PeoPolygon> (*mendHoles)(const std::vector<PeoPolygon>& polygons, const std::vector<int32_t>& open);
};

// The production forms.
const MeshKernels& fastMeshKernels();

}  // namespace tarv
