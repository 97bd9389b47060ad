// The 3D look of selection, deselection, showing and hiding (module "modPeo"), and the seams' defaults.
#include <string>

#include "core/EditingContext.h"
#include "core/RunTimeError.h"
#include "core/TrapGuard.h"
#include "preview/PreviewMarkers.h"
#include "preview/ObjectSelection.h"

namespace tarv {

namespace {

ViewObject& viewAt(EditingContext& ctx, int16_t objNo) {
    if (objNo < 0 || size_t(objNo) >= ctx.view.viewObjects.size()) throw RunTimeError::subscriptOutOfRange();
    return ctx.view.viewObjects[size_t(objNo)];
}

const scene::MeshPtr& meshOf(const ViewObject& v) {
    if (!v.mesh) throw RunTimeError(91, "Object variable or With block variable not set");
    return v.mesh;
}

const scene::FramePtr& frameOf(const ViewObject& v) {
    if (!v.frame) throw RunTimeError(91, "Object variable or With block variable not set");
    return v.frame;
}

// Takes selectionMarker's mesh and frame off the object's frame.
void detachMarkerFrom(EditingContext& ctx, const ViewObject& v) {
    const ViewObject& marker = ctx.view.selectionMarker;
    const scene::FramePtr& frame = frameOf(v);
    if (marker.mesh) frame->deleteVisual(marker.mesh);
    if (marker.frame) frame->deleteChild(marker.frame);
}

} // namespace

PreviewControls& previewControls(EditingContext& ctx) {
    return ctx.preview.controls ? *ctx.preview.controls : ctx.preview.ownControls;
}

ObjectSelection& objectSelection(EditingContext& ctx) {
    static PreviewObjectSelection look;  // no state of its own
    return ctx.preview.selection ? *ctx.preview.selection : look;
}

void PreviewObjectSelection::getObjectDetails(EditingContext& ctx, int16_t objNo) {
    trapErrors(ctx, "modPeo", "getObjectDetails", std::to_string(objNo), [&] {
        ViewObject& v = viewAt(ctx, objNo);
        if (v.shown == -1) {
            const scene::MeshPtr& mesh = meshOf(v);
            mesh->setQuality(ctx.preview.renderTextured ? 128 : 64);
            const RgbColour& h = ctx.prefs.highlightColour;
            mesh->setColorRGB(h.red / 255.0, h.green / 255.0, h.blue / 255.0);
        }
        if (ctx.preview.selectedObject >= 0) showLocalAxes(ctx, v);
    });
}

void PreviewObjectSelection::resetPreviousObject(EditingContext& ctx, int16_t objNo) {
    trapErrors(ctx, "modPeo", "resetPreviousObject", std::to_string(objNo), [&] {
        ViewObject& v = viewAt(ctx, objNo);
        const scene::MeshPtr& mesh = meshOf(v);
        mesh->setQuality(ctx.preview.renderTextured ? 136 : 72);
        mesh->setColorRGB(v.colour.red, v.colour.green, v.colour.blue);
        if (v.shown == -1) detachMarkerFrom(ctx, v);
    });
}

void PreviewObjectSelection::showObject(EditingContext& ctx, int16_t objNo) {
    trapErrors(ctx, "modPeo", "showObject", std::to_string(objNo), [&] {
        ViewObject& v = viewAt(ctx, objNo);
        if (v.shown != 0) return;
        frameOf(v)->addVisual(meshOf(v));
        v.shown = -1;
    });
}

void PreviewObjectSelection::hideObject(EditingContext& ctx, int16_t objNo) {
    trapErrors(ctx, "modPeo", "hideObject", std::to_string(objNo), [&] {
        ViewObject& v = viewAt(ctx, objNo);
        if (v.shown != -1) return;
        frameOf(v)->deleteVisual(v.mesh);
        v.shown = 0;
        if (ctx.view.selectionMarker.name == v.name) detachMarkerFrom(ctx, v);
    });
}

} // namespace tarv
