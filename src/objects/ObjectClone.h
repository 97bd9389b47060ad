#pragma once
// The "Object Options" frame's Clone and mirror commands. A clone copies the selected object and its whole
// subtree into new objects appended at objectCount, in pre-order of the source subtree: each copy gets a
// unique numbered name, a node (the top copy after its source's last sibling, each further copy under the
// copy of its source's parent), entries in both object lists, its own mesh and frame, and shares its
// source's geometry in the saved .peo (sharedWith = the source).
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "objects/ObjectNames.h"

namespace tarv {

class EditingContext;

// The messages of the frame.
inline const char* const kCantCloneBaseText = "Can't clone base object!";
inline const char* const kSelectObjectToCloneText = "Select the object to clone in the tree first.";
inline const char* const kNoGunChunksText = "No gun chunks added: the chunk tree has no Guns group.";

// Appends a copy of object source as object newNumber (which must be objectCount) named name: the record
// (polygons without their work mark, vertices x, y, z only, the file's face normals, counts, flags and the
// unrounded matrix; madObjectIndex -1, sharedWith = source, no links), its extents from the copied vertices,
// its mesh and frame "peo_" & name under the model frame, shown. With the preference createGunChunkOnClone
// on and the chunk tree holding its Guns group "gRoot", the gun chunk hook runs once. Traps its errors
// (module "modPeo").
void addObject(EditingContext& ctx, int16_t source, int16_t newNumber, const std::string& name);

// One copy the Clone command will make: its source node (1-based creation order), number and name.
struct PlannedCopy {
    int sourceNode = 0;
    int16_t number = 0;
    CopyName name;
};

// The copies of one Clone command, worked out before anything changes, and the copy node of each source
// node copied so far.
struct CloneRun {
    std::vector<PlannedCopy> copies;                      // pre-order of the source subtree; the top copy first
    size_t next = 0;                                      // the next copy to make
    std::unordered_map<std::string, std::string> copyOf;  // source node key -> its copy's node key
};

// The copies of the subtree of node sourceNode: numbers from checkKey + 1 on, names from one family index
// updated per copy. Throws error 6 "Overflow" when a number would pass 32766, a name number of 2147483647
// would have to grow, or a digit run of a family is beyond 2147483647.
CloneRun planClone(const EditingContext& ctx, int sourceNode);

// Copies the descendants of node strKey (1-based creation order) in pre-order; when parentKey is 0 or
// more, first node strKey itself, as the next planned copy, under the copy of node parentKey. Traps its
// errors (window procedure "frmTARV").
void TraverseTree(EditingContext& ctx, CloneRun& run, int strKey, int parentKey);

// "Clone". Refused, with nothing changed, for the base node ("Can't clone base object!"), when the
// selected object is not the object of the tree's selected node (kSelectObjectToCloneText), and when a
// copy's number or name would overflow (error report). Then the links from the tree, every live frame
// hung by them and posed from its matrix, and every node expanded. The Clone button is disabled while it
// runs. The selection does not change. Traps its errors (window procedure "frmTARV").
void cmdCloneObject_Click(EditingContext& ctx);
// The same; true when it made its top copy (lastCloneIndex).
bool cloneSelectedObject(EditingContext& ctx);

// "mirror X", "mirror Y", "mirror Z": Clone, then negate the x, y or z translation (matrix element 3, 7,
// 11) of the top copy and place its frame again. Nothing else of the copy changes; without a top copy
// nothing changes. Trap their errors.
void cmdYZmirror_Click(EditingContext& ctx);
void cmdXZmirror_Click(EditingContext& ctx);
void cmdXYmirror_Click(EditingContext& ctx);

}  // namespace tarv
