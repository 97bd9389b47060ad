#pragma once
// What the "Animations" page and the "Keyframes" tab show: the two animation lists with their selections,
// the apply modes and the captions of the two Play buttons.
#include <string>
#include <vector>

#include "base/FixedList.h"

namespace tarv {

struct AnimationsPageState {
    std::vector<std::string> lstAnimations;
    std::vector<std::string> cmbObjAnims;
    // The selected entries: indices into madAnimations, -1 none.
    int lstAnimationsIndex = -1;
    int cmbObjAnimsIndex = -1;
    std::string cmdPlayAnimationCaption = "Play";  // "Play" or "Stop"
    std::string cmdObjectPlayCaption = "Play";
    bool chkObjectsShowAnims = false;
    FixedList cmbApplyKeyframeType;
};

}  // namespace tarv
