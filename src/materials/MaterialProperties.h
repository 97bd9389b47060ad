#pragma once
// The "Material Properties" dialog's logic: showing one material, moving through the list, the colour pickers
// and Apply, which stores the dialog's values in the material and patches its entry in the model file.

#include <string>

namespace tarv {

class EditingContext;

// Fills every control and the swatches from material i. Traps its errors.
void displayMaterialInfo(EditingContext& ctx, int i);
// On every showing: the navigation buttons, displayMaterialInfo on the selected material, the colour boxes
// 0 to 8 locked, the swatches painted from the boxes. Traps its errors.
void frmMaterials_Activate(EditingContext& ctx);
// Move the list's selection by one and show that material, its swatches too. Trap their errors.
void cmdPrev_Click(EditingContext& ctx);
void cmdNext_Click(EditingContext& ctx);
// The colour picker of swatch 0 (ambient), 1 (diffuse) or 2 (specular): starts from the three boxes; Cancel
// gives back the start colour; the swatch and the boxes take the colour.
void pictureClick(EditingContext& ctx, int swatch);
// Checks every box first (the twelve colour and alpha bytes in the order ambient, diffuse, specular with
// their alpha, then the full-ambient word): a value out of range reports Overflow and changes nothing. Then
// stores the flags, colours and fullAmbient in the selected material and patches its entry in the model
// file. Traps its errors.
void cmdApply_Click(EditingContext& ctx);
// Opens the Geometry Inspector on the face entry "o p" (object, then polygon). Traps its errors.
void lstMatFaces_Click(EditingContext& ctx, const std::string& entry);
// Unticks the six flag boxes.
void clearMaterialFlags(EditingContext& ctx);

}  // namespace tarv
