#pragma once
// The object subsystem's hooks in lower layers: the canvas's picks.
namespace tarv {

class EditingContext;

void connectObjects(EditingContext& ctx);

}  // namespace tarv
