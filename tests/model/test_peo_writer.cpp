#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <tuple>

#include "ByteBuilder.h"
#include "Fakes.h"
#include "PeoFixture.h"
#include "TempDir.h"
#include "base/AtomicFile.h"
#include "base/BinaryReader.h"
#include "model/PeoReader.h"
#include "model/PeoWriter.h"
#include "base/RunTimeError.h"
#include "editor/context/EditingContext.h"

using namespace tarv;
using tarv::test::ByteBuilder;
namespace fs = std::filesystem;

namespace {

enum class Variant { HomeworldWithVNs, HomeworldWithoutVNs, Cataclysm };

// One object "Root" with one triangle and one textured, two-sided material.
void fillWorkedModel(ShipModel& model) {
    PeoObject root;
    root.name = "Root";
    root.matrix = Matrix4::identity();
    root.vertices = {{0, 0, 0, 0, 0}, {1, 0, 0, 0, 0}, {0, 1, 0, 0, 0}};
    PeoPolygon p;
    p.v0 = 0;
    p.v1 = 1;
    p.v2 = 2;
    root.polygons = {p};
    root.nVertices = 3;
    root.nPolygons = 1;
    model.peoObjects = {root};
    PeoMaterial m;
    m.ambient = {10, 20, 30, 0};
    m.diffuse = {40, 50, 60, 0};
    m.specular = {70, 80, 90, 0};
    m.kAlpha = 1.0f;
    m.texture = 0;
    m.twoSided = true;
    model.materials = {m};
    model.textures = {PeoTexture{"hull", false}};
    model.publicMaterialCount = 1;
    model.localMaterialCount = 0;
}

void identityMatrix(ByteBuilder& b) {
    for (int k = 0; k < 16; ++k) b.f32(k % 5 == 0 ? 1.0f : 0.0f);
}

void normal(ByteBuilder& b, float x, float y, float z) { b.f32(x).f32(y).f32(z).fill(4, 0xAB); }

// The worked fixture, byte by byte, with the offsets of its regions written out: materials M, polygons P,
// vertices V, the Cataclysm region C, normals N and the names block B (the texture name at T).
std::vector<uint8_t> expectedWorkedFile(Variant v) {
    const bool cat = v == Variant::Cataclysm, vns = v != Variant::HomeworldWithoutVNs;
    const int32_t M = cat ? 184 : 180, P = cat ? 216 : 212, V = cat ? 256 : 252;
    const int32_t C = 304, N = cat ? 352 : 300;
    const int32_t B = cat ? 416 : vns ? 364 : 316, T = B + 5;
    const int32_t length = cat ? 426 : vns ? 374 : 326;
    ByteBuilder b;
    // header
    b.str("RMF99ba")
        .u8(0)
        .i32(cat ? 0x500 : 0x402)
        .i32(0)
        .i32(length - 68)
        .i32(0)
        .i32(1)
        .i32(0)
        .i32(M)
        .i32(M)
        .i32(1)
        .fill(24, 0xAB);
    // object record
    b.i32(B).i32(0).i32(3).i32(1).i32(vns ? 3 : 0).i32(1).i32(V);
    if (cat) b.i32(C);
    b.i32(N).i32(P).i32(0).i32(0).i32(0);
    identityMatrix(b);
    EXPECT_EQ(b.size(), size_t(M));
    // material entry
    b.i32(0)
        .bytes({10, 20, 30, 0, 40, 50, 60, 0, 70, 80, 90, 0})
        .f32(1.0f)
        .i32(T)
        .i16(8)
        .i16(0)
        .u16(0xABAB)
        .u16(0xABAB);
    EXPECT_EQ(b.size(), size_t(P));
    // polygon
    b.i32(0).i16(0).i16(1).i16(2).i16(0).fill(24, 0).i16(0).i16(0);
    EXPECT_EQ(b.size(), size_t(V));
    // vertices with their normal indices
    const int32_t n0 = vns ? 1 : 0;
    b.f32(0).f32(0).f32(0).i32(n0).f32(1).f32(0).f32(0).i32(vns ? 2 : 0).f32(0).f32(1).f32(0).i32(vns ? 3 : 0);
    if (cat) b.fill(48, 0);
    EXPECT_EQ(b.size(), size_t(N));
    normal(b, 0, 0, 1);
    if (vns)
        for (int k = 0; k < 3; ++k) normal(b, 0, 0, 1);
    EXPECT_EQ(b.size(), size_t(B));
    b.zstr("Root").zstr("hull");
    EXPECT_EQ(b.size(), size_t(length));
    return b.data();
}

int32_t i32At(const std::vector<uint8_t>& bytes, size_t at) {
    int32_t v;
    std::memcpy(&v, bytes.data() + at, 4);
    return v;
}
std::string textAt(const std::vector<uint8_t>& bytes, size_t at) {
    return std::string(reinterpret_cast<const char*>(bytes.data() + at));
}

// Field offsets inside a record, as laid out by the games' files.
struct RecordFields {
    size_t size, vertexCount = 8, faceNormals = 12, vertNormals = 16, polygons = 20, vertexList = 24;
    size_t cVertexNormals, normalList, polygonList, mother, daughter, sister;
    explicit RecordFields(bool cat)
        : size(cat ? 116 : 112),
          cVertexNormals(28),
          normalList(cat ? 32 : 28),
          polygonList(cat ? 36 : 32),
          mother(cat ? 40 : 36),
          daughter(cat ? 44 : 40),
          sister(cat ? 48 : 44) {}
    size_t at(size_t record, size_t field) const { return 68 + (record - 1) * size + field; }
};

PeoObject triangleObject(const std::string& name, float shift = 0) {
    PeoObject o;
    o.name = name;
    o.matrix = Matrix4::identity();
    o.vertices = {{shift, 0, 0, 0, 0}, {shift + 1, 0, 0, 0, 0}, {shift, 1, 0, 0, 0}};
    PeoPolygon p;
    p.v0 = 0;
    p.v1 = 1;
    p.v2 = 2;
    o.polygons = {p};
    return o;
}

struct WriterFixture : ::testing::Test {
    test::TempDir dir;     // the ship's folder
    test::TempDir logDir;  // the data folder, where the log without a loaded model goes
    test::TestContext t{logDir.path()};
    ShipModel& model = t.ctx.model;

    std::vector<uint8_t> save(bool cataclysm, const std::string& name = "ship.peo") {
        writePeoFile(t.ctx, (dir / name).string(), cataclysm);
        return test::readBytes(dir / name);
    }
    size_t countInLog(const std::string& line) const {
        size_t n = 0;
        for (size_t at = t.status.logBox.find(line); at != std::string::npos; at = t.status.logBox.find(line, at + 1))
            ++n;
        return n;
    }
    // The folder holds exactly these files (no temporary file left behind).
    std::vector<std::string> filesInFolder() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir.path())) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

}  // namespace

TEST_F(WriterFixture, TheWorkedFixtureMatchesByteForByteInAllThreeVariants) {
    struct Case {
        Variant v;
        bool cataclysm;
        bool vns;
    };
    for (Case c : {Case{Variant::HomeworldWithVNs, false, true}, Case{Variant::HomeworldWithoutVNs, false, false},
                   Case{Variant::Cataclysm, true, false}}) {
        fillWorkedModel(model);
        t.ctx.live.chkVNs = c.vns;
        const std::vector<uint8_t> written = save(c.cataclysm);
        const std::vector<uint8_t> expected = expectedWorkedFile(c.v);
        ASSERT_EQ(written.size(), expected.size()) << int(c.v);
        for (size_t k = 0; k < expected.size(); ++k)
            ASSERT_EQ(written[k], expected[k]) << "variant " << int(c.v) << " byte " << k;
        const PeoObject& root = model.peoObjects[0];
        EXPECT_EQ(root.faceNormals, (std::vector<PeoNormal>{{0, 0, 1}}));
        EXPECT_EQ(root.nVertNormals, c.v == Variant::HomeworldWithoutVNs ? 0 : 3);
        EXPECT_EQ(root.polygonListOffset, c.cataclysm ? 216 : 212);
        EXPECT_EQ(root.vertexListOffset, c.cataclysm ? 256 : 252);
        EXPECT_EQ(root.normalListOffset, c.cataclysm ? 352 : 300);
        EXPECT_EQ(filesInFolder(), std::vector<std::string>{"ship.peo"});
    }
}

TEST_F(WriterFixture, LogsEachStepInOrder) {
    fillWorkedModel(model);
    save(true);
    const std::vector<std::string> lines = {
        "Saving Homeworld:Cataclysm format PEO,\r\n",
        "  containing ONE object\r\n",
        "   ( one active object found ),\r\n",
        "    and 1 materials.\r\n",
        "\r\nWriting object list at offset 69,\r\n",
        " Object Root is\r\n",
        "  not a shared object,\r\n",
        "  Polygon offset at 216,\r\n",
        "  Vertex offset at 256,\r\n",
        "  Vertex normal offset at 304 / 3, and\r\n",
        "  Face normal offset at 352 / 1.\r\n",
        "\r\nWriting material list @ 185\r\n",
        "  material hull\r\n",
        "\r\nWriting poly list: 217\r\n",
        "  Root has 1 polys\r\n",
        "\r\nWriting vertex list @ 257\r\n",
        "  Root has 3 vertices\r\n",
        "\r\nWriting vertex normals list @ 305\r\n",
        "  Root has 3 vert normals\r\n",
        "\r\nWriting normals list: \r\n",
        "  Root: 1 faceNs @ 353\r\n",
        "  Root: 3 vertexNs @ 369\r\n",
        "\r\nWriting names block @ 417\r\n",
        "\r\n Block sizes are: \r\n",
        "  - for objects: 5\r\n",
        "  - for textures: 5\r\n",
        "\r\nWriting header: \r\n",
        "  file size is 358 bytes\r\n",
        "   ( 'local size' is 0 ).\r\n",
        std::string(30, '-') + "\r\n",
    };
    size_t at = 0;
    for (const std::string& line : lines) {
        size_t found = t.status.logBox.find(line, at);
        ASSERT_NE(found, std::string::npos) << "missing or out of order: " << line << "\nlog:\n" << t.status.logBox;
        at = found + line.size();
    }
    EXPECT_EQ(t.status.statusHistory.front(), "Recalculating face normals...");

    fillWorkedModel(model);
    t.status.logBox.clear();
    save(false);
    for (const char* line :
         {"Saving Homeworld format PEO,", "  Vertex offset at 252, and", "  Face normal offset at 300 / 1 / 3."})
        EXPECT_EQ(countInLog(line), 1u) << line;
}

TEST_F(WriterFixture, TextureNamesSkipTheNoTextureNames) {
    fillWorkedModel(model);
    model.textures = {PeoTexture{"abcd", false}, PeoTexture{"RMF97ba", false}, PeoTexture{"abcdef", false}};
    model.materials.resize(3, model.materials[0]);
    for (int16_t k = 0; k < 3; ++k) model.materials[size_t(k)].texture = k;
    t.ctx.live.chkVNs = false;
    const std::vector<uint8_t> file = save(false);
    const size_t M = 180, B = size_t(i32At(file, 68)), T = B + 5;  // "Root" and its zero byte
    EXPECT_EQ(i32At(file, M + 20), int32_t(T));
    EXPECT_EQ(i32At(file, M + 32 + 20), 0);
    EXPECT_EQ(i32At(file, M + 64 + 20), int32_t(T + 5));
    const std::string block(file.begin() + long(T), file.end());
    EXPECT_EQ(block, std::string("abcd\0abcdef\0", 12));
    EXPECT_EQ(countInLog("Some faces are not textured."), 1u);
    EXPECT_EQ(countInLog("  - for textures: 12"), 1u);

    fillWorkedModel(model);
    model.textures = {PeoTexture{"RMF99ba", false}};
    t.status.logBox.clear();
    const std::vector<uint8_t> plain = save(false);
    EXPECT_EQ(i32At(plain, 180 + 20), 0);
    EXPECT_EQ(textAt(plain, plain.size() - 5), "Root");
    EXPECT_EQ(countInLog("  - zero (no textures names present)."), 1u);
}

TEST_F(WriterFixture, DeletedSlotsAreSkippedAndLinksNameTheWrittenRecords) {
    // In memory the links count slots: mother = parent index + 1. Slot 1 is deleted.
    model.peoObjects = {triangleObject("Hull"), triangleObject("**DELETED**"), triangleObject("Gun", 2),
                        triangleObject("Barrel", 4)};
    auto& o = model.peoObjects;
    o[0].daughter = 3;  // Gun
    o[2].mother = 1;    // Hull
    o[2].daughter = 4;  // Barrel
    o[2].sister = 2;    // the deleted slot: written as 0
    o[3].mother = 3;    // Gun
    o[3].sister = 99;   // outside the objects: written as 0
    const std::vector<uint8_t> file = save(true);
    const RecordFields r(true);
    EXPECT_EQ(i32At(file, 40), 3) << "object count";
    EXPECT_EQ(i32At(file, 32), 68 + 3 * 116) << "material list";
    EXPECT_EQ(i32At(file, r.at(1, r.daughter)), 68 + 116) << "Hull's daughter is record 2";
    EXPECT_EQ(i32At(file, r.at(2, r.mother)), 68);
    EXPECT_EQ(i32At(file, r.at(2, r.daughter)), 68 + 2 * 116) << "Gun's daughter is record 3";
    EXPECT_EQ(i32At(file, r.at(2, r.sister)), 0);
    EXPECT_EQ(i32At(file, r.at(3, r.mother)), 68 + 116);
    EXPECT_EQ(i32At(file, r.at(3, r.sister)), 0);
    for (size_t k = 1; k <= 3; ++k) {
        const std::string expectedName = k == 1 ? "Hull" : k == 2 ? "Gun" : "Barrel";
        EXPECT_EQ(textAt(file, size_t(i32At(file, r.at(k, 0)))), expectedName);
    }
    EXPECT_EQ(countInLog("**DELETED**"), 0u);
    EXPECT_EQ(countInLog("The sister link 2 of Gun names no saved object; it is written as 0."), 1u);
    EXPECT_EQ(countInLog("The sister link 99 of Barrel names no saved object; it is written as 0."), 1u);
    // The in-memory links are as before.
    EXPECT_EQ(o[0].daughter, 3);
    EXPECT_EQ(o[2].mother, 1);
    EXPECT_EQ(o[2].sister, 2);
    EXPECT_EQ(o[3].mother, 3);

    // The plain case of three objects, the second deleted, saved as Cataclysm.
    model.peoObjects = {triangleObject("First"), triangleObject("**DELETED**"), triangleObject("Third")};
    const std::vector<uint8_t> three = save(true);
    EXPECT_EQ(i32At(three, 40), 2);
    EXPECT_EQ(i32At(three, 32), 300);
    const size_t names = size_t(i32At(three, 68));
    EXPECT_EQ(std::string(three.begin() + long(names), three.end()), std::string("First\0Third\0", 12));
}

TEST_F(WriterFixture, AShipFileSaveFoldsTheMaterialCountsAndKeepsThem) {
    fillWorkedModel(model);
    model.publicMaterialCount = 0;
    model.localMaterialCount = 12;
    t.ctx.live.chkSHIPfilePEO = true;
    const std::vector<uint8_t> file = save(false);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 8), std::string("Vantu's\0", 8));
    EXPECT_EQ(i32At(file, 24), 12);
    EXPECT_EQ(i32At(file, 28), 0);
    EXPECT_EQ(model.publicMaterialCount, 12);
    EXPECT_EQ(model.localMaterialCount, 0);
    // Without the switch the counts are written as held, whatever the material list holds.
    t.ctx.live.chkSHIPfilePEO = false;
    model.publicMaterialCount = 5;
    model.localMaterialCount = 7;
    const std::vector<uint8_t> plain = save(false);
    EXPECT_EQ(std::string(plain.begin(), plain.begin() + 8), std::string("RMF99ba\0", 8));
    EXPECT_EQ(i32At(plain, 24), 5);
    EXPECT_EQ(i32At(plain, 28), 7);
}

TEST_F(WriterFixture, TwoOwnersInCataclysmAdvanceTheRunningOffsets) {
    PeoObject second = triangleObject("B", 3);
    second.vertices.push_back({9, 9, 9, 0, 0});
    model.peoObjects = {triangleObject("A"), second};
    const std::vector<uint8_t> file = save(true);
    const RecordFields r(true);
    const int32_t P = 68 + 2 * 116, V = P + 2 * 40, C = V + 7 * 16, N = C + 7 * 16;
    EXPECT_EQ(i32At(file, r.at(2, r.polygonList)), P + 40);
    EXPECT_EQ(i32At(file, r.at(2, r.vertexList)), V + 3 * 16);
    EXPECT_EQ(i32At(file, r.at(2, r.cVertexNormals)), C + 3 * 16);
    EXPECT_EQ(i32At(file, r.at(2, r.normalList)), N + (1 + 3) * 16);
    EXPECT_EQ(i32At(file, r.at(2, r.vertNormals)), 4);
    EXPECT_EQ(file.size(), size_t(N + (1 + 3 + 1 + 4) * 16 + 4));  // "A", "B" and their zero bytes
}

TEST_F(WriterFixture, ConsistentSharersPointAtTheirMastersLists) {
    // C shares B, which shares A: both point at A's lists and add nothing to the regions.
    model.peoObjects = {triangleObject("A"), triangleObject("B"), triangleObject("C")};
    model.peoObjects[1].sharedWith = 0;
    model.peoObjects[2].sharedWith = 1;
    model.peoObjects[2].flags = 7;
    const std::vector<uint8_t> file = save(false);
    const RecordFields r(false);
    for (size_t k : {2u, 3u})
        for (size_t field : {r.vertexList, r.normalList, r.polygonList, r.vertexCount, r.faceNormals, r.polygons})
            EXPECT_EQ(i32At(file, r.at(k, field)), i32At(file, r.at(1, field))) << k << " " << field;
    EXPECT_EQ(i32At(file, r.at(3, 4)), 7) << "its own flags";
    const int32_t P = 68 + 3 * 112;
    EXPECT_EQ(file.size(), size_t(P + 40 + 3 * 16 + 4 * 16 + 6));  // one set of lists; "A", "B", "C"
    EXPECT_EQ(model.peoObjects[2].vertexListOffset, model.peoObjects[0].vertexListOffset);
    EXPECT_EQ(countInLog(" Object C has"), 1u);
    EXPECT_EQ(countInLog("  shared object 1"), 1u);
}

TEST_F(WriterFixture, UnsafeSharersAreWrittenWithTheirOwnLists) {
    struct Case {
        const char* what;
        std::function<void(std::vector<PeoObject>&)> setUp;
    };
    const Case cases[] = {
        {"master deleted", [](auto& o) { o[0].name = "**DELETED**"; }},
        {"more vertices than the master's lists",
         [](auto& o) {
             o[1].vertices.push_back({5, 5, 5, 0, 0});
         }},
        {"more polygons than the master's lists", [](auto& o) { o[1].polygons.push_back(o[1].polygons[0]); }},
        {"a different number of face normals",
         [](auto& o) {
             o[1].polygons.push_back(o[1].polygons[0]);
             std::swap(o[1].polygons[1].v1, o[1].polygons[1].v2);
             o[0].polygons.push_back(o[0].polygons[0]);
         }},
        {"sharedWith not lower", [](auto& o) { o[1].sharedWith = 1; }},
        {"sharedWith outside the objects", [](auto& o) { o[1].sharedWith = 40; }},
    };
    const RecordFields r(false);
    for (const Case& c : cases) {
        model.peoObjects = {triangleObject("A"), triangleObject("B", 1)};
        model.peoObjects[1].sharedWith = 0;
        c.setUp(model.peoObjects);
        t.status.logBox.clear();
        const std::vector<uint8_t> file = save(false);
        const size_t b = model.peoObjects[0].isDeleted() ? 1 : 2;  // B's record number
        const PeoObject& B = model.peoObjects[1];
        EXPECT_EQ(i32At(file, r.at(b, r.vertexCount)), int32_t(B.vertices.size())) << c.what;
        if (b == 2) {
            EXPECT_NE(i32At(file, r.at(2, r.vertexList)), i32At(file, r.at(1, r.vertexList))) << c.what;
        }
        // B's own lists are in the file at its offsets.
        const size_t v = size_t(i32At(file, r.at(b, r.vertexList)));
        for (size_t k = 0; k < B.vertices.size(); ++k) {
            float x;
            std::memcpy(&x, file.data() + v + 16 * k, 4);
            EXPECT_EQ(x, B.vertices[k].x) << c.what;
        }
        EXPECT_EQ(countInLog(" Object B is"), 1u) << c.what;
        EXPECT_EQ(B.sharedWith, c.what == std::string("sharedWith not lower")             ? 1
                                : c.what == std::string("sharedWith outside the objects") ? 40
                                                                                          : 0)
            << "the model keeps its sharing";
    }
    // A chain through a sharer written with its own lists: C follows B's lists, not A's.
    model.peoObjects = {triangleObject("A"), triangleObject("B", 1), triangleObject("C", 2)};
    model.peoObjects[1].vertices.push_back({5, 5, 5, 0, 0});
    model.peoObjects[2].vertices.push_back({6, 6, 6, 0, 0});
    model.peoObjects[1].sharedWith = 0;
    model.peoObjects[2].sharedWith = 1;
    const std::vector<uint8_t> file = save(false);
    EXPECT_EQ(i32At(file, r.at(3, r.vertexList)), i32At(file, r.at(2, r.vertexList)));
    EXPECT_NE(i32At(file, r.at(2, r.vertexList)), i32At(file, r.at(1, r.vertexList)));
}

TEST_F(WriterFixture, LimitsAreCheckedBeforeAnyFileIsTouched) {
    struct Case {
        const char* what;
        bool cataclysm;
        std::function<void(ShipModel&, LiveSwitches&)> setUp;
        bool fits;
    };
    auto objects = [](int n) {
        return [n](ShipModel& m, LiveSwitches&) {
            m.peoObjects.clear();
            for (int k = 0; k < n; ++k) m.peoObjects.push_back(triangleObject("o" + std::to_string(k)));
            m.peoObjects.push_back(triangleObject("**DELETED**"));  // deleted slots do not count
        };
    };
    auto materials = [](int n) {
        return [n](ShipModel& m, LiveSwitches&) { m.materials.resize(size_t(n), m.materials[0]); };
    };
    auto corner = [](int32_t v) { return [v](ShipModel& m, LiveSwitches&) { m.peoObjects[0].polygons[0].v2 = v; }; };
    auto fold = [](int16_t pub, int16_t local) {
        return [pub, local](ShipModel& m, LiveSwitches& live) {
            live.chkSHIPfilePEO = true;
            m.publicMaterialCount = pub;
            m.localMaterialCount = local;
        };
    };
    auto cornersAtOneVertex = [](int n) {
        return [n](ShipModel& m, LiveSwitches&) {
            m.peoObjects[0].polygons.resize(size_t(n), m.peoObjects[0].polygons[0]);
        };
    };
    const Case cases[] = {
        {"281 objects, Cataclysm", true, objects(281), true},
        {"282 objects, Cataclysm", true, objects(282), false},
        {"291 objects, Homeworld", false, objects(291), true},
        {"292 objects, Homeworld", false, objects(292), false},
        {"1023 materials", false, materials(1023), true},
        {"1024 materials", false, materials(1024), false},
        {"corner 32767", false, corner(32767), true},
        {"corner 32768", false, corner(32768), false},
        {"corner -32769", false, corner(-32769), false},
        {"fold to 32767", false, fold(20000, 12767), true},
        {"fold to 32768", false, fold(20000, 12768), false},
        {"32767 corners at one vertex", true, cornersAtOneVertex(32767), true},
        {"32768 corners at one vertex", true, cornersAtOneVertex(32768), false},
    };
    const std::vector<uint8_t> old = {1, 2, 3, 4, 5};
    for (const Case& c : cases) {
        t.ctx.live = LiveSwitches{};
        fillWorkedModel(model);
        c.setUp(model, t.ctx.live);
        const int16_t publicBefore = model.publicMaterialCount;
        test::writeBytes(dir / "ship.peo", old);
        try {
            writePeoFile(t.ctx, (dir / "ship.peo").string(), c.cataclysm);
            EXPECT_TRUE(c.fits) << c.what;
            EXPECT_NE(test::readBytes(dir / "ship.peo"), old) << c.what;
        } catch (const RunTimeError& e) {
            EXPECT_FALSE(c.fits) << c.what;
            EXPECT_EQ(e.number(), 6) << c.what;
            EXPECT_EQ(e.description(), "Overflow") << c.what;
            EXPECT_EQ(test::readBytes(dir / "ship.peo"), old) << c.what;
            EXPECT_EQ(model.publicMaterialCount, publicBefore) << c.what << ": nothing folded";
        }
        EXPECT_EQ(filesInFolder(), std::vector<std::string>{"ship.peo"}) << c.what;
    }
}

TEST_F(WriterFixture, EachRefusalNamesItsLimit) {
    struct Case {
        const char* what;
        bool cataclysm;
        std::function<void(ShipModel&, LiveSwitches&)> setUp;
        std::string detail;
    };
    auto objects = [](int n) {
        return [n](ShipModel& m, LiveSwitches&) {
            m.peoObjects.clear();
            for (int k = 0; k < n; ++k) m.peoObjects.push_back(triangleObject("o" + std::to_string(k)));
        };
    };
    const Case cases[] = {
        {"292 objects, Homeworld", false, objects(292),
         "the active object count 292 does not fit (at most 291 in a Homeworld .peo file, whose material list "
         "offset 68 + 112 x count must stay within 32767)"},
        {"282 objects, Cataclysm", true, objects(282),
         "the active object count 282 does not fit (at most 281 in a Cataclysm .peo file, whose material list "
         "offset 68 + 116 x count must stay within 32767)"},
        {"1024 materials", false, [](ShipModel& m, LiveSwitches&) { m.materials.resize(1024, m.materials[0]); },
         "the material count 1024 does not fit (at most 1023: the material list's length, 32 bytes per material, "
         "must stay within 32767)"},
        {"fold to 32768", false,
         [](ShipModel& m, LiveSwitches& live) {
             live.chkSHIPfilePEO = true;
             m.publicMaterialCount = 20000;
             m.localMaterialCount = 12768;
         },
         "the SHIP-file PEO material count (public + local) 32768 does not fit (at most 32767)"},
        {"corner 32768", false, [](ShipModel& m, LiveSwitches&) { m.peoObjects[0].polygons[0].v1 = 32768; },
         "the corner index 32768 of polygon 0 of object Root does not fit the polygon entry's 16-bit field "
         "(-32768 to 32767)"},
        {"material -32769", true,
         [](ShipModel& m, LiveSwitches&) {
             m.peoObjects.push_back(triangleObject("Second"));
             m.peoObjects[1].polygons.push_back(m.peoObjects[1].polygons[0]);
             m.peoObjects[1].polygons[1].material = -32769;
         },
         "the material index -32769 of polygon 1 of object Second does not fit the polygon entry's 16-bit field "
         "(-32768 to 32767)"},
    };
    for (const Case& c : cases) {
        t.ctx.live = LiveSwitches{};
        fillWorkedModel(model);
        c.setUp(model, t.ctx.live);
        try {
            save(c.cataclysm);
            ADD_FAILURE() << c.what << ": saved";
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), 6) << c.what;
            EXPECT_EQ(e.description(), "Overflow") << c.what;
            EXPECT_EQ(e.detail(), c.detail) << c.what;
        }
        EXPECT_TRUE(filesInFolder().empty()) << c.what;
    }
}

namespace {

// A flat object of n x n quads (2 n^2 polygons), its corners numbered row by row.
PeoObject gridObject(const std::string& name, int n) {
    PeoObject o;
    o.name = name;
    o.matrix = Matrix4::identity();
    for (int i = 0; i <= n; ++i)
        for (int j = 0; j <= n; ++j) o.vertices.push_back({float(i), float(j), 0, 0, 0});
    const auto at = [n](int i, int j) { return int32_t(i * (n + 1) + j); };
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            o.polygons.push_back(newPolygon(at(i, j), at(i + 1, j), at(i + 1, j + 1), 0));
            o.polygons.push_back(newPolygon(at(i, j), at(i + 1, j + 1), at(i, j + 1), 0));
        }
    return o;
}

}  // namespace

// 300 objects of 968 polygons are refused for the object count alone: the same objects, 291 of them, make a
// file of some 11 MB whose 32-bit offsets read back.
TEST_F(WriterFixture, AShipOfThreeHundredObjectsIsRefusedForItsObjectCountAlone) {
    fillWorkedModel(model);
    const PeoObject part = gridObject("part", 22);
    ASSERT_EQ(part.polygons.size(), 968u);
    model.peoObjects.assign(300, part);
    for (size_t k = 0; k < 300; ++k) model.peoObjects[k].name = "part" + std::to_string(k);
    for (bool cataclysm : {false, true}) {
        try {
            save(cataclysm);
            ADD_FAILURE() << "300 objects saved";
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.detail().rfind("the active object count 300 does not fit (at most ", 0), 0u) << e.detail();
        }
        EXPECT_TRUE(filesInFolder().empty());
    }

    model.peoObjects.resize(291);
    const std::vector<uint8_t> file = save(false);
    const RecordFields r(false);
    const int32_t M = 68 + 291 * 112, P = M + 32, V = P + 291 * 968 * 40;
    EXPECT_EQ(i32At(file, 40), 291);
    EXPECT_EQ(i32At(file, 32), M);
    EXPECT_EQ(i32At(file, 36), M);
    EXPECT_EQ(i32At(file, r.at(1, r.polygonList)), P);
    EXPECT_EQ(i32At(file, r.at(291, r.polygonList)), P + 290 * 968 * 40);
    EXPECT_EQ(i32At(file, r.at(291, r.vertexList)), V + 290 * 529 * 16);
    EXPECT_EQ(i32At(file, 16), int32_t(file.size()) - 68);

    const PeoFileContents contents = parsePeoFile(BinaryReader::fromFile((dir / "ship.peo").string()));
    ASSERT_EQ(contents.objects.size(), 291u);
    const PeoObjectContents& last = contents.objects.back();
    EXPECT_EQ(last.name, "part290");
    ASSERT_TRUE(last.polygons && last.vertices);
    ASSERT_EQ(last.polygons->size(), 968u);
    ASSERT_EQ(last.vertices->size(), 529u);
    EXPECT_EQ((*last.polygons)[967].v0, part.polygons[967].v0);
    EXPECT_EQ((*last.polygons)[967].v2, part.polygons[967].v2);
    EXPECT_EQ((*last.vertices)[528].x, 22.0f);
}

TEST_F(WriterFixture, AFailedWriteLeavesTheOldFileAsItWas) {
    fillWorkedModel(model);
    const std::vector<uint8_t> old = {9, 8, 7};
    test::writeBytes(dir / "ship.peo", old);
    failNextAtomicWriteForTesting();
    EXPECT_THROW(writePeoFile(t.ctx, (dir / "ship.peo").string(), true), RunTimeError);
    EXPECT_EQ(test::readBytes(dir / "ship.peo"), old);
    EXPECT_EQ(filesInFolder(), std::vector<std::string>{"ship.peo"});

    // A folder that cannot be written to.
    const fs::path locked = dir / "locked";
    fs::create_directory(locked);
    test::writeBytes(locked / "ship.peo", old);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    {
        std::FILE* probe = std::fopen((locked / "probe").c_str(), "w");
        if (probe) {  // running with privileges that ignore the folder's permissions
            std::fclose(probe);
            fs::remove(locked / "probe");
        } else {
            EXPECT_THROW(writePeoFile(t.ctx, (locked / "ship.peo").string(), true), RunTimeError);
            EXPECT_EQ(test::readBytes(locked / "ship.peo"), old);
        }
    }
    fs::permissions(locked, fs::perms::owner_all);
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(locked)) left.push_back(e.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"ship.peo"});

    // A target whose folder is a file.
    EXPECT_THROW(writePeoFile(t.ctx, (dir / "ship.peo" / "x.peo").string(), true), RunTimeError);
    EXPECT_EQ(test::readBytes(dir / "ship.peo"), old);
}

TEST_F(WriterFixture, WritingTwiceGivesTheSameBytes) {
    fillWorkedModel(model);
    model.peoObjects.push_back(triangleObject("Second", 2));
    model.peoObjects[1].mother = 1;
    model.peoObjects[0].daughter = 2;
    for (bool cataclysm : {false, true}) {
        const std::vector<uint8_t> first = save(cataclysm);
        EXPECT_EQ(save(cataclysm), first);
    }
}

// Round trips through the reader.
namespace {

using namespace tarv::test;

// What a save must keep of a model (face-normal indices and normal lists aside: they are recomputed).
struct Kept {
    std::vector<std::string> names;
    std::vector<std::array<int32_t, 4>> linksAndFlags;
    std::vector<Matrix4> matrices;
    std::vector<std::vector<std::array<float, 3>>> vertices;
    std::vector<std::vector<PeoPolygon>> polygons;
    std::vector<std::tuple<ColourBytes, ColourBytes, ColourBytes, float, std::string, int16_t, int16_t>> materials;
    friend bool operator==(const Kept&, const Kept&) = default;
};

Kept kept(const ShipModel& m) {
    Kept k;
    for (const PeoObject& o : m.peoObjects) {
        k.names.push_back(o.name);
        k.linksAndFlags.push_back({o.mother, o.daughter, o.sister, o.flags});
        k.matrices.push_back(o.matrix);
        std::vector<std::array<float, 3>> v;
        for (const PeoVertex& x : o.vertices) v.push_back({x.x, x.y, x.z});
        k.vertices.push_back(v);
        std::vector<PeoPolygon> p = o.polygons;
        for (PeoPolygon& x : p) x.faceNormal = 0;
        k.polygons.push_back(p);
    }
    for (const PeoMaterial& x : m.materials) {
        const std::string texture =
            x.texture >= 0 && size_t(x.texture) < m.textures.size() ? m.textures[size_t(x.texture)].name : "?";
        k.materials.emplace_back(
            x.ambient, x.diffuse, x.specular, x.kAlpha, texture,
            int16_t((x.smoothing ? 2 : 0) | (x.flatShaded ? 4 : 0) | (x.twoSided ? 8 : 0) | (x.baseColour ? 16 : 0) |
                    (x.stripeColour ? 32 : 0) | (x.selfIlluminated ? 64 : 0)),
            x.fullAmbient);
    }
    return k;
}

FxMaterial material(uint8_t shade, const std::string& texture, int16_t flags) {
    FxMaterial m;
    m.ambient = {shade, uint8_t(shade + 1), uint8_t(shade + 2), 0};
    m.diffuse = {uint8_t(shade + 3), uint8_t(shade + 4), uint8_t(shade + 5), 0};
    m.specular = {uint8_t(shade + 6), uint8_t(shade + 7), uint8_t(shade + 8), 0};
    m.kAlpha = 0.5f;
    m.texture = texture;
    m.flags = flags;
    m.fullAmbient = 3;
    return m;
}

// Reader fixtures of both variants: links, matrices, flags, several materials, a local list, shared
// lists and regions in an unusual order.
std::vector<std::pair<std::string, FxFile>> fixtures() {
    std::vector<std::pair<std::string, FxFile>> out;
    for (int32_t version : {0x402, 0x500}) {
        const bool cat = version == 0x500;
        const int R = cat ? 116 : 112;
        FxFile f;
        f.version = version;
        f.publicMaterials = {material(10, "hull", 8), material(20, "", 2 | 64), material(30, "engine", 4 | 16 | 32)};
        FxObject root = squareObject("Root"), gun = squareObject("Gun", 2, 3), barrel = squareObject("Barrel", 5);
        root.flags = 1;
        root.daughter = 68 + R;
        gun.mother = 68;
        gun.sister = 68 + 2 * R;
        gun.flags = 6;
        barrel.mother = 68;
        gun.fileMatrix = {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 5, 6, 7, 1};
        barrel.polygons[1].material = 2;
        barrel.polygons[0].flags = 3;
        barrel.polygons[0].reserved = -2;
        barrel.polygons[0].st = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f};
        f.objects = {root, gun, barrel};
        out.emplace_back(cat ? "Cataclysm" : "Homeworld", f);

        FxFile shared = f;
        shared.objects.push_back(squareObject("Copy"));
        shared.objects.back().listsOf = 0;
        shared.scrambled = true;
        out.emplace_back(cat ? "Cataclysm shared, scrambled" : "Homeworld shared, scrambled", shared);

        FxFile local;
        local.version = version;
        local.localMaterials = {material(40, "deck", 8)};
        local.objects = {squareObject("Only")};
        out.emplace_back(cat ? "Cataclysm local materials" : "Homeworld local materials", local);
    }
    return out;
}

struct RoundTrip : ::testing::Test {
    TempDir dir;
    TempDir logDir;
    TestContext t{logDir.path()};
    RoundTrip() { t.ctx.prefs.objectSharing = false; }
};

}  // namespace

TEST_F(RoundTrip, ReadWriteReadKeepsTheModel) {
    for (auto& [what, fixture] : fixtures()) {
        for (bool vns : {true, false}) {
            const bool cat = fixture.version == 0x500;
            if (cat && !vns) continue;
            const auto in = dir / "in.peo";
            writeBytes(in, buildPeo(fixture).data());
            readPeoFile(t.ctx, in.string());
            ASSERT_EQ(t.ctx.model.objectCount(), int(fixture.objects.size())) << what;
            const Kept before = kept(t.ctx.model);
            t.ctx.live.chkVNs = vns;
            writePeoFile(t.ctx, (dir / "out.peo").string(), cat);
            readPeoFile(t.ctx, (dir / "out.peo").string());
            EXPECT_EQ(t.ctx.model.peoVersion, fixture.version) << what;
            const Kept after = kept(t.ctx.model);
            EXPECT_EQ(after.names, before.names) << what;
            EXPECT_EQ(after.linksAndFlags, before.linksAndFlags) << what;
            EXPECT_EQ(after.matrices, before.matrices) << what;
            EXPECT_EQ(after.vertices, before.vertices) << what;
            EXPECT_EQ(after.polygons, before.polygons) << what;
            EXPECT_EQ(after.materials, before.materials) << what;
            // The recomputed normals come back as written.
            for (const PeoObject& o : t.ctx.model.peoObjects) {
                EXPECT_EQ(int(o.fileFaceNormals.size()), o.nFaceNormals) << what;
                EXPECT_EQ(o.nVertNormals, vns ? int(o.vertices.size()) : 0) << what;
            }
        }
    }
}

TEST_F(RoundTrip, WritingWhatWasReadGivesTheSameBytes) {
    for (bool cat : {false, true}) {
        fillWorkedModel(t.ctx.model);
        writePeoFile(t.ctx, (dir / "first.peo").string(), cat);
        readPeoFile(t.ctx, (dir / "first.peo").string());
        writePeoFile(t.ctx, (dir / "second.peo").string(), cat);
        EXPECT_EQ(readBytes(dir / "second.peo"), readBytes(dir / "first.peo")) << cat;
    }
}

TEST_F(RoundTrip, NewPolygonsCarryReservedBytesABAndCopiesOfReadOnesKeepTheirs) {
    const PeoPolygon fresh = newPolygon(0, 1, 2, 1);
    EXPECT_EQ(fresh.reserved, int16_t(0xABAB));
    EXPECT_EQ(fresh.flags, 0);
    EXPECT_EQ((std::array<int32_t, 4>{fresh.v0, fresh.v1, fresh.v2, fresh.material}),
              (std::array<int32_t, 4>{0, 1, 2, 1}));

    const auto all = fixtures();
    const auto& [what, fixture] = all.front();
    writeBytes(dir / "in.peo", buildPeo(fixture).data());
    readPeoFile(t.ctx, (dir / "in.peo").string());
    PeoObject& barrel = t.ctx.model.peoObjects.at(2);
    ASSERT_EQ(barrel.name, "Barrel");
    ASSERT_EQ(barrel.polygons[0].reserved, -2);
    barrel.polygons.push_back(barrel.polygons[0]);  // a copy, as a clone or an import makes
    barrel.polygons.push_back(fresh);
    writePeoFile(t.ctx, (dir / "out.peo").string(), false);
    readPeoFile(t.ctx, (dir / "out.peo").string());
    const auto& polygons = t.ctx.model.peoObjects.at(2).polygons;
    ASSERT_GE(polygons.size(), 2u);
    const PeoPolygon& copy = polygons[polygons.size() - 2];
    const PeoPolygon& written = polygons.back();
    EXPECT_EQ(copy.reserved, -2) << what;
    EXPECT_EQ(copy.flags, 3);
    EXPECT_EQ(written.reserved, int16_t(0xABAB));
    EXPECT_EQ(written.flags & kPolygonFixedFlag, 0);
}

TEST_F(WriterFixture, SavingTheModelFilePointsEachMaterialAtItsNewEntry) {
    fillWorkedModel(model);
    model.peoObjects.push_back(triangleObject("**DELETED**"));
    model.materials.push_back(model.materials[0]);
    for (auto& m : model.materials) m.filePosition = 7;
    t.ctx.currentModelPath = (dir / "ship.peo").string();

    save(false, "other.peo");  // another file: the positions stay
    for (const auto& m : model.materials) EXPECT_EQ(m.filePosition, 7);

    const std::vector<uint8_t> file = save(false, "ship.peo");
    const int32_t list = i32At(file, 32);
    ASSERT_EQ(model.materials.size(), 2u);
    EXPECT_EQ(model.materials[0].filePosition, list + 1);
    EXPECT_EQ(model.materials[1].filePosition, list + 32 + 1);

    // The same file under another spelling of its path is the model file too.
    for (auto& m : model.materials) m.filePosition = 7;
    writePeoFile(t.ctx, (dir / "." / "ship.peo").string(), false);
    EXPECT_EQ(model.materials[1].filePosition, list + 32 + 1);
}
