#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "ChunkFixtures.h"
#include "MexFixtures.h"
#include "RecordingMexPanel.h"
#include "attachments/MexFile.h"
#include "attachments/MexPanel.h"
#include "attachments/MexSteps.h"
#include "attachments/MexTreeCommands.h"
#include "attachments/ShpFile.h"
#include "base/NumberText.h"
#include "model/LogFiles.h"

namespace tarv {
namespace {

using namespace tarv::test;
namespace fs = std::filesystem;

struct AtLoad : ::testing::Test {
    AtLoad() {
        s.ctx.currentModelPath = (s.dir / "ship.peo").string();
        s.ctx.prefs.alwaysShowBackup = false;
        s.ctx.mex.treeMex.clear();
        s.ctx.shipInfoPage->mexPanel = &recording;
    }
    MexPanelRecord& panel() { return recording.record; }
    ChunkShip s;
    RecordingMexPanel recording;
};

TEST_F(AtLoad, ASingleObjectGetsItsSphereAndBox) {
    s.setObjects({boxObject("Hull", {0, 0, 0}, {2, 4, 4})});
    s.t.status.panels[3] = "MEX";
    checkForMex(s.ctx);
    ASSERT_TRUE(s.t.errors.reports.empty());
    ASSERT_EQ(s.ctx.mex.mexChunkCount(), 2);
    const MexChunk& col = s.chunk(0);
    EXPECT_EQ(col.chunkId, "Col0");
    EXPECT_EQ(col.chunkType, "c");
    EXPECT_EQ(col.level, 1);
    EXPECT_EQ(col.position, (Vector3{1, 2, 2}));
    EXPECT_EQ(col.coneAngle, 3.0f);  // through the farthest corner
    const MexChunk& box = s.chunk(1);
    EXPECT_EQ(box.chunkId, "Rct0");
    EXPECT_EQ(box.chunkType, "r");
    EXPECT_EQ(box.level, 0);
    EXPECT_EQ(box.position, (Vector3{0, 0, 0}));
    EXPECT_EQ(box.normal, (Vector3{2, 4, 4}));
    EXPECT_EQ(s.t.status.panels[3], "");

    KeyedTree& tree = s.ctx.mex.treeMex;
    EXPECT_EQ(tree.childrenOf("Root"),
              (std::vector<std::string>{"gRoot", "dRoot", "eRoot", "kRoot", "sRoot", "nRoot", "c0", "r1"}));
    EXPECT_EQ(tree.at("c0").text, "Collision Sphere");
    EXPECT_EQ(tree.at("r1").text, "Bounding box");
    EXPECT_EQ(tree.selectedKey(), "Root");
    EXPECT_EQ(s.marker(0).frame->getName(), "mex_Col0");
    EXPECT_EQ(s.marker(1).frame->getName(), "mex_Rct0");
    EXPECT_EQ(ChunkShip::faceCount(s.marker(0).mesh), 32u);
    EXPECT_EQ(ChunkShip::faceCount(s.marker(1).mesh), 6u);
    EXPECT_EQ(s.colourOf(0), kWhite);
    EXPECT_EQ(s.colourOf(1), kWhite);
    EXPECT_FALSE(s.onView(0) || s.onView(1));  // no marker on view
}

TEST_F(AtLoad, RootsAtZeroAndTwo) {
    // The sphere sits on the last root, its radius the largest over both roots from their own midpoints.
    s.setObjects({boxObject("Hull", {0, 0, 0}, {2, 2, 2}), boxObject("Child", {50, 50, 50}, {100, 100, 100}, 1),
                  boxObject("Pod", {10, 0, 0}, {2, 0, 0})});
    checkForMex(s.ctx);
    EXPECT_EQ(s.chunk(0).position, (Vector3{11, 0, 0}));
    EXPECT_FLOAT_EQ(s.chunk(0).coneAngle, float(std::sqrt(3.0)));  // object 0's corner from its own midpoint
    EXPECT_EQ(s.chunk(1).position, (Vector3{10, 0, 0}));
    EXPECT_EQ(s.chunk(1).normal, (Vector3{2, 0, 0}));
    EXPECT_EQ(ChunkShip::faceCount(s.marker(1).mesh), 12u);  // one box per root
}

TEST_F(AtLoad, ExactlyTwoObjectsUseObjectZeroForTheSphere) {
    s.setObjects({boxObject("Hull", {0, 0, 0}, {2, 2, 2}), boxObject("Pod", {10, 0, 0}, {40, 0, 0})});
    checkForMex(s.ctx);
    EXPECT_EQ(s.chunk(0).position, (Vector3{1, 1, 1}));
    EXPECT_FLOAT_EQ(s.chunk(0).coneAngle, float(std::sqrt(3.0)));
    EXPECT_EQ(ChunkShip::faceCount(s.marker(1).mesh), 12u);
    EXPECT_EQ(s.chunk(1).position, (Vector3{10, 0, 0}));
}

TEST_F(AtLoad, TheMexBesideTheModelIsRead) {
    ByteBuilder b;
    mexHeader(b, kHomeworld, 2);
    colChunk(b, "Col0", 1, 0, 0, 0, 10);
    coneChunk(b, "Gun", "Gun0", 1, 2, 3, 0, 0, 1, 15, 5);
    writeBytes(s.dir / "SHIP.MEX", b.data());
    s.ctx.prefs.logLevel = 2;
    checkForMex(s.ctx);
    ASSERT_TRUE(s.t.errors.reports.empty());
    ASSERT_EQ(s.ctx.mex.mexChunkCount(), 2);
    EXPECT_EQ(s.ctx.mex.mexMeshes.size(), 2u);
    EXPECT_EQ(s.t.status.panels[3], "MEX");
    EXPECT_FALSE(s.ctx.shipInfoPage->cmdMexDelEnabled);
    EXPECT_EQ(s.ctx.mex.treeMex.selectedKey(), "Root");
    EXPECT_EQ(s.markerFrames(), 2);
    const std::string log = readText(currentLogPath(s.ctx));
    EXPECT_NE(log.find("[2]   chunk: Col0\r\n[2]   chunk: Gun0\r\n"), std::string::npos) << log;
}

TEST_F(AtLoad, AttachReplacesTheChunksAndTheirMarkers) {
    checkForMex(s.ctx);
    treeMex_NodeCheck(s.ctx, "Root", true);
    const scene::FramePtr oldFrame = s.marker(0).frame;
    ByteBuilder b;
    mexHeader(b, kHomeworld, 3);
    coneChunk(b, "Dmg", "Dmg0", 1, 2, 3, 0, 0, 1, 15, 5);
    coneChunk(b, "Dmg", "Dmg1", 1, 2, 3, 0, 0, 1, 15, 5);
    coneChunk(b, "Eng", "Eng0", 1, 2, 3, 0, 0, 1, 15, 5);
    writeBytes(s.dir / "other.mex", b.data());

    // Cancel changes nothing.
    s.t.prompts.expectOpen(std::nullopt);
    cmdAttachMexFile_Click(s.ctx);
    EXPECT_EQ(s.ctx.mex.mexChunkCount(), 2);
    EXPECT_TRUE(s.onView(0));

    s.t.status.logBox = "old lines";
    s.ctx.shipInfoPage->cmdMexDelEnabled = true;
    s.t.prompts.expectOpen(FileDialogChoice{(s.dir / "other.mex").string(), 1});
    cmdAttachMexFile_Click(s.ctx);
    ASSERT_TRUE(s.t.errors.reports.empty());
    ASSERT_GE(s.t.prompts.shown.size(), 2u);
    EXPECT_EQ(s.t.prompts.shown[1].request.filter, "Homeworld MEX Files (*.mex)|*.mex");
    EXPECT_EQ(s.t.prompts.shown[1].request.filterIndex, 1);
    EXPECT_EQ(s.t.prompts.shown[1].request.fileName, "");
    ASSERT_EQ(s.ctx.mex.mexChunkCount(), 3);
    EXPECT_EQ(s.ctx.mex.mexMeshes.size(), 3u);
    EXPECT_EQ(oldFrame->getParent(), nullptr);  // the old frames are gone
    EXPECT_TRUE(oldFrame->visuals().empty());
    EXPECT_EQ(s.markerFrames(), 3);
    EXPECT_EQ(s.ctx.mex.treeMex.selectedKey(), "Root");
    EXPECT_FALSE(s.ctx.shipInfoPage->cmdMexDelEnabled);
    EXPECT_EQ(s.t.status.panels[3], "MEX");
    EXPECT_EQ(s.t.status.logBox.find("old lines"), std::string::npos);
    for (int n = 1; n <= s.ctx.mex.treeMex.count(); ++n) EXPECT_FALSE(s.ctx.mex.treeMex.nodeAt(n).checked);
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(s.onView(i));
    EXPECT_EQ(s.ctx.mex.treeMex.at("dRoot").text, "Damage points (2)");
}

TEST_F(AtLoad, AutoCalc) {
    s.setObjects({boxObject("Hull", {0, 0, 0}, {2, 2, 2}), boxObject("Child", {0, 0, 0}, {1, 1, 1}, 1),
                  boxObject("Pod", {10, 0, 0}, {4, 6, 8})});
    checkForMex(s.ctx);
    const int dmg = s.add("d", "Dmg0");

    // A damage point only hides the button.
    s.ctx.mex.treeMex.setSelected(mexChunkKey('d', dmg));
    cmdBBAutoCalc_Click(s.ctx);
    EXPECT_FALSE(panel().cmdBBAutoCalcVisible);
    EXPECT_EQ(panel().applies, 0);

    // The box takes object 0's box although object 2 is a root too.
    s.ctx.prefs.logLevel = 2;
    s.ctx.mex.treeMex.setSelected("r1");
    cmdBBAutoCalc_Click(s.ctx);
    EXPECT_EQ(panel().txtMexPos, (std::array<std::string, 3>{"0", "0", "0"}));
    EXPECT_EQ(panel().txtMexOrt, (std::array<std::string, 3>{"2", "2", "2"}));
    EXPECT_EQ(panel().applies, 1);

    // The sphere is computed again and applied.
    s.chunk(0).position = {};
    s.chunk(0).coneAngle = 0;
    s.chunk(0).chunkId = "Other";
    s.ctx.mex.treeMex.setSelected("c0");
    cmdBBAutoCalc_Click(s.ctx);
    EXPECT_EQ(s.chunk(0).chunkId, "Col0");
    EXPECT_EQ(s.chunk(0).position, (Vector3{12, 3, 4}));
    EXPECT_EQ(panel().txtMexOrt, (std::array<std::string, 3>{"12", "3", "4"}));
    EXPECT_EQ(panel().txtMexPos[2], floatText(s.chunk(0).coneAngle));
    EXPECT_EQ(panel().applies, 2);
    EXPECT_EQ(s.colourOf(0), kWhite);
    const std::string log = readText(currentLogPath(s.ctx));
    EXPECT_NE(log.find("[2] Auto-calculating bounding box"), std::string::npos);
    EXPECT_NE(log.find("[2] Auto-calculating collision sphere"), std::string::npos);
    EXPECT_TRUE(s.t.errors.reports.empty());
}

// The game files: every chunk gets its marker; bswarmer's unset gun angles give guarded shapes.
TEST(RealChunkFiles, EveryChunkGetsAMarker) {
    const fs::path samples = samplesFolder();
    if (samples.empty()) GTEST_SKIP() << "no samples folder";
    for (const char* name : {"lightinterceptor", "bswarmer"}) {
        SCOPED_TRACE(name);
        ChunkShip s;
        s.ctx.prefs.logLevel = -1;
        s.t.prompts.allowUnused();
        s.t.prompts.answerYesNoCycling({false});
        const fs::path shp = samples / (std::string(name) + ".shp");
        if (fs::exists(shp)) loadShpFile(s.ctx, shp.string());
        getMexInfo(s.ctx, (samples / (std::string(name) + ".mex")).string());
        ASSERT_GT(s.ctx.mex.mexChunkCount(), 0);
        ASSERT_EQ(s.ctx.mex.mexMeshes.size(), s.ctx.mex.mexChunks.size());
        for (int i = 0; i < s.ctx.mex.mexChunkCount(); ++i) {
            if (s.chunk(i).chunkType.empty()) continue;
            ASSERT_TRUE(s.marker(i).mesh) << i;
            EXPECT_GT(ChunkShip::faceCount(s.marker(i).mesh), 0u) << s.chunk(i).chunkId;
        }
        treeMex_NodeCheck(s.ctx, "Root", true);
        scaleMexChunks(s.ctx, 2);
        EXPECT_TRUE(s.t.errors.reports.empty());
    }
}

}  // namespace
}  // namespace tarv
