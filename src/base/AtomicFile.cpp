#include "base/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <random>
#include <string>

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

// The moment this process started, as the file clock counts, less a margin: temporaries older than it are
// left over from an earlier run. File times come from a coarser clock than now() and can fall a little
// behind it, so a temporary another process writes at the moment this one starts is never taken for stale.
const fs::file_time_type processStart = fs::file_time_type::clock::now() - std::chrono::seconds(2);

// The temporary file name's parts around its unique middle.
std::string tempPrefix(const fs::path& real) { return "." + real.filename().string() + ".tarv-"; }
constexpr std::string_view kTempSuffix = ".tmp";

// Removes the temporaries of real that an interrupted earlier save left beside it: only names of the exact
// pattern for this target, only files older than this process.
void removeStaleTemporaries(const fs::path& real) {
    std::error_code ec;
    fs::path folder = real.parent_path();
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        if (isTemporaryNameOf(real.filename().string(), it->path().filename().string())) {
            std::error_code statError;
            if (!it->is_regular_file(statError) || it->is_symlink(statError)) continue;
            const auto written = fs::last_write_time(it->path(), statError);
            if (!statError && written < processStart) fs::remove(it->path(), statError);
        }
    }
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

void syncFolderOf(const fs::path& real) {
    // Make the new name itself durable; a folder that cannot be synced does not undo the save.
    fs::path folder = real.parent_path();
    int dirFd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
}

// Renames the temporary over its target; on failure the temporary goes and the error names the target.
void commit(const PreparedFile& p) {
    const bool failing = thisStepFails(renamesBeforeFailure);
    if (failing || ::rename(p.tempPath.c_str(), p.real.c_str()) != 0) {
        const int error = failing ? EIO : errno;
        ::unlink(p.tempPath.c_str());
        throw writingFailed(p.target, error);
    }
    syncFolderOf(p.real);
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
    std::vector<PreparedFile> prepared;
    prepared.reserve(files.size());
    size_t at = 0;
    try {
        for (; at < files.size(); ++at) prepared.push_back(prepare(files[at].target, files[at].bytes));
    } catch (...) {
        // No target was touched: every temporary written so far goes (the failed one removed its own).
        for (const PreparedFile& p : prepared) ::unlink(p.tempPath.c_str());
        if (failedIndex) *failedIndex = at;
        throw;
    }
    for (at = 0; at < prepared.size(); ++at) {
        try {
            commit(prepared[at]);
            if (renamedCount) *renamedCount = at + 1;
        } catch (...) {
            for (size_t k = at + 1; k < prepared.size(); ++k) ::unlink(prepared[k].tempPath.c_str());
            if (failedIndex) *failedIndex = at;
            throw;
        }
    }
}

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
