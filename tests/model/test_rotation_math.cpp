#include <gtest/gtest.h>

#include <cmath>

#include "Fakes.h"
#include "TempDir.h"
#include "model/RotationMath.h"
#include "base/RunTimeError.h"
#include "editor/context/EditingContext.h"

using namespace tarv;

namespace {

constexpr double kTestPi = 3.14159265358979323846;

// Rotation matrices for column vectors, multiplied in 64 bits; the result is stored row-major as floats.
using M3 = std::array<std::array<double, 3>, 3>;
M3 rx(double deg) {
    double a = deg * kTestPi / 180, c = std::cos(a), s = std::sin(a);
    return {{{1, 0, 0}, {0, c, -s}, {0, s, c}}};
}
M3 ry(double deg) {
    double a = deg * kTestPi / 180, c = std::cos(a), s = std::sin(a);
    return {{{c, 0, s}, {0, 1, 0}, {-s, 0, c}}};
}
M3 rz(double deg) {
    double a = deg * kTestPi / 180, c = std::cos(a), s = std::sin(a);
    return {{{c, -s, 0}, {s, c, 0}, {0, 0, 1}}};
}
M3 operator*(const M3& a, const M3& b) {
    M3 r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k) r[i][j] += a[i][k] * b[k][j];
    return r;
}
Matrix4 toMatrix(const M3& r, double scale = 1) {
    Matrix4 m;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) m.at(i, j) = float(r[i][j] * scale);
    m.at(3, 3) = 1;
    return m;
}

struct RotationFixture : ::testing::Test {
    test::TempDir dir;
    test::TestContext t{dir.path()};
    // Euler angles of a matrix, in degrees.
    Vector3 eulersInDegrees(const Matrix4& m) {
        t.ctx.model.peoObjects.assign(1, PeoObject{});
        t.ctx.model.peoObjects[0].matrix = m;
        Vector3 e = getObjectEulersFromMatrix(t.ctx, 0);
        return {float(e.x * 180 / kTestPi), float(e.y * 180 / kTestPi), float(e.z * 180 / kTestPi)};
    }
};

}  // namespace

TEST(RotationMath, GetMatrixElementCountsFromOneAndGivesZeroOutside) {
    Matrix4 m;
    for (int k = 0; k < 16; ++k) m[k] = float(k + 1) * 10;
    EXPECT_EQ(getMatrixElement(1, m), 10.0f);
    EXPECT_EQ(getMatrixElement(4, m), 40.0f);  // M(0,3), the x translation
    EXPECT_EQ(getMatrixElement(16, m), 160.0f);
    for (int16_t i : {0, 17, -1, -32768}) EXPECT_EQ(getMatrixElement(i, m), 0.0f) << i;
}

TEST(RotationMath, RoundMatrixRoundsToFourDecimalsHalfEvenAndCopesWithLargeElements) {
    struct Case {
        float in;
        float out;
    };
    const Case cases[] = {
        {0.03125f, 0.0312f},
        {0.09375f, 0.0938f},
        {0.12345f, 0.1235f},
        {-0.00004f, 0.0f},
        {1.0f, 1.0f},
        {-2.71828f, -2.7183f},
        // Beyond 214748.3648 the ten-thousandfold value no longer fits 32 bits; it must still round.
        {300000.00005f, 300000.0f},
        {-3.0e9f, -3.0e9f},
        {1.0e30f, 1.0e30f},
    };
    Matrix4 src, dst;
    for (size_t k = 0; k < std::size(cases); ++k) src[int(k)] = cases[k].in;
    roundMatrix(src, dst);
    for (size_t k = 0; k < std::size(cases); ++k) EXPECT_EQ(dst[int(k)], cases[k].out) << cases[k].in;
    EXPECT_FALSE(std::signbit(dst[3])) << "-0.00004 rounds to 0";
    roundMatrix(src, src);  // in place
    EXPECT_EQ(src, dst);
}

TEST_F(RotationFixture, GetObjectPositionReadsTheTranslationAndRejectsBadIndices) {
    t.ctx.model.peoObjects.resize(2);
    Matrix4& m = t.ctx.model.peoObjects[1].matrix;
    m[3] = 1.5f;
    m[7] = -2.0f;
    m[11] = 3.25f;
    m[12] = 99;  // the fourth row is not the translation
    EXPECT_EQ(getObjectPosition(t.ctx, 1), (Vector3{1.5f, -2.0f, 3.25f}));
    for (int16_t bad : {2, -1}) {
        try {
            getObjectPosition(t.ctx, bad);
            ADD_FAILURE() << bad;
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), 9);
            EXPECT_EQ(e.description(), "Subscript out of range");
        }
    }
}

TEST(RotationMath, IsUnitVectorNeedsALengthOfExactlyOne) {
    struct Case {
        Vector3 v;
        bool unit;
    };
    const Case cases[] = {
        {{0, 0, 1}, true},  {{0.6f, 0.8f, 0}, true},   {{-1, 0, 0}, true}, {{0.57735f, 0.57735f, 0.57735f}, false},
        {{0, 0, 2}, false}, {{0, 0, 0.99999f}, false}, {{0, 0, 0}, false},
    };
    for (const Case& c : cases) EXPECT_EQ(isUnitVector(c.v), c.unit) << c.v.x << " " << c.v.y << " " << c.v.z;
    EXPECT_EQ(makeVector(1, 2, 3), (Vector3{1, 2, 3}));
}

TEST(RotationMath, ViewQuaternionUsesTheWholeAngleForY) {
    Quaternion q{9, 9, 9, 9};
    getViewQuaternion(0, 0, 0, q);
    EXPECT_EQ(q, (Quaternion{1, 0, 0, 0}));
    getViewQuaternion(0, float(kTestPi / 2), 0, q);
    EXPECT_NEAR(q.w, 0, 1e-6);
    EXPECT_EQ(q.x, 0);
    EXPECT_NEAR(q.y, 1, 1e-7);
    EXPECT_EQ(q.z, 0);
    getViewQuaternion(float(kTestPi), 0, float(kTestPi), q);
    EXPECT_NEAR(q.w, 0, 1e-6);
    EXPECT_NEAR(q.x, 1, 1e-7);
    EXPECT_NEAR(q.z, 1, 1e-7);
}

TEST(RotationMath, TheTwoQuaternionConventionsDiffer) {
    EXPECT_EQ(makeQuaternion({0, 0, 0}), (Quaternion{1, 0, 0, 0}));
    EXPECT_EQ(getObjectQuaternion({0, 0, 0}), (Quaternion{1, 0, 0, 0}));
    const Vector3 quarterZ{0, 0, float(kTestPi / 2)};
    const Quaternion k = makeQuaternion(quarterZ), o = getObjectQuaternion(quarterZ);
    EXPECT_NEAR(k.w, 0.70710678, 1e-6);
    EXPECT_EQ(k.x, 0);
    EXPECT_NEAR(k.y, -0.70710678, 1e-6);
    EXPECT_EQ(k.z, 0);
    EXPECT_NEAR(o.w, 0.70710678, 1e-6);
    EXPECT_EQ(o.x, 0);
    EXPECT_EQ(o.y, 0);
    EXPECT_NEAR(o.z, -0.70710678, 1e-6);
    // About x: the keyframe form keeps x, the object form negates it (the conjugate).
    const Vector3 quarterX{float(kTestPi / 2), 0, 0};
    EXPECT_NEAR(makeQuaternion(quarterX).x, 0.70710678, 1e-6);
    EXPECT_NEAR(getObjectQuaternion(quarterX).x, -0.70710678, 1e-6);
}

TEST_F(RotationFixture, EulersFromMatrixReadsBackTheDocumentedCases) {
    struct Case {
        const char* what;
        Matrix4 m;
        Vector3 degrees;
        float tolerance;
    };
    Matrix4 zeros;
    const Case cases[] = {
        {"identity", Matrix4::identity(), {0, 0, 0}, 0},
        {"all zero: Y = 0, X and Z keep the sentinel", zeros, {-999, 0, -999}, 1e-3f},
        {"45 about y: sine rounded to 0.7071 first", toMatrix(ry(45)), {0, 44.9995f, 0}, 1e-4f},
        {"Rz(90) Rx(120) reads as X = 150", toMatrix(rz(90) * rx(120)), {150, 0, 90}, 1e-3f},
        {"Rz(90) Rx(30)", toMatrix(rz(90) * rx(30)), {30, 0, 90}, 1e-3f},
        {"Rz(180) Ry(30) Rx(20)", toMatrix(rz(180) * ry(30) * rx(20)), {20, 30, 180}, 2e-3f},
        {"Rz(-90) (table row 11)", toMatrix(rz(-90)), {0, 0, -90}, 0},
        {"Ry(90) Rx(90) (table row 14)", toMatrix(ry(90) * rx(90)), {90, 90, 0}, 0},
        {"Rz(90) Rx(90) (table row 17)", toMatrix(rz(90) * rx(90)), {90, 0, 90}, 0},
        {"Rz(30) Ry(20) Rx(10)", toMatrix(rz(30) * ry(20) * rx(10)), {10, 20, 30}, 2e-3f},
    };
    for (const Case& c : cases) {
        Vector3 e = eulersInDegrees(c.m);
        EXPECT_NEAR(e.x, c.degrees.x, c.tolerance) << c.what;
        EXPECT_NEAR(e.y, c.degrees.y, c.tolerance) << c.what;
        EXPECT_NEAR(e.z, c.degrees.z, c.tolerance) << c.what;
    }
    // The sentinel comes back as -999 degrees in radians.
    t.ctx.model.peoObjects[0].matrix = zeros;
    EXPECT_NEAR(getObjectEulersFromMatrix(t.ctx, 0).x, -17.4358, 1e-4);
    EXPECT_TRUE(t.errors.reports.empty());
}

TEST_F(RotationFixture, EulersFromMatrixSnapsNearZeroAndNearOne) {
    // 0.0009 where sin(-Y) lives is read as 0: no tilt at all. 0.002 is not.
    Matrix4 m = toMatrix(rz(30));
    m.at(2, 0) = 0.0009f;
    EXPECT_EQ(eulersInDegrees(m).y, 0.0f);
    m.at(2, 0) = 0.002f;
    EXPECT_NEAR(eulersInDegrees(m).y, -0.1146, 1e-3);
    // -0.99995 is snapped to -1 (Y = 90, then the branch stops because r5 = 1); -0.9999 is not snapped and
    // goes through the arc sine.
    Matrix4 tilted;
    tilted.at(2, 0) = -0.99995f;
    tilted.at(1, 1) = 1;
    Vector3 e = eulersInDegrees(tilted);
    EXPECT_EQ(e.y, 90.0f);
    EXPECT_NEAR(e.x, -999, 1e-3);
    EXPECT_NEAR(e.z, -999, 1e-3);
    tilted.at(2, 0) = -0.9999f;
    EXPECT_NEAR(eulersInDegrees(tilted).y, 89.19, 1e-2);
}

TEST_F(RotationFixture, AScaledMatrixShowsOneReportAndGivesZeros) {
    t.ctx.model.peoObjects.assign(3, PeoObject{});
    t.ctx.model.peoObjects[2].matrix = toMatrix(ry(30), 3.0);  // sine 1.5: the arc sine fails
    EXPECT_EQ(getObjectEulersFromMatrix(t.ctx, 2), (Vector3{0, 0, 0}));
    ASSERT_EQ(t.errors.reports.size(), 1u);
    EXPECT_EQ(t.errors.reports[0].module, "modD3D");
    EXPECT_EQ(t.errors.reports[0].procedure, "getObjectEulersFromMatrix");
    EXPECT_EQ(t.errors.reports[0].arguments, "2");
    // An object number outside the model is reported the same way.
    EXPECT_EQ(getObjectEulersFromMatrix(t.ctx, 7), (Vector3{0, 0, 0}));
    ASSERT_EQ(t.errors.reports.size(), 2u);
    EXPECT_EQ(t.errors.reports[1].number, 9);
}
