#include "TempDir.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace tarv::test {

TempDir::TempDir() {
    std::random_device rd;
    auto base = std::filesystem::temp_directory_path();
    for (;;) {
        path_ = base / ("tarv-test-" + std::to_string(rd()) + std::to_string(rd()));
        std::error_code ec;
        if (std::filesystem::create_directory(path_, ec)) break;
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    // Give back write permission that tests may have taken, so everything can be removed.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                     ec);
    }
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<uint8_t> readBytes(const std::filesystem::path& path) {
    std::string s = readText(path);
    return std::vector<uint8_t>(s.begin(), s.end());
}

void writeText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

void writeBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::filesystem::path samplesFolder() {
    std::error_code ec;
    if (const char* env = std::getenv("TARV_SAMPLES"); env && *env && std::filesystem::is_directory(env, ec))
        return std::filesystem::canonical(env, ec);
    std::filesystem::path p = std::filesystem::path(TARV_SOURCE_DIR) / ".." / "shared" / "samples";
    if (std::filesystem::is_directory(p, ec)) return std::filesystem::canonical(p, ec);
    return {};
}

}  // namespace tarv::test
