// The object tree on large synthetic models: building it from the parent links and computing the links
// from it, for a wide tree (every object a child of the base) and a deep chain (each the child of the one
// before), at 1,000 and 32,767 objects.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "editor/context/EditingContext.h"
#include "objects/ObjectLinks.h"
#include "objects/ObjectTree.h"

namespace {

using namespace tarv;

// A context whose model has count objects, wide (all under object 0) or deep (a chain).
struct Model {
    EditingContext ctx;
    Model(int count, bool deep) {
        ctx.userDataFolder = std::filesystem::temp_directory_path() / "tarv-bench-object-tree";
        for (int i = 0; i < count; ++i) {
            PeoObject object;
            object.name = "obj" + std::to_string(i);
            object.mother = i == 0 ? 0 : (deep ? i : 1);
            ctx.model.peoObjects.push_back(std::move(object));
        }
        createObjectTree(ctx);
    }
};

void args(benchmark::internal::Benchmark* b) {
    for (int count : {1000, 32767})
        for (int deep : {0, 1}) b->Args({count, deep});
    b->Unit(benchmark::kMillisecond);
}

void BM_createObjectTree(benchmark::State& state) {
    Model m(int(state.range(0)), state.range(1) != 0);
    for (auto _ : state) createObjectTree(m.ctx);
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_createObjectTree)->Apply(args);

void BM_calcHeirachy(benchmark::State& state) {
    Model m(int(state.range(0)), state.range(1) != 0);
    for (auto _ : state) calcHeirachy(m.ctx);
}
BENCHMARK(BM_calcHeirachy)->Apply(args);

void BM_fixHierarchy(benchmark::State& state) {
    Model m(int(state.range(0)), state.range(1) != 0);
    for (auto _ : state) fixHierarchy(m.ctx);
}
BENCHMARK(BM_fixHierarchy)->Apply(args);

} // namespace
