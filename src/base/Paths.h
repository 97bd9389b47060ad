#pragma once
// Paths as the ship files and the model path handle them (text), and finding names written on Windows
// ("\" separators, any letter case) on Linux.
#include <filesystem>
#include <optional>
#include <string>

namespace tarv {

// The text with A-Z made a-z; every other byte stays, so a UTF-8 name keeps its bytes.
std::string asciiLower(std::string text);
// Whether a and b are the same text once asciiLower folds both.
bool sameIgnoringAsciiCase(const std::string& a, const std::string& b);

// The folder of a path, up to and including its last "/" or "\"; empty when there is none.
std::string folderOf(const std::string& path);
// The file name: the text after the last "/" or "\".
std::string fileNameOf(const std::string& path);
// The path up to and including its last "."; empty when there is no ".".
std::string baseWithDot(const std::string& path);
// baseWithDot(path) & extension (without a dot): "a/b.peo", "log" -> "a/b.log"; "noext", "log" -> "log".
std::string replaceExtension(const std::string& path, const std::string& extension);

// Finds name in folder: an exact match wins, then the first case-insensitive match in sorted order.
std::optional<std::filesystem::path> findCaseInsensitive(const std::filesystem::path& folder, const std::string& name);
// Resolves a relative name read from a ship file under folder: "\" becomes "/", then each component is
// found with findCaseInsensitive in turn. nullopt when a component is missing.
std::optional<std::filesystem::path> resolveShipPath(const std::filesystem::path& folder,
                                                     const std::string& relativeName);
// The same, but a missing file gives the path as written (separators converted), so callers can report
// it or test for it.
std::filesystem::path resolveShipPathOrAsWritten(const std::filesystem::path& folder, const std::string& relativeName);

// A path whose file name is found without regard to case in its folder; the path as given when missing.
std::string findBesideIgnoringCase(const std::string& path);

}  // namespace tarv
