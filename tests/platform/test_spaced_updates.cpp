// The window's spaced updates: what an operation reports reaches the window at most once every few
// milliseconds, the latest status texts and every log line in order, and everything before a prompt, an error
// report, a change of the progress bars, panels or pointer, and on flush(); a repaint of its own only before
// a prompt, an error report and on flush().
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "PlatformFakes.h"
#include "platform/SpacedUpdates.h"

using namespace tarv;
using namespace tarv::test;

namespace {

// Prompts that note what the log box held when each was shown.
class WitnessPrompts : public DecliningPrompts {
public:
    explicit WitnessPrompts(const RecordingStatus& window) : window_(window) {}
    void messageBox(const std::string&, const std::string&, PromptIcon) override { seen.push_back(window_.logBox); }
    bool yesNo(const std::string&, const std::string&, PromptIcon) override {
        seen.push_back(window_.logBox);
        return true;
    }
    std::optional<FileDialogChoice> openFile(const FileDialogRequest&) override {
        seen.push_back(window_.logBox);
        return std::nullopt;
    }
    std::vector<std::string> seen;

private:
    const RecordingStatus& window_;
};

class WitnessReport : public ErrorReport {
public:
    explicit WitnessReport(const RecordingStatus& window) : window_(window) {}
    void show(const ErrorReportInfo&) override { seen.push_back(window_.logBox); }
    std::vector<std::string> seen;

private:
    const RecordingStatus& window_;
};

struct SpacedUpdatesTest : ::testing::Test {
    RecordingStatus window;
    WitnessPrompts prompts{window};
    WitnessReport report{window};
    FakeClock clock;
    SpacedUpdates spaced{window, report, prompts, clock};
    int announced = 0;
    SpacedUpdatesTest() {
        spaced.onHeld = [this] { ++announced; };
    }
    void report3() {
        StatusDisplay& s = spaced.status();
        s.setStatus("Reading 1");
        s.appendLog("one\r\n");
        s.setStatus("Reading 2");
        s.setStatus2("half");
        s.setProgressMax(ProgressBar::Status2, 10);
        s.setProgressValue(ProgressBar::Status2, 4);
        s.appendLog("two\r\n");
        s.setProgressValue(ProgressBar::Status2, 5);
        s.appendLog("three\r\n");
    }
};

TEST_F(SpacedUpdatesTest, UpdatesWaitForTheSpacingAndThenTheLatestTextsAndEveryLineArriveTogether) {
    report3();
    EXPECT_TRUE(window.statusHistory.empty());
    EXPECT_EQ(window.logBox, "");
    EXPECT_EQ(window.status2Bar.value, 0);
    EXPECT_EQ(announced, 1);  // once for the whole batch
    EXPECT_TRUE(spaced.holding());

    clock.advance(SpacedUpdates::kSpacingSeconds + 0.001);
    spaced.status().appendLog("four\r\n");
    EXPECT_EQ(window.statusHistory, (std::vector<std::string>{"Reading 2"}));
    EXPECT_EQ(window.status2, "half");
    EXPECT_EQ(window.status2Bar.maximum, 10);
    EXPECT_EQ(window.status2Bar.value, 5);
    EXPECT_EQ(window.logBox, "one\r\ntwo\r\nthree\r\nfour\r\n");
    EXPECT_FALSE(spaced.holding());

    spaced.status().appendLog("five\r\n");  // a new batch
    EXPECT_EQ(announced, 2);
    spaced.flush();
    EXPECT_EQ(window.logBox, "one\r\ntwo\r\nthree\r\nfour\r\nfive\r\n");
}

// Everything held reaches the window before each of these, whatever the clock says.
TEST_F(SpacedUpdatesTest, EverythingHeldReachesTheWindowFirst) {
    const std::vector<std::pair<const char*, std::function<void()>>> cases = {
        {"message box", [&] { spaced.prompts().messageBox("m", "c", PromptIcon::None); }},
        {"yes/no", [&] { spaced.prompts().yesNo("q", "c", PromptIcon::Question); }},
        {"open dialog", [&] { spaced.prompts().openFile({}); }},
        {"error report", [&] { spaced.errorReport().show({}); }},
        {"progress bar shown", [&] { spaced.status().setProgressVisible(ProgressBar::LoadTextures, true); }},
        {"busy pointer", [&] { spaced.status().setBusy(false); }},
        {"status bar panel", [&] { spaced.status().setPanelText(2, "p"); }},
        {"flush", [&] { spaced.flush(); }},
    };
    for (const auto& [name, trigger] : cases) {
        SCOPED_TRACE(name);
        window.logBox.clear();
        window.statusHistory.clear();
        prompts.seen.clear();
        report.seen.clear();
        report3();
        trigger();
        EXPECT_EQ(window.logBox, "one\r\ntwo\r\nthree\r\n");
        EXPECT_EQ(window.statusHistory, (std::vector<std::string>{"Reading 2"}));
        EXPECT_EQ(window.status2Bar.value, 5);
        for (const std::string& seen : prompts.seen) EXPECT_EQ(seen, "one\r\ntwo\r\nthree\r\n");
        for (const std::string& seen : report.seen) EXPECT_EQ(seen, "one\r\ntwo\r\nthree\r\n");
    }
}

TEST_F(SpacedUpdatesTest, TheEventPumpRunsAtMostOncePerSpacingAfterTheHeldUpdates) {
    report3();
    for (int i = 0; i < 50; ++i) spaced.status().processEvents();
    EXPECT_EQ(window.eventPumps, 0);
    EXPECT_EQ(window.logBox, "");
    const double spacing = SpacedUpdates::kSpacingSeconds;
    clock.advance(0.4 * spacing);
    spaced.status().processEvents();
    EXPECT_EQ(window.eventPumps, 0);
    clock.advance(0.8 * spacing);
    for (int i = 0; i < 50; ++i) spaced.status().processEvents();
    EXPECT_EQ(window.eventPumps, 1);
    EXPECT_EQ(window.logBox, "one\r\ntwo\r\nthree\r\n");
    clock.advance(1.2 * spacing);
    spaced.status().processEvents();
    EXPECT_EQ(window.eventPumps, 2);
}

// The bars, a panel, the pointer and a cleared log reach the window at once but cost no repaint of their own:
// the window repaints them with the next batch.
TEST_F(SpacedUpdatesTest, BarsPanelsPointerAndAClearedLogWaitForTheNextBatchsRepaint) {
    int repaints = 0;
    spaced.onFlushed = [&] { ++repaints; };
    StatusDisplay& s = spaced.status();
    report3();
    s.clearLog();
    s.setProgressVisible(ProgressBar::LoadTextures, true);
    s.setBusy(true);
    s.setStatus("Loading");
    s.setPanelText(2, "HW");
    s.appendLog("after\r\n");
    EXPECT_EQ(repaints, 0);
    EXPECT_TRUE(window.loadTextures.visible);
    EXPECT_TRUE(window.busy);
    EXPECT_EQ(window.panels[2], "HW");
    EXPECT_EQ(window.statusHistory, (std::vector<std::string>{"Reading 2", "Loading"}));
    EXPECT_EQ(window.logBox, "");
    spaced.flush();
    EXPECT_EQ(repaints, 1);
    EXPECT_EQ(window.logBox, "after\r\n");
    spaced.flush();  // nothing held: nothing to repaint
    EXPECT_EQ(repaints, 1);
}

namespace {
struct CountingClock : FakeClock {
    int reads = 0;
    double monotonicSeconds() override {
        ++reads;
        return now;
    }
};
}  // namespace

// A loop that sets a progress value per item reads the clock once every so many values while a batch waits,
// and its values still reach the window once the spacing has passed.
TEST(SpacedUpdates, ProgressValuesPerItemReadTheClockOnceEverySoManyValues) {
    RecordingStatus window;
    DecliningPrompts prompts;
    RecordingErrorReport report;
    CountingClock clock;
    SpacedUpdates spaced(window, report, prompts, clock);
    StatusDisplay& s = spaced.status();
    s.setStatus("Reading");
    const int readsBefore = clock.reads;
    constexpr int kItems = 10000;
    for (int j = 1; j <= kItems; ++j) s.setProgressValue(ProgressBar::Status2, j);
    EXPECT_LE(clock.reads - readsBefore, kItems / SpacedUpdates::kValuesPerClockRead + 1);
    EXPECT_EQ(window.status2Bar.value, 0);
    clock.advance(SpacedUpdates::kSpacingSeconds);
    for (int j = 1; j <= SpacedUpdates::kValuesPerClockRead; ++j) s.setProgressValue(ProgressBar::Status2, kItems + j);
    EXPECT_GT(window.status2Bar.value, kItems);
    EXPECT_EQ(window.status, "Reading");
    spaced.flush();
    EXPECT_EQ(window.status2Bar.value, kItems + SpacedUpdates::kValuesPerClockRead);
}

TEST_F(SpacedUpdatesTest, ClearingTheLogDropsTheLinesHeldBeforeIt) {
    window.logBox = "earlier\r\n";
    spaced.status().appendLog("gone\r\n");
    spaced.status().clearLog();
    spaced.status().appendLog("kept\r\n");
    EXPECT_EQ(window.logBox, "");
    spaced.flush();
    EXPECT_EQ(window.logBox, "kept\r\n");
}

}  // namespace
