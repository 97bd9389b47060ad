#include "base/AtomicFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include <climits>
#include <ctime>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/RunTimeError.h"

namespace tarv {

namespace fs = std::filesystem;

namespace {

// The number of writes that still succeed before one fails; -1 when none is to fail.
std::atomic<int> writesBeforeFailure{-1};

// The number of renames that still succeed before one fails; -1 when none is to fail.
std::atomic<int> renamesBeforeFailure{-1};

// Counts one step down; true when this step is the one to fail.
bool thisStepFails(std::atomic<int>& before) {
    int left = before.load();
    while (left >= 0 && !before.compare_exchange_weak(left, left - 1)) {}
    return left == 0;
}

bool thisWriteFails() { return thisStepFails(writesBeforeFailure); }

std::string reasonOf(int error) { return std::strerror(error); }

RunTimeError cannotCreate(const fs::path& target, int error) {
    return RunTimeError(
        75, "Path/File access error: cannot create the file " + target.string() + " (" + reasonOf(error) + ")");
}

RunTimeError writingFailed(const fs::path& target, int error) {
    return RunTimeError(
        57, "Device I/O error: writing failed for the file " + target.string() + " (" + reasonOf(error) + ")");
}

// The file a write to target really changes: a symbolic link is followed to the file it points to, so the
// link itself stays in place.
fs::path followLinks(const fs::path& target) {
    fs::path p = target;
    for (int hops = 0;; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(p, ec))) return p;
        if (hops >= 40) throw cannotCreate(target, ELOOP);
        fs::path next = fs::read_symlink(p, ec);
        if (ec) throw cannotCreate(target, ec.value());
        p = next.is_absolute() ? next : p.parent_path() / next;
    }
}

// The temporary file name's parts around its unique middle.
std::string tempPrefix(const fs::path& real) { return "." + real.filename().string() + ".tarv-"; }
constexpr std::string_view kTempSuffix = ".tmp";
constexpr std::string_view kRecordSuffix = ".commit";

// The process number a temporary or record name starts its unique middle with; 0 when it has none.
pid_t writerOf(const std::string& middle) {
    long long pid = 0;
    size_t i = 0;
    for (; i < middle.size() && middle[i] >= '0' && middle[i] <= '9' && pid <= INT_MAX; ++i)
        pid = pid * 10 + (middle[i] - '0');
    return i > 0 && pid > 0 && pid <= INT_MAX ? pid_t(pid) : 0;
}

std::string readSmallFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The moment process pid started, in seconds since the epoch; -1 when it cannot be told.
double processStartTime(pid_t pid) {
    const std::string stat = readSmallFile("/proc/" + std::to_string(pid) + "/stat");
    const size_t name = stat.rfind(')');
    if (name == std::string::npos) return -1;
    std::istringstream fields(stat.substr(name + 1));
    std::string field;
    // The fields after the name start with the third one; the start time is the 22nd.
    for (int n = 3; n <= 22 && fields >> field; ++n)
        if (n == 22) {
            const std::string uptime = readSmallFile("/proc/stat");
            const size_t at = uptime.find("\nbtime ");
            if (at == std::string::npos) return -1;
            const double boot = std::strtod(uptime.c_str() + at + 7, nullptr);
            return boot + std::strtod(field.c_str(), nullptr) / double(::sysconf(_SC_CLK_TCK));
        }
    return -1;
}

bool sameProgramAsThis(pid_t pid) {
    std::error_code a, b;
    const fs::path theirs = fs::read_symlink("/proc/" + std::to_string(pid) + "/exe", a);
    const fs::path ours = fs::read_symlink("/proc/self/exe", b);
    return !a && !b && theirs == ours;
}

// Whether the process that wrote file (its number pid, from the file's name) is gone, so nobody will finish
// the file. Process numbers are reused: a running process of another program counts as gone only when the
// file is older than that process.
bool writerIsGone(pid_t pid, const fs::path& file) {
    if (pid <= 0 || pid == ::getpid()) return false;
    const std::string proc = "/proc/" + std::to_string(pid);
    struct stat info {};
    if (::stat(proc.c_str(), &info) != 0) return errno == ENOENT;
    if (sameProgramAsThis(pid)) return false;
    const double started = processStartTime(pid);
    struct stat written {};
    if (started < 0 || ::lstat(file.c_str(), &written) != 0) return false;
    // The start time counts in clock ticks from a boot time in whole seconds: a second of margin.
    return double(written.st_mtim.tv_sec) + double(written.st_mtim.tv_nsec) / 1e9 < started - 1.0;
}

// The unique middle of a name of the pattern prefix & middle & suffix, or empty.
std::string middleOf(const std::string& name, const std::string& prefix, std::string_view suffix) {
    if (name.size() <= prefix.size() + suffix.size()) return {};
    if (name.compare(0, prefix.size(), prefix) != 0) return {};
    if (name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) return {};
    return name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
}

// Whether name is a commit record of a set (whatever its first file), and its writer's process number.
pid_t recordWriter(const std::string& name) {
    if (name.size() < 2 || name[0] != '.') return 0;
    const size_t tag = name.rfind(".tarv-");
    if (tag == std::string::npos || tag == 0) return 0;
    const std::string middle = middleOf(name, name.substr(0, tag) + ".tarv-", kRecordSuffix);
    if (middle.empty() || middle.find_first_not_of("0123456789") != std::string::npos) return 0;
    return writerOf(middle);
}

bool isRegularFile(const fs::directory_entry& e) {
    std::error_code ec;
    return e.is_regular_file(ec) && !e.is_symlink(ec);
}

void finishRecord(const fs::path& record, std::vector<std::string>* notes);

// Finishes the commit records in folder that a gone process left, then removes the temporaries of
// targetName (or of every target, when targetName is empty) whose writer is gone.
void tidyFolder(const fs::path& folder, const std::string& targetName, std::vector<std::string>* notes) {
    std::error_code ec;
    std::vector<fs::path> records, temporaries;
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!isRegularFile(*it)) continue;
        if (const pid_t pid = recordWriter(name); pid && writerIsGone(pid, it->path())) {
            records.push_back(it->path());
            continue;
        }
        const size_t tag = name.rfind(".tarv-");
        if (tag == std::string::npos || tag == 0 || name[0] != '.') continue;
        const std::string target = name.substr(1, tag - 1);
        if (!targetName.empty() && target != targetName) continue;
        if (!isTemporaryNameOf(target, name)) continue;
        if (writerIsGone(writerOf(name.substr(tag + 6)), it->path())) temporaries.push_back(it->path());
    }
    for (const fs::path& r : records) finishRecord(r, notes);
    for (const fs::path& t : temporaries) fs::remove(t, ec);
}

void removeStaleTemporaries(const fs::path& real) { tidyFolder(real.parent_path(), real.filename().string(), nullptr); }

// A hash of a file's bytes, for a commit record to tell a whole temporary (or a target already replaced by
// it) from anything else.
uint64_t contentHash(std::span<const uint8_t> bytes) {
    uint64_t h = 0xcbf29ce484222325ull;
    size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        h = (h ^ word) * 0x100000001b3ull;
        h ^= h >> 29;
    }
    for (; i < bytes.size(); ++i) h = (h ^ bytes[i]) * 0x100000001b3ull;
    return h;
}

std::string hexOf(uint64_t value) {
    static const char digits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i, value >>= 4) text[size_t(i)] = digits[value & 15];
    return text;
}

// A file's size and hash as a commit record lists them; false when it cannot be read.
bool sizeAndHashOf(const fs::path& path, uint64_t& size, uint64_t& hash) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    try {
        const std::vector<uint8_t> bytes = readWholeFile(path);
        size = bytes.size();
        hash = contentHash(bytes);
        return true;
    } catch (const RunTimeError&) {
        return false;
    }
}

constexpr std::string_view kRecordFirstLine = "tarv file set";
constexpr std::string_view kRecordLastLine = "end";

// A path as a commit record in folder lists it: its name when it lies in folder, else the whole path.
std::string recordPathText(const fs::path& path, const fs::path& folder) {
    return path.parent_path() == folder ? path.filename().string() : path.string();
}

fs::path pathFromRecord(const std::string& text, const fs::path& folder) {
    const fs::path p(text);
    return p.is_absolute() ? p : folder / p;
}

struct RecordEntry {
    fs::path temporary;
    fs::path target;
    uint64_t size = 0;
    uint64_t hash = 0;
};

// The entries of a commit record's text; false when the text is not a whole record.
bool parseRecord(const std::string& text, const fs::path& folder, std::vector<RecordEntry>& entries) {
    std::istringstream lines(text);
    std::string line;
    if (!std::getline(lines, line) || line != kRecordFirstLine) return false;
    while (std::getline(lines, line)) {
        if (line == kRecordLastLine) return !std::getline(lines, line);
        std::vector<std::string> fields;
        for (size_t from = 0;;) {
            const size_t tab = line.find('\t', from);
            fields.push_back(line.substr(from, tab == std::string::npos ? std::string::npos : tab - from));
            if (tab == std::string::npos) break;
            from = tab + 1;
        }
        if (fields.size() != 4 || fields[0].empty() || fields[1].empty()) return false;
        RecordEntry e{pathFromRecord(fields[0], folder), pathFromRecord(fields[1], folder), 0, 0};
        // A record only ever names temporaries beside their targets: any other line is not ours, and
        // nothing it names is renamed or removed.
        if (e.temporary.parent_path() != e.target.parent_path() ||
            !isTemporaryNameOf(e.target.filename().string(), e.temporary.filename().string()))
            return false;
        char* end = nullptr;
        e.size = std::strtoull(fields[2].c_str(), &end, 10);
        if (*end) return false;
        e.hash = std::strtoull(fields[3].c_str(), &end, 16);
        if (*end || fields[3].size() != 16) return false;
        entries.push_back(e);
    }
    return false;
}

void syncFolder(const fs::path& folder) {
    int dirFd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
}

// Finishes what a save interrupted while it replaced a set: when every file the record names is whole (its
// temporary, or its target already replaced), the remaining renames are done; otherwise the temporaries go
// and the old files stay. The record goes in both cases. A folder that cannot be written is left alone.
void finishRecord(const fs::path& record, std::vector<std::string>* notes) {
    const fs::path folder = record.parent_path();
    auto note = [&](const std::string& text) {
        if (notes) notes->push_back(text);
    };
    if (::access(folder.empty() ? "." : folder.c_str(), W_OK) != 0) {
        note("An interrupted save left " + record.string() + "; the folder cannot be written, so it stays.");
        return;
    }
    std::vector<RecordEntry> entries;
    const bool whole = parseRecord(readSmallFile(record), folder, entries);
    bool complete = whole && !entries.empty();
    std::vector<bool> pending(entries.size(), false);
    for (size_t i = 0; complete && i < entries.size(); ++i) {
        uint64_t size = 0, hash = 0;
        if (sizeAndHashOf(entries[i].temporary, size, hash) && size == entries[i].size && hash == entries[i].hash)
            pending[i] = true;
        else if (!(sizeAndHashOf(entries[i].target, size, hash) && size == entries[i].size && hash == entries[i].hash))
            complete = false;
    }
    if (complete) {
        for (size_t i = 0; i < entries.size(); ++i)
            if (pending[i] && ::rename(entries[i].temporary.c_str(), entries[i].target.c_str()) != 0) {
                note("An interrupted save of " + entries[0].target.string() +
                     " could not be finished: " + entries[i].target.string() + " (" + reasonOf(errno) + ").");
                return;  // the record stays for the next try
            }
        syncFolder(folder);
        note("An interrupted save of " + entries[0].target.string() + " was finished.");
    } else {
        for (const RecordEntry& e : entries) ::unlink(e.temporary.c_str());
        note("An interrupted save of " + (entries.empty() ? record.string() : entries[0].target.string()) +
             " was undone; the files before it stay.");
    }
    ::unlink(record.c_str());
    syncFolder(folder);
}

// The commit record of a set whose first file is real, written by this process.
fs::path recordPathFor(const fs::path& real) {
    return real.parent_path() / commitRecordNameFor(real.filename().string(), ::getpid());
}

// A new, uniquely named file beside real, opened for writing; its name goes to tempPath.
int createTempFile(const fs::path& real, const fs::path& target, fs::path& tempPath) {
    fs::path folder = real.parent_path();
    static std::atomic<unsigned> counter{0};
    std::random_device rd;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string unique = std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" + std::to_string(rd());
        tempPath = folder / (tempPrefix(real) + unique + std::string(kTempSuffix));
        int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) return fd;
        if (errno != EEXIST) throw cannotCreate(target, errno);
    }
    throw cannotCreate(target, EEXIST);
}

bool writeAll(int fd, const uint8_t* data, size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= size_t(n);
    }
    return true;
}

// A target's bytes written and synced in its temporary file, waiting to be renamed over the target.
struct PreparedFile {
    fs::path target;
    fs::path real;
    fs::path tempPath;
    uint64_t size = 0;
    uint64_t hash = 0;
};

PreparedFile prepare(const fs::path& target, std::span<const uint8_t> bytes) {
    PreparedFile p{target, followLinks(target), {}};
    const fs::path& real = p.real;
    if (real.filename().empty()) throw cannotCreate(target, EISDIR);

    // An existing target must be a file we may write: a read-only file is not silently replaced.
    struct stat existing {};
    bool exists = ::stat(real.c_str(), &existing) == 0;
    if (exists) {
        if (S_ISDIR(existing.st_mode)) throw cannotCreate(target, EISDIR);
        if (::access(real.c_str(), W_OK) != 0) throw cannotCreate(target, errno);
    }

    removeStaleTemporaries(real);
    int fd = createTempFile(real, target, p.tempPath);
    int error = 0;
    if (!writeAll(fd, bytes.data(), bytes.size())) error = errno;
    if (!error && ::fsync(fd) != 0) error = errno;
    if (!error && exists && ::fchmod(fd, existing.st_mode & 07777) != 0) error = errno;
    if (!error && thisWriteFails()) error = ENOSPC;
    if (::close(fd) != 0 && !error) error = errno;
    if (error) {
        ::unlink(p.tempPath.c_str());
        throw writingFailed(target, error);
    }
    return p;
}

// Renames the temporary over its target; on failure the temporary goes and the error names the target.
// The new name is made durable unless syncLater (a set syncs its folders once, after its last rename); a
// folder that cannot be synced does not undo the save.
void commit(const PreparedFile& p, bool syncLater = false) {
    const bool failing = thisStepFails(renamesBeforeFailure);
    if (failing || ::rename(p.tempPath.c_str(), p.real.c_str()) != 0) {
        const int error = failing ? EIO : errno;
        ::unlink(p.tempPath.c_str());
        throw writingFailed(p.target, error);
    }
    if (!syncLater) syncFolder(p.real.parent_path());
}

std::function<void()> beforeSetRenames;

// Writes and syncs the commit record of a prepared set, and syncs its folder: from here on, whoever finds
// the record can finish the set. Returns the record's path.
fs::path writeRecord(const std::vector<PreparedFile>& prepared) {
    const fs::path record = recordPathFor(prepared[0].real);
    const fs::path folder = record.parent_path();
    std::string text = std::string(kRecordFirstLine) + "\n";
    for (const PreparedFile& p : prepared)
        text += recordPathText(p.tempPath, folder) + "\t" + recordPathText(p.real, folder) + "\t" +
                std::to_string(p.size) + "\t" + hexOf(p.hash) + "\n";
    text += std::string(kRecordLastLine) + "\n";
    const int fd = ::open(record.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) throw cannotCreate(record, errno);
    int error = 0;
    if (!writeAll(fd, reinterpret_cast<const uint8_t*>(text.data()), text.size())) error = errno;
    if (!error && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && !error) error = errno;
    if (error) {
        ::unlink(record.c_str());
        throw writingFailed(record, error);
    }
    syncFolder(folder);
    return record;
}

}  // namespace

bool isTemporaryNameOf(const std::string& targetName, const std::string& name) {
    const std::string prefix = "." + targetName + ".tarv-";
    if (name.size() <= prefix.size() + kTempSuffix.size()) return false;
    if (name.compare(0, prefix.size(), prefix) != 0) return false;
    if (name.compare(name.size() - kTempSuffix.size(), kTempSuffix.size(), kTempSuffix) != 0) return false;
    // The unique middle: the process number, a counter and a random number, joined by "-".
    const std::string middle = name.substr(prefix.size(), name.size() - prefix.size() - kTempSuffix.size());
    int parts = 1;
    for (size_t i = 0; i < middle.size(); ++i) {
        const char c = middle[i];
        if (c == '-') {
            if (i == 0 || i + 1 == middle.size() || middle[i - 1] == '-') return false;
            ++parts;
        } else if (c < '0' || c > '9') {
            return false;
        }
    }
    return parts == 3;
}

void writeFileAtomically(const fs::path& target, std::span<const uint8_t> bytes) { commit(prepare(target, bytes)); }

void writeFilesAtomically(std::span<const FileToWrite> files, size_t* failedIndex, size_t* renamedCount) {
    if (renamedCount) *renamedCount = 0;
    if (files.empty()) return;
    std::vector<PreparedFile> prepared;
    prepared.reserve(files.size());
    size_t at = 0;
    fs::path record;
    try {
        for (; at < files.size(); ++at) {
            prepared.push_back(prepare(files[at].target, files[at].bytes));
            prepared.back().size = files[at].bytes.size();
            prepared.back().hash = contentHash(files[at].bytes);
        }
        at = 0;  // a record that cannot be written fails the set at its first file
        record = writeRecord(prepared);
    } catch (...) {
        // No target was touched: every temporary written so far goes (the failed one removed its own).
        for (const PreparedFile& p : prepared) ::unlink(p.tempPath.c_str());
        if (failedIndex) *failedIndex = at;
        throw;
    }
    if (beforeSetRenames) beforeSetRenames();
    for (at = 0; at < prepared.size(); ++at) {
        try {
            commit(prepared[at], true);
            if (renamedCount) *renamedCount = at + 1;
        } catch (...) {
            for (size_t k = at + 1; k < prepared.size(); ++k) ::unlink(prepared[k].tempPath.c_str());
            for (size_t k = 0; k < at; ++k) syncFolder(prepared[k].real.parent_path());
            ::unlink(record.c_str());
            if (failedIndex) *failedIndex = at;
            throw;
        }
    }
    // The new names are made durable before the record goes; a folder is synced once.
    std::vector<fs::path> folders;
    for (const PreparedFile& p : prepared)
        if (std::find(folders.begin(), folders.end(), p.real.parent_path()) == folders.end())
            folders.push_back(p.real.parent_path());
    for (const fs::path& f : folders) syncFolder(f);
    ::unlink(record.c_str());
}

std::vector<std::string> finishInterruptedSaves(const fs::path& folder) {
    std::vector<std::string> notes;
    tidyFolder(folder, std::string(), &notes);
    return notes;
}

std::string commitRecordNameFor(const std::string& firstTargetName, long processId) {
    return "." + firstTargetName + ".tarv-" + std::to_string(processId) + std::string(kRecordSuffix);
}

void setBeforeSetRenamesHookForTesting(std::function<void()> hook) { beforeSetRenames = std::move(hook); }

void writeFileAtomically(const fs::path& target, std::string_view text) {
    writeFileAtomically(target, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

void copyFileAtomically(const fs::path& from, const fs::path& to) {
    std::vector<uint8_t> bytes = readWholeFile(from);
    writeFileAtomically(to, bytes);
}

std::vector<uint8_t> readWholeFile(const fs::path& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) throw RunTimeError::fileNotFound(path.string());
        throw RunTimeError(75, "Path/File access error: " + path.string() + " (" + reasonOf(errno) + ")");
    }
    struct stat info {};
    const bool known = ::fstat(fd, &info) == 0;
    if (known && S_ISDIR(info.st_mode)) {
        ::close(fd);
        throw RunTimeError(75, "Path/File access error: " + path.string() + " (" + reasonOf(EISDIR) + ")");
    }
    // One buffer of the size the file has now, read straight into; a file that grows meanwhile goes on
    // through a small buffer, one that shrinks ends where its bytes end.
    auto readSome = [&](uint8_t* into, size_t size) {
        for (;;) {
            const ssize_t n = ::read(fd, into, size);
            if (n >= 0) return size_t(n);
            if (errno == EINTR) continue;
            const int error = errno;
            ::close(fd);
            throw RunTimeError(57, "Device I/O error reading " + path.string() + " (" + reasonOf(error) + ")");
        }
    };
    std::vector<uint8_t> bytes(known && S_ISREG(info.st_mode) && info.st_size > 0 ? size_t(info.st_size) : 0);
    size_t filled = 0;
    for (;;) {
        if (filled < bytes.size()) {
            const size_t n = readSome(bytes.data() + filled, bytes.size() - filled);
            if (n == 0) break;
            filled += n;
            continue;
        }
        uint8_t more[65536];
        const size_t n = readSome(more, sizeof more);
        if (n == 0) break;
        bytes.insert(bytes.end(), more, more + n);
        filled += n;
    }
    bytes.resize(filled);
    ::close(fd);
    return bytes;
}

void failNextAtomicWriteForTesting(int writesLetThrough) {
    writesBeforeFailure = writesLetThrough < 0 ? 0 : writesLetThrough;
}

void failNextAtomicRenameForTesting(int renamesLetThrough) {
    renamesBeforeFailure = renamesLetThrough < 0 ? 0 : renamesLetThrough;
}

}  // namespace tarv
