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
// is written and synced is a commit record written beside the first target (which temporary becomes which
// target), synced with its folder; then the temporaries are renamed over their targets, one after the other,
// and the record goes. Whoever finds a record its writer left (finishInterruptedSaves, every later write into
// that folder) finishes the set or undoes it: a kill at any moment leaves the old set or the new one. A failure before the
// renames leaves every target as it was and removes every temporary. The RunTimeError is that of the file
// that failed; its index in files goes to failedIndex. renamedCount receives how many files, from the first,
// were renamed over their targets: all of them after success, and after a failure those already in place
// (0 when the failure came before the renames).
void writeFilesAtomically(std::span<const FileToWrite> files, size_t* failedIndex = nullptr,
                          size_t* renamedCount = nullptr);

// The temporary files of a target are named "." & target name & ".tarv-" & process number & "-" & counter
// & "-" & random number & ".tmp", beside the target. A write removes the ones an interrupted earlier save
// left: only of this pattern, only for its target, only when their writing process is gone (not this
// process; a running process of another program under a reused number counts as gone when the file is
// older than it).
bool isTemporaryNameOf(const std::string& targetName, const std::string& name);

// The commit record of a set: "." & first target's name & ".tarv-" & process number & ".commit". Its lines:
// "tarv file set", then one line per file: temporary TAB target TAB size TAB 16 hex digits of its hash
// (a name alone when the file lies in the record's folder), then "end".
std::string commitRecordNameFor(const std::string& firstTargetName, long processId);

// Finishes or undoes, in folder, every set whose writer is gone and left its commit record, and removes the
// temporaries of gone writers. A record in a folder that cannot be written stays. Returns one line per record
// found, for the log.
std::vector<std::string> finishInterruptedSaves(const std::filesystem::path& folder);

// Copies from to to by the same road (backups, safety copies). A missing source is error 53.
void copyFileAtomically(const std::filesystem::path& from, const std::filesystem::path& to);

// Reads a whole file; a missing file is error 53 "File not found".
std::vector<uint8_t> readWholeFile(const std::filesystem::path& path);

// For tests: the next atomic write fails after its temporary file was written (as a full disk would).
// With writesLetThrough, that many writes succeed first and the one after them fails. Each file of a set
// counts as one write.
void failNextAtomicWriteForTesting(int writesLetThrough = 0);
// For tests: hook runs after a set's commit record was written, before its first rename (empty: none).
void setBeforeSetRenamesHookForTesting(std::function<void()> hook);
// For tests: the next rename of a written temporary over its target fails (the temporary goes, the target
// stays). With renamesLetThrough, that many renames succeed first.
void failNextAtomicRenameForTesting(int renamesLetThrough = 0);

}  // namespace tarv
