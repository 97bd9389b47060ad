#pragma once
// The mesh-extras chunk table: one record per attachment point of the ship (guns, damage points, engines,
// dock and salvage points, nav lights, the collision sphere and the bounding box), the marker records that
// run parallel to it, the counts the reader keeps for the checks against the ship definition, and the
// chunk tree model that says which chunks exist and in which order they are written.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/KeyedTree.h"
#include "model/state/ShipModel.h"
#include "preview/state/ViewState.h"

namespace tarv {

class EditingContext;

inline const char* const kDeletedChunkId = "**DELETED**";

// Red, green and blue from 0 to 255.
struct ChunkColour {
    float red = 0, green = 0, blue = 0;
    friend bool operator==(const ChunkColour&, const ChunkColour&) = default;
};

// One chunk. Floats are kept exactly as read, so every bit pattern goes back to the file unchanged.
struct MexChunk {
    Vector3 position;       // position; centre of a collision sphere; corner of a bounding box
    Vector3 normal;         // direction; size of a bounding box
    std::string chunkId;    // at most 7 characters in the file; "**DELETED**" once deleted
    std::string pointName;  // dock, salvage and nav-light chunks; at most 19 characters in the file
    float coneAngle = 0;    // degrees; radius of a collision sphere; marker radius of a nav light
    float edgeAngle = 0;    // degrees
    ChunkColour colour;     // marker colour; a nav light's own colour
    int32_t level = 0;      // collision sphere and bounding box
    std::string chunkType;  // one letter of the type table; empty for an unknown tag
    friend bool operator==(const MexChunk&, const MexChunk&) = default;
};

// One chunk type: its letter, its tag in the file, the key of its parent node and its group's caption.
struct MexChunkType {
    char letter;
    const char* tag;
    const char* parentKey;
    const char* groupCaption;  // empty for the collision sphere and the bounding box, which have no group
};

// c, g, d, e, r, k, s, n, in the order of the file format's table.
const std::vector<MexChunkType>& mexChunkTypes();
const MexChunkType* mexChunkTypeByLetter(char letter);
const MexChunkType* mexChunkTypeByTag(std::string_view tag);

// The shape a chunk's marker asks for: spheres for collision spheres and nav lights, a box for the bounding
// box, cones for the others, for guns the gun rule with the gun's number, and none for an unknown type.
enum class MexMarkerShape { Sphere, Box, Cone, GunRule, None };
struct MexMarkerRequest {
    MexMarkerShape shape = MexMarkerShape::Cone;
    int16_t gunNumber = 0;
    friend bool operator==(const MexMarkerRequest&, const MexMarkerRequest&) = default;
};

// What the .mex reader asks of the chunk markers, in this order for each chunk it reads. The attachments'
// install entry sets the marker code; a test may set its own.
class MexMarkerBuilder {
public:
    virtual ~MexMarkerBuilder() = default;
    virtual void createBlankMexMesh(EditingContext& ctx, const std::string& name, int index) {}
    virtual void buildMarker(EditingContext& ctx, int index, const MexMarkerRequest& request) {}
    virtual void setChunkColour(EditingContext& ctx, int index) {}
};

struct MexChunkTable {
    std::vector<MexChunk> mexChunks;
    // The chunks' markers in the preview, index = chunk index, as long as mexChunks: each marker's mesh,
    // its frame "mex_" & name under object 0's frame, its name and its shown flag.
    std::vector<ViewObject> mexMeshes;
    // Counted while a .mex is read, for the checks against the ship definition.
    int16_t mexGunCount = 0;
    int16_t mexNavLightCount = 0;
    int16_t mexDockCount = 0;
    int16_t mexSalvageCount = 0;
    int16_t catSalvageDockCount = 0;
    // The chunk tree: the root, the six groups and one node per live chunk.
    KeyedTree treeMex;
    // The marker code; none means markers are not built.
    MexMarkerBuilder* markers = nullptr;

    int32_t mexChunkCount() const { return int32_t(mexChunks.size()); }
};

// Empties the chunk table, the markers, the chunk tree and the counts together, so no later save can write
// the chunks of a model that is gone and no marker of it stays in the scene.
void resetMexChunkTable(EditingContext& ctx);

// Takes every marker off the scene (each shown mesh off its frame, each frame off its parent) and empties
// the list. Whatever empties or re-sizes the marker list calls it first.
void takeMexMarkersOffScene(std::vector<ViewObject>& markers);

}  // namespace tarv
