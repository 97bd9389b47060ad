// The save commands: base names, safety copies, companion files in any letter case, the variant, and a
// failed write that must leave the old files as they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "RoadFixture.h"
#include "base/AtomicFile.h"
#include "base/Paths.h"
#include "model/PeoReader.h"
#include "model/PreferencesStore.h"
#include "editor/LoadRoad.h"
#include "editor/SaveCommands.h"
#include "editor/StartupExit.h"
#include "editor/context/EditingContext.h"

namespace tarv::test {
namespace fs = std::filesystem;

class SaveTest : public RoadTest {
protected:
    void SetUp() override {
        RoadTest::SetUp();
        loadThisFile(ctx, at("Tarvlet.peo"));
        ASSERT_EQ(ctx.model.objectCount(), 4);
        t.status.status.clear();
    }
};

TEST(SaveBases, RuleAUsesTheShipDefinitionsFolderAndRuleBTheModels) {
    TempDir dir;
    TestContext t(dir.path());
    t.ctx.documentFiles.model = "/d/models/ship.peo";
    EXPECT_EQ(saveBaseRuleA(t.ctx), "/d/models/ship.");
    EXPECT_EQ(saveBaseRuleB(t.ctx), "/d/models/ship.");
    t.ctx.documentFiles.shpFolder = "/d/shp/";
    EXPECT_EQ(saveBaseRuleA(t.ctx), "/d/shp/ship.");
    EXPECT_EQ(saveBaseRuleB(t.ctx), "/d/models/ship.");
    // The labels and the last path opened change no base: only a successful load does.
    t.ctx.currentModelPath = "/e/other.peo";
    t.ctx.lod.lblLodPath = "/e/";
    EXPECT_EQ(saveBaseRuleA(t.ctx), "/d/shp/ship.");
    EXPECT_EQ(saveBaseRuleB(t.ctx), "/d/models/ship.");
}

TEST_F(SaveTest, SaveAllWritesTheSetOverItsFilesInTheirOwnLetterCase) {
    const auto before = readBytes(at("Tarvlet.peo"));
    mnuSaveAll_Click(ctx);
    EXPECT_EQ(t.status.status, "'Save All' done!");
    EXPECT_TRUE(t.errors.reports.empty());
    // No second file appears beside "tarvlet.mex" and "TARVLET.MAD".
    EXPECT_FALSE(fs::exists(at("Tarvlet.mex")));
    EXPECT_FALSE(fs::exists(at("Tarvlet.mad")));
    // The generator writes the .peo as the editor's writer does, so the bytes are the same.
    EXPECT_EQ(readBytes(at("Tarvlet.peo")), before);
}

TEST_F(SaveTest, SavePeoKeepsASafetyCopyOnlyWhileItWrites) {
    bool copyDuringWrite = false;
    steps.onFixHierarchy = [&](EditingContext&) { copyDuringWrite = fs::exists(at("Tarvlet.pe~")); };
    mnuSavePeo_Click(ctx);
    EXPECT_TRUE(copyDuringWrite);
    EXPECT_FALSE(fs::exists(at("Tarvlet.pe~")));
    EXPECT_EQ(t.status.status, "Save done!");
    EXPECT_EQ(t.status.logBox.rfind("\r\nSaving " + at("Tarvlet.peo"), 0), 0u);
}

TEST_F(SaveTest, AGeoModelIsSavedAsThePeoBesideIt) {
    fs::copy_file(at("Tarvlet_LOD1.peo"), at("Small.geo"));
    writeText(at("Small.peo"), "an older file");
    loadThisFile(ctx, at("Small.geo"));
    const auto geo = readBytes(at("Small.geo"));
    mnuSavePeo_Click(ctx);
    EXPECT_EQ(readBytes(at("Small.geo")), geo);
    EXPECT_EQ(readBytes(at("Small.peo")), geo);
}

TEST_F(SaveTest, SaveAsWritesTheChosenFileAndChangesNothingElse) {
    const std::string target = (dir.path() / "Copy.peo").string();
    ctx.road.CommonDialog1.Filter = "earlier filter";
    t.prompts.expectSave(FileDialogChoice{target, 1});
    bool copyDuringWrite = true;
    steps.onFixHierarchy = [&](EditingContext&) { copyDuringWrite = fs::exists(target + "pe~"); };
    mnuFileSaveAs_Click(ctx);
    EXPECT_FALSE(copyDuringWrite);  // a new name gets no safety copy
    EXPECT_EQ(readBytes(target), readBytes(at("Tarvlet.peo")));
    EXPECT_EQ(t.prompts.shown[0].request.filter, kSaveAsFilter);
    EXPECT_EQ(ctx.currentModelPath, at("Tarvlet.peo"));
    EXPECT_EQ(ctx.log.logFilePath, at("Tarvlet.log"));

    // Over an existing file: the copy exists during the write and goes afterwards.
    t.prompts.expectSave(FileDialogChoice{target, 1});
    steps.onFixHierarchy = [&](EditingContext&) { copyDuringWrite = fs::exists(target + "pe~"); };
    mnuFileSaveAs_Click(ctx);
    EXPECT_TRUE(copyDuringWrite);
    EXPECT_FALSE(fs::exists(target + "pe~"));

    // Cancelled: nothing written, the log box and the status keep their texts.
    t.status.status = "kept";
    const std::string logBox = t.status.logBox;
    t.prompts.expectSave(std::nullopt);
    mnuFileSaveAs_Click(ctx);
    EXPECT_EQ(t.status.status, "kept");
    EXPECT_EQ(t.status.logBox, logBox);
}

TEST_F(SaveTest, SaveAsProposesTheModelsPeoAndRefusesTheEditorsOtherFileKinds) {
    // Opened through its ship definition, the dialog last named the .shp.
    loadThisFile(ctx, at("Tarvlet.shp"));
    ASSERT_EQ(ctx.road.CommonDialog1.FileName, at("Tarvlet.shp"));
    const auto shp = readBytes(at("Tarvlet.shp"));
    const auto lod = readBytes(at("Tarvlet.lod"));
    const std::string target = (dir.path() / "Copy.peo").string();
    const std::vector<std::string> refused = {"Tarvlet.shp", "Tarvlet.LOD", "other.mex",
                                              "other.Mad",   "other.lif",   "other.smd"};
    for (const std::string& name : refused) {
        t.prompts.expectSave(FileDialogChoice{at(name), 1});
        t.prompts.expectMessage(saveAsOtherKindText(name));
    }
    t.prompts.expectSave(FileDialogChoice{target, 1});
    mnuFileSaveAs_Click(ctx);

    ASSERT_EQ(t.prompts.shown.size(), 2 * refused.size() + 1);
    EXPECT_EQ(t.prompts.shown[0].request.fileName, at("Tarvlet.peo"));
    EXPECT_EQ(t.prompts.shown[0].request.filter, "Geometry Files (*.peo)|*.peo");
    EXPECT_EQ(readBytes(at("Tarvlet.shp")), shp);
    EXPECT_EQ(readBytes(at("Tarvlet.lod")), lod);
    for (const std::string& name : refused) EXPECT_FALSE(fs::exists(at(name) + "pe~")) << name;
    EXPECT_EQ(readBytes(target), readBytes(at("Tarvlet.peo")));
    EXPECT_EQ(t.status.status, "Save done!");
    EXPECT_EQ(saveAsOtherKindText("Tarvlet.shp"),
              "Save As writes the model as a .peo file. Tarvlet.shp is a .shp file and is left as it is: choose a "
              "name ending in .peo.");
    // A .geo is a model file like a .peo.
    EXPECT_FALSE(isOtherEditorFileKind(at("Small.GEO")));
    EXPECT_FALSE(isOtherEditorFileKind(at("ship.shp.peo")));
}

TEST_F(SaveTest, DeletedObjectsAreLeftOutAndTheLinksStillMeetTheirObjects) {
    ctx.model.peoObjects[2].name = kDeletedObjectName;  // the gun
    mnuSaveAll_Click(ctx);
    TestContext reread(dir.path() / "data");
    readPeoFile(reread.ctx, at("Tarvlet.peo"));
    const auto& objects = reread.ctx.model.peoObjects;
    ASSERT_EQ(objects.size(), 3u);
    EXPECT_EQ(objects[2].name, "EnginePod");
    EXPECT_EQ(objects[1].mother, 1);
    EXPECT_EQ(objects[2].mother, 1);
}

TEST_F(SaveTest, TheVariantIsStoredAndTickedAtTheNextStart) {
    mnuSaveTypeHWC_Click(ctx);
    EXPECT_TRUE(ctx.road.cataclysmVariant);
    EXPECT_EQ(t.preferencesStore.getKeyValue("DefaultFileFormat"), "1280");
    mnuSavePeo_Click(ctx);
    TestContext reread(dir.path() / "data");
    readPeoFile(reread.ctx, at("Tarvlet.peo"));
    EXPECT_EQ(reread.ctx.model.peoVersion, kPeoVersionCataclysm);

    TestContext next(dir.path() / "data");
    next.ctx.services.preferencesStore = &t.preferencesStore;
    readPreferences(next.ctx);
    applyStartupState(next.ctx);
    EXPECT_TRUE(next.ctx.road.cataclysmVariant);
    mnuSaveTypeHW_Click(next.ctx);
    EXPECT_EQ(t.preferencesStore.getKeyValue("DefaultFileFormat"), "1026");
}

TEST_F(SaveTest, AFailedWriteLeavesTheOldFileWhole) {
    const auto before = readBytes(at("Tarvlet.peo"));
    ctx.model.peoObjects[0].matrix[3] = 99;  // a change that would show
    // The write itself fails (as on a full disk), after the safety copy was made.
    steps.onFixHierarchy = [](EditingContext&) { failNextAtomicWriteForTesting(); };
    for (auto command : {mnuSaveAll_Click, mnuSavePeo_Click}) {
        command(ctx);
        EXPECT_EQ(readBytes(at("Tarvlet.peo")), before);
        EXPECT_EQ(t.status.status.find("done"), std::string::npos);
    }
    ASSERT_EQ(t.errors.reports.size(), 2u);
    // The writer's helpers record their own context; the report still names the command that wrote.
    EXPECT_EQ(t.errors.reports[0].procedure, "mnuSaveAll_Click");
    EXPECT_EQ(t.errors.reports[1].procedure, "mnuSavePeo_Click");
    // The safety copy may stay beside the intact file after a failure.
    EXPECT_EQ(readBytes(at("Tarvlet.pe~")), before);
}

// The writer's refusal names the object limit, and the report names the command, not the link recomputation
// that ran just before the writer.
TEST_F(SaveTest, ASaveOfTooManyObjectsReportsTheLimitAndLeavesTheFileWhole) {
    const auto before = readBytes(at("Tarvlet.peo"));
    PeoObject part = ctx.model.peoObjects[3];
    part.mother = 1;  // each a child of the base with no sister
    part.daughter = part.sister = 0;
    ctx.model.peoObjects.resize(300, part);
    ctx.view.viewObjects.resize(300);
    const std::string copy = (dir.path() / "Copy.peo").string();
    writeBytes(copy, {1, 2, 3});
    t.prompts.expectSave(FileDialogChoice{copy, 1});
    const std::pair<const char*, void (*)(EditingContext&)> commands[] = {
        {"mnuSavePeo_Click", mnuSavePeo_Click}, {"mnuFileSaveAs_Click", mnuFileSaveAs_Click}};
    for (const auto& [procedure, command] : commands) {
        t.errors.reports.clear();
        command(ctx);
        ASSERT_EQ(t.errors.reports.size(), 1u) << procedure;
        const ErrorReportInfo& report = t.errors.reports[0];
        EXPECT_EQ(report.module, "frmTARV") << procedure;
        EXPECT_EQ(report.procedure, procedure);
        EXPECT_EQ(report.number, 6) << procedure;
        EXPECT_EQ(report.description, "Overflow") << procedure;
        EXPECT_EQ(report.detail.rfind("the active object count 300 does not fit (at most 2", 0), 0u) << report.detail;
    }
    EXPECT_EQ(readBytes(at("Tarvlet.peo")), before);
    EXPECT_EQ(readBytes(copy), (std::vector<uint8_t>{1, 2, 3}));
}

TEST_F(SaveTest, SaveAllSaysDoneOnlyWhenEveryPartWasWritten) {
    // A .mad that cannot be replaced: a folder stands where it would go.
    fs::remove(at("TARVLET.MAD"));
    fs::create_directory(at("Tarvlet.mad"));
    loadThisFile(ctx, at("Tarvlet.peo"));
    ctx.animation.madAnimations = {MadAnimation{"Sweep", 0, 2, 0}};
    MadObject track{"Turret", 1, {}};
    track.keyframes.assign(3, MadKeyframe{});
    track.keyframes[0].time = -1;
    track.keyframes[1].time = 1;
    track.keyframes[2].time = 3;
    ctx.animation.madObjects = {track};
    ctx.model.peoObjects[1].madObjectIndex = 0;
    mnuSaveAll_Click(ctx);
    EXPECT_NE(t.status.status, "'Save All' done!");
    EXPECT_FALSE(t.errors.reports.empty());

    // A model with no chunks and no tracks has nothing to write there, which counts as written (a load
    // without a .mex has the default chunks, so the .mex loading is off).
    fs::remove(at("tarvlet.mex"));
    ctx.live.chkMEXload = true;
    loadThisFile(ctx, at("Tarvlet.peo"));
    ASSERT_EQ(ctx.mex.mexChunkCount(), 0);
    mnuSaveAll_Click(ctx);
    EXPECT_EQ(t.status.status, "'Save All' done!");
}

TEST_F(SaveTest, SaveAllWritesTheWholeSetOrNothing) {
    ASSERT_GT(ctx.mex.mexChunkCount(), 0);
    ASSERT_GT(ctx.animation.madObjectCount(), 0);
    // Markers on disk show whether a file was replaced; the model in memory writes all three.
    const std::string files[] = {at("Tarvlet.peo"), at("tarvlet.mex"), at("TARVLET.MAD")};
    auto plantMarkers = [&] {
        for (const std::string& f : files) writeText(f, "old " + f);
    };
    auto namesInShip = [&] {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(ship)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    };
    plantMarkers();
    const auto namesBefore = namesInShip();
    for (int failing = 0; failing < 3; ++failing) {
        SCOPED_TRACE(files[failing]);
        t.errors.reports.clear();
        t.status.status.clear();
        steps.onFixHierarchy = [failing](EditingContext&) { failNextAtomicWriteForTesting(failing); };
        mnuSaveAll_Click(ctx);
        for (const std::string& f : files) EXPECT_EQ(readText(f), "old " + f);
        EXPECT_EQ(namesInShip(), namesBefore);  // no temporary stays
        EXPECT_NE(t.status.status, "'Save All' done!");
        ASSERT_EQ(t.errors.reports.size(), 1u);
        EXPECT_EQ(t.errors.reports[0].procedure, "mnuSaveAll_Click");
        EXPECT_EQ(t.errors.reports[0].description.rfind(saveAllFailedText(files[failing], ""), 0), 0u)
            << t.errors.reports[0].description;
    }
    EXPECT_EQ(saveAllFailedText("/s/a.mex", "Overflow"),
              "'Save All' changed no file: /s/a.mex could not be saved. Overflow");

    // A file that cannot even be built (33 animations) stops the set before anything is written.
    t.errors.reports.clear();
    steps.onFixHierarchy = nullptr;
    auto animations = ctx.animation.madAnimations;
    while (ctx.animation.madAnimations.size() < 33) ctx.animation.madAnimations.push_back({"Extra", 0, 1, 0});
    mnuSaveAll_Click(ctx);
    for (const std::string& f : files) EXPECT_EQ(readText(f), "old " + f);
    ASSERT_EQ(t.errors.reports.size(), 1u);
    EXPECT_EQ(t.errors.reports[0].description, saveAllFailedText(files[2], "Overflow"));

    ctx.animation.madAnimations = animations;
    mnuSaveAll_Click(ctx);
    EXPECT_EQ(t.status.status, "'Save All' done!");
    for (const std::string& f : files) EXPECT_NE(readText(f), "old " + f);
    EXPECT_EQ(namesInShip(), namesBefore);
}

TEST_F(SaveTest, ASaveAllStoppedAfterSomeRenamesSaysWhichFilesWereReplaced) {
    const std::vector<std::string> files = {at("Tarvlet.peo"), at("tarvlet.mex"), at("TARVLET.MAD")};
    for (size_t failing = 1; failing < 3; ++failing) {
        SCOPED_TRACE(failing);
        t.errors.reports.clear();
        t.status.status = "before";
        steps.onFixHierarchy = [failing](EditingContext&) { failNextAtomicRenameForTesting(int(failing)); };
        mnuSaveAll_Click(ctx);
        EXPECT_NE(t.status.status, "'Save All' done!");
        ASSERT_EQ(t.errors.reports.size(), 1u);
        const std::vector<std::string> replaced(files.begin(), files.begin() + ptrdiff_t(failing));
        const std::vector<std::string> kept(files.begin() + ptrdiff_t(failing), files.end());
        EXPECT_EQ(t.errors.reports[0].description.rfind(saveAllPartlyDoneText(replaced, kept, ""), 0), 0u)
            << t.errors.reports[0].description;
    }
    EXPECT_EQ(
        saveAllPartlyDoneText({"/s/a.peo"}, {"/s/a.mex", "/s/a.mad"}, "Device I/O error"),
        "'Save All' replaced /s/a.peo but not /s/a.mex, /s/a.mad, which keep their old content. Device I/O error");
}

TEST_F(SaveTest, TheSingleFileSavesSayDoneOnlyAfterTheirWrite) {
    struct Case {
        const char* what;
        void (*run)(EditingContext&);
        std::string file;
        std::string done;
        int writesBefore;  // PEO only writes its safety copy first
    };
    const Case cases[] = {{"PEO only", mnuSavePeo_Click, at("Tarvlet.peo"), "Save done!", 1},
                          {"MEX only", mnuSaveMex_Click, at("tarvlet.mex"), "MEX save done!", 0},
                          {"MAD only", mnuSaveMad_Click, at("TARVLET.MAD"), "MAD save done!", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeText(c.file, "old");
        t.errors.reports.clear();
        t.status.status = "before";
        failNextAtomicWriteForTesting(c.writesBefore);
        c.run(ctx);
        EXPECT_NE(t.status.status, c.done);
        EXPECT_EQ(readText(c.file), "old");
        ASSERT_EQ(t.errors.reports.size(), 1u);
        EXPECT_NE(t.errors.reports[0].description.find(fileNameOf(c.file)), std::string::npos)
            << t.errors.reports[0].description;
        c.run(ctx);
        EXPECT_EQ(t.status.status, c.done);
        EXPECT_NE(readText(c.file), "old");
    }
}

TEST_F(SaveTest, MexAndMadOnlyReportTheirErrorsToo) {
    fs::remove(at("tarvlet.mex"));
    loadThisFile(ctx, at("Tarvlet.peo"));
    steps.onFixHierarchy = nullptr;
    mnuSaveMex_Click(ctx);
    EXPECT_EQ(t.status.status, "MEX save done!");
    mnuSaveMad_Click(ctx);
    EXPECT_EQ(t.status.status, "MAD save done!");
}

}  // namespace tarv::test
