#pragma once
// The chunk tree's events and commands on the "Elements" page (module "frmTARV"): ticks show and hide
// markers, a click selects a chunk for the edit panel and turns its marker white, and "Add/Clone", "Mirror"
// and "Delete" change the chunk table. A selection the program makes (the new chunk, the group after a
// Delete, the root after a load) runs no click and leaves the buttons alone. With no node selected (an
// empty tree too) the commands do nothing.
#include <string>

namespace tarv {

class EditingContext;

inline const char* const kCantAddFromRootText = "Can't add from root!";

// The user ticked or unticked the node key: a chunk, a group (its chunks) or the root (every node); markers
// that go on view take their chunk colour first (under the root only those that were hidden). Traps its
// errors.
void treeMex_NodeCheck(EditingContext& ctx, const std::string& key, bool checked);
// The user clicked the node key. Traps its errors.
void treeMex_NodeClick(EditingContext& ctx, const std::string& key);
// Switches SSTab3 to "Mex Data" when that page is enabled.
void treeMex_DblClick(EditingContext& ctx);

// "Add/Clone": a new chunk under the selected group, or a clone of the selected chunk beside it. Traps its
// errors; cmdMexAdd is enabled again before a report.
void cmdMexAdd_Click(EditingContext& ctx);
// "Mirror": as Add/Clone (a new damage point gets cone 15 and edge 5, a new gun a gun-table record), the
// clone negated along each ticked axis. Traps its errors.
void cmdMexMirror_Click(EditingContext& ctx);
// "Delete": marks the selected chunk deleted, hides its marker and removes its node; its group becomes the
// selected node. Only for chunks other than collision spheres and bounding boxes. Traps its errors.
void cmdMexDel_Click(EditingContext& ctx);

}  // namespace tarv
