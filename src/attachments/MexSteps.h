#pragma once
// The mesh extras at model load and the bounding volumes: the chunks of the .mex beside the model or the
// default collision sphere "Col0" and bounding box "Rct0", "Attach existing MEX file to ship" and
// "Auto-calc".
#include <string>

#include "model/state/ShipModel.h"

namespace tarv {

class EditingContext;

inline const char* const kMexFileFilter = "Homeworld MEX Files (*.mex)|*.mex";

// The collision sphere of a model: with one or two object slots object 0's, otherwise centred on the
// midpoint of the last root object with the largest distance of any root object's vertex from its own
// object's midpoint. Vertices as stored, without matrices; distances in double, kept as 32-bit floats.
struct CollisionSphere {
    Vector3 centre;
    float radius = 0;
};
CollisionSphere collisionSphere(const ShipModel& model);

// The load road's step: the chunk tree's skeleton, then the .mex beside the model (found without regard to
// case; the backup offer, the reader, a log line per chunk, Delete disabled) or the default chunks (status
// panel 3 emptied); the root selected. No marker goes on view. Traps its errors ("frmTARV", "checkForMex").
void checkForMex(EditingContext& ctx);
// The message of a load that finds a folder where the .mex belongs.
std::string mexIsFolderText(const std::string& path);
// Replaces the chunks by those of a .mex the user chooses; nothing changes on Cancel. The old markers leave
// the scene, nodes come unticked and markers hidden as after a load. Traps its errors.
void cmdAttachMexFile_Click(EditingContext& ctx);
// Recomputes the selected bounding box (object 0's box) or collision sphere through the panel's boxes and
// Apply; with any other node selected it hides the button.
void cmdBBAutoCalc_Click(EditingContext& ctx);

// Sets the chunk markers, the chunk edit panel and the object clone's gun-chunk hook.
void connectAttachments(EditingContext& ctx);

}  // namespace tarv
