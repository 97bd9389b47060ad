// Reading and writing .mex files up to the largest chunk count the format holds, with the chunk tree
// filled, and the naming helpers on a tree of that size. Growth from 1k to 32k chunks must be near-linear.
// The read runs as the load road runs it (log beside the model, at the default level and at 0), beside a
// single sized read of the same file.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <bit>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Floors.h"
#include "attachments/MexChunkTree.h"
#include "attachments/MexFile.h"
#include "editor/context/EditingContext.h"
#include "model/LogFiles.h"

namespace {

using namespace tarv;

struct Bytes {
    std::vector<uint8_t> b;
    void u8(uint8_t v) { b.push_back(v); }
    void i16(int16_t v) {
        u8(uint8_t(uint16_t(v)));
        u8(uint8_t(uint16_t(v) >> 8));
    }
    void i32(int32_t v) {
        for (int k = 0; k < 4; ++k) u8(uint8_t(uint32_t(v) >> (8 * k)));
    }
    void f32(float v) { i32(std::bit_cast<int32_t>(v)); }
    void field(const std::string& s, size_t width, uint8_t fill) {
        b.insert(b.end(), s.begin(), s.end());
        u8(0);
        b.insert(b.end(), width - s.size() - 1, fill);
    }
};

// A Cataclysm file of count chunks cycling through guns, damage points, engines, dock and salvage points
// and nav lights.
std::vector<uint8_t> largeMex(int count) {
    Bytes f;
    f.field("mannngo", 8, 0);
    f.i16(262);
    f.i16(int16_t(count));
    const char* const tags[] = {"Gun", "Dmg", "Eng", "Dok", "Sal", "Nav"};
    for (int i = 0; i < count; ++i) {
        const std::string tag = tags[i % 6];
        f.field(tag, 4, 0);
        f.field(tag.substr(0, 1) + std::to_string(i), 8, 0xAB);
        const bool named = tag == "Dok" || tag == "Sal";
        f.i32(tag == "Nav" ? 68 : tag == "Eng" ? 64 : named ? 52 : 32);
        for (int k = 0; k < 3; ++k) f.f32(float(i + k));
        if (tag == "Nav") {
            f.u8(255);
            f.u8(0);
            f.u8(128);
            f.u8(0xCD);
            f.field("Light" + std::to_string(i), 20, 0xCD);
        } else {
            for (int k = 0; k < 3; ++k) f.f32(k == 2 ? 1.0f : 0.0f);
            f.f32(15);
            f.f32(5);
            if (named) f.field((tag == "Dok" ? "Dock" : "Salvage") + std::to_string(i), 20, 0xCD);
        }
        if (tag == "Eng" || tag == "Nav") {
            f.u8(0);
            f.b.insert(f.b.end(), 31, 0xCD);
        }
    }
    return f.b;
}

std::filesystem::path benchFolder() {
    auto dir = std::filesystem::temp_directory_path() / "tarv_bench_mex";
    std::filesystem::create_directories(dir);
    return dir;
}

std::string writeLargeMex(int count) {
    const auto path = benchFolder() / ("large" + std::to_string(count) + ".mex");
    const auto bytes = largeMex(count);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path.string();
}

void prepare(EditingContext& ctx) {
    ctx.userDataFolder = benchFolder();
    ctx.prefs.logLevel = 0;
}

// As the load road reads a .mex: the model path set beside it, so that the log lies there, at the log level
// given (1 is the default).
void prepareForLoad(EditingContext& ctx, const std::string& mexPath, int logLevel) {
    ctx.userDataFolder = benchFolder();
    ctx.prefs.logLevel = logLevel;
    ctx.currentModelPath = (std::filesystem::path(mexPath).replace_extension("peo")).string();
}

void loadLarge(EditingContext& ctx, const std::string& path) {
    resetMexChunkTable(ctx);
    addMexTreeDefaults(ctx);
    getMexInfo(ctx, path);
}

void BM_ReadMex(benchmark::State& state) {
    const std::string path = writeLargeMex(int(state.range(0)));
    EditingContext ctx;
    prepareForLoad(ctx, path, int(state.range(1)));
    for (auto _ : state) {
        startModelLog(ctx);
        loadLarge(ctx, path);
        if (ctx.mex.mexChunkCount() != state.range(0)) state.SkipWithError("file not read");
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ReadMex)
    ->ArgsProduct({{3276, 32767}, {0, 1}})
    ->ArgNames({"chunks", "log_level"})
    ->Unit(benchmark::kMillisecond);

// The floor of a read: the same file in one read() into a buffer of its size.
void BM_SizedReadFloor(benchmark::State& state) {
    const std::string path = writeLargeMex(int(state.range(0)));
    for (auto _ : state) tarv::bench::sizedReadOnce(path);
}
BENCHMARK(BM_SizedReadFloor)->Arg(32767)->ArgName("chunks")->Unit(benchmark::kMillisecond);

void BM_BuildMexImage(benchmark::State& state) {
    EditingContext ctx;
    prepare(ctx);
    loadLarge(ctx, writeLargeMex(int(state.range(0))));
    for (auto _ : state) benchmark::DoNotOptimize(buildMexImage(ctx, true));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_BuildMexImage)
    ->RangeMultiplier(2)
    ->Range(1024, 32767)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

void BM_ExportMex(benchmark::State& state) {
    EditingContext ctx;
    prepare(ctx);
    loadLarge(ctx, writeLargeMex(int(state.range(0))));
    const std::string out = (benchFolder() / "out.mex").string();
    for (auto _ : state)
        if (!exportMex(ctx, out, true)) state.SkipWithError("not written");
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ExportMex)
    ->RangeMultiplier(4)
    ->Range(1024, 32767)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

// A tree of n gun nodes named Gun0 ... Gun(n-1), at most as many as 16-bit node numbers reach.
void fillGuns(EditingContext& ctx, int n) {
    addMexTreeDefaults(ctx);
    n = std::min(n, 32767 - ctx.mex.treeMex.count());
    for (int i = 0; i < n; ++i) ctx.mex.treeMex.addChild("gRoot", mexChunkKey('g', i), "Gun" + std::to_string(i));
}

void BM_GetNextChunkId(benchmark::State& state) {
    EditingContext ctx;
    prepare(ctx);
    fillGuns(ctx, int(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(getNextChunkId(ctx, "g"));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_GetNextChunkId)
    ->RangeMultiplier(2)
    ->Range(1024, 32767)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMicrosecond);

void BM_CheckMexName(benchmark::State& state) {
    EditingContext ctx;
    prepare(ctx);
    fillGuns(ctx, int(state.range(0)));
    const int16_t last = int16_t(ctx.mex.treeMex.count());
    for (auto _ : state) benchmark::DoNotOptimize(checkMexName(ctx, last));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_CheckMexName)
    ->RangeMultiplier(2)
    ->Range(1024, 32767)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
