// The object import from a second .peo: the header list and the window's tree, the refusals of a file and
// of an object, the appended objects with their renumbered materials and textures, the counts, the names,
// the undo of a failed commit, and a save and read-back.
#include <gtest/gtest.h>

#include <filesystem>

#include "../materials/LifFixtures.h"
#include "../model/PeoFixture.h"
#include "ObjectFixtures.h"
#include "base/AtomicFile.h"
#include "base/NumberText.h"
#include "materials/TextureSource.h"
#include "materials/state/MaterialsPageState.h"
#include "editor/context/EditingContext.h"
#include "model/LogFiles.h"
#include "model/PeoReader.h"
#include "model/PeoWriter.h"
#include "objects/MaterialImport.h"
#include "objects/ObjectImport.h"
#include "objects/ObjectLinks.h"
#include "objects/ObjectTree.h"
#include "preview/ObjectMeshes.h"

using namespace tarv;
using namespace tarv::test;
namespace fs = std::filesystem;

namespace {

FxMaterial material(const std::string& texture, uint8_t red = 10) {
    FxMaterial m;
    m.ambient = {red, 20, 30, 0};
    m.diffuse = {40, 50, 60, 0};
    m.specular = {70, 80, 90, 0};
    m.texture = texture;
    return m;
}

// An object whose polygons use the given materials, one triangle each.
FxObject objectUsing(const std::string& name, const std::vector<int16_t>& materials) {
    FxObject o = squareObject(name);
    o.polygons.clear();
    for (int16_t m : materials) {
        FxPolygon p{0, 1, 2, m, 0};
        p.reserved = 0x0102;
        o.polygons.push_back(p);
    }
    return o;
}

int32_t recordAt(int k, bool cataclysm = false) { return 68 + k * (cataclysm ? 116 : 112); }

struct ImportFixture {
    TempDir dir;
    TestContext t{dir.path()};
    EditingContext& ctx = t.ctx;
    ImportSession session;
    fs::path modelFolder = dir.path() / "ship";
    fs::path otherFolder = dir.path() / "other";

    ImportFixture() {
        fs::create_directories(modelFolder);
        fs::create_directories(otherFolder);
        ctx.currentModelPath = (modelFolder / "ship.peo").string();
        ctx.prefs.logLevel = 0;
        makeObjects(ctx, {{"base", 0}, {"Hull", 1}});
        for (PeoObject& o : ctx.model.peoObjects) {
            o.vertices = {{0, 0, 0, 0, 0}, {1, 0, 0, 0, 0}, {0, 1, 0, 0, 0}};
            o.polygons = {newPolygon(0, 1, 2, 0)};
            o.nVertices = 3;
            o.nPolygons = 1;
        }
        ctx.model.materials = {PeoMaterial{}};
        ctx.model.textures = {PeoTexture{"hull", false}};
        ctx.model.publicMaterialCount = 1;
        ctx.materialsPage->lstMaterial = {"hull"};
        ctx.materialsPage->txtPublic = "1";
        ctx.materialsPage->txtLocal = "0";
        createObjectTree(ctx);
        calcHeirachy(ctx);
        frmImport_Activate(session);
    }
    std::string writeOther(const FxFile& f, const std::string& name = "fighter.peo") {
        const fs::path path = otherFolder / name;
        buildPeo(f).bytes.writeTo(path);
        return path.string();
    }
    void writeLif(const std::string& name, int32_t width = 2) {
        ByteBuilder b;
        b.bytes(standardLif(std::vector<uint8_t>(size_t(width * 2), 1), width, 2));
        b.writeTo(otherFolder / (name + ".lif"));
    }
    void choose(const std::string& path) {
        session.StatusBar1 = path;
        importPeoObjects(ctx, session);
        createHeirachy(ctx, session);
    }
    void tick(const std::vector<int>& records) {
        for (int r : records) session.treeHeirachy.setChecked(objectKey(r), true);
    }
    std::string names() const {
        std::string text;
        for (const PeoObject& o : ctx.model.peoObjects) text += (text.empty() ? "" : " ") + o.name;
        return text;
    }
};

std::string shape(const ImportSession& s) { return treeShape(s.treeHeirachy); }

}  // namespace

TEST(ObjectImport, HomeworldAndCataclysmTwinsListAndImportTheSameObjects) {
    std::vector<std::string> shapes, imported;
    for (const int32_t version : {0x402, 0x500}) {
        ImportFixture f;
        const bool cataclysm = version == 0x500;
        FxFile file;
        file.version = version;
        file.publicMaterials = {material("wing")};
        FxObject root = squareObject("Root");
        FxObject gun = squareObject("Gun", 2);
        gun.mother = recordAt(0, cataclysm);
        gun.vertexNormals = {{0.5f, 0, 0}, {0, 0.5f, 0}, {0, 0, 0.5f}, {1, 0, 0}};
        file.objects = {root, gun};
        f.choose(f.writeOther(file));
        EXPECT_EQ(f.session.isCataclysm, cataclysm);
        shapes.push_back(shape(f.session));
        EXPECT_TRUE(f.session.cmdImportEnabled);
        EXPECT_TRUE(f.session.treeHeirachy.find("o1")->expanded || f.session.treeHeirachy.childrenOf("o1").empty());
        f.tick({1});
        EXPECT_TRUE(cmdImport_Click(f.ctx, f.session));
        ASSERT_EQ(f.ctx.model.objectCount(), 3);
        const PeoObject& o = f.ctx.model.peoObjects[2];
        EXPECT_EQ(o.name, "Gun");
        EXPECT_EQ(o.vertices[2].z, 3.0f);
        ASSERT_EQ(o.vertexNormals.size(), 4u);  // from the normal list, after the face normals
        EXPECT_EQ(o.vertexNormals[0].x, 0.5f);
        EXPECT_EQ(o.vertexNormals[3].x, 1.0f);
        EXPECT_EQ(o.polygons[0].reserved, 0);
        imported.push_back(f.names());
    }
    EXPECT_EQ(shapes[0], "o0(o1)");
    EXPECT_EQ(shapes[1], shapes[0]);
    EXPECT_EQ(imported[1], imported[0]);
}

TEST(ObjectImport, AnUnknownVersionIsRefusedAndKeepsTheLayoutOfThePreviousFile) {
    ImportFixture f;
    FxFile file;
    file.version = 0x500;
    file.publicMaterials = {material("wing")};
    file.objects = {squareObject("Root")};
    f.choose(f.writeOther(file));
    ASSERT_TRUE(f.session.isCataclysm);
    file.version = 0x401;
    file.recordSize = 112;
    const std::string path = f.writeOther(file, "odd.peo");
    f.t.prompts.expectMessage("The file " + path + " cannot be imported: unknown PEO version 1025.");
    f.choose(path);
    EXPECT_TRUE(f.session.isCataclysm);
    EXPECT_TRUE(f.session.headers.empty());
    EXPECT_EQ(f.session.treeHeirachy.count(), 0);
    EXPECT_FALSE(f.session.cmdImportEnabled);
    EXPECT_TRUE(cmdImport_Click(f.ctx, f.session) == false);  // nothing to import from
    EXPECT_EQ(f.ctx.model.objectCount(), 2);
}

TEST(ObjectImport, ImportIsDisabledUntilHeadersWereRead) {
    ImportFixture f;
    EXPECT_FALSE(f.session.cmdImportEnabled);
    EXPECT_FALSE(cmdImport_Click(f.ctx, f.session));
    EXPECT_TRUE(f.t.errors.reports.empty());
    EXPECT_EQ(f.ctx.model.objectCount(), 2);
}

TEST(ObjectImport, TheWindowsTreeChecksEveryParentLinkAndMatchesTheLiteralMoves) {
    struct Case {
        const char* what;
        std::vector<int32_t> parents;  // raw offsets per record; -1000 marks an offset between records
        std::string shape;
        int messages;
    };
    const int32_t R = 112;
    const std::vector<Case> cases{
        {"a plain hierarchy", {0, 68, 68 + R, 68}, "o0(o1(o2),o3)", 0},
        {"first record with a parent", {68 + R, 68}, "o0(o1)", 1},
        {"negative parent", {0, -5, 68}, "o0(o2,o1)", 0},
        // Record 2 goes under record 1 first; record 1 would then move into its own subtree.
        {"a loop", {0, 68 + 2 * R, 68 + R}, "o0(o1(o2))", 1},
        {"a self link", {0, 68 + R}, "o0(o1)", 1},
        {"an offset between records", {0, 68 + 10}, "o0(o1)", 1},
        {"an offset past the last record", {0, 68 + 5 * R}, "o0(o1)", 1},
        {"siblings in record order", {0, 68, 68, 68}, "o0(o1,o2,o3)", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ImportFixture f;
        FxFile file;
        file.publicMaterials = {material("wing")};
        for (size_t i = 0; i < c.parents.size(); ++i) {
            FxObject o = squareObject("R" + std::to_string(i));
            o.mother = c.parents[i];
            file.objects.push_back(o);
        }
        for (int i = 0; i < c.messages; ++i) f.t.prompts.expectMessage("Corrupted hierarchy detected!");
        f.choose(f.writeOther(file));
        EXPECT_EQ(f.t.prompts.pending(), 0u);
        EXPECT_EQ(shape(f.session), c.shape);
        for (int i = 0; i < f.session.treeHeirachy.count(); ++i)
            EXPECT_TRUE(f.session.treeHeirachy.nodeAt(i + 1).expanded ||
                        f.session.treeHeirachy.nodeAt(i + 1).children.empty());
        for (int i = 0; i < c.messages; ++i) f.t.prompts.expectMessage("Corrupted hierarchy detected!");
        ImportSession literal = std::move(f.session);
        createHeirachyLiteral(f.ctx, literal);
        EXPECT_EQ(shape(literal), c.shape);
        EXPECT_EQ(f.t.prompts.pending(), 0u);
    }
}

TEST(ObjectImport, AFileThatCannotBeTrustedIsRefusedWithItsReason) {
    struct Case {
        const char* what;
        std::function<void(ByteBuilder&)> damage;
        std::string reason;
    };
    const std::vector<Case> cases{
        {"N 0", [](ByteBuilder& b) { b.patchI32(40, 0); }, "it holds no objects"},
        {"N 40000", [](ByteBuilder& b) { b.patchI32(40, 40000); }, "it claims 40000 objects (at most 32768)"},
        {"name offset past the end", [](ByteBuilder& b) { b.patchI32(68, int32_t(b.size())); },
         "the name of object 0 lies outside the file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ImportFixture f;
        FxFile file;
        file.publicMaterials = {material("wing")};
        file.objects = {squareObject("Root")};
        ByteBuilder bytes = buildPeo(file).bytes;
        c.damage(bytes);
        const fs::path path = f.otherFolder / "bad.peo";
        bytes.writeTo(path);
        f.t.prompts.expectMessage("The file " + path.string() + " cannot be imported: " + c.reason + ".");
        f.choose(path.string());
        EXPECT_EQ(f.session.treeHeirachy.count(), 0);
        EXPECT_FALSE(f.session.cmdImportEnabled);
    }
}

TEST(ObjectImport, AnObjectThatCannotBeTrustedIsRefusedAndTheImportGoesOn) {
    struct Case {
        const char* what;
        std::function<void(FxBuilt&)> damage;
        std::string reason;
    };
    const std::vector<Case> cases{
        {"list past the end",
         [](FxBuilt& b) { b.bytes.patchI32(size_t(b.recordOffset[0]) + 24, int32_t(b.bytes.size()) - 8); },
         "its vertex list lies outside the file"},
        {"negative count", [](FxBuilt& b) { b.bytes.patchI32(size_t(b.recordOffset[0]) + 12, -1); },
         "a count is negative"},
        {"material 9 of 3", [](FxBuilt& b) { b.bytes.patchI16(size_t(b.polygonOffset[0]) + 10, 9); },
         "material 9 is not in the file's list of 3"},
        {"no polygons", [](FxBuilt& b) { b.bytes.patchI32(size_t(b.recordOffset[0]) + 20, 0); }, "it has no polygons"},
        {"texture name past the end", [](FxBuilt& b) { b.bytes.patchI32(size_t(b.publicOffset) + 20, 1 << 20); },
         "the texture name of material 0 lies outside the file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ImportFixture f;
        FxFile file;
        file.publicMaterials = {material("wing"), material("tail"), material("nose")};
        file.objects = {squareObject("Bad"), objectUsing("Good", {1})};
        FxBuilt built = buildPeo(file);
        c.damage(built);
        const fs::path path = f.otherFolder / "fighter.peo";
        built.bytes.writeTo(path);
        f.choose(path.string());
        f.tick({0, 1});
        f.t.prompts.expectMessage("Object Bad was not imported: " + c.reason + ".");
        EXPECT_TRUE(cmdImport_Click(f.ctx, f.session));
        EXPECT_EQ(f.names(), "base Hull Good");
        EXPECT_EQ(f.ctx.model.materialCount(), 2);
        EXPECT_TRUE(f.t.errors.reports.empty());
    }
}

TEST(ObjectImport, MaterialsAreAppendedInOrderOfFirstUseAndPolygonsRenumberedOnce) {
    ImportFixture f;  // one material: M = 1
    FxFile file;
    for (int i = 0; i < 8; ++i) file.publicMaterials.push_back(material("tex" + std::to_string(i)));
    file.objects = {objectUsing("Fin", {3, 1, 3, 7})};
    f.choose(f.writeOther(file));
    f.tick({0});
    cmdImport_Click(f.ctx, f.session);
    const PeoObject& fin = f.ctx.model.peoObjects[2];
    std::vector<int32_t> numbers;
    for (const PeoPolygon& p : fin.polygons) numbers.push_back(p.material);
    // 3 -> 1, 1 -> 2, 7 -> 3: the polygon of 3 is not renumbered again by the row of old number 1.
    EXPECT_EQ(numbers, (std::vector<int32_t>{1, 2, 1, 3}));
    ASSERT_EQ(f.ctx.model.materialCount(), 4);
    EXPECT_EQ(f.ctx.model.textures[size_t(f.ctx.model.materials[1].texture)].name, "fightertex3");
    EXPECT_EQ(f.ctx.model.textures[size_t(f.ctx.model.materials[2].texture)].name, "fightertex1");
    EXPECT_EQ(f.ctx.model.textures[size_t(f.ctx.model.materials[3].texture)].name, "fightertex7");
    EXPECT_EQ(f.ctx.materialsPage->lstMaterial,
              (std::vector<std::string>{"hull", "fightertex3", "fightertex1", "fightertex7"}));
    for (const PeoMaterial& m : f.ctx.model.materials) EXPECT_EQ(m.filePosition, 0);
    EXPECT_EQ(getMaterialCount(f.ctx, 2), 3);
    EXPECT_EQ(getMaterialNoFromObj(f.ctx, 2, 2, 3), 3);
    EXPECT_NE(readText(startupLogPath(f.ctx)).find("^^ 3"), std::string::npos);
}

TEST(ObjectImport, TheHeaderCountsFollowTheTable) {
    struct Case {
        int16_t P, L;
        int materials;
        int16_t newP, newL;
        std::string txtPublic, txtLocal;
        bool message;
    };
    const std::vector<Case> cases{{5, 0, 2, 7, 0, "7", "0", false},
                                  {0, 0, 2, 0, 2, "0", "2", false},
                                  {3, 2, 1, 0, 6, "0", "6", false},
                                  {-1, 0, 1, 0, 2, "0", "2", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.P) + "/" + std::to_string(c.L));
        ImportFixture f;
        f.ctx.model.publicMaterialCount = c.P;
        f.ctx.model.localMaterialCount = c.L;
        f.ctx.materialsPage->txtPublic = intText(c.P);
        f.ctx.materialsPage->txtLocal = intText(c.L);
        FxFile file;
        file.publicMaterials = {material("a"), material("b")};
        file.objects = {objectUsing("Fin", c.materials == 2 ? std::vector<int16_t>{0, 1} : std::vector<int16_t>{0})};
        f.choose(f.writeOther(file));
        f.tick({0});
        if (c.message)
            f.t.prompts.expectMessage(
                "There's something seriously wrong with the material counts,\r\nTARV will try to fix this. Please "
                "check the material counts in the <Materials>-tab.");
        cmdImport_Click(f.ctx, f.session);
        EXPECT_EQ(f.ctx.model.publicMaterialCount, c.newP);
        EXPECT_EQ(f.ctx.model.localMaterialCount, c.newL);
        EXPECT_EQ(f.ctx.materialsPage->txtPublic, c.txtPublic);
        EXPECT_EQ(f.ctx.materialsPage->txtLocal, c.txtLocal);
    }
}

TEST(ObjectImport, ClashingEmptyAndDeletedNamesGetTheCloneRulesUniqueName) {
    ImportFixture f;
    FxFile file;
    file.publicMaterials = {material("a")};
    file.objects = {squareObject("Hull"), squareObject("Hull"), squareObject(""), squareObject("Gun")};
    f.choose(f.writeOther(file));
    f.tick({0, 1, 2, 3});
    cmdImport_Click(f.ctx, f.session);
    EXPECT_EQ(f.names(), "base Hull Hull2 Hull3 2 Gun");
    EXPECT_NE(f.t.status.logBox.find("Imported object Hull renamed to Hull2."), std::string::npos);
    // Every name is a node text once; the links found each object's own node.
    for (int i = 2; i < f.ctx.model.objectCount(); ++i) {
        EXPECT_EQ(f.ctx.shell.treeHeirachy.parentOf(objectKey(i)), "o0");
        EXPECT_EQ(f.ctx.model.peoObjects[size_t(i)].mother, 1);
    }
}

// A renamed object never takes the name of a live object: "Gun0a" renamed by the rule is "Gun0a2", of another
// family, so a second import of it takes the rule's next number. The links in memory and in the saved file
// follow the tree.
TEST(ObjectImport, ARenamedObjectNeverTakesTheNameOfALiveObject) {
    struct Case {
        const char* name;
        std::vector<std::string> objects;  // of the file, all ticked
        int imports;
        std::string names;
        std::vector<std::string> links;
    };
    const Case cases[] = {
        {"one file three times", {"Gun0a"}, 3, "base Hull Gun0a Gun0a2 Gun0a3",
         {"0/2/0", "1/0/3", "1/0/4", "1/0/5", "1/0/0"}},
        {"twice in one file, imported twice", {"Gun0a", "Gun0a"}, 2, "base Hull Gun0a Gun0a2 Gun0a3 Gun0a4",
         {"0/2/0", "1/0/3", "1/0/4", "1/0/5", "1/0/6", "1/0/0"}},
    };
    for (const Case& c : cases) {
        ImportFixture f;
        FxFile file;
        file.publicMaterials = {material("a")};
        for (const std::string& name : c.objects) file.objects.push_back(squareObject(name));
        const std::string path = f.writeOther(file);
        for (int i = 0; i < c.imports; ++i) {
            f.choose(path);
            for (int r = 0; r < int(c.objects.size()); ++r) f.tick({r});
            cmdImport_Click(f.ctx, f.session);
        }
        EXPECT_EQ(f.names(), c.names) << c.name;
        EXPECT_EQ(linkTexts(f.ctx), c.links) << c.name;
        EXPECT_EQ(savedLinkTexts(f.ctx, f.dir.path()), c.links) << c.name;
        EXPECT_TRUE(f.t.errors.reports.empty()) << c.name;
    }
}

TEST(ObjectImport, AFailedCommitLeavesTheModelAsItWasAndTheNextImportTakesTheSameSlot) {
    ImportFixture f;
    FxFile file;
    file.publicMaterials = {material("a"), material("b")};
    file.objects = {objectUsing("Fin", {0, 1}), squareObject("Tail")};
    f.writeLif("a");
    f.choose(f.writeOther(file));
    f.tick({0});
    int calls = 0;
    f.session.commitProbe = [&calls](EditingContext&) {
        if (calls++ == 0) throw RunTimeError::invalidCall();
    };
    const auto texturesBefore = f.ctx.model.textures.size();
    cmdImport_Click(f.ctx, f.session);
    ASSERT_EQ(f.t.errors.reports.size(), 1u);
    EXPECT_EQ(f.t.errors.reports[0].procedure, "loadObject");
    EXPECT_EQ(f.t.errors.reports[0].arguments, "0");
    EXPECT_EQ(f.ctx.model.objectCount(), 2);
    EXPECT_EQ(f.ctx.view.viewObjects.size(), 2u);
    EXPECT_EQ(f.ctx.model.materialCount(), 1);
    EXPECT_EQ(f.ctx.model.textures.size(), texturesBefore);
    EXPECT_EQ(f.ctx.materialsPage->lstMaterial.size(), 1u);
    EXPECT_TRUE(f.ctx.preview.lstTextures.empty());
    EXPECT_TRUE(f.ctx.preview.ctlThumbs.items().empty());
    EXPECT_EQ(f.ctx.model.publicMaterialCount, 1);
    EXPECT_EQ(f.ctx.materialsPage->txtPublic, "1");
    EXPECT_EQ(f.ctx.shell.treeHeirachy.find("o2"), nullptr);
    EXPECT_EQ(f.ctx.objects.cmbObjectList.size(), 2u);
    EXPECT_TRUE(fs::exists(f.modelFolder / "fightera.lif"));  // a copy already made stays

    f.session.treeHeirachy.setChecked("o0", false);
    f.tick({1});
    cmdImport_Click(f.ctx, f.session);
    EXPECT_EQ(f.names(), "base Hull Tail");
    EXPECT_EQ(f.ctx.shell.treeHeirachy.count(), 3);
    EXPECT_EQ(f.ctx.objects.cmbObjectList.size(), 3u);
}

TEST(ObjectImport, NothingTickedSetsTheCaptionAndHides) {
    ImportFixture f;
    FxFile file;
    file.publicMaterials = {material("a")};
    file.objects = {squareObject("Fin")};
    f.choose(f.writeOther(file));
    EXPECT_TRUE(cmdImport_Click(f.ctx, f.session));
    EXPECT_EQ(f.ctx.model.objectCount(), 2);
    EXPECT_EQ(f.ctx.preview.ctlThumbs.Caption, "1 textures loaded");
}

TEST(ObjectImport, AChildAloneHangsFromTheModelFrameAndSavesUnderTheBase) {
    ImportFixture f;
    FxFile file;
    file.publicMaterials = {material("a")};
    FxObject root = squareObject("Root");
    FxObject child = squareObject("Child", 1);
    child.mother = recordAt(0);
    for (int i = 0; i < 16; ++i) child.fileMatrix[size_t(i)] = i % 5 == 0 ? 1.0f : 0.0f;
    child.fileMatrix[12] = 7;  // the translation in file order
    file.objects = {root, child};
    f.choose(f.writeOther(file));
    f.tick({1});
    cmdImport_Click(f.ctx, f.session);
    ASSERT_EQ(f.names(), "base Hull Child");
    const PeoObject& o = f.ctx.model.peoObjects[2];
    EXPECT_EQ(o.matrix[3], 7);
    EXPECT_EQ(o.mother, 1);
    const ViewObject& view = f.ctx.view.viewObjects[2];
    EXPECT_EQ(view.frame->getParent(), f.ctx.view.modelFrame);
    EXPECT_EQ(view.shown, -1);
    EXPECT_EQ(f.ctx.shell.treeHeirachy.parentOf("o2"), "o0");
    EXPECT_TRUE(f.ctx.shell.treeHeirachy.find("o2")->checked);
    EXPECT_EQ(f.ctx.objects.cmbMatrixObjectList.back(), "Child");

    const std::string saved = (f.dir.path() / "saved.peo").string();
    fixHierarchy(f.ctx);
    writePeoFile(f.ctx, saved, false);
    TempDir other;
    TestContext back(other.path());
    back.prompts.answerYesNoCycling({false});
    back.ctx.prefs.logLevel = 0;
    readPeoFile(back.ctx, saved);
    ASSERT_EQ(back.ctx.model.objectCount(), 3);
    EXPECT_EQ(back.ctx.model.peoObjects[2].name, "Child");
    EXPECT_EQ(back.ctx.model.peoObjects[2].mother, 1);
    EXPECT_EQ(back.ctx.model.peoObjects[2].vertices, o.vertices);
    EXPECT_EQ(back.ctx.model.textures[size_t(back.ctx.model.materials[1].texture)].name, "fightera");
}

// ---- getMaterialFromFile ----

TEST(MaterialImport, TexturesAreCopiedDrawnListedAndSharedByModelName) {
    ImportFixture f;
    FxFile file;
    file.publicMaterials = {material("wing"), material("wing"), material("Wing")};
    file.objects = {objectUsing("A", {0, 1, 2}), objectUsing("B", {0})};
    f.writeLif("wing", 2);
    f.writeLif("Wing", 4);
    fs::path target = f.modelFolder / "fighterwing.lif";
    writeBytes(target, {1, 2, 3});  // an existing target is replaced
    ByteBuilder bmp;
    bmp.str("user's own picture");
    bmp.writeTo(f.otherFolder / "t.bmp");
    f.choose(f.writeOther(file));
    f.tick({0, 1});
    cmdImport_Click(f.ctx, f.session);
    ShipModel& model = f.ctx.model;
    ASSERT_EQ(model.materialCount(), 5);
    // Two materials of one texture share it; names differing in case are two textures.
    EXPECT_EQ(model.materials[1].texture, model.materials[2].texture);
    EXPECT_NE(model.materials[3].texture, model.materials[1].texture);
    EXPECT_EQ(model.materials[4].texture, model.materials[1].texture);
    ASSERT_EQ(model.textures.size(), 3u);
    EXPECT_EQ(model.textures[1].name, "fighterwing");
    EXPECT_EQ(model.textures[2].name, "fighterWing");
    EXPECT_TRUE(model.textures[1].loaded);
    EXPECT_EQ(readWholeFile(target), readWholeFile(f.otherFolder / "wing.lif"));
    ASSERT_EQ(f.ctx.preview.lstTextures.size(), 2u);
    EXPECT_EQ(f.ctx.preview.lstTextures[0].name, "fighterwing");
    EXPECT_EQ(f.ctx.preview.lstTextures[0].subItems, (std::vector<std::string>{"2", "2", "50"}));
    EXPECT_EQ(f.ctx.preview.lstTextures[1].subItems[0], "4");
    ASSERT_EQ(f.ctx.preview.ctlThumbs.items().size(), 2u);
    const Thumbnail& thumb = f.ctx.preview.ctlThumbs.items()[0];
    EXPECT_EQ(thumb.path, target.string());
    EXPECT_FALSE(thumb.picture.empty());
    EXPECT_NE(f.ctx.view.textureAt(1), nullptr);
    EXPECT_EQ(f.ctx.preview.ctlThumbs.Caption, "3 textures loaded");
    // No temporary picture: the user's t.bmp is untouched and no .bmp appears anywhere.
    EXPECT_EQ(readText(f.otherFolder / "t.bmp"), "user's own picture");
    int bmps = 0;
    for (const auto& entry : fs::recursive_directory_iterator(f.dir.path()))
        if (entry.path().extension() == ".bmp") ++bmps;
    EXPECT_EQ(bmps, 1);
    const std::string log = f.t.status.logBox;
    EXPECT_NE(log.find("Getting material: 0"), std::string::npos);
    EXPECT_NE(log.find("- Material: 0 name: fighterwing textureNo: 1"), std::string::npos);
    EXPECT_NE(log.find("- Texture: fighterwing"), std::string::npos);

    // Importing again from the same file finds every texture: nothing is copied or listed again.
    fs::remove(target);
    f.choose(f.writeOther(file));
    f.tick({1});
    cmdImport_Click(f.ctx, f.session);
    EXPECT_EQ(model.textures.size(), 3u);
    EXPECT_EQ(f.ctx.preview.lstTextures.size(), 2u);
    EXPECT_FALSE(fs::exists(target));
}

TEST(MaterialImport, TwoFilesWithOneTextureNameGiveTwoTexturesAndTwoCopies) {
    ImportFixture f;
    FxFile file;
    file.publicMaterials = {material("hull")};
    file.objects = {objectUsing("A", {0})};
    f.writeLif("hull");
    f.choose(f.writeOther(file, "one.peo"));
    f.tick({0});
    cmdImport_Click(f.ctx, f.session);
    f.choose(f.writeOther(file, "two.peo"));
    f.tick({0});
    cmdImport_Click(f.ctx, f.session);
    ASSERT_EQ(f.ctx.model.textures.size(), 3u);
    EXPECT_EQ(f.ctx.model.textures[1].name, "onehull");
    EXPECT_EQ(f.ctx.model.textures[2].name, "twohull");
    EXPECT_TRUE(fs::exists(f.modelFolder / "onehull.lif"));
    EXPECT_TRUE(fs::exists(f.modelFolder / "twohull.lif"));
}

TEST(MaterialImport, AMissingLifGivesARowAndACaptionedThumbnailOfTheModelCopysPath) {
    ImportFixture f;
    FxFile file;
    file.publicMaterials = {material("gone")};
    file.objects = {objectUsing("A", {0})};
    f.choose(f.writeOther(file));
    f.tick({0});
    cmdImport_Click(f.ctx, f.session);
    ASSERT_EQ(f.ctx.model.textures.size(), 2u);
    EXPECT_FALSE(f.ctx.model.textures[1].loaded);
    ASSERT_EQ(f.ctx.preview.lstTextures.size(), 1u);
    EXPECT_TRUE(f.ctx.preview.lstTextures[0].subItems.empty());
    ASSERT_EQ(f.ctx.preview.ctlThumbs.items().size(), 1u);
    EXPECT_EQ(f.ctx.preview.ctlThumbs.items()[0].path, (f.modelFolder / "fightergone.lif").string());
    EXPECT_TRUE(f.ctx.preview.ctlThumbs.items()[0].picture.empty());
    EXPECT_FALSE(fs::exists(f.modelFolder / "fightergone.lif"));
}

TEST(MaterialImport, ColoursFlagsAndTheNoTextureName) {
    ImportFixture f;
    FxFile file;
    FxMaterial reversed = material("");  // texture name offset 0: the identifier
    reversed.ambient = {1, 2, 3, 9};
    reversed.flags = 0x0042;
    reversed.kAlpha = 0.25f;
    reversed.fullAmbient = 3;
    file.publicMaterials = {reversed};
    file.objects = {objectUsing("A", {0})};
    const std::string path = f.writeOther(file);
    const BinaryReader reader = BinaryReader::fromFile(path);
    const ImportedMaterialEntry checked = checkMaterialFromFile(reader, 0);
    EXPECT_EQ(checked.textureName, "RMF99ba");
    const int before = f.ctx.model.materialCount();
    LifTextureSource source(f.ctx);
    const PeoMaterial m = getMaterialFromFile(f.ctx, source, path, 0, checked);
    EXPECT_EQ(m.ambient, (ColourBytes{3, 2, 1, 0}));
    EXPECT_EQ(m.diffuse, (ColourBytes{40, 50, 60, 0}));
    EXPECT_TRUE(m.smoothing);
    EXPECT_TRUE(m.selfIlluminated);
    EXPECT_FALSE(m.flatShaded || m.twoSided || m.baseColour || m.stripeColour);
    EXPECT_EQ(m.kAlpha, 0.25f);
    EXPECT_EQ(m.fullAmbient, 3);
    EXPECT_EQ(m.filePosition, 0);
    EXPECT_EQ(f.ctx.model.textures[size_t(m.texture)].name, "RMF99ba");
    EXPECT_EQ(f.ctx.model.materialCount(), before);  // the caller appends it
    const scene::MaterialPtr preview = f.ctx.view.materialAt(size_t(before));
    ASSERT_NE(preview, nullptr);
    EXPECT_FLOAT_EQ(float(preview->ambient().r), 1 / 255.0f);  // as stored
    EXPECT_FLOAT_EQ(float(preview->emissive().r), 1.0f);
}

TEST(MaterialImport, BaseNamesAndModelNames) {
    EXPECT_EQ(importBaseName("C:\\ships\\fighter.peo"), "fighter");
    EXPECT_EQ(importBaseName("/ships/my.ship.peo"), "my.ship");
    EXPECT_EQ(importBaseName("/ships/noextension"), "noextension");  // the whole name
    EXPECT_EQ(importTextureName("/ships/fighter.peo", "hull"), "fighterhull");
    EXPECT_EQ(importTextureName("/ships/fighter.peo", "RMF97ba"), "RMF97ba");
}

TEST(ObjectImport, TheSwitchColoursBoxSwapsRedAndBlueOfImportedMaterials) {
    ImportFixture f;
    f.ctx.live.chkSwitchClrs = true;
    FxFile file;
    file.publicMaterials = {material("a", 10)};
    file.objects = {objectUsing("Fin", {0})};
    f.choose(f.writeOther(file));
    f.tick({0});
    cmdImport_Click(f.ctx, f.session);
    ASSERT_EQ(f.ctx.model.materialCount(), 2);
    EXPECT_EQ(f.ctx.model.materials[1].ambient, (ColourBytes{30, 20, 10, 0}));
    EXPECT_EQ(f.ctx.model.materials[1].diffuse, (ColourBytes{60, 50, 40, 0}));
    EXPECT_EQ(f.ctx.model.materials[1].specular, (ColourBytes{90, 80, 70, 0}));
}

TEST(ObjectImport, TheOpenDialogStartsInTheModelFolderElseTheCustomFolderElseHome) {
    ImportFixture f;
    f.ctx.prefs.useCustomStartDir = true;
    f.ctx.prefs.customStartDir = "/custom/start/";
    f.t.prompts.expectOpen(std::nullopt).expectOpen(std::nullopt).expectOpen(std::nullopt);
    mnuFileImport_Click(f.ctx, f.session);
    f.ctx.currentModelPath.clear();
    mnuFileImport_Click(f.ctx, f.session);
    f.ctx.prefs.useCustomStartDir = false;
    mnuFileImport_Click(f.ctx, f.session);
    ASSERT_EQ(f.t.prompts.shown.size(), 3u);
    EXPECT_EQ(f.t.prompts.shown[0].request.initialFolder, f.modelFolder.string() + "/");
    EXPECT_EQ(f.t.prompts.shown[1].request.initialFolder, "/custom/start/");
    const char* home = std::getenv("HOME");
    EXPECT_EQ(f.t.prompts.shown[2].request.initialFolder, home && *home ? std::string(home) + "/" : std::string());
    EXPECT_EQ(f.t.prompts.shown[0].request.filterIndex, 2);
    EXPECT_TRUE(f.session.StatusBar1.empty());  // a cancel changes nothing
    EXPECT_EQ(f.session.treeHeirachy.count(), 0);
}
