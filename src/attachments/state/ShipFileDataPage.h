#pragma once
// What the "Ship File Data" page shows in its frame "Experimental SHP file information": the gun's lengths,
// angle limits and joints as box texts, the row labels' captions, and which gun the boxes were last filled
// from. The gun-type list itself is ShipInfoPageState::cmbShpGunType. The widgets only mirror this.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace tarv {

struct ShipFileDataPage {
    // lblShpGunInfo(0..4): "Gun Type:", "Barrel Length:", "Recoil:", then the azimuth and declination rows,
    // which read "Ship Gun Info:" until a gun is shown.
    std::array<std::string, 5> lblShpGunInfo{"Gun Type:", "Barrel Length:", "Recoil:", "Ship Gun Info:",
                                             "Ship Gun Info:"};
    std::array<std::string, 2> txtShpGunInfo;    // 0 recoil length, 1 barrel length
    std::array<std::string, 4> txtShpGunAngles;  // minimum and maximum turn angle, minimum and maximum declination
    std::string txtShpObjAz;                     // the object the gun's azimuth turns
    std::string txtShpObjDecl;                   // the object the gun's declination turns
    // The gun the boxes were last filled from, and the texts the two length boxes were filled with: a length
    // box still showing that text is unedited, and Apply keeps that gun's stored length as it is. Once Apply
    // has taken a box as edited, its text is forgotten until the next fill.
    int16_t shownGun = -1;
    std::array<std::optional<std::string>, 2> filledGunInfo;
};

}  // namespace tarv
