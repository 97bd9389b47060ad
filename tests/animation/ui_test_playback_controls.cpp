// The playback controls in the main window: their places and captions, the Play button following the
// playback state, also when the timer stops an animation at its end, and the two check boxes.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSlider>
#include <QPushButton>
#include <QTabWidget>

#include <QTest>

#include "../model/PeoFixture.h"
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

// The ship "ship.shp" in shipFolder (no ship.mex): its .lod names ship.peo (the objects base, gun a child of base standing
// at z 7, and arm), and ship.mad holds the animations and tracks; gun 0 recoils 5 on the joint "gun".
void openAnimatedShip(WindowFixture& f, const std::vector<MadAnimation>& animations,
                      const std::vector<MadObject>& tracks) {
    FxFile peo;
    peo.publicMaterials = {FxMaterial{}};
    for (const char* name : {"base", "gun", "arm"}) peo.objects.push_back(squareObject(name));
    peo.objects[1].mother = 68;  // base's record
    peo.objects[1].fileMatrix[14] = 7;
    f.openShipDefinition(
        "NUMBER_OF_GUNS\t1\r\nGUN\t0\r\nType\tGUN_NewGimble\r\nRecoilLength\t5\r\n"
        "BindGun\tgun\tGUN0,Recoil\r\n",
        buildPeo(peo).data(), {{"ship.mad", madFile(animations, tracks).data()}});
    EXPECT_TRUE(f.t.errors.reports.empty()) << f.t.errors.reports.front().detail;
}

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
    openAnimatedShip(
        *this, {{"Open", 0, 2, 0}},
        {MadObject{"gun", 1, {makeKey(-1, 0, {}, {}), makeKey(0.5f, 0, {}, {}), makeKey(1.5f, 0, {}, {})}}});
    clickTab(window.SSTab1, window.pageAnimations);
    auto* play = find<QPushButton>("cmdPlayAnimation");
    auto* list = find<QListWidget>("lstAnimations");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    clickOn(play);
    EXPECT_EQ(play->text(), "Stop");
    EXPECT_EQ(ctx.preview.playback.isPlaying, 1);

    t.clock.advance(2.5);  // past the animation's end
    QTest::qWait(20);      // the window's frame timer ticks
    EXPECT_EQ(play->text(), "Play");
    EXPECT_EQ(ctx.preview.playback.isPlaying, 0);

    clickOn(play);
    EXPECT_EQ(play->text(), "Stop");
    clickOn(play);
    EXPECT_EQ(play->text(), "Play");
    EXPECT_EQ(ctx.preview.playback.isPlaying, 0);
}

// A ship of three objects in the window: "base" with its child "gun" (the recoil joint of the one gun, recoil
// length 5, moved to z 7 by its matrix) and "arm"; only "gun" has a track.
struct PlaybackCheckBoxesTest : WindowFixture, ::testing::Test {
    void SetUp() override { openAnimatedShip(*this, {{"Open", 0, 2, 0}}, {makeTrack("gun", {0.5f})}); }
    double frameZ(int object) { return t.ctx.view.viewObjects[size_t(object)].frame->localTransform().t.z; }
    Qt::CheckState node(const char* key) { return window.treeHeirachy->itemForKey(key)->checkState(0); }
};

TEST_F(PlaybackCheckBoxesTest, ShowGunRecoilMovesTheSelectedJointBackWhileTicked) {
    auto* recoil = find<QCheckBox>("chkShowRecoil");
    EXPECT_FALSE(recoil->isEnabled()) << "no object is selected";
    clickObjectNode(window, "o1");
    ASSERT_EQ(t.ctx.objects.selectedObject, 1);
    ASSERT_TRUE(recoil->isEnabled()) << "the selected object is a recoil joint";
    clickTab(window.pageObjects->SSTab2, window.pageObjects->pageMatrix);
    EXPECT_NEAR(frameZ(1), 7, 1e-6);
    clickOn(recoil);
    EXPECT_TRUE(recoil->isChecked());
    EXPECT_NEAR(frameZ(1), 2, 1e-6);
    clickOn(recoil);
    EXPECT_FALSE(recoil->isChecked());
    EXPECT_NEAR(frameZ(1), 7, 1e-6);
}

TEST_F(PlaybackCheckBoxesTest, OnlyShowObjectsWithCurrentAnimationsHidesTheOthersAndClearedShowsAll) {
    auto* box = find<QCheckBox>("chkObjectsShowAnims");
    for (const char* key : {"o0", "o1", "o2"}) ASSERT_EQ(node(key), Qt::Checked) << key;
    clickTab(window.SSTab1, window.pageObjects);
    clickOn(box);
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(node("o0"), Qt::Unchecked);
    EXPECT_EQ(node("o1"), Qt::Checked);
    EXPECT_EQ(node("o2"), Qt::Unchecked);
    EXPECT_EQ(t.ctx.view.viewObjects[0].shown, 0);
    EXPECT_NE(t.ctx.view.viewObjects[1].shown, 0);
    clickOn(box);
    EXPECT_FALSE(box->isChecked());
    for (const char* key : {"o0", "o1", "o2"}) EXPECT_EQ(node(key), Qt::Checked) << key;
    for (int i = 0; i < 3; ++i) EXPECT_NE(t.ctx.view.viewObjects[size_t(i)].shown, 0) << i;
}

}  // namespace

namespace {

// The Animations page and the Keyframes tab on the ship of the check box tests, with a second animation.
struct AnimationPagesTest : PlaybackCheckBoxesTest {};

TEST_F(AnimationPagesTest, TheAnimationsPageListsShowsAndAddsAnimations) {
    EditingContext& ctx = t.ctx;
    for (const auto& [name, caption] : std::vector<std::pair<const char*, const char*>>{
             {"cmdAnimNew", "Add"}, {"cmdCloneAnimation", "Clone"}, {"cmdAnimDelete", "Delete"},
             {"cmdAnimApply", "Apply"}, {"cmdLoadMADfile", "Attach existing MAD file animation to this ship"}})
        EXPECT_EQ(find<QPushButton>(name)->text(), caption) << name;
    EXPECT_EQ(find<QGroupBox>("fraAnimationList")->title(), "Animation List");
    EXPECT_EQ(find<QPushButton>("cmdAnimNew")->parentWidget()->objectName(), "fraAnimationOptions");
    auto* list = find<QListWidget>("lstAnimations");
    ASSERT_EQ(list->count(), 1);
    clickTab(window.SSTab1, window.pageAnimations);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    EXPECT_EQ(find<QLineEdit>("txtAnimName")->text(), "Open");
    EXPECT_EQ(find<QLineEdit>("endTime")->text(), "2");
    clickOn(find<QPushButton>("cmdAnimNew"));
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_EQ(find<QLineEdit>("txtAnimName")->text(), "Animation_#2");
    EXPECT_EQ(find<QComboBox>("cmbObjAnims")->count(), 2);

    // A name typed and applied shows in both lists.
    auto* name = find<QLineEdit>("txtAnimName");
    name->setFocus();
    name->selectAll();
    QTest::keyClicks(name, "Fire");
    clickOn(find<QPushButton>("cmdAnimApply"));
    EXPECT_EQ(ctx.animation.madAnimations[1].name, "Fire");
    EXPECT_EQ(list->item(1)->text(), "Fire");
    EXPECT_EQ(find<QComboBox>("cmbObjAnims")->itemText(1), "Fire");
}

// The ship of the check box tests, with a second animation "Close" [3, 5] and three keys for gun.
struct KeyframesTabTest : WindowFixture, ::testing::Test {
    void SetUp() override {
        MadObject gun = makeTrack("gun", {0.5f, 1.5f, 4});
        gun.keyframes[2].position = {9, 8, 7};
        gun.keyframes.back().time = 9;  // after every window
        openAnimatedShip(*this, {{"Open", 0, 2, 0}, {"Close", 3, 5, 0}}, {gun});
    }
};

TEST_F(KeyframesTabTest, TheKeyframesTabFollowsTheSelectionTheComboAndTheSlider) {
    clickObjectNode(window, "o1");
    EXPECT_EQ(find<QGroupBox>("frmKeyframeInfo")->title(), "Keyframe Information: 2 found");
    auto* slider = find<QSlider>("sldObjKeyf");
    EXPECT_TRUE(slider->isEnabled());
    EXPECT_FALSE(slider->isHidden());
    EXPECT_EQ(find<QLineEdit>("txtKeyVal_0")->text(), "0.5");
    EXPECT_EQ(find<QLabel>("lblkeyfdebug")->text(), "1 of 2");
    clickTab(window.pageObjects->SSTab2, window.pageObjects->SSTab2->widget(2));
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Right);  // the next key
    ASSERT_EQ(slider->value(), 2);
    EXPECT_EQ(find<QLineEdit>("txtKeyVal_0")->text(), "1.5");
    EXPECT_EQ(find<QLineEdit>("txtKeyVal_1")->text(), "9");
    EXPECT_NEAR(t.ctx.view.viewObjects[1].frame->localTransform().t.x, 9, 1e-6) << "the key poses the object";

    auto* combo = find<QComboBox>("cmbObjAnims");
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);  // the next animation, chosen by the keyboard
    ASSERT_EQ(combo->currentIndex(), 1);
    EXPECT_EQ(find<QGroupBox>("frmKeyframeInfo")->title(), "Keyframe Information: 1 found");
    EXPECT_FALSE(slider->isEnabled());
    EXPECT_EQ(find<QLineEdit>("txtKeyVal_0")->text(), "4");

    clickObjectNode(window, "o2");  // "arm" has no track
    EXPECT_EQ(find<QGroupBox>("frmKeyframeInfo")->title(), "No keyframes defined for this object");
    EXPECT_TRUE(slider->isHidden());
    EXPECT_TRUE(find<QLineEdit>("txtKeyVal_4")->isHidden());
    EXPECT_FALSE(find<QPushButton>("cmdKeyDelete")->isEnabled());
    EXPECT_FALSE(find<QPushButton>("cmdKeyInsert")->isHidden());
}

}  // namespace

namespace {

TEST_F(AnimationPagesTest, TheImportMenuAndTheDumpButtonsReachTheirCommands) {
    EditingContext& ctx = t.ctx;
    EXPECT_EQ(find<QPushButton>("cmdDumpAllKeyframes")->text(), "Dump All keyframes");
    EXPECT_EQ(find<QPushButton>("cmdDumpKeyframes")->text(), "Dump keyframes");
    clickTab(window.SSTab1, window.pageAnimations);
    clickOn(find<QPushButton>("cmdDumpAllKeyframes"));
    ASSERT_EQ(t.textViewer.opened.size(), 1u);
    EXPECT_EQ(t.textViewer.opened[0], (dir / "keyframes.tmp").string());

    const auto path = dir / "seq.smd";
    writeText(path, "version 1\nnodes\n0 \"root\" -1\n1 \"gun\" 0\nend\nskeleton\ntime 0\n0 0 0 0 0 0 0\n"
                    "1 1 2 3 0 0 0\ntime 2\n0 0 0 0 0 0 0\n1 1 2 3 0 0 0\nend\n");
    t.prompts.expectOpen(FileDialogChoice{path.string(), 1}).expectYesNo(false);
    window.mnuImportFromSMD->trigger();
    EXPECT_EQ(t.prompts.pending(), 0u);
    auto* list = find<QListWidget>("lstAnimations");
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), "Animation_#1");
    EXPECT_EQ(find<QLineEdit>("endTime")->text(), "2");
    EXPECT_EQ(ctx.model.peoObjects[1].madObjectIndex, 0);
}

}  // namespace
