// Bytes as a small model (up to 64 vertices and 128 polygons per object, four materials, coordinates from a
// small set so that ties, cell borders and tolerance edges are common), a command and its Yes/No answers.
// The command runs with the production and the literal kernels on two copies; any difference aborts.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <limits>
#include <string>

#include "FuzzSupport.h"
#include "editor/context/EditingContext.h"
#include "meshtools/MeshTools.h"
#include "meshtools/literal/LiteralKernels.h"
#include "objects/ObjectLinks.h"

namespace {

using namespace tarv;

class Bytes {
public:
    Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t next() { return at_ < size_ ? data_[at_++] : 0; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

float coordinate(uint8_t b) {
    static const float values[16] = {0.0f,  0.25f, -0.25f, 0.2f,    std::nextafter(0.2f, 1.0f),
                                     1.0f,  -1.0f, 0.1f,   -0.1f,   1000.0f,
                                     1000.2f, -0.0f, std::numeric_limits<float>::quiet_NaN(),
                                     std::numeric_limits<float>::infinity(), 0.5f, 0.3f};
    return values[b % 16] + float(b / 16 % 4);
}

class Recording : public DecliningPrompts {
public:
    void messageBox(const std::string& text, const std::string& caption, PromptIcon icon) override {
        log += "message|" + caption + "|" + std::to_string(int(icon)) + "|" + text + "\n";
    }
    bool yesNo(const std::string& text, const std::string& caption, PromptIcon icon) override {
        log += "yesNo|" + caption + "|" + std::to_string(int(icon)) + "|" + text + "\n";
        if (answers.empty()) return false;
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }
    std::deque<bool> answers;
    std::string log;
};

std::string bits(float v) {
    uint32_t u = 0;
    std::memcpy(&u, &v, sizeof u);
    return std::to_string(u);
}

std::string describe(const EditingContext& ctx) {
    std::string out;
    for (const PeoObject& o : ctx.model.peoObjects) {
        out += o.name + " " + std::to_string(o.sharedWith) + " " + std::to_string(o.nVertices) + " " +
               std::to_string(o.nPolygons) + "\n";
        for (const PeoVertex& v : o.vertices) out += bits(v.x) + " " + bits(v.y) + " " + bits(v.z) + " " + std::to_string(v.normal) + "\n";
        for (const PeoPolygon& p : o.polygons)
            out += std::to_string(p.v0) + " " + std::to_string(p.v1) + " " + std::to_string(p.v2) + " " +
                   std::to_string(p.material) + " " + std::to_string(p.reserved) + " " + std::to_string(p.mark) + " " +
                   std::to_string(p.flags) + "\n";
    }
    for (const PeoMaterial& m : ctx.model.materials)
        out += std::to_string(m.texture) + std::to_string(m.twoSided) + std::to_string(m.smoothing) + "\n";
    const KeyedTree& tree = ctx.shell.treeHeirachy;
    for (int i = 1; i <= tree.count(); ++i) out += tree.nodeAt(i).key + tree.nodeAt(i).text + "\n";
    return out;
}

void build(EditingContext& ctx, Recording& prompts, const uint8_t* data, size_t size) {
    Bytes b(data, size);
    ctx.userDataFolder = fuzz::scratchFolder();
    ctx.prefs.logLevel = 0;
    ctx.services.prompts = &prompts;
    ctx.version.appTitle = "TARV";
    for (int m = 0; m < 4; ++m) {
        PeoMaterial material;
        material.texture = int16_t(m);
        material.twoSided = b.next() % 3 == 0;
        ctx.model.materials.push_back(material);
        ctx.model.textures.push_back(PeoTexture{"t" + std::to_string(m), false});
    }
    const int objects = 1 + b.next() % 3;
    for (int i = 0; i < objects; ++i) {
        PeoObject o;
        o.name = "o" + std::to_string(i % 2);  // two objects of one name
        o.matrix = Matrix4::identity();
        const int vertices = b.next() % 65;
        for (int v = 0; v < vertices; ++v) {
            const uint8_t kind = b.next();
            if (v > 0 && kind % 5 == 0) {
                o.vertices.push_back(o.vertices[size_t(kind / 5) % o.vertices.size()]);
                continue;
            }
            o.vertices.push_back(PeoVertex{coordinate(b.next()), coordinate(b.next()), coordinate(b.next()), v, 0});
        }
        const int polygons = vertices ? b.next() % 129 : 0;
        for (int p = 0; p < polygons; ++p) {
            PeoPolygon polygon;
            polygon.v0 = b.next() % vertices;
            polygon.v1 = b.next() % vertices;
            polygon.v2 = b.next() % vertices;
            polygon.material = b.next() % 4;
            polygon.faceNormal = p;
            o.polygons.push_back(polygon);
        }
        o.nVertices = int32_t(o.vertices.size());
        o.nPolygons = int32_t(o.polygons.size());
        o.maxX = coordinate(b.next()) + 3;
        o.maxY = coordinate(b.next()) + 2;
        if (i == 2 && b.next() % 2) o.sharedWith = 1;
        if (i == 2)
            ctx.shell.treeHeirachy.addChild(objectKey(1), objectKey(i), o.name);
        else
            ctx.shell.treeHeirachy.addTopLevel(objectKey(i), o.name);
        ctx.model.peoObjects.push_back(std::move(o));
    }
    for (int i = 0; i < 8; ++i) prompts.answers.push_back(b.next() % 2);
}

void run(EditingContext& ctx, uint8_t command, uint8_t option, const MeshKernels& k) {
    const LodSymmetry symmetry{bool(option & 1), bool(option & 2), bool(option & 4)};
    switch (command % 5) {
        case 0: checkDupes_Click(ctx, k); break;
        case 1: remDupes_Click(ctx, k); break;
        case 2: CreateLOD_Click(ctx, 1 + (option >> 3) % 20, symmetry, k); break;
        case 3: cmdFixMesh_Click(ctx, k); break;
        default: cmdWaterProof_Click(ctx, k); break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    EditingContext fast, literal;
    Recording fastPrompts, literalPrompts;
    build(fast, fastPrompts, data + 2, size - 2);
    build(literal, literalPrompts, data + 2, size - 2);
    run(fast, data[0], data[1], fastMeshKernels());
    run(literal, data[0], data[1], literalMeshKernels());
    if (describe(fast) != describe(literal) || fastPrompts.log != literalPrompts.log) std::abort();
    return 0;
}
