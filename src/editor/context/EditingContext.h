#pragma once
// One editing context per main window (and per test case): the document, the session and the presentation
// state. Operations receive it by reference; there are no globals. Operation headers declare the class and
// their sources include this header.
#include "editor/context/Document.h"
#include "editor/context/Presentation.h"
#include "editor/context/Session.h"

namespace tarv {

class EditingContext : public Document, public Session, public Presentation {
public:
    EditingContext() = default;
    EditingContext(const EditingContext&) = delete;
    EditingContext& operator=(const EditingContext&) = delete;

    Prompts& prompts() { return services.prompts ? *services.prompts : decliningPrompts_; }
    StatusDisplay& status() { return services.status ? *services.status : silentStatus_; }
    Clock& clock() { return services.clock ? *services.clock : systemClock_; }
    RandomSource& random() { return services.random ? *services.random : systemRandom_; }
    ErrorReport& errorReport() { return services.errorReport ? *services.errorReport : silentReport_; }
    SettingsStore& preferencesStore() {
        return services.preferencesStore ? *services.preferencesStore : memoryPreferences_;
    }
    SettingsStore& recentFilesStore() {
        return services.recentFilesStore ? *services.recentFilesStore : memoryRecentFiles_;
    }
    TextViewer& textViewer() { return services.textViewer ? *services.textViewer : recordingViewer_; }

private:
    DecliningPrompts decliningPrompts_;
    StatusDisplay silentStatus_;
    SystemClock systemClock_;
    SystemRandomSource systemRandom_;
    SilentErrorReport silentReport_;
    MemorySettingsStore memoryPreferences_;
    MemorySettingsStore memoryRecentFiles_;
    RecordingTextViewer recordingViewer_;
};

}  // namespace tarv
