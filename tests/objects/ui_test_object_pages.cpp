// The object pages in the main window: the Matrix page's controls, focus, Enter and keyboard order, and
// treeHeirachy's user actions reaching the tree's handlers.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMimeData>
#include <QStyleOptionViewItem>
#include <QTest>

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

struct PagesFixture {
    TempDir dir;
    TestContext t{dir.path()};
    frmTARV window{t.ctx};
    ObjectPanel* panel = (installSubsystems(window), window.findChild<ObjectPanel*>());
    PagesFixture() {
        makeObjects(t.ctx, {{"base", 0}, {"hull", 1}, {"wing", 1}, {"gun", 2}});
        t.ctx.model.peoObjects[1].matrix[3] = 2.5f;
        createObjectTree(t.ctx);
        calcHeirachy(t.ctx);
        window.syncFromContext();
    }
    template <class T>
    T* find(const char* name) {
        T* found = window.findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QTreeWidgetItem* item(const char* key) { return window.treeHeirachy->itemForKey(key); }
};

// The middle of a node's check box in the tree's viewport.
QPoint checkBoxOf(QTreeWidget* tree, QTreeWidgetItem* item) {
    QStyleOptionViewItem option;
    option.initFrom(tree);
    option.rect = tree->visualItemRect(item);
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.text = item->text(0);
    return tree->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, tree).center();
}

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
    EXPECT_EQ(f.find<QLabel>("lblNoOfObjs")->text(), "4");
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
    f.window.show();
    f.window.SSTab1->setCurrentWidget(f.window.pageObjects);
    QTest::mouseClick(f.window.treeHeirachy->viewport(), Qt::LeftButton, {},
                      f.window.treeHeirachy->visualItemRect(f.item("o1")).center());
    EXPECT_EQ(f.t.ctx.objects.selectedObject, 1);
    EXPECT_EQ(f.window.Dx_Label1->text(), "Selected object: hull");
    EXPECT_EQ(f.window.pageObjects->lblKey->text(), "o1");
    EXPECT_EQ(f.find<QLineEdit>("posX")->text(), "2.5");
    EXPECT_EQ(f.find<QLineEdit>("localmatrix_4")->text(), "2.5");
    EXPECT_EQ(f.find<QLineEdit>("rotX")->text(), "0");
    EXPECT_TRUE(f.find<QPushButton>("cmdApplyMatrix")->isEnabled());

    f.window.pageObjects->SSTab2->setCurrentWidget(f.window.pageObjects->pageMatrix);
    saveScreenshotIfAsked(f.window, "frmTARV_Matrix");
    auto* posY = f.find<QLineEdit>("posY");
    f.window.activateWindow();
    posY->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
    EXPECT_EQ(posY->selectedText(), posY->text());
    EXPECT_FALSE(posY->text().isEmpty());

    // Enter in a box presses Apply.
    posY->setText("7");
    QTest::keyClick(posY, Qt::Key_Return);
    EXPECT_EQ(f.t.ctx.model.peoObjects[1].matrix[7], 7.0f);
    EXPECT_EQ(f.find<QLineEdit>("localmatrix_8")->text(), "7");

    f.window.pageObjects->SSTab2->setCurrentWidget(f.window.pageObjects->pageHeirachy);
    saveScreenshotIfAsked(f.window, "frmTARV_Heirachy");
}

TEST(ObjectPages, ApplyShowsTheValidationMessage) {
    PagesFixture f;
    clickObjectNode(f.window, "o2");
    f.find<QLineEdit>("rotX")->setText("abc");
    f.t.prompts.expectMessage("Error in numeric input (rot. X abc), please re-enter.");
    f.find<QPushButton>("cmdApplyMatrix")->click();
    EXPECT_EQ(f.t.prompts.pending(), 0u);
    EXPECT_EQ(f.find<QLineEdit>("rotX")->text(), "abc");
}

TEST(ObjectPages, AUserTickAndAnEditReachTheHandlers) {
    PagesFixture f;
    f.item("o2")->setCheckState(0, Qt::Unchecked);  // what a click on the box does
    EXPECT_EQ(f.t.ctx.view.viewObjects[2].shown, 0);
    EXPECT_FALSE(f.t.ctx.shell.treeHeirachy.at("o2").checked);
    EXPECT_EQ(f.item("o2")->checkState(0), Qt::Unchecked);

    f.window.treeHeirachy->startEditing("o3");
    auto* editor = f.window.treeHeirachy->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText("cannon");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(f.t.ctx.model.peoObjects[3].name, "cannon");
    EXPECT_EQ(f.item("o3")->text(0), "cannon");
    EXPECT_EQ(f.t.ctx.view.viewObjects[3].frame->getName(), "peo_cannon");

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    f.t.prompts.expectMessage("Object names must be unique and can't be empty.");
    f.window.treeHeirachy->startEditing("o3");
    editor = f.window.treeHeirachy->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText("hull");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(f.item("o3")->text(0), "cannon") << "a refused name shows the old text again";
}

TEST(ObjectPages, ADropOnTheTreeReparentsTheObject) {
    PagesFixture f;
    f.t.ctx.shell.treeHeirachy.setSelected("o2");
    treeHeirachy_MouseDown(f.t.ctx, kLeftButton, 0, 0, 0);
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
}

TEST(ObjectPages, TicksUnticksAndRenamesWithTheMouseRaiseNoErrorAndNoWarning) {
    PagesFixture f;
    WarningCatcher warnings;
    f.window.show();
    f.window.SSTab1->setCurrentWidget(f.window.pageObjects);
    KeyedTreeWidget* tree = f.window.treeHeirachy;
    auto clickBox = [&](const char* key) {
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, checkBoxOf(tree, f.item(key)));
    };
    auto clickText = [&](const char* key) {
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(f.item(key)).center());
    };
    auto editorOpen = [&] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return tree->viewport()->findChild<QLineEdit*>();
    };
    auto rename = [&](const char* key, const char* text) {
        clickText(key);
        if (!editorOpen()) clickText(key);  // a click on the selected node edits its text
        QLineEdit* editor = editorOpen();
        ASSERT_NE(editor, nullptr) << key;
        editor->setText(text);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };

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
