#pragma once
// A main window on a fresh test context with every subsystem installed, its controls found by name.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QStyleOptionViewItem>
#include <QTabBar>
#include <QTreeWidget>
#include <QTest>
#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "Fakes.h"
#include "TempDir.h"
#include "UserInput.h"
#include "app/EditorStart.h"
#include "editor/context/EditingContext.h"
#include "scene/Viewport.h"
#include "shell/KeyedTreeWidget.h"
#include "shell/frmTARV.h"

namespace tarv::test {

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

// Opens the closed groups above a node with clicks on their arrows, so the node shows.
inline void openGroupsOf(QTreeWidget* tree, QTreeWidgetItem* item) {
    std::vector<QTreeWidgetItem*> groups;
    for (QTreeWidgetItem* up = item->parent(); up; up = up->parent()) groups.insert(groups.begin(), up);
    for (QTreeWidgetItem* group : groups) {
        if (group->isExpanded()) continue;
        const QRect r = tree->visualItemRect(group);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          QPoint(r.left() - tree->indentation() / 2, r.center().y()));
        ASSERT_TRUE(group->isExpanded()) << group->text(0).toStdString();
    }
    tree->scrollToItem(item);
}

// The middle of a node's check box in the tree's viewport.
inline QPoint checkBoxOf(QTreeWidget* tree, QTreeWidgetItem* item) {
    QStyleOptionViewItem option;
    option.initFrom(tree);
    option.rect = tree->visualItemRect(item);
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.text = item->text(0);
    return tree->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, tree).center();
}

// Chooses an entry of a combo box with the arrow keys, as the user does.
inline void chooseWithKeys(QComboBox* combo, int index) {
    combo->setFocus();
    while (combo->currentIndex() < index) QTest::keyClick(combo, Qt::Key_Down);
    while (combo->currentIndex() > index) QTest::keyClick(combo, Qt::Key_Up);
    EXPECT_EQ(combo->currentIndex(), index);
}

// Replaces a box's text by typing it, as the user does after selecting the old text.
inline void typeInto(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
}

// A click on a pixel of the 3D view where the object, and only it, is under the pointer.
inline void pickObject(frmTARV& window, int object) {
    EditingContext& ctx = window.ctx;
    ASSERT_GE(object, 0);
    ASSERT_LT(object, ctx.model.objectCount());
    QWidget* canvas = window.RMCanvas1;
    const std::string frame = "peo_" + ctx.model.peoObjects[size_t(object)].name;
    const auto onlyThere = [&](int x, int y) {
        const auto hits = ctx.view.viewport->pick(x, y);
        for (const scene::PickHit& hit : hits) {
            bool there = false;
            for (const scene::FramePtr& f : hit.path) there = there || f->getName() == frame;
            if (!there) return false;
        }
        return !hits.empty();
    };
    for (int y = 2; y < canvas->height(); y += 4)
        for (int x = 2; x < canvas->width(); x += 4) {
            if (!onlyThere(x, y)) continue;
            QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(x, y));
            return;
        }
    FAIL() << "no pixel shows " << frame;
}

// One file of a ship's folder: its name and its bytes.
using ShipFile = std::pair<std::string, std::vector<uint8_t>>;

struct WindowFixture {
    TempDir dir;
    TestContext t{dir.path()};
    frmTARV window{t.ctx};
    bool installed = (installSubsystems(window), true);  // every subsystem, as the editor has them
    std::filesystem::path shipFolder = dir / "ship";

    // The window started as the editor starts it (once), then the files written into shipFolder and the
    // one named `open` opened through File > Open, the common dialog answering with its path: the pages
    // show the ship as a load leaves it.
    void openShipFolder(const std::vector<ShipFile>& files, const std::string& open) {
        std::filesystem::create_directories(shipFolder);
        for (const auto& [name, bytes] : files) writeBytes(shipFolder / name, bytes);
        openThroughMenu(shipFolder / open);
        std::string reports;
        for (const ErrorReportInfo& r : t.errors.reports)
            reports += "\n" + r.procedure + ": " + r.description + " " + r.detail;
        for (const ShownPrompt& p : t.prompts.shown) reports += "\n" + p.kind + ": " + p.text;
        ASSERT_TRUE(t.ctx.model.modelLoaded) << t.status.status << reports;
    }
    // The window's start-up, as the editor runs it (once): preferences, scene, the starting state of the pages.
    void start() {
        if (started_) return;
        t.preferencesStore.setKeyValue("AlwaysShowBackup", "0");
        if (t.preferencesStore.getKeyValue("ObjectSharing").empty())
            t.preferencesStore.setKeyValue("ObjectSharing", "0");  // alike objects: no offer to share them
        window.Form_Load("");
        // The offscreen canvas draws nothing: the scene's viewport takes its size, as the GL canvas gives it.
        t.ctx.view.viewport->setSize(window.RMCanvas1->width(), window.RMCanvas1->height());
        started_ = true;
    }
    // Opens a file through File > Open, the common dialog answering with its path.
    void openThroughMenu(const std::filesystem::path& file) {
        start();
        t.prompts.expectOpen(FileDialogChoice{file.string(), 1});
        window.mnuFileOpen->trigger();
        ASSERT_EQ(t.prompts.pending(), 0u);
    }
    // The ship definition "ship.shp", which names ship.lod (naming ship.peo) and ship.mex and then holds
    // `shpLines`, opened as above with the model and the other files given.
    void openShipDefinition(const std::string& shpLines, const std::vector<uint8_t>& peo,
                            std::vector<ShipFile> more = {}) {
        const std::string shp = "LODFile\tship.lod\r\npMexData\tship.mex\r\n" + shpLines;
        const std::string lod = "pMeshFile       ship.peo\r\n";
        more.push_back({"ship.shp", {shp.begin(), shp.end()}});
        more.push_back({"ship.lod", {lod.begin(), lod.end()}});
        more.push_back({"ship.peo", peo});
        openShipFolder(more, "ship.shp");
    }
    // A single model file, opened as above.
    void openShip(const std::vector<uint8_t>& peo, const std::string& name = "Ship.peo") {
        openShipFolder({{name, peo}}, name);
    }
    template <class T>
    T* find(const char* name) {
        T* found = window.findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

private:
    bool started_ = false;
};

}  // namespace tarv::test
