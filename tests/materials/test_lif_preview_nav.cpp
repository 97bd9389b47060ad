// The texture preview's Previous and Next: the buttons for 0, 1 and 3 items, and the folder a step
// looks in (the .shp's mesh-extras folder when set, else the model folder; any letter case).
#include <gtest/gtest.h>

#include <filesystem>

#include "TempDir.h"
#include "materials/LifPreviewNav.h"

using namespace tarv;
using tarv::test::TempDir;

TEST(LifPreviewNav, ButtonsForTheSelection) {
    struct Case {
        int count, selected;
        bool prev, next;
    };
    const Case cases[] = {
        {0, -1, false, false}, {1, 0, false, false},  // a single item: both off
        {3, 0, false, true},   {3, 1, true, true},   {3, 2, true, false}, {3, -1, true, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(navButtonsFor(c.count, c.selected), (LifNavButtons{c.prev, c.next}))
            << c.count << " items, selected " << c.selected;
}

TEST(LifPreviewNav, MexFolderWithBackslashesAndAnotherLetterCase) {
    TempDir dir;
    std::filesystem::create_directories(dir / "Ships" / "Data");
    tarv::test::writeBytes(dir / "Ships" / "Data" / "Engine.LIF", {1});
    tarv::test::writeBytes(dir / "model.peo", {1});

    const std::string mex = dir.folderText() + "ships\\DATA\\tarv.mex";
    EXPECT_EQ(neighbourLifPath(mex, (dir / "model.peo").string(), "engine"),
              (dir / "Ships" / "Data" / "Engine.LIF").string());
    // Not there: the path as written, with "/" separators.
    EXPECT_EQ(neighbourLifPath(mex, (dir / "model.peo").string(), "hull"),
              (dir / "Ships" / "Data" / "hull.lif").string());
}

TEST(LifPreviewNav, EmptyMexPathUsesTheModelFolder) {
    TempDir dir;
    std::filesystem::create_directories(dir / "other");
    tarv::test::writeBytes(dir / "Hull.lif", {1});
    tarv::test::writeBytes(dir / "other" / "hull.lif", {1});
    EXPECT_EQ(neighbourLifPath("", (dir / "model.peo").string(), "hull"), (dir / "Hull.lif").string());
    // A set mesh-extras path wins over the model folder.
    EXPECT_EQ(neighbourLifPath((dir / "other" / "x.mex").string(), (dir / "model.peo").string(), "hull"),
              (dir / "other" / "hull.lif").string());
}
