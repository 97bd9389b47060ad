#pragma once
// The preview's part of the load road: object meshes, axes, Reset View and the render mode.
namespace tarv {

class EditingContext;

void connectPreview(EditingContext& ctx);

}  // namespace tarv
