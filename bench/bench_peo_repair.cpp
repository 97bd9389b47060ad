// The repair window's reading on large files: the record list of a file of 10,000 and 100,000 object records,
// and the normals view of an object with 3,276 and 32,767 vertex normals, each beside the floor of reading the
// same file once.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "Floors.h"
#include "editor/context/EditingContext.h"
#include "meshtools/PeoRepair.h"

namespace {

using namespace tarv;

void put32(std::vector<uint8_t>& b, size_t at, int32_t v) {
    for (size_t i = 0; i < 4; ++i) b[at + i] = uint8_t(uint32_t(v) >> (8 * i));
}

// A Homeworld .peo of records object records; with normals, the first object has that many vertex normals
// and as many face normals, right after the records. Written once per shape, removed at exit.
struct RepairFile {
    std::string path;
    RepairFile(int32_t records, int32_t normals) {
        const std::filesystem::path folder =
            std::filesystem::temp_directory_path() / ("tarv-bench-repair-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        path = (folder / ("r" + std::to_string(records) + "n" + std::to_string(normals) + ".peo")).string();
        const size_t recordsEnd = 68 + size_t(records) * 112;
        std::vector<uint8_t> b(recordsEnd + size_t(normals) * 2 * 16 + 8, 0);
        std::copy_n("RMF99ba", 8, b.begin());
        put32(b, 8, 1026);
        put32(b, 32, int32_t(recordsEnd));
        put32(b, 40, records);
        put32(b, 68 + 12, normals);
        put32(b, 68 + 16, normals);
        put32(b, 68 + 28, int32_t(recordsEnd));
        put32(b, 68 + 32, int32_t(recordsEnd));
        for (size_t i = 0; i < size_t(normals) * 2; ++i) {
            const float v[3] = {float(i) * 0.001f, 0.5f, -0.25f};
            std::memcpy(&b[recordsEnd + i * 16], v, 12);
        }
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
    }
    ~RepairFile() { std::filesystem::remove_all(std::filesystem::path(path).parent_path()); }
};

const RepairFile& fileOf(int32_t records, int32_t normals) {
    static std::vector<std::unique_ptr<RepairFile>> files;
    for (const auto& f : files)
        if (f->path.find("r" + std::to_string(records) + "n" + std::to_string(normals) + ".") != std::string::npos)
            return *f;
    files.push_back(std::make_unique<RepairFile>(records, normals));
    return *files.back();
}

// The floor: one plain read of the file.
void BM_RepairReadFloor(benchmark::State& state) {
    const RepairFile& file = fileOf(int32_t(state.range(0)), int32_t(state.range(1)));
    for (auto _ : state) benchmark::DoNotOptimize(bench::sizedReadOnce(file.path));
}
BENCHMARK(BM_RepairReadFloor)->Args({10000, 0})->Args({100000, 0})->Args({1, 3276})->Args({1, 32767})
    ->Unit(benchmark::kMillisecond);

void BM_GetPeoInfo(benchmark::State& state) {
    const RepairFile& file = fileOf(int32_t(state.range(0)), 0);
    EditingContext ctx;
    RepairView view;
    for (auto _ : state) {
        getPeoInfo(ctx, view, file.path);
        benchmark::DoNotOptimize(view.lstObjects.data());
    }
    state.counters["entries"] = double(view.lstObjects.size());
}
BENCHMARK(BM_GetPeoInfo)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_NormalsView(benchmark::State& state) {
    const RepairFile& file = fileOf(1, int32_t(state.range(0)));
    EditingContext ctx;
    RepairView view;
    getPeoInfo(ctx, view, file.path);
    for (auto _ : state) {
        lstObjects_Click(ctx, view, 0);
        benchmark::DoNotOptimize(view.ListView1.data());
    }
    state.counters["rows"] = double(view.ListView1.size());
}
BENCHMARK(BM_NormalsView)->Arg(3276)->Arg(32767)->Unit(benchmark::kMillisecond);

}  // namespace
