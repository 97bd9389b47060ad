#include "attachments/MexSteps.h"

#include <filesystem>

#include "attachments/MexChunkTree.h"
#include "attachments/MexFile.h"
#include "editor/context/EditingContext.h"
#include "editor/context/TrapGuard.h"
#include "model/Backups.h"

namespace tarv {

void checkForMex(EditingContext& ctx) {
    trapErrors(ctx, "frmTARV", "checkForMex", "", [&] {
        const std::string path = mexPathBeside(ctx.currentModelPath);
        std::error_code ec;
        if (!std::filesystem::is_regular_file(path, ec)) {
            ctx.status().setPanelText(3, "");  // the model has the default chunks, not a .mex
            return;
        }
        offerBackup(ctx, path);
        addMexTreeDefaults(ctx);
        getMexInfo(ctx, path);
    });
}

void connectAttachments(EditingContext& ctx) { ctx.road.steps.checkForMex = checkForMex; }

}  // namespace tarv
