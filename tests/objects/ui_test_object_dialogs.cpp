// The "Advanced Object Properties" and "Pivot Point" windows: opened from "Advanced Properties", their
// captions and controls, Bake through the button, Pivot with its boxes, and the boxes' select-all on focus.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "../model/PeoFixture.h"
#include "../objects/ObjectFixtures.h"
#include "Screenshot.h"
#include "WindowFixture.h"
#include "editor/context/EditingContext.h"
#include "model/PeoReader.h"
#include "objects/ObjectLinks.h"
#include "objects/ObjectSelection.h"
#include "objects/ObjectTree.h"
#include "objects/ui/frmAdvancedObjects.h"
#include "preview/ObjectMeshes.h"

using namespace tarv;
using namespace tarv::test;

namespace {

// The objects "base" and "Hull" (a child of base), each one triangle of both windings: Hull's (1, 0, 0)
// (2, 0, 0) (1, 3, 4), base's the same 4 further left.
struct DialogWindow : WindowFixture {
    DialogWindow() {
        t.preferencesStore.setKeyValue("LogLevel", "0");
        FxFile file;
        file.publicMaterials = {FxMaterial{}};
        for (const char* name : {"base", "Hull"}) {
            FxObject o;
            o.name = name;
            o.vertices = {{1, 0, 0, 0}, {2, 0, 0, 0}, {1, 3, 4, 0}};
            o.faceNormals = {{0, 0, 1}};
            o.vertexNormals = {{0, 0, 1}};
            o.polygons = {FxPolygon{0, 1, 2, 0, 0}, FxPolygon{0, 2, 1, 0, 0}};  // seen from either side
            for (int i = 0; i < 16; i += 5) o.fileMatrix[size_t(i)] = 1;
            file.objects.push_back(o);
        }
        for (FxVertex& v : file.objects[0].vertices) v.x -= 4;
        file.objects[1].mother = 68;  // base's record
        window.resize(1100, 800);
        openShip(buildPeo(file).data());
    }
    // A pick in the 3D view enables the button.
    void select(const std::string& key) { pickObject(window, keyIndex(key)); }
    frmAdvancedObjects* dialog() { return window.findChild<frmAdvancedObjects*>("frmAdvancedObjects"); }
    // Runs body on the modal dialog once it is shown.
    void whenShown(std::function<void()> body) {
        QTimer::singleShot(0, [body] { body(); });
    }
};

}  // namespace

TEST(ObjectDialogsWindow, AdvancedPropertiesOpensOnTheSelectedObjectAndBakes) {
    DialogWindow f;
    auto* button = f.find<QPushButton>("cmdAdvancedObjProps");
    frmAdvancedObjects* dialog = f.dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Advanced Object Properties");
    const std::pair<const char*, const char*> texts[] = {{"Label9", "Object Size Information:"},
                                                         {"Label17", "Size: "},
                                                         {"Label20", "Maximum: "},
                                                         {"Label26", "Minimum: "},
                                                         {"Label10", "X"},
                                                         {"Label15", "Y"},
                                                         {"Label16", "Z"}};
    for (const auto& [name, text] : texts) EXPECT_EQ(dialog->findChild<QLabel*>(name)->text(), text) << name;
    const char* flags[] = {"Master", "Clone", "Parent", "Child", "?", "?", "Sister"};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(dialog->findChild<QCheckBox*>(QString("chkObjFlags_%1").arg(i))->text(), flags[i]);

    f.select("o1");
    // Hull moved 10 along x on the Matrix page.
    clickTab(f.window.pageObjects->SSTab2, f.window.pageObjects->pageMatrix);
    auto* posX = f.find<QLineEdit>("posX");
    posX->setFocus();
    posX->selectAll();
    QTest::keyClicks(posX, "10");
    clickOn(f.find<QPushButton>("cmdApplyMatrix"));
    ASSERT_EQ(f.t.ctx.model.peoObjects[1].matrix[3], 10);
    bool shown = false;
    f.whenShown([&] {
        auto* open = qobject_cast<frmAdvancedObjects*>(QApplication::activeModalWidget());
        shown = open != nullptr;
        if (!open) return;
        EXPECT_EQ(open->lblObjectName->text(), "Hull");
        EXPECT_EQ(open->findChild<QLabel*>("lblObjectSize_0")->text(), "1");
        EXPECT_EQ(open->findChild<QLabel*>("lblObjectSize_4")->text(), "3");
        clickOn(open->cmdBakeVertices);
        EXPECT_EQ(open->lblBakeStatus->text(), "Bake complete!");
        EXPECT_EQ(open->findChild<QLabel*>("lblObjectSize_3")->text(), "12");
        saveScreenshotIfAsked(*open, "advanced_object_properties");
        clickOn(open->OKButton);
    });
    ASSERT_TRUE(button->isEnabled());
    clickOn(button);
    EXPECT_TRUE(shown);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(f.t.ctx.model.peoObjects[1].vertices[0].x, 11);
    EXPECT_EQ(f.find<QLineEdit>("posX")->text(), "0");
    EXPECT_TRUE(f.t.errors.reports.empty());
}

// Bake runs on the main window's command road: while the dialog is still open, the Matrix page shows the
// baked object, whose translation went into its vertices.
TEST(ObjectDialogsWindow, TheMatrixPageShowsABakeWhileTheDialogIsOpen) {
    DialogWindow f;
    f.t.ctx.model.peoObjects[1].matrix[3] = 10;
    f.t.ctx.model.peoObjects[1].matrix[7] = -2.5f;
    f.select("o1");
    auto* posX = f.find<QLineEdit>("posX");
    auto* posY = f.find<QLineEdit>("posY");
    ASSERT_EQ(posX->text(), "10");
    bool shown = false;
    f.whenShown([&] {
        auto* open = qobject_cast<frmAdvancedObjects*>(QApplication::activeModalWidget());
        shown = open != nullptr;
        if (!open) return;
        clickOn(open->cmdBakeVertices);
        EXPECT_TRUE(open->isVisible());
        EXPECT_EQ(open->lblBakeStatus->text(), "Bake complete!");
        EXPECT_EQ(posX->text(), "0");
        EXPECT_EQ(posY->text(), "0");
        clickOn(open->OKButton);
    });
    clickOn(f.find<QPushButton>("cmdAdvancedObjProps"));
    EXPECT_TRUE(shown);
    EXPECT_EQ(f.t.ctx.model.peoObjects[1].vertices[0].x, 11);
    EXPECT_TRUE(f.t.errors.reports.empty());
}

TEST(ObjectDialogsWindow, NothingOpensWithoutASelection) {
    DialogWindow f;
    f.select("o1");
    QTest::mouseClick(f.window.RMCanvas1, Qt::LeftButton, {}, QPoint(2, 2));  // on empty canvas
    ASSERT_EQ(f.t.ctx.objects.selectedObject, -1);
    auto* button = f.find<QPushButton>("cmdAdvancedObjProps");
    EXPECT_FALSE(button->isEnabled());
    bool shown = false;
    f.whenShown([&] { shown = QApplication::activeModalWidget() != nullptr; });
    QTest::mouseClick(button, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_FALSE(shown);
}

TEST(ObjectDialogsWindow, PivotPointResetsItsBoxesSelectsOnFocusAndPivots) {
    DialogWindow f;
    f.select("o1");
    frmPivot* pivot = f.dialog()->pivot;
    EXPECT_EQ(pivot->windowTitle(), "Pivot Point");
    EXPECT_EQ(pivot->Label2->text(), "Offset     X:                  Y:                  Z:");
    EXPECT_TRUE(pivot->Label1->text().contains("object \"pivots\".  If the"));
    EXPECT_EQ(pivot->cmdPivot->text(), "Pivot!");
    EXPECT_EQ(pivot->cmdCancel->text(), "Cancel");
    // The Pivot Point window opened from Advanced Object Properties as the user opens it, body run on it.
    const auto throughAdvanced = [&](std::function<void()> body) {
        f.whenShown([&f, body] {
            auto* open = qobject_cast<frmAdvancedObjects*>(QApplication::activeModalWidget());
            ASSERT_NE(open, nullptr);
            f.whenShown(body);
            clickOn(open->cmdMovePivot);
            clickOn(open->OKButton);
        });
        clickTab(f.window.pageObjects->SSTab2, f.window.pageObjects->pageMatrix);
        clickOn(f.find<QPushButton>("cmdAdvancedObjProps"));
    };
    // A value typed and cancelled at the first opening.
    throughAdvanced([&] {
        ASSERT_EQ(QApplication::activeModalWidget(), pivot);
        typeInto(pivot->txtPivot[0], "7");
        clickOn(pivot->cmdCancel);
    });
    EXPECT_EQ(f.t.ctx.model.peoObjects[1].vertices[0].y, 0);
    bool checked = false;
    throughAdvanced([&] {
        checked = true;
        for (QLineEdit* box : pivot->txtPivot) EXPECT_EQ(box->text(), "0");
        pivot->txtPivot[1]->setFocus();
        QApplication::processEvents();
        EXPECT_EQ(pivot->txtPivot[1]->selectedText(), "0");
        QTest::keyClicks(pivot->txtPivot[1], "5");  // replaces the selected text
        saveScreenshotIfAsked(*pivot, "pivot_point");
        clickOn(pivot->cmdPivot);
    });
    EXPECT_TRUE(checked);
    EXPECT_FALSE(pivot->isVisible());
    EXPECT_EQ(f.t.ctx.model.peoObjects[1].vertices[0].y, 5);
}
