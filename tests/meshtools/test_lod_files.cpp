#include <gtest/gtest.h>

#include <cstring>

#include "ByteBuilder.h"
#include "Fakes.h"
#include "RoadHooks.h"
#include "TempDir.h"
#include "base/AtomicFile.h"
#include "model/LogFiles.h"
#include "model/PeoReader.h"
#include "SampleShip.h"
#include "meshtools/LodFiles.h"

using namespace tarv;
using tarv::test::ByteBuilder;
using tarv::test::readBytes;
using tarv::test::readText;
using tarv::test::TempDir;
using tarv::test::TestContext;
using tarv::test::writeText;

namespace {

// A level file with one record per name: links 0, an identity-free matrix of 7s, names after the records.
ByteBuilder levelFile(const std::vector<std::string>& names, bool cataclysm) {
    const int r = cataclysm ? 116 : 112;
    ByteBuilder b;
    b.zstr("RMF99ba").i32(cataclysm ? 0x500 : 0x402).fill(28).i32(int32_t(names.size())).fill(24, 0xAB);
    int32_t nameAt = 68 + r * int32_t(names.size());
    for (const auto& n : names) {
        b.i32(nameAt).fill(size_t(r - 4 - 64 - 12), 0).fill(12, 0x22);
        for (int j = 0; j < 16; ++j) b.f32(7.0f);
        nameAt += int32_t(n.size()) + 1;
    }
    for (const auto& n : names) b.zstr(n);
    return b;
}

PeoObject object(const std::string& name, int mother, int daughter, int sister, float tx = 0) {
    PeoObject o;
    o.name = name;
    o.mother = mother;
    o.daughter = daughter;
    o.sister = sister;
    o.matrix = Matrix4::identity();
    o.matrix[3] = tx;  // translation x
    o.matrix[1] = 0.5f;
    return o;
}

struct LodFixture : ::testing::Test {
    TempDir dir;
    TestContext t{dir.path()};
    LodFixture() { t.ctx.prefs.logLevel = 0; }
    int32_t i32At(const std::vector<uint8_t>& b, size_t at) {
        return int32_t(uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
                       uint32_t(b[at + 3]) << 24);
    }
};

}  // namespace

TEST(LodParse, EachMeshFileLineNamesTheTextAfterItsLastBlank) {
    struct Case {
        std::string line;
        std::vector<std::string> files;
    };
    for (const Case& c :
         {Case{"pMeshFile RL0\\Lod0\\Ship.peo", {"RL0\\Lod0\\Ship.peo"}}, Case{"pMeshFile  ab", {"ab"}},
          Case{"pMeshFile a b.geo", {"b.geo"}}, Case{"pMeshFile\t\tlevel1.peo", {"pMeshFile\t\tlevel1.peo"}},
          Case{"pMeshFileX", {"pMeshFileX"}}, Case{"pMeshFile ", {""}}, Case{"pMeshFile", {}},
          Case{"pmeshfile x.peo", {}}, Case{" pMeshFile x.peo", {}}, Case{"LOD 0", {}}}) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(parseLodLines({c.line}).meshFiles, c.files);
    }
    EXPECT_EQ(parseLodLines({"pMeshFile b.peo", "LOD 1", "pMeshFile a.peo"}).meshFiles,
              (std::vector<std::string>{"b.peo", "a.peo"}));
}

TEST_F(LodFixture, ReadsCountedLinesInMainAndAddMode) {
    std::filesystem::create_directories(dir / "rl0" / "lod0");
    writeText(dir / "rl0" / "lod0" / "ship.peo", "x");
    writeText(dir / "level1.peo", "x");
    writeText(dir / "SHIP.LOD",
              "pMeshFile\r\npmeshfile x.peo\r\nLOD 0\r\npMeshFile RL0\\Lod0\\Ship.peo\r\n"
              "pMeshFile\t\tlevel1.peo\r\npMeshFile missing.geo\r\npMeshFile  ab\r\n");
    readLodFile(t.ctx, (dir / "Ship.lod").string(), true);
    EXPECT_EQ(t.ctx.currentModelPath, (dir / "rl0" / "lod0" / "ship.peo").string());
    ASSERT_EQ(t.ctx.lod.lstLodFiles.size(), 3u);
    // A tab is no blank: the whole line is the name, and it names no file.
    EXPECT_EQ(t.ctx.lod.lstLodFiles[0].text, "pMeshFile\t\tlevel1.peo");
    EXPECT_EQ(t.ctx.lod.lstLodFiles[1].text, "missing.peo");
    EXPECT_EQ(t.ctx.lod.lstLodFiles[1].fullPath, (dir / "missing.peo").string());
    EXPECT_EQ(t.ctx.lod.lstLodFiles[2].text, "ab");  // too short for the ".peo" replacement

    // Add mode skips the current model, whatever its letter case.
    t.ctx.lod.lstLodFiles.clear();
    writeText(dir / "two.lod", "pMeshFile RL0\\LOD0\\SHIP.PEO\npMeshFile level1.peo\n");
    readLodFile(t.ctx, (dir / "two.lod").string(), false);
    ASSERT_EQ(t.ctx.lod.lstLodFiles.size(), 1u);
    EXPECT_EQ(t.ctx.lod.lstLodFiles[0], (LodEntry{"level1.peo", (dir / "level1.peo").string()}));
}

TEST_F(LodFixture, MainModeWithOneLineLeavesTheListEmptyAndEmptyOrMissingListsChangeNothing) {
    writeText(dir / "one.lod", "pMeshFile a.peo");
    EXPECT_TRUE(readLodFile(t.ctx, (dir / "one.lod").string(), true));
    EXPECT_EQ(t.ctx.currentModelPath, (dir / "a.peo").string());
    EXPECT_TRUE(t.ctx.lod.lstLodFiles.empty());
    writeText(dir / "empty.lod", "");
    EXPECT_FALSE(readLodFile(t.ctx, (dir / "empty.lod").string(), true));
    EXPECT_FALSE(readLodFile(t.ctx, (dir / "none.lod").string(), true));
    EXPECT_EQ(t.ctx.currentModelPath, (dir / "a.peo").string());
    EXPECT_FALSE(std::filesystem::exists(dir / "none.lod"));
}

TEST_F(LodFixture, ApplyWritesLinksWithTheFilesOwnRecordSizeAndTheTransposedMatrix) {
    auto& objects = t.ctx.model.peoObjects;
    objects = {object("Root", 0, 2, 0), object("Gun", 1, 0, 3, 5.f), object("Wing", 1, 0, 0)};
    for (bool cataclysm : {false, true}) {
        const int r = cataclysm ? 116 : 112, link = cataclysm ? 40 : 36;
        // The second record has no namesake: it stays as it was, and the third is still patched in place.
        auto file = levelFile({"Root", "Other", "Wing"}, cataclysm);
        auto path = dir / (cataclysm ? "c.peo" : "h.peo");
        file.writeTo(path);
        ASSERT_TRUE(applyMatrixToFile(t.ctx, path.string()));
        auto out = readBytes(path);
        ASSERT_EQ(out.size(), file.size());
        EXPECT_EQ(i32At(out, 68 + link), 0);           // a root has no mother
        EXPECT_EQ(i32At(out, 68 + link + 4), 0);       // daughter Gun has no record in this file
        EXPECT_EQ(i32At(out, 68 + 2 * r + link), 68);  // Wing's mother: record 1
        EXPECT_TRUE(std::equal(out.begin() + 68 + r, out.begin() + 68 + 2 * r, file.data().begin() + 68 + r));
        // The file holds the transpose: translation in the 13th to 15th floats.
        float m[16];
        std::memcpy(m, out.data() + 68 + link + 12, 64);
        EXPECT_EQ(m[0], 1.f);
        EXPECT_EQ(m[4], 0.5f);
        EXPECT_EQ(m[1], 0.f);
    }
    EXPECT_TRUE(t.errors.reports.empty());
}

TEST_F(LodFixture, TheReaderReadsBackTheModelsMatrix) {
    auto& objects = t.ctx.model.peoObjects;
    objects = {object("Root", 0, 2, 0), object("Gun", 1, 0, 0, 5.f)};
    // A complete little .peo: one material-free object list with no geometry.
    auto file = levelFile({"Root", "Gun"}, false);
    auto path = dir / "h.peo";
    file.writeTo(path);
    ASSERT_TRUE(applyMatrixToFile(t.ctx, path.string()));
    TestContext other{dir.path()};
    other.prompts.allowUnused();
    other.ctx.prefs.logLevel = 0;
    other.ctx.prefs.objectSharing = false;
    readPeoFile(other.ctx, path.string());
    ASSERT_EQ(other.ctx.model.objectCount(), 2);
    EXPECT_EQ(other.ctx.model.peoObjects[1].matrix, objects[1].matrix);
    EXPECT_EQ(other.ctx.model.peoObjects[1].mother, 1);
}

TEST_F(LodFixture, LinksAfterADeletionPointAtTheRecordsThatCarryTheNames) {
    auto& objects = t.ctx.model.peoObjects;
    // A is the root with children B, then D; C was deleted but keeps its slot.
    objects = {object("A", 0, 2, 0), object("B", 1, 0, 4), object("**DELETED**", 0, 0, 0), object("D", 1, 0, 0)};
    auto full = levelFile({"A", "B", "C", "D"}, false);
    auto saved = levelFile({"A", "B", "D"}, false);
    full.writeTo(dir / "full.peo");
    saved.writeTo(dir / "saved.peo");
    ASSERT_TRUE(applyMatrixToFile(t.ctx, (dir / "full.peo").string()));
    ASSERT_TRUE(applyMatrixToFile(t.ctx, (dir / "saved.peo").string()));
    auto f = readBytes(dir / "full.peo");
    auto s = readBytes(dir / "saved.peo");
    EXPECT_EQ(i32At(f, 68 + 112 + 36 + 8), 68 + 3 * 112);  // B's sister: D is record 4 in the full file
    EXPECT_EQ(i32At(s, 68 + 112 + 36 + 8), 68 + 2 * 112);  // and record 3 in the saved one
    EXPECT_EQ(i32At(s, 68 + 2 * 112 + 36), 68);            // D's mother: A
}

TEST_F(LodFixture, DamagedOrMissingLevelFilesAreLeftAloneAndTheRestArePatched) {
    t.ctx.model.peoObjects = {object("A", 0, 0, 0)};
    auto good = levelFile({"A"}, false);
    auto tooMany = levelFile({"A"}, false);
    tooMany.patchI32(40, 5);
    auto badName = levelFile({"A"}, false);
    badName.patchI32(68, 100000);
    tooMany.writeTo(dir / "count.peo");
    badName.writeTo(dir / "name.peo");
    good.writeTo(dir / "good.peo");
    for (const char* n : {"count.peo", "missing.peo", "name.peo", "good.peo"})
        t.ctx.lod.lstLodFiles.push_back({n, (dir / n).string()});
    t.prompts.expectMessage("Apply matrix/heirachy operation completed!");
    mnuLodCommandsMatrix_Click(t.ctx);
    EXPECT_EQ(readBytes(dir / "count.peo"), tooMany.data());
    EXPECT_EQ(readBytes(dir / "name.peo"), badName.data());
    EXPECT_FALSE(std::filesystem::exists(dir / "missing.peo"));
    EXPECT_NE(readBytes(dir / "good.peo"), good.data());
    ASSERT_EQ(t.errors.reports.size(), 3u);
    EXPECT_EQ(t.errors.reports[0].module, "modPeo");
    EXPECT_EQ(t.errors.reports[0].procedure, "applyMatrixToFile");
}

TEST_F(LodFixture, ListCommands) {
    // Apply on an empty list shows only the message.
    t.prompts.expectMessage("Apply matrix/heirachy operation completed!");
    mnuLodCommandsMatrix_Click(t.ctx);
    EXPECT_FALSE(lodListMenuItemsEnabled(t.ctx));

    writeText(dir / "x.lod", "pMeshFile a.peo\npMeshFile b.peo\n");
    t.prompts.expectOpen(FileDialogChoice{(dir / "x.lod").string(), 3})
        .expectOpen(FileDialogChoice{(dir / "c.peo").string(), 2})
        .expectOpen(FileDialogChoice{(dir / "c.peo").string(), 2})
        .expectOpen(std::nullopt);
    for (int i = 0; i < 4; ++i) cmdAddToLod_Click(t.ctx);
    EXPECT_EQ(t.prompts.shown[1].request.filter, kLodAddFilter);
    EXPECT_EQ(t.prompts.shown[1].request.filterIndex, 3);
    ASSERT_EQ(t.ctx.lod.lstLodFiles.size(), 4u);
    EXPECT_EQ(t.ctx.lod.lstLodFiles[3].text, (dir / "c.peo").string());
    EXPECT_TRUE(t.ctx.lod.cmdMultiFileEnabled);
    EXPECT_TRUE(lodListMenuItemsEnabled(t.ctx));

    std::string loaded;
    test::LoadRoadWatch road(t.ctx, [&](EditingContext& c) { loaded = c.currentModelPath; });
    mnuLodFileSwitch_Click(t.ctx);  // nothing selected
    EXPECT_EQ(loaded, "");
    t.ctx.lod.selectedEntry = 1;
    mnuLodFileSwitch_Click(t.ctx);
    EXPECT_EQ(loaded, (dir / "b.peo").string());

    for (int i = 0; i < 4; ++i) {
        t.ctx.lod.selectedEntry = 0;
        mnuLodListDelete_Click(t.ctx);
    }
    EXPECT_TRUE(t.ctx.lod.lstLodFiles.empty());
    EXPECT_FALSE(t.ctx.lod.cmdMultiFileEnabled);
}

TEST_F(LodFixture, ARecordTakesTheFirstObjectOfItsNameAsALiteralScanWould) {
    auto& objects = t.ctx.model.peoObjects;
    objects = {object("Root", 0, 2, 0), object("Twin", 1, 0, 3, 1.f), object("Twin", 1, 0, 0, 2.f)};
    auto file = levelFile({"Twin", "Root"}, false);
    file.writeTo(dir / "twins.peo");
    ASSERT_TRUE(applyMatrixToFile(t.ctx, (dir / "twins.peo").string()));
    auto out = readBytes(dir / "twins.peo");
    size_t firstTwin = 0;
    for (size_t i = 0; i < objects.size(); ++i)
        if (objects[i].name == "Twin") {
            firstTwin = i;
            break;
        }
    float m[16];
    std::memcpy(m, out.data() + 68 + 36 + 12, 64);
    EXPECT_EQ(m[12], objects[firstTwin].matrix[3]);
}

TEST_F(LodFixture, TheSampleShipAppliedToItsLevelsLinksOnlyToRecordsOfEachFile) {
    samples::writeSampleShip(dir.path());
    const std::string main = (dir / "Tarvlet.peo").string(), lod1 = (dir / "Tarvlet_LOD1.peo").string();
    const auto mainBefore = readBytes(main);
    t.prompts.allowUnused();
    t.ctx.prefs.objectSharing = false;
    readPeoFile(t.ctx, main);
    ASSERT_EQ(t.ctx.model.objectCount(), 4);
    ASSERT_EQ(t.ctx.model.peoObjects[0].daughter, 2);  // Hull's first child, the Turret, has no record in LOD1
    t.ctx.prefs.logLevel = 2;
    ASSERT_TRUE(applyMatrixToFile(t.ctx, lod1));
    // The same objects in the same order: exactly the model's links, and the file as it was.
    ASSERT_TRUE(applyMatrixToFile(t.ctx, main));
    EXPECT_EQ(readBytes(main), mainBefore);

    const auto out = readBytes(lod1);
    const int32_t count = i32At(out, 40);
    ASSERT_EQ(count, 1);
    for (int32_t k = 0; k < count; ++k)
        for (int link = 0; link < 3; ++link) {
            const int32_t offset = i32At(out, size_t(68 + k * 112 + 36 + 4 * link));
            EXPECT_TRUE(offset == 0 || (offset >= 68 && offset < 68 + count * 112 && (offset - 68) % 112 == 0))
                << "record " << k << " link " << link << ": " << offset;
        }
    EXPECT_NE(readText(currentLogPath(t.ctx)).find("[2] " + levelLinkMissingLog("Turret") + "\r\n"), std::string::npos);
    EXPECT_EQ(levelLinkMissingLog("Turret"), "  -> No record named Turret in this file: its link is written as 0");

    TestContext other{dir.path()};
    other.prompts.allowUnused();
    other.ctx.prefs.logLevel = 0;
    other.ctx.prefs.objectSharing = false;
    readPeoFile(other.ctx, lod1);
    ASSERT_EQ(other.ctx.model.objectCount(), 1);
    EXPECT_EQ(other.ctx.model.peoObjects[0].name, t.ctx.model.peoObjects[0].name);
    EXPECT_EQ(other.ctx.model.peoObjects[0].matrix, t.ctx.model.peoObjects[0].matrix);
    EXPECT_EQ(other.ctx.model.peoObjects[0].daughter, 0);
}
