#include <gtest/gtest.h>

#include <cmath>

#include "Fakes.h"
#include "TempDir.h"
#include "model/ModelHelpers.h"
#include "base/RunTimeError.h"
#include "editor/context/EditingContext.h"

using namespace tarv;

namespace {

int errorNumberOf(auto&& call) {
    try {
        call();
    } catch (const RunTimeError& e) {
        return e.number();
    }
    return 0;
}

}  // namespace

TEST(ModelHelpers, ObjectNumbersAndRecordOffsets) {
    tarv::test::TempDir dir;
    tarv::test::TestContext t(dir.path());
    struct Case {
        int32_t number;
        bool cataclysm;
        int32_t offset;
    };
    for (Case c : {Case{0, false, 0}, Case{0, true, 0}, Case{1, true, 68}, Case{3, false, 292}, Case{2, true, 184}}) {
        EXPECT_EQ(convertKey(t.ctx, c.number, c.cataclysm), c.offset) << c.number;
        EXPECT_DOUBLE_EQ(convertOffsetToKey(c.offset, c.cataclysm), c.number) << c.offset;
    }
    EXPECT_DOUBLE_EQ(convertOffsetToKey(300, true), 3);
    // Not rounded: an offset between two records gives a fraction.
    EXPECT_DOUBLE_EQ(convertOffsetToKey(124, false), 1.5);
    EXPECT_TRUE(t.errors.reports.empty());
    EXPECT_EQ(t.ctx.err.errModule, "modPeo");
    EXPECT_EQ(t.ctx.err.errProc, "convertKey");
    EXPECT_EQ(t.ctx.err.errArgs, "2|True");
}

TEST(ModelHelpers, ConvertKeyBeyondThirtyTwoBitsIsReportedAndGivesZero) {
    tarv::test::TempDir dir;
    tarv::test::TestContext t(dir.path());
    EXPECT_EQ(convertKey(t.ctx, 30000000, false), 0);
    ASSERT_EQ(t.errors.reports.size(), 1u);
    EXPECT_EQ(t.errors.reports[0].number, 6);
    EXPECT_EQ(t.errors.reports[0].description, "Overflow");
    EXPECT_EQ(t.errors.reports[0].module, "modPeo");
    EXPECT_EQ(t.errors.reports[0].procedure, "convertKey");
    EXPECT_EQ(t.errors.reports[0].arguments, "30000000|False");
}

TEST(ModelHelpers, ColoursAndMaterialFlags) {
    EXPECT_EQ(normaliseColour({10, 20, 30, 0}), (ColourBytes{10, 20, 30, 0}));
    EXPECT_EQ(normaliseColour({10, 20, 30, 255}), (ColourBytes{30, 20, 10, 0}));
    EXPECT_EQ(normaliseColour({10, 20, 30, 1}), (ColourBytes{30, 20, 10, 0}));

    EXPECT_EQ(getRed(0x00302010), 0x10);
    EXPECT_EQ(getGreen(0x00302010), 0x20);
    EXPECT_EQ(getBlue(0x00302010), 0x30);
    EXPECT_EQ(getRed(-1), -1);  // the remainder keeps the sign of the colour

    tarv::test::TempDir dir;
    tarv::test::TestContext t(dir.path());
    PeoMaterial m;
    m.twoSided = true;
    m.selfIlluminated = true;
    EXPECT_EQ(convertMatFlags(t.ctx, m), 72);
    m.smoothing = m.flatShaded = m.baseColour = m.stripeColour = true;
    EXPECT_EQ(convertMatFlags(t.ctx, m), 126);
    EXPECT_EQ(t.ctx.err.errProc, "convertMatFlags");
    EXPECT_EQ(t.ctx.err.errArgs, "");
}

TEST(ModelHelpers, BitStrings) {
    EXPECT_EQ(longToBinary(5), std::string(14, '0') + "101");
    EXPECT_EQ(longToBinary(-3), std::string(17, '0'));
    EXPECT_EQ(longToBinary(0), std::string(17, '0'));
    EXPECT_EQ(longToBinary(131071), std::string(17, '1'));
    EXPECT_EQ(longToBinary(131072), std::string(17, '1'));
    EXPECT_EQ(longToBinary(72), "00000000001001000");

    EXPECT_EQ(binaryToLong("0101"), 5);
    EXPECT_EQ(binaryToLong(""), 0);
    EXPECT_EQ(binaryToLong(std::string(31, '1')), INT32_MAX);
    EXPECT_EQ(binaryToLong("1" + std::string(30, '0')), 1 << 30);
    // A 32nd character overflows the weight, whatever it is.
    EXPECT_EQ(errorNumberOf([] { binaryToLong(std::string(32, '1')); }), 6);
    EXPECT_EQ(errorNumberOf([] { binaryToLong(std::string(32, '0')); }), 6);
}

TEST(ModelHelpers, AnglesAndArcSin) {
    EXPECT_DOUBLE_EQ(degToRad(180), 3.14159265359);
    EXPECT_DOUBLE_EQ(degToRad(90), 3.14159265359 / 2);
    EXPECT_EQ(radToDeg(3.14159265359), 180.0f);
    EXPECT_NEAR(arcSin(0.5), std::asin(0.5), 1e-12);
    EXPECT_NEAR(arcSin(-0.5), -std::asin(0.5), 1e-12);
    EXPECT_EQ(arcSin(0), 0);

    struct Case {
        double x;
        int error;
    };
    for (Case c : {Case{1, 11}, Case{-1, 11}, Case{1.0000001, 5}, Case{-2, 5}}) {
        EXPECT_EQ(errorNumberOf([&] { arcSin(c.x); }), c.error) << c.x;
    }
}

TEST(ModelHelpers, EulerToMatrix) {
    const Matrix4 identity = eulerToMatrix({0, 0, 0});
    for (int i = 0; i < 16; ++i) EXPECT_EQ(identity[i], (i == 0 || i == 5 || i == 10) ? 1.0f : 0.0f) << i;

    // A quarter turn about x: the cosines are tiny and become exact zeros.
    const float quarter = float(kPi / 2);
    const Matrix4 rx = eulerToMatrix({quarter, 0, 0});
    EXPECT_EQ(rx.at(0, 0), 1.0f);
    EXPECT_EQ(rx.at(1, 1), 0.0f);
    EXPECT_EQ(rx.at(1, 2), 1.0f);
    EXPECT_EQ(rx.at(2, 1), -1.0f);
    EXPECT_EQ(rx.at(2, 2), 0.0f);

    // Entry (0, 1) is sin z when the other angles are 0: exactly 0.001 stays, just below it snaps to 0.
    float z = float(std::asin(0.001));
    while (float(std::sin(double(z))) < 0.001f) z = std::nextafter(z, 1.0f);
    while (float(std::sin(double(z))) > 0.001f) z = std::nextafter(z, 0.0f);
    ASSERT_EQ(float(std::sin(double(z))), 0.001f);
    EXPECT_EQ(eulerToMatrix({0, 0, z}).at(0, 1), 0.001f);
    float below = z;
    while (float(std::sin(double(below))) >= 0.001f) below = std::nextafter(below, 0.0f);
    EXPECT_EQ(eulerToMatrix({0, 0, below}).at(0, 1), 0.0f);
    EXPECT_EQ(eulerToMatrix({0, 0, -z}).at(0, 1), -0.001f);

    Matrix4 m;
    for (int i = 0; i < 16; ++i) m[i] = float(i);
    const Matrix4 t = transposeMatrix(m);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_EQ(t.at(r, c), m.at(c, r));
}

TEST(ModelHelpers, WordsOfALine) {
    tarv::test::TempDir dir;
    tarv::test::TestContext t(dir.path());
    struct Case {
        std::string line;
        int n;
        std::string word;
    };
    const Case cases[] = {
        {"alpha  beta,  gamma", 1, "alpha"},
        {"alpha  beta,  gamma", 2, "beta"},
        {"alpha  beta,  gamma", 3, "gamma"},
        {"alpha  beta,  gamma", 4, ""},
        {"one two,", 2, "two,"},  // the last word keeps its comma
        {" first", 1, ""},        // a leading blank makes an empty first word
        {" first", 2, "first"},
        {"a\t\tb \t c", 3, "c"},
        {"a,, b", 1, "a,"},  // only one comma is removed
        {"alpha beta", -1, ""},
        {"alpha beta", 0, ""},
        {"", 1, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(getWord(t.ctx, c.line, c.n), c.word) << c.line << " #" << c.n;

    EXPECT_EQ(getFirstSepPos(t.ctx, "ab\tc d"), 3);
    EXPECT_EQ(getFirstSepPos(t.ctx, "abcd"), 0);
    EXPECT_EQ(getFirstSepPos(t.ctx, "ab c\td"), 3);
    EXPECT_EQ(t.ctx.err.errModule, "modStringFunctions");
    EXPECT_EQ(t.ctx.err.errProc, "getFirstSepPos");
    EXPECT_EQ(t.ctx.err.errArgs, "ab c\td");

    EXPECT_EQ(trimLeadingBlanks(" \t \t"), "");
    EXPECT_EQ(trimLeadingBlanks(" \ta b "), "a b ");
    EXPECT_TRUE(t.errors.reports.empty());
}

TEST(ModelHelpers, SeparatorBeyondSixteenBitsIsReportedAndGivesNoWord) {
    tarv::test::TempDir dir;
    tarv::test::TestContext t(dir.path());
    const std::string longLine = std::string(40000, 'x') + " y";
    EXPECT_EQ(getFirstSepPos(t.ctx, longLine), 0);
    ASSERT_EQ(t.errors.reports.size(), 1u);
    EXPECT_EQ(t.errors.reports[0].description, "Overflow");
    EXPECT_EQ(t.errors.reports[0].procedure, "getFirstSepPos");
    EXPECT_EQ(t.errors.reports[0].arguments, longLine);

    // getWord then sees no separator: the line is one word.
    t.errors.reports.clear();
    EXPECT_EQ(getWord(t.ctx, longLine, 2), "");
    EXPECT_EQ(t.errors.reports.size(), 1u);
}
