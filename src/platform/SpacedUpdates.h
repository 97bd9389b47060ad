#pragma once
// The main window's status display, error report and prompts as long operations see them. An operation may
// log a line, set a status text or a progress value many times a second, and the window repaints on each;
// here the latest status texts and progress values, and the log lines in their order, reach the window at
// most ten times a second (slower than the display's frame rate: each batch costs the window one repaint),
// and so does the window's event pump. Everything held back reaches the window before an error report,
// before any prompt or dialog, and when flush() is called (the window calls it at the end of every command),
// each time in one repaint. A progress bar shown or hidden, a status bar panel, the busy pointer and a cleared
// log reach the window at once, after what was held, and are repainted with the next batch: a load that
// shows its bars, sets the pointer and clears the log costs the window no repaint of its own for them.
// A long loop may set a progress value per item: the clock is read once every kValuesPerClockRead values.
#include <functional>
#include <optional>
#include <string>

#include "platform/Clock.h"
#include "platform/ErrorReport.h"
#include "platform/Prompts.h"
#include "platform/StatusDisplay.h"

namespace tarv {

class SpacedUpdates {
public:
    static constexpr double kSpacingSeconds = 0.1;
    static constexpr int kValuesPerClockRead = 256;

    SpacedUpdates(StatusDisplay& window, ErrorReport& report, Prompts& prompts, Clock& clock,
                  double spacingSeconds = kSpacingSeconds);
    SpacedUpdates(const SpacedUpdates&) = delete;
    SpacedUpdates& operator=(const SpacedUpdates&) = delete;

    // What the operations are given in place of the window's own.
    StatusDisplay& status() { return status_; }
    ErrorReport& errorReport() { return report_; }
    Prompts& prompts() { return prompts_; }

    // Hands everything held back to the window.
    void flush();
    bool holding() const;
    // Called when an update is held back while nothing else was: the window arranges a flush for when its
    // event loop runs again, so the end of a command shows even when nobody calls flush().
    std::function<void()> onHeld;
    // Called after a batch reached the window: the window shows the widgets it changed, all in one repaint.
    std::function<void()> onFlushed;

private:
    class Status : public StatusDisplay {
    public:
        explicit Status(SpacedUpdates& owner) : owner_(owner) {}
        void setStatus(const std::string& text) override;
        void setStatus2(const std::string& text) override;
        void setProgressMax(ProgressBar bar, int maximum) override;
        void setProgressValue(ProgressBar bar, int value) override;
        void setProgressVisible(ProgressBar bar, bool visible) override;
        void setPanelText(int panel, const std::string& text) override;
        void appendLog(const std::string& text) override;
        void clearLog() override;
        void setBusy(bool busy) override;
        void processEvents() override;

    private:
        SpacedUpdates& owner_;
    };
    class Report : public ErrorReport {
    public:
        explicit Report(SpacedUpdates& owner) : owner_(owner) {}
        void show(const ErrorReportInfo& info) override;

    private:
        SpacedUpdates& owner_;
    };
    class FlushingPrompts : public Prompts {
    public:
        explicit FlushingPrompts(SpacedUpdates& owner) : owner_(owner) {}
        void messageBox(const std::string& text, const std::string& caption, PromptIcon icon) override;
        bool okCancel(const std::string& text, const std::string& caption, PromptIcon icon) override;
        bool yesNo(const std::string& text, const std::string& caption, PromptIcon icon) override;
        std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                            const std::string& defaultText) override;
        std::optional<FileDialogChoice> openFile(const FileDialogRequest& request) override;
        std::optional<FileDialogChoice> saveFile(const FileDialogRequest& request) override;
        std::optional<int32_t> chooseColour(int32_t startColour) override;

    private:
        SpacedUpdates& owner_;
    };
    struct Progress {
        std::optional<int> maximum, value;
    };

    Progress& progress(ProgressBar bar) { return bar == ProgressBar::LoadTextures ? loadTextures_ : status2Bar_; }
    // Called after an update was held: the window gets the batch when the last one is far enough back.
    void held();
    // Hands everything held back to the window; false when nothing was held.
    bool handOver();

    StatusDisplay& window_;
    ErrorReport& windowReport_;
    Prompts& windowPrompts_;
    Clock& clock_;
    double spacing_;
    double lastFlush_;
    double lastPump_;
    Status status_{*this};
    Report report_{*this};
    FlushingPrompts prompts_{*this};
    std::optional<std::string> status1_, status2_;
    Progress loadTextures_, status2Bar_;
    std::string log_;
    bool announced_ = false;
    int valuesSinceClockRead_ = 0;
};

}  // namespace tarv
