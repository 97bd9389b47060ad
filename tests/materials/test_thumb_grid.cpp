// The thumbnail grid's behaviour: captions and stored names (with and without a dot or a .lif rewrite),
// the scroll range, Clear, selection, caption editing and Locked.
#include <gtest/gtest.h>

#include "materials/ThumbGrid.h"

using namespace tarv;

namespace {

ThumbGrid mainWindowGrid() {
    ThumbGrid grid;
    grid.resize(3855, 4455);
    return grid;
}

void addNamed(ThumbGrid& grid, const std::string& name, bool isLifFile = false) {
    std::string filename = name;
    grid.Add(filename, isLifFile);
}

}  // namespace

TEST(ThumbGrid, CaptionAndStoredName) {
    struct Case {
        const char* filename;
        bool isLifFile;
        const char* caption;
        const char* stored;
    };
    const Case cases[] = {
        {"tmp/hull.bmp", true, "hull", "tmp/hull.lif"},
        {"tmp/hull.bmp", false, "hull", "tmp/hull.bmp"},
        {"C:\\ships\\Tarv\\Engine.lif", true, "Engine", "C:\\ships\\Tarv\\Engine.lif"},
        {"a.b/hull", true, "hull", "a.b/hull.lif"},  // no dot in the name: ".lif" is appended
        {"a.b\\hull", false, "hull", "a.b\\hull"},
        {"hull.x.bmp", true, "hull.x", "hull.x.lif"},
        {"m/Engine.LIF", true, "Engine", "m/Engine.LIF"},  // found in that letter case
    };
    for (const Case& c : cases) {
        ThumbGrid grid = mainWindowGrid();
        std::string filename = c.filename;
        grid.Add(filename, c.isLifFile);
        EXPECT_EQ(filename, c.stored) << c.filename;  // the caller's name changes with it
        ASSERT_EQ(grid.Count(), 1);
        EXPECT_EQ(grid.elements()[0].caption, c.caption) << c.filename;
        EXPECT_EQ(grid.elements()[0].editText, c.caption) << c.filename;
        EXPECT_EQ(grid.elements()[0].path, c.stored) << c.filename;
    }
}

TEST(ThumbGrid, TenthAddEnablesScrollingAndPositionOneShowsThreeToEleven) {
    ThumbGrid grid = mainWindowGrid();
    for (int i = 0; i < 9; ++i) addNamed(grid, "t" + std::to_string(i) + ".bmp");
    EXPECT_EQ(grid.scrollMaximum(), 2);
    EXPECT_FALSE(grid.scrollEnabled());
    addNamed(grid, "t9.bmp");
    EXPECT_EQ(grid.scrollMaximum(), 3);
    EXPECT_TRUE(grid.scrollEnabled());

    addNamed(grid, "t10.bmp");
    addNamed(grid, "t11.bmp");
    grid.setScrollPosition(1);
    auto places = grid.redraw();
    ASSERT_EQ(places.size(), 12u);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(places[i].visible, i >= 3) << i;
    EXPECT_EQ(places[3].picture, ThumbLayout::picturePlace(0, 0));
}

TEST(ThumbGrid, AddWithoutColumnsDoesNotFail) {
    ThumbGrid grid;
    grid.resize(600, 4455);
    addNamed(grid, "a.bmp");
    addNamed(grid, "b.bmp");
    EXPECT_EQ(grid.Count(), 2);
    EXPECT_EQ(grid.scrollMaximum(), 1);
}

TEST(ThumbGrid, ClearEmptiesAndTheNextAddReusesElementZero) {
    ThumbGrid grid = mainWindowGrid();
    for (int i = 0; i < 10; ++i) addNamed(grid, "t" + std::to_string(i) + ".bmp");
    grid.pictureClick(4);
    ASSERT_TRUE(grid.captionDoubleClick(4));
    grid.Clear();
    EXPECT_EQ(grid.Count(), 0);
    EXPECT_EQ(grid.elements().size(), 1u);
    EXPECT_FALSE(grid.elements()[0].editorVisible);
    EXPECT_FALSE(grid.scrollEnabled());
    EXPECT_EQ(grid.selectedThumb(), -1);
    EXPECT_EQ(grid.editIndex(), -1);
    EXPECT_TRUE(grid.redraw().empty());

    addNamed(grid, "x/new.bmp");
    EXPECT_EQ(grid.Count(), 1);
    EXPECT_EQ(grid.elements().size(), 1u);
    EXPECT_EQ(grid.elements()[0].caption, "new");
    EXPECT_EQ(grid.elements()[0].path, "x/new.bmp");
}

TEST(ThumbGrid, ClicksSelectAndSetTheSelectedValues) {
    ThumbGrid grid = mainWindowGrid();
    addNamed(grid, "m/hull.bmp", true);
    addNamed(grid, "m/engine.bmp", true);
    grid.captionClick(1);
    EXPECT_EQ(grid.selectedThumb(), 1);
    EXPECT_EQ(grid.selection().selectedThumbIndex, 1);
    EXPECT_EQ(grid.selection().selectedThumbCaption, "engine");
    EXPECT_EQ(grid.selection().selectedThumbPath, "m/engine.lif");

    grid.pictureClick(0);
    EXPECT_EQ(grid.selectedThumb(), 0);
    EXPECT_EQ(grid.selection().selectedThumbPath, "m/hull.lif");
}

TEST(ThumbGrid, CaptionEditing) {
    ThumbGrid grid = mainWindowGrid();
    addNamed(grid, "hull.bmp");
    addNamed(grid, "engine.bmp");
    grid.captionClick(0);

    // Escape keeps the caption; the typed text stays in the box for the next opening.
    ASSERT_TRUE(grid.captionDoubleClick(0));
    EXPECT_EQ(grid.editIndex(), 0);
    EXPECT_TRUE(grid.elements()[0].editorVisible);
    grid.setEditText(0, "typed");
    grid.editorClose(0);
    EXPECT_FALSE(grid.elements()[0].editorVisible);
    EXPECT_EQ(grid.elements()[0].caption, "hull");
    EXPECT_EQ(grid.elements()[0].editText, "typed");

    // Enter copies the text; the path and the selected caption stay.
    ASSERT_TRUE(grid.captionDoubleClick(0));
    grid.setEditText(0, "Hull2");
    grid.editorEnter(0);
    EXPECT_FALSE(grid.elements()[0].editorVisible);
    EXPECT_EQ(grid.elements()[0].caption, "Hull2");
    EXPECT_EQ(grid.elements()[0].path, "hull.bmp");
    EXPECT_EQ(grid.selection().selectedThumbCaption, "hull");

    // Selecting another thumbnail closes an open editor.
    ASSERT_TRUE(grid.captionDoubleClick(0));
    grid.captionClick(1);
    EXPECT_FALSE(grid.elements()[0].editorVisible);

    grid.Locked = true;
    EXPECT_FALSE(grid.captionDoubleClick(1));
    EXPECT_FALSE(grid.elements()[1].editorVisible);
}

TEST(ThumbGrid, RemoveChangesNothing) {
    ThumbGrid grid = mainWindowGrid();
    addNamed(grid, "hull.bmp");
    grid.Remove(0);
    grid.Remove(7);
    EXPECT_EQ(grid.Count(), 1);
    EXPECT_EQ(grid.elements()[0].caption, "hull");
}
