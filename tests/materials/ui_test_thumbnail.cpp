// The thumbnail grid widget: captions and tooltips, blank and handed-in pictures, the grid's places and
// scroll bar, clicks and their events, caption editing with Enter, Escape and focus loss, Locked, Clear.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include "ByteBuilder.h"
#include "TempDir.h"
#include "UserInput.h"
#include "materials/ui/ThumbNail.h"
#include "platform/qt/QtPictureLoader.h"

namespace tarv {
namespace {

// 1 x 1, 24 bits: one red pixel, its row padded to 4 bytes.
std::vector<uint8_t> redBmp() {
    test::ByteBuilder b;
    b.str("BM").u32(54 + 4).u32(0).u32(54);
    b.u32(40).i32(1).i32(1).u16(1).u16(24).u32(0).u32(4).i32(2835).i32(2835).u32(0).u32(0);
    b.bytes({0, 0, 255, 0});
    return b.data();
}

struct Grid {
    QtPictureLoader loader;
    ThumbNail thumbs{&loader};
    Grid() {
        thumbs.resize(3855 / kTwipsPerPixel, 4455 / kTwipsPerPixel);
        thumbs.show();
    }
    QLabel* pic(int i) { return thumbs.findChild<QLabel*>(QString("picThumbs_%1").arg(i)); }
    QLabel* label(int i) { return thumbs.findChild<QLabel*>(QString("lblThumbs_%1").arg(i)); }
    QLineEdit* edit(int i) { return thumbs.findChild<QLineEdit*>(QString("txtThumbEdit_%1").arg(i)); }
    void add(std::string name, bool isLifFile = false, const Image* picture = nullptr) {
        thumbs.Add(name, isLifFile, picture);
    }
};

TEST(ThumbNailWidget, StartsEmptyWithElementZero) {
    Grid g;
    EXPECT_EQ(g.thumbs.objectName(), "ctlThumbs");
    EXPECT_EQ(g.thumbs.Count(), 0);
    EXPECT_EQ(g.thumbs.Caption(), "Thumbnails");
    EXPECT_FALSE(g.thumbs.Locked());
    ASSERT_NE(g.pic(0), nullptr);
    ASSERT_NE(g.label(0), nullptr);
    ASSERT_NE(g.edit(0), nullptr);
    EXPECT_FALSE(g.pic(0)->isVisible());
    EXPECT_FALSE(g.thumbs.findChild<QScrollBar*>("VScroll1")->isEnabled());
    g.thumbs.setCaption(QVariant(12));
    EXPECT_EQ(g.thumbs.findChild<QGroupBox*>("Frame1")->title(), "12");
}

TEST(ThumbNailWidget, CaptionTooltipAndPictures) {
    test::TempDir dir;
    test::writeBytes(dir / "hull.bmp", redBmp());
    Grid g;
    std::string name = (dir / "hull.bmp").string();
    g.thumbs.Add(name, true);
    EXPECT_EQ(name, (dir / "hull.lif").string());  // the caller's name changes too
    EXPECT_EQ(g.label(0)->text(), "hull");
    EXPECT_EQ(g.pic(0)->toolTip().toStdString(), (dir / "hull.lif").string());
    ASSERT_FALSE(g.pic(0)->pixmap().isNull());
    EXPECT_EQ(g.pic(0)->pixmap().toImage().pixelColor(0, 0), QColor(255, 0, 0));

    g.add((dir / "hull.bmp").string());
    EXPECT_EQ(g.pic(1)->toolTip().toStdString(), (dir / "hull.bmp").string());

    g.add((dir / "missing.bmp").string());  // blank picture, caption still there
    EXPECT_TRUE(g.pic(2)->pixmap().isNull());
    EXPECT_EQ(g.label(2)->text(), "missing");
    EXPECT_TRUE(g.label(2)->isVisible());

    const Image blue(2, 2, Rgba{0, 0, 255, 255});
    g.add((dir / "none.bmp").string(), true, &blue);  // handed in: used as is
    EXPECT_EQ(g.pic(3)->pixmap().toImage().pixelColor(1, 1), QColor(0, 0, 255));
    EXPECT_EQ(g.thumbs.Count(), 4);
}

TEST(ThumbNailWidget, GridPlacesAndScrolling) {
    Grid g;
    for (int i = 0; i < 12; ++i) g.add("t" + std::to_string(i) + ".bmp");
    auto* scroll = g.thumbs.findChild<QScrollBar*>("VScroll1");
    EXPECT_TRUE(scroll->isEnabled());
    EXPECT_EQ(scroll->maximum(), 3);
    EXPECT_EQ(g.pic(0)->pos(), QPoint(120 / 15, 240 / 15));
    EXPECT_EQ(g.pic(5)->pos(), QPoint((2 * 1100 + 120) / 15, (1220 + 240) / 15));
    EXPECT_EQ(g.label(5)->pos(), QPoint((2 * 1100 + 120) / 15, (1220 + 1220) / 15));
    EXPECT_TRUE(g.pic(8)->isVisible());
    EXPECT_FALSE(g.pic(9)->isVisible());
    tarv::test::scrollWithArrows(scroll, 1);
    EXPECT_FALSE(g.pic(2)->isVisible());
    EXPECT_TRUE(g.pic(3)->isVisible());
    EXPECT_EQ(g.pic(3)->pos(), QPoint(120 / 15, 240 / 15));
    EXPECT_TRUE(g.pic(11)->isVisible());
}

TEST(ThumbNailWidget, ClicksSelectAndRaiseTheirEvents) {
    Grid g;
    g.add("m/hull.bmp", true);
    g.add("m/engine.bmp", true);
    QSignalSpy clicks(&g.thumbs, &ThumbNail::Click);
    QSignalSpy doubles(&g.thumbs, &ThumbNail::DblClick);

    tarv::test::clickOn(g.label(1));
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(g.thumbs.grid().selection().selectedThumbPath, "m/engine.lif");
    EXPECT_EQ(g.label(1)->palette().color(QPalette::Window), QApplication::palette().color(QPalette::Highlight));

    tarv::test::clickOn(g.pic(0));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(g.thumbs.grid().selection().selectedThumbIndex, 0);
    EXPECT_EQ(g.thumbs.grid().selection().selectedThumbCaption, "hull");
    EXPECT_EQ(g.label(1)->palette().color(QPalette::Window), QApplication::palette().color(QPalette::Button));

    QTest::mouseDClick(g.pic(0), Qt::LeftButton);
    EXPECT_EQ(doubles.count(), 1);

    g.thumbs.Remove(0);
    EXPECT_EQ(g.thumbs.Count(), 2);
}

TEST(ThumbNailWidget, CaptionEditing) {
    Grid g;
    g.add("hull.bmp");
    g.add("engine.bmp");
    QSignalSpy edited(&g.thumbs, &ThumbNail::CaptionEdited);

    QTest::mouseDClick(g.label(0), Qt::LeftButton);
    ASSERT_TRUE(g.edit(0)->isVisible());
    g.edit(0)->selectAll();
    QTest::keyClicks(g.edit(0), "typed");
    QTest::keyClick(g.edit(0), Qt::Key_Escape);
    EXPECT_FALSE(g.edit(0)->isVisible());
    EXPECT_EQ(g.label(0)->text(), "hull");

    QTest::mouseDClick(g.label(0), Qt::LeftButton);
    ASSERT_TRUE(g.edit(0)->isVisible());
    g.edit(0)->selectAll();
    QTest::keyClicks(g.edit(0), "Hull2");
    QTest::keyClick(g.edit(0), Qt::Key_Return);
    EXPECT_EQ(edited.count(), 1);
    EXPECT_FALSE(g.edit(0)->isVisible());
    EXPECT_EQ(g.label(0)->text(), "Hull2");
    EXPECT_EQ(g.pic(0)->toolTip(), "hull.bmp");

    // Focus loss closes without a change.
    QTest::mouseDClick(g.label(1), Qt::LeftButton);
    ASSERT_TRUE(g.edit(1)->isVisible());
    g.edit(1)->selectAll();
    QTest::keyClicks(g.edit(1), "other");
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(g.edit(1), &out);
    EXPECT_FALSE(g.edit(1)->isVisible());
    EXPECT_EQ(g.label(1)->text(), "engine");
    EXPECT_EQ(edited.count(), 1);

    g.thumbs.setLocked(true);
    QTest::mouseDClick(g.label(1), Qt::LeftButton);
    EXPECT_FALSE(g.edit(1)->isVisible());
}

TEST(ThumbNailWidget, ClearThenAddReusesElementZero) {
    Grid g;
    for (int i = 0; i < 10; ++i) g.add("t" + std::to_string(i) + ".bmp");
    g.thumbs.Clear();
    EXPECT_EQ(g.thumbs.Count(), 0);
    EXPECT_EQ(g.pic(1), nullptr);
    EXPECT_FALSE(g.pic(0)->isVisible());
    EXPECT_FALSE(g.label(0)->isVisible());
    EXPECT_FALSE(g.thumbs.findChild<QScrollBar*>("VScroll1")->isEnabled());
    g.add("x/new.bmp");
    EXPECT_EQ(g.label(0)->text(), "new");
    EXPECT_TRUE(g.pic(0)->isVisible());
    EXPECT_EQ(g.pic(1), nullptr);
}

}  // namespace
}  // namespace tarv

namespace tarv {
namespace {

// Redraw touches only the elements whose place or visibility changes; after every step the elements stand
// where the full layout puts them: shown exactly when placed and visible, placed ones at their places.
void expectAsLaidOut(ThumbNail& thumbs, const std::string& step) {
    const std::vector<ThumbPlacement> places = thumbs.grid().redraw();
    ASSERT_EQ(places.size(), size_t(thumbs.Count())) << step;
    for (size_t i = 0; i < places.size(); ++i) {
        const bool shown = places[i].placed && places[i].visible;
        EXPECT_EQ(!thumbs.picThumbs[i]->isHidden(), shown) << step << " picture " << i;
        EXPECT_EQ(!thumbs.lblThumbs[i]->isHidden(), shown) << step << " caption " << i;
        if (!places[i].placed) continue;
        const auto at = [](const TwipRect& r) { return QPoint(r.left / kTwipsPerPixel, r.top / kTwipsPerPixel); };
        EXPECT_EQ(thumbs.picThumbs[i]->pos(), at(places[i].picture)) << step << " " << i;
        EXPECT_EQ(thumbs.lblThumbs[i]->pos(), at(places[i].caption)) << step << " " << i;
        EXPECT_EQ(thumbs.txtThumbEdit[i]->pos(), at(places[i].editor)) << step << " " << i;
    }
    EXPECT_EQ(thumbs.VScroll1->maximum(), thumbs.grid().scrollMaximum()) << step;
    EXPECT_EQ(thumbs.VScroll1->isEnabled(), thumbs.grid().scrollEnabled()) << step;
    EXPECT_EQ(thumbs.VScroll1->value(), thumbs.grid().scrollPosition()) << step;
}

TEST(ThumbNailWidget, RedrawLeavesTheSameGridAsTheFullLayout) {
    Grid g;
    const Image red(4, 4, Rgba{255, 0, 0, 255});
    for (int i = 0; i < 25; ++i) {
        g.add("C:\\t\\tex" + std::to_string(i) + ".bmp", true, &red);
        expectAsLaidOut(g.thumbs, "add " + std::to_string(i));
    }
    tarv::test::scrollWithArrows(g.thumbs.VScroll1, 3);
    expectAsLaidOut(g.thumbs, "scrolled to 3");
    g.thumbs.resize(3050 / kTwipsPerPixel, 2190 / kTwipsPerPixel);  // 2 columns, 2 rows
    expectAsLaidOut(g.thumbs, "narrower");
    tarv::test::scrollWithArrows(g.thumbs.VScroll1, 0);
    expectAsLaidOut(g.thumbs, "scrolled back");
    g.thumbs.resize(3855 / kTwipsPerPixel, 4455 / kTwipsPerPixel);
    expectAsLaidOut(g.thumbs, "design size");
    g.thumbs.Clear();
    for (int i = 0; i < 4; ++i) g.add("tex" + std::to_string(i) + ".bmp", true, &red);
    expectAsLaidOut(g.thumbs, "after Clear");
}

}  // namespace
}  // namespace tarv
