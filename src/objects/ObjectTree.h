#pragma once
// The object tree treeHeirachy (ctx.shell.treeHeirachy) and the two object lists that follow it: the build
// at every load, and the handlers of the tree's events. The window forwards what the user does by node
// key; these change the model and the state, and the window shows them again.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tarv {

class EditingContext;
class KeyedTree;

// Parent links as the tree builds read them: a node at the top level, a node under the first node that is
// never moved, or (zero or more) the index of the node asked for as its parent.
inline constexpr int kLinkTopLevel = -1;
inline constexpr int kLinkUnderBase = -2;

// Gives `tree`, whose nodes are the keys of nodes 0..n-1 in that order, the shape that placing every node
// with a parent link under the first node, and then moving each node from the last down to the first place
// under its parent, gives. A node 0 with a parent index, a parent index outside the nodes, and a move that
// would close a cycle call `corrupted` and leave the node under the first node. Every node moves at most
// once, so the final shape is worked out first and given to the tree in one step: a node's children are
// the nodes moved under it in ascending index order, then (under the first node only) those never moved.
void arrangeByParentLinks(KeyedTree& tree, const std::vector<int>& links, const std::function<void()>& corrupted);

// Mouse buttons as the tree reports them (a set of these for a move).
enum TreeMouseButton : int16_t { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };

// Builds the tree and both lists from the objects' mother links, ticks and expands every node and makes
// "o0" the selected node (without the click handling). A bad link shows "Corrupted hierarchy detected!"
// once per object and puts its node under "o0"; object 0 is always the first top-level node, and the build
// always completes. Traps its errors (window procedure "frmTARV").
void createObjectTree(EditingContext& ctx);

// A press of any button: arms the drag clock with the current time, takes the selected node as the node
// to drag and clears the drop highlight.
void treeHeirachy_MouseDown(EditingContext& ctx, int16_t button, int16_t shift, float x, float y);
// A move: true when a drag of the tree begins (only the left button held, at least one node, and more
// than one second since the press).
bool treeHeirachy_MouseMove(EditingContext& ctx, int16_t button, int16_t shift, float x, float y);
// A release over the tree without a drop: the drag clock goes idle.
void treeHeirachy_MouseUp(EditingContext& ctx, int16_t button, int16_t shift, float x, float y);
// While dragging: the node under the pointer ("" for none) becomes the drop highlight.
void treeHeirachy_DragOver(EditingContext& ctx, const std::string& targetKey);
// A drop on the tree: re-parents the dragged node under the highlighted one as its first child,
// recomputes every object's links and hangs the object's frame under its new parent's frame, posed from
// its unchanged matrix. All of it or nothing: a failure puts the node, the links and the frame back and
// shows the error report.
void treeHeirachy_DragDrop(EditingContext& ctx);
// The end of an edit of the selected node's text. Refuses an empty text, a name another object has and
// the deleted-object name; a cancelled or unchanged edit changes nothing. True when renamed.
bool treeHeirachy_AfterLabelEdit(EditingContext& ctx, int16_t cancel, const std::string& newText);
// The user ticked or unticked a node: the object is shown or hidden.
void treeHeirachy_NodeCheck(EditingContext& ctx, const std::string& key, bool checked);
// A click on a node: the object becomes the selected object.
void treeHeirachy_NodeClick(EditingContext& ctx, const std::string& key);
// A double click does nothing.
inline void treeHeirachy_DblClick(EditingContext&) {}

// The names of the messages.
inline const char* const kCorruptedHierarchyText = "Corrupted hierarchy detected!";
inline const char* const kOwnChildrenText = "A node can't be made a child of its own children.";
inline const char* const kUniqueNamesText = "Object names must be unique and can't be empty.";

}  // namespace tarv
