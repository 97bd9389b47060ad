#pragma once
// A main window on a fresh test context with every subsystem installed, its controls found by name.
#include <gtest/gtest.h>

#include <QTabBar>
#include <QTest>

#include "Fakes.h"
#include "TempDir.h"
#include "app/EditorStart.h"
#include "shell/KeyedTreeWidget.h"
#include "shell/frmTARV.h"

namespace tarv::test {

// A click on the tab of the page, as the user makes it.
inline void clickTab(QTabWidget* tabs, QWidget* page) {
    QTabBar* bar = tabs->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tabs->indexOf(page)).center());
    EXPECT_EQ(tabs->currentWidget(), page);
}

// A click on the node of treeHeirachy: the window shows the tree's page, and the mouse clicks the node.
inline void clickObjectNode(frmTARV& window, const std::string& key) {
    if (!window.isVisible()) window.show();
    clickTab(window.SSTab1, window.pageObjects);
    clickTab(window.pageObjects->SSTab2, window.pageObjects->pageHeirachy);
    QTreeWidgetItem* item = window.treeHeirachy->itemForKey(key);
    ASSERT_NE(item, nullptr) << key;
    QTest::mouseClick(window.treeHeirachy->viewport(), Qt::LeftButton, {},
                      window.treeHeirachy->visualItemRect(item).center());
}

struct WindowFixture {
    TempDir dir;
    TestContext t{dir.path()};
    frmTARV window{t.ctx};
    bool installed = (installSubsystems(window), true);  // every subsystem, as the editor has them
    template <class T>
    T* find(const char* name) {
        T* found = window.findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
};

}  // namespace tarv::test
