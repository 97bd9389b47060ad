#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include "Screenshot.h"
#include "WindowFixture.h"
#include "objects/ObjectLinks.h"

using namespace tarv;
using tarv::test::WindowFixture;
using tarv::test::clickOn;

namespace {

struct MeshToolsPageFixture : ::testing::Test, WindowFixture {
    MeshToolsPageFixture() {
        t.ctx.version.appTitle = "TARV";
        t.ctx.prefs.logLevel = 0;
    }
    // One object: a lone triangle, object 0's x extent 322.036 so that LOD1 merges within 10.
    void loneTriangle() {
        PeoObject o;
        o.name = "Hull";
        o.matrix = Matrix4::identity();
        o.vertices = {PeoVertex{100, 100, 100, 0, 0}, PeoVertex{300, 100, 100, 0, 0}, PeoVertex{100, 300, 100, 0, 0},
                      PeoVertex{100.1f, 100, 100, 0, 0}};
        o.polygons = {newPolygon(0, 1, 2, 0)};
        o.maxX = 322.036f;
        t.ctx.model.peoObjects.push_back(o);
        t.ctx.model.materials.assign(1, PeoMaterial{});
        t.ctx.model.textures = {PeoTexture{"hull", false}};
        t.ctx.shell.treeHeirachy.addTopLevel(objectKey(0), "Hull");
        window.show();
        tarv::test::clickTab(window.SSTab1, window.pageMeshTools);
    }
};

TEST_F(MeshToolsPageFixture, TheThreeFramesCarryTheirControlsOnTheMeshToolsPage) {
    QWidget* page = window.pageMeshTools;
    const std::pair<const char*, const char*> frames[] = {{"fraDuplicateVertices", "Duplicate vertices"},
                                                          {"fraCreateLOD", "Create Level of Detail mesh"},
                                                          {"fraPolygonTools", "Polygon tools"}};
    for (auto [name, title] : frames) {
        auto* frame = page->findChild<QGroupBox*>(name);
        ASSERT_NE(frame, nullptr) << name;
        EXPECT_EQ(frame->title(), title);
    }
    const std::pair<const char*, const char*> buttons[] = {
        {"checkDupes", "Check"},         {"remDupes", "Remove"},          {"CreateLOD1", "LOD1 !"},
        {"CreateLOD2", "LOD2 !"},        {"CreateLOD3", "LOD3 !"},        {"CreateLOD4", "LOD4 !"},
        {"cmdGoLOD", "Go !"},            {"cmdFixMesh", "Mesh fix-up"}, {"cmdWaterProof", "Watertightness"}};
    for (auto [name, caption] : buttons) {
        auto* b = page->findChild<QPushButton*>(name);
        ASSERT_NE(b, nullptr) << name;
        EXPECT_EQ(b->text(), caption);
    }
    EXPECT_EQ(find<QLineEdit>("txtHighLOD")->text(), "5");
    EXPECT_EQ(find<QLabel>("lblHighLOD")->text(), "Enter higher LOD number");
    const std::pair<const char*, const char*> boxes[] = {{"xzCheck", "Keep symmetry in the XZ-plane"},
                                                         {"yzCheck", "Keep symmetry in the YZ-plane"},
                                                         {"xyCheck", "Keep symmetry in the XY-plane"}};
    for (auto [name, caption] : boxes) {
        auto* box = find<QCheckBox>(name);
        EXPECT_EQ(box->text(), caption);
        EXPECT_FALSE(box->isChecked());
    }
    EXPECT_TRUE(find<QLabel>("lblFixMesh")->text().startsWith("Mesh fix-up removes redundant poly's and vertices."));
    EXPECT_TRUE(find<QLabel>("lblWaterProof")->text().contains("may take a while"));
    window.resize(900, 700);
    window.show();
    tarv::test::clickTab(window.SSTab1, page);
    tarv::test::saveScreenshotIfAsked(window, "mesh_tools_page");
}

TEST_F(MeshToolsPageFixture, CheckShowsTheReportInAnInformationBoxWithItsTitle) {
    loneTriangle();
    t.prompts.expectMessage("One redundant vertex found ." + std::string("\r\n"), "TARV duplicate vertices check");
    clickOn(find<QPushButton>("checkDupes"));
    ASSERT_EQ(t.prompts.shown.size(), 1u);
    EXPECT_EQ(t.prompts.shown[0].icon, PromptIcon::Information);
    EXPECT_EQ(t.ctx.model.peoObjects[0].vertices.size(), 4u);
}

TEST_F(MeshToolsPageFixture, GoRefusesTextOutsideTheRangeAndRunsALevelInside) {
    loneTriangle();
    tarv::test::typeInto(find<QLineEdit>("txtHighLOD"), "abc");
    t.prompts.expectMessage("Please enter a number between 5 and 20", "TARV");
    clickOn(find<QPushButton>("cmdGoLOD"));
    EXPECT_EQ(t.ctx.model.peoObjects[0].vertices.size(), 4u);
    tarv::test::typeInto(find<QLineEdit>("txtHighLOD"), "5");
    t.status.statusHistory.clear();
    t.prompts.expectMessage("Besides removal of only one vertex,\r\n", "TARV");
    clickOn(find<QPushButton>("cmdGoLOD"));
    EXPECT_EQ(t.ctx.model.peoObjects[0].vertices.size(), 3u);
    EXPECT_EQ(t.status.statusHistory.front(), "Reducing to LOD5");
}

TEST_F(MeshToolsPageFixture, FixAndWatertightnessShowTheirBoxes) {
    loneTriangle();
    t.ctx.model.peoObjects[0].vertices.pop_back();
    t.prompts.expectMessage("Object 'Hull' has 1 holes.", "TARV");
    t.prompts.expectYesNo(false, "TARV found 1 mendable holes in your mesh, do wish to continue fixing?");
    clickOn(find<QPushButton>("cmdWaterProof"));
    EXPECT_EQ(t.prompts.shown[1].caption, "TARV face-fix");
    EXPECT_EQ(t.prompts.shown[1].icon, PromptIcon::Question);
    // The collapsed triangle's object is deleted, which leaves its material unused.
    t.prompts.expectMessage("TARV fixed 3 open faces, on 3 polygons.\r\nOne material was marked as unused.",
                            "TARV Loose End Fix");
    clickOn(find<QPushButton>("cmdFixMesh"));
    EXPECT_EQ(t.prompts.shown[2].icon, PromptIcon::Information);
}

}  // namespace
