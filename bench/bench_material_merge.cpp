// The duplicate-material merge on synthetic models: materials on 64 textures with two flag patterns (so most
// are duplicates), objects of 5,000 polygons each using materials spread over the list. The hashed merge runs
// up to 32,767 materials and 200 objects; the pairwise reference only on the smaller sizes, where it finishes.
// Floor: one pass that reads and writes every polygon's material.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "materials/MaterialList.h"
#include "model/state/ShipModel.h"

namespace {

using namespace tarv;

ShipModel syntheticModel(int materials, int objects) {
    ShipModel model;
    for (int t = 0; t < 64; ++t) model.textures.push_back({"T" + std::to_string(t), false});
    for (int i = 0; i < materials; ++i) {
        PeoMaterial m;
        m.texture = int16_t(i % 64);
        m.smoothing = (i / 64) % 2 == 0;
        m.ambient = {uint8_t(i), uint8_t(i >> 8), 0, 0};
        model.materials.push_back(m);
    }
    model.publicMaterialCount = int16_t(materials);
    for (int o = 0; o < objects; ++o) {
        PeoObject object;
        object.polygons.reserve(5000);
        for (int p = 0; p < 5000; ++p)
            object.polygons.push_back(newPolygon(0, 1, 2, int((int64_t(p) * 7919 + o * 31) % materials)));
        model.peoObjects.push_back(std::move(object));
    }
    return model;
}

void run(benchmark::State& state, bool pairwise) {
    const ShipModel source = syntheticModel(int(state.range(0)), int(state.range(1)));
    const auto noLog = [](const std::string&) {};
    for (auto _ : state) {
        state.PauseTiming();
        ShipModel model = source;
        state.ResumeTiming();
        if (pairwise)
            mergeDuplicateMaterialsPairwise(model, noLog);
        else
            mergeDuplicateMaterials(model, noLog);
        benchmark::DoNotOptimize(model.materials.data());
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * state.range(1) * 5000);
}

void BM_MergeHashed(benchmark::State& state) { run(state, false); }
void BM_MergePairwise(benchmark::State& state) { run(state, true); }

void BM_MergeFloorOnePass(benchmark::State& state) {
    ShipModel model = syntheticModel(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        for (auto& object : model.peoObjects)
            for (auto& polygon : object.polygons) polygon.material = polygon.material ^ 1;
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * state.range(1) * 5000);
}

}  // namespace

BENCHMARK(BM_MergeHashed)
    ->Args({256, 20})
    ->Args({4096, 20})
    ->Args({32767, 20})
    ->Args({32767, 200})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MergePairwise)->Args({256, 20})->Args({4096, 20})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MergeFloorOnePass)->Args({32767, 20})->Args({32767, 200})->Unit(benchmark::kMillisecond);
