#pragma once
// The thumbnail grid's behaviour (ctlThumbs) as plain state: the elements' captions, tooltips and edit
// texts, the selection and the program-wide selected values, caption editing, the scroll range and the
// layout of the visible window. The widget mirrors it and raises the events its calls report.
#include <cstdint>
#include <string>
#include <vector>

#include "materials/ThumbLayout.h"

namespace tarv {

// What the grid tells the rest of the program about its selection.
struct ThumbSelection {
    int16_t selectedThumbIndex = 0;
    std::string selectedThumbCaption;
    std::string selectedThumbPath;
};

struct ThumbElement {
    std::string caption;   // lblThumbs
    std::string editText;  // txtThumbEdit: the caption Add gave, or the text last typed
    std::string path;      // picThumbs' tooltip
    bool editorVisible = false;
};

// The caption Add gives a file: the text after its last separator, up to its last dot.
std::string thumbCaptionOf(const std::string& filename);
// The name Add stores for a texture: everything from the file name's last dot replaced by ".lif", or
// ".lif" appended when the name has no dot. A name that ends in ".lif" in any letter case stays.
std::string thumbLifPathOf(const std::string& filename);

class ThumbGrid {
public:
    ThumbGrid() : elements_(1) {}

    int Count() const { return thumbCount_; }

    // Appends a thumbnail. With isLifFile, filename becomes the texture's .lif name (the caller's too).
    void Add(std::string& filename, bool isLifFile = false);
    void Clear();
    // Accepted and does nothing.
    void Remove(int) {}

    void resize(int innerWidth, int innerHeight);
    // The scroll bar moved (the platform keeps it within 0..scrollMaximum).
    void setScrollPosition(int position);
    // The places of elements 0 .. count-1 for the current size and scroll position.
    std::vector<ThumbPlacement> redraw() const { return layout_.redraw(thumbCount_, scrollPosition_); }

    // A click on caption i: selects it, no event.
    void captionClick(int i);
    // A click on picture i: closes the open editor and selects i. The caller raises Click.
    void pictureClick(int i);
    // A double-click on caption i opens its editor unless Locked; true when it opened.
    bool captionDoubleClick(int i);
    // Enter in editor i: the caption takes the text and the editor closes. The caller raises CaptionEdited.
    void editorEnter(int i);
    // Escape in editor i, or the editor (or the whole grid, for the open one) losing the focus.
    void editorClose(int i);
    void setEditText(int i, std::string text) { elements_.at(size_t(i)).editText = std::move(text); }
    // Gives thumbnail i another caption (and edit text) than its file name gives.
    void setCaptionText(int i, const std::string& text) {
        elements_.at(size_t(i)).caption = text;
        elements_.at(size_t(i)).editText = text;
    }

    std::string Caption = "Thumbnails";
    bool Locked = false;

    const ThumbLayout& layout() const { return layout_; }
    const std::vector<ThumbElement>& elements() const { return elements_; }
    int selectedThumb() const { return selectedThumb_; }
    int editIndex() const { return editIndex_; }
    bool scrollEnabled() const { return scrollEnabled_; }
    int scrollMaximum() const { return scrollMaximum_; }
    int scrollPosition() const { return scrollPosition_; }
    const ThumbSelection& selection() const { return selection_; }

private:
    void select(int i);

    ThumbLayout layout_;
    std::vector<ThumbElement> elements_;  // element 0 always exists
    int thumbCount_ = 0;
    int selectedThumb_ = -1;
    int editIndex_ = -1;
    bool scrollEnabled_ = false;
    int scrollMaximum_ = 0;
    int scrollPosition_ = 0;
    ThumbSelection selection_;
};

}  // namespace tarv
