#include "model/Normals.h"

#include <cmath>
#include <algorithm>
#include <utility>

#include "base/NumberText.h"
#include "base/RunTimeError.h"
#include "editor/context/EditingContext.h"

namespace tarv {

namespace {

constexpr size_t kMaxDistinctNormals = 32767;
constexpr int32_t kMaxCornersAtVertex = 32767;

bool cornerInRange(const PeoObject& object, int32_t v) { return v >= 0 && size_t(v) < object.vertices.size(); }

// Differences and the tolerance compared as 32-bit floats; exactly 0.01 does not match.
bool withinTolerance(const PeoNormal& stored, const Vector3& n) {
    const float tolerance = 0.01f;
    return std::fabs(float(stored.x - n.x)) < tolerance && std::fabs(float(stored.y - n.y)) < tolerance &&
           std::fabs(float(stored.z - n.z)) < tolerance;
}

void appendNormal(FaceNormalMerge& merge, const Vector3& n) {
    if (merge.normals.size() >= kMaxDistinctNormals) throw RunTimeError::overflow();
    merge.normals.push_back({n.x, n.y, n.z});
    merge.polygonIndices.push_back(int32_t(merge.normals.size() - 1));
}

// Grid cells about four times the tolerance wide (1/24 = 0.0417). Two normals within the tolerance lie in
// the same cell, or, on an axis where one of them lies within the reach of its cell's edge, in the cell
// beyond that edge. The reach (0.011, a tenth over the tolerance) covers the rounding of the float
// difference. Most normals lie away from the edges, so a normal probes between 1 and 8 cells, 3.6 on average.
constexpr double kCellsPerUnit = 24.0;
constexpr double kReachInCells = 0.011 * kCellsPerUnit;
// Cells are counted within +-2^40; values beyond (above 4e10) are spaced far wider than the tolerance, so
// only equal values match there, and those share a cell.
constexpr double kCellLimit = 1099511627776.0;

bool isFinite(const Vector3& n) { return std::isfinite(n.x) && std::isfinite(n.y) && std::isfinite(n.z); }

struct AxisCells {
    int64_t cell;
    int64_t first, last;  // the cells to probe on this axis: cell - 1 or cell up to cell or cell + 1
};

[[gnu::always_inline]] inline AxisCells cellsOf(float value) {
    const double scaled = std::clamp(double(value) * kCellsPerUnit, -kCellLimit, kCellLimit);
    int64_t c = int64_t(scaled);  // towards zero; one less below zero when there was a fraction
    if (double(c) > scaled) --c;
    const double offset = scaled - double(c);
    return {c, offset < kReachInCells ? c - 1 : c, offset > 1.0 - kReachInCells ? c + 1 : c};
}

uint64_t cellKey(int64_t cx, int64_t cy, int64_t cz) {
    // 21 bits per axis are plenty: normals lie within [-1, 1]; other values only cost a shared cell.
    auto bits = [](int64_t c) { return uint64_t(c) & 0x1FFFFF; };
    return bits(cx) | (bits(cy) << 21) | (bits(cz) << 42);
}

// The newest entry of each grid cell: open addressing over a power-of-two table (keys never removed).
class CellTable {
public:
    explicit CellTable(size_t expectedCells) {
        size_t capacity = 64;
        while (capacity < expectedCells * 2) capacity *= 2;
        slots_.assign(capacity, Slot{kEmpty, -1});
        mask_ = capacity - 1;
    }
    int32_t find(uint64_t key) const {
        for (size_t i = home(key);; i = (i + 1) & mask_) {
            if (slots_[i].key == key) return slots_[i].newest;
            if (slots_[i].key == kEmpty) return -1;
        }
    }
    // Makes index the cell's newest entry; returns the previous newest (-1 for a new cell).
    int32_t push(uint64_t key, int32_t index) {
        if ((used_ + 1) * 2 > slots_.size()) grow();
        for (size_t i = home(key);; i = (i + 1) & mask_) {
            if (slots_[i].key == key) return std::exchange(slots_[i].newest, index);
            if (slots_[i].key == kEmpty) {
                slots_[i] = {key, index};
                ++used_;
                return -1;
            }
        }
    }

private:
    static constexpr uint64_t kEmpty = ~uint64_t(0);  // no cell key has all 64 bits set
    struct Slot {
        uint64_t key;
        int32_t newest;
    };
    size_t home(uint64_t key) const { return size_t((key * 0x9E3779B97F4A7C15ull) >> 32) & mask_; }
    void grow() {
        std::vector<Slot> old = std::move(slots_);
        slots_.assign(old.size() * 2, Slot{kEmpty, -1});
        mask_ = slots_.size() - 1;
        used_ = 0;
        for (const Slot& s : old)
            if (s.key != kEmpty) push(s.key, s.newest);
    }
    std::vector<Slot> slots_;
    size_t mask_ = 0;
    size_t used_ = 0;
};

// roundHalfEven(value, 6) written out where the compiler can keep it in line: the same steps in the same
// order, so the same result to the bit (a NaN or a value beyond 2^52 millionths comes back as it is).
[[gnu::always_inline]] inline double roundToMillionths(double value) {
    const double scaled = value * 1e6;
    if (!std::isfinite(scaled)) return value;
    const double magnitude = std::fabs(scaled);
    if (!(magnitude < 4503599627370496.0)) return scaled / 1e6;
    const int64_t truncated = int64_t(magnitude);
    double whole = double(truncated);
    const double fraction = magnitude - whole;
    if (fraction > 0.5 || (fraction == 0.5 && (truncated & 1) != 0)) whole += 1;
    return std::copysign(whole, scaled) / 1e6;
}

// The face normal of corners a, b, c; the caller has checked that they lie in the vertex list.
[[gnu::always_inline]] inline Vector3 faceNormalOf(const PeoVertex& a, const PeoVertex& b, const PeoVertex& c) {
    const float ux = a.x - b.x, uy = a.y - b.y, uz = a.z - b.z;
    const float wx = b.x - c.x, wy = b.y - c.y, wz = b.z - c.z;
    const float nx = float(double(uy) * wz - double(uz) * wy);
    const float ny = float(double(uz) * wx - double(ux) * wz);
    const float nz = float(double(ux) * wy - double(uy) * wx);
    const double length = std::sqrt(double(nx) * nx + double(ny) * ny + double(nz) * nz);
    if (length == 0) return {};
    return {float(roundToMillionths(nx / length)), float(roundToMillionths(ny / length)),
            float(roundToMillionths(nz / length))};
}

}  // namespace

Vector3 calcFaceNormal(const PeoObject& object, int32_t p) {
    const PeoPolygon& poly = object.polygons.at(size_t(p));
    if (!cornerInRange(object, poly.v0) || !cornerInRange(object, poly.v1) || !cornerInRange(object, poly.v2))
        return {};
    return faceNormalOf(object.vertices[size_t(poly.v0)], object.vertices[size_t(poly.v1)],
                        object.vertices[size_t(poly.v2)]);
}

FaceNormalMerge mergeFaceNormalsLiteral(const std::vector<Vector3>& polygonNormals) {
    FaceNormalMerge merge;
    merge.polygonIndices.reserve(polygonNormals.size());
    for (const Vector3& n : polygonNormals) {
        int32_t match = -1;
        for (size_t j = 0; j < merge.normals.size(); ++j)
            if (withinTolerance(merge.normals[j], n)) match = int32_t(j);
        if (match >= 0)
            merge.polygonIndices.push_back(match);
        else
            appendNormal(merge, n);
    }
    return merge;
}

FaceNormalMerge mergeFaceNormals(const std::vector<Vector3>& polygonNormals) {
    FaceNormalMerge merge;
    merge.polygonIndices.reserve(polygonNormals.size());
    // Each cell holds its newest entry; older entries of the same cell follow through previousInCell,
    // so the first match found in a cell is that cell's highest matching index.
    CellTable newestInCell(std::min<size_t>(polygonNormals.size(), kMaxDistinctNormals));
    std::vector<int32_t> previousInCell;
    // A normal equal to the one before gets the same entry: the entries are those that one was compared
    // with, plus at most the one made for it, which is the newest and matches.
    const Vector3* before = nullptr;
    for (const Vector3& n : polygonNormals) {
        if (!isFinite(n)) {  // matches nothing and nothing matches it
            appendNormal(merge, n);
            previousInCell.push_back(-1);
            before = nullptr;
            continue;
        }
        if (before && before->x == n.x && before->y == n.y && before->z == n.z) {
            merge.polygonIndices.push_back(merge.polygonIndices.back());
            continue;
        }
        before = &n;
        const AxisCells cx = cellsOf(n.x), cy = cellsOf(n.y), cz = cellsOf(n.z);
        int32_t match = -1;
        for (int64_t x = cx.first; x <= cx.last; ++x)
            for (int64_t y = cy.first; y <= cy.last; ++y)
                for (int64_t z = cz.first; z <= cz.last; ++z) {
                    const int32_t newest = newestInCell.find(cellKey(x, y, z));
                    for (int32_t j = newest; j > match; j = previousInCell[size_t(j)])
                        if (withinTolerance(merge.normals[size_t(j)], n)) {
                            match = j;
                            break;
                        }
                }
        if (match >= 0) {
            merge.polygonIndices.push_back(match);
            continue;
        }
        appendNormal(merge, n);
        const int32_t index = int32_t(merge.normals.size() - 1);
        previousInCell.push_back(newestInCell.push(cellKey(cx.cell, cy.cell, cz.cell), index));
    }
    return merge;
}

void recalcObjectFaceNormals(PeoObject& object) {
    std::vector<Vector3> normals;
    normals.reserve(object.polygons.size());
    const PeoVertex* vertices = object.vertices.data();
    const size_t vertexCount = object.vertices.size();
    for (const PeoPolygon& poly : object.polygons) {
        // One unsigned comparison per corner: a negative index wraps beyond every list.
        if (size_t(uint32_t(poly.v0)) < vertexCount && size_t(uint32_t(poly.v1)) < vertexCount &&
            size_t(uint32_t(poly.v2)) < vertexCount)
            normals.push_back(faceNormalOf(vertices[poly.v0], vertices[poly.v1], vertices[poly.v2]));
        else
            normals.push_back({});
    }
    FaceNormalMerge merge = mergeFaceNormals(normals);
    for (size_t p = 0; p < object.polygons.size(); ++p) object.polygons[p].faceNormal = merge.polygonIndices[p];
    object.faceNormals = std::move(merge.normals);
    object.nFaceNormals = int32_t(object.faceNormals.size());
}

void recalcFaceNormals(EditingContext& ctx) {
    ctx.status().setStatus("Recalculating face normals...");
    ctx.status().processEvents();
    for (PeoObject& object : ctx.model.peoObjects) recalcObjectFaceNormals(object);
}

void calcObjectVertexNormals(PeoObject& object) {
    const size_t vertexCount = object.vertices.size();
    std::vector<PeoNormal> sums(vertexCount);
    std::vector<int32_t> contributions(vertexCount, 0);
    // One pass in polygon order adds to each vertex in the same order as a scan per vertex would.
    const size_t faceNormalCount = object.faceNormals.size();
    for (const PeoPolygon& poly : object.polygons) {
        const bool faceNormalKnown = size_t(uint32_t(poly.faceNormal)) < faceNormalCount;
        for (int32_t v : {poly.v0, poly.v1, poly.v2}) {
            if (size_t(uint32_t(v)) >= vertexCount) continue;  // a negative index wraps beyond the list
            if (!faceNormalKnown) throw RunTimeError::subscriptOutOfRange();
            const PeoNormal& f = object.faceNormals[size_t(poly.faceNormal)];
            PeoNormal& s = sums[size_t(v)];
            s.x += f.x;
            s.y += f.y;
            s.z += f.z;
            if (contributions[size_t(v)] == kMaxCornersAtVertex) throw RunTimeError::overflow();
            ++contributions[size_t(v)];
        }
    }
    for (size_t v = 0; v < vertexCount; ++v) {
        PeoNormal& s = sums[v];
        if (contributions[v] > 1) {
            const double length = std::sqrt(double(s.x) * s.x + double(s.y) * s.y + double(s.z) * s.z);
            if (length != 0) s = {float(s.x / length), float(s.y / length), float(s.z / length)};
        }
        object.vertices[v].normal = int32_t(object.nFaceNormals + int64_t(v));
    }
    object.vertexNormals = std::move(sums);
    object.nVertNormals = int32_t(vertexCount);
}

void calcVertexNormals(EditingContext& ctx) {
    ctx.status().setStatus("Calculating vertex normals...");
    ctx.status().processEvents();
    ctx.status().setBusy(true);
    struct BusyEnd {
        EditingContext& ctx;
        ~BusyEnd() { ctx.status().setBusy(false); }
    } busyEnd{ctx};
    for (PeoObject& object : ctx.model.peoObjects) calcObjectVertexNormals(object);
    ctx.status().setStatus("Done calculating vertex normals.");
    ctx.status().processEvents();
}

}  // namespace tarv
