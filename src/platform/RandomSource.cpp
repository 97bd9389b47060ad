#include "platform/RandomSource.h"

#include <chrono>

namespace tarv {

namespace {
// The wall clock and the steady clock to the nanosecond, so two runs within one clock tick still differ.
std::seed_seq clockSeed() {
    using namespace std::chrono;
    const uint64_t wall = uint64_t(system_clock::now().time_since_epoch().count());
    const uint64_t steady = uint64_t(steady_clock::now().time_since_epoch().count());
    return std::seed_seq{uint32_t(wall), uint32_t(wall >> 32), uint32_t(steady), uint32_t(steady >> 32)};
}
}  // namespace

int32_t SeededRandomSource::uniformIndex(int32_t count) {
    if (count <= 1) return 0;
    return std::uniform_int_distribution<int32_t>(0, count - 1)(engine_);
}

SystemRandomSource::SystemRandomSource() : SeededRandomSource(0) { startRun(); }

void SystemRandomSource::startRun() {
    std::seed_seq seed = clockSeed();
    engine_.seed(seed);
}

}  // namespace tarv
