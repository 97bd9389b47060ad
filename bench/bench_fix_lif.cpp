// Fix Lif on bytes in memory: the conversion of RGB and RGBA sources against the colour reduction alone
// (its floor), and the copy case of a standard file against copying its bytes once.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "materials/FixLif.h"

namespace {

using namespace tarv;

void putI32(std::vector<uint8_t>& out, size_t at, int32_t v) {
    for (int i = 0; i < 4; ++i) out[at + size_t(i)] = uint8_t(uint32_t(v) >> (8 * i));
}

// A header of width x height with the given flags and offsets, then body bytes.
std::vector<uint8_t> lifFile(int side, int32_t flags, int32_t palette, int32_t team0, int32_t team1, size_t body) {
    std::vector<uint8_t> file(48 + body, 0);
    std::memcpy(file.data(), "Willy 7", 7);
    putI32(file, 8, 260);
    putI32(file, 12, flags);
    putI32(file, 16, side);
    putI32(file, 20, side);
    putI32(file, 32, 48);
    putI32(file, 36, palette);
    putI32(file, 40, team0);
    putI32(file, 44, team1);
    return file;
}

// A picture of smooth gradients with some noise: many colours, as a painted texture has.
Image gradient(int side) {
    Image p(side, side);
    uint32_t seed = 99;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            seed = seed * 1103515245u + 12345u;
            p.at(x, y) = {uint8_t(x * 255 / side), uint8_t(y * 255 / side), uint8_t((seed >> 16) & 31), 255};
        }
    return p;
}

// The source bytes of the picture: RGB (3n + 48) or RGBA with varying alpha (4n + 48).
std::vector<uint8_t> sourceOf(const Image& p, bool alpha) {
    const size_t n = p.pixels.size();
    auto file = lifFile(p.width, alpha ? 8 : 0, 0, 0, 0, n * (alpha ? 4 : 3));
    uint8_t* out = file.data() + 48;
    for (size_t k = 0; k < n; ++k) {
        const Rgba c = p.pixels[k];
        *out++ = c.r;
        *out++ = c.g;
        *out++ = c.b;
        if (alpha) *out++ = uint8_t(k);
    }
    return file;
}

void BM_FixLifConversion(benchmark::State& state) {
    const int side = int(state.range(0));
    const bool alpha = state.range(1) != 0;
    const Image picture = gradient(side);
    const auto source = sourceOf(picture, alpha);
    for (auto _ : state) {
        auto r = fixLifBytes(source, &picture);
        if (r.failure) state.SkipWithError(r.failure->reason.c_str());
        benchmark::DoNotOptimize(r);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * side * side);
}
BENCHMARK(BM_FixLifConversion)
    ->Args({1024, 0})
    ->Args({1024, 1})
    ->Args({2048, 0})
    ->Args({2048, 1})
    ->Unit(benchmark::kMillisecond);

// The floor of a conversion: the reduction to 236 colours that it is built on.
void BM_ReductionAlone(benchmark::State& state) {
    const int side = int(state.range(0));
    const Image picture = gradient(side);
    for (auto _ : state) benchmark::DoNotOptimize(reduceLikeEightBitBmp(picture));
    state.SetItemsProcessed(int64_t(state.iterations()) * side * side);
}
BENCHMARK(BM_ReductionAlone)->Arg(1024)->Arg(2048)->Unit(benchmark::kMillisecond);

std::vector<uint8_t> standardSource(int side) {
    const int32_t n = side * side;
    auto file = lifFile(side, 0, 48 + n, 48 + n + 1024, 48 + n + 1280, size_t(n) + 1536);
    for (size_t k = 48; k < file.size(); ++k) file[k] = uint8_t(k * 7);
    return file;
}

void BM_FixLifCopy(benchmark::State& state) {
    const int side = int(state.range(0));
    const auto source = standardSource(side);
    for (auto _ : state) benchmark::DoNotOptimize(fixLifBytes(source, nullptr));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(source.size()));
}
BENCHMARK(BM_FixLifCopy)->Arg(2048)->Unit(benchmark::kMillisecond);

// The floor of the copy: the source's bytes copied once into a new vector.
void BM_CopyBytesOnce(benchmark::State& state) {
    const auto source = standardSource(int(state.range(0)));
    for (auto _ : state) {
        std::vector<uint8_t> copy(source.begin(), source.end());
        benchmark::DoNotOptimize(copy);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(source.size()));
}
BENCHMARK(BM_CopyBytesOnce)->Arg(2048)->Unit(benchmark::kMillisecond);

}  // namespace
