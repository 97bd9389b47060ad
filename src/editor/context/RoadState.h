#pragma once
// The state of the load and save roads, start-up and exit that the main window mirrors: which commands and
// pages are enabled, the save variant, the common dialog, and the steps that the subsystems fill in.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/FixedList.h"
#include "platform/CommonDialog.h"

namespace tarv {

class EditingContext;

// The steps of the load and save roads that the roads cannot call themselves, or that tests replace. The
// roads call every other subsystem step directly. An unset step is the subsystem's own (the load summary:
// none); the main window sets the load summary, tests set the others to watch or break the road.
struct RoadSteps {
    std::function<void(EditingContext&, int objNo)> create3dObject;  // one object's mesh and frame
    std::function<void(EditingContext&)> showAxes;
    std::function<void(EditingContext&)> createObjectTree;  // treeHeirachy from the mother links
    std::function<void(EditingContext&)> fixHierarchy;      // the links from the tree, before a save
    std::function<void(EditingContext&)> applyRenderMode;   // Reload's last step: textured or wireframe
    std::function<void(EditingContext&)> showLoadSummary;   // the modal load summary (the main window's)
};

struct RoadState {
    // File menu.
    bool mnuReloadEnabled = false;
    bool mnuFileSaveEnabled = false;  // the "&Save" submenu
    bool mnuFileSaveAsEnabled = false;
    bool cataclysmVariant = false;  // "HW:&C" ticked ("&HW" otherwise)
    // Pages: start-up disables every page of SSTab1 but "General" and a load enables them; unset, the
    // pages stay as the window has them.
    std::optional<bool> pagesEnabled;
    std::optional<bool> keyframesPageEnabled;     // page 2 of SSTab2
    std::optional<bool> shipFileDataPageEnabled;  // page 2 of SSTab3
    // A page the tab controls switch to once (the window switches and sets them back to -1).
    int ssTab1Page = -1;
    int ssTab2Page = -1;
    int ssTab3Page = -1;

    // How many load or save operations run now; while one runs no user input is handled and a close
    // request waits for its end.
    int operationsRunning = 0;
    // Ends the program (the window ends the process at once; tests watch it).
    std::function<void()> endProgram;

    // The main window's common dialog (open and save), which keeps its state between uses.
    CommonDialog CommonDialog1;

    RoadSteps steps;
};

}  // namespace tarv
