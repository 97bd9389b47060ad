#pragma once
// The object subsystem's part of the roads: the object tree at load, the links from it before a save and
// for the level files, and the canvas's picks.
namespace tarv {

class EditingContext;

void connectObjects(EditingContext& ctx);

}  // namespace tarv
