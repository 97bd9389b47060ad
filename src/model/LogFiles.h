#pragma once
// The model log beside the loaded model, and the start-up log "tarv.log" in the user's data folder.
// Each line opens and closes its file. A log that cannot be written never stops a load or a save: the
// failure is noticed once per path in the log box and the line is dropped.
#include <string>

namespace tarv {

class EditingContext;

// The log of the current model path (its base with "log"), or "tarv.log" in the data folder when no
// model is loaded.
std::string currentLogPath(const EditingContext& ctx);
std::string startupLogPath(const EditingContext& ctx);

// Appends "[" & level & "] " & message when level <= the log level; the file is created even when not.
void writeLog(EditingContext& ctx, const std::string& message, int level);
// Appends to the log box, writes at level 1, and lets the window repaint.
void addToLog(EditingContext& ctx, const std::string& message);
// Appends the message, without level, to "tarv.log".
void writeStartupLog(EditingContext& ctx, const std::string& message);

// At the start of every load: deletes the current log, sets logFilePath and writes the two header lines.
void startModelLog(EditingContext& ctx);
// At program start: deletes "tarv.log".
void startStartupLog(EditingContext& ctx);
// Records the current log path in the list that exit offers to delete.
void addSessionLogFile(EditingContext& ctx, const std::string& path);

} // namespace tarv
