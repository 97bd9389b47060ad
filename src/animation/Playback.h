#pragma once
// Playback of animations in the 3D preview: the interpolators built from the key tracks, the timer's
// playback step, the two Play buttons, Reset, "Only show objects with current animations" and
// "Show Gun Recoil".
#include <cstdint>

namespace tarv {

class EditingContext;

// Builds the interpolator of track t for animation a from the keys in a's window (indices in seconds from
// the window start; a rotation jump of pi or more on one axis split into steps of at most pi/2; the last
// pose held two more seconds), stores it in the linked object's view record and attaches the object's
// frame. Nothing for a track without keys in the window, without a linked object, or whose last key in
// the window comes before its first. Each build leaves playEndTime at its last key. Traps its errors.
void createInterpolators(EditingContext& ctx, int track, int animation);

// The timer's playback step while an animation or a track plays: the end check, then every played
// interpolator at the elapsed time. True when the tick ends at the end check.
bool advancePlayback(EditingContext& ctx);

// "Play"/"Stop" of the Animations page (all tracks of the selected animation) and of the Keyframes tab
// (the selected object's track). Trap their errors.
void cmdPlayAnimation_Click(EditingContext& ctx);
void cmdObjectPlay_Click(EditingContext& ctx);
// Stops whatever plays (animation, track or spin); both Play buttons read "Play", the spin item
// "Spin Object". The objects keep their pose.
void stopPlayback(EditingContext& ctx);
// "Reset": every object back to the pose of its matrix; playback goes on.
void cmdResetAllObjects_Click(EditingContext& ctx);
// "Only show objects with current animations": ticked, hides the checked objects without a track and shows
// the unchecked ones with a track; cleared, shows every object. Traps its errors.
void chkObjectsShowAnims_Click(EditingContext& ctx, bool ticked);
// "Show Gun Recoil": the selected object at its rest position, moved back along z by the recoil length of
// the first gun whose recoil joint it is while ticked. With no such gun it stays at rest. Traps its errors.
void chkShowRecoil_Click(EditingContext& ctx, bool ticked);

// Installs the playback step into the preview's timer and the stop into the roads.
void connectPlayback(EditingContext& ctx);

}  // namespace tarv
