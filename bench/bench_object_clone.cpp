// Clone and Delete on large synthetic models. Clone: a 1,000-node subtree of one name family ("Gun1" with
// "Gun2" ... "Gun1000" under it) in models of 2,000 to 30,000 objects, with the copy names worked out by
// the full scan of every node per copy and by the family index side by side. Delete: a subtree of 10/32 of
// the model whose objects are shared by 5/32 of the model from outside it, in models of 4,000 to 32,000,
// with the sharers re-pointed by the scan per source and by the one pass side by side. Floors: copying the
// subtree's records, and one pass over every object. Frames hang by the parent links, as after a load.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "editor/context/EditingContext.h"
#include "objects/ObjectClone.h"
#include "objects/ObjectDelete.h"
#include "objects/ObjectNames.h"
#include "objects/ObjectSelection.h"
#include "objects/ObjectTree.h"
#include "preview/PreviewScene.h"
#include "scene/Scene.h"

namespace {

using namespace tarv;

constexpr int kFamily = 1000;

// count objects under the base; objects 1 ... kFamily form the family subtree under object 1 when family,
// and object i of the last `sharers` shares object 1 + (i mod subtree) when sharers > 0.
void buildModel(EditingContext& ctx, int count, bool family, int subtree, int sharers) {
    ctx.userDataFolder = std::filesystem::temp_directory_path() / "tarv-bench-object-clone";
    ctx.prefs.logLevel = 0;
    ctx.prefs.createGunChunkOnClone = false;
    if (!ctx.view.modelFrame) InitialiseComponents(ctx);
    ctx.model.peoObjects.clear();
    ctx.view.viewObjects.clear();
    for (int i = 0; i < count; ++i) {
        PeoObject object;
        object.matrix = Matrix4::identity();
        object.vertices = {{0, 0, 0, 0, 0}, {1, 0, 0, 0, 0}, {0, 1, 0, 0, 0}};
        object.polygons = {PeoPolygon{0, 1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}};
        const bool inSubtree = i >= 1 && i <= (family ? kFamily : subtree);
        object.name = family && inSubtree ? "Gun" + std::to_string(i) : "obj" + std::to_string(i);
        object.mother = i == 0 ? 0 : (inSubtree && i > 1 ? 2 : 1);
        if (sharers > 0 && i >= count - sharers) object.sharedWith = int16_t(1 + i % subtree);
        ctx.model.peoObjects.push_back(std::move(object));
        ViewObject view;
        view.mesh = scene::createMeshBuilder();
        view.frame = scene::createFrame();
        view.frame->addVisual(view.mesh);
        view.shown = -1;
        view.matrix = Matrix4::identity();
        ctx.view.viewObjects.push_back(std::move(view));
        const int32_t mother = ctx.model.peoObjects.back().mother;
        (mother == 0 ? ctx.view.modelFrame : ctx.view.viewObjects[size_t(mother - 1)].frame)
            ->addChild(ctx.view.viewObjects.back().frame);
    }
    createObjectTree(ctx);
    ctx.shell.treeHeirachy.setSelected("o1");
    treeHeirachy_NodeClick(ctx, "o1");
}

void cloneSizes(benchmark::internal::Benchmark* b) {
    for (int count : {2000, 8000, 30000}) b->Arg(count);
    b->Unit(benchmark::kMillisecond)->Iterations(2);
}

void BM_CloneFamilySubtree(benchmark::State& state) {
    EditingContext ctx;
    for (auto _ : state) {
        state.PauseTiming();
        buildModel(ctx, int(state.range(0)), true, 0, 0);
        state.ResumeTiming();
        cloneSelectedObject(ctx);
    }
    if (ctx.model.objectCount() != state.range(0) + kFamily) state.SkipWithError("the clone did not complete");
}
BENCHMARK(BM_CloneFamilySubtree)->Apply(cloneSizes);

// The names of the 1,000 copies: the full scan per copy, and the family index.
void BM_CopyNamesScan(benchmark::State& state) {
    EditingContext ctx;
    buildModel(ctx, int(state.range(0)), true, 0, 0);
    const std::vector<std::string> start = objectTreeTexts(ctx);
    std::vector<std::string> lastNames;
    for (auto _ : state) {
        std::vector<std::string> texts = start;
        lastNames.clear();
        for (int i = 1; i <= kFamily; ++i) {
            lastNames.push_back(copyNameAmong(start[size_t(i)], texts).name);
            texts.push_back(lastNames.back());
        }
    }
    NameFamilyIndex index(start);
    for (int i = 1; i <= kFamily; ++i) {
        const std::string name = index.copyName(start[size_t(i)]).name;
        if (name != lastNames[size_t(i - 1)]) state.SkipWithError("the index gives other names");
        index.add(name);
    }
}
BENCHMARK(BM_CopyNamesScan)->Apply(cloneSizes);

void BM_CopyNamesIndex(benchmark::State& state) {
    EditingContext ctx;
    buildModel(ctx, int(state.range(0)), true, 0, 0);
    const std::vector<std::string> start = objectTreeTexts(ctx);
    for (auto _ : state) {
        NameFamilyIndex index(start);
        for (int i = 1; i <= kFamily; ++i) index.add(index.copyName(start[size_t(i)]).name);
        benchmark::DoNotOptimize(index);
    }
}
BENCHMARK(BM_CopyNamesIndex)->Apply(cloneSizes);

// Floor of a clone: copying the subtree's records.
void BM_CloneFloorCopyRecords(benchmark::State& state) {
    EditingContext ctx;
    buildModel(ctx, int(state.range(0)), true, 0, 0);
    for (auto _ : state) {
        std::vector<PeoObject> copies(ctx.model.peoObjects.begin() + 1, ctx.model.peoObjects.begin() + 1 + kFamily);
        benchmark::DoNotOptimize(copies.data());
    }
}
BENCHMARK(BM_CloneFloorCopyRecords)->Apply(cloneSizes);

void deleteSizes(benchmark::internal::Benchmark* b) {
    for (int count : {4000, 16000, 32000}) b->Arg(count);
    b->Unit(benchmark::kMillisecond)->Iterations(2);
}

void BM_DeleteSharedSubtree(benchmark::State& state) {
    const int count = int(state.range(0));
    EditingContext ctx;
    for (auto _ : state) {
        state.PauseTiming();
        buildModel(ctx, count, false, count * 10 / 32, count * 5 / 32);
        ctx.shell.treeHeirachy.setSelected("o1");  // the subtree's top, also the selected object
        state.ResumeTiming();
        cmdDeleteObject_Click(ctx);
    }
    if (ctx.shell.treeHeirachy.count() != count - count * 10 / 32) state.SkipWithError("not deleted");
}
BENCHMARK(BM_DeleteSharedSubtree)->Apply(deleteSizes);

// Re-pointing the subtree's sharers: the scan per source and the one pass, on the same model.
void repoint(benchmark::State& state, bool literal) {
    const int count = int(state.range(0));
    EditingContext ctx;
    buildModel(ctx, count, false, count * 10 / 32, count * 5 / 32);
    const std::vector<int16_t> sources = subtreeObjects(ctx, "o1");
    std::vector<int16_t> before;
    for (const PeoObject& o : ctx.model.peoObjects) before.push_back(o.sharedWith);
    for (auto _ : state) {
        state.PauseTiming();
        for (size_t i = 0; i < before.size(); ++i) ctx.model.peoObjects[i].sharedWith = before[i];
        state.ResumeTiming();
        if (literal)
            repointSharersLiteral(ctx, sources);
        else
            repointSharers(ctx, sources);
    }
}
void BM_RepointScanPerSource(benchmark::State& state) { repoint(state, true); }
void BM_RepointOnePass(benchmark::State& state) { repoint(state, false); }
BENCHMARK(BM_RepointScanPerSource)->Apply(deleteSizes);
BENCHMARK(BM_RepointOnePass)->Apply(deleteSizes);

// Floor of a delete: one pass over every object.
void BM_DeleteFloorOnePass(benchmark::State& state) {
    EditingContext ctx;
    buildModel(ctx, int(state.range(0)), false, 1, 0);
    for (auto _ : state) {
        int64_t sum = 0;
        for (const PeoObject& o : ctx.model.peoObjects) sum += o.sharedWith + int64_t(o.name.size());
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_DeleteFloorOnePass)->Apply(deleteSizes);

}  // namespace
