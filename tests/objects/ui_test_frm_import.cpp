// "TARV Import": opened from File > Import, its controls, the file chosen through its own File menu, a
// node ticked in its tree and "Import Selected Objects" appending the object and hiding the window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "../model/PeoFixture.h"
#include "../objects/ObjectFixtures.h"
#include "Screenshot.h"
#include "WindowFixture.h"
#include "editor/context/EditingContext.h"
#include "objects/ObjectLinks.h"
#include "objects/ObjectTree.h"
#include "objects/ui/frmImport.h"
#include "shell/KeyedTreeWidget.h"

using namespace tarv;
using namespace tarv::test;
namespace fs = std::filesystem;

TEST(ImportWindow, ATickedObjectIsImportedAndTheWindowHides) {
    WindowFixture f;
    EditingContext& ctx = f.t.ctx;
    f.t.preferencesStore.setKeyValue("LogLevel", "0");
    // The open model: the object "base" on a material of the texture "hull", in the folder "ship".
    FxFile open;
    FxMaterial hull;
    hull.texture = "hull";
    open.publicMaterials = {hull};
    open.objects = {squareObject("base")};
    f.window.resize(1100, 800);
    f.openShip(buildPeo(open).data(), "ship.peo");
    f.t.prompts.shown.clear();

    FxFile file;
    FxMaterial m;
    m.texture = "wing";
    file.publicMaterials = {m};
    file.objects = {squareObject("Root"), squareObject("Wing", 1)};
    const fs::path other = f.dir.path() / "fighter.peo";
    buildPeo(file).bytes.writeTo(other);
    f.t.prompts.expectOpen(FileDialogChoice{other.string(), 2});

    bool checked = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<frmImport*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        checked = true;
        EXPECT_EQ(dialog->windowTitle(), "TARV Import");
        EXPECT_EQ(dialog->Label1->text(),
                  "Select the objects you want to import by checking them, then click on the Import button below.");
        EXPECT_EQ(dialog->cmdImport->text(), "Import Selected Objects");
        EXPECT_FALSE(dialog->cmdImport->isEnabled());  // no file chosen yet
        EXPECT_EQ(dialog->mnuFileImport->text(), "&Import");
        EXPECT_EQ(dialog->mnuFileExit->text(), "E&xit");
        dialog->mnuFileImport->trigger();
        ASSERT_EQ(f.t.prompts.shown.size(), 1u);
        const FileDialogRequest& request = f.t.prompts.shown[0].request;
        EXPECT_EQ(request.filter, "All Files (*.*)|*.*|Homeworld Geometry Files (*.peo)|*.peo");
        EXPECT_EQ(request.filterIndex, 2);
        EXPECT_EQ(request.initialFolder, (f.dir.path() / "ship").string() + "/");
        EXPECT_EQ(dialog->StatusBar1->currentMessage().toStdString(), other.string());
        EXPECT_TRUE(dialog->cmdImport->isEnabled());
        QTreeWidgetItem* root = dialog->treeHeirachy->itemForKey("o0");
        ASSERT_NE(root, nullptr);
        EXPECT_EQ(root->data(0, Qt::CheckStateRole).toInt(), int(Qt::Unchecked));  // an unticked box is shown
        EXPECT_TRUE(root->data(0, Qt::CheckStateRole).isValid());
        QTreeWidgetItem* wing = dialog->treeHeirachy->itemForKey("o1");
        ASSERT_NE(wing, nullptr);
        EXPECT_EQ(wing->text(0), "Wing");
        QTest::mouseClick(dialog->treeHeirachy->viewport(), Qt::LeftButton, {},
                          checkBoxOf(dialog->treeHeirachy, wing));  // the user ticks it
        EXPECT_EQ(wing->checkState(0), Qt::Checked);
        saveScreenshotIfAsked(*dialog, "tarv_import");
        clickOn(dialog->cmdImport);
    });
    f.window.mnuImportFromPEO->trigger();
    EXPECT_TRUE(checked);
    frmImport* dialog = importWindow(f.window);
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(dialog->isVisible());
    ASSERT_EQ(ctx.model.objectCount(), 2);
    EXPECT_EQ(ctx.model.peoObjects[1].name, "Wing");
    ASSERT_NE(f.window.treeHeirachy->itemForKey("o1"), nullptr);
    EXPECT_EQ(ctx.preview.ctlThumbs.Caption, "2 textures loaded");
    EXPECT_TRUE(f.t.errors.reports.empty());

    // Shown again, the window starts empty.
    QTimer::singleShot(0, [&] {
        auto* again = qobject_cast<frmImport*>(QApplication::activeModalWidget());
        ASSERT_EQ(again, dialog);
        EXPECT_EQ(again->treeHeirachy->topLevelItemCount(), 0);
        EXPECT_FALSE(again->cmdImport->isEnabled());
        EXPECT_TRUE(again->StatusBar1->currentMessage().isEmpty());
        again->hide();
    });
    f.window.mnuImportFromPEO->trigger();
}
