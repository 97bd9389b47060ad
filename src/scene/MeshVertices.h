#pragma once
// The flat vertex array a mesh is drawn from: every face cut into a fan of triangles, three corners each,
// grouped by texture so that each group is one draw.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "scene/Mesh.h"

namespace tarv::scene {

// One corner as the canvas's buffers hold it.
struct MeshVertex {
    float pos[3];
    float uv[2];
    uint8_t colour[4];    // the face's colour, opaque
    uint8_t emissive[4];  // the emissive colour of the face's material, black without one
    uint8_t flags[4];     // edge mask of the fan triangle (1: v0-v1, 2: v1-v2, 4: v2-v0), textured
    float normal[3];      // (v1 - v0) x (v2 - v0) of the fan triangle, in the mesh's coordinates
};

// A run of vertices that share one texture (none for the first run).
struct MeshVertexRange {
    TexturePtr texture;
    size_t first = 0;
    size_t count = 0;
};

struct MeshVertices {
    std::vector<MeshVertex> vertices;
    std::vector<MeshVertexRange> ranges;  // untextured faces first, then each texture in the order faces use it
};

// The mesh's faces as triangles. Faces of fewer than three corners are left out, and so are empty runs.
// A fan triangle's edge mask holds only the edges that are edges of its polygon.
MeshVertices buildMeshVertices(const MeshBuilder& mesh);

}  // namespace tarv::scene
