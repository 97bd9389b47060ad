// Playback in the preview: the interpolators built from the key tracks, the timer with a fake clock, the
// Play buttons, Reset, "Only show objects with current animations" and "Show Gun Recoil".
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "../preview/PreviewFixtures.h"
#include "Fakes.h"
#include "MadFixtures.h"
#include "TempDir.h"
#include "animation/MadSteps.h"
#include "animation/Playback.h"
#include "animation/state/AnimationsPageState.h"
#include "objects/ObjectSelection.h"
#include "preview/PreviewCamera.h"

using namespace tarv;
using namespace tarv::test;

namespace {

// The rotation quaternion of Euler angles (radians) from the half-angle formulas, each part a 32-bit float.
Quaternion expectedQuaternion(double x, double y, double z) {
    const double cx = std::cos(x / 2), sx = std::sin(x / 2), cy = std::cos(y / 2), sy = std::sin(y / 2),
                 cz = std::cos(z / 2), sz = std::sin(z / 2);
    return {float(cx * cy * cz + sx * sy * sz), float(sx * cy * cz - cx * sy * sz), float(sx * sy * cz - cx * cy * sz),
            float(cx * sy * cz + sx * cy * sz)};
}

void expectQuaternion(const Quaternion& got, const Quaternion& want, const std::string& what) {
    EXPECT_NEAR(got.w, want.w, 1e-6) << what;
    EXPECT_NEAR(got.x, want.x, 1e-6) << what;
    EXPECT_NEAR(got.y, want.y, 1e-6) << what;
    EXPECT_NEAR(got.z, want.z, 1e-6) << what;
}

MadKeyframe key(float time, Vector3 position, Vector3 rotation) { return makeKey(time, 0, position, rotation); }

// A track from its keys, with the opening key at -1 and a closing key at 99 added.
MadObject track(const std::string& name, std::vector<MadKeyframe> keys) {
    MadObject t;
    t.name = name;
    t.keyframes.push_back(key(-1, {}, {}));
    for (const MadKeyframe& k : keys) t.keyframes.push_back(k);
    t.keyframes.push_back(key(99, {}, {}));
    return t;
}

// Three objects, "base", its child "gun" and "arm", posed by their matrices; two animations, "Open" from
// 0 to 2 s and "Close" from 10 to 12 s.
class PlaybackTest : public ::testing::Test {
protected:
    TempDir dir;
    TestContext t{dir.path()};
    CountingCanvas canvas;
    EditingContext& ctx = t.ctx;
    AnimationsPageState& page = *ctx.animationsPage;
    PlaybackState& play = ctx.preview.playback;

    void SetUp() override {
        ctx.currentModelPath = (dir / "ship.peo").string();
        ctx.view.canvas = &canvas;
        InitialiseComponents(ctx);
        ctx.model.peoObjects = {squarePeoObject("base"), squarePeoObject("gun"), squarePeoObject("arm")};
        ctx.model.peoObjects[1].mother = 1;
        ctx.model.peoObjects[1].matrix[3] = 5;
        ctx.model.peoObjects[1].matrix[11] = 7;
        buildScene(ctx);
        ctx.shell.treeHeirachy.addTopLevel("o0", "base");
        ctx.shell.treeHeirachy.addChild("o0", "o1", "gun");
        ctx.shell.treeHeirachy.addTopLevel("o2", "arm");
        connectAnimation(ctx);
        ctx.animation.madAnimations = {{"Open", 0, 2, 0}, {"Close", 10, 12, 0}};
    }
    ViewObject& view(int i) { return ctx.view.viewObjects[size_t(i)]; }
    void link(int object, int trackIndex) { ctx.model.peoObjects[size_t(object)].madObjectIndex = int16_t(trackIndex); }
    Quaternion orientationAt(int object, float index) {
        Quaternion q;
        scene::Interpolator::Sample sample;
        EXPECT_TRUE(view(object).interpolator->orientationAt(index, scene::kInterpolationLinear, q, sample));
        return q;
    }
    Vector3 positionAt(int object, float index) {
        Vector3 p;
        scene::Interpolator::Sample sample;
        EXPECT_TRUE(view(object).interpolator->positionAt(index, scene::kInterpolationLinear, p, sample));
        return p;
    }
    scene::Transform pose(int object) { return view(object).frame->localTransform(); }
    void playAnimation(int a) {
        page.lstAnimationsIndex = a;
        cmdPlayAnimation_Click(ctx);
    }
};

void expectSamePose(const scene::Transform& got, const scene::Transform& want, double tolerance = 1e-6) {
    for (size_t i = 0; i < 3; ++i)
        for (size_t j = 0; j < 3; ++j) EXPECT_NEAR(got.m[i][j], want.m[i][j], tolerance);
    EXPECT_NEAR(got.t.x, want.t.x, tolerance);
    EXPECT_NEAR(got.t.y, want.t.y, tolerance);
    EXPECT_NEAR(got.t.z, want.t.z, tolerance);
}

TEST_F(PlaybackTest, ARotationJumpOfPiOrMoreIsSplitIntoEqualSteps) {
    struct Case {
        const char* name;
        Vector3 jump;   // the rotation of the key at 1 s; the key before it at 0 s has none
        int splitAxis;  // -1 none
        int m;          // keys the jump becomes
    };
    const Case cases[] = {
        {"x by 4", {4, 0, 0}, 0, 3},
        {"x by -4", {-4, 0, 0}, 0, 3},
        {"x by 3.2", {3.2f, 0, 0}, 0, 3},
        {"x by 6.5", {6.5f, 0, 0}, 0, 5},
        {"below pi", {3.1415925f, 0, 0}, -1, 1},
        {"pi itself", {3.1415927f, 0, 0}, 0, 3},
        {"x and y", {4, 4, 0}, 0, 3},
        {"z only", {0, 0.5f, -3.5f}, 2, 3},
        {"none", {1, 2, 3}, -1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Vector3 position{1, 2, 3};
        ctx.animation.madObjects = {track("gun", {key(0, {}, {}), key(1, position, c.jump)})};
        link(1, 0);
        createInterpolators(ctx, 0, 0);
        ASSERT_TRUE(view(1).interpolator);
        EXPECT_EQ(view(1).interpolator->attachedObjects(), std::vector<scene::FramePtr>{view(1).frame});
        // The key at 0, the m keys of the jump and the hold key.
        EXPECT_EQ(view(1).interpolator->orientationKeyCount(), size_t(c.m + 2));
        EXPECT_EQ(view(1).interpolator->positionKeyCount(), size_t(c.m + 2));
        for (int i = 1; i <= c.m; ++i) {
            const float index = float(1.0 - (c.m - i) * (1.0 / c.m));
            Vector3 angles = c.jump;
            if (c.splitAxis >= 0) {
                float& a = c.splitAxis == 0 ? angles.x : c.splitAxis == 1 ? angles.y : angles.z;
                const double whole = c.splitAxis == 0 ? c.jump.x : c.splitAxis == 1 ? c.jump.y : c.jump.z;
                a = float(whole - (c.m - i) * (whole / c.m));
            }
            expectQuaternion(orientationAt(1, index), expectedQuaternion(angles.x, angles.y, angles.z),
                             "key " + std::to_string(i));
            EXPECT_EQ(positionAt(1, index), position);
        }
        EXPECT_EQ(play.playEndTime, 1.0f);
        EXPECT_TRUE(t.errors.reports.empty());
    }
}

TEST_F(PlaybackTest, TheLastPoseIsHeldTwoMoreSecondsAndIndicesCountFromTheWindowStart) {
    ctx.animation.madObjects = {track("gun", {key(0.5f, {}, {}), key(10.25f, {1, 1, 1}, {0.1f, 0.2f, 0.3f}),
                                              key(11, {4, 5, 6}, {0.3f, 0.2f, 0.1f})})};
    link(1, 0);
    createInterpolators(ctx, 0, 1);
    EXPECT_EQ(view(1).interpolator->orientationKeyCount(), 3u);  // 0.25, 1 and the hold at 3
    EXPECT_EQ(positionAt(1, 3.0f), (Vector3{4, 5, 6}));
    expectQuaternion(orientationAt(1, 3.0f), expectedQuaternion(0.3f, 0.2f, 0.1f), "hold");
    EXPECT_EQ(positionAt(1, 0.25f), (Vector3{1, 1, 1}));
    EXPECT_EQ(play.playEndTime, 1.0f);
}

TEST_F(PlaybackTest, AJumpIntoTheWindowFromThePreviousAnimationPutsKeysBeforeItsStart) {
    ctx.animation.madObjects = {
        track("gun", {key(0.5f, {}, {}), key(10, {2, 0, 0}, {4, 0, 0}), key(11, {2, 0, 0}, {4, 0, 0})})};
    link(1, 0);
    createInterpolators(ctx, 0, 1);
    EXPECT_EQ(view(1).interpolator->orientationKeyCount(), 5u);
    const double stepT = 9.5 / 3;
    expectQuaternion(orientationAt(1, float(-2 * stepT)), expectedQuaternion(4.0 / 3, 0, 0), "first");
    expectQuaternion(orientationAt(1, float(-stepT)), expectedQuaternion(8.0 / 3, 0, 0), "second");
    EXPECT_EQ(positionAt(1, float(-2 * stepT)), (Vector3{2, 0, 0}));
}

TEST_F(PlaybackTest, TracksThatBuildNothing) {
    play.playEndTime = 7;
    struct Case {
        const char* name;
        MadObject track;
        bool linked;
    };
    const Case cases[] = {
        {"no keys in the window", track("gun", {key(5, {}, {})}), true},
        {"no object linked", track("gun", {key(0.5f, {}, {}), key(1, {}, {})}), false},
        // Counted (rounded to the thousandth) but not found by the exact end search.
        {"end before start", track("gun", {key(2.0004f, {}, {})}), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ctx.animation.madObjects = {c.track};
        link(1, c.linked ? 0 : -1);
        createInterpolators(ctx, 0, 0);
        EXPECT_FALSE(view(1).interpolator);
        EXPECT_EQ(play.playEndTime, 7.0f);
    }
    EXPECT_TRUE(t.errors.reports.empty());
}

TEST_F(PlaybackTest, AWindowHoldingOnlyTheOpeningKeyIsReportedNotReadOutOfRange) {
    ctx.animation.madAnimations.push_back({"Before", -1.5f, -0.5f, 0});
    ctx.animation.madObjects = {track("gun", {key(0.5f, {}, {})})};
    link(1, 0);
    createInterpolators(ctx, 0, 2);
    ASSERT_EQ(t.errors.reports.size(), 1u);
    EXPECT_EQ(t.errors.reports[0].module, "modMad");
    EXPECT_EQ(t.errors.reports[0].procedure, "createInterpolators");
    EXPECT_EQ(t.errors.reports[0].arguments, "0|2");
}

TEST_F(PlaybackTest, TheEndComesFromTheHighestNumberedTrackWithKeys) {
    ctx.animation.madObjects = {track("base", {key(0, {}, {}), key(1.5f, {3, 0, 0}, {})}),
                                track("gun", {key(0, {}, {}), key(0.5f, {}, {})}),
                                track("arm", {key(0, {}, {}), key(1, {}, {})}), track("none", {key(12, {}, {})})};
    link(0, 0);
    link(1, 1);
    link(2, 2);
    playAnimation(0);
    EXPECT_EQ(play.playEndTime, 1.0f);
    EXPECT_EQ(page.cmdPlayAnimationCaption, "Stop");
    // The first track is cut short: the tick after 1 s stops with "base" where it stood.
    t.clock.advance(0.9);
    Timer1_Timer(ctx);
    const float x = pose(0).t.x;
    EXPECT_NEAR(x, 3 * 0.9 / 1.5, 1e-5);
    t.clock.advance(0.2);
    Timer1_Timer(ctx);
    EXPECT_EQ(page.cmdPlayAnimationCaption, "Play");
    EXPECT_EQ(play.isPlaying, 0);
    EXPECT_EQ(pose(0).t.x, x);
}

TEST_F(PlaybackTest, TheTimerPosesBetweenKeysLinearly) {
    ctx.animation.madObjects = {track("gun", {key(0, {0, 0, 0}, {0, 0, 0}), key(1, {2, 4, 0}, {0, 0, 5.0f})})};
    link(1, 0);
    playAnimation(0);
    // 5 rad about z is split into 4 keys of 1.25 rad at 0.25 s steps, each with the key's position, so
    // 0.125 s lies halfway to the first of them.
    t.clock.advance(0.125);
    Timer1_Timer(ctx);
    scene::Transform want = scene::quaternionMatrix(expectedQuaternion(0, 0, 0.625));
    want.t = {1, 2, 0};
    expectSamePose(pose(1), want);
    t.clock.advance(0.5);
    Timer1_Timer(ctx);
    want = scene::quaternionMatrix(expectedQuaternion(0, 0, 3.125));
    want.t = {2, 4, 0};
    expectSamePose(pose(1), want);
}

TEST_F(PlaybackTest, TheSamePosesAtTheSameElapsedTimesLateOnTheClock) {
    ctx.animation.madObjects = {track("gun", {key(0, {0, 0, 0}, {0, 0, 0}), key(1, {2, 4, 0}, {0.3f, 0, 1})})};
    link(1, 0);
    std::vector<scene::Transform> poses[2];
    const double starts[2] = {0, 100000};
    for (int run = 0; run < 2; ++run) {
        t.clock.now = starts[run];
        page.cmdPlayAnimationCaption = "Play";
        playAnimation(0);
        for (double el : {0.001, 0.1234, 0.5, 0.777}) {
            t.clock.now = starts[run] + el;
            Timer1_Timer(ctx);
            poses[run].push_back(pose(1));
        }
    }
    for (size_t i = 0; i < poses[0].size(); ++i) expectSamePose(poses[1][i], poses[0][i], 1e-6);
    EXPECT_NEAR(poses[1][1].t.x, 2 * 0.1234, 1e-6);
}

TEST_F(PlaybackTest, ANonLoopingAnimationStopsItselfWithoutDrawingThatTick) {
    ctx.animation.madObjects = {track("gun", {key(0, {}, {}), key(1, {2, 0, 0}, {})})};
    link(1, 0);
    playAnimation(0);
    t.clock.advance(0.5);
    Timer1_Timer(ctx);
    const scene::Transform held = pose(1);
    view(2).frame->setPosition(view(2).frame->getParent(), 9, 9, 9);  // something to draw
    canvas.renders = 0;
    t.clock.advance(0.6);
    Timer1_Timer(ctx);
    EXPECT_EQ(canvas.renders, 0);
    EXPECT_EQ(play.isPlaying, 0);
    EXPECT_EQ(play.playAnimation, -1);
    EXPECT_EQ(play.playStartTime, 0);
    EXPECT_EQ(page.cmdPlayAnimationCaption, "Play");
    expectSamePose(pose(1), held, 0);
    Timer1_Timer(ctx);
    EXPECT_EQ(canvas.renders, 1);  // the next tick draws the pending change
}

TEST_F(PlaybackTest, ALoopingAnimationHoldsItsLastPoseUntilStop) {
    ctx.animation.madAnimations[0].loop = 1;
    ctx.animation.madObjects = {track("gun", {key(0, {}, {}), key(1, {2, 0, 0}, {})})};
    link(1, 0);
    playAnimation(0);
    t.clock.advance(0.9);
    Timer1_Timer(ctx);
    const scene::Transform held = pose(1);
    for (double step : {0.2, 1.0, 30.0}) {
        t.clock.advance(step);
        Timer1_Timer(ctx);
        expectSamePose(pose(1), held, 0);
        EXPECT_EQ(play.isPlaying, 1);
        EXPECT_EQ(page.cmdPlayAnimationCaption, "Stop");
    }
    cmdPlayAnimation_Click(ctx);
    EXPECT_EQ(play.isPlaying, 0);
    EXPECT_EQ(page.cmdPlayAnimationCaption, "Play");
}

TEST_F(PlaybackTest, TheSpinTakesOverAndTheAnimationsButtonStopsIt) {
    ctx.animation.madObjects = {track("gun", {key(0, {}, {}), key(1, {2, 0, 0}, {})})};
    link(1, 0);
    playAnimation(0);
    ctx.objects.selectedObject = 0;
    mnu3dPreviewSpin_Click(ctx);
    EXPECT_EQ(play.playObject, -2);
    EXPECT_EQ(page.cmdPlayAnimationCaption, "Stop");
    const scene::Transform gun = pose(1);
    t.clock.advance(0.5);
    Timer1_Timer(ctx);
    expectSamePose(pose(1), gun, 0);                    // the track no longer plays
    EXPECT_GT(std::fabs(pose(0).m[1][1] - 1.0), 1e-3);  // the spin turned the base
    cmdPlayAnimation_Click(ctx);
    EXPECT_EQ(play.isPlaying, 0);
    EXPECT_EQ(page.cmdPlayAnimationCaption, "Play");
    const scene::Transform base = pose(0);
    t.clock.advance(0.5);
    Timer1_Timer(ctx);
    expectSamePose(pose(0), base, 0);
}

TEST_F(PlaybackTest, AKeyRemovedWhilePlayingTakesEffectOnTheNextTick) {
    ctx.animation.madObjects = {track("gun", {key(0, {}, {}), key(1, {2, 0, 0}, {})})};
    link(1, 0);
    playAnimation(0);
    t.clock.advance(0.25);
    Timer1_Timer(ctx);
    const scene::Transform before = pose(1);
    auto& keys = ctx.animation.madObjects[0].keyframes;
    keys.erase(keys.begin() + 2);  // one key left in the window: the track is no longer driven
    t.clock.advance(0.25);
    Timer1_Timer(ctx);
    expectSamePose(pose(1), before, 0);
}

TEST_F(PlaybackTest, AOneKeyTrackIsBuiltButNotDriven) {
    ctx.animation.madObjects = {track("gun", {key(0.5f, {8, 8, 8}, {})})};
    link(1, 0);
    playAnimation(0);
    ASSERT_TRUE(view(1).interpolator);
    EXPECT_EQ(view(1).interpolator->attachedObjects().size(), 1u);
    const scene::Transform rest = pose(1);
    t.clock.advance(0.25);
    Timer1_Timer(ctx);
    EXPECT_EQ(play.isPlaying, 1);
    expectSamePose(pose(1), rest, 0);
}

TEST_F(PlaybackTest, PlayButtonsThatPlayNothing) {
    ctx.animation.madObjects = {track("gun", {key(0.5f, {}, {}), key(1, {}, {})})};
    link(1, 0);
    // No selection.
    cmdPlayAnimation_Click(ctx);
    cmdObjectPlay_Click(ctx);
    // A window with no keys.
    ctx.animation.madAnimations.push_back({"Empty", 50, 60, 0});
    playAnimation(2);
    // The object play for an object without a track, and with none selected.
    page.cmbObjAnimsIndex = 0;
    ctx.objects.selectedObject = 2;
    cmdObjectPlay_Click(ctx);
    ctx.objects.selectedObject = -1;
    cmdObjectPlay_Click(ctx);
    EXPECT_EQ(play.isPlaying, 0);
    EXPECT_EQ(page.cmdPlayAnimationCaption, "Play");
    EXPECT_EQ(page.cmdObjectPlayCaption, "Play");
    EXPECT_FALSE(view(1).interpolator);
    EXPECT_TRUE(t.errors.reports.empty());
}

TEST_F(PlaybackTest, TheObjectPlayWithNoKeyInTheWindowEndsOnTheFirstTick) {
    ctx.animation.madObjects = {track("gun", {key(5, {}, {})})};
    link(1, 0);
    page.cmbObjAnimsIndex = 0;
    ctx.objects.selectedObject = 1;
    cmdObjectPlay_Click(ctx);
    EXPECT_EQ(page.cmdObjectPlayCaption, "Stop");
    EXPECT_EQ(play.playObject, 0);
    EXPECT_EQ(play.playAnimation, 0);
    t.clock.advance(0.01);
    Timer1_Timer(ctx);
    EXPECT_EQ(page.cmdObjectPlayCaption, "Play");
    EXPECT_EQ(play.isPlaying, 0);
}

TEST_F(PlaybackTest, TheObjectPlayDrivesOnlyItsTrackAndReplacesTheAnimationsPlayback) {
    ctx.animation.madObjects = {track("base", {key(0, {}, {}), key(1, {3, 0, 0}, {})}),
                                track("gun", {key(0, {}, {}), key(1, {2, 0, 0}, {})})};
    link(0, 0);
    link(1, 1);
    playAnimation(0);
    page.cmbObjAnimsIndex = 0;
    ctx.objects.selectedObject = 1;
    cmdObjectPlay_Click(ctx);
    EXPECT_EQ(page.cmdPlayAnimationCaption, "Stop");  // left as it was
    EXPECT_EQ(page.cmdObjectPlayCaption, "Stop");
    const scene::Transform base = pose(0);
    t.clock.advance(0.5);
    Timer1_Timer(ctx);
    EXPECT_NEAR(pose(1).t.x, 1.0, 1e-6);
    expectSamePose(pose(0), base, 0);
    cmdObjectPlay_Click(ctx);
    EXPECT_EQ(play.isPlaying, 0);
    EXPECT_EQ(page.cmdObjectPlayCaption, "Play");
}

TEST_F(PlaybackTest, ResetPutsObjectsAtRestAndPlaybackGoesOn) {
    ctx.animation.madObjects = {track("gun", {key(0, {}, {}), key(1, {2, 0, 0}, {})})};
    link(1, 0);
    const scene::Transform rest = pose(1);
    playAnimation(0);
    t.clock.advance(0.5);
    Timer1_Timer(ctx);
    cmdResetAllObjects_Click(ctx);
    expectSamePose(pose(1), rest, 1e-6);
    EXPECT_EQ(play.isPlaying, 1);
    t.clock.advance(0.25);
    Timer1_Timer(ctx);
    EXPECT_NEAR(pose(1).t.x, 1.5, 1e-6);
}

TEST_F(PlaybackTest, OnlyShowObjectsWithCurrentAnimations) {
    // base: a track, unchecked; gun: no track, checked; arm: no track, unchecked.
    ctx.animation.madObjects = {track("base", {key(0.5f, {}, {})})};
    link(0, 0);
    hideObject(ctx, 0);
    showObject(ctx, 1);
    hideObject(ctx, 2);
    auto checked = [&](const char* k) {
        return ctx.shell.treeHeirachy.nodeAt(ctx.shell.treeHeirachy.indexOf(k)).checked;
    };
    chkObjectsShowAnims_Click(ctx, true);
    EXPECT_TRUE(checked("o0"));
    EXPECT_FALSE(checked("o1"));
    EXPECT_FALSE(checked("o2"));
    EXPECT_EQ(view(0).shown, -1);
    EXPECT_EQ(view(1).shown, 0);
    EXPECT_EQ(view(2).shown, 0);
    chkObjectsShowAnims_Click(ctx, false);
    for (const char* k : {"o0", "o1", "o2"}) EXPECT_TRUE(checked(k)) << k;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(view(i).shown, -1) << i;
    EXPECT_TRUE(t.errors.reports.empty());
}

TEST_F(PlaybackTest, GunRecoilMovesTheJointBackAndFindsNoGunAtRest) {
    ctx.shp.shpGuns = {ShpGun{}, ShpGun{}, ShpGun{}};
    ctx.shp.shpGuns[0].recoilJoint = "Gun";  // not the same name: the comparison is exact
    ctx.shp.shpGuns[0].recoilLength = 1;
    ctx.shp.shpGuns[1].recoilJoint = "gun";
    ctx.shp.shpGuns[1].recoilLength = 5;
    ctx.shp.shpGunCount = 2;
    ctx.objects.selectedObject = 1;
    chkShowRecoil_Click(ctx, true);
    EXPECT_NEAR(pose(1).t.z, 7 - 5, 1e-6);
    EXPECT_NEAR(pose(1).t.x, 5, 1e-6);
    chkShowRecoil_Click(ctx, false);
    EXPECT_NEAR(pose(1).t.z, 7, 1e-6);
    // The joint renamed on the gun panel: no gun, the object stays at rest even while ticked.
    ctx.shp.shpGuns[1].recoilJoint = "barrel";
    chkShowRecoil_Click(ctx, true);
    EXPECT_NEAR(pose(1).t.z, 7, 1e-6);
    EXPECT_TRUE(t.errors.reports.empty());
}

TEST_F(PlaybackTest, StopPlaybackStopsEverythingAndKeepsThePose) {
    ctx.animation.madObjects = {track("gun", {key(0, {}, {}), key(1, {2, 0, 0}, {})})};
    link(1, 0);
    playAnimation(0);
    page.cmdObjectPlayCaption = "Stop";
    ctx.preview.ownControls.mnu3dPreviewSpin = "Stop Spin";
    t.clock.advance(0.5);
    Timer1_Timer(ctx);
    const scene::Transform posed = pose(1);
    stopPlayback(ctx);
    EXPECT_EQ(play.isPlaying, 0);
    EXPECT_EQ(play.playObject, -1);
    EXPECT_EQ(play.playAnimation, -1);
    EXPECT_EQ(play.playStartTime, 0);
    EXPECT_EQ(page.cmdPlayAnimationCaption, "Play");
    EXPECT_EQ(page.cmdObjectPlayCaption, "Play");
    EXPECT_EQ(ctx.preview.ownControls.mnu3dPreviewSpin, "Spin Object");
    expectSamePose(pose(1), posed, 0);
}

}  // namespace
