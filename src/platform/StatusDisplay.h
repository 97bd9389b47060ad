#pragma once
// What long operations report to the main window: status labels, progress bars, status bar panels, the
// log box, the busy pointer and a chance for the window to repaint. Every method does nothing by default.
#include <string>

namespace tarv {

enum class ProgressBar { LoadTextures /* prgLoadTextures */, Status2 /* prgStatus2 */ };

class StatusDisplay {
public:
    virtual ~StatusDisplay() = default;
    virtual void setStatus(const std::string& text) {}   // lblStatus
    virtual void setStatus2(const std::string& text) {}  // lblStatus2
    virtual void setProgressMax(ProgressBar bar, int maximum) {}
    virtual void setProgressValue(ProgressBar bar, int value) {}
    virtual void setProgressVisible(ProgressBar bar, bool visible) {}
    // StatusBar1 panels 2 to 4 (panel 1 is the current model path of the context).
    virtual void setPanelText(int panel, const std::string& text) {}
    virtual void appendLog(const std::string& text) {}  // Text1, one line with its CR LF
    virtual void clearLog() {}
    virtual void setBusy(bool busy) {}
    // Lets pending window events (repaints) run; the main window lets no user input through here.
    virtual void processEvents() {}
};

}  // namespace tarv
