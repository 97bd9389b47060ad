#pragma once
// The animation's parts of the roads and of the object tree.

namespace tarv {

class EditingContext;

// Fills the load road's .mad step, the exit's removal of the keyframe dump and the object tree's Keyframes
// hook, and installs playback into the preview's timer and the roads.
void connectAnimation(EditingContext& ctx);

}  // namespace tarv
