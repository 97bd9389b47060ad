// The playback controls in the main window: their places and captions, and the Play button following the
// playback state, also when the timer stops an animation at its end.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>

#include "MadFixtures.h"
#include "Screenshot.h"
#include "WindowFixture.h"
#include "animation/state/AnimationsPageState.h"
#include "editor/context/EditingContext.h"
#include "preview/PreviewCamera.h"

using namespace tarv;
using namespace tarv::test;

namespace {

struct PlaybackControlsTest : WindowFixture, ::testing::Test {};

TEST_F(PlaybackControlsTest, ControlsSitInTheirFramesWithTheirCaptions) {
    EXPECT_EQ(find<QGroupBox>("fraAnimationOptions")->title(), "Options");
    EXPECT_EQ(find<QPushButton>("cmdPlayAnimation")->text(), "Play");
    EXPECT_EQ(find<QPushButton>("cmdPlayAnimation")->parentWidget()->objectName(), "fraAnimationOptions");
    EXPECT_EQ(find<QPushButton>("cmdResetAllObjects")->text(), "Reset");
    EXPECT_EQ(find<QPushButton>("cmdObjectPlay")->text(), "Play");
    EXPECT_EQ(find<QPushButton>("cmdObjectPlay")->parentWidget()->objectName(), "pageKeyframes");
    EXPECT_EQ(find<QCheckBox>("chkObjectsShowAnims")->text(), "Only show objects with current animations");
    EXPECT_EQ(find<QCheckBox>("chkObjectsShowAnims")->parentWidget()->objectName(), "Frame4");
    window.resize(1000, 700);
    window.show();
    for (const char* page : {"pageAnimations", "pageObjects"}) {
        auto* tabs = find<QTabWidget>("SSTab1");
        tabs->setEnabled(true);
        for (int i = 0; i < tabs->count(); ++i) tabs->setTabEnabled(i, true);
        tabs->setCurrentWidget(find<QWidget>(page));
        saveScreenshotIfAsked(window, page);
    }
    auto* objectTabs = find<QTabWidget>("SSTab2");
    for (int i = 0; i < objectTabs->count(); ++i) objectTabs->setTabEnabled(i, true);
    objectTabs->setCurrentIndex(2);
    saveScreenshotIfAsked(window, "pageKeyframes");
}

TEST_F(PlaybackControlsTest, PlayReadsStopWhilePlayingAndPlayAgainWhenTheAnimationEnds) {
    EditingContext& ctx = t.ctx;
    ctx.animation.madAnimations = {{"Open", 0, 2, 0}};
    ctx.animation.madObjects = {
        MadObject{"gun", 1, {makeKey(-1, 0, {}, {}), makeKey(0.5f, 0, {}, {}), makeKey(1.5f, 0, {}, {})}}};
    ctx.animationsPage->lstAnimations = {"Open"};
    window.syncFromContext();
    auto* play = find<QPushButton>("cmdPlayAnimation");
    find<QListWidget>("lstAnimations")->setCurrentRow(0);
    play->click();
    EXPECT_EQ(play->text(), "Stop");
    EXPECT_EQ(ctx.preview.playback.isPlaying, 1);

    t.clock.advance(0.5);
    Timer1_Timer(ctx);
    EXPECT_EQ(play->text(), "Play");
    EXPECT_EQ(ctx.preview.playback.isPlaying, 0);

    play->click();
    EXPECT_EQ(play->text(), "Stop");
    play->click();
    EXPECT_EQ(play->text(), "Play");
    EXPECT_EQ(ctx.preview.playback.isPlaying, 0);
}

}  // namespace
