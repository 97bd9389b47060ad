// The 24-bit picture: layout, block copies, resampling, the 24-bit BMP file and the clipboard.
#include <gtest/gtest.h>

#include <cerrno>

#include "ByteBuilder.h"
#include "DibTestHelpers.h"
#include "Fakes.h"
#include "TempDir.h"
#include "base/AtomicFile.h"
#include "base/RunTimeError.h"
#include "materials/DibSection.h"
#include "platform/Clipboard.h"

using namespace tarv;
using tarv::test::ByteBuilder;
using tarv::test::pixel;
using tarv::test::Rgb;
using tarv::test::setPixel;

namespace {

// A picture whose pixel (x, y) has a colour of its own.
Image numberedPicture(int w, int h) {
    Image img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.at(x, y) = Rgba{uint8_t(10 * x + y), uint8_t(100 + x), uint8_t(200 + y), 7};
    return img;
}

class RecordingClipboard : public Clipboard {
public:
    bool setImage(const Image& picture) override {
        images.push_back(picture);
        return accept;
    }
    std::vector<Image> images;
    bool accept = true;
};

}  // namespace

TEST(DibSection, StrideAndHeaderFollowTheSize) {
    struct Case {
        int w, h, stride;
    };
    for (Case c : {Case{1, 1, 4}, Case{4, 3, 12}, Case{5, 2, 16}, Case{7, 1, 24}}) {
        cDIBSection dib;
        ASSERT_TRUE(dib.Create(c.w, c.h));
        EXPECT_EQ(dib.BytesPerScanLine(), c.stride) << c.w;
        EXPECT_EQ(dib.header().biSizeImage, c.stride * c.h);
        EXPECT_EQ(dib.header().biBitCount, 24);
        ASSERT_NE(dib.DIBSectionBitsPtr(), nullptr);
        for (int i = 0; i < c.stride * c.h; ++i) EXPECT_EQ(dib.DIBSectionBitsPtr()[i], 0);
    }
}

TEST(DibSection, CreateRefusesSizesBelowOneAndOverflowsOnHugeOnes) {
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(3, 3));
    EXPECT_FALSE(dib.Create(0, 5));
    EXPECT_EQ(dib.DIBSectionBitsPtr(), nullptr);  // the old picture was cleared first
    EXPECT_FALSE(dib.Create(5, 0));
    EXPECT_FALSE(dib.Create(-2, 5));
    for (auto [w, h] : {std::pair{1000000000, 1}, std::pair{100000, 100000}}) {
        try {
            dib.Create(w, h);
            ADD_FAILURE() << w << " x " << h;
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), 6);
        }
    }
}

TEST(DibSection, ClearUpIsHarmlessAndKeepsTheSize) {
    cDIBSection empty;
    empty.ClearUp();
    empty.ClearUp();
    EXPECT_EQ(empty.Width(), 0);
    EXPECT_EQ(empty.DIBSectionBitsPtr(), nullptr);

    cDIBSection dib;
    ASSERT_TRUE(dib.Create(6, 4));
    dib.ClearUp();
    dib.ClearUp();
    EXPECT_EQ(dib.DIBSectionBitsPtr(), nullptr);
    EXPECT_EQ(dib.Width(), 6);
    EXPECT_EQ(dib.Height(), 4);
}

TEST(DibSection, CreateFromPictureFlipsRowsAndStoresBlueGreenRed) {
    const Image img = numberedPicture(3, 2);
    cDIBSection dib;
    dib.CreateFromPicture(img);
    ASSERT_EQ(dib.Width(), 3);
    ASSERT_EQ(dib.Height(), 2);
    // Memory row 0 is the picture's bottom row; each pixel is blue, green, red.
    const uint8_t* bits = dib.DIBSectionBitsPtr();
    const std::vector<uint8_t> expected = {
        200 + 1, 100, 1, 200 + 1, 101, 11, 200 + 1, 102, 21, 0, 0, 0,   // bottom row (y = 1), 3 padding bytes
        200,     100, 0, 200,     101, 10, 200,     102, 20, 0, 0, 0};  // top row
    EXPECT_EQ(std::vector<uint8_t>(bits, bits + 24), expected);

    Image back(3, 2, Rgba{1, 1, 1, 1});
    dib.PaintPicture(back, 0, 0, -1, -1, 0, 0);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            Rgba p = img.at(x, y);
            p.a = 255;
            EXPECT_EQ(back.at(x, y), p) << x << "," << y;
        }
}

TEST(DibSection, BlockCopiesSkipWhatLiesOutsideEitherPicture) {
    const Image img = numberedPicture(3, 3);
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(2, 2));
    dib.LoadPictureBlt(img, 2, 2, -1, -1);  // only the source pixel (2, 2) exists
    EXPECT_EQ(pixel(dib, 0, 1), (Rgb{img.at(2, 2).r, img.at(2, 2).g, img.at(2, 2).b}));  // top left
    EXPECT_EQ(pixel(dib, 1, 1), (Rgb{0, 0, 0}));
    EXPECT_EQ(pixel(dib, 0, 0), (Rgb{0, 0, 0}));
    dib.LoadPictureBlt(img, -1, 0, 2, 1);  // column -1 is skipped, source (0, 0) lands at (1, 0)
    EXPECT_EQ(pixel(dib, 1, 1), (Rgb{img.at(0, 0).r, img.at(0, 0).g, img.at(0, 0).b}));

    Image target(3, 3, Rgba{9, 9, 9, 9});
    dib.PaintPicture(target, 2, 2, -1, -1, 0, 0);
    EXPECT_EQ(target.at(2, 2), (Rgba{img.at(2, 2).r, img.at(2, 2).g, img.at(2, 2).b, 255}));
    EXPECT_EQ(target.at(1, 1), (Rgba{9, 9, 9, 9}));
    dib.PaintPicture(target, 0, 0, 5, 5, 1, 1);  // source from (1, 1): one pixel exists
    EXPECT_EQ(target.at(0, 0), (Rgba{0, 0, 0, 255}));
    EXPECT_EQ(target.at(1, 0), (Rgba{9, 9, 9, 9}));
}

TEST(DibSection, ResampleToTheSameSizeIsAnExactCopy) {
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(7, 5));
    dib.RandomiseBits(false);
    auto copy = dib.Resample(5, 7);
    ASSERT_TRUE(copy);
    EXPECT_EQ(std::vector<uint8_t>(copy->DIBSectionBitsPtr(), copy->DIBSectionBitsPtr() + 5 * 24),
              std::vector<uint8_t>(dib.DIBSectionBitsPtr(), dib.DIBSectionBitsPtr() + 5 * 24));
    EXPECT_FALSE(dib.Resample(0, 3));
    cDIBSection empty;
    EXPECT_FALSE(empty.Resample(2, 2));
}

TEST(DibSection, ResampleBlendsRowsThenColumnsRoundingHalvesToEven) {
    // 3 x 2 to 4 x 2: xScale = yScale = 0.5.
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(3, 2));
    const uint8_t blue[3] = {1, 2, 5}, red[3] = {0, 1, 2};
    for (int x = 0; x < 3; ++x) {
        setPixel(dib, x, 0, red[x], 10, blue[x]);
        setPixel(dib, x, 1, red[x], 13, blue[x]);
    }
    auto out = dib.Resample(2, 4);
    ASSERT_TRUE(out);
    ASSERT_EQ(out->Width(), 4);
    ASSERT_EQ(out->Height(), 2);
    // Blue: 1, 1.5 -> 2, 2, 3.5 -> 4; red: 0, 0.5 -> 0, 1, 1.5 -> 2; green 10, then 11.5 -> 12 on row 1.
    const Rgb row0[4] = {{0, 10, 1}, {0, 10, 2}, {1, 10, 2}, {2, 10, 4}};
    const Rgb row1[4] = {{0, 12, 1}, {0, 12, 2}, {1, 12, 2}, {2, 12, 4}};
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(pixel(*out, x, 0), row0[x]) << x;
        EXPECT_EQ(pixel(*out, x, 1), row1[x]) << x;
    }
}

TEST(DibSection, ResampleOfAOnePixelWideOrHighSourceCopiesItsPixels) {
    // 1 x 3 to 4 x 2: every column is the source column; rows 0 and 1 of the source.
    cDIBSection tall;
    ASSERT_TRUE(tall.Create(1, 3));
    setPixel(tall, 0, 0, 10, 20, 30);
    setPixel(tall, 0, 1, 40, 50, 60);
    setPixel(tall, 0, 2, 70, 80, 90);
    auto wide = tall.Resample(2, 4);
    ASSERT_TRUE(wide);
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(pixel(*wide, x, 0), (Rgb{10, 20, 30}));
        EXPECT_EQ(pixel(*wide, x, 1), (Rgb{40, 50, 60}));
    }
    // 3 x 1 to 2 x 4: every row is the source row; columns 0 and 1 of the source.
    cDIBSection flat;
    ASSERT_TRUE(flat.Create(3, 1));
    setPixel(flat, 0, 0, 1, 2, 3);
    setPixel(flat, 1, 0, 4, 5, 6);
    setPixel(flat, 2, 0, 7, 8, 9);
    auto high = flat.Resample(4, 2);
    ASSERT_TRUE(high);
    for (int y = 0; y < 4; ++y) {
        EXPECT_EQ(pixel(*high, 0, y), (Rgb{1, 2, 3}));
        EXPECT_EQ(pixel(*high, 1, y), (Rgb{4, 5, 6}));
    }
}

TEST(DibSection, RandomiseBitsFillsGreyOrRedGreen) {
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(16, 16));
    dib.RandomiseBits(true);
    bool varied = false;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const Rgb p = pixel(dib, x, y);
            EXPECT_TRUE(p[0] == p[1] && p[1] == p[2]);
            varied = varied || p != pixel(dib, 0, 0);
        }
    EXPECT_TRUE(varied);
    dib.RandomiseBits(false);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) EXPECT_EQ(pixel(dib, x, y)[2], 0);
}

namespace {

// The expected 24-bit file of a 5 x 2 numbered picture, from the published layout.
std::vector<uint8_t> expected24BitFile(const Image& img) {
    ByteBuilder b;
    b.str("BM").u32(86).u16(0).u16(0).u32(54);
    b.u32(40).i32(5).i32(2).u16(1).u16(24).u32(0).u32(32).u32(0).u32(0).u32(0).u32(0);
    for (int y : {1, 0}) {
        for (int x = 0; x < 5; ++x) b.u8(img.at(x, y).b).u8(img.at(x, y).g).u8(img.at(x, y).r);
        b.u8(0);
    }
    return b.data();
}

}  // namespace

TEST(DibSection, SavePictureWritesThe24BitFile) {
    tarv::test::TempDir dir;
    tarv::test::TestContext t(dir.path());
    const Image img = numberedPicture(5, 2);
    cDIBSection dib;
    dib.CreateFromPicture(img);
    const auto path = dir / "five.bmp";
    tarv::test::writeBytes(path, std::vector<uint8_t>(500, 0xEE));  // a longer file is replaced
    EXPECT_TRUE(dib.SavePicture(t.ctx, path.string()));
    const std::vector<uint8_t> expected = expected24BitFile(img);
    ASSERT_EQ(expected.size(), 86u);
    EXPECT_EQ(tarv::test::readBytes(path), expected);
    EXPECT_EQ(dib.pictureFileBytes(), expected);
}

TEST(DibSection, SavePictureFailures) {
    tarv::test::TempDir dir;
    tarv::test::TestContext t(dir.path());
    cDIBSection dib;
    dib.CreateFromPicture(numberedPicture(5, 2));

    // A folder that does not exist: error 17 from the picture class, and no file.
    const auto missing = dir / "no folder" / "x.bmp";
    try {
        dib.SavePicture(t.ctx, missing.string());
        ADD_FAILURE() << "no error";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), 17);
        EXPECT_EQ(e.source(), "TARV.cDIBSection256");
        EXPECT_EQ(e.description(), cDIBSection::ApiError(ENOENT));
    }
    EXPECT_FALSE(std::filesystem::exists(missing));

    // A write that fails after the file was made: False, the old file unchanged.
    const auto path = dir / "old.bmp";
    tarv::test::writeText(path, "old");
    failNextAtomicWriteForTesting();
    EXPECT_FALSE(dib.SavePicture(t.ctx, path.string()));
    EXPECT_EQ(tarv::test::readText(path), "old");

    // A picture without pixels writes nothing.
    cDIBSection empty;
    EXPECT_FALSE(empty.SavePicture(t.ctx, (dir / "empty.bmp").string()));
    EXPECT_FALSE(std::filesystem::exists(dir / "empty.bmp"));
}

TEST(DibSection, ApiErrorGivesTheSystemText) {
    EXPECT_FALSE(cDIBSection::ApiError(2).empty());  // no such file
    EXPECT_LE(cDIBSection::ApiError(2).size(), 256u);
    EXPECT_EQ(cDIBSection::ApiError(987654), "");
}

TEST(DibSection, CopyToClipboard) {
    tarv::test::TempDir dir;
    tarv::test::TestContext t(dir.path());
    const Image img = numberedPicture(3, 2);
    cDIBSection dib;
    dib.CreateFromPicture(img);
    const std::vector<uint8_t> before = dib.pictureFileBytes();
    RecordingClipboard clipboard;

    t.prompts.expectMessage("I don't know how to put a DIB on the clipboard! Copy as bitmap instead!!!");
    EXPECT_FALSE(dib.CopyToClipboard(t.ctx, clipboard, true));
    EXPECT_EQ(t.prompts.pending(), 0u);
    EXPECT_TRUE(clipboard.images.empty());
    EXPECT_EQ(dib.pictureFileBytes(), before);

    EXPECT_TRUE(dib.CopyToClipboard(t.ctx, clipboard, false));
    ASSERT_EQ(clipboard.images.size(), 1u);
    EXPECT_EQ(clipboard.images[0].at(2, 1), (Rgba{img.at(2, 1).r, img.at(2, 1).g, img.at(2, 1).b, 255}));
    clipboard.accept = false;
    EXPECT_FALSE(dib.CopyToClipboard(t.ctx, clipboard, false));
}
