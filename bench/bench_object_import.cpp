// The object import and the object dialogs at their limits: importing every object of a second file (10
// and 100 objects of 968 polygons; a saved file holds at most 291 active objects, 281 in Cataclysm) into a
// 1,000-object model, beside the floor of parsing that file; the import window's tree of 3,276 and 32,768
// records, one-pass and by the literal node moves, wide and deep;
// Bake and Pivot on objects of 3,276 and 32,767 vertices (their log lines included) beside a plain pass
// over the vertices.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

#include "Floors.h"
#include "SyntheticShip.h"
#include "base/BinaryReader.h"
#include "editor/context/EditingContext.h"
#include "model/PeoReader.h"
#include "model/PeoWriter.h"
#include "objects/ObjectDialogs.h"
#include "objects/ObjectImport.h"
#include "objects/ObjectLinks.h"
#include "objects/ObjectTree.h"
#include "preview/ObjectMeshes.h"
#include "preview/PreviewScene.h"

namespace {

using namespace tarv;
namespace fs = std::filesystem;

fs::path scratch(const std::string& tag) {
    const fs::path folder = fs::temp_directory_path() / ("tarv-bench-import-" + tag + "-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    return folder;
}

// A second file of count domes of 968 polygons.
struct SecondFile {
    fs::path folder;
    std::string path;
    explicit SecondFile(int count)
        : folder(scratch("file" + std::to_string(count))), path((folder / "other.peo").string()) {
        EditingContext ctx;
        ctx.userDataFolder = folder;
        ctx.prefs.logLevel = 0;
        ctx.prefs.alwaysShowBackup = false;
        for (int k = 0; k < count; ++k) ctx.model.peoObjects.push_back(bench::dome("part" + std::to_string(k), 22));
        ctx.model.materials.push_back(PeoMaterial{});
        ctx.model.textures.push_back(PeoTexture{"RMF99ba", false});
        ctx.model.publicMaterialCount = 1;
        writePeoFile(ctx, path, false);
    }
    ~SecondFile() {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
};

// A model of count one-triangle objects under the base, its tree built.
std::unique_ptr<EditingContext> smallModel(int count, const fs::path& folder) {
    auto ctx = std::make_unique<EditingContext>();
    ctx->userDataFolder = folder;
    ctx->currentModelPath = (folder / "ship.peo").string();
    ctx->prefs.logLevel = 0;
    InitialiseComponents(*ctx);
    for (int i = 0; i < count; ++i) {
        PeoObject o;
        o.name = "obj" + std::to_string(i);
        o.mother = i == 0 ? 0 : 1;
        o.matrix = Matrix4::identity();
        o.vertices = {{0, 0, 0, 0, 0}, {1, 0, 0, 0, 0}, {0, 1, 0, 0, 0}};
        o.polygons = {newPolygon(0, 1, 2, 0)};
        ctx->model.peoObjects.push_back(std::move(o));
        ctx->view.viewObjects.emplace_back();
    }
    ctx->model.materials.push_back(PeoMaterial{});
    ctx->model.textures.push_back(PeoTexture{"hull", false});
    createObjectTree(*ctx);
    return ctx;
}

void BM_ImportEveryObject(benchmark::State& state) {
    const int count = int(state.range(0));
    SecondFile file(count);
    const fs::path folder = scratch("model");
    for (auto _ : state) {
        state.PauseTiming();
        auto ctx = smallModel(1000, folder);
        ImportSession session;
        session.StatusBar1 = file.path;
        state.ResumeTiming();
        importPeoObjects(*ctx, session);
        createHeirachy(*ctx, session);
        for (int i = 1; i <= session.treeHeirachy.count(); ++i)
            session.treeHeirachy.setChecked(session.treeHeirachy.nodeAt(i).key, true);
        cmdImport_Click(*ctx, session);
        benchmark::DoNotOptimize(ctx->model.objectCount());
        state.PauseTiming();
        ctx.reset();
        state.ResumeTiming();
    }
    std::error_code ec;
    fs::remove_all(folder, ec);
    state.SetComplexityN(count);
}
BENCHMARK(BM_ImportEveryObject)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(2);

// The floor: the file read whole and parsed into its lists, as any import must.
void BM_ImportFloorParse(benchmark::State& state) {
    SecondFile file(int(state.range(0)));
    for (auto _ : state) {
        bench::sizedReadOnce(file.path);
        const PeoFileContents contents = parsePeoFile(BinaryReader::fromFile(file.path));
        benchmark::DoNotOptimize(contents.objects.size());
    }
}
BENCHMARK(BM_ImportFloorParse)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

// A header list of count records, wide (all under record 0) or deep (a chain).
ImportSession headerList(int count, bool deep) {
    ImportSession session;
    for (int i = 0; i < count; ++i) {
        PeoObjectHeader h;
        h.name = "rec" + std::to_string(i);
        const int parent = i == 0 ? -1 : (deep ? i - 1 : 0);
        h.mother = parent + 1;
        session.headers.push_back(h);
        session.parentOffsets.push_back(parent < 0 ? 0 : 68 + parent * 112);
    }
    return session;
}

void treeArgs(benchmark::internal::Benchmark* b) {
    for (int count : {3276, 32768})
        for (int deep : {0, 1}) b->Args({count, deep});
    b->Unit(benchmark::kMillisecond);
}

void BM_createHeirachy(benchmark::State& state) {
    EditingContext ctx;
    ImportSession session = headerList(int(state.range(0)), state.range(1) != 0);
    for (auto _ : state) createHeirachy(ctx, session);
}
BENCHMARK(BM_createHeirachy)->Apply(treeArgs);

void BM_createHeirachyLiteral(benchmark::State& state) {
    EditingContext ctx;
    ImportSession session = headerList(int(state.range(0)), state.range(1) != 0);
    for (auto _ : state) createHeirachyLiteral(ctx, session);
}
BENCHMARK(BM_createHeirachyLiteral)->Apply(treeArgs)->Iterations(1);

// One object of count vertices, selected, in a context whose start-up log goes to a scratch folder.
struct BigObject {
    fs::path folder = scratch("dialogs");
    EditingContext ctx;
    explicit BigObject(int count) {
        ctx.userDataFolder = folder;
        ctx.prefs.logLevel = 0;
        InitialiseComponents(ctx);
        PeoObject o;
        o.name = "big";
        o.matrix = Matrix4::identity();
        for (int i = 0; i < count; ++i) o.vertices.push_back({float(i), 0, 0, 0, 0});
        for (int i = 0; i + 2 < count; i += 3) o.polygons.push_back(newPolygon(i, i + 1, i + 2, 0));
        ctx.model.peoObjects.push_back(std::move(o));
        ctx.view.viewObjects.emplace_back();
        ctx.model.materials.push_back(PeoMaterial{});
        ctx.model.textures.push_back(PeoTexture{"hull", false});
        create3dObject(ctx, 0);
        ctx.view.modelFrame->addChild(ctx.view.viewObjects[0].frame);
        createObjectTree(ctx);
        ctx.objects.selectedObject = 0;
    }
    ~BigObject() {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
};

void BM_BakeVertices(benchmark::State& state) {
    BigObject big(int(state.range(0)));
    for (auto _ : state) {
        big.ctx.model.peoObjects[0].matrix[3] = 1;
        cmdBakeVertices_Click(big.ctx);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_BakeVertices)->Arg(3276)->Arg(32767)->Unit(benchmark::kMillisecond);

void BM_Pivot(benchmark::State& state) {
    BigObject big(int(state.range(0)));
    big.ctx.objects.dialogs.txtPivot = {"1", "0", "0"};
    for (auto _ : state) cmdPivot_Click(big.ctx);
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_Pivot)->Arg(3276)->Arg(32767)->Unit(benchmark::kMillisecond);

// The floor of both: one pass that moves every vertex.
void BM_MoveVerticesFloor(benchmark::State& state) {
    BigObject big(int(state.range(0)));
    for (auto _ : state) {
        for (PeoVertex& v : big.ctx.model.peoObjects[0].vertices) v.x += 1;
        benchmark::DoNotOptimize(big.ctx.model.peoObjects[0].vertices.data());
    }
}
BENCHMARK(BM_MoveVerticesFloor)->Arg(3276)->Arg(32767)->Unit(benchmark::kMillisecond);

}  // namespace
