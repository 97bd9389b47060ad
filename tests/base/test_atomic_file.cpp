#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include <sys/stat.h>
#include <unistd.h>

#include "TempDir.h"
#include "base/AtomicFile.h"
#include "base/RunTimeError.h"

using namespace tarv;
using tarv::test::readText;
using tarv::test::TempDir;
using tarv::test::writeText;
namespace fs = std::filesystem;

namespace {

// The names in a folder, so a test can see that no temporary file was left behind.
std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

fs::perms permsOf(const fs::path& p) { return fs::status(p).permissions() & fs::perms::mask; }

// Whether the file system stops us writing into a read-only folder (root is not stopped).
bool permissionsAreEnforced(const fs::path& scratch) {
    fs::create_directory(scratch);
    fs::permissions(scratch, fs::perms::owner_read | fs::perms::owner_exec);
    bool enforced = ::access(scratch.c_str(), W_OK) != 0;
    fs::permissions(scratch, fs::perms::owner_all);
    fs::remove(scratch);
    return enforced;
}

}  // namespace

TEST(AtomicFile, WritesNewAndReplacesExistingFiles) {
    TempDir dir;
    writeFileAtomically(dir / "new.log", std::string_view("first"));
    EXPECT_EQ(readText(dir / "new.log"), "first");
    writeFileAtomically(dir / "new.log", std::string_view("second, longer"));
    EXPECT_EQ(readText(dir / "new.log"), "second, longer");
    writeFileAtomically(dir / "new.log", std::string_view(""));
    EXPECT_EQ(readText(dir / "new.log"), "");
    const std::vector<uint8_t> bytes = {0, 1, 255, 0, 13, 10};
    writeFileAtomically(dir / "b.peo", bytes);
    EXPECT_EQ(readWholeFile(dir / "b.peo"), bytes);
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"b.peo", "new.log"}));
}

TEST(AtomicFile, FailuresLeaveTheTargetAndNoTemporaryFile) {
    TempDir dir;
    fs::create_directory(dir / "ships");
    writeText(dir / "ships" / "ship.peo", "original");
    fs::create_directory(dir / "ships" / "folder.peo");
    const bool enforced = permissionsAreEnforced(dir / "probe");
    if (enforced) {
        fs::create_directory(dir / "locked");
        writeText(dir / "locked" / "ship.peo", "locked original");
        fs::permissions(dir / "locked", fs::perms::owner_read | fs::perms::owner_exec);
        writeText(dir / "ships" / "readonly.peo", "read-only original");
        fs::permissions(dir / "ships" / "readonly.peo", fs::perms(0444));
    }

    struct Case {
        std::string name;
        fs::path target;
        std::string kind;
        bool hook = false;
    };
    std::vector<Case> cases = {
        {"failure hook", dir / "ships" / "ship.peo", "writing failed", true},
        {"target is a folder", dir / "ships" / "folder.peo", "cannot create the file"},
        {"folder does not exist", dir / "nowhere" / "ship.peo", "cannot create the file"},
    };
    if (enforced) {
        cases.push_back({"read-only folder", dir / "locked" / "ship.peo", "cannot create the file"});
        // A read-only file is not replaced behind the owner's back.
        cases.push_back({"read-only file", dir / "ships" / "readonly.peo", "cannot create the file"});
    }

    const std::vector<std::string> before = namesIn(dir / "ships");
    const std::vector<std::string> beforeTop = namesIn(dir.path());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.hook) failNextAtomicWriteForTesting();
        try {
            writeFileAtomically(c.target, std::string_view("new bytes"));
            ADD_FAILURE() << "no error";
        } catch (const RunTimeError& e) {
            EXPECT_NE(e.description().find(c.target.string()), std::string::npos) << e.description();
            EXPECT_NE(e.description().find(c.kind), std::string::npos) << e.description();
        }
        EXPECT_EQ(namesIn(dir / "ships"), before);
        EXPECT_EQ(namesIn(dir.path()), beforeTop);
    }
    EXPECT_EQ(readText(dir / "ships" / "ship.peo"), "original");
    EXPECT_TRUE(fs::is_directory(dir / "ships" / "folder.peo"));
    EXPECT_FALSE(fs::exists(dir / "nowhere"));
    if (enforced) {
        fs::permissions(dir / "locked", fs::perms::owner_all);
        EXPECT_EQ(readText(dir / "locked" / "ship.peo"), "locked original");
        EXPECT_EQ(namesIn(dir / "locked"), (std::vector<std::string>{"ship.peo"}));
        EXPECT_EQ(readText(dir / "ships" / "readonly.peo"), "read-only original");
    }

    // The hook fails one write only.
    writeFileAtomically(dir / "ships" / "ship.peo", std::string_view("saved"));
    EXPECT_EQ(readText(dir / "ships" / "ship.peo"), "saved");
}

TEST(AtomicFile, KeepsThePermissionBitsOfTheTarget) {
    TempDir dir;
    for (fs::perms p : {fs::perms(0640), fs::perms(0755), fs::perms(0600)}) {
        writeText(dir / "ship.peo", "old");
        fs::permissions(dir / "ship.peo", p);
        writeFileAtomically(dir / "ship.peo", std::string_view("new"));
        EXPECT_EQ(permsOf(dir / "ship.peo"), p);
        EXPECT_EQ(readText(dir / "ship.peo"), "new");
    }
}

TEST(AtomicFile, ASymlinkedTargetStaysALink) {
    TempDir dir;
    fs::create_directory(dir / "real");
    writeText(dir / "real" / "ship.peo", "old");
    fs::permissions(dir / "real" / "ship.peo", fs::perms(0640));
    fs::create_symlink("real/ship.peo", dir / "link.peo");  // relative, as links often are
    fs::create_symlink(dir / "link.peo", dir / "chain.peo");

    writeFileAtomically(dir / "link.peo", std::string_view("through the link"));
    EXPECT_TRUE(fs::is_symlink(dir / "link.peo"));
    EXPECT_EQ(readText(dir / "real" / "ship.peo"), "through the link");
    EXPECT_EQ(permsOf(dir / "real" / "ship.peo"), fs::perms(0640));

    copyFileAtomically(dir / "real" / "ship.peo", dir / "chain.peo");
    writeFileAtomically(dir / "chain.peo", std::string_view("through two links"));
    EXPECT_TRUE(fs::is_symlink(dir / "chain.peo"));
    EXPECT_TRUE(fs::is_symlink(dir / "link.peo"));
    EXPECT_EQ(readText(dir / "real" / "ship.peo"), "through two links");
    // The temporary file was made beside the real file, and is gone.
    EXPECT_EQ(namesIn(dir / "real"), (std::vector<std::string>{"ship.peo"}));
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"chain.peo", "link.peo", "real"}));
}

// The hook can let some writes through first: only the write after them fails, and the hook is spent.
TEST(AtomicFile, FailureHookCanLetWritesThroughFirst) {
    TempDir dir;
    failNextAtomicWriteForTesting(2);
    writeFileAtomically(dir / "a", std::string_view("1"));
    writeFileAtomically(dir / "b", std::string_view("2"));
    EXPECT_THROW(writeFileAtomically(dir / "c", std::string_view("3")), RunTimeError);
    writeFileAtomically(dir / "d", std::string_view("4"));
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"a", "b", "d"}));
}

TEST(AtomicFile, CopiesByTheSameRoad) {
    TempDir dir;
    writeText(dir / "ship.peo", "model bytes");
    writeText(dir / "ship.pe~", "older copy");
    copyFileAtomically(dir / "ship.peo", dir / "ship.pe~");
    EXPECT_EQ(readText(dir / "ship.pe~"), "model bytes");
    copyFileAtomically(dir / "ship.peo", dir / "Backup of ship.peo");
    EXPECT_EQ(readText(dir / "Backup of ship.peo"), "model bytes");

    failNextAtomicWriteForTesting();
    EXPECT_THROW(copyFileAtomically(dir / "ship.peo", dir / "ship.pe~"), RunTimeError);
    EXPECT_EQ(readText(dir / "ship.pe~"), "model bytes");

    try {
        copyFileAtomically(dir / "gone.peo", dir / "copy.peo");
        ADD_FAILURE() << "no error";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), 53);
        EXPECT_NE(e.description().find("gone.peo"), std::string::npos);
    }
    EXPECT_FALSE(fs::exists(dir / "copy.peo"));
}

TEST(AtomicFile, ReadsWholeFilesAndReportsMissingOnes) {
    TempDir dir;
    std::vector<uint8_t> big(200000);
    for (size_t i = 0; i < big.size(); ++i) big[i] = uint8_t(i * 7);
    tarv::test::writeBytes(dir / "big.bin", big);
    EXPECT_EQ(readWholeFile(dir / "big.bin"), big);
    tarv::test::writeBytes(dir / "empty.bin", {});
    EXPECT_TRUE(readWholeFile(dir / "empty.bin").empty());
    // A file whose size the system does not know beforehand is read to its end all the same.
    const std::vector<uint8_t> status = readWholeFile("/proc/self/status");
    ASSERT_GT(status.size(), 5u);
    EXPECT_EQ(std::string(status.begin(), status.begin() + 5), "Name:");

    struct Case {
        fs::path path;
        int number;
    };
    for (const Case& c : {Case{dir / "missing.bin", 53}, Case{dir / "big.bin" / "x", 53}, Case{dir.path(), 75}}) {
        SCOPED_TRACE(c.path.string());
        try {
            readWholeFile(c.path);
            ADD_FAILURE() << "no error";
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), c.number);
            EXPECT_NE(e.description().find(c.path.string()), std::string::npos);
        }
    }
}

namespace {

std::vector<uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

}  // namespace

TEST(AtomicFileSet, AFailureAtAnyFileLeavesEveryTargetAndNoTemporary) {
    for (int failing = 0; failing < 3; ++failing) {
        SCOPED_TRACE(failing);
        TempDir dir;
        writeText(dir / "ship.peo", "old peo");
        writeText(dir / "ship.mex", "old mex");  // ship.mad does not exist yet
        const std::vector<FileToWrite> files = {{dir / "ship.peo", bytesOf("new peo")},
                                                {dir / "ship.mex", bytesOf("new mex")},
                                                {dir / "ship.mad", bytesOf("new mad")}};
        failNextAtomicWriteForTesting(failing);
        size_t failedIndex = 99, renamed = 99;
        try {
            writeFilesAtomically(files, &failedIndex, &renamed);
            ADD_FAILURE() << "the set was written";
        } catch (const RunTimeError& e) {
            EXPECT_NE(e.description().find(files[size_t(failing)].target.string()), std::string::npos)
                << e.description();
        }
        EXPECT_EQ(failedIndex, size_t(failing));
        EXPECT_EQ(renamed, 0u);
        EXPECT_EQ(readText(dir / "ship.peo"), "old peo");
        EXPECT_EQ(readText(dir / "ship.mex"), "old mex");
        EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"ship.mex", "ship.peo"}));
    }
    TempDir dir;
    writeText(dir / "ship.peo", "old peo");
    writeFilesAtomically(
        std::vector<FileToWrite>{{dir / "ship.peo", bytesOf("new peo")}, {dir / "ship.mad", bytesOf("new mad")}});
    EXPECT_EQ(readText(dir / "ship.peo"), "new peo");
    EXPECT_EQ(readText(dir / "ship.mad"), "new mad");
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"ship.mad", "ship.peo"}));
}

TEST(AtomicFileSet, AFailedRenameLeavesTheFilesBeforeItRenamedAndTheRestAsTheyWere) {
    for (int failing = 0; failing < 3; ++failing) {
        SCOPED_TRACE(failing);
        TempDir dir;
        writeText(dir / "ship.peo", "old peo");
        writeText(dir / "ship.mex", "old mex");
        writeText(dir / "ship.mad", "old mad");
        const std::vector<FileToWrite> files = {{dir / "ship.peo", bytesOf("new peo")},
                                                {dir / "ship.mex", bytesOf("new mex")},
                                                {dir / "ship.mad", bytesOf("new mad")}};
        failNextAtomicRenameForTesting(failing);
        size_t failedIndex = 99, renamed = 99;
        EXPECT_THROW(writeFilesAtomically(files, &failedIndex, &renamed), RunTimeError);
        EXPECT_EQ(failedIndex, size_t(failing));
        EXPECT_EQ(renamed, size_t(failing));
        const char* kinds[] = {"peo", "mex", "mad"};
        for (int k = 0; k < 3; ++k) {
            const std::string kind = kinds[k];
            EXPECT_EQ(readText(dir / ("ship." + kind)), (k < failing ? "new " : "old ") + kind);
        }
        EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"ship.mad", "ship.mex", "ship.peo"}));
    }
    TempDir dir;
    size_t renamed = 99;
    writeFilesAtomically(
        std::vector<FileToWrite>{{dir / "ship.peo", bytesOf("new peo")}, {dir / "ship.mad", bytesOf("new mad")}},
        nullptr, &renamed);
    EXPECT_EQ(renamed, 2u);
}

TEST(AtomicFile, AWriteRemovesOnlyItsTargetsStaleTemporaries) {
    TempDir dir;
    writeText(dir / "ship.peo", "old");
    const auto yesterday = fs::file_time_type::clock::now() - std::chrono::hours(24);
    struct Planted {
        std::string name;
        bool old;
        bool removed;
    };
    const Planted planted[] = {
        {".ship.peo.tarv-4242-7-123456.tmp", true, true},   // left by an interrupted save
        {".ship.peo.tarv-4242-8-99.tmp", false, false},     // newer than this process: another save's
        {".ship.mex.tarv-4242-7-123456.tmp", true, false},  // another target's
        {".Ship.peo.tarv-4242-7-123456.tmp", true, false},  // another name in another letter case
        {".ship.peo.tarv-4242-7.tmp", true, false},         // not the pattern
        {".ship.peo.tarv-x-7-1.tmp", true, false},          // not the pattern
        {".ship.peo.tarv-4242-7-123456.tmp.keep", true, false},
        {"ship.peo.tarv-4242-7-123456.tmp", true, false},
    };
    for (const Planted& p : planted) {
        writeText(dir / p.name, "partial");
        fs::last_write_time(dir / p.name, p.old ? yesterday : fs::file_time_type::clock::now());
    }
    writeFileAtomically(dir / "ship.peo", std::string_view("new"));
    EXPECT_EQ(readText(dir / "ship.peo"), "new");
    for (const Planted& p : planted) EXPECT_EQ(fs::exists(dir / p.name), !p.removed) << p.name;
    EXPECT_TRUE(isTemporaryNameOf("ship.peo", ".ship.peo.tarv-4242-7-123456.tmp"));
    EXPECT_FALSE(isTemporaryNameOf("ship.peo", ".ship.peo.tarv--7-123456.tmp"));
}
