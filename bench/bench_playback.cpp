// Playback at the .mad limits: 682 tracks holding 32,767 keys (48 a track), every key turning 4 rad about x
// from the one before, so each becomes three interpolator keys. The argument is the number of tracks.
// Building the interpolators is measured against putting the same keys into interpolators directly (the
// floor), and one timer step over every track against interpolating every interpolator directly.
#include <benchmark/benchmark.h>

#include <string>

#include "animation/MadTracks.h"
#include "animation/Playback.h"
#include "editor/context/EditingContext.h"
#include "model/RotationMath.h"
#include "scene/Scene.h"

namespace {

using namespace tarv;

class BenchClock : public Clock {
public:
    std::string dateText() override { return {}; }
    std::string timeText() override { return {}; }
    double secondsSinceMidnight() override { return now; }
    double monotonicSeconds() override { return now; }
    double now = 1000;
};

constexpr int kKeysPerTrack = 48;

struct PlaybackShip {
    EditingContext ctx;
    BenchClock clock;
    scene::FramePtr root = scene::createFrame();

    explicit PlaybackShip(int tracks) {
        ctx.services.clock = &clock;
        ctx.animation.madAnimations = {{"Sweep", 0, 40, 0}};
        for (int t = 0; t < tracks; ++t) {
            PeoObject object;
            object.name = "Arm" + std::to_string(t);
            object.madObjectIndex = int16_t(t);
            ctx.model.peoObjects.push_back(object);
            ViewObject view;
            view.frame = scene::createFrame(root);
            ctx.view.viewObjects.push_back(view);
            MadObject track;
            track.name = object.name;
            for (int k = 0; k < kKeysPerTrack; ++k) {
                MadKeyframe key;
                key.time = k == 0 ? -1.0f : float(k - 1) * 0.5f;
                key.position = {float(k), float(t), 1};
                key.rotation = {k % 2 == 0 ? 0.0f : 4.0f, 0.2f, 0.3f};
                track.keyframes.push_back(key);
            }
            ctx.animation.madObjects.push_back(std::move(track));
        }
    }
    int tracks() const { return ctx.animation.madObjectCount(); }
};

void BM_CreateInterpolators(benchmark::State& state) {
    PlaybackShip ship(int(state.range(0)));
    for (auto _ : state)
        for (int t = 0; t < ship.tracks(); ++t) createInterpolators(ship.ctx, t, 0);
    state.SetComplexityN(state.range(0));
}

// The floor: the same keys (three for each turning key, one for the first and the hold key) put in directly.
void BM_CreateInterpolatorsFloor(benchmark::State& state) {
    PlaybackShip ship(int(state.range(0)));
    for (auto _ : state) {
        for (int t = 0; t < ship.tracks(); ++t) {
            const auto& keys = ship.ctx.animation.madObjects[size_t(t)].keyframes;
            auto in = scene::createInterpolator();
            for (size_t k = 1; k < keys.size(); ++k) {
                for (int i = 0; i < (k == 1 ? 1 : 3); ++i) {
                    in->setIndex(double(keys[k].time) - 0.1 * i);
                    in->setPosition(ship.root, keys[k].position.x, keys[k].position.y, keys[k].position.z);
                    in->setQuaternion(ship.root, makeQuaternion(keys[k].rotation));
                }
            }
            in->setIndex(double(keys.back().time) + 2);
            in->setPosition(ship.root, 0, 0, 0);
            in->setQuaternion(ship.root, makeQuaternion(keys.back().rotation));
            in->attachObject(ship.ctx.view.viewObjects[size_t(t)].frame);
            ship.ctx.view.viewObjects[size_t(t)].interpolator = in;
        }
    }
    state.SetComplexityN(state.range(0));
}

void startPlaying(PlaybackShip& ship) {
    for (int t = 0; t < ship.tracks(); ++t) createInterpolators(ship.ctx, t, 0);
    PlaybackState& play = ship.ctx.preview.playback;
    play.isPlaying = 1;
    play.playObject = -1;
    play.playAnimation = 0;
    play.playStartTime = ship.clock.now;
}

void BM_PlaybackTick(benchmark::State& state) {
    PlaybackShip ship(int(state.range(0)));
    startPlaying(ship);
    for (auto _ : state) {
        ship.clock.now += 0.0001;
        benchmark::DoNotOptimize(advancePlayback(ship.ctx));
    }
    state.SetComplexityN(state.range(0));
}

// The floor: every interpolator played directly, without the per-track queries.
void BM_PlaybackTickFloor(benchmark::State& state) {
    PlaybackShip ship(int(state.range(0)));
    startPlaying(ship);
    double el = 0;
    for (auto _ : state) {
        el += 0.0001;
        for (const ViewObject& view : ship.ctx.view.viewObjects)
            view.interpolator->interpolate(el, scene::kInterpolationLinear);
    }
    state.SetComplexityN(state.range(0));
}

BENCHMARK(BM_CreateInterpolators)->Arg(85)->Arg(170)->Arg(341)->Arg(682)->Complexity()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CreateInterpolatorsFloor)
    ->Arg(85)
    ->Arg(170)
    ->Arg(341)
    ->Arg(682)
    ->Complexity()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlaybackTick)->Arg(85)->Arg(170)->Arg(341)->Arg(682)->Complexity()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlaybackTickFloor)->Arg(85)->Arg(170)->Arg(341)->Arg(682)->Complexity()->Unit(benchmark::kMicrosecond);

}  // namespace
