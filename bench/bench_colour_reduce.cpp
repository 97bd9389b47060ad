// The picture reduction that Fix Lif runs: an octree palette of 236 colours and 6 levels, then the picture
// mapped onto it without diffusion, on photo-like pictures (smooth gradients plus noise, fixed seed).
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "materials/ColourReduce.h"
#include "materials/DibSection.h"
#include "materials/Palette.h"

namespace {

tarv::cDIBSection photoLike(int size) {
    tarv::cDIBSection dib;
    dib.Create(size, size);
    std::mt19937 rng(1234);
    std::normal_distribution<double> noise(0.0, 6.0);
    auto level = [&](double v) { return uint8_t(std::clamp(v + noise(rng), 0.0, 255.0)); };
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double u = double(x) / size, v = double(y) / size;
            dib.byteAt(3 * x, y) = level(255 * v);
            dib.byteAt(3 * x + 1, y) = level(128 + 100 * std::sin(6.0 * u + 3.0 * v));
            dib.byteAt(3 * x + 2, y) = level(255 * u * (1 - v) + 60 * std::cos(9.0 * v));
        }
    }
    return dib;
}

void BM_OctreeAndApplyPalette(benchmark::State& state) {
    const int size = int(state.range(0));
    const tarv::cDIBSection source = photoLike(size);
    for (auto _ : state) {
        tarv::cDIBSection picture = source;
        tarv::cDIBSection work;
        work.Create(size, size);
        tarv::cPalette palette;
        palette.CreateOptimal(picture, 236, 6);
        tarv::cColourReduceDIB().ApplyPalette(picture, work, palette, false);
        benchmark::DoNotOptimize(picture.DIBSectionBitsPtr());
    }
    state.SetItemsProcessed(state.iterations() * int64_t(size) * size);
}
BENCHMARK(BM_OctreeAndApplyPalette)->Arg(256)->Arg(512)->Arg(1024)->Unit(benchmark::kMillisecond);

}  // namespace
