// "Random Damage Points": the count asked for, the outward test on the vertices, the picks from the random
// source, and the damage chunks with their markers and nodes.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "ChunkFixtures.h"
#include "CubeFixture.h"
#include "attachments/MexTreeCommands.h"
#include "attachments/RandomDamagePoints.h"
#include "model/Normals.h"
#include "objects/state/ObjectsState.h"

namespace tarv {
namespace {

using namespace tarv::test;

const std::string kRandomizing8 = "... randomizing 8 damage points on object Hull ...";

struct DamagePoints : ::testing::Test {
    DamagePoints() {
        s.setObjects({cubeObject("Hull")});
        s.ctx.version.appTitle = "TARV";
        s.ctx.objects.selectedObject = 0;
    }
    ScriptedPrompts& prompts() { return s.t.prompts; }
    ScriptedRandomSource& random() { return s.t.random; }
    // The prompts of a run that is asked for answer and reaches randomizeDamagePoints with count.
    void expectRun(const std::string& answer, int count, const std::string& object = "Hull") {
        prompts().expectInput(answer, kDamagePointsPrompt);
        prompts().expectMessage("... randomizing " + std::to_string(count) + " damage points on object " + object +
                                    " ...",
                                "TARV");
    }
    std::vector<Vector3> positionsFrom(int first) {
        std::vector<Vector3> out;
        for (int i = first; i < s.ctx.mex.mexChunkCount(); ++i) out.push_back(s.chunk(i).position);
        return out;
    }
    std::vector<Vector3> corners(std::vector<int> vertices, int object = 0) {
        std::vector<Vector3> out;
        for (int v : vertices) {
            const PeoVertex& p = s.ctx.model.peoObjects[size_t(object)].vertices[size_t(v)];
            out.push_back({p.x, p.y, p.z});
        }
        return out;
    }
    ChunkShip s;
};

TEST_F(DamagePoints, AskingForEveryCornerOfACubeMakesOneDamageChunkPerCornerInVertexOrder) {
    const int sphere = s.add("c", "Col0");  // the new chunks come after it
    expectRun("8", 8);
    cmdRDP_Click(s.ctx);
    EXPECT_TRUE(s.t.errors.reports.empty());
    EXPECT_TRUE(random().counts.empty());  // all candidates are used: nothing is drawn
    ASSERT_EQ(s.ctx.mex.mexChunkCount(), 9);
    ASSERT_EQ(s.ctx.mex.mexMeshes.size(), 9u);
    EXPECT_EQ(positionsFrom(1), corners({0, 1, 2, 3, 4, 5, 6, 7}));
    const PeoObject& hull = s.ctx.model.peoObjects[0];
    for (int j = 0; j < 8; ++j) {
        const int i = sphere + 1 + j;
        const std::string id = "Dmg" + std::to_string(j), key = "d" + std::to_string(i);
        const MexChunk& c = s.chunk(i);
        EXPECT_EQ(c.chunkId, id);
        EXPECT_EQ(c.pointName, id);
        const PeoNormal& n = hull.vertexNormals[size_t(j)];
        EXPECT_EQ(c.normal, (Vector3{n.x, n.y, n.z}));
        // Outward along the corner's diagonal.
        EXPECT_GT(c.normal.x * c.position.x, 0);
        EXPECT_GT(c.normal.y * c.position.y, 0);
        EXPECT_GT(c.normal.z * c.position.z, 0);
        EXPECT_EQ(c.coneAngle, 15);
        EXPECT_EQ(c.edgeAngle, 5);
        EXPECT_EQ(c.colour, (ChunkColour{0, 255, 255}));
        EXPECT_EQ(c.level, 0);
        EXPECT_EQ(c.chunkType, "d");
        // Node ticked as the last child of the group, marker a cyan cone on view.
        ASSERT_NE(s.ctx.mex.treeMex.find(key), nullptr) << key;
        EXPECT_EQ(s.ctx.mex.treeMex.parentOf(key), "dRoot");
        EXPECT_EQ(s.ctx.mex.treeMex.at(key).text, id);
        EXPECT_TRUE(s.ctx.mex.treeMex.at(key).checked);
        EXPECT_EQ(s.marker(i).name, key);
        EXPECT_EQ(s.marker(i).frame->getName(), "mex_" + key);
        EXPECT_EQ(s.marker(i).shown, -1);
        EXPECT_TRUE(s.onView(i));
        EXPECT_GT(s.faceCount(s.marker(i).mesh), 0u);
        EXPECT_EQ(s.colourOf(i), (std::array<int, 3>{0, 255, 255}));
    }
    EXPECT_EQ(s.ctx.mex.treeMex.childrenOf("dRoot").back(), "d8");
    EXPECT_EQ(s.ctx.mex.treeMex.at("dRoot").text, "Damage points (8)");
    EXPECT_EQ(s.markerFrames(), 9);
}

TEST_F(DamagePoints, AskingForMoreThanThereAreCandidatesAddsEveryCandidateAfterSayingSo) {
    prompts().expectInput("20");
    prompts().expectMessage("... randomizing 20 damage points on object Hull ...");
    prompts().expectMessage("Not enough positions identified for new damage points, adding only 8", "TARV");
    cmdRDP_Click(s.ctx);
    EXPECT_TRUE(random().counts.empty());
    EXPECT_EQ(positionsFrom(0), corners({0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(getCounter(s.ctx, "d"), 8);
}

TEST_F(DamagePoints, ACornerDrawnAgainIsDrawnOnceMoreAndAnyCornerCanBePicked) {
    random().then({5, 5, 0, 2});
    expectRun("3", 3);
    cmdRDP_Click(s.ctx);
    EXPECT_EQ(random().runs, 1);
    EXPECT_EQ(random().counts, (std::vector<int32_t>{8, 8, 8, 8}));  // every draw over all eight candidates
    EXPECT_TRUE(random().queue.empty());
    EXPECT_EQ(positionsFrom(0), corners({5, 0, 2}));
    for (int j = 0; j < 3; ++j) EXPECT_EQ(s.chunk(j).chunkId, "Dmg" + std::to_string(j));
    EXPECT_EQ(getCounter(s.ctx, "d"), 3);
}

TEST_F(DamagePoints, PositionsAreTheObjectsOwnCoordinatesWhateverItsMatrix) {
    // A second cube moved 100 along x by its matrix: the damage points sit on its stored corners, in its own
    // coordinates, while chunk positions count in object 0's frame.
    PeoObject moved = cubeObject("Turret", {0, 0, 10});
    moved.matrix.at(0, 3) = 100;
    moved.mother = 1;
    s.setObjects({cubeObject("Hull"), moved});
    s.ctx.objects.selectedObject = 1;
    expectRun("8", 8, "Turret");
    cmdRDP_Click(s.ctx);
    EXPECT_EQ(positionsFrom(0), corners({0, 1, 2, 3, 4, 5, 6, 7}, 1));
    EXPECT_EQ(s.chunk(0).position, (Vector3{-1, -1, 9}));
}

TEST(DamagePointCandidates, OctantsAroundTheBoxCentre) {
    // A box from -1 to 1 (centre 0); a single vertex with its normal.
    struct Case {
        const char* what;
        Vector3 vertex;
        PeoNormal normal;
        bool candidate;
    };
    const Case cases[] = {
        {"+x+y+z corner facing out", {1, 1, 1}, {0.6f, 0.6f, 0.5f}, true},
        {"-x-y-z corner facing out", {-1, -1, -1}, {-0.6f, -0.6f, -0.5f}, true},
        {"+x-y+z corner facing out", {1, -1, 1}, {0.6f, -0.6f, 0.5f}, true},
        {"+x side, normal inward in x", {1, 1, 1}, {-0.2f, 0.7f, 0.7f}, false},
        {"-y side, normal upward in y", {1, -1, 1}, {0.6f, 0.2f, 0.7f}, false},
        {"x at the centre counts as +x", {0, 1, 1}, {0, 0.7f, 0.7f}, true},
        {"x at the centre with a -x normal", {0, 1, 1}, {-0.1f, 0.7f, 0.7f}, false},
        {"every axis at the centre", {0, 0, 0}, {0, 0, 0}, true},
        {"-x side with normal x 0", {-1, 1, 1}, {0, 0.7f, 0.7f}, false},
        {"-y side with normal y 0", {1, -1, 1}, {0.7f, 0, 0.7f}, true},
        {"-z side with normal z 0", {1, 1, -1}, {0.7f, 0.7f, 0}, true},
    };
    for (const Case& c : cases) {
        PeoObject o;
        o.minX = o.minY = o.minZ = -1;
        o.maxX = o.maxY = o.maxZ = 1;
        o.vertices = {{c.vertex.x, c.vertex.y, c.vertex.z}};
        o.vertexNormals = {c.normal};
        EXPECT_EQ(damagePointCandidates(o).size(), c.candidate ? 1u : 0u) << c.what;
    }
    // The centre is the box's, not the vertices' mean; candidates come in ascending vertex order.
    PeoObject o;
    o.minX = 0, o.maxX = 10;
    o.vertices = {{6, 0, 0}, {4, 0, 0}, {5, 0, 0}, {9, 0, 0}};
    o.vertexNormals = {{1, 0, 0}, {-1, 0, 0}, {1, 0, 0}, {-1, 0, 0}};
    EXPECT_EQ(damagePointCandidates(o), (std::vector<int32_t>{0, 1, 2}));
}

TEST_F(DamagePoints, AnInsideOutObjectHasNoCandidatesButItsNormalsAreRenewed) {
    s.setObjects({cubeObject("Hull", {}, 1, true), cubeObject("Other", {5, 5, 5})});
    for (PeoObject& o : s.ctx.model.peoObjects) o.vertexNormals.assign(8, PeoNormal{9, 9, 9});
    prompts().expectInput("4");
    prompts().expectMessage("... randomizing 4 damage points on object Hull ...");
    prompts().expectMessage("No positions were identified for suitable automatic damage point generation", "TARV");
    cmdRDP_Click(s.ctx);
    EXPECT_EQ(s.ctx.mex.mexChunkCount(), 0);
    EXPECT_EQ(getCounter(s.ctx, "d"), 0);
    EXPECT_TRUE(s.ctx.mex.treeMex.childrenOf("dRoot").empty());
    // Every object's normals, the selected one's pointing inwards.
    for (const PeoObject& o : s.ctx.model.peoObjects) {
        PeoObject fresh = o;
        recalcObjectFaceNormals(fresh);
        calcObjectVertexNormals(fresh);
        EXPECT_EQ(o.vertexNormals, fresh.vertexNormals) << o.name;
    }
    EXPECT_LT(s.ctx.model.peoObjects[0].vertexNormals[7].x, 0);
}

TEST_F(DamagePoints, AnObjectWithoutVerticesHasNoCandidates) {
    PeoObject empty;
    empty.name = "Empty";
    s.setObjects({empty});
    prompts().expectInput("4");
    prompts().expectMessage("... randomizing 4 damage points on object Empty ...");
    prompts().expectMessage(kNoDamagePositionsText);
    cmdRDP_Click(s.ctx);
    EXPECT_EQ(s.ctx.mex.mexChunkCount(), 0);
}

TEST_F(DamagePoints, NothingSelectedAsksNothing) {
    s.ctx.objects.selectedObject = -1;
    prompts().expectMessage("Please select an object first", "TARV");
    cmdRDP_Click(s.ctx);
    EXPECT_EQ(s.ctx.mex.mexChunkCount(), 0);
}

TEST_F(DamagePoints, TheInputBoxOffersTenAndRefusedAnswersBringItBack) {
    prompts().expectInput("abc").expectMessage(kEnterIntegerText, "TARV");
    prompts().expectInput("").expectMessage(kEnterIntegerText);
    prompts().expectInput(std::nullopt).expectMessage(kEnterIntegerText);  // Cancel
    prompts().expectInput("3,5").expectMessage(kEnterIntegerText);
    expectRun(" 8 ", 8);
    cmdRDP_Click(s.ctx);
    ASSERT_EQ(prompts().shown.size(), 10u);
    const ShownPrompt& box = prompts().shown[0];
    EXPECT_EQ(box.kind, "input");
    EXPECT_EQ(box.caption, "Number of damage points");
    EXPECT_EQ(box.text, kDamagePointsPrompt);
    EXPECT_EQ(s.ctx.mex.mexChunkCount(), 8);
}

TEST_F(DamagePoints, TheTenthRefusalEndsSilentlyWithNothingChanged) {
    for (int n = 0; n < 9; ++n) prompts().expectInput("x").expectMessage(kEnterIntegerText);
    prompts().expectInput("x");
    cmdRDP_Click(s.ctx);
    EXPECT_EQ(prompts().pending(), 0u);
    EXPECT_EQ(s.ctx.mex.mexChunkCount(), 0);
    EXPECT_TRUE(s.ctx.model.peoObjects[0].vertexNormals.empty());  // the normals were not even renewed
}

TEST_F(DamagePoints, AnswersRoundHalfToEven) {
    const std::pair<const char*, int> answers[] = {{"2.5", 2}, {"3.5", 4}, {"1.5", 2}, {"0.5000001", 1}};
    for (const auto& [answer, count] : answers) {
        resetMexChunkTable(s.ctx);
        addMexTreeDefaults(s.ctx);
        random().queue.assign({0, 1, 2, 3});
        expectRun(answer, count);
        cmdRDP_Click(s.ctx);
        EXPECT_EQ(s.ctx.mex.mexChunkCount(), count) << answer;
    }
}

// A count below 1 or beyond 16 bits would shrink the chunk table: it counts as a refusal, and the
// procedure itself adds nothing for a count below 1.
TEST_F(DamagePoints, CountsBelowOneOrBeyondSixteenBitsAreRefused) {
    s.add("e", "Eng0");
    for (const char* answer : {"0", "-3", "0.4", "40000", "32767.5", "-0.4", "1E999"}) {
        SCOPED_TRACE(answer);
        prompts().expectInput(answer).expectMessage(kEnterIntegerText);
    }
    prompts().expectInput(std::nullopt).expectMessage(kEnterIntegerText);
    prompts().expectInput(std::nullopt).expectMessage(kEnterIntegerText);
    prompts().expectInput(std::nullopt);
    cmdRDP_Click(s.ctx);
    EXPECT_EQ(prompts().pending(), 0u);
    EXPECT_EQ(s.ctx.mex.mexChunkCount(), 1);
    EXPECT_EQ(s.ctx.mex.mexMeshes.size(), 1u);

    for (int16_t n : {int16_t(0), int16_t(-3)}) {
        randomizeDamagePoints(s.ctx, 0, n);  // no prompt: the script is empty
        EXPECT_EQ(s.ctx.mex.mexChunkCount(), 1);
        EXPECT_TRUE(s.ctx.model.peoObjects[0].vertexNormals.empty());
    }

    const std::pair<const char*, int> accepted[] = {{"1", 1}, {"32767", 32767}, {"  7.4  ", 7}, {"1e1", 10}};
    for (const auto& [answer, count] : accepted) EXPECT_EQ(damagePointCount(std::string(answer)), count) << answer;
}

TEST_F(DamagePoints, ExistingDamagePointsBlockTheCommandAfterTheCount) {
    s.add("d", "Hit");
    prompts().expectInput("4");
    prompts().expectMessage("Please delete all existing damage points before proceeding", "TARV");
    cmdRDP_Click(s.ctx);
    EXPECT_EQ(s.ctx.mex.mexChunkCount(), 1);
    EXPECT_TRUE(s.ctx.model.peoObjects[0].vertexNormals.empty());
}

TEST_F(DamagePoints, ADeletedDamagePointDoesNotBlockAndTheIdsStartAgain) {
    const int gone = s.add("d", "Dmg0");
    s.add("g", "Gun0");  // other types never block
    s.ctx.mex.treeMex.setSelected(mexChunkKey('d', gone));
    cmdMexDel_Click(s.ctx);
    ASSERT_EQ(s.chunk(gone).chunkId, kDeletedChunkId);
    expectRun("8", 8);
    cmdRDP_Click(s.ctx);
    ASSERT_EQ(s.ctx.mex.mexChunkCount(), 10);
    EXPECT_EQ(s.chunk(2).chunkId, "Dmg0");
    EXPECT_EQ(s.chunk(9).chunkId, "Dmg7");
    EXPECT_TRUE(s.ctx.mex.treeMex.find("d2"));
    EXPECT_EQ(getCounter(s.ctx, "d"), 8);
}

TEST_F(DamagePoints, ATableThatWouldPassSixteenBitsIsReportedWithNothingAdded) {
    s.ctx.mex.mexChunks.resize(32760);
    s.ctx.mex.mexMeshes.resize(32760);
    expectRun("8", 8);
    cmdRDP_Click(s.ctx);
    ASSERT_EQ(s.t.errors.reports.size(), 1u);
    EXPECT_EQ(s.t.errors.reports[0].number, 6);
    EXPECT_EQ(s.t.errors.reports[0].procedure, "cmdRDP_Click");
    EXPECT_EQ(s.ctx.mex.mexChunkCount(), 32760);
    EXPECT_EQ(s.ctx.mex.mexMeshes.size(), 32760u);
    EXPECT_TRUE(s.ctx.mex.treeMex.childrenOf("dRoot").empty());
    EXPECT_EQ(getCounter(s.ctx, "d"), 0);
}

TEST(DamagePointPicks, ReferenceAndFastPickAlikeOnSeededSources) {
    struct Case {
        uint32_t seed;
        int32_t candidates, count;
    };
    const Case cases[] = {{1, 10, 9}, {7, 1000, 999}, {42, 32767, 3000}, {3, 5, 0}, {9, 100, 1}, {11, 2, 1}};
    for (const Case& c : cases) {
        SeededRandomSource a(c.seed), b(c.seed);
        const std::vector<int32_t> reference = pickDamagePointsReference(a, c.candidates, c.count);
        const std::vector<int32_t> fast = pickDamagePoints(b, c.candidates, c.count);
        EXPECT_EQ(reference, fast) << c.seed;
        EXPECT_EQ(a.uniformIndex(1 << 30), b.uniformIndex(1 << 30)) << "both drew as often, seed " << c.seed;
        ASSERT_EQ(fast.size(), size_t(c.count));
        const std::set<int32_t> distinct(fast.begin(), fast.end());
        EXPECT_EQ(distinct.size(), fast.size());
        if (!fast.empty()) {
            EXPECT_GE(*distinct.begin(), 0);
            EXPECT_LT(*distinct.rbegin(), c.candidates);
        }
    }
}

TEST(RandomSources, SeededPositionsAreUniformAndTheSystemSourceReseedsEachRun) {
    SeededRandomSource seeded(2026);
    int hits[6] = {};
    for (int n = 0; n < 60000; ++n) {
        const int32_t r = seeded.uniformIndex(6);
        ASSERT_TRUE(r >= 0 && r < 6) << r;
        ++hits[r];
    }
    for (int h : hits) EXPECT_NEAR(h, 10000, 500);
    EXPECT_EQ(seeded.uniformIndex(1), 0);

    SystemRandomSource system;
    const auto run = [&] {
        system.startRun();
        std::vector<int32_t> draws;
        for (int n = 0; n < 4; ++n) draws.push_back(system.uniformIndex(1 << 30));
        return draws;
    };
    EXPECT_NE(run(), run());
}

}  // namespace
}  // namespace tarv
