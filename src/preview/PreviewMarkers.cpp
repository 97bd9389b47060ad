#include "preview/PreviewMarkers.h"

#include <array>
#include <cmath>

#include "model/RotationMath.h"
#include "base/RunTimeError.h"
#include "editor/context/TrapGuard.h"
#include "preview/PreviewScene.h"
#include "scene/Scene.h"
#include "editor/context/EditingContext.h"

namespace tarv {

namespace {

constexpr double kPi = 3.14159265359;

}  // namespace

float usableMarkerValue(float value) {
    if (!std::isfinite(value) || std::fabs(value) >= 1e6f) return 0.0f;
    return value;
}

Vector3 rotationXYZ(const Vector3& p, const Vector3& dir) {
    const double dx = dir.x, dy = dir.y, dz = dir.z;
    const double m = std::sqrt(dx * dx + dy * dy);
    const double l = std::sqrt(dx * dx + dy * dy + dz * dz);
    const double x = p.x, y = p.y, z = p.z;
    double y1 = y, z1 = z;
    if (l != 0) {
        const double c = dz / l, s = m / l;
        y1 = y * c + z * s;
        z1 = z * c - y * s;
    }
    double x2 = x, y2 = y1;
    if (m != 0) {
        const double cb = dy / m, sb = dx / m;
        x2 = x * cb + y1 * sb;
        y2 = y1 * cb - x * sb;
    }
    return {float(x2), float(y2), float(z1)};
}

Vector3 Rotation_XYZ(EditingContext& ctx, const Vector3& p, const Vector3& dir) {
    Vector3 result;
    trapErrors(ctx, "modD3D", "Rotation_XYZ", "", [&] { result = rotationXYZ(p, dir); });
    return result;
}

void drawLine(EditingContext& ctx, const MexChunk& c, ViewObject& v) {
    trapErrors(ctx, "modD3D", "drawLine", "", [&] {
        const scene::MeshPtr& mesh = meshOf(v);
        const Vector3& p = c.position;
        const Vector3& n = c.normal;
        const double k = isUnitVector(n) ? ctx.model.modelExtent / 3.0 : 1.0;
        const std::array<Vector3, 3> vertices{
            p, Vector3{float(p.x + n.x * k), float(p.y + n.y * k), float(p.z + n.z * k)}, p};
        static constexpr std::array<int32_t, 13> kFaces{3, 0, 1, 2, 3, 1, 2, 0, 3, 2, 0, 1, 0};
        mesh->addFaces(3, vertices, 0, {}, kFaces);
    });
}

void showAxes(EditingContext& ctx) {
    trapErrors(ctx, "modD3D", "showAxes", "", [&] {
        if (ctx.view.viewObjects.empty()) throw RunTimeError::subscriptOutOfRange();
        const scene::FramePtr base = frameOf(ctx.view.viewObjects[0]);
        static constexpr std::array<std::array<float, 3>, 3> kAxes{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
        // x blue, y green, z red
        static constexpr std::array<std::array<float, 3>, 3> kColours{{{0, 0, 255}, {0, 255, 0}, {255, 0, 0}}};
        for (size_t i = 0; i < 3; ++i) {
            scene::FramePtr frame = scene::createFrame();
            base->addChild(frame);
            ViewObject axis;
            axis.mesh = scene::createMeshBuilder();
            axis.mesh->setQuality(64);
            MexChunk chunk;
            chunk.normal = {kAxes[i][0], kAxes[i][1], kAxes[i][2]};
            chunk.coneAngle = 0.1f;
            chunk.colour = {kColours[i][0], kColours[i][1], kColours[i][2]};
            createCone(ctx, chunk, axis);
            setErrorContext(ctx, "modD3D", "showAxes", "");
            axis.mesh->setColorRGB(chunk.colour.red / 255.0, chunk.colour.green / 255.0, chunk.colour.blue / 255.0);
            frame->addVisual(axis.mesh);
        }
        if (ctx.view.canvas) ctx.view.canvas->refresh();
    });
}

void createBox(EditingContext& ctx, ViewObject& view, float x, float y, float z, float w, float h, float d, float r,
               float g, float b) {
    trapErrors(ctx, "modD3D", "createBox", "", [&] {
        const scene::MeshPtr& mesh = meshOf(view);
        const double red = r / 255.0, green = g / 255.0, blue = b / 255.0;
        scene::MaterialPtr material = scene::createMaterial(0);
        material->setEmissive(red, green, blue);
        const float x1 = x + w, y1 = y + h, z1 = z + d;
        const std::array<std::array<scene::Vec3, 4>, 6> faces{{
            {{{x1, y, z}, {x1, y1, z}, {x1, y1, z1}, {x1, y, z1}}},
            {{{x, y1, z}, {x, y, z}, {x, y, z1}, {x, y1, z1}}},
            {{{x, y, z}, {x1, y, z}, {x1, y, z1}, {x, y, z1}}},
            {{{x1, y, z1}, {x1, y1, z1}, {x, y1, z1}, {x, y, z1}}},
            {{{x, y1, z1}, {x1, y1, z1}, {x1, y1, z}, {x, y1, z}}},
            {{{x, y, z}, {x, y1, z}, {x1, y1, z}, {x1, y, z}}},
        }};
        const scene::PackedColor colour = scene::createColorRGB(red, green, blue);
        mesh->reserveFaces(mesh->faceCount() + faces.size() * 2);  // four corners each
        for (const auto& corners : faces) mesh->addPolygon(corners, nullptr, material, colour);
    });
}

void createCone(EditingContext& ctx, const MexChunk& chunk, ViewObject& view) {
    trapErrors(ctx, "modD3D", "createCone", "", [&] {
        const scene::MeshPtr& mesh = meshOf(view);
        const float alpha = usableMarkerValue(chunk.coneAngle);
        const float beta = usableMarkerValue(chunk.edgeAngle);
        const float a = float(alpha * kPi / 180.0);
        const float b = float(beta * kPi / 180.0);
        const float theta = a + b;
        const float s = std::fabs(alpha + beta);
        const Vector3& dir = chunk.normal;
        const float dirLength = float(std::sqrt(double(dir.x) * dir.x + double(dir.y) * dir.y + double(dir.z) * dir.z));
        const double extent = ctx.model.modelExtent;
        float l = dirLength;
        if (float(extent * 0.1) >= dirLength) l = float(double(float(extent / 1.5)) * std::cos(double(theta)));
        const float rho =
            s == 90.0f ? l : float(std::fabs(double(l) * std::sin(double(theta)) / std::cos(double(theta))));
        const float q = float(rho * 0.707106781);
        const float rimZ = s < 90.0f ? l : s == 90.0f ? 0.0f : -l;
        const std::array<Vector3, 9> points{Vector3{0, 0, 0}, {rho, 0, rimZ},  {q, q, rimZ},
                                            {0, rho, rimZ},   {-q, q, rimZ},   {-rho, 0, rimZ},
                                            {-q, -q, rimZ},   {0, -rho, rimZ}, {q, -q, rimZ}};
        const Vector3& p = chunk.position;
        std::array<Vector3, 9> vertices;
        vertices[0] = p;
        for (size_t k = 1; k < 9; ++k) {
            const Vector3 turned = rotationXYZ(points[k], dir);
            vertices[k] = {turned.x + p.x, turned.y + p.y, turned.z + p.z};
        }
        std::array<int32_t, 65> data{};
        size_t at = 0;
        for (int pass = 0; pass < 2; ++pass) {
            for (int k = 1; k <= 8; ++k) {
                const int next = k == 8 ? 1 : k + 1;
                data[at++] = 3;
                data[at++] = 0;
                data[at++] = pass == 0 ? k : next;
                data[at++] = pass == 0 ? next : k;
            }
        }
        data[at] = 0;
        mesh->addFaces(9, vertices, 0, {}, data);
    });
}

void createSphere(EditingContext& ctx, const MexChunk& chunk, ViewObject& view) {
    trapErrors(ctx, "modD3D", "createSphere", "", [&] {
        const scene::MeshPtr& mesh = meshOf(view);
        const float r = usableMarkerValue(chunk.coneAngle);
        const float q = float(r * 0.707106781);
        const float px = chunk.position.x, py = chunk.position.y, pz = chunk.position.z;
        const std::array<Vector3, 18> v{Vector3{px, py + r, pz}, {px - q, py + q, pz}, {px, py + q, pz + q},
                                        {px + q, py + q, pz},    {px, py + q, pz - q}, {px - r, py, pz},
                                        {px - q, py, pz + q},    {px, py, pz + r},     {px + q, py, pz + q},
                                        {px + r, py, pz},        {px + q, py, pz - q}, {px, py, pz - r},
                                        {px - q, py, pz - q},    {px - q, py - q, pz}, {px, py - q, pz + q},
                                        {px + q, py - q, pz},    {px, py - q, pz - q}, {px, py - r, pz}};
        static constexpr std::array<std::array<int32_t, 3>, 32> kTriangles{{
            {0, 2, 1},    {0, 3, 2},    {0, 4, 3},    {0, 1, 4},    {1, 6, 5},    {1, 2, 6},    {2, 7, 6},
            {2, 8, 7},    {2, 3, 8},    {3, 9, 8},    {3, 10, 9},   {3, 4, 10},   {4, 11, 10},  {4, 12, 11},
            {4, 1, 12},   {1, 5, 12},   {13, 5, 6},   {13, 6, 14},  {14, 6, 7},   {14, 7, 8},   {14, 8, 15},
            {15, 8, 9},   {15, 9, 10},  {15, 10, 16}, {16, 10, 11}, {16, 11, 12}, {16, 12, 13}, {13, 12, 5},
            {17, 14, 15}, {17, 15, 16}, {17, 16, 13}, {17, 13, 14},
        }};
        std::array<int32_t, 129> data{};
        size_t at = 0;
        for (const auto& t : kTriangles) {
            data[at++] = 3;
            for (int32_t corner : t) data[at++] = corner;
        }
        data[at] = 0;
        mesh->addFaces(18, v, 0, {}, data);
    });
}

}  // namespace tarv
