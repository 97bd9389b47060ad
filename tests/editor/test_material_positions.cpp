// Which entry of the model file a material's Apply patches after each kind of save: the positions follow the
// model file only when a save really replaced it, and a patched entry reads back as the reader sees it. And
// the lighting that the duplicate-material preference resets at load is what the next save writes.
#include <gtest/gtest.h>

#include <filesystem>

#include "RoadFixture.h"
#include "base/AtomicFile.h"
#include "base/BinaryReader.h"
#include "editor/LoadRoad.h"
#include "editor/SaveCommands.h"
#include "editor/context/EditingContext.h"
#include "materials/MaterialProperties.h"
#include "materials/state/MaterialsPageState.h"
#include "model/PeoReader.h"

namespace tarv::test {
namespace fs = std::filesystem;

int32_t i32At(const std::vector<uint8_t>& file, size_t at) {
    return int32_t(uint32_t(file[at]) | uint32_t(file[at + 1]) << 8 | uint32_t(file[at + 2]) << 16 |
                   uint32_t(file[at + 3]) << 24);
}

class MaterialPositionsTest : public RoadTest {
protected:
    std::string model;
    // The sample's material list as read: three entries behind four object records.
    static constexpr int32_t kListAsRead = 68 + 4 * 112;

    void SetUp() override {
        RoadTest::SetUp();
        model = at("Tarvlet.peo");
        loadThisFile(ctx, model);
        ASSERT_EQ(ctx.model.materials.size(), 3u);
        ASSERT_EQ(i32At(readBytes(model), 32), kListAsRead);
        expectPositions(kListAsRead);
        t.status.status.clear();
    }

    void expectPositions(int32_t list) {
        for (size_t i = 0; i < ctx.model.materials.size(); ++i)
            EXPECT_EQ(ctx.model.materials[i].filePosition, list + 32 * int32_t(i) + 1) << "material " << i;
    }

    // One object fewer moves the written material list 112 bytes up.
    void deleteTheGun() { ctx.model.peoObjects[2].name = kDeletedObjectName; }

    // Material 1 through the dialog: "2 Sided" ticked, ambient red 77, and Apply.
    void applyToMaterialOne() {
        ctx.materialsPage->selectedIndex = 1;
        frmMaterials_Activate(ctx);
        auto& d = ctx.materialsPage->properties;
        d.chkFlags[2] = true;
        d.txtColours[0] = "77";
        cmdApply_Click(ctx);
    }

    // The bytes of file that Apply on material 1 gives when its entry lies at entry.
    std::vector<uint8_t> patchedAt(std::vector<uint8_t> file, size_t entry) {
        const PeoMaterial& m = ctx.model.materials[1];
        for (size_t b = 0; b < 4; ++b) {
            file[entry + 4 + b] = m.ambient[b];
            file[entry + 8 + b] = m.diffuse[b];
            file[entry + 12 + b] = m.specular[b];
        }
        file[entry + 24] = uint8_t(file[entry + 24] | 8);
        file[entry + 26] = uint8_t(uint16_t(m.fullAmbient) & 0xFF);
        file[entry + 27] = uint8_t(uint16_t(m.fullAmbient) >> 8);
        return file;
    }

    // Apply on material 1 changes exactly its entry at list in the model file, and the reader finds the new
    // values there.
    void expectApplyPatchesTheEntryAt(int32_t list) {
        const auto before = readBytes(model);
        applyToMaterialOne();
        EXPECT_TRUE(t.errors.reports.empty());
        EXPECT_EQ(readBytes(model), patchedAt(before, size_t(list + 32)));
        const auto contents = parsePeoFile(BinaryReader(readBytes(model), model));
        ASSERT_EQ(contents.materials.entries.size(), 3u);
        EXPECT_EQ(contents.materials.entries[1].ambient[0], 77);
        EXPECT_EQ(contents.materials.entries[1].flags & 8, 8);
    }
};

TEST_F(MaterialPositionsTest, PeoOnlyAfterADeleteMovesThePositionsWithTheWrittenList) {
    deleteTheGun();
    mnuSavePeo_Click(ctx);
    ASSERT_EQ(t.status.status, "Save done!");
    const int32_t written = i32At(readBytes(model), 32);
    ASSERT_EQ(written, kListAsRead - 112);
    expectPositions(written);
    expectApplyPatchesTheEntryAt(written);
}

TEST_F(MaterialPositionsTest, SaveAllMovesThePositionsWithTheWrittenList) {
    deleteTheGun();
    mnuSaveAll_Click(ctx);
    ASSERT_EQ(t.status.status, "'Save All' done!");
    expectPositions(kListAsRead - 112);
    expectApplyPatchesTheEntryAt(kListAsRead - 112);
}

TEST_F(MaterialPositionsTest, SaveAsToAnotherFileLeavesThePositionsOnTheModelFile) {
    deleteTheGun();
    const std::string copy = (dir.path() / "Copy.peo").string();
    t.prompts.expectSave(FileDialogChoice{copy, 1});
    mnuFileSaveAs_Click(ctx);
    ASSERT_EQ(t.status.status, "Save done!");
    expectPositions(kListAsRead);
    const auto copyBytes = readBytes(copy);
    expectApplyPatchesTheEntryAt(kListAsRead);
    EXPECT_EQ(readBytes(copy), copyBytes);
}

TEST_F(MaterialPositionsTest, SaveAllIntoTheShipDefinitionsFolderLeavesThePositions) {
    const fs::path elsewhere = dir.path() / "shipdefs";
    fs::create_directories(elsewhere);
    ctx.documentFiles.shpFolder = elsewhere.string() + "/";  // as a load through a ship definition there sets it
    deleteTheGun();
    mnuSaveAll_Click(ctx);
    ASSERT_EQ(t.status.status, "'Save All' done!");
    ASSERT_TRUE(fs::exists(elsewhere / "Tarvlet.peo"));
    expectPositions(kListAsRead);
    expectApplyPatchesTheEntryAt(kListAsRead);
}

TEST_F(MaterialPositionsTest, ASaveAllThatFailsRefreshesOnlyOnceThePeoIsInPlace) {
    struct Case {
        const char* name;
        bool renameFails;  // else the writing of a temporary fails
        int letThrough;
        bool peoReplaced;
    };
    const Case cases[] = {
        {"the .mex's temporary", false, 1, false},
        {"the .peo's rename", true, 0, false},
        {"the .mex's rename", true, 1, true},
        {"the .mad's rename", true, 2, true},
    };
    ASSERT_GT(ctx.mex.mexChunkCount(), 0);
    ASSERT_GT(ctx.animation.madObjectCount(), 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        loadThisFile(ctx, model);
        t.errors.reports.clear();
        const auto asRead = readBytes(model);
        deleteTheGun();
        steps.onFixHierarchy = [&](EditingContext& context) {
            steps.SubsystemRoadSteps::fixHierarchy(context);
            if (c.renameFails)
                failNextAtomicRenameForTesting(c.letThrough);
            else
                failNextAtomicWriteForTesting(c.letThrough);
        };
        mnuSaveAll_Click(ctx);
        steps.onFixHierarchy = nullptr;
        ASSERT_EQ(t.errors.reports.size(), 1u);
        EXPECT_EQ(t.errors.reports[0].procedure, "mnuSaveAll_Click");
        const int32_t list = c.peoReplaced ? kListAsRead - 112 : kListAsRead;
        if (!c.peoReplaced) {
            EXPECT_EQ(readBytes(model), asRead);
        }
        EXPECT_EQ(i32At(readBytes(model), 32), list);
        expectPositions(list);
        t.errors.reports.clear();
        expectApplyPatchesTheEntryAt(list);
        // The next round starts from the sample as written.
        samples::writeSampleShip(ship);
    }
}

TEST_F(MaterialPositionsTest, AnAppliedAlphaReadsBackWithRedAndBlueSwapped) {
    ctx.materialsPage->selectedIndex = 0;
    frmMaterials_Activate(ctx);
    auto& d = ctx.materialsPage->properties;
    d.txtColours[0] = "10";
    d.txtColours[1] = "20";
    d.txtColours[2] = "30";
    d.txtColours[9] = "5";
    cmdApply_Click(ctx);
    ASSERT_TRUE(t.errors.reports.empty());
    EXPECT_EQ(ctx.model.materials[0].ambient, (ColourBytes{10, 20, 30, 5}));
    // The entry holds R, G, B, A as the boxes gave them.
    const auto file = readBytes(model);
    const size_t entry = size_t(kListAsRead);
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + long(entry + 4), file.begin() + long(entry + 8)),
              (std::vector<uint8_t>{10, 20, 30, 5}));
    // The reader takes a non-zero byte 3 as a B, G, R entry: red and blue come back swapped, alpha as 0.
    loadThisFile(ctx, model);
    EXPECT_EQ(ctx.model.materials[0].ambient, (ColourBytes{30, 20, 10, 0}));
}

TEST_F(MaterialPositionsTest, TheMergePreferenceResetsTheLightingThatTheNextSaveWrites) {
    ctx.prefs.duplicateMaterials = 1;
    loadThisFile(ctx, model);
    mnuSavePeo_Click(ctx);
    ASSERT_EQ(t.status.status, "Save done!");
    const auto contents = parsePeoFile(BinaryReader(readBytes(model), model));
    ASSERT_FALSE(contents.materials.entries.empty());
    for (const auto& entry : contents.materials.entries) {
        EXPECT_EQ(entry.ambient[0], 50);
        EXPECT_EQ(entry.ambient[1], 50);
        EXPECT_EQ(entry.ambient[2], 50);
        EXPECT_EQ(entry.kAlpha, 0.0f);
        EXPECT_EQ(entry.fullAmbient, -21760);
    }
}

}  // namespace tarv::test
