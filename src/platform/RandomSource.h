#pragma once
// Uniform random positions for the commands that choose at random. The system source seeds itself from the
// clock at the start of every run, so runs differ; a seeded source repeats its sequence, for tests and
// benchmarks; tests also script the positions one by one.
#include <cstdint>
#include <random>

namespace tarv {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    // A command that draws calls this once before its first draw.
    virtual void startRun() {}
    // A position from 0 to count - 1, each equally likely; count is at least 1.
    virtual int32_t uniformIndex(int32_t count) = 0;
};

// A Mersenne twister with an unbiased mapping onto 0 .. count - 1; the same seed gives the same positions.
class SeededRandomSource : public RandomSource {
public:
    explicit SeededRandomSource(uint32_t seed) : engine_(seed) {}
    int32_t uniformIndex(int32_t count) override;

protected:
    std::mt19937 engine_;
};

// The seeded source seeded anew from the system clock at every run.
class SystemRandomSource : public SeededRandomSource {
public:
    SystemRandomSource();
    void startRun() override;
};

}  // namespace tarv
