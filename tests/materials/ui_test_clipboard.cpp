// A picture copied as a bitmap reaches the Qt clipboard.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

#include "Fakes.h"
#include "TempDir.h"
#include "materials/DibSection.h"
#include "platform/qt/QtClipboard.h"

using namespace tarv;

TEST(QtClipboard, CopyToClipboardPutsThePictureOnIt) {
    tarv::test::TempDir dir;
    tarv::test::TestContext t(dir.path());
    Image img(3, 2, Rgba{10, 20, 30, 255});
    img.at(2, 0) = Rgba{200, 100, 50, 255};
    cDIBSection dib;
    dib.CreateFromPicture(img);
    QtClipboard clipboard;
    ASSERT_TRUE(dib.CopyToClipboard(t.ctx, clipboard, false));
    const QImage got = QGuiApplication::clipboard()->image();
    ASSERT_EQ(got.width(), 3);
    ASSERT_EQ(got.height(), 2);
    EXPECT_EQ(got.pixel(2, 0), qRgb(200, 100, 50));
    EXPECT_EQ(got.pixel(0, 1), qRgb(10, 20, 30));
}
