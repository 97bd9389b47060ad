// Every mesh tools command run with the production and the literal kernels on copies of one model, with the
// same answers: the models, the tree, the boxes and the status texts must come out the same.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

#include "MeshGenerators.h"
#include "MeshToolsFixture.h"
#include "meshtools/MeshTools.h"
#include "meshtools/literal/LiteralKernels.h"

using namespace tarv;
using namespace tarv::test;

namespace {

struct Side {
    TempDir dir;
    TestContext t{dir.path()};
    AnsweringPrompts prompts;
    Side() {
        t.ctx.services.prompts = &prompts;
        t.ctx.version.appTitle = "TARV";
        t.ctx.prefs.logLevel = 0;
    }
};

// Floats by their bits, so NaN equals NaN and -0 differs from 0.
std::string bits(float v) {
    uint32_t u = 0;
    std::memcpy(&u, &v, sizeof u);
    char text[12];
    std::snprintf(text, sizeof text, "%08x", u);
    return text;
}

// Every field of every vertex, marks included.
std::string listed(const std::vector<PeoVertex>& vertices) {
    std::string out;
    for (const PeoVertex& v : vertices)
        out += bits(v.x) + " " + bits(v.y) + " " + bits(v.z) + " " + std::to_string(v.normal) + " " +
               std::to_string(v.mark) + "\n";
    return out;
}

enum class Kind { Dense, Tricky, Duplicates, Holes };

// Three objects (the third a child of the second), four materials (material 2 two-sided), textures for all.
void build(EditingContext& ctx, uint32_t seed, Kind kind) {
    std::mt19937 rng(seed);
    ShipModel& model = ctx.model;
    model = ShipModel{};
    ctx.shell.treeHeirachy.clear();
    for (int m = 0; m < 4; ++m) {
        PeoMaterial material;
        material.texture = int16_t(m);
        material.twoSided = m == 2;
        material.smoothing = m == 1;
        model.materials.push_back(material);
        model.textures.push_back(PeoTexture{"t" + std::to_string(m), false});
    }
    for (int i = 0; i < 3; ++i) {
        const std::string name = "obj" + std::to_string(i);
        PeoObject o;
        switch (kind) {
            case Kind::Dense: o = randomObject(rng, name, 40 + int(rng() % 40), 60, 4, false); break;
            case Kind::Tricky: o = randomObject(rng, name, 30 + int(rng() % 30), 50, 4, true); break;
            case Kind::Duplicates: {
                o = randomObject(rng, name, 12, 40, 4, false);
                const size_t base = o.vertices.size();
                for (size_t k = 0; k < base * 3; ++k) o.vertices.push_back(o.vertices[rng() % base]);
                for (PeoPolygon& p : o.polygons)
                    if (rng() % 2) p.v1 = int32_t(base + rng() % (base * 3));
                finishObject(o);
                break;
            }
            case Kind::Holes: {
                o = holeyObject(30 + int(rng() % 30), int(rng() % 4) == 2 ? 2 : 0);
                o.name = name;
                for (PeoPolygon& p : o.polygons)
                    if (rng() % 7 == 0) std::swap(p.v0, p.v1);
                break;
            }
        }
        if (i == 0) {
            o.minX = 0, o.maxX = 32.2036f + float(rng() % 3);
            o.minY = -1, o.maxY = 15 + float(rng() % 3);
        }
        if (i == 2 && rng() % 2) o.sharedWith = 1;
        const std::string key = "o" + std::to_string(i);
        if (i == 2)
            ctx.shell.treeHeirachy.addChild("o1", key, name);
        else
            ctx.shell.treeHeirachy.addTopLevel(key, name);
        model.peoObjects.push_back(std::move(o));
    }
}

std::string describe(const ShipModel& m, const KeyedTree& tree) {
    std::string out;
    auto f = [](float v) { return bits(v); };
    for (const PeoObject& o : m.peoObjects) {
        out += o.name + " shared " + std::to_string(o.sharedWith) + " nV " + std::to_string(o.nVertices) + " nP " +
               std::to_string(o.nPolygons) + "\n";
        for (const PeoVertex& v : o.vertices) out += " v " + f(v.x) + " " + f(v.y) + " " + f(v.z) + " " + std::to_string(v.normal) + "\n";
        for (const PeoPolygon& p : o.polygons)
            out += " p " + std::to_string(p.v0) + " " + std::to_string(p.v1) + " " + std::to_string(p.v2) + " m" +
                   std::to_string(p.material) + " n" + std::to_string(p.faceNormal) + " f" + std::to_string(p.flags) +
                   " r" + std::to_string(p.reserved) + " k" + std::to_string(p.mark) + " " + f(p.s0) + f(p.t1) + "\n";
    }
    for (const PeoMaterial& mat : m.materials)
        out += "mat " + std::to_string(mat.texture) + std::to_string(mat.smoothing) + std::to_string(mat.flatShaded) +
               std::to_string(mat.twoSided) + std::to_string(mat.baseColour) + std::to_string(mat.stripeColour) +
               std::to_string(mat.selfIlluminated) + "\n";
    for (int i = 1; i <= tree.count(); ++i) out += "node " + tree.nodeAt(i).key + " " + tree.nodeAt(i).text + "\n";
    return out;
}

std::string boxes(const Side& s) {
    std::string out;
    for (const ShownBox& b : s.prompts.shown) out += b.kind + "|" + b.caption + "|" + std::to_string(int(b.icon)) + "|" + b.text + "\n";
    for (const std::string& text : s.t.status.statusHistory) out += "status " + text + "\n";
    out += "errors " + std::to_string(s.t.errors.reports.size());
    return out;
}

void compareBothWays(uint32_t seed, Kind kind, const std::string& what,
                     const std::function<void(EditingContext&, const MeshKernels&)>& command) {
    Side fast, literal;
    build(fast.t.ctx, seed, kind);
    build(literal.t.ctx, seed, kind);
    std::mt19937 answers(seed * 7 + 1);
    for (int i = 0; i < 8; ++i) {
        const bool yes = answers() % 2;
        fast.prompts.answers.push_back(yes);
        literal.prompts.answers.push_back(yes);
    }
    command(fast.t.ctx, fastMeshKernels());
    command(literal.t.ctx, literalMeshKernels());
    SCOPED_TRACE("seed " + std::to_string(seed) + " kind " + std::to_string(int(kind)) + " " + what);
    EXPECT_EQ(describe(fast.t.ctx.model, fast.t.ctx.shell.treeHeirachy),
              describe(literal.t.ctx.model, literal.t.ctx.shell.treeHeirachy));
    EXPECT_EQ(boxes(fast), boxes(literal));
}

const Kind kKinds[] = {Kind::Dense, Kind::Tricky, Kind::Duplicates, Kind::Holes};

TEST(MeshToolsEqual, WeldCheckAndRemove) {
    for (uint32_t seed = 1; seed <= 12; ++seed)
        for (Kind kind : kKinds) {
            compareBothWays(seed, kind, "check", [](EditingContext& c, const MeshKernels& k) { checkDupes_Click(c, k); });
            compareBothWays(seed, kind, "remove", [](EditingContext& c, const MeshKernels& k) { remDupes_Click(c, k); });
        }
}

TEST(MeshToolsEqual, LodAtLevelsOneFiveAndTwentyWithEveryBoxCombination) {
    for (uint32_t seed = 1; seed <= 4; ++seed)
        for (Kind kind : kKinds)
            for (int level : {1, 5, 20})
                for (int boxes = 0; boxes < 8; ++boxes) {
                    const LodSymmetry symmetry{bool(boxes & 1), bool(boxes & 2), bool(boxes & 4)};
                    compareBothWays(seed, kind, "lod " + std::to_string(level) + " boxes " + std::to_string(boxes),
                                    [&](EditingContext& c, const MeshKernels& k) {
                                        CreateLOD_Click(c, level, symmetry, k);
                                    });
                }
}

TEST(MeshToolsEqual, LooseEndFix) {
    for (uint32_t seed = 1; seed <= 12; ++seed)
        for (Kind kind : kKinds)
            compareBothWays(seed, kind, "fix", [](EditingContext& c, const MeshKernels& k) { cmdFixMesh_Click(c, k); });
}

TEST(MeshToolsEqual, WatertightnessWithScriptedAnswers) {
    for (uint32_t seed = 1; seed <= 12; ++seed)
        for (Kind kind : kKinds)
            compareBothWays(seed, kind, "water",
                            [](EditingContext& c, const MeshKernels& k) { cmdWaterProof_Click(c, k); });
}

// The kernels alone on lists where the grid's borders matter most.
TEST(MeshToolsEqual, KernelsOnCellBordersAndToleranceEdges) {
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        std::mt19937 rng(seed);
        PeoObject object = randomObject(rng, "k", 120, 150, 4, seed % 2 == 0);
        std::vector<PeoMaterial> materials(4);
        materials[2].twoSided = true;
        SCOPED_TRACE("seed " + std::to_string(seed));
        for (int pass = 0; pass < 2; ++pass) {
            std::vector<PeoVertex> a = object.vertices, b = object.vertices;
            fastMeshKernels().weldMarks(a);
            literalMeshKernels().weldMarks(b);
            EXPECT_EQ(listed(a), listed(b));
            for (float t : {0.25f, 0.5f, 1.0f, 0.2f, 3.0f}) {
                a = object.vertices, b = object.vertices;
                const LodSymmetry symmetry{pass == 0, seed % 3 == 0, seed % 2 == 0};
                fastMeshKernels().lodMerge(a, t, symmetry);
                literalMeshKernels().lodMerge(b, t, symmetry);
                EXPECT_EQ(listed(a), listed(b)) << "merge " << t;
                fastMeshKernels().lodMirror(a);
                literalMeshKernels().lodMirror(b);
                EXPECT_EQ(listed(a), listed(b)) << "mirror " << t;
            }
            PeoObject x = object, y = object;
            LooseEndCounts cx, cy;
            fastMeshKernels().looseEnds(x, materials, cx);
            literalMeshKernels().looseEnds(y, materials, cy);
            EXPECT_EQ(listed(x.vertices), listed(y.vertices));
            EXPECT_EQ(cx, cy);
            std::vector<PeoPolygon> px = object.polygons, py = object.polygons;
            EXPECT_EQ(fastMeshKernels().backToBack(px), literalMeshKernels().backToBack(py));
            EXPECT_EQ(px, py);
            const EdgeMatch ex = fastMeshKernels().matchEdges(object.polygons, materials);
            EXPECT_EQ(ex, literalMeshKernels().matchEdges(object.polygons, materials));
            EXPECT_EQ(fastMeshKernels().mendHoles(object.polygons, ex.open),
                      literalMeshKernels().mendHoles(object.polygons, ex.open));
            for (PeoVertex& v : object.vertices) v.x *= 4, v.z = -v.z;  // a second layout of the same shapes
        }
    }
}

// The merge pass on clouds of thousands of vertices and small distances: many kept vertices, so the pass
// builds its grid part-way and takes most turns from the cells; spread out three ways.
TEST(MeshToolsEqual, LodMergeOnCloudsLargeEnoughForItsGrid) {
    for (uint32_t seed = 1; seed <= 4; ++seed) {
        std::mt19937 rng(seed);
        PeoObject object = randomObject(rng, "cloud", 3000, 1, 1, seed % 2 == 0);
        SCOPED_TRACE("seed " + std::to_string(seed));
        for (float spread : {1.0f, 4.0f, 16.0f}) {
            std::vector<PeoVertex> cloud = object.vertices;
            for (PeoVertex& v : cloud) v.x *= spread, v.y *= spread, v.z *= spread;
            for (float t : {0.2f, 0.25f, 1.0f}) {
                const LodSymmetry symmetry{seed % 2 == 1, seed % 3 != 0, seed >= 3};
                std::vector<PeoVertex> a = cloud, b = cloud;
                fastMeshKernels().lodMerge(a, t, symmetry);
                literalMeshKernels().lodMerge(b, t, symmetry);
                EXPECT_EQ(listed(a), listed(b)) << "spread " << spread << ", T " << t;
            }
        }
    }
}

}  // namespace
