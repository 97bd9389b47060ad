#pragma once
// Fakes of the platform services: scripted prompts, recorders, a settable clock and scripted random positions.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/ErrorReport.h"
#include "platform/Prompts.h"
#include "platform/RandomSource.h"
#include "platform/StatusDisplay.h"

namespace tarv::test {

// One prompt as it was shown.
struct ShownPrompt {
    std::string kind;  // "message", "okCancel", "yesNo", "input", "open", "save", "colour"
    std::string text;
    std::string caption;
    PromptIcon icon = PromptIcon::None;
    FileDialogRequest request;  // for the file dialogs
    std::string defaultText;    // for the input box
};

// Expects prompts in order, each with its answer; an unexpected prompt or one left unanswered fails the
// test (the latter at destruction, unless allowUnused() was called).
class ScriptedPrompts : public Prompts {
public:
    ~ScriptedPrompts() override;

    // Expected prompts. An empty text matches any text.
    ScriptedPrompts& expectMessage(std::string text = {}, std::string caption = {});
    ScriptedPrompts& expectOkCancel(bool ok, std::string text = {});
    ScriptedPrompts& expectYesNo(bool yes, std::string text = {});
    ScriptedPrompts& expectInput(std::optional<std::string> answer, std::string prompt = {});
    // An input box answered with its default text, as OK on the proposed text does.
    ScriptedPrompts& expectInputDefault(std::string prompt = {});
    ScriptedPrompts& expectOpen(std::optional<FileDialogChoice> answer);
    ScriptedPrompts& expectSave(std::optional<FileDialogChoice> answer);
    ScriptedPrompts& expectColour(std::optional<int32_t> answer);
    // Answers every Yes/No question with the given answers in turn, forever (no expectations checked).
    ScriptedPrompts& answerYesNoCycling(std::vector<bool> answers);
    void allowUnused() { strict_ = false; }

    std::vector<ShownPrompt> shown;
    size_t pending() const { return script_.size(); }

    void messageBox(const std::string& text, const std::string& caption, PromptIcon icon) override;
    bool okCancel(const std::string& text, const std::string& caption, PromptIcon icon) override;
    bool yesNo(const std::string& text, const std::string& caption, PromptIcon icon) override;
    std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText) override;
    std::optional<FileDialogChoice> openFile(const FileDialogRequest& request) override;
    std::optional<FileDialogChoice> saveFile(const FileDialogRequest& request) override;
    std::optional<int32_t> chooseColour(int32_t startColour) override;

private:
    struct Step {
        std::string kind;
        std::string text;
        std::string caption;
        bool flag = false;
        std::optional<std::string> input;
        std::optional<FileDialogChoice> file;
        std::optional<int32_t> colour;
    };
    Step next(const std::string& kind, const std::string& text);
    std::deque<Step> script_;
    std::vector<bool> cycle_;
    size_t cyclePos_ = 0;
    bool strict_ = true;
};

// Records what long operations report.
class RecordingStatus : public StatusDisplay {
public:
    void setStatus(const std::string& text) override {
        status = text;
        statusHistory.push_back(text);
    }
    void setStatus2(const std::string& text) override { status2 = text; }
    void setProgressMax(ProgressBar bar, int maximum) override { progress(bar).maximum = maximum; }
    void setProgressValue(ProgressBar bar, int value) override { progress(bar).value = value; }
    void setProgressVisible(ProgressBar bar, bool visible) override { progress(bar).visible = visible; }
    void setPanelText(int panel, const std::string& text) override {
        if (panel >= 0 && panel < 5) panels[panel] = text;
    }
    void appendLog(const std::string& text) override { logBox += text; }
    void clearLog() override { logBox.clear(); }
    void setBusy(bool b) override { busy = b; }
    void processEvents() override { ++eventPumps; }

    struct Progress {
        int maximum = 0, value = 0;
        bool visible = false;
    };
    Progress& progress(ProgressBar bar) { return bar == ProgressBar::LoadTextures ? loadTextures : status2Bar; }

    std::string status, status2, logBox;
    std::vector<std::string> statusHistory;
    std::string panels[5];
    Progress loadTextures, status2Bar;
    bool busy = false;
    int eventPumps = 0;
};

class RecordingErrorReport : public ErrorReport {
public:
    void show(const ErrorReportInfo& info) override { reports.push_back(info); }
    std::vector<ErrorReportInfo> reports;
};

// A clock that tests set and advance.
class FakeClock : public Clock {
public:
    std::string dateText() override { return date; }
    std::string timeText() override { return time; }
    double secondsSinceMidnight() override { return now; }
    double monotonicSeconds() override { return now; }
    void advance(double seconds) { now += seconds; }
    std::string date = "10/12/2026";
    std::string time = "13:30:00";
    double now = 1000.0;
};

// Gives the queued positions in turn and records every count it was asked for and every run started. A draw
// with the queue empty, or a queued position outside the count asked for, fails the test (and gives 0).
class ScriptedRandomSource : public RandomSource {
public:
    ScriptedRandomSource& then(std::vector<int32_t> positions) {
        queue.insert(queue.end(), positions.begin(), positions.end());
        return *this;
    }
    void startRun() override { ++runs; }
    int32_t uniformIndex(int32_t count) override;
    std::deque<int32_t> queue;
    std::vector<int32_t> counts;
    int runs = 0;
};

}  // namespace tarv::test
