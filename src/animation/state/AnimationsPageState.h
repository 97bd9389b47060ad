#pragma once
// What the "Animations" page and the "Keyframes" tab show. The two animation lists (lstAnimations and
// cmbObjAnims) show the names of madAnimations; here are their selections, the boxes, the slider and the
// captions, as plain data the widgets mirror.
#include <array>
#include <string>

#include "base/FixedList.h"

namespace tarv {

// The slider sldObjKeyf over the key indices of the current window.
struct KeySlider {
    int minimum = 0;
    int maximum = 1;
    int value = 0;
    bool enabled = false;
    friend bool operator==(const KeySlider&, const KeySlider&) = default;
};

// The check boxes chkKeyfUse, in their order.
enum KeyfUse { kUseX, kUseY, kUseZ, kUsePosition, kUseRotation, kUseBias, kUseCont, kUseTens, kUseTime };
inline constexpr int kKeyfUseCount = 9;
inline constexpr int kKeyValCount = 10;

struct AnimationsPageState {
    // The selected entries: indices into madAnimations, -1 none; one beyond the list counts as none.
    int lstAnimationsIndex = -1;
    int cmbObjAnimsIndex = -1;
    std::string cmdPlayAnimationCaption = "Play";  // "Play" or "Stop"
    std::string cmdObjectPlayCaption = "Play";
    bool chkObjectsShowAnims = false;
    FixedList cmbApplyKeyframeType;

    // The boxes of the selected animation.
    std::string txtAnimName;
    std::string startTime;
    std::string endTime;
    bool loopBox = false;

    // The Keyframes tab: the slider, the ten boxes of the current key, the nine check boxes (true: ticked),
    // the frame's caption and the slider label.
    KeySlider sldObjKeyf;
    std::array<std::string, kKeyValCount> txtKeyVal;
    std::array<bool, kKeyfUseCount> chkKeyfUse{};
    std::string frmKeyframeInfo = "Keyframe Information";
    std::string lblkeyfdebug;
    // The key controls (slider, boxes, check boxes, "Other", the slider label, "Apply to:", the apply modes
    // and "Auto") are visible, and "Reset 3D display", "Delete keyframe" and "Copy all keys to:" enabled.
    bool keyControlsShown = false;
    // The selected entry of cmbObjectList (the object names), -1 none.
    int cmbObjectListIndex = -1;
};

}  // namespace tarv
