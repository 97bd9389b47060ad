// The gun panel of the "Ship File Data" page: showing a turreted gun of the ship definition, and Apply
// writing the boxes into its record and rebuilding the gun's chunk, down to "&SHP only" on a real file.
#include <gtest/gtest.h>

#include <bit>
#include <functional>

#include "ChunkFixtures.h"
#include "attachments/ChunkEditPanel.h"
#include "attachments/GunPanel.h"
#include "attachments/MexTreeCommands.h"
#include "attachments/ShpFile.h"
#include "model/ModelHelpers.h"

namespace tarv {
namespace {

using namespace tarv::test;

struct GunPanel : ::testing::Test {
    GunPanel() {
        s.ctx.shipInfoPage->mexPanel = &panel;
        s.ctx.version.appTitle = "TARV";
        s.ctx.shipInfoPage->cmbShpGunType.items = {"Fixed", "Turreted", "Missiles", "Mines"};
        s.ctx.shipInfoPage->cmbShpGunType.listIndex = -1;
    }
    ShipFileDataPage& page() { return s.ctx.shipInfoPage->shipFileData; }
    ShpGun& gun(int i) { return s.ctx.shp.shpGuns.at(size_t(i)); }
    KeyedTree& tree() { return s.ctx.mex.treeMex; }
    // A click on chunk i's node: the chunk page laid out for it and, for a turreted gun, the gun panel filled.
    void click(int i) {
        const std::string key = mexChunkKey(s.chunk(i).chunkType[0], i);
        tree().setSelected(key);
        treeMex_NodeClick(s.ctx, key);
    }
    void apply() { cmdApplyShpInfo_Click(s.ctx); }
    ChunkShip s;
    ChunkEditPanel panel;
};

// Showing a gun: its type's entry, lengths and limits as float text, the row captions, joints as stored.
TEST_F(GunPanel, ClickOnATurretedGunFillsThePanel) {
    EXPECT_EQ(page().lblShpGunInfo[3], "Ship Gun Info:");
    EXPECT_EQ(page().lblShpGunInfo[4], "Ship Gun Info:");
    s.loadShp(2);
    ShpGun& g = gun(1);
    g.recoilLength = 0.1f;
    g.barrelLength = -5;
    g.minTurnAngle = -12.5f, g.maxTurnAngle = 1e-5f, g.minDeclination = -0.3333333f, g.maxDeclination = 90;
    g.azimuthJoint = "(none)";
    g.declinationJoint = "(see master GUN0)";
    const int i = s.add("g", "Gun1");
    click(i);
    EXPECT_TRUE(s.ctx.road.shipFileDataPageEnabled.value_or(false));
    EXPECT_EQ(s.ctx.shipInfoPage->cmbShpGunType.listIndex, 1);
    const ShipFileDataPage& p = page();
    EXPECT_EQ(p.txtShpGunInfo, (std::array<std::string, 2>{"0.1", "-5"}));
    EXPECT_EQ(p.txtShpGunAngles, (std::array<std::string, 4>{"-12.5", "1E-05", "-0.3333333", "90"}));
    EXPECT_EQ(p.lblShpGunInfo,
              (std::array<std::string, 5>{"Gun Type:", "Barrel Length:", "Recoil:", "Azimuth:", "Declination:"}));
    EXPECT_EQ(p.txtShpObjAz, "(none)");
    EXPECT_EQ(p.txtShpObjDecl, "(see master GUN0)");
    EXPECT_TRUE(s.t.errors.reports.empty());
}

// Each gun type selects its entry; type 0 none.
TEST_F(GunPanel, TypeListShowsTheStoredType) {
    s.loadShp(1);
    for (int type : {0, 1, 2, 3, 4}) {
        gun(0).gunType = type;
        displayShpGunInfo(s.ctx, 0);
        EXPECT_EQ(s.ctx.shipInfoPage->cmbShpGunType.listIndex, type - 1) << type;
    }
}

// A gun past the end of the table: the error report, and the panel keeps what it showed.
TEST_F(GunPanel, ShowingAGunWithoutARecordReportsAndKeepsThePanel) {
    s.loadShp(1);
    gun(0).barrelLength = 7;
    displayShpGunInfo(s.ctx, 0);
    const ShipFileDataPage before = page();
    for (int16_t g : {int16_t(2), int16_t(-1)}) {
        s.t.errors.reports.clear();
        displayShpGunInfo(s.ctx, g);
        ASSERT_EQ(s.t.errors.reports.size(), 1u) << g;
        EXPECT_EQ(s.t.errors.reports[0].procedure, "displayShpGunInfo");
        EXPECT_EQ(s.t.errors.reports[0].number, 9);
        EXPECT_EQ(page().txtShpGunInfo, before.txtShpGunInfo);
        EXPECT_EQ(page().shownGun, 0);
    }
}

// The edge cases of Apply, one per row, each on a fresh ship whose gun was read as "GUN_VisibleGimble".
TEST_F(GunPanel, ApplyEdgeCases) {
    struct Case {
        const char* name;
        std::function<void(EditingContext&, ShipFileDataPage&)> edit;
        std::function<void(const ShpGun&, const ShipFileDataPage&)> check;
    };
    const std::vector<Case> cases{
        {"empty recoil", [](EditingContext&, ShipFileDataPage& p) { p.txtShpGunInfo[0].clear(); },
         [](const ShpGun& g, const ShipFileDataPage& p) {
             EXPECT_EQ(p.txtShpGunInfo[0], "0");
             EXPECT_EQ(g.recoilLength, 0.0f);
         }},
        {"barrel -3.5", [](EditingContext&, ShipFileDataPage& p) { p.txtShpGunInfo[1] = "-3.5"; },
         [](const ShpGun& g, const ShipFileDataPage& p) {
             EXPECT_EQ(g.barrelLength, 3.5f);
             EXPECT_EQ(p.txtShpGunInfo[1], "-3.5");
         }},
        {"minimum turn -45", [](EditingContext&, ShipFileDataPage& p) { p.txtShpGunAngles[0] = "-45"; },
         [](const ShpGun& g, const ShipFileDataPage&) { EXPECT_EQ(g.minTurnAngle, -45.0f); }},
        {"decimal comma", [](EditingContext&, ShipFileDataPage& p) { p.txtShpGunInfo[1] = "2,5"; },
         [](const ShpGun& g, const ShipFileDataPage&) { EXPECT_EQ(g.barrelLength, 2.0f); }},
        {"Mines chosen",
         [](EditingContext& ctx, ShipFileDataPage&) { ctx.shipInfoPage->cmbShpGunType.listIndex = 3; },
         [](const ShpGun& g, const ShipFileDataPage&) { EXPECT_EQ(g.gunType, 2); }},
        {"joints as typed",
         [](EditingContext&, ShipFileDataPage& p) {
             p.txtShpObjAz = " no such Object ";
             p.txtShpObjDecl = "";
         },
         [](const ShpGun& g, const ShipFileDataPage&) {
             EXPECT_EQ(g.azimuthJoint, " no such Object ");
             EXPECT_EQ(g.declinationJoint, "");
         }},
        {"limits beyond a full turn", [](EditingContext&, ShipFileDataPage& p) { p.txtShpGunAngles[3] = "725x"; },
         [](const ShpGun& g, const ShipFileDataPage&) { EXPECT_EQ(g.maxDeclination, 725.0f); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ChunkShip ship;
        ship.ctx.shipInfoPage->mexPanel = &panel;
        ship.ctx.shipInfoPage->cmbShpGunType = s.ctx.shipInfoPage->cmbShpGunType;
        ship.loadShp(1, 60, 20);
        ship.ctx.shp.shpGuns[0].gunType = 0;
        setGunType(ship.ctx, "GUN_VisibleGimble", 0);
        ship.ctx.shp.shpGuns[0].barrelLength = 1.25f;
        ship.ctx.shp.shpGuns[0].recoilLength = 0.5f;
        ship.ctx.shp.shpGuns[0].azimuthJoint = "Hull";
        const int i = ship.add("g", "Gun0");
        ship.ctx.mex.treeMex.setSelected(mexChunkKey('g', i));
        treeMex_NodeClick(ship.ctx, mexChunkKey('g', i));
        const FixedList& types = ship.ctx.shipInfoPage->cmbShpGunType;
        ASSERT_EQ(types.listIndex, 1);
        EXPECT_EQ(types.items[size_t(types.listIndex)], "Turreted");

        const ShpGun before = ship.ctx.shp.shpGuns[0];
        const scene::MeshPtr marker = ship.marker(i).mesh;
        ShipFileDataPage& p = ship.ctx.shipInfoPage->shipFileData;
        c.edit(ship.ctx, p);
        cmdApplyShpInfo_Click(ship.ctx);
        const ShpGun& after = ship.ctx.shp.shpGuns[0];
        c.check(after, p);
        // Nothing else of the record moved, and the chunk was rebuilt.
        ShpGun rest = after;
        rest.recoilLength = before.recoilLength, rest.barrelLength = before.barrelLength;
        rest.minTurnAngle = before.minTurnAngle, rest.maxDeclination = before.maxDeclination;
        rest.azimuthJoint = before.azimuthJoint, rest.declinationJoint = before.declinationJoint;
        EXPECT_EQ(rest, before);
        EXPECT_NE(ship.marker(i).mesh, marker);
        EXPECT_TRUE(ship.t.errors.reports.empty());
        EXPECT_TRUE(ship.t.prompts.shown.empty());
        EXPECT_EQ(ship.ctx.err.errProc, "cmdApplyShpInfo_Click");  // a later report names the gun panel
    }
}

// A number beyond the 32-bit float range in any box: the message, nothing stored, no rebuild.
TEST_F(GunPanel, ANumberBeyondTheFloatRangeIsRefused) {
    s.loadShp(1, 60, 20);
    const int i = s.add("g", "Gun0");
    click(i);
    for (const char* text : {"1E39", "-3.5E38", "1E400"}) {
        for (int box = 0; box < 6; ++box) {
            SCOPED_TRACE(std::string(text) + " in box " + std::to_string(box));
            displayShpGunInfo(s.ctx, 0);
            const ShpGun before = gun(0);
            const scene::MeshPtr marker = s.marker(i).mesh;
            if (box < 2) {
                page().txtShpGunInfo[size_t(box)] = text;
            } else {
                page().txtShpGunAngles[size_t(box - 2)] = text;
            }
            page().txtShpObjAz = "Changed";
            s.t.prompts.expectMessage("Invalid numeric input. Please check and re-enter.", "TARV");
            apply();
            EXPECT_EQ(s.t.prompts.pending(), 0u);
            EXPECT_EQ(gun(0), before);
            EXPECT_EQ(s.marker(i).mesh, marker);
            EXPECT_TRUE(s.t.errors.reports.empty());
        }
    }
}

// A length box the user did not touch keeps the stored length bit for bit, also a negative one; once
// edited, it stores the absolute value.
TEST_F(GunPanel, AnUneditedLengthKeepsTheStoredValue) {
    s.loadShp(1, 60, 20);
    gun(0).barrelLength = -5.0f;
    gun(0).recoilLength = 0.1234567891f;  // float text "0.1234568" is another float
    const int i = s.add("g", "Gun0");
    click(i);
    const ShpGun before = gun(0);
    apply();
    EXPECT_EQ(std::bit_cast<uint32_t>(gun(0).barrelLength), std::bit_cast<uint32_t>(before.barrelLength));
    EXPECT_EQ(std::bit_cast<uint32_t>(gun(0).recoilLength), std::bit_cast<uint32_t>(before.recoilLength));
    page().txtShpGunInfo[1] = "-5.5";
    apply();
    EXPECT_EQ(gun(0).barrelLength, 5.5f);
    // Typed back to the text first shown after an Apply took the box as edited: still an edit.
    page().txtShpGunInfo[1] = "-5";
    apply();
    EXPECT_EQ(gun(0).barrelLength, 5.0f);
    // A new fill makes the boxes unedited again.
    gun(0).barrelLength = -7.0f;
    displayShpGunInfo(s.ctx, 0);
    apply();
    EXPECT_EQ(gun(0).barrelLength, -7.0f);
    // The boxes filled from another gun are edits for this one.
    s.ctx.shp.shpGuns.insert(s.ctx.shp.shpGuns.begin() + 1, gun(0));
    s.ctx.shp.shpGunCount = 2;
    displayShpGunInfo(s.ctx, 1);
    apply();
    EXPECT_EQ(gun(0).barrelLength, 7.0f);
}

// The gun is the number from the fourth character of the selected node's text, rounded down; a number
// without a record is reported before anything changes; the root and the groups are no chunks.
TEST_F(GunPanel, TheGunComesFromTheSelectedNodesText) {
    struct Case {
        const char* nodeText;
        int written;  // the gun that takes the boxes; -1: none, -2: none and an error report
    };
    const std::vector<Case> cases{{"Gun1", 1}, {"Gun0.9", 0}, {"gun1.99", 1}, {"Gun7", -2},
                                  {"Gun-0.5", -2}, {"Gun70000", -2}, {"Gunner", 0}, {"Gu", 0}};
    s.loadShp(2, 60, 20);
    const int i = s.add("g", "Gun1");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nodeText);
        s.t.errors.reports.clear();
        s.loadShp(2, 60, 20);
        tree().setText(mexChunkKey('g', i), "Gun1");
        click(i);
        tree().setText(mexChunkKey('g', i), c.nodeText);
        page().txtShpGunInfo[0] = "";
        page().txtShpGunAngles[1] = "11";
        const std::vector<ShpGun> before = s.ctx.shp.shpGuns;
        const MexChunk chunk = s.chunk(i);
        const scene::MeshPtr marker = s.marker(i).mesh;
        apply();
        for (int g = 0; g < 2; ++g) {
            if (g == c.written) {
                EXPECT_EQ(gun(g).maxTurnAngle, 11.0f);
                EXPECT_EQ(gun(g).recoilLength, 0.0f);
            } else {
                EXPECT_EQ(gun(g), before[size_t(g)]) << g;
            }
        }
        if (c.written == -2) {
            ASSERT_EQ(s.t.errors.reports.size(), 1u);
            EXPECT_EQ(s.t.errors.reports[0].module, "frmTARV");
            EXPECT_EQ(s.t.errors.reports[0].procedure, "cmdApplyShpInfo_Click");
            EXPECT_EQ(page().txtShpGunInfo[0], "");
            EXPECT_EQ(s.chunk(i), chunk);
            EXPECT_EQ(s.marker(i).mesh, marker);
        } else {
            EXPECT_TRUE(s.t.errors.reports.empty());
            EXPECT_NE(s.marker(i).mesh, marker);
        }
    }
    for (const char* key : {"Root", "gRoot"}) {
        SCOPED_TRACE(key);
        tree().setSelected(key);
        const std::vector<ShpGun> before = s.ctx.shp.shpGuns;
        apply();
        EXPECT_EQ(s.ctx.shp.shpGuns, before);
        EXPECT_TRUE(s.t.errors.reports.empty());
    }
}

// The gun's values are stored before the chunk page's Apply runs: a box of that page that is no number
// stops only the chunk's part.
TEST_F(GunPanel, TheChunkPagesRefusalLeavesTheGunsValuesStored) {
    s.loadShp(1, 60, 20);
    const int i = s.add("g", "Gun0", {1, 2, 3});
    click(i);
    s.ctx.shipInfoPage->mexData.txtMexPos[0].text = "abc";
    page().txtShpGunAngles[0] = "-10";
    const MexChunk chunk = s.chunk(i);
    const scene::MeshPtr marker = s.marker(i).mesh;
    s.t.prompts.expectMessage("Invalid numeric input. Please check and re-enter.", "TARV");
    apply();
    EXPECT_EQ(s.t.prompts.pending(), 0u);
    EXPECT_EQ(gun(0).minTurnAngle, -10.0f);
    EXPECT_EQ(s.chunk(i), chunk);
    EXPECT_EQ(s.marker(i).mesh, marker);
}

// Apply rebuilds the arc on the chunk's frame from scratch: twice gives the placement of once, and of the
// marker the load built.
TEST_F(GunPanel, ApplyTwiceOnAWedgeGunPlacesItsFrameAlike) {
    PeoObject turret = boxObject("Turret", {0, 0, 0}, {1, 1, 1}, 1);
    turret.matrix = eulerToMatrix({0.1f, -0.2f, 0.3f});
    s.setObjects({boxObject("Hull", {-1, -1, -1}, {2, 2, 2}), turret});
    s.loadShp(1, 60, 20);
    gun(0).azimuthJoint = gun(0).declinationJoint = "Turret";
    const int i = s.add("g", "Gun0", {1, 2, 3});
    const scene::Transform loaded = s.marker(i).frame->localTransform();
    const size_t faces = ChunkShip::faceCount(s.marker(i).mesh);
    ASSERT_GT(faces, 0u);
    click(i);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        apply();
        const scene::Transform now = s.marker(i).frame->localTransform();
        for (size_t r = 0; r < 3; ++r) {
            for (size_t c = 0; c < 3; ++c) EXPECT_NEAR(now.m[r][c], loaded.m[r][c], 1e-9);
        }
        EXPECT_NEAR(now.t.x, loaded.t.x, 1e-9);
        EXPECT_NEAR(now.t.y, loaded.t.y, 1e-9);
        EXPECT_NEAR(now.t.z, loaded.t.z, 1e-9);
        EXPECT_EQ(ChunkShip::faceCount(s.marker(i).mesh), faces);
    }
    // A wider azimuth makes a wider arc.
    page().txtShpGunAngles[0] = "-90";
    apply();
    EXPECT_GT(ChunkShip::faceCount(s.marker(i).mesh), faces);
}

// A slaved gun shows and keeps its own limits: Apply draws the master's range but stores nothing of it.
TEST_F(GunPanel, ASlavedGunKeepsItsOwnLimits) {
    s.loadShp(2, 60, 20);
    gun(0).azimuthJoint = gun(0).declinationJoint = "Hull";
    ShpGun& slaved = gun(1);
    slaved.slaveDriver = 0;
    slaved.azimuthJoint = slaved.declinationJoint = "(see master GUN0)";
    slaved.minTurnAngle = -5, slaved.maxTurnAngle = 5, slaved.minDeclination = 0, slaved.maxDeclination = 3;
    // The arc of a slaved gun without bindings asks once per build: at load and at Apply.
    s.t.prompts.expectMessage().expectMessage();
    const int i = s.add("g", "Gun1");
    click(i);
    EXPECT_EQ(page().txtShpGunAngles, (std::array<std::string, 4>{"-5", "5", "0", "3"}));
    const std::vector<ShpGun> before = s.ctx.shp.shpGuns;
    apply();
    EXPECT_EQ(s.ctx.shp.shpGuns, before);
    EXPECT_EQ(s.t.prompts.pending(), 0u);
    EXPECT_TRUE(s.t.errors.reports.empty());
}

// End to end: a turreted gun read from a tab-separated file with barrel -5.0; a recoil edit applied here
// and "&SHP only" change exactly the recoil line, and the file reads back with both values.
TEST_F(GunPanel, ARecoilEditReachesTheFileAndTheBarrelLineStays) {
    const std::vector<std::string> lines{"NUMBER_OF_GUNS\t1",      "GUN\t0",
                                         "{",                      "Type\t\t\tGUN_VisibleGimble",
                                         "BarrelLength\t\t-5.0",   "RecoilLength\t\t1.5",
                                         "MinTurnAngle\t\t-30",    "MaxTurnAngle\t\t30",
                                         "MinDeclination\t\t-10",  "MaxDeclination\t\t10",
                                         "}"};
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    const std::filesystem::path file = s.dir.path() / "Tarvlet.shp";
    writeText(file, text);
    loadShpFile(s.ctx, file.string());
    ASSERT_EQ(s.ctx.shp.shpGunCount, 1);
    ASSERT_EQ(gun(0).barrelLength, -5.0f);
    const int i = s.add("g", "Gun0");
    click(i);
    ASSERT_EQ(page().txtShpGunInfo, (std::array<std::string, 2>{"1.5", "-5"}));
    page().txtShpGunInfo[0] = "2.25";
    apply();
    EXPECT_EQ(gun(0).barrelLength, -5.0f);
    EXPECT_EQ(gun(0).recoilLength, 2.25f);
    ASSERT_TRUE(mnuFileSaveSHP_Click(s.ctx));

    std::vector<std::string> want = lines;
    want[5] = "RecoilLength" + std::string(24, ' ') + "2.25";
    std::string expected;
    for (const std::string& line : want) expected += line + "\r\n";
    EXPECT_EQ(readText(file), expected);

    TempDir other;
    TestContext fresh{other.path()};
    loadShpFile(fresh.ctx, file.string());
    EXPECT_EQ(fresh.ctx.shp.shpGuns[0].barrelLength, -5.0f);
    EXPECT_EQ(fresh.ctx.shp.shpGuns[0].recoilLength, 2.25f);
    EXPECT_TRUE(s.t.errors.reports.empty());
}

}  // namespace
}  // namespace tarv
