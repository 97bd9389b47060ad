#include "core/roads/RoadStandIns.h"

#include <filesystem>
#include <cstdlib>
#include <functional>

#include "animation/MadFile.h"
#include "attachments/MexChunkTree.h"
#include "attachments/MexFile.h"
#include "core/Backups.h"
#include "core/NumberText.h"
#include "core/Paths.h"
#include "core/PeoReader.h"
#include "core/TrapGuard.h"
#include "core/roads/LoadRoad.h"
#include "scene/Scene.h"

namespace tarv {

std::string findBesideIgnoringCase(const std::string& path) {
    if (path.empty()) return path;
    const std::string folder = folderOf(path);
    const std::filesystem::path where = folder.empty() ? std::filesystem::path(".") : std::filesystem::path(folder);
    if (auto found = findCaseInsensitive(where, fileNameOf(path))) return folder + found->filename().string();
    return path;
}

void showMaterialsStandIn(EditingContext& ctx) {
    trapErrors(ctx, "frmTARV", "showMaterials", "", [&] {
        auto& list = ctx.road.lstMaterial;
        list.clear();
        for (int i = 0; i < ctx.model.materialCount(); ++i) list.push_back("Material " + intText(i));
    });
}

void create3dObjectStandIn(EditingContext& ctx, int objNo) {
    PeoObject& object = ctx.model.peoObjects.at(size_t(objNo));
    ViewObject& view = ctx.view.viewObjects.at(size_t(objNo));
    scene::MeshPtr mesh = scene::createMeshBuilder();
    const auto& vertices = object.vertices;
    const int vertexCount = int(vertices.size());
    auto corner = [&](scene::Face& face, int v) {
        face.addVertex(vertices[size_t(v)].x, vertices[size_t(v)].y, vertices[size_t(v)].z);
    };
    for (const PeoPolygon& p : object.polygons) {
        if (p.v0 < 0 || p.v1 < 0 || p.v2 < 0 || p.v0 >= vertexCount || p.v1 >= vertexCount || p.v2 >= vertexCount)
            continue;  // the reader logged it; such a polygon gets no face
        auto face = scene::createFace();
        corner(*face, p.v0);
        corner(*face, p.v1);
        corner(*face, p.v2);
        mesh->addFace(face);
        const bool twoSided = p.material >= 0 && p.material < ctx.model.materialCount() &&
                              ctx.model.materials[size_t(p.material)].twoSided;
        if (twoSided) {
            auto back = scene::createFace();
            corner(*back, p.v0);
            corner(*back, p.v2);
            corner(*back, p.v1);
            mesh->addFace(back);
        }
    }
    mesh->setQuality(136);
    view.mesh = mesh;
    view.name = object.name;
    view.frame = scene::createFrame();
    view.frame->setName("peo_" + object.name);
    view.frame->addVisual(mesh);
    calcObjectDimensions(ctx, objNo);
    view.size = Vector3{object.sizeX, object.sizeY, object.sizeZ};
}

void resetViewStandIn(EditingContext& ctx) {
    trapErrors(ctx, "frmTARV", "mnuRenderReset_Click", "", [&] {
        ViewState& view = ctx.view;
        if (!view.orbitFrame || !view.zoomFrame || !view.cameraFrame) return;
        view.orbitFrame->setQuaternion(nullptr, Quaternion{0, 0, 0, 0});
        view.zoomFrame->setPosition(nullptr, 0, 0, 0);
        view.cameraFrame->setOrientation(nullptr, Vector3{0, 0, -1}, Vector3{1, 0, 0});
        view.cameraFrame->setPosition(nullptr, 0, 0, 2.0 * ctx.model.modelExtent);
        if (view.canvas) view.canvas->render();
    });
}

void checkForMex(EditingContext& ctx) {
    trapErrors(ctx, "frmTARV", "checkForMex", "", [&] {
        const std::string path = mexPathBeside(ctx.currentModelPath);
        std::error_code ec;
        if (!std::filesystem::is_regular_file(path, ec)) return;
        offerBackup(ctx, path);
        addMexTreeDefaults(ctx);
        getMexInfo(ctx, path);
    });
}

void checkForMad(EditingContext& ctx, const std::string& madFile) {
    trapErrors(ctx, "frmTARV", "checkForMad", madFile, [&] {
        const std::string path = findBesideIgnoringCase(madFile);
        std::error_code ec;
        if (path.empty() || !std::filesystem::is_regular_file(path, ec)) return;
        offerBackup(ctx, path);
        getMadInfo(ctx, path);
        auto& list = ctx.road.lstAnimations;
        list.clear();
        for (const MadAnimation& a : ctx.animation.madAnimations) list.push_back(a.name);
        ctx.road.cmbObjAnims = list;
        // The keyframe panel starts at the root object: the number of the tree's first node key.
        const KeyedTree& tree = ctx.shell.treeHeirachy;
        if (ctx.objects.getAnimations && tree.count() > 0) {
            const std::string& key = tree.nodeAt(1).key;
            ctx.objects.getAnimations(ctx, int16_t(std::atoi(key.c_str() + 1)));
        }
        ctx.road.keyframesPageEnabled = true;
    });
}

} // namespace tarv
