#include "editor/SaveCommands.h"

#include <filesystem>
#include <vector>

#include "animation/MadFile.h"
#include "attachments/MexFile.h"
#include "base/AtomicFile.h"
#include "base/RunTimeError.h"
#include "model/LogFiles.h"
#include "base/Paths.h"
#include "model/PeoWriter.h"
#include "model/PreferencesStore.h"
#include "editor/context/TrapGuard.h"
#include "editor/DocumentFiles.h"
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

// Refuses, with one message, a save that would write the model over file when its file cannot take it.
bool refusedOverwrite(EditingContext& ctx, const std::string& file, bool ownFile = true) {
    const std::string refusal = overwriteRefusal(ctx, file, ownFile);
    if (refusal.empty()) return false;
    ctx.prompts().messageBox(refusal, ctx.version.appTitle, PromptIcon::Exclamation);
    return true;
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

std::string saveAllPartlyDoneText(const std::vector<std::string>& replaced, const std::vector<std::string>& kept,
                                  const std::string& reason) {
    auto list = [](const std::vector<std::string>& files) {
        std::string text;
        for (const std::string& f : files) text += (text.empty() ? "" : ", ") + f;
        return text;
    };
    return "'Save All' replaced " + list(replaced) + " but not " + list(kept) + ", which keep their old content. " +
           reason;
}

std::string saveBaseRuleB(const EditingContext& ctx) { return baseWithDot(ctx.documentFiles.model); }

std::string saveBaseRuleA(const EditingContext& ctx) {
    if (ctx.documentFiles.shpFolder.empty()) return saveBaseRuleB(ctx);
    return ctx.documentFiles.shpFolder + baseWithDot(fileNameOf(ctx.documentFiles.model));
}

void mnuSaveAll_Click(EditingContext& ctx) {
    if (!ctx.road.mnuFileSaveEnabled || ctx.documentFiles.model.empty()) return;  // no model read: nothing to write
    OperationScope operation(ctx);
    trapErrors(ctx, "frmTARV", "mnuSaveAll_Click", "", [&] {
        const bool cataclysm = ctx.road.cataclysmVariant;
        const std::string base = saveBaseRuleA(ctx);
        ctx.road.ssTab1Page = 0;
        if (refusedOverwrite(ctx, findBesideIgnoringCase(base + "peo"))) return;
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
            } catch (const RunTimeError& e) {
                current = files.at(failed).target.string();
                if (renamed == 0) throw;
                refreshMaterialPositions(ctx, files[0].target, files[0].bytes);
                std::vector<std::string> replaced, kept;
                for (size_t i = 0; i < files.size(); ++i)
                    (i < renamed ? replaced : kept).push_back(files[i].target.string());
                setErrorContext(ctx, "frmTARV", "mnuSaveAll_Click", "");
                throw RunTimeError(e.number(), saveAllPartlyDoneText(replaced, kept, e.description()), e.source());
            }
            refreshMaterialPositions(ctx, files[0].target, files[0].bytes);
        } catch (const RunTimeError& e) {
            // The builders run trapping steps of their own: the report names this command.
            setErrorContext(ctx, "frmTARV", "mnuSaveAll_Click", "");
            if (e.description().rfind("'Save All' replaced ", 0) == 0) throw;
            throw RunTimeError(e.number(), saveAllFailedText(current, e.description()), e.source());
        }
        ctx.status().setStatus("'Save All' done!");
    });
}

void mnuSavePeo_Click(EditingContext& ctx) {
    if (!ctx.road.mnuFileSaveEnabled || ctx.documentFiles.model.empty()) return;  // no model read: nothing to write
    OperationScope operation(ctx);
    trapErrors(ctx, "frmTARV", "mnuSavePeo_Click", "", [&] {
        const std::string base = saveBaseRuleB(ctx);
        ctx.road.ssTab1Page = 0;
        const std::string target = findBesideIgnoringCase(base + "peo");
        if (refusedOverwrite(ctx, target)) return;
        startSaveLog(ctx, base + "peo");
        writePeoWithSafetyCopy(ctx, target, base + "pe~");
        ctx.status().setStatus("Save done!");
    });
}

void mnuSaveMex_Click(EditingContext& ctx) {
    if (!ctx.road.mnuFileSaveEnabled || ctx.documentFiles.model.empty()) return;  // no model read: nothing to write
    OperationScope operation(ctx);
    trapErrors(ctx, "frmTARV", "mnuSaveMex_Click", "", [&] {
        ctx.road.ssTab1Page = 0;
        if (!exportMex(ctx, findBesideIgnoringCase(saveBaseRuleB(ctx) + "mex"), ctx.road.cataclysmVariant)) return;
        ctx.status().setStatus("MEX save done!");
    });
}

void mnuSaveMad_Click(EditingContext& ctx) {
    if (!ctx.road.mnuFileSaveEnabled || ctx.documentFiles.model.empty()) return;  // no model read: nothing to write
    OperationScope operation(ctx);
    trapErrors(ctx, "frmTARV", "mnuSaveMad_Click", "", [&] {
        ctx.road.ssTab1Page = 0;
        if (!exportMad(ctx, findBesideIgnoringCase(saveBaseRuleA(ctx) + "mad"))) return;
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
        // A file read with damage may be written under another name; an empty model nowhere.
        if (refusedOverwrite(ctx, target, false)) return;
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
