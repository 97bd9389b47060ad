// The main window's preview controls: view buttons, popup items, Render ticks, the Textures page's lists,
// and what a pick shows in the window's labels, buttons, tabs and tree.
#include <gtest/gtest.h>

#include <QTest>

#include <QLineEdit>

#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include "../model/PeoFixture.h"
#include "Fakes.h"
#include "PreviewFixtures.h"
#include "Screenshot.h"
#include "TempDir.h"
#include "preview/ui/PreviewParts.h"
#include "WindowFixture.h"
#include "shell/frmTARV.h"
#include "objects/ui/ObjectPages.h"
#include "preview/PreviewCamera.h"
#include "editor/context/EditingContext.h"

using namespace tarv;
using namespace tarv::test;

namespace {}  // namespace

TEST(PreviewWindow, ViewButtonsPopupItemsAndPlaceholders) {
    WindowFixture f;
    const char* captions[6] = {"Front", "Back", "Left", "Right", "Top", "Bottom"};
    for (int i = 0; i < 6; ++i) {
        auto* b = f.find<QRadioButton>(QString("view3d_%1").arg(i).toUtf8().constData());
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->text(), captions[i]);
    }
    struct Item {
        const char* name;
        const char* caption;
    };
    for (const Item& item :
         {Item{"mnu3dPreviewHeirachy", "Edit Heirachy"}, Item{"mnu3dPreviewMatrix", "Edit Matrix"},
          Item{"mnu3dPreviewKeyframes", "Edit Keyframes"}, Item{"mnu3dPreviewSpin", "Spin Object"}}) {
        auto* a = f.find<QAction>(item.name);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->text(), item.caption);
        EXPECT_TRUE(f.window.mnu3dPreview->actions().contains(a));
    }
    auto* keyfApply = f.find<QPushButton>("cmdKeyfApply");
    ASSERT_NE(keyfApply, nullptr);
    EXPECT_FALSE(keyfApply->isEnabled());
    EXPECT_NE(f.find<QLabel>("lblMexKey"), nullptr);
    EXPECT_TRUE(f.window.pageTextures->isAncestorOf(f.find<ThumbNail>("ctlThumbs")));
    EXPECT_TRUE(f.window.mnuRenderFlat->isChecked());
    EXPECT_FALSE(f.window.mnuRenderWireframe->isChecked());
    EXPECT_EQ(f.t.ctx.preview.controls, f.window.findChild<PreviewParts*>());
    EXPECT_NE(f.t.ctx.services.materialPreview, nullptr);
}

TEST(PreviewWindow, RenderMenuTicksFollowTheMode) {
    WindowFixture f;
    f.window.mnuRenderWireframe->trigger();
    EXPECT_FALSE(f.t.ctx.view.mnuRenderFlat);
    EXPECT_TRUE(f.window.mnuRenderWireframe->isChecked());
    EXPECT_FALSE(f.window.mnuRenderFlat->isChecked());
    f.window.mnuRenderFlat->trigger();
    EXPECT_TRUE(f.t.ctx.view.mnuRenderFlat);
    EXPECT_TRUE(f.window.mnuRenderFlat->isChecked());
    EXPECT_FALSE(f.window.mnuRenderWireframe->isChecked());
}

TEST(PreviewWindow, TexturesPageShowsTheListAndThumbnails) {
    WindowFixture f;
    PreviewState& p = f.t.ctx.preview;
    p.lstTextures = {{"hull", {"64", "32", "7"}}, {"engine", {}}};
    p.ctlThumbs.Add("/ships/hull.lif", true, FakeTextureSource::checker({255, 0, 0, 255}, {0, 0, 255, 255}));
    p.ctlThumbs.Add("/ships/engine.lif", true);
    p.ctlThumbs.Caption = "2 textures loaded";
    f.window.findChild<PreviewParts*>()->texturesChanged();
    QTreeWidget* list = f.window.pageTextures->lstTextures;
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(0)->text(3), "7");
    EXPECT_EQ(list->topLevelItem(1)->text(1), "");
    // The names are edited in place; the width, height and flags are not.
    clickTab(f.window.SSTab1, f.window.pageTextures);
    EXPECT_TRUE(list->topLevelItem(0)->flags() & Qt::ItemIsEditable);
    // A click on the name, then F2, as the user starts an edit in place.
    const auto editCell = [&](int column) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(0, column)).center());
        QTest::keyClick(list, Qt::Key_F2);
    };
    editCell(0);
    auto* editor = list->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    typeInto(editor, "hull2");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(list->topLevelItem(0)->text(0), "hull2");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    editCell(1);
    EXPECT_EQ(list->viewport()->findChild<QLineEdit*>(), nullptr);
    ThumbNail* thumbs = f.find<ThumbNail>("ctlThumbs");
    ASSERT_EQ(thumbs->Count(), 2);
    EXPECT_EQ(thumbs->findChild<QLabel*>("lblThumbs_0")->text(), "hull");
    EXPECT_EQ(thumbs->findChild<QLabel*>("picThumbs_1")->toolTip(), "/ships/engine.lif");
    EXPECT_FALSE(thumbs->findChild<QLabel*>("picThumbs_0")->pixmap().isNull());
    EXPECT_TRUE(thumbs->findChild<QLabel*>("picThumbs_1")->pixmap().isNull());
    EXPECT_EQ(thumbs->Caption(), "2 textures loaded");
    clickTab(f.window.SSTab1, f.window.pageTextures);
    saveScreenshotIfAsked(f.window, "preview_textures_page");
}

TEST(PreviewWindow, APickShowsInTheWindow) {
    WindowFixture f;
    EditingContext& ctx = f.t.ctx;
    FxFile file;  // a square "hull" of side 10 round its centre, which stands 1.5 along x
    file.publicMaterials = {FxMaterial{}};
    file.objects = {squareObject("hull", 0, 10)};
    for (FxVertex& v : file.objects[0].vertices) v.x -= 5, v.y -= 5;
    file.objects[0].fileMatrix[12] = 1.5f;
    f.openShip(buildPeo(file).data());
    QWidget* canvas = f.window.RMCanvas1;
    f.window.mnuRenderReset->trigger();
    clickTab(f.window.SSTab1, f.window.pageObjects);
    clickTab(f.window.pageObjects->SSTab2, f.window.pageObjects->pageHeirachy);

    QTest::mouseClick(canvas, Qt::LeftButton, {}, canvas->rect().center());
    EXPECT_EQ(f.window.pageObjects->lblKey->text(), "o0");
    EXPECT_EQ(f.window.Dx_Label1->text(), "Selected object: hull (X: 1.5 Y: 0 Z: 0)");
    EXPECT_TRUE(f.find<QPushButton>("cmdApplyMatrix")->isEnabled());
    EXPECT_EQ(f.window.SSTab1->currentIndex(), 2);
    EXPECT_EQ(f.window.pageObjects->SSTab2->currentIndex(), 1);
    ASSERT_NE(f.window.treeHeirachy->currentItem(), nullptr);
    EXPECT_EQ(f.window.treeHeirachy->currentItem()->text(0), "hull");

    // The spin item's caption is the window's.
    f.find<QAction>("mnu3dPreviewSpin")->trigger();
    EXPECT_EQ(f.find<QAction>("mnu3dPreviewSpin")->text(), "Stop Spin");
    EXPECT_EQ(ctx.preview.playback.isPlaying, 1);
    f.find<QAction>("mnu3dPreviewSpin")->trigger();
    EXPECT_EQ(f.find<QAction>("mnu3dPreviewSpin")->text(), "Spin Object");

    // A click on empty canvas.
    QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(f.window.pageObjects->lblKey->text(), "");
    EXPECT_EQ(f.window.Dx_Label1->text(), "Nothing selected");
    EXPECT_FALSE(f.find<QPushButton>("cmdKeyfApply")->isEnabled());

    // The Top button turns the orbit.
    clickOn(f.find<QRadioButton>("view3d_4"));
    EXPECT_FLOAT_EQ(ctx.preview.camera.orbitAngleY, 7.8f);
}
