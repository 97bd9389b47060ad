#include <gtest/gtest.h>

#include "ChunkFixtures.h"
#include "RecordingMexPanel.h"
#include "attachments/MexPanel.h"
#include "attachments/MexSteps.h"
#include "attachments/MexTreeCommands.h"
#include "model/LogFiles.h"
#include "objects/state/ObjectsState.h"

namespace tarv {
namespace {

using namespace tarv::test;

// Records what the commands ask of the panel, in order, besides the record.
class RecordingPanel : public RecordingMexPanel {
public:
    void setMexInputVisible(EditingContext& ctx, const std::string& letter, const MexChunk& chunk) override {
        calls.push_back("visible " + letter + " " + chunk.chunkId);
        RecordingMexPanel::setMexInputVisible(ctx, letter, chunk);
    }
    void cmdMexEditApply_Click(EditingContext& ctx) override {
        calls.push_back("apply " + ctx.mex.treeMex.selectedKey());
        RecordingMexPanel::cmdMexEditApply_Click(ctx);
    }
    void displayShpGunInfo(EditingContext& ctx, int16_t gun) override {
        calls.push_back("gun " + std::to_string(gun));
        RecordingMexPanel::displayShpGunInfo(ctx, gun);
    }
    std::vector<std::string> calls;
};

struct Commands : ::testing::Test {
    Commands() { s.ctx.shipInfoPage->mexPanel = &panel; }
    ShipInfoPageState& page() { return *s.ctx.shipInfoPage; }
    KeyedTree& tree() { return s.ctx.mex.treeMex; }
    void select(const std::string& key) { tree().setSelected(key); }
    std::vector<std::string> childTexts(const std::string& key) {
        std::vector<std::string> texts;
        for (const auto& k : tree().childrenOf(key)) texts.push_back(tree().at(k).text);
        return texts;
    }
    void expectOneList() { EXPECT_EQ(s.ctx.mex.mexMeshes.size(), s.ctx.mex.mexChunks.size()); }
    ChunkShip s;
    RecordingPanel panel;
};

TEST_F(Commands, TicksShowAndHideChunksGroupsAndEverything) {
    const int d0 = s.add("d", "Dmg0"), d1 = s.add("d", "Dmg1"), e0 = s.add("e", "Eng0");
    const int gone = s.add("d", "Dmg2");
    select(mexChunkKey('d', gone));
    cmdMexDel_Click(s.ctx);
    const int rendersBefore = s.canvas.renders;

    // A chunk: on view in its own colour, even after a white highlight.
    whitenChunkMarker(s.ctx, d0);
    treeMex_NodeCheck(s.ctx, "d0", true);
    EXPECT_TRUE(s.onView(d0));
    EXPECT_TRUE(tree().at("d0").checked);
    EXPECT_EQ(s.colourOf(d0), (std::array<int, 3>{0, 255, 255}));
    EXPECT_EQ(s.canvas.renders, rendersBefore + 1);
    treeMex_NodeCheck(s.ctx, "d0", false);
    EXPECT_FALSE(s.onView(d0));
    EXPECT_EQ(s.marker(d0).shown, 0);

    // A group: its own chunks only, each in its colour.
    treeMex_NodeCheck(s.ctx, "d1", true);
    whitenChunkMarker(s.ctx, d1);
    treeMex_NodeCheck(s.ctx, "dRoot", true);
    EXPECT_TRUE(s.onView(d0) && s.onView(d1));
    EXPECT_EQ(s.colourOf(d1), (std::array<int, 3>{0, 255, 255}));
    EXPECT_FALSE(s.onView(e0));
    EXPECT_FALSE(s.onView(gone));
    treeMex_NodeCheck(s.ctx, "dRoot", false);
    EXPECT_FALSE(s.onView(d0) || s.onView(d1));
    EXPECT_FALSE(tree().at("d1").checked);

    // The root: every node; a marker already shown keeps its white.
    treeMex_NodeCheck(s.ctx, "d1", true);
    whitenChunkMarker(s.ctx, d1);
    treeMex_NodeCheck(s.ctx, "Root", true);
    for (int n = 1; n <= tree().count(); ++n) EXPECT_TRUE(tree().nodeAt(n).checked) << tree().nodeAt(n).key;
    EXPECT_TRUE(s.onView(d0) && s.onView(d1) && s.onView(e0));
    EXPECT_EQ(s.colourOf(d1), kWhite);
    EXPECT_FALSE(s.onView(gone));  // a deleted chunk has no node
    treeMex_NodeCheck(s.ctx, "Root", false);
    EXPECT_FALSE(s.onView(d0) || s.onView(d1) || s.onView(e0));
    EXPECT_TRUE(s.t.errors.reports.empty());
}

TEST_F(Commands, ClicksHighlightOneChunkAndSetTheButtons) {
    const int d0 = s.add("d", "Dmg0"), d1 = s.add("d", "Dmg1");
    s.add("c", "Col0");
    s.add("r", "Rct0");
    treeMex_NodeCheck(s.ctx, "Root", true);

    treeMex_NodeClick(s.ctx, "d0");
    EXPECT_EQ(s.colourOf(d0), kWhite);
    EXPECT_EQ(page().lblMexKey, "d0");
    EXPECT_EQ(panel.record.letter, "d");
    treeMex_NodeClick(s.ctx, "d1");
    EXPECT_EQ(s.colourOf(d0), (std::array<int, 3>{0, 255, 255}));
    EXPECT_EQ(s.colourOf(d1), kWhite);
    EXPECT_EQ(panel.calls, (std::vector<std::string>{"visible  ", "visible d Dmg0", "visible  ", "visible d Dmg1"}));

    struct Row {
        const char* key;
        bool add, del;
        const char* panelLetter;
    };
    const Row rows[] = {{"Root", false, false, ""}, {"c2", false, false, "c"},  {"r3", false, false, "r"},
                        {"dRoot", true, false, ""}, {"gRoot", true, false, ""}, {"d0", true, true, "d"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.key);
        page().cmdMexAddEnabled = page().cmdMexDelEnabled = !r.add;
        treeMex_NodeClick(s.ctx, r.key);
        EXPECT_EQ(page().cmdMexAddEnabled, r.add);
        EXPECT_EQ(page().cmdMexDelEnabled, r.del);
        EXPECT_EQ(panel.record.letter, r.panelLetter);
        EXPECT_EQ(s.ctx.road.shipFileDataPageEnabled, std::optional<bool>(false));
    }
}

TEST_F(Commands, GunPageOnlyForATypeTwoGunWithARecord) {
    struct Row {
        const char* what;
        const char* id;
        bool shp;
        int32_t type;
        bool page;
    };
    const Row rows[] = {
        {"type 2 gun", "Gun1", true, 2, true}, {"any case", "gUN1", true, 2, true},
        {"type 1", "Gun1", true, 1, false},    {"no .shp", "Gun1", false, 2, false},
        {"no record", "Gun7", true, 2, false}, {"not a gun id", "Rep1", true, 2, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        ChunkShip ship;
        RecordingPanel rec;
        ship.ctx.shipInfoPage->mexPanel = &rec;
        ship.loadShp(2);
        ship.ctx.shp.shpGuns[1].gunType = r.type;
        if (!r.shp) ship.ctx.shp.noShpLoaded = true;
        const int i = ship.add("g", r.id);
        treeMex_NodeClick(ship.ctx, mexChunkKey('g', i));
        EXPECT_EQ(ship.ctx.road.shipFileDataPageEnabled, std::optional<bool>(r.page));
        EXPECT_EQ(rec.record.shownGun, r.page ? 1 : -1);
    }
}

TEST_F(Commands, DoubleClickOpensAnEnabledMexDataPage) {
    treeMex_DblClick(s.ctx);
    EXPECT_EQ(s.ctx.road.ssTab3Page, 1);
    s.ctx.road.ssTab3Page = -1;
    page().mexDataPageEnabled = false;
    treeMex_DblClick(s.ctx);
    EXPECT_EQ(s.ctx.road.ssTab3Page, -1);
}

TEST_F(Commands, AddUnderAGroupAsksThePanelThenColours) {
    s.loadShp(1);
    select("gRoot");
    page().cmdMexDelEnabled = false;
    cmdMexAdd_Click(s.ctx);
    ASSERT_EQ(s.ctx.mex.mexChunkCount(), 1);
    const MexChunk& c = s.chunk(0);
    EXPECT_EQ(c.chunkId, "Gun0");
    EXPECT_EQ(c.chunkType, "g");
    EXPECT_EQ(panel.calls, (std::vector<std::string>{"visible g Gun0", "apply g0"}));
    EXPECT_EQ(s.marker(0).frame->getName(), "mex_gNewChunk");
    EXPECT_TRUE(s.onView(0));
    EXPECT_TRUE(tree().at("g0").checked);
    EXPECT_EQ(tree().parentOf("g0"), "gRoot");
    EXPECT_EQ(tree().at("gRoot").text, "Guns (1)");
    EXPECT_EQ(s.colourOf(0), (std::array<int, 3>{255, 0, 0}));  // the chunk colour after Apply's white
    EXPECT_GT(ChunkShip::faceCount(s.marker(0).mesh), 0u);
    // A gun-table record; the program's selection ran no click.
    EXPECT_EQ(s.ctx.shp.shpGunCount, 2);
    EXPECT_EQ(s.ctx.shp.shpGuns.size(), 3u);
    EXPECT_EQ(tree().selectedKey(), "g0");
    EXPECT_TRUE(page().cmdMexAddEnabled);
    EXPECT_FALSE(page().cmdMexDelEnabled);
    EXPECT_EQ(page().lblMexKey, "");
    expectOneList();
}

TEST_F(Commands, EdgeCasesOfAddCloneMirrorAndDelete) {
    // Docks: "DOCK" twice, named Dock0 and Dock1.
    select("kRoot");
    cmdMexAdd_Click(s.ctx);
    select("kRoot");
    cmdMexAdd_Click(s.ctx);
    EXPECT_EQ(s.chunk(0).chunkId, "DOCK");
    EXPECT_EQ(s.chunk(1).chunkId, "DOCK");
    EXPECT_EQ(childTexts("kRoot"), (std::vector<std::string>{"Dock0", "Dock1"}));
    EXPECT_EQ(tree().at("kRoot").text, "Docking points (2)");

    // A clone of Gun3 among Gun0 to Gun7 is Gun8, under Guns, keyed by its index.
    ChunkShip guns;
    for (int i = 0; i < 8; ++i) guns.add("g", "Gun" + std::to_string(i), {float(i), 0, 0});
    guns.ctx.mex.treeMex.setSelected("g3");
    cmdMexAdd_Click(guns.ctx);
    EXPECT_EQ(guns.chunk(8).chunkId, "Gun8");
    EXPECT_EQ(guns.chunk(8).position, (Vector3{3, 0, 0}));
    EXPECT_EQ(guns.ctx.mex.treeMex.parentOf("g8"), "gRoot");
    EXPECT_EQ(guns.marker(8).frame->getName(), "mex_g8");

    // Gun00 makes Gun001.
    ChunkShip zeros;
    zeros.add("g", "Gun00");
    zeros.ctx.mex.treeMex.setSelected("gRoot");
    cmdMexAdd_Click(zeros.ctx);
    EXPECT_EQ(zeros.chunk(1).chunkId, "Gun001");

    // Mirror along X, then along X and Z.
    ChunkShip m;
    m.add("d", "Dmg0", {1, 2, 3}, {0, 1, 0});
    m.ctx.shipInfoPage->chkMexMirrorX = true;
    m.ctx.mex.treeMex.setSelected("d0");
    cmdMexMirror_Click(m.ctx);
    EXPECT_EQ(m.chunk(1).position, (Vector3{-1, 2, 3}));
    EXPECT_EQ(m.chunk(1).normal, (Vector3{-0.0f, 1, 0}));
    m.ctx.shipInfoPage->chkMexMirrorZ = true;
    m.ctx.mex.treeMex.setSelected("d0");
    cmdMexMirror_Click(m.ctx);
    EXPECT_EQ(m.chunk(2).position, (Vector3{-1, 2, -3}));
    EXPECT_EQ(m.chunk(2).chunkId, "Dmg2");
    EXPECT_EQ(m.ctx.mex.treeMex.at("dRoot").text, "Damage points (3)");
    EXPECT_GE(m.canvas.refreshes, 2);
    EXPECT_EQ(m.ctx.mex.mexMeshes.size(), 3u);

    // Delete under Guns (3).
    ChunkShip d;
    for (int i = 0; i < 3; ++i) d.add("g", "Gun" + std::to_string(i));
    treeMex_NodeCheck(d.ctx, "g1", true);
    d.ctx.prefs.logLevel = 2;
    d.ctx.mex.treeMex.setSelected("g1");
    cmdMexDel_Click(d.ctx);
    EXPECT_EQ(d.ctx.mex.treeMex.at("gRoot").text, "Guns (2)");
    EXPECT_EQ(d.chunk(1).chunkId, "**DELETED**");
    EXPECT_EQ(d.marker(1).name, "**DELETED**");
    EXPECT_FALSE(d.onView(1));
    EXPECT_EQ(d.ctx.mex.mexChunkCount(), 3);
    EXPECT_EQ(d.ctx.mex.treeMex.find("g1"), nullptr);
    EXPECT_EQ(d.ctx.mex.treeMex.selectedKey(), "gRoot");  // the group takes the selection
    EXPECT_EQ(d.ctx.road.shipFileDataPageEnabled, std::optional<bool>(false));
}

TEST_F(Commands, DeleteLogsItsLines) {
    s.ctx.prefs.logLevel = 2;
    s.add("e", "Eng0");
    select("e0");
    cmdMexDel_Click(s.ctx);
    const std::string log = readText(currentLogPath(s.ctx));
    EXPECT_NE(log.find("Deleting Mex chunk: Eng0"), std::string::npos) << log;
    EXPECT_NE(log.find("  -> Key: 0 Name: **DELETED**"), std::string::npos) << log;
}

TEST_F(Commands, MirrorDoesWhatAddDoes) {
    s.loadShp(1);
    select("dRoot");
    cmdMexMirror_Click(s.ctx);
    EXPECT_EQ(s.chunk(0).coneAngle, 15.0f);
    EXPECT_EQ(s.chunk(0).edgeAngle, 5.0f);
    select("gRoot");
    cmdMexMirror_Click(s.ctx);
    EXPECT_EQ(s.ctx.shp.shpGunCount, 2);
    select("g1");
    cmdMexMirror_Click(s.ctx);
    EXPECT_EQ(s.ctx.shp.shpGunCount, 3);
    EXPECT_TRUE(page().cmdMexAddEnabled);  // Mirror leaves Add/Clone alone
    page().cmdMexAddEnabled = false;
    select("g1");
    cmdMexMirror_Click(s.ctx);
    EXPECT_FALSE(page().cmdMexAddEnabled);

    // A mirrored collision sphere hangs under the root.
    const int col = s.add("c", "Col0", {1, 0, 0}, {}, 5);
    select(mexChunkKey('c', col));
    cmdMexMirror_Click(s.ctx);
    const int made = s.ctx.mex.mexChunkCount() - 1;
    EXPECT_EQ(s.chunk(made).chunkId, "Collision Sphere1");
    EXPECT_EQ(tree().parentOf(mexChunkKey('c', made)), "Root");
    EXPECT_EQ(tree().at(mexChunkKey('c', made)).text, "Collision Sphere1");
    expectOneList();
}

TEST_F(Commands, RootRefusesAddAndMirror) {
    s.add("d", "Dmg0");
    s.t.prompts.expectMessage("Can't add from root!").expectMessage("Can't add from root!");
    select("Root");
    cmdMexAdd_Click(s.ctx);
    EXPECT_FALSE(page().cmdMexAddEnabled);  // until the next click
    cmdMexMirror_Click(s.ctx);
    EXPECT_EQ(s.ctx.mex.mexChunkCount(), 1);
    EXPECT_TRUE(s.t.errors.reports.empty());
}

TEST_F(Commands, AddReEnablesItsButtonBeforeTheReport) {
    tree().addChild("gRoot", "g5", "Gun5");  // a node whose chunk is not in the table
    select("g5");
    cmdMexAdd_Click(s.ctx);
    ASSERT_EQ(s.t.errors.reports.size(), 1u);
    EXPECT_EQ(s.t.errors.reports[0].module, "frmTARV");
    EXPECT_EQ(s.t.errors.reports[0].procedure, "cmdMexAdd_Click");
    EXPECT_TRUE(page().cmdMexAddEnabled);
    expectOneList();
}

// With the root or a group selected, Apply, Mirror, Auto-calc and Delete leave chunk 0 alone.
TEST_F(Commands, RootAndGroupsAreNoChunks) {
    RecordingMexPanel recording;
    page().mexPanel = &recording;
    const int col = s.add("c", "Col0", {1, 2, 3}, {}, 4);
    const int gun = s.add("g", "Gun0");
    const MexChunk before = s.chunk(col);
    for (const char* key : {"Root", "gRoot", "dRoot"}) {
        SCOPED_TRACE(key);
        select(key);
        EXPECT_EQ(selectedChunkIndex(s.ctx), -1);
        const scene::MeshPtr mesh = s.marker(col).mesh;
        mexPanel(s.ctx).cmdMexEditApply_Click(s.ctx);
        EXPECT_EQ(s.marker(col).mesh, mesh);
        recording.record.cmdBBAutoCalcVisible = true;
        cmdBBAutoCalc_Click(s.ctx);
        EXPECT_FALSE(recording.record.cmdBBAutoCalcVisible);
        cmdMexDel_Click(s.ctx);
        EXPECT_EQ(s.chunk(col), before);
    }
    select("gRoot");
    cmdMexMirror_Click(s.ctx);  // a new gun, chunk 0 untouched
    EXPECT_EQ(s.chunk(col), before);
    EXPECT_EQ(s.chunk(2).chunkId, "Gun1");
    select(mexChunkKey('g', gun));
    EXPECT_EQ(selectedChunkIndex(s.ctx), gun);
}

// The gun-chunk hook on an empty tree changes nothing; on the skeleton with "gRoot" selected it adds Gun0.
TEST_F(Commands, GunChunkHookNeedsASelection) {
    connectAttachments(s.ctx);
    ASSERT_NE(s.ctx.objects.gunChunkHook, nullptr);
    tree().clear();
    s.ctx.objects.gunChunkHook->cmdMexAdd_Click(s.ctx);
    cmdMexMirror_Click(s.ctx);
    cmdMexDel_Click(s.ctx);
    EXPECT_EQ(s.ctx.mex.mexChunkCount(), 0);
    EXPECT_EQ(tree().count(), 0);
    EXPECT_TRUE(s.t.errors.reports.empty());

    addMexTreeDefaults(s.ctx);
    s.ctx.objects.gunChunkHook->cmdMexAdd_Click(s.ctx);  // nothing selected yet
    EXPECT_EQ(s.ctx.mex.mexChunkCount(), 0);
    select("gRoot");
    s.ctx.objects.gunChunkHook->cmdMexAdd_Click(s.ctx);
    ASSERT_EQ(s.ctx.mex.mexChunkCount(), 1);
    EXPECT_EQ(s.chunk(0).chunkId, "Gun0");
    EXPECT_TRUE(s.t.errors.reports.empty());
}

}  // namespace
}  // namespace tarv
