#pragma once
// What the "Animations" page and the "Keyframes" tab show: the two animation lists and the apply modes.
#include <string>
#include <vector>

#include "base/FixedList.h"

namespace tarv {

struct AnimationsPageState {
    std::vector<std::string> lstAnimations;
    std::vector<std::string> cmbObjAnims;
    FixedList cmbApplyKeyframeType;
};

} // namespace tarv
