// Writing and reading a .mad up to the writer's limits: 682 tracks, 32,767 keys, 32 animations.
// The argument is the number of tracks; the keys grow with it (48 a track), so time should grow linearly.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <unistd.h>

#include "animation/MadFile.h"
#include "animation/MadTracks.h"
#include "editor/context/EditingContext.h"

namespace {

struct MadShip {
    tarv::EditingContext ctx;
    std::filesystem::path folder;  // the .mad and the log, removed afterwards
    std::filesystem::path path;

    explicit MadShip(int tracks) {
        folder = std::filesystem::temp_directory_path() /
                 ("bench_mad." + std::to_string(getpid()) + "." + std::to_string(tracks));
        std::filesystem::create_directories(folder);
        path = folder / "ship.mad";
        ctx.userDataFolder = folder;
        auto& state = ctx.animation;
        for (int a = 0; a < tarv::kMaxMadAnimations; ++a)
            state.madAnimations.push_back({"Animation" + std::to_string(a), float(a), float(a) + 0.9f, 1});
        // 48 keys a track stays within 32,767 keys over 682 tracks.
        const int keysPerTrack = tracks == tarv::kMadMaxTracks ? tarv::kMadMaxKeyTotal / tracks : 48;
        for (int t = 0; t < tracks; ++t) {
            tarv::PeoObject object;
            object.name = "Gun" + std::to_string(t);  // prefixes of each other: Gun1, Gun10, Gun100
            object.madObjectIndex = int16_t(t);
            ctx.model.peoObjects.push_back(object);
            tarv::MadObject track;
            track.name = object.name;
            for (int k = 0; k < keysPerTrack; ++k) {
                tarv::MadKeyframe key;
                key.time = k == 0 ? -1.0f : float(k - 1) * 32.0f / float(keysPerTrack);
                key.position = {float(k), float(t), 1.0f};
                key.rotation = {0.1f, 0.2f, 0.3f};
                track.keyframes.push_back(key);
            }
            state.madObjects.push_back(std::move(track));
        }
    }
    ~MadShip() {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
};

void BM_exportMad(benchmark::State& state) {
    MadShip ship(int(state.range(0)));
    for (auto _ : state) {
        if (!tarv::exportMad(ship.ctx, ship.path)) state.SkipWithError("save failed");
    }
    state.SetComplexityN(state.range(0));
}

void BM_getMadInfo(benchmark::State& state) {
    MadShip ship(int(state.range(0)));
    if (!tarv::exportMad(ship.ctx, ship.path)) state.SkipWithError("save failed");
    for (auto _ : state) {
        tarv::getMadInfo(ship.ctx, ship.path);
        benchmark::DoNotOptimize(ship.ctx.animation.madObjects.data());
    }
    state.SetComplexityN(state.range(0));
}

}  // namespace

BENCHMARK(BM_exportMad)
    ->RangeMultiplier(4)
    ->Range(10, 640)
    ->Arg(tarv::kMadMaxTracks)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_getMadInfo)
    ->RangeMultiplier(4)
    ->Range(10, 640)
    ->Arg(tarv::kMadMaxTracks)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
