#include "preview/ObjectMeshes.h"

#include <any>
#include <string>
#include <vector>

#include "model/LogFiles.h"
#include "base/NumberText.h"
#include "model/PeoReader.h"
#include "model/RotationMath.h"
#include "base/RunTimeError.h"
#include "scene/Scene.h"
#include "editor/context/EditingContext.h"

namespace tarv {

namespace {

const std::string kLineBreak = "\r\n";
// The window gets a chance to repaint at most this often while the faces are built; the clock is read
// once every kPumpCheckFaces polygons.
constexpr double kPumpInterval = 0.005;
constexpr int kPumpCheckFaces = 64;

std::string num(int64_t value) { return intText(value); }

// The texture and material a face gets, when its material's texture is loaded.
struct FaceLook {
    scene::TexturePtr texture;
    scene::MaterialPtr material;
};

FaceLook lookOf(const ShipModel& model, const ViewState& view, int32_t materialIndex) {
    const PeoMaterial& m = model.materials[size_t(materialIndex)];
    if (m.texture < 0 || size_t(m.texture) >= model.textures.size()) return {};
    const PeoTexture& tx = model.textures[size_t(m.texture)];
    if (!tx.loaded) return {};
    FaceLook look;
    look.texture = view.textureAt(size_t(m.texture));
    look.material = view.materialAt(size_t(materialIndex));
    return look;
}

void addFace(scene::MeshBuilder& mesh, const PeoObject& obj, const PeoPolygon& p, bool reversed, const FaceLook& look) {
    const std::array<int32_t, 3> corners =
        reversed ? std::array<int32_t, 3>{p.v0, p.v2, p.v1} : std::array<int32_t, 3>{p.v0, p.v1, p.v2};
    const std::array<scene::Face::TexCoord, 3> uv =
        reversed ? std::array<scene::Face::TexCoord, 3>{{{p.s0, p.t0}, {p.s2, p.t2}, {p.s1, p.t1}}}
                 : std::array<scene::Face::TexCoord, 3>{{{p.s0, p.t0}, {p.s1, p.t1}, {p.s2, p.t2}}};
    std::array<scene::Vec3, 3> at;
    for (size_t i = 0; i < 3; ++i) {
        const PeoVertex& v = obj.vertices[size_t(corners[i])];
        at[i] = {v.x, v.y, v.z};
    }
    mesh.addTriangle(at, uv, look.texture, look.material, scene::kWhite);
}

bool cornersInside(const PeoObject& obj, const PeoPolygon& p) {
    const auto inside = [&](int32_t c) { return c >= 0 && size_t(c) < obj.vertices.size(); };
    return inside(p.v0) && inside(p.v1) && inside(p.v2);
}

}  // namespace

ViewColour objectOwnColour(int objNo, int objectCount) {
    const float red = float(double(objNo) * (1.0 / double(objectCount)));
    return {red, red, float(1.0 - double(red))};
}

void create3dObject(EditingContext& ctx, int16_t objNo) {
    ShipModel& model = ctx.model;
    if (objNo < 0 || objNo >= model.objectCount() || size_t(objNo) >= ctx.view.viewObjects.size())
        throw RunTimeError::subscriptOutOfRange();
    const PeoObject& obj = model.peoObjects[size_t(objNo)];
    ViewObject& view = ctx.view.viewObjects[size_t(objNo)];
    StatusDisplay& status = ctx.status();
    const int materialCount = model.materialCount();

    // 1. A shown object's old mesh leaves its old frame.
    if (view.shown == -1) {
        if (view.frame && view.mesh) view.frame->deleteVisual(view.mesh);
        view.shown = 0;
    }
    status.setStatus("Creating 3d object " + obj.name);

    // 3. Face counts per material (one pass; out-of-range indices are not counted).
    std::vector<int64_t> counts(size_t(materialCount), 0);
    for (const PeoPolygon& p : obj.polygons)
        if (p.material >= 0 && p.material < materialCount) ++counts[size_t(p.material)];
    size_t twoSidedFaces = 0;
    for (int m = 0; m < materialCount; ++m)
        if (model.materials[size_t(m)].twoSided) twoSidedFaces += size_t(counts[size_t(m)]);
    for (int m = 0; m < materialCount; ++m) {
        if (counts[size_t(m)] < 1) continue;
        const int16_t tex = model.materials[size_t(m)].texture;
        const std::string textureName =
            tex >= 0 && size_t(tex) < model.textures.size() ? model.textures[size_t(tex)].name : std::string();
        writeLog(ctx,
                 "  Object " + obj.name + " face count for material " + num(m) + " " + textureName + ": " +
                     num(counts[size_t(m)]),
                 2);
    }

    // 4, 5. Rounded matrix and statistics.
    roundMatrix(obj.matrix, view.matrix);
    addToLog(ctx, kLineBreak + " Statistics for object " + num(objNo) + " :");
    addToLog(ctx, "  - name = ' " + obj.name + " '");
    addToLog(ctx, "  - " + num(int64_t(obj.vertices.size())) + " vertices");
    addToLog(ctx, "  - " + num(int64_t(obj.polygons.size())) + " polygons");
    addToLog(ctx, "  - " + num(obj.nFaceNormals) + " face normals");
    addToLog(ctx, "  - " + num(obj.nVertNormals) + " vertex normals");
    if (obj.mother != 0)
        addToLog(ctx, "  - parent object is object " + num(int64_t(obj.mother) - 1));
    else if (objNo == 0)
        addToLog(ctx, "   ( object is it's own parent )");
    else
        addToLog(ctx, "  - parent object is object -1");

    // 6 to 8. The faces.
    scene::MeshPtr mesh = scene::createMeshBuilder();
    view.mesh = mesh;
    mesh->reserveFaces(obj.polygons.size() + twoSidedFaces);
    status.setStatus("Creating 3d preview");
    const int last = int(obj.polygons.size()) - 1;
    status.setProgressMax(ProgressBar::Status2, obj.polygons.size() == 1 ? 1 : std::max(last, 0));
    status.setProgressValue(ProgressBar::Status2, 0);
    // Each material's look, worked out once for all its faces (and again after each event pump, which may
    // change them).
    const FaceLook noLook;
    std::vector<FaceLook> looks(size_t(std::max(materialCount, 0)));
    const auto findLooks = [&] {
        for (int m = 0; m < materialCount; ++m)
            if (counts[size_t(m)] > 0) looks[size_t(m)] = lookOf(model, ctx.view, m);
    };
    findLooks();
    Clock& clock = ctx.clock();
    double lastPump = clock.monotonicSeconds();
    for (int i = 0; i <= last; ++i) {
        const PeoPolygon& p = obj.polygons[size_t(i)];
        if (cornersInside(obj, p)) {
            const FaceLook* look = &noLook;
            bool known = false;
            if (materialCount > 0 && p.material >= 0) {
                if (p.material > materialCount - 1) {
                    writeStartupLog(ctx, "Material value of: " + num(p.material) +
                                             " is greater than number of materials: " + num(materialCount));
                } else {
                    look = &looks[size_t(p.material)];
                    known = true;
                }
            }
            addFace(*mesh, obj, p, false, *look);
            if (known && model.materials[size_t(p.material)].twoSided) addFace(*mesh, obj, p, true, *look);
        }
        if (i != last && i % kPumpCheckFaces != kPumpCheckFaces - 1) continue;
        const double now = clock.monotonicSeconds();
        if (i == last || now - lastPump >= kPumpInterval) {
            status.setProgressValue(ProgressBar::Status2, i);
            status.processEvents();
            findLooks();
            lastPump = now;
        }
    }

    // 9 to 11. Quality, and the object's own colour over the whole mesh.
    mesh->setQuality(136);
    status.setStatus("Optimizing mesh");
    view.colour = objectOwnColour(objNo, model.objectCount());
    mesh->setColor(scene::createColorRGBA(view.colour.red, view.colour.green, view.colour.blue, 1));

    // 12 to 14. Name, frame, size.
    view.name = obj.name;
    view.frame = scene::createFrame();
    view.frame->addVisual(mesh);
    view.frame->setName("peo_" + obj.name);
    calcObjectDimensions(ctx, objNo);
    const PeoObject& sized = model.peoObjects[size_t(objNo)];
    view.size = {sized.sizeX, sized.sizeY, sized.sizeZ};
}

}  // namespace tarv
