#include "model/RotationMath.h"

#include <cmath>
#include <string>

#include "model/ModelHelpers.h"
#include "base/NumberText.h"
#include "base/RunTimeError.h"
#include "editor/context/TrapGuard.h"
#include "editor/context/EditingContext.h"

namespace tarv {

namespace {

const double kDegToRad = kPi / 180.0;
const double kRadToDeg = 180.0 / kPi;

const PeoObject& objectAt(const EditingContext& ctx, int16_t objNo) {
    if (objNo < 0 || objNo >= ctx.model.objectCount()) throw RunTimeError::subscriptOutOfRange();
    return ctx.model.peoObjects[size_t(objNo)];
}

}  // namespace

float getMatrixElement(int16_t i, const Matrix4& m) {
    if (i < 1 || i > 16) return 0.0f;
    return m[i - 1];
}

void roundMatrix(const Matrix4& src, Matrix4& dst) {
    for (int k = 0; k < 16; ++k) {
        // An integer, as the games' tools had it: never -0.
        double n = roundHalfEven(double(src[k]) * 10000.0) + 0.0;
        dst[k] = float(double(float(n)) / 10000.0);
    }
}

Vector3 getObjectPosition(const EditingContext& ctx, int16_t objNo) {
    const Matrix4& m = objectAt(ctx, objNo).matrix;
    return {m[3], m[7], m[11]};
}

bool isUnitVector(const Vector3& v) {
    float x2 = float(double(v.x) * v.x);
    float y2 = float(double(v.y) * v.y);
    float z2 = float(double(v.z) * v.z);
    double sum = double(y2) + double(x2);
    sum += double(z2);
    return float(std::sqrt(sum)) == 1.0f;
}

Vector3 makeVector(float x, float y, float z) { return {x, y, z}; }

void getViewQuaternion(float a, float b, float c, Quaternion& q) {
    float cosB = float(std::cos(double(b)));
    q.w = float(double(cosB) * std::cos(double(a) / 2.0));
    q.x = float(std::sin(double(a) / 2.0));
    q.y = float(std::sin(double(b)));
    q.z = float(std::sin(double(c) / 2.0));
}

Quaternion makeQuaternion(const Vector3& e) {
    double cx = float(std::cos(double(e.x) / 2.0)), sx = float(std::sin(double(e.x) / 2.0));
    double cy = float(std::cos(double(e.y) / 2.0)), sy = float(std::sin(double(e.y) / 2.0));
    double cz = float(std::cos(double(e.z) / 2.0)), sz = float(std::sin(double(e.z) / 2.0));
    Quaternion q;
    q.w = float(cx * cy * cz + sx * sy * sz);
    q.x = float(sx * cy * cz - cx * sy * sz);
    q.y = float(sx * sy * cz - cx * cy * sz);
    q.z = float(cx * sy * cz + sx * cy * sz);
    return q;
}

Quaternion getObjectQuaternion(const Vector3& e) {
    double cx = std::cos(double(e.x) / 2.0), sx = std::sin(double(e.x) / 2.0);
    double cy = std::cos(double(e.y) / 2.0), sy = std::sin(double(e.y) / 2.0);
    double cz = std::cos(double(e.z) / 2.0), sz = std::sin(double(e.z) / 2.0);
    Quaternion q;
    q.w = float(cx * cy * cz + sx * sy * sz);
    q.x = float(sz * sy * cx - cz * cy * sx);
    q.y = float(-cx * sy * cz - sx * cy * sz);
    q.z = float(sx * sy * cz - cx * cy * sz);
    return q;
}

namespace {

// The decomposition in degrees; angles are 32-bit floats, stored after each assignment.
struct EulerDecomposition {
    double r1, r2, r3, r4, r5, r6, r7, r8, r9;
    float X = -999.0f, Y = -999.0f, Z = -999.0f;

    static double snap(double r) {
        if (std::fabs(r) < 0.001) r = 0;
        if (std::fabs(std::fabs(r) - 1) < 0.0001 && r > 0) r = 1;
        if (std::fabs(std::fabs(r) - 1) < 0.0001 && r < 0) r = -1;
        return r;
    }

    explicit EulerDecomposition(const Matrix4& m)
        : r1(snap(m[0])),
          r2(snap(m[4])),
          r3(snap(m[8])),
          r4(snap(m[1])),
          r5(snap(m[5])),
          r6(snap(m[9])),
          r7(snap(m[2])),
          r8(snap(m[6])),
          r9(snap(m[10])) {}

    static float atn(double v) { return float(std::atan(v) * kRadToDeg); }
    static double s(float a) { return std::sin(double(a) * kDegToRad); }

    static void fixUp(float& a, double r, double f) {
        if (std::fabs(f * s(a) - r) > 0.01 && a > 0) a = float(double(a) - 180.0);
        if (std::fabs(f * s(a) - r) > 0.01 && a < 0) a = float(double(a) + 180.0);
    }

    void set(float x, float y, float z) {
        X = x;
        Y = y;
        Z = z;
    }

    void axisAlignedCases() {
        struct Row {
            const double* a;
            double va;
            const double* b;
            double vb;
            float x, y, z;
        };
        const Row rows[] = {
            {&r1, 1, &r5, 1, 0, 0, 0},      {&r1, -1, &r5, 1, 0, 180, 0},    {&r1, 1, &r5, -1, 180, 0, 0},
            {&r1, -1, &r5, -1, 0, 0, 180},  {&r1, 1, &r8, 1, -90, 0, 0},     {&r1, 1, &r8, -1, 90, 0, 0},
            {&r1, -1, &r8, 1, 90, 0, 180},  {&r1, -1, &r8, -1, -90, 0, 180}, {&r4, 1, &r2, 1, 180, 0, 90},
            {&r4, -1, &r2, 1, 0, 0, 90},    {&r4, 1, &r2, -1, 0, 0, -90},    {&r4, -1, &r2, -1, 0, 180, 90},
            {&r4, 1, &r8, 1, -90, -90, 0},  {&r4, 1, &r8, -1, 90, 90, 0},    {&r4, -1, &r8, 1, -90, 90, 0},
            {&r4, -1, &r8, -1, 90, -90, 0}, {&r7, 1, &r2, 1, 90, 0, 90},     {&r7, 1, &r2, -1, -90, 0, -90},
            {&r7, -1, &r2, 1, -90, 0, 90},  {&r7, -1, &r2, -1, 90, 0, -90},  {&r7, 1, &r5, 1, 0, 90, 0},
            {&r7, 1, &r5, -1, 180, -90, 0}, {&r7, -1, &r5, 1, 0, -90, 0},    {&r7, -1, &r5, -1, 180, 90, 0},
        };
        for (const Row& row : rows)
            if (*row.a == row.va && *row.b == row.vb) set(row.x, row.y, row.z);
    }

    // The X and Z parts of the general case with cosine factor f.
    void xPart(double f) {
        if (r6 != 0 && r9 != 0 && std::fabs(r5) != 1) {
            X = atn(r6 / r9);
            fixUp(X, r6, f);
            return;
        }
        if (r9 == 0) {
            X = 90;
            if (std::fabs(f - r6) > 0.01) X = -90;
        }
        if (r6 == 0) {
            X = 0;
            if (std::fabs(f - r9) > 0.01) X = 180;
        }
    }
    void zPart(double f) {
        if (r1 != 0 && r2 != 0 && std::fabs(r5) != 1) {
            Z = atn(r2 / r1);
            fixUp(Z, r2, f);
            return;
        }
        if (r1 == 0) {
            Z = 90;
            if (std::fabs(f - r2) > 0.01) Z = -90;
        }
        if (r2 == 0) {
            Z = 0;
            if (std::fabs(f - r1) > 0.01) Z = 180;
        }
    }

    static bool signs(double a, double b, double c, int sa, int sb, int sc) {
        auto has = [](double v, int sign) { return sign > 0 ? v > 0 : v < 0; };
        return has(a, sa) && has(b, sb) && has(c, sc);
    }

    void branchA() {
        Y = 0;
        if (r1 == 0) {
            if (r6 == 0 || r9 == 0) return;
            if (r2 == 1) {
                Z = 90;
                if (signs(r4, r7, r6, -1, 1, 1))
                    X = atn(r7 / r9);
                else if (signs(r4, r7, r6, 1, 1, 1))
                    X = float(90.0 - double(atn(r7 / r9)));
                else if (signs(r4, r7, r6, -1, -1, -1))
                    X = atn(r7 / r9);
                else if (signs(r4, r7, r6, 1, -1, -1))
                    X = float(-90.0 - double(atn(r7 / r9)));
            } else if (r2 == -1) {
                Z = -90;
                if (signs(r4, r7, r6, 1, -1, 1))
                    X = atn(r6 / r4);
                else if (signs(r4, r7, r6, -1, -1, 1))
                    X = float(90.0 - double(atn(r6 / r4)));
                else if (signs(r4, r7, r6, 1, 1, -1))
                    X = atn(r6 / r4);
                else if (signs(r4, r7, r6, -1, 1, -1))
                    X = float(-90.0 - double(atn(r6 / r4)));
            }
            return;
        }
        if (r1 == 1 || r1 == -1) {
            Z = r1 == 1 ? 0.0f : 180.0f;
            if (r6 == 0 || r9 == 0) return;
            X = atn(r6 / r9);
            fixUp(X, r6, 1.0);
            return;
        }
        xPart(1.0);
        zPart(1.0);
    }

    void branchBC(float y) {
        Y = y;
        if (r5 == 0 || std::fabs(r5) == 1) return;
        X = atn(roundHalfEven(r4 / r5, 4));
        Z = float(90.0 - double(X));
    }

    void branchD() {
        double p = roundHalfEven(-r3, 4);
        Y = float(arcSin(p) * kRadToDeg);
        double f = std::cos(double(Y) * kDegToRad);
        xPart(f);
        zPart(f);
        if (r5 == 1) {
            X = 0;
            Z = 0;
            if (std::fabs(f - r1) > 0.01) {
                X = 180;
                Z = 180;
            }
        } else if (r5 == -1) {
            X = 180;
            Z = 0;
            if (std::fabs(f - r1) > 0.01) {
                X = 0;
                Z = 180;
            }
        }
    }

    void run() {
        axisAlignedCases();
        if (X != -999.0f || Y != -999.0f || Z != -999.0f) return;
        if (r3 == 0)
            branchA();
        else if (r3 == 1)
            branchBC(-90);
        else if (r3 == -1)
            branchBC(90);
        else
            branchD();
    }
};

}  // namespace

Vector3 getObjectEulersFromMatrix(EditingContext& ctx, int16_t objNo) {
    Vector3 result;
    trapErrors(ctx, "modD3D", "getObjectEulersFromMatrix", std::to_string(objNo), [&] {
        EulerDecomposition d(objectAt(ctx, objNo).matrix);
        d.run();
        result = {float(double(d.X) * kDegToRad), float(double(d.Y) * kDegToRad), float(double(d.Z) * kDegToRad)};
    });
    return result;
}

}  // namespace tarv
