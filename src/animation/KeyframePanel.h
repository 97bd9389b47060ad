#pragma once
// The "Keyframes" tab: the selected object's keys in the animation chosen in cmbObjAnims, shown in ten boxes
// with a slider, applied to the object's frame in the preview, and edited (apply modes, insert, delete,
// spread in time, copy a whole track, reset the frame).
#include <cstdint>

#include "animation/state/AnimationState.h"

namespace tarv {

class EditingContext;
struct AnimationsPageState;

// Prepares the panel for object objNo (the object tree's getAnimations hook); without an object (-1) the
// panel shows no keys. Traps its errors.
void getAnimations(EditingContext& ctx, int16_t objNo);
// Shows or hides the key controls; every check box is ticked. Traps its errors.
void setKeyframeInfo(EditingContext& ctx, bool visible);
// Finds the selected object's keys in the current window (exact bounds, key 0 never counted), sets the
// slider, shows the key at the slider and poses the object with it. Traps its errors.
void checkKeyframes(EditingContext& ctx);
// Shows a key in the ten boxes (rotations in degrees: box 4 x, box 5 z, box 6 y) and the slider label.
void getKeyframe(EditingContext& ctx, const MadKeyframe& key);
// Poses the object's frame in the preview with the key; the model's matrix stays. Traps its errors.
void applyKeyframeMatrix(EditingContext& ctx, int16_t objNo, const MadKeyframe& key);
// Copies the values of source ticked in the page's check boxes into target.
void applyKeyframeValues(const AnimationsPageState& page, const MadKeyframe& source, MadKeyframe& target);

void cmbObjAnims_Click(EditingContext& ctx);
// The slider moved to value. Traps its errors.
void sldObjKeyf_Scroll(EditingContext& ctx, int value);
inline void sldObjKeyf_MouseDown(EditingContext&) {}

// "Apply to:" in the mode of cmbApplyKeyframeType: 0 the current key, 1 the current key index of every
// track, 2 every key of the window of the selected object. Traps its errors.
void cmdKeyfApply_Click(EditingContext& ctx);
// "Insert keyframe": a key at the window's start (a new track for an object without one). Traps its errors.
void cmdKeyInsert_Click(EditingContext& ctx);
// "Delete keyframe": the current key; a track of two keys is emptied. Traps its errors.
void cmdKeyDelete_Click(EditingContext& ctx);
// "Auto": spreads the current key evenly between the window's first key and its end. Traps its errors.
void cmdAutoKeyfTime_Click(EditingContext& ctx);
// "Copy all keys to:": the selected object's whole track onto the object named in cmbObjectList. Traps its
// errors.
void cmdCopyToNext_Click(EditingContext& ctx);
// "Reset 3D display": the selected object's frame back to its matrix.
void cmdResetPeoObjectPosition_Click(EditingContext& ctx);

}  // namespace tarv
