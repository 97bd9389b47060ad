#include "objects/GeometryRows.h"

#include "base/NumberText.h"
#include "model/state/ShipModel.h"

namespace tarv {

GeometryRows geometryRows(const ShipModel& model, int object, int face) {
    GeometryRows rows;
    if (object < 0 || object >= model.objectCount()) {
        rows.leftOut = true;
        return rows;
    }
    const PeoObject& o = model.peoObjects[size_t(object)];
    if (face < 0 || size_t(face) >= o.polygons.size()) {
        rows.leftOut = true;
        return rows;
    }
    const PeoPolygon& polygon = o.polygons[size_t(face)];
    const int32_t corners[] = {polygon.v0, polygon.v1, polygon.v2};
    for (int k = 0; k < 3; ++k) {
        const int32_t v = corners[k];
        if (v < 0 || size_t(v) >= o.vertices.size()) {
            rows.leftOut = true;
            continue;
        }
        const PeoVertex& vertex = o.vertices[size_t(v)];
        rows.corners.push_back(
            {intText(k), floatText(vertex.x), floatText(vertex.y), floatText(vertex.z), intText(vertex.normal)});
        const int64_t n = int64_t(vertex.normal) - o.nFaceNormals;
        if (n < 0 || size_t(n) >= o.vertexNormals.size()) {
            rows.leftOut = true;
            continue;
        }
        const PeoNormal& normal = o.vertexNormals[size_t(n)];
        rows.normals.push_back({intText(n), floatText(normal.x), floatText(normal.y), floatText(normal.z)});
    }
    return rows;
}

}  // namespace tarv
