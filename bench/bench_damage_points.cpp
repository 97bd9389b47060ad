// Random damage points on the largest object the format allows: 32,767 vertices that are all candidates,
// asking for 32,000, so the draws run far beyond the count (about 123,000 draws). The reference pick scans its
// list at every draw and grows with the square of the count; the fast pick marks a bit vector and should cost
// little more than its floor, the bare draws of the same seeded source. Both pick alike (checked before
// timing). The whole command, normals and markers included, runs beside them.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "attachments/MexChunkTree.h"
#include "attachments/RandomDamagePoints.h"
#include "attachments/state/MexChunkTable.h"
#include "editor/context/EditingContext.h"
#include "platform/RandomSource.h"
#include "scene/Scene.h"

namespace {

using namespace tarv;

constexpr int32_t kCandidates = 32767;
constexpr uint32_t kSeed = 20261211;

// Counts the draws it passes on.
class CountingSource : public RandomSource {
public:
    explicit CountingSource(RandomSource& inner) : inner_(inner) {}
    int32_t uniformIndex(int32_t count) override {
        ++draws;
        return inner_.uniformIndex(count);
    }
    int64_t draws = 0;

private:
    RandomSource& inner_;
};

// The draws a pick of n out of kCandidates makes on the seeded source.
int64_t drawsOfPick(int32_t n) {
    SeededRandomSource seeded(kSeed);
    CountingSource counting(seeded);
    pickDamagePoints(counting, kCandidates, n);
    return counting.draws;
}

void BM_PickFast(benchmark::State& state) {
    const int32_t n = int32_t(state.range(0));
    SeededRandomSource a(kSeed), b(kSeed);
    if (pickDamagePoints(a, kCandidates, n) != pickDamagePointsReference(b, kCandidates, n)) {
        state.SkipWithError("the fast and the reference pick differ");
        return;
    }
    for (auto _ : state) {
        SeededRandomSource random(kSeed);
        benchmark::DoNotOptimize(pickDamagePoints(random, kCandidates, n));
    }
    state.counters["draws"] = double(drawsOfPick(n));
}
BENCHMARK(BM_PickFast)->Arg(3200)->Arg(32000)->Unit(benchmark::kMicrosecond);

void BM_PickReference(benchmark::State& state) {
    const int32_t n = int32_t(state.range(0));
    for (auto _ : state) {
        SeededRandomSource random(kSeed);
        benchmark::DoNotOptimize(pickDamagePointsReference(random, kCandidates, n));
    }
    state.counters["draws"] = double(drawsOfPick(n));
}
BENCHMARK(BM_PickReference)->Arg(3200)->Arg(32000)->Unit(benchmark::kMillisecond);

// The floor: as many draws from the same seeded source as the pick makes, nothing kept.
void BM_PickFloorDraws(benchmark::State& state) {
    const int64_t draws = drawsOfPick(int32_t(state.range(0)));
    for (auto _ : state) {
        SeededRandomSource random(kSeed);
        int64_t sum = 0;
        for (int64_t d = 0; d < draws; ++d) sum += random.uniformIndex(kCandidates);
        benchmark::DoNotOptimize(sum);
    }
    state.counters["draws"] = double(draws);
}
BENCHMARK(BM_PickFloorDraws)->Arg(3200)->Arg(32000)->Unit(benchmark::kMicrosecond);

// An object of 32,767 vertices, every one a candidate: triangles of their own, one per octant in turn, each
// facing away from the centre, and one loose vertex.
PeoObject allCandidatesObject() {
    PeoObject o;
    o.name = "Hull";
    o.matrix = Matrix4::identity();
    const int triangles = kCandidates / 3;
    for (int t = 0; t < triangles; ++t) {
        const int octant = t % 8;
        const float sx = octant & 1 ? -1.0f : 1.0f, sy = octant & 2 ? -1.0f : 1.0f, sz = octant & 4 ? -1.0f : 1.0f;
        const float q = 1.0f + 0.001f * float(t / 8), e = 0.5f;
        const int first = int(o.vertices.size());
        o.vertices.push_back({sx * (q + e), sy * q, sz * q});
        o.vertices.push_back({sx * q, sy * (q + e), sz * q});
        o.vertices.push_back({sx * q, sy * q, sz * (q + e)});
        PeoPolygon p;
        p.v0 = first;
        p.v1 = first + 1;
        p.v2 = first + 2;
        if (sx * sy * sz < 0) std::swap(p.v1, p.v2);  // a mirror image winds the other way
        o.polygons.push_back(p);
    }
    o.vertices.push_back({1, 1, 1});
    o.minX = o.minY = o.minZ = 1e30f;
    o.maxX = o.maxY = o.maxZ = -1e30f;
    for (const PeoVertex& v : o.vertices) {
        o.minX = std::min(o.minX, v.x), o.maxX = std::max(o.maxX, v.x);
        o.minY = std::min(o.minY, v.y), o.maxY = std::max(o.maxY, v.y);
        o.minZ = std::min(o.minZ, v.z), o.maxZ = std::max(o.maxZ, v.z);
    }
    o.nVertices = int32_t(o.vertices.size());
    o.nPolygons = int32_t(o.polygons.size());
    return o;
}

// The whole command's work after the prompts: normals of the model, the candidate pass, the fast pick and
// 32,000 chunks with their cone markers and ticked nodes.
void BM_RandomizeDamagePoints(benchmark::State& state) {
    EditingContext ctx;
    ctx.prefs.logLevel = -1;
    ctx.model.modelExtent = 10;
    ctx.model.peoObjects = {allCandidatesObject()};
    ctx.view.viewObjects.resize(1);
    ctx.view.viewObjects[0].frame = scene::createFrame();
    SeededRandomSource random(kSeed);
    ctx.services.random = &random;
    const int16_t n = int16_t(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        resetMexChunkTable(ctx);
        addMexTreeDefaults(ctx);
        state.ResumeTiming();
        randomizeDamagePoints(ctx, 0, n);
    }
    if (ctx.mex.mexChunkCount() != n) state.SkipWithError("not every damage point was added");
}
BENCHMARK(BM_RandomizeDamagePoints)->Arg(32000)->Unit(benchmark::kMillisecond);

}  // namespace
