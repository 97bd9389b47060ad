// The "Material Properties" dialog's logic: what it shows, navigation, the colour pickers and Apply.
#include <gtest/gtest.h>

#include <filesystem>

#include <unistd.h>

#include "ByteBuilder.h"
#include "Fakes.h"
#include "TempDir.h"
#include "base/AtomicFile.h"
#include "editor/context/EditingContext.h"
#include "materials/MaterialPatch.h"
#include "materials/MaterialProperties.h"
#include "materials/state/MaterialsPageState.h"
#include "model/state/ShipModel.h"

namespace tarv {
namespace {

struct MaterialPropertiesTest : ::testing::Test {
    test::TempDir dir;
    test::TestContext t{dir.path()};
    std::filesystem::path peo = dir / "ship.peo";
    MaterialsPageState& page = *t.ctx.materialsPage;
    MaterialPropertiesState& d = t.ctx.materialsPage->properties;

    // count materials on textures "Hull", "Gun", ...; material k's entry sits at 68 + 32 k in the file.
    void model(int count) {
        auto& m = t.ctx.model;
        m.textures = {{"Hull", false}, {"Gun", false}, {"Fin", false}};
        m.materials.clear();
        page.lstMaterial.clear();
        for (int k = 0; k < count; ++k) {
            PeoMaterial mat;
            mat.texture = int16_t(k % 3);
            mat.ambient = {uint8_t(10 + k), 20, 30, 0};
            mat.diffuse = {40, 50, 60, 0};
            mat.specular = {70, 80, 90, 0};
            mat.kAlpha = 0.5f;
            mat.fullAmbient = -21760;
            mat.twoSided = k == 1;
            mat.filePosition = 68 + 32 * k + 1;
            m.materials.push_back(mat);
            page.lstMaterial.push_back(m.textures[size_t(k % 3)].name);
        }
        m.peoObjects.assign(2, PeoObject{});
        m.peoObjects[0].polygons = {newPolygon(0, 1, 2, 1), newPolygon(0, 1, 2, 0), newPolygon(0, 1, 2, 1)};
        m.peoObjects[1].name = kDeletedObjectName;
        m.peoObjects[1].polygons = {newPolygon(0, 1, 2, 1)};
        page.selectedIndex = 0;
        t.ctx.currentModelPath = peo.string();
        test::ByteBuilder b;
        b.str("RMF99ba").u8(0).i32(0x402).i32(0).i32(0).i32(0).i32(count).i32(0).i32(68).i32(0).i32(0);
        b.fill(24, 0xAB);
        for (int k = 0; k < count; ++k) b.fill(32, uint8_t(0x40 + k));
        test::writeBytes(peo, b.data());
    }
};

TEST_F(MaterialPropertiesTest, ShowsTheSelectedMaterial) {
    model(3);
    page.selectedIndex = 1;
    frmMaterials_Activate(t.ctx);
    EXPECT_EQ(d.mtrLifName, "Material 1 name: Gun");
    EXPECT_EQ(d.chkFlags, (std::array<bool, 6>{false, false, true, false, false, false}));
    EXPECT_EQ(d.txtColours,
              (std::array<std::string, 12>{"11", "20", "30", "40", "50", "60", "70", "80", "90", "0", "0", "0"}));
    EXPECT_EQ(d.txtMtrKAlpha, "0.5");
    EXPECT_EQ(d.txtFullAmbient, "-21760");
    EXPECT_EQ(d.lstMatFaces, (std::vector<std::string>{"0 0", "0 2", "1 0"}));  // deleted objects included
    EXPECT_FALSE(d.rgbBoxesEnabled);
    EXPECT_EQ(d.swatches[0], 11 + 256 * 20 + 65536 * 30);

    page.selectedIndex = 2;
    frmMaterials_Activate(t.ctx);
    EXPECT_TRUE(d.lstMatFaces.empty());
}

TEST_F(MaterialPropertiesTest, NavigationFollowsTheListAndTheSwatchesFollowTheMaterial) {
    model(1);
    frmMaterials_Activate(t.ctx);
    EXPECT_FALSE(d.cmdPrevEnabled);
    EXPECT_FALSE(d.cmdNextEnabled);

    model(2);
    frmMaterials_Activate(t.ctx);
    EXPECT_EQ(d.swatches[0], 10 + 256 * 20 + 65536 * 30);
    cmdNext_Click(t.ctx);
    EXPECT_EQ(page.selectedIndex, 1);
    EXPECT_TRUE(d.cmdPrevEnabled);
    EXPECT_FALSE(d.cmdNextEnabled);
    EXPECT_EQ(d.txtColours[0], "11");
    EXPECT_EQ(d.swatches, (std::array<int32_t, 3>{11 + 256 * 20 + 65536 * 30, 40 + 256 * 50 + 65536 * 60,
                                                  70 + 256 * 80 + 65536 * 90}));
    cmdPrev_Click(t.ctx);
    EXPECT_EQ(d.swatches[0], 10 + 256 * 20 + 65536 * 30);
    EXPECT_FALSE(d.cmdPrevEnabled);
    EXPECT_TRUE(d.cmdNextEnabled);

    model(3);
    page.selectedIndex = 1;
    frmMaterials_Activate(t.ctx);
    EXPECT_TRUE(d.cmdPrevEnabled && d.cmdNextEnabled);
}

TEST_F(MaterialPropertiesTest, ThePickerStartsFromTheBoxesAndCancelKeepsThem) {
    model(1);
    frmMaterials_Activate(t.ctx);
    t.prompts.expectColour(std::nullopt);
    pictureClick(t.ctx, 1);
    EXPECT_EQ(d.swatches[1], 40 + 256 * 50 + 65536 * 60);
    EXPECT_EQ(d.CommonDialog1.Color, d.swatches[1]);
    EXPECT_EQ(d.txtColours[3], "40");
    t.prompts.expectColour(1 + 256 * 2 + 65536 * 3);
    pictureClick(t.ctx, 2);
    EXPECT_EQ((std::vector<std::string>{d.txtColours[6], d.txtColours[7], d.txtColours[8]}),
              (std::vector<std::string>{"1", "2", "3"}));
    // Close without Apply: nothing stored; the next showing has the stored values again.
    frmMaterials_Activate(t.ctx);
    EXPECT_EQ(d.txtColours[6], "70");
    EXPECT_EQ(t.ctx.model.materials[0].specular, (ColourBytes{70, 80, 90, 0}));
}

TEST_F(MaterialPropertiesTest, ApplyStoresTheBoxesAndPatchesTheEntry) {
    model(2);
    frmMaterials_Activate(t.ctx);
    d.chkFlags = {false, false, true, false, false, false};
    d.txtColours[9] = "2.5";
    d.txtColours[10] = "3.5";
    d.txtMtrKAlpha = "9";
    d.txtFullAmbient = "-2";
    const auto before = test::readBytes(peo);
    cmdApply_Click(t.ctx);
    const PeoMaterial& m = t.ctx.model.materials[0];
    EXPECT_EQ(m.ambient, (ColourBytes{10, 20, 30, 2}));
    EXPECT_EQ(m.diffuse, (ColourBytes{40, 50, 60, 4}));
    EXPECT_TRUE(m.twoSided);
    EXPECT_EQ(m.kAlpha, 0.5f);
    EXPECT_EQ(m.fullAmbient, -2);
    auto expected = before;
    const std::vector<uint8_t> entry = {10, 20, 30, 2, 40, 50, 60, 4, 70, 80, 90, 0};
    std::copy(entry.begin(), entry.end(), expected.begin() + 68 + 4);
    expected[68 + 24] = 8;
    expected[68 + 25] = 0;
    expected[68 + 26] = 0xFE;
    expected[68 + 27] = 0xFF;
    EXPECT_EQ(test::readBytes(peo), expected);
    EXPECT_TRUE(t.errors.reports.empty());
}

TEST_F(MaterialPropertiesTest, AnOutOfRangeBoxChangesNothing) {
    model(2);
    frmMaterials_Activate(t.ctx);
    d.txtColours[0] = "12";
    d.chkFlags[0] = true;
    d.txtFullAmbient = "5";
    d.txtColours[11] = "256";
    const auto before = test::readBytes(peo);
    const PeoMaterial kept = t.ctx.model.materials[0];
    cmdApply_Click(t.ctx);
    ASSERT_EQ(t.errors.reports.size(), 1u);
    EXPECT_EQ(t.errors.reports[0].description, "Overflow");
    EXPECT_EQ(t.errors.reports[0].module, "frmMaterials");
    EXPECT_EQ(t.errors.reports[0].procedure, "cmdApply_Click");
    EXPECT_EQ(t.ctx.model.materials[0].ambient, kept.ambient);
    EXPECT_FALSE(t.ctx.model.materials[0].smoothing);
    EXPECT_EQ(t.ctx.model.materials[0].fullAmbient, kept.fullAmbient);
    EXPECT_EQ(test::readBytes(peo), before);
}

TEST_F(MaterialPropertiesTest, AMissingModelFileIsReportedAndNotCreated) {
    model(1);
    frmMaterials_Activate(t.ctx);
    std::filesystem::remove(peo);
    cmdApply_Click(t.ctx);
    ASSERT_EQ(t.errors.reports.size(), 1u);
    EXPECT_EQ(t.errors.reports[0].procedure, "cmdApply_Click");
    EXPECT_FALSE(std::filesystem::exists(peo));
}

TEST_F(MaterialPropertiesTest, AFolderThatRefusesTheWriteLeavesTheFileWhole) {
    model(2);
    frmMaterials_Activate(t.ctx);
    d.chkFlags[0] = true;
    const auto before = test::readBytes(peo);
    // A read-only folder; root writes there anyway, so it gets a failing write instead.
    const bool root = ::geteuid() == 0;
    if (root)
        failNextAtomicWriteForTesting();
    else
        std::filesystem::permissions(dir.path(),
                                     std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    cmdApply_Click(t.ctx);
    if (!root) std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all);
    ASSERT_EQ(t.errors.reports.size(), 1u);
    EXPECT_EQ(t.errors.reports[0].module, "frmMaterials");
    EXPECT_EQ(t.errors.reports[0].procedure, "cmdApply_Click");
    EXPECT_EQ(test::readBytes(peo), before);
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) names.push_back(e.path().filename().string());
    EXPECT_EQ(names, (std::vector<std::string>{"ship.peo"}));  // no temporary stays
    EXPECT_TRUE(t.ctx.model.materials[0].smoothing);           // memory is updated before the patch
}

TEST_F(MaterialPropertiesTest, AnEntryCutOffByTheFilesEndIsNeitherWrittenNorExtended) {
    model(2);
    auto truncated = test::readBytes(peo);
    truncated.resize(68 + 32 + 20);  // material 1's entry ends 12 bytes after the file
    test::writeBytes(peo, truncated);
    page.selectedIndex = 1;
    frmMaterials_Activate(t.ctx);
    d.chkFlags[0] = true;
    t.prompts.expectMessage(kNoMaterialEntryText, t.ctx.version.appTitle);
    cmdApply_Click(t.ctx);
    EXPECT_TRUE(t.errors.reports.empty());
    EXPECT_EQ(test::readBytes(peo), truncated);
    EXPECT_TRUE(t.ctx.model.materials[1].smoothing);
}

TEST_F(MaterialPropertiesTest, TheCleanUpUnticksTheFlagBoxes) {
    d.chkFlags = {true, true, true, true, true, true};
    clearMaterialFlags(t.ctx);
    EXPECT_EQ(d.chkFlags, (std::array<bool, 6>{}));
}

}  // namespace
}  // namespace tarv
