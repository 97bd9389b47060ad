#pragma once
// Every file the editor writes goes out whole or not at all: the bytes go to a temporary file in the
// target's folder, which replaces the target only once it is written and synced.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarv {

// Writes bytes to target atomically. The temporary file takes the existing target's permission bits; a
// symlinked target is written where the link points, and stays a link. On failure the temporary file is
// removed, the target is untouched, and a RunTimeError names the file and the reason ("cannot create the
// file" or "writing failed").
void writeFileAtomically(const std::filesystem::path& target, std::span<const uint8_t> bytes);
void writeFileAtomically(const std::filesystem::path& target, std::string_view text);

// One file of a set written together.
struct FileToWrite {
    std::filesystem::path target;
    std::vector<uint8_t> bytes;
};
// Writes a set of files as one: each goes to its own temporary file first, and only when every temporary
// is written and synced are they renamed over their targets, one after the other. A failure before the
// renames leaves every target as it was and removes every temporary. The RunTimeError is that of the file
// that failed; its index in files goes to failedIndex. renamedCount receives how many files, from the first,
// were renamed over their targets: all of them after success, and after a failure those already in place
// (0 when the failure came before the renames).
void writeFilesAtomically(std::span<const FileToWrite> files, size_t* failedIndex = nullptr,
                          size_t* renamedCount = nullptr);

// The temporary files of a target are named "." & target name & ".tarv-" & process number & "-" & counter
// & "-" & random number & ".tmp", beside the target. A write removes the ones an interrupted earlier save
// left (only of this pattern, only for its target, only older than the running process).
bool isTemporaryNameOf(const std::string& targetName, const std::string& name);

// Copies from to to by the same road (backups, safety copies). A missing source is error 53.
void copyFileAtomically(const std::filesystem::path& from, const std::filesystem::path& to);

// Reads a whole file; a missing file is error 53 "File not found".
std::vector<uint8_t> readWholeFile(const std::filesystem::path& path);

// For tests: the next atomic write fails after its temporary file was written (as a full disk would).
// With writesLetThrough, that many writes succeed first and the one after them fails. Each file of a set
// counts as one write.
void failNextAtomicWriteForTesting(int writesLetThrough = 0);
// For tests: the next rename of a written temporary over its target fails (the temporary goes, the target
// stays). With renamesLetThrough, that many renames succeed first.
void failNextAtomicRenameForTesting(int renamesLetThrough = 0);

}  // namespace tarv
