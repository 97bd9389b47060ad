#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "Fakes.h"
#include "TempDir.h"
#include "base/NumberText.h"
#include "model/Normals.h"
#include "base/RunTimeError.h"
#include "editor/context/EditingContext.h"

using namespace tarv;

namespace {

PeoObject objectWith(std::vector<Vector3> positions, std::vector<std::array<int32_t, 3>> corners) {
    PeoObject o;
    o.name = "obj";
    for (const Vector3& p : positions) o.vertices.push_back({p.x, p.y, p.z, 0, 0});
    for (auto [a, b, c] : corners) {
        PeoPolygon p;
        p.v0 = a;
        p.v1 = b;
        p.v2 = c;
        o.polygons.push_back(p);
    }
    o.nVertices = int32_t(o.vertices.size());
    o.nPolygons = int32_t(o.polygons.size());
    return o;
}

// A closed unit cube: vertex k has the coordinates of the bits of k (x = bit 0, y = bit 1, z = bit 2); the
// faces come in the order -z, +z, -y, +y, -x, +x, two triangles each, wound outwards.
PeoObject cube() {
    std::vector<Vector3> v;
    for (int k = 0; k < 8; ++k) v.push_back({float(k & 1), float((k >> 1) & 1), float((k >> 2) & 1)});
    const std::array<int32_t, 4> quads[] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                            {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    std::vector<std::array<int32_t, 3>> tris;
    for (auto [a, b, c, d] : quads) {
        tris.push_back({a, b, c});
        tris.push_back({a, c, d});
    }
    return objectWith(v, tris);
}

bool sameBits(float a, float b) { return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b); }

}  // namespace

TEST(Normals, FaceNormalOfOneTriangle) {
    struct Case {
        const char* what;
        std::vector<Vector3> v;
        std::array<int32_t, 3> c;
        Vector3 n;
    };
    const Case cases[] = {
        {"counter-clockwise", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {0, 1, 2}, {0, 0, 1}},
        {"clockwise", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {0, 2, 1}, {0, 0, -1}},
        {"rounded to 6 decimals", {{0, 0, 0}, {1, 0, 0}, {0, 1, 1}}, {0, 1, 2}, {0, -0.707107f, 0.707107f}},
        {"two equal corners", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {0, 0, 2}, {0, 0, 0}},
        {"collinear", {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}}, {0, 1, 2}, {0, 0, 0}},
        {"corner outside the vertex list", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {0, 1, 3}, {0, 0, 0}},
        {"negative corner", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {-1, 1, 2}, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        PeoObject o = objectWith(c.v, {c.c});
        EXPECT_EQ(calcFaceNormal(o, 0), c.n) << c.what;
    }
}

TEST(Normals, MergeMatchesWithinOneHundredthAndTakesTheHighestIndex) {
    struct Case {
        const char* what;
        std::vector<Vector3> in;
        std::vector<PeoNormal> stored;
        std::vector<int32_t> indices;
    };
    const Case cases[] = {
        {"0.005 apart: one entry, the first normal kept exactly", {{0, 0, 1}, {0.005f, 0, 1}}, {{0, 0, 1}}, {0, 0}},
        {"exactly 0.01 apart: two entries", {{0, 0, 1}, {0.01f, 0, 1}}, {{0, 0, 1}, {0.01f, 0, 1}}, {0, 1}},
        {"within 0.01 of two entries: the higher index",
         {{0, 0, 1}, {0.015f, 0, 1}, {0.008f, 0, 1}},
         {{0, 0, 1}, {0.015f, 0, 1}},
         {0, 1, 1}},
        {"no averaging: a chain stays on its first entry",
         {{0, 0, 1}, {0.009f, 0, 1}, {0.018f, 0, 1}},
         {{0, 0, 1}, {0.018f, 0, 1}},
         {0, 0, 1}},
        {"all three axes must match",
         {{0, 0, 1}, {0, 0.02f, 1}, {0, 0.001f, 1}},
         {{0, 0, 1}, {0, 0.02f, 1}},
         {0, 1, 0}},
    };
    for (const Case& c : cases) {
        for (auto merge : {&mergeFaceNormals, &mergeFaceNormalsLiteral}) {
            FaceNormalMerge m = merge(c.in);
            EXPECT_EQ(m.normals, c.stored) << c.what;
            EXPECT_EQ(m.polygonIndices, c.indices) << c.what;
        }
    }
}

TEST(Normals, FastMergeEqualsTheLiteralMerge) {
    std::mt19937 rng(1234);
    std::uniform_real_distribution<float> unit(-1, 1);
    std::uniform_int_distribution<int> cell(-50, 50), pick(0, 9);
    const float borderNudges[] = {0, 1e-7f, -1e-7f, 0.005f, -0.005f, 0.01f, -0.01f, 0.00999999f};
    auto border = [&] {
        // Values on and right beside the multiples of 0.01 and 0.02, where cells meet.
        return float(cell(rng)) * 0.02f + borderNudges[size_t(pick(rng)) % std::size(borderNudges)];
    };
    std::vector<std::vector<Vector3>> inputs;
    {  // random unit-ish normals, rounded as calcFaceNormal would
        std::vector<Vector3> v;
        for (int i = 0; i < 3000; ++i) {
            float x = unit(rng), y = unit(rng), z = unit(rng);
            double len = std::sqrt(double(x) * x + double(y) * y + double(z) * z);
            v.push_back({float(std::round(x / len * 1e6) / 1e6), float(std::round(y / len * 1e6) / 1e6),
                         float(std::round(z / len * 1e6) / 1e6)});
        }
        inputs.push_back(v);
    }
    {  // clustered near cell borders
        std::vector<Vector3> v;
        for (int i = 0; i < 3000; ++i) v.push_back({border(), border(), border()});
        inputs.push_back(v);
    }
    {  // exactly 0.01 apart along lines and grids, many duplicates, and non-finite values
        std::vector<Vector3> v;
        for (int i = 0; i < 400; ++i) v.push_back({float(i % 20) * 0.01f, float(i / 20) * 0.01f, 1});
        for (int i = 0; i < 400; ++i) v.push_back(v[size_t(i * 7 % 400)]);
        for (int i = 0; i < 200; ++i) v.push_back({0.005f * float(i % 40), 0.5f, -0.5f});
        v.push_back({NAN, 0, 0});
        v.push_back({0, INFINITY, 0});
        v.push_back({NAN, 0, 0});
        for (int i = 0; i < 100; ++i) v.push_back({0, 0, 0});
        std::shuffle(v.begin(), v.end(), rng);
        inputs.push_back(v);
    }
    {  // spread over the whole sphere, dense enough that many merge with one of several neighbours
        std::vector<Vector3> v;
        std::normal_distribution<float> gauss;
        for (int i = 0; i < 12000; ++i) {
            const float x = gauss(rng), y = gauss(rng), z = gauss(rng);
            const double len = std::sqrt(double(x) * x + double(y) * y + double(z) * z);
            v.push_back(
                {float(roundHalfEven(x / len, 6)), float(roundHalfEven(y / len, 6)), float(roundHalfEven(z / len, 6))});
        }
        inputs.push_back(v);
    }
    {  // runs of equal normals one after another (+0 and -0 among them), whose values come back later
        std::uniform_int_distribution<int> value(0, 60), run(1, 4);
        std::vector<Vector3> v;
        for (int i = 0; i < 3000; ++i) {
            const int k = value(rng);
            const Vector3 n = k == 0 ? Vector3{0, 0, 1} : k == 1 ? Vector3{-0.0f, 0, 1}
                              : k == 2 ? Vector3{NAN, 0, 0} : Vector3{float(k % 7) * 0.006f, float(k / 7) * 0.004f, 1};
            for (int r = run(rng); r > 0; --r) v.push_back(n);
        }
        inputs.push_back(v);
    }
    {  // on and beside the multiples of 1/96 (cell borders and cell middles of a 1/48 grid), 0.01 away
        std::uniform_int_distribution<int> step(-96, 96);
        const float nudges[] = {0, 1e-7f, -1e-7f, 0.01f, -0.01f, 0.0099999f, -0.0099999f, 0.0100001f, 0.0004f};
        auto near = [&] { return float(step(rng)) / 96.0f + nudges[size_t(pick(rng)) % std::size(nudges)]; };
        std::vector<Vector3> v;
        for (int i = 0; i < 4000; ++i) v.push_back({near(), near(), near()});
        inputs.push_back(v);
    }
    {  // huge and tiny values, equal and one float step apart
        std::vector<Vector3> v;
        for (float big : {3e10f, -3e10f, 1e20f, 3.4e38f, -3.4e38f, 1e-30f, -1e-30f, 5e5f, 2.5e7f}) {
            for (int i = 0; i < 30; ++i) {
                const float step = std::nextafter(big, 0.0f);
                v.push_back({big, i % 2 ? step : big, float(i % 3) * 0.004f});
                v.push_back({float(i) * 0.003f, big, i % 4 ? big : step});
            }
        }
        std::shuffle(v.begin(), v.end(), rng);
        inputs.push_back(v);
    }
    for (size_t k = 0; k < inputs.size(); ++k) {
        const FaceNormalMerge fast = mergeFaceNormals(inputs[k]);
        const FaceNormalMerge literal = mergeFaceNormalsLiteral(inputs[k]);
        ASSERT_EQ(fast.polygonIndices, literal.polygonIndices) << "input " << k;
        ASSERT_EQ(fast.normals.size(), literal.normals.size()) << "input " << k;
        for (size_t i = 0; i < fast.normals.size(); ++i) {
            EXPECT_TRUE(sameBits(fast.normals[i].x, literal.normals[i].x) &&
                        sameBits(fast.normals[i].y, literal.normals[i].y) &&
                        sameBits(fast.normals[i].z, literal.normals[i].z))
                << "input " << k << " entry " << i;
        }
        EXPECT_GT(literal.normals.size(), 50u) << "input " << k << " should exercise the merge";
    }
}

// The face normal as first written: each step a call, the rounding through roundHalfEven. The writer's own
// path must give the same bits for every input, odd ones included.
Vector3 faceNormalAsFirstWritten(const PeoObject& object, const PeoPolygon& poly) {
    const auto inRange = [&](int32_t v) { return v >= 0 && size_t(v) < object.vertices.size(); };
    if (!inRange(poly.v0) || !inRange(poly.v1) || !inRange(poly.v2)) return {};
    const PeoVertex& a = object.vertices[size_t(poly.v0)];
    const PeoVertex& b = object.vertices[size_t(poly.v1)];
    const PeoVertex& c = object.vertices[size_t(poly.v2)];
    const float ux = a.x - b.x, uy = a.y - b.y, uz = a.z - b.z;
    const float wx = b.x - c.x, wy = b.y - c.y, wz = b.z - c.z;
    const float nx = float(double(uy) * wz - double(uz) * wy);
    const float ny = float(double(uz) * wx - double(ux) * wz);
    const float nz = float(double(ux) * wy - double(uy) * wx);
    const double length = std::sqrt(double(nx) * nx + double(ny) * ny + double(nz) * nz);
    if (length == 0) return {};
    return {float(roundHalfEven(nx / length, 6)), float(roundHalfEven(ny / length, 6)),
            float(roundHalfEven(nz / length, 6))};
}

bool sameBits(const Vector3& a, const Vector3& b) { return sameBits(a.x, b.x) && sameBits(a.y, b.y) && sameBits(a.z, b.z); }
bool sameBits(const PeoNormal& a, const Vector3& b) { return sameBits(a.x, b.x) && sameBits(a.y, b.y) && sameBits(a.z, b.z); }

// Checks calcFaceNormal and the whole-object path (normals merged) against the first formula, bit for bit.
void expectFaceNormalsAsFirstWritten(const PeoObject& object, const std::string& what) {
    std::vector<Vector3> expected;
    for (size_t p = 0; p < object.polygons.size(); ++p) {
        expected.push_back(faceNormalAsFirstWritten(object, object.polygons[p]));
        const Vector3 got = calcFaceNormal(object, int32_t(p));
        EXPECT_TRUE(sameBits(got, expected.back()))
            << what << " polygon " << p << ": " << got.x << " " << got.y << " " << got.z << " against "
            << expected.back().x << " " << expected.back().y << " " << expected.back().z;
    }
    const FaceNormalMerge merge = mergeFaceNormals(expected);
    PeoObject recalculated = object;
    recalcObjectFaceNormals(recalculated);
    ASSERT_EQ(recalculated.faceNormals.size(), merge.normals.size()) << what;
    for (size_t i = 0; i < merge.normals.size(); ++i)
        EXPECT_TRUE(sameBits(recalculated.faceNormals[i],
                             Vector3{merge.normals[i].x, merge.normals[i].y, merge.normals[i].z}))
            << what << " entry " << i;
    for (size_t p = 0; p < object.polygons.size(); ++p)
        EXPECT_EQ(recalculated.polygons[p].faceNormal, merge.polygonIndices[p]) << what << " polygon " << p;
}

TEST(Normals, FaceNormalsKeepTheBitsOfTheFirstFormulaOnOddInputs) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const float tiny = std::numeric_limits<float>::denorm_min();
    const float big = std::numeric_limits<float>::max();
    struct Case {
        const char* what;
        std::vector<Vector3> v;
        std::vector<std::array<int32_t, 3>> c;
    };
    const Case cases[] = {
        {"one point three times", {{1, 2, 3}}, {{0, 0, 0}}},
        {"corners on a line", {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}}, {{0, 1, 2}}},
        {"two equal corners", {{0, 0, 0}, {0, 0, 0}, {0, 1, 0}}, {{0, 1, 2}}},
        {"negative zeros", {{-0.f, -0.f, -0.f}, {1, -0.f, 0}, {0, 1, -0.f}}, {{0, 1, 2}, {0, 2, 1}}},
        {"huge coordinates", {{big, 0, 0}, {-big, 0, 0}, {0, big, big}}, {{0, 1, 2}, {2, 1, 0}}},
        {"huge but finite products", {{1e19f, 0, 0}, {0, 1e19f, 0}, {0, 0, 1e19f}}, {{0, 1, 2}}},
        {"denormal coordinates", {{0, 0, 0}, {tiny, 0, 0}, {0, tiny, 0}}, {{0, 1, 2}}},
        {"small coordinates", {{0, 0, 0}, {1e-20f, 0, 0}, {0, 3e-20f, 1e-21f}}, {{0, 1, 2}}},
        {"a sliver far from the origin", {{1e7f, 1e7f, 0}, {1e7f + 1, 1e7f, 0}, {1e7f, 1e7f + 1, 1}}, {{0, 1, 2}}},
        {"a NaN corner", {{nan, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}, {1, 2, 0}}},
        {"an infinite corner", {{inf, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}}},
        {"opposite infinities", {{inf, -inf, 0}, {-inf, inf, 1}, {0, 1, inf}}, {{0, 1, 2}}},
        {"corners outside the list", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 3}, {-1, 1, 2}, {0, 1, 2}}},
        {"axis-aligned and diagonal faces", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 1}},
         {{0, 1, 2}, {0, 2, 3}, {0, 3, 1}, {1, 2, 3}, {4, 3, 2}}},
        {"thirds and sevenths", {{0, 0, 0}, {3, 0, 0}, {0, 7, 0}, {1, 1, 3}}, {{0, 1, 3}, {1, 2, 3}, {2, 0, 3}}},
    };
    for (const Case& c : cases) expectFaceNormalsAsFirstWritten(objectWith(c.v, c.c), c.what);

    // Many random faces: ordinary coordinates, coordinates of any bit pattern (NaN, infinities and denormals
    // among them), and faces built so that a component lands near a half millionth.
    std::mt19937 rng(2024);
    std::uniform_real_distribution<float> ordinary(-100, 100);
    std::uniform_int_distribution<uint32_t> anyBits;
    std::uniform_int_distribution<int> scale(-40, 40);
    std::vector<Vector3> v;
    std::vector<std::array<int32_t, 3>> c;
    for (int k = 0; k < 30000; ++k) {
        const int kind = k % 3;
        auto coordinate = [&] {
            if (kind == 0) return ordinary(rng);
            if (kind == 1) return std::bit_cast<float>(anyBits(rng));
            return std::ldexp(ordinary(rng), scale(rng));
        };
        for (int i = 0; i < 3; ++i) v.push_back({coordinate(), coordinate(), coordinate()});
        c.push_back({3 * k, 3 * k + 1, 3 * k + 2});
    }
    // A right angle of sides 1 and t leans by a component t / sqrt(1 + t^2): sweep t across half-millionth steps.
    for (int k = 0; k < 20000; ++k) {
        const float t = float(k) * 0.0000005f;
        const int32_t base = int32_t(v.size());
        v.push_back({0, 0, 0});
        v.push_back({1, 0, 0});
        v.push_back({0, 1, t});
        c.push_back({base, base + 1, base + 2});
    }
    for (size_t start = 0; start < c.size(); start += 1000) {
        std::vector<std::array<int32_t, 3>> part(c.begin() + std::ptrdiff_t(start),
                                                  c.begin() + std::ptrdiff_t(std::min(start + 1000, c.size())));
        const int32_t first = part.front()[0];
        for (auto& corners : part)
            for (int32_t& corner : corners) corner -= first;
        const int32_t last = part.back()[2];
        expectFaceNormalsAsFirstWritten(
            objectWith({v.begin() + first, v.begin() + first + last + 1}, part),
            "random faces from " + std::to_string(start));
        if (::testing::Test::HasFailure()) break;
    }
}

TEST(Normals, MoreThan32767DistinctNormalsOverflow) {
    std::vector<Vector3> v;
    for (int i = 0; i < 32767; ++i) v.push_back({float(i % 100) * 0.02f, float(i / 100) * 0.02f, 0});
    EXPECT_EQ(mergeFaceNormals(v).normals.size(), 32767u);
    v.push_back({-1, -1, -1});
    try {
        mergeFaceNormals(v);
        ADD_FAILURE() << "no overflow";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), 6);
    }
}

struct NormalsFixture : ::testing::Test {
    test::TempDir dir;
    test::TestContext t{dir.path()};
};

TEST_F(NormalsFixture, ACubeGetsSixFaceNormalsInOrderOfAppearance) {
    t.ctx.model.peoObjects = {cube()};
    recalcFaceNormals(t.ctx);
    const PeoObject& o = t.ctx.model.peoObjects[0];
    ASSERT_EQ(o.nFaceNormals, 6);
    EXPECT_EQ(o.faceNormals,
              (std::vector<PeoNormal>{{0, 0, -1}, {0, 0, 1}, {0, -1, 0}, {0, 1, 0}, {-1, 0, 0}, {1, 0, 0}}));
    for (size_t p = 0; p < 12; ++p) EXPECT_EQ(o.polygons[p].faceNormal, int32_t(p / 2));
    EXPECT_EQ(t.status.statusHistory.front(), "Recalculating face normals...");

    calcVertexNormals(t.ctx);
    EXPECT_EQ(o.nVertNormals, 8);
    EXPECT_EQ(o.vertices[0].normal, 6);
    EXPECT_EQ(o.vertices[7].normal, 13);
    // Every corner of the cube points away from the centre.
    for (size_t k = 0; k < 8; ++k) {
        const PeoNormal& n = o.vertexNormals[k];
        EXPECT_GT(n.x * (float(k & 1) - 0.5f), 0) << k;
        EXPECT_GT(n.y * (float((k >> 1) & 1) - 0.5f), 0) << k;
        EXPECT_GT(n.z * (float((k >> 2) & 1) - 0.5f), 0) << k;
        EXPECT_NEAR(std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z), 1.0, 1e-6) << k;
    }
    EXPECT_EQ(t.status.statusHistory.back(), "Done calculating vertex normals.");
    EXPECT_FALSE(t.status.busy);
}

TEST_F(NormalsFixture, VertexNormalsAverageOnlyWhereMoreThanOneCornerMeets) {
    // Vertex 0: two faces (+z and the tilted one); vertex 4: one tilted face only; vertex 5: unused;
    // vertices 6 to 8: one triangle twice, once each way round (the normals cancel).
    PeoObject o =
        objectWith({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 1, 1}, {5, 0, 0}, {9, 9, 9}, {0, 0, 3}, {1, 0, 3}, {0, 1, 3}},
                   {{0, 1, 2}, {0, 1, 3}, {4, 1, 3}, {6, 7, 8}, {6, 8, 7}});
    t.ctx.model.peoObjects = {o};
    recalcFaceNormals(t.ctx);
    calcVertexNormals(t.ctx);
    const PeoObject& r = t.ctx.model.peoObjects[0];
    ASSERT_EQ(r.nFaceNormals, 4);
    EXPECT_EQ(r.faceNormals[1], (PeoNormal{0, -0.707107f, 0.707107f}));
    // Two contributions: summed, then divided by the length, not rounded to 6 decimals.
    const double len0 = std::sqrt(0.707107 * 0.707107 + (1 + 0.707107f) * (1 + 0.707107f));
    EXPECT_FLOAT_EQ(r.vertexNormals[0].z, float((1 + 0.707107f) / len0));
    // One contribution: the stored face normal unchanged.
    const PeoNormal tilted = r.faceNormals[size_t(r.polygons[2].faceNormal)];
    EXPECT_EQ(r.vertexNormals[4], tilted);
    EXPECT_EQ(r.vertexNormals[5], (PeoNormal{0, 0, 0}));
    for (size_t v : {6, 7, 8}) EXPECT_EQ(r.vertexNormals[v], (PeoNormal{0, 0, 0})) << v;
    for (size_t v = 0; v < 9; ++v) EXPECT_EQ(r.vertices[v].normal, 4 + int32_t(v));
}

TEST_F(NormalsFixture, ObjectsWithoutPolygonsAndDeletedSlotsAndBadCornersDoNotStopTheNormals) {
    PeoObject empty = objectWith({{1, 2, 3}, {4, 5, 6}}, {});
    empty.faceNormals = {{1, 0, 0}};  // an older list is dropped
    empty.nFaceNormals = 1;
    PeoObject deleted = cube();
    deleted.name = "**DELETED**";
    // Corner 9 is outside the list: the polygon's normal is (0, 0, 0) and corner 9 counts for no vertex.
    PeoObject bad = objectWith({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}, {0, 1, 9}});
    t.ctx.model.peoObjects = {empty, deleted, bad};
    recalcFaceNormals(t.ctx);
    calcVertexNormals(t.ctx);
    const auto& objs = t.ctx.model.peoObjects;
    EXPECT_EQ(objs[0].nFaceNormals, 0);
    EXPECT_TRUE(objs[0].faceNormals.empty());
    EXPECT_EQ(objs[0].vertexNormals, (std::vector<PeoNormal>{{0, 0, 0}, {0, 0, 0}}));
    EXPECT_EQ(objs[0].vertices[1].normal, 1);
    EXPECT_EQ(objs[1].nFaceNormals, 6);
    EXPECT_EQ(objs[2].faceNormals, (std::vector<PeoNormal>{{0, 0, 1}, {0, 0, 0}}));
    EXPECT_EQ(objs[2].polygons[1].faceNormal, 1);
    // Vertex 2 has only the good polygon; vertices 0 and 1 also the zero normal of the bad one.
    EXPECT_EQ(objs[2].vertexNormals[2], (PeoNormal{0, 0, 1}));
    EXPECT_EQ(objs[2].vertexNormals[0], (PeoNormal{0, 0, 1}));
}

TEST_F(NormalsFixture, MoreThan32767CornersAtOneVertexOverflow) {
    auto fan = [](int polygons) {
        std::vector<std::array<int32_t, 3>> tris(size_t(polygons), {0, 0, 1});
        return objectWith({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, tris);
    };
    // 16383 polygons use vertex 0 twice (32766 corners), one more uses it once: 32767 corners.
    PeoObject ok = fan(16383);
    ok.polygons.push_back(ok.polygons[0]);
    ok.polygons.back().v1 = 1;
    ok.polygons.back().v2 = 2;
    PeoObject tooMany = fan(16384);  // 32768 corners
    t.ctx.model.peoObjects = {ok};
    recalcFaceNormals(t.ctx);
    EXPECT_NO_THROW(calcVertexNormals(t.ctx));
    t.ctx.model.peoObjects = {tooMany};
    recalcFaceNormals(t.ctx);
    try {
        calcVertexNormals(t.ctx);
        ADD_FAILURE() << "no overflow";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), 6);
    }
    EXPECT_FALSE(t.status.busy);
}
