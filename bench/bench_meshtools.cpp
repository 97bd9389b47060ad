// The mesh tools' per-object steps in both forms on the shared generators: a closed grid surface with seam
// duplicates (weld, LOD), a triangle soup (clean-up, edge matching, back-to-back count, loose ends), a sheet
// with many triangular holes (mending), and a ship of 200 objects x 5,000 polygons for whole commands. The
// weld is measured beside meshoptimizer's vertex remap, which merges bit-identical positions only (speed
// only), and every benchmark beside the floor of copying its input.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <vector>

#include "MeshGenerators.h"
#include "editor/context/EditingContext.h"
#include "meshtools/MeshTools.h"
#include "meshtools/ScaleRotate.h"
#include "meshtools/state/ToolsPageState.h"
#include "scene/Frame.h"
#include "scene/Scene.h"
#include "meshtools/literal/LiteralKernels.h"
#include "objects/ObjectLinks.h"

#ifdef TARV_HAVE_MESHOPTIMIZER
#include <meshoptimizer.h>
#endif

namespace {

using namespace tarv;
using tarv::test::gridSurface;
using tarv::test::holeyObject;
using tarv::test::triangleSoup;

const MeshKernels& form(int64_t literal) { return literal ? literalMeshKernels() : fastMeshKernels(); }

std::vector<PeoMaterial> twoMaterials() {
    std::vector<PeoMaterial> materials(2);
    materials[1].twoSided = true;
    return materials;
}

void sizes(benchmark::internal::Benchmark* b) {
    for (int v : {1024, 4096, 16384, 32767})
        for (int literal : {0, 1}) b->Args({v, literal});
    b->Unit(benchmark::kMillisecond);
}

// The floor of every per-object benchmark: copying the object it works on.
void BM_CopyFloor(benchmark::State& state) {
    const PeoObject object = gridSurface(int(state.range(0)));
    for (auto _ : state) {
        PeoObject copy = object;
        benchmark::DoNotOptimize(copy.vertices.data());
    }
}
BENCHMARK(BM_CopyFloor)->Arg(4096)->Arg(32767)->Unit(benchmark::kMillisecond);

void BM_Weld(benchmark::State& state) {
    const PeoObject object = gridSurface(int(state.range(0)));
    const MeshKernels& k = form(state.range(1));
    for (auto _ : state) {
        PeoObject copy = object;
        k.weldMarks(copy.vertices);
        benchmark::DoNotOptimize(k.compact(copy));
    }
}
BENCHMARK(BM_Weld)->Apply(sizes);

#ifdef TARV_HAVE_MESHOPTIMIZER
void BM_MeshoptRemap(benchmark::State& state) {
    const PeoObject object = gridSurface(int(state.range(0)));
    std::vector<float> positions;
    for (const PeoVertex& v : object.vertices) positions.insert(positions.end(), {v.x, v.y, v.z});
    std::vector<unsigned> indices;
    for (const PeoPolygon& p : object.polygons) indices.insert(indices.end(), {unsigned(p.v0), unsigned(p.v1), unsigned(p.v2)});
    const size_t count = object.vertices.size();
    for (auto _ : state) {
        std::vector<unsigned> remap(count);
        const size_t unique = meshopt_generateVertexRemap(remap.data(), nullptr, count, positions.data(), count, 12);
        std::vector<unsigned> outIndices(indices.size());
        meshopt_remapIndexBuffer(outIndices.data(), indices.data(), indices.size(), remap.data());
        std::vector<float> outPositions(unique * 3);
        meshopt_remapVertexBuffer(outPositions.data(), positions.data(), count, 12, remap.data());
        benchmark::DoNotOptimize(outPositions.data());
    }
}
BENCHMARK(BM_MeshoptRemap)->Arg(1024)->Arg(4096)->Arg(16384)->Arg(32767)->Unit(benchmark::kMillisecond);
#endif

void BM_CleanUp(benchmark::State& state) {
    const PeoObject soup = triangleSoup(int(state.range(0)));
    PeoObject object = soup;
    // Every third polygon repeated, rotated or reversed.
    for (size_t i = 0; i < soup.polygons.size(); i += 3) {
        PeoPolygon p = soup.polygons[i];
        if (i % 2) std::swap(p.v1, p.v2);
        object.polygons.push_back(p);
    }
    std::vector<PeoMaterial> materials = twoMaterials();
    const MeshKernels& k = form(state.range(1));
    for (auto _ : state) {
        std::vector<PeoPolygon> polygons = object.polygons;
        std::vector<int64_t> pairs(2, 0);
        benchmark::DoNotOptimize(k.dropDuplicates(polygons, materials, pairs).size());
    }
}
BENCHMARK(BM_CleanUp)->Apply(sizes);

void BM_MatchEdges(benchmark::State& state) {
    const PeoObject object = triangleSoup(int(state.range(0)));
    const std::vector<PeoMaterial> materials = twoMaterials();
    const MeshKernels& k = form(state.range(1));
    for (auto _ : state) benchmark::DoNotOptimize(k.matchEdges(object.polygons, materials).open.size());
}
BENCHMARK(BM_MatchEdges)->Apply(sizes);

void BM_BackToBack(benchmark::State& state) {
    PeoObject object = triangleSoup(int(state.range(0)));
    const size_t half = object.polygons.size() / 2;
    // Every fourth polygon of the second half becomes the back of one of the first half.
    for (size_t i = 0; i < half; i += 4) {
        object.polygons[half + i] = object.polygons[i];
        std::swap(object.polygons[half + i].v1, object.polygons[half + i].v2);
    }
    const MeshKernels& k = form(state.range(1));
    for (auto _ : state) {
        std::vector<PeoPolygon> polygons = object.polygons;
        benchmark::DoNotOptimize(k.backToBack(polygons));
    }
}
BENCHMARK(BM_BackToBack)->Apply(sizes);

void BM_LooseEnds(benchmark::State& state) {
    const PeoObject object = triangleSoup(int(state.range(0)));
    const std::vector<PeoMaterial> materials = twoMaterials();
    const MeshKernels& k = form(state.range(1));
    for (auto _ : state) {
        PeoObject copy = object;
        LooseEndCounts counts;
        k.looseEnds(copy, materials, counts);
        benchmark::DoNotOptimize(counts.fixed);
    }
}
BENCHMARK(BM_LooseEnds)->Apply(sizes);

// The merge pass at a level on the 32,767-vertex grid surface (its x extent gives T).
void BM_LodMerge(benchmark::State& state) {
    const PeoObject object = gridSurface(32767);
    const float t = lodDistance(int(state.range(0)), object.maxX - object.minX);
    const MeshKernels& k = form(state.range(1));
    for (auto _ : state) {
        std::vector<PeoVertex> vertices = object.vertices;
        k.lodMerge(vertices, t, {true, true, false});
        benchmark::DoNotOptimize(vertices.data());
    }
}
BENCHMARK(BM_LodMerge)
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({5, 0})
    ->Args({5, 1})
    ->Args({20, 0})
    ->Args({20, 1})
    ->Unit(benchmark::kMillisecond);

// The ratio table of the merge pass: per level, both forms on the same copy of the 32,767-vertex surface in
// every iteration, and literal / production of their summed times (at least 1: the command never runs the
// slower form).
void BM_LodMergeRatio(benchmark::State& state) {
    const PeoObject object = gridSurface(32767);
    const float t = lodDistance(int(state.range(0)), object.maxX - object.minX);
    double seconds[2] = {0, 0};  // production, literal
    for (auto _ : state) {
        for (int literal : {0, 1}) {
            std::vector<PeoVertex> vertices = object.vertices;
            const auto start = std::chrono::steady_clock::now();
            form(literal).lodMerge(vertices, t, {true, true, false});
            seconds[literal] += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            benchmark::DoNotOptimize(vertices.data());
        }
    }
    const double n = double(state.iterations());
    state.counters["production_ms"] = seconds[0] * 1000 / n;
    state.counters["literal_ms"] = seconds[1] * 1000 / n;
    state.counters["literal_over_production"] = seconds[1] / seconds[0];
}
BENCHMARK(BM_LodMergeRatio)->Arg(1)->Arg(5)->Arg(20)->Unit(benchmark::kMillisecond);

void BM_LodMirror(benchmark::State& state) {
    PeoObject object = gridSurface(int(state.range(0)));
    fastMeshKernels().lodMerge(object.vertices, lodDistance(20, object.maxX - object.minX), {true, false, false});
    const MeshKernels& k = form(state.range(1));
    for (auto _ : state) {
        std::vector<PeoVertex> vertices = object.vertices;
        k.lodMirror(vertices);
        benchmark::DoNotOptimize(vertices.data());
    }
}
BENCHMARK(BM_LodMirror)->Apply(sizes);

void BM_Mend(benchmark::State& state) {
    const PeoObject object = holeyObject(int(state.range(0)));
    const std::vector<PeoMaterial> materials = twoMaterials();
    const std::vector<int32_t> open = fastMeshKernels().matchEdges(object.polygons, materials).open;
    const MeshKernels& k = form(state.range(1));
    for (auto _ : state) benchmark::DoNotOptimize(k.mendHoles(object.polygons, open).size());
    state.counters["open_edges"] = double(open.size());
}
BENCHMARK(BM_Mend)
    ->Args({500, 0})->Args({500, 1})->Args({1000, 0})->Args({1000, 1})->Args({2000, 0})->Args({2000, 1})
    ->Args({32767, 0})
    ->Unit(benchmark::kMillisecond);

// A ship of 200 objects of about 5,000 polygons each, with its tree.
struct Ship {
    EditingContext ctx;
    Ship() {
        ctx.model.materials.assign(1, PeoMaterial{});
        ctx.model.textures.push_back(PeoTexture{"hull", false});
        for (int i = 0; i < 200; ++i) {
            PeoObject o = gridSurface(2560, 0, uint32_t(i + 1));
            o.name = "obj" + std::to_string(i);
            ctx.shell.treeHeirachy.addTopLevel(objectKey(i), o.name);
            ctx.model.peoObjects.push_back(std::move(o));
        }
    }
};

// The mesh work of each whole command on the ship (no preview: the context has no scene).
void BM_ShipCommand(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto ship = std::make_unique<Ship>();
        state.ResumeTiming();
        switch (state.range(0)) {
            case 0: checkDupes_Click(ship->ctx); break;
            case 1: remDupes_Click(ship->ctx); break;
            case 2: CreateLOD_Click(ship->ctx, 1, {true, false, false}); break;
            case 3: cmdFixMesh_Click(ship->ctx); break;
            default: cmdWaterProof_Click(ship->ctx); break;
        }
        state.PauseTiming();
        ship.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ShipCommand)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->Iterations(2);

// The Tools page set for Scale by 100% ("PEO" ticked) and Rotate by "90".
void scaleBy100AndTurnX90(ToolsPageState& tools) {
    tools.txtScaleAmount = "100";
    tools.chkScalePEO = true;
    tools.cmbRotateAmount.items = {"90", "180"};
    tools.cmbRotateAmount.listIndex = 0;
}

// Scale (by 100%, so every run does the same work) and Rotate ("X ", "90") of one object with its preview
// rebuilt on a frame under the model frame; BM_CopyFloor at the same sizes is the floor.
void BM_ScaleRotate(benchmark::State& state) {
    EditingContext ctx;
    ctx.model.materials.assign(1, PeoMaterial{});
    ctx.model.textures.push_back(PeoTexture{"hull", false});
    ctx.model.peoObjects.push_back(gridSurface(int(state.range(0))));
    ctx.view.viewObjects.assign(1, ViewObject{});
    ctx.view.modelFrame = scene::createFrame();
    scaleBy100AndTurnX90(*ctx.toolsPage);
    const ScaleSteps none{};
    for (auto _ : state) {
        if (state.range(1) == 0)
            cmdScalePeo_Click(ctx, none);
        else
            cmdRotate_Click(ctx);
        benchmark::DoNotOptimize(ctx.model.peoObjects[0].vertices.data());
    }
}
BENCHMARK(BM_ScaleRotate)->Args({4096, 0})->Args({32767, 0})->Args({4096, 1})->Args({32767, 1})
    ->Unit(benchmark::kMillisecond);

// Scale (by 100%) and Rotate ("X ", "90") of the whole ship of 20 or 200 objects x 5,000 polygons, every
// object's preview rebuilt on its frame under the model frame. The floor is copying every vertex and polygon of
// the ship.
struct ShipWithPreview : Ship {
    explicit ShipWithPreview(int objects) {
        ctx.model.peoObjects.resize(size_t(objects));
        ctx.view.viewObjects.assign(size_t(objects), ViewObject{});
        ctx.view.modelFrame = scene::createFrame();
        scaleBy100AndTurnX90(*ctx.toolsPage);
    }
};

void BM_ShipScaleRotateFloor(benchmark::State& state) {
    ShipWithPreview ship(int(state.range(0)));
    const auto& objects = ship.ctx.model.peoObjects;
    // Buffers made once: the floor is the memory traffic of touching every vertex and polygon, not the
    // system's cost of handing out fresh pages.
    std::vector<std::vector<PeoVertex>> vertices(objects.size());
    std::vector<std::vector<PeoPolygon>> polygons(objects.size());
    for (size_t i = 0; i < objects.size(); ++i) {
        vertices[i].resize(objects[i].vertices.size());
        polygons[i].resize(objects[i].polygons.size());
    }
    size_t total = 0;
    for (auto _ : state) {
        for (size_t i = 0; i < objects.size(); ++i) {
            std::copy(objects[i].vertices.begin(), objects[i].vertices.end(), vertices[i].begin());
            std::copy(objects[i].polygons.begin(), objects[i].polygons.end(), polygons[i].begin());
            benchmark::DoNotOptimize(vertices[i].data());
            benchmark::DoNotOptimize(polygons[i].data());
        }
    }
    for (const PeoObject& o : objects) total += o.polygons.size();
    state.counters["polygons"] = double(total);
}
BENCHMARK(BM_ShipScaleRotateFloor)->Arg(20)->Arg(200)->Unit(benchmark::kMillisecond);

// Counts the event pumps of a command: the window's pump repaints, so a command may call it only every few
// milliseconds, not per vertex or per object.
struct CountingStatus : StatusDisplay {
    void processEvents() override { ++pumps; }
    int64_t pumps = 0;
};

void BM_ShipScaleRotate(benchmark::State& state) {
    ShipWithPreview ship(int(state.range(0)));
    CountingStatus status;
    ship.ctx.services.status = &status;
    const ScaleSteps none{};
    cmdRotate_Click(ship.ctx);  // every preview built once: the runs measure the rebuild
    for (auto _ : state) {
        if (state.range(1) == 0)
            cmdScalePeo_Click(ship.ctx, none);
        else
            cmdRotate_Click(ship.ctx);
        benchmark::DoNotOptimize(ship.ctx.model.peoObjects[0].vertices.data());
    }
    state.counters["pumps"] = benchmark::Counter(double(status.pumps), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ShipScaleRotate)->Args({20, 0})->Args({200, 0})->Args({20, 1})->Args({200, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
