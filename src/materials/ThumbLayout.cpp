#include "materials/ThumbLayout.h"

#include <algorithm>

#include "base/NumberText.h"

namespace tarv {

void ThumbLayout::resize(int innerWidth, int innerHeight) {
    if (innerWidth < kThumbMinFrameWidth) {
        frameEnabled = false;
    } else {
        frame = {0, 0, innerWidth, innerHeight};
        scrollBar = {innerWidth - 350, 160, 255, innerHeight - 240};
        frameEnabled = true;
    }
    thumbColumns = toInt16(double(innerWidth) / 1220.0);
    thumbRows = toInt16(double(innerHeight) / 1460.0);
}

TwipRect ThumbLayout::picturePlace(int k, int j) {
    return {k * 1100 + 120, j * 1220 + 240, kThumbPictureSide, kThumbPictureSide};
}

TwipRect ThumbLayout::captionPlace(int k, int j) {
    return {k * 1100 + 120, j * 1220 + 1220, kThumbCaptionWidth, kThumbCaptionHeight};
}

TwipRect ThumbLayout::editorPlace(int k, int j) {
    return {k * 1100 + 120, j * 1220 + 1220, kThumbEditWidth, kThumbEditHeight};
}

std::vector<ThumbPlacement> ThumbLayout::redraw(int count, int scrollPosition) const {
    std::vector<ThumbPlacement> out(size_t(std::max(count, 0)));
    const long long first = (long long)thumbColumns * scrollPosition;
    const long long last = first + (long long)thumbRows * thumbColumns - 1;
    int k = 0;
    int j = 0;
    for (int i = 0; i < count; ++i) {
        if (i < first || i > last) continue;
        if (k == thumbColumns) {
            ++j;
            k = 0;
        }
        ThumbPlacement& p = out[size_t(i)];
        p.placed = true;
        p.picture = picturePlace(k, j);
        p.caption = captionPlace(k, j);
        p.editor = editorPlace(k, j);
        p.visible = p.picture.top + p.picture.height < frame.height;
        ++k;
    }
    return out;
}

int ThumbLayout::scrollMaximum(int count) const { return (count - 1) / std::max<int>(thumbColumns, 1); }

bool ThumbLayout::scrollEnabledBy(int count) const { return thumbRows - 1 < scrollMaximum(count); }

}  // namespace tarv
