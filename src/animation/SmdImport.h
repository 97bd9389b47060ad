#pragma once
// File > Import > "Milkshape &SMD file": a skeletal sequence becomes the ship's one animation, a key track
// per bone matched to an object by name, and the preview's interpolators straight from the file's frames.
#include <string>

#include "animation/SmdFile.h"
#include "base/Geometry.h"

namespace tarv {

class EditingContext;

// The rotation helpers of the import: pi 3.14159265359, pi/2 as a 32-bit float, sines and cosines in 64
// bits, results in 32 bits. Every arcsine argument is clamped to [-1, 1] first, so a value just beyond 1 from
// rounding takes the branch of exactly 1.
// The Z, Y, X rotation order of the sequence re-expressed as X, Y, Z.
Vector3 reverseEulerOrder(const Vector3& angles);
// The product of the x, y and z rotations, in that order.
Quaternion eulerToQuaternion(const Vector3& angles);
Quaternion invertQuaternion(const Quaternion& q);
// The rotation matrix of q with the Z-up axes turned to Y-up.
Matrix4 quaternionToMatrix(const Quaternion& q);
Vector3 matrixToEuler(const Matrix4& m);

// The import's stages on a parsed sequence: rotations converted and checked (asking per failing pose), the
// root's motion, the name matching (asking when bones stay unmatched), then the animation, tracks, links and
// preview interpolators built aside and swapped in. False after a No, the model unchanged. Throws a
// RunTimeError, the model unchanged, on a failure.
bool importSmd(EditingContext& ctx, SmdSequence& smd);
// Imports the sequence at path: read and converted aside (asking about rotation orders and bone names),
// then the animation, tracks, links and preview interpolators swapped in at once. True when the import
// completed; a missing file, a No or a refused file leave the model unchanged. Traps its errors.
bool getSMDInfo(EditingContext& ctx, const std::string& path);
// The menu command: the open dialog, the import, then the preview question after a completed import.
// Traps its errors.
void mnuImportFromSMD_Click(EditingContext& ctx);

// The name matching of the import: each node from 1 on gets the first object (index 1 up) of its name that
// no earlier node took, or -1. Returns the number of matched nodes.
int matchSmdNodes(const EditingContext& ctx, std::vector<SmdNode>& nodes);

}  // namespace tarv
