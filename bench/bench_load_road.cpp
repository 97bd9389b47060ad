// The whole load road (read, build the object meshes, link the frames, build the object tree) and Save >
// "&All" on a synthetic ship of 200 objects x 5,000 polygons in a binary tree of links, without a window.
#include <benchmark/benchmark.h>

#include "SyntheticShip.h"

#include <cmath>
#include <filesystem>
#include <memory>
#include <unistd.h>

#include "editor/context/EditingContext.h"
#include "model/PeoWriter.h"
#include "editor/LoadRoad.h"
#include "editor/SaveCommands.h"
#include "preview/PreviewScene.h"

using namespace tarv;
namespace fs = std::filesystem;

namespace {

PeoObject dome(const std::string& name, int n, int parent) {
    PeoObject o = tarv::bench::dome(name, n);
    o.mother = parent < 0 ? 0 : parent + 1;
    return o;
}

struct Ship {
    fs::path folder = fs::temp_directory_path() / ("tarv-bench-road-" + std::to_string(::getpid()));
    std::string path = (folder / "Big.peo").string();
    std::unique_ptr<EditingContext> ctx = std::make_unique<EditingContext>();
    explicit Ship(int objects) {
        fs::create_directories(folder);
        ctx->userDataFolder = folder;
        ctx->prefs.objectSharing = false;
        ctx->prefs.alwaysShowBackup = false;
        for (int k = 0; k < objects; ++k)
            ctx->model.peoObjects.push_back(dome("obj" + std::to_string(k), 50, k == 0 ? -1 : (k - 1) / 2));
        PeoMaterial m;
        ctx->model.materials.push_back(m);
        ctx->model.textures.push_back(PeoTexture{"RMF99ba", false});
        ctx->model.publicMaterialCount = 1;
        writePeoFile(*ctx, path, false);
        InitialiseComponents(*ctx);
    }
    ~Ship() { fs::remove_all(folder); }
};

void BM_LoadRoad(benchmark::State& state) {
    Ship ship(int(state.range(0)));
    for (auto _ : state) {
        ship.ctx->currentModelPath.clear();
        loadThisFile(*ship.ctx, ship.path);
        benchmark::DoNotOptimize(ship.ctx->model.objectCount());
    }
    state.counters["polygons"] = double(state.range(0)) * 5000;
}
BENCHMARK(BM_LoadRoad)->Arg(20)->Arg(200)->Unit(benchmark::kMillisecond);

void BM_SaveAll(benchmark::State& state) {
    Ship ship(int(state.range(0)));
    loadThisFile(*ship.ctx, ship.path);
    for (auto _ : state) mnuSaveAll_Click(*ship.ctx);
}
BENCHMARK(BM_SaveAll)->Arg(20)->Arg(200)->Unit(benchmark::kMillisecond);

} // namespace
