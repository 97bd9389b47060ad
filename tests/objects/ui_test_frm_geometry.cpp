// The Geometry Inspector opened from a face entry of the Material Properties dialog's face list.
#include <gtest/gtest.h>

#include <algorithm>

#include <QApplication>
#include <QTimer>

#include "Screenshot.h"
#include "WindowFixture.h"
#include "materials/MaterialProperties.h"
#include "materials/state/MaterialsPageState.h"
#include "objects/GeometryRows.h"
#include "objects/ui/frmGeometry.h"

namespace tarv {
namespace {

struct GeometryInspectorTest : test::WindowFixture, ::testing::Test {
    GeometryInspectorTest() {
        PeoObject o;
        o.vertices = {{1.5f, 2, 3, 2}, {4, 5, 6, 0}};
        o.nFaceNormals = 2;
        o.vertexNormals = {{0, 0, 1}};
        o.polygons = {newPolygon(1, 0, 0, 0), newPolygon(0, 0, 0, 0), newPolygon(0, 5, 0, 0)};
        t.ctx.model.peoObjects = {PeoObject{}, o};
    }
    // Opens the inspector on the entry and returns what its lists held, closing it with "Close".
    std::pair<int, int> open(const std::string& entry) {
        std::pair<int, int> counts{-1, -1};
        QTimer::singleShot(0, [&] {
            auto* dialog = window.findChild<frmGeometry*>("frmGeometry");
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), "Geometry Inspector");
            EXPECT_EQ(dialog->ListView1->headerItem()->text(4), "Normal");
            EXPECT_EQ(dialog->ListView1->columnCount(), 5);
            EXPECT_EQ(dialog->ListView2->columnCount(), 4);
            EXPECT_EQ(dialog->lblObjNo->text(), QString::fromStdString(entry.substr(0, entry.find(' '))));
            counts = {dialog->ListView1->topLevelItemCount(), dialog->ListView2->topLevelItemCount()};
            // Activated again (another window in between): no second filling, no second message.
            const size_t shown = t.prompts.shown.size();
            QWidget other;
            other.show();
            other.activateWindow();
            QApplication::processEvents();
            dialog->activateWindow();
            QEvent activation(QEvent::WindowActivate);
            QApplication::sendEvent(dialog, &activation);
            QApplication::processEvents();
            EXPECT_EQ(dialog->ListView1->topLevelItemCount(), counts.first);
            EXPECT_EQ(dialog->ListView2->topLevelItemCount(), counts.second);
            EXPECT_EQ(t.prompts.shown.size(), shown);
            std::string shot = "geometry_inspector_" + entry;
            std::replace(shot.begin(), shot.end(), ' ', '_');
            test::saveScreenshotIfAsked(*dialog, shot.c_str());
            test::clickOn(dialog->cmdClose);
        });
        lstMatFaces_Click(t.ctx, entry);
        return counts;
    }
};

TEST_F(GeometryInspectorTest, AValidFaceShowsItsRowsWithoutAMessage) {
    EXPECT_EQ(open("1 1"), (std::pair<int, int>{3, 3}));
    EXPECT_TRUE(t.prompts.shown.empty());
}

TEST_F(GeometryInspectorTest, LeftOutRowsGiveOneMessagePerOpening) {
    t.prompts.expectMessage(kGeometryLeftOutText);
    EXPECT_EQ(open("1 0"), (std::pair<int, int>{3, 2}));  // a clone's corner: its upper row only
    t.prompts.expectMessage(kGeometryLeftOutText);
    EXPECT_EQ(open("1 7"), (std::pair<int, int>{0, 0}));  // a face outside the list
    t.prompts.expectMessage(kGeometryLeftOutText);
    EXPECT_EQ(open("1 2"), (std::pair<int, int>{2, 2}));  // corner 1's vertex outside the list: no rows for it
    EXPECT_EQ(t.prompts.shown.size(), 3u);
    EXPECT_TRUE(t.errors.reports.empty());
}

}  // namespace
}  // namespace tarv
