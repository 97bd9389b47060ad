#include "preview/LocalAxes.h"

#include <algorithm>
#include <array>

#include "editor/context/TrapGuard.h"
#include "preview/PreviewScene.h"
#include "scene/Scene.h"
#include "editor/context/EditingContext.h"

namespace tarv {

bool selectionMarkerOn(const ViewState& view, const scene::FramePtr& frame) {
    const auto& marker = view.selectionMarker;
    if (!frame || !marker.mesh) return false;
    const auto& visuals = frame->visuals();
    return std::find(visuals.begin(), visuals.end(), marker.mesh) != visuals.end();
}

void detachSelectionMarker(ViewState& view) {
    ViewObject& marker = view.selectionMarker;
    if (!marker.frame) return;
    if (scene::FramePtr carrier = marker.frame->getParent()) {
        if (marker.mesh) carrier->deleteVisual(marker.mesh);
        carrier->deleteChild(marker.frame);
    }
}

void showLocalAxes(EditingContext& ctx, ViewObject& v) {
    trapErrors(ctx, "modD3D", "showLocalAxes", v.name, [&] {
        if (!v.frame) throw RunTimeError::objectNotSet();
        ViewState& view = ctx.view;
        ViewObject& marker = view.selectionMarker;
        detachSelectionMarker(view);  // one marker at a time

        marker.mesh = scene::createMeshBuilder();
        struct Axis {
            double x, y, z;
            double red, green, blue;
        } axes[] = {{2.0 * v.size.x, 0, 0, 0, 0, 1}, {0, 2.0 * v.size.y, 0, 0, 1, 0}, {0, 0, 2.0 * v.size.z, 1, 0, 0}};
        marker.mesh->reserveFaces(6);
        for (const Axis& a : axes) {
            const scene::Vec3 o{0, 0, 0}, end{float(a.x), float(a.y), float(a.z)};
            const scene::PackedColor colour = scene::createColorRGB(a.red, a.green, a.blue);
            marker.mesh->addPolygon(std::array<scene::Vec3, 3>{o, end, o}, nullptr, nullptr, colour);
            marker.mesh->addPolygon(std::array<scene::Vec3, 3>{end, o, end}, nullptr, nullptr, colour);
        }
        marker.mesh->setQuality(scene::kQualityWireframe);

        marker.frame = scene::createFrame(v.frame);
        marker.name = v.name;
        marker.matrix = v.matrix;  // kept with the marker; its frame stays where v's frame is
        v.frame->addVisual(marker.mesh);
    });
}

}  // namespace tarv
