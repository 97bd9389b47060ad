#pragma once
// The in-memory ship model: the records of one loaded .peo and the model's globals.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/Geometry.h"

namespace tarv {

// Red, green and blue from 0 to 255, and a fourth float that is always 0.
struct RgbColour {
    float red = 0, green = 0, blue = 0, unused = 0;
    friend bool operator==(const RgbColour&, const RgbColour&) = default;
};

// Four colour bytes: red, green, blue and a fourth byte (0 once loaded).
using ColourBytes = std::array<uint8_t, 4>;

struct PeoPolygon {
    int32_t v0 = 0, v1 = 0, v2 = 0;
    int32_t material = 0;
    int32_t faceNormal = 0;
    int16_t flags = 0;
    int16_t reserved = 0;
    float s0 = 0, t0 = 0, s1 = 0, t1 = 0, s2 = 0, t2 = 0;
    int16_t mark = 0;
    friend bool operator==(const PeoPolygon&, const PeoPolygon&) = default;
};

// The flag of a polygon whose texture coordinates the games take as they stand.
inline constexpr int16_t kPolygonFixedFlag = 0x1000;
// The reserved word of a polygon built with no file entry behind it: the bytes 0xAB 0xAB, as the games' own
// tools write them. Without the fixed flag, a first byte of 0 or 1 makes the games shift the polygon's
// texture coordinates by fix-up data taken from these bytes.
inline constexpr int16_t kNewPolygonReserved = int16_t(0xABAB);

// A polygon built with no file entry behind it (the sample ship, new triangles): the corners and the
// material given, no flags, and the reserved bytes 0xAB 0xAB. Polygons read from a file, and copies of
// them, keep the reserved word as read instead.
inline PeoPolygon newPolygon(int32_t v0, int32_t v1, int32_t v2, int32_t material) {
    PeoPolygon polygon;
    polygon.v0 = v0;
    polygon.v1 = v1;
    polygon.v2 = v2;
    polygon.material = material;
    polygon.reserved = kNewPolygonReserved;
    return polygon;
}

struct PeoVertex {
    float x = 0, y = 0, z = 0;
    int32_t normal = 0;
    int16_t mark = 0;
    friend bool operator==(const PeoVertex&, const PeoVertex&) = default;
};

struct PeoNormal {
    float x = 0, y = 0, z = 0;
    friend bool operator==(const PeoNormal&, const PeoNormal&) = default;
};

inline const char* const kDeletedObjectName = "**DELETED**";

struct PeoObject {
    std::vector<PeoPolygon> polygons;
    Matrix4 matrix;
    std::vector<PeoVertex> vertices;
    std::vector<PeoNormal> fileFaceNormals;
    std::vector<PeoNormal> vertexNormals;
    std::vector<PeoNormal> faceNormals;
    std::vector<PeoVertex> workVertices;
    std::vector<PeoPolygon> workPolygons;
    std::string name;
    int32_t motherOffset = 0;
    int32_t mother = 0;
    int32_t daughterOffset = 0;
    int32_t daughter = 0;
    int32_t sisterOffset = 0;
    int32_t sister = 0;
    int32_t flags = 0;
    int32_t nFaceNormals = 0;
    int32_t nVertNormals = 0;
    int32_t nPolygons = 0;
    int32_t nVertices = 0;
    float maxX = 0, maxY = 0, maxZ = 0;
    float minX = 0, minY = 0, minZ = 0;
    float sizeX = 0, sizeY = 0, sizeZ = 0;
    int16_t madObjectIndex = -1;
    int16_t sharedWith = -1;
    int32_t vertexListOffset = 0;
    int32_t normalListOffset = 0;
    int32_t cVertexNormalsOffset = 0;
    int32_t polygonListOffset = 0;

    bool isDeleted() const { return name == kDeletedObjectName; }
};

struct PeoMaterial {
    ColourBytes ambient{};
    ColourBytes diffuse{};
    ColourBytes specular{};
    int16_t texture = 0;
    bool smoothing = false;
    bool flatShaded = false;
    bool twoSided = false;
    bool baseColour = false;
    bool stripeColour = false;
    bool selfIlluminated = false;
    float kAlpha = 0;
    int16_t fullAmbient = 0;
    int32_t filePosition = 0;
};

// The two texture names that mean "no texture".
inline bool isNoTextureName(const std::string& name) { return name == "RMF99ba" || name == "RMF97ba"; }

struct PeoTexture {
    std::string name;
    bool loaded = false;
};

constexpr int32_t kPeoVersionHomeworld = 0x402;
constexpr int32_t kPeoVersionCataclysm = 0x500;

// One loaded model. objectCount and materialCount are the sizes of their lists.
struct ShipModel {
    std::vector<PeoObject> peoObjects;
    std::vector<PeoMaterial> materials;
    std::vector<PeoTexture> textures;
    int16_t publicMaterialCount = 0;
    int16_t localMaterialCount = 0;
    int32_t peoVersion = 0;
    double modelExtent = 1.0;
    bool modelLoaded = false;
    // What the reader found damaged and read past (empty for a sound file): the file on disk holds more
    // than the model, so the model is not written back over it silently.
    std::string readDamage;

    int objectCount() const { return int(peoObjects.size()); }
    int materialCount() const { return int(materials.size()); }
};

}  // namespace tarv
