#pragma once
// What the "Mex Data" page shows, as plain data the widgets mirror: each label's caption and visibility,
// each box's text, visibility and enabled flag, the nav light swatch and the buttons' flags. Array controls
// keep their index (txtMexPos[0] is the window's txtMexPos_0).
#include <array>
#include <cstdint>
#include <string>

namespace tarv {

struct MexDataLabel {
    std::string caption;
    bool visible = false;
};

struct MexDataBox {
    std::string text;
    bool visible = false;
    bool enabled = true;
};

struct MexDataPage {
    std::array<MexDataLabel, 9> mexLabel;  // 0..7 caption the number boxes, 8 the name box
    MexDataLabel lblChunkID{"Chunk ID:", false};
    MexDataLabel lblNavColour{"Navlight Colour:", false};
    MexDataBox txtChunkId;
    MexDataBox txtMexName;
    std::array<MexDataBox, 3> txtMexPos{MexDataBox{"0"}, MexDataBox{"0"}, MexDataBox{"0"}};
    std::array<MexDataBox, 3> txtMexOrt{MexDataBox{"0"}, MexDataBox{"0"}, MexDataBox{"0"}};
    std::array<MexDataBox, 2> txtAngle{MexDataBox{"0"}, MexDataBox{"0"}};
    bool picNavColourVisible = false;
    int32_t picNavColour = 0;  // red + 256 x green + 65536 x blue
    bool cmdMexEditApplyEnabled = false;
    bool cmdMexNormaliseVisible = false;
    bool cmdBBAutoCalcVisible = false;
};

}  // namespace tarv
