#include "materials/LifPreview.h"

#include "base/NumberText.h"
#include "base/Paths.h"
#include "base/RunTimeError.h"
#include "editor/context/EditingContext.h"
#include "editor/context/TrapGuard.h"
#include "materials/DibSection.h"
#include "materials/FixLif.h"
#include "materials/LifPreviewNav.h"
#include "materials/LifReader.h"
#include "materials/LifRenderer.h"
#include "model/ModelHelpers.h"

namespace tarv {

namespace {

LifPreviewState& previewOf(EditingContext& ctx) { return ctx.lif.preview; }

// Step 1 of the start and of every activation.
void resetControls(EditingContext& ctx) {
    LifPreviewState& pv = previewOf(ctx);
    pv.mnuFileExportBMP = false;
    pv.mnuFixLif = false;
    pv.Caption = kLifPreviewCaption;
    pv.picTeam0Visible = false;
    pv.picTeam1Visible = false;
}

// A file that cannot be drawn: no picture, no size and layer, and nothing to view, export or fix.
void clearShownTexture(LifPreviewState& pv) {
    pv.picLif1 = Image{};
    pv.Image1 = Image{};
    pv.Image1Width = pv.Image1Height = 0;
    pv.panel2.clear();
    pv.panel3.clear();
    pv.panel4.clear();
    pv.mnuView = false;
    pv.mnuFileExportBMP = false;
    pv.mnuFixLif = false;
}

void apply(LifViewSwatches::Change change, bool& visible) {
    if (change == LifViewSwatches::Show) visible = true;
    if (change == LifViewSwatches::Hide) visible = false;
}

void step(EditingContext& ctx, int by) {
    PreviewState& p = ctx.preview;
    const int index = p.lstTexturesSelected + by;
    if (index < 0 || index >= int(p.lstTextures.size())) return;
    p.lstTexturesSelected = index;
    lifpreview::setNavButtons(ctx);
    const std::string path =
        neighbourLifPath(ctx.shp.mexFilePath, ctx.currentModelPath, p.lstTextures[size_t(index)].name);
    previewOf(ctx).panel1 = path;
    lifpreview::openLif(ctx, path);
}

}  // namespace

LifViewSwatches viewSwatchesFor(int layer) {
    using S = LifViewSwatches;
    switch (layer) {
    case kLayerBase:
    case kLayerAlpha: return {S::Hide, S::Hide};
    case kLayerTeam0:
    case kLayerBaseTeam0: return {S::Show, S::Keep};
    case kLayerTeam1:
    case kLayerBaseTeam1: return {S::Keep, S::Show};
    case kLayerAll: return {S::Show, S::Show};
    default: return {};
    }
}

namespace lifpreview {

void frmLifPreview_Load(EditingContext& ctx) {
    resetControls(ctx);
    openLif(ctx, previewOf(ctx).panel1);
}

void frmLifPreview_Activate(EditingContext& ctx) {
    trapErrors(ctx, "frmLifPreview", "Form_Activate", "", [&] {
        resetControls(ctx);
        setNavButtons(ctx);
        openLif(ctx, previewOf(ctx).panel1);
    });
}

void openLif(EditingContext& ctx, const std::string& path) {
    LifPreviewState& pv = previewOf(ctx);
    if (path.empty()) {
        pv.mnuView = false;
        return;
    }
    const LifReadResult read = LoadFile(ctx, path, true);
    if (read != LifReadResult::Read || !lifDrawingCanStart(ctx.lif.texture)) {
        // Nothing of a file the viewer cannot draw stays on show; a damaged or foreign file is named.
        clearShownTexture(pv);
        if (read == LifReadResult::Failed && !ctx.lif.texture.lifRefusal.empty())
            ctx.prompts().messageBox(ctx.lif.texture.lifRefusal, ctx.version.appTitle, PromptIcon::Exclamation);
        return;
    }
    pv.panel4 = "1";
    drawLayer(ctx);
    pv.mnuView = true;
}

void setNavButtons(EditingContext& ctx) {
    const LifNavButtons buttons = navButtonsFor(int(ctx.preview.lstTextures.size()), ctx.preview.lstTexturesSelected);
    previewOf(ctx).cmdPrev = buttons.cmdPrev;
    previewOf(ctx).cmdNext = buttons.cmdNext;
}

void cmdPrev_Click(EditingContext& ctx) { step(ctx, -1); }

void cmdNext_Click(EditingContext& ctx) { step(ctx, +1); }

void cmdZoom_Click(EditingContext& ctx) {
    trapErrors(ctx, "frmLifPreview", "cmdZoom_Click", "", [&] {
        LifPreviewState& pv = previewOf(ctx);
        if (pv.cmdZoom == "Zoom In") {
            pv.Image1Stretch = true;
            pv.Image1Width = kLifZoomPixels;
            pv.Image1Height = kLifZoomPixels;
            pv.cmdZoom = "Zoom Out";
        } else {
            pv.Image1Stretch = false;
            pv.Image1Height = toInt32(leadingNumber(pv.panel3));
            pv.Image1Width = toInt32(leadingNumber(pv.panel2));
            pv.cmdZoom = "Zoom In";
        }
    });
}

std::string lifExportPath(const std::string& panel1) {
    const std::string name = fileNameOf(panel1);
    if (name.size() < 4) throw RunTimeError::invalidCall();
    return folderOf(panel1) + name.substr(0, name.size() - 4) + ".bmp";
}

void mnuFileExportBMP_Click(EditingContext& ctx) {
    LifPreviewState& pv = previewOf(ctx);
    std::string target;
    try {
        target = lifExportPath(pv.panel1);
    } catch (const RunTimeError&) {
        target = pv.panel1;
    }
    trapErrors(ctx, "frmLifPreview", "mnuFileExportBMP_Click", target, [&] {
        cDIBSection dib;
        dib.CreateFromPicture(pv.picLif1);
        if (!dib.SavePicture(ctx, lifExportPath(pv.panel1)))
            throw RunTimeError(75, "Path/File access error: " + target);
        pv.mnuFileExportBMP = false;
    });
}

void mnuFileOpen_Click(EditingContext& ctx) {
    LifPreviewState& pv = previewOf(ctx);
    CommonDialog& dialog = pv.CommonDialog1;
    dialog.Filter = kLifOpenFilter;
    dialog.FilterIndex = 2;
    const auto chosen = dialog.ShowOpen(ctx.prompts());
    if (!chosen || chosen->empty()) return;
    pv.panel1 = *chosen;
    openLif(ctx, *chosen);
}

void mnuFixLif_Click(EditingContext& ctx) { fix3dexLif(ctx, previewOf(ctx).panel1); }

void mnuView_Click(EditingContext& ctx, int layer) {
    LifPreviewState& pv = previewOf(ctx);
    pv.panel4 = intText(layer);
    const LifViewSwatches swatches = viewSwatchesFor(layer);
    apply(swatches.team0, pv.picTeam0Visible);
    apply(swatches.team1, pv.picTeam1Visible);
    drawLayer(ctx);
}

void picTeam_Click(EditingContext& ctx, int team) {
    LifPreviewState& pv = previewOf(ctx);
    const auto chosen = pv.CommonDialog1.ShowColor(ctx.prompts());
    if (!chosen) return;
    RgbColour& colour = team == 0 ? ctx.prefs.playerBaseColor : ctx.prefs.playerStripeColor;
    (team == 0 ? pv.picTeam0BackColor : pv.picTeam1BackColor) = *chosen;
    colour.red = float(getRed(*chosen));
    colour.green = float(getGreen(*chosen));
    colour.blue = float(getBlue(*chosen));
    drawLayer(ctx);
}

}  // namespace lifpreview

void openLifPreview(EditingContext& ctx, const std::string& path, bool owned) {
    previewOf(ctx).panel1 = path;
    if (previewOf(ctx).window) previewOf(ctx).window->showModal(ctx, owned);
}

}  // namespace tarv
