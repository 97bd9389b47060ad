#pragma once
// The state of the object pages that logic and the windows share: the selected object, the two object
// lists that follow the tree, the drag state of the tree, and the texts and enable flags that the
// "Heirachy" and "Matrix" pages and the labels around the canvas show. The tree itself is
// ctx.shell.treeHeirachy. The windows mirror this state; handlers change it through logic.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tarv {

class EditingContext;

// What a copy made by the Clone command adds to the chunk page when the preference createGunChunkOnClone is
// on: the chunk page connects its Add/Clone command here. Called once per copy, after the chunk tree's Guns
// group was selected; the default adds nothing.
class GunChunkHook {
public:
    virtual ~GunChunkHook() = default;
    virtual void cmdMexAdd_Click(EditingContext&) {}
};

// What the selection of an object shows on the Keyframes tab: the animation subsystem connects its keyframe
// panel here; none shows no keys.
class SelectionKeysHook {
public:
    virtual ~SelectionKeysHook() = default;
    // Object objNo was selected: the tab shows its keys for the selected animation.
    virtual void getAnimations(EditingContext& ctx, int16_t objNo) {}
};

// Shows lblBakeStatus at once, while Bake runs: the "Advanced Object Properties" dialog sets itself here
// while it lives; none shows it only when the dialog is shown again.
class BakeStatusHook {
public:
    virtual ~BakeStatusHook() = default;
    virtual void showBakeStatus(EditingContext& ctx) {}
};

// The texts of the "Advanced Object Properties" and "Pivot Point" dialogs that logic writes.
struct ObjectDialogsState {
    std::string lblObjectName = "Object Name";
    std::array<std::string, 9> lblObjectSize;  // size x, y, z; maximum x, y, z; minimum x, y, z
    std::string lblBakeStatus;
    std::array<std::string, 3> txtPivot;                     // the X, Y and Z offsets
    BakeStatusHook* bakeStatus = nullptr;
};

struct ObjectsState {
    int16_t selectedObject = -1;  // index into peoObjects and viewObjects, -1 for none

    std::vector<std::string> cmbObjectList;        // main window (Keyframes page): one name per object
    std::vector<std::string> cmbMatrixObjectList;  // Advanced Object Properties dialog

    // Dragging a node of treeHeirachy: monotonic seconds of the last press, -1 while idle; the node to drag.
    double dragStartTime = -1;
    std::string nodX;

    // Label texts.
    std::array<std::string, 2> lblObjectName;  // (0) on the Matrix page, (1) on the Keyframes page
    std::string lblKey;                        // the clicked node's key
    std::string lblNoOfObjs;                   // the object count, deleted objects included
    std::string Dx_Label1;                     // the status line under the 3D view

    // The Matrix page: the grid and the ten edit boxes as texts (the window reads the boxes back into
    // these before Apply), and the enable flags of its buttons.
    std::array<std::string, 16> localmatrix;  // element i - 1 of the matrix in localmatrix[i - 1]
    std::string posX, posY, posZ;
    std::string rotX, rotY, rotZ;
    std::string ShearX, ShearY, ShearZ;
    std::string ScaleXYZ;
    std::string lblTmpQuat;
    bool cmdApplyMatrixEnabled = false;
    bool cmdAdvancedObjPropsEnabled = false;
    bool chkShowRecoilEnabled = false;
    bool chkShowRecoil = false;  // "Show Gun Recoil" ticked
    bool cmdKeyfApplyEnabled = false;  // kept here for the Keyframes page

    // The "Object Options" frame: the object number of the top copy made by the last Clone command that got
    // as far as it (0 at start, kept across loads), and the enable flags of its Clone and Delete buttons.
    int16_t lastCloneIndex = 0;
    bool cmdCloneObjectEnabled = true;
    bool cmdDeleteObjectEnabled = true;
    GunChunkHook* gunChunkHook = nullptr;  // none: no gun chunks are added

    SelectionKeysHook* keysHook = nullptr;  // none: no keys are shown

    ObjectDialogsState dialogs;
};

}  // namespace tarv
