// The "Materials" page on the main window: its controls, and its buttons working on the model in memory.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <QCheckBox>
#include <QTimer>

#include "Screenshot.h"
#include "WindowFixture.h"
#include "materials/ui/MaterialsPage.h"
#include "materials/ui/frmMaterials.h"
#include "materials/MaterialList.h"
#include "materials/state/MaterialsPageState.h"

namespace tarv {
namespace {

struct MaterialsPageTest : test::WindowFixture, ::testing::Test {
    void loadMaterials(int count) {
        auto& model = t.ctx.model;
        model.textures = {{"Hull", false}, {"Engine", false}};
        model.materials.assign(size_t(count), PeoMaterial{});
        for (int i = 0; i < count; ++i) model.materials[size_t(i)].texture = int16_t(i % 2);
        model.publicMaterialCount = int16_t(count);
        t.ctx.materialsPage->txtPublic = std::to_string(count);
        t.ctx.materialsPage->txtLocal = "0";
        showMaterials(t.ctx);
        window.syncFromContext();
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
    list->setCurrentRow(2);
    EXPECT_EQ(t.ctx.materialsPage->selectedIndex, 2);
}

TEST_F(MaterialsPageTest, SwapTakesTheEditedBoxes) {
    loadMaterials(2);
    auto* pub = find<QLineEdit>("txtPublic");
    auto* local = find<QLineEdit>("txtLocal");
    local->selectAll();
    local->insert("7");  // as typed
    find<QPushButton>("cmdSwapMtl")->click();
    EXPECT_EQ(pub->text(), "7");
    EXPECT_EQ(local->text(), "2");
    EXPECT_EQ(t.ctx.model.publicMaterialCount, 7);
    EXPECT_EQ(t.ctx.model.localMaterialCount, 2);

    t.prompts.expectMessage(kMaterialCountText);
    pub->selectAll();
    pub->insert("abc");
    find<QPushButton>("cmdSwapMtl")->click();
    EXPECT_EQ(t.ctx.model.publicMaterialCount, 7);
}

TEST_F(MaterialsPageTest, FlagButtonsChangeTheMaterials) {
    loadMaterials(2);
    find<QPushButton>("cmdAll2sided")->click();
    find<QPushButton>("cmdSmoothAll")->click();
    for (const auto& m : t.ctx.model.materials) EXPECT_TRUE(m.twoSided && m.smoothing);
}

TEST_F(MaterialsPageTest, ADoubleClickWithoutASelectionOpensNothing) {
    loadMaterials(2);
    auto* controls = window.findChild<MaterialsPageControls*>("materialsPageControls");
    ASSERT_NE(controls, nullptr);
    controls->lstMaterial_DblClick();
    EXPECT_EQ(controls->materialProperties, nullptr);
}

TEST_F(MaterialsPageTest, TheMaterialPropertiesDialogShowsMovesAndCloses) {
    loadMaterials(3);
    t.ctx.model.materials[1].twoSided = true;
    t.ctx.model.materials[1].ambient = {1, 2, 3, 0};
    t.ctx.model.peoObjects.assign(1, PeoObject{});
    t.ctx.model.peoObjects[0].polygons = {newPolygon(0, 1, 2, 1), newPolygon(0, 1, 2, 0), newPolygon(0, 1, 2, 1)};
    auto* controls = window.findChild<MaterialsPageControls*>("materialsPageControls");
    find<QListWidget>("lstMaterial")->setCurrentRow(0);
    bool ran = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = window.findChild<frmMaterials*>("frmMaterials");
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Material Properties");
        EXPECT_EQ(dialog->mtrLifName->text(), "Material 0 name: Hull");
        EXPECT_FALSE(dialog->cmdPrev->isEnabled());
        EXPECT_FALSE(dialog->txtColours[0]->isEnabled());
        EXPECT_TRUE(dialog->txtColours[9]->isEnabled());
        dialog->cmdNext->click();
        EXPECT_EQ(dialog->mtrLifName->text(), "Material 1 name: Engine");
        EXPECT_TRUE(dialog->chkFlags[2]->isChecked());
        EXPECT_EQ(dialog->chkFlags[2]->text(), "2 Sided");
        EXPECT_EQ(dialog->txtColours[0]->text(), "1");
        EXPECT_TRUE(dialog->cmdPrev->isEnabled());
        ASSERT_EQ(dialog->lstMatFaces->count(), 2);
        EXPECT_EQ(dialog->lstMatFaces->item(1)->text(), "0 2");
        test::saveScreenshotIfAsked(*dialog, "material_properties");
        dialog->chkFlags[0]->click();  // not applied
        ran = true;
        dialog->cmdClose->click();
    });
    controls->lstMaterial_DblClick();
    EXPECT_TRUE(ran);
    EXPECT_EQ(find<QListWidget>("lstMaterial")->currentRow(), 1);
    EXPECT_FALSE(t.ctx.model.materials[1].smoothing);
    EXPECT_FALSE(controls->materialProperties->isVisible());
}

}  // namespace
}  // namespace tarv
