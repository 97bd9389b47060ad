#pragma once
// The test context: a context wired to fresh fakes of the platform services, and a counting canvas.
#include <filesystem>

#include "PlatformFakes.h"
#include "editor/context/EditingContext.h"
#include "scene/Canvas.h"

namespace tarv::test {

// A context wired to fresh fakes, with its data folder in a temporary folder of the test's.
struct TestContext {
    explicit TestContext(const std::filesystem::path& dataFolder);
    EditingContext ctx;
    ScriptedPrompts prompts;
    RecordingStatus status;
    FakeClock clock;
    ScriptedRandomSource random;
    RecordingErrorReport errors;
    MemorySettingsStore preferencesStore;
    MemorySettingsStore recentFilesStore;
    RecordingTextViewer textViewer;
};

// A canvas that starts and counts its renders and refreshes, and notes whether it is held.
class CountingCanvas : public scene::Canvas {
public:
    int renders = 0, refreshes = 0;
    bool held = false;
    bool start() override { return true; }
    std::string lastErrorText() const override { return {}; }
    void render() override { ++renders; }
    void refresh() override { ++refreshes; }
    void setHeld(bool h) override { held = h; }
};

}  // namespace tarv::test
