// The Geometry Inspector opened from a face entry of the Material Properties dialog's face list.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include <QApplication>
#include <QListWidget>
#include <QTimer>

#include "../model/PeoFixture.h"
#include "Screenshot.h"
#include "WindowFixture.h"
#include "materials/MaterialProperties.h"
#include "materials/state/MaterialsPageState.h"
#include "materials/ui/frmMaterials.h"
#include "objects/GeometryRows.h"
#include "objects/ui/frmGeometry.h"
#include "shell/ShellDialogs.h"

namespace tarv {
namespace {

// A ship whose object "Inspected" has the vertices (1.5, 2, 3) with vertex normal 0 and (4, 5, 6) whose
// normal index names a face normal (a clone's corner), one vertex normal, and on material 0 the faces
// 1 0 0, 0 0 0 and 0 5 0 (corner 1 outside the vertex list). The square "base" before it is on material 1.
struct GeometryInspectorTest : test::WindowFixture, ::testing::Test {
    GeometryInspectorTest() {
        test::FxFile file;
        file.publicMaterials = {test::FxMaterial{}, test::FxMaterial{}};
        test::FxObject base = test::squareObject("base");
        for (test::FxPolygon& p : base.polygons) p.material = 1;
        test::FxObject o;
        o.name = "Inspected";
        o.vertices = {{1.5f, 2, 3, 2}, {4, 5, 6, 0}};
        o.faceNormals = {{0, 0, 1}, {0, 0, -1}};
        o.vertexNormals = {{0, 0, 1}};
        o.polygons = {test::FxPolygon{1, 0, 0, 0, 0}, test::FxPolygon{0, 0, 0, 0, 0}, test::FxPolygon{0, 5, 0, 0, 0}};
        file.objects = {base, o};
        // The load's summary notes the corner outside the list; the user reads it and goes on.
        QTimer summary;
        QObject::connect(&summary, &QTimer::timeout, [&] {
            auto* shown = qobject_cast<frmLoad*>(QApplication::activeModalWidget());
            if (!shown) return;
            summaryNotes = shown->AdequateNotes->toPlainText().toStdString();
            test::clickOn(shown->GetGoing);
        });
        summary.start(5);
        openShip(test::buildPeo(file).data());
        summary.stop();
        EXPECT_NE(summaryNotes.find("object Inspected has a polygon with vertex 5 of 2"), std::string::npos)
            << summaryNotes;
        t.prompts.shown.clear();  // File > Open's dialog
        test::clickTab(window.SSTab1, window.pageMaterials);
    }
    std::string summaryNotes;
    // What the inspector's lists held, checked on the way; it is closed with "Close".
    std::pair<int, int> inspect(const std::string& entry) {
        std::pair<int, int> counts{-1, -1};
        auto* dialog = qobject_cast<frmGeometry*>(QApplication::activeModalWidget());
        EXPECT_NE(dialog, nullptr);
        if (!dialog) return counts;
        EXPECT_EQ(QApplication::activeModalWidget(), dialog);
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
        return counts;
    }
    // Opens Material Properties on material 0 with a double click on its name, clicks the face list's
    // entry, and returns what the inspector it opened held.
    std::pair<int, int> open(const std::string& entry) {
        std::pair<int, int> counts{-1, -1};
        QTimer::singleShot(0, [&] {
            auto* properties = window.findChild<frmMaterials*>("frmMaterials");
            ASSERT_NE(properties, nullptr);
            const auto found = properties->lstMatFaces->findItems(QString::fromStdString(entry), Qt::MatchExactly);
            EXPECT_EQ(found.size(), 1) << entry;
            if (found.size() == 1) {
                QTimer::singleShot(0, [&] { counts = inspect(entry); });
                QListWidget* faces = properties->lstMatFaces;
                QTest::mouseClick(faces->viewport(), Qt::LeftButton, {}, faces->visualItemRect(found[0]).center());
            }
            test::clickOn(properties->cmdClose);
        });
        auto* list = find<QListWidget>("lstMaterial");
        const QPoint at = list->visualItemRect(list->item(0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
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
    EXPECT_EQ(open("1 2"), (std::pair<int, int>{2, 2}));  // corner 1's vertex outside the list: no rows for it
    // The face list names only faces its object has; an entry naming a face beyond them is handed to the
    // inspector directly, as no click can give it.
    t.prompts.expectMessage(kGeometryLeftOutText);
    std::pair<int, int> outside{-1, -1};
    QTimer::singleShot(0, [&] { outside = inspect("1 7"); });
    lstMatFaces_Click(t.ctx, "1 7");
    EXPECT_EQ(outside, (std::pair<int, int>{0, 0}));
    EXPECT_EQ(t.prompts.shown.size(), 3u);
    EXPECT_TRUE(t.errors.reports.empty());
}

}  // namespace
}  // namespace tarv
