#include "editor/StartupExit.h"

#include "animation/KeyframeDump.h"

#include <filesystem>

#include "base/NumberText.h"
#include "editor/context/TrapGuard.h"
#include "meshtools/ObjectSize.h"
#include "editor/LoadRoad.h"
#include "meshtools/state/ToolsPageState.h"
#include "attachments/state/ShipInfoPageState.h"
#include "animation/state/AnimationsPageState.h"
#include "editor/context/EditingContext.h"

namespace tarv {

namespace {

// The chunk edit fields of "Mex Data" stay hidden until a chunk type shows the ones it needs.
void hideChunkEditFields(MexDataPage& page) {
    for (MexDataLabel& label : page.mexLabel) label.visible = false;
    for (MexDataBox& box : page.txtAngle) box.visible = false;
    for (MexDataBox& box : page.txtMexPos) box.visible = false;
    for (MexDataBox& box : page.txtMexOrt) box.visible = false;
    page.txtMexName.visible = false;
    page.txtChunkId.visible = false;
    page.lblChunkID.visible = false;
}

void deleteSessionLogs(EditingContext& ctx, size_t from) {
    const auto& files = ctx.log.sessionLogFiles;
    for (size_t i = from; i < files.size(); ++i) {
        if (files[i].empty()) continue;
        std::error_code ec;
        std::filesystem::remove(files[i], ec);  // one already gone is skipped without a word
    }
}

void endProgram(EditingContext& ctx) {
    removeKeyframeDump(ctx);
    if (ctx.road.window) ctx.road.window->endProgram(ctx);
}

}  // namespace

std::string commandLineText(const std::vector<std::string>& arguments) {
    std::string line;
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (i > 0) line += ' ';
        line += arguments[i];
    }
    return line;
}

void applyStartupState(EditingContext& ctx) {
    RoadState& road = ctx.road;
    road.cataclysmVariant = ctx.prefs.defaultFileFormat == 1280;

    road.mnuFileSaveEnabled = false;
    road.mnuFileSaveAsEnabled = false;
    road.mnuReloadEnabled = false;
    ctx.shell.mnuBUCEnabled = false;
    ctx.shell.mnuRevBUEnabled = false;
    ctx.lod.cmdAddToLodEnabled = false;
    ctx.lod.cmdMultiFileEnabled = false;
    ctx.status().setProgressVisible(ProgressBar::LoadTextures, false);
    ctx.status().setProgressVisible(ProgressBar::Status2, false);

    road.pagesEnabled = false;
    road.ssTab1Page = road.ssTab2Page = road.ssTab3Page = 0;  // each tab control to its first page
    road.keyframesPageEnabled = false;
    road.shipFileDataPageEnabled = false;

    ctx.model.modelExtent = 1.0;
    ToolsPageState& tools = *ctx.toolsPage;
    tools.cmbObjectSize.items = {"Fighter", "Corvette", "Frigate", "Destroyer", "Cruiser", "Mothership", "Custom"};
    selectObjectSize(ctx, 0);
    tools.chkScalePEO = tools.chkScaleMEX = tools.chkScaleMAD = true;
    ctx.animationsPage->cmbApplyKeyframeType.items = {"Current keyframe only", "Current key all objects",
                                                      "All keys current object"};
    ctx.animationsPage->cmbApplyKeyframeType.listIndex = 0;
    hideChunkEditFields(ctx.shipInfoPage->mexData);
    tools.rotateOption = 0;
    tools.cmbRotateAmount.items = {"90", "180"};
    tools.cmbRotateAmount.listIndex = 0;
    ctx.shipInfoPage->cmbShpGunType.items = {"Fixed", "Turreted", "Missiles", "Mines"};
    ctx.shipInfoPage->cmbShpGunType.listIndex = -1;

    ctx.lod.lstLodFiles.clear();
    ctx.lod.selectedEntry = -1;
    ctx.objects.lblKey.clear();
    ctx.objects.Dx_Label1.clear();
    ctx.objects.selectedObject = -1;
}

std::string shutdownCaption(const EditingContext& ctx) {
    const std::string& version = ctx.version.appVersion;
    return "TARV " + version.substr(0, version.find(' ')) + ", initiating shutdown sequence...";
}

bool askKeepLogFiles(EditingContext& ctx) {
    return ctx.prompts().yesNo(
        "TARV has generated " + intText(ctx.log.sessionLogCount) + " logfiles. Do you want to keep them?",
        shutdownCaption(ctx), PromptIcon::Question);
}

void mnuFileExit_Click(EditingContext& ctx) {
    const bool cleared = trapErrors(ctx, "frmTARV", "mnuExit_click", "", [&] { cleanup(ctx, true); });
    if (cleared) {
        try {
            if (ctx.log.sessionLogCount >= 1 && !askKeepLogFiles(ctx)) deleteSessionLogs(ctx, 1);
        } catch (...) {
            // The program ends at once.
        }
    }
    endProgram(ctx);
}

void Form_QueryUnload(EditingContext& ctx) {
    setErrorContext(ctx, "frmTARV", "QueryUnload", "");
    try {
        if (ctx.log.sessionLogCount > 0 && !askKeepLogFiles(ctx)) deleteSessionLogs(ctx, 0);
    } catch (...) {}
    endProgram(ctx);
}

}  // namespace tarv
