#include <gtest/gtest.h>

#include <array>

#include <cctype>
#include <filesystem>
#include <functional>

#include "Fakes.h"
#include "PeoFixture.h"
#include "TempDir.h"
#include "model/state/MaterialPreviewHook.h"
#include "model/PeoReader.h"
#include "base/BinaryReader.h"
#include "base/RunTimeError.h"

using namespace tarv;
using namespace tarv::test;
namespace fs = std::filesystem;

namespace {

const std::string CRLF = "\r\n";

class PeoReaderTest : public ::testing::Test {
protected:
    TempDir dir;
    TestContext t{dir.path()};

    std::string write(const std::vector<uint8_t>& bytes, const std::string& name = "ship.peo") {
        const fs::path path = dir / name;
        writeBytes(path, bytes);
        return path.string();
    }
    // As the load road does: the model path is set before the reader runs.
    void load(const std::string& path) {
        t.ctx.currentModelPath = path;
        readPeoFile(t.ctx, path);
    }
    std::string loadBytes(const std::vector<uint8_t>& bytes, const std::string& name = "ship.peo") {
        const std::string path = write(bytes, name);
        load(path);
        return path;
    }
    std::string modelLog(const std::string& name = "ship.log") { return readText(dir / name); }
    const PeoObject& object(int k) { return t.ctx.model.peoObjects.at(size_t(k)); }
    bool logHas(const std::string& line) { return modelLog().find(line) != std::string::npos; }
};

FxMaterial material(const std::string& texture, int16_t flags = 0) {
    FxMaterial m;
    m.texture = texture;
    m.flags = flags;
    m.ambient = {1, 2, 3, 0};
    m.diffuse = {4, 5, 6, 0};
    m.specular = {7, 8, 9, 0};
    return m;
}

FxFile twoObjectHomeworld() {
    FxFile f;
    f.publicMaterials = {material("hulltex")};
    f.objects = {squareObject("Hull"), squareObject("Gun", 2, 3)};
    f.objects[1].vertices.push_back({1, 1, 2.5f, 0});  // counts unlike the hull's: no sharing question
    f.objects[0].daughter = 180;
    f.objects[1].mother = 68;
    return f;
}

// Records what the reader hands to the preview's material steps.
struct RecordingPreview : MaterialPreviewHook {
    std::vector<std::string> calls;
    void materialRead(EditingContext&, int m, const ColourBytes& a, const ColourBytes& d,
                      const ColourBytes& s) override {
        calls.push_back("material " + std::to_string(m) + " " + std::to_string(a[0]) + "," + std::to_string(a[1]) +
                        "," + std::to_string(a[2]) + "," + std::to_string(a[3]) + " " + std::to_string(d[0]) + " " +
                        std::to_string(s[0]));
    }
    void materialSelfIlluminated(EditingContext&, int m) override { calls.push_back("emissive " + std::to_string(m)); }
    void texturePass(EditingContext& ctx, const std::string& folder) override {
        calls.push_back("textures " + std::to_string(ctx.model.textures.size()) + " in " + folder);
    }
    void materialsDone(EditingContext&) override { calls.push_back("done"); }
};

}  // namespace

TEST_F(PeoReaderTest, ReadsAHomeworldFileWithItsLogAndStatus) {
    const FxBuilt built = buildPeo(twoObjectHomeworld());
    EXPECT_EQ(built.publicOffset, 292);  // right after two 112-byte records
    const std::string path = loadBytes(built.data());

    const ShipModel& model = t.ctx.model;
    EXPECT_EQ(model.peoVersion, 0x402);
    EXPECT_EQ(t.status.panels[2], "HW");
    ASSERT_EQ(model.objectCount(), 2);
    EXPECT_EQ(model.publicMaterialCount, 1);
    EXPECT_EQ(model.localMaterialCount, 0);

    const PeoObject& hull = object(0);
    EXPECT_EQ(hull.name, "Hull");
    EXPECT_EQ(hull.nVertices, 4);
    EXPECT_EQ(hull.nPolygons, 2);
    EXPECT_EQ(hull.nFaceNormals, 2);
    EXPECT_EQ(hull.nVertNormals, 4);
    EXPECT_EQ(hull.vertices.at(2), (PeoVertex{1, 1, 1, 4, 0}));
    EXPECT_EQ(hull.fileFaceNormals.at(1), (PeoNormal{0, 0, -1}));
    ASSERT_EQ(hull.vertexNormals.size(), 4u);
    EXPECT_EQ(hull.polygons.at(1).v2, 3);
    EXPECT_EQ(hull.polygons.at(1).faceNormal, 1);
    EXPECT_EQ(hull.daughterOffset, 180);
    EXPECT_EQ(hull.daughter, 2);
    EXPECT_EQ(hull.mother, 0);
    EXPECT_EQ(hull.sharedWith, -1);
    EXPECT_EQ(hull.madObjectIndex, -1);
    EXPECT_EQ(hull.matrix, Matrix4::identity());
    EXPECT_TRUE(hull.faceNormals.empty());
    EXPECT_EQ(object(1).mother, 1);
    EXPECT_EQ(object(1).motherOffset, 68);
    // Sizes are the plain differences until the preview measures the objects.
    EXPECT_EQ(object(1).sizeX, 3);
    EXPECT_EQ(object(1).sizeZ, 1);
    EXPECT_EQ(object(1).minZ, 2);

    ASSERT_EQ(model.materialCount(), 1);
    EXPECT_EQ(model.materials[0].filePosition, 293);
    ASSERT_EQ(model.textures.size(), 1u);
    EXPECT_EQ(model.textures[0].name, "hulltex");

    const int32_t fileSize = int32_t(built.bytes.size()) - 68;
    EXPECT_EQ(t.status.logBox, "Opening " + path + "..." + CRLF + "-> HOMEWORLD peo file at hand," + CRLF + CRLF +
                                   "     ( file size " + std::to_string(fileSize) + " bytes, 'local size' is 0," +
                                   CRLF + "         containing 2 objects," + CRLF +
                                   "          1 public materials and 0 local )." + CRLF + CRLF +
                                   "Loading one material:" + CRLF + "- ' hulltex '      ( #0 & texture #0 )" + CRLF +
                                   CRLF + "-> NOTE: object sharing is switched on" + CRLF + CRLF);

    // The statistics go to the model log only.
    for (const std::string& line : std::vector<std::string>{
             "[1] -- Stats:", "[1]    nPolygons: 2", "[1]       offset: " + std::to_string(built.polygonOffset[1]),
             "[1]    nVertices: 4", "[1]    nFaceNormals: 2", "[1]    nVertNormals: 4", "[1]          offset: 0",
             "[1]   actual offset: " + std::to_string(built.normalOffset[1] + 32),
             "[1] -> Loading Polygons: " + std::to_string(built.polygonOffset[1] + 1)}) {
        EXPECT_TRUE(logHas(line + CRLF)) << line;
    }
    EXPECT_FALSE(logHas("-> Flags:"));  // level 2

    EXPECT_EQ(t.status.status, "Getting object Gun");
    EXPECT_EQ(t.status.status2, "");
    EXPECT_EQ(t.status.loadTextures.maximum, 2);
    EXPECT_EQ(t.status.loadTextures.value, 2);
    EXPECT_TRUE(t.errors.reports.empty());
}

TEST_F(PeoReaderTest, ReadsACataclysmFileWithVertexNormalsFromTheNormalList) {
    FxFile f;
    f.version = 0x500;
    f.publicMaterials = {material("")};
    f.objects = {squareObject("A"), squareObject("B"), squareObject("C")};
    f.objects[1].mother = 68;
    f.objects[2].mother = 300;  // the third record: (300 - 68) / 116 + 1
    f.objects[0].vertexNormals[3] = {0.5f, 0.25f, 0.125f};
    f.objects[0].fileMatrix[12] = 7;  // translation x, stored in the transpose
    t.ctx.prefs.objectSharing = false;
    const FxBuilt built = buildPeo(f);
    EXPECT_EQ(built.recordOffset[1], 68 + 116);
    EXPECT_EQ(built.bytes.data()[68 + 116 + 40], 68);  // the second record's mother field
    t.ctx.prefs.logLevel = 2;
    loadBytes(built.data());

    EXPECT_EQ(t.ctx.model.peoVersion, 0x500);
    EXPECT_EQ(t.status.panels[2], "HW:C");
    EXPECT_NE(t.status.logBox.find("-> CATACLYSM peo file at hand," + CRLF + CRLF), std::string::npos);
    EXPECT_EQ(object(1).mother, 1);
    EXPECT_EQ(object(2).mother, 3);
    EXPECT_EQ(object(0).vertexNormals.at(3), (PeoNormal{0.5f, 0.25f, 0.125f}));
    EXPECT_EQ(object(0).matrix.at(0, 3), 7);
    EXPECT_EQ(object(0).matrix[12], 0);
    EXPECT_TRUE(logHas("[1]          offset: " + std::to_string(built.cRegionOffset[0]) + CRLF));
    EXPECT_TRUE(logHas("[2] -> cVertexNormals: 4 @ " + std::to_string(built.cRegionOffset[0]) + CRLF));
    EXPECT_TRUE(logHas("[2] -> Vertices: 4 @ " + std::to_string(built.vertexOffset[0]) + CRLF));
    EXPECT_TRUE(logHas("[2] -> FaceNormals: 2 @ " + std::to_string(built.normalOffset[0]) + CRLF));
    EXPECT_TRUE(logHas("[2] -> Polygons: 2 @ " + std::to_string(built.polygonOffset[0]) + CRLF));
    EXPECT_TRUE(logHas("[2] -> Flags: 0" + CRLF));
}

TEST_F(PeoReaderTest, LinkOffsetsBecomeRecordNumbers) {
    struct Case {
        int32_t version;
        int32_t offset;
        int32_t number;
    };
    for (Case c : {Case{0x402, 68, 1}, Case{0x402, 180, 2}, Case{0x402, 0, 0}, Case{0x500, 0, 0}, Case{0x500, 300, 3},
                   Case{0x402, 124, 2} /* 1.5 rounds to even */}) {
        FxFile f;
        f.version = c.version;
        f.objects = {squareObject("A")};
        f.objects[0].sister = c.offset;
        loadBytes(buildPeo(f).data());
        EXPECT_EQ(object(0).sister, c.number) << c.offset;
        EXPECT_EQ(object(0).sisterOffset, c.offset);
    }
}

TEST_F(PeoReaderTest, ReadsOnlyTheChosenMaterialList) {
    FxFile f = twoObjectHomeworld();
    f.publicMaterials.clear();
    for (int i = 0; i < 5; ++i) f.publicMaterials.push_back(material("pub" + std::to_string(i % 2)));
    for (int i = 0; i < 3; ++i) f.localMaterials.push_back(material("loc" + std::to_string(i)));
    loadBytes(buildPeo(f).data());
    EXPECT_EQ(t.ctx.model.materialCount(), 5);
    EXPECT_EQ(t.ctx.model.localMaterialCount, 3);
    ASSERT_EQ(t.ctx.model.textures.size(), 2u);
    EXPECT_EQ(t.ctx.model.materials[3].texture, 1);
    EXPECT_NE(t.status.logBox.find(CRLF + "Loading 5 materials:" + CRLF), std::string::npos);
    EXPECT_NE(t.status.logBox.find("- ' pub1 '      ( #3 & texture #1 )"), std::string::npos);
    EXPECT_NE(t.status.logBox.find("          5 public materials and 3 local )."), std::string::npos);

    // With no public materials the local list is read.
    f.publicMaterials.clear();
    loadBytes(buildPeo(f).data());
    ASSERT_EQ(t.ctx.model.materialCount(), 3);
    EXPECT_EQ(t.ctx.model.publicMaterialCount, 0);
    EXPECT_EQ(t.ctx.model.textures[2].name, "loc2");

    // And with none at all the list is empty.
    f.localMaterials.clear();
    loadBytes(buildPeo(f).data());
    EXPECT_EQ(t.ctx.model.materialCount(), 0);
    EXPECT_TRUE(t.ctx.model.textures.empty());
    EXPECT_EQ(t.ctx.model.objectCount(), 2);
    EXPECT_TRUE(t.errors.reports.empty());
}

TEST_F(PeoReaderTest, MaterialEntries) {
    FxFile f = twoObjectHomeworld();
    f.publicMaterials = {material("hulltex", 72), material("", int16_t(0x8000 + 72)),
                         material("RMF97ba", 2 + 16 + 32 + 4)};
    f.publicMaterials[0].ambient = {10, 20, 30, 255};
    f.publicMaterials[0].specular = {40, 50, 60, 0};
    f.publicMaterials[0].kAlpha = 0.5f;
    f.publicMaterials[0].fullAmbient = -3;
    RecordingPreview preview;
    t.ctx.services.materialPreview = &preview;
    loadBytes(buildPeo(f).data());

    const auto& m = t.ctx.model.materials;
    ASSERT_EQ(m.size(), 3u);
    EXPECT_EQ(m[0].ambient, (ColourBytes{30, 20, 10, 0}));
    EXPECT_EQ(m[0].specular, (ColourBytes{40, 50, 60, 0}));
    EXPECT_EQ(m[0].kAlpha, 0.5f);
    EXPECT_EQ(m[0].fullAmbient, -3);
    EXPECT_TRUE(m[0].twoSided && m[0].selfIlluminated);
    EXPECT_FALSE(m[0].smoothing || m[0].flatShaded || m[0].baseColour || m[0].stripeColour);
    // A negative flag word sets nothing.
    EXPECT_FALSE(m[1].smoothing || m[1].flatShaded || m[1].twoSided || m[1].baseColour || m[1].stripeColour ||
                 m[1].selfIlluminated);
    EXPECT_TRUE(m[2].smoothing && m[2].flatShaded && m[2].baseColour && m[2].stripeColour);
    EXPECT_FALSE(m[2].twoSided || m[2].selfIlluminated);
    EXPECT_EQ(m[1].filePosition, 292 + 32 + 1);

    // Texture name offset 0 reads the identifier; the no-texture names are listed like any other.
    ASSERT_EQ(t.ctx.model.textures.size(), 3u);
    EXPECT_EQ(t.ctx.model.textures[1].name, "RMF99ba");
    EXPECT_EQ(t.ctx.model.textures[2].name, "RMF97ba");

    // The preview gets the colours as they stand in the file, and the model folder.
    EXPECT_EQ(preview.calls,
              (std::vector<std::string>{"material 0 10,20,30,255 4 40", "emissive 0", "material 1 1,2,3,0 4 7",
                                        "material 2 1,2,3,0 4 7", "textures 3 in " + dir.folderText(), "done"}));
    EXPECT_EQ(t.status.statusHistory.at(t.status.statusHistory.size() - 3), "Getting Textures");
    EXPECT_EQ(t.ctx.err.errModule, "modPeo");
    EXPECT_EQ(t.ctx.err.errProc, "getMaterials");
    EXPECT_EQ(t.ctx.err.errArgs, "3|292");
}

TEST_F(PeoReaderTest, ColoursWithTheSwitchOfRedAndBlue) {
    FxFile f = twoObjectHomeworld();
    f.publicMaterials[0].ambient = {10, 20, 30, 255};
    f.publicMaterials[0].diffuse = {10, 20, 30, 0};
    t.ctx.live.chkSwitchClrs = true;
    loadBytes(buildPeo(f).data());
    EXPECT_EQ(t.ctx.model.materials[0].ambient, (ColourBytes{10, 20, 30, 0}));
    EXPECT_EQ(t.ctx.model.materials[0].diffuse, (ColourBytes{30, 20, 10, 0}));
}

TEST_F(PeoReaderTest, ShipFileIdentifierBecomesATextureName) {
    FxFile f = twoObjectHomeworld();
    f.identifier = "Vantu's";
    f.publicMaterials = {material("")};
    loadBytes(buildPeo(f).data());
    ASSERT_EQ(t.ctx.model.textures.size(), 1u);
    EXPECT_EQ(t.ctx.model.textures[0].name, "Vantu's");
    EXPECT_FALSE(isNoTextureName(t.ctx.model.textures[0].name));
}

TEST_F(PeoReaderTest, SharingBySamePolygonListAsksNothing) {
    FxFile f = twoObjectHomeworld();
    f.objects[1].listsOf = 0;
    const auto bytes = buildPeo(f).data();
    loadBytes(bytes);
    EXPECT_EQ(object(1).sharedWith, 0);
    EXPECT_EQ(object(1).polygons, object(0).polygons);  // it still holds its own copy of the lists
    EXPECT_NE(t.status.logBox.find("-> ** Shared Object with Hull**" + CRLF), std::string::npos);

    t.ctx.prefs.objectSharing = false;
    t.status.logBox.clear();
    loadBytes(bytes);
    EXPECT_EQ(object(0).sharedWith, -1);
    EXPECT_EQ(object(1).sharedWith, -1);
    EXPECT_NE(t.status.logBox.find(CRLF + "-> NOTE: object sharing is switched off" + CRLF), std::string::npos);
    EXPECT_TRUE(t.prompts.shown.empty());
}

TEST_F(PeoReaderTest, SharingByEqualCountsAsksInTurn) {
    FxFile f;
    f.objects = {squareObject("A"), squareObject("B", 1), squareObject("C", 2)};
    auto questionOf = [](const std::string& k, const std::string& i) {
        return "TARV thinks that " + k + " can be made a 'shared copy' of " + i + " ," + CRLF +
               "do you wish to share " + k + " as a clone of " + i + " ?" + CRLF + CRLF +
               "(Objects that are in fact MIRRORED copies of each other should NOT be shared!).";
    };
    const std::string question = questionOf("B", "A");
    EXPECT_EQ(question.substr(0, 55), "TARV thinks that B can be made a 'shared copy' of A ," + CRLF);
    t.prompts.expectYesNo(true, question);
    t.prompts.expectYesNo(false, questionOf("C", "A"));
    t.prompts.expectYesNo(true, questionOf("C", "B"));
    loadBytes(buildPeo(f).data());
    ASSERT_EQ(t.prompts.shown.size(), 3u);
    EXPECT_EQ(t.prompts.shown[0].text, question);
    EXPECT_EQ(t.prompts.shown[0].caption, "TARV shared object detection");
    EXPECT_EQ(t.prompts.shown[0].icon, PromptIcon::Question);
    EXPECT_EQ(object(1).sharedWith, 0);
    EXPECT_EQ(object(2).sharedWith, 1);
    EXPECT_NE(t.status.logBox.find("-> ** Detected Shared Object with B**"), std::string::npos);

    // Counts that differ raise no question.
    f.objects[2].polygons.pop_back();
    t.prompts.expectYesNo(false);
    loadBytes(buildPeo(f).data());
    EXPECT_EQ(object(1).sharedWith, -1);
    EXPECT_EQ(object(2).sharedWith, -1);
}

TEST_F(PeoReaderTest, CorruptPolygonsAreLoggedAndKept) {
    FxFile f;
    f.objects = {squareObject("A"), squareObject("B"), squareObject("C"), squareObject("D")};
    t.ctx.prefs.objectSharing = false;
    FxObject& d = f.objects[3];
    for (int i = 0; i < 8; ++i) d.vertices.push_back({float(i), 1, 2, 0});
    d.polygons.resize(12);
    for (int i = 0; i < 12; ++i)
        d.polygons[size_t(i)] = FxPolygon{int16_t(i % 10), int16_t(i % 10 + 1), int16_t(i % 10 + 2)};
    d.polygons[4] = {5, 5, 7};
    d.polygons[9] = {5, 7, 5};
    f.objects[1].polygons = {{7, 5, 5}};
    f.objects[1].vertices.resize(8);
    loadBytes(buildPeo(f).data());

    const std::string& box = t.status.logBox;
    EXPECT_NE(box.find(CRLF + " - corrupted polygon found" + CRLF), std::string::npos);
    EXPECT_NE(box.find(CRLF + "- corrupted polygon found" + CRLF +
                       "Polygon loader found 1 corrupt polys in 1 polys for object 1."),
              std::string::npos);
    EXPECT_NE(box.find("Polygon loader found 2 corrupt polys in 12 polys for object 3." + CRLF), std::string::npos);
    EXPECT_EQ(object(3).polygons.at(4).v1, 5);
    EXPECT_EQ(object(3).polygons.size(), 12u);
    EXPECT_EQ(box.find("outside the vertex list"), std::string::npos);
}

TEST_F(PeoReaderTest, CornersOutsideTheVertexListAreLoggedAndKept) {
    FxFile f;
    f.objects = {squareObject("A"), squareObject("B")};
    f.objects[1].polygons = {{0, 1, 4}, {0, 1, 2}, {-1, 1, 2}};
    loadBytes(buildPeo(f).data());
    const std::string& box = t.status.logBox;
    const std::string line = " - polygon corner outside the vertex list found" + CRLF;
    const size_t first = box.find(line);
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(box.find(line, first + 1), std::string::npos);
    EXPECT_NE(box.find("Polygon loader found 2 polys with corners outside the vertex list in object 1." + CRLF),
              std::string::npos);
    EXPECT_EQ(object(1).polygons.at(0).v2, 4);
    EXPECT_EQ(object(1).polygons.at(2).v0, -1);
}

TEST_F(PeoReaderTest, DetailLinesAtLevelThree) {
    FxFile f;
    f.objects = {squareObject("A")};
    FxObject& a = f.objects[0];
    a.flags = 5;
    a.vertices[3] = {1.5f, -2, 0, 7};
    a.polygons[1].flags = 0x1234;
    a.polygons[1].material = 3;
    a.faceNormals[1] = {0.5f, -1, 0};
    a.vertexNormals[2] = {0, 0.25f, 1};
    t.ctx.prefs.logLevel = 3;
    loadBytes(buildPeo(f).data());
    // longToBinary(0x1234) = 0 0001 0010 0011 0100: characters 3-6, 7-10 and 11-14.
    for (const std::string& line : std::vector<std::string>{
             "[3]       v3:           1.5            -2             0   norm: 7",
             "[3]    fNormal 1: 0.5 -1 0",
             "[3]    vNormal 2: 0 0.25 1",
             "[3]       1: vert:    0/   2/   3 mat:   3 normal:   1 flags: 4660 0010 (2) 0100 (4) 0110 (6)",
             "[3]           " + std::string("00000000000000101"),
             "[2] -> VertexNormals: 4",
         }) {
        EXPECT_TRUE(logHas(line + CRLF)) << line << "\n" << modelLog();
    }
}

TEST_F(PeoReaderTest, TheLogAtEachLevelHoldsExactlyTheLinesUpToThatLevel) {
    FxFile f;
    f.objects = {squareObject("A"), squareObject("B")};
    f.objects[1].mother = 68;
    f.objects[1].polygons[0] = {0, 0, 1};  // a corrupted polygon: a line at level 1 in the middle of a list
    const std::vector<uint8_t> bytes = buildPeo(f).data();
    auto lines = [&](int level) {
        t.ctx.prefs.logLevel = level;
        t.ctx.prefs.objectSharing = false;
        writeText(dir / "ship.log", "");
        t.ctx.model = {};
        loadBytes(bytes);
        // One entry per written line; a message with its own line breaks stays one entry.
        std::vector<std::string> out;
        const std::string text = modelLog();
        size_t start = 0;
        for (size_t at = text.find(CRLF); at != std::string::npos; at = text.find(CRLF, at + 2)) {
            if (at + 2 < text.size() && text[at + 2] != '[') continue;
            out.push_back(text.substr(start, at - start));
            start = at + 2;
        }
        EXPECT_EQ(start, text.size()) << "the log ends with a line break";
        return out;
    };
    const std::vector<std::string> all = lines(3);
    std::array<size_t, 4> perLevel{};
    for (const std::string& line : all) {
        ASSERT_TRUE(line.size() > 3 && line[0] == '[' && line[2] == ']') << line;
        ++perLevel[size_t(line[1] - '0')];
    }
    EXPECT_GT(perLevel[1], 0u);
    EXPECT_GT(perLevel[2], 0u);
    EXPECT_GT(perLevel[3], 2u * 8u) << "vertex, normal and polygon lines of both objects";
    for (int level : {0, 1, 2}) {
        SCOPED_TRACE(level);
        std::vector<std::string> expected;
        for (const std::string& line : all)
            if (line[1] - '0' <= level) expected.push_back(line);
        EXPECT_EQ(lines(level), expected);
    }
}

TEST_F(PeoReaderTest, FlatObjectsAndTheModelExtent) {
    FxFile f;
    f.objects = {squareObject("Flat"), squareObject("Point"), squareObject("Box")};
    for (auto& v : f.objects[0].vertices) v.z = 0;
    f.objects[1].vertices = {{3, 4, 5, 0}};
    f.objects[2].vertices = {{0, 0, 0, 0}, {4, 6, 10, 0}};
    for (auto* o : {&f.objects[1], &f.objects[2]}) o->polygons = {{0, 0, 0}};
    loadBytes(buildPeo(f).data());
    EXPECT_EQ(object(0).sizeZ, 0);
    EXPECT_EQ(object(1).sizeX, 0);

    t.ctx.model.modelExtent = 0;
    calcObjectDimensions(t.ctx, 2);
    EXPECT_EQ(t.ctx.model.modelExtent, 10);
    t.status.logBox.clear();
    calcObjectDimensions(t.ctx, 0);
    EXPECT_EQ(object(0).sizeX, 1000);
    EXPECT_EQ(object(0).sizeY, 1000);
    EXPECT_EQ(object(0).sizeZ, 1000);
    EXPECT_EQ(t.ctx.model.modelExtent, 1000);
    EXPECT_EQ(t.status.logBox, "       mesh dimensions are:" + CRLF + CRLF + "        > x      1000" + CRLF +
                                   "        > y      1000" + CRLF + "        > z      1000" + CRLF + CRLF);
    calcObjectDimensions(t.ctx, 1);
    EXPECT_EQ(object(1).sizeY, 1000);

    // A larger object raises the extent, a smaller one leaves it.
    t.ctx.model.modelExtent = 10;
    t.ctx.model.peoObjects[2].maxX = 12;
    t.ctx.model.peoObjects[2].maxY = 3;
    t.ctx.model.peoObjects[2].maxZ = 3;
    calcObjectDimensions(t.ctx, 2);
    EXPECT_EQ(t.ctx.model.modelExtent, 12);
    t.ctx.model.peoObjects[2].maxX = 2;
    calcObjectDimensions(t.ctx, 2);
    EXPECT_EQ(t.ctx.model.modelExtent, 12);
}

TEST_F(PeoReaderTest, UnknownVersionKeepsThePreviousLayout) {
    FxFile c;
    c.version = 0x500;
    c.objects = {squareObject("A")};
    loadBytes(buildPeo(c).data());

    FxFile f;
    f.version = 0x401;
    t.ctx.prefs.objectSharing = false;
    f.recordSize = 116;
    f.objects = {squareObject("X"), squareObject("Y")};
    f.objects[1].mother = 68;
    t.status.logBox.clear();
    loadBytes(buildPeo(f).data(), "other.peo");
    EXPECT_EQ(t.ctx.model.peoVersion, 0x500);
    EXPECT_EQ(t.status.panels[2], "HW:C");
    EXPECT_EQ(t.status.logBox.find("peo file at hand"), std::string::npos);
    ASSERT_EQ(t.ctx.model.objectCount(), 2);
    EXPECT_EQ(object(1).name, "Y");
    EXPECT_EQ(object(1).vertices.size(), 4u);
}

TEST_F(PeoReaderTest, RegionsInAnyOrderReadTheSame) {
    FxFile f = twoObjectHomeworld();
    f.publicMaterials.push_back(material("second", 8));
    const auto plain = buildPeo(f);
    f.scrambled = true;
    const auto scrambled = buildPeo(f);
    ASSERT_NE(plain.polygonOffset, scrambled.polygonOffset);

    loadBytes(plain.data());
    const ShipModel first = std::move(t.ctx.model);
    t.ctx.model = ShipModel{};
    loadBytes(scrambled.data());
    ASSERT_EQ(t.ctx.model.objectCount(), first.objectCount());
    for (int k = 0; k < first.objectCount(); ++k) {
        const PeoObject& a = first.peoObjects[size_t(k)];
        const PeoObject& b = object(k);
        EXPECT_EQ(a.name, b.name);
        EXPECT_EQ(a.vertices, b.vertices);
        EXPECT_EQ(a.polygons, b.polygons);
        EXPECT_EQ(a.fileFaceNormals, b.fileFaceNormals);
        EXPECT_EQ(a.vertexNormals, b.vertexNormals);
        EXPECT_EQ(a.matrix, b.matrix);
        EXPECT_EQ(a.mother, b.mother);
    }
    ASSERT_EQ(t.ctx.model.materialCount(), 2);
    EXPECT_TRUE(t.ctx.model.materials[1].twoSided);
    EXPECT_EQ(t.ctx.model.textures[1].name, "second");
}

// Damaged files are refused by the parse with a load error.
TEST(PeoParse, DamagedFilesAreRefused) {
    const FxBuilt good = buildPeo(twoObjectHomeworld());
    const int32_t rec1 = good.recordOffset[1];
    struct Case {
        std::string name;
        std::function<void(ByteBuilder&)> damage;
        int number;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"truncated header", [](ByteBuilder& b) { b.data().resize(40); }, 62, "header"},
        {"truncated records", [](ByteBuilder& b) { b.data().resize(68 + 112 + 50); }, 62, "object records"},
        {"truncated lists", [&](ByteBuilder& b) { b.data().resize(size_t(good.vertexOffset[1] + 20)); }, 62, ""},
        {"no objects", [](ByteBuilder& b) { b.patchI32(40, 0); }, 62, "The file holds no objects."},
        {"negative object count", [](ByteBuilder& b) { b.patchI32(40, -2); }, 62, "object count"},
        {"object count beyond 16 bits", [](ByteBuilder& b) { b.patchI32(40, 40000); }, 6, "Overflow"},
        {"object count larger than the file", [](ByteBuilder& b) { b.patchI32(40, 30000); }, 62, "object records"},
        {"material count beyond 16 bits", [](ByteBuilder& b) { b.patchI32(28, 70000); }, 6, "Overflow"},
        {"vertex count larger than the file", [&](ByteBuilder& b) { b.patchI32(rec1 + 8, 20000); }, 62, "vertex list"},
        {"more vertices than 16-bit indices reach", [&](ByteBuilder& b) { b.patchI32(rec1 + 8, 32769); }, 6,
         "Overflow"},
        {"face normals larger than the file", [&](ByteBuilder& b) { b.patchI32(rec1 + 12, 5000); }, 62, "face normals"},
        {"negative polygon count", [&](ByteBuilder& b) { b.patchI32(rec1 + 20, -1); }, 62, "polygon count"},
        {"polygon list past the end", [&](ByteBuilder& b) { b.patchI32(rec1 + 32, int32_t(b.size()) + 100); }, 62,
         "polygon list"},
        {"negative vertex list offset", [&](ByteBuilder& b) { b.patchI32(rec1 + 24, -16); }, 62, "vertex list"},
        {"name past the end", [&](ByteBuilder& b) { b.patchI32(rec1, int32_t(b.size()) + 1); }, 62, "object name"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ByteBuilder damaged = good.bytes;
        c.damage(damaged);
        try {
            parsePeoFile(BinaryReader(damaged.data(), "bad.peo"));
            ADD_FAILURE() << "not refused";
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), c.number);
            EXPECT_NE(e.description().find(c.text), std::string::npos) << e.description();
        }
    }
}

TEST(PeoParse, MoreCorruptPolygonsThanASixteenBitCountAreRefused) {
    FxFile f;
    f.objects = {squareObject("A")};
    f.objects[0].polygons.assign(32767, FxPolygon{1, 1, 2});
    EXPECT_NO_THROW(parsePeoFile(BinaryReader(buildPeo(f).data(), "ship.peo")));
    f.objects[0].polygons.push_back(FxPolygon{0, 2, 2});
    try {
        parsePeoFile(BinaryReader(buildPeo(f).data(), "ship.peo"));
        ADD_FAILURE() << "not refused";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), 6);
    }
}

// After a refusal the contents hold what came before the fault; the reader goes as far as they do.
TEST(PeoParse, ARefusedFileKeepsWhatWasReadBeforeTheFault) {
    const FxBuilt good = buildPeo(twoObjectHomeworld());
    ByteBuilder b = good.bytes;
    b.patchI32(good.recordOffset[1] + 12, 5000);  // the second object's face normals
    PeoFileContents contents;
    EXPECT_THROW(parsePeoFile(BinaryReader(b.data(), "ship.peo"), 0, contents), RunTimeError);
    ASSERT_TRUE(contents.header.has_value());
    EXPECT_EQ(contents.header->version, 0x402);
    EXPECT_TRUE(contents.objectsFit);
    EXPECT_EQ(contents.objectCount, 2);
    ASSERT_EQ(contents.materials.textureNames, std::vector<std::string>{"hulltex"});
    ASSERT_EQ(contents.objects.size(), 2u);
    EXPECT_EQ(contents.objects[0].name, "Hull");
    ASSERT_TRUE(contents.objects[0].polygons.has_value());
    EXPECT_EQ(contents.objects[0].polygons->size(), 2u);
    const PeoObjectContents& gun = contents.objects[1];
    EXPECT_EQ(gun.name, "Gun");
    ASSERT_TRUE(gun.vertices.has_value());
    EXPECT_EQ(gun.vertices->size(), 5u);
    EXPECT_FALSE(gun.faceNormals.has_value());
    EXPECT_FALSE(gun.vertexNormals.has_value());
    EXPECT_FALSE(gun.polygons.has_value());

    // A header the file is too short for leaves nothing.
    b.data().resize(60);
    EXPECT_THROW(parsePeoFile(BinaryReader(b.data(), "ship.peo"), 0, contents), RunTimeError);
    EXPECT_FALSE(contents.header.has_value());
    EXPECT_TRUE(contents.objects.empty());
}

// The material list's own faults do not refuse the file: they are kept with the list.
TEST(PeoParse, AMaterialListFaultIsKeptAndTheObjectsAreRead) {
    const FxBuilt good = buildPeo(twoObjectHomeworld());
    struct Case {
        std::string name;
        int32_t count;
        int32_t textureNameOffset;
        size_t entries;
        std::string text;
    };
    for (const Case& c :
         {Case{"negative count", -2, 0, 0, "material count"}, Case{"list past the end", 200, 0, 0, "material list"},
          Case{"texture name past the end", 1, int32_t(good.bytes.size()) + 3, 1, "texture name"}}) {
        SCOPED_TRACE(c.name);
        ByteBuilder b = good.bytes;
        b.patchI32(24, c.count);
        if (c.textureNameOffset) b.patchI32(good.publicOffset + 20, c.textureNameOffset);
        const PeoFileContents contents = parsePeoFile(BinaryReader(b.data(), "ship.peo"));
        ASSERT_TRUE(contents.materials.fault.has_value());
        EXPECT_EQ(contents.materials.fault->number(), 62);
        EXPECT_NE(contents.materials.fault->description().find(c.text), std::string::npos);
        EXPECT_EQ(contents.materials.entries.size(), c.entries);
        EXPECT_TRUE(contents.materials.textureNames.empty());
        EXPECT_EQ(contents.objects.size(), 2u);
    }
}

TEST(PeoParse, AnUnknownVersionIsReadWithThePreviousLayout) {
    FxFile f;
    f.version = 0x401;
    f.recordSize = 116;
    f.objects = {squareObject("X"), squareObject("Y")};
    const std::vector<uint8_t> bytes = buildPeo(f).data();
    const PeoFileContents asCataclysm = parsePeoFile(BinaryReader(bytes, "ship.peo"), 0x500);
    EXPECT_TRUE(asCataclysm.cataclysm);
    ASSERT_EQ(asCataclysm.objects.size(), 2u);
    EXPECT_EQ(asCataclysm.objects[1].name, "Y");
    // With the Homeworld layout the second record is read four bytes early: its name offset is no offset.
    PeoFileContents asHomeworld;
    EXPECT_THROW(parsePeoFile(BinaryReader(bytes, "ship.peo"), 0x402, asHomeworld), RunTimeError);
    EXPECT_FALSE(asHomeworld.cataclysm);
    EXPECT_EQ(asHomeworld.objects.size(), 1u);
}

// A load error leaves the model empty and never blocks the next load; what came before the fault is
// logged and asked as usual.
TEST_F(PeoReaderTest, ALoadErrorComesAfterWhatPrecedesTheFaultAndLeavesTheModelEmpty) {
    FxFile f;
    f.publicMaterials = {material("hulltex")};
    f.objects = {squareObject("A"), squareObject("B", 1)};
    const FxBuilt built = buildPeo(f);
    const std::string goodPath = write(built.data(), "good.peo");
    ByteBuilder b = built.bytes;
    b.patchI32(built.recordOffset[1] + 24, int32_t(b.size()));  // B's vertex list starts at the end
    const std::string path = write(b.data(), "bad.peo");
    t.prompts.expectYesNo(false);
    try {
        load(path);
        ADD_FAILURE() << "no load error";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), 62);
        EXPECT_NE(e.description().find("vertex list"), std::string::npos) << e.description();
    }
    ASSERT_EQ(t.prompts.shown.size(), 1u);
    EXPECT_NE(t.prompts.shown[0].text.find("B can be made a 'shared copy' of A"), std::string::npos);
    EXPECT_NE(t.status.logBox.find("- ' hulltex '      ( #0 & texture #0 )" + CRLF + CRLF +
                                   "-> NOTE: object sharing is switched on" + CRLF + CRLF),
              std::string::npos);
    EXPECT_NE(modelLog("bad.log").find("[1] -- Stats:" + CRLF), std::string::npos);
    EXPECT_EQ(t.status.status, "Getting object B");
    EXPECT_EQ(t.status.status2, "Vertices");
    EXPECT_EQ(t.ctx.model.peoVersion, 0x402);
    EXPECT_EQ(t.ctx.model.objectCount(), 0);
    EXPECT_EQ(t.ctx.model.materialCount(), 0);
    EXPECT_TRUE(t.ctx.model.textures.empty());
    EXPECT_EQ(t.ctx.model.publicMaterialCount, 0);
    EXPECT_TRUE(t.errors.reports.empty());

    t.prompts.expectYesNo(false);
    load(goodPath);
    EXPECT_EQ(t.ctx.model.objectCount(), 2);
    EXPECT_EQ(t.ctx.model.materialCount(), 1);

    // A file cut off in its lists: the material list reports its lost texture name on its own, the load
    // error follows, and the model is empty again.
    ByteBuilder cut = built.bytes;
    cut.data().resize(size_t(built.vertexOffset[1] + 20));
    EXPECT_THROW(load(write(cut.data(), "cut.peo")), RunTimeError);
    ASSERT_EQ(t.errors.reports.size(), 1u);
    EXPECT_EQ(t.errors.reports[0].procedure, "getMaterials");
    EXPECT_NE(t.errors.reports[0].description.find("texture name"), std::string::npos);
    EXPECT_EQ(t.ctx.model.objectCount(), 0);
    EXPECT_EQ(t.ctx.model.materialCount(), 0);
}

TEST_F(PeoReaderTest, AMissingFileIsALoadErrorAndIsNotCreated) {
    const std::string path = (dir / "missing.peo").string();
    try {
        load(path);
        ADD_FAILURE() << "no load error";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), 53);
    }
    EXPECT_FALSE(fs::exists(path));
    EXPECT_NE(t.status.logBox.find("Opening " + path + "..."), std::string::npos);
}

TEST_F(PeoReaderTest, FaultsThatDoNotStopTheLoad) {
    const FxBuilt good = buildPeo(twoObjectHomeworld());
    const int32_t rec1 = good.recordOffset[1];

    // Negative vertex and normal counts read nothing.
    ByteBuilder b = good.bytes;
    b.patchI32(rec1 + 8, -4).patchI32(rec1 + 12, -1).patchI32(rec1 + 16, -7);
    loadBytes(b.data());
    EXPECT_TRUE(object(1).vertices.empty());
    EXPECT_TRUE(object(1).fileFaceNormals.empty());
    EXPECT_TRUE(object(1).vertexNormals.empty());
    EXPECT_EQ(object(1).nVertices, -4);
    EXPECT_EQ(object(1).polygons.size(), 2u);

    // A material list that does not fit, or a negative material count: the material reader reports it and
    // the objects are still read.
    for (int32_t count : {-2, 200}) {
        ByteBuilder m = good.bytes;
        m.patchI32(24, count);
        t.errors.reports.clear();
        loadBytes(m.data());
        ASSERT_EQ(t.errors.reports.size(), 1u) << count;
        EXPECT_EQ(t.errors.reports[0].module, "modPeo");
        EXPECT_EQ(t.errors.reports[0].procedure, "getMaterials");
        EXPECT_EQ(t.errors.reports[0].arguments, std::to_string(count) + "|292");
        EXPECT_EQ(t.ctx.model.materialCount(), 0);
        EXPECT_EQ(t.ctx.model.objectCount(), 2);
    }

    // A polygon list of 0 entries, whatever its offset.
    ByteBuilder p = good.bytes;
    p.patchI32(rec1 + 20, 0).patchI32(rec1 + 32, -5);
    loadBytes(p.data());
    EXPECT_TRUE(object(1).polygons.empty());

    // A name without its zero byte ends at the end of the file.
    FxFile f;
    f.objects = {squareObject("Last")};
    ByteBuilder n = buildPeo(f).bytes;
    ASSERT_EQ(n.data().back(), 0);
    n.data().pop_back();
    loadBytes(n.data());
    EXPECT_EQ(object(0).name, "Last");
}

TEST_F(PeoReaderTest, AnUnwritableModelLogDoesNotStopTheRead) {
    // A folder where the model log should be: the log cannot be opened, whoever runs the test.
    fs::create_directories(dir / "ship.log");
    EXPECT_NO_THROW(loadBytes(buildPeo(twoObjectHomeworld()).data()));
    EXPECT_EQ(t.ctx.model.objectCount(), 2);
    const std::string notice = "The log file " + (dir / "ship.log").string() + " cannot be written";
    const std::string& box = t.status.logBox;
    ASSERT_NE(box.find(notice), std::string::npos);
    EXPECT_EQ(box.find(notice), box.rfind(notice));
    EXPECT_TRUE(t.errors.reports.empty());
}

TEST(PeoSamples, RealShipFilesRead) {
    const fs::path samples = samplesFolder();
    std::vector<fs::path> files;
    if (!samples.empty() && fs::is_directory(samples)) {
        for (const auto& entry : fs::recursive_directory_iterator(samples)) {
            std::string ext = entry.path().extension().string();
            for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
            if (entry.is_regular_file() && ext == ".peo") files.push_back(entry.path());
        }
    }
    if (files.empty()) GTEST_SKIP() << "no .peo sample files";
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.string());
        TempDir dir;
        TestContext t(dir.path());
        t.prompts.answerYesNoCycling({false});
        // The model path points into the temporary folder so that the log is written there, not beside
        // the shared samples.
        t.ctx.currentModelPath = (dir / "sample.peo").string();
        ASSERT_NO_THROW(readPeoFile(t.ctx, file.string()));
        EXPECT_GT(t.ctx.model.objectCount(), 0);
        EXPECT_TRUE(t.ctx.model.peoVersion == 0x402 || t.ctx.model.peoVersion == 0x500);
        EXPECT_TRUE(t.errors.reports.empty());
    }
}
