// The "Textures" page and the texture preview window on the main window: the page's controls, a click
// reading the header, the openers showing texPeek modally, a rename typed into the list, Save changes,
// and the preview window's buttons, menus and swatches.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "../model/PeoFixture.h"
#include "LifFixtures.h"
#include "WindowFixture.h"
#include "materials/TextureRename.h"
#include "materials/TexturesPage.h"
#include "materials/ui/ThumbNail.h"
#include "materials/ui/frmLifPreview.h"
#include "preview/state/PreviewState.h"

namespace tarv {
namespace {

// A model whose materials name the textures "hull", "engine" and "wing", opened from a folder that holds
// hull.lif and Engine.lif (no wing.lif).
struct TexturesPageTest : test::WindowFixture, ::testing::Test {
    std::filesystem::path& ship = shipFolder;
    QTreeWidget* list = nullptr;
    frmLifPreview* preview = nullptr;

    void SetUp() override {
        test::FxFile model;
        for (const char* texture : {"hull", "engine", "wing"}) {
            model.publicMaterials.emplace_back();
            model.publicMaterials.back().texture = texture;
        }
        model.objects = {test::squareObject("Hull")};
        openShipFolder({{"hull.lif", test::standard2x2(50)},
                        {"Engine.lif", test::standardLif(std::vector<uint8_t>(64 * 32, 2), 64, 32, 18)},
                        {"model.peo", test::buildPeo(model).data()}},
                       "model.peo");
        list = find<QTreeWidget>("lstTextures");
        preview = find<frmLifPreview>("frmLifPreview");
        test::clickTab(window.SSTab1, window.pageTextures);
    }

    // The middle of the row's name.
    QPoint at(int row) {
        const QRect r = list->visualItemRect(list->topLevelItem(row));
        return {list->header()->sectionViewportPosition(0) + list->header()->sectionSize(0) / 2, r.center().y()};
    }
    void clickRow(int row) { QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at(row)); }
    // A double click as the mouse sends it: press, release, the second press, release.
    void doubleClickRow(int row) {
        clickRow(row);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at(row));
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at(row));
    }
    // Selects the row, presses F2 and types the new name into the editor that opens, ending with Enter.
    void renameRow(int row, const char* name) {
        if (list->currentItem() != list->topLevelItem(row)) clickRow(row);
        QTest::keyClick(list, Qt::Key_F2);
        auto* editor = list->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, name);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();  // the list takes the text after the key
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Runs check while the modal preview window is shown, then closes it with its Close button.
    void whileShown(std::function<void()> check) {
        QTimer::singleShot(0, preview, [this, check] {
            EXPECT_TRUE(preview->isVisible());
            check();
            test::clickOn(preview->cmdClose);
        });
    }
    void click(QWidget* w) {
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &release);
    }
};

TEST_F(TexturesPageTest, HasItsControls) {
    EXPECT_EQ(find<QLabel>("lblTexturesInFile")->text(), "Textures in file:");
    EXPECT_EQ(find<QGroupBox>("fraAdvancedLifOptions")->title(), "Advanced LiF Options - Do not change!!");
    EXPECT_EQ(find<QPushButton>("cmdSaveCRCs")->text(), "Save changes");
    EXPECT_EQ(find<QPushButton>("cmdLifApplyToAll")->text(), "Apply to all LIFs");
    auto* fix = find<QPushButton>("cmdFixLif");
    EXPECT_EQ(fix->text(), "Fix 3dex Lifs");
    EXPECT_FALSE(fix->isEnabled());
    EXPECT_TRUE(fix->isHidden());
    EXPECT_EQ(window.findChildren<ThumbNail*>("ctlThumbs").size(), 1);
    EXPECT_EQ(window.pageTextures->findChildren<ThumbNail*>("ctlThumbs").size(), 1);
    EXPECT_EQ(preview->windowTitle(), "texPeek v1.2");
    EXPECT_FALSE(preview->isVisible());
    ASSERT_EQ(list->topLevelItemCount(), 3);
}

TEST_F(TexturesPageTest, StartUpPaintsThePreviewsSwatches) {
    for (SwatchWindow* window : t.ctx.shell.swatchWindows) {
        window->paintSwatchColour(SwatchColour::PlayerBase, 0x0000FF);
        window->paintSwatchColour(SwatchColour::PlayerStripe, 0xFF0000);
    }
    EXPECT_EQ(preview->picTeam0->palette().color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_EQ(preview->picTeam1->palette().color(QPalette::Window), QColor(0, 0, 255));
    preview->sync();
    EXPECT_EQ(preview->picTeam1->palette().color(QPalette::Window), QColor(0, 0, 255));
}

TEST_F(TexturesPageTest, TheLoadListsTheModelsTexturesWithTheirHeaders) {
    ASSERT_EQ(list->topLevelItemCount(), 3);
    const char* rows[3][4] = {{"hull", "2", "2", "50"}, {"engine", "64", "32", "18"}, {"wing", "", "", ""}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_EQ(list->topLevelItem(r)->text(c), rows[r][c]) << r << " " << c;
}

TEST_F(TexturesPageTest, AClickReadsTheHeaderIntoTheBoxes) {
    clickRow(1);
    EXPECT_EQ(find<QLineEdit>("txtLifFlags")->text(), "18");
    EXPECT_EQ(find<QLineEdit>("txtPalCRC")->text(), "9");
    EXPECT_EQ(find<QLineEdit>("txtImgCRC")->text(), "7");
    EXPECT_EQ(t.ctx.preview.lstTexturesSelected, 1);
}

TEST_F(TexturesPageTest, ADoubleClickShowsThePreviewOnTheTexture) {
    bool checked = false;
    whileShown([&] {
        EXPECT_EQ(preview->panels[0]->text().toStdString(), (ship / "Engine.lif").string());
        EXPECT_EQ(preview->panels[1]->text(), "64");
        EXPECT_EQ(preview->panels[3]->text(), "1");
        EXPECT_TRUE(preview->mnuView->isEnabled());
        EXPECT_TRUE(preview->cmdPrev->isEnabled());
        EXPECT_TRUE(preview->cmdNext->isEnabled());
        checked = true;
    });
    doubleClickRow(1);
    EXPECT_TRUE(checked);
    EXPECT_FALSE(preview->isVisible());
    // The missing texture opens nothing.
    doubleClickRow(2);
    EXPECT_FALSE(preview->isVisible());
}

TEST_F(TexturesPageTest, LifViewerOpensWithoutAFile) {
    bool checked = false;
    whileShown([&] {
        EXPECT_EQ(preview->panels[0]->text(), "");
        EXPECT_FALSE(preview->mnuView->isEnabled());
        EXPECT_FALSE(preview->mnuFileExportBMP->isEnabled());
        EXPECT_FALSE(preview->mnuFixLif->isEnabled());
        EXPECT_FALSE(preview->picTeam0->isVisible());
        checked = true;
    });
    window.mnuTexPeek->trigger();
    EXPECT_TRUE(checked);
}

TEST_F(TexturesPageTest, InThePreviewNextViewItemsZoomAndASwatch) {
    t.prompts.expectColour(0x00FF00);
    bool checked = false;
    whileShown([&] {
        test::clickOn(preview->cmdNext);
        EXPECT_EQ(preview->panels[0]->text().toStdString(), (ship / "Engine.lif").string());
        EXPECT_EQ(list->currentItem(), list->topLevelItem(1));
        preview->viewItems[4]->trigger();  // Base+&Team0
        EXPECT_EQ(preview->panels[3]->text(), "5");
        EXPECT_TRUE(preview->picTeam0->isVisible());
        EXPECT_FALSE(preview->picTeam1->isVisible());
        click(preview->picTeam0);
        EXPECT_EQ(t.ctx.prefs.playerBaseColor, (RgbColour{0, 255, 0, t.ctx.prefs.playerBaseColor.unused}));
        EXPECT_EQ(preview->picTeam0->palette().color(QPalette::Window), QColor(0, 255, 0));
        test::clickOn(preview->cmdZoom);
        EXPECT_EQ(preview->cmdZoom->text(), "Zoom Out");
        EXPECT_EQ(preview->Image1->size(), QSize(256, 256));
        checked = true;
    });
    doubleClickRow(0);
    EXPECT_TRUE(checked);
}

TEST_F(TexturesPageTest, ARenameTypedIntoTheListMovesTheFile) {
    t.prompts.expectYesNo(false,
                          "A material was renamed, do you want to copy (Yes) or move (No) the LiF to its new name?");
    renameRow(0, "hull2");
    EXPECT_TRUE(std::filesystem::exists(ship / "hull2.lif"));
    EXPECT_FALSE(std::filesystem::exists(ship / "hull.lif"));
    EXPECT_EQ(list->topLevelItem(0)->text(0), "hull2");
    EXPECT_EQ(list->topLevelItem(0)->text(1), "Yes");
    EXPECT_EQ(t.ctx.model.textures[0].name, "hull2");
    // A clashing name is refused and the item gets its old text back.
    t.prompts.expectMessage(kTextureNameRefused);
    renameRow(0, "engine");
    EXPECT_EQ(list->topLevelItem(0)->text(0), "hull2");
}

TEST_F(TexturesPageTest, SaveChangesWritesTheEditedBoxes) {
    clickRow(0);
    auto* flags = find<QLineEdit>("txtLifFlags");
    flags->setFocus();
    flags->selectAll();
    QTest::keyClicks(flags, "3.5");
    test::clickOn(find<QPushButton>("cmdSaveCRCs"));
    const auto bytes = test::readBytes(ship / "hull.lif");
    EXPECT_EQ(bytes[12], 4);
    EXPECT_TRUE(t.errors.reports.empty());
}

}  // namespace
}  // namespace tarv
