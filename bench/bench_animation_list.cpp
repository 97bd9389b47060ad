// The timeline operations at the .mad limits: 682 tracks holding 32,767 keys (48 a track over four windows),
// and one track of 32,767 keys. The argument is the number of tracks (or of keys). Add and Delete of an
// animation, Clone of one, and Insert and Delete of a key are measured each against its floor: one pass
// copying the same keys as plainly as possible.
#include <benchmark/benchmark.h>

#include <optional>
#include <string>
#include <vector>

#include "animation/AnimationList.h"
#include "animation/KeyframePanel.h"
#include "animation/state/AnimationsPageState.h"
#include "editor/context/EditingContext.h"

namespace {

using namespace tarv;

// Answers the clone's questions: not reversed, and the default end.
class ClonePrompts : public DecliningPrompts {
public:
    std::optional<std::string> inputBox(const std::string&, const std::string&, const std::string& defaultText) override {
        return defaultText;
    }
};

constexpr int kKeysPerTrack = 48;

struct TimelineShip {
    EditingContext ctx;
    ClonePrompts prompts;

    // tracks tracks of keysPerTrack keys: the opening key, keys every 0.5 s over four 2-second windows, and
    // the closing key.
    TimelineShip(int tracks, int keysPerTrack) {
        ctx.services.prompts = &prompts;
        ctx.prefs.alwaysShowBackup = false;
        const int inside = keysPerTrack - 2;
        const float step = 8.0f / float(inside);
        ctx.animation.madAnimations = {{"A", 0, 2, 0}, {"B", 2.01f, 4, 0}, {"C", 4.01f, 6, 0}, {"D", 6.01f, 8, 0}};
        for (int t = 0; t < tracks; ++t) {
            PeoObject object;
            object.name = "Arm" + std::to_string(t);
            object.madObjectIndex = int16_t(t);
            ctx.model.peoObjects.push_back(object);
            MadObject track;
            track.name = object.name;
            track.keyframes.resize(size_t(keysPerTrack));
            track.keyframes[0].time = -1;
            for (int k = 1; k <= inside; ++k) track.keyframes[size_t(k)].time = float(k - 1) * step;
            track.keyframes.back().time = 9;
            ctx.animation.madObjects.push_back(std::move(track));
        }
    }
    int last() const { return int(ctx.animation.madAnimations.size()) - 1; }
    void deleteLast() {
        ctx.animationsPage->lstAnimationsIndex = last();
        cmdAnimDelete_Click(ctx);
    }
};

// The floor of an operation over every key: each track's keys copied once.
void copyEveryTrack(const TimelineShip& ship, std::vector<std::vector<MadKeyframe>>& into) {
    into.resize(ship.ctx.animation.madObjects.size());
    for (size_t t = 0; t < into.size(); ++t) into[t] = ship.ctx.animation.madObjects[t].keyframes;
    benchmark::DoNotOptimize(into.data());
}

// Add a window, then Delete it (its keys: none); both touch every track.
void BM_AddAndDeleteAnimation(benchmark::State& state) {
    TimelineShip ship(int(state.range(0)), kKeysPerTrack);
    for (auto _ : state) {
        cmdAnimNew_Click(ship.ctx);
        ship.deleteLast();
    }
    state.SetComplexityN(state.range(0));
}

// Clone of the first window (a quarter of every track's keys copied), then Delete of the clone.
void BM_CloneAndDeleteAnimation(benchmark::State& state) {
    TimelineShip ship(int(state.range(0)), kKeysPerTrack);
    for (auto _ : state) {
        ship.ctx.animationsPage->lstAnimationsIndex = 0;
        cmdCloneAnimation_Click(ship.ctx);
        ship.deleteLast();
    }
    state.SetComplexityN(state.range(0));
}

void BM_EveryTrackCopiedTwiceFloor(benchmark::State& state) {
    TimelineShip ship(int(state.range(0)), kKeysPerTrack);
    std::vector<std::vector<MadKeyframe>> copy;
    for (auto _ : state) {
        copyEveryTrack(ship, copy);
        copyEveryTrack(ship, copy);
    }
    state.SetComplexityN(state.range(0));
}

// Insert of a key at the current key, then Delete of it, on one track of n keys.
void BM_InsertAndDeleteKey(benchmark::State& state) {
    TimelineShip ship(1, int(state.range(0)));
    ship.ctx.objects.selectedObject = 0;
    ship.ctx.animationsPage->cmbObjAnimsIndex = 1;
    for (auto _ : state) {
        cmbObjAnims_Click(ship.ctx);
        cmdKeyInsert_Click(ship.ctx);
        cmdKeyDelete_Click(ship.ctx);
    }
    state.SetComplexityN(state.range(0));
}

// The floor: the same insert and erase in the middle of the key vector.
void BM_InsertAndDeleteKeyFloor(benchmark::State& state) {
    TimelineShip ship(1, int(state.range(0)));
    auto& keys = ship.ctx.animation.madObjects[0].keyframes;
    const size_t middle = keys.size() / 4;
    for (auto _ : state) {
        keys.insert(keys.begin() + long(middle), keys[middle]);
        keys.erase(keys.begin() + long(middle));
        benchmark::DoNotOptimize(keys.data());
    }
    state.SetComplexityN(state.range(0));
}

BENCHMARK(BM_AddAndDeleteAnimation)->Arg(85)->Arg(170)->Arg(341)->Arg(682)->Complexity()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CloneAndDeleteAnimation)->Arg(85)->Arg(170)->Arg(341)->Arg(682)->Complexity()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EveryTrackCopiedTwiceFloor)->Arg(85)->Arg(170)->Arg(341)->Arg(682)->Complexity()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InsertAndDeleteKey)->Arg(4096)->Arg(8192)->Arg(16384)->Arg(32767)->Complexity()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_InsertAndDeleteKeyFloor)->Arg(4096)->Arg(8192)->Arg(16384)->Arg(32767)->Complexity()->Unit(benchmark::kMicrosecond);

}  // namespace
