// Playback stops before a load or the clean-up replaces the tracks and view records it reads.
#include <gtest/gtest.h>

#include "RoadFixture.h"
#include "animation/Playback.h"
#include "animation/state/AnimationsPageState.h"
#include "editor/LoadRoad.h"
#include "preview/PreviewCamera.h"

using namespace tarv;
using namespace tarv::test;

namespace {

// Counts the playback steps the timer runs, passing them on to the installed one.
struct CountingPlayback : PlaybackHook {
    PlaybackHook* inner = nullptr;
    int steps = 0;
    bool advancePlayback(EditingContext& c) override {
        ++steps;
        return inner->advancePlayback(c);
    }
};

// A status display whose first log line lets the timer tick, as the event pump of a long operation does;
// it notes what the tick found.
struct TickingStatus : RecordingStatus {
    EditingContext* ctx = nullptr;
    bool ticked = false;
    int isPlayingAtTick = -1;
    std::string captionsAtTick;
    void appendLog(const std::string& text) override {
        RecordingStatus::appendLog(text);
        if (ticked) return;
        ticked = true;
        isPlayingAtTick = ctx->preview.playback.isPlaying;
        captionsAtTick = ctx->animationsPage->cmdPlayAnimationCaption + "/" + ctx->animationsPage->cmdObjectPlayCaption;
        Timer1_Timer(*ctx);
    }
};

class PlaybackDuringLoadTest : public RoadTest {
protected:
    CountingPlayback counting;
    TickingStatus ticking;

    void SetUp() override {
        RoadTest::SetUp();
        loadThisFile(ctx, at("Tarvlet.shp"));
        ASSERT_TRUE(ctx.model.modelLoaded);
        ctx.animationsPage->lstAnimationsIndex = 0;
        ctx.animationsPage->cmbObjAnimsIndex = 0;
        cmdPlayAnimation_Click(ctx);
        ctx.animationsPage->cmdObjectPlayCaption = "Stop";
        ASSERT_EQ(ctx.preview.playback.isPlaying, 1);
        counting.inner = ctx.preview.playbackHook;
        ctx.preview.playbackHook = &counting;
        t.clock.advance(0.25);
        Timer1_Timer(ctx);
        ASSERT_EQ(counting.steps, 1);
        ticking.ctx = &ctx;
        ctx.services.status = &ticking;
    }
};

TEST_F(PlaybackDuringLoadTest, TheLoadStopsPlaybackBeforeItsFirstLogLine) {
    startprocess(ctx);
    EXPECT_TRUE(ticking.ticked);
    EXPECT_EQ(ticking.isPlayingAtTick, 0);
    EXPECT_EQ(ticking.captionsAtTick, "Play/Play");
    EXPECT_EQ(counting.steps, 1);  // the tick during the load ran no playback step
    EXPECT_TRUE(ctx.model.modelLoaded);
    EXPECT_TRUE(t.errors.reports.empty());
}

TEST_F(PlaybackDuringLoadTest, TheCleanUpStopsPlayback) {
    cleanup(ctx, false);
    EXPECT_EQ(ctx.preview.playback.isPlaying, 0);
    EXPECT_EQ(ctx.animationsPage->cmdPlayAnimationCaption, "Play");
    EXPECT_EQ(ctx.animationsPage->cmdObjectPlayCaption, "Play");
    t.clock.advance(0.25);
    Timer1_Timer(ctx);
    EXPECT_EQ(counting.steps, 1);
}

}  // namespace
