// Mesh builders, faces and colours; and picking: a CPU ray cast through the viewport.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "base/RunTimeError.h"
#include "scene/Scene.h"

using namespace tarv;
using namespace tarv::scene;

namespace {

FacePtr triangle(const Vec3& a, const Vec3& b, const Vec3& c) {
    auto f = createFace();
    for (const Vec3& v : {a, b, c}) f->addVertex(v.x, v.y, v.z);
    return f;
}

// A square in the plane z = height, facing +z when up is true.
MeshPtr square(double half, double height, bool up = true) {
    auto mesh = createMeshBuilder();
    auto f = createFace();
    const double s = up ? 1 : -1;
    f->addVertex(-half, -half * s, height);
    f->addVertex(half, -half * s, height);
    f->addVertex(half, half * s, height);
    f->addVertex(-half, half * s, height);
    mesh->addFace(f);
    return mesh;
}

// The preview's scene at Reset View: world +x up, +y right, the camera at z = 100 looking down -z.
struct PickScene {
    FramePtr root = createSceneRoot();
    Viewport viewport{root};
    FramePtr world = createFrame(root);
    PickScene() {
        viewport.setSize(200, 200);
        viewport.getCamera()->setOrientation(nullptr, {0, 0, -1}, {1, 0, 0});
        viewport.getCamera()->setPosition(nullptr, 0, 0, 100);
    }
};

}  // namespace

TEST(Meshes, ColourGoesToTheFacesAlreadyAddedOnly) {
    auto mesh = createMeshBuilder();
    auto first = triangle({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
    mesh->addFace(first);
    mesh->setColorRGB(2.0, 0.5, -1.0);  // clamped
    auto later = triangle({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
    later->setColorRGB(0, 1, 0);
    mesh->addFace(later);
    EXPECT_EQ(first->color(), createColorRGB(1, 0.5, 0));
    EXPECT_EQ(later->color(), createColorRGB(0, 1, 0));
    EXPECT_EQ(createColorRGBA(1, 0.5, 0, 1), 0xFFFF8000u);

    const uint64_t before = mesh->changeCount();
    first->setColor(createColorRGB(0, 0, 1));  // a face's change is the mesh's change
    EXPECT_GT(mesh->changeCount(), before);
    EXPECT_THROW(mesh->addFace(first), RunTimeError);  // already in a mesh
}

TEST(Meshes, QualityBits) {
    struct Case {
        int32_t quality;
        bool wireframe, lit;
    };
    for (const Case c :
         {Case{64, true, false}, Case{72, true, true}, Case{128, false, false}, Case{136, false, true}}) {
        auto mesh = createMeshBuilder();
        mesh->setQuality(c.quality);
        EXPECT_EQ(mesh->wireframe(), c.wireframe) << c.quality;
        EXPECT_EQ(mesh->lit(), c.lit) << c.quality;
    }
}

TEST(Meshes, AddFacesBuildsFacesFromCountedIndexLists) {
    const std::vector<Vector3> vertices{{0, 0, 0}, {3, 0, 0}, {0, 0, 0}, {9, 9, 9}};
    const std::vector<int32_t> data{3, 0, 1, 2, 3, 1, 2, 0, 3, 2, 0, 1, 0};  // a line as three flat triangles
    auto mesh = createMeshBuilder();
    mesh->addFaces(3, vertices, 0, {}, data);
    ASSERT_EQ(mesh->faces().size(), 3u);
    EXPECT_EQ(mesh->faces()[1]->vertices()[0], (Vec3{3, 0, 0}));
    for (const auto& f : mesh->faces()) EXPECT_FALSE(f->hasArea());
    EXPECT_EQ(mesh->bounds().max.x, 3);

    const std::vector<int32_t> quad{4, 0, 1, 2, 3, 0};
    mesh->addFaces(4, vertices, 0, {}, quad);
    EXPECT_EQ(mesh->faces().size(), 4u);
    EXPECT_EQ(mesh->faces()[3]->vertices().size(), 4u);
}

TEST(Meshes, AddFacesWithBadDataThrowsAndAddsNothing) {
    const std::vector<Vector3> vertices{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    struct Case {
        const char* what;
        int32_t vertexCount;
        std::vector<int32_t> data;
        int32_t normalCount = 0;
    };
    const std::vector<Case> cases{
        {"index past the vertices", 3, {3, 0, 1, 3, 0}},
        {"negative index", 3, {3, 0, -1, 2, 0}},
        {"no closing zero", 3, {3, 0, 1, 2}},
        {"count past the data", 3, {5, 0, 1, 2, 0}},
        {"empty data", 3, {}},
        {"two corners", 3, {2, 0, 1, 0}},
        {"negative count", 3, {-3, 0, 1, 2, 0}},
        {"more vertices claimed than given", 4, {3, 0, 1, 2, 0}},
        {"normals", 3, {3, 0, 1, 2, 0}, 1},
        {"good face then a bad one", 3, {3, 0, 1, 2, 3, 0, 1, 7, 0}},
    };
    for (const Case& c : cases) {
        auto mesh = createMeshBuilder();
        EXPECT_THROW(mesh->addFaces(c.vertexCount, vertices, c.normalCount, {}, c.data), RunTimeError) << c.what;
        EXPECT_TRUE(mesh->faces().empty()) << c.what;
    }
}

TEST(Meshes, FacesAndMaterials) {
    auto f = createFace();
    f->addVertex(0, 0, 0);
    f->addVertex(1, 0, 0);
    f->addVertex(1, 1, 0);
    f->setTextureCoordinates(2, 0.5, 0.25);
    EXPECT_FLOAT_EQ(f->textureCoordinates()[2].v, 0.25f);
    EXPECT_THROW(f->setTextureCoordinates(3, 0, 0), RunTimeError);
    EXPECT_TRUE(f->hasArea());
    EXPECT_EQ(f->color(), kWhite);

    auto m = createMaterial(0);
    m->setEmissive(255, 0.5, -3);  // callers convert to 0..1; the layer clamps
    EXPECT_EQ(m->emissive(), (Rgb{1, 0.5f, 0}));
    Image img(2, 1, {10, 20, 30, 255});
    auto t = createTexture(img);
    f->setTexture(t);
    f->setMaterial(m);
    EXPECT_EQ(f->texture()->image(), img);
}

TEST(Meshes, ATriangleAddedInOneCallIsTheFaceMadeAndAddedStepByStep) {
    const auto texture = createTexture(Image(2, 2));
    const auto material = createMaterial(3);
    const std::array<Vec3, 3> corners{Vec3{1, 2, 3}, Vec3{-4, 5.5, 6}, Vec3{7, 8, -9.25}};
    const std::array<Face::TexCoord, 3> uv{Face::TexCoord{0.5f, 0.25f}, {1, 0}, {0.125f, 1}};
    for (bool look : {false, true}) {
        SCOPED_TRACE(look);
        auto stepwise = createMeshBuilder();
        auto face = triangle(corners[0], corners[1], corners[2]);
        for (int i = 0; i < 3; ++i) face->setTextureCoordinates(i, uv[size_t(i)].u, uv[size_t(i)].v);
        if (look) {
            face->setTexture(texture);
            face->setMaterial(material);
        }
        face->setColor(0xFF102030u);
        stepwise->addFace(face);
        auto oneCall = createMeshBuilder();
        oneCall->reserveFaces(4);
        oneCall->addTriangle(corners, uv, look ? texture : nullptr, look ? material : nullptr, 0xFF102030u);

        ASSERT_EQ(oneCall->faces().size(), 1u);
        const Face& made = *oneCall->faces()[0];
        EXPECT_EQ(made.vertices().size(), face->vertices().size());
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(made.vertices()[i].x, face->vertices()[i].x);
            EXPECT_EQ(made.vertices()[i].y, face->vertices()[i].y);
            EXPECT_EQ(made.vertices()[i].z, face->vertices()[i].z);
            EXPECT_EQ(made.textureCoordinates()[i].u, face->textureCoordinates()[i].u);
            EXPECT_EQ(made.textureCoordinates()[i].v, face->textureCoordinates()[i].v);
        }
        EXPECT_EQ(made.texture(), face->texture());
        EXPECT_EQ(made.material(), face->material());
        EXPECT_EQ(made.color(), face->color());
        EXPECT_EQ(oneCall->changeCount(), stepwise->changeCount());
        EXPECT_EQ(oneCall->bounds().max.y, 8);
        // The face belongs to its mesh like any other.
        EXPECT_THROW(stepwise->addFace(oneCall->faces()[0]), RunTimeError);
        const uint64_t before = oneCall->changeCount();
        oneCall->faces()[0]->setColor(0xFF000000u);
        EXPECT_GT(oneCall->changeCount(), before);
    }
}

TEST(Meshes, AFaceInAMeshIsAViewOfTheMeshsFlatArrays) {
    auto mesh = createMeshBuilder();
    auto first = triangle({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
    mesh->addFace(first);
    const std::vector<Vector3> v{{5, 5, 5}, {6, 5, 5}, {5, 6, 5}};
    mesh->addFaces(3, v, 0, {}, std::vector<int32_t>{3, 0, 1, 2, 0});
    const std::array<Vec3, 4> square{Vec3{0, 0, 9}, {2, 0, 9}, {2, 2, 9}, {0, 2, 9}};
    auto material = createMaterial(0);
    mesh->addPolygon(square, nullptr, material, 0xFF0000FFu);
    ASSERT_EQ(mesh->faceCount(), 3u);
    EXPECT_EQ(mesh->faces()[0], first);  // the face added is the mesh's view of its first face

    // A corner added to a face already in the mesh goes after its own corners; the next faces keep theirs.
    first->addVertex(-1, -1, 0);
    EXPECT_EQ(first->vertices(), (std::vector<Vec3>{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {-1, -1, 0}}));
    EXPECT_EQ(mesh->faces()[1]->vertices(), (std::vector<Vec3>{{5, 5, 5}, {6, 5, 5}, {5, 6, 5}}));
    EXPECT_EQ(mesh->faces()[2]->vertices(), (std::vector<Vec3>(square.begin(), square.end())));
    EXPECT_EQ(mesh->faces()[2]->material(), material);
    EXPECT_EQ(mesh->faces()[2]->texture(), nullptr);
    EXPECT_EQ(mesh->faces()[2]->color(), 0xFF0000FFu);
    EXPECT_EQ(mesh->faces()[2]->textureCoordinates().size(), 4u);
    EXPECT_EQ(mesh->bounds().min.x, -1);

    // Changing one face's look leaves the others alone.
    auto texture = createTexture(Image(1, 1));
    mesh->faces()[1]->setTexture(texture);
    mesh->faces()[1]->setTextureCoordinates(2, 0.5, 0.75);
    EXPECT_EQ(mesh->faces()[1]->texture(), texture);
    EXPECT_EQ(mesh->faces()[1]->material(), nullptr);
    EXPECT_EQ(mesh->faces()[2]->texture(), nullptr);
    EXPECT_EQ(mesh->faces()[2]->material(), material);
    EXPECT_EQ(first->texture(), nullptr);
    EXPECT_FLOAT_EQ(mesh->faces()[1]->textureCoordinates()[2].v, 0.75f);
    EXPECT_FLOAT_EQ(mesh->faces()[2]->textureCoordinates()[0].v, 0.f);

    // A face held when its mesh goes keeps what it had and may join another mesh.
    const FacePtr held = mesh->faces()[1];
    mesh.reset();
    EXPECT_EQ(held->vertices(), (std::vector<Vec3>{{5, 5, 5}, {6, 5, 5}, {5, 6, 5}}));
    EXPECT_EQ(held->texture(), texture);
    EXPECT_FLOAT_EQ(held->textureCoordinates()[2].u, 0.5f);
    auto other = createMeshBuilder();
    other->addFace(held);
    EXPECT_EQ(other->faceCount(), 1u);
    EXPECT_EQ(other->faces()[0]->texture(), texture);
}

TEST(Picking, NearestFirstWithFramePathsFromTheRoot) {
    PickScene s;
    auto far = createFrame(s.world);
    far->setName("far");
    auto nearParent = createFrame(s.world);
    auto nearFrame = createFrame(nearParent);
    nearFrame->setPosition(nullptr, 0, 0, 10);
    auto farMesh = square(5, 0), nearMesh = square(5, 0);
    far->addVisual(farMesh);
    nearFrame->addVisual(nearMesh);

    const auto hits = s.viewport.pick(99.5, 99.5);  // the centre of the picture
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_EQ(hits[0].mesh, nearMesh);
    EXPECT_NEAR(hits[0].distance, 90, 1e-9);
    EXPECT_EQ(hits[0].path, (std::vector<FramePtr>{s.root, s.world, nearParent, nearFrame}));
    EXPECT_EQ(hits[1].mesh, farMesh);
    EXPECT_NEAR(hits[1].distance, 100, 1e-9);
    EXPECT_EQ(hits[1].path, (std::vector<FramePtr>{s.root, s.world, far}));
    EXPECT_EQ(hits[1].face, farMesh->faces()[0]);
    EXPECT_EQ(hits[1].faceIndex, 0);

    EXPECT_TRUE(s.viewport.pick(0, 0).empty());  // a corner of the picture, beside both squares
}

TEST(Picking, BackFacesAreHitLinesAndDetachedFramesAreNot) {
    PickScene s;
    auto back = createFrame(s.world);
    back->addVisual(square(5, 0, false));  // facing away from the camera
    auto line = createFrame(s.world);
    auto lineMesh = createMeshBuilder();
    const std::vector<Vector3> v{{-20, 0, 20}, {20, 0, 20}, {-20, 0, 20}};
    lineMesh->addFaces(3, v, 0, {}, std::vector<int32_t>{3, 0, 1, 2, 0});
    line->addVisual(lineMesh);
    auto detached = createFrame();
    detached->addVisual(square(5, 30));

    const auto hits = s.viewport.pick(99.5, 99.5);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].path.back(), back);

    s.world->addChild(detached);  // once connected, it is hit first
    EXPECT_EQ(s.viewport.pick(99.5, 99.5).front().path.back(), detached);
}

TEST(Picking, RayThroughAPixelCentreOnATriangleEdge) {
    // At distance 100 one pixel is half a unit; pick(x, y) looks through the centre of pixel (x, y), which is
    // world y = (x + 0.5 - 100) / 2 and world x = -(y + 0.5 - 100) / 2 at Reset View.
    PickScene s;
    auto f = createFrame(s.world);
    auto mesh = createMeshBuilder();
    mesh->addFace(triangle({-5, 0.25, 0}, {5, 0.25, 0}, {0, 10, 0}));  // lower edge at world y = 0.25
    f->addVisual(mesh);
    EXPECT_EQ(s.viewport.pick(100, 99).size(), 1u);  // exactly on the edge: hit
    EXPECT_TRUE(s.viewport.pick(99, 99).empty());    // one pixel to the left: beside it
    EXPECT_EQ(s.viewport.pick(101, 99).size(), 1u);
    EXPECT_TRUE(s.viewport.pick(100, 80).empty());  // above the triangle's top (world x = 9.75, y = 0.25)
}

TEST(Picking, FollowsFrameTransformsAndSkipsMeshesTheRayMisses) {
    PickScene s;
    auto turned = createFrame(s.world);
    turned->setPosition(nullptr, 0, 30, 0);              // 60 pixels right of the centre
    turned->addRotation(kCombineBefore, 0, 1, 0, M_PI);  // turned over: its square now faces away
    turned->addVisual(square(2, 0));
    EXPECT_TRUE(s.viewport.pick(99.5, 99.5).empty());
    const auto hits = s.viewport.pick(159.5, 99.5);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].path.back(), turned);
}
