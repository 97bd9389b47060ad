// The track operations and window queries.
#include <gtest/gtest.h>

#include <functional>

#include "Fakes.h"
#include "MadFixtures.h"
#include "TempDir.h"
#include "animation/MadTracks.h"

using namespace tarv;
using namespace tarv::test;

namespace {

MadObject trackWithTimes(const std::string& name, const std::vector<float>& times) {
    MadObject t;
    t.name = name;
    for (size_t i = 0; i < times.size(); ++i)
        t.keyframes.push_back(makeKey(times[i], float(i), {float(i), 0, 0}, {0, float(i), 0}));
    return t;
}

struct MadTracksTest : ::testing::Test {
    TempDir dir;
    TestContext t{dir.path()};
    EditingContext& ctx = t.ctx;
};

TEST_F(MadTracksTest, AKeyJustPastTheWindowIsCountedAndStartsButNeverEnds) {
    ctx.animation.madAnimations = {{"Fire", 0.0f, 2.0f, 0}};
    ctx.animation.madObjects = {trackWithTimes("A", {-1, 0, 1, 2.0004f, 3}),
                                trackWithTimes("B", {-1, 2.0004f, 3.0004f})};
    EXPECT_EQ(getNoOfKeyframesForAnim(ctx, 0, 0), 3);
    EXPECT_EQ(getStartKeyframeForAnim(ctx, 0, 0), 1);
    EXPECT_EQ(getEndKeyframeForAnim(ctx, 0, 0), 2);

    EXPECT_EQ(getNoOfKeyframesForAnim(ctx, 1, 0), 1);
    EXPECT_EQ(getStartKeyframeForAnim(ctx, 1, 0), 1);
    EXPECT_EQ(getEndKeyframeForAnim(ctx, 1, 0), 0);
    EXPECT_EQ(calcAnimBits(ctx, 1), 0u);  // the exact test
    EXPECT_TRUE(t.errors.reports.empty());
}

TEST_F(MadTracksTest, TheTimersKeyTestAgreesWithTheRoundedCount) {
    ctx.animation.madAnimations = {{"Fire", 0.0f, 2.0f, 0}, {"Late", 2.0005f, 3, 0}};
    ctx.animation.madObjects = {trackWithTimes("A", {-1, 0, 1, 2.0004f, 3}),
                                trackWithTimes("B", {-1, 2.0004f, 3.0004f}), MadObject{"Empty", 0, {}}};
    for (int track = 0; track < 3; ++track)
        for (int a = 0; a < 2; ++a)
            for (int atLeast = 1; atLeast <= 4; ++atLeast)
                EXPECT_EQ(hasKeyframesForAnim(ctx, track, a, atLeast),
                          getNoOfKeyframesForAnim(ctx, track, a) >= atLeast)
                    << track << " " << a << " " << atLeast;
    EXPECT_FALSE(hasKeyframesForAnim(ctx, 3, 0, 1));
    EXPECT_FALSE(hasKeyframesForAnim(ctx, 0, 2, 1));
    EXPECT_FALSE(hasKeyframesForAnim(ctx, -1, 0, 1));
}

TEST_F(MadTracksTest, TheClosingKeyInALaterWindowSetsNoBitButTheQueriesSeeIt) {
    ctx.animation.madAnimations = {{"A", 0, 1, 0}, {"B", 2, 3, 0}};
    ctx.animation.madObjects = {trackWithTimes("Gun", {-1, 0.5f, 1, 2})};
    EXPECT_EQ(calcAnimBits(ctx, 0), 1u);
    EXPECT_EQ(getNoOfKeyframesForAnim(ctx, 0, 1), 1);
    EXPECT_EQ(getStartKeyframeForAnim(ctx, 0, 1), 3);
    EXPECT_EQ(getEndKeyframeForAnim(ctx, 0, 1), 3);
    EXPECT_EQ(getEndKeyframeForAnim(ctx, 0, 0), 2);
}

TEST_F(MadTracksTest, AnimBitsUseAllThirtyTwoBitsAndNeedKeys) {
    for (int a = 0; a < 32; ++a) ctx.animation.madAnimations.push_back({"A", float(a), float(a) + 0.5f, 0});
    ctx.animation.madObjects = {trackWithTimes("Gun", {-1, 0.25f, 15.25f, 31.25f, 40}), MadObject{"Empty", 0, {}}};
    EXPECT_EQ(calcAnimBits(ctx, 0), 0x80008001u);
    EXPECT_EQ(calcAnimBits(ctx, 1), 0u);

    // A 33rd animation has no bit: the report, then 0.
    ctx.animation.madAnimations.push_back({"A", 50, 51, 0});
    ctx.animation.madObjects[0].keyframes.back().time = 60;
    ctx.animation.madObjects[0].keyframes.insert(ctx.animation.madObjects[0].keyframes.end() - 1,
                                                 makeKey(50.5f, 0, {}, {}));
    EXPECT_EQ(calcAnimBits(ctx, 0), 0u);
    ASSERT_EQ(t.errors.reports.size(), 1u);
    EXPECT_EQ(t.errors.reports[0].description, "Overflow");
}

TEST_F(MadTracksTest, CalcDuplicatesCopiesTheNeighboursOfTheOpeningAndClosingKey) {
    ctx.animation.madObjects = {trackWithTimes("Gun", {-5, 0, 1.5f, 9999999}), trackWithTimes("One", {4}),
                                MadObject{"None", 0, {}}};
    const auto keys = ctx.animation.madObjects[0].keyframes;
    calcDuplicates(ctx, 0);
    const auto& after = ctx.animation.madObjects[0].keyframes;
    MadKeyframe open = keys[1], close = keys[2];
    open.time = -1;
    close.time = 2.5f;
    EXPECT_EQ(after, (std::vector<MadKeyframe>{open, keys[1], keys[2], close}));

    const auto one = ctx.animation.madObjects[1];
    calcDuplicates(ctx, 1);
    calcDuplicates(ctx, 2);
    EXPECT_EQ(ctx.animation.madObjects[1], one);
    EXPECT_TRUE(ctx.animation.madObjects[2].keyframes.empty());
    EXPECT_TRUE(t.errors.reports.empty());
}

TEST_F(MadTracksTest, PeoObjectOfATrackIsTheFirstLinkedObject) {
    setModelObjects(ctx, {"A", "B", "C", "D"});
    const int16_t links[] = {-1, 1, 0, 1};
    for (size_t i = 0; i < 4; ++i) ctx.model.peoObjects[i].madObjectIndex = links[i];
    ctx.animation.madObjects = {trackWithTimes("C", {}), trackWithTimes("B", {}), trackWithTimes("X", {})};
    EXPECT_EQ(getPeoObjectFromMadObjects(ctx, 0), 2);
    EXPECT_EQ(getPeoObjectFromMadObjects(ctx, 1), 1);
    EXPECT_EQ(getPeoObjectFromMadObjects(ctx, 2), -1);
    EXPECT_TRUE(t.errors.reports.empty());
}

TEST_F(MadTracksTest, BadIndicesShowTheReportAndGiveTheNeutralResult) {
    ctx.animation.madAnimations = {{"A", 0, 1, 0}, {"B", 2, 3, 0}};
    ctx.animation.madObjects = {trackWithTimes("Gun", {-1, 0.5f, 2.5f, 4}), trackWithTimes("Hull", {-1, 0.5f, 2})};
    struct Case {
        const char* procedure;
        std::function<int()> call;
        int result;
        const char* arguments;
    };
    const std::vector<Case> cases = {
        {"getNoOfKeyframesForAnim", [&] { return getNoOfKeyframesForAnim(ctx, 3, 0); }, 0, "3|0"},
        {"getNoOfKeyframesForAnim", [&] { return getNoOfKeyframesForAnim(ctx, -1, 0); }, 0, "-1|0"},
        {"getNoOfKeyframesForAnim", [&] { return getNoOfKeyframesForAnim(ctx, 0, 2); }, 0, "0|2"},
        {"getStartKeyframeForAnim", [&] { return getStartKeyframeForAnim(ctx, 3, 0); }, 0, "3|0"},
        {"getStartKeyframeForAnim", [&] { return getStartKeyframeForAnim(ctx, 1, -1); }, 0, "1|-1"},
        {"getEndKeyframeForAnim", [&] { return getEndKeyframeForAnim(ctx, 2, 1); }, 0, "2|1"},
        {"getEndKeyframeForAnim", [&] { return getEndKeyframeForAnim(ctx, 0, 9); }, 0, "0|9"},
        {"getPeoObjectFromMadObjects", [&] { return getPeoObjectFromMadObjects(ctx, 2); }, -1, "2"},
        {"getPeoObjectFromMadObjects", [&] { return getPeoObjectFromMadObjects(ctx, -1); }, -1, "-1"},
        {"calcAnimBits", [&] { return int(calcAnimBits(ctx, 5)); }, 0, "5"},
        {"calcDuplicates",
         [&] {
             calcDuplicates(ctx, 2);
             return 0;
         },
         0, "2"},
    };
    for (const Case& c : cases) {
        t.errors.reports.clear();
        EXPECT_EQ(c.call(), c.result) << c.procedure << " " << c.arguments;
        ASSERT_EQ(t.errors.reports.size(), 1u) << c.procedure << " " << c.arguments;
        const auto& report = t.errors.reports[0];
        EXPECT_EQ(report.module, "modMad");
        EXPECT_EQ(report.procedure, c.procedure);
        EXPECT_EQ(report.arguments, c.arguments);
        EXPECT_EQ(report.number, 9);
    }

    // A negative track gives 0 from the start and end queries, silently.
    t.errors.reports.clear();
    EXPECT_EQ(getStartKeyframeForAnim(ctx, -1, 0), 0);
    EXPECT_EQ(getEndKeyframeForAnim(ctx, -1, 0), 0);
    EXPECT_EQ(getStartKeyframeForAnim(ctx, -4, 99), 0);
    EXPECT_TRUE(t.errors.reports.empty());

    // The good indices work after all that.
    EXPECT_EQ(getNoOfKeyframesForAnim(ctx, 0, 1), 1);
    EXPECT_EQ(getStartKeyframeForAnim(ctx, 0, 1), 2);
    EXPECT_EQ(getEndKeyframeForAnim(ctx, 1, 1), 2);
}

TEST_F(MadTracksTest, AnEmptyTrackHasNoKeysInAnyWindow) {
    ctx.animation.madAnimations = {{"A", 0, 1, 0}};
    ctx.animation.madObjects = {MadObject{"**DELETED**", 0, {}}};
    EXPECT_EQ(getNoOfKeyframesForAnim(ctx, 0, 0), 0);
    EXPECT_EQ(getStartKeyframeForAnim(ctx, 0, 0), 0);
    EXPECT_EQ(getEndKeyframeForAnim(ctx, 0, 0), 0);
    EXPECT_TRUE(t.errors.reports.empty());
}

}  // namespace
