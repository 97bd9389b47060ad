#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "Fakes.h"
#include "RoadHooks.h"
#include "Screenshot.h"
#include "TempDir.h"
#include "WindowFixture.h"
#include "meshtools/ui/LodFrame.h"
#include "editor/context/EditingContext.h"

using namespace tarv;

namespace {
// The frame as the mesh tools build it into the main window.
struct FrameFixture : tarv::test::WindowFixture, ::testing::Test {
    LodFrame& frame = *window.findChild<LodFrame*>("fraLod");
    FrameFixture() { window.show(); }
    template <class T>
    T* find(const char* name) {
        return frame.findChild<T*>(name);
    }
    // A left click on the entry, on the Tools page where the frame sits.
    void clickRow(int row) {
        tarv::test::clickTab(window.SSTab1, window.pageTools);
        QListWidget* list = frame.lstLodFiles;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
        ASSERT_EQ(list->currentRow(), row);
    }
    void click(Qt::MouseButton button) {
        QTest::mouseClick(find<QListWidget>("lstLodFiles")->viewport(), button, {}, QPoint(5, 5));
    }
};
}  // namespace

TEST_F(FrameFixture, ControlsCarryTheirNamesAndCaptions) {
    EXPECT_EQ(frame.title(), "Multi-File options (LOD)");
    ASSERT_NE(find<QLabel>("lblLodPath"), nullptr);
    EXPECT_EQ(find<QPushButton>("cmdAddToLod")->text(), "Add to File List");
    EXPECT_EQ(find<QPushButton>("cmdMultiFile")->text(), "Multi-file menu");
    EXPECT_EQ(find<QAction>("mnuLodCommandsMatrix")->text(), "Apply matrix & heirachy to all files");
    EXPECT_FALSE(find<QPushButton>("cmdMultiFile")->isEnabled());
}

TEST_F(FrameFixture, RightClickOnAnEmptyListShowsBothItemsDisabledAndALeftClickShowsNothing) {
    click(Qt::LeftButton);
    EXPECT_FALSE(frame.mnuLodList->isVisible());
    click(Qt::RightButton);
    EXPECT_TRUE(frame.mnuLodList->isVisible());
    EXPECT_FALSE(frame.mnuLodListDelete->isEnabled());
    EXPECT_FALSE(frame.mnuLodFileSwitch->isEnabled());
    frame.mnuLodList->hide();

    t.ctx.lod.lstLodFiles = {{"a.peo", "a.peo"}, {"RL1\\LOD1\\ship.peo", "b.peo"}};
    t.ctx.lod.lblLodPath = "/ships/ship/";
    frame.refresh();
    tarv::test::saveScreenshotIfAsked(frame, "lod_frame");
    click(Qt::RightButton);
    EXPECT_TRUE(frame.mnuLodListDelete->isEnabled());
    frame.mnuLodList->hide();
}

TEST_F(FrameFixture, DeletingTheLastEntryDisablesTheMultiFileButton) {
    t.ctx.lod.lstLodFiles = {{"a.peo", "a.peo"}};
    t.ctx.lod.cmdMultiFileEnabled = true;
    frame.refresh();
    EXPECT_TRUE(find<QPushButton>("cmdMultiFile")->isEnabled());
    clickRow(0);
    frame.mnuLodListDelete->trigger();
    EXPECT_EQ(frame.lstLodFiles->count(), 0);
    EXPECT_FALSE(find<QPushButton>("cmdMultiFile")->isEnabled());
}

TEST_F(FrameFixture, SwitchHandsTheEntrysFullPathToTheLoadRoad) {
    std::string loaded;
    test::LoadRoadWatch road(t.ctx, [&](EditingContext& c) { loaded = c.currentModelPath; });
    t.ctx.lod.lstLodFiles = {{"a.peo", "/ships/a.peo"}, {"b.peo", "/ships/lod/b.peo"}};
    frame.refresh();
    frame.mnuLodFileSwitch->trigger();
    EXPECT_EQ(loaded, "");
    clickRow(1);
    frame.mnuLodFileSwitch->trigger();
    EXPECT_EQ(loaded, "/ships/lod/b.peo");
}

TEST_F(FrameFixture, ApplyOnAnEmptyListShowsOnlyTheMessage) {
    t.prompts.expectMessage("Apply matrix/heirachy operation completed!");
    frame.mnuLodCommandsMatrix->trigger();
    EXPECT_EQ(t.prompts.shown.size(), 1u);
}
