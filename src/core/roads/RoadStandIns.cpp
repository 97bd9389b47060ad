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
