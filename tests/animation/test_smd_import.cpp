// The .smd sequence import: the field reader, the rotation helpers, the import and its early ends, and the
// menu command with its preview question.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "../objects/ObjectFixtures.h"
#include "AnimationPageFixture.h"
#include "Fakes.h"
#include "MadFixtures.h"
#include "TempDir.h"
#include "animation/AnimationList.h"
#include "animation/MadSteps.h"
#include "animation/SmdImport.h"
#include "animation/state/AnimationsPageState.h"
#include "base/RunTimeError.h"
#include "model/RotationMath.h"

using namespace tarv;
using namespace tarv::test;

namespace {

constexpr double kPi = 3.14159265359;
const float kHalfPi = float(kPi / 2);
const char* const kPreview = "Do you wish to see a preview of the anim, straight from the file?";
const char* const kNames = "Not all bone names match! Do you wish to continue? ";

std::span<const uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

// The sequence of the worked example: the root moving 5 along its z axis in the second frame, its child "Gun".
const std::string kFixture =
    "version 1\r\nnodes\r\n0 \"root\" -1\r\n1 \"Gun\" 0\r\nend\r\nskeleton\r\ntime 0\r\n0 0 0 0 0 0 0\r\n"
    "1 1 2 3 0 0 0\r\ntime 1\r\n0 0 0 5 0 0 0\r\n1 1 2 3 0 0 0\r\nend\r\n";

// A sequence with the given bones (name, parent) and frames 0 .. frames - 1, every bone at (1, 2, 3).
std::string sequence(const std::vector<std::pair<std::string, int>>& bones, int frames) {
    std::string s = "version 1\nnodes\n";
    for (size_t i = 0; i < bones.size(); ++i)
        s += std::to_string(i) + " \"" + bones[i].first + "\" " + std::to_string(bones[i].second) + "\n";
    s += "end\nskeleton\n";
    for (int f = 0; f < frames; ++f) {
        s += "time " + std::to_string(f) + "\n";
        for (size_t i = 0; i < bones.size(); ++i) s += std::to_string(i) + " 1 2 3 0 0 0\n";
    }
    return s + "end\n";
}

TEST(SmdFields, TheFieldStream) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string> fields;
        std::vector<int> lines;
    };
    const Case cases[] = {
        {"quoted names with blanks", "0 \"left gun\" -1\r\n", {"0", "left gun", "-1"}, {1, 1, 1}},
        {"time line is one field", "time 3\r\n1 2\r\n", {"time 3", "1", "2"}, {1, 2, 2}},
        {"fields after commas", "1,2, 3,abc def,4\n", {"1", "2", "3", "abc def", "4"}, {1, 1, 1, 1, 1}},
        {"CR only", "1\r2\r\r3", {"1", "2", "3"}, {1, 2, 4}},
        {"LF only", "1\n2\n3\n", {"1", "2", "3"}, {1, 2, 3}},
        {"tabs between fields", "\t1\t2.5\t-3e1\n", {"1", "2.5", "-3e1"}, {1, 1, 1}},
        {"version line", "version 1\nnodes\n", {"version 1", "nodes"}, {1, 2}},
    };
    for (const Case& c : cases) {
        const auto fields = smdFields(bytesOf(c.text));
        std::vector<std::string> texts;
        std::vector<int> lines;
        for (const auto& f : fields) {
            texts.push_back(f.text);
            lines.push_back(f.line);
        }
        EXPECT_EQ(texts, c.fields) << c.name;
        EXPECT_EQ(lines, c.lines) << c.name;
    }
    const auto numbers = smdFields(bytesOf("-0 2.5x -3e1"));
    ASSERT_EQ(numbers.size(), 3u);
    EXPECT_TRUE(numbers[0].numeric && numbers[0].value == 0 && std::signbit(numbers[0].value));
    EXPECT_EQ(numbers[1].value, 2.5);
    EXPECT_EQ(numbers[2].value, -30);
}

TEST(SmdFile, ReadsNodesAndCompleteFrames) {
    const SmdSequence smd = parseSmd(bytesOf(kFixture), "a.smd");
    ASSERT_EQ(smd.nodes.size(), 2u);
    EXPECT_EQ(smd.nodes[1].name, "Gun");
    EXPECT_EQ(smd.nodes[1].parentId, 0);
    ASSERT_EQ(smd.frames.size(), 2u);
    EXPECT_EQ(smd.frames[1].time, 1.0f);
    EXPECT_EQ(smd.frames[1].poses[0].position, (Vector3{0, 0, 5}));
    EXPECT_EQ(smd.frames[0].poses[1].position, (Vector3{1, 2, 3}));

    // A last frame cut short is not counted.
    std::string cut = kFixture.substr(0, kFixture.find("1 1 2 3 0 0 0\r\nend")) + "1 1 2\r\n";
    EXPECT_EQ(parseSmd(bytesOf(cut), "a.smd").frames.size(), 1u);
}

TEST(SmdFile, RefusesFilesItCannotImport) {
    struct Case {
        const char* name;
        std::string text;
        std::string message;
    };
    const Case cases[] = {
        {"ids out of order", "v\nnodes\n0 \"root\" -1\n2 \"Gun\" 0\nend\nskeleton\ntime 0\n0 0 0 0 0 0 0\nend\n",
         "node 2 where 1 belongs) (line 4)"},
        {"bone lines out of order",
         "v\nnodes\n0 \"a\" -1\n1 \"b\" 0\nend\nskeleton\ntime 0\n1 0 0 0 0 0 0\n0 0 0 0 0 0 0\nend\n",
         "bone 1 where 0 belongs) (line 8)"},
        {"no skeleton", "v\nnodes\n0 \"a\" -1\nend\n", "it has no skeleton"},
        {"no nodes", "v\nnodes\nend\nskeleton\ntime 0\nend\n", "it has no nodes"},
        {"no complete frame", "v\nnodes\n0 \"a\" -1\nend\nskeleton\ntime 0\n0 0 0\n", "it has no complete frame"},
        {"an id beyond 16 bits", "v\nnodes\n40000 \"a\" -1\nend\n", "beyond 16 bits"},
        {"letters in a bone line", "v\nnodes\n0 \"a\" -1\nend\nskeleton\ntime 0\n0 0 x 0 0 0 0\nend\n",
         "\"x 0 0 0 0\" is not a number"},
        {"empty", "", "it has no nodes"},
        {"a value beyond a 32-bit float", "v\nnodes\n0 \"a\" -1\nend\nskeleton\ntime 0\n0 0 1e308 0 0 0 0\nend\n",
         "\"1e308\" is beyond the range of a number (line 7)"},
        {"a negative one", "v\nnodes\n0 \"a\" -1\nend\nskeleton\ntime 0\n0 0 0 0 0 0 -3.5e38\nend\n",
         "\"-3.5e38\" is beyond the range of a number (line 7)"},
        {"a time beyond it", "v\nnodes\n0 \"a\" -1\nend\nskeleton\ntime 1e39\n0 0 0 0 0 0 0\nend\n",
         "\"time 1e39\" is beyond the range of a number (line 6)"},
    };
    for (const Case& c : cases) {
        try {
            parseSmd(bytesOf(c.text), "a.smd");
            ADD_FAILURE() << c.name;
        } catch (const RunTimeError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << c.name << ": " << e.what();
        }
    }
}

void expectAngles(const Vector3& got, const Vector3& want, const char* what) {
    EXPECT_NEAR(got.x, want.x, 1e-6) << what;
    EXPECT_NEAR(got.y, want.y, 1e-6) << what;
    EXPECT_NEAR(got.z, want.z, 1e-6) << what;
}

TEST(SmdRotation, TheHelpers) {
    // Zero angles give the exact unit quaternion, its own inverse, and zero angles back.
    const Quaternion unit{1, 0, 0, 0};
    EXPECT_EQ(eulerToQuaternion(reverseEulerOrder({0, 0, 0})), unit);
    EXPECT_EQ(invertQuaternion(unit), (Quaternion{1, -0.0f, -0.0f, -0.0f}));
    EXPECT_EQ(matrixToEuler(quaternionToMatrix(unit)), (Vector3{0, 0, 0}));

    // A non-unit quaternion: its conjugate over its squared length.
    EXPECT_EQ(invertQuaternion({1, 1, 1, 1}), (Quaternion{0.25f, -0.25f, -0.25f, -0.25f}));
    EXPECT_EQ(invertQuaternion({2, 0, 0, 0}), (Quaternion{0.5f, -0.0f, -0.0f, -0.0f}));

    // Quarter turns about x, y and z, with the Z-up axes turned to Y-up.
    const float c = float(std::cos(kPi / 4)), s = float(std::sin(kPi / 4));
    const struct {
        const char* name;
        Quaternion q;
        float rows[3][3];
    } turns[] = {
        {"x", {c, s, 0, 0}, {{1, 0, 0}, {0, 0, 1}, {0, -1, 0}}},
        {"y", {c, 0, s, 0}, {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}}},
        {"z", {c, 0, 0, s}, {{0, 0, -1}, {0, 1, 0}, {1, 0, 0}}},
    };
    for (const auto& turn : turns) {
        const Matrix4 m = quaternionToMatrix(turn.q);
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) EXPECT_NEAR(m.at(i, j), turn.rows[i][j], 1e-6) << turn.name << i << j;
        for (int j = 0; j < 4; ++j) EXPECT_EQ(m.at(3, j), 0) << turn.name;
    }

    // The branches of exactly 1: -m02 = 1; m22 = 0 with m12 = 1; then m00 = 0 with m01 = 0, whose square-root
    // term is exactly 1 as well.
    Matrix4 m;
    m.at(0, 2) = -1;
    m.at(1, 2) = 1;
    expectAngles(matrixToEuler(m), {kHalfPi, kHalfPi, 0}, "m12 exactly 1");
    Matrix4 n;
    n.at(0, 2) = 1;
    n.at(0, 1) = -1;
    n.at(2, 2) = 1;
    expectAngles(matrixToEuler(n), {0, -kHalfPi, -kHalfPi}, "m01 exactly -1");

    // The quadrant fixes: m12 > 0 with x < 0 gains pi; m01 < 0 with z > 0 loses it.
    Matrix4 q;
    q.at(1, 2) = 0.5f;
    q.at(2, 2) = -0.5f;
    q.at(0, 1) = -0.5f;
    q.at(0, 0) = -0.5f;
    const Vector3 fixed = matrixToEuler(q);
    EXPECT_EQ(fixed.x, float(double(float(std::atan(-1.0))) + kPi));
    EXPECT_EQ(fixed.z, float(double(float(std::atan(1.0))) - kPi));

    // The sequence's Z, Y, X order as X, Y, Z: a quarter turn about y alone is kept.
    expectAngles(reverseEulerOrder({0, 0.5f, 0}), {0, 0.5f, 0}, "y alone");
    expectAngles(reverseEulerOrder({0.25f, 0, 0}), {0.25f, 0, 0}, "x alone");

    // An arcsine argument just beyond 1 from rounding takes the branch of 1.
    Matrix4 r;
    r.at(0, 2) = -1.0000001f;
    r.at(2, 2) = 1;
    r.at(0, 0) = 1;
    EXPECT_EQ(matrixToEuler(r).y, kHalfPi);
}

// Objects "base" (0), "Gun" (1) and "Arm" (2).
class SmdImportTest : public AnimationPageFixture {
protected:
    void SetUp() override {
        makeObjects(ctx, {{"base", 0}, {"Gun", 1}, {"Arm", 1}});
        connectAnimation(ctx);
    }
    std::string file(const std::string& text, const char* name = "seq.smd") {
        const auto path = dir / name;
        writeText(path, text);
        return path.string();
    }
    // Runs the menu command on a file: the open dialog answered with it.
    void importFile(const std::string& path) {
        t.prompts.expectOpen(FileDialogChoice{path, 1});
        mnuImportFromSMD_Click(ctx);
    }
    void animateBefore() {
        ctx.animation.madAnimations = {{"A", 0, 2, 0}, {"B", 3, 5, 0}, {"C", 6, 8, 1}};
        ctx.animation.madObjects = {makeTrack("Gun", {1}), makeTrack("Arm", {4})};
        ctx.model.peoObjects[1].madObjectIndex = 0;
        ctx.model.peoObjects[2].madObjectIndex = 1;
        page.lstAnimationsIndex = 2;
    }
    std::vector<int16_t> links() {
        std::vector<int16_t> l;
        for (const PeoObject& o : ctx.model.peoObjects) l.push_back(o.madObjectIndex);
        return l;
    }
};

TEST_F(SmdImportTest, TheWorkedSequenceBecomesOneAnimationWithTheRootsMotion) {
    animateBefore();
    ctx.preview.playback.isPlaying = 1;
    page.cmdPlayAnimationCaption = "Stop";
    t.prompts.expectOpen(FileDialogChoice{file(kFixture), 1}).expectYesNo(false, kPreview);
    mnuImportFromSMD_Click(ctx);
    EXPECT_EQ(t.prompts.shown[0].request.filter, "Milkshape HalfLife sequence files (*.smd)|*.smd");
    EXPECT_EQ(t.prompts.shown[1].caption, "Milkshape SMD sequence file import");
    EXPECT_TRUE(t.errors.reports.empty());
    ASSERT_EQ(ctx.animation.madAnimations.size(), 1u);
    EXPECT_EQ(ctx.animation.madAnimations[0], (MadAnimation{"Animation_#1", 0, 1, 0}));
    ASSERT_EQ(ctx.animation.madObjects.size(), 1u);
    const MadObject& gun = ctx.animation.madObjects[0];
    EXPECT_EQ(gun.name, "Gun");
    EXPECT_EQ(gun.animBits, 1u);
    EXPECT_EQ(timesOf(gun), (std::vector<float>{-1, 0, 1, 2}));
    const std::vector<Vector3> positions = {{0, 0, 0}, {0, 0, 0}, {0, 5, 0}, {0, 5, 0}};
    for (size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(gun.keyframes[k].position, positions[k]) << k;
        EXPECT_EQ(gun.keyframes[k].rotation, (Vector3{0, 0, 0})) << k;
        EXPECT_EQ(gun.keyframes[k].tension + gun.keyframes[k].continuity + gun.keyframes[k].bias, 0) << k;
    }
    EXPECT_EQ(links(), (std::vector<int16_t>{-1, 0, -1})) << "objects not in the sequence lose their tracks";
    EXPECT_EQ(page.lstAnimationsIndex, 0);
    EXPECT_EQ(page.txtAnimName, "Animation_#1");
    EXPECT_EQ(page.cmbObjAnimsIndex, 0);
    EXPECT_TRUE(page.keyControlsShown);
    EXPECT_TRUE(ctx.road.keyframesPageEnabled.value_or(false));
    EXPECT_EQ(ctx.preview.playback.isPlaying, 0) << "playback stopped before the import, and No starts none";
    EXPECT_EQ(ctx.preview.playback.playEndTime, 1.0f);
    ASSERT_TRUE(ctx.view.viewObjects[1].interpolator);
    EXPECT_FALSE(ctx.view.viewObjects[2].interpolator);
}

TEST_F(SmdImportTest, YesToThePreviewPlaysTheImport) {
    t.clock.now = 500;
    t.prompts.expectOpen(FileDialogChoice{file(kFixture), 1}).expectYesNo(true, kPreview);
    mnuImportFromSMD_Click(ctx);
    const PlaybackState& play = ctx.preview.playback;
    EXPECT_EQ(play.isPlaying, 1);
    EXPECT_EQ(play.playObject, -1);
    EXPECT_EQ(play.playAnimation, 0);
    EXPECT_EQ(play.playStartTime, 500);
    EXPECT_EQ(page.cmdPlayAnimationCaption, "Stop");
}

TEST_F(SmdImportTest, TwoChildrenOfTheRootKeepTheirOwnPositions) {
    const std::string text =
        "v\nnodes\n0 \"root\" -1\n1 \"Gun\" 0\n2 \"Arm\" 0\nend\nskeleton\ntime 0\n"
        "0 0 0 5 0 0 0\n1 1 2 3 0 0 0\n2 4 5 6 0 0 0\nend\n";
    EXPECT_TRUE(getSMDInfo(ctx, file(text)));
    EXPECT_EQ(ctx.animation.madObjects[0].keyframes[1].position, (Vector3{1, 2, 3}));
    EXPECT_EQ(ctx.animation.madObjects[1].keyframes[1].position, (Vector3{4, 5, 6}));
    EXPECT_EQ(links(), (std::vector<int16_t>{-1, 0, 1}));
}

TEST_F(SmdImportTest, BoneNamesThatMatchNoObject) {
    // "gun" differs in case, "base" is object 0, which is never matched.
    const std::string text = sequence({{"root", -1}, {"gun", 0}, {"Arm", 0}, {"base", 0}}, 2);
    animateBefore();
    const auto animations = ctx.animation.madAnimations;
    const auto tracks = ctx.animation.madObjects;
    t.prompts.expectYesNo(false, kNames);
    EXPECT_FALSE(getSMDInfo(ctx, file(text)));
    EXPECT_EQ(ctx.animation.madAnimations, animations);
    EXPECT_EQ(ctx.animation.madObjects, tracks);
    EXPECT_EQ(links(), (std::vector<int16_t>{-1, 0, 1}));

    t.prompts.expectYesNo(true, kNames);
    EXPECT_TRUE(getSMDInfo(ctx, file(text)));
    ASSERT_EQ(ctx.animation.madObjects.size(), 1u);
    EXPECT_EQ(ctx.animation.madObjects[0].name, "Arm");
    EXPECT_EQ(links(), (std::vector<int16_t>{-1, -1, 0}));
}

TEST_F(SmdImportTest, ThirtyFramesGiveAWindowOfTwentyNineSeconds) {
    EXPECT_TRUE(getSMDInfo(ctx, file(sequence({{"root", -1}, {"Gun", 0}}, 30))));
    EXPECT_EQ(ctx.animation.madAnimations[0].endTime, 29.0f);
    const auto times = timesOf(ctx.animation.madObjects[0]);
    ASSERT_EQ(times.size(), 32u);
    EXPECT_EQ(times.front(), -1);
    EXPECT_EQ(times[1], 0);
    EXPECT_EQ(times.back(), 30);
}

TEST_F(SmdImportTest, ObjectsSharingABonesNameShareItsTrack) {
    ctx.model.peoObjects[2].name = "Gun";
    EXPECT_TRUE(getSMDInfo(ctx, file(sequence({{"root", -1}, {"Gun", 0}}, 2))));
    EXPECT_EQ(links(), (std::vector<int16_t>{-1, 0, 0}));
    EXPECT_TRUE(ctx.view.viewObjects[1].interpolator) << "the preview drives the bone's object";
    EXPECT_FALSE(ctx.view.viewObjects[2].interpolator);

    // A second bone of a taken name is unmatched.
    t.prompts.expectYesNo(true, kNames);
    EXPECT_TRUE(getSMDInfo(ctx, file(sequence({{"root", -1}, {"Gun", 0}, {"Gun", 0}}, 2))));
    EXPECT_EQ(ctx.animation.madObjects.size(), 1u);
}

// The literal scan of the matching with the decided rules: for each node from 1, the objects from 1 in order;
// the first of the node's name wins unless an earlier node took it.
std::vector<int16_t> literalMatches(const EditingContext& ctx, const std::vector<SmdNode>& nodes) {
    std::vector<int16_t> result(nodes.size(), -1);
    for (size_t n = 1; n < nodes.size(); ++n) {
        for (size_t i = 1; i < ctx.model.peoObjects.size(); ++i) {
            if (ctx.model.peoObjects[i].name != nodes[n].name) continue;
            bool taken = false;
            for (size_t e = 1; e < n; ++e) taken = taken || result[e] == int16_t(i);
            if (!taken) result[n] = int16_t(i);
            break;
        }
    }
    return result;
}

TEST_F(SmdImportTest, TheNameMapMatchesAsTheLiteralScan) {
    makeObjects(ctx, {{"root", 0}, {"a", 1}, {"b", 1}, {"a", 1}, {"c", 1}, {"root", 1}, {"B", 1}});
    std::vector<SmdNode> nodes;
    for (const char* name : {"root", "a", "b", "a", "B", "d", "root", "c", "c"}) {
        SmdNode node;
        node.name = name;
        nodes.push_back(node);
    }
    const int matched = matchSmdNodes(ctx, nodes);
    std::vector<int16_t> got;
    for (const SmdNode& node : nodes) got.push_back(node.objectIndex);
    EXPECT_EQ(got, literalMatches(ctx, nodes));
    EXPECT_EQ(got, (std::vector<int16_t>{-1, 1, 2, -1, 6, -1, 5, 4, -1}));
    EXPECT_EQ(matched, 5);
}

TEST_F(SmdImportTest, EveryEarlyEndLeavesTheShipAsItWasAndAsksNoPreview) {
    struct Case {
        const char* name;
        std::string text;
        bool exists;
        std::vector<bool> answers;  // of the bone-name question
        bool report;
    };
    const Case cases[] = {
        {"missing file", kFixture, false, {}, false},
        {"No to the bone names", sequence({{"root", -1}, {"Mast", 0}}, 2), true, {false}, false},
        {"no skeleton", "v\nnodes\n0 \"root\" -1\n1 \"Gun\" 0\nend\n", true, {}, true},
        {"ids out of order", "v\nnodes\n1 \"root\" -1\nend\nskeleton\ntime 0\n1 0 0 0 0 0 0\nend\n", true, {}, true},
    };
    for (const Case& c : cases) {
        animateBefore();
        t.errors.reports.clear();
        const auto animations = ctx.animation.madAnimations;
        const auto tracks = ctx.animation.madObjects;
        const std::string path = c.exists ? file(c.text) : (dir / "none.smd").string();
        t.prompts.expectOpen(FileDialogChoice{path, 1});
        for (bool yes : c.answers) t.prompts.expectYesNo(yes, kNames);
        mnuImportFromSMD_Click(ctx);
        EXPECT_EQ(t.prompts.pending(), 0u) << c.name;
        EXPECT_EQ(t.errors.reports.size(), c.report ? 1u : 0u) << c.name;
        EXPECT_EQ(ctx.animation.madAnimations, animations) << c.name;
        EXPECT_EQ(ctx.animation.madObjects, tracks) << c.name;
        EXPECT_EQ(links(), (std::vector<int16_t>{-1, 0, 1})) << c.name;
        EXPECT_EQ(ctx.preview.playback.isPlaying, 0) << c.name;
        // The lists still show the three animations; the next Add appends the fourth.
        cmdAnimNew_Click(ctx);
        ASSERT_EQ(ctx.animation.madAnimations.size(), 4u) << c.name;
        EXPECT_EQ(ctx.animation.madAnimations[3].name, "Animation_#4") << c.name;
    }
}

TEST_F(SmdImportTest, ARotationOrderThatDoesNotSurviveTheCheckIsAskedAboutPerPose) {
    // A turn of 2 rad about z comes back from the matrix in another quadrant.
    const std::string text =
        "v\nnodes\n0 \"root\" -1\n1 \"Gun\" 0\nend\nskeleton\ntime 0\n0 0 0 0 0 0 0\n"
        "1 1 2 3 0 0 2\ntime 1\n0 0 0 0 0 0 0\n1 1 2 3 0 0 2\nend\n";
    const std::string question =
        "Tarv detected an inappropriate rotation order (i.e. \xC3\xB2ther than Z -> Y -> X)."
        "\r\nYour animation will probably be disrupted. Continue?";
    animateBefore();
    const auto tracks = ctx.animation.madObjects;
    t.prompts.expectYesNo(false, question);
    EXPECT_FALSE(getSMDInfo(ctx, file(text)));
    EXPECT_EQ(ctx.animation.madObjects, tracks);
    EXPECT_EQ(ctx.animation.madAnimations.size(), 3u);

    t.prompts.expectYesNo(true, question).expectYesNo(true, question);
    EXPECT_TRUE(getSMDInfo(ctx, file(text)));
    EXPECT_EQ(t.prompts.shown.back().caption, "Milkshape SMD sequence file import");
    EXPECT_EQ(ctx.animation.madObjects.size(), 1u);
}

TEST_F(SmdImportTest, TheXAxisSample) {
    const auto sample = samplesFolder() / "X_Axis.smd";
    if (!std::filesystem::exists(sample)) GTEST_SKIP() << "no sample folder";
    ctx.model.peoObjects[1].name = "Bone";
    EXPECT_TRUE(getSMDInfo(ctx, sample.string()));
    EXPECT_TRUE(t.errors.reports.empty());
    EXPECT_EQ(ctx.animation.madAnimations[0], (MadAnimation{"Animation_#1", 0, 2, 0}));
    ASSERT_EQ(ctx.animation.madObjects.size(), 1u);
    const MadObject& bone = ctx.animation.madObjects[0];
    EXPECT_EQ(timesOf(bone), (std::vector<float>{-1, 0, 1, 2, 3}));
    const float xs[] = {0, 0, 1, 2, 2};
    for (size_t k = 0; k < 5; ++k) {
        EXPECT_EQ(bone.keyframes[k].position.x, xs[k]) << k;
        EXPECT_NEAR(bone.keyframes[k].rotation.x, -1.570796, 1e-6) << k;
        EXPECT_NEAR(bone.keyframes[k].rotation.y, 0, 1e-6) << k;
        EXPECT_NEAR(bone.keyframes[k].rotation.z, 0, 1e-6) << k;
    }
}

}  // namespace
