#pragma once
// What the animation page tests share: an editing context whose model file is "ship.peo" in a folder of its
// own, and small helpers over its key tracks.
#include <gtest/gtest.h>

#include <vector>

#include "Fakes.h"
#include "TempDir.h"
#include "animation/state/AnimationsPageState.h"
#include "editor/context/EditingContext.h"

namespace tarv::test {

// The times of a track's keys, in order.
inline std::vector<float> timesOf(const MadObject& track) {
    std::vector<float> times;
    for (const MadKeyframe& k : track.keyframes) times.push_back(k.time);
    return times;
}

class AnimationPageFixture : public ::testing::Test {
protected:
    TempDir dir;
    TestContext t{dir.path()};
    EditingContext& ctx = t.ctx;
    AnimationsPageState& page = *ctx.animationsPage;

    AnimationPageFixture() { ctx.currentModelPath = (dir / "ship.peo").string(); }
    void link(int object, int track) { ctx.model.peoObjects[size_t(object)].madObjectIndex = int16_t(track); }
    MadObject& track(int i) { return ctx.animation.madObjects[size_t(i)]; }
};

}  // namespace tarv::test
