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
// Whether lines of this level reach the log. When they do not, the log file is still created, as writing
// one such line would.
bool logLevelWrites(EditingContext& ctx, int level);

// The detail lines of one list (per vertex, normal, polygon, chunk): whether they are written is decided
// once, at the first line, from the log level; a line's text is built only when it is written.
class LogDetailLines {
public:
    LogDetailLines(EditingContext& ctx, int level) : ctx_(ctx), level_(level) {}
    template <class MakeText>
    void line(MakeText&& makeText) {
        if (state_ == State::Undecided) state_ = logLevelWrites(ctx_, level_) ? State::Written : State::Skipped;
        if (state_ == State::Written) writeLog(ctx_, makeText(), level_);
    }

private:
    enum class State { Undecided, Written, Skipped };
    EditingContext& ctx_;
    int level_;
    State state_ = State::Undecided;
};

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

}  // namespace tarv
