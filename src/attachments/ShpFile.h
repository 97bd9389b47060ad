#pragma once
// Reading the ship definition (.shp) and patching its gun lines.
#include <cstdint>
#include <string>
#include <vector>

#include "attachments/state/ShipDefinition.h"
#include "editor/context/EditingContext.h"

namespace tarv {

// Reads the .shp at path into the ship definition's tables. Traps its errors (error report, then returns
// with what was read so far).
void loadShpFile(EditingContext& ctx, const std::string& path);

void setGunType(EditingContext& ctx, const std::string& keyword, int gun);
void setGunBarrelLength(EditingContext& ctx, float value, int gun);
void setGunRecoilLength(EditingContext& ctx, float value, int gun);
void setGunSlaveDriver(EditingContext& ctx, int16_t master, int gun);
void setGunMinTurnAngle(EditingContext& ctx, float value, int gun);
void setGunMaxTurnAngle(EditingContext& ctx, float value, int gun);
void setGunMinDeclination(EditingContext& ctx, float value, int gun);
void setGunMaxDeclination(EditingContext& ctx, float value, int gun);
// Applies one binding line (word 2 & " " & word 3 of a BindGun line). Traps its errors.
void setGunBinding(EditingContext& ctx, const std::string& text);
std::string getGunTypeName(const ShpGun& gun);

// Patches the gun type, barrel and recoil lines of the .shp at path. A missing file writes nothing and is
// not an error. Returns false when the patch failed (the report was shown; the file is unchanged).
bool saveSHPfile(EditingContext& ctx, const std::string& path);

// Save > "&SHP only": patches the ship definition beside the model and shows "Save done!".
bool mnuFileSaveSHP_Click(EditingContext& ctx);
// The path that Save > "&SHP only" patches.
std::string shpSavePath(const EditingContext& ctx);
// Every open of a model disables Save > "&SHP only"; the end of a load road enables it again when the
// model came with its ship definition.
void disableShpSave(EditingContext& ctx);
void updateShpSaveAfterLoad(EditingContext& ctx);

// The first object whose name equals name ignoring case; 0 when none (deleted slots included).
int16_t getObjectIndexByName(const EditingContext& ctx, const std::string& name);

} // namespace tarv
