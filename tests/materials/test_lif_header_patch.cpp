// Edited .lif header fields written back: the box numbers, the three offsets, short and missing files, and
// a failed write that leaves the file as it was.
#include <gtest/gtest.h>

#include <climits>

#include "ByteBuilder.h"
#include "TempDir.h"
#include "base/AtomicFile.h"
#include "base/RunTimeError.h"
#include "materials/LifHeaderPatch.h"

using namespace tarv;
using tarv::test::ByteBuilder;
using tarv::test::TempDir;

namespace {

// A 48-byte header of a 2 x 2 paletted file followed by four index bytes, every field distinct.
std::vector<uint8_t> smallLif() {
    return ByteBuilder()
        .str("Willy 7")
        .u8(0)
        .i32(0x104)       // version
        .i32(2)           // flags
        .i32(2)           // width
        .i32(2)           // height
        .i32(0x11111111)  // palette CRC
        .i32(0x22222222)  // image CRC
        .i32(48)          // data
        .i32(52)          // palette
        .i32(0)           // team 0
        .i32(0)           // team 1
        .u8(1)
        .u8(2)
        .u8(3)
        .u8(4)
        .data();
}

// The fields to write: flags, palette CRC, image CRC; nullopt leaves one as it is.
LifHeaderFields fields(std::optional<int32_t> flags, std::optional<int32_t> paletteCRC,
                       std::optional<int32_t> imageCRC) {
    LifHeaderFields f;
    f.flags = flags;
    f.paletteCRC = paletteCRC;
    f.imageCRC = imageCRC;
    return f;
}

}  // namespace

TEST(LifHeaderPatch, BoxTextsBecomeNumbers) {
    struct Case {
        const char* text;
        int32_t value;
    };
    const Case cases[] = {
        {"2.5", 2},
        {"3.5", 4},
        {"12abc", 12},
        {"abc", 0},
        {"", 0},
        {" -7", -7},
        {"1e3", 1000},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
    };
    for (const Case& c : cases) EXPECT_EQ(lifHeaderBoxValue(c.text), c.value) << c.text;
}

TEST(LifHeaderPatch, NumbersOutsideThirtyTwoBitsOverflow) {
    for (const char* text : {"2147483648", "-2147483649", "1e12"}) {
        try {
            lifHeaderBoxValue(text);
            ADD_FAILURE() << text;
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), 6) << text;
        }
    }
}

TEST(LifHeaderPatch, WritesEachFieldAtItsOffsetAndNothingElse) {
    const std::vector<uint8_t> original = smallLif();
    std::vector<uint8_t> bytes = original;
    patchLifHeaderBytes(bytes, fields(0x1A, -2, 0x01020304));
    std::vector<uint8_t> expected =
        ByteBuilder().bytes(original).patchI32(12, 0x1A).patchI32(24, -2).patchI32(28, 0x01020304).data();
    EXPECT_EQ(bytes, expected);

    // Only the palette CRC, as Apply to all LIFs writes it.
    bytes = original;
    patchLifHeaderBytes(bytes, fields(std::nullopt, 7, std::nullopt));
    EXPECT_EQ(bytes, ByteBuilder().bytes(original).patchI32(24, 7).data());
}

TEST(LifHeaderPatch, ShortBytesAreRefusedUntouched) {
    std::vector<uint8_t> bytes(31, 0xAB);
    try {
        patchLifHeaderBytes(bytes, fields(1, std::nullopt, std::nullopt));
        ADD_FAILURE();
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), 62);
    }
    EXPECT_EQ(bytes, std::vector<uint8_t>(31, 0xAB));

    bytes.assign(32, 0);
    patchLifHeaderBytes(bytes, fields(std::nullopt, std::nullopt, -1));
    EXPECT_EQ(bytes, ByteBuilder().fill(28).i32(-1).data());
}

TEST(LifHeaderPatch, FileIsPatchedInPlace) {
    TempDir dir;
    tarv::test::writeBytes(dir / "hull.lif", smallLif());
    patchLifHeaderFile(dir / "hull.lif", fields(16, 5, 6));
    EXPECT_EQ(tarv::test::readBytes(dir / "hull.lif"),
              ByteBuilder().bytes(smallLif()).patchI32(12, 16).patchI32(24, 5).patchI32(28, 6).data());
}

TEST(LifHeaderPatch, MissingFileIsNeverCreated) {
    TempDir dir;
    try {
        patchLifHeaderFile(dir / "hull.lif", fields(1, std::nullopt, std::nullopt));
        ADD_FAILURE();
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), 53);
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "hull.lif"));
}

TEST(LifHeaderPatch, ShortOrUnwritableFileStaysAsItWas) {
    TempDir dir;
    const std::vector<uint8_t> shortFile(20, 9);
    tarv::test::writeBytes(dir / "short.lif", shortFile);
    EXPECT_THROW(patchLifHeaderFile(dir / "short.lif", fields(1, std::nullopt, std::nullopt)), RunTimeError);
    EXPECT_EQ(tarv::test::readBytes(dir / "short.lif"), shortFile);

    tarv::test::writeBytes(dir / "hull.lif", smallLif());
    failNextAtomicWriteForTesting();
    EXPECT_THROW(patchLifHeaderFile(dir / "hull.lif", fields(1, std::nullopt, 2)), RunTimeError);
    EXPECT_EQ(tarv::test::readBytes(dir / "hull.lif"), smallLif());
}
