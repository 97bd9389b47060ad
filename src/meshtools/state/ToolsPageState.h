#pragma once
// What the "Tools" page shows of the whole-model scale and turn: the ship-class list, the scale amount, the
// axis options, the turn amounts and the three scale boxes.
#include <string>

#include "base/FixedList.h"

namespace tarv {

class EditingContext;

// The load road that the mesh tools hand a file to (the repair window's "Load into TARV", the level list's
// "Switch to..."): the editor connects its road here, the main window its command of that road; none loads
// nothing.
class LoadRoadHook {
public:
    virtual ~LoadRoadHook() = default;
    // Loads the model in ctx.currentModelPath.
    virtual void startprocess(EditingContext& ctx) {}
};

struct ToolsPageState {
    FixedList cmbObjectSize;
    std::string txtScaleAmount;
    bool txtScaleAmountEnabled = false;
    int rotateOption = 0;
    FixedList cmbRotateAmount;
    bool chkScalePEO = false, chkScaleMEX = false, chkScaleMAD = false;
    LoadRoadHook* loadRoad = nullptr;
};

}  // namespace tarv
