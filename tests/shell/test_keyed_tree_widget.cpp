// The tree control over a KeyedTree: it shows the model and forwards the user's actions by key.
#include <gtest/gtest.h>

#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <functional>

#include "shell/KeyedTreeWidget.h"

using namespace tarv;

namespace {

struct TreeFixture {
    KeyedTree model;
    KeyedTreeWidget widget;
    TreeFixture() {
        model.addTopLevel("o0", "base");
        model.addChild("o0", "o1", "hull");
        model.addChild("o0", "o2", "wing");
        model.addChild("o1", "o3", "gun");
        model.setExpanded("o0", true);
        widget.bind(&model);
        widget.resize(300, 300);
        widget.show();
        widget.expandAll();
        QCoreApplication::processEvents();
    }
    QTreeWidgetItem* item(const char* key) { return widget.itemForKey(key); }
};

}  // namespace

TEST(KeyedTreeWidget, ShowsTheModelWithItsLook) {
    TreeFixture f;
    ASSERT_EQ(f.widget.topLevelItemCount(), 1);
    QTreeWidgetItem* root = f.widget.topLevelItem(0);
    EXPECT_EQ(root->text(0), "base");
    ASSERT_EQ(root->childCount(), 2);
    EXPECT_EQ(root->child(0)->text(0), "hull");
    EXPECT_EQ(root->child(1)->text(0), "wing");
    EXPECT_EQ(KeyedTreeWidget::keyOf(root->child(0)->child(0)), "o3");
    EXPECT_TRUE(f.widget.rootIsDecorated());
    EXPECT_TRUE(root->icon(0).isNull());
    EXPECT_NE(f.widget.dragDropMode(), QAbstractItemView::InternalMove) << "items never move by themselves";

    f.model.moveToFirstChild("o2", "o1");
    f.model.setText("o3", "turret");
    f.model.setSelected("o3");
    f.widget.sync();
    EXPECT_EQ(f.item("o2")->parent(), f.item("o1"));
    EXPECT_EQ(f.item("o1")->child(0), f.item("o2")) << "first place among the new parent's children";
    EXPECT_EQ(f.item("o3")->text(0), "turret");
    EXPECT_EQ(f.widget.currentItem(), f.item("o3"));
}

// A click that moves the selection while the model holds changes the view has not shown yet: the next
// sync still shows them.
TEST(KeyedTreeWidget, AClickLeavesTheModelsUnshownChangesForTheNextSync) {
    TreeFixture f;
    f.model.addChild("o0", "o4", "engine");
    f.model.setText("o2", "fin");
    QTest::mouseClick(f.widget.viewport(), Qt::LeftButton, {}, f.widget.visualItemRect(f.item("o1")).center());
    ASSERT_EQ(f.model.selectedKey(), "o1");
    f.widget.sync();
    ASSERT_NE(f.item("o4"), nullptr);
    EXPECT_EQ(f.item("o4")->text(0), "engine");
    EXPECT_EQ(f.item("o2")->text(0), "fin");
    EXPECT_EQ(f.widget.currentItem(), f.item("o1"));
}

TEST(KeyedTreeWidget, KeepsItsItemsUntilTheShapeChanges) {
    TreeFixture f;
    QTreeWidgetItem* gun = f.item("o3");
    // Texts, ticks, the selection and the expansion change the items in place: a handler that runs in the
    // middle of a click or an edit leaves the view's item alive.
    f.model.setText("o3", "cannon");
    f.model.setChecked("o3", true);
    f.model.setSelected("o2");
    f.model.setExpanded("o1", false);
    f.widget.sync();
    EXPECT_EQ(f.item("o3"), gun);
    EXPECT_EQ(gun->text(0), "cannon");
    EXPECT_EQ(gun->checkState(0), Qt::Checked);
    EXPECT_EQ(f.widget.currentItem(), f.item("o2"));
    EXPECT_FALSE(f.item("o1")->isExpanded());
    f.widget.sync(true);
    EXPECT_EQ(f.item("o3"), gun) << "forced, with the same shape";

    // A new parent, a new node or a removed one build the items again, in the model's order.
    const struct {
        const char* what;
        std::function<void(KeyedTree&)> change;
        std::vector<std::string> order;
    } cases[] = {
        {"moved", [](KeyedTree& m) { m.moveToFirstChild("o3", "o2"); }, {"o0", "o1", "o2", "o3"}},
        {"added", [](KeyedTree& m) { m.addChild("o1", "o4", "fin"); }, {"o0", "o1", "o3", "o4", "o2"}},
        {"removed", [](KeyedTree& m) { m.remove("o1"); }, {"o0", "o2"}},
    };
    for (const auto& c : cases) {
        TreeFixture g;
        c.change(g.model);
        g.widget.sync();
        std::vector<std::string> shown;
        for (QTreeWidgetItemIterator it(&g.widget); *it; ++it) shown.push_back(KeyedTreeWidget::keyOf(*it));
        EXPECT_EQ(shown, c.order) << c.what;
    }
}

TEST(KeyedTreeWidget, ForwardsUserTicksOnlyOnce) {
    TreeFixture f;
    QSignalSpy checks(&f.widget, &KeyedTreeWidget::nodeChecked);
    f.model.setChecked("o1", true);
    f.widget.sync();
    EXPECT_EQ(f.item("o1")->checkState(0), Qt::Checked);
    EXPECT_EQ(checks.count(), 0) << "a tick set by the program raises no check event";

    f.item("o2")->setCheckState(0, Qt::Checked);  // what a click on the box does
    ASSERT_EQ(checks.count(), 1);
    EXPECT_EQ(checks[0][0].toString(), "o2");
    EXPECT_TRUE(checks[0][1].toBool());
    EXPECT_FALSE(f.model.find("o2")->checked) << "the handler decides; the widget does not write the tick";
}

TEST(KeyedTreeWidget, ForwardsEditCommitAndCancel) {
    TreeFixture f;
    QSignalSpy commits(&f.widget, &KeyedTreeWidget::editCommitted);
    QSignalSpy cancels(&f.widget, &KeyedTreeWidget::editCancelled);

    f.widget.startEditing("o1");
    auto* editor = f.widget.viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "hull2");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    ASSERT_EQ(commits.count(), 1);
    EXPECT_EQ(commits[0][0].toString(), "o1");
    EXPECT_EQ(commits[0][1].toString(), "hull2");
    EXPECT_EQ(cancels.count(), 0);
    EXPECT_EQ(f.model.find("o1")->text, "hull") << "the model changes only through its handler";

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the first editor goes
    f.widget.startEditing("o2");
    editor = f.widget.viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "something");
    QTest::keyClick(editor, Qt::Key_Escape);
    QCoreApplication::processEvents();
    ASSERT_EQ(cancels.count(), 1);
    EXPECT_EQ(cancels[0][0].toString(), "o2");
    EXPECT_EQ(commits.count(), 1);
    EXPECT_EQ(f.item("o2")->text(0), "wing");
}

TEST(KeyedTreeWidget, ForwardsDropsAndMovesNothing) {
    TreeFixture f;
    QSignalSpy overs(&f.widget, &KeyedTreeWidget::nodeDragOver);
    QSignalSpy drops(&f.widget, &KeyedTreeWidget::nodeDropped);
    QPoint target = f.widget.visualItemRect(f.item("o2")).center();
    QMimeData mime;
    mime.setData("application/x-tarv-tree-key", "o3");
    QDragEnterEvent enter(target, Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(f.widget.viewport(), &enter);
    QDragMoveEvent move(target, Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(f.widget.viewport(), &move);
    QDropEvent drop(QPointF(target), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(f.widget.viewport(), &drop);
    ASSERT_GE(overs.count(), 1);
    EXPECT_EQ(overs.last()[1].toString(), "o2");
    ASSERT_EQ(drops.count(), 1);
    EXPECT_EQ(drops[0][0].toString(), "o3");
    EXPECT_EQ(drops[0][1].toString(), "o2");
    EXPECT_EQ(f.item("o3")->parent(), f.item("o1")) << "the drop moved nothing";
    EXPECT_EQ(f.model.parentOf("o3"), "o1");
}

TEST(KeyedTreeWidget, ForwardsPressAndClickByKey) {
    TreeFixture f;
    QSignalSpy presses(&f.widget, &KeyedTreeWidget::nodeMousePressed);
    QSignalSpy clicks(&f.widget, &KeyedTreeWidget::nodeClicked);
    QPoint at = f.widget.visualItemRect(f.item("o2")).center();
    QTest::mouseClick(f.widget.viewport(), Qt::LeftButton, Qt::NoModifier, at);
    ASSERT_EQ(presses.count(), 1);
    EXPECT_EQ(presses[0][0].toString(), "o2");
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks[0][0].toString(), "o2");
    EXPECT_EQ(f.model.selectedKey(), "o2") << "the user's selection goes to the model";
}
