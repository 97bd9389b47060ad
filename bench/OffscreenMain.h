#pragma once
// The main() of the benchmarks that build widgets: they run on Qt's offscreen platform unless another is set.
#include <benchmark/benchmark.h>

#include <QApplication>

namespace tarv::bench {

inline int runWidgetBenchmarks(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace tarv::bench
