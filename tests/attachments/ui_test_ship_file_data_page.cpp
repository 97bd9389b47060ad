// The "Ship File Data" page: the gun panel's controls in "Experimental SHP file information", filled by a
// click on a turreted gun's node, typed into and applied.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "Screenshot.h"
#include "WindowFixture.h"
#include "attachments/ChunkMarkers.h"
#include "attachments/MexChunkTree.h"
#include "attachments/state/ShipInfoPageState.h"
#include "editor/context/EditingContext.h"
#include "scene/Scene.h"
#include "shell/KeyedTreeWidget.h"

using namespace tarv;
using namespace tarv::test;

namespace {

struct ShipFileDataPageFixture : WindowFixture {
    ShipFileDataPageFixture() {
        EditingContext& ctx = t.ctx;
        ctx.model.peoObjects.resize(1);
        ctx.model.peoObjects[0].name = "Hull";
        ctx.model.peoObjects[0].matrix = Matrix4::identity();
        ctx.view.viewObjects.resize(1);
        ctx.view.viewObjects[0].frame = scene::createFrame();
        ctx.model.modelExtent = 30;
        ctx.shipInfoPage->cmbShpGunType.items = {"Fixed", "Turreted", "Missiles", "Mines"};
        ctx.shipInfoPage->cmbShpGunType.listIndex = -1;
        ShipDefinition& shp = ctx.shp;
        shp.noShpLoaded = false;
        shp.shpGuns.assign(2, ShpGun{});
        shp.shpGunCount = 1;
        ShpGun& g = shp.shpGuns[0];
        g.gunType = 2;
        g.barrelLength = -5;
        g.recoilLength = 1.5f;
        g.minTurnAngle = -30, g.maxTurnAngle = 30, g.minDeclination = -10, g.maxDeclination = 45.5f;
        g.azimuthJoint = "Hull";
        g.declinationJoint = "(none)";
        addMexTreeDefaults(ctx);
        MexChunk c;
        c.chunkType = "g";
        c.chunkId = "Gun0";
        c.normal = {0, 0, 1};
        ctx.mex.mexChunks.push_back(c);
        ctx.mex.mexMeshes.emplace_back();
        createBlankMexMesh(ctx, c.chunkId, 0);
        buildMarkerShape(ctx, 0, panelMarkerRequest(ctx, c));
        setChunkColour(ctx, 0);
        ctx.mex.treeMex.addChild("gRoot", mexChunkKey('g', 0), c.chunkId);
        setCounter(ctx, 1, "g");
        window.syncFromContext();
        window.resize(900, 650);
        window.SSTab1->setCurrentIndex(window.SSTab1->indexOf(window.pageShipInfo));
    }
    void click(const char* key) {
        QTreeWidgetItem* item = window.treeMex->itemForKey(key);
        window.treeMex->setCurrentItem(item);
        emit window.treeMex->itemClicked(item, 0);
    }
    QLineEdit* box(const char* name) { return find<QLineEdit>(name); }
};

TEST(ShipFileDataPage, TheFrameHoldsTheGunPanel) {
    ShipFileDataPageFixture f;
    auto* frame = f.find<QGroupBox>("Frame8");
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->title(), "Experimental SHP file information");
    EXPECT_EQ(frame->parentWidget(), f.window.pageShipInfo->pageShipFileData);
    // Exactly one type list, in the frame, with the start-up's entries.
    EXPECT_EQ(f.window.findChildren<QComboBox*>("cmbShpGunType").size(), 1);
    auto* types = frame->findChild<QComboBox*>("cmbShpGunType");
    ASSERT_NE(types, nullptr);
    EXPECT_EQ(types->count(), 4);
    EXPECT_EQ(types->itemText(3), "Mines");
    const std::pair<const char*, const char*> labels[] = {
        {"lblShpGunInfo_0", "Gun Type:"},
        {"lblShpGunInfo_1", "Barrel Length:"},
        {"lblShpGunInfo_2", "Recoil:"},
        {"lblShpGunInfo_3", "Ship Gun Info:"},
        {"lblShpGunInfo_4", "Ship Gun Info:"},
        {"lblShpObjAz", "Object steered by gun azimuth control:"},
        {"lblShpObjDecl", "Object steered by gun declination control:"},
        {"Label16",
         "Note: azimuth and declination will appear to be left/right rotations and up/down rotations ONLY if the "
         "objects below are NOT rotated (check their respective matrices)."}};
    for (const auto& [name, caption] : labels) {
        auto* label = frame->findChild<QLabel*>(name);
        ASSERT_NE(label, nullptr) << name;
        EXPECT_EQ(label->text(), caption) << name;
    }
    for (const char* name : {"txtShpGunInfo_0", "txtShpGunInfo_1", "txtShpGunAngles_0", "txtShpGunAngles_1",
                             "txtShpGunAngles_2", "txtShpGunAngles_3", "txtShpObjAz", "txtShpObjDecl"})
        EXPECT_NE(frame->findChild<QLineEdit*>(name), nullptr) << name;
    auto* apply = frame->findChild<QPushButton*>("cmdApplyShpInfo");
    ASSERT_NE(apply, nullptr);
    EXPECT_EQ(apply->text(), "Apply");
}

TEST(ShipFileDataPage, AClickShowsTheGunAndApplyStoresWhatWasTyped) {
    ShipFileDataPageFixture f;
    EditingContext& ctx = f.t.ctx;
    f.click("g0");
    QTabWidget* tabs = f.window.pageShipInfo->SSTab3;
    EXPECT_TRUE(tabs->isTabEnabled(2));
    tabs->setCurrentIndex(2);
    EXPECT_EQ(f.find<QComboBox>("cmbShpGunType")->currentText(), "Turreted");
    EXPECT_EQ(f.box("txtShpGunInfo_0")->text(), "1.5");
    EXPECT_EQ(f.box("txtShpGunInfo_1")->text(), "-5");
    EXPECT_EQ(f.box("txtShpGunAngles_0")->text(), "-30");
    EXPECT_EQ(f.box("txtShpGunAngles_3")->text(), "45.5");
    EXPECT_EQ(f.box("txtShpObjAz")->text(), "Hull");
    EXPECT_EQ(f.box("txtShpObjDecl")->text(), "(none)");
    EXPECT_EQ(f.find<QLabel>("lblShpGunInfo_3")->text(), "Azimuth:");
    EXPECT_EQ(f.find<QLabel>("lblShpGunInfo_4")->text(), "Declination:");
    f.window.show();
    saveScreenshotIfAsked(f.window, "ship_file_data_page");

    QLineEdit* recoil = f.box("txtShpGunInfo_0");
    recoil->selectAll();
    QTest::keyClicks(recoil, "-2.75");
    f.box("txtShpGunAngles_1")->clear();
    QTest::keyClicks(f.box("txtShpGunAngles_1"), "40");
    QTest::keyClicks(f.box("txtShpObjDecl"), "X");
    f.find<QComboBox>("cmbShpGunType")->setCurrentIndex(3);
    const scene::MeshPtr marker = ctx.mex.mexMeshes[0].mesh;
    f.find<QPushButton>("cmdApplyShpInfo")->click();

    const ShpGun& g = ctx.shp.shpGuns[0];
    EXPECT_EQ(g.recoilLength, 2.75f);
    EXPECT_EQ(g.barrelLength, -5.0f);  // untouched box
    EXPECT_EQ(g.maxTurnAngle, 40.0f);
    EXPECT_EQ(g.declinationJoint, "(none)X");
    EXPECT_EQ(g.gunType, 2);
    EXPECT_EQ(recoil->text(), "-2.75");
    EXPECT_NE(ctx.mex.mexMeshes[0].mesh, marker);  // the arc was rebuilt
    EXPECT_TRUE(f.t.errors.reports.empty());
    saveScreenshotIfAsked(f.window, "ship_file_data_page_applied");
}

}  // namespace
