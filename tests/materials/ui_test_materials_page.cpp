// The "Materials" page on the main window: its controls, and its buttons working on the model in memory.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "WindowFixture.h"
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
    const std::pair<const char*, const char*> buttons[] = {
        {"cmdSaveMtl", "&Save all"},         {"cmdSwapMtl", "S&wap"},       {"cmdAll2sided", "All Two-sided"},
        {"cmdSmoothObj", "Smooth Selected"}, {"cmdSmoothAll", "Smooth All"}};
    for (const auto& [name, caption] : buttons) EXPECT_EQ(find<QPushButton>(name)->text(), caption);
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

} // namespace
} // namespace tarv
