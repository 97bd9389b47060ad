// The thumbnail grid's geometry: what fits, where the frame and scroll bar go, which thumbnails a scroll
// position shows, the bottom-edge rule and the scroll range that Add sets.
#include <gtest/gtest.h>

#include "materials/ThumbLayout.h"

using namespace tarv;

namespace {

ThumbLayout sized(int width, int height) {
    ThumbLayout layout;
    layout.resize(width, height);
    return layout;
}

}  // namespace

TEST(ThumbLayout, RowsAndColumnsRoundHalfToEven) {
    struct Case {
        int width, height, columns, rows;
    };
    const Case cases[] = {
        {3855, 4455, 3, 3},                      // the main window's grid
        {3050, 4455, 2, 3},                      // 2.5 columns round to the even 2
        {3100, 4455, 3, 3}, {3855, 2190, 3, 2},  // 1.5 rows round to 2
        {3855, 3650, 3, 2},                      // 2.5 rows round to 2
        {1400, 700, 1, 0},  {600, 4455, 0, 3},
    };
    for (const Case& c : cases) {
        ThumbLayout layout = sized(c.width, c.height);
        EXPECT_EQ(layout.thumbColumns, c.columns) << c.width;
        EXPECT_EQ(layout.thumbRows, c.rows) << c.height;
    }
}

TEST(ThumbLayout, FrameAndScrollBarFromFourteenHundredTwips) {
    ThumbLayout layout = sized(3855, 4455);
    EXPECT_TRUE(layout.frameEnabled);
    EXPECT_EQ(layout.frame, (TwipRect{0, 0, 3855, 4455}));
    EXPECT_EQ(layout.scrollBar, (TwipRect{3505, 160, 255, 4215}));

    // Narrower: the frame is disabled and keeps its place; the counts still follow the new size.
    layout.resize(1399, 2920);
    EXPECT_FALSE(layout.frameEnabled);
    EXPECT_EQ(layout.frame, (TwipRect{0, 0, 3855, 4455}));
    EXPECT_EQ(layout.scrollBar, (TwipRect{3505, 160, 255, 4215}));
    EXPECT_EQ(layout.thumbColumns, 1);
    EXPECT_EQ(layout.thumbRows, 2);

    layout.resize(1400, 2920);
    EXPECT_TRUE(layout.frameEnabled);
    EXPECT_EQ(layout.frame, (TwipRect{0, 0, 1400, 2920}));
    EXPECT_EQ(layout.scrollBar, (TwipRect{1050, 160, 255, 2680}));
}

TEST(ThumbLayout, GridPlacesAndElementSizes) {
    EXPECT_EQ(ThumbLayout::picturePlace(0, 0), (TwipRect{120, 240, 990, 990}));
    EXPECT_EQ(ThumbLayout::picturePlace(2, 1), (TwipRect{2320, 1460, 990, 990}));
    EXPECT_EQ(ThumbLayout::captionPlace(2, 1), (TwipRect{2320, 2440, 990, 225}));
    EXPECT_EQ(ThumbLayout::editorPlace(1, 2), (TwipRect{1220, 3660, 975, 195}));
}

TEST(ThumbLayout, ScrollPositionOneShowsThreeToEleven) {
    ThumbLayout layout = sized(3855, 4455);
    auto places = layout.redraw(14, 1);
    ASSERT_EQ(places.size(), 14u);
    for (int i = 0; i < 14; ++i) {
        const bool inWindow = i >= 3 && i <= 11;
        EXPECT_EQ(places[i].placed, inWindow) << i;
        EXPECT_EQ(places[i].visible, inWindow) << i;
        if (inWindow) {
            const int k = (i - 3) % 3;
            const int j = (i - 3) / 3;
            EXPECT_EQ(places[i].picture, ThumbLayout::picturePlace(k, j)) << i;
            EXPECT_EQ(places[i].caption, ThumbLayout::captionPlace(k, j)) << i;
            EXPECT_EQ(places[i].editor, ThumbLayout::editorPlace(k, j)) << i;
        }
    }
}

TEST(ThumbLayout, PictureReachingTheFrameBottomStaysHidden) {
    // Two rows fit by the counting rule, but the second row's picture ends at 2450, below the frame's 2190.
    ThumbLayout layout = sized(3855, 2190);
    auto places = layout.redraw(6, 0);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(places[i].visible) << i;
    for (int i = 3; i < 6; ++i) {
        EXPECT_TRUE(places[i].placed) << i;
        EXPECT_FALSE(places[i].visible) << i;
    }
    // Ending exactly at the bottom edge is hidden too: the second row's picture ends at 2450.
    layout.resize(3855, 2450);
    EXPECT_FALSE(layout.redraw(4, 0)[3].visible);
    layout.resize(3855, 2451);
    EXPECT_TRUE(layout.redraw(4, 0)[3].visible);
}

TEST(ThumbLayout, TenthAddEnablesScrollingNinthDoesNot) {
    ThumbLayout layout = sized(3855, 4455);
    EXPECT_EQ(layout.scrollMaximum(9), 2);
    EXPECT_FALSE(layout.scrollEnabledBy(9));
    EXPECT_EQ(layout.scrollMaximum(10), 3);
    EXPECT_TRUE(layout.scrollEnabledBy(10));
    EXPECT_EQ(layout.scrollMaximum(1), 0);
}

TEST(ThumbLayout, NoColumnsCountsOneColumnPerRowAndPlacesNothing) {
    // A control too narrow for one column: the scroll range divides by one instead of failing.
    ThumbLayout layout = sized(600, 4455);
    ASSERT_EQ(layout.thumbColumns, 0);
    EXPECT_EQ(layout.scrollMaximum(5), 4);
    EXPECT_TRUE(layout.scrollEnabledBy(5));
    for (const ThumbPlacement& p : layout.redraw(5, 0)) {
        EXPECT_FALSE(p.placed);
        EXPECT_FALSE(p.visible);
    }
}
