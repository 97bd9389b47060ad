#include "model/LogFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "base/NumberText.h"
#include "base/Paths.h"
#include "editor/context/EditingContext.h"

namespace tarv {

namespace {

const char* const kLineEnd = "\r\n";

// Tells the log box, once per path, that a log file cannot be written; its lines are dropped.
void noticeUnwritable(EditingContext& ctx, const std::string& path, const std::string& reason) {
    if (!ctx.log.unwritableLogPaths.insert(path).second) return;
    ctx.status().appendLog("The log file " + path + " cannot be written (" + reason + "); its lines are left out." +
                           kLineEnd);
}

// Opens path for appending (creating it), writes text when there is any, and closes it again. A failure
// is noticed in the log box and otherwise ignored: a log never stops the work it records.
void appendToFile(EditingContext& ctx, const std::string& path, const std::string* text) {
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (!file) {
        noticeUnwritable(ctx, path, std::strerror(errno ? errno : EACCES));
        return;
    }
    bool ok = true;
    int error = 0;
    if (text && !text->empty()) {
        ok = std::fwrite(text->data(), 1, text->size(), file) == text->size();
        if (!ok) error = errno;
    }
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (!ok) noticeUnwritable(ctx, path, std::strerror(error ? error : EIO));
    else ctx.log.existingLogPath = path;
}

// The data folder may not exist yet on a fresh account.
void ensureDataFolder(EditingContext& ctx) {
    if (ctx.userDataFolder.empty()) return;
    std::error_code ec;
    std::filesystem::create_directories(ctx.userDataFolder, ec);
}

// Deletes an old log file; anything else of that name (a folder) is left alone.
void removeIfPresent(EditingContext& ctx, const std::string& path) {
    if (ctx.log.existingLogPath == path) ctx.log.existingLogPath.clear();
    std::error_code ec;
    const auto status = std::filesystem::symlink_status(path, ec);
    if (!ec && std::filesystem::exists(status) && !std::filesystem::is_directory(status))
        std::filesystem::remove(path, ec);
}

}  // namespace

std::string startupLogPath(const EditingContext& ctx) { return (ctx.userDataFolder / "tarv.log").string(); }

std::string currentLogPath(const EditingContext& ctx) {
    if (ctx.currentModelPath.empty()) return startupLogPath(ctx);
    return replaceExtension(ctx.currentModelPath, "log");
}

void writeLog(EditingContext& ctx, const std::string& message, int level) {
    const std::string path = currentLogPath(ctx);
    if (ctx.currentModelPath.empty() && path != ctx.log.existingLogPath) ensureDataFolder(ctx);
    if (level <= ctx.prefs.logLevel) {
        const std::string line = "[" + intText(level) + "] " + message + kLineEnd;
        appendToFile(ctx, path, &line);
    } else if (path != ctx.log.existingLogPath) {
        // A line below the level still leaves the log file in place. Once this run has opened the file,
        // opening it again to write nothing would only cost time (a load logs a line per vertex).
        appendToFile(ctx, path, nullptr);
    }
}

void addToLog(EditingContext& ctx, const std::string& message) {
    ctx.status().appendLog(message + kLineEnd);
    writeLog(ctx, message, 1);
    ctx.status().processEvents();
}

void writeStartupLog(EditingContext& ctx, const std::string& message) {
    ensureDataFolder(ctx);
    const std::string line = message + kLineEnd;
    appendToFile(ctx, startupLogPath(ctx), &line);
}

void startModelLog(EditingContext& ctx) {
    const std::string path = currentLogPath(ctx);
    removeIfPresent(ctx, path);
    ctx.log.logFilePath = path;
    writeLog(ctx, ctx.version.appTitle + " log opened: " + ctx.clock().dateText() + " " + ctx.clock().timeText(), 0);
    writeLog(ctx, std::string(30, '-'), 0);
}

void startStartupLog(EditingContext& ctx) { removeIfPresent(ctx, startupLogPath(ctx)); }

void addSessionLogFile(EditingContext& ctx, const std::string& path) {
    LogState& log = ctx.log;
    if (log.sessionLogCount >= 32767) {
        // The count is held in 16 bits: the list starts again. Index 0 stays empty, so the exit question
        // still finds the entry at index 1.
        log.sessionLogFiles.assign(1, "");
        log.sessionLogCount = 0;
    }
    ++log.sessionLogCount;
    log.sessionLogFiles.resize(size_t(log.sessionLogCount) + 1);
    log.sessionLogFiles[size_t(log.sessionLogCount)] = path;
}

}  // namespace tarv
