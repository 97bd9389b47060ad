// Frame time of the canvas on 200 frames x 5,000 triangles, against one plain buffer of the same triangles
// in the same widget. Run under Xvfb (scripts/bench does).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QSurfaceFormat>

#include "SceneBenchScene.h"
#include "scene/gl/RMCanvas.h"

namespace {

tarv::bench::BenchScene* gScene = nullptr;
tarv::scene::RMCanvas* gCanvas = nullptr;

void BM_SceneFrame(benchmark::State& state) {
    gCanvas->setPlainTriangles({});
    gCanvas->grabFramebuffer();  // buffers built once
    const auto uploads = gCanvas->meshUploads();
    for (auto _ : state) benchmark::DoNotOptimize(gCanvas->grabFramebuffer());
    state.counters["reuploads"] = double(gCanvas->meshUploads() - uploads);
}

void BM_PlainSingleBuffer(benchmark::State& state) {
    gCanvas->setPlainTriangles(gScene->worldTriangles);
    gCanvas->grabFramebuffer();
    for (auto _ : state) benchmark::DoNotOptimize(gCanvas->grabFramebuffer());
    gCanvas->setPlainTriangles({});
}

}  // namespace

BENCHMARK(BM_SceneFrame)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_PlainSingleBuffer)->Unit(benchmark::kMillisecond)->MinTime(3);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    tarv::bench::BenchScene scene;
    tarv::scene::RMCanvas canvas;
    canvas.resize(800, 600);
    canvas.setScene(scene.viewport);
    canvas.show();
    QApplication::processEvents();
    gScene = &scene;
    gCanvas = &canvas;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
