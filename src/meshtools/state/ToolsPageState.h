#pragma once
// What the "Tools" page shows of the whole-model scale and turn: the ship-class list, the scale amount, the
// axis options, the turn amounts and the three scale boxes.
#include <functional>
#include <string>

#include "base/FixedList.h"

namespace tarv {

class EditingContext;

struct ToolsPageState {
    FixedList cmbObjectSize;
    std::string txtScaleAmount;
    bool txtScaleAmountEnabled = false;
    int rotateOption = 0;
    FixedList cmbRotateAmount;
    bool chkScalePEO = false, chkScaleMEX = false, chkScaleMAD = false;
    // The main window's load road, which the repair window hands its file to; the editor connects it.
    std::function<void(EditingContext&)> startprocess;
};

}  // namespace tarv
