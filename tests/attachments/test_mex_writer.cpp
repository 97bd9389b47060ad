#include <gtest/gtest.h>

#include <bit>
#include <cctype>
#include <filesystem>

#include "Fakes.h"
#include "MexFixtures.h"
#include "TempDir.h"
#include "attachments/MexChunkTree.h"
#include "attachments/MexFile.h"
#include "base/AtomicFile.h"
#include "editor/context/EditingContext.h"

namespace tarv {
namespace {

using namespace tarv::test;

class MexWriter : public ::testing::Test {
protected:
    MexWriter() { addMexTreeDefaults(t.ctx); }

    // Puts a chunk into the table with its node, as the reader and the chunk commands do.
    int addChunk(MexChunk chunk) {
        const int i = t.ctx.mex.mexChunkCount();
        const char letter = chunk.chunkType[0];
        const std::string text = letter == 'c'                                       ? "Collision Sphere"
                                 : letter == 'r'                                     ? "Bounding box"
                                 : (letter == 'k' || letter == 's' || letter == 'n') ? chunk.pointName
                                                                                     : chunk.chunkId;
        t.ctx.mex.mexChunks.push_back(std::move(chunk));
        t.ctx.mex.mexMeshes.emplace_back();
        t.ctx.mex.treeMex.addChild(mexChunkTypeByLetter(letter)->parentKey, mexChunkKey(letter, i), text);
        return i;
    }
    static MexChunk gun(const std::string& id) {
        MexChunk c;
        c.chunkType = "g";
        c.chunkId = id;
        c.normal = {0, 0, 1};
        c.coneAngle = 10;
        c.edgeAngle = 5;
        return c;
    }
    static MexChunk named(const std::string& type, const std::string& id, const std::string& name) {
        MexChunk c = gun(id);
        c.chunkType = type;
        c.pointName = name;
        return c;
    }
    std::string pathOf(const std::string& name) const { return (dir / name).string(); }
    std::vector<uint8_t> readBack(const std::vector<uint8_t>& input, bool cataclysm) {
        writeBytes(dir / "in.mex", input);
        getMexInfo(t.ctx, pathOf("in.mex"));
        EXPECT_TRUE(t.errors.reports.empty());
        EXPECT_TRUE(exportMex(t.ctx, pathOf("out.mex"), cataclysm));
        return readBytes(dir / "out.mex");
    }

    TempDir dir;
    TestContext t{dir.path()};
};

TEST_F(MexWriter, WritesTheWorkedFixtureByteForByte) {
    MexChunk col;
    col.chunkType = "c";
    col.chunkId = "Col0";
    col.level = 1;
    col.coneAngle = 10;
    addChunk(col);
    MexChunk nav;
    nav.chunkType = "n";
    nav.chunkId = "NAV";
    nav.pointName = "Light0";
    nav.position = {1, 2, 3};
    nav.colour = {255, 0, 128};
    nav.coneAngle = 3;
    addChunk(nav);
    for (bool cataclysm : {false, true}) {
        SCOPED_TRACE(cataclysm);
        ASSERT_TRUE(exportMex(t.ctx, pathOf("w.mex"), cataclysm));
        EXPECT_EQ(readBytes(dir / "w.mex"), workedFixture(cataclysm));
    }
    EXPECT_EQ(t.status.logBox, "2 total objects found\r\n2 active objects found\r\n");
}

TEST_F(MexWriter, ReadAndWrittenBackInEitherVariant) {
    struct Case {
        uint16_t from;
        bool toCataclysm;
        uint16_t expected;
    };
    const Case cases[] = {
        {kHomeworld, false, kHomeworld},  // the input less the unknown chunk
        {kCataclysm, true, kCataclysm},
        {kHomeworld, true, kCataclysm},   // 32 more bytes in Eng and Nav only
        {kCataclysm, false, kHomeworld},  // and the other way
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + (c.toCataclysm ? " to 262" : " to 258"));
        resetMexChunkTable(t.ctx);
        addMexTreeDefaults(t.ctx);
        EXPECT_EQ(readBack(everyTypeFile(c.from).data(), c.toCataclysm), everyTypeFile(c.expected, false).data());
    }
    EXPECT_EQ(everyTypeFile(kCataclysm, false).size(), everyTypeFile(kHomeworld, false).size() + 64);
    for (bool cataclysm : {false, true}) {
        resetMexChunkTable(t.ctx);
        addMexTreeDefaults(t.ctx);
        EXPECT_EQ(readBack(workedFixture(cataclysm), cataclysm), workedFixture(cataclysm));
    }
}

TEST_F(MexWriter, EveryFloatBitPatternComesBack) {
    ByteBuilder b;
    mexHeader(b, kCataclysm, 3);
    chunkHeader(b, "Gun", "GUN0", 32);
    vec(b, -0.0f, 1e-45f, 3.4e38f);
    vec(b, 0, 0, 1);
    b.u32(0xCDCDCDCD).u32(0xCDCDCDCD);
    chunkHeader(b, "Dmg", "Dmg0", 32);
    b.u32(0x7F800000).u32(0xFF800000).u32(0x7FC12345);
    vec(b, 0, 0, 1);
    b.u32(0x7FA00001).u32(0xFFC00000);
    colChunk(b, "Col0", -7, 1, 2, 3, 0);
    b.patchI32(b.size() - 4, int32_t(0x80000001u));
    EXPECT_EQ(readBack(b.data(), true), b.data());
}

TEST_F(MexWriter, SampleFilesOfBothGamesComeBackUnchanged) {
    const auto samples = samplesFolder();
    if (samples.empty()) GTEST_SKIP() << "no sample folder";
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(samples)) {
        std::string extension = entry.path().extension().string();
        for (char& c : extension) c = char(std::tolower(static_cast<unsigned char>(c)));
        if (entry.is_regular_file() && extension == ".mex") names.push_back(entry.path().filename().string());
    }
    // One file of each game at least: lightinterceptor.mex and bswarmer.mex.
    EXPECT_GE(names.size(), 2u);
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const auto input = readBytes(samples / name);
        ASSERT_GE(input.size(), 12u);
        const bool cataclysm = input[8] == 6;
        resetMexChunkTable(t.ctx);
        addMexTreeDefaults(t.ctx);
        getMexInfo(t.ctx, (samples / name).string());
        ASSERT_TRUE(t.errors.reports.empty());
        // The unset angles of the Cataclysm gun are logged as they are, and raise no box.
        if (cataclysm) {
            EXPECT_NE(t.status.logBox.find("  coneAngle: -4.316021E+08\r\n"), std::string::npos);
        }
        ASSERT_TRUE(exportMex(t.ctx, pathOf(name), cataclysm));
        EXPECT_EQ(readBytes(dir / name), input);
    }
}

TEST_F(MexWriter, NoChunksLeavesTheFileAlone) {
    writeText(dir / "old.mex", "old bytes");
    t.status.logBox = "earlier lines\r\n";
    EXPECT_TRUE(exportMex(t.ctx, pathOf("old.mex"), false));
    EXPECT_EQ(readText(dir / "old.mex"), "old bytes");
    EXPECT_EQ(t.status.logBox, "earlier lines\r\n");
    EXPECT_TRUE(exportMex(t.ctx, pathOf("none.mex"), true));
    EXPECT_FALSE(std::filesystem::exists(dir / "none.mex"));
}

TEST_F(MexWriter, WritesOnlyChunksWithNodesInNodeOrder) {
    // Chunk 1's node is added before chunk 0's; chunk 2 is deleted (its node removed); chunk 3 is blank.
    t.ctx.mex.mexChunks = {gun("Gun0"), gun("Gun1"), gun("Gun2"), MexChunk{}};
    t.ctx.mex.mexMeshes.resize(4);
    t.ctx.mex.treeMex.addChild("gRoot", "g1", "Gun1");
    t.ctx.mex.treeMex.addChild("gRoot", "g0", "Gun0");
    t.ctx.mex.treeMex.addChild("gRoot", "g2", "Gun2");
    t.ctx.mex.treeMex.remove("g2");
    t.ctx.mex.mexChunks[2].chunkId = kDeletedChunkId;
    ASSERT_TRUE(exportMex(t.ctx, pathOf("o.mex"), false));

    ByteBuilder expected;
    mexHeader(expected, kHomeworld, 2);
    coneChunk(expected, "Gun", "Gun1", 0, 0, 0, 0, 0, 1, 10, 5);
    coneChunk(expected, "Gun", "Gun0", 0, 0, 0, 0, 0, 1, 10, 5);
    EXPECT_EQ(readBytes(dir / "o.mex"), expected.data());
    EXPECT_EQ(t.status.logBox, "4 total objects found\r\n2 active objects found\r\n");
}

TEST_F(MexWriter, RefusesEntriesTooLongForTheirFieldsAndKeepsTheOldFile) {
    struct Case {
        const char* what;
        std::vector<MexChunk> chunks;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"long ID", {gun("Gun0"), gun("GunLeft1")}, {"Chunk ID \"GunLeft1\" is longer than 7 characters."}},
        {"long names",
         {named("k", "DOCK", "DockPointNumberTwelve"), named("n", "NAV", "NavLight0"),
          named("s", "SALVAGE", "12345678901234567890")},
         {"Point name \"DockPointNumberTwelve\" is longer than 19 characters.",
          "Point name \"12345678901234567890\" is longer than 19 characters."}},
        {"both, and a mirrored collision sphere",
         {named("n", "NAVLIGHT", "NavLightNumberTwenty"),
          [] {
              MexChunk c;
              c.chunkType = "c";
              c.chunkId = "Collision Sphere1";
              return c;
          }()},
         {"Chunk ID \"NAVLIGHT\" is longer than 7 characters.",
          "Point name \"NavLightNumberTwenty\" is longer than 19 characters.",
          "Chunk ID \"Collision Sphere1\" is longer than 7 characters."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        resetMexChunkTable(t.ctx);
        addMexTreeDefaults(t.ctx);
        for (const auto& chunk : c.chunks) addChunk(chunk);
        writeText(dir / "keep.mex", "the old file");
        std::string text = "The MEX file was not saved, because these entries do not fit its fields:";
        for (const auto& line : c.lines) text += "\r\n" + line;
        t.prompts.expectMessage(text, t.ctx.version.appTitle);
        EXPECT_FALSE(exportMex(t.ctx, pathOf("keep.mex"), false));
        EXPECT_EQ(readText(dir / "keep.mex"), "the old file");
        EXPECT_EQ(t.prompts.pending(), 0u);
    }
    // A point name of 19 characters and an ID of 7 fit.
    resetMexChunkTable(t.ctx);
    addMexTreeDefaults(t.ctx);
    addChunk(named("k", "DOCKING", "1234567890123456789"));
    EXPECT_TRUE(exportMex(t.ctx, pathOf("fits.mex"), false));
    EXPECT_EQ(readBytes(dir / "fits.mex").size(), 12u + 16 + 52);
}

TEST_F(MexWriter, RoundsAndClampsNavColours) {
    struct Case {
        float value;
        uint8_t byte;
    };
    const Case cases[] = {{255, 0xFF}, {300, 0xFF}, {-5, 0}, {127.5f, 128}, {128.5f, 128}, {0.4f, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        resetMexChunkTable(t.ctx);
        addMexTreeDefaults(t.ctx);
        MexChunk nav = named("n", "NAV", "L");
        nav.colour = {c.value, 1, 2};
        addChunk(nav);
        ASSERT_TRUE(exportMex(t.ctx, pathOf("n.mex"), false));
        const auto bytes = readBytes(dir / "n.mex");
        ASSERT_EQ(bytes.size(), 12u + 16 + 36);
        EXPECT_EQ(bytes[12 + 16 + 12], c.byte);  // red
        EXPECT_EQ(bytes[12 + 16 + 13], 2);       // blue
        EXPECT_EQ(bytes[12 + 16 + 14], 1);       // green
    }
}

TEST_F(MexWriter, FailedWriteKeepsTheOldFileAndLeavesNoTemporaryFile) {
    addChunk(gun("Gun0"));
    const auto folder = dir / "ship";  // the log goes to the data folder, not here
    std::filesystem::create_directory(folder);
    writeText(folder / "ship.mex", "the old file");
    failNextAtomicWriteForTesting();
    const std::string path = (folder / "ship.mex").string();
    EXPECT_FALSE(exportMex(t.ctx, path, true));
    EXPECT_EQ(readText(folder / "ship.mex"), "the old file");
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++entries;
    EXPECT_EQ(entries, 1);
    ASSERT_EQ(t.errors.reports.size(), 1u);
    EXPECT_EQ(t.errors.reports[0].module, "modMex");
    EXPECT_EQ(t.errors.reports[0].procedure, "exportMex");
    EXPECT_EQ(t.errors.reports[0].arguments, path + "|True");
}

TEST_F(MexWriter, MoreRecordsThanTheCountFieldHoldsAreRefused) {
    for (int i = 0; i < 32768; ++i) addChunk(gun("Gun" + std::to_string(i % 1000)));
    writeText(dir / "big.mex", "the old file");
    EXPECT_FALSE(exportMex(t.ctx, pathOf("big.mex"), false));
    EXPECT_EQ(readText(dir / "big.mex"), "the old file");
    EXPECT_EQ(t.errors.reports.size(), 1u);
}

TEST_F(MexWriter, ResetLeavesNothingForTheNextSave) {
    // After a load without mesh extras, the previous ship's chunks must not be written.
    writeBytes(dir / "ship.mex", everyTypeFile(kHomeworld).data());
    getMexInfo(t.ctx, pathOf("ship.mex"));
    ASSERT_EQ(t.ctx.mex.mexChunkCount(), 9);
    resetMexChunkTable(t.ctx);
    EXPECT_EQ(t.ctx.mex.treeMex.count(), 0);
    EXPECT_TRUE(t.ctx.mex.mexMeshes.empty());
    EXPECT_EQ(t.ctx.mex.mexGunCount + t.ctx.mex.mexDockCount + t.ctx.mex.mexSalvageCount + t.ctx.mex.mexNavLightCount +
                  t.ctx.mex.catSalvageDockCount,
              0);
    writeText(dir / "other.mex", "another ship's file");
    EXPECT_TRUE(exportMex(t.ctx, pathOf("other.mex"), false));
    EXPECT_EQ(readText(dir / "other.mex"), "another ship's file");
}

}  // namespace
}  // namespace tarv
