// The "Materials" page on the main window: its controls, and its buttons working on the model in memory.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <QCheckBox>
#include <QTest>
#include <QTimer>

#include <functional>

#include "../model/PeoFixture.h"
#include "Screenshot.h"
#include "WindowFixture.h"
#include "materials/ui/MaterialsPage.h"
#include "materials/ui/frmMaterials.h"
#include "materials/MaterialList.h"
#include "materials/state/MaterialsPageState.h"

namespace tarv {
namespace {

// Opens a model of `count` public materials on the textures "Hull" and "Engine" in turn, and one object whose
// three triangles use materials 1, 0 and 1.
struct MaterialsPageTest : test::WindowFixture, ::testing::Test {
    void loadMaterials(int count, const std::function<void(test::FxFile&)>& change = {}) {
        test::FxFile file;
        for (int i = 0; i < count; ++i) {
            file.publicMaterials.emplace_back();
            file.publicMaterials.back().texture = i % 2 ? "Engine" : "Hull";
        }
        test::FxObject object = test::squareObject("Hull");
        object.polygons = {{0, 1, 2, 1, 0}, {0, 1, 2, 0, 0}, {0, 1, 2, 1, 0}};
        file.objects = {object};
        if (change) change(file);
        openShip(test::buildPeo(file).data());
        test::clickTab(window.SSTab1, window.pageMaterials);
    }
    QListWidget* list() { return find<QListWidget>("lstMaterial"); }
    QPoint rowAt(int row) { return list()->visualItemRect(list()->item(row)).center(); }
    // A double click as the mouse sends it: press, release, the second press, release.
    void doubleClick(QPoint at) {
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(list()->viewport(), Qt::LeftButton, {}, at);
    }
};

TEST_F(MaterialsPageTest, HasItsFramesButtonsAndHint) {
    EXPECT_EQ(find<QGroupBox>("frameMaterialsList")->title(), "Materials List");
    EXPECT_EQ(find<QGroupBox>("frameMaterialOptions")->title(), "Material Options");
    const std::pair<const char*, const char*> buttons[] = {{"cmdSaveMtl", "&Save all"},
                                                           {"cmdSwapMtl", "S&wap"},
                                                           {"cmdAll2sided", "All Two-sided"},
                                                           {"cmdSmoothObj", "Smooth Selected"},
                                                           {"cmdSmoothAll", "Smooth All"}};
    for (const auto& [name, caption] : buttons) EXPECT_EQ(find<QPushButton>(name)->text(), caption);
    test::saveScreenshotIfAsked(*window.pageMaterials, "materials_page");
    EXPECT_EQ(find<QLabel>("lblMaterialHint")->text(),
              "Double click a material name to edit flags and ambient / diffuse / specular colours.");
}

TEST_F(MaterialsPageTest, ShowsTheMaterialNamesAndTheirSelection) {
    loadMaterials(3);
    auto* list = find<QListWidget>("lstMaterial");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(1)->text(), "Engine");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowAt(2));
    EXPECT_EQ(t.ctx.materialsPage->selectedIndex, 2);
}

TEST_F(MaterialsPageTest, SwapTakesTheEditedBoxes) {
    loadMaterials(2);
    auto* pub = find<QLineEdit>("txtPublic");
    auto* local = find<QLineEdit>("txtLocal");
    test::typeInto(local, "7");
    test::clickOn(find<QPushButton>("cmdSwapMtl"));
    EXPECT_EQ(pub->text(), "7");
    EXPECT_EQ(local->text(), "2");
    EXPECT_EQ(t.ctx.model.publicMaterialCount, 7);
    EXPECT_EQ(t.ctx.model.localMaterialCount, 2);

    t.prompts.expectMessage(kMaterialCountText);
    test::typeInto(pub, "abc");
    test::clickOn(find<QPushButton>("cmdSwapMtl"));
    EXPECT_EQ(t.ctx.model.publicMaterialCount, 7);
}

TEST_F(MaterialsPageTest, FlagButtonsChangeTheMaterials) {
    loadMaterials(2);
    test::clickOn(find<QPushButton>("cmdAll2sided"));
    test::clickOn(find<QPushButton>("cmdSmoothAll"));
    for (const auto& m : t.ctx.model.materials) EXPECT_TRUE(m.twoSided && m.smoothing);
}

TEST_F(MaterialsPageTest, ADoubleClickWithoutASelectionOpensNothing) {
    loadMaterials(2);
    auto* controls = window.findChild<MaterialsPageControls*>("materialsPageControls");
    ASSERT_NE(controls, nullptr);
    ASSERT_EQ(t.ctx.materialsPage->selectedIndex, -1);
    const QRect last = list()->visualItemRect(list()->item(1));
    ASSERT_LT(last.bottom() + 10, list()->viewport()->height());
    doubleClick({last.center().x(), last.bottom() + 10});  // below the names
    EXPECT_EQ(t.ctx.materialsPage->selectedIndex, -1);
    EXPECT_EQ(controls->materialProperties, nullptr);
}

TEST_F(MaterialsPageTest, TheMaterialPropertiesDialogShowsMovesAndCloses) {
    loadMaterials(3, [](test::FxFile& file) {
        file.publicMaterials[1].flags = 8;  // two-sided
        file.publicMaterials[1].ambient = {1, 2, 3, 0};
    });
    auto* controls = window.findChild<MaterialsPageControls*>("materialsPageControls");
    bool ran = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = window.findChild<frmMaterials*>("frmMaterials");
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Material Properties");
        EXPECT_EQ(dialog->mtrLifName->text(), "Material 0 name: Hull");
        EXPECT_FALSE(dialog->cmdPrev->isEnabled());
        EXPECT_FALSE(dialog->txtColours[0]->isEnabled());
        EXPECT_TRUE(dialog->txtColours[9]->isEnabled());
        test::clickOn(dialog->cmdNext);
        EXPECT_EQ(dialog->mtrLifName->text(), "Material 1 name: Engine");
        EXPECT_TRUE(dialog->chkFlags[2]->isChecked());
        EXPECT_EQ(dialog->chkFlags[2]->text(), "2 Sided");
        EXPECT_EQ(dialog->txtColours[0]->text(), "1");
        EXPECT_TRUE(dialog->cmdPrev->isEnabled());
        ASSERT_EQ(dialog->lstMatFaces->count(), 2);
        EXPECT_EQ(dialog->lstMatFaces->item(1)->text(), "0 2");
        test::saveScreenshotIfAsked(*dialog, "material_properties");
        test::clickOn(dialog->chkFlags[0]);  // not applied
        ran = true;
        test::clickOn(dialog->cmdClose);
    });
    doubleClick(rowAt(0));
    EXPECT_TRUE(ran);
    EXPECT_EQ(find<QListWidget>("lstMaterial")->currentRow(), 1);
    EXPECT_FALSE(t.ctx.model.materials[1].smoothing);
    EXPECT_FALSE(controls->materialProperties->isVisible());
}

}  // namespace
}  // namespace tarv
