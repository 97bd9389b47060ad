#include <gtest/gtest.h>

#include <bit>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include <cmath>

#include "base/NumberText.h"
#include "base/RunTimeError.h"

using namespace tarv;

TEST(NumberText, RoundsHalfToEven) {
    struct Case {
        double in;
        double out;
    };
    for (Case c : {Case{0.5, 0},
                   {1.5, 2},
                   {2.5, 2},
                   {-2.5, -2},
                   {-1.5, -2},
                   {312.5, 312},
                   {313.5, 314},
                   {2.4999, 2},
                   {2.5001, 3}}) {
        EXPECT_EQ(roundHalfEven(c.in), c.out) << c.in;
    }
    EXPECT_DOUBLE_EQ(roundHalfEven(1.25, 1), 1.2);
    EXPECT_DOUBLE_EQ(roundHalfEven(1.35, 1), 1.4);
}

namespace {

// Rounding as it was first written, through the machine's rounding mode and pow; kept as the reference.
double roundHalfEvenByMode(double value) {
    if (!std::isfinite(value)) return value;
    const int mode = std::fegetround();
    if (mode != FE_TONEAREST) std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(value);
    if (mode != FE_TONEAREST) std::fesetround(mode);
    return r;
}

double roundHalfEvenByMode(double value, int decimals) {
    if (decimals <= 0) return roundHalfEvenByMode(value);
    const double scale = std::pow(10.0, decimals);
    const double scaled = value * scale;
    if (!std::isfinite(scaled)) return value;
    return roundHalfEvenByMode(scaled) / scale;
}

uint64_t bitsOf(double value) { return std::bit_cast<uint64_t>(value); }

}  // namespace

TEST(NumberText, RoundingIsBitForBitTheSameAsThroughTheRoundingMode) {
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> values = {0.0,
                                  -0.0,
                                  0.5,
                                  1.5,
                                  2.5,
                                  -0.5,
                                  -1.5,
                                  -2.5,
                                  0.49999999999999994,
                                  -0.49999999999999994,
                                  0.4,
                                  -0.4,
                                  1.0000005,
                                  0.0000005,
                                  -0.0000005,
                                  0.0000015,
                                  0.0000025,
                                  0.1234565,
                                  -0.7071065,
                                  0.70710678,
                                  -0.70710678,
                                  0.999999500000,
                                  -0.9999995,
                                  1.25,
                                  1.35,
                                  123456.5,
                                  -123456.5,
                                  4503599627370495.5,
                                  4503599627370496.0,
                                  4503599627370497.0,
                                  9007199254740993.0,
                                  -4503599627370495.5,
                                  2251799813685247.5,
                                  1e15 + 0.5,
                                  1e20,
                                  -1e20,
                                  1e300,
                                  -1e300,
                                  1.7976931348623157e308,
                                  4.9406564584124654e-324,
                                  -4.9406564584124654e-324,
                                  2.2250738585072014e-308,
                                  inf,
                                  -inf,
                                  std::numeric_limits<double>::quiet_NaN(),
                                  -std::numeric_limits<double>::quiet_NaN(),
                                  double(3.4028235e38f),
                                  double(1.17549435e-38f),
                                  double(0.1f),
                                  double(-0.3f)};
    // Exact halves at six decimals and their float neighbours, and values of every size.
    for (int k = -2000; k <= 2000; ++k) {
        values.push_back((k + 0.5) / 1e6);
        values.push_back(double(float((k + 0.5) / 1e6)));
        values.push_back(k + 0.5);
    }
    std::mt19937_64 random(6);
    for (int k = 0; k < 20000; ++k) {
        values.push_back(std::bit_cast<double>(random()));  // every exponent, NaNs included
        values.push_back(std::uniform_real_distribution<double>(-2, 2)(random));
        values.push_back(double(std::bit_cast<float>(uint32_t(random()))));
    }
    for (double v : values)
        for (int decimals : {0, 1, 2, 6, 7, 15, 22, 23, 30}) {
            const double expected = roundHalfEvenByMode(v, decimals);
            const double got = roundHalfEven(v, decimals);
            ASSERT_EQ(bitsOf(got), bitsOf(expected))
                << decimals << " decimals of " << std::hexfloat << v << ": " << got << " instead of " << expected;
        }
    // To whole numbers the result does not depend on the machine's rounding mode either.
    for (int mode : {FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
        std::fesetround(mode);
        for (double v : values) {
            const double expected = roundHalfEvenByMode(v);
            const double got = roundHalfEven(v);
            if (bitsOf(got) != bitsOf(expected)) {
                std::fesetround(FE_TONEAREST);
                FAIL() << "mode " << mode << ": " << std::hexfloat << v << " gave " << got << " instead of "
                       << expected;
            }
        }
    }
    std::fesetround(FE_TONEAREST);
}

TEST(NumberText, CheckedIntegersOverflowOutsideTheirRange) {
    EXPECT_EQ(toInt16(32767.0), 32767);
    EXPECT_EQ(toInt16(-32768.0), -32768);
}

TEST(NumberText, SixteenBitEdges) {
    struct Case {
        double in;
        bool overflows;
        int16_t out;
    };
    for (Case c : {Case{32767.4, false, 32767},
                   {32767.5, true, 0},
                   {-32768.5, false, -32768},
                   {-32769, true, 0},
                   {1e300, true, 0},
                   {NAN, true, 0}}) {
        if (c.overflows) {
            try {
                toInt16(c.in);
                ADD_FAILURE() << c.in;
            } catch (const RunTimeError& e) {
                EXPECT_EQ(e.number(), 6);
                EXPECT_EQ(e.description(), "Overflow");
            }
        } else {
            EXPECT_EQ(toInt16(c.in), c.out) << c.in;
        }
    }
    EXPECT_THROW(toInt16(int64_t(40000)), RunTimeError);
    EXPECT_EQ(toInt32(int64_t(-2147483648LL)), INT32_MIN);
    EXPECT_THROW(toInt32(int64_t(2147483648LL)), RunTimeError);
    EXPECT_THROW(toInt32(2147483647.5), RunTimeError);
}

TEST(NumberText, FloatTextHasSevenSignificantDigits) {
    struct Case {
        float in;
        const char* out;
    };
    for (Case c : {Case{1234567.f, "1234567"},
                   {12345678.f, "1.234568E+07"},
                   {0.0001f, "0.0001"},
                   {0.00001f, "1E-05"},
                   {-2.f, "-2"},
                   {1.5f, "1.5"},
                   {0.f, "0"},
                   {-0.f, "0"},
                   {0.1f, "0.1"},
                   {1e7f, "1E+07"},
                   {9999999.f, "9999999"},
                   {3.14159265f, "3.141593"},
                   {-0.000123f, "-0.000123"},
                   {1e-10f, "1E-10"},
                   {1e20f, "1E+20"},
                   {100.f, "100"},
                   {0.3333333f, "0.3333333"},
                   {123.456f, "123.456"}}) {
        EXPECT_EQ(floatText(c.in), c.out) << c.in;
    }
}

TEST(NumberText, DoubleTextHasFifteenSignificantDigits) {
    EXPECT_EQ(doubleText(0.1), "0.1");
    EXPECT_EQ(doubleText(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(doubleText(123456789012345.0), "123456789012345");
    EXPECT_EQ(doubleText(1234567890123456.0), "1.23456789012346E+15");
    EXPECT_EQ(doubleText(0.00001), "1E-05");
    EXPECT_EQ(doubleText(-2.5), "-2.5");
}

TEST(NumberText, RightAlignNeverCuts) {
    EXPECT_EQ(rightAlign("v3", 5), "   v3");
    EXPECT_EQ(rightAlign("1.234568E+07", 5), "1.234568E+07");
    EXPECT_EQ(rightAlign("", 2), "  ");
    EXPECT_EQ(intText(-42), "-42");
}

TEST(NumberText, FixedTwoDecimalsRoundsHalvesAwayFromZero) {
    struct Case {
        double in;
        const char* out;
    };
    for (Case c : {Case{2.5, "2.50"},
                   {-2.5, "-2.50"},
                   {0.125, "0.13"},
                   {-0.125, "-0.13"},
                   {0, "0.00"},
                   {0.5, "0.50"},
                   {1234.5678, "1234.57"},
                   {-0.004, "-0.00"}}) {
        EXPECT_EQ(fixed2(c.in), c.out) << c.in;
    }
}

TEST(NumberText, LeadingNumberReadsTheNumericBeginning) {
    struct Case {
        const char* in;
        double out;
    };
    for (Case c : {Case{" -1.5e2x", -150},
                   {"abc", 0},
                   {"1,5", 1},
                   {"", 0},
                   {"  42", 42},
                   {"\t7 8", 7},
                   {".5", 0.5},
                   {"1.2.3", 1.2},
                   {"3e", 3},
                   {"3e+", 3},
                   {"-", 0},
                   {"+8", 8},
                   {"2E-2", 0.02}}) {
        EXPECT_DOUBLE_EQ(leadingNumber(c.in), c.out) << c.in;
    }
}

TEST(NumberText, NumericTestOfAWholeBoxText) {
    struct Case {
        const char* in;
        bool numeric;
        double value;
    };
    for (Case c : {Case{" -1.5e2x", false, 0},
                   {"abc", false, 0},
                   {"1,5", false, 0},
                   {"", false, 0},
                   {" - 1.5 ", true, -1.5},
                   {"1.5e2", true, 150},
                   {".5", true, 0.5},
                   {"5.", true, 5},
                   {"-", false, 0},
                   {".", false, 0},
                   {"1.2.3", false, 0},
                   {"1e", false, 0},
                   {"  12  ", true, 12},
                   {"+-1", false, 0},
                   {"1 2", false, 0}}) {
        EXPECT_EQ(isNumeric(c.in), c.numeric) << c.in;
        auto v = parseNumber(c.in);
        EXPECT_EQ(v.has_value(), c.numeric) << c.in;
        if (v) {
            EXPECT_DOUBLE_EQ(*v, c.value) << c.in;
        }
    }
}
