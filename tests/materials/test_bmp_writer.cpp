// The BMP writer: every depth against byte tables of the published layout.
#include <gtest/gtest.h>

#include "ByteBuilder.h"
#include "DibTestHelpers.h"
#include "Fakes.h"
#include "TempDir.h"
#include "base/AtomicFile.h"
#include "base/RunTimeError.h"
#include "materials/BmpWriter.h"
#include "materials/DibSection.h"
#include "materials/Palette.h"

using namespace tarv;
using tarv::test::ByteBuilder;
using tarv::test::pixel;
using tarv::test::Rgb;
using tarv::test::setPixel;

namespace {

// File header and info header of a paletted file.
void headers(ByteBuilder& b, int32_t w, int32_t h, int16_t bits, int32_t tableEntries, int32_t sizeImage) {
    const int32_t offBits = 54 + 4 * tableEntries;
    b.str("BM").u32(uint32_t(offBits + sizeImage)).u16(0).u16(0).u32(uint32_t(offBits));
    b.u32(40).i32(w).i32(h).u16(1).u16(uint16_t(bits)).u32(0).u32(uint32_t(sizeImage)).u32(0).u32(0).u32(0).u32(0);
}

// A picture from rows of colours given top row first, as one sees it.
cDIBSection pictureOf(const std::vector<std::vector<Rgb>>& topFirst) {
    cDIBSection dib;
    const int h = int(topFirst.size()), w = int(topFirst[0].size());
    EXPECT_TRUE(dib.Create(w, h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgb& c = topFirst[size_t(y)][size_t(x)];
            setPixel(dib, x, h - 1 - y, c[0], c[1], c[2]);
        }
    return dib;
}

const Rgb red{255, 0, 0}, blue{0, 0, 255}, white{255, 255, 255}, black{0, 0, 0};

struct Fixture {
    tarv::test::TempDir dir;
    tarv::test::TestContext t{dir.path()};
    std::string path(const char* name) const { return (dir / name).string(); }
};

}  // namespace

TEST(BmpWriter, EightBitFileWithTheGivenPalette) {
    Fixture f;
    cDIBSection dib = pictureOf({{red, blue, red, blue, red}, {blue, blue, red, red, blue}});
    cPalette pal;
    pal.Add(255, 0, 0);
    pal.Add(0, 0, 255);
    const auto file = f.path("rb.bmp");
    tarv::test::writeBytes(file, std::vector<uint8_t>(3000, 0x55));  // a longer file is replaced whole
    ASSERT_TRUE(cDIBSectionSave().Save(f.t.ctx, file, dib, pal, 2, 1));

    ByteBuilder b;
    headers(b, 5, 2, 8, 256, 16);
    b.u8(0).u8(0).u8(255).u8(0);  // entry 0: red as blue, green, red, 0
    b.u8(255).u8(0).u8(0).u8(0);  // entry 1: blue
    b.fill(254 * 4);
    b.u8(1).u8(1).u8(0).u8(0).u8(1).fill(3);  // bottom row first
    b.u8(0).u8(1).u8(0).u8(1).u8(0).fill(3);
    ASSERT_EQ(b.size(), 1094u);
    EXPECT_EQ(tarv::test::readBytes(file), b.data());
    EXPECT_EQ(pal.Count(), 2);
}

TEST(BmpWriter, EightBitFileWithTheOctreePalette) {
    // The one road the editor takes: octree of 236 colours and 6 levels, mapped without diffusion.
    Fixture f;
    const Rgb a{10, 20, 30}, b2{200, 100, 50}, c{0, 0, 255}, d{255, 255, 255};
    cDIBSection dib = pictureOf({{a, b2, a}, {c, d, c}});
    cPalette pal;  // empty, as the caller passes it
    ASSERT_TRUE(cDIBSectionSave().Save(f.t.ctx, f.path("oct.bmp"), dib, pal, 2, 2));
    ASSERT_EQ(pal.Count(), 4);  // in order of first appearance, bottom row first

    ByteBuilder b;
    headers(b, 3, 2, 8, 256, 8);
    b.u8(255).u8(0).u8(0).u8(0);      // c
    b.u8(255).u8(255).u8(255).u8(0);  // d
    b.u8(30).u8(20).u8(10).u8(0);     // a
    b.u8(50).u8(100).u8(200).u8(0);   // b2
    b.fill(252 * 4);
    b.u8(0).u8(1).u8(0).u8(0);
    b.u8(2).u8(3).u8(2).u8(0);
    EXPECT_EQ(tarv::test::readBytes(f.path("oct.bmp")), b.data());
}

TEST(BmpWriter, EightBitRowsAndFillerEntries) {
    Fixture f;
    struct Case {
        int width;
        int row;
    };
    for (Case c : {Case{1, 4}, Case{4, 4}, Case{7, 8}}) {
        cDIBSection dib = pictureOf({std::vector<Rgb>(size_t(c.width), Rgb{7, 8, 9})});
        cPalette pal;
        auto bytes = cDIBSectionSave().fileBytes(dib, pal, 2, 2);
        ASSERT_TRUE(bytes);
        ByteBuilder b;
        headers(b, c.width, 1, 8, 256, c.row);
        b.u8(9).u8(8).u8(7).u8(0).fill(255 * 4).fill(size_t(c.row));  // every index 0
        EXPECT_EQ(*bytes, b.data()) << c.width;
    }
}

TEST(BmpWriter, EightBitWithoutReductionTakesTheHalfTonePaletteWhenNoneIsGiven) {
    Fixture f;
    cDIBSection dib = pictureOf({{Rgb{64, 0, 0}, Rgb{60, 3, 0}, white}});
    cPalette pal;
    auto bytes = cDIBSectionSave().fileBytes(dib, pal, 2, 0);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(pal.Count(), 256);
    EXPECT_EQ(pal.Red(2), 64);
    // The indices: entry 2 exactly, entry 2 by distance, white is entry 125.
    EXPECT_EQ(std::vector<uint8_t>(bytes->begin() + 1078, bytes->end()), (std::vector<uint8_t>{1, 1, 124, 0}));
    // Method 0 copies the table colours back into the picture.
    EXPECT_EQ(pixel(dib, 1, 0), (Rgb{64, 0, 0}));
}

TEST(BmpWriter, OneBitFilePacksTheLeftmostPixelHighest) {
    Fixture f;
    cDIBSection dib = pictureOf({{white, black, black, white, white, white, black, white, black, white}});
    cPalette pal;
    ASSERT_TRUE(cDIBSectionSave().Save(f.t.ctx, f.path("one.bmp"), dib, pal, 0, 0));
    ByteBuilder b;
    headers(b, 10, 1, 1, 2, 4);
    b.u8(0).u8(0).u8(0).u8(0).u8(255).u8(255).u8(255).u8(0);
    b.u8(0x9D).u8(0x40).u8(0).u8(0);
    EXPECT_EQ(tarv::test::readBytes(f.path("one.bmp")), b.data());
    EXPECT_EQ(pal.Count(), 0);
}

TEST(BmpWriter, OneBitWithItsOwnReductionDithers) {
    Fixture f;
    cDIBSection dib = pictureOf({{Rgb{200, 200, 200}, Rgb{100, 100, 100}}, {Rgb{10, 10, 10}, Rgb{250, 250, 250}}});
    cPalette pal;
    auto bytes = cDIBSectionSave().fileBytes(dib, pal, 0, 2);
    ASSERT_TRUE(bytes);
    // Bottom row first: black, white; then white, black.
    EXPECT_EQ(std::vector<uint8_t>(bytes->begin() + 62, bytes->end()),
              (std::vector<uint8_t>{0x40, 0, 0, 0, 0x80, 0, 0, 0}));
    EXPECT_EQ(pixel(dib, 0, 1), white);
}

TEST(BmpWriter, FourBitFilePacksTheLeftmostPixelInTheHighHalf) {
    Fixture f;
    cPalette sixteen;
    sixteen.Create16Colour();
    std::vector<Rgb> row;
    for (int i = 1; i <= 9; ++i) row.push_back({sixteen.Red(i), sixteen.Green(i), sixteen.Blue(i)});
    cDIBSection dib = pictureOf({row});
    cPalette pal;
    pal.CreateMono();  // the 4-bit table is its own whatever this holds
    ASSERT_TRUE(cDIBSectionSave().Save(f.t.ctx, f.path("four.bmp"), dib, pal, 1, 0));
    ByteBuilder b;
    headers(b, 9, 1, 4, 16, 8);
    const uint8_t table[16][3] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                  {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                                  {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                  {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
    for (const auto& e : table) b.u8(e[2]).u8(e[1]).u8(e[0]).u8(0);
    b.u8(0x01).u8(0x23).u8(0x45).u8(0x67).u8(0x80).fill(3);
    EXPECT_EQ(tarv::test::readBytes(f.path("four.bmp")), b.data());
    EXPECT_EQ(pal.Count(), 2);

    // Method 2 stores the 16 colours in the caller's palette.
    cDIBSection again = pictureOf({row});
    ASSERT_TRUE(cDIBSectionSave().Save(f.t.ctx, f.path("four2.bmp"), again, pal, 1, 2));
    EXPECT_EQ(pal.Count(), 16);
}

TEST(BmpWriter, Depth3WritesThe24BitFileWhateverTheMethod) {
    Fixture f;
    cDIBSection dib = pictureOf({{Rgb{1, 2, 3}, Rgb{4, 5, 6}}});
    const std::vector<uint8_t> expected = dib.pictureFileBytes();
    for (int method : {0, 1, 2, 7}) {
        cPalette pal;
        const auto file = f.path(("d3_" + std::to_string(method) + ".bmp").c_str());
        ASSERT_TRUE(cDIBSectionSave().Save(f.t.ctx, file, dib, pal, 3, method));
        EXPECT_EQ(tarv::test::readBytes(file), expected);
        EXPECT_EQ(pal.Count(), 0);
    }
    EXPECT_EQ(pixel(dib, 1, 0), (Rgb{4, 5, 6}));
}

TEST(BmpWriter, NothingIsWrittenForABadDepthOrAnEmptyPicture) {
    Fixture f;
    cDIBSection dib = pictureOf({{red}});
    cPalette pal;
    for (int depth : {-1, 4, 100}) {
        EXPECT_FALSE(cDIBSectionSave().Save(f.t.ctx, f.path("bad.bmp"), dib, pal, depth, 2));
        EXPECT_FALSE(cDIBSectionSave().fileBytes(dib, pal, depth, 2));
    }
    cDIBSection empty;
    for (int depth : {0, 1, 2, 3})
        EXPECT_FALSE(cDIBSectionSave().Save(f.t.ctx, f.path("bad.bmp"), empty, pal, depth, 2));
    EXPECT_FALSE(std::filesystem::exists(f.path("bad.bmp")));
    EXPECT_EQ(pal.Count(), 0);
}

TEST(BmpWriter, AFileThatCannotBeCreatedRaises17AndAFailedWriteReturnsFalse) {
    Fixture f;
    cDIBSection dib = pictureOf({{red, blue}});
    const auto missing = (f.dir / "no folder" / "x.bmp").string();
    for (int depth : {0, 1, 2, 3}) {
        cPalette pal;
        try {
            cDIBSectionSave().Save(f.t.ctx, missing, dib, pal, depth, 2);
            ADD_FAILURE() << depth;
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), 17);
            EXPECT_EQ(e.source(), "TARV.cDIBSection256");
        }
    }
    EXPECT_FALSE(std::filesystem::exists(missing));

    tarv::test::writeText(f.path("keep.bmp"), "keep");
    cPalette pal;
    failNextAtomicWriteForTesting();
    EXPECT_FALSE(cDIBSectionSave().Save(f.t.ctx, f.path("keep.bmp"), dib, pal, 2, 2));
    EXPECT_EQ(tarv::test::readText(f.path("keep.bmp")), "keep");
}

TEST(BmpWriter, GivenPaletteMethodWithAnEmptyPaletteRaisesSubscriptOutOfRange) {
    Fixture f;
    cDIBSection dib = pictureOf({{red}});
    cPalette pal;
    try {
        cDIBSectionSave().Save(f.t.ctx, f.path("x.bmp"), dib, pal, 2, 1);
        ADD_FAILURE();
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), 9);
    }
    EXPECT_FALSE(std::filesystem::exists(f.path("x.bmp")));
}
