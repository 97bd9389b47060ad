#pragma once
// A fresh temporary folder per test, removed afterwards; plus small file helpers.
#include <filesystem>
#include <string>
#include <vector>

namespace tarv::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    // The path as text, with a trailing "/".
    std::string folderText() const { return path_.string() + "/"; }

private:
    std::filesystem::path path_;
};

std::string readText(const std::filesystem::path& path);
std::vector<uint8_t> readBytes(const std::filesystem::path& path);
void writeText(const std::filesystem::path& path, const std::string& text);
void writeBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
// The real game files shared beside the project, or an empty path when the folder is absent.
std::filesystem::path samplesFolder();

// Makes the process's working directory another folder while it lives.
struct WorkingDirectory {
    std::filesystem::path old = std::filesystem::current_path();
    explicit WorkingDirectory(const std::filesystem::path& p) { std::filesystem::current_path(p); }
    ~WorkingDirectory() { std::filesystem::current_path(old); }
};

}  // namespace tarv::test
