// The chunks at every load: the sample ship's .mex or the default chunks, no marker of an earlier ship left
// in the scene, and a load with "Disable MEX file loading" that leaves an empty chunk tree.
#include <gtest/gtest.h>

#include <filesystem>

#include "RoadFixture.h"
#include "attachments/MexSteps.h"
#include "attachments/MexTreeCommands.h"
#include "editor/LoadRoad.h"
#include "editor/SaveCommands.h"
#include "editor/context/EditingContext.h"

namespace tarv::test {
namespace fs = std::filesystem;

namespace {

// Every marker frame in the scene, and how many of them carry their mesh.
struct MarkersInScene {
    int frames = 0, shown = 0;
};
void countMarkers(const scene::FramePtr& frame, MarkersInScene& n) {
    for (const auto& child : frame->children()) {
        if (child->getName().rfind("mex_", 0) == 0) {
            ++n.frames;
            n.shown += !child->visuals().empty();
        }
        countMarkers(child, n);
    }
}

class MexAtLoad : public RoadTest {
protected:
    MarkersInScene markers() {
        MarkersInScene n;
        countMarkers(ctx.view.sceneFrame, n);
        return n;
    }
};

TEST_F(MexAtLoad, EveryLoadEndsWithTheShipsChunksAndNoMarkerOfTheLastOne) {
    loadThisFile(ctx, at("Tarvlet.peo"));
    const int chunks = ctx.mex.mexChunkCount();
    ASSERT_GT(chunks, 2);
    EXPECT_EQ(ctx.mex.mexMeshes.size(), size_t(chunks));
    EXPECT_EQ(markers().frames, chunks);
    EXPECT_EQ(markers().shown, 0);
    treeMex_NodeCheck(ctx, "Root", true);
    EXPECT_GT(markers().shown, 0);

    mnuReload_Click(ctx);
    EXPECT_EQ(ctx.mex.mexChunkCount(), chunks);
    EXPECT_EQ(markers().frames, chunks);
    EXPECT_EQ(markers().shown, 0);

    treeMex_NodeCheck(ctx, "Root", true);
    fs::create_directories(dir.path() / "other");
    const std::string other = (dir.path() / "other" / "Plain.peo").string();
    fs::copy_file(at("Tarvlet_LOD1.peo"), other);
    loadThisFile(ctx, other);
    ASSERT_EQ(ctx.mex.mexChunkCount(), 2);  // the default chunks
    EXPECT_EQ(ctx.mex.mexChunks[0].chunkId, "Col0");
    EXPECT_EQ(ctx.mex.mexChunks[1].chunkId, "Rct0");
    EXPECT_EQ(markers().frames, 2);
    EXPECT_EQ(markers().shown, 0);
    EXPECT_EQ(ctx.mex.treeMex.selectedKey(), "Root");
    EXPECT_TRUE(t.errors.reports.empty());
}

TEST_F(MexAtLoad, AFolderWhereTheMexBelongsIsReportedAndTheShipGetsTheDefaultChunks) {
    const fs::path other = dir.path() / "other";
    fs::create_directories(other / "Plain.mex");
    fs::copy_file(at("Tarvlet_LOD1.peo"), other / "Plain.peo");
    t.prompts.expectMessage(mexIsFolderText((other / "Plain.mex").string()));
    loadThisFile(ctx, (other / "Plain.peo").string());
    EXPECT_EQ(t.prompts.pending(), 0u);
    EXPECT_EQ(ctx.mex.mexChunkCount(), 2);
    EXPECT_TRUE(ctx.model.modelLoaded);
}

// A load with MEX loading disabled after one with chunks: the tree is empty, the commands do nothing, and
// Save All leaves the .mex as it was.
TEST_F(MexAtLoad, DisabledMexLoadingSavesNoChunksOfTheLastShip) {
    loadThisFile(ctx, at("Tarvlet.peo"));
    ASSERT_GT(ctx.mex.mexChunkCount(), 0);
    const std::string mex = (ship / "tarvlet.mex").string();
    ASSERT_TRUE(fs::exists(mex));
    const auto before = readBytes(mex);

    ctx.live.chkMEXload = true;
    loadThisFile(ctx, at("Tarvlet_LOD1.peo"));
    EXPECT_EQ(ctx.mex.treeMex.count(), 0);
    EXPECT_EQ(ctx.mex.mexChunkCount(), 0);
    EXPECT_EQ(markers().frames, 0);
    cmdMexAdd_Click(ctx);
    cmdMexMirror_Click(ctx);
    cmdMexDel_Click(ctx);
    ctx.objects.gunChunkHook->cmdMexAdd_Click(ctx);
    EXPECT_EQ(ctx.mex.mexChunkCount(), 0);

    loadThisFile(ctx, at("Tarvlet.peo"));
    ctx.live.chkMEXload = true;
    mnuReload_Click(ctx);
    EXPECT_EQ(ctx.mex.treeMex.count(), 0);
    mnuSaveAll_Click(ctx);
    EXPECT_EQ(readBytes(mex), before);
    EXPECT_TRUE(t.errors.reports.empty());
}

}  // namespace
}  // namespace tarv::test
