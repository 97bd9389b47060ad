// Reading, writing and normals on large synthetic ships, each beside its floor measured in the same run: a
// single sized read() of the same file, a plain atomic write of the same bytes, a plain copy in memory.
//   200 objects x 5,000 polygons (domes with a few thousand distinct normals each), and one object at the
//   32,767-vertex limit; 20 objects as well, to show that the time grows linearly with the model.
#include <benchmark/benchmark.h>

#include "Floors.h"
#include "SyntheticShip.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <filesystem>
#include <map>
#include <memory>
#include <unistd.h>

#include "base/AtomicFile.h"
#include "editor/context/EditingContext.h"
#include "model/LogFiles.h"
#include "model/Normals.h"
#include "model/PeoReader.h"
#include "model/PeoWriter.h"

using namespace tarv;
namespace fs = std::filesystem;

namespace {

// A dome over an n x n grid: z = sqrt(4 - x^2 - y^2) over [-1, 1]^2, so the normals lean at most 30 degrees
// and neighbouring polygons differ by little (many merges, a few thousand distinct normals).
PeoObject dome(const std::string& name, int n, float shift) {
    PeoObject o = tarv::bench::dome(name, n);
    o.matrix[3] = shift;
    return o;
}

// 50 x 50 quads: 2,601 vertices, 5,000 polygons. 180 x 180 quads: 32,761 vertices, 64,800 polygons.
constexpr int kShipGrid = 50;
constexpr int kLimitGrid = 180;

struct Ship {
    fs::path folder;
    std::unique_ptr<EditingContext> ctx = std::make_unique<EditingContext>();
    Ship(int objects, int grid) {
        folder = fs::temp_directory_path() / ("tarv-bench-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        ctx->userDataFolder = folder;
        ctx->prefs.objectSharing = false;
        for (int k = 0; k < objects; ++k)
            ctx->model.peoObjects.push_back(dome("obj" + std::to_string(k), grid, float(k)));
        for (int k = 0; k < 8; ++k) {
            PeoMaterial m;
            m.texture = int16_t(k);
            ctx->model.materials.push_back(m);
            ctx->model.textures.push_back(PeoTexture{"tex" + std::to_string(k), false});
        }
        ctx->model.publicMaterialCount = 8;
    }
    ~Ship() { fs::remove_all(folder); }
    size_t polygons() const {
        size_t n = 0;
        for (const PeoObject& o : ctx->model.peoObjects) n += o.polygons.size();
        return n;
    }
};

Ship& ship(int objects, int grid = kShipGrid) {
    static std::map<std::pair<int, int>, std::unique_ptr<Ship>> ships;
    auto& s = ships[{objects, grid}];
    if (!s) s = std::make_unique<Ship>(objects, grid);
    return *s;
}

void perObject(benchmark::State& state, int objects) {
    state.counters["per_object"] = benchmark::Counter(
        double(objects), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_WritePeo(benchmark::State& state) {
    const int objects = int(state.range(0));
    const bool cataclysm = state.range(1) != 0;
    Ship& s = ship(objects);
    const std::string path = (s.folder / "ship.peo").string();
    for (auto _ : state) writePeoFile(*s.ctx, path, cataclysm);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(fs::file_size(path)));
    state.counters["polygons"] = double(s.polygons());
    perObject(state, objects);
}
BENCHMARK(BM_WritePeo)
    ->ArgsProduct({{20, 200}, {0, 1}})
    ->ArgNames({"objects", "cataclysm"})
    ->MinTime(3)
    ->Unit(benchmark::kMillisecond);

// The physical floor of a write: the same number of bytes through the same atomic road, nothing computed.
void BM_PlainWriteFloor(benchmark::State& state) {
    Ship& s = ship(200);
    const std::vector<uint8_t> bytes = buildPeoFile(*s.ctx, state.range(0) != 0);
    const fs::path path = s.folder / "floor.bin";
    for (auto _ : state) writeFileAtomically(path, bytes);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(BM_PlainWriteFloor)->Arg(0)->Arg(1)->ArgName("cataclysm")->MinTime(3)->Unit(benchmark::kMillisecond);

// A plain in-memory copy of the same number of bytes.
void BM_PlainMemoryCopy(benchmark::State& state) {
    Ship& s = ship(200);
    const std::vector<uint8_t> bytes = buildPeoFile(*s.ctx, true);
    std::vector<uint8_t> copy(bytes.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), bytes.data(), bytes.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(BM_PlainMemoryCopy)->Unit(benchmark::kMillisecond);

// The file the writer makes of the ship, written once per (objects, variant).
fs::path shipFile(int objects, bool cataclysm) {
    Ship& s = ship(objects);
    const fs::path path = s.folder / ("read-" + std::to_string(objects) + (cataclysm ? "-hwc.peo" : "-hw.peo"));
    if (!fs::exists(path)) writePeoFile(*s.ctx, path.string(), cataclysm);
    return path;
}

// Reading (sharing detection off) as the load road does: the model path set, so that the log lies beside the
// file and starts afresh at each load, at the default log level.
void BM_ReadPeo(benchmark::State& state) {
    const int objects = int(state.range(0));
    const fs::path path = shipFile(objects, state.range(1) != 0);
    EditingContext reader;
    reader.userDataFolder = ship(objects).folder;
    reader.prefs.objectSharing = false;
    reader.currentModelPath = path.string();
    for (auto _ : state) {
        startModelLog(reader);
        readPeoFile(reader, path.string());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(fs::file_size(path)));
    state.counters["log_level"] = reader.prefs.logLevel;
    perObject(state, objects);
}
BENCHMARK(BM_ReadPeo)
    ->ArgsProduct({{20, 200}, {0, 1}})
    ->ArgNames({"objects", "cataclysm"})
    ->MinTime(2)
    ->Unit(benchmark::kMillisecond);

// The floor of a read: the same file in one read() into a buffer of its size, taken from the system afresh.
void BM_SizedReadFloor(benchmark::State& state) {
    const fs::path path = shipFile(int(state.range(0)), state.range(1) != 0);
    size_t size = 0;
    for (auto _ : state) size = tarv::bench::sizedReadOnce(path.string());
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(size));
}
BENCHMARK(BM_SizedReadFloor)
    ->ArgsProduct({{20, 200}, {0, 1}})
    ->ArgNames({"objects", "cataclysm"})
    ->MinTime(2)
    ->Unit(benchmark::kMillisecond);

// readWholeFile on the same files, to compare with the sized read.
void BM_ReadWholeFile(benchmark::State& state) {
    const fs::path path = shipFile(int(state.range(0)), state.range(1) != 0);
    size_t size = 0;
    for (auto _ : state) size = readWholeFile(path).size();
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(size));
}
BENCHMARK(BM_ReadWholeFile)
    ->ArgsProduct({{20, 200}, {0, 1}})
    ->ArgNames({"objects", "cataclysm"})
    ->MinTime(2)
    ->Unit(benchmark::kMillisecond);

// The file built in memory (normals included), without the disk: compare with the plain memory copy.
void BM_BuildPeoInMemory(benchmark::State& state) {
    const int objects = int(state.range(0));
    Ship& s = ship(objects);
    size_t size = 0;
    for (auto _ : state) size = buildPeoFile(*s.ctx, true).size();
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(size));
    perObject(state, objects);
}
BENCHMARK(BM_BuildPeoInMemory)->Arg(20)->Arg(200)->ArgName("objects")->MinTime(2)->Unit(benchmark::kMillisecond);

void BM_Normals(benchmark::State& state) {
    const int objects = int(state.range(0));
    Ship& s = ship(objects);
    for (auto _ : state) {
        recalcFaceNormals(*s.ctx);
        calcVertexNormals(*s.ctx);
    }
    state.counters["polygons"] = double(s.polygons());
    state.counters["distinct_normals_obj0"] = double(s.ctx->model.peoObjects[0].nFaceNormals);
    perObject(state, objects);
}
BENCHMARK(BM_Normals)->Arg(20)->Arg(200)->ArgName("objects")->Unit(benchmark::kMillisecond);

void BM_NormalsAtTheVertexLimit(benchmark::State& state) {
    Ship& s = ship(1, kLimitGrid);
    for (auto _ : state) {
        recalcFaceNormals(*s.ctx);
        calcVertexNormals(*s.ctx);
    }
    state.counters["vertices"] = double(s.ctx->model.peoObjects[0].vertices.size());
    state.counters["distinct_normals"] = double(s.ctx->model.peoObjects[0].nFaceNormals);
}
BENCHMARK(BM_NormalsAtTheVertexLimit)->Unit(benchmark::kMillisecond);

std::vector<Vector3> polygonNormals(const PeoObject& o) {
    std::vector<Vector3> normals;
    for (size_t p = 0; p < o.polygons.size(); ++p) normals.push_back(calcFaceNormal(o, int32_t(p)));
    return normals;
}

// The merge alone, hash grid against the plain scan, on one ship object and on the vertex-limit object.
void BM_FaceNormalMerge(benchmark::State& state) {
    const bool literal = state.range(1) != 0;
    const std::vector<Vector3> normals = polygonNormals(
        state.range(0) != 0 ? ship(1, kLimitGrid).ctx->model.peoObjects[0] : ship(20).ctx->model.peoObjects[0]);
    size_t distinct = 0;
    for (auto _ : state)
        distinct = (literal ? mergeFaceNormalsLiteral(normals) : mergeFaceNormals(normals)).normals.size();
    state.counters["polygons"] = double(normals.size());
    state.counters["distinct"] = double(distinct);
}
BENCHMARK(BM_FaceNormalMerge)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"vertexLimit", "literal"})
    ->Unit(benchmark::kMillisecond);

// The merge on normals spread over a half sphere, rounded as calcFaceNormal rounds them: 32,767 and ten
// times as many (the second fills the half sphere with distinct normals; most of its normals merge).
void BM_FaceNormalMergeSpread(benchmark::State& state) {
    std::mt19937 random(105);
    std::normal_distribution<float> gauss;
    std::vector<Vector3> normals;
    const auto count = size_t(state.range(0));
    while (normals.size() < count) {
        const float x = gauss(random), y = gauss(random), z = std::fabs(gauss(random));
        const double length = std::sqrt(double(x) * x + double(y) * y + double(z) * z);
        normals.push_back({float(std::nearbyint(x / length * 1e6) / 1e6), float(std::nearbyint(y / length * 1e6) / 1e6),
                           float(std::nearbyint(z / length * 1e6) / 1e6)});
    }
    size_t distinct = 0;
    for (auto _ : state) {
        try {
            distinct = mergeFaceNormals(normals).normals.size();
        } catch (...) {
            state.SkipWithError("more than 32767 distinct normals");
            break;
        }
    }
    state.counters["distinct"] = double(distinct);
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_FaceNormalMergeSpread)->Arg(32767)->Arg(327670)->Unit(benchmark::kMillisecond);

}  // namespace
