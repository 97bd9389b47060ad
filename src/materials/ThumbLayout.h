#pragma once
// The geometry of the thumbnail grid (ctlThumbs), in twips: how many rows and columns fit, where the frame
// and the scroll bar go, where each thumbnail of the visible window stands and whether it shows, and the
// scroll range that Add sets. Plain numbers only; the widget places its elements from these results.
#include <cstdint>
#include <vector>

namespace tarv {

// Twips per screen pixel.
constexpr int kTwipsPerPixel = 15;

struct TwipRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const TwipRect&, const TwipRect&) = default;
};

// Element sizes of one thumbnail.
constexpr int kThumbPictureSide = 990;
constexpr int kThumbCaptionWidth = 990;
constexpr int kThumbCaptionHeight = 225;
constexpr int kThumbEditWidth = 975;
constexpr int kThumbEditHeight = 195;
// Below this inner width the frame is disabled and keeps its previous place.
constexpr int kThumbMinFrameWidth = 1400;

// Where one element stands after Redraw. An element outside the visible window keeps its previous place
// (placed false) and is hidden.
struct ThumbPlacement {
    bool placed = false;
    bool visible = false;
    TwipRect picture;
    TwipRect caption;
    TwipRect editor;
};

class ThumbLayout {
public:
    // A new size of the control: the frame and the scroll bar (from 1400 twips of width), then the rows and
    // columns that fit (each rounded half to even).
    void resize(int innerWidth, int innerHeight);

    // Places the count thumbnails for the scroll position: those in the window of thumbRows rows starting at
    // row scrollPosition are placed on the grid; one shows when its picture ends above the frame's bottom.
    std::vector<ThumbPlacement> redraw(int count, int scrollPosition) const;

    // The scroll bar's maximum after Add brought the count to count (>= 1): the index of the last row.
    // A grid without columns counts one column per row.
    int scrollMaximum(int count) const;
    // Whether that Add enables the scroll bar (it never disables it; Clear does).
    bool scrollEnabledBy(int count) const;

    // Picture, caption and editor places of column k and row j of the visible window.
    static TwipRect picturePlace(int k, int j);
    static TwipRect captionPlace(int k, int j);
    static TwipRect editorPlace(int k, int j);

    int16_t thumbColumns = 0;
    int16_t thumbRows = 0;
    bool frameEnabled = true;
    TwipRect frame;
    TwipRect scrollBar;
};

}  // namespace tarv
