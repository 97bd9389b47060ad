#pragma once
// Guide geometry of the preview (module "modD3D"): the model axes on the base object (the selected
// object's local axes are in LocalAxes.h), a line along a chunk's direction, the turn that carries +z onto
// a direction, and the marker solids (box, cone, sphere) that mark the mesh-extras chunks. The solids and the line only add
// faces to the mesh of the view record they are given; its colour, quality and frame are the caller's.
// Colours reach the scene layer as 0..1: 0..255 values are divided by 255 here.
#include "attachments/state/MexChunkTable.h"
#include "model/state/ShipModel.h"
#include "preview/state/ViewState.h"

namespace tarv {

class EditingContext;

// Three narrow cones along x (blue), y (green) and z (red) under object 0's frame; the canvas refreshes.
void showAxes(EditingContext& ctx);

// Adds a line from c.position along c.normal to v.mesh: a third of modelExtent long for a unit normal,
// else the normal's own length.
void drawLine(EditingContext& ctx, const MexChunk& c, ViewObject& v);

// p turned so that +z maps onto the direction of dir; a zero dir gives p. After a reported error (0, 0, 0).
Vector3 Rotation_XYZ(EditingContext& ctx, const Vector3& p, const Vector3& dir);
// The turn itself, without error context.
Vector3 rotationXYZ(const Vector3& p, const Vector3& dir);

// An axis-aligned box from corner (x, y, z) spanning (w, h, d): six quads, each coloured (r, g, b) (0..255)
// and given one material that glows in that colour.
void createBox(EditingContext& ctx, ViewObject& view, float x, float y, float z, float w, float h, float d, float r,
               float g, float b);
// An eight-sided open cone with its apex at the chunk position along the chunk's normal, opening by the
// cone angle plus the edge angle (degrees), both windings.
void createCone(EditingContext& ctx, const MexChunk& chunk, ViewObject& view);
// A sphere of 18 vertices and 32 triangles around the chunk position; the cone angle is the radius.
void createSphere(EditingContext& ctx, const MexChunk& chunk, ViewObject& view);

// Real game files carry 0xCDCDCDCD (about -4.3e8) as cone or edge angle: a value that is not finite or of
// magnitude 1e6 or more counts as 0 in the solids.
float usableMarkerValue(float value);

}  // namespace tarv
