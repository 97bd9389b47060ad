#pragma once
// Shared pieces of the fuzz targets: prompts that answer by turns, and a private scratch folder.
#include <cstdlib>
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

// The one temporary folder of the process for every scratch file (inputs, logs, written files); it goes
// at exit. Held on the heap so that it outlives the static destructors that run before the exit handler.
// It lies in memory when the system offers a memory file system: the targets that save write every file
// atomically, and a sync to a disk would bound them to a few dozen runs a second.
inline const std::filesystem::path& scratchFolder() {
    static const std::filesystem::path* folder = [] {
        std::error_code ec;
        const std::filesystem::path memory = "/dev/shm";
        const bool inMemory = std::filesystem::is_directory(memory, ec) && ::access(memory.c_str(), W_OK) == 0;
        auto* p = new std::filesystem::path((inMemory ? memory : std::filesystem::temp_directory_path()) /
                                            ("tarv-fuzz-" + std::to_string(::getpid())));
        std::filesystem::create_directories(*p);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(scratchFolder(), ec);
        });
        return p;
    }();
    return *folder;
}

inline std::filesystem::path writeScratch(const std::string& name, const uint8_t* data, size_t size) {
    auto path = scratchFolder() / name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    return path;
}

} // namespace tarv::fuzz
