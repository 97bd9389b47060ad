// The "Textures" page's handlers on a model folder while the working directory is another folder that
// holds decoys: the header read on a click, the openers, the rename with its file, Save changes and Apply
// to all LIFs.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "Fakes.h"
#include "LifFixtures.h"
#include "TempDir.h"
#include "editor/context/EditingContext.h"
#include "materials/LifHeaderPatch.h"
#include "materials/LifPreview.h"
#include "materials/TextureRename.h"
#include "materials/TexturesPage.h"
#include "materials/state/MaterialsPageState.h"

namespace tarv {
namespace {

using test::TempDir;
using test::TestContext;
using test::WorkingDirectory;

std::vector<uint8_t> lifWith(int32_t flags, int32_t paletteCRC, int32_t imageCRC) {
    test::LifFields f;
    f.flags = flags;
    f.paletteCRC = paletteCRC;
    f.imageCRC = imageCRC;
    return test::lifHeader(f).bytes({0, 1, 2, 3}).data();
}

// A model folder "ship" with hull.lif, Engine.LIF and a missing "wing"; the working directory "work" holds
// decoys of all three.
struct Page : LifPreviewWindow {
    TempDir dir;
    TestContext t{dir.path()};
    EditingContext& ctx = t.ctx;
    std::filesystem::path ship = dir / "ship";
    std::filesystem::path work = dir / "work";
    std::vector<uint8_t> decoy = lifWith(1, 1, 1);
    std::vector<std::string> opened;
    std::optional<WorkingDirectory> cwd;
    Page() {
        std::filesystem::create_directories(ship);
        std::filesystem::create_directories(work);
        for (const char* name : {"hull.lif", "engine.lif", "wing.lif", "hull2.lif"})
            test::writeBytes(work / name, decoy);
        cwd.emplace(work);
        test::writeBytes(ship / "hull.lif", lifWith(50, 100, 200));
        test::writeBytes(ship / "Engine.LIF", lifWith(18, 300, 400));
        ctx.currentModelPath = (ship / "model.peo").string();
        ctx.model.textures = {{"hull", true}, {"wing", false}, {"engine", true}};
        ctx.preview.lstTextures = {{"hull", {"2", "2", "50"}}, {"wing", {}}, {"engine", {"2", "2", "18"}}};
        ctx.materialsPage->lstMaterial = {"hull", "engine", "hull", "hullish"};
        ctx.lif.preview.window = this;
    }
    void showModal(EditingContext&, bool) override { opened.push_back(ctx.lif.preview.panel1); }
    ~Page() {
        for (const char* name : {"hull.lif", "engine.lif", "wing.lif", "hull2.lif"})
            EXPECT_EQ(test::readBytes(work / name), decoy) << name;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(work), {}), 4);
    }
    std::vector<uint8_t> bytes(const std::string& name) { return test::readBytes(ship / name); }
};

int32_t int32At(const std::vector<uint8_t>& b, size_t at) {
    return int32_t(uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24);
}

TEST(TexturesPage, ItemClickReadsTheHeaderIntoTheBoxes) {
    Page p;
    lstTextures_ItemClick(p.ctx, 2);
    EXPECT_EQ(p.ctx.preview.lstTexturesSelected, 2);
    EXPECT_EQ(p.ctx.lif.boxes.txtLifFlags, "18");
    EXPECT_EQ(p.ctx.lif.boxes.txtPalCRC, "300");
    EXPECT_EQ(p.ctx.lif.boxes.txtImgCRC, "400");
    EXPECT_EQ(p.ctx.lif.boxes.sourcePath, (p.ship / "Engine.LIF").string());
    // The missing texture reads nothing: not the working directory's decoy either.
    lstTextures_ItemClick(p.ctx, 1);
    EXPECT_EQ(p.ctx.lif.boxes.txtLifFlags, "18");
    EXPECT_EQ(p.ctx.preview.lstTexturesSelected, 1);
}

TEST(TexturesPage, TheOpenersShowThePreviewOnlyForFilesThatExist) {
    Page p;
    lstTextures_DblClick(p.ctx);  // nothing selected
    p.ctx.preview.lstTexturesSelected = 1;
    lstTextures_DblClick(p.ctx);  // missing
    EXPECT_TRUE(p.opened.empty());
    p.ctx.preview.lstTexturesSelected = 2;
    lstTextures_DblClick(p.ctx);
    ctlThumbs_DblClick(p.ctx, (p.ship / "hull.lif").string());
    ctlThumbs_DblClick(p.ctx, (p.ship / "wing.lif").string());
    ctlThumbs_DblClick(p.ctx, "");
    mnuTexPeek_Click(p.ctx);
    EXPECT_EQ(p.opened,
              (std::vector<std::string>{(p.ship / "Engine.LIF").string(), (p.ship / "hull.lif").string(), ""}));
}

TEST(TexturesPage, RenameCopiesOrMovesTheFileAndRenamesEveryEntry) {
    for (const bool yes : {true, false}) {
        Page p;
        p.ctx.preview.lstTexturesSelected = 0;
        p.t.prompts.expectYesNo(yes, kRenameLifQuestion);
        EXPECT_TRUE(lstTextures_AfterLabelEdit(p.ctx, false, "hull2"));
        ASSERT_EQ(p.t.prompts.shown.size(), 1u);
        EXPECT_EQ(p.t.prompts.shown[0].caption, "TARV material handling");
        EXPECT_EQ(p.t.prompts.shown[0].icon, PromptIcon::Question);
        EXPECT_EQ(p.bytes("hull2.lif"), lifWith(50, 100, 200));
        EXPECT_EQ(std::filesystem::exists(p.ship / "hull.lif"), yes);
        EXPECT_EQ(p.ctx.materialsPage->lstMaterial, (std::vector<std::string>{"hull2", "engine", "hull2", "hullish"}));
        EXPECT_EQ(p.ctx.model.textures[0].name, "hull2");
        EXPECT_EQ(p.ctx.preview.lstTextures[0].name, "hull2");
        EXPECT_EQ(p.ctx.preview.lstTextures[0].subItems[0], "Yes");
        EXPECT_EQ(p.ctx.lif.boxes.sourcePath, (p.ship / "hull2.lif").string());
        EXPECT_TRUE(p.t.errors.reports.empty());
    }
}

TEST(TexturesPage, RenameToAnExistingFileUsesItWithoutCopyOrQuestion) {
    Page p;
    test::writeBytes(p.ship / "Hull2.lif", lifWith(2, 5, 6));
    p.ctx.preview.lstTexturesSelected = 0;
    EXPECT_TRUE(lstTextures_AfterLabelEdit(p.ctx, false, "hull2"));
    EXPECT_TRUE(p.t.prompts.shown.empty());
    EXPECT_EQ(p.bytes("Hull2.lif"), lifWith(2, 5, 6));
    EXPECT_TRUE(std::filesystem::exists(p.ship / "hull.lif"));
    EXPECT_EQ(p.ctx.model.textures[0].name, "hull2");
    EXPECT_EQ(p.ctx.lif.boxes.txtPalCRC, "5");
    EXPECT_EQ(p.ctx.preview.lstTextures[0].subItems[0], "Yes");
}

TEST(TexturesPage, RenameOfAMissingFileIsReportedAndChangesNoTable) {
    Page p;
    p.ctx.preview.lstTexturesSelected = 1;  // wing: its file is missing
    EXPECT_TRUE(lstTextures_AfterLabelEdit(p.ctx, false, "wing2"));
    ASSERT_EQ(p.t.errors.reports.size(), 1u);
    EXPECT_EQ(p.t.errors.reports[0].number, 53);
    EXPECT_EQ(p.t.errors.reports[0].procedure, "lstTextures_AfterLabelEdit");
    EXPECT_EQ(p.ctx.model.textures[1].name, "wing");
    EXPECT_EQ(p.ctx.preview.lstTextures[1].name, "wing2");  // the list keeps the edit
    EXPECT_FALSE(std::filesystem::exists(p.ship / "wing2.lif"));
    EXPECT_FALSE(std::filesystem::exists(p.ship / "wing.lif"));
}

TEST(TexturesPage, RenamesThatChangeNothing) {
    struct Case {
        bool cancelled;
        std::string text;
        bool told;
    };
    const Case cases[] = {{true, "hull2", false}, {false, "hull", false}, {false, "", true}, {false, "engine", true}};
    for (const Case& c : cases) {
        Page p;
        p.ctx.preview.lstTexturesSelected = 0;
        if (c.told) p.t.prompts.expectMessage(kTextureNameRefused);
        EXPECT_FALSE(lstTextures_AfterLabelEdit(p.ctx, c.cancelled, c.text)) << c.text;
        EXPECT_EQ(p.ctx.preview.lstTextures[0].name, "hull");
        EXPECT_EQ(p.ctx.model.textures[0].name, "hull");
        EXPECT_EQ(p.ctx.materialsPage->lstMaterial[0], "hull");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(p.ship), {}), 2);
        EXPECT_EQ(p.t.prompts.shown.size(), c.told ? 1u : 0u);
    }
}

// Every file under a folder with its bytes.
std::map<std::string, std::vector<uint8_t>> filesUnder(const std::filesystem::path& folder) {
    std::map<std::string, std::vector<uint8_t>> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) files[entry.path().string()] = test::readBytes(entry.path());
    return files;
}

TEST(TexturesPage, ANameThatHoldsAFolderIsRefusedBeforeAnyFileIsTouched) {
    Page p;
    test::writeBytes(p.dir / "victim.lif", lifWith(7, 7, 7));
    std::filesystem::create_directories(p.dir / "elsewhere");
    const std::string absolute = (p.dir / "elsewhere" / "hull").string();
    const std::string forms[] = {"../outside", "../victim", "..\\victim", "sub/hull2", absolute, "..", "."};
    const auto before = filesUnder(p.dir.path());
    for (const std::string& text : forms) {
        p.ctx.preview.lstTexturesSelected = 0;
        p.t.prompts.expectMessage(kTextureNameHoldsFolder);  // and no question about the old file
        EXPECT_FALSE(lstTextures_AfterLabelEdit(p.ctx, false, text)) << text;
        EXPECT_EQ(p.ctx.preview.lstTextures[0].name, "hull") << text;
        EXPECT_EQ(p.ctx.model.textures[0].name, "hull") << text;
        EXPECT_EQ(p.ctx.materialsPage->lstMaterial[0], "hull") << text;
    }
    EXPECT_EQ(filesUnder(p.dir.path()), before);
    EXPECT_TRUE(p.t.errors.reports.empty());
}

TEST(TexturesPage, SaveChangesConvertsTheBoxes) {
    struct Case {
        std::string text;
        int32_t written;
    };
    const Case cases[] = {{"2.5", 2}, {"3.5", 4}, {"12abc", 12}, {"abc", 0}, {" -7", -7}};
    for (const Case& c : cases) {
        Page p;
        lstTextures_ItemClick(p.ctx, 0);
        p.ctx.lif.boxes.txtLifFlags = c.text;
        p.ctx.lif.boxes.txtPalCRC = "11";
        p.ctx.lif.boxes.txtImgCRC = "12";
        cmdSaveCRCs_Click(p.ctx);
        const std::vector<uint8_t> b = p.bytes("hull.lif");
        EXPECT_EQ(int32At(b, 12), c.written) << c.text;
        EXPECT_EQ(int32At(b, 24), 11);
        EXPECT_EQ(int32At(b, 28), 12);
        EXPECT_EQ(b.size(), lifWith(50, 100, 200).size());
        EXPECT_TRUE(p.t.errors.reports.empty());
    }
}

TEST(TexturesPage, AnOverflowInTheLastBoxWritesNothing) {
    Page p;
    lstTextures_ItemClick(p.ctx, 0);
    p.ctx.lif.boxes.txtLifFlags = "3";
    p.ctx.lif.boxes.txtPalCRC = "4";
    p.ctx.lif.boxes.txtImgCRC = "2147483648";
    cmdSaveCRCs_Click(p.ctx);
    ASSERT_EQ(p.t.errors.reports.size(), 1u);
    EXPECT_EQ(p.t.errors.reports[0].number, 6);
    EXPECT_EQ(p.t.errors.reports[0].procedure, "cmdSaveCRCs_Click");
    EXPECT_EQ(p.bytes("hull.lif"), lifWith(50, 100, 200));
}

TEST(TexturesPage, SaveChangesNeverWritesAnotherFilesHeader) {
    Page p;
    lstTextures_ItemClick(p.ctx, 2);  // the boxes show Engine.LIF
    p.ctx.preview.lstTexturesSelected = 0;
    p.t.prompts.expectMessage(kBoxesShowedAnotherHeader, p.ctx.version.appTitle);
    cmdSaveCRCs_Click(p.ctx);
    EXPECT_EQ(p.bytes("hull.lif"), lifWith(50, 100, 200));
    EXPECT_EQ(p.ctx.lif.boxes.txtLifFlags, "50");
    EXPECT_EQ(p.ctx.lif.boxes.sourcePath, (p.ship / "hull.lif").string());
    // Pressed again, it writes.
    p.ctx.lif.boxes.txtLifFlags = "2";
    cmdSaveCRCs_Click(p.ctx);
    EXPECT_EQ(int32At(p.bytes("hull.lif"), 12), 2);
    EXPECT_EQ(p.bytes("Engine.LIF"), lifWith(18, 300, 400));
    EXPECT_TRUE(p.t.errors.reports.empty());
}

TEST(TexturesPage, SaveChangesWithoutASelectionOrAFile) {
    Page p;
    p.ctx.lif.boxes.sourcePath = (p.work / "wing.lif").string();
    cmdSaveCRCs_Click(p.ctx);  // nothing selected: nothing happens
    EXPECT_TRUE(p.t.errors.reports.empty());
    p.ctx.preview.lstTexturesSelected = 1;  // wing.lif is not in the model folder
    cmdSaveCRCs_Click(p.ctx);
    ASSERT_EQ(p.t.errors.reports.size(), 1u);
    EXPECT_EQ(p.t.errors.reports[0].number, 53);
    EXPECT_FALSE(std::filesystem::exists(p.ship / "wing.lif"));
}

TEST(TexturesPage, ApplyToAllWritesThePaletteCrcOfEveryLoadedTexture) {
    Page p;
    test::writeBytes(p.ship / "wing.lif", lifWith(50, 1, 1));  // present, but its texture was not loaded
    p.ctx.lif.boxes.txtPalCRC = "77.5";
    cmdLifApplyToAll_Click(p.ctx);
    EXPECT_TRUE(p.t.errors.reports.empty());
    EXPECT_EQ(p.bytes("hull.lif"), lifWith(50, 78, 200));
    EXPECT_EQ(p.bytes("Engine.LIF"), lifWith(18, 78, 400));
    EXPECT_EQ(p.bytes("wing.lif"), lifWith(50, 1, 1));
}

TEST(TexturesPage, ApplyToAllStopsAtAMissingFileAndKeepsWhatItWrote) {
    Page p;
    std::filesystem::remove(p.ship / "Engine.LIF");
    p.ctx.lif.boxes.txtPalCRC = "5";
    cmdLifApplyToAll_Click(p.ctx);
    ASSERT_EQ(p.t.errors.reports.size(), 1u);
    EXPECT_EQ(p.t.errors.reports[0].number, 53);
    EXPECT_EQ(p.t.errors.reports[0].procedure, "cmdLifApplyToAll_Click");
    EXPECT_EQ(p.bytes("hull.lif"), lifWith(50, 5, 200));
    EXPECT_FALSE(std::filesystem::exists(p.ship / "engine.lif"));
}

}  // namespace
}  // namespace tarv
