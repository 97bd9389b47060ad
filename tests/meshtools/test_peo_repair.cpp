#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>

#include "ByteBuilder.h"
#include "Fakes.h"
#include "RoadHooks.h"
#include "SampleShip.h"
#include "TempDir.h"
#include "attachments/state/ShipDefinition.h"
#include "editor/LoadRoad.h"
#include "base/BinaryReader.h"
#include "meshtools/PeoRepair.h"
#include "model/PeoObjectHeader.h"
#include "meshtools/state/ToolsPageState.h"
#include "preview/PreviewScene.h"

using namespace tarv;
using namespace tarv::test;

namespace {

// One object record as the test writes it; the matrix is the identity.
struct Rec {
    int32_t nameOffset = 0, flags = 0, nVertices = 0, nFaceNormals = 0, nVertNormals = 0, nPolygons = 0;
    int32_t vertexList = 0, cVertexNormals = 0, normalList = 0, polygonList = 0;
    int32_t mother = 0, daughter = 0, sister = 0;
};

// Header (68 bytes) and records of a .peo; the caller appends whatever follows.
ByteBuilder peoFile(int32_t version, int32_t publicMats, int32_t localMats, int32_t materialList, int32_t count,
                    const std::vector<Rec>& records) {
    ByteBuilder b;
    b.str("RMF99ba").u8(0).i32(version).i32(0).i32(0).i32(0);
    b.i32(publicMats).i32(localMats).i32(materialList).i32(materialList).i32(count).fill(24, 0xAB);
    for (const Rec& r : records) {
        b.i32(r.nameOffset).i32(r.flags).i32(r.nVertices).i32(r.nFaceNormals).i32(r.nVertNormals).i32(r.nPolygons);
        b.i32(r.vertexList);
        if (version == 1280) b.i32(r.cVertexNormals);
        b.i32(r.normalList).i32(r.polygonList).i32(r.mother).i32(r.daughter).i32(r.sister);
        for (int i = 0; i < 16; ++i) b.f32(i % 5 == 0 ? 1.0f : 0.0f);
    }
    return b;
}

// Three Homeworld records; material list right after them (offset 404) and the first polygon list gap bytes
// later; the file runs 64 bytes past that.
ByteBuilder threeRecordFile(int32_t publicMats, int32_t localMats, int32_t gap) {
    const int32_t materialList = 68 + 3 * 112;
    Rec first;
    first.polygonList = materialList + gap;
    ByteBuilder b = peoFile(1026, publicMats, localMats, materialList, 3, {first, Rec{}, Rec{}});
    b.padTo(size_t(materialList + gap + 64), 0x11);
    return b;
}

struct PeoRepairTest : ::testing::Test {
    TempDir dir;
    TestContext t{dir.path()};
    RepairView view;

    std::string write(const ByteBuilder& b, const std::string& name = "ship.peo") {
        b.writeTo(dir / name);
        return (dir / name).string();
    }
    std::vector<std::string> column(size_t c) const {
        std::vector<std::string> texts;
        for (size_t r = 0; r < view.ListView1.size(); ++r) texts.push_back(normalRowTexts(view, r)[c]);
        return texts;
    }
};

TEST_F(PeoRepairTest, EachRecordIsListedWithItsPositionInBothVariants) {
    const struct {
        int32_t version;
        std::vector<std::string> entries;
    } cases[] = {{1026, {"1 @ 69", "2 @ 181", "3 @ 293"}}, {1280, {"1 @ 69", "2 @ 185", "3 @ 301"}}};
    for (const auto& c : cases) {
        ByteBuilder b = peoFile(c.version, 1, 2, 0, 3, {Rec{}, Rec{}, Rec{}});
        const std::string path = write(b);
        RepairView v;
        Form_Load(v);
        EXPECT_FALSE(v.mnuFileLoadIntoTARVEnabled);
        getPeoInfo(t.ctx, v, path);
        EXPECT_EQ(v.lstObjects, c.entries);
        EXPECT_EQ(v.StatusBar1, path);
        EXPECT_EQ(v.txtVersion, std::to_string(c.version));
        EXPECT_EQ(v.txtNumberOfObjects, "3");
        EXPECT_EQ(v.txtMats, "3");
        EXPECT_EQ(v.Label4, "69");
        EXPECT_TRUE(v.mnuFileLoadIntoTARVEnabled);
        EXPECT_EQ(readBytes(path), b.data());  // inspection leaves the file as it was
    }
    EXPECT_TRUE(t.errors.reports.empty());
}

TEST_F(PeoRepairTest, TheComputedCountComesFromTheGapBeforeTheFirstPolygonList) {
    const struct {
        int32_t publicMats, localMats, gap;
        const char* mats;
        const char* computed;
        bool repairEnabled;
    } cases[] = {
        {10, 2, 384, "12", "12", false},
        {0, 0, 384, "0", "12", true},
        {0, 0, 400, "0", "12.5", true},
        {-1, -2147483647 - 1, 384, "-2147483649", "12", true},  // the header's sum in 64 bits
    };
    for (const auto& c : cases) {
        getPeoInfo(t.ctx, view, write(threeRecordFile(c.publicMats, c.localMats, c.gap)));
        EXPECT_EQ(view.txtMats, c.mats);
        EXPECT_EQ(view.lblMatSize, c.computed);
        EXPECT_EQ(view.lblMatOffset, std::string("Calc Mats: ") + c.computed);
        EXPECT_EQ(view.cmdRepairMatsEnabled, c.repairEnabled) << c.gap;
    }
}

TEST_F(PeoRepairTest, RepairWritesTheRoundedCountAndZeroAndNothingElse) {
    const struct {
        int32_t gap;
        bool enabledAfter;
    } cases[] = {{384, false}, {400, true}, {32 * 5 + 16, true}};  // 12, 12.5 -> 12, 5.5 -> 6
    const int32_t written[] = {12, 12, 6};
    for (size_t i = 0; i < std::size(cases); ++i) {
        const ByteBuilder before = threeRecordFile(7, 9, cases[i].gap);
        const std::string path = write(before);
        getPeoInfo(t.ctx, view, path);
        ASSERT_TRUE(view.cmdRepairMatsEnabled);
        cmdRepairMats_Click(t.ctx, view);
        ByteBuilder expected = before;
        expected.patchI32(24, written[i]).patchI32(28, 0);
        EXPECT_EQ(readBytes(path), expected.data()) << cases[i].gap;
        EXPECT_EQ(view.txtMats, std::to_string(written[i]));
        EXPECT_EQ(view.cmdRepairMatsEnabled, cases[i].enabledAfter);
    }
    EXPECT_TRUE(t.errors.reports.empty());
}

TEST_F(PeoRepairTest, GetObjectReadsEitherRecordSizeAndZeroFillsPastTheEnd) {
    for (int32_t version : {1026, 1280}) {
        Rec r{.nameOffset = 1, .flags = 2, .nVertices = 3, .nFaceNormals = 4, .nVertNormals = 5, .nPolygons = 6,
              .vertexList = 7, .cVertexNormals = 8, .normalList = 9, .polygonList = 10, .mother = 11, .daughter = 12,
              .sister = 13};
        const ByteBuilder b = peoFile(version, 0, 0, 0, 1, {r});
        const ZeroFilledBytes file(b.data());
        int64_t position = 68;
        const PeoObjectHeader h = getObject(t.ctx, file, position, version);
        EXPECT_EQ(position, version == 1280 ? 68 + 116 : 68 + 112);
        EXPECT_EQ(h.cVertexNormalsOffset, version == 1280 ? 8 : 0);
        EXPECT_EQ((std::array{h.nameOffset, h.flags, h.nVertices, h.nFaceNormals, h.nVertNormals, h.nPolygons,
                              h.vertexListOffset, h.normalListOffset, h.polygonListOffset, h.mother, h.daughter,
                              h.sister}),
                  (std::array{1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13}));
        EXPECT_EQ(h.fileMatrix, Matrix4::identity());
        EXPECT_TRUE(h.name.empty());
        EXPECT_EQ(t.ctx.err.errModule, "modPeo");
        EXPECT_EQ(t.ctx.err.errProc, "getObject");
    }
    // A record cut short: the bytes that are there, then zeros; a field outside the file reads 0.
    ByteBuilder cut;
    cut.i32(-1).u8(0x34).u8(0x12);
    const ZeroFilledBytes file(cut.data());
    int64_t position = 0;
    const PeoObjectHeader h = getObject(t.ctx, file, position, 1026);
    EXPECT_EQ(h.nameOffset, -1);
    EXPECT_EQ(h.flags, 0x1234);
    EXPECT_EQ(h.nVertices, 0);
    EXPECT_EQ(h.fileMatrix[0], 0.0f);
    EXPECT_EQ(position, 112);
    EXPECT_EQ(file.i32(-4), 0);
}

// One object with two vertex normals and one face normal: entries 0 and 1 give sub-items 1-3, entry 2 (the
// face normal) is skipped, entries 3 and 4 give sub-items 4-6.
ByteBuilder normalsFile(int32_t version, int32_t vertexNormals) {
    const int32_t recordSize = version == 1280 ? 116 : 112;
    const int32_t normals = 68 + recordSize;
    Rec r;
    r.nameOffset = normals + 5 * 16;
    r.nFaceNormals = 1;
    r.nVertNormals = vertexNormals;
    (version == 1280 ? r.cVertexNormals : r.normalList) = normals;
    r.polygonList = 4444;
    r.vertexList = 3333;
    ByteBuilder b = peoFile(version, 0, 0, 0, 1, {r});
    const float values[5][3] = {{0.5f, -1, 0.1f}, {1e-5f, 12345678.f, 2}, {9, 9, 9}, {0, 0.25f, -0.75f},
                                {3, 1.0f / 3, -2.5f}};
    for (const auto& v : values) b.f32(v[0]).f32(v[1]).f32(v[2]).fill(4, 0xAB);
    b.zstr("Hull");
    return b;
}

TEST_F(PeoRepairTest, AnObjectShowsItsOffsetsNameAndNormalsWithExactTexts) {
    for (int32_t version : {1026, 1280}) {
        getPeoInfo(t.ctx, view, write(normalsFile(version, 2)));
        lstObjects_Click(t.ctx, view, 0);
        const std::string normals = version == 1280 ? "184" : "180";
        EXPECT_EQ(view.txtObjNameOffset, version == 1280 ? "264" : "260");
        EXPECT_EQ(view.txtObjInfo,
                  (std::array<std::string, 6>{"3333", "4444", version == 1280 ? normals : "0",
                                              version == 1280 ? "0" : normals, "1", "2"}));
        EXPECT_EQ(view.Label5, "Hull");
        ASSERT_EQ(view.ListView1.size(), 2u);
        EXPECT_EQ(normalRowTexts(view, 0),
                  (std::array<std::string, 7>{"0", "0.5", "-1", "0.1", "0", "0.25", "-0.75"}));
        EXPECT_EQ(normalRowTexts(view, 1),
                  (std::array<std::string, 7>{"1", "1E-05", "1.234568E+07", "2", "3", "0.3333333", "-2.5"}));
    }
    EXPECT_TRUE(t.errors.reports.empty());
}

TEST_F(PeoRepairTest, AVertexNormalCountOfZeroLeavesTheListEmpty) {
    getPeoInfo(t.ctx, view, write(normalsFile(1026, 2)));
    lstObjects_Click(t.ctx, view, 0);
    ASSERT_EQ(view.ListView1.size(), 2u);
    getPeoInfo(t.ctx, view, write(normalsFile(1026, 0), "none.peo"));
    lstObjects_Click(t.ctx, view, 0);
    EXPECT_TRUE(view.ListView1.empty());
    EXPECT_EQ(view.txtObjInfo[5], "0");
}

TEST_F(PeoRepairTest, TheNameEndsAtItsZeroByteOrAtTheEndOfTheFile) {
    const struct {
        int32_t nameOffset;
        const char* tail;  // appended after the record, without a zero byte
        std::string name;
    } cases[] = {
        {0, "", "RMF99ba"},                             // the identifier
        {180, "Tail\xE9", "Tail\xE9"},                  // no zero byte: to the end, byte for byte
        {-4, "", ""},                                   // before the file
        {1000, "", ""},                                 // past the end
    };
    for (const auto& c : cases) {
        Rec r;
        r.nameOffset = c.nameOffset;
        ByteBuilder b = peoFile(1026, 0, 0, 0, 1, {r});
        b.str(c.tail);
        getPeoInfo(t.ctx, view, write(b));
        lstObjects_Click(t.ctx, view, 0);
        EXPECT_EQ(view.Label5, c.name) << c.nameOffset;
    }
    EXPECT_TRUE(t.errors.reports.empty());
}

TEST_F(PeoRepairTest, AnEditedVersionChangesTheRecordSize) {
    // Record 2 of a Homeworld file at 181; as Cataclysm records, entry 2 lies at 185 (0-based 184).
    Rec second;
    second.nameOffset = 77;
    ByteBuilder b = peoFile(1026, 0, 0, 0, 2, {Rec{}, second});
    b.padTo(184 + 116);
    b.patchI32(184, 55).patchI32(184 + 28, 999);  // name offset and vertex-normal list offset, Cataclysm layout
    getPeoInfo(t.ctx, view, write(b));
    lstObjects_Click(t.ctx, view, 1);
    EXPECT_EQ(view.txtObjNameOffset, "77");
    view.txtVersion = "1280";
    lstObjects_Click(t.ctx, view, 1);
    EXPECT_EQ(view.txtObjNameOffset, "55");
    EXPECT_EQ(view.txtObjInfo[2], "999");
    view.txtVersion = "1279.5";  // a whole number, halves to even
    lstObjects_Click(t.ctx, view, 1);
    EXPECT_EQ(view.txtObjNameOffset, "55");
    EXPECT_TRUE(t.errors.reports.empty());
}

TEST_F(PeoRepairTest, AVersionThatIsNoNumberIsATypeMismatch) {
    getPeoInfo(t.ctx, view, write(normalsFile(1026, 2)));
    view.txtVersion = "abc";
    lstObjects_Click(t.ctx, view, 0);
    ASSERT_EQ(t.errors.reports.size(), 1u);
    EXPECT_EQ(t.errors.reports[0].number, 13);
    EXPECT_EQ(t.errors.reports[0].description, "Type mismatch");
    EXPECT_EQ(t.errors.reports[0].module, "frmRepair");
    EXPECT_EQ(t.errors.reports[0].procedure, "lstObjects_Click");
    EXPECT_TRUE(view.txtObjNameOffset.empty());
}

TEST_F(PeoRepairTest, AMissingFileIsErrorFiftyThreeAndIsNotCreated) {
    const std::string path = (dir / "gone.peo").string();
    getPeoInfo(t.ctx, view, path);
    ASSERT_EQ(t.errors.reports.size(), 1u);
    EXPECT_EQ(t.errors.reports[0].number, 53);
    EXPECT_EQ(t.errors.reports[0].procedure, "getPeoInfo");
    EXPECT_EQ(t.errors.reports[0].arguments, path);
    EXPECT_FALSE(std::filesystem::exists(path));

    // Shown, then deleted before Repair: nothing is made.
    const std::string shown = write(threeRecordFile(0, 0, 384));
    getPeoInfo(t.ctx, view, shown);
    ASSERT_TRUE(view.cmdRepairMatsEnabled);
    std::filesystem::remove(shown);
    cmdRepairMats_Click(t.ctx, view);
    ASSERT_EQ(t.errors.reports.size(), 2u);
    EXPECT_EQ(t.errors.reports[1].number, 53);
    EXPECT_EQ(t.errors.reports[1].module, "frmRepair");
    EXPECT_EQ(t.errors.reports[1].procedure, "cmdRepairMats_Click");
    EXPECT_FALSE(std::filesystem::exists(shown));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 0);
}

// The checks the repair rests on: each failing one disables the button, and a repair forced past it writes
// nothing and names the check and the file.
TEST_F(PeoRepairTest, RepairNeedsTheLayoutTheCountRestsOn) {
    const ByteBuilder good = threeRecordFile(0, 0, 384);
    const auto changed = [&](auto change) {
        ByteBuilder b = good;
        change(b);
        return b;
    };
    const struct {
        const char* check;
        ByteBuilder file;
    } cases[] = {
        {"shorter than its header and first object record",
         changed([](ByteBuilder& b) { b.data().resize(68 + 100); })},
        {"counts no object records", changed([](ByteBuilder& b) { b.patchI32(40, 0); })},
        {"does not begin after the object records", changed([](ByteBuilder& b) { b.patchI32(40, 4); })},
        {"does not begin after the object records", changed([](ByteBuilder& b) { b.patchI32(32, 403); })},
        {"begins before the material list", changed([](ByteBuilder& b) { b.patchI32(68 + 32, 404 - 32); })},
        {"begins past the end of the file", changed([](ByteBuilder& b) { b.data().resize(404 + 383); })},
        {"already agrees", changed([](ByteBuilder& b) { b.patchI32(24, 5).patchI32(28, 7); })},
    };
    for (const auto& c : cases) {
        const std::string path = write(c.file);
        getPeoInfo(t.ctx, view, path);
        EXPECT_FALSE(view.cmdRepairMatsEnabled) << c.check;
        const size_t reports = t.errors.reports.size();
        cmdRepairMats_Click(t.ctx, view);
        EXPECT_EQ(readBytes(path), c.file.data()) << c.check;
        ASSERT_EQ(t.errors.reports.size(), reports + 1) << c.check;
        const ErrorReportInfo& report = t.errors.reports.back();
        EXPECT_NE(report.description.find(c.check), std::string::npos) << report.description;
        EXPECT_NE(report.detail.find(path), std::string::npos) << report.detail;
        EXPECT_EQ(report.procedure, "cmdRepairMats_Click");
        EXPECT_FALSE(view.cmdRepairMatsEnabled) << c.check;
    }
    getPeoInfo(t.ctx, view, write(good));
    EXPECT_TRUE(view.cmdRepairMatsEnabled);
}

TEST_F(PeoRepairTest, AFileChangedAfterItWasShownIsNotWritten) {
    const std::string path = write(threeRecordFile(0, 0, 384));
    getPeoInfo(t.ctx, view, path);
    ASSERT_EQ(view.lblMatSize, "12");
    const ByteBuilder changed = threeRecordFile(0, 0, 416);  // now 13
    changed.writeTo(path);
    cmdRepairMats_Click(t.ctx, view);
    EXPECT_EQ(readBytes(path), changed.data());
    ASSERT_EQ(t.errors.reports.size(), 1u);
    EXPECT_NE(t.errors.reports[0].description.find("no longer gives the count shown (12)"), std::string::npos);
    // The window shows the file as it is now.
    EXPECT_EQ(view.lblMatSize, "13");
    EXPECT_TRUE(view.cmdRepairMatsEnabled);
}

// Damaged and foreign files: shown without a hang, every list bounded by the file, Repair off, file untouched.
TEST_F(PeoRepairTest, DamagedAndForeignFilesAreShownSafely) {
    const auto withFirst = [](Rec r, int32_t materialList = 0, int32_t count = 1) {
        ByteBuilder b = peoFile(1026, 0, 0, materialList, count, {r});
        for (int i = 0; i < 4; ++i) b.f32(float(i)).f32(1).f32(2).fill(4, 0xAB);
        return b;
    };
    ByteBuilder png;
    png.bytes({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}).i32(0x0D000000).str("IHDR");
    png.bytes({0, 0, 0, 1, 0, 0, 0, 1, 8, 6, 0, 0, 0, 0x1F, 0x15, 0xC4, 0x89}).fill(12).str("IEND").fill(4, 0xAE);
    const struct {
        const char* what;
        ByteBuilder file;
        size_t entries;
        size_t rows;
    } cases[] = {
        {"ten bytes", ByteBuilder().str("0123456789"), 0, 0},
        {"count 2^31 - 1", withFirst(Rec{}, 0, std::numeric_limits<int32_t>::max()), 1, 0},
        {"negative offsets",
         withFirst(Rec{.nameOffset = -5, .nVertNormals = 3, .normalList = -100, .polygonList = -32}, -64), 1, 0},
        {"past-the-end offsets",
         withFirst(Rec{.nameOffset = 1000000, .nVertNormals = 3, .normalList = 1000000000, .polygonList = 2000000000},
                   1000000000),
         1, 0},
        {"10^9 normals", withFirst(Rec{.nFaceNormals = 1000000000, .nVertNormals = 1000000000, .normalList = 180}), 1,
         4},
        {"largest normal offset", withFirst(Rec{.nVertNormals = 5, .normalList = std::numeric_limits<int32_t>::max()}),
         1, 0},
        {"a PNG file", png, 0, 0},
    };
    for (const auto& c : cases) {
        const std::string path = write(c.file);
        RepairView v;
        getPeoInfo(t.ctx, v, path);
        EXPECT_EQ(v.lstObjects.size(), c.entries) << c.what;
        EXPECT_FALSE(v.cmdRepairMatsEnabled) << c.what;
        if (!v.lstObjects.empty()) {
            lstObjects_Click(t.ctx, v, 0);
            EXPECT_EQ(v.ListView1.size(), c.rows) << c.what;
            lstObjects_Click(t.ctx, v, int(v.lstObjects.size()) - 1);
        }
        EXPECT_TRUE(t.errors.reports.empty()) << c.what;
        EXPECT_EQ(readBytes(path), c.file.data()) << c.what;
    }
    // The rows of a normal list that runs past the end: the first pass stops at the end, the second reads 0.
    RepairView v;
    getPeoInfo(t.ctx, v, write(withFirst(Rec{.nFaceNormals = 1, .nVertNormals = 3, .normalList = 180}), "cut.peo"));
    lstObjects_Click(t.ctx, v, 0);
    ASSERT_EQ(v.ListView1.size(), 3u);
    EXPECT_EQ(normalRowTexts(v, 2), (std::array<std::string, 7>{"2", "2", "1", "2", "0", "0", "0"}));
}

TEST_F(PeoRepairTest, ErrorContextsNameTheWindowAndTheArguments) {
    getPeoInfo(t.ctx, view, write(normalsFile(1026, 2)));
    EXPECT_EQ(t.ctx.err.errModule, "frmRepair");
    EXPECT_EQ(t.ctx.err.errProc, "getPeoInfo");
    const ZeroFilledBytes none(std::span<const uint8_t>{});
    dispVertNormals(t.ctx, view, none, 181, 2, 1);
    EXPECT_EQ(t.ctx.err.errProc, "dispVertNormals");
    EXPECT_EQ(t.ctx.err.errArgs, "181|2|1");
    lstObjects_Click(t.ctx, view, 0);
    EXPECT_EQ(t.ctx.err.errProc, "lstObjects_Click");
    EXPECT_EQ(t.ctx.err.errArgs, "");
}

// The main window's state that "&Load into TARV" changes, as the load road finds it.
struct HandOver {
    std::string lod, mex, mad, shp, lblKey, Dx_Label1, lblLodPath, currentModelPath;
    bool noShpLoaded, saveShpEnabled, visible;
    size_t lodFiles, thumbs;
    int selectedObject;
    friend bool operator==(const HandOver&, const HandOver&) = default;
};
HandOver handOverOf(EditingContext& ctx, const RepairView& view) {
    return {ctx.shp.lodFilePath,   ctx.shp.mexFilePath,
            ctx.shp.madFilePath,   ctx.shp.shpFilePath,
            ctx.objects.lblKey,    ctx.objects.Dx_Label1,
            ctx.lod.lblLodPath,    ctx.currentModelPath,
            ctx.shp.noShpLoaded,   ctx.shp.mnuFileSaveSHPEnabled,
            view.visible,          ctx.lod.lstLodFiles.size(),
            ctx.preview.ctlThumbs.items().size(), ctx.objects.selectedObject};
}

TEST_F(PeoRepairTest, LoadIntoTarvEmptiesTheShipDefinitionThenRunsTheLoadRoadThenHides) {
    std::vector<HandOver> atLoad;
    LoadRoadWatch road(t.ctx, [&](EditingContext& c) { atLoad.push_back(handOverOf(c, view)); });
    const auto previousShip = [&] {
        t.ctx.shp.lodFilePath = "a.lod", t.ctx.shp.mexFilePath = "a.mex", t.ctx.shp.madFilePath = "a.mad";
        t.ctx.shp.shpFilePath = "a.shp";
        t.ctx.shp.noShpLoaded = false;
        t.ctx.shp.mnuFileSaveSHPEnabled = true;
        t.ctx.lod.lstLodFiles = {LodEntry{"a_lod1.peo", "/x/a_lod1.peo"}};
        t.ctx.preview.ctlThumbs.Add("/x/hull.lif", true);
        t.ctx.objects.lblKey = "o1", t.ctx.objects.Dx_Label1 = "Hull", t.ctx.lod.lblLodPath = "/x/";
        t.ctx.objects.selectedObject = 1;
        t.ctx.currentModelPath = "/x/a.peo";
        view.visible = true;
    };
    previousShip();
    const HandOver untouched = handOverOf(t.ctx, view);
    mnuFileLoadIntoTARV_Click(t.ctx, view);  // no file read yet
    EXPECT_TRUE(atLoad.empty());
    EXPECT_EQ(handOverOf(t.ctx, view), untouched);

    const std::string path = write(normalsFile(1026, 2));
    getPeoInfo(t.ctx, view, path);
    mnuFileLoadIntoTARV_Click(t.ctx, view);
    ASSERT_EQ(atLoad.size(), 1u);
    EXPECT_EQ(atLoad[0], (HandOver{"", "", "", "", "", "", "", path, true, false, true, 0, 0, -1}));
    EXPECT_FALSE(view.visible);
    EXPECT_TRUE(t.errors.reports.empty());
}

TEST_F(PeoRepairTest, LoadIntoTarvAfterAShipDefinitionLoadsThePeoOnItsOwn) {
    samples::writeSampleShip(dir.path());
    t.ctx.prefs.logLevel = 0;
    t.ctx.prefs.alwaysShowBackup = false;
    InitialiseComponents(t.ctx);
    loadThisFile(t.ctx, (dir / samples::kSampleShpName).string());
    ASSERT_FALSE(t.ctx.shp.noShpLoaded);
    ASSERT_TRUE(t.ctx.shp.mnuFileSaveSHPEnabled);
    const std::string peo = (dir / samples::kSamplePeoName).string();
    getPeoInfo(t.ctx, view, peo);
    mnuFileLoadIntoTARV_Click(t.ctx, view);
    EXPECT_EQ(t.ctx.currentModelPath, peo);
    EXPECT_EQ(t.ctx.model.objectCount(), 4);
    EXPECT_TRUE(t.ctx.shp.noShpLoaded);
    EXPECT_FALSE(t.ctx.shp.mnuFileSaveSHPEnabled);
    EXPECT_TRUE(t.ctx.shp.shpFilePath.empty());
    EXPECT_TRUE(t.errors.reports.empty());
}

TEST_F(PeoRepairTest, OpenAsksForAPeoAndReadsTheChosenFile) {
    const std::string path = write(normalsFile(1026, 2));
    t.prompts.expectOpen(std::nullopt).expectOpen(FileDialogChoice{path, 2});
    mnuFileOpen_Click(t.ctx, view);
    EXPECT_TRUE(view.StatusBar1.empty());
    EXPECT_TRUE(view.lstObjects.empty());
    mnuFileOpen_Click(t.ctx, view);
    ASSERT_EQ(t.prompts.shown.size(), 2u);
    for (const ShownPrompt& shown : t.prompts.shown) {
        EXPECT_EQ(shown.request.filter, "All Files (*.*)|*.*|Homeworld PEO file (*.peo)|*.peo");
        EXPECT_EQ(shown.request.filterIndex, 2);
        EXPECT_TRUE(shown.request.hideReadOnly);
    }
    EXPECT_EQ(view.StatusBar1, path);
    EXPECT_EQ(view.lstObjects, (std::vector<std::string>{"1 @ 69"}));
}

// Whole ship files, ours and the real ones beside the project: every record listed, and each shown with the
// offsets, counts and name the import's reader finds; the header's material count agrees with the layout.
TEST_F(PeoRepairTest, ShipFilesShowTheirRecordsAsTheImportReadsThem) {
    samples::writeSampleShip(dir.path());
    std::vector<std::filesystem::path> files = {dir / samples::kSamplePeoName, dir / "Tarvlet_LOD1.peo"};
    if (const auto real = samplesFolder(); !real.empty())
        for (const auto& entry : std::filesystem::recursive_directory_iterator(real))
            if (entry.path().extension() == ".peo" || entry.path().extension() == ".PEO") files.push_back(entry.path());
    for (const auto& file : files) {
        const PeoObjectHeaderFile expected = readPeoObjectHeaders(BinaryReader::fromFile(file));
        const auto before = readBytes(file);
        RepairView v;
        getPeoInfo(t.ctx, v, file.string());
        ASSERT_EQ(v.lstObjects.size(), expected.records.size()) << file;
        EXPECT_FALSE(v.cmdRepairMatsEnabled) << file;
        for (size_t i = 0; i < expected.records.size(); ++i) {
            lstObjects_Click(t.ctx, v, int(i));
            const PeoObjectHeader& h = expected.records[i];
            EXPECT_EQ(v.Label5, h.name) << file << " " << i;
            EXPECT_EQ(v.txtObjNameOffset, std::to_string(h.nameOffset));
            EXPECT_EQ(v.txtObjInfo[1], std::to_string(h.polygonListOffset));
            EXPECT_EQ(v.txtObjInfo[5], std::to_string(h.nVertNormals));
            EXPECT_EQ(v.ListView1.size(), size_t(std::max(0, h.nVertNormals)));
        }
        EXPECT_EQ(readBytes(file), before) << file;
    }
    EXPECT_TRUE(t.errors.reports.empty());
}

TEST_F(PeoRepairTest, ExitOnlyHidesTheWindow) {
    getPeoInfo(t.ctx, view, write(normalsFile(1026, 2)));
    lstObjects_Click(t.ctx, view, 0);
    view.visible = true;
    const RepairView before = view;
    mnuFileExit_Click(view);
    EXPECT_FALSE(view.visible);
    EXPECT_EQ(view.lstObjects, before.lstObjects);
    EXPECT_EQ(view.Label5, before.Label5);
    EXPECT_EQ(view.ListView1.size(), before.ListView1.size());
}

}  // namespace
