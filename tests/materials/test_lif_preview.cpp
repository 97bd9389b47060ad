// The texture preview window's logic: start and activation, Previous and Next and their folder, Zoom,
// the export beside the shown texture, File > Open, the View items and the team-colour swatches.
#include <gtest/gtest.h>

#include <filesystem>

#include "ByteBuilder.h"
#include "Fakes.h"
#include "LifFixtures.h"
#include "TempDir.h"
#include "editor/context/EditingContext.h"
#include "materials/LifPreview.h"
#include "materials/LifReader.h"
#include "materials/LifRenderer.h"

namespace tarv {
namespace {

using namespace lifpreview;
using test::TempDir;
using test::TestContext;
using test::WorkingDirectory;

struct Preview : LifPreviewWindow {
    TempDir dir;
    TestContext t{dir.path()};
    EditingContext& ctx = t.ctx;
    LifPreviewState& pv = ctx.lif.preview;
    std::filesystem::path folder = dir / "ship";
    int shown = 0;
    Preview() {
        std::filesystem::create_directories(folder);
        pv.window = this;
    }
    void showModal(EditingContext&, bool) override { ++shown; }
    std::string lif(const std::string& name, const std::vector<uint8_t>& bytes) {
        test::writeBytes(folder / name, bytes);
        return (folder / name).string();
    }
    void textures(std::vector<std::string> names, int selected) {
        ctx.preview.lstTextures.clear();
        for (auto& n : names) ctx.preview.lstTextures.push_back({n, {}});
        ctx.preview.lstTexturesSelected = selected;
    }
};

std::vector<uint8_t> texture64x32() { return test::standardLif(std::vector<uint8_t>(64 * 32, 1), 64, 32); }

TEST(LifPreview, OpenedWithoutAFileKeepsTheLastDrawingAndDisablesItsMenus) {
    Preview p;
    // The load road drew a texture while the window was hidden.
    const std::string hull = p.lif("hull.lif", texture64x32());
    LoadFile(p.ctx, hull, true);
    p.pv.panel4 = "7";
    drawLayer(p.ctx);
    p.pv.picTeam0Visible = p.pv.picTeam1Visible = true;
    p.pv.mnuFixLif = true;
    const Image drawn = p.pv.Image1;

    openLifPreview(p.ctx, "", false);
    frmLifPreview_Activate(p.ctx);
    EXPECT_EQ(p.shown, 1);
    EXPECT_EQ(p.pv.Caption, "texPeek v1.2");
    EXPECT_FALSE(p.pv.mnuView);
    EXPECT_FALSE(p.pv.mnuFileExportBMP);
    EXPECT_FALSE(p.pv.mnuFixLif);
    EXPECT_FALSE(p.pv.picTeam0Visible);
    EXPECT_FALSE(p.pv.picTeam1Visible);
    EXPECT_EQ(p.pv.Image1, drawn);
    EXPECT_EQ(p.pv.panel2, "64");
    EXPECT_EQ(p.pv.panel4, "7");
    EXPECT_TRUE(p.t.errors.reports.empty());
}

TEST(LifPreview, EveryActivationRereadsPanelOneInLayerOne) {
    Preview p;
    const std::string hull = p.lif("hull.lif", test::standard2x2());
    openLifPreview(p.ctx, hull, true);
    frmLifPreview_Activate(p.ctx);
    EXPECT_TRUE(p.pv.mnuView);
    EXPECT_EQ(p.pv.panel4, "1");
    EXPECT_TRUE(p.pv.mnuFileExportBMP);  // the drawing enables it
    mnuView_Click(p.ctx, kLayerAll);
    EXPECT_EQ(p.pv.panel4, "7");
    EXPECT_TRUE(p.pv.picTeam0Visible && p.pv.picTeam1Visible);
    const Image layer7 = p.pv.Image1;

    frmLifPreview_Activate(p.ctx);
    EXPECT_EQ(p.pv.panel4, "1");
    EXPECT_FALSE(p.pv.picTeam0Visible || p.pv.picTeam1Visible);
    EXPECT_NE(p.pv.Image1, layer7);
}

TEST(LifPreview, ViewItemsSetTheLayerAndTheSwatches) {
    struct Case {
        int layer;
        bool team0, team1;  // after starting from team0 shown, team1 hidden
    };
    const Case cases[] = {{1, false, false}, {2, false, false}, {3, true, false}, {4, true, true},
                          {5, true, false},  {6, true, true},   {7, true, true}};
    for (const Case& c : cases) {
        Preview p;
        openLifPreview(p.ctx, p.lif("hull.lif", test::standard2x2()), true);
        frmLifPreview_Activate(p.ctx);
        p.pv.picTeam0Visible = true;
        p.pv.picTeam1Visible = false;
        mnuView_Click(p.ctx, c.layer);
        EXPECT_EQ(p.pv.panel4, std::to_string(c.layer));
        EXPECT_EQ(p.pv.picTeam0Visible, c.team0) << c.layer;
        EXPECT_EQ(p.pv.picTeam1Visible, c.team1) << c.layer;
        const auto expected = drawLifPicture(p.ctx.lif.texture, uint8_t(c.layer), p.ctx.prefs.playerBaseColor,
                                             p.ctx.prefs.playerStripeColor, p.ctx.lif.background);
        ASSERT_TRUE(expected);
        EXPECT_EQ(p.pv.Image1, *expected) << c.layer;
    }
}

TEST(LifPreview, NavigationButtonsAndSteps) {
    struct Case {
        int count, selected;
        bool prev, next;
    };
    const Case cases[] = {
        {0, -1, false, false}, {1, 0, false, false}, {3, 0, false, true}, {3, 1, true, true}, {3, 2, true, false}};
    for (const Case& c : cases) {
        Preview p;
        std::vector<std::string> names;
        for (int i = 0; i < c.count; ++i) names.push_back("t" + std::to_string(i));
        p.textures(names, c.selected);
        frmLifPreview_Activate(p.ctx);
        EXPECT_EQ(p.pv.cmdPrev, c.prev) << c.count << "/" << c.selected;
        EXPECT_EQ(p.pv.cmdNext, c.next) << c.count << "/" << c.selected;
    }
    // A step that would leave the list does nothing.
    Preview p;
    p.textures({"a", "b", "c"}, 2);
    p.pv.panel1 = "kept";
    cmdNext_Click(p.ctx);
    EXPECT_EQ(p.ctx.preview.lstTexturesSelected, 2);
    EXPECT_EQ(p.pv.panel1, "kept");
    p.ctx.preview.lstTexturesSelected = 0;
    cmdPrev_Click(p.ctx);
    EXPECT_EQ(p.ctx.preview.lstTexturesSelected, 0);
}

TEST(LifPreview, NextLooksInTheMeshExtrasFolderWithBackslashesAndAnyCase) {
    Preview p;
    std::filesystem::create_directories(p.dir / "Extras" / "Data");
    test::writeBytes(p.dir / "Extras" / "Data" / "Engine.LIF", test::standard2x2());
    p.ctx.currentModelPath = (p.folder / "model.peo").string();
    p.ctx.shp.mexFilePath = p.dir.folderText() + "extras\\DATA\\model.mex";
    p.textures({"hull", "engine"}, 0);
    cmdNext_Click(p.ctx);
    EXPECT_EQ(p.ctx.preview.lstTexturesSelected, 1);
    EXPECT_EQ(p.pv.panel1, (p.dir / "Extras" / "Data" / "Engine.LIF").string());
    EXPECT_EQ(p.pv.panel4, "1");
    EXPECT_TRUE(p.pv.mnuView);
    EXPECT_EQ(p.pv.panel2, "2");
    EXPECT_TRUE(p.pv.cmdPrev);
    EXPECT_FALSE(p.pv.cmdNext);
}

TEST(LifPreview, WithoutMeshExtrasNextLooksInTheModelFolderNotTheLastOpenDialogsFolder) {
    Preview p;
    std::filesystem::create_directories(p.dir / "elsewhere");
    test::writeBytes(p.dir / "elsewhere" / "engine.lif", test::standard2x2());
    p.lif("Engine.lif", test::standard2x2());
    p.ctx.currentModelPath = (p.folder / "model.peo").string();
    p.ctx.shp.mexFilePath.clear();
    p.textures({"hull", "engine"}, 0);
    cmdNext_Click(p.ctx);
    EXPECT_EQ(p.pv.panel1, (p.folder / "Engine.lif").string());
}

TEST(LifPreview, ZoomStretchesToTwoHundredFiftySixAndBack) {
    Preview p;
    openLifPreview(p.ctx, p.lif("hull.lif", texture64x32()), true);
    frmLifPreview_Activate(p.ctx);
    EXPECT_EQ(p.pv.Image1Width, 64);
    EXPECT_EQ(p.pv.Image1Height, 32);
    EXPECT_EQ(p.pv.cmdZoom, "Zoom In");

    cmdZoom_Click(p.ctx);
    EXPECT_EQ(p.pv.cmdZoom, "Zoom Out");
    EXPECT_TRUE(p.pv.Image1Stretch);
    EXPECT_EQ(p.pv.Image1Width, 256);
    EXPECT_EQ(p.pv.Image1Height, 256);

    // A drawing gives Image1 the picture's size and keeps the stretch and the caption.
    mnuView_Click(p.ctx, kLayerBaseTeam0);
    EXPECT_EQ(p.pv.Image1Width, 64);
    EXPECT_EQ(p.pv.Image1Height, 32);
    EXPECT_TRUE(p.pv.Image1Stretch);
    EXPECT_EQ(p.pv.cmdZoom, "Zoom Out");

    cmdZoom_Click(p.ctx);
    EXPECT_EQ(p.pv.cmdZoom, "Zoom In");
    EXPECT_FALSE(p.pv.Image1Stretch);
    EXPECT_EQ(p.pv.Image1Width, 64);
    EXPECT_EQ(p.pv.Image1Height, 32);
}

TEST(LifPreview, ExportWritesTheShownLayerBesideTheTextureNotInTheWorkingDirectory) {
    Preview p;
    std::filesystem::create_directories(p.dir / "work");
    WorkingDirectory cwd(p.dir / "work");
    const std::string hull = p.lif("hull.lif", test::standard2x2());
    test::writeBytes(p.folder / "hull.bmp", {1, 2, 3});  // replaced
    openLifPreview(p.ctx, hull, true);
    frmLifPreview_Activate(p.ctx);
    p.pv.mnuFileExportBMP = true;

    mnuFileExportBMP_Click(p.ctx);
    EXPECT_TRUE(p.t.errors.reports.empty());
    EXPECT_FALSE(p.pv.mnuFileExportBMP);
    EXPECT_FALSE(std::filesystem::exists(p.dir / "work" / "hull.bmp"));
    const std::vector<uint8_t> bmp = test::readBytes(p.folder / "hull.bmp");
    ASSERT_EQ(bmp.size(), 54u + 16u);
    test::ByteBuilder head;
    head.str("BM").u32(70).u32(0).u32(54).u32(40).i32(2).i32(2).u16(1).u16(24);
    EXPECT_EQ(std::vector<uint8_t>(bmp.begin(), bmp.begin() + 30), head.data());
    // Layer 1 of the fixture: palette entries 0, 1 on the top row and 2, 3 below; rows bottom first, B G R.
    const std::vector<uint8_t> rows{110, 100, 90, 150, 140, 130, 0, 0, 30, 20, 10, 70, 60, 50, 0, 0};
    EXPECT_EQ(std::vector<uint8_t>(bmp.begin() + 54, bmp.end()), rows);
}

TEST(LifPreview, AFailedExportIsReportedAndKeepsAsBmpEnabled) {
    Preview p;
    p.pv.picLif1 = Image(2, 2, Rgba{1, 2, 3, 255});
    p.pv.panel1 = (p.dir / "missing" / "hull.lif").string();
    p.pv.mnuFileExportBMP = true;
    mnuFileExportBMP_Click(p.ctx);
    ASSERT_EQ(p.t.errors.reports.size(), 1u);
    EXPECT_EQ(p.t.errors.reports[0].module, "frmLifPreview");
    EXPECT_EQ(p.t.errors.reports[0].procedure, "mnuFileExportBMP_Click");
    EXPECT_EQ(p.t.errors.reports[0].arguments, (p.dir / "missing" / "hull.bmp").string());
    EXPECT_TRUE(p.pv.mnuFileExportBMP);
    EXPECT_EQ(lifExportPath("C:\\ships\\hull.lif"), "C:\\ships\\hull.bmp");
}

TEST(LifPreview, OpenShowsTheChosenFileAndCancelChangesNothing) {
    Preview p;
    const std::string hull = p.lif("hull.lif", test::standard2x2());
    p.t.prompts.expectOpen(std::nullopt).expectOpen(FileDialogChoice{hull, 2});
    mnuFileOpen_Click(p.ctx);
    EXPECT_EQ(p.pv.panel1, "");
    EXPECT_FALSE(p.pv.mnuView);
    ASSERT_EQ(p.t.prompts.shown.size(), 1u);
    EXPECT_EQ(p.t.prompts.shown[0].request.filter, "All Files (*.*)|*.*|Layered Image Format (*.lif)|*.lif");
    EXPECT_EQ(p.t.prompts.shown[0].request.filterIndex, 2);
    EXPECT_TRUE(p.t.prompts.shown[0].request.hideReadOnly);
    mnuFileOpen_Click(p.ctx);
    EXPECT_EQ(p.pv.panel1, hull);
    EXPECT_EQ(p.pv.panel4, "1");
    EXPECT_TRUE(p.pv.mnuView);
}

TEST(LifPreview, ATeamColourPickRedrawsAtOnceAndCancelChangesNothing) {
    Preview p;
    openLifPreview(p.ctx, p.lif("hull.lif", test::standard2x2()), true);
    frmLifPreview_Activate(p.ctx);
    mnuView_Click(p.ctx, kLayerBaseTeam0);
    const Image before = p.pv.Image1;
    const RgbColour base = p.ctx.prefs.playerBaseColor;

    p.t.prompts.expectColour(std::nullopt);
    picTeam_Click(p.ctx, 0);
    EXPECT_EQ(p.pv.Image1, before);
    EXPECT_EQ(p.ctx.prefs.playerBaseColor, base);

    const int32_t red = 0x0000FF;
    p.t.prompts.expectColour(red);
    picTeam_Click(p.ctx, 0);
    EXPECT_EQ(p.ctx.prefs.playerBaseColor, (RgbColour{255, 0, 0, base.unused}));
    EXPECT_EQ(p.pv.picTeam0BackColor, red);
    EXPECT_NE(p.pv.Image1, before);
    const auto expected = drawLifPicture(p.ctx.lif.texture, kLayerBaseTeam0, p.ctx.prefs.playerBaseColor,
                                         p.ctx.prefs.playerStripeColor, p.ctx.lif.background);
    EXPECT_EQ(p.pv.Image1, *expected);
    // The dialog starts from the colour last chosen in it.
    p.t.prompts.expectColour(std::nullopt);
    picTeam_Click(p.ctx, 1);
    EXPECT_EQ(p.pv.CommonDialog1.Color, red);
    EXPECT_TRUE(p.t.errors.reports.empty());
}

TEST(LifPreview, FixLifRepairsTheTextureOfPanelOne) {
    Preview p;
    const std::string hull = p.lif("hull.lif", test::standard2x2(0));
    openLifPreview(p.ctx, hull, true);
    frmLifPreview_Activate(p.ctx);
    EXPECT_TRUE(p.pv.mnuFixLif);  // offered for flags 0
    EXPECT_EQ(p.pv.Label1, kCorruptLifWarning);
    p.t.prompts.expectMessage("Fix Lif done!");
    mnuFixLif_Click(p.ctx);
    EXPECT_EQ(test::readBytes(hull), test::standard2x2(50));
    EXPECT_EQ(test::readBytes(hull + ".old"), test::standard2x2(0));
    EXPECT_EQ(p.pv.Label1, "");
    EXPECT_EQ(p.ctx.lif.boxes.txtLifFlags, "50");
}

// Whatever the window opens, "&Fix Lif" is offered only with the file drawn, and the fix keeps the picture that
// was drawn; a file that cannot be drawn leaves no picture, size or layer of the texture shown before.
TEST(LifPreview, FixLifIsOfferedOnlyForADrawnFileAndKeepsItsPicture) {
    const auto withTail = [](std::vector<uint8_t> bytes) {
        bytes.resize(bytes.size() + 16, 0);
        return bytes;
    };
    test::LifFields tall;
    tall.flags = 0;
    tall.width = 1;
    tall.height = 40000;
    tall.palette = 48 + 40000;
    test::LifFields cut;
    cut.width = 64;
    cut.height = 32;
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;  // none: no file
        bool drawn;
        const char* refusal = nullptr;  // the viewer's message for a file it refuses to read
    };
    const Case cases[] = {
        {"standard with flags 0", test::standard2x2(0), true},
        {"16 bytes after the blocks, read as three bytes a pixel", withTail(test::standard2x2()), true},
        {"three bytes a pixel", test::lifHeader(test::LifFields{}).bytes({250, 0, 0, 0, 0, 250, 250, 0, 0, 0, 250, 0}).data(),
         true},
        {"16 bytes after the blocks of an 8-bit texture", withTail(texture64x32()), false,
         "pixel block runs past the end of the file"},
        {"pixels cut short", test::lifHeader(cut).fill(10, 1).data(), false, "pixel block runs past the end of the file"},
        {"a side beyond 32,767", test::lifHeader(tall).fill(40000 + 1536, 1).data(), false},
        {"no file", {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Preview p;
        const std::string before = p.lif("before.lif", texture64x32());
        openLifPreview(p.ctx, before, true);
        frmLifPreview_Activate(p.ctx);
        ASSERT_TRUE(p.pv.mnuView);
        const std::string path = c.bytes.empty() ? (p.folder / "none.lif").string() : p.lif("case.lif", c.bytes);
        p.pv.panel1 = path;
        if (c.refusal) p.t.prompts.expectMessage("The texture " + path + " cannot be read (" + c.refusal + "): it is left out.");
        frmLifPreview_Activate(p.ctx);
        EXPECT_EQ(p.pv.mnuFixLif, c.drawn);
        EXPECT_EQ(p.pv.mnuView, c.drawn);
        if (!c.drawn) {
            EXPECT_TRUE(p.pv.Image1.empty());
            EXPECT_TRUE(p.pv.picLif1.empty());
            EXPECT_EQ(p.pv.panel2 + p.pv.panel3 + p.pv.panel4, "");
            EXPECT_FALSE(p.pv.mnuFileExportBMP);
            continue;
        }
        const Image shown = p.pv.Image1;
        EXPECT_EQ(p.pv.panel2 + "x" + p.pv.panel3, "2x2");
        p.t.prompts.expectMessage("Fix Lif done!");
        mnuFixLif_Click(p.ctx);
        EXPECT_TRUE(p.t.errors.reports.empty()) << p.t.errors.reports.front().description;
        EXPECT_EQ(test::readBytes(path).size(), 4u + 1584u);
        frmLifPreview_Activate(p.ctx);
        EXPECT_FALSE(p.pv.mnuFixLif);
        EXPECT_EQ(p.pv.Image1, shown);
    }
}

}  // namespace
}  // namespace tarv
