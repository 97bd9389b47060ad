#include "animation/MadSteps.h"

#include <cstdlib>
#include <filesystem>

#include "animation/MadFile.h"
#include "animation/Playback.h"
#include "base/Paths.h"
#include "editor/context/EditingContext.h"
#include "editor/context/TrapGuard.h"
#include "model/Backups.h"
#include "animation/state/AnimationsPageState.h"

namespace tarv {

void checkForMad(EditingContext& ctx, const std::string& madFile) {
    trapErrors(ctx, "frmTARV", "checkForMad", madFile, [&] {
        const std::string path = findBesideIgnoringCase(madFile);
        std::error_code ec;
        if (path.empty() || !std::filesystem::is_regular_file(path, ec)) {
            ctx.status().setPanelText(4, "");
            return;
        }
        offerBackup(ctx, path);
        getMadInfo(ctx, path);
        auto& list = ctx.animationsPage->lstAnimations;
        list.clear();
        for (const MadAnimation& a : ctx.animation.madAnimations) list.push_back(a.name);
        ctx.animationsPage->cmbObjAnims = list;
        // The keyframe panel starts at the root object: the number of the tree's first node key.
        const KeyedTree& tree = ctx.shell.treeHeirachy;
        if (ctx.objects.getAnimations && tree.count() > 0) {
            const std::string& key = tree.nodeAt(1).key;
            ctx.objects.getAnimations(ctx, int16_t(std::atoi(key.c_str() + 1)));
        }
        ctx.road.keyframesPageEnabled = true;
    });
}

void connectAnimation(EditingContext& ctx) {
    ctx.road.steps.checkForMad = checkForMad;
    connectPlayback(ctx);
}

}  // namespace tarv
