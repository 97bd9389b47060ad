#pragma once
// What the "Tools" page shows of the whole-model scale and turn: the ship-class list, the scale amount, the
// axis options, the turn amounts and the three scale boxes.
#include <string>

#include "base/FixedList.h"

namespace tarv {

struct ToolsPageState {
    FixedList cmbObjectSize;
    std::string txtScaleAmount;
    bool txtScaleAmountEnabled = false;
    int rotateOption = 0;
    FixedList cmbRotateAmount;
    bool chkScalePEO = false, chkScaleMEX = false, chkScaleMAD = false;
};

}  // namespace tarv
