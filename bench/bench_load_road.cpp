// The whole load road (read, build the object meshes, link the frames, build the object tree) and Save >
// "&All" on a synthetic ship of 200 objects x 5,000 polygons in a binary tree of links, without a window,
// beside a single sized read of the same file. The load also reports its peak memory above what the
// process held before it, against the file's size.
#include <benchmark/benchmark.h>

#include "Floors.h"
#include "ShipOnDisk.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <fcntl.h>
#include <sys/stat.h>
#include <memory>
#include <unistd.h>

#include "editor/context/EditingContext.h"
#include "model/PeoWriter.h"
#include "editor/LoadRoad.h"
#include "editor/SaveCommands.h"
#include "preview/PreviewScene.h"

using namespace tarv;
namespace fs = std::filesystem;

namespace {

struct Ship : tarv::bench::ShipOnDisk {
    explicit Ship(int objects) : ShipOnDisk(objects, "road") {}
};

// A line of /proc/self/status in kB ("VmRSS", "VmHWM"); 0 where it cannot be read.
double statusKb(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field + ":", 0) == 0) return std::atof(line.c_str() + field.size() + 1);
    return 0;
}

void BM_LoadRoad(benchmark::State& state) {
    Ship ship(int(state.range(0)));
    double peakRatio = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ship.ctx->currentModelPath.clear();
        std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts again from the present size
        const double before = statusKb("VmRSS");
        state.ResumeTiming();
        loadThisFile(*ship.ctx, ship.path);
        benchmark::DoNotOptimize(ship.ctx->model.objectCount());
        state.PauseTiming();
        peakRatio = std::max(peakRatio, (statusKb("VmHWM") - before) * 1024 / double(fs::file_size(ship.path)));
        state.ResumeTiming();
    }
    state.counters["polygons"] = double(state.range(0)) * 5000;
    state.counters["peak_over_file"] = peakRatio;
}
BENCHMARK(BM_LoadRoad)->Arg(20)->Arg(200)->Unit(benchmark::kMillisecond);

// The floor of a load: the same file in one read() into a buffer of its size.
void BM_SizedReadFloor(benchmark::State& state) {
    Ship ship(int(state.range(0)));
    for (auto _ : state) tarv::bench::sizedReadOnce(ship.path);
}
BENCHMARK(BM_SizedReadFloor)->Arg(20)->Arg(200)->Unit(benchmark::kMillisecond);

void BM_SaveAll(benchmark::State& state) {
    Ship ship(int(state.range(0)));
    loadThisFile(*ship.ctx, ship.path);
    for (auto _ : state) mnuSaveAll_Click(*ship.ctx);
}
BENCHMARK(BM_SaveAll)->Arg(20)->Arg(200)->Unit(benchmark::kMillisecond);

// The floor of Save All: the model file's bytes, built once, written and synced to a new file that then
// replaces the old one, and the folder synced: the least a save that survives a crash does.
void BM_SaveAllFloor(benchmark::State& state) {
    Ship ship(int(state.range(0)));
    loadThisFile(*ship.ctx, ship.path);
    const std::vector<uint8_t> bytes = buildPeoFile(*ship.ctx, false);
    const std::string temporary = ship.path + ".floor";
    for (auto _ : state) {
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != ssize_t(bytes.size()) || ::fsync(fd) != 0) {
            state.SkipWithError("cannot write");
            break;
        }
        ::close(fd);
        ::rename(temporary.c_str(), ship.path.c_str());
        const int folder = ::open(fs::path(ship.path).parent_path().c_str(), O_RDONLY | O_DIRECTORY);
        ::fsync(folder);
        ::close(folder);
    }
}
BENCHMARK(BM_SaveAllFloor)->Arg(200)->Unit(benchmark::kMillisecond);

}  // namespace
