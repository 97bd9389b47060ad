#pragma once
// The byte layout of a .peo file, in both variants (Homeworld 0x402, Cataclysm 0x500): region sizes, field
// offsets and the plain records of each entry, with their decoding from a bounds-checked reader. Every
// reader, writer and patcher of a .peo takes its offsets from here.
//
// All numbers are little-endian; integers are signed. Regions as the games' tools lay them out: header,
// object records, material entries, polygon lists, vertex lists, (Cataclysm) the separate vertex-normal
// region, normal lists (face normals, then vertex normals, per object), and the names block. Readers follow
// the offsets only, never this order.
#include <array>
#include <cstdint>

#include "base/BinaryReader.h"
#include "model/state/ShipModel.h"

namespace tarv::peo {

inline constexpr int32_t kHeaderSize = 68;
inline constexpr int32_t kObjectRecordSizeHomeworld = 112;
inline constexpr int32_t kObjectRecordSizeCataclysm = 116;
inline constexpr int32_t kMaterialEntrySize = 32;
inline constexpr int32_t kPolygonEntrySize = 40;
inline constexpr int32_t kVertexEntrySize = 16;
inline constexpr int32_t kNormalEntrySize = 16;

// Identifiers at offset 0 (8 bytes with the zero byte): a normal file, and a file saved as SHIP-file PEO.
inline constexpr const char* kIdentifier = "RMF99ba";
inline constexpr const char* kShipFileIdentifier = "Vantu's";
inline constexpr int32_t kIdentifierSize = 8;

// PeoHeader, 68 bytes at offset 0.
namespace header {
inline constexpr int32_t identifier = 0;  // 8 characters
inline constexpr int32_t version = 8;
inline constexpr int32_t nameOffset = 12;  // 0; ignored
inline constexpr int32_t fileSize = 16;    // length of the file minus 68
inline constexpr int32_t localSize = 20;   // 0
inline constexpr int32_t publicMaterialCount = 24;
inline constexpr int32_t localMaterialCount = 28;
inline constexpr int32_t publicMaterialListOffset = 32;
inline constexpr int32_t localMaterialListOffset = 36;
inline constexpr int32_t objectCount = 40;
inline constexpr int32_t reserved = 44;  // 24 bytes of 0xAB
inline constexpr int32_t reservedSize = 24;
}  // namespace header

struct PeoHeader {
    std::array<uint8_t, 8> identifier{};
    int32_t version = 0;
    int32_t nameOffset = 0;
    int32_t fileSize = 0;
    int32_t localSize = 0;
    int32_t publicMaterialCount = 0;
    int32_t localMaterialCount = 0;
    int32_t publicMaterialListOffset = 0;
    int32_t localMaterialListOffset = 0;
    int32_t objectCount = 0;
};

// PeoObjectRecord: the Cataclysm record has the extra vertex-normal list offset at 28 and everything after
// it moves by 4 bytes.
struct ObjectRecordLayout {
    int32_t size;
    int32_t nameOffset = 0;
    int32_t flags = 4;
    int32_t nVertices = 8;
    int32_t nFaceNormals = 12;
    int32_t nVertNormals = 16;
    int32_t nPolygons = 20;
    int32_t vertexListOffset = 24;
    int32_t cVertexNormalsOffset;  // -1: not in the Homeworld record
    int32_t normalListOffset;
    int32_t polygonListOffset;
    int32_t mother;
    int32_t daughter;
    int32_t sister;
    int32_t matrix;  // 16 floats: the transpose of the object's Matrix4
};

inline constexpr ObjectRecordLayout kHomeworldRecord{.size = kObjectRecordSizeHomeworld,
                                                     .cVertexNormalsOffset = -1,
                                                     .normalListOffset = 28,
                                                     .polygonListOffset = 32,
                                                     .mother = 36,
                                                     .daughter = 40,
                                                     .sister = 44,
                                                     .matrix = 48};
inline constexpr ObjectRecordLayout kCataclysmRecord{.size = kObjectRecordSizeCataclysm,
                                                     .cVertexNormalsOffset = 28,
                                                     .normalListOffset = 32,
                                                     .polygonListOffset = 36,
                                                     .mother = 40,
                                                     .daughter = 44,
                                                     .sister = 48,
                                                     .matrix = 52};

inline constexpr const ObjectRecordLayout& recordLayout(bool cataclysm) {
    return cataclysm ? kCataclysmRecord : kHomeworldRecord;
}
// File offset of record number k (1-based).
inline constexpr int64_t recordOffset(int64_t number, bool cataclysm) {
    return kHeaderSize + (number - 1) * recordLayout(cataclysm).size;
}

struct PeoObjectRecord {
    int32_t nameOffset = 0;
    int32_t flags = 0;
    int32_t nVertices = 0;
    int32_t nFaceNormals = 0;
    int32_t nVertNormals = 0;
    int32_t nPolygons = 0;
    int32_t vertexListOffset = 0;
    int32_t cVertexNormalsOffset = 0;  // 0 in a Homeworld file
    int32_t normalListOffset = 0;
    int32_t polygonListOffset = 0;
    int32_t mother = 0;
    int32_t daughter = 0;
    int32_t sister = 0;
    Matrix4 fileMatrix;  // as stored: the transpose of the object's matrix
};

// PeoMaterialEntry, 32 bytes.
namespace material {
inline constexpr int32_t nameOffset = 0;  // 0; ignored
inline constexpr int32_t ambient = 4;
inline constexpr int32_t diffuse = 8;
inline constexpr int32_t specular = 12;
inline constexpr int32_t kAlpha = 16;
inline constexpr int32_t textureNameOffset = 20;
inline constexpr int32_t flags = 24;        // 16-bit: 2, 4, 8, 16, 32, 64
inline constexpr int32_t fullAmbient = 26;  // 16-bit
inline constexpr int32_t filler = 28;       // two 16-bit words of 0xABAB
}  // namespace material

struct PeoMaterialEntry {
    int32_t nameOffset = 0;
    ColourBytes ambient{};  // as they stand in the file
    ColourBytes diffuse{};
    ColourBytes specular{};
    float kAlpha = 0;
    int32_t textureNameOffset = 0;
    int16_t flags = 0;
    int16_t fullAmbient = 0;
};

// PeoPolygonEntry, 40 bytes.
namespace polygon {
inline constexpr int32_t faceNormal = 0;  // 32-bit
inline constexpr int32_t v0 = 4;          // 16-bit each
inline constexpr int32_t v1 = 6;
inline constexpr int32_t v2 = 8;
inline constexpr int32_t material = 10;
inline constexpr int32_t s0 = 12;        // floats s0 t0 s1 t1 s2 t2
inline constexpr int32_t flags = 36;     // 16-bit
inline constexpr int32_t reserved = 38;  // 16-bit
}  // namespace polygon

struct PeoPolygonEntry {
    int32_t faceNormal = 0;
    int16_t v0 = 0, v1 = 0, v2 = 0;
    int16_t material = 0;
    float s0 = 0, t0 = 0, s1 = 0, t1 = 0, s2 = 0, t2 = 0;
    int16_t flags = 0;
    int16_t reserved = 0;
};

// PeoVertexEntry, 16 bytes: x, y, z and the index of the vertex's normal in the object's normal list.
struct PeoVertexEntry {
    float x = 0, y = 0, z = 0;
    int32_t normal = 0;
};

// PeoNormalEntry, 16 bytes: x, y, z and 4 filler bytes (0xAB each).
struct PeoNormalEntry {
    float x = 0, y = 0, z = 0;
};
inline constexpr uint8_t kFillerByte = 0xAB;

// Decoding at absolute offsets; every read is checked against the file.
inline PeoHeader readHeader(const BinaryReader& r) {
    PeoHeader h;
    auto id = r.bytes(0, kHeaderSize, "header");
    for (size_t i = 0; i < h.identifier.size(); ++i) h.identifier[i] = id[i];
    h.version = r.i32(header::version, "version");
    h.nameOffset = r.i32(header::nameOffset, "name offset");
    h.fileSize = r.i32(header::fileSize, "file size");
    h.localSize = r.i32(header::localSize, "local size");
    h.publicMaterialCount = r.i32(header::publicMaterialCount, "public material count");
    h.localMaterialCount = r.i32(header::localMaterialCount, "local material count");
    h.publicMaterialListOffset = r.i32(header::publicMaterialListOffset, "public material list offset");
    h.localMaterialListOffset = r.i32(header::localMaterialListOffset, "local material list offset");
    h.objectCount = r.i32(header::objectCount, "object count");
    return h;
}

inline PeoObjectRecord readObjectRecord(const BinaryReader& r, int64_t at, bool cataclysm) {
    const ObjectRecordLayout& l = recordLayout(cataclysm);
    r.bytes(at, l.size, "object record");
    PeoObjectRecord o;
    o.nameOffset = r.i32(at + l.nameOffset, "object name offset");
    o.flags = r.i32(at + l.flags, "object flags");
    o.nVertices = r.i32(at + l.nVertices, "vertex count");
    o.nFaceNormals = r.i32(at + l.nFaceNormals, "face-normal count");
    o.nVertNormals = r.i32(at + l.nVertNormals, "vertex-normal count");
    o.nPolygons = r.i32(at + l.nPolygons, "polygon count");
    o.vertexListOffset = r.i32(at + l.vertexListOffset, "vertex list offset");
    if (l.cVertexNormalsOffset >= 0)
        o.cVertexNormalsOffset = r.i32(at + l.cVertexNormalsOffset, "vertex-normal region offset");
    o.normalListOffset = r.i32(at + l.normalListOffset, "normal list offset");
    o.polygonListOffset = r.i32(at + l.polygonListOffset, "polygon list offset");
    o.mother = r.i32(at + l.mother, "mother");
    o.daughter = r.i32(at + l.daughter, "daughter");
    o.sister = r.i32(at + l.sister, "sister");
    for (int i = 0; i < 16; ++i) o.fileMatrix[i] = r.f32(at + l.matrix + 4 * i, "matrix");
    return o;
}

inline ColourBytes readColour(const BinaryReader& r, int64_t at, const char* field) {
    auto b = r.bytes(at, 4, field);
    return {b[0], b[1], b[2], b[3]};
}

inline PeoMaterialEntry readMaterialEntry(const BinaryReader& r, int64_t at) {
    r.bytes(at, kMaterialEntrySize, "material entry");
    PeoMaterialEntry m;
    m.nameOffset = r.i32(at + material::nameOffset, "material name offset");
    m.ambient = readColour(r, at + material::ambient, "ambient colour");
    m.diffuse = readColour(r, at + material::diffuse, "diffuse colour");
    m.specular = readColour(r, at + material::specular, "specular colour");
    m.kAlpha = r.f32(at + material::kAlpha, "kAlpha");
    m.textureNameOffset = r.i32(at + material::textureNameOffset, "texture name offset");
    m.flags = r.i16(at + material::flags, "material flags");
    m.fullAmbient = r.i16(at + material::fullAmbient, "full-ambient word");
    return m;
}

inline PeoPolygonEntry readPolygonEntry(const BinaryReader& r, int64_t at) {
    r.bytes(at, kPolygonEntrySize, "polygon entry");
    PeoPolygonEntry p;
    p.faceNormal = r.i32(at + polygon::faceNormal, "face-normal index");
    p.v0 = r.i16(at + polygon::v0, "corner 0");
    p.v1 = r.i16(at + polygon::v1, "corner 1");
    p.v2 = r.i16(at + polygon::v2, "corner 2");
    p.material = r.i16(at + polygon::material, "polygon material");
    float* st[6] = {&p.s0, &p.t0, &p.s1, &p.t1, &p.s2, &p.t2};
    for (int i = 0; i < 6; ++i) *st[i] = r.f32(at + polygon::s0 + 4 * i, "texture coordinate");
    p.flags = r.i16(at + polygon::flags, "polygon flags");
    p.reserved = r.i16(at + polygon::reserved, "polygon second word");
    return p;
}

inline PeoVertexEntry readVertexEntry(const BinaryReader& r, int64_t at) {
    r.bytes(at, kVertexEntrySize, "vertex entry");
    return {r.f32(at, "vertex x"), r.f32(at + 4, "vertex y"), r.f32(at + 8, "vertex z"),
            r.i32(at + 12, "vertex normal index")};
}

inline PeoNormalEntry readNormalEntry(const BinaryReader& r, int64_t at) {
    r.bytes(at, kNormalEntrySize, "normal entry");
    return {r.f32(at, "normal x"), r.f32(at + 4, "normal y"), r.f32(at + 8, "normal z")};
}

}  // namespace tarv::peo
