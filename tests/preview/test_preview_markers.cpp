// Axes, lines and the marker solids.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>

#include "Fakes.h"
#include "PreviewFixtures.h"
#include "TempDir.h"
#include "preview/LocalAxes.h"
#include "preview/PreviewMarkers.h"
#include "editor/context/EditingContext.h"

using namespace tarv;
using namespace tarv::test;

namespace {

class MarkerTest : public ::testing::Test {
protected:
    TempDir dir;
    TestContext t{dir.path()};
    ViewObject v;

    void SetUp() override { v.mesh = scene::createMeshBuilder(); }
    const std::vector<scene::FacePtr>& faces() { return v.mesh->faces(); }
    static MexChunk chunk(Vector3 position, Vector3 normal, float cone = 0, float edge = 0) {
        MexChunk c;
        c.position = position;
        c.normal = normal;
        c.coneAngle = cone;
        c.edgeAngle = edge;
        return c;
    }
    // The cone's vertices: the apex, then the eight rim points (the first triangle holds 0, 1, 2 ...).
    std::vector<scene::Vec3> coneVertices(size_t firstFace = 0) {
        std::vector<scene::Vec3> out{faces()[firstFace]->vertices()[0]};
        for (size_t k = 0; k < 8; ++k) out.push_back(faces()[firstFace + k]->vertices()[1]);
        return out;
    }
};

void expectNear(const scene::Vec3& got, const scene::Vec3& want, double tolerance = 1e-4) {
    EXPECT_NEAR(got.x, want.x, tolerance);
    EXPECT_NEAR(got.y, want.y, tolerance);
    EXPECT_NEAR(got.z, want.z, tolerance);
}

const float kGarbage = std::bit_cast<float>(0xCDCDCDCDu);

TEST_F(MarkerTest, DrawLineLengths) {
    t.ctx.model.modelExtent = 300;
    struct Case {
        Vector3 normal;
        scene::Vec3 end;
    };
    const float almost = 0.99999f;
    for (const Case& c :
         {Case{{0, 0, 1}, {1, 2, 103}}, Case{{0, 0, 2}, {1, 2, 5}}, Case{{0, almost, 0}, {1, 2 + double(almost), 3}}}) {
        ViewObject line;
        line.mesh = scene::createMeshBuilder();
        drawLine(t.ctx, chunk({1, 2, 3}, c.normal), line);
        ASSERT_EQ(line.mesh->faces().size(), 3u);
        expectNear(line.mesh->faces()[0]->vertices()[1], c.end);
        expectNear(line.mesh->faces()[0]->vertices()[0], {1, 2, 3});
        expectNear(line.mesh->faces()[2]->vertices()[0], {1, 2, 3});  // triangle (2, 0, 1)
    }
    EXPECT_EQ(t.ctx.err.errProc, "drawLine");
}

TEST(RotationXYZ, Cases) {
    struct Case {
        Vector3 p, dir, want;
    };
    for (const Case& c : {Case{{0, 0, 1}, {1, 0, 0}, {1, 0, 0}}, Case{{0, 0, 1}, {0, 0, -2}, {0, 0, -1}},
                          Case{{3, -4, 5}, {0, 0, 0}, {3, -4, 5}}, Case{{0, 0, 1}, {0, 3, 4}, {0, 0.6f, 0.8f}},
                          Case{{0, 1, 0}, {0, 0, -1}, {0, -1, 0}}}) {
        const Vector3 got = rotationXYZ(c.p, c.dir);
        EXPECT_NEAR(got.x, c.want.x, 1e-6);
        EXPECT_NEAR(got.y, c.want.y, 1e-6);
        EXPECT_NEAR(got.z, c.want.z, 1e-6);
    }
    TempDir dir;
    TestContext t(dir.path());
    EXPECT_EQ(Rotation_XYZ(t.ctx, {0, 0, 1}, {1, 0, 0}), (Vector3{1, 0, 0}));
    EXPECT_EQ(t.ctx.err.errModule, "modD3D");
    EXPECT_EQ(t.ctx.err.errProc, "Rotation_XYZ");
}

TEST_F(MarkerTest, BoxFacesColoursAndMaterial) {
    createBox(t.ctx, v, 0, 0, 0, 1, 2, 3, 255, 0, 128);
    ASSERT_EQ(faces().size(), 6u);
    EXPECT_EQ(faces()[0]->vertices(), (std::vector<scene::Vec3>{{1, 0, 0}, {1, 2, 0}, {1, 2, 3}, {1, 0, 3}}));
    EXPECT_EQ(faces()[5]->vertices(), (std::vector<scene::Vec3>{{0, 0, 0}, {0, 2, 0}, {1, 2, 0}, {1, 0, 0}}));
    const scene::MaterialPtr material = faces()[0]->material();
    ASSERT_NE(material, nullptr);
    EXPECT_NEAR(material->emissive().b, 128 / 255.0, 1e-6);  // 0..255 reach the scene as 0..1
    for (const auto& f : faces()) {
        EXPECT_EQ(f->material(), material);
        EXPECT_EQ(f->color(), scene::createColorRGB(1, 0, 128 / 255.0));
        // Every face's winding points out of the box.
        const auto& c = f->vertices();
        const scene::Vec3 n = scene::cross(c[1] - c[0], c[2] - c[0]);
        const scene::Vec3 centre{0.5, 1, 1.5};
        EXPECT_GT(scene::dot(n, c[0] - centre), 0);
    }
    EXPECT_EQ(t.ctx.err.errProc, "createBox");
}

TEST_F(MarkerTest, ConeOfZeroAnglesIsALineAlongTheAxis) {
    t.ctx.model.modelExtent = 30;
    createCone(t.ctx, chunk({1, 1, 1}, {0, 0, 1}), v);
    ASSERT_EQ(faces().size(), 16u);
    for (const auto& p : coneVertices()) {
        EXPECT_NEAR(p.x, 1, 1e-6);
        EXPECT_NEAR(p.y, 1, 1e-6);
    }
    expectNear(coneVertices()[1], {1, 1, 21});
    for (const auto& f : faces()) EXPECT_FALSE(f->hasArea());
}

TEST_F(MarkerTest, ConeWithAUnitDirectionHasItsRimOnTheExtentSphere) {
    t.ctx.model.modelExtent = 30;
    createCone(t.ctx, chunk({0, 0, 0}, {1, 0, 0}, 20, 10), v);
    const auto points = coneVertices();
    for (size_t k = 1; k < 9; ++k) {
        EXPECT_NEAR(scene::length(points[k]), 20, 1e-4);
        EXPECT_NEAR(points[k].x, 20 * std::cos(30 * 3.14159265359 / 180), 1e-4);  // along +x
    }
    // The second eight triangles are the first eight with their last corners swapped.
    EXPECT_EQ(faces()[8]->vertices()[1], faces()[0]->vertices()[2]);
    EXPECT_EQ(faces()[8]->vertices()[2], faces()[0]->vertices()[1]);
    EXPECT_EQ(faces()[7]->vertices()[2], faces()[0]->vertices()[1]);  // (0, 8, 1) closes the fan
}

TEST_F(MarkerTest, ConeOpeningsAtAndBeyondARightAngle) {
    t.ctx.model.modelExtent = 1;
    // 30 + 60: a flat disc of radius |D| around the apex, perpendicular to D.
    createCone(t.ctx, chunk({0, 0, 0}, {0, 0, 10}, 30, 60), v);
    for (size_t k = 1; k < 9; ++k) {
        EXPECT_NEAR(coneVertices()[k].z, 0, 1e-6);
        EXPECT_NEAR(scene::length(coneVertices()[k]), 10, 1e-4);
    }
    // 80 + 20: the rim lies |D| behind the apex.
    ViewObject behind;
    behind.mesh = scene::createMeshBuilder();
    createCone(t.ctx, chunk({0, 0, 0}, {0, 0, 10}, 80, 20), behind);
    for (size_t k = 0; k < 8; ++k) {
        const scene::Vec3 rim = behind.mesh->faces()[k]->vertices()[1];
        EXPECT_NEAR(rim.z, -10, 1e-4);
        EXPECT_NEAR(std::hypot(rim.x, rim.y), 10 * std::fabs(std::tan(100 * 3.14159265359 / 180)), 1e-3);
    }
}

TEST_F(MarkerTest, ConeOfZeroDirectionPointsAlongZ) {
    t.ctx.model.modelExtent = 15;
    createCone(t.ctx, chunk({0, 0, 0}, {0, 0, 0}, 45, 0), v);
    for (size_t k = 1; k < 9; ++k) EXPECT_NEAR(coneVertices()[k].z, 10 * std::cos(45 * 3.14159265359 / 180), 1e-4);
}

TEST_F(MarkerTest, GarbageAnglesAndRadiusCountAsZero) {
    t.ctx.model.modelExtent = 30;
    createCone(t.ctx, chunk({0, 0, 0}, {0, 0, 1}, kGarbage, kGarbage), v);
    ASSERT_EQ(faces().size(), 16u);
    expectNear(coneVertices()[1], {0, 0, 20});
    ViewObject sphere;
    sphere.mesh = scene::createMeshBuilder();
    createSphere(t.ctx, chunk({1, 2, 3}, {}, std::numeric_limits<float>::infinity()), sphere);
    ASSERT_EQ(sphere.mesh->faces().size(), 32u);
    for (const auto& f : sphere.mesh->faces())
        for (const auto& p : f->vertices()) EXPECT_EQ(p, (scene::Vec3{1, 2, 3}));
    EXPECT_TRUE(t.errors.reports.empty());
    EXPECT_EQ(usableMarkerValue(-9.9e5f), -9.9e5f);
    EXPECT_EQ(usableMarkerValue(1e6f), 0);
    EXPECT_EQ(usableMarkerValue(std::nanf("")), 0);
}

TEST_F(MarkerTest, SpherePolesAndWinding) {
    createSphere(t.ctx, chunk({1, 1, 1}, {}, 2), v);
    ASSERT_EQ(faces().size(), 32u);
    EXPECT_EQ(faces()[0]->vertices()[0], (scene::Vec3{1, 3, 1}));    // vertex 0
    EXPECT_EQ(faces()[28]->vertices()[0], (scene::Vec3{1, -1, 1}));  // vertex 17
    const scene::Vec3 centre{1, 1, 1};
    for (const auto& f : faces()) {
        const auto& c = f->vertices();
        for (const auto& p : c) EXPECT_NEAR(scene::length(p - centre), 2, 1e-5);
        EXPECT_LT(scene::dot(scene::cross(c[1] - c[0], c[2] - c[0]), c[0] - centre), 0);  // towards the centre
    }
    EXPECT_EQ(t.ctx.err.errProc, "createSphere");
}

TEST_F(MarkerTest, SolidsAddToAMeshThatHasFaces) {
    createSphere(t.ctx, chunk({0, 0, 0}, {}, 1), v);
    createCone(t.ctx, chunk({0, 0, 0}, {0, 0, 1}, 10), v);
    createBox(t.ctx, v, 0, 0, 0, 1, 1, 1, 255, 255, 255);
    EXPECT_EQ(faces().size(), 32u + 16u + 6u);
}

TEST_F(MarkerTest, SolidWithoutAMeshIsReported) {
    ViewObject none;
    createCone(t.ctx, chunk({0, 0, 0}, {0, 0, 1}), none);
    ASSERT_EQ(t.errors.reports.size(), 1u);
    EXPECT_EQ(t.ctx.err.errProc, "createCone");
}

// ---- Axes ----------------------------------------------------------------------------------------------

class AxesTest : public MarkerTest {
protected:
    void SetUp() override {
        MarkerTest::SetUp();
        InitialiseComponents(t.ctx);
        t.ctx.model.peoObjects = {squarePeoObject("base", 10), squarePeoObject("gun", 5)};
        t.ctx.model.peoObjects[1].mother = 1;
        buildScene(t.ctx);
    }
};

TEST_F(AxesTest, ShowAxesHangsThreeColouredConesOnObjectZero) {
    CountingCanvas canvas;
    t.ctx.view.canvas = &canvas;
    const auto& base = t.ctx.view.viewObjects[0].frame;
    const size_t before = base->children().size();
    showAxes(t.ctx);
    ASSERT_EQ(base->children().size(), before + 3);
    const scene::PackedColor colours[3] = {scene::createColorRGB(0, 0, 1), scene::createColorRGB(0, 1, 0),
                                           scene::createColorRGB(1, 0, 0)};
    for (size_t i = 0; i < 3; ++i) {
        const auto& frame = base->children()[before + i];
        ASSERT_EQ(frame->visuals().size(), 1u);
        const auto& mesh = frame->visuals()[0];
        EXPECT_EQ(mesh->quality(), 64);
        ASSERT_EQ(mesh->faces().size(), 16u);
        EXPECT_EQ(mesh->faces()[0]->color(), colours[i]);
        // Along its axis, two thirds of the model extent (10) long.
        const scene::Vec3 rim = mesh->faces()[0]->vertices()[1];
        const double along[3] = {rim.x, rim.y, rim.z};
        EXPECT_NEAR(along[i], 10 / 1.5, 1e-3);
    }
    EXPECT_EQ(canvas.refreshes, 1);
    EXPECT_EQ(t.ctx.err.errProc, "showAxes");
}

TEST_F(AxesTest, LocalAxesAreTwiceTheSizeAndNeverStack) {
    ViewObject& gun = t.ctx.view.viewObjects[1];
    gun.size = {10, 20, 30};
    showLocalAxes(t.ctx, gun);
    const ViewObject& marker = t.ctx.view.selectionMarker;
    ASSERT_EQ(marker.mesh->faces().size(), 6u);
    EXPECT_EQ(marker.mesh->quality(), 64);
    EXPECT_EQ(marker.mesh->faces()[0]->vertices()[1], (scene::Vec3{20, 0, 0}));
    EXPECT_EQ(marker.mesh->faces()[3]->vertices()[0], (scene::Vec3{0, 40, 0}));
    EXPECT_EQ(marker.mesh->faces()[5]->vertices()[0], (scene::Vec3{0, 0, 60}));
    EXPECT_EQ(marker.mesh->faces()[0]->color(), scene::createColorRGB(0, 0, 1));
    EXPECT_EQ(marker.mesh->faces()[2]->color(), scene::createColorRGB(0, 1, 0));
    EXPECT_EQ(marker.mesh->faces()[4]->color(), scene::createColorRGB(1, 0, 0));
    EXPECT_EQ(marker.frame->getParent(), gun.frame);
    EXPECT_TRUE(marker.frame->visuals().empty());
    EXPECT_EQ(marker.name, "gun");
    EXPECT_EQ(marker.matrix, gun.matrix);
    EXPECT_EQ(t.ctx.err.errArgs, "gun");

    // A second call replaces the marker instead of stacking a second one.
    showLocalAxes(t.ctx, gun);
    EXPECT_EQ(gun.frame->visuals().size(), 2u);  // the object's mesh and one marker
    EXPECT_EQ(gun.frame->visuals()[1], t.ctx.view.selectionMarker.mesh);
    EXPECT_EQ(gun.frame->children().size(), 1u);

    // Moving to another object takes the marker off the first.
    showLocalAxes(t.ctx, t.ctx.view.viewObjects[0]);
    EXPECT_EQ(gun.frame->visuals().size(), 1u);
    EXPECT_TRUE(gun.frame->children().empty());
}

}  // namespace
