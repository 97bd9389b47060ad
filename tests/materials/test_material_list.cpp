// The material list: the duplicate merge (against its pairwise reference), the log lines, the flag commands,
// the count swap and the .hml material text list.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "Fakes.h"
#include "TempDir.h"
#include "base/AtomicFile.h"
#include "base/RunTimeError.h"
#include "editor/context/EditingContext.h"
#include "materials/MaterialList.h"
#include "materials/state/MaterialsPageState.h"
#include "model/state/ShipModel.h"
#include "scene/Mesh.h"

namespace tarv {
namespace {

using test::TempDir;
using test::TestContext;

// A material on texture t with the given flags (bit 0 smoothing ... bit 5 self-illuminated) and colours.
PeoMaterial material(int t, int flags = 0, uint8_t colour = 7) {
    PeoMaterial m;
    m.texture = int16_t(t);
    m.smoothing = flags & 1;
    m.flatShaded = flags & 2;
    m.twoSided = flags & 4;
    m.baseColour = flags & 8;
    m.stripeColour = flags & 16;
    m.selfIlluminated = flags & 32;
    m.ambient = {colour, uint8_t(colour + 1), uint8_t(colour + 2), 9};
    m.diffuse = {1, 2, 3, 0};
    m.kAlpha = 0.25f;
    m.fullAmbient = 12;
    return m;
}

// A model with textures "T0".."T9", the materials given and one object whose polygon p uses material uses[p].
ShipModel modelWith(std::vector<PeoMaterial> materials, std::vector<int> uses) {
    ShipModel model;
    for (int i = 0; i < 10; ++i) model.textures.push_back({"T" + std::to_string(i), false});
    model.materials = std::move(materials);
    model.publicMaterialCount = int16_t(model.materials.size());
    PeoObject object;
    object.name = "hull";
    for (int u : uses) object.polygons.push_back(newPolygon(0, 1, 2, u));
    model.peoObjects.push_back(object);
    return model;
}

std::vector<int> polygonMaterials(const ShipModel& model, size_t object = 0) {
    std::vector<int> out;
    for (const auto& p : model.peoObjects[object].polygons) out.push_back(p.material);
    return out;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        out.push_back(line);
    }
    return out;
}

struct MaterialListTest : ::testing::Test {
    TempDir dir;
    TestContext t{dir.path()};
    void load(ShipModel model, bool merge) {
        t.ctx.model = std::move(model);
        t.ctx.prefs.duplicateMaterials = merge ? 1 : 0;
        showMaterials(t.ctx);
    }
    std::vector<std::string> log() const { return lines(t.status.logBox); }
    MaterialsPageState& page() { return *t.ctx.materialsPage; }
};

TEST_F(MaterialListTest, WithTheMergeOffOnlyLogsAndListsTheMaterials) {
    load(modelWith({material(0, 1 | 4), material(0, 1 | 4), material(1, 0)}, {0, 1, 2}), false);
    EXPECT_EQ(log(), (std::vector<std::string>{"Loading materials....", "  name: T0", "    -> Smoothing",
                                               "    -> 2 Sided", "  name: T0", "    -> Smoothing", "    -> 2 Sided",
                                               "  name: T1", "    -> (no flags set)"}));
    EXPECT_EQ(page().lstMaterial, (std::vector<std::string>{"T0", "T0", "T1"}));
    EXPECT_EQ(t.ctx.model.materialCount(), 3);
    EXPECT_EQ(t.ctx.model.materials[1].fullAmbient, 12);
    EXPECT_EQ(t.ctx.model.materials[1].ambient, (ColourBytes{7, 8, 9, 9}));
}

TEST_F(MaterialListTest, EveryFlagHasItsLineInOrder) {
    load(modelWith({material(2, 63)}, {}), false);
    EXPECT_EQ(log(), (std::vector<std::string>{"Loading materials....", "  name: T2", "    -> Smoothing",
                                               "    -> Flat Shaded", "    -> 2 Sided", "    -> Base Colour",
                                               "    -> Stripe Colour", "    -> Self Illuminated"}));
}

TEST_F(MaterialListTest, OneMaterialIsLeftAsRead) {
    load(modelWith({material(0)}, {0}), true);
    EXPECT_EQ(t.ctx.model.materials[0].ambient, (ColourBytes{7, 8, 9, 9}));
    EXPECT_EQ(t.ctx.model.materials[0].kAlpha, 0.25f);
    EXPECT_EQ(log().size(), 3u);
}

TEST_F(MaterialListTest, TwoTexturesAreBothResetAndNoneMerged) {
    load(modelWith({material(0), material(1)}, {0, 1}), true);
    ASSERT_EQ(t.ctx.model.materialCount(), 2);
    for (const auto& m : t.ctx.model.materials) {
        EXPECT_EQ(m.ambient, (ColourBytes{50, 50, 50, 9}));
        EXPECT_EQ(m.kAlpha, 0.0f);
        EXPECT_EQ(m.fullAmbient, -21760);
        EXPECT_EQ(m.diffuse, (ColourBytes{1, 2, 3, 0}));
    }
    EXPECT_EQ(log().size(), 5u);  // no duplicate lines
}

TEST_F(MaterialListTest, SameTextureAndFlagsWithOtherColoursMerge) {
    auto second = material(3, 2, 100);
    second.kAlpha = 0.75f;
    load(modelWith({material(3, 2), second}, {1, 0, 1}), true);
    EXPECT_EQ(log(), (std::vector<std::string>{"Loading materials....", "1 of 2 materials considered duplicate.",
                                               "They will be merged when saving your PEO.",
                                               "Reducing material count to 1 materials.", "  name: T3",
                                               "    -> Flat Shaded"}));
    EXPECT_EQ(polygonMaterials(t.ctx.model), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(page().lstMaterial, (std::vector<std::string>{"T3"}));
    EXPECT_EQ(page().txtPublic, "1");
    EXPECT_EQ(page().txtLocal, "0");
}

TEST_F(MaterialListTest, DuplicatesPointAtTheLowestOfTheirGroupAndSurvivorsAreCompacted) {
    // 0, 2 and 5 equal; 1, 3 and 4 distinct; -1 and 6 lie outside the list and stay.
    load(modelWith({material(0), material(1), material(0), material(2), material(0, 1), material(0)},
                   {0, 1, 2, 3, 4, 5, -1, 6}),
         true);
    EXPECT_EQ(polygonMaterials(t.ctx.model), (std::vector<int>{0, 1, 0, 2, 3, 0, -1, 6}));
    ASSERT_EQ(t.ctx.model.materialCount(), 4);
    EXPECT_EQ(t.ctx.model.materials[2].texture, 2);
    EXPECT_TRUE(t.ctx.model.materials[3].smoothing);
    EXPECT_EQ(t.ctx.model.textures.size(), 10u);
    EXPECT_EQ(log()[1], "2 of 6 materials considered duplicate.");
}

TEST_F(MaterialListTest, AnUnusedSurvivorTakesItsDuplicatesPolygons) {
    load(modelWith({material(1), material(0), material(0)}, {2, 2, 0}), true);
    EXPECT_EQ(polygonMaterials(t.ctx.model), (std::vector<int>{1, 1, 0}));
}

TEST_F(MaterialListTest, DeletedObjectsAreRenumberedToo) {
    auto model = modelWith({material(0), material(0)}, {1});
    model.peoObjects[0].name = kDeletedObjectName;
    load(std::move(model), true);
    EXPECT_EQ(polygonMaterials(t.ctx.model), (std::vector<int>{0}));
}

TEST_F(MaterialListTest, TheCountRuleDecidesWhichHeaderCountTakesTheNewCount) {
    struct Case {
        int16_t pub, local, wantPub, wantLocal;
    };
    for (const Case c : {Case{12, 0, 9, 0}, Case{0, 12, 0, 9}, Case{5, 7, 0, 9}}) {
        std::vector<PeoMaterial> materials;
        for (int i = 0; i < 9; ++i) materials.push_back(material(i));
        for (int i = 0; i < 3; ++i) materials.push_back(material(i));
        auto model = modelWith(materials, {});
        model.publicMaterialCount = c.pub;
        model.localMaterialCount = c.local;
        load(std::move(model), true);
        EXPECT_EQ(t.ctx.model.publicMaterialCount, c.wantPub) << c.pub << "/" << c.local;
        EXPECT_EQ(t.ctx.model.localMaterialCount, c.wantLocal) << c.pub << "/" << c.local;
        EXPECT_EQ(page().txtPublic, std::to_string(c.wantPub));
        EXPECT_EQ(page().txtLocal, std::to_string(c.wantLocal));
    }
}

TEST_F(MaterialListTest, EachSurvivorKeepsItsOwnPreviewMaterial) {
    std::vector<scene::MaterialPtr> handles;
    for (int i = 0; i < 4; ++i) handles.push_back(std::make_shared<scene::Material>(1.0));
    t.ctx.view.d3dMaterials = handles;
    load(modelWith({material(0), material(1), material(0), material(2)}, {}), true);
    EXPECT_EQ(t.ctx.view.d3dMaterials, (std::vector<scene::MaterialPtr>{handles[0], handles[1], handles[3]}));
}

TEST_F(MaterialListTest, AnObjectBeyondTheCounterStopsTheMergeBeforeAnythingMoves) {
    auto model = modelWith({material(0), material(1), material(0)}, {});
    model.peoObjects[0].polygons.assign(32769, newPolygon(0, 1, 2, 2));
    load(std::move(model), true);
    ASSERT_EQ(t.errors.reports.size(), 1u);
    EXPECT_EQ(t.errors.reports[0].description, "Overflow");
    EXPECT_EQ(t.errors.reports[0].procedure, "showMaterials");
    EXPECT_EQ(t.ctx.model.materialCount(), 3);
    EXPECT_EQ(t.ctx.model.peoObjects[0].polygons[0].material, 2);
    EXPECT_TRUE(page().lstMaterial.empty());
    EXPECT_EQ(log().back(), "They will be merged when saving your PEO.");
}

TEST(MaterialMerge, ThePairwiseReferenceAndTheHashedMergeAgreeOnRandomModels) {
    std::mt19937 random(23);
    for (int round = 0; round < 200; ++round) {
        ShipModel model;
        for (int i = 0; i < 4; ++i) model.textures.push_back({"T" + std::to_string(i), false});
        const int n = int(random() % 40);
        for (int i = 0; i < n; ++i) {
            auto m = material(int(random() % 4), int(random() % 4), uint8_t(random()));
            m.kAlpha = float(random() % 5);
            model.materials.push_back(m);
        }
        model.publicMaterialCount = int16_t(random() % 2 ? n : 0);
        model.localMaterialCount = int16_t(random() % 2 ? n : 0);
        for (int o = 0; o < 4; ++o) {
            PeoObject object;
            if (o == 2) object.name = kDeletedObjectName;
            for (int p = 0; p < 30; ++p) object.polygons.push_back(newPolygon(0, 1, 2, int(random() % (n + 2)) - 1));
            model.peoObjects.push_back(object);
        }
        ShipModel pairwise = model;
        std::vector<std::string> fastLog, pairwiseLog;
        const auto fast = mergeDuplicateMaterials(model, [&](const std::string& s) { fastLog.push_back(s); });
        const auto slow =
            mergeDuplicateMaterialsPairwise(pairwise, [&](const std::string& s) { pairwiseLog.push_back(s); });
        ASSERT_EQ(fastLog, pairwiseLog) << round;
        ASSERT_EQ(fast.duplicates, slow.duplicates);
        ASSERT_EQ(fast.oldToNew, slow.oldToNew);
        ASSERT_EQ(model.materialCount(), pairwise.materialCount());
        for (int i = 0; i < model.materialCount(); ++i) {
            const auto& a = model.materials[size_t(i)];
            const auto& b = pairwise.materials[size_t(i)];
            ASSERT_TRUE(a.texture == b.texture && a.ambient == b.ambient && a.diffuse == b.diffuse &&
                        a.kAlpha == b.kAlpha && a.fullAmbient == b.fullAmbient && a.smoothing == b.smoothing &&
                        a.flatShaded == b.flatShaded)
                << round << " material " << i;
        }
        ASSERT_EQ(model.publicMaterialCount, pairwise.publicMaterialCount);
        ASSERT_EQ(model.localMaterialCount, pairwise.localMaterialCount);
        for (size_t o = 0; o < model.peoObjects.size(); ++o)
            ASSERT_EQ(polygonMaterials(model, o), polygonMaterials(pairwise, o)) << round;
    }
}

TEST(MaterialMerge, ThePairwiseReferenceHasTheSameGuard) {
    ShipModel model = modelWith({material(0), material(0)}, {});
    model.peoObjects[0].polygons.assign(32769, newPolygon(0, 1, 2, 1));
    EXPECT_THROW(mergeDuplicateMaterialsPairwise(model, [](const std::string&) {}), RunTimeError);
    EXPECT_EQ(model.peoObjects[0].polygons[0].material, 1);
    model.peoObjects[0].polygons.resize(32768);
    mergeDuplicateMaterialsPairwise(model, [](const std::string&) {});
    EXPECT_EQ(model.peoObjects[0].polygons[32767].material, 0);
}

TEST_F(MaterialListTest, FlagCommands) {
    auto model = modelWith({material(0), material(1), material(2), material(3), material(4), material(5)}, {3, 5, 3});
    PeoObject other;
    other.polygons.push_back(newPolygon(0, 1, 2, 0));
    other.polygons.push_back(newPolygon(0, 1, 2, 7));  // outside the list
    model.peoObjects.push_back(other);
    t.ctx.model = model;

    t.ctx.objects.selectedObject = -1;
    cmdSmoothObj_Click(t.ctx);
    for (const auto& m : t.ctx.model.materials) EXPECT_FALSE(m.smoothing);

    t.ctx.objects.selectedObject = 0;
    cmdSmoothObj_Click(t.ctx);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(t.ctx.model.materials[size_t(i)].smoothing, i == 3 || i == 5) << i;

    t.ctx.objects.selectedObject = 1;
    cmdSmoothObj_Click(t.ctx);
    EXPECT_TRUE(t.ctx.model.materials[0].smoothing);

    cmdAll2sided_Click(t.ctx);
    cmdSmoothAll_Click(t.ctx);
    for (const auto& m : t.ctx.model.materials) EXPECT_TRUE(m.twoSided && m.smoothing);
    EXPECT_TRUE(t.status.logBox.empty());
}

TEST_F(MaterialListTest, SwapExchangesTheBoxesAndTheCounts) {
    t.ctx.model.publicMaterialCount = 12;
    page().txtPublic = "12";
    page().txtLocal = "0";
    cmdSwapMtl_Click(t.ctx);
    EXPECT_EQ(page().txtPublic, "0");
    EXPECT_EQ(page().txtLocal, "12");
    EXPECT_EQ(t.ctx.model.publicMaterialCount, 0);
    EXPECT_EQ(t.ctx.model.localMaterialCount, 12);
}

TEST_F(MaterialListTest, SwapRefusesBoxesThatAreNotWholeCounts) {
    for (const char* bad : {"abc", "", "70000", "-1", "32768", "3x"}) {
        t.prompts.expectMessage(kMaterialCountText);
        page().txtPublic = "5";
        page().txtLocal = bad;
        t.ctx.model.publicMaterialCount = 5;
        t.ctx.model.localMaterialCount = 0;
        cmdSwapMtl_Click(t.ctx);
        EXPECT_EQ(page().txtPublic, "5") << bad;
        EXPECT_EQ(page().txtLocal, bad);
        EXPECT_EQ(t.ctx.model.publicMaterialCount, 5);
        EXPECT_EQ(t.ctx.model.localMaterialCount, 0);
    }
    page().txtPublic = "12.5";
    page().txtLocal = " 3 ";
    cmdSwapMtl_Click(t.ctx);
    EXPECT_EQ(page().txtPublic, "3");
    EXPECT_EQ(page().txtLocal, "12");
    EXPECT_EQ(t.ctx.model.localMaterialCount, 12);
}

const char* const kTwoMaterialsHml =
    "Material (texture) name: T1\r\n"
    "  Ambient colours: 3 2 1\r\n"
    "  Diffuse colours: 30 20 10\r\n"
    "  Specular colours: 255 0 128\r\n"
    "  'Smoothing' flag: True\r\n"
    "  'Two-sided' flag: False\r\n"
    "  'Self-illumination' flag: True\r\n"
    "  'Base-colour' flag: False\r\n"
    "  'Stripe-colour' flag: True\r\n"
    "  'Flat-shaded' flag: False\r\n"
    "  'kAlpha': 0\r\n"
    "  'Full-ambient': -21760\r\n"
    "---------------------------------------\r\n"
    "Material (texture) name: T0\r\n"
    "  Ambient colours: 50 50 50\r\n"
    "  Diffuse colours: 0 0 0\r\n"
    "  Specular colours: 0 0 0\r\n"
    "  'Smoothing' flag: False\r\n"
    "  'Two-sided' flag: True\r\n"
    "  'Self-illumination' flag: False\r\n"
    "  'Base-colour' flag: True\r\n"
    "  'Stripe-colour' flag: False\r\n"
    "  'Flat-shaded' flag: True\r\n"
    "  'kAlpha': 0.5\r\n"
    "  'Full-ambient': 7\r\n"
    "---------------------------------------\r\n";

ShipModel hmlModel() {
    PeoMaterial a;
    a.texture = 1;
    a.ambient = {1, 2, 3, 4};
    a.diffuse = {10, 20, 30, 0};
    a.specular = {128, 0, 255, 0};
    a.smoothing = a.selfIlluminated = a.stripeColour = true;
    a.fullAmbient = -21760;
    PeoMaterial b;
    b.texture = 0;
    b.ambient = {50, 50, 50, 0};
    b.twoSided = b.baseColour = b.flatShaded = true;
    b.kAlpha = 0.5f;
    b.fullAmbient = 7;
    return modelWith({a, b}, {});
}

TEST_F(MaterialListTest, SaveAllAppendsTheMaterialTextListToTheHmlFile) {
    t.ctx.model = hmlModel();
    t.ctx.currentModelPath = (dir / "ship.peo").string();
    t.prompts.expectMessage("Material list saved. Use NotePad to view the .HML-file in your PEO directory.");
    cmdSaveMtl_Click(t.ctx);
    EXPECT_EQ(test::readText(dir / "ship.hml"), kTwoMaterialsHml);
    t.prompts.expectMessage();
    cmdSaveMtl_Click(t.ctx);
    EXPECT_EQ(test::readText(dir / "ship.hml"), std::string(kTwoMaterialsHml) + kTwoMaterialsHml);
}

TEST(MaterialListPath, IsCutAtTheLastDotEvenInAFolderName) {
    EXPECT_EQ(materialListPath("a/ship.peo"), "a/ship.hml");
    EXPECT_EQ(materialListPath("a/my.ships/hull"), "a/my.hml");
    EXPECT_EQ(materialListPath("hull"), "hml");
}

TEST_F(MaterialListTest, AFailedSaveAllReportsTheErrorAndLeavesTheHmlAsItWas) {
    t.ctx.model = hmlModel();
    t.ctx.currentModelPath = (dir / "ship.peo").string();
    test::writeText(dir / "ship.hml", "before\r\n");
    failNextAtomicWriteForTesting();
    cmdSaveMtl_Click(t.ctx);  // no message expected
    ASSERT_EQ(t.errors.reports.size(), 1u);
    EXPECT_EQ(t.errors.reports[0].module, "frmTARV");
    EXPECT_EQ(t.errors.reports[0].procedure, "cmdSaveMtl_Click");
    EXPECT_EQ(test::readText(dir / "ship.hml"), "before\r\n");
}

}  // namespace
}  // namespace tarv
