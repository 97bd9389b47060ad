#include <gtest/gtest.h>

#include "objects/NamePositions.h"

namespace tarv {
namespace {

struct PositionsCase {
    const char* text;
    int prefix, digits, after;
};

TEST(NamePositions, SplitsAtTheLastRunOfDigits) {
    const PositionsCase cases[] = {
        {"Gun1Left", 3, 1, 5}, {"Pod1a2", 5, 1, 7}, {"2Hull", 0, 1, 2},    {"Hull", 0, 0, 1},
        {"", 0, 0, 1},         {"Gun012", 3, 3, 7}, {"a12b345c", 4, 3, 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(getPositions(c.text, 1), c.prefix);
        EXPECT_EQ(getPositions(c.text, 2), c.digits);
        EXPECT_EQ(getPositions(c.text, 3), c.after);
        EXPECT_EQ(getPositions(c.text, 4), 0);
        const NameSplit split = splitAtLastNumber(c.text);
        EXPECT_EQ(split.prefix + split.digits + split.suffix, c.text);
        EXPECT_EQ(int(split.prefix.size()), c.prefix);
        EXPECT_EQ(int(split.digits.size()), c.digits);
    }
}

}  // namespace
}  // namespace tarv
