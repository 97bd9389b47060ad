#include <gtest/gtest.h>

#include <filesystem>

#include "Fakes.h"
#include "TempDir.h"
#include "model/LogFiles.h"
#include "editor/context/EditingContext.h"

using namespace tarv;
namespace fs = std::filesystem;

TEST(LogFiles, WithoutAModelLinesGoToTarvLogInTheDataFolder) {
    tarv::test::TempDir dir;
    tarv::test::TestContext t(dir / "data");  // not there yet: the first line creates it
    t.ctx.prefs.logLevel = 1;
    writeLog(t.ctx, "x", 1);
    writeLog(t.ctx, "hidden", 2);
    writeStartupLog(t.ctx, "Version set: TARV");
    EXPECT_EQ(startupLogPath(t.ctx), (dir / "data" / "tarv.log").string());
    EXPECT_EQ(tarv::test::readText(dir / "data" / "tarv.log"), "[1] x\r\nVersion set: TARV\r\n");

    startStartupLog(t.ctx);
    EXPECT_FALSE(fs::exists(dir / "data" / "tarv.log"));
}

TEST(LogFiles, LevelZeroStillCreatesTheFile) {
    tarv::test::TempDir dir;
    tarv::test::TestContext t(dir.path());
    t.ctx.currentModelPath = (dir / "ship.peo").string();
    t.ctx.prefs.logLevel = 0;
    writeLog(t.ctx, "extra line", 1);
    ASSERT_TRUE(fs::exists(dir / "ship.log"));
    EXPECT_EQ(fs::file_size(dir / "ship.log"), 0u);
    writeLog(t.ctx, "normal line", 0);
    EXPECT_EQ(tarv::test::readText(dir / "ship.log"), "[0] normal line\r\n");
    // Deleting the start-up log at start does not stop the next line below the level putting it back.
    t.ctx.currentModelPath.clear();
    writeLog(t.ctx, "extra line", 1);
    startStartupLog(t.ctx);
    ASSERT_FALSE(fs::exists(dir / "tarv.log"));
    writeLog(t.ctx, "extra line", 1);
    EXPECT_TRUE(fs::exists(dir / "tarv.log"));
}

TEST(LogFiles, TheModelLogLiesBesideTheModel) {
    tarv::test::TempDir dir;
    tarv::test::TestContext t(dir.path());
    struct Case {
        std::string model;
        std::string log;
    };
    const Case cases[] = {
        {"/ships/scout.peo", "/ships/scout.log"},
        {"/ships/a.b/ship.peo", "/ships/a.b/ship.log"},  // only the last "." counts
        {"/ships/a.b/ship", "/ships/a.log"},
        {"noextension", "log"},  // relative to the working folder
        {"", (dir / "tarv.log").string()},
    };
    for (const Case& c : cases) {
        t.ctx.currentModelPath = c.model;
        EXPECT_EQ(currentLogPath(t.ctx), c.log) << c.model;
    }

    fs::create_directories(dir / "a.b");
    t.ctx.currentModelPath = (dir / "a.b" / "ship.peo").string();
    writeLog(t.ctx, "y", 1);
    EXPECT_EQ(tarv::test::readText(dir / "a.b" / "ship.log"), "[1] y\r\n");
}

TEST(LogFiles, AddToLogFillsTheLogBoxAndTheModelLog) {
    tarv::test::TempDir dir;
    tarv::test::TestContext t(dir.path());
    t.ctx.currentModelPath = (dir / "ship.peo").string();
    addToLog(t.ctx, "Opening ship...");
    addToLog(t.ctx, "second");
    EXPECT_EQ(t.status.logBox, "Opening ship...\r\nsecond\r\n");
    EXPECT_EQ(t.status.eventPumps, 2);
    EXPECT_EQ(tarv::test::readText(dir / "ship.log"), "[1] Opening ship...\r\n[1] second\r\n");
}

TEST(LogFiles, StartingAModelLogReplacesTheOldOne) {
    tarv::test::TempDir dir;
    tarv::test::TestContext t(dir.path());
    t.ctx.currentModelPath = (dir / "ship.peo").string();
    tarv::test::writeText(dir / "ship.log", "old lines\r\n");
    t.clock.date = "24/12/2026";
    t.clock.time = "18:05:09";
    startModelLog(t.ctx);
    EXPECT_EQ(t.ctx.log.logFilePath, (dir / "ship.log").string());
    EXPECT_EQ(
        tarv::test::readText(dir / "ship.log"),
        "[0] " + t.ctx.version.appTitle + " log opened: 24/12/2026 18:05:09\r\n[0] " + std::string(30, '-') + "\r\n");
}

TEST(LogFiles, AModelLoadedTwiceIsListedTwice) {
    tarv::test::TempDir dir;
    tarv::test::TestContext t(dir.path());
    addSessionLogFile(t.ctx, "/ships/scout.log");
    addSessionLogFile(t.ctx, "/ships/scout.log");
    EXPECT_EQ(t.ctx.log.sessionLogCount, 2);
    EXPECT_EQ(t.ctx.log.sessionLogFiles, (std::vector<std::string>{"", "/ships/scout.log", "/ships/scout.log"}));

    // The 16-bit count starts the list again; index 0 stays empty so the entry is still found at 1.
    t.ctx.log.sessionLogCount = 32767;
    t.ctx.log.sessionLogFiles.resize(32768, "x");
    addSessionLogFile(t.ctx, "/ships/next.log");
    EXPECT_EQ(t.ctx.log.sessionLogCount, 1);
    EXPECT_EQ(t.ctx.log.sessionLogFiles, (std::vector<std::string>{"", "/ships/next.log"}));
}

TEST(LogFiles, AnUnwritableLogIsNoticedOnceAndDoesNotStopTheCaller) {
    tarv::test::TempDir dir;
    tarv::test::TestContext t(dir.path());
    // A directory where the log file should be: no open succeeds, whoever runs the test.
    fs::create_directories(dir / "ship.log");
    t.ctx.currentModelPath = (dir / "ship.peo").string();
    EXPECT_NO_THROW(startModelLog(t.ctx));
    EXPECT_NO_THROW(addToLog(t.ctx, "line one"));
    EXPECT_NO_THROW(writeLog(t.ctx, "line two", 1));
    const std::string notice = "The log file " + (dir / "ship.log").string() + " cannot be written";
    const std::string& box = t.status.logBox;
    ASSERT_NE(box.find(notice), std::string::npos) << box;
    EXPECT_EQ(box.find(notice), box.rfind(notice)) << "noticed more than once";
    EXPECT_NE(box.find("line one\r\n"), std::string::npos);
    EXPECT_TRUE(t.errors.reports.empty());

    // The start-up log is another path and gets its own notice.
    fs::create_directories(dir / "tarv.log");
    EXPECT_NO_THROW(writeStartupLog(t.ctx, "start"));
    EXPECT_NE(box.find("The log file " + (dir / "tarv.log").string() + " cannot be written"), std::string::npos);
}

TEST(LogFiles, EachLineReachesTheFileAtOnceAndALogDeletedOrReplacedMeanwhileStartsAgain) {
    tarv::test::TempDir dir;
    tarv::test::TestContext t(dir.path());
    t.ctx.currentModelPath = (dir / "ship.peo").string();
    writeLog(t.ctx, "one", 1);
    EXPECT_EQ(tarv::test::readText(dir / "ship.log"), "[1] one\r\n") << "nothing held back";
    fs::remove(dir / "ship.log");
    writeLog(t.ctx, "two", 1);
    EXPECT_EQ(tarv::test::readText(dir / "ship.log"), "[1] two\r\n");
    tarv::test::writeText(dir / "other.log", "other\r\n");
    fs::rename(dir / "other.log", dir / "ship.log");
    writeLog(t.ctx, "three", 1);
    EXPECT_EQ(tarv::test::readText(dir / "ship.log"), "other\r\n[1] three\r\n");
    // Another model path, and back: each line goes to the log of the path at hand.
    t.ctx.currentModelPath = (dir / "boat.peo").string();
    writeLog(t.ctx, "four", 1);
    t.ctx.currentModelPath = (dir / "ship.peo").string();
    writeLog(t.ctx, "five", 1);
    EXPECT_EQ(tarv::test::readText(dir / "boat.log"), "[1] four\r\n");
    EXPECT_EQ(tarv::test::readText(dir / "ship.log"), "other\r\n[1] three\r\n[1] five\r\n");
}
