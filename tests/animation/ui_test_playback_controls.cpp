// The playback controls in the main window: their places and captions, the Play button following the
// playback state, also when the timer stops an animation at its end, and the two check boxes.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>

#include "../objects/ObjectFixtures.h"
#include "MadFixtures.h"
#include "Screenshot.h"
#include "WindowFixture.h"
#include "animation/state/AnimationsPageState.h"
#include "editor/context/EditingContext.h"
#include "objects/ObjectTree.h"
#include "preview/PreviewCamera.h"
#include "shell/KeyedTreeWidget.h"

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

// A ship of three objects in the window: "base" with its child "gun" (the recoil joint of the one gun, recoil
// length 5, moved to z 7 by its matrix) and "arm"; only "gun" has a track.
struct PlaybackCheckBoxesTest : WindowFixture, ::testing::Test {
    void SetUp() override {
        EditingContext& ctx = t.ctx;
        makeObjects(ctx, {{"base", 0}, {"gun", 1}, {"arm", 0}});
        ctx.model.peoObjects[1].matrix[11] = 7;
        ctx.view.viewObjects[1].matrix = ctx.model.peoObjects[1].matrix;
        createObjectTree(ctx);
        ShpGun gun;
        gun.recoilJoint = "gun";
        gun.recoilLength = 5;
        ctx.shp.shpGuns = {gun};
        ctx.shp.shpGunCount = 1;
        ctx.animation.madAnimations = {{"Open", 0, 2, 0}};
        ctx.animation.madObjects = {makeTrack("gun", {0.5f})};
        ctx.model.peoObjects[1].madObjectIndex = 0;
        window.syncFromContext();
    }
    double frameZ(int object) { return t.ctx.view.viewObjects[size_t(object)].frame->localTransform().t.z; }
    Qt::CheckState node(const char* key) { return window.treeHeirachy->itemForKey(key)->checkState(0); }
};

TEST_F(PlaybackCheckBoxesTest, ShowGunRecoilMovesTheSelectedJointBackWhileTicked) {
    auto* recoil = find<QCheckBox>("chkShowRecoil");
    EXPECT_FALSE(recoil->isEnabled()) << "no object is selected";
    window.treeHeirachy->setCurrentItem(window.treeHeirachy->itemForKey("o1"));
    treeHeirachy_NodeClick(t.ctx, "o1");
    window.syncFromContext();
    ASSERT_EQ(t.ctx.objects.selectedObject, 1);
    ASSERT_TRUE(recoil->isEnabled()) << "the selected object is a recoil joint";
    EXPECT_NEAR(frameZ(1), 7, 1e-6);
    recoil->click();
    EXPECT_TRUE(recoil->isChecked());
    EXPECT_NEAR(frameZ(1), 2, 1e-6);
    recoil->click();
    EXPECT_FALSE(recoil->isChecked());
    EXPECT_NEAR(frameZ(1), 7, 1e-6);
}

TEST_F(PlaybackCheckBoxesTest, OnlyShowObjectsWithCurrentAnimationsHidesTheOthersAndClearedShowsAll) {
    auto* box = find<QCheckBox>("chkObjectsShowAnims");
    for (const char* key : {"o0", "o1", "o2"}) ASSERT_EQ(node(key), Qt::Checked) << key;
    box->click();
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(node("o0"), Qt::Unchecked);
    EXPECT_EQ(node("o1"), Qt::Checked);
    EXPECT_EQ(node("o2"), Qt::Unchecked);
    EXPECT_EQ(t.ctx.view.viewObjects[0].shown, 0);
    EXPECT_NE(t.ctx.view.viewObjects[1].shown, 0);
    box->click();
    EXPECT_FALSE(box->isChecked());
    for (const char* key : {"o0", "o1", "o2"}) EXPECT_EQ(node(key), Qt::Checked) << key;
    for (int i = 0; i < 3; ++i) EXPECT_NE(t.ctx.view.viewObjects[size_t(i)].shown, 0) << i;
}

}  // namespace
