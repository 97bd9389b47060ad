// The object tree on large synthetic models: building it from the parent links and computing the links
// from it, for a wide tree (every object a child of the base) and a deep chain (each the child of the one
// before), at 3,276 and 32,767 objects (ten times as many), beside the floor of any build: a table of the
// same keys with a node each.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

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
    for (int count : {3276, 32767})
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

// The floor: one node per object under its key, names copied, in a fresh table.
void BM_KeyTableFloor(benchmark::State& state) {
    Model m(int(state.range(0)), state.range(1) != 0);
    struct Node {
        std::string key, text;
        Node* parent = nullptr;
        std::vector<Node*> children;
    };
    for (auto _ : state) {
        std::vector<std::unique_ptr<Node>> nodes;
        std::unordered_map<std::string, Node*> byKey;
        for (size_t i = 0; i < m.ctx.model.peoObjects.size(); ++i) {
            auto node = std::make_unique<Node>();
            node->key = "o" + std::to_string(i);
            node->text = m.ctx.model.peoObjects[i].name;
            byKey[node->key] = node.get();
            if (i > 0) {
                node->parent = nodes.front().get();
                node->parent->children.push_back(node.get());
            }
            nodes.push_back(std::move(node));
        }
        benchmark::DoNotOptimize(byKey.size());
    }
}
BENCHMARK(BM_KeyTableFloor)->Apply(args);

}  // namespace
