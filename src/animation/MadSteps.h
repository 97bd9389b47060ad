#pragma once
// The animation's hooks in lower layers: the object tree's and the preview's.

namespace tarv {

class EditingContext;

// Sets the object tree's Keyframes hook and installs playback into the preview's timer.
void connectAnimation(EditingContext& ctx);

}  // namespace tarv
