#pragma once
// The state of the load and save roads, start-up and exit that the main window mirrors: which commands and
// pages are enabled, the save variant, the lists and labels the road clears or fills, the fixed lists of
// start-up, and the steps that other subsystems fill in (each a seam that defaults to a stand-in).
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/CommonDialog.h"

namespace tarv {

class EditingContext;

// The steps of the load and save roads that belong to other subsystems. An empty step is filled with the
// road's default (the owning subsystem's operation, or a stand-in until it exists) when a road starts.
struct RoadSteps {
    std::function<void(EditingContext&, int objNo)> create3dObject;  // one object's mesh and frame
    std::function<void(EditingContext&)> showMaterials;              // the material list
    std::function<void(EditingContext&)> showAxes;
    std::function<void(EditingContext&)> createObjectTree;           // treeHeirachy from the mother links
    std::function<void(EditingContext&)> fixHierarchy;               // the links from the tree, before a save
    std::function<void(EditingContext&)> checkForMex;
    std::function<void(EditingContext&, const std::string& madFile)> checkForMad;
    std::function<void(EditingContext&)> resetView;        // Render > Reset View, then the Front view
    std::function<void(EditingContext&)> applyRenderMode;  // Reload's last step: textured or wireframe
    std::function<void(EditingContext&)> showLoadSummary;  // the modal load summary
    // The clean-up's step of the Material Properties window (its flag boxes).
    std::function<void(EditingContext&)> clearMaterialFlags;
};

// One of the fixed lists of start-up: its entries and the chosen position (-1 none).
struct FixedList {
    std::vector<std::string> items;
    int listIndex = -1;
};

struct RoadState {
    // File menu.
    bool mnuReloadEnabled = false;
    bool mnuFileSaveEnabled = false;    // the "&Save" submenu
    bool mnuFileSaveAsEnabled = false;
    bool cataclysmVariant = false;      // "HW:&C" ticked ("&HW" otherwise)
    // Pages: start-up disables every page of SSTab1 but "General" and a load enables them; unset, the
    // pages stay as the window has them.
    std::optional<bool> pagesEnabled;
    std::optional<bool> keyframesPageEnabled;     // page 2 of SSTab2
    std::optional<bool> shipFileDataPageEnabled;  // page 2 of SSTab3
    // A page the tab controls switch to once (the window switches and sets them back to -1).
    int ssTab1Page = -1;
    int ssTab2Page = -1;
    int ssTab3Page = -1;

    // What the road clears and fills.
    std::vector<std::string> lstMaterial;
    std::string txtPublic, txtLocal;
    std::vector<std::string> lstAnimations;
    std::vector<std::string> cmbObjAnims;
    bool clearMexKey = false;  // a request: the window empties lblMexKey and sets this back
    bool mexFieldsVisible = false;  // the chunk edit fields of the "Mex Data" page

    // The fixed lists and controls of start-up.
    FixedList cmbObjectSize;
    std::string txtScaleAmount;
    bool txtScaleAmountEnabled = false;
    int rotateOption = 0;
    FixedList cmbRotateAmount;
    bool chkScalePEO = false, chkScaleMEX = false, chkScaleMAD = false;
    FixedList cmbApplyKeyframeType;
    FixedList cmbShpGunType;

    // How many load or save operations run now; while one runs no user input is handled and a close
    // request waits for its end.
    int operationsRunning = 0;
    // Ends the program (the window quits its event loop; tests watch it).
    std::function<void()> endProgram;

    // The main window's common dialog (open and save), which keeps its state between uses.
    CommonDialog CommonDialog1;

    RoadSteps steps;
};

} // namespace tarv
