#pragma once
// The main() of the benchmarks that build widgets: they run on Qt's offscreen platform unless another is set.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <functional>

namespace tarv::bench {

// beforeQuit runs while the application still exists: widgets kept between benchmarks go there.
inline int runWidgetBenchmarks(int argc, char** argv, const std::function<void()>& beforeQuit = {}) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (beforeQuit) beforeQuit();
    return 0;
}

}  // namespace tarv::bench
