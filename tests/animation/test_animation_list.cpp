// The Animations page: adding, applying, deleting and cloning windows with their keys, whole frames, the
// scaling of key positions and attaching a .mad file.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "../objects/ObjectFixtures.h"
#include "AnimationPageFixture.h"
#include "Fakes.h"
#include "MadFixtures.h"
#include "TempDir.h"
#include "animation/AnimationList.h"
#include "animation/MadSteps.h"
#include "animation/state/AnimationsPageState.h"
#include "objects/ObjectTree.h"

using namespace tarv;
using namespace tarv::test;

namespace {

const char* const kInvalid = "Invalid numeric input. Please check and re-enter";

// Enough digits to give back the same 32-bit float.
std::string exactText(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", double(value));
    return text;
}

// Three objects ("base", its child "gun", and "arm"), all in the tree; the log at level 3 beside the model.
class AnimationListTest : public AnimationPageFixture {
protected:
    void SetUp() override {
        ctx.prefs.logLevel = 3;
        ctx.prefs.alwaysShowBackup = false;
        makeObjects(ctx, {{"base", 0}, {"gun", 1}, {"arm", 0}});
        createObjectTree(ctx);
        connectAnimation(ctx);
    }
    std::string log() { return fileExists() ? readText(dir / "ship.log") : std::string(); }
    bool fileExists() { return std::filesystem::exists(dir / "ship.log"); }
    void select(int a) {
        page.lstAnimationsIndex = a;
        lstAnimations_Click(ctx);
    }
};

TEST_F(AnimationListTest, AddAppendsAWindowAfterTheLatestAndSelectsIt) {
    ctx.animation.madObjects = {makeTrack("gun", {}), MadObject{kDeletedObjectName, 0, {}}};
    link(1, 0);
    EXPECT_TRUE(cmdAnimNew_Click(ctx));
    ASSERT_EQ(ctx.animation.madAnimations.size(), 1u);
    EXPECT_EQ(ctx.animation.madAnimations[0], (MadAnimation{"Animation_#1", 0, 2, 0}));
    EXPECT_EQ(page.cmbObjAnimsIndex, 0);
    EXPECT_EQ(page.lstAnimationsIndex, 0);
    EXPECT_EQ(page.txtAnimName, "Animation_#1");
    EXPECT_EQ(page.startTime, "0");
    EXPECT_EQ(page.endTime, "2");
    EXPECT_TRUE(ctx.road.keyframesPageEnabled.value_or(false));
    EXPECT_EQ(track(0).keyframes.back().time, 3.0f) << "a track without window keys moves its closing key too";
    EXPECT_TRUE(track(1).keyframes.empty());

    page.cmbObjAnimsIndex = -1;
    EXPECT_TRUE(cmdAnimNew_Click(ctx));
    const float start = 2.0f + 0.03333334f;
    EXPECT_EQ(ctx.animation.madAnimations[1], (MadAnimation{"Animation_#2", start, start + 2.0f, 0}));
    EXPECT_EQ(page.lstAnimationsIndex, 1);
    EXPECT_EQ(page.cmbObjAnimsIndex, -1) << "the combo selects entry 0 only for the first animation";
    EXPECT_EQ(track(0).keyframes.back().time, start + 2.0f + 1.0f);
}

TEST_F(AnimationListTest, AddAfterWindowsEndingAtZeroStartsAtZero) {
    ctx.animation.madAnimations = {{"A", 0, 0, 0}, {"B", 0, 0, 1}};
    cmdAnimNew_Click(ctx);
    EXPECT_EQ(ctx.animation.madAnimations[2], (MadAnimation{"Animation_#3", 0, 2, 0}));
}

TEST_F(AnimationListTest, AFullListRefusesAddAndCloneAndChangesNothing) {
    for (int i = 0; i < 32; ++i) cmdAnimNew_Click(ctx);
    ctx.animation.madObjects = {makeTrack("gun", {0.5f})};
    link(1, 0);
    const auto animations = ctx.animation.madAnimations;
    const auto tracks = ctx.animation.madObjects;
    t.prompts.expectMessage("Can't have more than 32 animations!");
    EXPECT_FALSE(cmdAnimNew_Click(ctx));
    select(0);
    t.prompts.expectMessage("Can't have more than 32 animations!");
    cmdCloneAnimation_Click(ctx);
    EXPECT_EQ(ctx.animation.madAnimations, animations);
    EXPECT_EQ(ctx.animation.madObjects, tracks);
}

TEST_F(AnimationListTest, ApplyStoresTheBoxesOrRefuses) {
    struct Case {
        const char* name;
        int selection;
        const char* start;
        const char* end;
        const char* title;
        bool message;
        bool changed;
    };
    const Case cases[] = {
        {"applied", 0, "1.5", "3", "Fire", false, true},
        {"no selection", -1, "1.5", "3", "Fire", false, false},
        {"letters in start", 0, "1.5x", "3", "Fire", true, false},
        {"letters in end", 0, "1.5", "abc", "Fire", true, false},
        {"empty name", 0, "1.5", "3", "", false, false},
        {"start below 0", 0, "-0.5", "3", "Fire", true, false},
    };
    for (const Case& c : cases) {
        ctx.animation.madAnimations = {{"Open", 0, 2, 0}};
        page.lstAnimationsIndex = c.selection;
        page.startTime = c.start;
        page.endTime = c.end;
        page.txtAnimName = c.title;
        page.loopBox = true;
        if (c.message) t.prompts.expectMessage(kInvalid);
        cmdAnimApply_Click(ctx);
        const MadAnimation want = c.changed ? MadAnimation{"Fire", 1.5f, 3, 1} : MadAnimation{"Open", 0, 2, 0};
        EXPECT_EQ(ctx.animation.madAnimations[0], want) << c.name;
        EXPECT_EQ(t.prompts.pending(), 0u) << c.name;
    }
}

TEST_F(AnimationListTest, DeletingTheOnlyAnimationEmptiesThePages) {
    ctx.animation.madAnimations = {{"Open", 0, 2, 0}};
    ctx.animation.madObjects = {makeTrack("gun", {0, 2}), makeTrack("arm", {0.5f, 5})};
    link(1, 0);
    link(2, 1);
    select(0);
    page.keyControlsShown = true;
    cmdAnimDelete_Click(ctx);
    EXPECT_TRUE(ctx.animation.madAnimations.empty());
    EXPECT_EQ(page.lstAnimationsIndex, -1);
    EXPECT_EQ(page.cmbObjAnimsIndex, -1);
    EXPECT_TRUE(page.txtAnimName.empty() && page.startTime.empty() && page.endTime.empty() && !page.loopBox);
    EXPECT_FALSE(page.keyControlsShown);
    EXPECT_EQ(page.frmKeyframeInfo, "No keyframes defined for this animation");
    EXPECT_TRUE(page.lblkeyfdebug.empty());
    // Keys on both bounds went; the emptied track is unlinked, the other keeps its key at 5.
    EXPECT_EQ(track(0).name, "**DELETED**");
    EXPECT_TRUE(track(0).keyframes.empty());
    EXPECT_EQ(ctx.model.peoObjects[1].madObjectIndex, -1);
    EXPECT_EQ(ctx.model.peoObjects[2].madObjectIndex, 1);
    EXPECT_EQ(timesOf(track(1)), (std::vector<float>{-1, 5, 6}));
    const std::string text = log();
    EXPECT_NE(text.find("[3] Deleting animation: Open\r\n"), std::string::npos);
    EXPECT_NE(text.find("[3] Object gun\r\n[3]   Deleted keyframes: 2\r\n[3]   keyframe 0 (-1) 0\r\n"
                        "[3]   keyframe 3 (3) 1\r\n[3] Total for object: 1\r\n[3] Deleting object: gun\r\n"),
              std::string::npos)
        << text;
}

TEST_F(AnimationListTest, DeletingAMiddleAnimationTakesItsKeysAndMovesTheLaterOnesDown) {
    ctx.animation.madAnimations = {{"A", 0, 2, 0}, {"B", 3, 5, 1}, {"C", 6, 8, 0}};
    ctx.animation.madObjects = {makeTrack("gun", {1, 4, 7})};
    link(1, 0);
    select(1);
    cmdAnimDelete_Click(ctx);
    ASSERT_EQ(ctx.animation.madAnimations.size(), 2u);
    EXPECT_EQ(ctx.animation.madAnimations[1], (MadAnimation{"C", 6, 8, 0})) << "times kept, the gap stays";
    EXPECT_EQ(timesOf(track(0)), (std::vector<float>{-1, 1, 7, 8}));
    EXPECT_EQ(page.lstAnimationsIndex, 0);
    EXPECT_EQ(page.cmbObjAnimsIndex, 0);
    EXPECT_EQ(page.txtAnimName, "A");
    const std::string text = log();
    EXPECT_EQ(text.find("Deleting animation: "), std::string::npos) << "logged only for the last";
    EXPECT_NE(text.find("[3] C -> B\r\n"), std::string::npos);
}

TEST_F(AnimationListTest, DeleteKeepsAKeyTypedAtMinusTwoOutsideTheWindow) {
    ctx.animation.madAnimations = {{"A", 0, 2, 0}};
    MadObject gun = makeTrack("gun", {1, 1.5f});
    gun.keyframes[2].time = -2;  // a time typed into the box, outside the window
    ctx.animation.madObjects = {gun};
    link(1, 0);
    select(0);
    cmdAnimDelete_Click(ctx);
    EXPECT_EQ(timesOf(track(0)), (std::vector<float>{-1, -2, 2.5f}));
    EXPECT_EQ(track(0).name, "gun");
}

struct CloneCase {
    const char* name;
    std::vector<float> keys;  // of "gun" (object 1), in the first animation [0, 2]
    bool reversed;
    std::vector<float> copies;  // as offsets from the new start S, or E - offset
};

TEST_F(AnimationListTest, CloneCopiesTheWindowsKeysStretchedToTheTypedEnd) {
    const float S = 2.0f + 0.03333334f;
    const float E = S + 4.0f;
    const float sixty = 60 * 0.033333335f;
    struct Case {
        const char* name;
        std::vector<float> keys;
        bool reversed;
        std::vector<float> copies;
    };
    const Case cases[] = {
        {"forward", {0, 1, 2}, false, {S, S + sixty, E}},
        {"reversed", {0, 1, 2}, true, {S, E - sixty, E}},
        {"first key after the start", {0.5f, 2}, false, {S, E}},
    };
    for (const Case& c : cases) {
        ctx.animation.madAnimations = {{"Open", 0, 2, 0}};
        ctx.animation.madObjects = {makeTrack("gun", c.keys)};
        link(1, 0);
        select(0);
        t.prompts.expectYesNo(c.reversed, "Do you want to reverse the keyframes for the new animation?");
        t.prompts.expectInput(exactText(E),
                              "Type an end time for this anim.\r\n\r\n(The start time is 2.033333 and the duration\r\n"
                              " of the anim to be cloned is 2 ).");
        cmdCloneAnimation_Click(ctx);
        ASSERT_EQ(ctx.animation.madAnimations.size(), 2u) << c.name;
        const MadAnimation& clone = ctx.animation.madAnimations[1];
        EXPECT_EQ(clone.name, std::string(c.reversed ? "Reverse " : "") + "Clone of Open") << c.name;
        EXPECT_EQ(clone.startTime, S);
        EXPECT_EQ(clone.endTime, E);
        EXPECT_EQ(page.lstAnimationsIndex, 0) << "the source is selected again";
        std::vector<float> want = {-1};
        want.insert(want.end(), c.keys.begin(), c.keys.end());
        want.insert(want.end(), c.copies.begin(), c.copies.end());
        want.push_back(E + 1.0f);
        EXPECT_EQ(timesOf(track(0)), want) << c.name;
        if (c.reversed) {
            // The copy at S is the source's last key, the one at E its first.
            EXPECT_EQ(track(0).keyframes[4], (MadKeyframe{S, 0.25f, -0.25f, 0.125f, {1, 2, 3}, {0.5f, 0.25f, 0}}));
        }
        EXPECT_TRUE(t.errors.reports.empty());
    }
}

TEST_F(AnimationListTest, AcceptingTheProposedEndGivesTheKeysOfTheExactEnd) {
    const float S = 2.0f + 0.03333334f;
    const float thirty = 30 * 0.033333335f;
    struct Case {
        bool reversed;
        bool typed;  // the exact end typed, else the proposed end accepted
    };
    for (const Case c : {Case{false, false}, Case{false, true}, Case{true, false}, Case{true, true}}) {
        ctx.animation.madAnimations = {{"Open", 0, 2, 0}};
        ctx.animation.madObjects = {makeTrack("gun", {0, 1, 2})};
        link(1, 0);
        select(0);
        t.prompts.shown.clear();
        t.prompts.expectYesNo(c.reversed);
        if (c.typed)
            t.prompts.expectInput(exactText(S + 2.0f));
        else
            t.prompts.expectInputDefault();
        cmdCloneAnimation_Click(ctx);
        const std::string which = std::string(c.reversed ? "reversed, " : "forward, ") + (c.typed ? "typed" : "proposed");
        ASSERT_EQ(t.prompts.shown.size(), 2u) << which;
        EXPECT_EQ(t.prompts.shown[1].defaultText, "4.0333333") << which;
        const float E = S + 2.0f;
        EXPECT_EQ(ctx.animation.madAnimations[1].endTime, E) << which;
        const float middle = c.reversed ? E - thirty : S + thirty;
        EXPECT_EQ(timesOf(track(0)), (std::vector<float>{-1, 0, 1, 2, S, middle, E, E + 1.0f})) << which;
        EXPECT_TRUE(t.errors.reports.empty()) << which;
    }
}

TEST_F(AnimationListTest, CloneOfALaterAnimationCopiesOnlyItsKeys) {
    ctx.animation.madAnimations = {{"A", 0, 2, 0}, {"B", 3, 4, 0}};
    ctx.animation.madObjects = {makeTrack("gun", {1, 3, 4})};
    link(1, 0);
    link(2, 0);  // a second object on the same track copies nothing more
    select(1);
    const float S = 4.0f + 0.03333334f;
    t.prompts.expectYesNo(false).expectInput(exactText(S + 1.0f));
    cmdCloneAnimation_Click(ctx);
    EXPECT_EQ(timesOf(track(0)), (std::vector<float>{-1, 1, 3, 4, S, S + 1.0f, S + 2.0f}));
}

TEST_F(AnimationListTest, ClonePromptAnswers) {
    ctx.animation.madAnimations = {{"Open", 0, 2, 0}};
    ctx.animation.madObjects = {makeTrack("gun", {0, 2}), makeTrack("arm", {5})};
    link(1, 0);
    link(2, 1);
    select(0);
    const float S = 2.0f + 0.03333334f;
    // Numbers not after the start are refused without being counted; ten empty answers are allowed.
    t.prompts.expectYesNo(false);
    for (int i = 0; i < 11; ++i)
        t.prompts.expectInput("1").expectMessage("This is no good, if you can't handle it, stick to the default.");
    for (int i = 0; i < 10; ++i) t.prompts.expectInput(std::nullopt).expectMessage("Please enter a valid number.");
    t.prompts.expectInput(exactText(S + 5.0f));
    cmdCloneAnimation_Click(ctx);
    EXPECT_EQ(ctx.animation.madAnimations[1].endTime, S + 5.0f);
    EXPECT_EQ(track(0).keyframes.back().time, S + 6.0f);
    EXPECT_EQ(track(1).keyframes.back().time, S + 6.0f) << "a track without keys in the source follows the new end";
}

TEST_F(AnimationListTest, ElevenEmptyAnswersEndTheCloneWithoutKeys) {
    ctx.animation.madAnimations = {{"Open", 0, 2, 0}};
    ctx.animation.madObjects = {makeTrack("gun", {0, 2})};
    link(1, 0);
    select(0);
    t.prompts.expectYesNo(true);
    for (int i = 0; i < 10; ++i) t.prompts.expectInput("").expectMessage("Please enter a valid number.");
    t.prompts.expectInput(std::nullopt);
    cmdCloneAnimation_Click(ctx);
    const float S = 2.0f + 0.03333334f;
    EXPECT_EQ(ctx.animation.madAnimations[1], (MadAnimation{"Reverse Clone of Open", S, S + 2.0f, 0}));
    EXPECT_EQ(timesOf(track(0)), (std::vector<float>{-1, 0, 2, S + 3.0f}));
}

TEST_F(AnimationListTest, CloneOfKeysJustOutsideTheWindowCopiesNothing) {
    ctx.animation.madAnimations = {{"Open", 0, 2, 0}};
    ctx.animation.madObjects = {makeTrack("gun", {2.0004f})};  // counted by the rounded test, outside the exact one
    link(1, 0);
    select(0);
    const float S = 2.0f + 0.03333334f;
    t.prompts.expectYesNo(false).expectInput(exactText(S + 2.0f));
    cmdCloneAnimation_Click(ctx);
    EXPECT_EQ(timesOf(track(0)), (std::vector<float>{-1, 2.0004f, S + 3.0f}));
    EXPECT_TRUE(t.errors.reports.empty());
}

TEST(UnifyTime, SecondsToWholeFramesRoundedDown) {
    const std::pair<float, float> cases[] = {{1.0f, 30}, {0.0333f, 0}, {0.99f, 29}, {-0.01f, -1}, {0.7f, 21}};
    for (auto [seconds, frames] : cases) EXPECT_EQ(unifyTime(seconds), frames) << seconds;
}

TEST_F(AnimationListTest, ScaleMultipliesEveryKeysPosition) {
    ctx.animation.madObjects = {makeTrack("gun", {0.5f})};
    track(0).keyframes[0].position = {1, -2, 4};
    scaleMadkeyframes(ctx, 0, 2.5f);
    EXPECT_EQ(track(0).keyframes[0].position, (Vector3{2.5f, -5, 10}));
    EXPECT_EQ(track(0).keyframes[1].position, (Vector3{2.5f, 5, 7.5f}));
    EXPECT_EQ(track(0).keyframes[1].rotation, (Vector3{0.5f, 0.25f, 0}));
    EXPECT_EQ(track(0).keyframes[1].time, 0.5f);
    scaleMadkeyframes(ctx, 3, 2);
    ASSERT_EQ(t.errors.reports.size(), 1u);
}

// A .mad with the animation "Fire" and one track "gun".
std::vector<uint8_t> gunMad() {
    auto bytes = workedFixture().data();
    bytes[bytes.size() - 4] = 'g';  // "Gun" -> "gun"
    return bytes;
}

TEST_F(AnimationListTest, AttachingAFileUnlinksTheObjectsItDoesNotName) {
    ctx.animation.madAnimations = {{"Open", 0, 2, 0}, {"Close", 3, 4, 0}};
    ctx.animation.madObjects = {makeTrack("gun", {1}), makeTrack("arm", {1})};
    link(1, 0);
    link(2, 1);
    page.lstAnimationsIndex = 1;
    page.txtAnimName = "Close";
    const auto path = dir / "other.mad";
    writeBytes(path, gunMad());
    ctx.preview.playback.isPlaying = 1;
    page.cmdPlayAnimationCaption = "Stop";
    t.prompts.expectOpen(FileDialogChoice{path.string(), 1});
    cmdLoadMADfile_Click(ctx);
    EXPECT_EQ(t.prompts.shown[0].request.filter, "Homeworld Animation Files (*.mad)|*.mad");
    EXPECT_EQ(ctx.preview.playback.isPlaying, 0);
    EXPECT_EQ(page.cmdPlayAnimationCaption, "Play");
    ASSERT_EQ(ctx.animation.madAnimations.size(), 1u);
    EXPECT_EQ(ctx.animation.madAnimations[0].name, "Fire");
    EXPECT_EQ(ctx.model.peoObjects[1].madObjectIndex, 0);
    EXPECT_EQ(ctx.model.peoObjects[2].madObjectIndex, -1);
    EXPECT_EQ(page.lstAnimationsIndex, -1);
    EXPECT_TRUE(page.txtAnimName.empty());
    EXPECT_TRUE(ctx.road.keyframesPageEnabled.value_or(false));
    EXPECT_TRUE(ctx.shell.mnuBUCEnabled);
    EXPECT_FALSE(ctx.shell.mnuRevBUEnabled);
}

TEST_F(AnimationListTest, ARefusedFileLeavesTheShipAnimatedAsBefore) {
    ctx.animation.madAnimations = {{"Open", 0, 2, 0}};
    ctx.animation.madObjects = {makeTrack("gun", {1})};
    link(1, 0);
    auto bytes = gunMad();
    bytes.resize(60);
    const auto path = dir / "damaged.mad";
    writeBytes(path, bytes);
    t.prompts.expectOpen(FileDialogChoice{path.string(), 1});
    cmdLoadMADfile_Click(ctx);
    EXPECT_EQ(t.errors.reports.size(), 1u);
    EXPECT_EQ(ctx.model.peoObjects[1].madObjectIndex, 0);
    EXPECT_EQ(ctx.animation.madAnimations[0].name, "Open");
}

TEST_F(AnimationListTest, AttachOffersTheBackupWhenAsked) {
    ctx.prefs.alwaysShowBackup = true;
    const auto path = dir / "other.mad";
    writeBytes(path, gunMad());
    t.prompts.expectOpen(FileDialogChoice{path.string(), 1}).expectYesNo(true);
    cmdLoadMADfile_Click(ctx);
    EXPECT_TRUE(std::filesystem::exists(dir / "Backup of other.mad"));
    EXPECT_TRUE(ctx.shell.mnuRevBUEnabled);
    EXPECT_FALSE(ctx.shell.mnuBUCEnabled);

    t.prompts.expectOpen(std::nullopt);
    ctx.animation.madAnimations.clear();
    cmdLoadMADfile_Click(ctx);
    EXPECT_TRUE(ctx.animation.madAnimations.empty()) << "Cancel changes nothing";
}

}  // namespace
