#pragma once
// Reading a .peo file (both variants) into the model of the context, with its log lines, status texts and
// the shared-object questions. The whole file is read into memory and closed before it is parsed; every
// count, offset and name is checked against the file, so a damaged file ends in a RunTimeError for the
// caller (the model is then left empty), never in a crash or a huge allocation.
#include <cstdint>
#include <string>

#include "base/BinaryReader.h"
#include "editor/context/EditingContext.h"

namespace tarv {

// Replaces the model's objects, materials, textures and counts with the file's contents. A missing file,
// a file without objects and a damaged file throw; the material list traps its own errors.
void readPeoFile(EditingContext& ctx, const std::string& path);

// The material list of count entries at offset. Traps its own errors (error report, then the materials
// read so far stay). Always returns 0.
int16_t getMaterials(EditingContext& ctx, const BinaryReader& reader, int32_t count, int32_t offset);

// The list loaders take a 1-based position (list offset + 1), as the object import calls them too.
// They fill object objectIndex of the model; call them in this order: vertices, face normals (nFaceNormals
// set first), vertex normals, polygons (corners are checked against the vertices already loaded).
void loadVertices(EditingContext& ctx, const BinaryReader& reader, int64_t position, int32_t count, int objectIndex);
void loadFaceNormals(EditingContext& ctx, const BinaryReader& reader, int64_t position, int32_t count,
                     int objectIndex);
void loadVertexNormals(EditingContext& ctx, const BinaryReader& reader, int64_t position, int32_t count,
                       int objectIndex);
void loadPolygons(EditingContext& ctx, const BinaryReader& reader, int64_t position, int32_t count, int objectIndex);

// Widens the object's minimum and maximum on each axis to include the vertex.
void updateBoundingBox(EditingContext& ctx, int objectIndex, int vertexIndex);
// Sets the object's sizes (1000 on all axes when one axis is flat), raises modelExtent and logs the sizes.
void calcObjectDimensions(EditingContext& ctx, int objectIndex);

}  // namespace tarv
