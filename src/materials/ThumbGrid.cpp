#include "materials/ThumbGrid.h"

#include <algorithm>

#include "base/Paths.h"

namespace tarv {

std::string thumbCaptionOf(const std::string& filename) {
    const std::string name = fileNameOf(filename);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string thumbLifPathOf(const std::string& filename) {
    const std::string name = fileNameOf(filename);
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos) return filename + ".lif";
    // A texture file keeps the letter case it was found in.
    if (asciiLower(name.substr(dot)) == ".lif") return filename;
    return filename.substr(0, filename.size() - name.size() + dot) + ".lif";
}

void ThumbGrid::Add(std::string& filename, bool isLifFile) {
    const int n = thumbCount_;
    if (n > 0) elements_.resize(size_t(n) + 1);
    ThumbElement& e = elements_[size_t(n)];
    e = {};
    e.caption = thumbCaptionOf(filename);
    e.editText = e.caption;
    if (isLifFile) filename = thumbLifPathOf(filename);
    e.path = filename;
    thumbCount_ = n + 1;
    scrollMaximum_ = layout_.scrollMaximum(thumbCount_);
    scrollPosition_ = std::min(scrollPosition_, scrollMaximum_);
    if (layout_.scrollEnabledBy(thumbCount_)) scrollEnabled_ = true;
}

void ThumbGrid::Clear() {
    elements_.resize(1);
    elements_[0].editorVisible = false;
    thumbCount_ = 0;
    scrollEnabled_ = false;
    selectedThumb_ = -1;
    editIndex_ = -1;
}

void ThumbGrid::resize(int innerWidth, int innerHeight) { layout_.resize(innerWidth, innerHeight); }

void ThumbGrid::setScrollPosition(int position) { scrollPosition_ = std::clamp(position, 0, scrollMaximum_); }

void ThumbGrid::select(int i) {
    selectedThumb_ = i;
    const ThumbElement& e = elements_.at(size_t(i));
    selection_ = {int16_t(i), e.caption, e.path};
    if (editIndex_ >= 0) elements_[size_t(editIndex_)].editorVisible = false;
}

void ThumbGrid::captionClick(int i) { select(i); }

void ThumbGrid::pictureClick(int i) {
    if (editIndex_ >= 0) elements_[size_t(editIndex_)].editorVisible = false;
    select(i);
}

bool ThumbGrid::captionDoubleClick(int i) {
    if (Locked) return false;
    editIndex_ = i;
    elements_.at(size_t(i)).editorVisible = true;
    return true;
}

void ThumbGrid::editorEnter(int i) {
    ThumbElement& e = elements_.at(size_t(i));
    e.caption = e.editText;
    e.editorVisible = false;
}

void ThumbGrid::editorClose(int i) { elements_.at(size_t(i)).editorVisible = false; }

}  // namespace tarv
