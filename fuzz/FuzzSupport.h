#pragma once
// Shared pieces of the fuzz targets: prompts that answer by turns, and a private scratch folder.
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "platform/Prompts.h"

namespace tarv::fuzz {

class AlternatingPrompts : public DecliningPrompts {
public:
    bool yesNo(const std::string&, const std::string&, PromptIcon) override { return (turn_++ % 2) == 0; }
    bool okCancel(const std::string&, const std::string&, PromptIcon) override { return true; }

private:
    unsigned turn_ = 0;
};

inline const std::filesystem::path& scratchFolder() {
    static const std::filesystem::path folder = [] {
        auto p = std::filesystem::temp_directory_path() / ("tarv-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(p);
        return p;
    }();
    return folder;
}

inline std::filesystem::path writeScratch(const std::string& name, const uint8_t* data, size_t size) {
    auto path = scratchFolder() / name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    return path;
}

} // namespace tarv::fuzz
