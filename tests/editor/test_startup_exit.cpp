// Start-up state, the command line, and the two ways out with the log-files question.
#include <gtest/gtest.h>

#include <filesystem>

#include "RoadFixture.h"
#include "editor/LoadRoad.h"
#include "editor/StartupExit.h"
#include "meshtools/state/ToolsPageState.h"
#include "attachments/state/ShipInfoPageState.h"
#include "editor/context/EditingContext.h"

namespace tarv::test {
namespace fs = std::filesystem;

TEST(CommandLine, ArgumentsAreJoinedByOneBlankUnchanged) {
    EXPECT_EQ(commandLineText({}), "");
    EXPECT_EQ(commandLineText({"/a/My", "Ship.peo"}), "/a/My Ship.peo");
    EXPECT_EQ(commandLineText({"\"/a/b.peo\""}), "\"/a/b.peo\"");
}

TEST(StartupState, TheVariantFollowsDefaultFileFormatAndEverythingStartsDisabled) {
    TempDir dir;
    for (auto [format, cataclysm] : {std::pair{1026, false}, {1280, true}, {777, false}}) {
        TestContext t(dir.path());
        t.ctx.prefs.defaultFileFormat = format;
        t.ctx.road.pagesEnabled = t.ctx.road.mnuReloadEnabled = true;
        t.ctx.road.keyframesPageEnabled = true;
        applyStartupState(t.ctx);
        EXPECT_EQ(t.ctx.road.cataclysmVariant, cataclysm) << format;
        EXPECT_FALSE(t.ctx.road.pagesEnabled.value_or(true) || t.ctx.road.keyframesPageEnabled.value_or(true) ||
                     t.ctx.road.mnuReloadEnabled || t.ctx.road.mnuFileSaveEnabled || t.ctx.road.mnuFileSaveAsEnabled ||
                     t.ctx.shell.mnuBUCEnabled || t.ctx.shell.mnuRevBUEnabled || t.ctx.lod.cmdAddToLodEnabled ||
                     t.ctx.lod.cmdMultiFileEnabled);
        EXPECT_EQ(t.ctx.model.modelExtent, 1.0);
        EXPECT_EQ(t.ctx.toolsPage->cmbObjectSize.items.size(), 7u);
        EXPECT_EQ(t.ctx.toolsPage->txtScaleAmount, "6000");  // "Fighter" with an extent of 1
        EXPECT_EQ(t.ctx.toolsPage->cmbRotateAmount.items, (std::vector<std::string>{"90", "180"}));
        EXPECT_EQ(t.ctx.shipInfoPage->cmbShpGunType.listIndex, -1);
        EXPECT_EQ(t.ctx.objects.selectedObject, -1);
    }
}

// The chunk edit fields of "Mex Data" start hidden; a chunk type shows the ones it needs.
TEST(StartupState, TheChunkEditFieldsStartHidden) {
    TempDir dir;
    TestContext t(dir.path());
    MexDataPage& page = t.ctx.shipInfoPage->mexData;
    for (auto& label : page.mexLabel) label.visible = true;
    for (MexDataBox* box :
         {&page.txtMexName, &page.txtChunkId, &page.txtAngle[0], &page.txtAngle[1], &page.txtMexPos[0],
          &page.txtMexPos[1], &page.txtMexPos[2], &page.txtMexOrt[0], &page.txtMexOrt[1], &page.txtMexOrt[2]})
        box->visible = true;
    page.lblChunkID.visible = true;
    applyStartupState(t.ctx);
    for (const auto& label : page.mexLabel) EXPECT_FALSE(label.visible);
    for (const MexDataBox* box :
         {&page.txtMexName, &page.txtChunkId, &page.txtAngle[0], &page.txtAngle[1], &page.txtMexPos[0],
          &page.txtMexPos[1], &page.txtMexPos[2], &page.txtMexOrt[0], &page.txtMexOrt[1], &page.txtMexOrt[2]})
        EXPECT_FALSE(box->visible);
    EXPECT_FALSE(page.lblChunkID.visible);
}

class ExitTest : public RoadTest {
protected:
    const int& ended = roadWindow.ends;
};

TEST_F(ExitTest, WithoutLogsTheProgramEndsWithoutAQuestion) {
    mnuFileExit_Click(ctx);
    EXPECT_EQ(ended, 1);
    Form_QueryUnload(ctx);
    EXPECT_EQ(ended, 2);
    EXPECT_TRUE(t.prompts.shown.empty());
}

TEST_F(ExitTest, NoDeletesTheSessionLogsThatStillExist) {
    loadThisFile(ctx, at("Tarvlet.peo"));
    loadThisFile(ctx, at("Tarvlet_LOD1.peo"));
    ASSERT_EQ(ctx.log.sessionLogCount, 2);
    ASSERT_TRUE(fs::exists(at("Tarvlet_LOD1.log")));
    fs::remove(at("Tarvlet.log"));  // one the user deleted by hand
    t.prompts.expectYesNo(false, "TARV has generated 2 logfiles. Do you want to keep them?");
    mnuFileExit_Click(ctx);
    EXPECT_EQ(t.prompts.shown[0].caption, shutdownCaption(ctx));
    EXPECT_EQ(t.prompts.shown[0].icon, PromptIcon::Question);
    EXPECT_FALSE(fs::exists(at("Tarvlet_LOD1.log")));
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(ctx.model.objectCount(), 0);  // the model was cleared, the scene left alone
    EXPECT_FALSE(ctx.view.modelFrame->children().empty());
}

TEST_F(ExitTest, ClosingTheWindowAsksTheSameAndKeepsTheLogsOnYes) {
    loadThisFile(ctx, at("Tarvlet.peo"));
    t.prompts.expectYesNo(true);
    Form_QueryUnload(ctx);
    EXPECT_TRUE(fs::exists(at("Tarvlet.log")));
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(ctx.model.objectCount(), 4);  // no clean-up on this road
}

TEST(ShutdownCaption, CarriesOnlyMajorAndMinor) {
    TempDir dir;
    TestContext t(dir.path());
    t.ctx.version = VersionTexts::make(1, 7, 3);
    EXPECT_EQ(shutdownCaption(t.ctx), "TARV 1.7, initiating shutdown sequence...");
}

}  // namespace tarv::test
