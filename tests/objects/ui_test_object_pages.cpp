// The object pages in the main window: the Matrix page's controls, focus, Enter and keyboard order, and
// treeHeirachy's user actions reaching the tree's handlers.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMimeData>
#include <QTest>

#include "../model/PeoFixture.h"
#include "../objects/ObjectFixtures.h"
#include "WindowFixture.h"
#include "Screenshot.h"
#include "shell/frmTARV.h"
#include "objects/ObjectLinks.h"
#include "objects/ObjectSelection.h"
#include "objects/ObjectTree.h"
#include "objects/ui/ObjectPages.h"
#include "app/EditorStart.h"
#include "editor/context/EditingContext.h"

using namespace tarv;
using namespace tarv::test;

namespace {

// The objects base, hull and wing (children of base) and gun (a child of hull), squares; hull stands 2.5
// along x.
struct PagesFixture : WindowFixture {
    ObjectPanel* panel = window.findChild<ObjectPanel*>();
    PagesFixture() {
        FxFile file;
        file.publicMaterials = {FxMaterial{}};
        for (const char* name : {"base", "hull", "wing", "gun"}) file.objects.push_back(squareObject(name));
        file.objects[1].mother = file.objects[2].mother = 68;  // base's record
        file.objects[3].mother = 68 + 112;                     // hull's
        file.objects[1].fileMatrix[12] = 2.5f;
        openShip(buildPeo(file).data());
        clickTab(window.SSTab1, window.pageObjects);
    }
    QTreeWidgetItem* item(const char* key) { return window.treeHeirachy->itemForKey(key); }
    // Replaces a box's text by typing.
    void type(const char* name, const char* text) {
        auto* box = find<QLineEdit>(name);
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
    }
    void clickText(const char* key) {
        KeyedTreeWidget* tree = window.treeHeirachy;
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item(key)).center());
    }
    QLineEdit* editorOpen() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return window.treeHeirachy->viewport()->findChild<QLineEdit*>();
    }
    // A click on the node's text, and one more on the selected node edits it: the text typed, then Enter.
    void rename(const char* key, const char* text) {
        clickText(key);
        if (!editorOpen()) clickText(key);
        QLineEdit* editor = editorOpen();
        ASSERT_NE(editor, nullptr) << key;
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

// Collects Qt's warnings while it lives.
struct WarningCatcher {
    static inline QStringList caught;
    QtMessageHandler previous;
    WarningCatcher() {
        caught.clear();
        previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            // The offscreen platform's own notice is no fault of the tree's.
            if (type != QtDebugMsg && type != QtInfoMsg && !text.contains("propagateSizeHints")) caught << text;
        });
    }
    ~WarningCatcher() { qInstallMessageHandler(previous); }
};

const char* const kBoxes[] = {"posX", "posY", "posZ", "rotX", "rotY", "rotZ", "ShearX", "ShearY", "ShearZ", "ScaleXYZ"};

}  // namespace

TEST(ObjectPages, MatrixPageHasItsControlsByNameAndStartsEmpty) {
    PagesFixture f;
    for (int i = 1; i <= 16; ++i) {
        auto* cell = f.find<QLineEdit>(("localmatrix_" + std::to_string(i)).c_str());
        ASSERT_NE(cell, nullptr);
        EXPECT_TRUE(cell->text().isEmpty());
        EXPECT_TRUE(cell->isReadOnly());
    }
    for (const char* name : kBoxes) EXPECT_TRUE(f.find<QLineEdit>(name)->text().isEmpty()) << name;
    EXPECT_EQ(f.find<QPushButton>("cmdApplyMatrix")->text(), "Apply");
    EXPECT_TRUE(f.find<QPushButton>("cmdApplyMatrix")->isDefault());
    EXPECT_EQ(f.find<QCheckBox>("chkShowRecoil")->text(), "Show Gun Recoil");
    EXPECT_EQ(f.find<QPushButton>("cmdAdvancedObjProps")->text(), "Advanced Properties");
    EXPECT_TRUE(f.find<QLabel>("lblTmpQuat")->text().isEmpty());
    EXPECT_EQ(f.find<QLabel>("lblObjectName_0")->text(), "base") << "the build names the first object";
    EXPECT_EQ(f.find<QLabel>("lblNoOfObjs")->text(), "") << "a load counts no objects; a drop does";
    EXPECT_EQ(f.find<QLabel>("lblNoOfObjs")->parentWidget(), f.window.pageObjects->pageHeirachy);
    EXPECT_EQ(f.find<QLineEdit>("posX")->window(), &f.window);
}

TEST(ObjectPages, TheTabOrderRunsThroughTheBoxesToApply) {
    PagesFixture f;
    // The next widget that the Tab key reaches.
    auto nextTabStop = [](QWidget* w) {
        do w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus));
        return w;
    };
    QWidget* previous = f.find<QLineEdit>("posX");
    for (size_t i = 1; i < std::size(kBoxes); ++i) {
        QWidget* next = nextTabStop(previous);
        EXPECT_EQ(next->objectName().toStdString(), kBoxes[i]);
        previous = next;
    }
    EXPECT_EQ(nextTabStop(previous)->objectName().toStdString(), "cmdApplyMatrix");
}

TEST(ObjectPages, AClickOnANodeSelectsAndFillsThePageAndFocusSelectsAllText) {
    PagesFixture f;
    clickObjectNode(f.window, "o1");
    EXPECT_EQ(f.t.ctx.objects.selectedObject, 1);
    EXPECT_EQ(f.window.Dx_Label1->text(), "Selected object: hull");
    EXPECT_EQ(f.window.pageObjects->lblKey->text(), "o1");
    EXPECT_EQ(f.find<QLineEdit>("posX")->text(), "2.5");
    EXPECT_EQ(f.find<QLineEdit>("localmatrix_4")->text(), "2.5");
    EXPECT_EQ(f.find<QLineEdit>("rotX")->text(), "0");
    EXPECT_TRUE(f.find<QPushButton>("cmdApplyMatrix")->isEnabled());

    clickTab(f.window.pageObjects->SSTab2, f.window.pageObjects->pageMatrix);
    saveScreenshotIfAsked(f.window, "frmTARV_Matrix");
    auto* posY = f.find<QLineEdit>("posY");
    f.window.activateWindow();
    posY->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
    EXPECT_EQ(posY->selectedText(), posY->text());
    EXPECT_FALSE(posY->text().isEmpty());

    // Enter in a box presses Apply.
    QTest::keyClicks(posY, "7");  // replaces the selected text
    QTest::keyClick(posY, Qt::Key_Return);
    EXPECT_EQ(f.t.ctx.model.peoObjects[1].matrix[7], 7.0f);
    EXPECT_EQ(f.find<QLineEdit>("localmatrix_8")->text(), "7");

    clickTab(f.window.pageObjects->SSTab2, f.window.pageObjects->pageHeirachy);
    saveScreenshotIfAsked(f.window, "frmTARV_Heirachy");
}

TEST(ObjectPages, ApplyShowsTheValidationMessage) {
    PagesFixture f;
    clickObjectNode(f.window, "o2");
    clickTab(f.window.pageObjects->SSTab2, f.window.pageObjects->pageMatrix);
    f.type("rotX", "abc");
    f.t.prompts.expectMessage("Error in numeric input (rot. X abc), please re-enter.");
    clickOn(f.find<QPushButton>("cmdApplyMatrix"));
    EXPECT_EQ(f.t.prompts.pending(), 0u);
    EXPECT_EQ(f.find<QLineEdit>("rotX")->text(), "abc");
}

TEST(ObjectPages, AUserTickAndAnEditReachTheHandlers) {
    PagesFixture f;
    clickTab(f.window.pageObjects->SSTab2, f.window.pageObjects->pageHeirachy);
    QTest::mouseClick(f.window.treeHeirachy->viewport(), Qt::LeftButton, {},
                      checkBoxOf(f.window.treeHeirachy, f.item("o2")));
    EXPECT_EQ(f.t.ctx.view.viewObjects[2].shown, 0);
    EXPECT_FALSE(f.t.ctx.shell.treeHeirachy.at("o2").checked);
    EXPECT_EQ(f.item("o2")->checkState(0), Qt::Unchecked);

    f.rename("o3", "cannon");
    EXPECT_EQ(f.t.ctx.model.peoObjects[3].name, "cannon");
    EXPECT_EQ(f.item("o3")->text(0), "cannon");
    EXPECT_EQ(f.t.ctx.view.viewObjects[3].frame->getName(), "peo_cannon");

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    f.t.prompts.expectMessage("Object names must be unique and can't be empty.");
    f.rename("o3", "hull");
    EXPECT_EQ(f.item("o3")->text(0), "cannon") << "a refused name shows the old text again";
}

TEST(ObjectPages, ADropOnTheTreeReparentsTheObject) {
    PagesFixture f;
    clickObjectNode(f.window, "o2");  // the press on the node starts the drag
    QPoint target = f.window.treeHeirachy->visualItemRect(f.item("o3")).center();
    QMimeData mime;
    mime.setData("application/x-tarv-tree-key", "o2");
    QDragEnterEvent enter(target, Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(f.window.treeHeirachy->viewport(), &enter);
    QDragMoveEvent move(target, Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(f.window.treeHeirachy->viewport(), &move);
    QDropEvent drop(QPointF(target), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(f.window.treeHeirachy->viewport(), &drop);
    EXPECT_EQ(f.t.ctx.shell.treeHeirachy.parentOf("o2"), "o3");
    EXPECT_EQ(f.item("o2")->parent(), f.item("o3"));
    EXPECT_EQ(f.t.ctx.view.viewObjects[2].frame->getParent(), f.t.ctx.view.viewObjects[3].frame);
    EXPECT_EQ(f.find<QLabel>("lblNoOfObjs")->text(), "4");
}

TEST(ObjectPages, TicksUnticksAndRenamesWithTheMouseRaiseNoErrorAndNoWarning) {
    PagesFixture f;
    WarningCatcher warnings;
    clickTab(f.window.pageObjects->SSTab2, f.window.pageObjects->pageHeirachy);
    KeyedTreeWidget* tree = f.window.treeHeirachy;
    auto clickBox = [&](const char* key) {
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, checkBoxOf(tree, f.item(key)));
    };
    auto rename = [&](const char* key, const char* text) { f.rename(key, text); };

    clickBox("o2");
    EXPECT_EQ(f.t.ctx.view.viewObjects[2].shown, 0);
    EXPECT_EQ(f.item("o2")->checkState(0), Qt::Unchecked);
    EXPECT_EQ(f.t.ctx.objects.selectedObject, 2) << "the click also selects the node, as the press showed";
    clickBox("o2");
    EXPECT_EQ(f.t.ctx.view.viewObjects[2].shown, -1);
    EXPECT_EQ(f.item("o2")->checkState(0), Qt::Checked);
    clickBox("o3");
    EXPECT_EQ(f.t.ctx.view.viewObjects[3].shown, 0);
    rename("o1", "keel");
    EXPECT_EQ(f.t.ctx.model.peoObjects[1].name, "keel");
    EXPECT_EQ(f.item("o1")->text(0), "keel");
    clickBox("o1");
    EXPECT_EQ(f.t.ctx.view.viewObjects[1].shown, 0);
    rename("o1", "spine");
    EXPECT_EQ(f.t.ctx.model.peoObjects[1].name, "spine");
    clickBox("o3");
    EXPECT_EQ(f.t.ctx.view.viewObjects[3].shown, -1);

    EXPECT_TRUE(f.t.errors.reports.empty()) << f.t.errors.reports.front().procedure;
    EXPECT_TRUE(warnings.caught.isEmpty()) << warnings.caught.join("\n").toStdString();
}
