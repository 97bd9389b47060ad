#include <gtest/gtest.h>

#include <algorithm>

#include "ChunkFixtures.h"
#include "attachments/ChunkEditPanel.h"
#include "attachments/MexSteps.h"
#include "attachments/MexTreeCommands.h"

namespace tarv {
namespace {

using namespace tarv::test;

struct EditPanel : ::testing::Test {
    EditPanel() {
        s.ctx.shipInfoPage->mexPanel = &panel;
        s.ctx.version.appTitle = "TARV";
    }
    MexDataPage& page() { return s.ctx.shipInfoPage->mexData; }
    KeyedTree& tree() { return s.ctx.mex.treeMex; }
    // Selects chunk i's node the way a click does: the page laid out for it.
    void click(int i) {
        const std::string key = mexChunkKey(s.chunk(i).chunkType[0], i);
        tree().setSelected(key);
        treeMex_NodeClick(s.ctx, key);
    }
    void apply() { panel.cmdMexEditApply_Click(s.ctx); }
    std::vector<std::string> errorTexts() {
        std::vector<std::string> texts;
        for (const auto& r : s.t.errors.reports) texts.push_back(r.procedure + ": " + r.description);
        return texts;
    }
    ChunkShip s;
    ChunkEditPanel panel;
};

// The page laid out per letter: labels shown with their captions, the boxes they caption, the chunk ID box,
// Apply and the per-type buttons.
TEST_F(EditPanel, LaysThePageOutForEachType) {
    MexChunk chunk;
    chunk.chunkId = "Id0";
    chunk.pointName = "Point";
    chunk.position = {1.5f, 2, 3};
    chunk.normal = {0.1f, 0.2f, 0.3f};
    chunk.coneAngle = 15;
    chunk.edgeAngle = 5;
    chunk.level = 7;
    chunk.colour = {10, 20.5f, 300};
    struct Case {
        std::string letter;
        std::vector<std::string> captions;  // mexLabel 0..8, "-" hidden
        std::vector<std::string> boxes;     // txtMexPos 0..2, txtMexOrt 0..2, txtAngle 0..1, "-" hidden
        bool idEnabled, name, normalise, autoCalc, swatch;
    };
    const std::vector<std::string> pgde{"Pos X", "Pos Y", "Pos Z", "Normal X", "Normal Y", "Normal Z",
                                        "coneAngle", "edgeAngle"};
    const std::vector<std::string> pgdeBoxes{"1.5", "2", "3", "0.1", "0.2", "0.3", "15", "5"};
    auto with = [](std::vector<std::string> v, std::string last) { v.push_back(last); return v; };
    const std::vector<Case> cases{
        {"c", {"Level", "-", "Radius", "Center X", "Center Y", "Center Z", "-", "-", "-"},
         {"7", "-", "15", "1.5", "2", "3", "-", "-"}, true, false, false, true, false},
        {"r", {"Corner X", "Corner Y", "Corner Z", "Size X", "Size Y", "Size Z", "-", "Level", "-"},
         {"1.5", "2", "3", "0.1", "0.2", "0.3", "-", "7"}, true, false, false, true, false},
        {"g", with(pgde, "-"), pgdeBoxes, true, false, true, false, false},
        {"d", with(pgde, "-"), pgdeBoxes, true, false, true, false, false},
        {"e", with(pgde, "-"), pgdeBoxes, true, false, true, false, false},
        {"k", with(pgde, "Chunk Name:"), pgdeBoxes, false, true, true, false, false},
        {"s", with(pgde, "Chunk Name:"), pgdeBoxes, false, true, true, false, false},
        {"n", {"Position X", "Position Y", "Position Z", "Colour R", "Colour G", "Colour B", "-", "-", "Chunk Name:"},
         {"1.5", "2", "3", "10", "20.5", "300", "-", "-"}, false, true, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.letter);
        panel.setMexInputVisible(s.ctx, "", chunk);
        panel.setMexInputVisible(s.ctx, c.letter, chunk);
        const MexDataPage& p = page();
        for (size_t k = 0; k < 9; ++k) {
            EXPECT_EQ(p.mexLabel[k].visible, c.captions[k] != "-") << k;
            if (p.mexLabel[k].visible) {
                EXPECT_EQ(p.mexLabel[k].caption, c.captions[k]);
            }
        }
        const MexDataBox* boxes[8] = {&p.txtMexPos[0], &p.txtMexPos[1], &p.txtMexPos[2], &p.txtMexOrt[0],
                                      &p.txtMexOrt[1], &p.txtMexOrt[2], &p.txtAngle[0],  &p.txtAngle[1]};
        for (size_t k = 0; k < 8; ++k) {
            EXPECT_EQ(boxes[k]->visible, c.boxes[k] != "-") << k;
            EXPECT_EQ(boxes[k]->text, c.boxes[k] == "-" ? "0" : c.boxes[k]) << k;  // hidden boxes hold "0"
        }
        EXPECT_TRUE(p.txtChunkId.visible && p.lblChunkID.visible);
        EXPECT_EQ(p.txtChunkId.text, "Id0");
        EXPECT_EQ(p.txtChunkId.enabled, c.idEnabled);
        EXPECT_EQ(p.txtMexName.visible, c.name);
        if (c.name) {
            EXPECT_EQ(p.txtMexName.text, "Point");
        }
        EXPECT_EQ(p.cmdMexNormaliseVisible, c.normalise);
        EXPECT_EQ(p.cmdBBAutoCalcVisible, c.autoCalc);
        EXPECT_EQ(p.picNavColourVisible && p.lblNavColour.visible, c.swatch);
        EXPECT_TRUE(p.cmdMexEditApplyEnabled);
    }
    // The swatch: each box rounded half to even, above 255 shown as 255.
    EXPECT_EQ(page().picNavColour, 10 + 256 * 20 + 65536 * 255);
    EXPECT_TRUE(s.t.errors.reports.empty());
}

TEST_F(EditPanel, EmptyLetterHidesAndOtherLettersOnlyResetTheBoxes) {
    MexChunk chunk;
    chunk.chunkId = "Nav0";
    chunk.position = {4, 5, 6};
    panel.setMexInputVisible(s.ctx, "n", chunk);
    panel.setMexInputVisible(s.ctx, "R", chunk);  // the root's letter: the boxes go to "0", nothing else
    for (const auto* boxes : {&page().txtMexPos, &page().txtMexOrt})
        for (const auto& box : *boxes) EXPECT_EQ(box.text, "0");
    for (const auto& box : page().txtAngle) EXPECT_EQ(box.text, "0");
    EXPECT_TRUE(page().txtMexPos[0].visible && page().picNavColourVisible && page().mexLabel[8].visible);
    EXPECT_FALSE(page().txtChunkId.enabled);
    EXPECT_TRUE(page().cmdMexEditApplyEnabled);

    panel.setMexInputVisible(s.ctx, "", chunk);
    const MexDataPage& p = page();
    for (const auto& l : p.mexLabel) EXPECT_FALSE(l.visible);
    for (const auto& b : p.txtMexPos) EXPECT_FALSE(b.visible);
    for (const auto& b : p.txtMexOrt) EXPECT_FALSE(b.visible);
    for (const auto& b : p.txtAngle) EXPECT_FALSE(b.visible);
    EXPECT_FALSE(p.txtMexName.visible || p.txtChunkId.visible || p.lblChunkID.visible || p.cmdMexNormaliseVisible ||
                 p.cmdBBAutoCalcVisible || p.picNavColourVisible || p.lblNavColour.visible);
    EXPECT_TRUE(p.txtChunkId.enabled);
    EXPECT_FALSE(p.cmdMexEditApplyEnabled);
}

// A nav light colour box that is not a colour component gives the error report; what was set stays.
TEST_F(EditPanel, NegativeNavColourReportsAndKeepsTheLayout) {
    MexChunk chunk;
    chunk.chunkId = "Nav0";
    chunk.colour = {-5, 0, 0};
    panel.setMexInputVisible(s.ctx, "n", chunk);
    ASSERT_EQ(s.t.errors.reports.size(), 1u);
    EXPECT_EQ(s.t.errors.reports[0].module, "modMex");
    EXPECT_EQ(s.t.errors.reports[0].procedure, "setMexInputVisible");
    EXPECT_EQ(s.t.errors.reports[0].arguments, "n");
    EXPECT_EQ(page().txtMexOrt[0].text, "-5");
    EXPECT_TRUE(page().picNavColourVisible);
}

// Apply copies the page into the chunk per type and renames guns, damage points and engines by ID, dock,
// salvage points and nav lights by name; spheres and boxes keep their node text.
TEST_F(EditPanel, ApplyStoresEachTypeAndRenamesItsNode) {
    s.ctx.prefs.navLightSize = 4;
    struct Case {
        std::string letter, nodeText;
    };
    for (const Case& c : std::vector<Case>{{"c", "Collision Sphere"},
                                           {"r", "Bounding box"},
                                           {"g", "New7"},
                                           {"d", "New7"},
                                           {"e", "New7"},
                                           {"k", "Hangar"},
                                           {"s", "Hangar"},
                                           {"n", "Hangar"}}) {
        SCOPED_TRACE(c.letter);
        const int i = s.add(c.letter, "Old", {}, {0, 0, 1}, 15, 5, "OldName");
        click(i);
        MexDataPage& p = page();
        if (p.txtChunkId.enabled) p.txtChunkId.text = "New7";
        p.txtMexName.text = "Hangar";
        for (int k = 0; k < 3; ++k) {
            p.txtMexPos[size_t(k)].text = std::to_string(k + 1);        // 1 2 3
            p.txtMexOrt[size_t(k)].text = std::to_string(10 * (k + 1));  // 10 20 30
        }
        p.txtAngle[0].text = "45";
        p.txtAngle[1].text = "2.5";
        apply();
        const MexChunk& ch = s.chunk(i);
        const std::string letter = c.letter;
        if (letter == "c") {
            EXPECT_EQ(ch.position, (Vector3{10, 20, 30}));
            EXPECT_EQ(ch.level, 1);
            EXPECT_EQ(ch.coneAngle, 3);
            EXPECT_EQ(ch.chunkId, "New7");
        } else if (letter == "r") {
            EXPECT_EQ(ch.position, (Vector3{1, 2, 3}));
            EXPECT_EQ(ch.normal, (Vector3{10, 20, 30}));
            EXPECT_EQ(ch.level, 2);  // 2.5 to the even 2
        } else if (letter == "n") {
            EXPECT_EQ(ch.position, (Vector3{1, 2, 3}));
            EXPECT_EQ(ch.colour, (ChunkColour{10, 20, 30}));
            EXPECT_EQ(ch.coneAngle, 4);  // the nav light size
            EXPECT_EQ(ch.chunkId, "Old");
            EXPECT_EQ(ch.pointName, "Hangar");
        } else {
            EXPECT_EQ(ch.position, (Vector3{1, 2, 3}));
            EXPECT_EQ(ch.normal, (Vector3{10, 20, 30}));
            EXPECT_EQ(ch.coneAngle, 45);
            EXPECT_EQ(ch.edgeAngle, 2.5f);
            EXPECT_EQ(ch.chunkId, letter == "k" || letter == "s" ? "Old" : "New7");
            EXPECT_EQ(ch.pointName, letter == "k" || letter == "s" ? "Hangar" : "OldName");
        }
        EXPECT_EQ(tree().at(mexChunkKey(letter[0], i)).text, c.nodeText);
        EXPECT_GT(ChunkShip::faceCount(s.marker(i).mesh), 0u);
        EXPECT_EQ(s.colourOf(i), kWhite);
    }
    EXPECT_TRUE(s.t.errors.reports.empty());
    EXPECT_TRUE(s.t.prompts.shown.empty());
}

// Every one of the eight boxes is checked, hidden ones included; nothing changes on a failure. The
// collision sphere's hidden second box holds "0" and passes.
TEST_F(EditPanel, ApplyRefusesLettersInAnyBox) {
    const int i = s.add("c", "Col0", {1, 2, 3}, {}, 4);
    click(i);
    apply();
    EXPECT_TRUE(s.t.prompts.shown.empty());
    const MexChunk before = s.chunk(i);
    const scene::MeshPtr mesh = s.marker(i).mesh;
    for (int k = 0; k < 8; ++k) {
        SCOPED_TRACE(k);
        click(i);
        MexDataPage& p = page();
        MexDataBox* boxes[8] = {&p.txtAngle[0],  &p.txtAngle[1],  &p.txtMexPos[0], &p.txtMexPos[1],
                                &p.txtMexPos[2], &p.txtMexOrt[0], &p.txtMexOrt[1], &p.txtMexOrt[2]};
        for (MexDataBox* b : boxes) b->text = "9";
        boxes[k]->text = "abc";
        s.t.prompts.expectMessage("Invalid numeric input. Please check and re-enter.", "TARV");
        apply();
        EXPECT_EQ(s.chunk(i), before);
        EXPECT_EQ(s.marker(i).mesh, mesh);
    }
    EXPECT_EQ(s.t.prompts.pending(), 0u);
}

// A failed check inside the copy changes nothing: record, node text and marker stay; the report names the
// problem under "updateMexValues".
TEST_F(EditPanel, ApplyChecksEveryValueBeforeStoring) {
    s.loadShp(2);
    struct Case {
        std::string letter, id, box, value, description;
    };
    const std::vector<Case> cases{
        {"g", "Gu", "", "", "Gun chunk ID \"Gu\" is shorter than three characters"},
        {"g", "Gun9", "", "", "Gun chunk ID \"Gun9\" names no gun of the ship definition"},
        {"g", "Gun0", "pos0", "1E39", "Overflow"},
        {"r", "BBox", "angle1", "3E9", "Overflow"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id + " " + c.value);
        const int i = s.add(c.letter, c.letter == "g" ? "Gun1" : "BBox", {1, 1, 1});
        const std::string key = mexChunkKey(c.letter[0], i);
        click(i);
        const MexChunk before = s.chunk(i);
        const std::string text = tree().at(key).text;
        const scene::MeshPtr mesh = s.marker(i).mesh;
        page().txtMexPos[1].text = "8";
        if (c.letter == "g") page().txtChunkId.text = c.id;
        if (c.box == "pos0") page().txtMexPos[0].text = c.value;
        if (c.box == "angle1") page().txtAngle[1].text = c.value;
        s.t.errors.reports.clear();
        apply();
        ASSERT_EQ(s.t.errors.reports.size(), 1u);
        EXPECT_EQ(s.t.errors.reports[0].description, c.description);
        EXPECT_EQ(s.t.errors.reports[0].procedure, "updateMexValues");
        EXPECT_EQ(s.t.errors.reports[0].arguments, c.letter + "|" + std::to_string(i));
        EXPECT_EQ(s.chunk(i), before);
        EXPECT_EQ(tree().at(key).text, text);
        EXPECT_EQ(s.marker(i).mesh, mesh);
    }
}

// Renaming a gun to another number gives it that gun's arc; a hidden marker stays hidden.
TEST_F(EditPanel, RenamedGunTakesTheOtherArcAndHiddenMarkersStayHidden) {
    s.loadShp(2);
    s.ctx.shp.shpGuns[1].minTurnAngle = -180, s.ctx.shp.shpGuns[1].maxTurnAngle = 180;
    s.ctx.shp.shpGuns[1].minDeclination = -90, s.ctx.shp.shpGuns[1].maxDeclination = 90;
    const int other = s.add("g", "Gun1");
    const int i = s.add("g", "Gun0");
    ASSERT_NE(ChunkShip::faceCount(s.marker(other).mesh), ChunkShip::faceCount(s.marker(i).mesh));
    treeMex_NodeCheck(s.ctx, mexChunkKey('g', i), false);
    click(i);
    page().txtChunkId.text = "Gun1";
    apply();
    EXPECT_EQ(ChunkShip::faceCount(s.marker(i).mesh), ChunkShip::faceCount(s.marker(other).mesh));
    EXPECT_FALSE(s.onView(i));
    EXPECT_EQ(s.marker(i).shown, 0);
    EXPECT_EQ(tree().at(mexChunkKey('g', i)).text, "Gun1");
}

// Apply, Zoom act only on a chunk node: the root and the groups are no chunks.
TEST_F(EditPanel, RootAndGroupsAreNoChunks) {
    const int i = s.add("d", "Dmg0", {1, 2, 3});
    s.ctx.view.zoomFrame = scene::createFrame();
    s.ctx.view.cameraFrame = scene::createFrame(s.ctx.view.zoomFrame);
    click(i);
    for (auto& b : page().txtMexPos) b.text = "7";
    const MexChunk before = s.chunk(i);
    const scene::MeshPtr mesh = s.marker(i).mesh;
    for (const char* key : {"Root", "dRoot", "gRoot"}) {
        SCOPED_TRACE(key);
        tree().setSelected(key);
        s.ctx.shipInfoPage->lblMexKey = key;
        apply();
        mexZoom_Click(s.ctx);
        EXPECT_EQ(s.chunk(i), before);
        EXPECT_EQ(s.marker(i).mesh, mesh);
        EXPECT_EQ(s.ctx.view.cameraFrame->getPosition(nullptr), (Vector3{0, 0, 0}));
    }
}

TEST_F(EditPanel, ZoomPutsTheCameraAboveTheChunk) {
    const int i = s.add("e", "Eng0", {1, 2, 3});
    scene::FramePtr orbit = scene::createFrame();
    orbit->setPosition(nullptr, 100, 0, 0);
    s.ctx.view.zoomFrame = scene::createFrame(orbit);
    s.ctx.view.cameraFrame = scene::createFrame(s.ctx.view.zoomFrame);
    mexZoom_Click(s.ctx);  // no node clicked yet
    EXPECT_EQ(s.ctx.view.cameraFrame->getPosition(orbit), (Vector3{0, 0, 0}));
    click(i);
    mexZoom_Click(s.ctx);
    EXPECT_EQ(s.ctx.view.cameraFrame->getPosition(orbit), (Vector3{1, 2, 53}));
    EXPECT_EQ(s.ctx.view.cameraFrame->getPosition(nullptr), (Vector3{101, 2, 53}));
}

TEST_F(EditPanel, NormaliseScalesToUnitLength) {
    struct Case {
        std::array<std::string, 3> in, out;
    };
    for (const Case& c : std::vector<Case>{{{"3", "0", "4"}, {"0.6", "0", "0.8"}},
                                           {{"0", "0", "0"}, {"0", "0", "0"}},
                                           {{"abc", "0", "-2"}, {"0", "0", "-1"}},
                                           {{"1E39", "0", "0"}, {"1", "0", "0"}}}) {
        for (int k = 0; k < 3; ++k) page().txtMexOrt[size_t(k)].text = c.in[size_t(k)];
        cmdMexNormalise_Click(s.ctx);
        for (int k = 0; k < 3; ++k) EXPECT_EQ(page().txtMexOrt[size_t(k)].text, c.out[size_t(k)]) << c.in[0];
    }
}

TEST_F(EditPanel, SwatchOpensTheColourDialog) {
    auto boxes = [&] {
        return std::array<std::string, 3>{page().txtMexOrt[0].text, page().txtMexOrt[1].text, page().txtMexOrt[2].text};
    };
    auto set = [&](std::array<std::string, 3> v) {
        for (int k = 0; k < 3; ++k) page().txtMexOrt[size_t(k)].text = v[size_t(k)];
    };
    set({"1.5", "2.5", "3"});  // halves to even: 2, 2, 3
    s.t.prompts.expectColour(0x00302010);
    picNavColour_Click(s.ctx);
    EXPECT_EQ(boxes(), (std::array<std::string, 3>{"16", "32", "48"}));
    EXPECT_EQ(page().picNavColour, 0x00302010);

    set({"1.5", "2.5", "3"});
    s.t.prompts.expectColour(std::nullopt);  // Cancel: the starting colour
    picNavColour_Click(s.ctx);
    EXPECT_EQ(boxes(), (std::array<std::string, 3>{"2", "2", "3"}));
    EXPECT_EQ(page().picNavColour, 2 + 256 * 2 + 65536 * 3);

    for (const auto& bad : {std::array<std::string, 3>{"-5", "0", "0"}, {"0", "256", "0"}, {"0", "0", "x"}}) {
        set(bad);
        picNavColour_Click(s.ctx);  // silently nothing: no dialog
        EXPECT_EQ(boxes(), bad);
        EXPECT_EQ(page().picNavColour, 2 + 256 * 2 + 65536 * 3);
    }
    ASSERT_EQ(s.t.prompts.shown.size(), 2u);
    EXPECT_EQ(s.t.prompts.shown[0].kind, "colour");
}

// The chunk commands through this panel: Add/Clone rounds the clone through the boxes' float text.
TEST_F(EditPanel, AddCloneRoundsThroughTheBoxes) {
    const int i = s.add("d", "Dmg0", {0.1234567891f, 2, 3});
    click(i);
    cmdMexAdd_Click(s.ctx);
    ASSERT_EQ(s.ctx.mex.mexChunkCount(), 2);
    EXPECT_EQ(s.chunk(1).position.x, 0.1234568f);
    EXPECT_EQ(s.chunk(i).position.x, 0.1234567891f);
}

// The .mex has more gun chunks than the ship definition has guns, so the reader grew the gun table: adding
// or cloning a gun keeps every record with its arc and names a record of the table.
TEST_F(EditPanel, AddingAGunChunkOnlyGrowsTheGunTable) {
    s.loadShp(1);
    for (int g = 0; g < 7; ++g) s.add("g", "Gun" + std::to_string(g));
    s.ctx.shp.shpGuns.resize(8);
    for (int g = 0; g < 8; ++g) s.ctx.shp.shpGuns[size_t(g)].maxTurnAngle = float(10 * g);
    const std::vector<ShpGun> read = s.ctx.shp.shpGuns;
    struct Case {
        const char* selected;
        const char* id;
    };
    const Case cases[] = {{"gRoot", "Gun7"}, {"g3", "Gun8"}, {"gRoot", "Gun9"}};
    for (const Case& c : cases) {
        tree().setSelected(c.selected);
        cmdMexAdd_Click(s.ctx);
        const int made = s.ctx.mex.mexChunkCount() - 1;
        EXPECT_EQ(s.chunk(made).chunkId, c.id);
        EXPECT_GE(s.ctx.shp.shpGuns.size(), size_t(std::stoi(c.id + 3)) + 1) << c.id;
        ASSERT_GE(s.ctx.shp.shpGuns.size(), read.size());
        EXPECT_TRUE(std::equal(read.begin(), read.end(), s.ctx.shp.shpGuns.begin())) << c.id;
    }
    EXPECT_EQ(s.ctx.shp.shpGunCount, 4);
    EXPECT_EQ(errorTexts(), std::vector<std::string>{});
}

// Auto-calc writes object 0's box into the page and applies it.
TEST_F(EditPanel, AutoCalcStoresTheBoundingBox) {
    const int i = s.add("r", "BBox", {9, 9, 9}, {1, 1, 1});
    click(i);
    cmdBBAutoCalc_Click(s.ctx);
    EXPECT_EQ(s.chunk(i).position, (Vector3{-1, -1, -1}));
    EXPECT_EQ(s.chunk(i).normal, (Vector3{2, 2, 2}));
}

// The attachments' install puts this panel in place of the recording default.
TEST(EditPanelInstall, ConnectingTheAttachmentsInstallsThePanel) {
    ChunkShip s;
    connectAttachments(s.ctx);
    EXPECT_NE(dynamic_cast<ChunkEditPanel*>(&mexPanel(s.ctx)), nullptr);
}

}  // namespace
}  // namespace tarv
