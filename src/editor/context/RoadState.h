#pragma once
// The state of the load and save roads, start-up and exit that the main window mirrors: which commands and
// pages are enabled, the save variant, the common dialog, and the seams of the roads' steps and window.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/FixedList.h"
#include "platform/CommonDialog.h"

namespace tarv {

class EditingContext;

// The steps of the load and save roads that tests replace to watch or break a road. The roads' own are
// SubsystemRoadSteps (editor/LoadRoad.h), which call the subsystems; a test derives from it and overrides the
// step it watches.
class RoadSteps {
public:
    virtual ~RoadSteps() = default;
    virtual void create3dObject(EditingContext& ctx, int objNo) = 0;  // one object's mesh and frame
    virtual void showAxes(EditingContext& ctx) = 0;
    virtual void createObjectTree(EditingContext& ctx) = 0;  // treeHeirachy from the mother links
    virtual void fixHierarchy(EditingContext& ctx) = 0;      // the links from the tree, before a save
    virtual void applyRenderMode(EditingContext& ctx) = 0;   // Reload's last step: textured or wireframe
};

// What the roads ask of the main window: the modal load summary, and the end of the program. The main
// window sets itself here for its lifetime; none shows no summary and lets the program go on.
class RoadWindow {
public:
    virtual ~RoadWindow() = default;
    virtual void showLoadSummary(EditingContext& ctx) {}
    // Ends the program (the window ends the process at once).
    virtual void endProgram(EditingContext& ctx) {}
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

    // The main window's common dialog (open and save), which keeps its state between uses.
    CommonDialog CommonDialog1;

    // Seams: none means the subsystems' own steps, and no window.
    RoadSteps* steps = nullptr;
    RoadWindow* window = nullptr;
};

}  // namespace tarv
