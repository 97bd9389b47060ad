#pragma once
// The animation's part of the load road: attaching the .mad beside the model.
#include <string>

namespace tarv {

class EditingContext;

// The .mad at madFile (found without regard to case): the backup offer, then it is read, the animation
// list filled and the "Keyframes" page enabled. Nothing when it does not exist. Traps its errors.
void checkForMad(EditingContext& ctx, const std::string& madFile);
// Fills the load road's animation step, and installs playback into the preview's timer and the roads.
void connectAnimation(EditingContext& ctx);

}  // namespace tarv
