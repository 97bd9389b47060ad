// The load road: opening by file type, the .shp road, Reload, recent files, the links of the hierarchy,
// the clean-up between loads, and the faults the road must not have.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "RoadFixture.h"
#include "base/AtomicFile.h"
#include "model/Backups.h"
#include "model/PeoReader.h"
#include "model/PeoWriter.h"
#include "base/RunTimeError.h"
#include "editor/DocumentFiles.h"
#include "editor/LoadRoad.h"
#include "editor/SaveCommands.h"
#include "preview/LocalAxes.h"
#include "preview/PreviewCamera.h"
#include "ByteBuilder.h"
#include "meshtools/LodFiles.h"
#include "meshtools/ObjectSize.h"
#include "meshtools/state/ToolsPageState.h"
#include "materials/state/MaterialsPageState.h"
#include "animation/state/AnimationsPageState.h"
#include "editor/context/EditingContext.h"

namespace tarv::test {
namespace fs = std::filesystem;

namespace {

int lightsIn(const scene::FramePtr& frame) {
    int n = int(frame->lights().size());
    for (const auto& child : frame->children()) n += lightsIn(child);
    return n;
}

// Overwrites the 32-bit mother offset of a Homeworld record (record numbers from 1; 0 = none).
void setMotherRecord(const std::string& path, int record, int mother) {
    auto bytes = readBytes(path);
    const size_t at = 68 + size_t(record - 1) * 112 + 36;
    const int32_t offset = mother == 0 ? 0 : 68 + (mother - 1) * 112;
    for (int k = 0; k < 4; ++k) bytes[at + size_t(k)] = uint8_t(uint32_t(offset) >> (8 * k));
    writeBytes(path, bytes);
}

class FailingStore : public SettingsStore {
public:
    std::string getKeyValue(const std::string&) override { throw RunTimeError(5, "The settings cannot be read"); }
    bool setKeyValue(const std::string&, const std::string&) override { return false; }
};

}  // namespace

TEST_F(RoadTest, TheShipDefinitionOpensTheWholeSet) {
    loadThisFile(ctx, at("Tarvlet.shp"));

    EXPECT_EQ(t.status.status, "Ship loaded");
    EXPECT_TRUE(ctx.model.modelLoaded);
    // Every name the .shp and .lod give is found in another letter case.
    EXPECT_EQ(ctx.currentModelPath, at("Tarvlet.peo"));
    EXPECT_EQ(ctx.shp.lodFilePath, at("Tarvlet.lod"));
    EXPECT_EQ(ctx.shp.madFilePath, at("TARVLET.MAD"));
    EXPECT_EQ(ctx.lod.lblLodPath, (ship / "").string());
    ASSERT_EQ(ctx.lod.lstLodFiles.size(), 1u);
    EXPECT_EQ(ctx.lod.lstLodFiles[0].text, "Tarvlet_LOD1.peo");
    EXPECT_TRUE(ctx.lod.cmdMultiFileEnabled);
    EXPECT_TRUE(ctx.lod.cmdAddToLodEnabled);
    EXPECT_FALSE(ctx.shp.noShpLoaded);
    EXPECT_TRUE(ctx.shp.mnuFileSaveSHPEnabled);
    EXPECT_EQ(ctx.shell.mnuRecentFile[1].path, at("Tarvlet.shp"));

    EXPECT_EQ(ctx.model.objectCount(), 4);
    EXPECT_EQ(ctx.mex.mexChunkCount(), 7);
    ASSERT_EQ(ctx.animation.madAnimations.size(), 1u);
    EXPECT_EQ(ctx.animation.madAnimations[0].name, "Sweep");
    EXPECT_TRUE(ctx.road.keyframesPageEnabled.value_or(false));
    EXPECT_EQ(ctx.materialsPage->lstMaterial.size(), 3u);
    EXPECT_EQ(ctx.materialsPage->txtPublic, "3");
    EXPECT_EQ(ctx.materialsPage->txtLocal, "0");
    EXPECT_TRUE(ctx.road.pagesEnabled.value_or(false) && ctx.road.mnuFileSaveEnabled && ctx.road.mnuReloadEnabled);

    // The tree and the frames follow the links: Hull > (Turret > Gun, EnginePod).
    const KeyedTree& tree = ctx.shell.treeHeirachy;
    EXPECT_EQ(tree.topLevel(), std::vector<std::string>{"o0"});
    EXPECT_EQ(tree.childrenOf("o0"), (std::vector<std::string>{"o1", "o3"}));
    EXPECT_EQ(tree.childrenOf("o1"), std::vector<std::string>{"o2"});
    const auto& views = ctx.view.viewObjects;
    EXPECT_EQ(views[0].frame->getParent(), ctx.view.modelFrame);
    EXPECT_EQ(views[2].frame->getParent(), views[1].frame);
    EXPECT_EQ(views[2].frame->getName(), "peo_Gun");
    EXPECT_EQ(views[1].frame->getPosition(views[0].frame).x, 6.0f);

    // The light and the camera distance follow the model's extent.
    const double e = ctx.model.modelExtent;
    EXPECT_EQ(e, 40.0);
    EXPECT_EQ(lightsIn(ctx.view.sceneFrame), 1);
    EXPECT_EQ(ctx.view.lightFrame->getPosition(ctx.view.lightFrame->getParent()).x, float(-e));
    // Reset View puts the camera 2 x extent in front of the model, looking at it.
    EXPECT_EQ(ctx.view.cameraFrame->getPosition(nullptr).z, float(2 * e));
    EXPECT_EQ(ctx.toolsPage->cmbObjectSize.listIndex, 0);
    EXPECT_EQ(ctx.toolsPage->txtScaleAmount, "150");
}

TEST_F(RoadTest, TheEndingOfTheNameChoosesTheRoad) {
    fs::copy_file(at("Tarvlet.peo"), at("Upper.PEO"));
    fs::copy_file(at("Tarvlet.peo"), at("Mixed.Geo"));
    fs::copy_file(at("Tarvlet.peo"), at("ship.peo.bak"));
    const struct {
        std::string name;
        bool loads;
    } cases[] = {{"Upper.PEO", true}, {"Mixed.Geo", true}, {"ship.peo.bak", false}, {"Tarvlet.lod", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ctx.currentModelPath = "before";
        if (!c.loads) t.prompts.expectMessage("Sorry this file type is not supported!", ctx.version.appTitle);
        loadThisFile(ctx, at(c.name));
        EXPECT_EQ(ctx.currentModelPath, c.loads ? at(c.name) : "before");
        EXPECT_EQ(ctx.road.CommonDialog1.FileName, at(c.name));
        if (c.loads) {
            EXPECT_EQ(ctx.model.objectCount(), 4);
            EXPECT_TRUE(ctx.shp.noShpLoaded);
            EXPECT_TRUE(ctx.lod.lblLodPath.empty());
        }
    }
}

TEST_F(RoadTest, OpenDoesNothingForTheSameFileOrCancel) {
    loadThisFile(ctx, at("Tarvlet.peo"));
    const int pumps = t.status.eventPumps;
    t.prompts.expectOpen(FileDialogChoice{at("Tarvlet.peo"), 1});
    t.prompts.expectOpen(std::nullopt);
    mnuFileOpen_Click(ctx);
    mnuFileOpen_Click(ctx);
    EXPECT_EQ(t.status.eventPumps, pumps);  // no load ran
    const FileDialogRequest& asked = t.prompts.shown[0].request;
    EXPECT_EQ(asked.filter, kOpenFilter);
    EXPECT_EQ(asked.filterIndex, 1);
    EXPECT_EQ(asked.initialFolder, (ship / "").string());
    EXPECT_EQ(asked.fileName, at("Tarvlet.peo"));

    // With no model, Cancel gets no name from an earlier attempt, and the SHP filter comes first for SHP.
    TestContext fresh(dir.path() / "data");
    fresh.ctx.road.CommonDialog1.FileName = at("ship.peo.bak");
    fresh.ctx.prefs.defaultFileType = 1;
    fresh.prompts.expectOpen(std::nullopt);
    mnuFileOpen_Click(fresh.ctx);
    EXPECT_EQ(fresh.prompts.shown[0].request.fileName, "");
    EXPECT_EQ(fresh.prompts.shown[0].request.filterIndex, 2);
    EXPECT_TRUE(fresh.ctx.currentModelPath.empty());
}

TEST_F(RoadTest, AMissingLodListLeavesThePreviousModel) {
    loadThisFile(ctx, at("Tarvlet.peo"));
    fs::remove(at("Tarvlet.lod"));
    t.prompts.expectMessage("No LOD file found! Aborting load.", ctx.version.appTitle);
    loadThisFile(ctx, at("Tarvlet.shp"));
    EXPECT_EQ(ctx.currentModelPath, at("Tarvlet.peo"));
    EXPECT_EQ(ctx.model.objectCount(), 4);
    EXPECT_TRUE(ctx.model.modelLoaded);
    EXPECT_EQ(ctx.shell.mnuRecentFile[1].path, at("Tarvlet.peo"));
    EXPECT_NE(ctx.shell.mnuRecentFile[2].path, at("Tarvlet.shp"));
    // The LOD label still describes the ship on screen, and the status says the new file was not loaded.
    EXPECT_EQ(ctx.lod.lblLodPath, "");
    EXPECT_EQ(t.status.status, notLoadedStatusText(at("Tarvlet.shp")));
}

// The refused file ends the selection (step one of every open); the object that was selected on the model that
// stays shown loses its selected look and its axes, so a later pick never leaves two objects looking selected.
TEST_F(RoadTest, ARefusedFileLeavesNoObjectLookingSelected) {
    struct Case {
        const char* what;
        std::function<void()> prepare;
        const char* file;
        const char* message;
    } cases[] = {
        {"missing .lod", [&] { fs::remove(at("Tarvlet.lod")); }, "Tarvlet.shp", "No LOD file found! Aborting load."},
        {"unsupported type", [] {}, "Tarvlet.txt", "Sorry this file type is not supported!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        samples::writeSampleShip(ship);
        loadThisFile(ctx, at("Tarvlet.peo"));
        ctx.preview.pickSelection->selectPickedObject(ctx, 1);
        const scene::MeshPtr mesh = ctx.view.viewObjects[1].mesh;
        const int plain = ctx.view.viewObjects[2].mesh->quality();
        ASSERT_NE(mesh->quality(), plain);
        ASSERT_TRUE(selectionMarkerOn(ctx.view, ctx.view.viewObjects[1].frame));
        c.prepare();
        t.prompts.expectMessage(c.message, ctx.version.appTitle);
        loadThisFile(ctx, at(c.file));
        EXPECT_EQ(ctx.objects.selectedObject, -1);
        EXPECT_EQ(ctx.view.viewObjects.size(), 4u) << "the previous model stays";
        EXPECT_EQ(mesh->quality(), plain);
        EXPECT_FALSE(selectionMarkerOn(ctx.view, ctx.view.viewObjects[1].frame));
        EXPECT_TRUE(t.errors.reports.empty());
    }
}

TEST(ObjectParents, LinksAreReadInObjectOrderAndBadOnesHangUnderTheRoot) {
    auto model = [](std::vector<int32_t> mothers) {
        ShipModel m;
        for (int32_t mother : mothers) {
            PeoObject o;
            o.mother = mother;
            m.peoObjects.push_back(o);
        }
        return m;
    };
    const struct {
        const char* what;
        std::vector<int32_t> mothers;
        std::vector<int> parents;
        int corrupted;
    } cases[] = {
        {"plain tree", {0, 1, 2, 1}, {-1, 0, 1, 0}, 0}, {"a parent with a higher index", {0, 3, 1}, {-1, 2, 0}, 0},
        {"self link", {0, 2, 1}, {-1, 0, 0}, 1},        {"beyond the count", {0, 9, 1}, {-1, 0, 0}, 1},
        {"negative link", {0, -1, 2}, {-1, 0, 1}, 1},   {"two objects naming each other", {0, 3, 2}, {-1, 2, 0}, 1},
        {"object 0 with a parent", {2, 1}, {-1, 0}, 1}, {"object 0 naming itself", {1}, {-1}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResolvedParents r = resolveObjectParents(model(c.mothers));
        EXPECT_EQ(r.parent, c.parents);
        EXPECT_EQ(r.corruptedLinks, c.corrupted);
    }
}

TEST_F(RoadTest, CorruptedLinksAreReportedAndTheLoadGoesOn) {
    setMotherRecord(at("Tarvlet.peo"), 3, 3);   // Gun names itself
    setMotherRecord(at("Tarvlet.peo"), 4, 40);  // EnginePod names an object that does not exist
    for (int i = 0; i < 4; ++i) t.prompts.expectMessage("Corrupted hierarchy detected!", ctx.version.appTitle);
    loadThisFile(ctx, at("Tarvlet.peo"));
    EXPECT_EQ(t.status.status, "Ship loaded");
    const auto& views = ctx.view.viewObjects;
    EXPECT_EQ(views[2].frame->getParent(), views[0].frame);
    EXPECT_EQ(views[3].frame->getParent(), views[0].frame);
    EXPECT_EQ(ctx.shell.treeHeirachy.childrenOf("o0"), (std::vector<std::string>{"o1", "o2", "o3"}));
}

TEST_F(RoadTest, EachCorruptedLinkIsShownWhenTheLinkingReachesItsObject) {
    // The frames linked so far at each message, read from the progress of the linking loop.
    struct Watching : ScriptedPrompts {
        RecordingStatus* status = nullptr;
        std::vector<int> linkedAtMessage;
        void messageBox(const std::string& text, const std::string& caption, PromptIcon icon) override {
            linkedAtMessage.push_back(status->loadTextures.value);
            ScriptedPrompts::messageBox(text, caption, icon);
        }
    } prompts;
    prompts.status = &t.status;
    for (int i = 0; i < 4; ++i) prompts.expectMessage("Corrupted hierarchy detected!");
    ctx.services.prompts = &prompts;
    setMotherRecord(at("Tarvlet.peo"), 4, 40);  // EnginePod, object 3, names an object that does not exist
    setMotherRecord(at("Tarvlet.peo"), 2, 2);   // Turret, object 1, names itself
    loadThisFile(ctx, at("Tarvlet.peo"));
    ctx.services.prompts = &t.prompts;
    // The tree's build shows its own messages afterwards; the linking shows one per object, in object order.
    ASSERT_EQ(prompts.linkedAtMessage.size(), 4u);
    EXPECT_EQ(prompts.linkedAtMessage[0], 1);
    EXPECT_EQ(prompts.linkedAtMessage[1], 3);
}

TEST_F(RoadTest, ACycleOfLinksNeverMakesACycleOfFrames) {
    setMotherRecord(at("Tarvlet.peo"), 2, 3);  // Turret under Gun, while Gun is under Turret
    t.prompts.expectMessage("Corrupted hierarchy detected!").expectMessage("Corrupted hierarchy detected!");
    loadThisFile(ctx, at("Tarvlet.peo"));
    const auto& views = ctx.view.viewObjects;
    EXPECT_EQ(views[1].frame->getParent(), views[2].frame);
    EXPECT_EQ(views[2].frame->getParent(), views[0].frame);
    EXPECT_EQ(ctx.shell.treeHeirachy.topLevel(), std::vector<std::string>{"o0"});
    EXPECT_EQ(ctx.shell.treeHeirachy.count(), 4);
}

TEST_F(RoadTest, TheLoadSummaryShowsOnlyForACataclysmShipOpenedThroughItsShipDefinition) {
    // Make the sample a Cataclysm ship with the writer, then give the summary a note.
    loadThisFile(ctx, at("Tarvlet.peo"));
    writePeoFile(ctx, at("Tarvlet.peo"), true);
    const auto withNotes = [&] { ctx.shell.loadSummaryNotes = "A note\r\n"; };

    withNotes();
    loadThisFile(ctx, at("Tarvlet.peo"));
    EXPECT_EQ(ctx.model.peoVersion, kPeoVersionCataclysm);
    EXPECT_EQ(roadWindow.summaries, 0);
    withNotes();
    loadThisFile(ctx, at("Tarvlet.shp"));
    EXPECT_EQ(roadWindow.summaries, 1);
    ctx.shell.loadSummaryNotes.clear();
    loadThisFile(ctx, at("Tarvlet.shp"));
    EXPECT_EQ(roadWindow.summaries, 1);
}

TEST_F(RoadTest, ReloadReadsTheModelAgainWithoutTheLodList) {
    loadThisFile(ctx, at("Tarvlet.shp"));
    int renderModes = 0;
    steps.onApplyRenderMode = [&](EditingContext&) { ++renderModes; };
    mnuReload_Click(ctx);
    EXPECT_TRUE(ctx.lod.lstLodFiles.empty());
    EXPECT_EQ(ctx.currentModelPath, at("Tarvlet.peo"));
    EXPECT_EQ(ctx.model.objectCount(), 4);
    EXPECT_EQ(renderModes, 1);
    EXPECT_EQ(ctx.shell.mnuRecentFile[1].path, at("Tarvlet.shp"));
    EXPECT_FALSE(ctx.shell.mnuRecentFile[2].visible);
    // One set of frames and one light, however often the model is loaded.
    mnuReload_Click(ctx);
    EXPECT_EQ(ctx.view.modelFrame->children().size(), 1u);
    EXPECT_EQ(lightsIn(ctx.view.sceneFrame), 1);
}

TEST_F(RoadTest, TheBackupOffersComeInTheOrderModelMexMad) {
    ctx.prefs.alwaysShowBackup = true;
    t.prompts.expectYesNo(false, "").expectYesNo(false, "").expectYesNo(true, "");
    loadThisFile(ctx, at("Tarvlet.shp"));
    ASSERT_EQ(t.prompts.shown.size(), 3u);
    EXPECT_NE(t.prompts.shown[0].text.find("Tarvlet.peo"), std::string::npos);
    EXPECT_NE(t.prompts.shown[1].text.find("tarvlet.mex"), std::string::npos);
    EXPECT_NE(t.prompts.shown[2].text.find("TARVLET.MAD"), std::string::npos);
    EXPECT_TRUE(fs::exists(at("Backup of TARVLET.MAD")));
    EXPECT_TRUE(ctx.shell.mnuRevBUEnabled);
}

TEST_F(RoadTest, TheCleanUpEmptiesEveryTableWithItsCount) {
    loadThisFile(ctx, at("Tarvlet.shp"));
    ASSERT_GT(ctx.mex.mexChunkCount(), 0);
    ASSERT_GT(ctx.animation.madObjectCount(), 0);
    // The next model has no .mex and no .mad: nothing of the previous one may remain.
    fs::create_directories(dir.path() / "other");
    const std::string other = (dir.path() / "other" / "Plain.peo").string();
    fs::copy_file(at("Tarvlet_LOD1.peo"), other);
    loadThisFile(ctx, other);
    EXPECT_EQ(ctx.model.objectCount(), 1);
    // Only the default collision sphere and bounding box.
    ASSERT_EQ(ctx.mex.mexChunkCount(), 2);
    EXPECT_EQ(ctx.mex.mexChunks[0].chunkId, "Col0");
    EXPECT_EQ(ctx.mex.mexChunks[1].chunkId, "Rct0");
    EXPECT_EQ(ctx.mex.mexMeshes.size(), 2u);
    EXPECT_EQ(ctx.mex.treeMex.count(), 9);
    EXPECT_EQ(ctx.animation.madObjectCount(), 0);
    EXPECT_TRUE(ctx.animation.madAnimations.empty());
    EXPECT_EQ(ctx.view.viewObjects.size(), 1u);
}

TEST_F(RoadTest, AFileTheReaderRefusesLeavesNoViewRecords) {
    loadThisFile(ctx, at("Tarvlet.peo"));
    writeBytes(at("Broken.peo"), {1, 2, 3});
    loadThisFile(ctx, at("Broken.peo"));
    EXPECT_EQ(reportsOf("getGeneralInfo"), 1);
    EXPECT_EQ(ctx.model.objectCount(), 0);
    EXPECT_TRUE(ctx.view.viewObjects.empty());
    EXPECT_TRUE(ctx.view.modelFrame->children().empty());
}

TEST_F(RoadTest, AClickInTheViewAfterAFailedReloadReportsNothing) {
    ctx.view.viewport->setSize(200, 200);
    // Before any model: a click on the empty view deselects nothing and reports nothing.
    RMCanvas1_MouseDown(ctx, 1, 0, 3, 3);
    RMCanvas1_MouseUp(ctx, 1, 0, 3, 3);
    EXPECT_TRUE(t.errors.reports.empty());
    EXPECT_EQ(ctx.objects.Dx_Label1, "Nothing selected");

    loadThisFile(ctx, at("Tarvlet.peo"));
    ASSERT_NE(ctx.preview.pickSelection, nullptr);
    ctx.preview.pickSelection->selectPickedObject(ctx, 2);
    ASSERT_EQ(ctx.objects.selectedObject, 2);
    writeBytes(at("Tarvlet.peo"), {1, 2, 3});
    mnuReload_Click(ctx);
    ASSERT_EQ(t.errors.reports.size(), 1u);
    EXPECT_EQ(reportsOf("getGeneralInfo"), 1);
    EXPECT_EQ(ctx.objects.selectedObject, -1) << "the gone model's object is no selection";
    RMCanvas1_MouseDown(ctx, 2, 0, 3, 3);
    RMCanvas1_MouseUp(ctx, 2, 0, 3, 3);
    EXPECT_EQ(ctx.preview.ownControls.popupsShown, 0);

    // A selection that outlived its model all the same is cleared by a click without a report.
    ctx.objects.selectedObject = 2;
    RMCanvas1_MouseDown(ctx, 1, 0, 3, 3);
    RMCanvas1_MouseUp(ctx, 1, 0, 3, 3);
    EXPECT_EQ(t.errors.reports.size(), 1u);
    EXPECT_EQ(ctx.objects.selectedObject, -1);
    EXPECT_EQ(ctx.objects.Dx_Label1, "Nothing selected");
}

TEST_F(RoadTest, TheErrorLineOfABadFileSaysWhatIsWrongAndInWhichFile) {
    // The sample model with one 32-bit header field replaced.
    struct Case {
        int offset;
        int32_t value;
        int number;
        std::string description, detail;
    };
    const Case cases[] = {
        {40, 1734829, 6, "Overflow", "the object count 1734829 in Bad.peo does not fit (at most 32767)"},
        {24, 40000, 6, "Overflow", "the public material count 40000 in Bad.peo does not fit (at most 32767)"},
        {28, -40000, 6, "Overflow", "while reading Bad.peo"},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = readBytes(at("Tarvlet.peo"));
        for (int i = 0; i < 4; ++i) bytes[size_t(c.offset + i)] = uint8_t(uint32_t(c.value) >> (8 * i));
        writeBytes(at("Bad.peo"), bytes);
        t.errors.reports.clear();
        loadThisFile(ctx, at("Bad.peo"));
        ASSERT_EQ(t.errors.reports.size(), 1u) << c.detail;
        const ErrorReportInfo& report = t.errors.reports[0];
        EXPECT_EQ(report.number, c.number);
        EXPECT_EQ(report.description, c.description);
        EXPECT_EQ(report.detail, c.detail);
        EXPECT_EQ(report.procedure, "getGeneralInfo");
    }
    // A fault whose text names the file already gets no detail.
    writeBytes(at("Bad.peo"), {1, 2, 3});
    t.errors.reports.clear();
    loadThisFile(ctx, at("Bad.peo"));
    ASSERT_EQ(t.errors.reports.size(), 1u);
    EXPECT_NE(t.errors.reports[0].description.find("Bad.peo"), std::string::npos);
    EXPECT_EQ(t.errors.reports[0].detail, "");
}

// The sample ship cut short at several points after its material list (whose textures load through their
// own procedures): the refusal names the load road's procedure, not the last texture step.
TEST_F(RoadTest, ARefusedModelNamesTheProcedureThatRefusedIt) {
    const auto whole = readBytes(at("Tarvlet.peo"));
    for (const size_t cut : {size_t(60), whole.size() / 2, whole.size() - 40, whole.size() - 1}) {
        SCOPED_TRACE(cut);
        writeBytes(at("Cut.peo"), std::vector<uint8_t>(whole.begin(), whole.begin() + ptrdiff_t(cut)));
        t.errors.reports.clear();
        t.prompts.allowUnused();
        loadThisFile(ctx, at("Cut.peo"));
        if (ctx.model.modelLoaded) continue;  // a cut the reader reads past
        ASSERT_FALSE(t.errors.reports.empty());
        EXPECT_EQ(t.errors.reports.back().procedure, "getGeneralInfo") << t.errors.reports.back().description;
    }
}

TEST_F(RoadTest, AFolderGivenAsTheModelIsReportedOnceBeforeAnyBackupQuestion) {
    loadThisFile(ctx, at("Tarvlet.peo"));
    ctx.prefs.alwaysShowBackup = true;
    const fs::path folder = ship / "Folder.peo";
    fs::create_directories(folder);
    writeBytes(ship / "Folder.peo.bak", {1});  // whatever a backup would look like
    t.errors.reports.clear();
    loadThisFile(ctx, folder.string());
    ASSERT_EQ(t.errors.reports.size(), 1u);
    EXPECT_EQ(t.errors.reports[0].number, 75);
    EXPECT_NE(t.errors.reports[0].description.find(folder.string()), std::string::npos);
    EXPECT_TRUE(t.prompts.shown.empty()) << t.prompts.shown[0].text;
    EXPECT_EQ(ctx.model.objectCount(), 4) << "the model loaded before stays";
}

TEST_F(RoadTest, AnErrorInTheRoadsOwnStepsRestoresThePointerAndBars) {
    steps.onCreateObjectTree = [](EditingContext&) { throw RunTimeError::objectNotSet(); };
    loadThisFile(ctx, at("Tarvlet.peo"));
    EXPECT_EQ(reportsOf("startProcess"), 1);
    EXPECT_FALSE(ctx.model.modelLoaded);
    EXPECT_FALSE(t.status.busy);
    EXPECT_FALSE(t.status.loadTextures.visible);
    EXPECT_FALSE(t.status.status2Bar.visible);
    EXPECT_EQ(ctx.road.operationsRunning, 0);
}

TEST_F(RoadTest, ReloadAndRecentFilesReportTheirErrors) {
    loadThisFile(ctx, at("Tarvlet.peo"));
    steps.onApplyRenderMode = [](EditingContext&) { throw RunTimeError(5, "Invalid procedure call"); };
    mnuReload_Click(ctx);
    EXPECT_EQ(reportsOf("mnuReload_Click"), 1);

    FailingStore store;
    ctx.services.recentFilesStore = &store;
    mnuRecentFile_Click(ctx, 1);
    ASSERT_EQ(reportsOf("mnuRecentFile_Click"), 1);
    EXPECT_EQ(t.errors.reports.back().arguments, "1");
}

TEST_F(RoadTest, TheShipClassSetsTheScaleFromTheExtent) {
    ctx.model.modelExtent = 1.0;
    selectObjectSize(ctx, 5);
    EXPECT_EQ(ctx.toolsPage->txtScaleAmount, "700000");
    EXPECT_FALSE(ctx.toolsPage->txtScaleAmountEnabled);
    selectObjectSize(ctx, 6);
    EXPECT_TRUE(ctx.toolsPage->txtScaleAmountEnabled);
    EXPECT_EQ(ctx.toolsPage->txtScaleAmount, "700000");
}

}  // namespace tarv::test

namespace tarv::test {

// A file the reader refuses ends the road: nothing is loaded, no command can write the empty model over the
// file, and Reload reads it again once it is mended.
TEST_F(RoadTest, ARefusedFileLeavesNothingToSaveOverIt) {
    const auto good = readBytes(at("Tarvlet.peo"));
    struct Case {
        const char* name;
        std::function<void(ByteBuilder&)> damage;
    };
    const Case cases[] = {
        {"truncated header", [](ByteBuilder& b) { b.data().resize(40); }},
        {"truncated records", [](ByteBuilder& b) { b.data().resize(68 + 50); }},
        {"no objects", [](ByteBuilder& b) { b.patchI32(40, 0); }},
        {"negative object count", [](ByteBuilder& b) { b.patchI32(40, -2); }},
        {"object count beyond 16 bits", [](ByteBuilder& b) { b.patchI32(40, 40000); }},
        {"material count beyond 16 bits", [](ByteBuilder& b) { b.patchI32(28, 70000); }},
    };
    using Command = void (*)(EditingContext&);
    const std::pair<const char*, Command> commands[] = {{"All", mnuSaveAll_Click},
                                                        {"PEO only", mnuSavePeo_Click},
                                                        {"MEX only", mnuSaveMex_Click},
                                                        {"MAD only", mnuSaveMad_Click},
                                                        {"Save As", mnuFileSaveAs_Click}};
    const std::string broken = at("Broken.peo");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        loadThisFile(ctx, at("Tarvlet.peo"));  // a good model first, with Save enabled
        ASSERT_TRUE(ctx.road.mnuFileSaveEnabled);
        ByteBuilder damaged;
        damaged.bytes(good);
        c.damage(damaged);
        writeBytes(broken, damaged.data());
        t.status.statusHistory.clear();
        const size_t reportsBefore = t.errors.reports.size();

        loadThisFile(ctx, broken);
        EXPECT_EQ(t.errors.reports.size(), reportsBefore + 1);  // the reader's report, and nothing after it
        EXPECT_FALSE(ctx.model.modelLoaded);
        EXPECT_EQ(t.status.status, kLoadFailedStatus);
        EXPECT_EQ(std::count(t.status.statusHistory.begin(), t.status.statusHistory.end(), "Ship loaded"), 0);
        EXPECT_FALSE(ctx.road.mnuFileSaveEnabled);
        EXPECT_FALSE(ctx.road.mnuFileSaveAsEnabled);
        EXPECT_TRUE(ctx.road.mnuReloadEnabled);
        EXPECT_EQ(ctx.currentModelPath, broken);

        for (const auto& [name, command] : commands) {
            command(ctx);  // Save As shows no dialog: an unexpected prompt fails the test
            EXPECT_EQ(readBytes(broken), damaged.data()) << name;
            EXPECT_EQ(t.status.status, kLoadFailedStatus) << name;
        }
        EXPECT_FALSE(fs::exists(at("Broken.mex")));
        EXPECT_FALSE(fs::exists(at("Broken.mad")));
    }
    EXPECT_EQ(std::string(kLoadFailedStatus), "Load failed");

    // Mended, the same path loads through Reload as any good file does.
    writeBytes(broken, good);
    mnuReload_Click(ctx);
    EXPECT_TRUE(ctx.model.modelLoaded);
    EXPECT_EQ(t.status.status, "Ship loaded");
    EXPECT_TRUE(ctx.road.mnuFileSaveEnabled);
    EXPECT_TRUE(ctx.road.mnuFileSaveAsEnabled);
}

}  // namespace tarv::test

namespace tarv::test {

// A set whose .lod names no model is refused by name, and the previous ship is not kept to be saved as it.
TEST_F(RoadTest, ALodListWithoutAModelIsRefusedAndThePreviousShipIsNotTakenForTheSet) {
    loadThisFile(ctx, at("Tarvlet.peo"));
    const fs::path other = dir.path() / "other";
    fs::create_directories(other);
    fs::copy_file(at("Tarvlet.shp"), other / "Tarvlet.shp");
    writeText(other / "Tarvlet.lod", "; levels of detail\r\nLOD 0\r\npMeshFile\r\n");
    const std::string lod = (other / "Tarvlet.lod").string();
    t.prompts.expectMessage(lodNamesNoModelText(lod));

    loadThisFile(ctx, (other / "Tarvlet.shp").string());
    EXPECT_TRUE(t.errors.reports.empty());
    EXPECT_EQ(ctx.currentModelPath, "");
    EXPECT_FALSE(ctx.model.modelLoaded);
    EXPECT_EQ(ctx.model.objectCount(), 0);
    EXPECT_TRUE(ctx.view.modelFrame->children().empty());
    EXPECT_FALSE(ctx.road.mnuFileSaveEnabled);
    EXPECT_FALSE(ctx.road.mnuReloadEnabled);
    EXPECT_EQ(t.status.status, kLoadFailedStatus);

    mnuSaveAll_Click(ctx);
    mnuSavePeo_Click(ctx);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(other)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Tarvlet.lod", "Tarvlet.shp"}));

    EXPECT_EQ(lodNamesNoModelText("/ships/a.lod"), "The LOD file /ships/a.lod names no model file! Aborting load.");
}

}  // namespace tarv::test

namespace tarv::test {

// Backup > Load that restores the model but not its .mex: the model on screen is what is now on disk, so a
// save writes the restored model, not the one loaded before.
TEST_F(RoadTest, ABackupLoadThatStopsAfterTheModelStillReloadsIt) {
    loadThisFile(ctx, at("Tarvlet.peo"));
    ASSERT_EQ(ctx.model.objectCount(), 4);
    fs::copy_file(at("Tarvlet_LOD1.peo"), backupNameOf(at("Tarvlet.peo")));  // one object
    writeText(backupNameOf(at("tarvlet.mex")), "a backup that will not be copied");
    const auto mexBefore = readBytes(at("tarvlet.mex"));

    failNextAtomicWriteForTesting(1);  // the model is copied back, the .mex cannot be replaced
    mnuRevBU_Click(ctx);
    ASSERT_EQ(t.errors.reports.size(), 1u);
    EXPECT_EQ(t.errors.reports[0].procedure, "restoreBackup");
    EXPECT_EQ(readBytes(at("tarvlet.mex")), mexBefore);
    EXPECT_TRUE(ctx.model.modelLoaded);
    EXPECT_EQ(ctx.model.objectCount(), 1);

    mnuSavePeo_Click(ctx);
    TestContext reread(dir.path() / "data");
    readPeoFile(reread.ctx, at("Tarvlet.peo"));
    EXPECT_EQ(reread.ctx.model.objectCount(), 1);

    // A restored model the reader refuses ends as a refused load: nothing can be saved over it.
    writeBytes(backupNameOf(at("Tarvlet.peo")), {1, 2, 3});
    fs::remove(backupNameOf(at("tarvlet.mex")));
    mnuRevBU_Click(ctx);
    EXPECT_FALSE(ctx.model.modelLoaded);
    EXPECT_FALSE(ctx.road.mnuFileSaveEnabled);
    EXPECT_EQ(readBytes(at("Tarvlet.peo")), (std::vector<uint8_t>{1, 2, 3}));
}

}  // namespace tarv::test
