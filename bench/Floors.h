#pragma once
// The floors the benchmarks measure themselves against, shared by every program that needs them.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarv::bench {

// A file read the plainest way: one open, its size from fstat, read() into a buffer of that size taken from the
// system afresh. Returns the bytes read.
inline size_t sizedReadOnce(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    struct stat info {};
    ::fstat(fd, &info);
    const size_t size = size_t(info.st_size);
    auto* buffer = static_cast<char*>(std::malloc(size + 1));
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, buffer + done, size - done);
        if (n <= 0) break;
        done += size_t(n);
    }
    ::close(fd);
    benchmark::DoNotOptimize(buffer[done / 2]);
    std::free(buffer);
    return done;
}

}  // namespace tarv::bench
