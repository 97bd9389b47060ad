#include "editor/SaveCommands.h"

#include <filesystem>

#include "animation/MadFile.h"
#include "attachments/MexFile.h"
#include "base/AtomicFile.h"
#include "base/RunTimeError.h"
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
    const ErrorContext command = ctx.err;
    roadSteps(ctx).fixHierarchy(ctx);
    ctx.err = command;  // fixHierarchy recorded its own: a failure of the writer is the command's
    writePeoFile(ctx, target, ctx.road.cataclysmVariant);
    if (exists(safetyCopy)) removeIfPresent(safetyCopy);
}

}  // namespace

bool isOtherEditorFileKind(const std::string& path) {
    const std::string name = asciiLower(fileNameOf(path));
    for (const char* ending : {".shp", ".lod", ".mex", ".mad", ".lif", ".smd"}) {
        const size_t n = std::char_traits<char>::length(ending);
        if (name.size() >= n && name.compare(name.size() - n, n, ending) == 0) return true;
    }
    return false;
}

std::string saveAsOtherKindText(const std::string& fileName) {
    const size_t dot = fileName.rfind('.');
    const std::string ending = dot == std::string::npos ? std::string() : fileName.substr(dot);
    return "Save As writes the model as a .peo file. " + fileName + " is a " + ending +
           " file and is left as it is: choose a name ending in .peo.";
}

std::string saveAllFailedText(const std::string& file, const std::string& reason) {
    return "'Save All' changed no file: " + file + " could not be saved. " + reason;
}

std::string saveBaseRuleB(const EditingContext& ctx) { return baseWithDot(ctx.currentModelPath); }

std::string saveBaseRuleA(const EditingContext& ctx) {
    if (ctx.lod.lblLodPath.empty()) return saveBaseRuleB(ctx);
    return ctx.lod.lblLodPath + baseWithDot(fileNameOf(ctx.currentModelPath));
}

void mnuSaveAll_Click(EditingContext& ctx) {
    if (!ctx.road.mnuFileSaveEnabled) return;  // no model read: nothing to write
    OperationScope operation(ctx);
    trapErrors(ctx, "frmTARV", "mnuSaveAll_Click", "", [&] {
        const bool cataclysm = ctx.road.cataclysmVariant;
        const std::string base = saveBaseRuleA(ctx);
        ctx.road.ssTab1Page = 0;
        startSaveLog(ctx, base + "peo");
        roadSteps(ctx).fixHierarchy(ctx);
        // Every file is built first, then the set is written as one: all of it or none of it.
        std::vector<FileToWrite> files;
        std::string current = findBesideIgnoringCase(base + "peo");
        try {
            files.push_back({current, buildPeoFile(ctx, cataclysm)});
            current = findBesideIgnoringCase(base + "mex");
            std::optional<std::vector<uint8_t>> mex;
            if (!buildMexForSave(ctx, cataclysm, mex)) return;  // its message named the misfits
            if (mex) files.push_back({current, std::move(*mex)});
            current = findBesideIgnoringCase(base + "mad");
            if (auto mad = buildMadFile(ctx, current)) files.push_back({current, std::move(*mad)});
            // The .peo goes first: once its rename is done the model file holds the new material list,
            // whatever happens to the renames after it.
            size_t failed = 0, renamed = 0;
            try {
                writeFilesAtomically(files, &failed, &renamed);
            } catch (const RunTimeError&) {
                if (renamed > 0) refreshMaterialPositions(ctx, files[0].target, files[0].bytes);
                current = files.at(failed).target.string();
                throw;
            }
            refreshMaterialPositions(ctx, files[0].target, files[0].bytes);
        } catch (const RunTimeError& e) {
            // The builders run trapping steps of their own: the report names this command.
            setErrorContext(ctx, "frmTARV", "mnuSaveAll_Click", "");
            throw RunTimeError(e.number(), saveAllFailedText(current, e.description()), e.source());
        }
        ctx.status().setStatus("'Save All' done!");
    });
}

void mnuSavePeo_Click(EditingContext& ctx) {
    if (!ctx.road.mnuFileSaveEnabled) return;  // no model read: nothing to write
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
    if (!ctx.road.mnuFileSaveEnabled) return;  // no model read: nothing to write
    OperationScope operation(ctx);
    trapErrors(ctx, "frmTARV", "mnuSaveMex_Click", "", [&] {
        ctx.road.ssTab1Page = 0;
        exportMex(ctx, findBesideIgnoringCase(saveBaseRuleB(ctx) + "mex"), ctx.road.cataclysmVariant);
        ctx.status().setStatus("MEX save done!");
    });
}

void mnuSaveMad_Click(EditingContext& ctx) {
    if (!ctx.road.mnuFileSaveEnabled) return;  // no model read: nothing to write
    OperationScope operation(ctx);
    trapErrors(ctx, "frmTARV", "mnuSaveMad_Click", "", [&] {
        ctx.road.ssTab1Page = 0;
        exportMad(ctx, findBesideIgnoringCase(saveBaseRuleA(ctx) + "mad"));
        ctx.status().setStatus("MAD save done!");
    });
}

void mnuFileSaveAs_Click(EditingContext& ctx) {
    if (!ctx.road.mnuFileSaveAsEnabled) return;
    OperationScope operation(ctx);
    trapErrors(ctx, "frmTARV", "mnuFileSaveAs_Click", "", [&] {
        CommonDialog& dialog = ctx.road.CommonDialog1;
        // The dialog keeps the name of its last use (a .shp, a .mex ...): it proposes the model's own name.
        dialog.Filter = kSaveAsFilter;
        dialog.FilterIndex = 1;
        dialog.InitDir = folderOf(ctx.currentModelPath);
        dialog.FileName = baseWithDot(ctx.currentModelPath) + "peo";
        std::optional<std::string> chosen;
        for (;;) {
            chosen = dialog.ShowSave(ctx.prompts());
            if (!chosen || chosen->empty()) return;
            if (!isOtherEditorFileKind(*chosen)) break;
            ctx.prompts().messageBox(saveAsOtherKindText(fileNameOf(*chosen)), ctx.version.appTitle,
                                     PromptIcon::Exclamation);
        }
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

}  // namespace tarv
