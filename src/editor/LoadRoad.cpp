#include "editor/LoadRoad.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <unistd.h>

#include "animation/AnimationList.h"
#include "animation/MadTracks.h"
#include "animation/Playback.h"
#include "attachments/MexSteps.h"
#include "attachments/state/MexChunkTable.h"
#include "attachments/ShpFile.h"
#include "attachments/state/ShipInfoPageState.h"
#include "animation/state/AnimationsPageState.h"
#include "base/AtomicFile.h"
#include "model/Backups.h"
#include "model/LogFiles.h"
#include "base/NumberText.h"
#include "base/Paths.h"
#include "model/PeoReader.h"
#include "editor/DocumentFiles.h"
#include "editor/RecentFiles.h"
#include "model/RotationMath.h"
#include "base/RunTimeError.h"
#include "editor/context/TrapGuard.h"
#include "meshtools/LodFiles.h"
#include "meshtools/ObjectSize.h"
#include "meshtools/state/ToolsPageState.h"
#include "model/LoadSummary.h"
#include "materials/MaterialList.h"
#include "materials/MaterialProperties.h"
#include "objects/ObjectLinks.h"
#include "objects/ObjectSelection.h"
#include "objects/ObjectTree.h"
#include "preview/MaterialPreview.h"
#include "preview/ObjectMeshes.h"
#include "preview/PreviewCamera.h"
#include "preview/PreviewMarkers.h"
#include "preview/PreviewScene.h"
#include "scene/Scene.h"
#include "materials/state/MaterialsPageState.h"
#include "editor/context/EditingContext.h"
#include "editor/context/Messages.h"

namespace tarv {

namespace {

std::string lowerLastFour(const std::string& name) {
    return asciiLower(name.size() > 4 ? name.substr(name.size() - 4) : name);
}

// A path named in the .shp, found in its folder without regard to case (as written when missing).
std::string resolveFromShp(const std::string& shpFolder, const std::string& path) {
    if (path.empty() || shpFolder.empty() || path.compare(0, shpFolder.size(), shpFolder) != 0) return path;
    return resolveShipPathOrAsWritten(shpFolder, path.substr(shpFolder.size())).string();
}

bool fileExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

std::string homeFolder() {
    const char* home = std::getenv("HOME");
    return home && *home ? std::string(home) + "/" : std::string();
}

void linkObjectFrames(EditingContext& ctx) {
    ViewState& view = ctx.view;
    const ResolvedParents links = resolveObjectParents(ctx.model);
    const int count = ctx.model.objectCount();
    for (int i = 0; i < count; ++i) {
        if (links.corrupted[size_t(i)]) okMessage(ctx, "Corrupted hierarchy detected!");
        ViewObject& v = view.viewObjects[size_t(i)];
        if (!v.frame) v.frame = scene::createFrame();
        const int p = links.parent[size_t(i)];
        scene::FramePtr parent = p < 0 ? view.modelFrame : view.viewObjects[size_t(p)].frame;
        if (!parent) parent = view.modelFrame;
        parent->addChild(v.frame);
        v.shown = -1;
        roundMatrix(ctx.model.peoObjects[size_t(i)].matrix, v.matrix);
        positionViewObject(v);
        setFrameQuaternion(v, getObjectQuaternion(getObjectEulersFromMatrix(ctx, int16_t(i))));
        ctx.status().setProgressValue(ProgressBar::LoadTextures, i + 1);
        ctx.status().processEvents();
    }
}

// Reload's last step: the render mode the model was shown in before.
void applyRenderMode(EditingContext& ctx) {
    if (ctx.view.mnuRenderFlat)
        mnuRenderFlat_Click(ctx);
    else
        mnuRenderWireframe_Click(ctx);
}

}  // namespace

OperationScope::OperationScope(EditingContext& ctx) : ctx_(ctx) { ++ctx_.road.operationsRunning; }
OperationScope::~OperationScope() { --ctx_.road.operationsRunning; }

ResolvedParents resolveObjectParents(const ShipModel& model) {
    const int count = model.objectCount();
    ResolvedParents r;
    r.parent.assign(size_t(count), -1);
    r.corrupted.assign(size_t(count), true);
    // Whether hanging object i under p would close a cycle, given the parents set so far.
    auto closesCycle = [&](int i, int p) {
        for (int at = p, steps = 0; at >= 0 && steps <= count; at = r.parent[size_t(at)], ++steps)
            if (at == i) return true;
        return false;
    };
    for (int i = 0; i < count; ++i) {
        const int64_t m = model.peoObjects[size_t(i)].mother;
        r.corrupted[size_t(i)] = m != 0;
        if (m == 0) continue;
        ++r.corruptedLinks;
        if (i == 0) continue;  // the root object with a parent link: under the model frame
        if (m > 0 && m <= count && m != i + 1 && !closesCycle(i, int(m - 1))) {
            --r.corruptedLinks;
            r.corrupted[size_t(i)] = false;
            r.parent[size_t(i)] = int(m - 1);
        } else if (!closesCycle(i, 0)) {
            r.parent[size_t(i)] = 0;
        }
    }
    return r;
}

namespace {
class EditorLoadRoad : public LoadRoadHook {
public:
    void startprocess(EditingContext& ctx) override { tarv::startprocess(ctx); }
};

EditorLoadRoad editorLoadRoad;  // holds no state: one serves every context
}  // namespace

void connectLoadRoad(EditingContext& ctx) { ctx.toolsPage->loadRoad = &editorLoadRoad; }

void SubsystemRoadSteps::create3dObject(EditingContext& ctx, int objNo) { tarv::create3dObject(ctx, int16_t(objNo)); }
void SubsystemRoadSteps::showAxes(EditingContext& ctx) { tarv::showAxes(ctx); }
void SubsystemRoadSteps::createObjectTree(EditingContext& ctx) { tarv::createObjectTree(ctx); }
void SubsystemRoadSteps::fixHierarchy(EditingContext& ctx) { tarv::fixHierarchy(ctx); }
void SubsystemRoadSteps::applyRenderMode(EditingContext& ctx) { tarv::applyRenderMode(ctx); }

namespace {
SubsystemRoadSteps subsystemRoadSteps;  // holds no state: one serves every context

void showLoadSummary(EditingContext& ctx) {
    if (ctx.road.window) ctx.road.window->showLoadSummary(ctx);
}
}  // namespace

RoadSteps& roadSteps(EditingContext& ctx) { return ctx.road.steps ? *ctx.road.steps : subsystemRoadSteps; }

void mnuFileOpen_Click(EditingContext& ctx) {
    trapErrors(ctx, "frmTARV", "mnuFileOpen_Click", "", [&] {
        CommonDialog& dialog = ctx.road.CommonDialog1;
        dialog.Filter = kOpenFilter;
        dialog.FilterIndex = ctx.prefs.defaultFileType == 0 ? 1 : 2;
        const bool loaded = !ctx.currentModelPath.empty();
        if (ctx.prefs.useCustomStartDir)
            dialog.InitDir = ctx.prefs.customStartDir;
        else if (loaded)
            dialog.InitDir = folderOf(ctx.currentModelPath);
        else
            dialog.InitDir = homeFolder();
        // With no model, Cancel must not bring back the name of an earlier attempt.
        dialog.FileName = loaded ? ctx.currentModelPath : std::string();
        std::optional<std::string> chosen = dialog.ShowOpen(ctx.prompts());
        if (!chosen || chosen->empty() || *chosen == ctx.currentModelPath) return;
        loadThisFile(ctx, *chosen);
    });
}

void mnuRecentFile_Click(EditingContext& ctx, int index) {
    trapErrors(ctx, "frmTARV", "mnuRecentFile_Click", intText(index), [&] {
        if (index < 1 || index >= int(ctx.shell.mnuRecentFile.size())) return;
        const std::string path = ctx.shell.mnuRecentFile[size_t(index)].path;
        if (!path.empty()) loadThisFile(ctx, path);
    });
}

void mnuReload_Click(EditingContext& ctx) {
    trapErrors(ctx, "frmTARV", "mnuReload_Click", "", [&] {
        ctx.lod.lstLodFiles.clear();
        ctx.lod.selectedEntry = -1;
        ctx.mex.treeMex.clear();
        cleanup(ctx, true);
        startprocess(ctx);
        setErrorContext(ctx, "frmTARV", "mnuReload_Click", "");
        roadSteps(ctx).applyRenderMode(ctx);
    });
}

void mnuRevBU_Click(EditingContext& ctx) {
    const BackupRestore restored = restoreModelBackups(ctx);
    if (!restored.modelStepDone) return;  // nothing on disk changed
    ctx.road.ssTab1Page = 0;
    startprocess(ctx);
}

namespace {
// A refused file leaves the previous model on screen with nothing selected: its object that was selected
// gets its deselected look back, or it would still show as selected.
void unselectShownObject(EditingContext& ctx, int16_t objNo) {
    if (objNo < 0 || objNo >= ctx.model.objectCount() || size_t(objNo) >= ctx.view.viewObjects.size()) return;
    resetPreviousObject(ctx, objNo);
}

// A folder, or a file that exists but cannot be opened.
bool isUnreadableModel(const std::string& path) {
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    return std::filesystem::is_directory(status) ||
           (std::filesystem::exists(status) && ::access(path.c_str(), R_OK) != 0);
}
}  // namespace

void loadThisFile(EditingContext& ctx, const std::string& filename) {
    const int16_t shownSelection = ctx.objects.selectedObject;
    KeptShip kept = keepShip(ctx);
    finishInterruptedSavesBeside(ctx, filename);
    ShipDefinition& shp = ctx.shp;
    shp.lodFilePath.clear();
    shp.mexFilePath.clear();
    shp.madFilePath.clear();
    shp.shpFilePath.clear();
    ctx.lod.lstLodFiles.clear();
    ctx.lod.selectedEntry = -1;
    ctx.objects.lblKey.clear();
    ctx.objects.Dx_Label1.clear();
    ctx.objects.selectedObject = -1;
    ctx.objects.chkShowRecoil = ctx.objects.chkShowRecoilEnabled = false;  // no gun joint selected

    const std::string ending = lowerLastFour(filename);
    if ((ending == ".peo" || ending == ".geo") && isUnreadableModel(filename)) {
        // Refused before anything of the ship on screen goes: it stays with its own files.
        unselectShownObject(ctx, shownSelection);
        trapErrors(ctx, "frmTARV", "loadThisFile", filename, [&] { readWholeFile(filename); });
        restoreKeptShip(ctx, std::move(kept), filename);
    } else if (ending == ".peo" || ending == ".geo") {
        addRecentFile(ctx, filename);
        loadRecentFiles(ctx);
        ctx.lod.lblLodPath.clear();
        ctx.currentModelPath = filename;
        disableShpSave(ctx);
        shp.noShpLoaded = true;
        startprocess(ctx);
    } else if (ending == ".shp") {
        const std::string folder = folderOf(filename);
        ctx.lod.lblLodPath = folder;
        loadShpFile(ctx, filename);
        shp.lodFilePath = resolveFromShp(folder, shp.lodFilePath);
        shp.mexFilePath = resolveFromShp(folder, shp.mexFilePath);
        shp.madFilePath = findBesideIgnoringCase(shp.madFilePath);
        if (fileExists(shp.lodFilePath)) {
            addRecentFile(ctx, filename);
            loadRecentFiles(ctx);
            if (!readLodFile(ctx, shp.lodFilePath, true)) {
                // No model of the new set: the previous ship goes too, so nothing of it is saved as this set.
                okMessage(ctx, lodNamesNoModelText(shp.lodFilePath));
                cleanup(ctx, false);
                ctx.view.viewObjects.clear();
                ctx.currentModelPath.clear();
                endRefusedLoad(ctx);
                ctx.road.mnuReloadEnabled = false;
                ctx.road.CommonDialog1.FileName = filename;
                return;
            }
            ctx.lod.cmdMultiFileEnabled = true;
            disableShpSave(ctx);
            startprocess(ctx);
        } else {
            unselectShownObject(ctx, shownSelection);
            okMessage(ctx, "No LOD file found! Aborting load.");
            restoreKeptShip(ctx, std::move(kept), filename);
        }
    } else {
        unselectShownObject(ctx, shownSelection);
        okMessage(ctx, "Sorry this file type is not supported!");
        restoreKeptShip(ctx, std::move(kept), filename);
    }
    ctx.road.CommonDialog1.FileName = filename;
}

namespace {

// A model path that names a folder, or a file that cannot be opened, is refused with the reader's own error
// (which names the file), before anything else of the road runs. A missing file is the reader's to report.
void refuseUnreadableModel(const std::string& path) {
    if (isUnreadableModel(path)) readWholeFile(path);  // throws
}

}  // namespace

void startprocess(EditingContext& ctx) {
    OperationScope operation(ctx);
    RoadState& road = ctx.road;
    StatusDisplay& status = ctx.status();
    RoadSteps& steps = roadSteps(ctx);
    bool pointerSet = false;
    bool refused = false;
    const bool completed = trapErrors(ctx, "frmTARV", "startProcess", "", [&] {
        // The canvas shows the ship it showed until the new one is built, linked and placed, and then draws it
        // once: not at the window's repaints for the status texts, bars and pointer on the way. A fault that
        // stops the road ends the hold before this procedure's report shows.
        std::optional<HeldCanvas> held(std::in_place, ctx);
        stopPlayback(ctx);
        ctx.objects.chkShowRecoil = ctx.objects.chkShowRecoilEnabled = false;  // no gun joint selected
        refuseUnreadableModel(ctx.currentModelPath);
        startModelLog(ctx);
        offerBackup(ctx, ctx.currentModelPath);
        road.mnuReloadEnabled = true;
        ctx.animationsPage->lstAnimationsIndex = -1;
        ctx.animationsPage->cmbObjAnimsIndex = -1;
        road.ssTab1Page = 0;
        road.ssTab2Page = 0;
        status.processEvents();

        status.setProgressVisible(ProgressBar::LoadTextures, true);
        status.setProgressVisible(ProgressBar::Status2, true);
        status.setBusy(true);
        pointerSet = true;
        ctx.model.modelLoaded = false;

        if (!getGeneralInfo(ctx)) {
            refused = true;
            return;
        }
        setErrorContext(ctx, "frmTARV", "startProcess", "");
        steps.createObjectTree(ctx);
        if (!ctx.live.chkMEXload) checkForMex(ctx);
        checkForMad(ctx, !ctx.shp.madFilePath.empty()
                             ? ctx.shp.madFilePath
                             : findBesideIgnoringCase(replaceExtension(ctx.currentModelPath, "mad")));
        // The steps above record their own context; what fails from here on is this procedure's.
        setErrorContext(ctx, "frmTARV", "startProcess", "");

        ViewState& view = ctx.view;
        if (view.lightFrame) {
            const double e = ctx.model.modelExtent;
            view.cameraLight = scene::createLightRGB(200.0 / 255.0, 200.0 / 255.0, 200.0 / 255.0);
            view.lightFrame->setPosition(view.lightFrame->getParent(), -e, -e, 0);
            view.lightFrame->addLight(view.cameraLight);
            view.lightAdded = -1;
        }
        ctx.objects.selectedObject = -1;
        ctx.shipInfoPage->lblMexKey.clear();
        mnuRenderReset_Click(ctx);  // Render > Reset View, then the Front view
        view3d_Click(ctx, 0);
        road.pagesEnabled = true;
        selectObjectSize(ctx, 1);
        selectObjectSize(ctx, 0);
        ctx.lod.cmdAddToLodEnabled = true;
        ctx.objects.lblKey.clear();

        status.setProgressVisible(ProgressBar::LoadTextures, false);
        status.setProgressVisible(ProgressBar::Status2, false);
        status.setStatus("Ship loaded");
        status.setBusy(false);
        pointerSet = false;
        ctx.model.modelLoaded = true;
        updateShpSaveAfterLoad(ctx);
        recordDocumentFiles(ctx);
        held.reset();  // the summary shows over the new ship
        if (!ctx.documentFiles.damage.empty())
            addWarningToLoadSummary(ctx, readWithDamageNote(ctx.currentModelPath, ctx.documentFiles.damage));
        if (ctx.shell.loadSummaryWarns)
            showLoadSummary(ctx);
        else if (ctx.model.peoVersion == kPeoVersionCataclysm && !ctx.shp.noShpLoaded &&
                   !ctx.shell.loadSummaryNotes.empty())
            showLoadSummary(ctx);
    });
    if ((!completed || refused) && pointerSet) {
        // The road stopped half-way: the pointer and the progress bars go back; the model stays unloaded.
        status.setProgressVisible(ProgressBar::LoadTextures, false);
        status.setProgressVisible(ProgressBar::Status2, false);
        status.setBusy(false);
    }
    // A road that stopped half-way leaves no ship to save: nothing of it may go over the files.
    if (refused || !completed) endRefusedLoad(ctx);
}

void endRefusedLoad(EditingContext& ctx) {
    // Nothing of the file is in memory: no command may write the empty model over it. Reload stays for
    // another try once the file is mended.
    ctx.model.modelLoaded = false;
    ctx.documentFiles = {};
    ctx.objects.selectedObject = -1;  // its object went with the model
    ctx.road.mnuFileSaveEnabled = false;
    ctx.road.mnuFileSaveAsEnabled = false;
    ctx.road.mnuReloadEnabled = true;
    ctx.road.pagesEnabled = false;
    ctx.lod.cmdAddToLodEnabled = false;
    disableShpSave(ctx);
    // The variant and the mesh-extras and animation marks of the status bar described the model before.
    for (int panel = 2; panel <= 4; ++panel) ctx.status().setPanelText(panel, "");
    ctx.status().setStatus(kLoadFailedStatus);
}

bool getGeneralInfo(EditingContext& ctx) {
    return trapErrors(ctx, "frmTARV", "getGeneralInfo", "", [&] {
        StatusDisplay& status = ctx.status();
        RoadSteps& steps = roadSteps(ctx);
        status.processEvents();
        cleanup(ctx, false);
        setErrorContext(ctx, "frmTARV", "getGeneralInfo", "");
        // Save stays off until the file is read: a refused file leaves nothing to write over it.
        ctx.road.mnuFileSaveEnabled = false;
        ctx.road.mnuFileSaveAsEnabled = false;
        addSessionLogFile(ctx, replaceExtension(ctx.currentModelPath, "log"));
        try {
            readPeoFile(ctx, ctx.currentModelPath);
        } catch (...) {
            // The reader leaves the model empty; no view record may outlive it. Its steps (the material list,
            // the textures) recorded their own error contexts: the refusal is this procedure's.
            ctx.view.viewObjects.clear();
            setErrorContext(ctx, "frmTARV", "getGeneralInfo", "");
            throw;
        }
        ctx.road.mnuFileSaveEnabled = true;
        ctx.road.mnuFileSaveAsEnabled = true;
        ShipModel& model = ctx.model;
        const int count = model.objectCount();
        model.modelExtent = 0;
        ctx.view.viewObjects.assign(size_t(count), ViewObject{});
        ctx.materialsPage->txtPublic = intText(model.publicMaterialCount);
        ctx.materialsPage->txtLocal = intText(model.localMaterialCount);

        HeldCanvas held(ctx);  // the canvas draws the ship once it is built and linked
        status.setProgressMax(ProgressBar::LoadTextures, count);
        status.setProgressValue(ProgressBar::LoadTextures, 0);
        for (int i = 0; i < count; ++i) {
            const std::string text = "Creating 3d object " + model.peoObjects[size_t(i)].name;
            status.setStatus(text);
            writeLog(ctx, text, 1);
            steps.create3dObject(ctx, i);
            status.setProgressValue(ProgressBar::LoadTextures, i + 1);
        }
        status.setStatus("Reticulating splines");
        status.setProgressMax(ProgressBar::LoadTextures, count);
        status.setProgressValue(ProgressBar::LoadTextures, 0);
        if (ctx.view.modelFrame) linkObjectFrames(ctx);
        showMaterials(ctx);
        ViewState& view = ctx.view;
        if (view.zoomFrame && view.orbitFrame)
            view.zoomFrame->setPosition(view.orbitFrame->getParent(), 0, 0, 2.0 * model.modelExtent);
        steps.showAxes(ctx);
    });
}

void cleanup(EditingContext& ctx, bool fileExit) {
    trapErrors(ctx, "frmTARV", "cleanup", fileExit ? "True" : "False", [&] {
        stopPlayback(ctx);
        ctx.materialsPage->lstMaterial.clear();
        ctx.materialsPage->selectedIndex = -1;
        ctx.preview.lstTextures.clear();
        ctx.preview.lstTexturesSelected = -1;
        ctx.preview.ctlThumbs.Clear();
        previewControls(ctx).texturesChanged();
        clearMaterialFlags(ctx);
        ctx.shell.treeHeirachy.clear();
        ctx.status().clearLog();
        ViewState& view = ctx.view;
        if (!fileExit) {
            if (view.modelFrame && !view.modelFrame->children().empty()) {
                for (ViewObject& v : view.viewObjects)
                    if (v.shown && v.frame && v.mesh) v.frame->deleteVisual(v.mesh);
                std::vector<scene::FramePtr> frames;
                frames.reserve(view.viewObjects.size());
                for (const ViewObject& v : view.viewObjects)
                    if (v.frame) frames.push_back(v.frame);
                scene::Frame::detachFrames(frames);
            }
            if (view.lightAdded && view.lightFrame && view.cameraLight) view.lightFrame->deleteLight(view.cameraLight);
        }
        // Every table goes with its count, so nothing later indexes a table that is gone.
        ctx.model.peoObjects.clear();
        ctx.model.textures.clear();
        ctx.model.materials.clear();
        ctx.view.d3dTextures.clear();
        ctx.view.d3dMaterials.clear();
        resetMexChunkTable(ctx);
        ctx.animation.reset();
    });
}

}  // namespace tarv
