#pragma once
// The session: what lives as long as the window, whatever ship is loaded: preferences, live switches, logs,
// the error context, the version texts, the per-user folder and the platform services.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "model/state/Preferences.h"
#include "platform/Clock.h"
#include "platform/ErrorReport.h"
#include "platform/Prompts.h"
#include "platform/RandomSource.h"
#include "platform/SettingsStore.h"
#include "platform/StatusDisplay.h"
#include "platform/TextViewer.h"

namespace tarv {

class MaterialPreviewHook;

// An open log file: closed when the last holder lets it go.
struct LogFileHandle {
    int fd = -1;
    std::string path;
    LogFileHandle(int fd, std::string path) : fd(fd), path(std::move(path)) {}
    LogFileHandle(const LogFileHandle&) = delete;
    LogFileHandle& operator=(const LogFileHandle&) = delete;
    ~LogFileHandle();
};

// The name of the running procedure that traps its own errors, for the error report.
struct ErrorContext {
    std::string errModule;
    std::string errProc;
    std::string errArgs;
};

struct LogState {
    std::string logFilePath;                       // the model log of the current load
    std::vector<std::string> sessionLogFiles{""};  // index 0 stays empty
    int16_t sessionLogCount = 0;
    std::set<std::string> unwritableLogPaths;  // paths whose failure was already noticed in the log box
    std::string existingLogPath;               // the log file this run last opened, known to exist
    // The current log path as last worked out, and the model path and data folder it was worked out from.
    std::string currentPath;
    std::string currentPathModel;
    std::string currentPathFolder;
    // The log file that lines were last appended to, held open between lines (each line still reaches the
    // file in one write of its own, unbuffered).
    std::shared_ptr<LogFileHandle> openFile;
};

// The program name and version texts.
struct VersionTexts {
    std::string appName;
    std::string appVersion;
    std::string appTitle;
    static VersionTexts make(int major, int minor, int revision);
};
VersionTexts buildVersionTexts();  // from the project version

// The platform services; a fresh context has silent ones, the main window and tests put in their own.
struct Services {
    Prompts* prompts = nullptr;
    StatusDisplay* status = nullptr;
    Clock* clock = nullptr;
    RandomSource* random = nullptr;  // the random damage points
    ErrorReport* errorReport = nullptr;
    SettingsStore* preferencesStore = nullptr;  // the seventeen preferences
    SettingsStore* recentFilesStore = nullptr;  // section "Recent Files"
    TextViewer* textViewer = nullptr;
    MaterialPreviewHook* materialPreview = nullptr;  // the preview's material steps; none: nothing is done
};

struct Session {
    Session();
    Preferences prefs;
    LiveSwitches live;
    LogState log;
    ErrorContext err;
    VersionTexts version;
    // The per-user writable data folder (start-up log, dumps).
    std::filesystem::path userDataFolder;
    Services services;
};

}  // namespace tarv
