// Gun firing arcs: the wedge and the sphere cut-out, their joint search, the slaved-gun fallback, the climb
// through parent objects, the placement at the chunk, the angle guard and the error handling.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "Fakes.h"
#include "TempDir.h"
#include "attachments/state/GunAngles.h"
#include "model/ModelHelpers.h"
#include "model/RotationMath.h"
#include "attachments/GunArcs.h"
#include "scene/Scene.h"
#include "editor/context/EditingContext.h"

using namespace tarv;
using namespace tarv::scene;
using tarv::test::TempDir;
using tarv::test::TestContext;

namespace {

constexpr double kPi = 3.14159265359;
constexpr double kDeg = kPi / 180;

// The sphere point of the formula, in double, as the single-precision corner it must give.
Vector3 expectedPoint(double r, double t, double d) {
    return {float(r * std::sin(d)), float(r * std::sin(t) * std::cos(d)), float(r * std::cos(t) * std::cos(d))};
}

// Singles against the formula's doubles: equal but for the last bits of the radius' scale.
void expectSame(const Vector3& got, const Vector3& want, const std::string& what = {}) {
    EXPECT_NEAR(got.x, want.x, 1e-5) << what;
    EXPECT_NEAR(got.y, want.y, 1e-5) << what;
    EXPECT_NEAR(got.z, want.z, 1e-5) << what;
}

void expectNear(const Vec3& got, const Vec3& want, double tolerance = 1e-5) {
    EXPECT_NEAR(got.x, want.x, tolerance);
    EXPECT_NEAR(got.y, want.y, tolerance);
    EXPECT_NEAR(got.z, want.z, tolerance);
}

void expectSameTransform(const Transform& got, const Transform& want) {
    for (size_t i = 0; i < 3; ++i)
        for (size_t j = 0; j < 3; ++j) EXPECT_NEAR(got.m[i][j], want.m[i][j], 1e-6) << i << "," << j;
    expectNear(got.t, want.t, 1e-6);
}

Vector3 corner(const FacePtr& face, size_t k) {
    const Vec3& p = face->vertices()[k];
    return {float(p.x), float(p.y), float(p.z)};
}

// The corners of a mesh's faces, in order.
std::vector<ArcTriangle> meshTriangles(const MeshBuilder& mesh) {
    std::vector<ArcTriangle> out;
    for (const auto& f : mesh.faces()) {
        EXPECT_EQ(f->vertices().size(), 3u);
        out.push_back({corner(f, 0), corner(f, 1), corner(f, 2)});
    }
    return out;
}

bool sameTriangles(const std::vector<ArcTriangle>& a, const std::vector<ArcTriangle>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        for (size_t k = 0; k < 3; ++k)
            if (!(a[i][k] == b[i][k])) return false;
    return true;
}

PeoObject object(const std::string& name, int32_t mother, const Vector3& angles = {}) {
    PeoObject o;
    o.name = name;
    o.mother = mother;
    o.matrix = eulerToMatrix(angles);
    o.maxZ = 2.0f;
    return o;
}

ShpGun gun(const std::string& az, const std::string& dc, float minT, float maxT, float minD, float maxD,
           int16_t slave = -1) {
    ShpGun g;
    g.gunType = 2;
    g.azimuthJoint = az;
    g.declinationJoint = dc;
    g.minTurnAngle = minT;
    g.maxTurnAngle = maxT;
    g.minDeclination = minD;
    g.maxDeclination = maxD;
    g.slaveDriver = slave;
    return g;
}

// A context with a model, a gun table and a marker whose frame hangs under object 0's frame.
struct ArcFixture {
    TempDir dir;
    TestContext t{dir.path()};
    EditingContext& ctx = t.ctx;
    FramePtr root = createSceneRoot();
    FramePtr objectZeroFrame = createFrame(root);
    ViewObject marker;
    GunArcChunk chunk{{1.0f, 2.0f, 3.0f}, "Turret"};

    ArcFixture() {
        ctx.version.appTitle = "TARV test";
        ctx.model.modelExtent = 30.0;
        ctx.model.peoObjects = {object("Root", 0), object("Turret", 1, {0.1f, -0.2f, 0.3f})};
        objectZeroFrame->setPosition(root, 5, -4, 2);
        objectZeroFrame->addRotation(kCombineBefore, 0, 1, 0, 0.7);
        marker = newMarker();
    }
    ViewObject newMarker() {
        ViewObject v;
        v.mesh = createMeshBuilder();
        v.frame = createFrame(objectZeroFrame);
        return v;
    }
    void setGuns(std::vector<ShpGun> guns) {
        guns.push_back(ShpGun{});
        ctx.shp.shpGuns = std::move(guns);
        ctx.shp.shpGunCount = int16_t(ctx.shp.shpGuns.size() - 1);
    }
};

}  // namespace

// ---------------------------------------------------------------------------------------------------------
// Geometry

TEST(GunArcGeometry, StepCountsAndStepsFromTheLimits) {
    struct Case {
        GunArcShape shape;
        GunAngleLimits limits;
        int16_t nT, nD;
        size_t faces;
    };
    const Case cases[] = {
        {GunArcShape::Wedge, {-45, 45, -10, 40}, 6, 3, 36},   // 50 / 15 rounds to 3
        {GunArcShape::CutOut, {-90, 90, 0, 90}, 18, 9, 652},  // 648 grid triangles and 4 sides
        {GunArcShape::Wedge, {20, 20, 0, 30}, 1, 2, 12},      // equal turn limits: one step of 0
        {GunArcShape::CutOut, {20, 20, 0, 30}, 1, 3, 16},
        {GunArcShape::Wedge, {45, -45, 40, -10}, 6, 3, 36},  // reversed limits: negative steps
        {GunArcShape::CutOut, {-180, 180, -90, 90}, 36, 18, 2596},
    };
    for (const Case& c : cases) {
        const std::string what = std::to_string(c.limits.minTurnAngle) + "/" + std::to_string(c.limits.maxTurnAngle);
        const GunArcAngles a = gunArcAngles(c.limits);
        EXPECT_FLOAT_EQ(a.turnStart, float(-double(c.limits.maxTurnAngle) * kDeg)) << what;
        EXPECT_FLOAT_EQ(a.turnEnd, float(-double(c.limits.minTurnAngle) * kDeg)) << what;
        EXPECT_FLOAT_EQ(a.declStart, float(double(c.limits.minDeclination) * kDeg)) << what;
        EXPECT_FLOAT_EQ(a.declEnd, float(double(c.limits.maxDeclination) * kDeg)) << what;

        const GunArcSteps s = gunArcSteps(a, c.shape);
        EXPECT_EQ(s.nT, c.nT) << what;
        EXPECT_EQ(s.nD, c.nD) << what;
        EXPECT_FLOAT_EQ(s.stepT, float((double(a.turnEnd) - double(a.turnStart)) / c.nT)) << what;
        EXPECT_FLOAT_EQ(s.stepD, float((double(a.declEnd) - double(a.declStart)) / c.nD)) << what;
        if (c.limits.minTurnAngle == c.limits.maxTurnAngle) {
            EXPECT_EQ(s.stepT, 0.0f) << what;
        }

        const size_t faces =
            c.shape == GunArcShape::Wedge ? wedgeGeometry(a, s, 10).triangles.size() : cutOutTriangles(a, s, 10).size();
        EXPECT_EQ(faces, c.faces) << what;
    }
}

TEST(GunArcGeometry, SpherePointDirections) {
    expectSame(gunArcPoint(2, 0, 0), {0, 0, 2});
    const Vector3 turned = gunArcPoint(2, 0.3f, 0);
    EXPECT_GT(turned.y, 0);
    EXPECT_EQ(turned.x, 0);
    const Vector3 tilted = gunArcPoint(2, 0, 0.3f);
    EXPECT_GT(tilted.x, 0);
    EXPECT_EQ(tilted.y, 0);
    expectSame(gunArcPoint(3, 0.4f, -0.25f), expectedPoint(3, double(0.4f), double(-0.25f)));
}

TEST(GunArcGeometry, WedgeVerticesRunRoundTheSectorAndFacesComeInBothWindings) {
    const GunArcAngles a = gunArcAngles({-45, 45, -10, 40});
    const GunArcSteps s = gunArcSteps(a, GunArcShape::Wedge);
    const double R = double(float(30.0 / 1.5));
    const WedgeGeometry w = wedgeGeometry(a, s, float(R));
    ASSERT_EQ(w.vertices.size(), 20u);
    const int n = 18;
    const double tS = double(float(-45 * kDeg)), tE = double(float(45 * kDeg));
    const double dS = double(float(-10 * kDeg)), dE = double(float(40 * kDeg));
    const double stepT = (tE - tS) / 6, stepD = (dE - dS) / 3;

    expectSame(w.vertices[0], {0, 0, 0});
    expectSame(w.vertices[1], expectedPoint(R, tS, dS), "first corner");
    expectSame(w.vertices[4], expectedPoint(R, tS + 3 * stepT, dS), "lower arc");
    expectSame(w.vertices[7], expectedPoint(R, tE, dS), "corner at turnEnd");
    expectSame(w.vertices[8], expectedPoint(R, tE, dS + stepD), "up the turnEnd side");
    expectSame(w.vertices[10], expectedPoint(R, tE, dE), "upper corner");
    expectSame(w.vertices[12], expectedPoint(R, tE - 2 * stepT, dE), "upper arc");
    expectSame(w.vertices[16], expectedPoint(R, tS, dE), "upper corner at turnStart");
    expectSame(w.vertices[17], expectedPoint(R, tS, dE - stepD), "down the turnStart side");
    expectSame(w.vertices[19], w.vertices[1], "the loop closes");

    ASSERT_EQ(w.triangles.size(), size_t(2 * n));
    for (int k = 1; k <= n; ++k) {
        const ArcTriangle& first = w.triangles[size_t(k - 1)];
        const ArcTriangle& second = w.triangles[size_t(k - 1 + n)];
        EXPECT_TRUE(first[0] == w.vertices[0] && first[1] == w.vertices[size_t(k)] &&
                    first[2] == w.vertices[size_t(k + 1)])
            << k;
        EXPECT_TRUE(second[0] == w.vertices[0] && second[1] == w.vertices[size_t(k + 1)] &&
                    second[2] == w.vertices[size_t(k)])
            << k;
    }
}

TEST(GunArcGeometry, CutOutOrderRowsOfFirstWindingsThenReversedRowsThenSides) {
    const GunArcAngles a = gunArcAngles({-90, 90, 0, 90});
    const GunArcSteps s = gunArcSteps(a, GunArcShape::CutOut);
    const double R = double(float(1.5 * 2.0));
    const auto tris = cutOutTriangles(a, s, float(R));
    ASSERT_EQ(tris.size(), 652u);
    const double tS = double(a.turnStart), dS = double(a.declStart);
    const double stepT = double(s.stepT), stepD = double(s.stepD);
    auto v = [&](int i, int j) { return expectedPoint(R, tS + i * stepT, dS + j * stepD); };
    const int nT = 18, nD = 9;

    // A(i, j) and B(i, j) of row j, then the next row; C and D follow in the same pattern.
    auto check = [&](size_t at, const Vector3& p0, const Vector3& p1, const Vector3& p2, const char* what) {
        expectSame(tris[at][0], p0, what);
        expectSame(tris[at][1], p1, what);
        expectSame(tris[at][2], p2, what);
    };
    check(0, v(0, 0), v(1, 0), v(0, 1), "A(1,1)");
    check(size_t(nT - 1), v(nT - 1, 0), v(nT, 0), v(nT - 1, 1), "A(nT,1)");
    check(size_t(nT), v(1, 1), v(0, 1), v(1, 0), "B(1,1)");
    check(size_t(2 * nT + 4), v(4, 1), v(5, 1), v(4, 2), "A(5,2)");
    check(size_t(3 * nT + 2), v(3, 2), v(2, 2), v(3, 1), "B(3,2)");
    const size_t c0 = size_t(2 * nT * nD);
    check(c0, v(0, 0), v(0, 1), v(1, 0), "C(1,1)");
    check(c0 + size_t(nT), v(1, 1), v(1, 0), v(0, 1), "D(1,1)");
    check(c0 + size_t(2 * nT * (nD - 1) + 2 * nT - 1), v(nT, nD), v(nT, nD - 1), v(nT - 1, nD), "D(nT,nD)");
    const size_t sides = size_t(4 * nT * nD);
    const Vector3 O{};
    check(sides + 0, O, v(0, 0), v(0, nD), "side 1");
    check(sides + 1, O, v(0, nD), v(0, 0), "side 2");
    check(sides + 2, O, v(nT, 0), v(nT, nD), "side 3");
    check(sides + 3, O, v(nT, nD), v(nT, 0), "side 4");
}

TEST(GunArcGeometry, ReversedLimitsGiveTheSamePositionsInAnotherOrder) {
    // Whether every corner of one set lies (within rounding) on some corner of the other.
    auto covers = [](const std::vector<ArcTriangle>& a, const std::vector<ArcTriangle>& b) {
        for (const auto& ta : a)
            for (const auto& p : ta) {
                bool found = false;
                for (const auto& tb : b)
                    for (const auto& q : tb)
                        found = found || (std::fabs(p.x - q.x) < 1e-5f && std::fabs(p.y - q.y) < 1e-5f &&
                                          std::fabs(p.z - q.z) < 1e-5f);
                if (!found) return false;
            }
        return true;
    };
    for (const GunArcShape shape : {GunArcShape::Wedge, GunArcShape::CutOut}) {
        const GunArcAngles a = gunArcAngles({-45, 45, -10, 40});
        const GunArcAngles r = gunArcAngles({45, -45, 40, -10});
        const auto sa = gunArcSteps(a, shape), sr = gunArcSteps(r, shape);
        const auto ta = shape == GunArcShape::Wedge ? wedgeGeometry(a, sa, 5).triangles : cutOutTriangles(a, sa, 5);
        const auto tr = shape == GunArcShape::Wedge ? wedgeGeometry(r, sr, 5).triangles : cutOutTriangles(r, sr, 5);
        EXPECT_EQ(ta.size(), tr.size());
        EXPECT_FALSE(sameTriangles(ta, tr));
        EXPECT_TRUE(covers(ta, tr));
        EXPECT_TRUE(covers(tr, ta));
    }
}

TEST(GunArcGeometry, ZeroExtentPutsTheWedgeAtTheApexAndNegativeMaxZMirrorsTheCutOut) {
    ArcFixture f;
    f.setGuns({gun("Turret", "Turret", -45, 45, -10, 40)});
    f.ctx.model.modelExtent = 0;
    createPieceOfCake(f.ctx, 0, f.chunk, f.marker);
    ASSERT_EQ(f.marker.mesh->faces().size(), 36u);
    for (const auto& t : meshTriangles(*f.marker.mesh))
        for (const auto& p : t) EXPECT_TRUE(std::fabs(p.x) + std::fabs(p.y) + std::fabs(p.z) == 0.0f);

    ViewObject positive = f.newMarker(), negative = f.newMarker();
    createSphereCutOut(f.ctx, 0, f.chunk, positive);
    f.ctx.model.peoObjects[0].maxZ = -2.0f;
    createSphereCutOut(f.ctx, 0, f.chunk, negative);
    const auto p = meshTriangles(*positive.mesh), n = meshTriangles(*negative.mesh);
    ASSERT_EQ(p.size(), n.size());
    for (size_t i = 0; i < p.size(); ++i)
        for (size_t k = 0; k < 3; ++k) expectSame(n[i][k], {-p[i][k].x, -p[i][k].y, -p[i][k].z});
    EXPECT_TRUE(f.t.errors.reports.empty());
}

// ---------------------------------------------------------------------------------------------------------
// Joints

TEST(GunArcJoints, SearchAndFallbacks) {
    struct Case {
        const char* what;
        ShpGun gun;
        int16_t joint;
        bool mastersLimits;
    };
    const ShpGun master = gun("Barrel", "Turret", -10, 10, -5, 5);
    const Case cases[] = {
        {"case ignored, lower index wins", gun("TURRET", "barrel", 1, 2, 3, 4), 1, false},
        {"azimuth not found takes declination", gun("Nothing", "BARREL", 1, 2, 3, 4), 3, false},
        {"neither found, not slaved", gun("(none)", "(none)", 1, 2, 3, 4), 0, false},
        {"one object for both axes, slaved", gun("turret", "Turret", 1, 2, 3, 4, 0), 1, false},
        {"own different joints, slaved", gun("Barrel", "Turret", 1, 2, 3, 4, 0), 3, true},
        {"only azimuth found, slaved", gun("Turret", "(none)", 1, 2, 3, 4, 0), 1, true},
    };
    for (const Case& c : cases) {
        ArcFixture f;
        f.ctx.model.peoObjects = {object("Root", 0), object("Turret", 1), object("turret", 1), object("Barrel", 2)};
        f.setGuns({master, c.gun});
        const GunArcJoint j = findGunArcJoint(f.ctx, 1);
        EXPECT_EQ(j.joint, c.joint) << c.what;
        EXPECT_EQ(j.limits, gunAngleLimits(c.mastersLimits ? master : c.gun)) << c.what;
        EXPECT_FALSE(j.askForSlavedBinding) << c.what;
    }
}

TEST(GunArcJoints, AnObjectAtTheSentinelIndexIsNeverAJoint) {
    ArcFixture f;
    f.ctx.model.peoObjects.assign(1001, object("Plate", 0));
    f.ctx.model.peoObjects[999].name = "Turret";
    f.setGuns({gun("Turret", "(none)", 0, 10, 0, 10)});
    EXPECT_EQ(findGunArcJoint(f.ctx, 0).joint, 0);
    f.ctx.model.peoObjects[1000].name = "Turret2";
    f.ctx.shp.shpGuns[0].declinationJoint = "turret2";
    EXPECT_EQ(findGunArcJoint(f.ctx, 0).joint, 1000);
}

TEST(GunArcJoints, SlavedGunWithoutBindingsAsksOnceTakesTheMastersLargerJointAndKeepsItsOwnLimits) {
    ArcFixture f;
    f.ctx.model.peoObjects = {object("Root", 0), object("Turret", 1, {0, 0, 0.2f}), object("Mount", 1),
                              object("Barrel", 2, {0.1f, 0, 0})};
    const ShpGun master = gun("Barrel", "Turret", -60, 60, -5, 45);
    const ShpGun slaved = gun("(see master GUN0)", "(see master GUN0)", -20, 20, 0, 10, 0);
    f.setGuns({master, slaved});
    f.t.prompts.expectMessage("Although this gun is 'slaved', are you sure you don't want to set any binding for GUN1?",
                              "TARV test");
    createSphereCutOut(f.ctx, 1, f.chunk, f.marker);
    EXPECT_EQ(f.t.prompts.shown.size(), 1u);
    EXPECT_EQ(f.t.prompts.shown[0].kind, "message");
    EXPECT_EQ(f.t.prompts.shown[0].caption, "TARV test");  // the application's title

    // The marker is the master's range at the master's larger joint (object 3).
    ArcFixture g;
    g.ctx.model.peoObjects = f.ctx.model.peoObjects;
    g.setGuns({gun("Barrel", "Barrel", -60, 60, -5, 45)});
    createSphereCutOut(g.ctx, 0, g.chunk, g.marker);
    EXPECT_TRUE(sameTriangles(meshTriangles(*f.marker.mesh), meshTriangles(*g.marker.mesh)));
    EXPECT_EQ(f.marker.mesh->faces().size(), size_t(4 * 12 * 5 + 4));
    expectSameTransform(f.marker.frame->localTransform(), g.marker.frame->localTransform());

    // The slaved gun's record keeps its own limits; a second build asks again and draws the same.
    EXPECT_EQ(f.ctx.shp.shpGuns[1], slaved);
    EXPECT_EQ(f.ctx.shp.shpGuns[0], master);
    f.t.prompts.expectMessage();
    ViewObject again = f.newMarker();
    createSphereCutOut(f.ctx, 1, f.chunk, again);
    EXPECT_TRUE(sameTriangles(meshTriangles(*again.mesh), meshTriangles(*f.marker.mesh)));
    EXPECT_EQ(f.ctx.shp.shpGuns[1], slaved);
    EXPECT_TRUE(f.t.errors.reports.empty());
}

// ---------------------------------------------------------------------------------------------------------
// Climb

TEST(GunArcClimb, WedgeAddsObjectZeroCutOutDoesNot) {
    ArcFixture f;
    // 0 root; 1 child of 0; 2 child of 1; 3 another root; 4 child of 3.
    f.ctx.model.peoObjects = {object("Root", 0, {0.01f, 0.02f, 0.04f}), object("Hull", 1, {0.08f, 0, 0.16f}),
                              object("Turret", 2, {0, 0.32f, 0.01f}), object("Pod", 0, {0.02f, 0.05f, 0.03f}),
                              object("Gun", 4, {0.04f, 0.01f, 0.07f})};
    Vector3 e[5];
    for (int16_t i = 0; i < 5; ++i) e[i] = getObjectEulersFromMatrix(f.ctx, i);
    auto sum = [&](std::initializer_list<int> objects) {
        Vector3 s{};
        for (int i : objects) s = {s.x + e[i].x, s.y + e[i].y, s.z + e[i].z};
        return s;
    };
    struct Case {
        int16_t joint;
        GunArcShape shape;
        Vector3 want;
    };
    const Case cases[] = {
        {1, GunArcShape::Wedge, sum({1, 0})},    {1, GunArcShape::CutOut, sum({1})},
        {2, GunArcShape::Wedge, sum({2, 1, 0})}, {2, GunArcShape::CutOut, sum({2, 1})},
        {4, GunArcShape::Wedge, sum({4, 3})},    {4, GunArcShape::CutOut, sum({4, 3})},
        {0, GunArcShape::Wedge, sum({0})},       {0, GunArcShape::CutOut, sum({0})},
    };
    for (const Case& c : cases) {
        const Vector3 s = summedJointAngles(f.ctx, c.joint, c.shape);
        const std::string what = std::to_string(c.joint) + (c.shape == GunArcShape::Wedge ? " wedge" : " cut-out");
        EXPECT_NEAR(s.x, c.want.x, 1e-6) << what;
        EXPECT_NEAR(s.y, c.want.y, 1e-6) << what;
        EXPECT_NEAR(s.z, c.want.z, 1e-6) << what;
    }
    EXPECT_TRUE(f.t.errors.reports.empty());
}

TEST(GunArcClimb, ACyclicParentChainStopsAfter999Parents) {
    ArcFixture f;
    f.ctx.model.peoObjects = {object("Root", 0), object("A", 3, {0, 0, 0.001f}), object("B", 2, {0, 0, 0.001f})};
    const float e = getObjectEulersFromMatrix(f.ctx, 1).z;
    for (const GunArcShape shape : {GunArcShape::Wedge, GunArcShape::CutOut}) {
        // The joint itself and 999 parents.
        EXPECT_NEAR(summedJointAngles(f.ctx, 1, shape).z, 1000.0 * e, 1e-4);
    }
    EXPECT_TRUE(f.t.errors.reports.empty());
}

TEST(GunArcClimb, AParentLinkOutsideTheObjectsIsAReportAndNothingIsBuilt) {
    ArcFixture f;
    f.ctx.model.peoObjects = {object("Root", 0), object("Turret", 40)};
    f.setGuns({gun("Turret", "Turret", -45, 45, -10, 40)});
    for (auto build : {createPieceOfCake, createSphereCutOut}) {
        ViewObject v = f.newMarker();
        build(f.ctx, 0, f.chunk, v);
        EXPECT_TRUE(v.mesh->faces().empty());
    }
    ASSERT_EQ(f.t.errors.reports.size(), 2u);
    EXPECT_EQ(f.t.errors.reports[0].number, 9);
    EXPECT_EQ(f.t.errors.reports[0].procedure, "createPieceOfCake");
    EXPECT_EQ(f.t.errors.reports[1].procedure, "createSphereCutOut");
}

// ---------------------------------------------------------------------------------------------------------
// Placement

TEST(GunArcPlacement, ApexAtTheChunkAndTheZRotationActsFirst) {
    for (auto build : {createPieceOfCake, createSphereCutOut}) {
        ArcFixture f;
        f.ctx.model.peoObjects = {object("Root", 0, {0.2f, 0, 0}), object("Hull", 1, {0, 0.3f, 0}),
                                  object("Turret", 2, {0.4f, -0.5f, 0.6f})};
        f.setGuns({gun("Turret", "Turret", -45, 45, -10, 40)});
        build(f.ctx, 0, f.chunk, f.marker);
        ASSERT_FALSE(f.marker.mesh->faces().empty());
        const Vector3 at = f.marker.frame->getPosition(f.objectZeroFrame);
        EXPECT_NEAR(at.x, 1.0, 1e-5);
        EXPECT_NEAR(at.y, 2.0, 1e-5);
        EXPECT_NEAR(at.z, 3.0, 1e-5);

        const Vector3 s =
            summedJointAngles(f.ctx, 2, build == createPieceOfCake ? GunArcShape::Wedge : GunArcShape::CutOut);
        Transform local =
            rotationAbout({0, 0, 1}, s.z).then(rotationAbout({0, 1, 0}, s.y)).then(rotationAbout({1, 0, 0}, s.x));
        local.t = {1, 2, 3};
        const Vec3 probe{0.3, -1.2, 2.5};
        expectNear(f.marker.frame->worldTransform().applyToPoint(probe),
                   f.objectZeroFrame->worldTransform().applyToPoint(local.applyToPoint(probe)));
    }
}

TEST(GunArcPlacement, BuildingTwiceOnOneFrameEqualsBuildingOnce) {
    for (auto build : {createPieceOfCake, createSphereCutOut}) {
        ArcFixture f;
        f.setGuns({gun("Turret", "Turret", -45, 45, -10, 40)});
        ViewObject fresh = f.newMarker();
        build(f.ctx, 0, f.chunk, fresh);
        build(f.ctx, 0, f.chunk, f.marker);
        // The panel's Apply: a new mesh on the chunk's existing frame, perhaps with a moved chunk.
        f.marker.mesh = createMeshBuilder();
        build(f.ctx, 0, f.chunk, f.marker);
        expectSameTransform(f.marker.frame->localTransform(), fresh.frame->localTransform());
        EXPECT_TRUE(sameTriangles(meshTriangles(*f.marker.mesh), meshTriangles(*fresh.mesh)));
    }
}

// ---------------------------------------------------------------------------------------------------------
// Angle guard

TEST(GunAngleGuard, UnusableLimitsCountAsZero) {
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    struct Case {
        float in, out;
    };
    for (const Case c : {Case{12.5f, 12.5f}, Case{-360, -360}, Case{360, 360}, Case{360.0001f, 0}, Case{400, 0},
                         Case{-431602080.0f, 0}, Case{nan, 0}, Case{inf, 0}, Case{-inf, 0}})
        EXPECT_EQ(usableGunAngle(c.in), c.out) << c.in;
}

TEST(GunAngleGuard, GarbageLimitsBuildTheMarkerOfLimitZeroWithoutReport) {
    const float garbage[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                             -431602080.0f, 400.0f};
    for (auto build : {createPieceOfCake, createSphereCutOut}) {
        for (int field = 0; field < 4; ++field) {
            for (const float bad : garbage) {
                ArcFixture f;
                ShpGun g = gun("Turret", "Turret", -45, 45, -10, 40);
                float* slot[] = {&g.minTurnAngle, &g.maxTurnAngle, &g.minDeclination, &g.maxDeclination};
                *slot[field] = 0;
                f.setGuns({g});
                build(f.ctx, 0, f.chunk, f.marker);
                *slot[field] = bad;
                f.setGuns({g});
                ViewObject withGarbage = f.newMarker();
                build(f.ctx, 0, f.chunk, withGarbage);
                EXPECT_FALSE(f.marker.mesh->faces().empty());
                EXPECT_TRUE(sameTriangles(meshTriangles(*withGarbage.mesh), meshTriangles(*f.marker.mesh)))
                    << field << " " << bad;
                EXPECT_TRUE(f.t.errors.reports.empty()) << field << " " << bad;
                // The gun's record keeps what was read.
                const ShpGun& kept = f.ctx.shp.shpGuns[0];
                const float stored[] = {kept.minTurnAngle, kept.maxTurnAngle, kept.minDeclination, kept.maxDeclination};
                EXPECT_TRUE(std::isnan(bad) ? std::isnan(stored[field]) : stored[field] == bad);
            }
        }
    }
}

// ---------------------------------------------------------------------------------------------------------
// Errors

TEST(GunArcErrors, AMasterOutsideTheGunTableIsAReportWithAnEmptyMeshAndAnUnmovedFrame) {
    struct Case {
        void (*build)(EditingContext&, int16_t, const GunArcChunk&, ViewObject&);
        const char* procedure;
    };
    for (const Case c :
         {Case{createPieceOfCake, "createPieceOfCake"}, Case{createSphereCutOut, "createSphereCutOut"}}) {
        ArcFixture f;
        f.setGuns({gun("Turret", "Turret", -45, 45, -10, 40), gun("(none)", "(none)", -45, 45, -10, 40, 7)});
        f.marker.frame->setPosition(f.objectZeroFrame, 9, 8, 7);
        f.marker.frame->addRotation(kCombineBefore, 1, 0, 0, 0.3);
        const Transform before = f.marker.frame->localTransform();
        c.build(f.ctx, 1, f.chunk, f.marker);
        ASSERT_EQ(f.t.errors.reports.size(), 1u) << c.procedure;
        const auto& r = f.t.errors.reports[0];
        EXPECT_EQ(r.number, 9);
        EXPECT_EQ(r.module, "modD3D");
        EXPECT_EQ(r.procedure, c.procedure);
        EXPECT_EQ(r.arguments, "1|Turret");
        EXPECT_TRUE(f.marker.mesh->faces().empty());
        expectSameTransform(f.marker.frame->localTransform(), before);
        EXPECT_TRUE(f.t.prompts.shown.empty());
    }
}

TEST(GunArcErrors, NoObjectsBuildsNothingAndReportsNothing) {
    for (auto build : {createPieceOfCake, createSphereCutOut}) {
        ArcFixture f;
        f.ctx.model.peoObjects.clear();
        f.setGuns({gun("Turret", "Turret", -45, 45, -10, 40)});
        f.marker.frame->setPosition(f.objectZeroFrame, 9, 8, 7);
        build(f.ctx, 0, f.chunk, f.marker);
        EXPECT_TRUE(f.marker.mesh->faces().empty());
        expectNear(Vec3{f.marker.frame->localTransform().t}, Vec3{9, 8, 7});
        EXPECT_TRUE(f.t.errors.reports.empty());
        EXPECT_EQ(f.ctx.err.errProc, build == createPieceOfCake ? "createPieceOfCake" : "createSphereCutOut");
        EXPECT_EQ(f.ctx.err.errArgs, "0|Turret");
    }
}

TEST(GunArcErrors, AMarkerWithoutMeshOrFrameIsAReportBeforeAnythingIsTouched) {
    ArcFixture f;
    f.setGuns({gun("Turret", "Turret", -45, 45, -10, 40)});
    const FramePtr frame = f.marker.frame;
    f.marker.mesh = nullptr;
    createPieceOfCake(f.ctx, 0, f.chunk, f.marker);
    EXPECT_EQ(frame->localTransform().t, Vec3{});
    ViewObject noFrame = f.newMarker();
    noFrame.frame = nullptr;
    createSphereCutOut(f.ctx, 0, f.chunk, noFrame);
    EXPECT_TRUE(noFrame.mesh->faces().empty());
    ASSERT_EQ(f.t.errors.reports.size(), 2u);
    EXPECT_EQ(f.t.errors.reports[0].number, 91);
    EXPECT_EQ(f.t.errors.reports[1].number, 91);
}
