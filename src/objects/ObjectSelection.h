#pragma once
// The selected object (ctx.objects.selectedObject) and the "Matrix" page's logic. Every caller that changes
// the selection does, in order: resetPreviousObject(selectedObject) when it is 0 or more; selectedObject :=
// the new object or -1; getObjectDetails(new object). The tree's click, the 3D view's picking and the
// object dialogs use these.
#include <cstdint>

namespace tarv {

class EditingContext;

// The deselected look: quality 136 solid / 72 wireframe, the object's own colour; the selection marker
// is taken off the object's frame where it hangs there. Traps its errors (module "modPeo").
void resetPreviousObject(EditingContext& ctx, int16_t objNo);
// The selected look (quality 128 solid / 64 wireframe, the highlight colour, the local axes when an object
// is selected) for a shown object; then the name labels, the pose from the matrix, the Matrix page, the
// rotation boxes, the size labels, the Keyframes panel and the recoil box. Traps its errors.
void getObjectDetails(EditingContext& ctx, int16_t objNo);
// Attach or detach the object's mesh and tick or untick its node (an object without a node only gets
// the 3D change). Trap their errors.
void showObject(EditingContext& ctx, int16_t objNo);
void hideObject(EditingContext& ctx, int16_t objNo);
// The 1-based index of the object's node in creation order, 0 when it has none. Traps its errors.
int16_t getNodeFromPeoObject(EditingContext& ctx, int16_t objNo);

// Fills the grid and the position, shear and scale boxes from object nKey's matrix (no trap of its own).
void getMatrix(EditingContext& ctx, int16_t nKey);
// "Apply": checks the ten boxes and rebuilds the selected object's matrix (rotation part
// Rz(z) Ry(y) Rx(x), the order in which the boxes are read back) and its 3D pose. Traps its errors.
void cmdApplyMatrix_Click(EditingContext& ctx);

// The pick of the 3D view: the calling order above, lblKey, and the node with the object's name selected.
void selectPickedObject(EditingContext& ctx, int16_t objNo);
// A pick on empty space: deselects, clears lblKey, disables the three buttons and leaves the Keyframes tab
// without keys.
void clearPickedSelection(EditingContext& ctx);
// Connects the canvas's picks to the two above (the object subsystem's install does it).
void connectPickSelection(EditingContext& ctx);

// Members of the main window that nothing calls, kept as they were described: angles in degrees from
// grid entries. They trap their errors (window procedure "frmTARV"); after a report they return 0.
double calcX(EditingContext& ctx, float y, float local6, float local7, float local10, float local11);
double calcY(EditingContext& ctx, float local3, float local1, float local11);
double calcZ(EditingContext& ctx, float y, float z);

}  // namespace tarv
