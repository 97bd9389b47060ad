// The Keyframes tab: finding the selected object's keys in the window, showing and posing a key, the apply
// modes, inserting, deleting and spreading keys, copying a track and resetting the frame.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "../objects/ObjectFixtures.h"
#include "AnimationPageFixture.h"
#include "Fakes.h"
#include "MadFixtures.h"
#include "TempDir.h"
#include "animation/AnimationList.h"
#include "animation/KeyframePanel.h"
#include "animation/MadSteps.h"
#include "animation/state/AnimationsPageState.h"
#include "objects/ObjectSelection.h"
#include "objects/ObjectTree.h"

using namespace tarv;
using namespace tarv::test;

namespace {

double degToRadForTest(double degrees) { return degrees / 180 * M_PI; }

// Objects "base", "gun" (at 4, 5, 6 by its matrix) and "arm"; animations [0, 2], [3, 5] and [6, 8].
class KeyframePanelTest : public AnimationPageFixture {
protected:
    void SetUp() override {
        makeObjects(ctx, {{"base", 0}, {"gun", 1}, {"arm", 0}});
        Matrix4& m = ctx.model.peoObjects[1].matrix;
        m[3] = 4;
        m[7] = 5;
        m[11] = 6;
        ctx.view.viewObjects[1].matrix = m;
        createObjectTree(ctx);
        connectAnimation(ctx);
        ctx.animation.madAnimations = {{"A", 0, 2, 0}, {"B", 3, 5, 0}, {"C", 6, 8, 0}};
    }
    // Selects the object as a click in the tree does and shows animation a.
    void show(int object, int a) {
        ctx.objects.selectedObject = int16_t(object);
        page.cmbObjAnimsIndex = a;
        cmbObjAnims_Click(ctx);
    }
    scene::Transform pose(int object) { return ctx.view.viewObjects[size_t(object)].frame->localTransform(); }
};

TEST_F(KeyframePanelTest, AnObjectWithoutATrackHidesTheKeyControls) {
    page.keyControlsShown = true;
    treeHeirachy_NodeClick(ctx, "o1");
    EXPECT_FALSE(page.keyControlsShown);
    EXPECT_EQ(page.frmKeyframeInfo, "No keyframes defined for this object");
    EXPECT_TRUE(page.lblkeyfdebug.empty());
    page.cmbObjAnimsIndex = 0;
    cmdKeyInsert_Click(ctx);
    EXPECT_EQ(ctx.model.peoObjects[1].madObjectIndex, 0) << "Insert stays usable";
}

TEST_F(KeyframePanelTest, TheSliderRunsOverTheKeysInTheWindowBoundsIncluded) {
    struct Case {
        const char* name;
        std::vector<float> keys;
        int animation;
        const char* caption;
        KeySlider slider;
    };
    const Case cases[] = {
        {"one key", {1.5f}, 0, "Keyframe Information: 1 found", {0, 1, 1, false}},
        {"keys on both bounds", {0, 1, 2, 4}, 0, "Keyframe Information: 3 found", {1, 3, 1, true}},
        {"a later window", {1, 3, 5, 7}, 1, "Keyframe Information: 2 found", {2, 3, 2, true}},
        {"no key in the window", {1}, 2, "No keyframes defined for this object", {}},
    };
    for (const Case& c : cases) {
        ctx.animation.madObjects = {makeTrack("gun", c.keys)};
        link(1, 0);
        page.sldObjKeyf = {};
        show(1, c.animation);
        EXPECT_EQ(page.frmKeyframeInfo, c.caption) << c.name;
        EXPECT_EQ(page.sldObjKeyf, c.slider) << c.name;
        EXPECT_EQ(page.keyControlsShown, c.slider.maximum != 1 || c.slider.value != 0) << c.name;
    }
    EXPECT_EQ(page.chkKeyfUse, (std::array<bool, 9>{true, true, true, true, true, true, true, true, true}));
}

TEST_F(KeyframePanelTest, AKeyShowsInTheBoxesInDegreesAndPosesTheFrame) {
    MadObject gun = makeTrack("gun", {1.5f});
    gun.keyframes[1].rotation = {float(M_PI / 2), float(M_PI / 4), float(-M_PI)};
    ctx.animation.madObjects = {gun};
    link(1, 0);
    show(1, 0);
    const std::array<std::string, 10> want = {"1.5", "1", "2", "3", "90", "-180", "45", "0.25", "-0.25", "0.125"};
    EXPECT_EQ(page.txtKeyVal, want);
    EXPECT_EQ(page.lblkeyfdebug, "1 of 1");
    EXPECT_NEAR(pose(1).t.x, 1, 1e-6);
    EXPECT_NEAR(pose(1).t.z, 3, 1e-6);
    EXPECT_EQ(ctx.model.peoObjects[1].matrix[3], 4) << "the model's matrix stays";
    cmdResetPeoObjectPosition_Click(ctx);
    EXPECT_NEAR(pose(1).t.x, 4, 1e-6);
}

TEST_F(KeyframePanelTest, ApplyModesFollowTheTicks) {
    // Boxes: time 0.75, position (7, 8, 9), rotation x 90, z 180 (box 5), y 45 (box 6), TCB 1, 2, 3.
    const std::array<std::string, 10> boxes = {"0.75", "7", "8", "9", "90", "180", "45", "1", "2", "3"};
    MadKeyframe typed;
    typed.time = 0.75f;
    typed.position = {7, 8, 9};
    typed.rotation = {float(degToRadForTest(90)), float(degToRadForTest(45)), float(degToRadForTest(180))};
    typed.tension = 1;
    typed.continuity = 2;
    typed.bias = 3;
    struct Case {
        const char* name;
        int mode;
        std::array<bool, 9> use;  // X Y Z Position Rotation Bias Cont. Tens. Time
    };
    const Case cases[] = {
        {"mode 0 ignores the ticks", 0, {}},
        {"mode 1, x of the position only", 1, {true, false, false, true, false, false, false, false, false}},
        {"mode 2, position cleared", 2, {true, true, true, false, true, false, false, true, false}},
    };
    for (const Case& c : cases) {
        ctx.animation.madObjects = {makeTrack("gun", {0.5f, 1}), makeTrack("arm", {0.25f, 4})};
        link(1, 0);
        link(2, 1);
        show(1, 0);
        const MadObject before = track(0), other = track(1);
        const scene::Transform armPose = pose(2);
        page.txtKeyVal = boxes;
        page.chkKeyfUse = c.use;
        page.cmbApplyKeyframeType.listIndex = c.mode;
        cmdKeyfApply_Click(ctx);
        const auto& keys = track(0).keyframes;
        if (c.mode == 0) {
            EXPECT_EQ(keys[1].time, typed.time);
            EXPECT_EQ(keys[1].position, typed.position);
            EXPECT_NEAR(keys[1].rotation.y, typed.rotation.y, 1e-6);
            EXPECT_NEAR(keys[1].rotation.z, typed.rotation.z, 1e-6);
            EXPECT_EQ(keys[2], before.keyframes[2]);
            EXPECT_NEAR(pose(1).t.x, 7, 1e-6);
        } else if (c.mode == 1) {
            MadKeyframe want = before.keyframes[1];
            want.position.x = 7;
            EXPECT_EQ(keys[1], want);
            MadKeyframe wantArm = other.keyframes[1];
            wantArm.position.x = 7;
            EXPECT_EQ(track(1).keyframes[1], wantArm) << "the same index in every track";
            EXPECT_NEAR(pose(1).t.x, 1, 1e-6) << "mode 1 poses nothing";
        } else {
            for (int k : {1, 2}) {
                EXPECT_EQ(keys[size_t(k)].position, before.keyframes[size_t(k)].position) << k;
                EXPECT_NEAR(keys[size_t(k)].rotation.x, typed.rotation.x, 1e-6) << k;
                EXPECT_EQ(keys[size_t(k)].tension, 1) << k;
                EXPECT_EQ(keys[size_t(k)].continuity, before.keyframes[size_t(k)].continuity) << k;
                EXPECT_EQ(keys[size_t(k)].time, before.keyframes[size_t(k)].time) << k;
            }
            EXPECT_NEAR(pose(1).t.x, 7, 1e-6) << "the selected object is posed";
            EXPECT_NEAR(pose(2).t.x, armPose.t.x, 1e-6);
        }
    }
    page.txtKeyVal[3] = "9x";
    const auto keys = track(0).keyframes;
    t.prompts.expectMessage("Invalid numeric input. Please check and re-enter");
    cmdKeyfApply_Click(ctx);
    EXPECT_EQ(track(0).keyframes, keys);
}

TEST_F(KeyframePanelTest, InsertOnANewTrackLaysItOutAfresh) {
    show(1, 0);
    cmdKeyInsert_Click(ctx);
    ASSERT_EQ(ctx.model.peoObjects[1].madObjectIndex, 0);
    EXPECT_EQ(track(0).name, "gun");
    EXPECT_EQ(timesOf(track(0)), (std::vector<float>{-1, 0, 9999999.0f}));
    EXPECT_EQ(track(0).keyframes[1].position, (Vector3{4, 5, 6}));
    EXPECT_EQ(page.frmKeyframeInfo, "Keyframe Information: 1 found");
    EXPECT_EQ(page.txtKeyVal[0], "0");
}

TEST_F(KeyframePanelTest, InsertInALaterWindowGoesAfterTheEarlierKeys) {
    ctx.animation.madObjects = {makeTrack("gun", {0.5f, 1.5f})};
    track(0).keyframes.back().time = 9;  // after every window
    link(1, 0);
    show(1, 2);
    cmdKeyInsert_Click(ctx);
    EXPECT_TRUE(t.errors.reports.empty());
    EXPECT_EQ(timesOf(track(0)), (std::vector<float>{-1, 0.5f, 1.5f, 6, 9}));
    EXPECT_EQ(page.frmKeyframeInfo, "Keyframe Information: 1 found");
}

// The commands on the current key need a selected object with a track: without one (no selection after a
// reload or a delete, or "arm", which has none) they change nothing and raise nothing. Insert on an object
// without a track starts one, so only its no-selection case is here.
TEST_F(KeyframePanelTest, KeyCommandsWithoutAnObjectOrItsTrackDoNothing) {
    struct Case {
        const char* name;
        void (*command)(EditingContext&);
        int mode;  // of "Apply to:"
        int16_t object;
    };
    const Case cases[] = {
        {"Insert, no object", cmdKeyInsert_Click, 0, -1},
        {"Auto, no object", cmdAutoKeyfTime_Click, 0, -1},
        {"Auto, no track", cmdAutoKeyfTime_Click, 0, 2},
        {"Delete, no object", cmdKeyDelete_Click, 0, -1},
        {"Delete, no track", cmdKeyDelete_Click, 0, 2},
        {"Apply to the current key, no object", cmdKeyfApply_Click, 0, -1},
        {"Apply to the current key, no track", cmdKeyfApply_Click, 0, 2},
        {"Apply to the window, no object", cmdKeyfApply_Click, 2, -1},
        {"Apply to the window, no track", cmdKeyfApply_Click, 2, 2},
    };
    for (const Case& c : cases) {
        ctx.animation.madObjects = {makeTrack("base", {0.5f})};
        link(0, 0);
        show(c.object, 0);
        page.sldObjKeyf.value = 1;
        page.txtKeyVal = {"0.75", "7", "8", "9", "90", "180", "45", "1", "2", "3"};
        page.cmbApplyKeyframeType.listIndex = c.mode;
        const std::vector<MadObject> before = ctx.animation.madObjects;
        c.command(ctx);
        EXPECT_EQ(ctx.animation.madObjects, before) << c.name;
        EXPECT_EQ(timesOf(track(0)), (std::vector<float>{-1, 0.5f, 1.5f})) << c.name;
        EXPECT_EQ(ctx.model.peoObjects[2].madObjectIndex, -1) << c.name;
        EXPECT_TRUE(t.errors.reports.empty()) << c.name;
        EXPECT_TRUE(t.prompts.shown.empty()) << c.name;
    }
}

TEST_F(KeyframePanelTest, DeleteTakesTheCurrentKeyAndEmptiesATwoKeyTrack) {
    ctx.animation.madObjects = {makeTrack("gun", {0.5f, 1, 4})};
    link(1, 0);
    show(1, 0);
    page.sldObjKeyf.value = 2;
    cmdKeyDelete_Click(ctx);
    EXPECT_EQ(timesOf(track(0)), (std::vector<float>{-1, 0.5f, 4, 5}));
    EXPECT_EQ(page.frmKeyframeInfo, "Keyframe Information: 1 found");
    cmdKeyDelete_Click(ctx);
    EXPECT_EQ(timesOf(track(0)), (std::vector<float>{-1, 4, 5}));
    EXPECT_EQ(page.frmKeyframeInfo, "No keyframes defined for this object") << "the window's last key went";
    ctx.animation.madObjects = {makeTrack("gun", {})};
    cmdKeyDelete_Click(ctx);
    EXPECT_TRUE(track(0).keyframes.empty());
    EXPECT_EQ(track(0).name, "gun");
    EXPECT_EQ(ctx.model.peoObjects[1].madObjectIndex, 0);
}

TEST_F(KeyframePanelTest, AutoSpreadsTheCurrentKeyEvenly) {
    struct Case {
        const char* name;
        std::vector<float> keys;
        int animation;
        int current;  // the slider value
        float time;   // of the current key afterwards
    };
    const Case cases[] = {
        {"middle of three", {0, 0.25f, 1.5f}, 0, 2, 1.0f},
        {"last of three", {0, 0.25f, 1.5f}, 0, 3, 2.0f},
        {"one key, second animation", {3.5f, 6.5f}, 1, 1, 3.5f},
        {"one key, first animation starting at 0", {1.5f}, 0, 1, 1.5f},
        {"one key, third animation", {7.5f}, 2, 1, 7.5f},
        {"one key, stale slider", {7.5f}, 2, 2, 8.5f},
    };
    ctx.animation.madAnimations[0].startTime = 0;
    for (const Case& c : cases) {
        ctx.animation.madObjects = {makeTrack("gun", c.keys)};
        link(1, 0);
        show(1, c.animation);
        page.sldObjKeyf.value = c.current;
        cmdAutoKeyfTime_Click(ctx);
        EXPECT_EQ(track(0).keyframes[size_t(c.current)].time, c.time) << c.name;
        EXPECT_TRUE(t.errors.reports.empty()) << c.name;
    }
    // The first animation's start is added to its only key.
    ctx.animation.madAnimations[0] = {"A", 0.5f, 2, 0};
    ctx.animation.madObjects = {makeTrack("gun", {1.5f})};
    show(1, 0);
    cmdAutoKeyfTime_Click(ctx);
    EXPECT_EQ(track(0).keyframes[1].time, 2.0f);
    EXPECT_EQ(page.txtKeyVal[0], "2");
}

TEST_F(KeyframePanelTest, CopyAllKeysToTheChosenObject) {
    ctx.animation.madObjects = {makeTrack("gun", {0.5f, 1})};
    link(1, 0);
    show(1, 0);
    page.cmbObjectListIndex = 2;  // "arm"
    ASSERT_EQ(ctx.objects.cmbObjectList[2], "arm");
    cmdCopyToNext_Click(ctx);
    ASSERT_EQ(ctx.model.peoObjects[2].madObjectIndex, 1);
    EXPECT_EQ(track(1).name, "arm");
    EXPECT_EQ(track(1).keyframes, track(0).keyframes);

    const auto tracks = ctx.animation.madObjects;
    page.cmbObjectListIndex = 1;  // itself
    cmdCopyToNext_Click(ctx);
    EXPECT_EQ(ctx.animation.madObjects, tracks);

    ctx.objects.cmbObjectList[0] = "nobody";  // no object bears the name: object 0 keeps its state
    page.cmbObjectListIndex = 0;
    cmdCopyToNext_Click(ctx);
    EXPECT_EQ(ctx.animation.madObjects, tracks);
    EXPECT_EQ(ctx.model.peoObjects[0].madObjectIndex, -1);
}

TEST_F(KeyframePanelTest, TheSliderWithoutASelectedObjectAsksForOne) {
    ctx.objects.selectedObject = -1;
    t.prompts.expectMessage("Please select an object first.");
    sldObjKeyf_Scroll(ctx, 1);
    ctx.animation.madObjects = {makeTrack("gun", {0.5f, 1.5f})};
    link(1, 0);
    show(1, 0);
    sldObjKeyf_Scroll(ctx, 2);
    EXPECT_EQ(page.txtKeyVal[0], "1.5");
    EXPECT_EQ(page.lblkeyfdebug, "2 of 2");
}

}  // namespace
