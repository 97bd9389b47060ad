#include "editor/SaveCommands.h"

#include <filesystem>

#include "animation/MadFile.h"
#include "attachments/MexFile.h"
#include "base/AtomicFile.h"
#include "model/LogFiles.h"
#include "base/Paths.h"
#include "model/PeoWriter.h"
#include "model/PreferencesStore.h"
#include "editor/context/TrapGuard.h"
#include "editor/LoadRoad.h"
#include "base/Paths.h"
#include "editor/context/EditingContext.h"

namespace tarv {

namespace {

const std::string kCrLf = "\r\n";

bool exists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

void removeIfPresent(const std::string& path) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
}

void startSaveLog(EditingContext& ctx, const std::string& shownName) {
    ctx.status().clearLog();
    addToLog(ctx, kCrLf + "Saving " + shownName);
}

// Writes the .peo at target; an existing target is first copied to safetyCopy, which goes again once the
// new file is complete. After a failure the copy may remain beside the intact old file.
void writePeoWithSafetyCopy(EditingContext& ctx, const std::string& target, const std::string& safetyCopy) {
    if (exists(target)) copyFileAtomically(target, safetyCopy);
    roadSteps(ctx).fixHierarchy(ctx);
    writePeoFile(ctx, target, ctx.road.cataclysmVariant);
    if (exists(safetyCopy)) removeIfPresent(safetyCopy);
}

} // namespace

std::string saveBaseRuleB(const EditingContext& ctx) { return baseWithDot(ctx.currentModelPath); }

std::string saveBaseRuleA(const EditingContext& ctx) {
    if (ctx.lod.lblLodPath.empty()) return saveBaseRuleB(ctx);
    return ctx.lod.lblLodPath + baseWithDot(fileNameOf(ctx.currentModelPath));
}

void mnuSaveAll_Click(EditingContext& ctx) {
    OperationScope operation(ctx);
    trapErrors(ctx, "frmTARV", "mnuSaveAll_Click", "", [&] {
        const bool cataclysm = ctx.road.cataclysmVariant;
        const std::string base = saveBaseRuleA(ctx);
        ctx.road.ssTab1Page = 0;
        startSaveLog(ctx, base + "peo");
        roadSteps(ctx).fixHierarchy(ctx);
        writePeoFile(ctx, findBesideIgnoringCase(base + "peo"), cataclysm);
        const bool mexWritten = exportMex(ctx, findBesideIgnoringCase(base + "mex"), cataclysm);
        const bool madWritten = exportMad(ctx, findBesideIgnoringCase(base + "mad"));
        // The status says done only when every part is as the model says.
        if (mexWritten && madWritten) ctx.status().setStatus("'Save All' done!");
    });
}

void mnuSavePeo_Click(EditingContext& ctx) {
    OperationScope operation(ctx);
    trapErrors(ctx, "frmTARV", "mnuSavePeo_Click", "", [&] {
        const std::string base = saveBaseRuleB(ctx);
        ctx.road.ssTab1Page = 0;
        startSaveLog(ctx, base + "peo");
        writePeoWithSafetyCopy(ctx, findBesideIgnoringCase(base + "peo"), base + "pe~");
        ctx.status().setStatus("Save done!");
    });
}

void mnuSaveMex_Click(EditingContext& ctx) {
    OperationScope operation(ctx);
    trapErrors(ctx, "frmTARV", "mnuSaveMex_Click", "", [&] {
        ctx.road.ssTab1Page = 0;
        exportMex(ctx, findBesideIgnoringCase(saveBaseRuleB(ctx) + "mex"), ctx.road.cataclysmVariant);
        ctx.status().setStatus("MEX save done!");
    });
}

void mnuSaveMad_Click(EditingContext& ctx) {
    OperationScope operation(ctx);
    trapErrors(ctx, "frmTARV", "mnuSaveMad_Click", "", [&] {
        ctx.road.ssTab1Page = 0;
        exportMad(ctx, findBesideIgnoringCase(saveBaseRuleA(ctx) + "mad"));
        ctx.status().setStatus("MAD save done!");
    });
}

void mnuFileSaveAs_Click(EditingContext& ctx) {
    OperationScope operation(ctx);
    trapErrors(ctx, "frmTARV", "mnuFileSaveAs_Click", "", [&] {
        std::optional<std::string> chosen = ctx.road.CommonDialog1.ShowSave(ctx.prompts());
        if (!chosen || chosen->empty()) return;
        const std::string target = *chosen;
        ctx.road.ssTab1Page = 0;
        startSaveLog(ctx, target);
        writePeoWithSafetyCopy(ctx, target, target + "pe~");
        ctx.status().setStatus("Save done!");
    });
}

void mnuSaveTypeHW_Click(EditingContext& ctx) {
    ctx.road.cataclysmVariant = false;
    ctx.prefs.defaultFileFormat = 1026;
    writeRegKey(ctx, "DefaultFileFormat");
}

void mnuSaveTypeHWC_Click(EditingContext& ctx) {
    ctx.road.cataclysmVariant = true;
    ctx.prefs.defaultFileFormat = 1280;
    writeRegKey(ctx, "DefaultFileFormat");
}

} // namespace tarv
