// The editor started as main() starts it: the sample ship opens from the command line, is saved under
// another name, opened from there and saved again; the files agree byte for byte. A save that cannot write
// shows the error report and leaves the old file as it was.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <unistd.h>

#include "Fakes.h"
#include "RoadHooks.h"
#include "SampleShip.h"
#include "Screenshot.h"
#include "TempDir.h"
#include "UserInput.h"
#include "app/EditorStart.h"
#include "base/AtomicFile.h"
#include "shell/ShellDialogs.h"
#include "editor/context/EditingContext.h"

namespace tarv::test {
namespace fs = std::filesystem;

namespace {

// Presses Resume on the error report as soon as it shows, and keeps its text.
void resumeErrorReportWhenShown(frmError* report, std::string& text) {
    QTimer::singleShot(50, report, [report, &text] {
        if (!report->isVisible()) return resumeErrorReportWhenShown(report, text);
        text = report->reportText();
        clickOn(report->cmdClose);
    });
}

}  // namespace

TEST(EndToEnd, TheSampleShipLoadsSavesAndLoadsAgain) {
    TempDir dir;
    const fs::path ship = dir / "ship";
    fs::create_directories(ship);
    for (const auto& entry : fs::directory_iterator(TARV_SOURCE_SAMPLES))
        if (entry.is_regular_file()) fs::copy_file(entry.path(), ship / entry.path().filename());
    fs::create_directories(dir / "first");
    fs::create_directories(dir / "second");
    fs::create_directories(dir / "data");

    TestContext t(dir / "data");
    t.preferencesStore.setKeyValue("AlwaysShowBackup", "0");
    const std::string model = (ship / "Tarvlet.peo").string();
    auto window = startEditor(t.ctx, model);
    QApplication::processEvents();

    EXPECT_EQ(window->lblStatus->text().toStdString(), "Ship loaded");
    EXPECT_EQ(window->statusPanels[0]->text().toStdString(), model);
    EXPECT_EQ(t.ctx.model.objectCount(), 4);
    EXPECT_EQ(t.ctx.log.sessionLogCount, 1);
    EXPECT_TRUE(window->mnuFileSaveAs->isEnabled());
    window->resize(1200, 800);
    QApplication::processEvents();
    saveScreenshotIfAsked(*window, "end_to_end_sample_loaded");

    const std::string first = (dir / "first" / "Saved.peo").string();
    const std::string second = (dir / "second" / "Again.peo").string();
    t.prompts.expectSave(FileDialogChoice{first, 1});
    window->mnuFileSaveAs->trigger();
    t.prompts.expectOpen(FileDialogChoice{first, 1});
    window->mnuFileOpen->trigger();
    EXPECT_EQ(t.ctx.currentModelPath, first);
    EXPECT_EQ(window->lblStatus->text().toStdString(), "Ship loaded");
    t.prompts.expectSave(FileDialogChoice{second, 1});
    window->mnuFileSaveAs->trigger();
    EXPECT_TRUE(t.errors.reports.empty());
    EXPECT_EQ(readBytes(first), readBytes(second));
    // The generator writes the .peo as the editor's writer does.
    EXPECT_EQ(readBytes(first), readBytes(ship / "Tarvlet.peo"));

    // "&PEO only" into a folder that cannot be written: the report shows, the old file stays.
    const auto before = readBytes(first);
    t.ctx.model.peoObjects[0].matrix[3] = 50;
    const bool root = geteuid() == 0;
    if (root)
        failNextAtomicWriteForTesting();
    else
        fs::permissions(dir / "first", fs::perms::owner_read | fs::perms::owner_exec);
    window->lblStatus->setText("before");
    std::string report;
    resumeErrorReportWhenShown(window->errorWindow, report);
    window->mnuSavePeo->trigger();
    if (!root) fs::permissions(dir / "first", fs::perms::owner_all);
    EXPECT_NE(report.find("Error:"), std::string::npos) << report;
    EXPECT_EQ(readBytes(first), before);
    EXPECT_NE(window->lblStatus->text().toStdString(), "Save done!");

    RoadWindowWatch noEnd(t.ctx);
    window.reset();
}

}  // namespace tarv::test
