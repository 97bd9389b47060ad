#pragma once
// The "Materials" page's list of the model's materials.
namespace tarv {

class EditingContext;

// Fills lstMaterial with one entry per material.
void showMaterials(EditingContext& ctx);
// Fills the load road's material steps.
void connectMaterials(EditingContext& ctx);

} // namespace tarv
