#pragma once
// Shared pieces of the fuzz targets: prompts that answer by turns, and a private scratch folder.
#include <cerrno>
#include <csignal>
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
        const std::filesystem::path base = inMemory ? memory : std::filesystem::temp_directory_path();
        // A run that crashed had no exit handler: its folder goes once its process is gone.
        for (std::filesystem::directory_iterator it(base, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string name = it->path().filename().string();
            if (name.rfind("tarv-fuzz-", 0) != 0) continue;
            const std::string pid = name.substr(10);
            if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos) continue;
            if (::kill(pid_t(std::stol(pid)), 0) != 0 && errno == ESRCH) {
                std::error_code removeError;
                std::filesystem::remove_all(it->path(), removeError);
            }
        }
        auto* p = new std::filesystem::path(base / ("tarv-fuzz-" + std::to_string(::getpid())));
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

}  // namespace tarv::fuzz
