#pragma once
// The "Animations" page: the list of animations (windows on the shared timeline), adding, applying,
// cloning and deleting windows with their keys, attaching a .mad file, and the timeline helpers.
#include <cstdint>
#include <string>

namespace tarv {

class EditingContext;

// The animation list's and the keyframe panel's message for a box that is not a number (without the full
// stop of the chunk panels' message).
inline const char* const kAnimationInvalidNumberText = "Invalid numeric input. Please check and re-enter";

// The selected animation of lstAnimations or of cmbObjAnims: the index when it names an animation, else -1.
int lstAnimationsSelection(const EditingContext& ctx);
int cmbObjAnimsSelection(const EditingContext& ctx);

// Shows the selected animation in the four boxes; nothing without a selection.
// Empties the animation boxes (name, start, end, loop) and selects no animation in either list.
void clearAnimationSelection(EditingContext& ctx);

void lstAnimations_Click(EditingContext& ctx);
// Plays the selected animation ("Play").
void lstAnimations_DblClick(EditingContext& ctx);

// "Add": a new window 0.03333334 s after the latest end, 2 s long, named "Animation_#" & its number; the
// closing key of every track with keys moves to its end + 1. Refuses a 33rd animation. The list selects
// the new animation. Returns false when nothing was added. Traps its errors.
bool cmdAnimNew_Click(EditingContext& ctx);
// "Apply": the boxes into the selected animation (a start below 0 is refused). Traps its errors.
void cmdAnimApply_Click(EditingContext& ctx);
// "Delete": the selected animation and the keys of its window; later animations move down with their times.
// Traps its errors.
void cmdAnimDelete_Click(EditingContext& ctx);
// Deletes every track's keys inside the window of animation a (both bounds included); a track left with
// its opening and closing key only is emptied ("**DELETED**") and its objects unlinked. Traps its errors.
void checkAllAnimObjects(EditingContext& ctx, int16_t a);
// "Clone": a new animation with copies of the selected one's keys, optionally reversed, stretched to an end
// time the user types. Traps its errors.
void cmdCloneAnimation_Click(EditingContext& ctx);

// Seconds to whole frames (30 a second), rounded down: the 32-bit product, then its floor.
float unifyTime(float unUnifiedTime);
// Multiplies the positions of every key of the track (opening and closing keys included). Traps its errors.
void scaleMadkeyframes(EditingContext& ctx, int16_t track, float factor);

// "Attach existing MAD file animation to this ship": stops playback, offers the backup, reads the chosen
// file (objects it does not name end up unanimated; a refused file changes nothing) and prepares the
// Keyframes tab.
void cmdLoadMADfile_Click(EditingContext& ctx);
// The load road's attach of the .mad at madFile (found without regard to case); nothing when it does not
// exist. Traps its errors.
void checkForMad(EditingContext& ctx, const std::string& madFile);

}  // namespace tarv
