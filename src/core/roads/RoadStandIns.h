#pragma once
// The steps of the load and save roads that other subsystems own, in the least form the roads need until
// those subsystems provide them: the material list, and attaching the .mex and .mad beside the model. roadSteps() puts each owner's operation in
// place of its stand-in once it exists.
#include <string>

#include "core/EditingContext.h"

namespace tarv {

// Fills lstMaterial with one entry per material.
void showMaterialsStandIn(EditingContext& ctx);
// The model's .mex (found without regard to case): the backup offer, then it is read into the chunk
// table. Traps its errors ("frmTARV", "checkForMex").
void checkForMex(EditingContext& ctx);
// The .mad at madFile (found without regard to case): the backup offer, then it is read, the animation
// list filled and the "Keyframes" page enabled. Nothing when it does not exist. Traps its errors.
void checkForMad(EditingContext& ctx, const std::string& madFile);

// A path whose file name is found without regard to case in its folder; the path as given when missing.
std::string findBesideIgnoringCase(const std::string& path);

} // namespace tarv
