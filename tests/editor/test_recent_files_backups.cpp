// Recent files, backups, the load summary's notes and the error report's text.
#include <gtest/gtest.h>

#include "base/RunTimeError.h"

#include <filesystem>
#include <unistd.h>

#include "Fakes.h"
#include "TempDir.h"
#include "base/AtomicFile.h"
#include "model/Backups.h"
#include "editor/ErrorReportText.h"
#include "model/LoadSummary.h"
#include "editor/RecentFiles.h"
#include "editor/context/EditingContext.h"

using namespace tarv;
using namespace tarv::test;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> visiblePaths(const EditingContext& ctx) {
    std::vector<std::string> paths;
    for (size_t i = 1; i < ctx.shell.mnuRecentFile.size(); ++i)
        if (ctx.shell.mnuRecentFile[i].visible) paths.push_back(ctx.shell.mnuRecentFile[i].path);
    return paths;
}

void open(EditingContext& ctx, const std::string& file) {
    addRecentFile(ctx, file);
    loadRecentFiles(ctx);
}

}  // namespace

TEST(RecentFiles, FirstRunKeepsEverythingHidden) {
    TempDir dir;
    TestContext t(dir.path());
    loadRecentFiles(t.ctx);
    for (const RecentFileItem& item : t.ctx.shell.mnuRecentFile) EXPECT_FALSE(item.visible) << item.caption;
    EXPECT_EQ(t.ctx.shell.mnuRecentFile[1].caption, "RecentFile1");
}

TEST(RecentFiles, KeepsTheLastFourNewestFirstInTheirOwnCase) {
    TempDir dir;
    TestContext t(dir.path());
    for (std::string f : {"/ships/a.peo", "/ships/B.peo", "/ships/c.PEO", "/Ships/d.peo", "/ships/Scout.shp"})
        open(t.ctx, f);
    // Paths keep their letter case: on Linux an upper-cased path would name another file.
    EXPECT_EQ(visiblePaths(t.ctx),
              (std::vector<std::string>{"/ships/Scout.shp", "/Ships/d.peo", "/ships/c.PEO", "/ships/B.peo"}));
    EXPECT_EQ(t.recentFilesStore.values["RecentFile1"], "/ships/Scout.shp");
    EXPECT_EQ(t.recentFilesStore.values["RecentFile4"], "/ships/B.peo");
    EXPECT_EQ(t.ctx.shell.mnuRecentFile[1].caption, "&1 /ships/Scout.shp");
    EXPECT_EQ(t.ctx.shell.mnuRecentFile[4].caption, "&4 /ships/B.peo");
    EXPECT_TRUE(t.ctx.shell.mnuRecentFile[0].visible);
    EXPECT_FALSE(t.ctx.shell.mnuRecentFile[5].visible) << "the fifth item is never filled";

    open(t.ctx, "/SHIPS/C.PEO");
    EXPECT_EQ(visiblePaths(t.ctx),
              (std::vector<std::string>{"/ships/Scout.shp", "/Ships/d.peo", "/ships/c.PEO", "/ships/B.peo"}))
        << "a listed file opened in other case moves nothing";
    EXPECT_EQ(t.recentFilesStore.values["RecentFile3"], "/ships/c.PEO");
}

TEST(RecentFiles, UnfilledItemsMatchNothingAndAmpersandsShowAsThemselves) {
    TempDir dir;
    TestContext t(dir.path());
    addRecentFile(t.ctx, "RecentFile1");  // the caption of an unfilled item
    loadRecentFiles(t.ctx);
    EXPECT_EQ(visiblePaths(t.ctx), std::vector<std::string>{"RecentFile1"});
    open(t.ctx, "/ships/R&D/a&b.peo");
    EXPECT_EQ(t.ctx.shell.mnuRecentFile[1].caption, "&1 /ships/R&&D/a&&b.peo");
    EXPECT_EQ(t.ctx.shell.mnuRecentFile[1].path, "/ships/R&D/a&b.peo");
    EXPECT_EQ(t.ctx.shell.mnuRecentFile[2].caption, "&2 RecentFile1");
}

namespace {

struct BackupFixture {
    TempDir dir;
    TestContext t{dir.path()};
    std::string model = (dir / "Scout.peo").string();
    std::string mex = (dir / "SCOUT.MEX").string();
    std::string mad = (dir / "Scout.mad").string();
    BackupFixture() {
        writeText(model, "peo v1");
        writeText(mex, "mex v1");
        writeText(mad, "mad v1");
        t.ctx.currentModelPath = model;
    }
    std::string backupOf(const std::string& path) { return readText(backupNameOf(path)); }
    std::pair<bool, bool> states() { return {t.ctx.shell.mnuBUCEnabled, t.ctx.shell.mnuRevBUEnabled}; }
};

const std::string kQuestion =
    "No backup of Scout.peo exists!\r\nIt is HIGHLY recommend that you backup now.\r\n       Backup?";

}  // namespace

TEST(Backups, NamesTheBackupBesideTheFile) {
    EXPECT_EQ(backupNameOf("/ships/scout.peo"), "/ships/Backup of scout.peo");
    EXPECT_EQ(backupNameOf("scout.peo"), "Backup of scout.peo");
}

TEST(Backups, OfferSetsTheMenuStates) {
    struct Case {
        const char* what;
        bool preference;
        bool backupExists;
        std::optional<bool> answer;  // nullopt: no question expected
        bool backupAfter;
        std::pair<bool, bool> createAndLoad;
    } cases[] = {
        {"Yes makes the backup", true, false, true, true, {false, true}},
        {"No declines", true, false, false, false, {true, false}},
        {"an existing backup asks nothing", true, true, std::nullopt, true, {false, true}},
        {"preference off asks nothing", false, true, std::nullopt, true, {true, false}},
        {"preference off without backup", false, false, std::nullopt, false, {true, false}},
    };
    for (const Case& c : cases) {
        BackupFixture f;
        f.t.ctx.prefs.alwaysShowBackup = c.preference;
        if (c.backupExists) writeText(backupNameOf(f.model), "old");
        if (c.answer) f.t.prompts.expectYesNo(*c.answer, kQuestion);
        offerBackup(f.t.ctx, f.model);
        EXPECT_EQ(f.states(), c.createAndLoad) << c.what;
        EXPECT_EQ(fs::exists(backupNameOf(f.model)), c.backupAfter) << c.what;
        if (c.answer && *c.answer) {
            EXPECT_EQ(f.backupOf(f.model), "peo v1") << c.what;
        }
        if (c.answer) {
            ASSERT_FALSE(f.t.prompts.shown.empty());
            EXPECT_EQ(f.t.prompts.shown.back().caption, f.t.ctx.version.appTitle);
            EXPECT_EQ(f.t.prompts.shown.back().icon, PromptIcon::None);
        }
    }
}

TEST(Backups, TheLastOfferDecides) {
    BackupFixture f;
    writeText(backupNameOf(f.model), "peo backup");
    f.t.prompts.expectYesNo(false);
    offerBackup(f.t.ctx, f.model);
    offerBackup(f.t.ctx, f.mex);  // declined
    EXPECT_EQ(f.states(), std::make_pair(true, false));
}

TEST(Backups, CreateTwiceReplacesAndEnablesBoth) {
    BackupFixture f;
    ASSERT_TRUE(createModelBackup(f.t.ctx));
    writeText(f.model, "peo v2");
    ASSERT_TRUE(createModelBackup(f.t.ctx));
    EXPECT_EQ(f.backupOf(f.model), "peo v2");
    EXPECT_EQ(f.states(), std::make_pair(true, true));
    EXPECT_FALSE(fs::exists(backupNameOf(f.mex))) << "only the model is copied";
}

TEST(Backups, LoadRestoresModelAndMexButNeverMad) {
    BackupFixture f;
    writeText(backupNameOf(f.model), "peo backup");
    writeText(backupNameOf(f.mex), "mex backup");
    writeText(backupNameOf(f.mad), "mad backup");
    EXPECT_EQ(mexPathBeside(f.model), f.mex) << "the .mex is found whatever its letter case";
    ASSERT_TRUE(restoreModelBackups(f.t.ctx).complete);
    EXPECT_EQ(readText(f.model), "peo backup");
    EXPECT_EQ(readText(f.mex), "mex backup");
    EXPECT_EQ(readText(f.mad), "mad v1");
}

TEST(Backups, LoadWithOnlyTheMexBackupLeavesTheModel) {
    BackupFixture f;
    writeText(backupNameOf(f.mex), "mex backup");
    ASSERT_TRUE(restoreModelBackups(f.t.ctx).complete);
    EXPECT_EQ(readText(f.model), "peo v1");
    EXPECT_EQ(readText(f.mex), "mex backup");
}

TEST(Backups, AFailedCopyIsReportedAndChangesNothing) {
    BackupFixture f;
    writeText(backupNameOf(f.mex), "mex backup");
    // A read-only folder; root writes there anyway, so it gets a failing write instead.
    bool root = geteuid() == 0;
    if (!root)
        fs::permissions(f.dir.path(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
    auto nextCopyFails = [&] {
        if (root) failNextAtomicWriteForTesting();
    };
    f.t.ctx.shell.mnuBUCEnabled = true;

    nextCopyFails();

    EXPECT_FALSE(createModelBackup(f.t.ctx));
    ASSERT_EQ(f.t.errors.reports.size(), 1u);
    EXPECT_EQ(f.t.errors.reports[0].module, "frmTARV");
    EXPECT_EQ(f.t.errors.reports[0].procedure, "mnuBUC_Click");
    EXPECT_EQ(f.states(), std::make_pair(true, false)) << "the menu states stay as they were";
    EXPECT_FALSE(fs::exists(backupNameOf(f.model)));

    nextCopyFails();
    const BackupRestore partial = restoreModelBackups(f.t.ctx);
    EXPECT_TRUE(partial.modelStepDone);  // the model had no backup to copy
    EXPECT_FALSE(partial.complete);
    ASSERT_EQ(f.t.errors.reports.size(), 2u);
    EXPECT_EQ(f.t.errors.reports[1].module, "modGeneric");
    EXPECT_EQ(f.t.errors.reports[1].procedure, "restoreBackup");
    EXPECT_EQ(f.t.errors.reports[1].arguments, f.mex);
    EXPECT_EQ(readText(f.mex), "mex v1");

    f.t.prompts.expectYesNo(true);
    nextCopyFails();
    offerBackup(f.t.ctx, f.model);
    ASSERT_EQ(f.t.errors.reports.size(), 3u);
    EXPECT_EQ(f.t.errors.reports[2].procedure, "checkForBackup");
    EXPECT_EQ(f.states(), std::make_pair(true, false)) << "an error counts as no backup";
}

TEST(LoadSummary, AppendsNotesWithCrLfAndDropsThem) {
    TempDir dir;
    TestContext t(dir.path());
    addToLoadSummary(t.ctx, "first note");
    addToLoadSummary(t.ctx, "second note");
    EXPECT_TRUE(t.ctx.shell.loadSummaryExists);
    EXPECT_EQ(t.ctx.shell.loadSummaryNotes, "first note\r\nsecond note\r\n");
    EXPECT_EQ(t.status.eventPumps, 2);
    // Notes of a load whose summary was not shown stay, in front of the next load's notes.
    addToLoadSummary(t.ctx, "next load");
    EXPECT_EQ(t.ctx.shell.loadSummaryNotes, "first note\r\nsecond note\r\nnext load\r\n");
    dropLoadSummary(t.ctx);
    EXPECT_FALSE(t.ctx.shell.loadSummaryExists);
    EXPECT_EQ(t.ctx.shell.loadSummaryNotes, "");
}

TEST(ErrorReportText, TheErrorLineAddsTheDetailWhenThereIsOne) {
    ErrorReportInfo info;
    info.description = "Overflow";
    info.detail = "the object count 1734829 in Tarvlet.peo does not fit (at most 32767)";
    info.module = "frmTARV";
    info.procedure = "getGeneralInfo";
    EXPECT_EQ(errorReportText("TARV v1.0", info),
              "TARV v1.0\r\nError: Overflow: the object count 1734829 in Tarvlet.peo does not fit (at most 32767)\r\n"
              "In module: frmTARV\r\nIn function: getGeneralInfo\r\n");
}

TEST(ErrorReportText, TheDetailsOfRunTimeErrors) {
    EXPECT_EQ(RunTimeError::tooLarge("the object count", 1734829, "Tarvlet.peo", 32767).detail(),
              "the object count 1734829 in Tarvlet.peo does not fit (at most 32767)");
    EXPECT_EQ(RunTimeError::tooLarge("the object count", 1734829, "Tarvlet.peo", 32767).description(), "Overflow");
    EXPECT_EQ(RunTimeError::overflow().whileReading("a.mad").detail(), "while reading a.mad");
    EXPECT_EQ(RunTimeError::badFile("The file a.mad is short").whileReading("a.mad").detail(), "")
        << "a description that names the file needs no detail";
    EXPECT_EQ(RunTimeError::tooLarge("x", 1, "a.peo", 0).whileReading("b.peo").detail(),
              "x 1 in a.peo does not fit (at most 0)")
        << "a detail is never replaced";
}

TEST(ErrorReportText, ViewLogWithoutAViewerNamesTheLog) {
    EXPECT_EQ(noTextViewerMessage("/models/ship.log"), "No text editor found!\r\nThe log file is /models/ship.log");
}

TEST(ErrorReportText, HasFourOrFiveLines) {
    ErrorReportInfo info;
    info.description = "Subscript out of range";
    info.module = "modD3D";
    info.procedure = "resetPeoObject";
    EXPECT_EQ(errorReportText("TARV v1.0", info),
              "TARV v1.0\r\nError: Subscript out of range\r\nIn module: modD3D\r\nIn function: resetPeoObject\r\n");
    info.arguments = "5";
    EXPECT_EQ(errorReportText("TARV v1.0", info),
              "TARV v1.0\r\nError: Subscript out of range\r\nIn module: modD3D\r\nIn function: resetPeoObject\r\n"
              "Parameters: 5\r\n");
}
