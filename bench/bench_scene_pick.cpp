// Picking on a million triangles: 200 meshes of 5,000, every mesh's box on the ray.
#include <benchmark/benchmark.h>

#include "SceneBenchScene.h"

static void BM_PickMillionTriangles(benchmark::State& state) {
    tarv::bench::BenchScene scene;
    scene.viewport->setSize(800, 600);
    size_t hits = 0;
    for (auto _ : state) {
        auto result = scene.viewport->pick(400, 300);
        hits = result.size();
        benchmark::DoNotOptimize(result);
    }
    state.counters["hits"] = double(hits);
}
BENCHMARK(BM_PickMillionTriangles)->Unit(benchmark::kMillisecond);

static void BM_PickBesideEverything(benchmark::State& state) {
    tarv::bench::BenchScene scene;
    scene.viewport->setSize(800, 600);
    for (auto _ : state) benchmark::DoNotOptimize(scene.viewport->pick(0, 0));
}
BENCHMARK(BM_PickBesideEverything)->Unit(benchmark::kMillisecond);
