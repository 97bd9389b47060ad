#include "SampleShip.h"

#include <array>
#include <bit>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <utility>

#include "model/state/ShipModel.h"

namespace tarv::samples {

namespace {

using Bytes = std::vector<unsigned char>;

// A little-endian writer of its own.
struct Out {
    Bytes b;
    void u8(unsigned v) { b.push_back(static_cast<unsigned char>(v)); }
    void i16(int v) {
        u8(unsigned(v) & 0xFF);
        u8((unsigned(v) >> 8) & 0xFF);
    }
    void i32(int32_t v) {
        uint32_t u = static_cast<uint32_t>(v);
        for (int k = 0; k < 4; ++k) u8((u >> (8 * k)) & 0xFF);
    }
    void f32(float v) { i32(static_cast<int32_t>(std::bit_cast<uint32_t>(v))); }
    void text(const std::string& s) {
        for (char c : s) u8(static_cast<unsigned char>(c));
    }
    void fill(size_t n, unsigned v) {
        for (size_t i = 0; i < n; ++i) u8(v);
    }
    // Characters, one zero byte, then filler up to width.
    void field(const std::string& s, size_t width, unsigned filler) {
        text(s);
        u8(0);
        fill(width - s.size() - 1, filler);
    }
    size_t size() const { return b.size(); }
};

struct V3 {
    float x, y, z;
};

// ---------------------------------------------------------------- .peo

// One object: a box from min to max, or (sides above 0) a prism of that many sides around an axis.
struct Box {
    std::string name;
    V3 min, max;
    V3 translation;  // relative to the parent
    int parent;      // -1 none
    int material;
    int sides = 0;     // prism: number of sides
    char axis = 'x';   // prism: 'x' or 'z'
    float radius = 0;  // prism: distance of the corners from the axis
};

struct Tri {
    int v0, v1, v2;
    float st[6];
    int normal;
};

struct Mesh {
    std::vector<V3> vertices;
    std::vector<Tri> tris;
    std::vector<V3> faceNormals;
    std::vector<V3> vertexNormals;
};

double round6(double value) {
    // Half to even at six decimals, the rounding the editor's normals use.
    std::fesetround(FE_TONEAREST);
    return std::nearbyint(value * 1e6) / 1e6;
}

V3 faceNormal(const V3& a, const V3& b, const V3& c) {
    const V3 u{a.x - b.x, a.y - b.y, a.z - b.z};
    const V3 w{b.x - c.x, b.y - c.y, b.z - c.z};
    const V3 n{u.y * w.z - u.z * w.y, u.z * w.x - u.x * w.z, u.x * w.y - u.y * w.x};
    const double length = std::sqrt(double(n.x) * n.x + double(n.y) * n.y + double(n.z) * n.z);
    if (length == 0) return {0, 0, 0};
    return {float(round6(n.x / length)), float(round6(n.y / length)), float(round6(n.z / length))};
}

void finishNormals(Mesh& m);

// A prism: one quad per side and a fan on each end, every face with its own corners, counter-clockwise
// seen from outside. The axis runs from min to max of the box's axis coordinate.
Mesh prismMesh(const Box& box) {
    const double kPi = 3.14159265358979323846;
    const int n = box.sides;
    const bool alongX = box.axis == 'x';
    const float a0 = alongX ? box.min.x : box.min.z, a1 = alongX ? box.max.x : box.max.z;
    auto point = [&](float a, int k) {
        const double angle = 2 * kPi * (k % n) / n;
        const float u = float(box.radius * std::cos(angle)), v = float(box.radius * std::sin(angle));
        return alongX ? V3{a, u, v} : V3{u, v, a};
    };
    auto st = [&](int k) {
        const double angle = 2 * kPi * (k % n) / n;
        return std::pair<float, float>{float(0.5 + 0.5 * std::cos(angle)), float(0.5 + 0.5 * std::sin(angle))};
    };
    Mesh m;
    for (int k = 0; k < n; ++k) {
        const int base = int(m.vertices.size());
        for (const V3& v : {point(a0, k), point(a0, k + 1), point(a1, k + 1), point(a1, k)}) m.vertices.push_back(v);
        m.tris.push_back({base, base + 1, base + 2, {0, 0, 1, 0, 1, 1}, 0});
        m.tris.push_back({base, base + 2, base + 3, {0, 0, 1, 1, 0, 1}, 0});
    }
    for (int end = 0; end < 2; ++end) {
        const int base = int(m.vertices.size());
        std::vector<std::pair<float, float>> coords;
        for (int i = 0; i < n; ++i) {
            const int k = end == 1 ? i : n - i;  // the far end counter-clockwise, the near end the other way
            m.vertices.push_back(point(end == 1 ? a1 : a0, k));
            coords.push_back(st(k));
        }
        for (int i = 1; i + 1 < n; ++i)
            m.tris.push_back({base,
                              base + i,
                              base + i + 1,
                              {coords[0].first, coords[0].second, coords[size_t(i)].first, coords[size_t(i)].second,
                               coords[size_t(i) + 1].first, coords[size_t(i) + 1].second},
                              0});
    }
    finishNormals(m);
    return m;
}

// Six quads of four corners each, counter-clockwise seen from outside, two triangles per quad.
Mesh boxMesh(const Box& box) {
    if (box.sides > 0) return prismMesh(box);
    const V3 lo = box.min, hi = box.max;
    const std::array<std::array<V3, 4>, 6> quads = {{
        {{{hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z}, {hi.x, hi.y, hi.z}, {hi.x, lo.y, hi.z}}},  // +x
        {{{lo.x, lo.y, lo.z}, {lo.x, lo.y, hi.z}, {lo.x, hi.y, hi.z}, {lo.x, hi.y, lo.z}}},  // -x
        {{{lo.x, hi.y, lo.z}, {lo.x, hi.y, hi.z}, {hi.x, hi.y, hi.z}, {hi.x, hi.y, lo.z}}},  // +y
        {{{lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, lo.y, hi.z}, {lo.x, lo.y, hi.z}}},  // -y
        {{{lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z}, {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}}},  // +z
        {{{lo.x, lo.y, lo.z}, {lo.x, hi.y, lo.z}, {hi.x, hi.y, lo.z}, {hi.x, lo.y, lo.z}}},  // -z
    }};
    Mesh m;
    for (const auto& q : quads) {
        const int base = int(m.vertices.size());
        for (const V3& v : q) m.vertices.push_back(v);
        m.tris.push_back({base, base + 1, base + 2, {0, 0, 1, 0, 1, 1}, 0});
        m.tris.push_back({base, base + 2, base + 3, {0, 0, 1, 1, 0, 1}, 0});
    }
    finishNormals(m);
    return m;
}

void finishNormals(Mesh& m) {
    // Face normals merged as the editor's save merges them: a normal within 0.01 of a stored one takes
    // the last such entry.
    for (Tri& t : m.tris) {
        const V3 n = faceNormal(m.vertices[size_t(t.v0)], m.vertices[size_t(t.v1)], m.vertices[size_t(t.v2)]);
        int found = -1;
        for (size_t k = 0; k < m.faceNormals.size(); ++k) {
            const V3& e = m.faceNormals[k];
            if (std::fabs(e.x - n.x) < 0.01f && std::fabs(e.y - n.y) < 0.01f && std::fabs(e.z - n.z) < 0.01f)
                found = int(k);
        }
        if (found < 0) {
            found = int(m.faceNormals.size());
            m.faceNormals.push_back(n);
        }
        t.normal = found;
    }
    // Vertex normals: the sum of the face normals at every corner that uses the vertex.
    for (size_t v = 0; v < m.vertices.size(); ++v) {
        V3 sum{0, 0, 0};
        int count = 0;
        for (const Tri& t : m.tris)
            for (int corner : {t.v0, t.v1, t.v2})
                if (corner == int(v)) {
                    const V3& n = m.faceNormals[size_t(t.normal)];
                    sum = {sum.x + n.x, sum.y + n.y, sum.z + n.z};
                    ++count;
                }
        if (count > 1) {
            const double length = std::sqrt(double(sum.x) * sum.x + double(sum.y) * sum.y + double(sum.z) * sum.z);
            if (length != 0) sum = {float(sum.x / length), float(sum.y / length), float(sum.z / length)};
        }
        m.vertexNormals.push_back(sum);
    }
}

struct Material {
    std::array<unsigned, 4> ambient, diffuse, specular;
    float kAlpha;
    std::string texture;  // empty: none
    int flags;            // 2 smoothing, 4 flat, 8 two-sided, 16 base, 32 stripe, 64 self-illuminated
};

Bytes peoFile(const std::vector<Box>& boxes, const std::vector<Material>& materials) {
    constexpr int kHeader = 68, kRecord = 112;
    std::vector<Mesh> meshes;
    for (const Box& box : boxes) meshes.push_back(boxMesh(box));
    const int n = int(boxes.size());
    const int32_t M = kHeader + n * kRecord;
    int32_t TP = 0, TV = 0, TN = 0;
    for (const Mesh& m : meshes) {
        TP += int32_t(m.tris.size());
        TV += int32_t(m.vertices.size());
        TN += int32_t(m.faceNormals.size() + m.vertexNormals.size());
    }
    const int32_t P = M + int32_t(materials.size()) * 32;
    const int32_t V = P + TP * 40;
    const int32_t N = V + TV * 16;
    const int32_t B = N + TN * 16;
    std::string objectNames, textureNames;
    for (const Box& box : boxes) objectNames += box.name + '\0';
    for (const Material& m : materials)
        if (!m.texture.empty()) textureNames += m.texture + '\0';
    const int32_t T = B + int32_t(objectNames.size());
    auto recordOffset = [&](int index) { return index < 0 ? 0 : kHeader + index * kRecord; };

    Out o;
    o.field("RMF99ba", 8, 0);
    o.i32(0x402);
    o.i32(0);
    o.i32(T + int32_t(textureNames.size()) - kHeader);
    o.i32(0);
    o.i32(int32_t(materials.size()));  // public materials
    o.i32(0);                          // local materials
    o.i32(M);
    o.i32(M);
    o.i32(n);
    o.fill(24, 0xAB);

    int32_t polys = P, verts = V, normals = N, nameAt = B;
    for (int i = 0; i < n; ++i) {
        const Mesh& m = meshes[size_t(i)];
        const Box& box = boxes[size_t(i)];
        o.i32(nameAt);
        nameAt += int32_t(box.name.size()) + 1;
        o.i32(0);  // flags
        o.i32(int32_t(m.vertices.size()));
        o.i32(int32_t(m.faceNormals.size()));
        o.i32(int32_t(m.vertexNormals.size()));
        o.i32(int32_t(m.tris.size()));
        o.i32(verts);
        o.i32(normals);
        o.i32(polys);
        verts += int32_t(m.vertices.size()) * 16;
        normals += int32_t(m.faceNormals.size() + m.vertexNormals.size()) * 16;
        polys += int32_t(m.tris.size()) * 40;
        int daughter = -1, sister = -1;
        for (int j = 0; j < n && daughter < 0; ++j)
            if (boxes[size_t(j)].parent == i) daughter = j;
        for (int j = i + 1; j < n && sister < 0; ++j)
            if (boxes[size_t(j)].parent == box.parent) sister = j;
        o.i32(recordOffset(box.parent));
        o.i32(recordOffset(daughter));
        o.i32(recordOffset(sister));
        // The transposed matrix: rotation none, the translation in floats 12, 13 and 14.
        const float matrix[16] = {
            1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, box.translation.x, box.translation.y, box.translation.z, 1};
        for (float f : matrix) o.f32(f);
    }
    int32_t textureAt = T;
    for (const Material& m : materials) {
        o.i32(0);
        for (unsigned c : m.ambient) o.u8(c);
        for (unsigned c : m.diffuse) o.u8(c);
        for (unsigned c : m.specular) o.u8(c);
        o.f32(m.kAlpha);
        if (m.texture.empty()) {
            o.i32(0);
        } else {
            o.i32(textureAt);
            textureAt += int32_t(m.texture.size()) + 1;
        }
        o.i16(m.flags);
        o.i16(0);  // full ambient
        o.i16(0xABAB);
        o.i16(0xABAB);
    }
    for (size_t i = 0; i < meshes.size(); ++i)
        for (const Tri& t : meshes[i].tris) {
            // The editor's constructor of a new polygon gives the flags and reserved bytes.
            const PeoPolygon p = newPolygon(t.v0, t.v1, t.v2, boxes[i].material);
            o.i32(t.normal);
            o.i16(p.v0);
            o.i16(p.v1);
            o.i16(p.v2);
            o.i16(p.material);
            for (float f : t.st) o.f32(f);
            o.i16(p.flags);
            o.i16(p.reserved);
        }
    for (const Mesh& m : meshes)
        for (size_t v = 0; v < m.vertices.size(); ++v) {
            o.f32(m.vertices[v].x);
            o.f32(m.vertices[v].y);
            o.f32(m.vertices[v].z);
            o.i32(int32_t(m.faceNormals.size() + v));
        }
    for (const Mesh& m : meshes) {
        for (const auto* list : {&m.faceNormals, &m.vertexNormals})
            for (const V3& nrm : *list) {
                o.f32(nrm.x);
                o.f32(nrm.y);
                o.f32(nrm.z);
                o.fill(4, 0xAB);
            }
    }
    o.text(objectNames);
    o.text(textureNames);
    if (int32_t(o.size()) != T + int32_t(textureNames.size())) throw std::logic_error("peo layout");
    return o.b;
}

const std::vector<Material>& sampleMaterials() {
    static const std::vector<Material> materials = {
        {{60, 60, 60, 0}, {200, 200, 210, 0}, {255, 255, 255, 0}, 1.0f, "Hull", 2},
        {{50, 50, 50, 0}, {180, 180, 140, 0}, {128, 128, 128, 0}, 1.0f, "Panel", 2 | 8},
        {{40, 0, 0, 0}, {220, 40, 30, 0}, {255, 200, 200, 0}, 1.0f, "", 4},
    };
    return materials;
}

std::vector<Box> sampleBoxes() {
    return {
        {"Hull", {-20, -6, -5}, {20, 6, 5}, {0, 0, 0}, -1, 0},
        {"Turret", {0, 0, 0}, {0, 0, 3}, {6, 0, 5}, 0, 1, 6, 'z', 3.5f},
        {"Gun", {0, 0, 0}, {9, 0, 0}, {2, 0, 1.5f}, 1, 2, 3, 'x', 0.6f},
        {"EnginePod", {-8, 0, 0}, {0, 0, 0}, {-20, 0, 0}, 0, 0, 8, 'x', 3.5f},
    };
}

// ---------------------------------------------------------------- .lif

Bytes lifFile(int width, int height, int pattern) {
    const int n = width * height;
    Out o;
    o.field("Willy 7", 8, 0);
    o.i32(0x104);
    o.i32(2 | 16 | 32);  // palette, team colour 0 and 1
    o.i32(width);
    o.i32(height);
    o.i32(0);
    o.i32(0);
    o.i32(48);
    o.i32(48 + n);
    o.i32(48 + n + 1024);
    o.i32(48 + n + 1280);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            // Plates with seams; the team-colour indices 192..255 paint a stripe.
            int index = 64 + ((x / 4 + y / 4 + pattern) % 2) * 48 + (x + y) % 8;
            if (x % 8 == 0 || y % 8 == 0) index = 16 + pattern;
            if (y >= height / 2 - 1 && y <= height / 2) index = 200 + x % 8;
            o.u8(unsigned(index));
        }
    for (int i = 0; i < 256; ++i) {
        const unsigned grey = unsigned(i < 192 ? 40 + (i * 200) / 192 : 255);
        o.u8(grey);
        o.u8(grey);
        o.u8(pattern ? grey * 3 / 4 : grey);
        o.u8(255);
    }
    for (int i = 0; i < 256; ++i) o.u8(i >= 192 && i < 224 ? 255 : 0);  // team colour 0
    for (int i = 0; i < 256; ++i) o.u8(i >= 224 ? 255 : 0);             // team colour 1
    if (int(o.size()) != n + 1584) throw std::logic_error("lif layout");
    return o.b;
}

// ---------------------------------------------------------------- .mex (version 258)

void mexHeader(Out& o, const std::string& tag, const std::string& id, int32_t bodySize) {
    o.field(tag, 4, 0);
    o.field(id, 8, 0xAB);
    o.i32(bodySize);
}

void mexPointed(Out& o, const std::string& tag, const std::string& id, V3 p, V3 n, float cone, float edge) {
    mexHeader(o, tag, id, 32);
    for (float f : {p.x, p.y, p.z, n.x, n.y, n.z, cone, edge}) o.f32(f);
}

void mexNav(Out& o, const std::string& id, V3 p, unsigned r, unsigned g, unsigned b, const std::string& name) {
    mexHeader(o, "Nav", id, 36);
    for (float f : {p.x, p.y, p.z}) o.f32(f);
    o.u8(r);
    o.u8(b);
    o.u8(g);
    o.u8(0xCD);
    o.field(name, 20, 0xCD);
}

Bytes mexFile() {
    Out o;
    o.field("mannngo", 8, 0);
    o.i16(258);
    o.i16(7);
    mexHeader(o, "Col", "Col0", 20);
    o.i32(0);
    for (float f : {-2.0f, 0.0f, 0.5f, 26.0f}) o.f32(f);
    mexPointed(o, "Gun", "Gun0", {17, 0, 6.5f}, {1, 0, 0}, 30, 10);
    mexPointed(o, "Gun", "Gun1", {17, 0, 9.5f}, {1, 0, 0}, 30, 10);
    mexPointed(o, "Eng", "Eng0", {-28, 0, 0}, {-1, 0, 0}, 15, 5);
    mexNav(o, "Nav0", {0, 6, 0}, 255, 0, 0, "NavLightRed");
    mexNav(o, "Nav1", {0, -6, 0}, 0, 255, 0, "NavLightGreen");
    mexHeader(o, "Rct", "Rct0", 28);
    o.i32(0);
    for (float f : {-28.0f, -6.0f, -5.0f, 48.0f, 12.0f, 14.0f}) o.f32(f);
    return o.b;
}

// ---------------------------------------------------------------- .mad

struct Key {
    float time, t, c, b;
    V3 position, rotation;  // in memory: position x, y, z; rotation in radians
};

Bytes madFile() {
    // One animation "Sweep" of the turret, 0 to 2 seconds, looping; the track keeps its opening key at -1
    // and its closing key one second after the last real key.
    const std::string animation = "Sweep";
    const std::string object = "Turret";
    const std::vector<Key> keys = {
        {-1, 0, 0, 0, {6, 0, 5}, {0, 0, 0}}, {0, 0, 0, 0, {6, 0, 5}, {0, 0, 0}}, {1, 0, 0, 0, {6, 0, 5}, {0, 0, 0.5f}},
        {2, 0, 0, 0, {6, 0, 5}, {0, 0, 0}},  {3, 0, 0, 0, {6, 0, 5}, {0, 0, 0}},
    };
    const int32_t nKeys = int32_t(keys.size());
    const int32_t objectEntries = 40 + 16;
    const int32_t arrays = objectEntries + 48;
    const int32_t strings = arrays + 40 * nKeys;
    const std::string block = animation + '\0' + object + '\0';

    Out o;
    o.field("Mellonn", 8, 0);
    o.f32(0.91f);
    o.i32(int32_t(block.size()));
    o.i32(strings);
    o.f32(2.0f);
    o.f32(30.0f);
    o.i32(1);
    o.i32(objectEntries);
    o.i32(1);
    // Animation entry.
    o.i32(0);
    o.f32(0.0f);
    o.f32(2.0f);
    o.i32(1);
    // Object entry.
    o.i32(int32_t(animation.size()) + 1);
    o.i32(0);
    o.i32(1);  // keys in animation 0
    o.i32(nKeys);
    const int32_t time = arrays, tcb = time + 4 * nKeys, x = tcb + 12 * nKeys;
    for (int32_t at : {time, tcb, x, x + 4 * nKeys, x + 8 * nKeys, x + 12 * nKeys, x + 16 * nKeys, x + 20 * nKeys})
        o.i32(at);
    for (const Key& k : keys) o.f32(k.time);
    for (const Key& k : keys) {
        o.f32(k.t);
        o.f32(k.c);
        o.f32(k.b);
    }
    // File X, Y, Z are -position.z, position.x, position.y; H, P, B are rotation.x, -rotation.y, -rotation.z.
    for (const Key& k : keys) o.f32(-k.position.z);
    for (const Key& k : keys) o.f32(k.position.x);
    for (const Key& k : keys) o.f32(k.position.y);
    for (const Key& k : keys) o.f32(k.rotation.x);
    for (const Key& k : keys) o.f32(-k.rotation.y);
    for (const Key& k : keys) o.f32(-k.rotation.z);
    o.text(block);
    return o.b;
}

// ---------------------------------------------------------------- text files

Bytes textFile(const std::vector<std::string>& lines) {
    Bytes b;
    for (const std::string& line : lines) {
        b.insert(b.end(), line.begin(), line.end());
        b.push_back('\r');
        b.push_back('\n');
    }
    return b;
}

}  // namespace

std::map<std::string, std::vector<unsigned char>> sampleShipFiles() {
    std::map<std::string, Bytes> files;
    // The ship definition names its files in other letter cases than they have, as sets made on Windows do.
    files[kSampleShpName] = textFile({
        ";  Tarvlet: a small sample ship made for this editor",
        "",
        "LODFile\t\t\ttarvlet.lod",
        "pMexData\t\tTARVLET.MEX",
        "",
        "NUMBER_OF_GUNS\t\t2",
        "GUN\t0",
        "Type\t\t\tGUN_NewGimble",
        "BarrelLength\t\t9",
        "RecoilLength\t\t1",
        "BindGun\t\t\tTurret\tGUN0,Azimuth",
        "BindGun\t\t\tGun\tGUN0,Declination",
        "minturnangle\t\t-90",
        "maxturnangle\t\t90",
        "mindeclination\t\t-10",
        "maxdeclination\t\t60",
        "GUN\t1",
        "Type\t\t\tGUN_NewGimble",
        "BarrelLength\t\t9",
        "RecoilLength\t\t1",
        "BindGun\t\t\tTurret\tGUN1,Azimuth",
        "minturnangle\t\t-45",
        "maxturnangle\t\t45",
        "mindeclination\t\t0",
        "maxdeclination\t\t30",
        "",
        "NUMBER_OF_NAV_LIGHTS\t2",
        "NavLight\t\tNavLightRed",
        "NavLight\t\tNavLightGreen",
    });
    files["Tarvlet.lod"] = textFile({
        "; levels of detail, the most detailed first",
        "pMeshFile       tarvlet.peo",
        "pMeshFile       Tarvlet_LOD1.peo",
    });
    const std::vector<Box> boxes = sampleBoxes();
    files[kSamplePeoName] = peoFile(boxes, sampleMaterials());
    files["Tarvlet_LOD1.peo"] = peoFile({boxes[0]}, {sampleMaterials()[0]});
    files["tarvlet.mex"] = mexFile();
    files["TARVLET.MAD"] = madFile();
    files["Hull.lif"] = lifFile(32, 32, 0);
    files["panel.lif"] = lifFile(16, 16, 1);
    return files;
}

void writeSampleShip(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    for (const auto& [name, bytes] : sampleShipFiles()) {
        std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        if (!out) throw std::runtime_error("cannot write " + (folder / name).string());
    }
}

}  // namespace tarv::samples
