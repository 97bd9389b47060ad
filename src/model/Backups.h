#pragma once
// One backup per file, beside it: folder & "Backup of " & file name. Loads and attach commands offer to
// make it; File > Backup > Create makes a fresh one of the model, and Load copies the model's and its
// .mex's backups back. Every copy is atomic; a failed one shows the error report and changes nothing.
#include <optional>
#include <string>

namespace tarv {

class EditingContext;

std::string backupNameOf(const std::string& path);

// True when the backup exists or the user agreed and it was made; false when declined; nullopt after an
// error was reported.
std::optional<bool> checkForBackup(EditingContext& ctx, const std::string& path);
// Copies the backup of path over path when it exists. False when an error was reported.
bool restoreBackup(EditingContext& ctx, const std::string& path);
// The offer that loads and attach commands make for a file: asks (when alwaysShowBackup is on) and sets
// the two Backup items: Load enabled and Create disabled after True, the reverse otherwise.
void offerBackup(EditingContext& ctx, const std::string& path);

// File > Backup > Create: copies the model (ctx.currentModelPath) to its backup, replacing it, and
// enables both items. False, with nothing changed, when the copy failed (reported).
bool createModelBackup(EditingContext& ctx);
// How far File > Backup > Load's copying went.
struct BackupRestore {
    bool modelStepDone = false;  // the model's backup was copied back, or it had none
    bool complete = false;       // the .mex's step went through too
};
// File > Backup > Load, the copying part: restores the model and the .mex beside it (never the .mad). A
// failed copy is reported and stops the restoring; once the model's step is done the model on disk may
// have changed, and the caller reloads it.
BackupRestore restoreModelBackups(EditingContext& ctx);
// The .mex beside the model: its base & "mex", found without regard to case.
std::string mexPathBeside(const std::string& modelPath);

}  // namespace tarv
