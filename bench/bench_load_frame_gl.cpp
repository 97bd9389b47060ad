// The load road to the first frame: the 200-object ship (200 x 5,000 polygons in a binary tree of links)
// opened through the load road, then the canvas's first frame grabbed (which must hold every object and face
// of the ship, beside the axes), beside a single sized read of the same file and a plain draw of one vertex buffer of as many
// triangles in the same widget. Run under Xvfb (scripts/bench does).
#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Floors.h"
#include "ShipOnDisk.h"
#include "editor/LoadRoad.h"
#include "editor/context/EditingContext.h"
#include "model/PeoWriter.h"
#include "preview/PreviewScene.h"
#include "scene/gl/RMCanvas.h"

namespace {

using namespace tarv;
namespace fs = std::filesystem;

// The 200-object ship on disk, and as many triangles as it has in one plain list, placed as the preview
// places them.
struct Ship : tarv::bench::ShipOnDisk {
    std::vector<float> triangles;
    Ship() : ShipOnDisk(200, "frame") {
        for (size_t k = 0; k < ctx->model.peoObjects.size(); ++k) {
            const PeoObject& o = ctx->model.peoObjects[k];
            for (const PeoPolygon& p : o.polygons)
                for (int32_t v : {p.v0, p.v1, p.v2}) {
                    const PeoVertex& c = o.vertices[size_t(v)];
                    triangles.insert(triangles.end(), {c.x * 50, c.y * 50, c.z * 50 - float(k)});
                }
        }
    }
};

Ship* gShip = nullptr;
scene::RMCanvas* gCanvas = nullptr;

void BM_LoadToFirstFrame(benchmark::State& state) {
    for (auto _ : state) {
        gShip->ctx->currentModelPath.clear();
        loadThisFile(*gShip->ctx, gShip->path);
        gCanvas->setScene(gShip->ctx->view.viewport);
        benchmark::DoNotOptimize(gCanvas->grabFramebuffer());
        if (gCanvas->lastFrameTriangles() < gShip->polygons || gCanvas->lastFrameMeshes() < 200) {
            state.SkipWithError("the first frame does not hold the ship");
            break;
        }
    }
    state.counters["polygons"] = double(gShip->polygons);
    state.counters["frame_triangles"] = double(gCanvas->lastFrameTriangles());
}
BENCHMARK(BM_LoadToFirstFrame)->Unit(benchmark::kMillisecond)->MinTime(5);

// The floor of the load: the same file in one read() into a buffer of its size.
void BM_SizedReadFloor(benchmark::State& state) {
    for (auto _ : state) tarv::bench::sizedReadOnce(gShip->path);
}
BENCHMARK(BM_SizedReadFloor)->Unit(benchmark::kMillisecond)->MinTime(2);

// The floor of the frame: one plain vertex buffer of as many triangles, uploaded afresh and drawn.
void BM_PlainVertexBufferDraw(benchmark::State& state) {
    for (auto _ : state) {
        gCanvas->setPlainTriangles(gShip->triangles);
        benchmark::DoNotOptimize(gCanvas->grabFramebuffer());
    }
    gCanvas->setPlainTriangles({});
}
BENCHMARK(BM_PlainVertexBufferDraw)->Unit(benchmark::kMillisecond)->MinTime(2);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    Ship ship;
    scene::RMCanvas canvas;
    canvas.resize(800, 600);
    canvas.setScene(ship.ctx->view.viewport);
    canvas.show();
    QApplication::processEvents();
    gShip = &ship;
    gCanvas = &canvas;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
