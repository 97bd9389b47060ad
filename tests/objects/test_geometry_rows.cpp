// The Geometry Inspector's rows: corners in order, translated normals, and indices outside their lists.
#include <gtest/gtest.h>

#include "model/state/ShipModel.h"
#include "objects/GeometryRows.h"

namespace tarv {
namespace {

using Upper = std::array<std::string, 5>;
using Lower = std::array<std::string, 4>;

// One object with four vertices (normal numbers 2, 3, 2, 0), two face normals and two vertex normals.
ShipModel inspectedModel() {
    ShipModel model;
    PeoObject o;
    o.vertices = {{1.5f, 2, 3, 2}, {4, 5, 6, 3}, {-0.25f, 0, 1e-5f, 2}, {7, 8, 9, 0}};
    o.nFaceNormals = 2;
    o.vertexNormals = {{0, 0, 1}, {0.5f, -1, 0}};
    o.polygons = {newPolygon(2, 0, 1, 0), newPolygon(1, 1, 0, 0), newPolygon(3, 0, 1, 0), newPolygon(0, 9, -1, 0)};
    model.peoObjects.push_back(o);
    return model;
}

TEST(GeometryRows, CornersAreNumberedInOrderWithTheirTranslatedNormals) {
    const GeometryRows rows = geometryRows(inspectedModel(), 0, 0);
    EXPECT_EQ(rows.corners,
              (std::vector<Upper>{
                  {"0", "-0.25", "0", "1E-05", "2"}, {"1", "1.5", "2", "3", "2"}, {"2", "4", "5", "6", "3"}}));
    EXPECT_EQ(rows.normals, (std::vector<Lower>{{"0", "0", "0", "1"}, {"0", "0", "0", "1"}, {"1", "0.5", "-1", "0"}}));
    EXPECT_FALSE(rows.leftOut);
}

TEST(GeometryRows, TwoCornersOnOneVertexShowItTwice) {
    const GeometryRows rows = geometryRows(inspectedModel(), 0, 1);
    ASSERT_EQ(rows.corners.size(), 3u);
    EXPECT_EQ(rows.corners[0][1], rows.corners[1][1]);
    EXPECT_EQ(rows.normals[0], rows.normals[1]);
}

TEST(GeometryRows, OnlyValidRowsAreShown) {
    // A clone's corner (normal number 0) has a negative translated normal: its upper row only.
    GeometryRows clone = geometryRows(inspectedModel(), 0, 2);
    EXPECT_EQ(clone.corners.size(), 3u);
    EXPECT_EQ(clone.normals.size(), 2u);
    EXPECT_TRUE(clone.leftOut);
    // Vertex indices 9 and -1 lie outside the list: only the first corner has rows.
    GeometryRows corrupt = geometryRows(inspectedModel(), 0, 3);
    EXPECT_EQ(corrupt.corners, (std::vector<Upper>{{"0", "1.5", "2", "3", "2"}}));
    EXPECT_EQ(corrupt.normals.size(), 1u);
    EXPECT_TRUE(corrupt.leftOut);
    // A face or object outside its list: no rows.
    for (auto [object, face] : {std::pair{0, 4}, std::pair{0, -1}, std::pair{1, 0}, std::pair{-1, 0}}) {
        const GeometryRows none = geometryRows(inspectedModel(), object, face);
        EXPECT_TRUE(none.corners.empty() && none.normals.empty() && none.leftOut) << object << " " << face;
    }
}

}  // namespace
}  // namespace tarv
