#pragma once
// The "Object Options" frame's Delete command and the geometry-sharing rules around it. A deleted object
// keeps its slot and number: its name becomes "**DELETED**", its mesh leaves the 3D view, its name leaves
// the object lists and its node leaves the tree; the .peo writer skips it. Sharing (sharedWith) exists only
// in the saved file: every object holds its own lists in memory, and the writer writes a sharer with the
// lists of the object it names.
#include <cstdint>
#include <string>
#include <vector>

namespace tarv {

class EditingContext;

inline const char* const kCantDeleteBaseText = "Can't delete base object!";

// The objects in `sources` stop being sources of geometry. For each s of them, its sharers are the objects
// i with sharedWith = s that are neither in `sources` nor deleted; the lowest-numbered sharer owns the
// geometry (sharedWith -1) and the others share it. Deleted objects are left as they are. One pass over
// the objects.
void repointSharers(EditingContext& ctx, const std::vector<int16_t>& sources);
// The same by scanning every object for every source. Quadratic; kept to prove the pass right.
void repointSharersLiteral(EditingContext& ctx, const std::vector<int16_t>& sources);

// Object n stops sharing and stops being shared: repointSharers({n}), then its sharedWith -1. Idempotent,
// and cheap when nothing shares. Call it before an in-memory change of one object's vertex, polygon or
// normal lists that its sharers do not get (Bake and Pivot of the object dialogs), so that the saved file
// keeps every object's geometry as it is in memory. An edit made by one rule to every object (material
// renumbering, the whole-model scale and turn, the mesh tools) keeps equal lists equal and need not call
// it; where such a tool's answer differs per object, the counts differ and the writer writes the sharer as
// an owner. Matrix edits never call it.
void ownGeometry(EditingContext& ctx, int16_t n);

// The object numbers of the nodes in the subtree of the node with this key (the node included), in
// pre-order.
std::vector<int16_t> subtreeObjects(const EditingContext& ctx, const std::string& key);

// When the selected object is one of `objects`: deselect it as a pick on empty space does (while it is
// still shown, so the selection marker leaves its frame), "Nothing selected", and the Apply, Keyframes
// Apply and Advanced Properties buttons disabled.
void deselectIfAmong(EditingContext& ctx, const std::vector<int16_t>& objects);

// Marks the objects of node strKey's subtree (1-based creation order) deleted, each node after all its
// children, children first to last: log lines, its entry in both object lists (searched from the second
// entry on), both names "**DELETED**", its mesh detached when shown. Removes no node and re-points no
// sharer: the caller re-points with repointSharers first and removes the node after. Traps its errors
// (window procedure "frmTARV").
void TraverseTreeDelete(EditingContext& ctx, int strKey);

// Deletes the subtree of the node with this key, which exists: re-points the sharers of its objects,
// deselects when the selected object is among them, marks its objects deleted and removes its node. The
// caller's error context (module, procedure, arguments) is recorded again after each trapping step.
void deleteSubtree(EditingContext& ctx, const std::string& key, const std::string& module, const std::string& procedure,
                   const std::string& arguments);

// Expands every node of the object tree.
void expandEveryNode(EditingContext& ctx);

// "Delete": refused for the base node ("Can't delete base object!"); otherwise re-points the sharers of
// every object of the selected subtree, deselects when the selected object is among them, marks the
// subtree deleted, removes its node, recomputes the links and expands every node. The Delete button is
// disabled while it runs. Traps its errors (window procedure "frmTARV").
void cmdDeleteObject_Click(EditingContext& ctx);

}  // namespace tarv
