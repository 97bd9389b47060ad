#pragma once
// The object subsystem's hooks in lower layers: the links for the level files, the canvas's picks and the
// object dialogs.
namespace tarv {

class EditingContext;

void connectObjects(EditingContext& ctx);

}  // namespace tarv
