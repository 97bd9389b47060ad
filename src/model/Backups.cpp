#include "model/Backups.h"

#include <filesystem>

#include "base/AtomicFile.h"
#include "base/Paths.h"
#include "editor/context/TrapGuard.h"
#include "editor/context/EditingContext.h"

namespace tarv {

namespace fs = std::filesystem;

std::string backupNameOf(const std::string& path) { return folderOf(path) + "Backup of " + fileNameOf(path); }

namespace {
bool exists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(fs::path(path), ec);
}
}  // namespace

std::optional<bool> checkForBackup(EditingContext& ctx, const std::string& path) {
    std::optional<bool> result;
    trapErrors(ctx, "modGeneric", "checkForBackup", path, [&] {
        std::string backup = backupNameOf(path);
        if (exists(backup)) {
            result = true;
            return;
        }
        std::string question = "No backup of " + fileNameOf(path) + " exists!\r\n" +
                               "It is HIGHLY recommend that you backup now.\r\n" + "       Backup?";
        if (ctx.prompts().yesNo(question, ctx.version.appTitle, PromptIcon::None)) {
            copyFileAtomically(path, backup);
            result = true;
        } else {
            result = false;
        }
    });
    return result;
}

bool restoreBackup(EditingContext& ctx, const std::string& path) {
    return trapErrors(ctx, "modGeneric", "restoreBackup", path, [&] {
        std::string backup = backupNameOf(path);
        if (exists(backup)) copyFileAtomically(backup, path);
    });
}

void offerBackup(EditingContext& ctx, const std::string& path) {
    std::optional<bool> made;
    if (ctx.prefs.alwaysShowBackup) made = checkForBackup(ctx, path);
    bool haveBackup = made.has_value() && *made;
    ctx.shell.mnuRevBUEnabled = haveBackup;
    ctx.shell.mnuBUCEnabled = !haveBackup;
}

bool createModelBackup(EditingContext& ctx) {
    return trapErrors(ctx, "frmTARV", "mnuBUC_Click", "", [&] {
        copyFileAtomically(ctx.currentModelPath, backupNameOf(ctx.currentModelPath));
        ctx.shell.mnuRevBUEnabled = true;
        ctx.shell.mnuBUCEnabled = true;
    });
}

std::string mexPathBeside(const std::string& modelPath) {
    std::string written = baseWithDot(modelPath) + "mex";
    std::string folder = folderOf(written);
    if (auto found = findCaseInsensitive(folder.empty() ? fs::path(".") : fs::path(folder), fileNameOf(written)))
        return folder + found->filename().string();
    return written;
}

BackupRestore restoreModelBackups(EditingContext& ctx) {
    BackupRestore result;
    trapErrors(ctx, "frmTARV", "mnuRevBU_Click", "", [&] {
        std::string model = ctx.currentModelPath;
        if (!restoreBackup(ctx, model)) return;
        result.modelStepDone = true;
        if (!restoreBackup(ctx, mexPathBeside(model))) return;
        result.complete = true;
    });
    return result;
}

}  // namespace tarv
