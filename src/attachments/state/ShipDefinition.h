#pragma once
// The ship definition's tables: guns, navigation lights, dock and salvage points, the declared counts and
// the paths of the ship's other files.
#include <cstdint>
#include <string>
#include <vector>

namespace tarv {

struct ShpGun {
    int32_t gunType = 0;  // 0 none/unknown, 1 GUN_Gimble, 2 GUN_NewGimble, 3 GUN_MissileLauncher, 4 GUN_MineLauncher
    float barrelLength = 0;
    float recoilLength = 0;
    int16_t slaveDriver = -1;
    std::string azimuthJoint;
    std::string declinationJoint;
    std::string recoilJoint;
    float minTurnAngle = 0;
    float maxTurnAngle = 0;
    float minDeclination = 0;
    float maxDeclination = 0;
    bool isBound = false;
    friend bool operator==(const ShpGun&, const ShpGun&) = default;
};

struct ShpDockPoint {
    std::string name;
    std::string dockType;
    friend bool operator==(const ShpDockPoint&, const ShpDockPoint&) = default;
};

struct ShipDefinition {
    // Each table holds its count of entries and then one blank spare entry.
    std::vector<ShpGun> shpGuns{ShpGun{}};
    std::vector<std::string> shpNavLights{""};
    std::vector<ShpDockPoint> shpDockPoints{ShpDockPoint{}};
    std::vector<std::string> shpSalvagePoints{""};
    int16_t shpGunCount = 0;
    int16_t shpNavLightCount = 0;
    int16_t shpDockCount = 0;
    int16_t shpSalvageCount = 0;
    int16_t shpCatSalvageCount = 0;
    int16_t shpNumberOfGuns = 0;
    int16_t shpNumberOfNavLights = 0;
    int16_t shpNumberOfDockPoints = 0;
    int16_t shpNumberOfSalvagePoints = 0;
    // The number of GUN blocks the last read took from the file; the patch writes only these guns.
    int16_t gunsReadFromFile = 0;
    // The gun records as the last read left them, with the values of each later patch: the patch rewrites a
    // gun's line only where the record now differs from these.
    std::vector<ShpGun> shpGunsAsRead;

    std::string shpFilePath;
    std::string lodFilePath;
    std::string mexFilePath;
    std::string madFilePath;
    bool noShpLoaded = true;

    // Save > "&SHP only" is offered only for a model that came with its ship definition.
    bool mnuFileSaveSHPEnabled = false;
};

}  // namespace tarv
