#pragma once
// The local axes of the selected object: the selection marker's lines on the object's frame.
#include "preview/state/ViewState.h"

namespace tarv {

class EditingContext;

// Takes the marker off the frame it hangs on, if any (its mesh from the visuals, its frame from the
// children). The marker keeps its name.
void detachSelectionMarker(ViewState& view);
// Whether the marker's mesh hangs on this frame.
bool selectionMarkerOn(const ViewState& view, const scene::FramePtr& frame);

// Rebuilds selectionMarker for v: first takes an earlier marker off its frame, then three lines twice v's
// size along v's local axes (x blue, y green, z red; quality 64) as a visual of v's frame, and an empty
// marker frame under v's frame posed as v. Traps its errors (module "modD3D", argument v's name).
void showLocalAxes(EditingContext& ctx, ViewObject& v);

}  // namespace tarv
