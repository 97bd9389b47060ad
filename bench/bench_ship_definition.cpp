// Reading and patching large ship definitions, and patching large level files.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "attachments/ShpFile.h"
#include "base/AtomicFile.h"
#include "editor/context/EditingContext.h"
#include "meshtools/LodFiles.h"

using namespace tarv;

namespace {

std::filesystem::path benchFolder() {
    static auto p = [] {
        auto f = std::filesystem::temp_directory_path() / ("tarv-bench-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(f);
        return f;
    }();
    return p;
}

std::string shipDefinition(int guns) {
    std::string s = "NUMBER_OF_GUNS " + std::to_string(guns) + "\r\n";
    for (int g = 0; g < guns; ++g) {
        s += "GUN " + std::to_string(g) +
             "\r\n{\r\nType GUN_NewGimble\r\nBarrelLength 1.5\r\nRecoilLength 2\r\n"
             "minturnangle -40\r\nmaxturnangle 40\r\nBindGun Turret" +
             std::to_string(g) + " GUN" + std::to_string(g) + ",Azimuth\r\n}\r\n";
    }
    return s;
}

void BM_ReadAndPatchShipDefinition(benchmark::State& state) {
    const int guns = int(state.range(0));
    auto path = benchFolder() / "big.shp";
    const std::string text = shipDefinition(guns);
    for (auto _ : state) {
        state.PauseTiming();
        writeFileAtomically(path, std::string_view(text));
        EditingContext ctx;
        ctx.prefs.logLevel = 0;
        ctx.userDataFolder = benchFolder();
        state.ResumeTiming();
        loadShpFile(ctx, path.string());
        saveSHPfile(ctx, path.string());
    }
    state.SetComplexityN(guns);
}
BENCHMARK(BM_ReadAndPatchShipDefinition)->Arg(3000)->Arg(30000)->Unit(benchmark::kMillisecond)->Complexity();

std::vector<uint8_t> levelFile(int records) {
    std::vector<uint8_t> b(68, 0);
    b[8] = 0x02;
    b[9] = 0x04;
    auto put = [&](size_t at, int32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(uint32_t(v) >> (8 * i));
    };
    put(40, records);
    b.resize(68 + size_t(records) * 112, 0);
    std::string names;
    for (int k = 0; k < records; ++k) {
        put(68 + size_t(k) * 112, int32_t(68 + records * 112 + names.size()));
        names += "object" + std::to_string(k) + '\0';
    }
    b.insert(b.end(), names.begin(), names.end());
    return b;
}

void BM_ApplyMatrixToLevelFile(benchmark::State& state) {
    const int n = int(state.range(0));
    EditingContext ctx;
    ctx.prefs.logLevel = 0;
    ctx.userDataFolder = benchFolder();
    for (int k = 0; k < n; ++k) {
        PeoObject o;
        o.name = "object" + std::to_string(k);
        o.mother = k == 0 ? 0 : 1;
        o.matrix = Matrix4::identity();
        ctx.model.peoObjects.push_back(o);
    }
    auto path = benchFolder() / "level.peo";
    const auto bytes = levelFile(n);
    for (auto _ : state) {
        state.PauseTiming();
        writeFileAtomically(path, bytes);
        state.ResumeTiming();
        applyMatrixToFile(ctx, path.string());
    }
    state.SetComplexityN(n);
}
BENCHMARK(BM_ApplyMatrixToLevelFile)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
