#pragma once
// Gun firing arcs: the range of a turreted gun of the ship definition drawn as a marker at the gun's chunk,
// either a wedge (the four curved sides of the angular sector, fans from the gun out to a sphere) or a
// sphere cut-out (the far end of the sector with a flat triangle at each turn limit), turned like the model
// objects that aim the gun. Each builder is a chain of pure steps over the model and the gun table, and one
// last step that adds the triangles to the marker's mesh and places its frame. The builders leave the
// marker's colour, render quality and attachment to the caller, and never change the gun table.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "attachments/state/GunAngles.h"
#include "model/state/ShipModel.h"
#include "preview/state/ViewState.h"

namespace tarv {

class EditingContext;

// What the builders read of the gun's chunk: the chunk position in object 0's frame (the apex of the
// marker) and its point name (for the error report). The caller fills it from the chunk record.
struct GunArcChunk {
    Vector3 position;
    std::string pointName;
};

inline constexpr double kGunArcPi = 3.14159265359;
inline constexpr double kWedgeStep = kGunArcPi / 12;   // 15 degrees
inline constexpr double kCutOutStep = kGunArcPi / 18;  // 10 degrees
// The joint index of "no object found"; an object at this index can never be a joint.
inline constexpr int16_t kNoJoint = 999;
// The most parents a climb adds, so a cyclic parent chain ends.
inline constexpr int kMostParents = 999;

enum class GunArcShape { Wedge, CutOut };

// The joint object of a gun and the limits to draw it with.
struct GunArcJoint {
    int16_t joint = 0;
    GunAngleLimits limits;             // the master's for a slaved gun that fell back, else the gun's own
    bool askForSlavedBinding = false;  // a slaved gun with no joint of its own: show the question once
};

// Searches the joints of shpGuns(gun) among the objects (names ignoring case, the first match wins). A
// gun or master index outside the gun table is "Subscript out of range". The joint may lie outside the
// objects (no objects at all): the builders then end without building anything.
GunArcJoint findGunArcJoint(const EditingContext& ctx, int16_t gun);

// The message for a slaved gun without bindings.
std::string slavedGunBindingMessage(int16_t gun);

// The Euler angles of the joint (radians) plus those of its parents. The wedge's climb includes object 0's
// angles when the chain reaches it, the cut-out's does not; both add a root other than object 0 and stop
// after kMostParents parents. A parent index outside the objects is "Subscript out of range".
Vector3 summedJointAngles(EditingContext& ctx, int16_t joint, GunArcShape shape);

// The working angles in radians: the turn limits enter negated and swapped.
struct GunArcAngles {
    float turnStart = 0, turnEnd = 0, declStart = 0, declEnd = 0;
};
GunArcAngles gunArcAngles(const GunAngleLimits& limits);

// Step counts (at least 1) and steps (radians; 0 for a zero range, negative for reversed limits).
struct GunArcSteps {
    int16_t nT = 1, nD = 1;
    float stepT = 0, stepD = 0;
};
// "Overflow" when a count, or the shape's face count, goes beyond 32767.
GunArcSteps gunArcSteps(const GunArcAngles& angles, GunArcShape shape);

// The point at turn t and declination d on the sphere of the given radius: t = d = 0 along +z, a positive
// t towards +y, a positive d towards +x.
Vector3 gunArcPoint(float radius, float t, float d);

using ArcTriangle = std::array<Vector3, 3>;

// The wedge: working vertices 0 (the apex) to N + 1 around the sector's rim, N = 2 (nT + nD), and its 2N
// triangles in the order they are added (every fan triangle, then each again with the opposite winding).
struct WedgeGeometry {
    std::vector<Vector3> vertices;
    std::vector<ArcTriangle> triangles;
};
WedgeGeometry wedgeGeometry(const GunArcAngles& angles, const GunArcSteps& steps, float radius);

// The cut-out's 4 nT nD + 4 triangles in the order they are added: per row the first windings, then per
// row the reversed ones, then the four side triangles of the turn limits.
std::vector<ArcTriangle> cutOutTriangles(const GunArcAngles& angles, const GunArcSteps& steps, float radius);

// Adds each triangle as a new face to view.mesh, then poses view.frame relative to its parent: no
// rotation, the apex at position, then rotations about x, y and z by angles, each combined before the
// frame's transform (the z rotation acts first on the marker's points). A missing mesh or frame is
// "Object variable or With block variable not set", before anything is touched.
void placeGunArc(ViewObject& view, const std::vector<ArcTriangle>& triangles, const Vector3& position,
                 const Vector3& angles);

// The builders (module "modD3D"). They trap their errors: after a report the marker's mesh is empty and
// its frame unmoved.
void createPieceOfCake(EditingContext& ctx, int16_t gun, const GunArcChunk& c, ViewObject& v);
void createSphereCutOut(EditingContext& ctx, int16_t gun, const GunArcChunk& c, ViewObject& v);

}  // namespace tarv
