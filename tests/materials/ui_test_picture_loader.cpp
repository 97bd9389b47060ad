// The Qt picture loader on a tiny .bmp built from bytes, also under a ".dib" name.
#include <gtest/gtest.h>

#include "ByteBuilder.h"
#include "TempDir.h"
#include "materials/LifReader.h"
#include "platform/qt/QtPictureLoader.h"
#include "editor/context/EditingContext.h"

namespace tarv {
namespace {

// 2 x 2, 24 bits, rows bottom first, each padded to 8 bytes.
std::vector<uint8_t> tinyBmp() {
    test::ByteBuilder b;
    b.str("BM").u32(54 + 16).u32(0).u32(54);
    b.u32(40).i32(2).i32(2).u16(1).u16(24).u32(0).u32(16).i32(2835).i32(2835).u32(0).u32(0);
    b.bytes({30, 20, 10, 60, 50, 40, 0, 0});  // bottom row: (10,20,30) (40,50,60)
    b.bytes({255, 0, 0, 0, 255, 0, 0, 0});    // top row: blue, green
    return b.data();
}

TEST(QtPictureLoader, LoadsABmpAndADibByTheirContent) {
    test::TempDir dir;
    test::writeBytes(dir / "a.bmp", tinyBmp());
    test::writeBytes(dir / "a.dib", tinyBmp());
    test::writeBytes(dir / "bad.gif", {1, 2, 3});
    QtPictureLoader loader;
    for (const char* name : {"a.bmp", "a.dib"}) {
        SCOPED_TRACE(name);
        auto image = loadThumbImage((dir / name).string(), loader);
        ASSERT_TRUE(image.has_value());
        EXPECT_EQ(image->width, 2);
        EXPECT_EQ(image->height, 2);
        EXPECT_EQ(image->pixels,
                  (std::vector<Rgba>{{0, 0, 255, 255}, {0, 255, 0, 255}, {10, 20, 30, 255}, {40, 50, 60, 255}}));
    }
    EXPECT_FALSE(loadThumbImage((dir / "bad.gif").string(), loader).has_value());
}

}  // namespace
}  // namespace tarv
