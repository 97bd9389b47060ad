#pragma once
// "Random Damage Points" on the "Elements" page (module "frmTARV"): damage-point chunks on outward-facing
// vertices of the selected object, chosen at random through the session's random source.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/state/ShipModel.h"

namespace tarv {

class EditingContext;
class RandomSource;

inline const char* const kSelectObjectFirstText = "Please select an object first";
inline const char* const kDamagePointsTitle = "Number of damage points";
inline const char* const kDamagePointsDefault = "10";
inline const char* const kDamagePointsPrompt =
    "Type the number of damage points you wish to have for this object. Be sure that no damage points exist "
    "before continuing. (Type an integer number. Damage points will be positioned ON object vertices, which are "
    "'outside').";
inline const char* const kEnterIntegerText = "Please enter an (integer) number";
inline const char* const kDeleteDamagePointsText = "Please delete all existing damage points before proceeding";
inline const char* const kNoDamagePositionsText =
    "No positions were identified for suitable automatic damage point generation";
inline const char* const kNotEnoughPositionsText = "Not enough positions identified for new damage points, adding only ";

// The count typed in the box: a whole-box number rounded half to even, from 1 to 32767; none for any other
// answer (empty, Cancel, not a number, below 1 or beyond 16 bits).
std::optional<int16_t> damagePointCount(const std::optional<std::string>& answer);

// The vertices of the object (indices, ascending) that lie in one of the eight octants around the centre of
// its box and whose normal (vertexNormals, same index) points into the same octant. A component of the
// offset from the centre of exactly 0 counts as the positive side; on the negative side a normal component of
// 0 passes for y and z but not for x. One pass over the vertices.
std::vector<int32_t> damagePointCandidates(const PeoObject& object);

// n different positions out of 0 .. a - 1 (a > n >= 0) in the order drawn: each draw is uniform over all a
// positions, and a position already picked is drawn again. The reference keeps the picks in a list and scans
// it at every draw; the fast one marks them in a bit vector. On the same draws both give the same picks.
std::vector<int32_t> pickDamagePointsReference(RandomSource& random, int32_t a, int32_t n);
std::vector<int32_t> pickDamagePoints(RandomSource& random, int32_t a, int32_t n);

// The button's click: the selected object, the count asked for (ten tries), no live damage point in the
// table, then randomizeDamagePoints. Traps its errors.
void cmdRDP_Click(EditingContext& ctx);

// Renews the normals of the whole model, then appends one damage chunk ("Dmg" & j) per picked candidate
// vertex of the object, with its marker on view and its node ticked under "dRoot", and raises the group's
// counter. Positions are the vertices as stored in the object: its matrix is not applied. A count below 1
// changes nothing.
void randomizeDamagePoints(EditingContext& ctx, int16_t object, int16_t n);

}  // namespace tarv
