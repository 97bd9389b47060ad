#include <gtest/gtest.h>

#include <bit>
#include <cmath>

#include "Fakes.h"
#include "MexFixtures.h"
#include "TempDir.h"
#include "attachments/MexChunkTree.h"
#include "attachments/MexFile.h"
#include "editor/context/EditingContext.h"

namespace tarv {
namespace {

using namespace tarv::test;

// Message boxes go into the log box too, so a test sees where they came between the log lines.
class BoxesInLog : public ScriptedPrompts {
public:
    explicit BoxesInLog(RecordingStatus& status) : status_(status) {}
    void messageBox(const std::string& text, const std::string& caption, PromptIcon icon) override {
        status_.logBox += "BOX " + text + "\r\n";
        ScriptedPrompts::messageBox(text, caption, icon);
    }

private:
    RecordingStatus& status_;
};

class MexReader : public ::testing::Test {
protected:
    MexReader() {
        t.ctx.mex.markers = &markers;
        addMexTreeDefaults(t.ctx);
    }
    std::string write(const std::vector<uint8_t>& bytes, const std::string& name = "ship.mex") {
        writeBytes(dir / name, bytes);
        return (dir / name).string();
    }
    void read(const std::vector<uint8_t>& bytes) { getMexInfo(t.ctx, write(bytes)); }
    // A ship definition with guns of type 2 and the declared numbers matching.
    void loadShp(int guns) {
        ShipDefinition& shp = t.ctx.shp;
        shp.shpFilePath = (dir / "ship.shp").string();
        shp.noShpLoaded = false;
        shp.shpGuns.assign(size_t(guns) + 1, ShpGun{});
        for (int i = 0; i < guns; ++i) shp.shpGuns[size_t(i)].gunType = 2;
        shp.shpGunCount = shp.shpNumberOfGuns = int16_t(guns);
    }
    std::vector<std::string> nodeKeys() const {
        std::vector<std::string> keys;
        for (int i = 1; i <= t.ctx.mex.treeMex.count(); ++i) keys.push_back(t.ctx.mex.treeMex.nodeAt(i).key);
        return keys;
    }
    const MexChunk& chunk(int i) const { return t.ctx.mex.mexChunks.at(size_t(i)); }

    TempDir dir;
    TestContext t{dir.path()};
    RecordingMarkers markers;
};

TEST_F(MexReader, ReadsTheWorkedFixture) {
    for (bool cataclysm : {false, true}) {
        SCOPED_TRACE(cataclysm);
        TempDir folder;
        TestContext c(folder.path());
        addMexTreeDefaults(c.ctx);
        c.ctx.prefs.navLightSize = 7;
        const auto bytes = workedFixture(cataclysm);
        ASSERT_EQ(bytes.size(), cataclysm ? 132u : 100u);
        writeBytes(folder / "w.mex", bytes);
        getMexInfo(c.ctx, (folder / "w.mex").string());
        ASSERT_TRUE(c.errors.reports.empty());

        ASSERT_EQ(c.ctx.mex.mexChunkCount(), 2);
        const MexChunk& col = c.ctx.mex.mexChunks[0];
        EXPECT_EQ(col.chunkId, "Col0");
        EXPECT_EQ(col.chunkType, "c");
        EXPECT_EQ(col.level, 1);
        EXPECT_EQ(col.position, (Vector3{0, 0, 0}));
        EXPECT_EQ(col.coneAngle, 10.0f);
        const MexChunk& nav = c.ctx.mex.mexChunks[1];
        EXPECT_EQ(nav.chunkId, "NAV");
        EXPECT_EQ(nav.pointName, "Light0");
        EXPECT_EQ(nav.chunkType, "n");
        EXPECT_EQ(nav.position, (Vector3{1, 2, 3}));
        EXPECT_EQ(nav.colour, (ChunkColour{255, 0, 128}));
        EXPECT_EQ(nav.coneAngle, 7.0f);  // the nav light size preference
        EXPECT_EQ(c.ctx.mex.mexNavLightCount, 1);
        EXPECT_EQ(c.status.panels[3], "MEX");

        const std::string version = cataclysm ? "Cataclysm MEX file" : "Homeworld MEX file";
        EXPECT_EQ(c.status.logBox, "\r\n" + version +
                                       "\r\n"
                                       "Number of chunks: 2\r\n"
                                       "Col    Col0 (20)\r\n"
                                       "  Level: 1\r\n"
                                       "  Center: 0/0/0\r\n"
                                       "  Radius: 10\r\n"
                                       "Nav    NAV (" +
                                       std::string(cataclysm ? "68" : "36") +
                                       ")\r\n"
                                       "  Position: 1/2/3\r\n"
                                       "  Colours: 255/0/128\r\n"
                                       "  Name: Light0\r\n");
    }
}

TEST_F(MexReader, ReadsEveryChunkTypeIntoTableTreeAndLog) {
    for (uint16_t version : {kHomeworld, kCataclysm}) {
        SCOPED_TRACE(version);
        TempDir folder;
        TestContext c(folder.path());
        RecordingMarkers rec;
        c.ctx.mex.markers = &rec;
        addMexTreeDefaults(c.ctx);
        writeBytes(folder / "e.mex", everyTypeFile(version).data());
        getMexInfo(c.ctx, (folder / "e.mex").string());
        ASSERT_TRUE(c.errors.reports.empty());
        const auto& chunks = c.ctx.mex.mexChunks;
        ASSERT_EQ(chunks.size(), 9u);

        EXPECT_EQ(chunks[0].position, (Vector3{0.5f, -1, 2}));
        EXPECT_EQ(chunks[0].coneAngle, 10.0f);
        EXPECT_EQ(chunks[1].chunkType, "r");
        EXPECT_EQ(chunks[1].position, (Vector3{-1, -2, -3}));
        EXPECT_EQ(chunks[1].normal, (Vector3{2, 4, 6}));
        EXPECT_EQ(chunks[1].level, 1);
        EXPECT_EQ(chunks[2].chunkType, "g");
        EXPECT_EQ(chunks[2].position, (Vector3{1, 2, 3}));
        EXPECT_EQ(chunks[2].normal, (Vector3{0, 0, 1}));
        EXPECT_EQ(chunks[2].coneAngle, 15.0f);
        EXPECT_EQ(chunks[2].edgeAngle, 5.0f);
        EXPECT_EQ(chunks[3].chunkType, "d");
        EXPECT_EQ(chunks[4].chunkType, "e");
        EXPECT_EQ(chunks[4].edgeAngle, 2.5f);
        EXPECT_EQ(chunks[5].chunkType, "k");
        EXPECT_EQ(chunks[5].chunkId, "DOCK");
        EXPECT_EQ(chunks[5].pointName, "DockPoint1");
        EXPECT_EQ(chunks[6].chunkType, "s");
        EXPECT_EQ(chunks[6].pointName, "SalvagePoint1");
        EXPECT_EQ(chunks[7], MexChunk{});  // the unknown tag leaves a blank slot
        EXPECT_EQ(chunks[8].chunkType, "n");
        EXPECT_EQ(chunks[8].pointName, "NavLight1");
        EXPECT_EQ(chunks[8].colour, (ChunkColour{255, 0, 128}));
        EXPECT_EQ(c.ctx.mex.mexMeshes.size(), 9u);
        EXPECT_EQ(c.ctx.mex.mexGunCount, 1);
        EXPECT_EQ(c.ctx.mex.mexDockCount, 1);
        EXPECT_EQ(c.ctx.mex.mexSalvageCount, 1);
        EXPECT_EQ(c.ctx.mex.mexNavLightCount, 1);

        // Nodes: the skeleton, then the chunks in file order under their parents, unticked.
        const KeyedTree& tree = c.ctx.mex.treeMex;
        struct Node {
            const char* key;
            const char* parent;
            const char* text;
        };
        const Node expected[] = {
            {"Root", "", "Mex Entries"},
            {"gRoot", "Root", "Guns (1)"},
            {"dRoot", "Root", "Damage points (1)"},
            {"eRoot", "Root", "Engines (1)"},
            {"kRoot", "Root", "Docking points (1)"},
            {"sRoot", "Root", "Salvage points (1)"},
            {"nRoot", "Root", "Navlights (1)"},
            {"c0", "Root", "Collision Sphere"},
            {"r1", "Root", "Bounding box"},
            {"g2", "gRoot", "Gun0"},
            {"d3", "dRoot", "Dmg0"},
            {"e4", "eRoot", "Eng0"},
            {"k5", "kRoot", "DockPoint1"},
            {"s6", "sRoot", "SalvagePoint1"},
            {"n8", "nRoot", "NavLight1"},
        };
        ASSERT_EQ(tree.count(), int(std::size(expected)));
        for (int i = 0; i < tree.count(); ++i) {
            const auto& node = tree.nodeAt(i + 1);
            EXPECT_EQ(node.key, expected[i].key);
            EXPECT_EQ(tree.parentOf(node.key), expected[i].parent);
            EXPECT_EQ(node.text, expected[i].text);
            EXPECT_FALSE(node.checked);
        }
        EXPECT_TRUE(tree.nodeAt(1).expanded);

        // The marker calls, chunk by chunk; none for the unknown tag.
        const std::vector<std::string> calls{
            "blank Col0 0",    "marker 0 sphere", "colour 0", "blank Rct0 1", "marker 1 box",    "colour 1",
            "blank Gun0 2",    "marker 2 cone",   "colour 2", "blank Dmg0 3", "marker 3 cone",   "colour 3",
            "blank Eng0 4",    "marker 4 cone",   "colour 4", "blank DOCK 5", "marker 5 cone",   "colour 5",
            "blank SALVAGE 6", "marker 6 cone",   "colour 6", "blank NAV 8",  "marker 8 sphere", "colour 8"};
        EXPECT_EQ(rec.calls, calls);

        const bool cat = version == kCataclysm;
        const std::string log = c.status.logBox;
        const std::string expectedLog =
            std::string("\r\n") + (cat ? "Cataclysm" : "Homeworld") +
            " MEX file\r\n"
            "Number of chunks: 9\r\n"
            "Col    Col0 (20)\r\n  Level: 1\r\n  Center: 0.5/-1/2\r\n  Radius: 10\r\n"
            "Rct    Rct0 (28)\r\n  Level: 1\r\n  Corner: -1/-2/-3\r\n  Dimensions: 2/4/6\r\n"
            "Gun    Gun0 (32)\r\n  Position: 1/2/3\r\n  Orientation: 0/0/1\r\n  coneAngle: 15\r\n"
            "  edgeAngle: 5\r\n"
            "Dmg    Dmg0 (32)\r\n  Position: 4/5/6\r\n  Orientation: 0/1/0\r\n  coneAngle: 20\r\n"
            "  edgeAngle: 10\r\n"
            "Eng    Eng0 (" +
            (cat ? "64" : "32") +
            ")\r\n  Position: 7/8/9\r\n  Orientation: -1/0/0\r\n"
            "  coneAngle: 30\r\n  edgeAngle: 2.5\r\n"
            "Dok    DOCK (52)\r\n  Position: 1/1/1\r\n  Orientation: 1/0/0\r\n  coneAngle: 45\r\n"
            "  edgeAngle: 5\r\n  Name: DockPoint1\r\n"
            "Sal    SALVAGE (52)\r\n  Position: 2/2/2\r\n  Orientation: 0/1/0\r\n  coneAngle: 45\r\n"
            "  edgeAngle: 5\r\n  Name: SalvagePoint1\r\n"
            "Xyz    What (8)\r\n  Unknown chunk type!\r\n"
            "Nav    NAV (" +
            (cat ? "68" : "36") +
            ")\r\n  Position: 3/3/3\r\n  Colours: 255/0/128\r\n"
            "  Name: NavLight1\r\n";
        EXPECT_EQ(log, expectedLog);
    }
}

TEST_F(MexReader, UnknownVersionReadsAsHomeworldWithoutVersionLine) {
    ByteBuilder b = everyTypeFile(kHomeworld, false);
    b.patchI16(8, 300);
    read(b.data());
    EXPECT_EQ(t.ctx.mex.mexChunkCount(), 8);
    EXPECT_EQ(t.status.logBox.rfind("Number of chunks: 8\r\n", 0), 0u);
}

TEST_F(MexReader, KeepsTheBytesTheFieldRulesSay) {
    struct Case {
        const char* what;
        std::vector<uint8_t> tagAndId;  // 12 bytes: tag field and ID field
        const char* tag;
        const char* id;
    };
    const Case cases[] = {
        {"seven characters", hexBytes("47 75 6E 00 47 75 6E 4C 65 66 74 00"), "Gun", "GunLeft"},
        {"bytes after the zero", hexBytes("47 75 6E 00 47 75 6E 31 00 78 AB AB"), "Gun", "Gun1x"},
        {"zero inside the tag", hexBytes("47 00 75 6E 47 75 6E 32 00 AB AB AB"), "Gun", "Gun2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        resetMexChunkTable(t.ctx);
        addMexTreeDefaults(t.ctx);
        ByteBuilder b;
        mexHeader(b, kHomeworld, 1).bytes(c.tagAndId).i32(32);
        vec(b, 0, 0, 0);
        vec(b, 0, 0, 1);
        b.f32(10).f32(10);
        read(b.data());
        ASSERT_EQ(t.ctx.mex.mexChunkCount(), 1);
        EXPECT_EQ(chunk(0).chunkId, c.id);
        EXPECT_EQ(chunk(0).chunkType, "g");
    }
    // A name keeps every byte that is neither 00 nor 0xCD.
    resetMexChunkTable(t.ctx);
    addMexTreeDefaults(t.ctx);
    ByteBuilder b;
    mexHeader(b, kHomeworld, 1);
    chunkHeader(b, "Dok", "DOCK", 52);
    vec(b, 0, 0, 0);
    vec(b, 1, 0, 0);
    b.f32(10).f32(10).bytes(hexBytes("44 6F CD 63 6B 00 41 CD 13xCD"));
    read(b.data());
    EXPECT_EQ(chunk(0).pointName, "DockA");
}

TEST_F(MexReader, TakesGunNumbersFromTheId) {
    loadShp(4);
    ByteBuilder b;
    mexHeader(b, kCataclysm, 6);  // Cataclysm: the count findings go to the summary
    for (const char* id : {"Gun0", "GUN3", "BEAM0", "Gun1.5", "GunL", "REP1"})
        coneChunk(b, "Gun", id, 0, 0, 0, 0, 0, 1, 10, 10);
    read(b.data());
    ASSERT_TRUE(t.errors.reports.empty());
    EXPECT_EQ(t.ctx.mex.mexGunCount, 4);  // BEAM0 and REP1 do not begin with "gun"
    std::vector<MexMarkerRequest> expected{{MexMarkerShape::GunRule, 0}, {MexMarkerShape::GunRule, 3},
                                           {MexMarkerShape::Cone, 0},    {MexMarkerShape::GunRule, 2},
                                           {MexMarkerShape::GunRule, 0}, {MexMarkerShape::GunRule, 1}};
    EXPECT_EQ(markers.requests, expected);
    EXPECT_EQ(t.status.statusHistory.front(), "Generating gun targeting window for Gun0");
    EXPECT_EQ(t.status.statusHistory.size(), 6u);
}

TEST_F(MexReader, GunsWithoutAShipDefinitionGetCones) {
    ByteBuilder b;
    mexHeader(b, kHomeworld, 2);
    coneChunk(b, "Gun", "Gun0", 0, 0, 0, 0, 0, 1, 10, 10);
    coneChunk(b, "Gun", "Gun1", 0, 0, 0, 0, 0, 1, 10, 10);
    read(b.data());
    EXPECT_EQ(markers.requests, (std::vector<MexMarkerRequest>(2, {MexMarkerShape::Cone, 0})));
    EXPECT_TRUE(t.status.statusHistory.empty());
    // Without a ship definition the gun table becomes two blank guns.
    EXPECT_EQ(t.ctx.shp.shpGuns, std::vector<ShpGun>(2));
}

TEST_F(MexReader, GrowsTheGunTableWithoutRaisingItsCount) {
    loadShp(0);
    ByteBuilder b;
    mexHeader(b, kCataclysm, 4);
    for (const char* id : {"Gun0", "Gun1", "Gun2", "Gun3"}) coneChunk(b, "Gun", id, 0, 0, 0, 0, 0, 1, 10, 10);
    read(b.data());
    EXPECT_EQ(t.ctx.shp.shpGuns.size(), 5u);
    EXPECT_EQ(t.ctx.shp.shpGunCount, 0);
    EXPECT_EQ(markers.requests.back(), (MexMarkerRequest{MexMarkerShape::GunRule, 3}));
}

TEST_F(MexReader, GunsWithoutAUsableNumberGetConesAndReadingGoesOn) {
    loadShp(2);  // three records
    ByteBuilder b;
    mexHeader(b, kCataclysm, 6);
    for (const char* id : {"Gun12", "Gu", "Gun-1", "Gun9e4", "Gun1e9", "Gun1"})
        coneChunk(b, "Gun", id, 0, 0, 0, 0, 0, 1, 10, 10);
    read(b.data());
    ASSERT_TRUE(t.errors.reports.empty());
    ASSERT_EQ(t.ctx.mex.mexChunkCount(), 6);
    std::vector<MexMarkerRequest> expected(5, {MexMarkerShape::Cone, 0});
    expected.push_back({MexMarkerShape::GunRule, 1});
    EXPECT_EQ(markers.requests, expected);
}

TEST_F(MexReader, Beam0KeepsTheShipDefinitionsGuns) {
    loadShp(2);
    t.ctx.shp.shpGuns[1].minTurnAngle = -90;
    t.ctx.shp.shpGuns[1].maxTurnAngle = 90;
    const std::vector<ShpGun> before = t.ctx.shp.shpGuns;
    ByteBuilder b;
    mexHeader(b, kCataclysm, 2);
    coneChunk(b, "Gun", "BEAM0", 0, 0, 0, 0, 0, 1, 10, 10);
    coneChunk(b, "Gun", "Gun1", 0, 0, 0, 0, 0, 1, 10, 10);
    read(b.data());
    EXPECT_EQ(t.ctx.shp.shpGuns, before);
    EXPECT_EQ(markers.requests,
              (std::vector<MexMarkerRequest>{{MexMarkerShape::Cone, 0}, {MexMarkerShape::GunRule, 1}}));
}

TEST_F(MexReader, WarnsAboutZeroAnglesBetweenTheAngleLines) {
    struct Case {
        const char* tag;
        const char* id;
        const char* text;
    };
    const Case cases[] = {
        {"Gun", "Gun0", "TARV will not be able to show a gun targeting-cone if you don't set cone & edge angles for "},
        {"Dmg", "Dmg0", "TARV will not be able to show a damage-cone if you don't set cone & edge angles for "},
        {"Eng", "Eng0", "TARV will not be able to show an engine-cone if you don't set cone & edge angles for "},
        {"Dok", "DOCK", "TARV will not be able to show a docking-cone if you don't set cone & edge angles for "},
        {"Sal", "SALVAGE", "TARV will not be able to show a salvaging-cone if you don't set cone & edge angles for "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tag);
        TempDir folder;
        TestContext tc(folder.path());
        BoxesInLog prompts(tc.status);
        tc.ctx.services.prompts = &prompts;
        addMexTreeDefaults(tc.ctx);
        const std::string box = std::string(c.text) + c.id + ".";
        prompts.expectMessage(box, tc.ctx.version.appTitle);
        ByteBuilder b;
        mexHeader(b, kHomeworld, 1);
        coneChunk(b, c.tag, c.id, 0, 0, 0, 0, 0, 1, 0, 0, "P1");
        writeBytes(folder / "z.mex", b.data());
        getMexInfo(tc.ctx, (folder / "z.mex").string());
        EXPECT_NE(tc.status.logBox.find("  coneAngle: 0\r\nBOX " + box + "\r\n  edgeAngle: 0\r\n"), std::string::npos);
        EXPECT_EQ(prompts.pending(), 0u);
    }
}

TEST_F(MexReader, UnsetAnglesAreNoZeroAngles) {
    // The games' tools leave 0xCDCDCDCD in unset angles; a NaN pattern is no zero either.
    ByteBuilder b;
    mexHeader(b, kCataclysm, 2);
    chunkHeader(b, "Gun", "GUN0", 32);
    vec(b, 0, 0, 0);
    vec(b, 0, 0, 1);
    b.u32(0xCDCDCDCD).u32(0xCDCDCDCD);
    chunkHeader(b, "Dmg", "Dmg0", 32);
    vec(b, 0, 0, 0);
    vec(b, 0, 0, 1);
    b.u32(0x7FA00001).u32(0xFFC00000);
    read(b.data());  // the strict prompts fail the test on any box
    EXPECT_EQ(std::bit_cast<uint32_t>(chunk(0).coneAngle), 0xCDCDCDCDu);
    EXPECT_EQ(std::bit_cast<uint32_t>(chunk(1).coneAngle), 0x7FA00001u);
    EXPECT_NE(t.status.logBox.find("  coneAngle: -4.316021E+08\r\n"), std::string::npos);
}

TEST_F(MexReader, MissingFileOnlyResetsCountsAndPanel) {
    t.ctx.mex.mexGunCount = 3;
    t.ctx.mex.mexDockCount = 2;
    getMexInfo(t.ctx, (dir / "none.mex").string());
    EXPECT_TRUE(t.errors.reports.empty());
    EXPECT_EQ(t.ctx.mex.mexGunCount, 0);
    EXPECT_EQ(t.ctx.mex.mexDockCount, 0);
    EXPECT_EQ(t.status.panels[3], "MEX");
    EXPECT_EQ(t.ctx.shp.shpGuns, std::vector<ShpGun>(2));
    EXPECT_TRUE(t.status.logBox.empty());
}

TEST_F(MexReader, RefusesDamagedFilesWithoutTouchingTheTable) {
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        const char* fault;  // in the error report; empty: no refusal and no chunks
    };
    ByteBuilder zero;
    mexHeader(zero, kHomeworld, 0);
    ByteBuilder negative;
    mexHeader(negative, kHomeworld, -1);
    colChunk(negative, "Col0", 1, 0, 0, 0, 1);
    ByteBuilder shortHeader;
    shortHeader.str("mannngo").u8(0).u16(kHomeworld);
    ByteBuilder cutLast = everyTypeFile(kHomeworld, false);
    cutLast.data().resize(cutLast.size() - 5);
    ByteBuilder cutChunkHeader;
    mexHeader(cutChunkHeader, kHomeworld, 2);
    colChunk(cutChunkHeader, "Col0", 1, 0, 0, 0, 1).str("Rct").u8(0);
    ByteBuilder pastEnd;
    mexHeader(pastEnd, kHomeworld, 2);
    colChunk(pastEnd, "Col0", 1, 0, 0, 0, 1);
    chunkHeader(pastEnd, "Abc", "X", 100).fill(20);
    ByteBuilder negativeSize;
    mexHeader(negativeSize, kHomeworld, 1);
    chunkHeader(negativeSize, "Abc", "X", -16).fill(32);
    ByteBuilder huge;
    mexHeader(huge, kHomeworld, 32767);
    colChunk(huge, "Col0", 1, 0, 0, 0, 1);
    huge.padTo(40);

    const Case cases[] = {
        {"count 0", zero.data(), ""},
        {"count -1", negative.data(), ""},
        {"truncated header", shortHeader.data(), "shorter than its 12-byte header"},
        {"truncated last chunk", cutLast.data(), "Chunk 8 of 8 is cut off: its body needs 36 bytes"},
        {"truncated chunk header", cutChunkHeader.data(), "Chunk 2 of 2 is cut off: its header needs 16 bytes"},
        {"unknown tag past the end", pastEnd.data(), "Chunk 2 of 2 has the unknown tag \"Abc\" and a body size (100)"},
        {"unknown tag of negative size", negativeSize.data(),
         "Chunk 1 of 1 has the unknown tag \"Abc\" and a negative"},
        {"count 32767 in 40 bytes", huge.data(), "Chunk 2 of 32767 is cut off"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir folder;
        TestContext tc(folder.path());
        addMexTreeDefaults(tc.ctx);
        // Chunks left from before must not survive a refused file.
        tc.ctx.mex.mexChunks.resize(3);
        tc.ctx.mex.mexMeshes.resize(3);
        writeBytes(folder / "bad.mex", c.bytes);
        const std::string path = (folder / "bad.mex").string();
        getMexInfo(tc.ctx, path);
        EXPECT_EQ(tc.ctx.mex.mexChunkCount(), 0);
        EXPECT_TRUE(tc.ctx.mex.mexMeshes.empty());
        EXPECT_EQ(tc.ctx.mex.treeMex.count(), 7);
        if (*c.fault) {
            ASSERT_EQ(tc.errors.reports.size(), 1u);
            const auto& report = tc.errors.reports[0];
            EXPECT_EQ(report.module, "modMex");
            EXPECT_EQ(report.procedure, "getMexInfo");
            EXPECT_EQ(report.arguments, path);
            EXPECT_NE(report.description.find(c.fault), std::string::npos) << report.description;
            EXPECT_TRUE(tc.status.logBox.empty());
        } else {
            EXPECT_TRUE(tc.errors.reports.empty());
            const int16_t count = int16_t(uint16_t(c.bytes[10] | (c.bytes[11] << 8)));
            EXPECT_NE(tc.status.logBox.find("Number of chunks: " + std::to_string(count) + "\r\n"), std::string::npos);
        }
    }
}

TEST_F(MexReader, KnownTagsReadTheirOwnLayoutWhateverSizeIsWritten) {
    ByteBuilder b;
    mexHeader(b, kHomeworld, 2);
    chunkHeader(b, "Col", "Col0", 999).i32(1);
    vec(b, 1, 2, 3).f32(4);
    rctChunk(b, "Rct0", 1, 0, 0, 0, 1, 1, 1);
    read(b.data());
    ASSERT_TRUE(t.errors.reports.empty());
    EXPECT_EQ(chunk(0).coneAngle, 4.0f);
    EXPECT_EQ(chunk(1).chunkType, "r");
    EXPECT_NE(t.status.logBox.find("Col    Col0 (999)\r\n"), std::string::npos);
}

}  // namespace
}  // namespace tarv
