#include "attachments/GunArcs.h"

#include <cmath>
#include <limits>

#include "attachments/ShpFile.h"
#include "base/NumberText.h"
#include "model/RotationMath.h"
#include "base/RunTimeError.h"
#include "editor/context/TrapGuard.h"
#include "preview/PreviewScene.h"
#include "scene/Scene.h"
#include "editor/context/EditingContext.h"

namespace tarv {

namespace {

constexpr double kDegreesToRadians = kGunArcPi / 180;

char lowerLetter(char ch) { return ch >= 'A' && ch <= 'Z' ? char(ch - 'A' + 'a') : ch; }

bool sameNameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lowerLetter(a[i]) != lowerLetter(b[i])) return false;
    return true;
}

const ShpGun& gunAt(const EditingContext& ctx, int gun) {
    const auto& guns = ctx.shp.shpGuns;
    if (gun < 0 || size_t(gun) >= guns.size()) throw RunTimeError::subscriptOutOfRange();
    return guns[size_t(gun)];
}

const PeoObject& objectAt(const EditingContext& ctx, int index) {
    const auto& objects = ctx.model.peoObjects;
    if (index < 0 || size_t(index) >= objects.size()) throw RunTimeError::subscriptOutOfRange();
    return objects[size_t(index)];
}

// The first object whose name equals name ignoring case; kNoJoint when none.
int16_t findJoint(const EditingContext& ctx, const std::string& name) {
    const auto& objects = ctx.model.peoObjects;
    for (size_t i = 0; i < objects.size() && i <= 32767; ++i)
        if (sameNameIgnoringCase(objects[i].name, name)) return int16_t(i);
    return kNoJoint;
}

void addAngles(Vector3& sum, const Vector3& angles) {
    sum.x = sum.x + angles.x;
    sum.y = sum.y + angles.y;
    sum.z = sum.z + angles.z;
}

float radians(float degrees) { return float(double(degrees) * kDegreesToRadians); }

// |round(range / step)| with halves to even; a count of 0 becomes 1.
int16_t stepCount(float from, float to, double step) {
    const int16_t n = toInt16(std::fabs((double(to) - double(from)) / step));
    return n == 0 ? int16_t(1) : n;
}

float stepOf(float from, float to, int16_t count) { return float((double(to) - double(from)) / count); }

// The angle at whole step k from a start, as the 32-bit float the sphere point takes.
float along(float start, int k, float step) { return start + float(k) * step; }
float back(float start, int k, float step) { return start - float(k) * step; }

template <class Build>
void buildGunArc(EditingContext& ctx, const char* procedure, int16_t gun, const GunArcChunk& c, ViewObject& v,
                 GunArcShape shape, Build&& geometry) {
    const std::string args = std::to_string(gun) + "|" + c.pointName;
    trapErrors(ctx, "modD3D", procedure, args, [&] {
        const GunArcJoint joint = findGunArcJoint(ctx, gun);
        if (joint.askForSlavedBinding)
            ctx.prompts().messageBox(slavedGunBindingMessage(gun), ctx.version.appTitle, PromptIcon::None);
        if (joint.joint < 0 || joint.joint >= ctx.model.objectCount()) return;
        // The Euler helper records its own error context; what fails in the climb or after it is this
        // builder's error and is reported with its names.
        Vector3 angles;
        try {
            angles = summedJointAngles(ctx, joint.joint, shape);
        } catch (...) {
            setErrorContext(ctx, "modD3D", procedure, args);
            throw;
        }
        setErrorContext(ctx, "modD3D", procedure, args);
        const GunArcAngles working = gunArcAngles(usableGunAngleLimits(joint.limits));
        const GunArcSteps steps = gunArcSteps(working, shape);
        placeGunArc(v, geometry(working, steps), c.position, angles);
    });
}

}  // namespace

GunArcJoint findGunArcJoint(const EditingContext& ctx, int16_t gun) {
    const ShpGun& g = gunAt(ctx, gun);
    GunArcJoint result;
    result.limits = gunAngleLimits(g);
    int16_t az = findJoint(ctx, g.azimuthJoint);
    const int16_t dc = findJoint(ctx, g.declinationJoint);
    if (az != dc || az == kNoJoint) {
        const bool neitherFound = az == kNoJoint && dc == kNoJoint;
        if (az == kNoJoint) az = dc;
        if (g.slaveDriver != -1) {
            const ShpGun& master = gunAt(ctx, g.slaveDriver);
            if (neitherFound) {
                az = getObjectIndexByName(ctx, master.azimuthJoint);
                const int16_t t = getObjectIndexByName(ctx, master.declinationJoint);
                result.askForSlavedBinding = true;
                if (az < t) az = t;
            }
            // The master's limits draw this marker only; the gun's own record keeps its limits.
            result.limits = gunAngleLimits(master);
        } else if (neitherFound) {
            az = 0;
        }
    }
    result.joint = az;
    return result;
}

std::string slavedGunBindingMessage(int16_t gun) {
    return "Although this gun is 'slaved', are you sure you don't want to set any binding for GUN" +
           std::to_string(gun) + "?";
}

Vector3 summedJointAngles(EditingContext& ctx, int16_t joint, GunArcShape shape) {
    Vector3 sum = getObjectEulersFromMatrix(ctx, joint);
    int parents = 0;
    if (shape == GunArcShape::Wedge) {
        int current = joint;
        while (parents < kMostParents && current > 0) {
            const int mother = objectAt(ctx, current).mother;
            if (mother == 0) break;
            current = mother - 1;
            objectAt(ctx, current);  // a parent outside the objects is an error, not a read past the list
            addAngles(sum, getObjectEulersFromMatrix(ctx, int16_t(current)));
            ++parents;
        }
    } else {
        int current = objectAt(ctx, joint).mother - 1;
        while (parents < kMostParents && current > 0) {
            const PeoObject& object = objectAt(ctx, current);
            addAngles(sum, getObjectEulersFromMatrix(ctx, int16_t(current)));
            ++parents;
            current = object.mother - 1;
        }
    }
    return sum;
}

GunArcAngles gunArcAngles(const GunAngleLimits& limits) {
    return {radians(-limits.maxTurnAngle), radians(-limits.minTurnAngle), radians(limits.minDeclination),
            radians(limits.maxDeclination)};
}

GunArcSteps gunArcSteps(const GunArcAngles& a, GunArcShape shape) {
    const double step = shape == GunArcShape::Wedge ? kWedgeStep : kCutOutStep;
    GunArcSteps s;
    s.nT = stepCount(a.turnStart, a.turnEnd, step);
    s.nD = stepCount(a.declStart, a.declEnd, step);
    if (shape == GunArcShape::Wedge) {
        toInt16(int64_t(2) * (s.nT + s.nD));
    } else {
        toInt16(int64_t(2) * s.nT + 4);
        toInt16(int64_t(2) * s.nD);
    }
    s.stepT = stepOf(a.turnStart, a.turnEnd, s.nT);
    s.stepD = stepOf(a.declStart, a.declEnd, s.nD);
    return s;
}

Vector3 gunArcPoint(float radius, float t, float d) {
    const double r = radius, td = t, dd = d;
    return {float(r * std::sin(dd)), float(r * std::sin(td) * std::cos(dd)), float(r * std::cos(td) * std::cos(dd))};
}

WedgeGeometry wedgeGeometry(const GunArcAngles& a, const GunArcSteps& s, float radius) {
    const int nT = s.nT, nD = s.nD, n = 2 * (nT + nD);
    WedgeGeometry w;
    w.vertices.resize(size_t(n) + 2);
    auto& v = w.vertices;
    for (int i = 1; i <= nT + 1; ++i)
        v[size_t(i)] = gunArcPoint(radius, along(a.turnStart, i - 1, s.stepT), a.declStart);
    for (int i = nT + 1; i <= nT + nD + 1; ++i)
        v[size_t(i)] = gunArcPoint(radius, a.turnEnd, along(a.declStart, i - 1 - nT, s.stepD));
    for (int i = nT + nD + 1; i <= 2 * nT + nD + 1; ++i)
        v[size_t(i)] = gunArcPoint(radius, back(a.turnEnd, i - 1 - nT - nD, s.stepT), a.declEnd);
    for (int i = 2 * nT + nD + 1; i <= n + 1; ++i)
        v[size_t(i)] = gunArcPoint(radius, a.turnStart, back(a.declEnd, i - 1 - 2 * nT - nD, s.stepD));
    w.triangles.reserve(size_t(2 * n));
    for (int k = 1; k <= n; ++k) w.triangles.push_back({v[0], v[size_t(k)], v[size_t(k) + 1]});
    for (int k = 1; k <= n; ++k) w.triangles.push_back({v[0], v[size_t(k) + 1], v[size_t(k)]});
    return w;
}

std::vector<ArcTriangle> cutOutTriangles(const GunArcAngles& a, const GunArcSteps& s, float radius) {
    const int nT = s.nT, nD = s.nD;
    const size_t columns = size_t(nT) + 1;
    std::vector<Vector3> grid(columns * (size_t(nD) + 1));
    for (int j = 0; j <= nD; ++j)
        for (int i = 0; i <= nT; ++i)
            grid[size_t(j) * columns + size_t(i)] =
                gunArcPoint(radius, along(a.turnStart, i, s.stepT), along(a.declStart, j, s.stepD));
    auto g = [&](int i, int j) { return grid[size_t(j) * columns + size_t(i)]; };

    std::vector<ArcTriangle> t;
    t.reserve(size_t(4) * size_t(nT) * size_t(nD) + 4);
    for (int j = 1; j <= nD; ++j) {
        for (int i = 1; i <= nT; ++i) t.push_back({g(i - 1, j - 1), g(i, j - 1), g(i - 1, j)});  // A
        for (int i = 1; i <= nT; ++i) t.push_back({g(i, j), g(i - 1, j), g(i, j - 1)});          // B
    }
    for (int j = 1; j <= nD; ++j) {
        for (int i = 1; i <= nT; ++i) t.push_back({g(i - 1, j - 1), g(i - 1, j), g(i, j - 1)});  // C
        for (int i = 1; i <= nT; ++i) t.push_back({g(i, j), g(i, j - 1), g(i - 1, j)});          // D
    }
    const Vector3 apex{};
    t.push_back({apex, g(0, 0), g(0, nD)});
    t.push_back({apex, g(0, nD), g(0, 0)});
    t.push_back({apex, g(nT, 0), g(nT, nD)});
    t.push_back({apex, g(nT, nD), g(nT, 0)});
    return t;
}

void placeGunArc(ViewObject& view, const std::vector<ArcTriangle>& triangles, const Vector3& position,
                 const Vector3& angles) {
    if (!view.mesh || !view.frame) throw RunTimeError::objectNotSet();
    // Every triangle becomes a new face of its own three corners, in the given order, in one call.
    const size_t corners = triangles.size() * 3;
    if (corners > size_t(std::numeric_limits<int32_t>::max())) throw RunTimeError::overflow();
    std::vector<Vector3> points;
    std::vector<int32_t> faceData;
    points.reserve(corners);
    faceData.reserve(triangles.size() * 4 + 1);
    for (const ArcTriangle& tri : triangles) {
        faceData.push_back(3);
        for (const Vector3& p : tri) {
            faceData.push_back(int32_t(points.size()));
            points.push_back(p);
        }
    }
    faceData.push_back(0);
    view.mesh->addFaces(int32_t(corners), points, 0, {}, faceData);
    // A rebuild on the chunk's existing frame must not turn the marker further: start from no rotation.
    setFrameQuaternion(view, Quaternion{1, 0, 0, 0});
    setFramePosition(view, position);
    view.frame->addRotation(scene::kCombineBefore, 1, 0, 0, angles.x);
    view.frame->addRotation(scene::kCombineBefore, 0, 1, 0, angles.y);
    view.frame->addRotation(scene::kCombineBefore, 0, 0, 1, angles.z);
}

void createPieceOfCake(EditingContext& ctx, int16_t gun, const GunArcChunk& c, ViewObject& v) {
    buildGunArc(ctx, "createPieceOfCake", gun, c, v, GunArcShape::Wedge,
                [&](const GunArcAngles& a, const GunArcSteps& s) {
                    return wedgeGeometry(a, s, float(ctx.model.modelExtent / 1.5)).triangles;
                });
}

void createSphereCutOut(EditingContext& ctx, int16_t gun, const GunArcChunk& c, ViewObject& v) {
    buildGunArc(ctx, "createSphereCutOut", gun, c, v, GunArcShape::CutOut,
                [&](const GunArcAngles& a, const GunArcSteps& s) {
                    return cutOutTriangles(a, s, float(1.5 * double(ctx.model.peoObjects[0].maxZ)));
                });
}

}  // namespace tarv
