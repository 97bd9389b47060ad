#pragma once
// One editing context per main window (and per test case): the loaded ship and every piece of state the
// editor's operations share, grouped by owner. Operations receive it by reference; there are no globals.
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "attachments/MexChunkTable.h"
#include "attachments/ShipDefinition.h"
#include "animation/MadTracks.h"
#include "core/ErrorReport.h"
#include "core/Preferences.h"
#include "core/RoadState.h"
#include "core/ShellState.h"
#include "core/ShipModel.h"
#include "core/StatusDisplay.h"
#include "materials/LifState.h"
#include "objects/ObjectsState.h"
#include "meshtools/LodFileSet.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"
#include "platform/SettingsStore.h"
#include "platform/TextViewer.h"
#include "preview/PreviewState.h"
#include "preview/ViewState.h"

namespace tarv {

class MaterialPreviewHook;

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
    std::set<std::string> unwritableLogPaths;      // paths whose failure was already noticed in the log box
    std::string existingLogPath;                   // the log file this run last opened, known to exist
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
    ErrorReport* errorReport = nullptr;
    SettingsStore* preferencesStore = nullptr;  // the seventeen preferences
    SettingsStore* recentFilesStore = nullptr;  // section "Recent Files"
    TextViewer* textViewer = nullptr;
    MaterialPreviewHook* materialPreview = nullptr;  // the preview's material steps; none: nothing is done
};

class EditingContext {
public:
    EditingContext();
    EditingContext(const EditingContext&) = delete;
    EditingContext& operator=(const EditingContext&) = delete;

    ShipModel model;
    Preferences prefs;
    LiveSwitches live;
    LogState log;
    ErrorContext err;
    VersionTexts version;
    ViewState view;  // the preview's records and scene
    ShipDefinition shp;
    LodFileSet lod;
    ShellState shell;
    LifState lif;  // the loaded .lif texture and the texture windows' state
    AnimationState animation;  // animations and key tracks
    MexChunkTable mex;
    RoadState road;  // the load and save roads, start-up and exit
    PreviewState preview;  // camera, spin and playback, texture lists
    ObjectsState objects;  // selection, object lists, tree drag state, object pages

    // The full path of the loaded model (the first panel of the status bar); empty before the first load.
    std::string currentModelPath;
    // The per-user writable data folder (start-up log, dumps).
    std::filesystem::path userDataFolder;

    Prompts& prompts() { return services.prompts ? *services.prompts : decliningPrompts_; }
    StatusDisplay& status() { return services.status ? *services.status : silentStatus_; }
    Clock& clock() { return services.clock ? *services.clock : systemClock_; }
    ErrorReport& errorReport() { return services.errorReport ? *services.errorReport : silentReport_; }
    SettingsStore& preferencesStore() {
        return services.preferencesStore ? *services.preferencesStore : memoryPreferences_;
    }
    SettingsStore& recentFilesStore() {
        return services.recentFilesStore ? *services.recentFilesStore : memoryRecentFiles_;
    }
    TextViewer& textViewer() { return services.textViewer ? *services.textViewer : recordingViewer_; }

    Services services;

private:
    DecliningPrompts decliningPrompts_;
    StatusDisplay silentStatus_;
    SystemClock systemClock_;
    SilentErrorReport silentReport_;
    MemorySettingsStore memoryPreferences_;
    MemorySettingsStore memoryRecentFiles_;
    RecordingTextViewer recordingViewer_;
};

} // namespace tarv
