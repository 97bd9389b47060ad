#pragma once
// The chunk markers (module "modMex"): each chunk of the table has a marker in the preview, a mesh on a frame
// "mex_" & name under object 0's frame, shaped and coloured by the chunk's type. The shapes come from the
// preview's solids and the gun arcs; this file chooses them, colours them, rebuilds them and scales them.
#include <cstdint>
#include <string>

#include "attachments/state/MexChunkTable.h"
#include "attachments/state/ShipDefinition.h"

namespace tarv {

class EditingContext;

// Quality of a chunk's fresh marker mesh and of its shaped one.
inline constexpr int32_t kMarkerWireframe = 64;
inline constexpr int32_t kMarkerSolid = 128;
inline constexpr int32_t kMarkerSolidLit = 136;

// The colour the chunk's type gives it (0..255): white spheres and boxes, green or red guns, cyan damage
// points, yellow engines, blue salvage points, purple dock points while unset; nav lights and other
// letters keep their own.
ChunkColour chunkTypeColour(const EditingContext& ctx, const MexChunk& chunk);
// A chunk colour as the scene takes it: each component clamped to 0..255 (a negative one or NaN counts as
// 0), divided by 255.
ViewColour markerColour(const ChunkColour& colour);

// Makes marker index's empty mesh (quality 128 for a name that starts with "N", else 64) and its frame
// "mex_" & name under object 0's frame (parentless while there is no object 0); the mesh is not attached and
// the shown flag is kept. A frame the slot had before leaves the scene. Traps its errors.
void createBlankMexMesh(EditingContext& ctx, const std::string& name, int index);
// Sets the chunk's colour by its type, then gives its marker mesh the quality (136 nav light, 64 other) and
// that colour. Traps its errors.
void setChunkColour(EditingContext& ctx, int index);

// What gun record n's limits make of a gun's marker: a cone for a gun that is not of type 2, a sphere patch
// for wide arcs, a wedge for an ID holding "Gun", "GUN" or "gun", else a cone. Limits count through the gun
// arcs' guard; a number without a record gives a cone.
enum class GunMarkerShape { Cone, Wedge, SpherePatch };
GunMarkerShape gunMarkerShape(const ShipDefinition& shp, int gun, const std::string& chunkId);

// The panel's view of the shape rule: no ship definition (noShpLoaded) gives a gun a cone; its number is the
// numeric beginning of the ID after its first three characters, rounded half to even, and a number that
// cannot be formed, is negative, beyond 16 bits or without a gun record gives a cone.
MexMarkerRequest panelMarkerRequest(const EditingContext& ctx, const MexChunk& chunk);
// Adds the requested shape to marker index's mesh (a gun rule request goes through gunMarkerShape).
void buildMarkerShape(EditingContext& ctx, int index, const MexMarkerRequest& request);

// The marker half of the panel's Apply for chunk index: a new mesh, the frame back at its parent's origin
// without rotation, the panel's shape, the chunk colour and then white; the mesh is attached only while the
// marker is shown, so tick and marker agree. Traps its errors.
void rebuildChunkMarker(EditingContext& ctx, int index);

// Scales every chunk (deleted ones too) by factor and rebuilds its marker: positions, collision sphere radii
// and bounding box sizes; guns, dock and salvage points become cones, damage points and engines lines, nav
// lights keep their radius. A product that overflows stops with the error report, earlier chunks scaled.
// Then the panel follows lblMexKey. Traps its errors.
void scaleMexChunks(EditingContext& ctx, float factor);

// Marker i on view or off it (nothing when it is so already or has no mesh); colourFirst gives a marker that
// goes on view its chunk colour first.
void showChunkMarker(EditingContext& ctx, int index, bool colourFirst);
void hideChunkMarker(EditingContext& ctx, int index);
// The marker's mesh in its chunk's colour, or white.
void colourChunkMarker(EditingContext& ctx, int index);
void whitenChunkMarker(EditingContext& ctx, int index);
// Asks the canvas to draw.
void renderCanvas(EditingContext& ctx);

// The marker code the .mex reader and the commands use.
MexMarkerBuilder& chunkMarkerBuilder();

}  // namespace tarv
