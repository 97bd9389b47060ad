#pragma once
// .peo files for tests, laid out byte by byte from a small description. The offsets here are written out
// on purpose (not taken from the editor's layout header), so the tests pin the format on their own.
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "ByteBuilder.h"

namespace tarv::test {

struct FxVertex {
    float x = 0, y = 0, z = 0;
    int32_t normal = 0;
};
struct FxNormal {
    float x = 0, y = 0, z = 0;
};
struct FxPolygon {
    int16_t v0 = 0, v1 = 1, v2 = 2, material = 0;
    int32_t faceNormal = 0;
    int16_t flags = 0, reserved = 0;
    std::array<float, 6> st{};
};
struct FxObject {
    std::string name;
    int32_t flags = 0;
    std::vector<FxVertex> vertices;
    std::vector<FxNormal> faceNormals, vertexNormals;
    std::vector<FxPolygon> polygons;
    int32_t mother = 0, daughter = 0, sister = 0;  // raw record offsets
    std::array<float, 16> fileMatrix{};            // as stored (the transpose of the object's matrix)
    int listsOf = -1;                              // >= 0: the record points at that object's lists
};
struct FxMaterial {
    std::array<uint8_t, 4> ambient{}, diffuse{}, specular{};
    float kAlpha = 1;
    std::string texture;  // empty: texture name offset 0
    int16_t flags = 0;
    int16_t fullAmbient = 0;
};
struct FxFile {
    int32_t version = 0x402;
    int recordSize = 0;  // 0: 116 for 0x500, else 112
    std::string identifier = "RMF99ba";
    std::vector<FxMaterial> publicMaterials;
    std::vector<FxMaterial> localMaterials;
    std::vector<FxObject> objects;
    bool scrambled = false;  // regions in an order unlike the one the games' tools write
};

struct FxBuilt {
    ByteBuilder bytes;
    int32_t publicOffset = 0, localOffset = 0, namesOffset = 0;
    std::vector<int32_t> recordOffset, polygonOffset, vertexOffset, normalOffset, cRegionOffset, nameOffset;
    std::vector<uint8_t> data() const { return bytes.data(); }
};

// A simple object: a square of two triangles (corners 0 1 2 and 0 2 3) at the given height.
inline FxObject squareObject(const std::string& name, float z = 0, float size = 1) {
    FxObject o;
    o.name = name;
    o.vertices = {{0, 0, z, 2}, {size, 0, z, 3}, {size, size, z + 1, 4}, {0, size, z + 1, 5}};
    o.faceNormals = {{0, 0, 1}, {0, 0, -1}};
    o.vertexNormals = {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}};
    FxPolygon a{0, 1, 2, 0, 0}, b{0, 2, 3, 0, 1};
    o.polygons = {a, b};
    for (int i = 0; i < 16; i += 5) o.fileMatrix[size_t(i)] = 1;
    return o;
}

inline FxBuilt buildPeo(const FxFile& f) {
    FxBuilt out;
    const bool cataclysm = f.version == 0x500;
    const int R = f.recordSize ? f.recordSize : (cataclysm ? 116 : 112);
    const int n = int(f.objects.size());
    auto listsOwner = [&](int k) { return f.objects[size_t(k)].listsOf >= 0 ? f.objects[size_t(k)].listsOf : k; };

    // Names block: object names, then the distinct texture names.
    std::string names;
    out.nameOffset.resize(size_t(n));
    std::vector<int> objectNameAt(static_cast<size_t>(n), 0);
    for (int k = 0; k < n; ++k) {
        objectNameAt[size_t(k)] = int(names.size());
        names += f.objects[size_t(k)].name;
        names += '\0';
    }
    std::map<std::string, int> textureNameAt;
    for (const auto* list : {&f.publicMaterials, &f.localMaterials}) {
        for (const FxMaterial& m : *list) {
            if (m.texture.empty() || textureNameAt.count(m.texture)) continue;
            textureNameAt[m.texture] = int(names.size());
            names += m.texture;
            names += '\0';
        }
    }

    // Region sizes and their order.
    struct Chunk {
        std::string kind;
        int index;
        int size;
    };
    std::vector<Chunk> materials{{"public", 0, 32 * int(f.publicMaterials.size())},
                                 {"local", 0, 32 * int(f.localMaterials.size())}};
    std::vector<Chunk> polys, verts, cregs, norms;
    for (int k = 0; k < n; ++k) {
        if (f.objects[size_t(k)].listsOf >= 0) continue;
        const FxObject& o = f.objects[size_t(k)];
        polys.push_back({"poly", k, 40 * int(o.polygons.size())});
        verts.push_back({"vert", k, 16 * int(o.vertices.size())});
        if (cataclysm) cregs.push_back({"creg", k, 16 * int(o.vertexNormals.size())});
        norms.push_back({"norm", k, 16 * int(o.faceNormals.size() + o.vertexNormals.size())});
    }
    std::vector<Chunk> order;
    auto append = [&](const std::vector<Chunk>& c, bool reversed) {
        if (reversed)
            order.insert(order.end(), c.rbegin(), c.rend());
        else
            order.insert(order.end(), c.begin(), c.end());
    };
    const Chunk namesChunk{"names", 0, int(names.size())};
    if (!f.scrambled) {
        append(materials, false);
        append(polys, false);
        append(verts, false);
        append(cregs, false);
        append(norms, false);
        order.push_back(namesChunk);
    } else {
        order.push_back(namesChunk);
        append(norms, true);
        append(verts, false);
        append(materials, true);
        append(cregs, false);
        append(polys, true);
    }
    out.polygonOffset.assign(size_t(n), 0);
    out.vertexOffset.assign(size_t(n), 0);
    out.normalOffset.assign(size_t(n), 0);
    out.cRegionOffset.assign(size_t(n), 0);
    int at = 68 + n * R;
    for (const Chunk& c : order) {
        if (c.kind == "public") out.publicOffset = at;
        if (c.kind == "local") out.localOffset = at;
        if (c.kind == "names") out.namesOffset = at;
        if (c.kind == "poly") out.polygonOffset[size_t(c.index)] = at;
        if (c.kind == "vert") out.vertexOffset[size_t(c.index)] = at;
        if (c.kind == "creg") out.cRegionOffset[size_t(c.index)] = at;
        if (c.kind == "norm") out.normalOffset[size_t(c.index)] = at;
        at += c.size;
    }
    if (f.localMaterials.empty()) out.localOffset = out.publicOffset;
    for (int k = 0; k < n; ++k) out.nameOffset[size_t(k)] = out.namesOffset + objectNameAt[size_t(k)];
    const int total = at;

    ByteBuilder& b = out.bytes;
    std::string id = f.identifier;
    id.resize(8, '\0');
    b.str(id).i32(f.version).i32(0).i32(total - 68).i32(0);
    b.i32(int32_t(f.publicMaterials.size())).i32(int32_t(f.localMaterials.size()));
    b.i32(out.publicOffset).i32(out.localOffset).i32(n).fill(24, 0xAB);
    for (int k = 0; k < n; ++k) {
        out.recordOffset.push_back(int32_t(b.size()));
        const FxObject& o = f.objects[size_t(k)];
        const int owner = listsOwner(k);
        const FxObject& lists = f.objects[size_t(owner)];
        b.i32(out.nameOffset[size_t(k)]).i32(o.flags);
        b.i32(int32_t(lists.vertices.size())).i32(int32_t(lists.faceNormals.size()));
        b.i32(int32_t(lists.vertexNormals.size())).i32(int32_t(lists.polygons.size()));
        b.i32(out.vertexOffset[size_t(owner)]);
        if (R == 116) b.i32(out.cRegionOffset[size_t(owner)]);
        b.i32(out.normalOffset[size_t(owner)]).i32(out.polygonOffset[size_t(owner)]);
        b.i32(o.mother).i32(o.daughter).i32(o.sister);
        for (float v : o.fileMatrix) b.f32(v);
    }
    auto writeMaterials = [&](const std::vector<FxMaterial>& list) {
        for (const FxMaterial& m : list) {
            b.i32(0);
            for (auto* c : {&m.ambient, &m.diffuse, &m.specular})
                for (uint8_t v : *c) b.u8(v);
            b.f32(m.kAlpha).i32(m.texture.empty() ? 0 : out.namesOffset + textureNameAt[m.texture]);
            b.i16(m.flags).i16(m.fullAmbient).u16(0xABAB).u16(0xABAB);
        }
    };
    for (const Chunk& c : order) {
        const bool perObject = c.kind == "poly" || c.kind == "vert" || c.kind == "creg" || c.kind == "norm";
        const FxObject* o = perObject ? &f.objects[size_t(c.index)] : nullptr;
        if (c.kind == "public")
            writeMaterials(f.publicMaterials);
        else if (c.kind == "local")
            writeMaterials(f.localMaterials);
        else if (c.kind == "names")
            b.str(names);
        else if (c.kind == "poly") {
            for (const FxPolygon& p : o->polygons) {
                b.i32(p.faceNormal).i16(p.v0).i16(p.v1).i16(p.v2).i16(p.material);
                for (float v : p.st) b.f32(v);
                b.i16(p.flags).i16(p.reserved);
            }
        } else if (c.kind == "vert") {
            for (const FxVertex& v : o->vertices) b.f32(v.x).f32(v.y).f32(v.z).i32(v.normal);
        } else if (c.kind == "creg") {
            // Never read: filled with values that no test expects.
            for (size_t i = 0; i < o->vertexNormals.size(); ++i) b.f32(99).f32(99).f32(99).fill(4, 0xAB);
        } else if (c.kind == "norm") {
            for (const auto* list : {&o->faceNormals, &o->vertexNormals})
                for (const FxNormal& v : *list) b.f32(v.x).f32(v.y).f32(v.z).fill(4, 0xAB);
        }
    }
    return out;
}

}  // namespace tarv::test
