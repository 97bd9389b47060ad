#pragma once
// The plain wiring of every subsystem into the roads, in the layer order. Each subsystem's window
// installer runs its own part of it; plain tests and tools call this.
namespace tarv {

class EditingContext;

void connectSubsystemSteps(EditingContext& ctx);

}  // namespace tarv
