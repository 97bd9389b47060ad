#pragma once
// The seventeen stored preferences, with their defaults, and the five switches that live only while the
// program runs.
#include <cstdint>
#include <string>

#include "model/state/ShipModel.h"

namespace tarv {

struct Preferences {
    RgbColour playerBaseColor{0, 128, 255, 0};
    RgbColour playerStripeColor{0, 0, 160, 0};
    bool drawTeamColours = true;
    bool alwaysShowBackup = true;
    bool createGunChunkOnClone = true;
    bool showMexObjects = true;
    int32_t logLevel = 1;
    bool useCustomStartDir = false;
    std::string customStartDir;
    int16_t navLightSize = 3;
    RgbColour highlightColour{255, 0, 0, 0};
    bool objectSharing = true;
    int16_t defaultFileType = 0;
    int16_t renderBackground = 1;
    int32_t defaultFileFormat = 1026;
    int16_t mouseControl = 0;
    int16_t duplicateMaterials = 0;
};

// Options that are never stored: each run starts from these states.
struct LiveSwitches {
    bool chkVNs = true;                       // "Save PEO with vertex normals (for smoothing)"
    bool chkSHIPfilePEO = false;              // "Save as SHIP-file PEO (not HW:C !)"
    bool chkSwitchClrs = false;               // "Switch material colours when loading 3Dex PEO"
    bool chkMEXload = false;                  // "Disable MEX file loading"
    bool chkSaveKeyframesXrotInvert = false;  // "Save keyframes with inverted X rotation"
};

}  // namespace tarv
