// The main window driven as a user drives it, on the sample ship: the recoil box across a reload, a click on
// the tick box of the selected tree node, and the Material Properties swatches while the dialog moves.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "Fakes.h"
#include "SampleShip.h"
#include "TempDir.h"
#include "UserInput.h"
#include "app/EditorStart.h"
#include "editor/context/EditingContext.h"
#include "materials/ui/frmMaterials.h"
#include "shell/KeyedTreeWidget.h"
#include "shell/frmTARV.h"

using namespace tarv;
using namespace tarv::test;
namespace fs = std::filesystem;

namespace {

// The sample ship in a folder of the test's, its gun 0 recoiling on the object "Gun", opened through
// File > Open in a shown main window.
struct ShipSession {
    TempDir dir;
    TestContext t{dir.path() / "data"};
    fs::path ship = dir.path() / "ship";
    std::unique_ptr<frmTARV> window;

    ShipSession() {
        fs::create_directories(dir.path() / "data");
        samples::writeSampleShip(ship);
        std::string shp = readText(ship / samples::kSampleShpName);
        const std::string binding = "BindGun\t\t\tGun\tGUN0,Declination";
        shp.insert(shp.find(binding) + binding.size(), "\r\nBindGun\t\t\tGun\tGUN0,Recoil");
        writeText(ship / samples::kSampleShpName, shp);
        t.preferencesStore.setKeyValue("AlwaysShowBackup", "0");
        window = std::make_unique<frmTARV>(t.ctx);
        installSubsystems(*window);
        t.ctx.services.status = window.get();
        t.ctx.services.errorReport = &t.errors;
        window->Form_Load("");
        window->show();
        t.prompts.expectOpen(FileDialogChoice{(ship / samples::kSampleShpName).string(), 1});
        window->mnuFileOpen->trigger();
        EXPECT_EQ(window->lblStatus->text(), "Ship loaded");
    }
    ~ShipSession() {
        window.reset();
        t.ctx.services.status = &t.status;
    }
    template <class T>
    T* find(const char* name) {
        T* found = window->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    KeyedTreeWidget* tree() {
        clickTab(window->SSTab1, window->pageObjects);
        clickTab(window->pageObjects->SSTab2, window->pageObjects->pageHeirachy);
        return window->treeHeirachy;
    }
    QTreeWidgetItem* node(const char* name) {
        const auto found = tree()->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
        EXPECT_EQ(found.size(), 1) << name;
        return found.value(0);
    }
    void clickText(const char* name) {
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, tree()->visualItemRect(node(name)).center());
    }
    void clickBox(const char* name) {
        QTreeWidgetItem* item = node(name);
        QStyleOptionViewItem option;
        option.initFrom(tree());
        option.rect = tree()->visualItemRect(item);
        option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
        option.text = item->text(0);
        const QPoint box =
            tree()->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, tree()).center();
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, box);
    }
    QLineEdit* openEditor() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return tree()->viewport()->findChild<QLineEdit*>();
    }
};

// Runs fn once the modal window that is about to open has opened.
void whenOpen(std::function<void()> fn) { QTimer::singleShot(0, std::move(fn)); }

}  // namespace

TEST(WindowSessions, TheRecoilBoxStartsAgainAfterAReload) {
    ShipSession s;
    auto* recoil = s.find<QCheckBox>("chkShowRecoil");
    EXPECT_FALSE(recoil->isEnabled());
    s.clickText("Gun");
    clickTab(s.window->pageObjects->SSTab2, s.window->pageObjects->pageMatrix);
    ASSERT_TRUE(recoil->isEnabled());
    QStyleOptionButton option;
    option.initFrom(recoil);
    const QPoint box = recoil->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, recoil).center();
    QTest::mouseClick(recoil, Qt::LeftButton, {}, box);
    EXPECT_TRUE(recoil->isChecked());

    s.window->mnuReload->trigger();
    EXPECT_EQ(s.t.ctx.objects.selectedObject, -1);
    EXPECT_FALSE(recoil->isChecked());
    EXPECT_FALSE(recoil->isEnabled());
    QTest::mouseClick(recoil, Qt::LeftButton, {}, box);
    EXPECT_FALSE(recoil->isChecked());

    // A gun's joint selected again offers the box, unticked.
    s.clickText("Gun");
    EXPECT_TRUE(recoil->isEnabled());
    EXPECT_FALSE(recoil->isChecked());
    s.clickText("Hull");
    EXPECT_FALSE(recoil->isEnabled());
    EXPECT_TRUE(s.t.errors.reports.empty()) << s.t.errors.reports.front().procedure;
}

TEST(WindowSessions, AClickOnTheTickBoxOfTheSelectedNodeTicksAndNeverRenames) {
    ShipSession s;
    // The load selects the first node: another one first, so the click on "Hull" only selects it.
    s.clickText("Turret");
    s.clickText("Hull");
    ASSERT_EQ(s.t.ctx.objects.selectedObject, 0);
    ASSERT_EQ(s.openEditor(), nullptr);
    for (const Qt::CheckState expected : {Qt::Unchecked, Qt::Checked}) {
        s.clickBox("Hull");
        EXPECT_EQ(s.node("Hull")->checkState(0), expected);
        EXPECT_EQ(s.openEditor(), nullptr);
        // What the user types next goes nowhere near the name.
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClicks(focus, "zz");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCoreApplication::processEvents();
        EXPECT_EQ(s.t.ctx.model.peoObjects[0].name, "Hull");
    }
    EXPECT_EQ(s.t.ctx.view.viewObjects[0].shown, -1);

    // F2 and a second click on the label still rename.
    QTest::keyClick(s.tree(), Qt::Key_F2);
    ASSERT_NE(s.openEditor(), nullptr);
    QTest::keyClick(s.openEditor(), Qt::Key_Escape);
    EXPECT_EQ(s.openEditor(), nullptr);
    s.clickText("Hull");
    QLineEdit* editor = s.openEditor();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "Keel");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(s.t.ctx.model.peoObjects[0].name, "Keel");
    EXPECT_TRUE(s.t.errors.reports.empty()) << s.t.errors.reports.front().procedure;
}

TEST(WindowSessions, MaterialSwatchesShowTheMaterialOnDisplay) {
    ShipSession s;
    clickTab(s.window->SSTab1, s.window->pageMaterials);
    auto* list = s.find<QListWidget>("lstMaterial");
    ASSERT_GE(list->count(), 3);
    // The sample's ambient, diffuse and specular colours of each material.
    const std::array<std::array<QColor, 3>, 3> colours = {{
        {QColor(60, 60, 60), QColor(200, 200, 210), QColor(255, 255, 255)},
        {QColor(50, 50, 50), QColor(180, 180, 140), QColor(128, 128, 128)},
        {QColor(40, 0, 0), QColor(220, 40, 30), QColor(255, 200, 200)},
    }};
    const auto open = [&](int row, std::function<void(frmMaterials&)> inside) {
        const QPoint at = list->visualItemRect(list->item(row)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        bool ran = false;
        whenOpen([&] {
            auto* dialog = s.window->findChild<frmMaterials*>("frmMaterials");
            ASSERT_NE(dialog, nullptr);
            inside(*dialog);
            ran = true;
            clickOn(dialog->cmdClose);
        });
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        EXPECT_TRUE(ran) << row;
    };
    // What each swatch shows on the screen, and the number boxes beside it.
    const auto expectShown = [&](frmMaterials& dialog, int material) {
        for (int k = 0; k < 3; ++k) {
            QPushButton* swatch = dialog.findChild<QPushButton*>(QString("Picture%1").arg(k + 1));
            ASSERT_NE(swatch, nullptr);
            const QImage shown = swatch->grab().toImage();
            const QColor& want = colours[size_t(material)][size_t(k)];
            EXPECT_EQ(shown.pixelColor(shown.width() / 2, shown.height() / 2), want)
                << "material " << material << " swatch " << k + 1;
            EXPECT_EQ(dialog.txtColours[size_t(3 * k)]->text().toInt(), want.red());
        }
    };

    open(0, [&](frmMaterials& dialog) {
        expectShown(dialog, 0);
        clickOn(dialog.cmdNext);
        expectShown(dialog, 1);
        clickOn(dialog.cmdNext);
        expectShown(dialog, 2);
        clickOn(dialog.cmdPrev);
        expectShown(dialog, 1);
    });
    open(2, [&](frmMaterials& dialog) { expectShown(dialog, 2); });
    open(0, [&](frmMaterials& dialog) { expectShown(dialog, 0); });
    EXPECT_TRUE(s.t.errors.reports.empty()) << s.t.errors.reports.front().procedure;
}
