#include "model/LogFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/NumberText.h"
#include "base/Paths.h"
#include "editor/context/EditingContext.h"

namespace tarv {

LogFileHandle::~LogFileHandle() {
    if (fd >= 0) ::close(fd);
}

namespace {

const char* const kLineEnd = "\r\n";

// Tells the log box, once per path, that a log file cannot be written; its lines are dropped.
void noticeUnwritable(EditingContext& ctx, const std::string& path, const std::string& reason) {
    if (!ctx.log.unwritableLogPaths.insert(path).second) return;
    ctx.status().appendLog("The log file " + path + " cannot be written (" + reason + "); its lines are left out." +
                           kLineEnd);
}

// The open log file for path: the one held since an earlier line while it still has a name (it was not
// deleted nor replaced meanwhile), else the file opened afresh for appending (created when missing). Null,
// with errno set, when it cannot be opened.
LogFileHandle* openLogFile(EditingContext& ctx, const std::string& path) {
    std::shared_ptr<LogFileHandle>& held = ctx.log.openFile;
    if (held && held->path == path) {
        struct stat open {};
        if (::fstat(held->fd, &open) == 0 && open.st_nlink > 0) return held.get();  // not deleted nor replaced
    }
    held.reset();
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    held = std::make_shared<LogFileHandle>(fd, path);
    return held.get();
}

bool writeAll(int fd, const std::string& text) {
    for (size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += size_t(n);
    }
    return true;
}

// Appends text to the file at path (created when missing), in one write that reaches the file before the
// call returns; without text, only makes sure the file exists. A failure is noticed in the log box and
// otherwise ignored: a log never stops the work it records.
void appendToFile(EditingContext& ctx, const std::string& path, const std::string* text) {
    errno = 0;
    LogFileHandle* file = openLogFile(ctx, path);
    if (!file) {
        noticeUnwritable(ctx, path, std::strerror(errno ? errno : EACCES));
        return;
    }
    if (text && !text->empty() && !writeAll(file->fd, *text)) {
        const int error = errno;
        ctx.log.openFile.reset();
        noticeUnwritable(ctx, path, std::strerror(error ? error : EIO));
        return;
    }
    ctx.log.existingLogPath = path;
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
    if (ctx.log.openFile && ctx.log.openFile->path == path) ctx.log.openFile.reset();
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

namespace {

// currentLogPath, worked out again only when the model path or the data folder has changed.
const std::string& keptLogPath(EditingContext& ctx) {
    LogState& log = ctx.log;
    if (log.currentPath.empty() || log.currentPathModel != ctx.currentModelPath ||
        log.currentPathFolder != ctx.userDataFolder.native()) {
        log.currentPath = currentLogPath(ctx);
        log.currentPathModel = ctx.currentModelPath;
        log.currentPathFolder = ctx.userDataFolder.native();
    }
    return log.currentPath;
}

}  // namespace

bool logLevelWrites(EditingContext& ctx, int level) {
    if (level <= ctx.prefs.logLevel) return true;
    writeLog(ctx, std::string(), level);  // leaves the log file in place, as a line below the level does
    return false;
}

void writeLog(EditingContext& ctx, const std::string& message, int level) {
    const std::string& path = keptLogPath(ctx);
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
