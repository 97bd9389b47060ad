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

#include "../model/PeoFixture.h"
#include "MexFixtures.h"
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

// The ship of the object "Hull" and the gun chunk Gun0, whose gun 0 is turreted on Hull's azimuth: barrel -5,
// recoil 1.5, turns -30 to 30, declinations -10 to 45.5.
struct ShipFileDataPageFixture : WindowFixture {
    ShipFileDataPageFixture() {
        FxFile peo;
        peo.publicMaterials = {FxMaterial{}};
        peo.objects = {squareObject("Hull")};
        ByteBuilder mex;
        mexHeader(mex, kHomeworld, 1);
        coneChunk(mex, "Gun", "Gun0", 0, 0, 0, 0, 0, 1, 15, 5);
        window.resize(900, 650);
        openShipDefinition(
            "NUMBER_OF_GUNS\t1\r\nGUN\t0\r\nType\tGUN_NewGimble\r\nBarrelLength\t-5\r\n"
            "RecoilLength\t1.5\r\nBindGun\tHull\tGUN0,Azimuth\r\nminturnangle\t-30\r\n"
            "maxturnangle\t30\r\nmindeclination\t-10\r\nmaxdeclination\t45.5\r\n",
            buildPeo(peo).data(), {{"ship.mex", mex.data()}});
        EXPECT_TRUE(t.errors.reports.empty()) << t.errors.reports.front().detail;
        clickTab(window.SSTab1, window.pageShipInfo);
    }
    void click(const char* key) {
        QTreeWidgetItem* item = window.treeMex->itemForKey(key);
        ASSERT_NE(item, nullptr) << key;
        openGroupsOf(window.treeMex, item);
        QTest::mouseClick(window.treeMex->viewport(), Qt::LeftButton, {},
                          window.treeMex->visualItemRect(item).center());
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
    clickTab(tabs, tabs->widget(2));
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
    typeInto(f.box("txtShpGunAngles_1"), "40");
    f.box("txtShpObjDecl")->setFocus();
    QTest::keyClick(f.box("txtShpObjDecl"), Qt::Key_End);
    QTest::keyClicks(f.box("txtShpObjDecl"), "X");
    chooseWithKeys(f.find<QComboBox>("cmbShpGunType"), 3);
    const scene::MeshPtr marker = ctx.mex.mexMeshes[0].mesh;
    clickOn(f.find<QPushButton>("cmdApplyShpInfo"));

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
