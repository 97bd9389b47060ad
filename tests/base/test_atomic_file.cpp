#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <regex>

#include <sys/wait.h>

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

// A process number no process has now: a child that has ended and been waited for.
pid_t goneProcess() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

// A running process of this program: a child that waits until the test kills it.
struct LiveChild {
    pid_t pid = ::fork();
    LiveChild() {
        if (pid == 0)
            for (;;) ::pause();
    }
    ~LiveChild() {
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
    }
};

TEST(AtomicFile, AWriteRemovesOnlyItsTargetsTemporariesWhoseWriterIsGone) {
    TempDir dir;
    writeText(dir / "ship.peo", "old");
    const auto longAgo = fs::file_time_type::clock::now() - std::chrono::hours(24 * 365 * 40);
    const auto now = fs::file_time_type::clock::now();
    LiveChild sameProgram;
    const std::string gone = std::to_string(goneProcess());
    const std::string self = std::to_string(::getpid());
    const std::string live = std::to_string(sameProgram.pid);
    struct Planted {
        std::string name;
        fs::file_time_type written;
        bool removed;
    };
    const Planted planted[] = {
        {".ship.peo.tarv-" + gone + "-7-123456.tmp", now, true},  // its writer was killed a moment ago
        {".ship.peo.tarv-" + gone + "-8-9.tmp", longAgo, true},
        {".ship.peo.tarv-" + self + "-7-1.tmp", longAgo, false},   // this process's own
        {".ship.peo.tarv-" + live + "-7-1.tmp", longAgo, false},   // another running editor's
        {".ship.peo.tarv-1-7-1.tmp", longAgo, true},               // a reused number: older than that process
        {".ship.peo.tarv-1-7-2.tmp", now, false},                  // newer than that process: not known gone
        {".ship.mex.tarv-" + gone + "-7-123456.tmp", now, false},  // another target's
        {".Ship.peo.tarv-" + gone + "-7-123456.tmp", now, false},  // another name in another letter case
        {".ship.peo.tarv-" + gone + "-7.tmp", now, false},         // not the pattern
        {".ship.peo.tarv-x-7-1.tmp", now, false},                  // not the pattern
        {".ship.peo.tarv-" + gone + "-7-123456.tmp.keep", now, false},
        {"ship.peo.tarv-" + gone + "-7-123456.tmp", now, false},
    };
    for (const Planted& p : planted) {
        writeText(dir / p.name, "partial");
        fs::last_write_time(dir / p.name, p.written);
    }
    writeFileAtomically(dir / "ship.peo", std::string_view("new"));
    EXPECT_EQ(readText(dir / "ship.peo"), "new");
    for (const Planted& p : planted) EXPECT_EQ(fs::exists(dir / p.name), !p.removed) << p.name;
    EXPECT_TRUE(isTemporaryNameOf("ship.peo", ".ship.peo.tarv-4242-7-123456.tmp"));
    EXPECT_FALSE(isTemporaryNameOf("ship.peo", ".ship.peo.tarv--7-123456.tmp"));
}

TEST(AtomicFileSet, TheCommitRecordListsEachTemporaryAndItsTargetBeforeTheFirstRename) {
    TempDir dir;
    writeText(dir / "ship.peo", "old peo");
    std::vector<std::string> namesDuring;
    std::string record;
    const std::string recordName = ".ship.peo.tarv-" + std::to_string(::getpid()) + ".commit";
    EXPECT_EQ(commitRecordNameFor("ship.peo", ::getpid()), recordName);
    setBeforeSetRenamesHookForTesting([&] {
        namesDuring = namesIn(dir.path());
        record = readText(dir / recordName);
    });
    writeFilesAtomically(
        std::vector<FileToWrite>{{dir / "ship.peo", bytesOf("new peo")}, {dir / "ship.mad", bytesOf("a new mad")}});
    setBeforeSetRenamesHookForTesting({});
    ASSERT_EQ(namesDuring.size(), 4u);  // the record, the two temporaries and the old .peo
    const std::string peoTemp = namesDuring[1].rfind(".ship.peo.tarv-", 0) == 0 && namesDuring[1] != recordName
                                    ? namesDuring[1]
                                    : namesDuring[2];
    const std::string madTemp = namesDuring[0];
    ASSERT_TRUE(isTemporaryNameOf("ship.mad", madTemp)) << madTemp;
    ASSERT_TRUE(isTemporaryNameOf("ship.peo", peoTemp)) << peoTemp;
    const std::regex lines("tarv file set\n" + peoTemp + "\tship\\.peo\t7\t[0-9a-f]{16}\n" + madTemp +
                           "\tship\\.mad\t9\t[0-9a-f]{16}\nend\n");
    EXPECT_TRUE(std::regex_match(record, lines)) << record;
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"ship.mad", "ship.peo"}));
}

TEST(AtomicFileSet, ARecordNamingAnythingButTemporariesBesideTheirTargetsTouchesNothing) {
    TempDir dir;
    fs::create_directories(dir / "set");
    writeText(dir / "outside.peo", "kept");
    writeText(dir / "set" / "ship.peo", "old");
    writeText(dir / "set" / "notes.txt", "kept");
    const std::string hash = "0123456789abcdef";
    const std::string lines[] = {
        "../outside.peo\tship.peo\t4\t" + hash,  // another folder
        (dir / "outside.peo").string() + "\t" + (dir / "set" / "ship.peo").string() + "\t4\t" + hash,
        "notes.txt\tship.peo\t4\t" + hash,                       // not a temporary
        ".ship.peo.tarv-1-2-3.tmp\t../outside.peo\t4\t" + hash,  // not beside its target
    };
    for (const std::string& line : lines) {
        SCOPED_TRACE(line);
        const fs::path record = dir / "set" / commitRecordNameFor("ship.peo", goneProcess());
        writeText(record, "tarv file set\n" + line + "\nend\n");
        EXPECT_EQ(finishInterruptedSaves(dir / "set").size(), 1u);
        EXPECT_EQ(readText(dir / "outside.peo"), "kept");
        EXPECT_EQ(readText(dir / "set" / "notes.txt"), "kept");
        EXPECT_EQ(readText(dir / "set" / "ship.peo"), "old");
        EXPECT_FALSE(fs::exists(record));
    }
}

TEST(AtomicFileSet, AnInterruptedSetIsFinishedWhenWholeAndUndoneOtherwise) {
    // A set stopped just before its first rename, as a kill leaves it.
    TempDir snapshot;
    {
        TempDir dir;
        writeText(dir / "ship.peo", "old peo");
        writeText(dir / "ship.mex", "old mex");
        writeText(dir / "ship.mad", "old mad");
        setBeforeSetRenamesHookForTesting([&] {
            for (const auto& e : fs::directory_iterator(dir.path())) fs::copy(e.path(), snapshot / e.path().filename());
        });
        writeFilesAtomically(std::vector<FileToWrite>{{dir / "ship.peo", bytesOf("new peo")},
                                                      {dir / "ship.mex", bytesOf("new mex")},
                                                      {dir / "ship.mad", bytesOf("new mad")}});
        setBeforeSetRenamesHookForTesting({});
    }
    const std::string ownRecord = commitRecordNameFor("ship.peo", ::getpid());
    std::string temps[3];
    for (const auto& e : fs::directory_iterator(snapshot.path())) {
        const std::string name = e.path().filename().string();
        const char* kinds[] = {"ship.peo", "ship.mex", "ship.mad"};
        for (int k = 0; k < 3; ++k)
            if (isTemporaryNameOf(kinds[k], name)) temps[k] = name;
    }
    struct Case {
        const char* what;
        int renamedBefore;  // how many of the set were renamed before the kill
        int lost;           // a temporary that is gone (-1: none)
        int cut;            // a temporary shorter than the record says (-1: none)
        bool recordCut;     // the record lacks its last line
        bool newSet;
    };
    const Case cases[] = {
        {"every temporary whole", 0, -1, -1, false, true},
        {"killed after the first rename", 1, -1, -1, false, true},
        {"killed after the last rename", 3, -1, -1, false, true},
        {"one temporary missing", 0, 1, -1, false, false},
        {"no temporary at all", 0, -2, -1, false, false},
        {"one temporary cut", 0, -1, 2, false, false},
        {"the record cut", 0, -1, -1, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        for (const auto& e : fs::directory_iterator(snapshot.path())) fs::copy(e.path(), dir / e.path().filename());
        const fs::path record = dir / commitRecordNameFor("ship.peo", goneProcess());
        fs::rename(dir / ownRecord, record);
        const char* targets[] = {"ship.peo", "ship.mex", "ship.mad"};
        for (int k = 0; k < c.renamedBefore; ++k) fs::rename(dir / temps[k], dir / targets[k]);
        for (int k = 0; k < 3; ++k)
            if (c.lost == k || c.lost == -2) fs::remove(dir / temps[k]);
        if (c.cut >= 0) writeText(dir / temps[c.cut], "new");
        if (c.recordCut) {
            std::string text = readText(record);
            writeText(record, text.substr(0, text.size() - 4));
        }
        const std::vector<std::string> notes = finishInterruptedSaves(dir.path());
        ASSERT_EQ(notes.size(), 1u);
        EXPECT_EQ(notes[0], "An interrupted save of " + (dir / "ship.peo").string() +
                                (c.newSet ? " was finished." : " was undone; the files before it stay."));
        for (const char* kind : {"peo", "mex", "mad"})
            EXPECT_EQ(readText(dir / ("ship." + std::string(kind))), (c.newSet ? "new " : "old ") + std::string(kind));
        EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"ship.mad", "ship.mex", "ship.peo"}));
    }
    // The record of a running writer (here this process) is its own business.
    TempDir dir;
    for (const auto& e : fs::directory_iterator(snapshot.path())) fs::copy(e.path(), dir / e.path().filename());
    EXPECT_TRUE(finishInterruptedSaves(dir.path()).empty());
    EXPECT_EQ(namesIn(dir.path()).size(), 7u);
}
