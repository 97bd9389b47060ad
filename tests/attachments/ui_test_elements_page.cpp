// The "Elements" page: the chunk commands in "Chunk Options" beside the chunk tree, and the tree's clicks,
// ticks and double clicks reaching the chunk table.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidgetItemIterator>

#include <QTest>

#include "../model/PeoFixture.h"
#include "CubeFixture.h"
#include "MexFixtures.h"
#include "Screenshot.h"
#include "WindowFixture.h"
#include "attachments/ChunkMarkers.h"
#include "attachments/MexChunkTree.h"
#include "attachments/state/ShipInfoPageState.h"
#include "editor/context/EditingContext.h"
#include "objects/state/ObjectsState.h"
#include "scene/Scene.h"
#include "shell/KeyedTreeWidget.h"

using namespace tarv;
using namespace tarv::test;

namespace {

// The cube "Hull" (corners at +-1) as the .peo lays it out.
FxObject cubeRecord() {
    const PeoObject cube = cubeObject("Hull");
    FxObject o;
    o.name = cube.name;
    for (const PeoVertex& v : cube.vertices) o.vertices.push_back({v.x, v.y, v.z, 0});
    o.vertexNormals = {{0, 0, 1}};
    for (const PeoPolygon& p : cube.polygons) {
        o.polygons.push_back({int16_t(p.v0), int16_t(p.v1), int16_t(p.v2), 0, int32_t(o.faceNormals.size())});
        o.faceNormals.push_back({0, 0, 1});
    }
    for (int i = 0; i < 16; i += 5) o.fileMatrix[size_t(i)] = 1;
    return o;
}

// The ship of the cube "Hull" with the damage points Dmg0 and Dmg1 in its .mex, on the Elements page.
struct ElementsPage : WindowFixture {
    ElementsPage() {
        FxFile peo;
        peo.publicMaterials = {FxMaterial{}};
        peo.objects = {cubeRecord()};
        ByteBuilder mex;
        mexHeader(mex, kHomeworld, 2);
        for (const char* id : {"Dmg0", "Dmg1"}) coneChunk(mex, "Dmg", id, 0, 0, 0, 0, 0, 1, 15, 0);
        window.resize(900, 650);
        openShipDefinition("", buildPeo(peo).data(), {{"ship.mex", mex.data()}});
        EXPECT_TRUE(t.errors.reports.empty()) << t.errors.reports.front().detail;
        clickTab(window.SSTab1, window.pageShipInfo);
        clickTab(window.pageShipInfo->SSTab3, window.pageShipInfo->pageElements);
    }
    // The node, its groups opened to show it.
    QTreeWidgetItem* item(const char* key) {
        QTreeWidgetItem* node = window.treeMex->itemForKey(key);
        if (node) openGroupsOf(window.treeMex, node);
        return node;
    }
    void click(const char* key) {
        QTest::mouseClick(window.treeMex->viewport(), Qt::LeftButton, {},
                          window.treeMex->visualItemRect(item(key)).center());
    }
    void doubleClick(const char* key) {
        const QPoint at = window.treeMex->visualItemRect(item(key)).center();
        QTest::mouseClick(window.treeMex->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(window.treeMex->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(window.treeMex->viewport(), Qt::LeftButton, {}, at);
    }
    void tick(const char* key) {
        QTest::mouseClick(window.treeMex->viewport(), Qt::LeftButton, {}, checkBoxOf(window.treeMex, item(key)));
    }
};

TEST(ElementsPageControls, ChunkOptionsHoldTheCommands) {
    ElementsPage f;
    auto* frame = f.find<QGroupBox>("Frame3");
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->title(), "Chunk Options");
    const std::pair<const char*, const char*> buttons[] = {{"cmdMexAdd", "Add/Clone"},
                                                           {"cmdMexMirror", "Mirror"},
                                                           {"cmdMexDel", "Delete"},
                                                           {"cmdAttachMexFile", "Attach existing MEX file to ship"}};
    for (const auto& [name, caption] : buttons) {
        auto* button = frame->findChild<QPushButton*>(name);
        ASSERT_NE(button, nullptr) << name;
        EXPECT_EQ(button->text(), caption);
    }
    for (const char* axis : {"X", "Y", "Z"}) {
        auto* box = frame->findChild<QCheckBox*>(QString("chkMexMirror") + axis);
        ASSERT_NE(box, nullptr) << axis;
        EXPECT_EQ(box->text(), axis);
    }
    EXPECT_NE(frame->findChild<QLabel*>("lblMexKey"), nullptr);
    // Every node of the chunk tree has its check box, ticked or not.
    for (QTreeWidgetItemIterator it(f.window.treeMex); *it; ++it)
        EXPECT_TRUE((*it)->data(0, Qt::CheckStateRole).isValid()) << (*it)->text(0).toStdString();
    f.window.show();
    saveScreenshotIfAsked(f.window, "elements_page");
}

TEST(ElementsPageControls, ClicksTicksAndCommandsReachTheChunks) {
    ElementsPage f;
    EditingContext& ctx = f.t.ctx;
    ShipInfoPageState& page = *ctx.shipInfoPage;

    ASSERT_EQ(f.item("d1")->checkState(0), Qt::Unchecked);  // a load shows no damage point
    f.tick("d1");                                           // the user's tick
    EXPECT_EQ(ctx.mex.mexMeshes[1].shown, -1);
    EXPECT_TRUE(ctx.mex.treeMex.at("d1").checked);

    f.click("d1");
    EXPECT_EQ(page.lblMexKey, "d1");
    EXPECT_EQ(f.find<QLabel>("lblMexKey")->text(), "d1");
    EXPECT_TRUE(f.find<QPushButton>("cmdMexDel")->isEnabled());

    f.click("dRoot");
    EXPECT_FALSE(f.find<QPushButton>("cmdMexDel")->isEnabled());
    clickOn(f.find<QCheckBox>("chkMexMirrorY"));
    EXPECT_TRUE(page.chkMexMirrorY);

    // Add/Clone selects the new node by program: no click runs, the buttons keep their state.
    clickOn(f.find<QPushButton>("cmdMexAdd"));
    ASSERT_EQ(ctx.mex.mexChunkCount(), 3);
    EXPECT_EQ(ctx.mex.treeMex.selectedKey(), "d2");
    EXPECT_EQ(f.window.treeMex->currentItem(), f.item("d2"));
    EXPECT_EQ(page.lblMexKey, "dRoot");
    EXPECT_FALSE(f.find<QPushButton>("cmdMexDel")->isEnabled());
    EXPECT_EQ(f.item("d2")->checkState(0), Qt::Checked);
    EXPECT_EQ(f.item("dRoot")->text(0), "Damage points (3)");

    // A double click opens "Mex Data".
    f.doubleClick("d2");
    EXPECT_EQ(f.window.pageShipInfo->SSTab3->currentIndex(), 1);
    EXPECT_TRUE(f.t.errors.reports.empty());
}

TEST(ElementsPageControls, RandomDamagePointsRunsFromChunkOptions) {
    ElementsPage f;
    EditingContext& ctx = f.t.ctx;
    auto* cmdRDP = f.find<QGroupBox>("Frame3")->findChild<QPushButton*>("cmdRDP");
    ASSERT_NE(cmdRDP, nullptr);
    EXPECT_EQ(cmdRDP->text(), "Random Damage Points");

    f.t.prompts.expectMessage("Please select an object first");
    clickOn(cmdRDP);

    // The page's two damage points block it until they are deleted.
    clickObjectNode(f.window, "o0");
    ASSERT_EQ(ctx.objects.selectedObject, 0);
    clickTab(f.window.SSTab1, f.window.pageShipInfo);
    f.t.prompts.expectInput("3").expectMessage("Please delete all existing damage points before proceeding");
    clickOn(cmdRDP);
    for (const char* key : {"d0", "d1"}) {
        f.click(key);
        clickOn(f.find<QPushButton>("cmdMexDel"));
    }
    ASSERT_EQ(f.item("d0"), nullptr);

    f.t.random.then({6, 1, 3});
    f.t.prompts.expectInput("3").expectMessage("... randomizing 3 damage points on object Hull ...");
    clickOn(cmdRDP);
    EXPECT_EQ(f.t.prompts.pending(), 0u);
    ASSERT_EQ(ctx.mex.mexChunkCount(), 5);
    const char* const keys[] = {"d2", "d3", "d4"};
    for (int j = 0; j < 3; ++j) {
        QTreeWidgetItem* node = f.item(keys[j]);
        ASSERT_NE(node, nullptr) << keys[j];
        EXPECT_EQ(node->text(0).toStdString(), "Dmg" + std::to_string(j));
        EXPECT_EQ(node->checkState(0), Qt::Checked);
        EXPECT_EQ(ctx.mex.mexMeshes[size_t(2 + j)].shown, -1);
    }
    EXPECT_EQ(ctx.mex.mexChunks[2].position, (Vector3{-1, 1, 1}));  // corner 6 first
    EXPECT_EQ(f.item("dRoot")->text(0), "Damage points (3)");
    EXPECT_TRUE(f.t.errors.reports.empty());
    f.window.show();
    saveScreenshotIfAsked(f.window, "elements_page_damage_points");
}

}  // namespace
