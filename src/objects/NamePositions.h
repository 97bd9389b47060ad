#pragma once
// Splitting a name at its last run of decimal digits, for the unique names of copied objects and chunks.
#include <cstdint>
#include <string>

namespace tarv {

// About the last run of the digits "0" to "9" in text, positions 1-based: posType 1 gives the length of the
// prefix before the run, 2 the run's digit count, 3 the position just after the run; any other posType 0.
// A text without digits gives 0, 0 and 1. ("Gun1Left" 3, 1, 5; "Pod1a2" 5, 1, 7; "2Hull" 0, 1, 2.)
int16_t getPositions(const std::string& text, int16_t posType);

// The three parts of that split.
struct NameSplit {
    std::string prefix;
    std::string digits;
    std::string suffix;
};
NameSplit splitAtLastNumber(const std::string& text);

}  // namespace tarv
