#pragma once
// The angle limits of a gun as the editor draws and judges them. The games' files carry garbage in unset
// angle fields (0xCDCDCDCD, -431602080 as a float) and the gun panel accepts any number, so a limit that
// is not finite, or beyond a full turn either way, counts as unset (0). Every shape decision and every
// drawing of a gun's range takes its limits from here; the gun's record itself keeps what was read.
#include <cmath>

#include "attachments/state/ShipDefinition.h"

namespace tarv {

// The largest magnitude in degrees a gun angle limit may have to count as set.
inline constexpr float kLargestGunAngle = 360.0f;

inline float usableGunAngle(float degrees) {
    return std::isfinite(degrees) && std::fabs(degrees) <= kLargestGunAngle ? degrees : 0.0f;
}

// The four limits of a gun, in degrees.
struct GunAngleLimits {
    float minTurnAngle = 0;
    float maxTurnAngle = 0;
    float minDeclination = 0;
    float maxDeclination = 0;
    friend bool operator==(const GunAngleLimits&, const GunAngleLimits&) = default;
};

// The gun's limits as they are stored.
inline GunAngleLimits gunAngleLimits(const ShpGun& gun) {
    return {gun.minTurnAngle, gun.maxTurnAngle, gun.minDeclination, gun.maxDeclination};
}

// The limits with every unusable value counted as 0.
inline GunAngleLimits usableGunAngleLimits(const GunAngleLimits& limits) {
    return {usableGunAngle(limits.minTurnAngle), usableGunAngle(limits.maxTurnAngle),
            usableGunAngle(limits.minDeclination), usableGunAngle(limits.maxDeclination)};
}
inline GunAngleLimits usableGunAngleLimits(const ShpGun& gun) { return usableGunAngleLimits(gunAngleLimits(gun)); }

}  // namespace tarv
