#pragma once
// Normal recalculation before a save: one rounded unit normal per polygon, merged into each object's
// short list of distinct face normals, and one vertex normal per vertex averaged from the faces around it.
#include <cstdint>
#include <vector>

#include "model/state/ShipModel.h"

namespace tarv {

class EditingContext;

// The unit normal of polygon p (u = A - B, w = B - C, n = u x w), each component rounded to 6 decimals;
// (0, 0, 0) for a polygon without area or with a corner outside the vertex list.
Vector3 calcFaceNormal(const PeoObject& object, int32_t p);

// The merged face-normal list of one object and each polygon's index into it.
struct FaceNormalMerge {
    std::vector<PeoNormal> normals;
    std::vector<int32_t> polygonIndices;
};

// Merges normals within 0.01 on every axis (compared as 32-bit floats): a match takes the highest
// matching index and leaves the stored entry as it is; otherwise the normal is appended. More than
// 32767 distinct normals is "Overflow".
FaceNormalMerge mergeFaceNormals(const std::vector<Vector3>& polygonNormals);         // hash grid
FaceNormalMerge mergeFaceNormalsLiteral(const std::vector<Vector3>& polygonNormals);  // the plain scan

// Rebuilds faceNormals, nFaceNormals and every polygon's faceNormal of every object slot (deleted ones
// included). An object without polygons gets an empty list.
void recalcFaceNormals(EditingContext& ctx);
// The same for one object.
void recalcObjectFaceNormals(PeoObject& object);

// Rebuilds vertexNormals, nVertNormals and every vertex's normal index of every object slot; needs the
// face normals of recalcFaceNormals. More than 32767 corners at one vertex is "Overflow".
void calcVertexNormals(EditingContext& ctx);
void calcObjectVertexNormals(PeoObject& object);

}  // namespace tarv
