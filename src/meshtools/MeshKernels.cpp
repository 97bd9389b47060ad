#include "meshtools/MeshKernels.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <unordered_map>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace tarv {

PeoPolygon mendPatch(const PeoPolygon& g, int32_t a, int32_t b, int32_t c) {
    PeoPolygon patch = newPolygon(a, b, c, g.material);
    patch.faceNormal = g.faceNormal;
    patch.flags = g.flags;
    patch.s0 = g.s0, patch.t0 = g.t0, patch.s1 = g.s1, patch.t1 = g.t1, patch.s2 = g.s2, patch.t2 = g.t2;
    patch.mark = g.mark;
    return patch;
}

namespace {

// The largest cell coordinate: cells are stored in 32 bits, and a neighbour of a clamped cell still fits.
constexpr int64_t kCellLimit = int64_t(1) << 30;

// Cell coordinate of a value on a grid whose cells are `scale` to the unit apart (scale a power of two, so
// the product is exact and the floor monotonic); clamped to +-2^30, which keeps it monotonic: values beyond
// share the outermost cell.
int64_t cellOf(double value, double scale) {
    const double c = std::floor(value * scale);
    if (c <= double(-kCellLimit)) return -kCellLimit;
    if (c >= double(kCellLimit)) return kCellLimit;
    return int64_t(c);
}

using Cell = std::array<int64_t, 3>;

uint64_t mix(uint64_t h) {
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdull;
    h ^= h >> 33;
    h *= 0xc4ceb9fe1a85ec53ull;
    return h ^ (h >> 33);
}

// Vertex indices filed by cell: an open-addressing table of cells, each the head of a list threaded through
// one link per vertex (the latest filed first). The tables' storage is kept per thread between grids, so a
// command over many objects does not ask the system for fresh pages per object.
class Grid {
public:
    Grid(double scale = 1.0, size_t vertexCount = 0) : scale_(scale) {
        auto& spare = pool();
        if (!spare.empty()) {
            storage_ = std::move(spare.back());
            spare.pop_back();
        }
        size_t capacity = 16;
        while (capacity < vertexCount * 2 + 16) capacity *= 2;
        storage_.slots.assign(capacity, Slot{});
        storage_.next.assign(vertexCount, -1);
    }
    ~Grid() {
        if (storage_.slots.capacity() > 0) pool().push_back(std::move(storage_));
    }
    Grid(const Grid&) = delete;
    Grid& operator=(const Grid&) = delete;
    Grid& operator=(Grid&& other) noexcept {
        std::swap(scale_, other.scale_);
        std::swap(storage_, other.storage_);
        std::swap(used_, other.used_);
        return *this;
    }
    Cell cellAt(double x, double y, double z) const {
        return {cellOf(x, scale_), cellOf(y, scale_), cellOf(z, scale_)};
    }
    void file(const Cell& c, int32_t i) {
        Slot& slot = storage_.slots[insert(c)];
        storage_.next[size_t(i)] = slot.head;
        slot.head = i;
    }
    void unfile(const Cell& c, int32_t i) {
        const size_t s = find(c);
        if (s == kNone) return;
        int32_t* link = &storage_.slots[s].head;
        while (*link >= 0 && *link != i) link = &storage_.next[size_t(*link)];
        if (*link != i) return;
        *link = storage_.next[size_t(i)];
    }
    // Calls f for every index filed in cell c.
    template <class F>
    void inCell(const Cell& c, F&& f) const {
        const size_t s = find(c);
        if (s == kNone) return;
        for (int32_t i = storage_.slots[s].head; i >= 0; i = storage_.next[size_t(i)]) f(i);
    }
    // The number of indices filed in the 27 cells around c, counted up to `enough`.
    size_t countAround(const Cell& c, size_t enough) const {
        size_t total = 0;
        for (int64_t dx = -1; dx <= 1; ++dx)
            for (int64_t dy = -1; dy <= 1; ++dy)
                for (int64_t dz = -1; dz <= 1; ++dz) {
                    const size_t s = find({c[0] + dx, c[1] + dy, c[2] + dz});
                    if (s == kNone) continue;
                    for (int32_t i = storage_.slots[s].head; i >= 0 && total < enough; i = storage_.next[size_t(i)])
                        ++total;
                }
        return total;
    }
    // The number of cells that ever held an index.
    size_t cellCount() const { return used_; }
    // Calls f for every index filed in the 27 cells around c.
    template <class F>
    void around(const Cell& c, F&& f) const {
        for (int64_t dx = -1; dx <= 1; ++dx)
            for (int64_t dy = -1; dy <= 1; ++dy)
                for (int64_t dz = -1; dz <= 1; ++dz) inCell({c[0] + dx, c[1] + dy, c[2] + dz}, f);
    }

private:
    static constexpr int32_t kUnused = std::numeric_limits<int32_t>::min();
    struct Slot {
        std::array<int32_t, 3> cell{};
        int32_t head = kUnused;  // kUnused: no cell here; -1: a cell with an empty list
    };
    struct Storage {
        std::vector<Slot> slots;
        std::vector<int32_t> next;
    };
    static std::vector<Storage>& pool() {
        thread_local std::vector<Storage> spare;
        return spare;
    }
    static constexpr size_t kNone = ~size_t(0);

    size_t mask() const { return storage_.slots.size() - 1; }
    size_t home(const Cell& c) const {
        return size_t(mix(uint64_t(c[0]) * 0x9E3779B97F4A7C15ull ^ mix(uint64_t(c[1]) + 0x632BE59BD9B4E019ull) ^
                          (uint64_t(c[2]) * 0xC2B2AE3D27D4EB4Full))) &
               mask();
    }
    size_t find(const Cell& c) const {
        for (size_t s = home(c);; s = (s + 1) & mask()) {
            const Slot& slot = storage_.slots[s];
            if (slot.head == kUnused) return kNone;
            if (same(slot.cell, c)) return s;
        }
    }
    size_t insert(const Cell& c) {
        if ((used_ + 1) * 2 > storage_.slots.size()) grow();
        size_t s = home(c);
        for (; storage_.slots[s].head != kUnused; s = (s + 1) & mask())
            if (same(storage_.slots[s].cell, c)) return s;
        storage_.slots[s].head = -1;
        storage_.slots[s].cell = {int32_t(c[0]), int32_t(c[1]), int32_t(c[2])};
        ++used_;
        return s;
    }
    void grow() {
        std::vector<Slot> old(storage_.slots.size() * 2);
        old.swap(storage_.slots);
        used_ = 0;
        for (const Slot& slot : old) {
            if (slot.head == kUnused) continue;
            size_t s = home({slot.cell[0], slot.cell[1], slot.cell[2]});
            while (storage_.slots[s].head != kUnused) s = (s + 1) & mask();
            storage_.slots[s] = slot;
            ++used_;
        }
    }
    static bool same(const std::array<int32_t, 3>& a, const Cell& b) {
        return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
    }

    double scale_;
    Storage storage_;
    size_t used_ = 0;
};

// An open-addressing map for the groupings (corner triples, edge pairs); its storage is kept per thread
// between uses like the grid's.
template <class Key, class Value, class Hash>
class FlatMap {
public:
    explicit FlatMap(size_t expected) {
        auto& spare = pool();
        if (!spare.empty()) {
            slots_ = std::move(spare.back());
            spare.pop_back();
        }
        size_t capacity = 16;
        while (capacity < expected * 2 + 16) capacity *= 2;
        slots_.assign(capacity, Slot{});
    }
    ~FlatMap() {
        if (slots_.capacity() > 0) pool().push_back(std::move(slots_));
    }
    FlatMap(const FlatMap&) = delete;
    FlatMap& operator=(const FlatMap&) = delete;

    // The value of key, made from `value` when the key is new; second: whether it was new.
    std::pair<Value*, bool> tryEmplace(const Key& key, const Value& value) {
        if ((used_ + 1) * 2 > slots_.size()) grow();
        size_t s = Hash{}(key) & (slots_.size() - 1);
        for (; slots_[s].used; s = (s + 1) & (slots_.size() - 1))
            if (slots_[s].key == key) return {&slots_[s].value, false};
        slots_[s].used = true;
        slots_[s].key = key;
        slots_[s].value = value;
        ++used_;
        return {&slots_[s].value, true};
    }
    const Value* find(const Key& key) const {
        for (size_t s = Hash{}(key) & (slots_.size() - 1); slots_[s].used; s = (s + 1) & (slots_.size() - 1))
            if (slots_[s].key == key) return &slots_[s].value;
        return nullptr;
    }
    template <class F>
    void forEach(F&& f) const {
        for (const Slot& slot : slots_)
            if (slot.used) f(slot.key, slot.value);
    }

private:
    struct Slot {
        Key key{};
        Value value{};
        bool used = false;
    };
    static std::vector<std::vector<Slot>>& pool() {
        thread_local std::vector<std::vector<Slot>> spare;
        return spare;
    }
    void grow() {
        std::vector<Slot> old(slots_.size() * 2);
        old.swap(slots_);
        used_ = 0;
        for (const Slot& slot : old)
            if (slot.used) tryEmplace(slot.key, slot.value);
    }
    std::vector<Slot> slots_;
    size_t used_ = 0;
};

bool finite(const PeoVertex& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

bool withinWeld(const PeoVertex& a, const PeoVertex& b) {
    return std::fabs(b.x - a.x) < kWeldTolerance && std::fabs(b.y - a.y) < kWeldTolerance &&
           std::fabs(b.z - a.z) < kWeldTolerance;
}

// The weld as a stream over a grid of 0.5 cells holding the kept vertices: a float difference below 0.2f is a
// real one below 0.2f (rounding is monotonic), so a vertex's kept partners lie in the cells that its
// coordinates +-0.2f reach (one or two per axis; widened by a hair for the rounding of the bounds). k merges
// into the highest-index kept hit, else it is kept and filed.
void weldMarks(std::vector<PeoVertex>& v) {
    Grid grid(2.0, v.size());
    const double reach = double(kWeldTolerance);
    auto range = [reach](double c, int64_t& lo, int64_t& hi) {
        const double hair = std::fabs(c) * 0x1p-50 + 0x1p-60;
        lo = cellOf(c - reach - hair, 2.0);
        hi = cellOf(c + reach + hair, 2.0);
    };
    for (size_t k = 0; k < v.size(); ++k) {
        PeoVertex& b = v[k];
        b.mark = 0;
        if (!finite(b)) continue;
        int64_t lo[3], hi[3];
        range(b.x, lo[0], hi[0]);
        range(b.y, lo[1], hi[1]);
        range(b.z, lo[2], hi[2]);
        int32_t best = -1;
        auto test = [&](int32_t j) {
            if (j > best && withinWeld(v[size_t(j)], b)) best = j;
        };
        for (int64_t x = lo[0]; x <= hi[0]; ++x)
            for (int64_t y = lo[1]; y <= hi[1]; ++y)
                for (int64_t z = lo[2]; z <= hi[2]; ++z) grid.inCell({x, y, z}, test);
        if (best >= 0)
            b.mark = int16_t(best + 1);
        else
            grid.file(grid.cellAt(b.x, b.y, b.z), int32_t(k));
    }
}

int64_t compact(PeoObject& object) {
    std::vector<PeoVertex>& v = object.vertices;
    object.workVertices.clear();
    object.workVertices.reserve(v.size());
    int n = 0;
    for (size_t j = 0; j < v.size(); ++j) {
        if (v[j].mark == 0) {
            PeoVertex kept = v[j];
            kept.mark = 0;
            object.workVertices.push_back(kept);
            v[j].mark = int16_t(++n);
        } else {
            v[j].mark = v[size_t(v[j].mark - 1)].mark;
        }
    }
    for (PeoPolygon& p : object.polygons) {
        p.v0 = v[size_t(p.v0)].mark - 1;
        p.v1 = v[size_t(p.v1)].mark - 1;
        p.v2 = v[size_t(p.v2)].mark - 1;
    }
    const int64_t dropped = int64_t(v.size()) - n;
    object.vertices.swap(object.workVertices);
    object.nVertices = n;
    return dropped;
}

struct TripleHash {
    size_t operator()(const std::array<int32_t, 3>& t) const {
        uint64_t h = uint64_t(uint32_t(t[0])) * 0x9E3779B97F4A7C15ull;
        h ^= uint64_t(uint32_t(t[1])) * 0xC2B2AE3D27D4EB4Full + (h >> 3);
        h ^= uint64_t(uint32_t(t[2])) * 0x165667B19E3779F9ull + (h >> 5);
        return size_t(h ^ (h >> 31));
    }
};

std::array<int32_t, 3> sortedCorners(const PeoPolygon& p) {
    std::array<int32_t, 3> t{p.v0, p.v1, p.v2};
    std::sort(t.begin(), t.end());
    return t;
}

bool sameWinding(const PeoPolygon& j, const PeoPolygon& k) {
    return (k.v0 == j.v0 && k.v1 == j.v1 && k.v2 == j.v2) || (k.v0 == j.v1 && k.v1 == j.v2 && k.v2 == j.v0) ||
           (k.v0 == j.v2 && k.v1 == j.v0 && k.v2 == j.v1);
}

// Polygons grouped by their sorted corners: the first of a group stays, later ones are dropped, and one
// wound opposite to the first is the back of a pair on the first's material.
std::vector<PeoPolygon> dropDuplicates(std::vector<PeoPolygon>& p, std::vector<PeoMaterial>& materials,
                                       std::vector<int64_t>& pairs) {
    FlatMap<std::array<int32_t, 3>, size_t, TripleHash> first(p.size());
    std::vector<PeoPolygon> result;
    result.reserve(p.size());
    for (size_t k = 0; k < p.size(); ++k) {
        auto [at, fresh] = first.tryEmplace(sortedCorners(p[k]), k);
        if (fresh) {
            result.push_back(p[k]);
            continue;
        }
        const PeoPolygon& j = p[*at];
        p[k].mark = -1;
        if (!sameWinding(j, p[k])) {
            materials[size_t(j.material)].twoSided = true;
            ++pairs[size_t(j.material)];
        }
    }
    return result;
}

// The LOD merge builds its grid once its scans have visited this many times the vertex count; a grid
// candidate (gathered, sorted, stepped) costs about as much as this many scanned vertices.
constexpr int64_t kGridAfterScans = 64;
constexpr size_t kScansPerCandidate = 64;
constexpr int kGridTrials = 64;

// The smallest power of two at or above t (t finite and above 0).
double powerOfTwoAtLeast(double t) {
    int exponent = 0;
    const double mantissa = std::frexp(t, &exponent);
    return mantissa == 0.5 ? t : std::ldexp(1.0, exponent);
}

// The coordinates of the vertices by axis, padded with a block of NaN, for the scans: a NaN lane never passes
// a "below T" test. The storage is kept per thread between objects, as the grid's is.
constexpr int32_t kBlock = 16;
struct Axes {
    explicit Axes(const std::vector<PeoVertex>& v) {
        const size_t padded = v.size() + kBlock;  // a block may start at the last vertex
        for (auto* axis : {&x, &y, &z}) axis->resize(padded);
        for (size_t i = 0; i < v.size(); ++i) x[i] = v[i].x, y[i] = v[i].y, z[i] = v[i].z;
        for (auto* axis : {&x, &y, &z})
            std::fill(axis->begin() + std::ptrdiff_t(v.size()), axis->end(), std::numeric_limits<float>::quiet_NaN());
        mark.assign(v.size(), 0);
    }
    static std::vector<float>& kept(int axis) {
        thread_local std::vector<float> storage[3];
        return storage[axis];
    }
    static std::vector<int16_t>& keptMarks() {
        thread_local std::vector<int16_t> storage;
        return storage;
    }
    std::vector<float>& x = kept(0);
    std::vector<float>& y = kept(1);
    std::vector<float>& z = kept(2);
    std::vector<int16_t>& mark = keptMarks();  // the marks while the pass runs, side by side
};

using Float4 = float __attribute__((vector_size(16)));
using Int4 = int32_t __attribute__((vector_size(16)));

inline Float4 load4(const float* p) {
    Float4 r;
    std::memcpy(&r, p, sizeof r);
    return r;
}
inline Float4 abs4(Float4 d) {
    Int4 bits;
    std::memcpy(&bits, &d, sizeof bits);
    bits &= 0x7fffffff;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

// The four lanes of a comparison as the bits 0 to 3.
inline uint32_t laneBits(Int4 in) {
#if defined(__SSE2__)
    return uint32_t(_mm_movemask_ps(_mm_castsi128_ps(__m128i(in))));
#else
    return uint32_t((in[0] & 1) | (in[1] & 2) | (in[2] & 4) | (in[3] & 8));
#endif
}

// The lanes of the kBlock vertices from k that pass the step's T test against a, as bits: the same float
// differences and comparisons as the step, four lanes at a time.
inline uint32_t withinBits(const Axes& p, int32_t k, const PeoVertex& a, float t) {
    uint32_t bits = 0;
    for (int32_t i = 0; i < kBlock; i += 4) {
        const size_t at = size_t(k + i);
        const Int4 in = (abs4(load4(&p.x[at]) - a.x) < t) & (abs4(load4(&p.y[at]) - a.y) < t) &
                        (abs4(load4(&p.z[at]) - a.z) < t);
        bits |= laneBits(in) << i;
    }
    return bits;
}

// For the same block and a: the lanes whose pair would set one of a's coordinates to 0 on a ticked plane
// (snap), and those the plane rule lets merge into a (merge).
inline void planeBits(const Axes& p, int32_t k, const PeoVertex& a, LodSymmetry symmetry, uint32_t& snap,
                      uint32_t& merge) {
    const float tol = kPlaneTolerance;
    const Int4 all = ~Int4{}, none = Int4{};
    const Int4 aOnY0 = std::fabs(a.y) < tol ? all : none, aOnX0 = std::fabs(a.x) < tol ? all : none;
    snap = merge = 0;
    for (int32_t i = 0; i < kBlock; i += 4) {
        const size_t at = size_t(k + i);
        const Float4 bx = load4(&p.x[at]), by = load4(&p.y[at]), bz = load4(&p.z[at]);
        Int4 s = none;
        if (symmetry.xz) s |= abs4(a.y + by) < tol;
        if (symmetry.yz) s |= abs4(a.x + bx) < tol;
        if (symmetry.xy) s |= abs4(a.z + bz) < tol;
        snap |= laneBits(s) << i;
        merge |= laneBits((aOnY0 | (abs4(by) >= tol)) & (aOnX0 | (abs4(bx) >= tol))) << i;
    }
}

// The merge pass, exact to the step order: j's turn runs the step on every k > j in ascending order. Positions
// of k > j do not change before j's turn, so the coordinates copied by axis at the start stand for them.
// A turn scans the k after j a block at a time, testing four at once, and deals only with the k within T of
// j's position as it stands: one by one through the steps where one of them may move j, else marked at
// once. When the scans have cost many times the vertex count (many kept vertices, a small T), a grid of
// power-of-two cells at least T wide over the positions names every k that the T test can pass against any
// position j takes during its turn (its own, or with a coordinate set to 0 that a ticked box allows); a turn
// whose cells hold few of the remaining vertices then visits only those k, in ascending order, and runs the
// steps exactly.
void lodMerge(std::vector<PeoVertex>& v, float t, LodSymmetry symmetry) {
    const int32_t count = int32_t(v.size());
    if (!(t > 0)) {  // no difference is below 0 or NaN
        for (PeoVertex& vertex : v) vertex.mark = 0;
        return;
    }
    Axes axes(v);
    std::vector<int16_t>& mark = axes.mark;
    // One step of j's turn against k: a pair within T may set j's coordinates on a ticked plane to 0, and marks
    // k to merge into j unless k lies on the plane y = 0 or x = 0 and j does not.
    auto step = [&](PeoVertex& a, int32_t j, int32_t k) {
        const PeoVertex& b = v[size_t(k)];
        if (!(std::fabs(b.x - a.x) < t && std::fabs(b.y - a.y) < t && std::fabs(b.z - a.z) < t)) return;
        if (symmetry.xz && std::fabs(a.y + b.y) < kPlaneTolerance) a.y = 0;
        if (symmetry.yz && std::fabs(a.x + b.x) < kPlaneTolerance) a.x = 0;
        if (symmetry.xy && std::fabs(a.z + b.z) < kPlaneTolerance) a.z = 0;
        if ((std::fabs(b.y) >= kPlaneTolerance || std::fabs(a.y) < kPlaneTolerance) &&
            (std::fabs(b.x) >= kPlaneTolerance || std::fabs(a.x) < kPlaneTolerance))
            mark[size_t(k)] = int16_t(j + 1);
    };
    auto scan = [&](PeoVertex& a, int32_t j) {
        for (int32_t k = j + 1; k < count; k += kBlock) {
            const uint32_t within = withinBits(axes, k, a, t);
            if (within == 0) continue;
            uint32_t snap, merge;
            planeBits(axes, k, a, symmetry, snap, merge);
            if (within & snap) {
                // A pair may move j: the steps one by one.
                for (int32_t i = k, end = std::min(count, k + kBlock); i < end; ++i) step(a, j, i);
                continue;
            }
            // j stays where it is for the whole block.
            const uint32_t merged = within & merge;
            if (merged == (1u << kBlock) - 1) {
                std::fill_n(mark.begin() + k, kBlock, int16_t(j + 1));
                continue;
            }
            for (uint32_t m = merged; m != 0; m &= m - 1) mark[size_t(k + __builtin_ctz(m))] = int16_t(j + 1);
        }
    };
    const double cell = powerOfTwoAtLeast(double(t));
    // Where every pair of finite vertices may pass there is no grid. It is built once the scans have visited
    // kGridAfterScans times the vertex count, and given up when its cells hold too many vertices for most of
    // its first kGridTrials turns.
    bool gridWanted = std::isfinite(t) && cell <= 1e30;
    const int64_t budget = kGridAfterScans * int64_t(count);
    int64_t scanned = 0;
    int trials = 0, crowded = 0;
    std::optional<Grid> grid;
    std::vector<int32_t> candidates;
    std::vector<Cell> queried;
    for (int32_t j = 0; j + 1 < count; ++j) {
        if (mark[size_t(j)] != 0 || !finite(v[size_t(j)])) continue;
        PeoVertex& a = v[size_t(j)];
        const size_t following = size_t(count - j - 1);
        if (!gridWanted || (!grid && scanned + int64_t(following) <= budget)) {
            scanned += int64_t(following);
            scan(a, j);
            continue;
        }
        if (!grid) {
            grid.emplace(1.0 / cell, v.size());
            for (int32_t i = j + 1; i < count; ++i)
                if (finite(v[size_t(i)])) grid->file(grid->cellAt(v[size_t(i)].x, v[size_t(i)].y, v[size_t(i)].z), i);
        }
        queried.clear();
        const float x0 = a.x, y0 = a.y, z0 = a.z;
        size_t around = 0;
        const size_t enough = following / kScansPerCandidate + 1;
        for (int variant = 0; variant < 8 && around < enough; ++variant) {
            if ((variant & 1) && !symmetry.xz) continue;
            if ((variant & 2) && !symmetry.yz) continue;
            if ((variant & 4) && !symmetry.xy) continue;
            const Cell c = grid->cellAt((variant & 2) ? 0.0f : x0, (variant & 1) ? 0.0f : y0, (variant & 4) ? 0.0f : z0);
            if (std::find(queried.begin(), queried.end(), c) != queried.end()) continue;
            queried.push_back(c);
            around += grid->countAround(c, enough - around);
        }
        if (around >= enough) {
            // The cells hold too many of the vertices that follow j: the scan costs no more.
            if (++trials <= kGridTrials && ++crowded * 4 > kGridTrials * 3) {
                gridWanted = false;
                grid.reset();
            }
            scan(a, j);
            continue;
        }
        ++trials;
        candidates.clear();
        for (const Cell& c : queried)
            grid->around(c, [&](int32_t k) {
                if (k > j) candidates.push_back(k);
            });
        std::sort(candidates.begin(), candidates.end());
        candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
        for (int32_t k : candidates) step(a, j, k);
    }
    for (int32_t i = 0; i < count; ++i) v[size_t(i)].mark = mark[size_t(i)];
}

// The mirror pass: kept vertices filed at their mirror image (x, -y, z) in cells of 1.0; a marked m is
// restored when a filed vertex passes the three tests, and is filed at once.
void lodMirror(std::vector<PeoVertex>& v) {
    Grid grid(1.0, v.size());
    for (size_t n = 0; n < v.size(); ++n)
        if (v[n].mark == 0 && finite(v[n])) grid.file(grid.cellAt(v[n].x, -v[n].y, v[n].z), int32_t(n));
    for (size_t m = 0; m < v.size(); ++m) {
        if (v[m].mark == 0 || !finite(v[m])) continue;
        const PeoVertex& a = v[m];
        bool restore = false;
        grid.around(grid.cellAt(a.x, a.y, a.z), [&](int32_t n) {
            const PeoVertex& b = v[size_t(n)];
            if (std::fabs(a.x - b.x) < 1.0f && std::fabs(a.y + b.y) < 1.0f && std::fabs(a.z - b.z) < 1.0f)
                restore = true;
        });
        if (!restore) continue;
        v[m].mark = 0;
        grid.file(grid.cellAt(v[m].x, -v[m].y, v[m].z), int32_t(m));
    }
}

// The nearest-vertex search of the loose-end fix over one object's current positions: a grid of power-of-two
// cells searched in growing rings until no unvisited cell can hold a vertex at or below the best distance.
// Vertices too far out for the grid are searched one by one; vertices with a non-finite coordinate are
// never filed.
class NearestSearch {
public:
    explicit NearestSearch(std::vector<PeoVertex>& v) : v_(v) {
        double low = std::numeric_limits<double>::infinity(), high = -low;
        size_t finiteCount = 0;
        for (const PeoVertex& p : v)
            if (finite(p)) {
                ++finiteCount;
                for (float c : {p.x, p.y, p.z}) {
                    low = std::min(low, double(std::fabs(c)));
                    high = std::max(high, double(std::fabs(c)));
                }
            }
        double span = finiteCount ? high * 2 : 1.0;
        if (!(span > 0) || !std::isfinite(span)) span = 1.0;
        span = std::min(span, 1e6);
        double side = span / std::max(1.0, std::cbrt(double(finiteCount)));
        if (!(side > 1e-6)) side = 1e-6;
        cell_ = powerOfTwoAtLeast(side);
        // Halve the cells while they hold more than a few vertices each (flat or clustered objects).
        for (int attempt = 0;; ++attempt) {
            grid_ = Grid(1.0 / cell_, v.size());
            place_.assign(v.size(), Place::None);
            cells_.assign(v.size(), Cell{});
            far_.clear();
            low_.fill(std::numeric_limits<int64_t>::max());
            high_.fill(std::numeric_limits<int64_t>::min());
            for (size_t i = 0; i < v.size(); ++i) file(int32_t(i));
            if (attempt == 12 || cell_ < 1e-6 || finiteCount <= 4 * std::max<size_t>(grid_.cellCount(), 1)) break;
            cell_ /= 2;
        }
    }

    // Re-files vertex i at its current position.
    void refile(int32_t i) {
        if (place_[size_t(i)] == Place::Grid) grid_.unfile(cells_[size_t(i)], i);
        if (place_[size_t(i)] == Place::Far) far_.erase(std::find(far_.begin(), far_.end(), i));
        place_[size_t(i)] = Place::None;
        file(i);
    }

    // The vertex other than i with the smallest distance below 9999 (lowest index among equal ones), or -1.
    int32_t nearest(int32_t i) const {
        const PeoVertex& q = v_[size_t(i)];
        if (!finite(q)) return -1;
        double best = 9999;
        int32_t found = -1;
        auto consider = [&](int32_t n) {
            if (n == i) return;
            const double dx = double(v_[size_t(n)].x) - double(q.x);
            const double dy = double(v_[size_t(n)].y) - double(q.y);
            const double dz = double(v_[size_t(n)].z) - double(q.z);
            const double d = std::sqrt(dx * dx + dy * dy + dz * dz);
            if (d < best || (d == best && found >= 0 && n < found)) {
                best = d;
                found = n;
            }
        };
        for (int32_t n : far_) consider(n);
        if (place_[size_t(i)] != Place::Grid) {
            for (size_t n = 0; n < v_.size(); ++n)
                if (place_[n] == Place::Grid) consider(int32_t(n));
            return found;
        }
        const Cell c = cells_[size_t(i)];
        for (int64_t r = 0;; ++r) {
            // Unvisited vertices lie at least (r - 1) cells away on some axis.
            if (r >= 2 && double(r - 1) * cell_ * (1 - 1e-9) > best) break;
            if (r > 0 && c[0] - r < low_[0] && c[1] - r < low_[1] && c[2] - r < low_[2] && c[0] + r > high_[0] &&
                c[1] + r > high_[1] && c[2] + r > high_[2])
                break;
            const int64_t side = 2 * r + 1;
            if (r > 0 && side * side * side - (side - 2) * (side - 2) * (side - 2) > int64_t(v_.size()) + 64) {
                for (size_t n = 0; n < v_.size(); ++n)
                    if (place_[n] == Place::Grid) consider(int32_t(n));
                break;
            }
            ring(c, r, consider);
        }
        return found;
    }

private:
    enum class Place : uint8_t { None, Grid, Far };

    void file(int32_t i) {
        const PeoVertex& p = v_[size_t(i)];
        if (!finite(p)) return;
        const double limit = cell_ * double(kCellLimit / 2);
        if (std::fabs(p.x) > limit || std::fabs(p.y) > limit || std::fabs(p.z) > limit) {
            far_.push_back(i);
            place_[size_t(i)] = Place::Far;
            return;
        }
        const Cell c = grid_.cellAt(p.x, p.y, p.z);
        grid_.file(c, i);
        cells_[size_t(i)] = c;
        place_[size_t(i)] = Place::Grid;
        for (int a = 0; a < 3; ++a) {
            low_[size_t(a)] = std::min(low_[size_t(a)], c[size_t(a)]);
            high_[size_t(a)] = std::max(high_[size_t(a)], c[size_t(a)]);
        }
    }

    template <class F>
    void ring(const Cell& c, int64_t r, F& f) const {
        for (int64_t dx = -r; dx <= r; ++dx)
            for (int64_t dy = -r; dy <= r; ++dy) {
                const bool edge = dx == -r || dx == r || dy == -r || dy == r;
                for (int64_t dz = -r; dz <= r; dz += (edge || r == 0) ? 1 : 2 * r)
                    grid_.inCell({c[0] + dx, c[1] + dy, c[2] + dz}, f);
            }
    }

    std::vector<PeoVertex>& v_;
    double cell_ = 1;
    Grid grid_;
    std::vector<Place> place_;
    std::vector<Cell> cells_;
    std::vector<int32_t> far_;
    Cell low_{std::numeric_limits<int64_t>::max(), std::numeric_limits<int64_t>::max(),
              std::numeric_limits<int64_t>::max()};
    Cell high_{std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::min(),
               std::numeric_limits<int64_t>::min()};
};

void looseEnds(PeoObject& object, const std::vector<PeoMaterial>& materials, LooseEndCounts& counts) {
    std::vector<PeoVertex>& v = object.vertices;
    std::vector<int32_t> users(v.size(), 0), last(v.size(), -1);
    for (size_t p = 0; p < object.polygons.size(); ++p) {
        const PeoPolygon& polygon = object.polygons[p];
        const int32_t c[3] = {polygon.v0, polygon.v1, polygon.v2};
        for (int i = 0; i < 3; ++i) {
            if ((i > 0 && c[i] == c[0]) || (i > 1 && c[i] == c[1])) continue;
            if (c[i] < 0 || size_t(c[i]) >= v.size()) continue;
            ++users[size_t(c[i])];
            last[size_t(c[i])] = int32_t(p);
        }
    }
    NearestSearch search(v);
    for (size_t i = 0; i < v.size(); ++i) {
        if (users[i] == 1) {
            ++counts.single;
            if (materials[size_t(object.polygons[size_t(last[i])].material)].twoSided) {
                ++counts.leftAlone;
                continue;
            }
            const int32_t n = search.nearest(int32_t(i));
            if (n < 0) continue;
            ++counts.fixed;
            PeoVertex& a = v[i];
            PeoVertex& b = v[size_t(n)];
            if (std::fabs(a.x - b.x) < 1.0f && std::fabs(a.y + b.y) < 1.0f && std::fabs(a.z - b.z) < 1.0f) {
                a.y = 0;
                b.y = 0;
                search.refile(n);
            } else {
                a.x = b.x;
                a.y = b.y;
                a.z = b.z;
            }
            search.refile(int32_t(i));
        } else if (users[i] == 0) {
            v[i].x = v[0].x;
            v[i].y = v[0].y;
            v[i].z = v[0].z;
            ++counts.orphans;
            search.refile(int32_t(i));
        }
    }
}

std::vector<int64_t> materialUse(const ShipModel& model, const std::vector<char>& skip) {
    std::vector<int64_t> use(size_t(model.materialCount()), 0);
    for (size_t i = 0; i < model.peoObjects.size(); ++i) {
        const PeoObject& object = model.peoObjects[i];
        if (object.isDeleted() || (i < skip.size() && skip[i])) continue;
        for (const PeoPolygon& p : object.polygons)
            if (p.material >= 0 && p.material < model.materialCount()) ++use[size_t(p.material)];
    }
    return use;
}

uint64_t pairKey(int32_t a, int32_t b) {
    if (a > b) std::swap(a, b);
    return uint64_t(uint32_t(a)) << 32 | uint32_t(b);
}

struct KeyHash {
    size_t operator()(uint64_t k) const { return size_t((k ^ (k >> 29)) * 0x9E3779B97F4A7C15ull >> 7); }
};

// Edges grouped by their unordered pair: each group's first entry matches the others, and an entry is open
// when its group has no other.
EdgeMatch matchEdges(const std::vector<PeoPolygon>& polygons, const std::vector<PeoMaterial>& materials) {
    EdgeMatch r;
    const int32_t n = int32_t(polygons.size() * 3);
    FlatMap<uint64_t, int32_t, KeyHash> groups{static_cast<size_t>(n)};
    for (int32_t e = 0; e < n; ++e)
        ++*groups.tryEmplace(pairKey(edgeStart(polygons, e), edgeEnd(polygons, e)), 0).first;
    for (int32_t e = 0; e < n; ++e) {
        const int32_t size = *groups.find(pairKey(edgeStart(polygons, e), edgeEnd(polygons, e)));
        if (size > 1) continue;
        if (materials[size_t(polygons[size_t(e / 3)].material)].twoSided)
            ++r.doubleSidedOpen;
        else
            r.open.push_back(e);
    }
    groups.forEach([&](uint64_t, int32_t size) { r.shared += size - 1; });
    return r;
}

// Polygons grouped by their corner multiset: later members wound opposite to the first (distinct corners),
// or any later member (a repeated corner; 3 when all corners are equal), are counted and marked.
int64_t backToBack(std::vector<PeoPolygon>& p) {
    FlatMap<std::array<int32_t, 3>, size_t, TripleHash> first(p.size());
    int64_t b = 0;
    for (size_t k = 0; k < p.size(); ++k) {
        p[k].mark = 0;
        auto [at, fresh] = first.tryEmplace(sortedCorners(p[k]), k);
        if (fresh) continue;
        const PeoPolygon& j = p[*at];
        const bool repeated = p[k].v0 == p[k].v1 || p[k].v1 == p[k].v2 || p[k].v0 == p[k].v2;
        if (repeated) {
            p[k].mark = -1;
            b += (p[k].v0 == p[k].v1 && p[k].v1 == p[k].v2) ? 3 : 1;
        } else if (!sameWinding(j, p[k])) {
            p[k].mark = -1;
            ++b;
        }
    }
    return b;
}

// Mending: open edges have distinct unordered pairs, so each test names at most one K. For a ascending, each
// b > a sharing a vertex with G ascending, the (c, test) of every test that holds with c > b, by c then test.
std::vector<PeoPolygon> mendHoles(const std::vector<PeoPolygon>& polygons, const std::vector<int32_t>& open) {
    std::vector<PeoPolygon> mends;
    const int32_t s = int32_t(open.size());
    std::vector<int32_t> st(static_cast<size_t>(s)), en(static_cast<size_t>(s));
    std::unordered_map<uint64_t, int32_t, KeyHash> byPair;
    std::unordered_map<int32_t, std::vector<int32_t>> byVertex;
    byPair.reserve(size_t(s));
    for (int32_t i = 0; i < s; ++i) {
        st[size_t(i)] = edgeStart(polygons, open[size_t(i)]);
        en[size_t(i)] = edgeEnd(polygons, open[size_t(i)]);
        byPair.emplace(pairKey(st[size_t(i)], en[size_t(i)]), i);
        byVertex[st[size_t(i)]].push_back(i);
        if (en[size_t(i)] != st[size_t(i)]) byVertex[en[size_t(i)]].push_back(i);
    }
    auto position = [&](int32_t x, int32_t y) {
        auto it = byPair.find(pairKey(x, y));
        return it == byPair.end() ? -1 : it->second;
    };
    std::vector<int32_t> partners;
    std::vector<std::pair<int32_t, int>> found;
    for (int32_t a = 0; a < s; ++a) {
        const int32_t sG = st[size_t(a)], eG = en[size_t(a)];
        partners.clear();
        for (int32_t vertex : {sG, eG}) {
            const auto& list = byVertex[vertex];
            for (int32_t b : list)
                if (b > a) partners.push_back(b);
            if (sG == eG) break;
        }
        std::sort(partners.begin(), partners.end());
        partners.erase(std::unique(partners.begin(), partners.end()), partners.end());
        const PeoPolygon& g = polygons[size_t(open[size_t(a)] / 3)];
        for (int32_t b : partners) {
            const int32_t sH = st[size_t(b)], eH = en[size_t(b)];
            found.clear();
            auto test = [&](bool holds, int32_t x, int32_t y, int which) {
                if (!holds) return;
                const int32_t c = position(x, y);
                if (c > b) found.emplace_back(c, which);
            };
            test(sG == sH, eG, eH, 1);
            test(sG == eH, eG, sH, 2);
            test(eG == eH, sG, sH, 3);
            test(eG == sH, sG, eH, 4);
            std::sort(found.begin(), found.end());
            for (auto [c, which] : found) {
                (void)c;
                mends.push_back(which == 1 || which == 4 ? mendPatch(g, sG, eG, eH) : mendPatch(g, sG, eG, sH));
            }
        }
    }
    return mends;
}

}  // namespace

const MeshKernels& fastMeshKernels() {
    static const MeshKernels kernels{weldMarks, compact,     dropDuplicates, lodMerge,   lodMirror,
                                     looseEnds, materialUse, matchEdges,     backToBack, mendHoles};
    return kernels;
}

}  // namespace tarv
