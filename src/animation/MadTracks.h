#pragma once
// The small queries on the key tracks that the animation list, the keyframe panel, playback, the .smd import
// and the dumps use.
#include <cstdint>
#include <string>
#include <vector>

#include "animation/state/AnimationState.h"

namespace tarv {

class EditingContext;

// The track's animation mask for the file: bit a when a key other than the last lies in animation a's
// window (plain float compares). 0 for a track without keys. Traps its errors (then 0).
uint32_t calcAnimBits(EditingContext& ctx, int track);

// Rewrites the opening key as a copy of key 1 at time -1 and the closing key as a copy of the key before it,
// one second later. Tracks with fewer than two keys stay as they are. Traps its errors.
void calcDuplicates(EditingContext& ctx, int track);

// The window queries. "Rounded" compares times rounded to three decimals (halves to even); "exact" compares
// the floats as they are. A key just outside a window (by less than the rounding step) is therefore counted
// and can start the animation, but never ends it.
// Number of the track's keys in the window (rounded test).
int16_t getNoOfKeyframesForAnim(EditingContext& ctx, int track, int animation);
// Whether the track has at least atLeast keys in the window (the same rounded test), looking no further
// than needed; false for a track or animation outside the lists. No trap: the preview's timer asks on
// every tick.
bool hasKeyframesForAnim(const EditingContext& ctx, int track, int animation, int atLeast);
// Index of the first key above 0 in the window (rounded test); 0 when none or when track is negative.
int16_t getStartKeyframeForAnim(EditingContext& ctx, int track, int animation);
// Index of the last key in the window (exact test); 0 when none or when track is negative.
int16_t getEndKeyframeForAnim(EditingContext& ctx, int track, int animation);
// The lowest model object index linked to the track, -1 when none.
int16_t getPeoObjectFromMadObjects(EditingContext& ctx, int track);

}  // namespace tarv
