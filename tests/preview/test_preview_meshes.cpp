// The preview's materials, texture pass and object meshes.
#include <gtest/gtest.h>

#include <any>
#include <cmath>

#include "../model/PeoFixture.h"
#include "Fakes.h"
#include "PreviewFixtures.h"
#include "TempDir.h"
#include "model/PeoReader.h"
#include "preview/MaterialPreview.h"
#include "editor/context/EditingContext.h"

using namespace tarv;
using namespace tarv::test;
namespace fs = std::filesystem;

namespace {

class PreviewMaterialsTest : public ::testing::Test {
protected:
    TempDir dir;
    TestContext t{dir.path()};
    FakeTextureSource source;
    PreviewMaterialHook hook{source};

    void SetUp() override { t.ctx.services.materialPreview = &hook; }

    // Three materials on two texture names; the second material is self-illuminated (flag 64).
    std::string writeModel(const std::string& name = "ship.peo") {
        FxFile f;
        FxMaterial a, b, c;
        a.texture = "hull";
        a.ambient = {10, 20, 30, 255};
        a.specular = {255, 0, 51, 0};
        b.texture = "hull";
        b.flags = 64;
        c.texture = "engine";
        f.publicMaterials = {a, b, c};
        f.objects = {tarv::test::squareObject("root")};
        const fs::path path = dir / name;
        writeBytes(path, buildPeo(f).data());
        return path.string();
    }
    void load(const std::string& path) {
        t.ctx.currentModelPath = path;
        readPeoFile(t.ctx, path);
    }
    static scene::MaterialPtr material(const EditingContext& ctx, size_t index) { return ctx.view.materialAt(index); }
};

TEST_F(PreviewMaterialsTest, OneTexturePresentAndOneMissing) {
    t.ctx.prefs.logLevel = 3;
    writeText(dir / "hull.lif", "x");
    source.files["hull.lif"] = {64, 32, 7};
    load(writeModel());
    const PreviewState& p = t.ctx.preview;

    ASSERT_EQ(p.lstTextures.size(), 2u);
    EXPECT_EQ(p.lstTextures[0].name, "hull");
    EXPECT_EQ(p.lstTextures[0].subItems, (std::vector<std::string>{"64", "32", "7"}));
    EXPECT_EQ(p.lstTextures[1].name, "engine");
    EXPECT_TRUE(p.lstTextures[1].subItems.empty());

    ASSERT_EQ(p.ctlThumbs.items().size(), 2u);
    EXPECT_EQ(p.ctlThumbs.items()[0].caption, "hull");
    EXPECT_EQ(p.ctlThumbs.items()[0].path, (dir / "hull.lif").string());
    EXPECT_FALSE(p.ctlThumbs.items()[0].picture.empty());
    EXPECT_EQ(p.ctlThumbs.items()[1].caption, "engine");
    EXPECT_EQ(p.ctlThumbs.items()[1].path, (dir / "engine.lif").string());
    EXPECT_TRUE(p.ctlThumbs.items()[1].picture.empty());
    EXPECT_EQ(p.ctlThumbs.Caption, "2 textures loaded");

    const auto& textures = t.ctx.model.textures;
    EXPECT_TRUE(textures[0].loaded);
    EXPECT_FALSE(textures[1].loaded);
    ASSERT_NE(t.ctx.view.textureAt(0), nullptr);
    EXPECT_EQ(t.ctx.view.textureAt(0)->image(), p.ctlThumbs.items()[0].picture);
    EXPECT_EQ(source.loaded, (std::vector<std::string>{(dir / "hull.lif").string()}));
    EXPECT_NE(std::find(t.status.statusHistory.begin(), t.status.statusHistory.end(), "Getting Texture engine.lif"),
              t.status.statusHistory.end());
    EXPECT_NE(readText(dir / "ship.log").find("  -> lif texture 0 as " + (dir / "hull.lif").string()),
              std::string::npos);
}

TEST_F(PreviewMaterialsTest, FoundWhateverTheLetterCaseAndNoFileIsWritten) {
    writeText(dir / "HULL.LIF", "x");
    writeText(dir / "hull.bmp", "the user's own picture");  // a name the texture pass must leave alone
    source.files["HULL.LIF"] = {};
    load(writeModel());
    EXPECT_TRUE(t.ctx.model.textures[0].loaded);
    EXPECT_EQ(source.loaded, (std::vector<std::string>{(dir / "HULL.LIF").string()}));
    ASSERT_EQ(t.ctx.preview.ctlThumbs.items().size(), 2u);
    EXPECT_EQ(t.ctx.preview.ctlThumbs.items()[0].caption, "hull") << "the name as the model gives it";
    EXPECT_EQ(t.ctx.preview.ctlThumbs.items()[0].path, (dir / "HULL.LIF").string());
    EXPECT_EQ(readText(dir / "hull.bmp"), "the user's own picture");
    // Nothing but the model, its log and the user's files in the folder.
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir.path())) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"HULL.LIF", "hull.bmp", "ship.log", "ship.peo"}));
}

TEST_F(PreviewMaterialsTest, ReadButNotDrawnListsTheNameOnly) {
    writeText(dir / "hull.lif", "x");
    source.files["hull.lif"] = {1, 1, 1, LifReadResult::Failed};
    load(writeModel());
    EXPECT_FALSE(t.ctx.model.textures[0].loaded);
    EXPECT_TRUE(t.ctx.preview.lstTextures[0].subItems.empty());
    EXPECT_EQ(t.ctx.preview.ctlThumbs.items().size(), 1u);  // only the missing one
}

TEST_F(PreviewMaterialsTest, LayerFollowsDrawTeamColours) {
    writeText(dir / "hull.lif", "x");
    source.files["hull.lif"] = {};
    for (bool team : {false, true}) {
        t.ctx.prefs.drawTeamColours = team;
        source.layers.clear();
        load(writeModel());
        EXPECT_EQ(source.layers, (std::vector<int>{team ? 7 : 1}));
        const Image& image = t.ctx.view.textureAt(0)->image();
        EXPECT_EQ(image.at(0, 0), team ? (Rgba{0, 0, 255, 255}) : (Rgba{255, 0, 0, 255}));
    }
}

TEST_F(PreviewMaterialsTest, AmbientAndSpecularFromTheFileBytesEmissiveOnlyWhenSelfIlluminated) {
    load(writeModel());
    const auto& m = t.ctx.model.materials;
    ASSERT_EQ(m.size(), 3u);
    const scene::Rgb ambient = material(t.ctx, 0)->ambient();
    EXPECT_FLOAT_EQ(ambient.r, 10 / 255.f);
    EXPECT_FLOAT_EQ(ambient.g, 20 / 255.f);
    EXPECT_FLOAT_EQ(ambient.b, 30 / 255.f);
    EXPECT_EQ(m[0].ambient, (ColourBytes{30, 20, 10, 0}));  // the model keeps red, green, blue order
    const scene::Rgb specular = material(t.ctx, 0)->specular();
    EXPECT_FLOAT_EQ(specular.r, 1.f);
    EXPECT_FLOAT_EQ(specular.b, 0.2f);
    EXPECT_EQ(material(t.ctx, 0)->emissive(), (scene::Rgb{0, 0, 0}));
    EXPECT_EQ(material(t.ctx, 1)->emissive(), (scene::Rgb{1, 1, 1}));
    EXPECT_EQ(material(t.ctx, 2)->emissive(), (scene::Rgb{0, 0, 0}));
    EXPECT_EQ(material(t.ctx, 0)->power(), 0);
}

TEST(Thumbnails, CaptionAndStoredPath) {
    ThumbnailList list;
    list.Add("C:\\ships\\hull.bmp", true);
    list.Add("/x/y/tex.old.png", false);
    EXPECT_EQ(list.items()[0].caption, "hull");
    EXPECT_EQ(list.items()[0].path, "C:\\ships\\hull.lif");
    EXPECT_EQ(list.items()[1].caption, "tex.old");
    EXPECT_EQ(list.items()[1].path, "/x/y/tex.old.png");
    list.Clear();
    EXPECT_TRUE(list.items().empty());
}

// ---- Object meshes -------------------------------------------------------------------------------------

class ObjectMeshTest : public ::testing::Test {
protected:
    TempDir dir;
    TestContext t{dir.path()};
    ShipModel& model = t.ctx.model;

    void SetUp() override { t.ctx.currentModelPath = (dir / "ship.peo").string(); }
    void build(int objNo) {
        t.ctx.view.viewObjects.resize(size_t(model.objectCount()));
        create3dObject(t.ctx, int16_t(objNo));
    }
    const ViewObject& view(int i) { return t.ctx.view.viewObjects[size_t(i)]; }
    const std::vector<scene::FacePtr>& faces(int i) { return view(i).mesh->faces(); }
    std::string startupLog() {
        const fs::path p = dir / "tarv.log";
        return fs::exists(p) ? readText(p) : std::string();
    }
};

TEST_F(ObjectMeshTest, OwnColours) {
    for (int i = 0; i < 4; ++i) model.peoObjects.push_back(squarePeoObject("o" + std::to_string(i)));
    for (int i = 0; i < 4; ++i) build(i);
    EXPECT_EQ(view(0).colour, (ViewColour{0, 0, 1}));
    EXPECT_EQ(view(2).colour, (ViewColour{0.5f, 0.5f, 0.5f}));
    EXPECT_EQ(faces(2)[0]->color(), scene::createColorRGBA(0.5, 0.5, 0.5, 1));
    EXPECT_EQ(view(0).mesh->quality(), 136);
    EXPECT_EQ(view(1).frame->getName(), "peo_o1");
    EXPECT_EQ(view(1).frame->getParent(), nullptr);
    EXPECT_EQ(view(1).frame->visuals(), (std::vector<scene::MeshPtr>{view(1).mesh}));
    EXPECT_EQ(view(1).size, (Vector3{10, 10, 2}));
    EXPECT_EQ(view(1).name, "o1");
    EXPECT_EQ(view(1).shown, 0);
    EXPECT_EQ(objectOwnColour(1, 3).red, float(1.0 * (1.0 / 3.0)));
}

TEST_F(ObjectMeshTest, FacesKeepCornersAndTextureCoordinatesWithoutMaterials) {
    PeoObject o = squarePeoObject("hull", 10, 0);
    o.polygons[0].s1 = 0.25f;
    o.polygons[0].t2 = -3.5f;  // passed unchanged, whatever the value
    model.peoObjects = {o};
    build(0);
    ASSERT_EQ(faces(0).size(), 2u);
    const auto& f = *faces(0)[0];
    EXPECT_EQ(f.vertices(), (std::vector<scene::Vec3>{{0, 0, 0}, {10, 0, 0}, {10, 10, 0}}));
    EXPECT_EQ(f.textureCoordinates()[1].u, 0.25f);
    EXPECT_EQ(f.textureCoordinates()[2].v, -3.5f);
    EXPECT_EQ(f.texture(), nullptr);
    EXPECT_EQ(f.material(), nullptr);
    EXPECT_EQ(startupLog(), "");
    EXPECT_EQ(readText(dir / "ship.log").find("face count for material"), std::string::npos);
}

TEST_F(ObjectMeshTest, MaterialIndexOutsideTheList) {
    addMaterial(t.ctx, "hull", true);
    PeoObject o = squarePeoObject("hull", 10, 1);  // index equal to the count
    o.polygons[1].material = -1;
    model.peoObjects = {o};
    build(0);
    ASSERT_EQ(faces(0).size(), 2u);
    EXPECT_EQ(faces(0)[0]->texture(), nullptr);
    EXPECT_EQ(faces(0)[1]->material(), nullptr);
    EXPECT_EQ(startupLog(), "Material value of: 1 is greater than number of materials: 1\r\n");
}

TEST_F(ObjectMeshTest, TwoSidedWithAndWithoutALoadedTexture) {
    t.ctx.prefs.logLevel = 2;
    for (bool loaded : {true, false}) {
        model = {};
        addMaterial(t.ctx, "hull", loaded, true);
        model.peoObjects = {squarePeoObject("hull")};
        build(0);
        ASSERT_EQ(faces(0).size(), 4u);
        const auto& front = *faces(0)[0];
        const auto& back = *faces(0)[1];
        EXPECT_EQ(back.vertices(), (std::vector<scene::Vec3>{{0, 0, 0}, {10, 10, 0}, {10, 0, 0}}));
        EXPECT_EQ(back.textureCoordinates()[1].u, front.textureCoordinates()[2].u);
        EXPECT_EQ(back.textureCoordinates()[1].v, front.textureCoordinates()[2].v);
        EXPECT_EQ(back.textureCoordinates()[2].u, front.textureCoordinates()[1].u);
        EXPECT_EQ(front.texture() != nullptr, loaded);
        EXPECT_EQ(back.texture() != nullptr, loaded);
        EXPECT_EQ(back.material() != nullptr, loaded);
    }
    EXPECT_NE(readText(dir / "ship.log").find("  Object hull face count for material 0 hull: 2"), std::string::npos);
}

TEST_F(ObjectMeshTest, OnePolygonRunsTheProgressFromZeroToOne) {
    PeoObject o = squarePeoObject("one");
    o.polygons.resize(1);
    model.peoObjects = {o};
    build(0);
    EXPECT_EQ(t.status.status2Bar.maximum, 1);
    EXPECT_EQ(t.status.status2Bar.value, 0);
    EXPECT_GE(t.status.eventPumps, 1);
    EXPECT_EQ(t.status.status, "Optimizing mesh");
}

TEST_F(ObjectMeshTest, StatisticsAndParentLines) {
    for (int i = 0; i < 4; ++i) model.peoObjects.push_back(squarePeoObject("o" + std::to_string(i)));
    model.peoObjects[3].mother = 2;
    for (int i = 0; i < 4; ++i) build(i);
    const std::string& box = t.status.logBox;
    EXPECT_NE(box.find("\r\n Statistics for object 3 :\r\n  - name = ' o3 '\r\n  - 4 vertices\r\n  - 2 polygons"),
              std::string::npos);
    EXPECT_NE(box.find("  - parent object is object 1\r\n"), std::string::npos);
    EXPECT_NE(box.find("   ( object is it's own parent )\r\n"), std::string::npos);
    EXPECT_NE(box.find("  - parent object is object -1\r\n"), std::string::npos);
}

TEST_F(ObjectMeshTest, SameNamedObjectsGetSameNamedFrames) {
    model.peoObjects = {squarePeoObject("twin "), squarePeoObject("twin ")};
    build(0);
    build(1);
    EXPECT_EQ(view(0).frame->getName(), "peo_twin ");
    EXPECT_EQ(view(1).frame->getName(), "peo_twin ");
    EXPECT_NE(view(0).frame, view(1).frame);
}

TEST_F(ObjectMeshTest, RebuildingAShownObject) {
    model.peoObjects = {squarePeoObject("hull")};
    build(0);
    ViewObject& v = t.ctx.view.viewObjects[0];
    scene::FramePtr parent = scene::createFrame();
    parent->addChild(v.frame);
    v.shown = -1;
    const scene::FramePtr oldFrame = v.frame;
    const scene::MeshPtr oldMesh = v.mesh;
    build(0);
    EXPECT_TRUE(oldFrame->visuals().empty());
    EXPECT_EQ(oldFrame->getParent(), parent);
    EXPECT_EQ(v.shown, 0);
    EXPECT_NE(v.mesh, oldMesh);
    EXPECT_EQ(v.frame->getParent(), nullptr);
}

TEST_F(ObjectMeshTest, PolygonWithACornerOutsideTheVerticesGetsNoFace) {
    addMaterial(t.ctx, "hull", true, true);
    PeoObject o = squarePeoObject("hull");
    o.polygons.insert(o.polygons.begin() + 1, PeoPolygon{0, 7, 2, 0});
    o.polygons.push_back(PeoPolygon{-1, 1, 2, 0});
    model.peoObjects = {o};
    build(0);
    // The two sound polygons, each two-sided; the damaged ones have neither side, and the build ran on.
    EXPECT_EQ(faces(0).size(), 4u);
    EXPECT_EQ(view(0).frame->getName(), "peo_hull");
}

}  // namespace
