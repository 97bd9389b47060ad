// The layer renderer against a plain palette lookup, and reading a large .lif with its blocks.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "editor/context/EditingContext.h"
#include "materials/LifReader.h"
#include "materials/LifRenderer.h"

namespace {

using namespace tarv;

LoadedTexture palettedTexture(int side) {
    LoadedTexture tex;
    tex.lifHeader.width = side;
    tex.lifHeader.height = side;
    tex.lifPixelCount = int64_t(side) * side;
    tex.lifPixels.resize(size_t(tex.lifPixelCount));
    uint32_t seed = 12345;
    for (auto& p : tex.lifPixels) {
        seed = seed * 1103515245u + 12345u;
        p = {uint8_t(seed >> 16), 0, 0, 0};
    }
    for (int i = 0; i < 256; ++i) {
        tex.lifPalette[size_t(i)] = {uint8_t(i), uint8_t(255 - i), uint8_t(i / 2), 255};
        tex.lifTeam0Table[size_t(i)] = i % 3 == 0 ? uint8_t(i) : 0;
        tex.lifTeam1Table[size_t(i)] = i % 5 == 0 ? uint8_t(255 - i) : 0;
    }
    return tex;
}

void BM_DrawLayer7(benchmark::State& state) {
    const auto tex = palettedTexture(512);
    for (auto _ : state) {
        auto image = drawLifPicture(tex, kLayerAll, {0, 128, 255, 0}, {0, 0, 160, 0}, kButtonFace);
        benchmark::DoNotOptimize(image);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * 512 * 512);
}
BENCHMARK(BM_DrawLayer7)->Unit(benchmark::kMillisecond);

// The yardstick: the same indices mapped through the palette into an Image.
void BM_PlainPaletteLookup(benchmark::State& state) {
    const auto tex = palettedTexture(512);
    for (auto _ : state) {
        Image image(512, 512, kButtonFace);
        for (size_t k = 0; k < tex.lifPixels.size(); ++k) {
            const auto& e = tex.lifPalette[tex.lifPixels[k][0]];
            image.pixels[k] = Rgba{e[0], e[1], e[2], 255};
        }
        benchmark::DoNotOptimize(image);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * 512 * 512);
}
BENCHMARK(BM_PlainPaletteLookup)->Unit(benchmark::kMillisecond);

void BM_LoadFileWithBlocks(benchmark::State& state) {
    const int side = int(state.range(0));
    const auto path = std::filesystem::temp_directory_path() / ("bench_lif_" + std::to_string(side) + ".lif");
    {
        const int32_t n = side * side;
        const int32_t header[12] = {0x6c6c6957, 0x00372079, 260, 50,     side,          side,
                                    0,          0,          48,  48 + n, 48 + n + 1024, 48 + n + 1280};
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(header) + 0, 8);
        out.write(reinterpret_cast<const char*>(header) + 8, 40);
        std::vector<char> rest(size_t(n) + 1536, 7);
        out.write(rest.data(), std::streamsize(rest.size()));
    }
    EditingContext ctx;
    ctx.userDataFolder = std::filesystem::temp_directory_path();
    ctx.prefs.logLevel = 0;
    for (auto _ : state) benchmark::DoNotOptimize(LoadFile(ctx, path.string(), true));
    state.SetBytesProcessed(int64_t(state.iterations()) * (int64_t(side) * side + 1584));
    std::filesystem::remove(path);
}
BENCHMARK(BM_LoadFileWithBlocks)->Arg(512)->Arg(1024)->Arg(2048)->Unit(benchmark::kMillisecond);

}  // namespace
