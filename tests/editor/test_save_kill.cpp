// Save All killed at random moments: once the set is next loaded, its files are wholly the old set or
// wholly the new one, and no temporary or commit record is left.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "TempDir.h"

extern char** environ;

namespace tarv::test {
namespace fs = std::filesystem;

namespace {

// Starts the saver with the arguments; its standard output goes to outFd when given.
pid_t startSaver(const std::vector<std::string>& args, int outFd = -1) {
    std::vector<char*> argv;
    std::string program = TARV_SAVE_CHILD;
    argv.push_back(program.data());
    std::vector<std::string> copies = args;
    for (std::string& a : copies) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (outFd >= 0) posix_spawn_file_actions_adddup2(&actions, outFd, STDOUT_FILENO);
    pid_t pid = -1;
    const int error = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? pid : -1;
}

int waitFor(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int runSaver(const std::vector<std::string>& args) { return waitFor(startSaver(args)); }

const char* const kSet[] = {"Tarvlet.peo", "tarvlet.mex", "TARVLET.MAD"};

std::vector<std::vector<uint8_t>> setIn(const fs::path& folder) {
    std::vector<std::vector<uint8_t>> files;
    for (const char* name : kSet) files.push_back(readBytes(folder / name));
    return files;
}

int leftOvers(const fs::path& folder) {
    int n = 0;
    for (const auto& e : fs::directory_iterator(folder))
        n += e.path().filename().string().find(".tarv-") != std::string::npos;
    return n;
}

}  // namespace

TEST(SaveAllKilled, TheNextLoadFindsTheOldSetOrTheNewOneAndNoTemporary) {
    TempDir dir;
    const fs::path ship = dir / "ship";
    ASSERT_EQ(runSaver({ship.string(), "prepare"}), 0);
    ASSERT_EQ(runSaver({ship.string(), "once", "B"}), 0);
    const auto setB = setIn(ship);
    ASSERT_EQ(runSaver({ship.string(), "once", "A"}), 0);
    const auto setA = setIn(ship);
    for (size_t k = 0; k < setA.size(); ++k) ASSERT_NE(setA[k], setB[k]) << kSet[k];

    std::mt19937 random(12345);
    int mixed = 0, orphans = 0, killedWithLeftOvers = 0;
    for (int round = 0; round < 30; ++round) {
        int out[2];
        ASSERT_EQ(::pipe(out), 0);
        const pid_t saver = startSaver({ship.string(), "loop"}, out[1]);
        ::close(out[1]);
        ASSERT_GT(saver, 0);
        char loaded[8] = {};
        ASSERT_EQ(::read(out[0], loaded, 7), 7);  // "loaded\n": the saves begin
        ::close(out[0]);
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 30000));
        ::kill(saver, SIGKILL);
        waitFor(saver);
        killedWithLeftOvers += leftOvers(ship) > 0;

        ASSERT_EQ(runSaver({ship.string(), "load"}), 0);
        const auto now = setIn(ship);
        mixed += now != setA && now != setB;
        orphans += leftOvers(ship);
    }
    EXPECT_EQ(mixed, 0);
    EXPECT_EQ(orphans, 0);
    // The kills did land inside saves.
    EXPECT_GT(killedWithLeftOvers, 0);
}

}  // namespace tarv::test
