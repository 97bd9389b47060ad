#pragma once
// The preview scene: its one-time set-up, and the helpers that place a view record's frame relative to its
// parent frame.
#include <cstdint>

#include "preview/state/ViewState.h"

namespace tarv {

class EditingContext;

// Sets up the scene once: background from the preferences, back clip, the fixed frame tree, one render.
// A failure shows one message box and returns; start-up goes on.
void InitialiseComponents(EditingContext& ctx);

// The background of a RenderBackground value (1 black, 2 grey, 3 light grey) as red + 256 x green +
// 65536 x blue; false for any other value, which leaves the background alone.
bool renderBackgroundColour(int32_t renderBackground, int32_t& colour);

// The view record's mesh and frame; a record without one throws error 91.
const scene::MeshPtr& meshOf(const ViewObject& view);
const scene::FramePtr& frameOf(const ViewObject& view);

// Each asks the view's frame for its parent and places the frame relative to it. No trap of their own.
void positionViewObject(ViewObject& view);  // to elements 3, 7, 11 of view.matrix
void setFramePosition(ViewObject& view, const Vector3& position);
void setFrameQuaternion(ViewObject& view, const Quaternion& rotation);
void setFrameRotation(ViewObject& view, const Vector3& angles);  // Euler angles through makeQuaternion

// Puts object objNo's frame back to the pose of its stored matrix. Traps its errors.
void resetPeoObject(EditingContext& ctx, int16_t objNo);

}  // namespace tarv
