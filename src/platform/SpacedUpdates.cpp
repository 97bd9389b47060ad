#include "platform/SpacedUpdates.h"

#include <utility>

namespace tarv {

SpacedUpdates::SpacedUpdates(StatusDisplay& window, ErrorReport& report, Prompts& prompts, Clock& clock,
                             double spacingSeconds)
    : window_(window),
      windowReport_(report),
      windowPrompts_(prompts),
      clock_(clock),
      spacing_(spacingSeconds),
      lastFlush_(clock.monotonicSeconds()),
      lastPump_(lastFlush_) {}

bool SpacedUpdates::holding() const {
    return status1_ || status2_ || loadTextures_.maximum || loadTextures_.value || status2Bar_.maximum ||
           status2Bar_.value || !log_.empty();
}

void SpacedUpdates::flush() {
    if (handOver() && onFlushed) onFlushed();
}

bool SpacedUpdates::handOver() {
    announced_ = false;
    valuesSinceClockRead_ = 0;
    lastFlush_ = clock_.monotonicSeconds();
    if (!holding()) return false;
    if (status1_) window_.setStatus(*std::exchange(status1_, std::nullopt));
    if (status2_) window_.setStatus2(*std::exchange(status2_, std::nullopt));
    for (ProgressBar bar : {ProgressBar::LoadTextures, ProgressBar::Status2}) {
        Progress& p = progress(bar);
        if (p.maximum) window_.setProgressMax(bar, *std::exchange(p.maximum, std::nullopt));
        if (p.value) window_.setProgressValue(bar, *std::exchange(p.value, std::nullopt));
    }
    if (!log_.empty()) window_.appendLog(std::exchange(log_, std::string()));
    return true;
}

void SpacedUpdates::held() {
    const double now = clock_.monotonicSeconds();
    if (now - lastFlush_ >= spacing_) {
        // The window is up to date: its event pump too waits for the spacing from here.
        lastPump_ = now;
        flush();
        return;
    }
    if (!announced_) {
        announced_ = true;
        if (onHeld) onHeld();
    }
}

void SpacedUpdates::Status::setStatus(const std::string& text) {
    owner_.status1_ = text;
    owner_.held();
}

void SpacedUpdates::Status::setStatus2(const std::string& text) {
    owner_.status2_ = text;
    owner_.held();
}

void SpacedUpdates::Status::setProgressMax(ProgressBar bar, int maximum) {
    // The batch sets the maximum before the value; a value held from before that the new maximum would
    // refuse reaches the bar first, as it did when it was set (the bar alone: the rest of the batch waits).
    Progress& p = owner_.progress(bar);
    if (p.value && *p.value > maximum) {
        if (p.maximum) owner_.window_.setProgressMax(bar, *std::exchange(p.maximum, std::nullopt));
        owner_.window_.setProgressValue(bar, *std::exchange(p.value, std::nullopt));
    }
    p.maximum = maximum;
    owner_.held();
}

void SpacedUpdates::Status::setProgressValue(ProgressBar bar, int value) {
    owner_.progress(bar).value = value;
    // While a batch waits, only every so many values ask the clock whether it is due.
    if (owner_.announced_ && ++owner_.valuesSinceClockRead_ < kValuesPerClockRead) return;
    owner_.valuesSinceClockRead_ = 0;
    owner_.held();
}

void SpacedUpdates::Status::setProgressVisible(ProgressBar bar, bool visible) {
    owner_.handOver();
    owner_.window_.setProgressVisible(bar, visible);
}

void SpacedUpdates::Status::setPanelText(int panel, const std::string& text) {
    owner_.handOver();
    owner_.window_.setPanelText(panel, text);
}

void SpacedUpdates::Status::appendLog(const std::string& text) {
    owner_.log_ += text;
    owner_.held();
}

void SpacedUpdates::Status::clearLog() {
    // The lines held back would be cleared with the others.
    owner_.log_.clear();
    owner_.handOver();
    owner_.window_.clearLog();
}

void SpacedUpdates::Status::setBusy(bool busy) {
    owner_.handOver();
    owner_.window_.setBusy(busy);
}

void SpacedUpdates::Status::processEvents() {
    const double now = owner_.clock_.monotonicSeconds();
    if (now - owner_.lastPump_ < owner_.spacing_) return;
    owner_.lastPump_ = now;
    owner_.handOver();  // the pump repaints what changed, the batch with the rest
    owner_.window_.processEvents();
}

void SpacedUpdates::Report::show(const ErrorReportInfo& info) {
    owner_.flush();
    owner_.windowReport_.show(info);
}

void SpacedUpdates::FlushingPrompts::messageBox(const std::string& text, const std::string& caption,
                                                PromptIcon icon) {
    owner_.flush();
    owner_.windowPrompts_.messageBox(text, caption, icon);
}

bool SpacedUpdates::FlushingPrompts::okCancel(const std::string& text, const std::string& caption, PromptIcon icon) {
    owner_.flush();
    return owner_.windowPrompts_.okCancel(text, caption, icon);
}

bool SpacedUpdates::FlushingPrompts::yesNo(const std::string& text, const std::string& caption, PromptIcon icon) {
    owner_.flush();
    return owner_.windowPrompts_.yesNo(text, caption, icon);
}

std::optional<std::string> SpacedUpdates::FlushingPrompts::inputBox(const std::string& prompt,
                                                                    const std::string& title,
                                                                    const std::string& defaultText) {
    owner_.flush();
    return owner_.windowPrompts_.inputBox(prompt, title, defaultText);
}

std::optional<FileDialogChoice> SpacedUpdates::FlushingPrompts::openFile(const FileDialogRequest& request) {
    owner_.flush();
    return owner_.windowPrompts_.openFile(request);
}

std::optional<FileDialogChoice> SpacedUpdates::FlushingPrompts::saveFile(const FileDialogRequest& request) {
    owner_.flush();
    return owner_.windowPrompts_.saveFile(request);
}

std::optional<int32_t> SpacedUpdates::FlushingPrompts::chooseColour(int32_t startColour) {
    owner_.flush();
    return owner_.windowPrompts_.chooseColour(startColour);
}

}  // namespace tarv
