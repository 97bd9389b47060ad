#pragma once
// The rows of the "Geometry Inspector": the three corners of one face of one object, and the vertex normal
// each corner refers to.
#include <array>
#include <string>
#include <vector>

namespace tarv {

struct ShipModel;

struct GeometryRows {
    std::vector<std::array<std::string, 5>> corners;  // corner number, x, y, z, normal number
    std::vector<std::array<std::string, 4>> normals;  // translated normal number, x, y, z
    bool leftOut = false;                             // some index lay outside its list
};

// The message shown once per opening when rows were left out.
inline const char* const kGeometryLeftOutText =
    "Some of this face's data lies outside the object's lists; only the valid rows are shown.";

// The rows of face `face` of object `object`. Every index is checked before use: a face or object outside its
// list gives no rows, a corner whose vertex is outside the vertex list gives no rows, and a corner whose
// translated normal (normal number - nFaceNormals) is outside the vertex normals gives only its upper row;
// each of these sets leftOut.
GeometryRows geometryRows(const ShipModel& model, int object, int face);

}  // namespace tarv
