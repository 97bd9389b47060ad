#pragma once
// The ship-class list of the "Tools" page: a class proposes the scale that brings the model to its size.
namespace tarv {

class EditingContext;

// The handler of the list's selection.
void cmbObjectSize_Click(EditingContext& ctx);
// Chooses an entry of the ship-class list and runs its handler.
void selectObjectSize(EditingContext& ctx, int index);

}  // namespace tarv
