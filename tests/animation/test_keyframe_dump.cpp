// The keyframe text dumps: their exact bytes, the file in the user's data folder, the viewer, and the file's
// removal by the next empty dump and at exit.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "../objects/ObjectFixtures.h"
#include "Fakes.h"
#include "MadFixtures.h"
#include "RoadHooks.h"
#include "TempDir.h"
#include "animation/KeyframeDump.h"
#include "animation/MadSteps.h"
#include "editor/StartupExit.h"

using namespace tarv;
using namespace tarv::test;

namespace {

// Objects "base", "gun" and "arm"; "gun" has keys at 0.5 and 2 (the window "Open" is [0, 2]) with the
// opening key at -1 and the closing key at 3.
class KeyframeDumpTest : public ::testing::Test {
protected:
    TempDir dir;
    TestContext t{dir / "data"};
    EditingContext& ctx = t.ctx;

    void SetUp() override {
        makeObjects(ctx, {{"base", 0}, {"gun", 1}, {"arm", 0}});
        connectAnimation(ctx);
        ctx.animation.madAnimations = {{"Open", 0, 2, 0}, {"Close", 5, 6, 0}};
        MadObject gun = makeTrack("gun", {0.5f, 2});
        gun.keyframes[1].rotation = {float(3.14159265358979 / 2), 0, 0};
        ctx.animation.madObjects = {gun};
        ctx.model.peoObjects[1].madObjectIndex = 0;
    }
    std::filesystem::path dumpFile() { return dir / "data" / "keyframes.tmp"; }
};

const std::string kGunKeys =
    "    0: -1\r\n      Pos X: 0 Y: 0 Z: 0\r\n      Rot X: 0 Y: 0 Z: 0\r\n"
    "    1: 0.5\r\n      Pos X: 1 Y: 2 Z: 3\r\n      Rot X: 90 Y: 0 Z: 0\r\n"
    "    2: 2\r\n      Pos X: 1 Y: 2 Z: 3\r\n      Rot X: 28.64789 Y: 14.32395 Z: 0\r\n"
    "    3: 3\r\n      Pos X: 0 Y: 0 Z: 0\r\n      Rot X: 0 Y: 0 Z: 0\r\n";

TEST_F(KeyframeDumpTest, DumpAllListsEveryKeyOfEveryAnimatedObject) {
    dumpAllKeyframes(ctx);
    const std::string want = "Keyframes for object: gun\r\n\r\n\r\nAll keyframes: \r\n" + kGunKeys + "\r\n\r\n";
    EXPECT_EQ(readText(dumpFile()), want);
    ASSERT_EQ(t.textViewer.opened.size(), 1u);
    EXPECT_EQ(t.textViewer.opened[0], dumpFile().string());
    dumpAllKeyframes(ctx);
    EXPECT_EQ(readText(dumpFile()), want) << "a second dump replaces the first";
}

TEST_F(KeyframeDumpTest, DumpOfTheSelectedObjectGoesAnimationByAnimation) {
    ctx.animation.madObjects[0].keyframes[2].time = 2.0004f;  // counted by the rounded test, not listed
    ctx.animation.madObjects[0].keyframes.insert(ctx.animation.madObjects[0].keyframes.begin() + 2,
                                                 makeKey(2, 0.5f, {4, 5, 6}, {}));  // exactly at the end
    ctx.objects.selectedObject = 1;
    dumpKeyframes(ctx);
    const std::string want =
        "Keyframes for object: gun\r\n"
        "\r\r\n  Animation: Open\r\n             (Start: 0, End: 2)\r\n  Keyframes found: 3\r\n"
        "    1: 0.5\r\n      Pos X: 1 Y: 2 Z: 3\r\n      Rot X: 90 Y: 0 Z: 0\r\n"
        "      Tension: 0.25 Continuity: -0.25 Bias: 0.125\r\n"
        "    2: 2\r\n      Pos X: 4 Y: 5 Z: 6\r\n      Rot X: 0 Y: 0 Z: 0\r\n"
        "      Tension: 0.5 Continuity: -0.5 Bias: 0.25\r\n"
        "\r\r\n  Animation: Close\r\n             (Start: 5, End: 6)\r\n  Keyframes found: 0\r\n"
        "\r\n\r\nAll keyframes: \r\n"
        "    0: -1\r\n      Pos X: 0 Y: 0 Z: 0\r\n      Rot X: 0 Y: 0 Z: 0\r\n"
        "    1: 0.5\r\n      Pos X: 1 Y: 2 Z: 3\r\n      Rot X: 90 Y: 0 Z: 0\r\n"
        "    2: 2\r\n      Pos X: 4 Y: 5 Z: 6\r\n      Rot X: 0 Y: 0 Z: 0\r\n"
        "    3: 2.0004\r\n      Pos X: 1 Y: 2 Z: 3\r\n      Rot X: 28.64789 Y: 14.32395 Z: 0\r\n"
        "    4: 3\r\n      Pos X: 0 Y: 0 Z: 0\r\n      Rot X: 0 Y: 0 Z: 0\r\n";
    EXPECT_EQ(readText(dumpFile()), want);
}

TEST_F(KeyframeDumpTest, NothingToDumpWritesNoFileAndOpensNoViewer) {
    dumpAllKeyframes(ctx);
    ASSERT_TRUE(std::filesystem::exists(dumpFile()));
    ctx.model.peoObjects[1].madObjectIndex = -1;
    dumpAllKeyframes(ctx);
    EXPECT_FALSE(std::filesystem::exists(dumpFile())) << "the earlier dump is removed";
    ctx.objects.selectedObject = 2;
    dumpKeyframes(ctx);
    EXPECT_FALSE(std::filesystem::exists(dumpFile()));
    EXPECT_EQ(t.textViewer.opened.size(), 1u);
}

TEST_F(KeyframeDumpTest, AViewerThatFailsIsPassedOverAndExitRemovesTheFile) {
    t.textViewer.succeed = false;
    dumpAllKeyframes(ctx);
    EXPECT_TRUE(t.errors.reports.empty());
    EXPECT_TRUE(t.prompts.shown.empty());
    ASSERT_TRUE(std::filesystem::exists(dumpFile()));
    RoadWindowWatch window(ctx);
    window.onEnd = [&] { EXPECT_FALSE(std::filesystem::exists(dumpFile())) << "removed before the program ends"; };
    Form_QueryUnload(ctx);
    EXPECT_EQ(window.ends, 1);
}

}  // namespace
