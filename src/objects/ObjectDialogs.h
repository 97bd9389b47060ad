#pragma once
// The logic of the "Advanced Object Properties" dialog (size labels, Bake vertices, Copy rotation) and of
// the "Pivot Point" dialog, on the selected object. Bake and Pivot first give a shared object its own
// geometry, keep its extents true and rebuild its mesh on its own frame, so its children keep following it.
#include <cstdint>
#include <string>

namespace tarv {

class EditingContext;

inline const char* const kBakingText = "Baking at 200 degrees...";
inline const char* const kBakeCompleteText = "Bake complete!";
inline const char* const kInvalidOffsetsText = "Invalid input detected! Please re-enter offsets";
// Bake and Pivot count vertices in 16 bits.
inline constexpr int kMaxDialogVertices = 32768;

// The size labels of the dialog: size, maximum and minimum on x, y, z as 32-bit float texts. Records its
// error context ("modPeo", "getObjectFlags", the index); errors go to the caller.
void getObjectFlags(EditingContext& ctx, int16_t objNo);

// "Advanced Properties": true when the dialog is to open (an object is selected); sets its name label.
bool cmdAdvancedObjProps_Click(EditingContext& ctx);

// "Bake vertices": adds the translation to every vertex, sets it to 0, and rebuilds the extents and the
// mesh (attached only when the object is shown). More than 32768 vertices stops it with error 6 before
// anything changes. Traps its errors ("frmAdvancedObjects", "cmdBakeVertices_Click").
void cmdBakeVertices_Click(EditingContext& ctx);

// "Copy rotation values from:" with the text of the chosen list entry: the rotation block of the first
// object of that name (object 0 when none has it) into the selected object's matrix; the Matrix page and
// the rotation boxes show it. Traps its errors ("frmAdvancedObjects", "cmdCopyRotationMatrix_Click").
void cmdCopyRotationMatrix_Click(EditingContext& ctx, const std::string& chosen);

// "Pivot!" with the three offset texts in ctx.objects.dialogs.txtPivot: true when Pivot Point is to be
// hidden. A box without a number shows kInvalidOffsetsText and changes nothing. Otherwise moves every
// vertex by the offsets, rebuilds extents and mesh on the object's frame (the object ends shown), redraws
// the local axes when they belong to it, poses it and shows it again. Traps its errors ("frmPivot",
// "cmdPivot_Click").
bool cmdPivot_Click(EditingContext& ctx);

// Pivot Point opens: the three offsets become "0".
void frmPivot_Activate(EditingContext& ctx);

}  // namespace tarv
