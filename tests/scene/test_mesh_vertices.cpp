// The flat vertex array the canvas draws a mesh from: fan triangles, their edge masks, and runs by texture.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "scene/MeshVertices.h"
#include "scene/Scene.h"

using namespace tarv;
using namespace tarv::scene;

namespace {

// A convex polygon of n corners on the unit circle in the plane z = 0, counter-clockwise seen from +z.
FacePtr polygon(size_t n) {
    auto f = createFace();
    for (size_t i = 0; i < n; ++i) {
        const double a = 2 * 3.14159265358979 * double(i) / double(n);
        f->addVertex(std::cos(a), std::sin(a), 0);
    }
    return f;
}

Vec3 posOf(const MeshVertex& v) { return {v.pos[0], v.pos[1], v.pos[2]}; }

}  // namespace

TEST(MeshVertices, PolygonsBecomeFansWhoseEdgeMasksKeepOnlyThePolygonsEdges) {
    struct Case {
        size_t corners;
        std::vector<uint8_t> edgeMasks;  // per fan triangle: 1 v0-v1, 2 v1-v2, 4 v2-v0
    };
    const Case cases[] = {
        {3, {7}},
        {4, {3, 6}},
        {5, {3, 2, 6}},
        {7, {3, 2, 2, 2, 6}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.corners);
        auto mesh = createMeshBuilder();
        auto face = polygon(c.corners);
        mesh->addFace(face);
        const MeshVertices built = buildMeshVertices(*mesh);
        ASSERT_EQ(built.vertices.size(), 3 * c.edgeMasks.size());
        ASSERT_EQ(built.ranges.size(), 1u);
        EXPECT_EQ(built.ranges[0].texture, nullptr);
        EXPECT_EQ(built.ranges[0].first, 0u);
        EXPECT_EQ(built.ranges[0].count, built.vertices.size());
        const auto& vs = face->vertices();
        for (size_t k = 0; k < c.edgeMasks.size(); ++k) {
            const MeshVertex* t = &built.vertices[3 * k];
            const size_t corners[3] = {0, k + 1, k + 2};
            const Vec3 normal = cross(vs[k + 1] - vs[0], vs[k + 2] - vs[0]);
            for (size_t i = 0; i < 3; ++i) {
                EXPECT_LT(length(posOf(t[i]) - vs[corners[i]]), 1e-6);
                EXPECT_EQ(t[i].flags[0], c.edgeMasks[k]);
                EXPECT_EQ(t[i].flags[1], 0);
                EXPECT_NEAR(t[i].normal[0], normal.x, 1e-6);
                EXPECT_NEAR(t[i].normal[1], normal.y, 1e-6);
                EXPECT_NEAR(t[i].normal[2], normal.z, 1e-6);
                EXPECT_GT(t[i].normal[2], 0.f);
            }
        }
    }
}

TEST(MeshVertices, FacesAreGroupedByTextureUntexturedFirstThenInTheOrderOfFirstUse) {
    auto a = createTexture(Image(2, 2));
    auto b = createTexture(Image(1, 1));
    auto mesh = createMeshBuilder();
    // Faces of 3, 4, 3, 5, 3 corners (1, 2, 1, 3, 1 triangles) with textures b, none, a, b, none; a face of two
    // corners and one of none are left out.
    const struct {
        size_t corners;
        TexturePtr texture;
    } faces[] = {{3, b}, {4, nullptr}, {2, a}, {3, a}, {5, b}, {0, nullptr}, {3, nullptr}};
    for (const auto& f : faces) {
        auto face = polygon(f.corners);
        face->setTexture(f.texture);
        mesh->addFace(face);
    }
    const MeshVertices built = buildMeshVertices(*mesh);
    ASSERT_EQ(built.ranges.size(), 3u);
    EXPECT_EQ(built.ranges[0].texture, nullptr);
    EXPECT_EQ(built.ranges[1].texture, b);
    EXPECT_EQ(built.ranges[2].texture, a);
    const size_t counts[] = {3 * 3, 4 * 3, 1 * 3};
    size_t first = 0;
    for (size_t r = 0; r < 3; ++r) {
        EXPECT_EQ(built.ranges[r].first, first);
        EXPECT_EQ(built.ranges[r].count, counts[r]);
        for (size_t i = first; i < first + counts[r]; ++i) EXPECT_EQ(built.vertices[i].flags[1], r == 0 ? 0 : 1);
        first += counts[r];
    }
    EXPECT_EQ(built.vertices.size(), first);
}

TEST(MeshVertices, EmptyRunsAreLeftOut) {
    auto texture = createTexture(Image(1, 1));
    auto mesh = createMeshBuilder();
    EXPECT_TRUE(buildMeshVertices(*mesh).ranges.empty());
    auto line = polygon(2);
    mesh->addFace(line);
    EXPECT_TRUE(buildMeshVertices(*mesh).vertices.empty());
    EXPECT_TRUE(buildMeshVertices(*mesh).ranges.empty());

    auto face = polygon(3);
    face->setTexture(texture);
    mesh->addFace(face);
    const MeshVertices built = buildMeshVertices(*mesh);
    ASSERT_EQ(built.ranges.size(), 1u);  // no run of untextured faces
    EXPECT_EQ(built.ranges[0].texture, texture);
    EXPECT_EQ(built.ranges[0].first, 0u);
    EXPECT_EQ(built.ranges[0].count, 3u);
}

TEST(MeshVertices, CornersCarryTheFacesColourTheMaterialsGlowAndTheirTextureCoordinates) {
    auto mesh = createMeshBuilder();
    auto plain = polygon(3);
    plain->setColorRGB(1, 0.5, 0);
    auto glowing = polygon(3);
    glowing->setColorRGB(0, 0, 1);
    auto material = createMaterial(10);
    material->setEmissive(0.2, 1.5, -1);  // clamped to 0..1
    glowing->setMaterial(material);
    for (int i = 0; i < 3; ++i) glowing->setTextureCoordinates(i, 0.25 * i, 1 - 0.5 * i);
    mesh->addFace(plain);
    mesh->addFace(glowing);

    const MeshVertices built = buildMeshVertices(*mesh);
    ASSERT_EQ(built.vertices.size(), 6u);
    for (size_t i = 0; i < 3; ++i) {
        const MeshVertex& p = built.vertices[i];
        EXPECT_EQ(std::vector<int>(p.colour, p.colour + 4), (std::vector<int>{255, 128, 0, 255}));
        EXPECT_EQ(std::vector<int>(p.emissive, p.emissive + 3), (std::vector<int>{0, 0, 0}));
        EXPECT_EQ(p.uv[0], 0.f);
        EXPECT_EQ(p.uv[1], 0.f);

        const MeshVertex& g = built.vertices[3 + i];
        EXPECT_EQ(std::vector<int>(g.colour, g.colour + 4), (std::vector<int>{0, 0, 255, 255}));
        EXPECT_EQ(std::vector<int>(g.emissive, g.emissive + 3), (std::vector<int>{51, 255, 0}));
        EXPECT_FLOAT_EQ(g.uv[0], 0.25f * float(i));
        EXPECT_FLOAT_EQ(g.uv[1], 1 - 0.5f * float(i));
    }
}
