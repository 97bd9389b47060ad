#include "preview/PreviewSteps.h"

#include "editor/context/EditingContext.h"
#include "preview/ObjectMeshes.h"
#include "preview/PreviewCamera.h"
#include "preview/PreviewMarkers.h"

namespace tarv {

void connectPreview(EditingContext& ctx) {
    RoadSteps& s = ctx.road.steps;
    s.create3dObject = [](EditingContext& c, int objNo) { create3dObject(c, int16_t(objNo)); };
    s.showAxes = showAxes;
    s.resetView = [](EditingContext& c) {
        mnuRenderReset_Click(c);
        view3d_Click(c, 0);
    };
    s.applyRenderMode = [](EditingContext& c) {
        if (c.view.mnuRenderFlat)
            mnuRenderFlat_Click(c);
        else
            mnuRenderWireframe_Click(c);
    };
}

}  // namespace tarv
