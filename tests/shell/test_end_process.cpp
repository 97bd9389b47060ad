// The error report's End ends the program: a child process starts the real editor, a damaged model makes
// the report show, and End is clicked. Nothing of the interrupted start-up or load may run after the exit
// road, and the process must end, also before its event loop runs.
#include <gtest/gtest.h>

#include <QProcess>
#include <QStringList>
#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "SampleShip.h"
#include "TempDir.h"

namespace tarv::test {
namespace fs = std::filesystem;

namespace {

struct ChildRun {
    bool finished = false;
    bool normalExit = false;
    int exitCode = -1;
    std::vector<std::string> lines;
};

ChildRun runChild(const std::string& mode, const fs::path& file, const fs::path& dataFolder) {
    QProcess child;
    child.setProgram(TARV_END_CHILD);
    child.setArguments({QString::fromStdString(mode), QString::fromStdString(file.string()),
                        QString::fromStdString(dataFolder.string())});
    child.start();
    ChildRun run;
    run.finished = child.waitForFinished(120000);
    if (!run.finished) child.kill(), child.waitForFinished();
    run.normalExit = child.exitStatus() == QProcess::NormalExit;
    run.exitCode = child.exitCode();
    std::istringstream out(child.readAllStandardOutput().toStdString());
    for (std::string line; std::getline(out, line);) run.lines.push_back(line);
    return run;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& l : lines) text += l + "\n";
    return text;
}

}  // namespace

TEST(EndEnds, NothingOfTheInterruptedStartUpOrLoadRunsAndTheProcessEnds) {
    for (const std::string mode : {"startup", "load"}) {
        SCOPED_TRACE(mode);
        TempDir dir;
        samples::writeSampleShip(dir / "ship");
        const fs::path broken = dir / "ship" / "Broken.peo";
        writeBytes(broken, {1, 2, 3});
        fs::create_directories(dir / "data");

        const ChildRun run = runChild(mode, broken, dir / "data");
        ASSERT_TRUE(run.finished) << joined(run.lines);
        EXPECT_TRUE(run.normalExit);
        EXPECT_EQ(run.exitCode, 0) << joined(run.lines);
        // After End only the exit road's own question comes; then the process is gone.
        auto end = std::find(run.lines.begin(), run.lines.end(), "report: End");
        ASSERT_NE(end, run.lines.end()) << joined(run.lines);
        const std::vector<std::string> after(end + 1, run.lines.end());
        ASSERT_EQ(after.size(), 1u) << joined(run.lines);
        EXPECT_EQ(after[0].rfind("question: TARV has generated ", 0), 0u) << after[0];
        // The exit road ran: No deleted the model's log.
        EXPECT_FALSE(fs::exists(dir / "ship" / "Broken.log"));
    }
}

}  // namespace tarv::test
