#include "base/Paths.h"

#include <algorithm>
#include <vector>

namespace tarv {

namespace fs = std::filesystem;

namespace {

size_t lastSeparator(const std::string& path) { return path.find_last_of("/\\"); }

// The components of a name as written in a ship file, with "\" and "/" both taken as separators. Empty
// components (leading, doubled or trailing separators) and "." are dropped.
std::vector<std::string> componentsOf(const std::string& name) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : name + "/") {
        if (c == '/' || c == '\\') {
            if (!part.empty() && part != ".") parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    return parts;
}

}  // namespace

// Letter case is folded for ASCII only: names in ship files are plain ASCII, and folding other bytes could
// split a UTF-8 name on Linux.
std::string asciiLower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    }
    return text;
}

bool sameIgnoringAsciiCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && asciiLower(a) == asciiLower(b);
}

std::string folderOf(const std::string& path) {
    size_t at = lastSeparator(path);
    return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

std::string fileNameOf(const std::string& path) {
    size_t at = lastSeparator(path);
    return at == std::string::npos ? path : path.substr(at + 1);
}

std::string baseWithDot(const std::string& path) {
    size_t at = path.rfind('.');
    return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

std::string replaceExtension(const std::string& path, const std::string& extension) {
    return baseWithDot(path) + extension;
}

std::optional<fs::path> findCaseInsensitive(const fs::path& folder, const std::string& name) {
    if (name.empty() || name.find('/') != std::string::npos) return std::nullopt;
    std::error_code ec;
    fs::path exact = folder / name;
    if (name == "." || name == "..") {
        if (fs::is_directory(exact, ec)) return exact;
        return std::nullopt;
    }
    if (fs::exists(fs::symlink_status(exact, ec))) return exact;

    const std::string wanted = asciiLower(name);
    std::optional<std::string> best;
    fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::string candidate = it->path().filename().string();
        if (asciiLower(candidate) == wanted && (!best || candidate < *best)) best = candidate;
    }
    if (!best) return std::nullopt;
    return folder / *best;
}

std::optional<fs::path> resolveShipPath(const fs::path& folder, const std::string& relativeName) {
    // A leading separator does not lead out of the folder: names in ship files are relative to it.
    std::vector<std::string> parts = componentsOf(relativeName);
    if (parts.empty()) return std::nullopt;

    // ".." steps back over a component found here, or above the folder itself when there is none left.
    fs::path base = folder;
    std::vector<std::string> found;
    auto current = [&] {
        fs::path p = base;
        for (const std::string& f : found) p /= f;
        return p;
    };
    for (const std::string& part : parts) {
        if (part == "..") {
            if (!found.empty())
                found.pop_back();
            else
                base /= "..";
            std::error_code ec;
            if (!fs::is_directory(current(), ec)) return std::nullopt;
            continue;
        }
        std::optional<fs::path> match = findCaseInsensitive(current(), part);
        if (!match) return std::nullopt;
        found.push_back(match->filename().string());
    }
    return current();
}

fs::path resolveShipPathOrAsWritten(const fs::path& folder, const std::string& relativeName) {
    if (std::optional<fs::path> resolved = resolveShipPath(folder, relativeName)) return *resolved;
    std::string written = relativeName;
    std::replace(written.begin(), written.end(), '\\', '/');
    written.erase(0, written.find_first_not_of('/'));
    return folder / written;
}

std::string findBesideIgnoringCase(const std::string& path) {
    if (path.empty()) return path;
    const std::string folder = folderOf(path);
    const std::filesystem::path where = folder.empty() ? std::filesystem::path(".") : std::filesystem::path(folder);
    if (auto found = findCaseInsensitive(where, fileNameOf(path))) return folder + found->filename().string();
    return path;
}

}  // namespace tarv
