#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "MeshToolsFixture.h"
#include "meshtools/MeshTools.h"
#include "model/PeoReader.h"
#include "preview/ObjectMeshes.h"
#include "preview/PreviewCamera.h"
#include "preview/PreviewScene.h"
#include "scene/Canvas.h"
#include "model/PeoWriter.h"
#include "meshtools/literal/LiteralKernels.h"
#include "scene/Frame.h"
#include "scene/Scene.h"

using namespace tarv;
using namespace tarv::test;

namespace {

const std::string CRLF = "\r\n";

// A closed tetrahedron wound consistently, away from the planes.
PeoObject tetrahedron(const std::string& name, int material = 0, float at = 50) {
    return makeObject(name, {{at, at, at}, {at + 10, at, at}, {at, at + 10, at}, {at, at, at + 10}},
                      {{0, 2, 1, material}, {0, 1, 3, material}, {0, 3, 2, material}, {1, 2, 3, material}});
}

struct KernelSets : MeshToolsFixture, ::testing::WithParamInterface<bool> {
    const MeshKernels& kernels() const { return GetParam() ? fastMeshKernels() : literalMeshKernels(); }
};

std::string formName(const ::testing::TestParamInfo<bool>& info) { return info.param ? "Fast" : "Literal"; }

// ---- Weld ----

struct WeldCase {
    const char* name;
    std::vector<V> vertices;
    std::vector<int16_t> marks;
};

TEST_P(KernelSets, WeldMarksFollowTheStrictPerAxisToleranceAndTheLastTarget) {
    const float tip = 0.2f;
    const WeldCase cases[] = {
        {"0.19 on every axis welds", {{0, 0, 0}, {0.19f, 0.19f, 0.19f}}, {0, 1}},
        {"0.2 on one axis stays", {{0, 0, 0}, {tip, 0, 0}}, {0, 0}},
        {"1000 against 1000.2 stays", {{1000, 0, 0}, {1000.2f, 0, 0}}, {0, 0}},
        {"chain A-B-C: B into A, C stays", {{0, 0, 0}, {0.15f, 0, 0}, {0.3f, 0, 0}}, {0, 1, 0}},
        {"two targets: the later wins", {{0, 0, 0}, {0.3f, 0, 0}, {0.15f, 0, 0}}, {0, 0, 2}},
        {"NaN and infinity stay", {{NAN, 0, 0}, {NAN, 0, 0}, {INFINITY, 0, 0}, {INFINITY, 0, 0}}, {0, 0, 0, 0}},
        {"-0.0 against 0.0 welds", {{-0.0f, 0, 0}, {0, 0, 0}}, {0, 1}},
    };
    for (const WeldCase& c : cases) {
        PeoObject o = makeObject("A", c.vertices, {});
        kernels().weldMarks(o.vertices);
        std::vector<int16_t> marks;
        for (const PeoVertex& v : o.vertices) marks.push_back(v.mark);
        EXPECT_EQ(marks, c.marks) << c.name;
    }
}

TEST_P(KernelSets, RemoveWeldsReportsAndRepointsPolygonsToTheLaterTarget) {
    materials(1);
    // Vertex 2 lies within 0.2 of vertex 0 and of vertex 1: it merges into 1.
    add(makeObject("A", {{0, 0, 0}, {0.3f, 0, 0}, {0.15f, 0, 0}, {0, 5, 0}, {5, 0, 0}}, {{2, 3, 4}, {0, 3, 4}}));
    const std::string report = remDupVertices(ctx, true, kernels());
    EXPECT_EQ(report, "One redundant vertex removed ." + CRLF);
    const PeoObject& o = model.peoObjects[0];
    ASSERT_EQ(o.vertices.size(), 4u);
    EXPECT_EQ(o.nVertices, 4);
    EXPECT_EQ(o.vertices[1].x, 0.3f);
    EXPECT_EQ(o.polygons[0].v0, 1);
    EXPECT_EQ(o.polygons[0].v1, 2);
    EXPECT_EQ(o.polygons[1].v0, 0);
}

TEST_F(MeshToolsFixture, CheckCountsWhatRemoveRemovesAndChangesNothing) {
    materials(1);
    add(makeObject("A", {{0, 0, 0}, {0.1f, 0, 0}, {0.15f, 0, 0}, {9, 9, 9}, {9.1f, 9, 9}, {0, 5, 0}},
                   {{0, 5, 3}, {1, 5, 4}, {2, 3, 5}}));
    const ShipModel before = model;
    checkDupes_Click(ctx);
    EXPECT_EQ(model.peoObjects[0].vertices.size(), before.peoObjects[0].vertices.size());
    EXPECT_EQ(model.peoObjects[0].polygons, before.peoObjects[0].polygons);
    remDupes_Click(ctx);
    EXPECT_EQ(model.peoObjects[0].vertices.size(), 3u);
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown[0].text, "3 redundant vertices found ." + CRLF);
    EXPECT_EQ(prompts.shown[1].text.rfind("3 redundant vertices removed ." + CRLF + "TARV removed 2 ", 0), 0u);
    for (const ShownBox& box : prompts.shown) {
        EXPECT_EQ(box.caption, kDuplicateVerticesTitle);
        EXPECT_EQ(box.icon, PromptIcon::Information);
    }
    EXPECT_EQ(t.status.statusHistory.front(), "Removing duplicate vertices...");
    EXPECT_FALSE(t.status.busy);
}

TEST_F(MeshToolsFixture, ACleanModelReportsNoRedundantVertices) {
    materials(1);
    add(tetrahedron("T"));
    EXPECT_EQ(remDupVertices(ctx, false), "No redundant vertices found ." + CRLF);
    EXPECT_EQ(remDupVertices(ctx, true), "No redundant vertices removed ." + CRLF);
}

// ---- Polygon clean-up ----

TEST_P(KernelSets, CleanUpDropsDegenerateRotatedAndReversedPolygonsAndReportsThePairOnce) {
    materials(2);
    add(makeObject("Hull", std::vector<V>(8, V{0, 0, 0}),
                   {{5, 5, 7, 1}, {1, 2, 3, 0}, {2, 3, 1, 1}, {1, 3, 2, 1}, {4, 5, 6, 1}}));
    const std::string report = remPolyOverhead(ctx, kernels());
    EXPECT_EQ(report, "TARV removed 3 redundant polygons in total," + CRLF +
                          " specifically these back-to-back polygons:" + CRLF + "- one from object 'Hull'," + CRLF +
                          "   (materials tex0, set to double-sided).");
    const PeoObject& o = model.peoObjects[0];
    ASSERT_EQ(o.polygons.size(), 2u);
    EXPECT_EQ(o.nPolygons, 2);
    EXPECT_EQ(o.polygons[0].v0, 1);
    EXPECT_EQ(o.polygons[1].v0, 4);
    EXPECT_TRUE(model.materials[0].twoSided);   // the kept polygon's material
    EXPECT_FALSE(model.materials[1].twoSided);  // not the dropped back's
    EXPECT_EQ(t.status.status, "Mesh clean-up complete.");
}

TEST_P(KernelSets, TwoPairsOnTwoMaterialsOfOneObject) {
    materials(3);
    add(makeObject("Hull", std::vector<V>(7, V{0, 0, 0}),
                   {{1, 2, 3, 0}, {4, 5, 6, 2}, {3, 2, 1, 0}, {4, 6, 5, 2}}));
    EXPECT_EQ(remPolyOverhead(ctx, kernels()),
              "TARV removed 2 redundant polygons in total," + CRLF + " specifically these back-to-back polygons:" +
                  CRLF + "- 2 from object 'Hull'," + CRLF + "   (materials tex0, tex2, set to double-sided).");
}

TEST_F(MeshToolsFixture, OnlyDuplicatesGiveTheShortReportAndACleanModelNone) {
    materials(1);
    add(makeObject("A", std::vector<V>(4, V{0, 0, 0}), {{1, 2, 3}, {3, 1, 2}}));
    EXPECT_EQ(remPolyOverhead(ctx), "TARV removed 1 redundant polygons in total.");
    EXPECT_EQ(remPolyOverhead(ctx), "");
}

TEST_F(MeshToolsFixture, AnEmptiedObjectIsDeletedWithItsSubtreeAndItsSharersTakeOver) {
    materials(1);
    add(tetrahedron("Base"));
    add(makeObject("Wing", std::vector<V>(3, V{0, 0, 0}), {{0, 0, 1}}), "o0");
    add(tetrahedron("Tip"), "o1");
    PeoObject s1 = tetrahedron("S1"), s2 = tetrahedron("S2");
    s1.sharedWith = 1;
    s2.sharedWith = 1;
    add(s1, "o0");
    add(s2, "o0");
    ctx.objects.selectedObject = -1;
    remPolyOverhead(ctx);
    EXPECT_EQ(model.peoObjects[1].name, kDeletedObjectName);
    EXPECT_EQ(model.peoObjects[2].name, kDeletedObjectName);  // the child with geometry goes too
    EXPECT_EQ(model.peoObjects[3].sharedWith, -1);
    EXPECT_EQ(model.peoObjects[4].sharedWith, 3);
    EXPECT_EQ(ctx.shell.treeHeirachy.find("o1"), nullptr);
    EXPECT_EQ(ctx.shell.treeHeirachy.find("o2"), nullptr);
    EXPECT_TRUE(ctx.shell.treeHeirachy.find("o0")->expanded);
}

TEST_F(MeshToolsFixture, TheEmptiedObjectIsFoundByItsKeyNotByItsName) {
    materials(1);
    add(tetrahedron("Base"));
    add(tetrahedron("Twin"), "o0");
    add(makeObject("Twin", std::vector<V>(3, V{0, 0, 0}), {{0, 1, 1}}), "o0");
    add(tetrahedron("Child"), "o2");
    remPolyOverhead(ctx);
    EXPECT_EQ(model.peoObjects[1].name, "Twin");
    EXPECT_NE(ctx.shell.treeHeirachy.find("o1"), nullptr);
    EXPECT_EQ(model.peoObjects[2].name, kDeletedObjectName);
    EXPECT_EQ(model.peoObjects[3].name, kDeletedObjectName);
}

TEST_F(MeshToolsFixture, AnEmptiedObjectWithoutANodeOnlyHandsOnItsGeometry) {
    materials(1);
    add(tetrahedron("Base"));
    model.peoObjects.push_back(makeObject("Loose", {}, {}));
    PeoObject sharer = tetrahedron("Sharer");
    sharer.sharedWith = 1;
    add(sharer, "o0");
    remPolyOverhead(ctx);
    EXPECT_EQ(model.peoObjects[1].name, "Loose");
    EXPECT_EQ(model.peoObjects[2].sharedWith, -1);
    EXPECT_TRUE(t.errors.reports.empty());
}

// ---- LOD reduction ----

TEST_F(MeshToolsFixture, TheLodDistanceIsTenAtLevelOneForTheReferenceExtent) {
    EXPECT_EQ(lodDistance(1, 322.036f), 10.0f);
    EXPECT_EQ(lodDistance(2, 322.036f), 20.0f);
}

// Object 0 with the given vertices, one triangle per consecutive triple and the given extents.
PeoObject lodObject(const std::vector<V>& vertices, float xExtent, float yExtent) {
    std::vector<P> polygons;
    for (int32_t i = 0; i + 2 < int32_t(vertices.size()); i += 3) polygons.push_back({i, i + 1, i + 2});
    PeoObject o = makeObject("Hull", vertices, polygons);
    o.minX = 0, o.maxX = xExtent, o.minY = 0, o.maxY = yExtent;
    return o;
}

struct LodCase {
    const char* name;
    std::vector<V> vertices;
    LodSymmetry symmetry;
    float xExtent, yExtent;
    size_t kept;
};

TEST_P(KernelSets, LodMergesWithinTheLevelDistanceAndKeepsThePlanes) {
    const float e = 322.036f;
    const LodCase cases[] = {
        {"9.9 apart merges", {{100, 100, 100}, {109.9f, 109.9f, 109.9f}, {200, 200, 200}}, {}, e, 1, 2},
        {"10 apart stays", {{100, 100, 100}, {110, 100, 100}, {200, 200, 200}}, {}, e, 1, 3},
        {"level distance from y with xzCheck", {{100, 100, 100}, {109.9f, 100, 100}, {200, 200, 200}}, {true}, 1, e, 2},
        {"off-plane j does not take an on-plane y", {{5, 1, 5}, {5, 0.1f, 5}, {200, 200, 200}}, {}, e, 1, 3},
        {"off-plane j does not take an on-plane x", {{1, 5, 5}, {0.1f, 5, 5}, {200, 200, 200}}, {}, e, 1, 3},
        {"no guard for z", {{5, 5, 1}, {5, 5, 0.1f}, {200, 200, 200}}, {}, e, 1, 2},
        {"the +-0.05 pair is kept", {{5, 0.05f, 5}, {5, -0.05f, 5}, {200, 200, 200}}, {true}, 1, e, 3},
        {"mirror partner restores", {{5, 3, 5}, {5.5f, 3.2f, 5}, {5.3f, -3, 5}}, {true}, 1, e / 10, 3},
        {"without the partner it merges", {{5, 3, 5}, {5.5f, 3.2f, 5}, {50.3f, -3, 5}}, {true}, 1, e / 10, 2},
    };
    for (const LodCase& c : cases) {
        fresh();
        materials(1);
        add(lodObject(c.vertices, c.xExtent, c.yExtent));
        reduceToLOD(ctx, 1, c.symmetry, kernels());
        EXPECT_EQ(model.peoObjects[0].vertices.size(), c.kept) << c.name;
    }
}

TEST_F(MeshToolsFixture, TheLowerOfAPairAcrossTheXzPlaneIsSnapped) {
    materials(1);
    add(lodObject({{5, 0.05f, 5}, {5, -0.05f, 5}, {200, 200, 200}}, 1, 322.036f));
    reduceToLOD(ctx, 1, {true, false, false});
    EXPECT_EQ(model.peoObjects[0].vertices[0].y, 0.0f);
    EXPECT_EQ(model.peoObjects[0].vertices[1].y, -0.05f);
    ASSERT_EQ(prompts.messages().size(), 1u);
    EXPECT_EQ(prompts.messages()[0], "No LODing achieved at this level, revert to making a higher LOD." + CRLF);
    EXPECT_EQ(t.status.status, "Mesh clean-up complete.");  // no rebuild texts after it
}

TEST_F(MeshToolsFixture, OneRemovedVertexIsReportedAndRebuilds) {
    materials(1);
    add(lodObject({{100, 100, 100}, {109.9f, 109.9f, 109.9f}, {200, 200, 200}}, 322.036f, 1));
    reduceToLOD(ctx, 1, {});
    ASSERT_EQ(prompts.messages().size(), 1u);
    EXPECT_EQ(prompts.messages()[0], "Besides removal of only one vertex," + CRLF);
    EXPECT_EQ(t.status.statusHistory.front(), "Reducing to LOD1");
    EXPECT_EQ(t.status.status, "Reticulating splines");
}

// The window's clock ticks at every event pump of a rebuild; the canvas draws the new meshes only once the
// last of them is built and linked, while the bar shows how far the rebuild is.
TEST_F(MeshToolsFixture, TheRebuildDrawsOnceAtItsEndAndShowsItsProgressMeanwhile) {
    struct CountingCanvas : scene::Canvas {
        int renders = 0;
        bool start() override { return true; }
        std::string lastErrorText() const override { return {}; }
        void render() override { ++renders; }
        void refresh() override { ++renders; }
        void setHeld(bool) override {}
    } canvas;
    struct TickingStatus : RecordingStatus {
        EditingContext* ctx = nullptr;
        const CountingCanvas* canvas = nullptr;
        int rendersDuring = 0, pumps = 0, pumpsWithBar = 0;
        void processEvents() override {
            RecordingStatus::processEvents();
            Timer1_Timer(*ctx);
            rendersDuring = canvas->renders;
            if (status.rfind("Creating 3d view", 0) != 0 && status != "Reticulating splines") return;
            ++pumps;  // a pump of the rebuild
            if (loadTextures.visible && loadTextures.maximum == 3) ++pumpsWithBar;
        }
    } status;
    status.ctx = &ctx;
    status.canvas = &canvas;
    ctx.services.status = &status;
    InitialiseComponents(ctx);
    ctx.view.canvas = &canvas;
    materials(1);
    for (float at : {0.0f, 400.0f, 800.0f})
        add(lodObject({{100 + at, 100, 100}, {109.9f + at, 109.9f, 109.9f}, {200 + at, 200, 200},
                       {300 + at, 100, 100}, {100 + at, 300, 100}, {100 + at, 100, 300}},
                      322.036f, 1));
    ctx.view.viewObjects.assign(3, ViewObject{});
    ctx.model.modelLoaded = true;
    Timer1_Timer(ctx);  // the scene as it stands is drawn
    canvas.renders = 0;

    reduceToLOD(ctx, 1, {});
    for (const PeoObject& o : model.peoObjects) ASSERT_EQ(o.vertices.size(), 5u) << o.name;  // all reduced
    EXPECT_GE(status.pumps, 3);
    EXPECT_EQ(status.rendersDuring, 0);
    EXPECT_EQ(status.pumpsWithBar, status.pumps);
    EXPECT_FALSE(status.loadTextures.visible);
    EXPECT_EQ(status.loadTextures.value, 3);
    Timer1_Timer(ctx);
    EXPECT_EQ(canvas.renders, 1);
}

TEST_F(MeshToolsFixture, ManyRemovedVerticesAndThePolygonReport) {
    materials(1);
    add(lodObject({{100, 100, 100}, {300, 100, 100}, {100, 300, 100}, {100.5f, 100, 100}, {300.5f, 100, 100},
                   {100.5f, 300, 100}},
                  322.036f, 1));
    reduceToLOD(ctx, 1, {});
    EXPECT_EQ(prompts.messages()[0], "Besides removal of 3 vertices," + CRLF + "TARV removed 1 redundant polygons in total.");
}

TEST_F(MeshToolsFixture, GoAcceptsFiveToTwentyRoundedHalfEven) {
    const struct {
        const char* text;
        int level;  // 0: refused
    } cases[] = {{"5", 5}, {"4", 0}, {"21", 0}, {"20.6", 21}, {"4.5", 4}, {"abc", 0}, {"", 0}};
    for (const auto& c : cases) {
        fresh();
        materials(1);
        add(lodObject({{100, 100, 100}, {300, 300, 300}, {200, 200, 200}}, 322.036f, 1));
        prompts.shown.clear();
        t.status.statusHistory.clear();
        cmdGoLOD_Click(ctx, c.text, {});
        if (c.level == 0) {
            ASSERT_EQ(prompts.messages().size(), 1u) << c.text;
            EXPECT_EQ(prompts.shown[0].text, kGoLodRefusal);
            EXPECT_EQ(prompts.shown[0].caption, "TARV");
            EXPECT_TRUE(t.status.statusHistory.empty()) << c.text;
        } else {
            ASSERT_FALSE(t.status.statusHistory.empty()) << c.text;
            EXPECT_EQ(t.status.statusHistory.front(), "Reducing to LOD" + std::to_string(c.level)) << c.text;
        }
    }
}

TEST_F(MeshToolsFixture, AFirstObjectWithoutExtentIsRefusedAndNoObjectDoesNothing) {
    materials(1);
    reduceToLOD(ctx, 1, {});
    EXPECT_TRUE(prompts.shown.empty());
    add(lodObject({{100, 100, 100}, {100.5f, 100, 100}, {200, 200, 200}}, 0, 0));
    reduceToLOD(ctx, 1, {});
    reduceToLOD(ctx, 1, {true});
    ASSERT_EQ(prompts.messages().size(), 2u);
    EXPECT_EQ(prompts.messages()[0], "Cannot compute the LOD distance: the first object has no extent along x.");
    EXPECT_EQ(prompts.messages()[1], "Cannot compute the LOD distance: the first object has no extent along y.");
    EXPECT_EQ(model.peoObjects[0].vertices.size(), 3u);
}

TEST_F(MeshToolsFixture, TheRebuildLinksByIndexAndLeavesDeletedObjectsHidden) {
    materials(1);
    for (int i = 0; i < 4; ++i) {
        PeoObject o = lodObject({{100, 100, 100}, {101, 100, 100}, {200, 200, 200}, {100, 101, 100}, {300, 1, 1},
                                 {1, 300, 1}},
                                322.036f, 1);
        o.name = "obj" + std::to_string(i);
        add(o, i == 3 ? "o2" : "");
    }
    // Object 1 was deleted before: its slot stays, its node is gone.
    model.peoObjects[1].name = kDeletedObjectName;
    ctx.shell.treeHeirachy.remove("o1");
    ctx.view.modelFrame = scene::createFrame();
    ctx.view.viewObjects.assign(4, ViewObject{});
    reduceToLOD(ctx, 1, {});
    for (const std::string& text : prompts.messages()) EXPECT_NE(text, "Corrupted hierarchy detected!");
    const auto& views = ctx.view.viewObjects;
    EXPECT_EQ(views[1].frame, nullptr);
    EXPECT_EQ(views[1].shown, 0);
    ASSERT_NE(views[3].frame, nullptr);
    EXPECT_EQ(views[3].frame->getParent(), views[2].frame);
    EXPECT_EQ(views[2].frame->getParent(), ctx.view.modelFrame);
    EXPECT_EQ(views[0].shown, -1);
    EXPECT_EQ(model.peoObjects[3].mother, 3);
}

// ---- Loose-end fix ----

TEST_P(KernelSets, ALoneVertexMovesOntoItsNearestWithTheLowerIndexOnATie) {
    materials(1);
    PeoObject o = makeObject("A", {{50, 50, 50}, {60, 50, 50}, {50, 60, 50}}, {{0, 1, 2}});
    LooseEndCounts counts;
    kernels().looseEnds(o, model.materials, counts);
    EXPECT_EQ(counts, (LooseEndCounts{3, 3, 0, 0}));
    EXPECT_EQ(o.vertices[0].x, 60.0f);  // vertices 1 and 2 are 10 away: 1 wins
    EXPECT_EQ(o.vertices[2].x, 60.0f);
    EXPECT_EQ(o.vertices[2].y, 50.0f);
}

TEST_P(KernelSets, AMirrorPairIsSnappedOntoTheXzPlane) {
    materials(1);
    PeoObject o = makeObject("A", {{5, 0.3f, 5}, {5, -0.3f, 5}, {20, 0, 0}, {20, 10, 0}, {20, 0, 10}},
                             {{0, 1, 2}, {1, 2, 3}, {1, 3, 4}, {2, 4, 3}});
    LooseEndCounts counts;
    kernels().looseEnds(o, model.materials, counts);
    EXPECT_EQ(counts, (LooseEndCounts{1, 1, 0, 0}));
    EXPECT_EQ(o.vertices[0].y, 0.0f);
    EXPECT_EQ(o.vertices[1].y, 0.0f);
    EXPECT_EQ(o.vertices[0].x, 5.0f);
    EXPECT_EQ(o.vertices[1].z, 5.0f);
}

TEST_P(KernelSets, ALaterSearchFindsAMovedVertexAtItsNewPlace) {
    materials(1);
    // 0 moves onto 1; 2 then finds 0 and 1 at one place, takes 0 (the lower index) and snaps it.
    PeoObject o = makeObject("A", {{100, 100, 100}, {0, 0.3f, 0}, {0.2f, -0.3f, 0.1f}, {-50, 7, 7}, {-50, 9, 7}},
                             {{0, 3, 4}, {1, 3, 4}, {1, 4, 3}, {2, 3, 4}});
    LooseEndCounts counts;
    kernels().looseEnds(o, model.materials, counts);
    EXPECT_EQ(counts.fixed, 2);
    EXPECT_EQ(o.vertices[0].y, 0.0f);
    EXPECT_EQ(o.vertices[0].x, 0.0f);
    EXPECT_EQ(o.vertices[1].y, 0.3f);
    EXPECT_EQ(o.vertices[2].y, 0.0f);
}

TEST_P(KernelSets, AVertexWithoutTargetStaysAndIsNotFixed) {
    materials(1);
    PeoObject o = makeObject("One", {{1, 2, 3}}, {{0, 0, 0}});
    LooseEndCounts counts;
    kernels().looseEnds(o, model.materials, counts);
    EXPECT_EQ(counts, (LooseEndCounts{1, 0, 0, 0}));
    EXPECT_EQ(o.vertices[0].x, 1.0f);
}

TEST_F(MeshToolsFixture, TheFixReportsFixedVerticesAndASearchWithoutTargetAfterOneWithATarget) {
    materials(1);
    add(tetrahedron("T"));
    add(makeObject("Lone", {{50, 50, 50}, {60, 50, 50}, {50, 60, 50}}, {{0, 1, 2}}));
    add(makeObject("One", {{-70, 2, 3}}, {{0, 0, 0}}));
    cmdFixMesh_Click(ctx);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "TARV fixed 3 open faces, on 4 polygons.");
    EXPECT_EQ(prompts.shown[0].caption, kLooseEndTitle);
    EXPECT_EQ(prompts.shown[0].icon, PromptIcon::Information);
    EXPECT_EQ(model.peoObjects[1].name, kDeletedObjectName);  // the collapsed triangle's object
    EXPECT_EQ(model.peoObjects[0].vertices.size(), 4u);
}

TEST_F(MeshToolsFixture, DoubleSidedLooseEndsAreLeftAloneAndNamedOnlyWhenSomethingWasFixed) {
    materials(2, {1});
    add(tetrahedron("T"));
    add(makeObject("Two", {{-50, 50, 50}, {-60, 50, 50}, {-50, 60, 50}}, {{0, 1, 2, 1}}));
    EXPECT_EQ(FixMesh(ctx), "Fixed nothing.");
    add(makeObject("Lone", {{50, 50, 50}, {60, 50, 50}, {50, 60, 50}}, {{0, 1, 2}}));
    EXPECT_EQ(FixMesh(ctx), "TARV fixed 3 open faces, on 6 polygons." + CRLF +
                                "( 3 polygons left alone because of double-sidedness ).");
}

TEST_F(MeshToolsFixture, AnOrphanIsMovedOntoVertexZeroAndTheWeldReportFollows) {
    materials(1);
    PeoObject o = tetrahedron("T");
    o.vertices.push_back(PeoVertex{7, 7, 7, 0, 0});
    add(o);
    EXPECT_EQ(FixMesh(ctx), CRLF + "One vertex marked as orphaned." + CRLF + "One redundant vertex removed ." + CRLF);
    EXPECT_EQ(model.peoObjects[0].vertices.size(), 4u);
}

TEST_F(MeshToolsFixture, UnusedMaterialsTakeTextureAndFlagsFromTheReference) {
    materials(5);
    PeoMaterial& last = model.materials[4];
    last.smoothing = last.selfIlluminated = last.twoSided = true;
    model.materials[0].ambient = {1, 2, 3, 0};
    add(makeObject("T", {{50, 50, 50}, {60, 50, 50}, {50, 60, 50}, {50, 50, 60}},
                   {{0, 2, 1, 1}, {0, 1, 3, 2}, {0, 3, 2, 4}, {1, 2, 3, 1}}));
    EXPECT_EQ(FixMesh(ctx), CRLF + "2 materials have been marked as unused.");
    for (int m : {0, 3}) {
        EXPECT_EQ(model.materials[size_t(m)].texture, 4);
        EXPECT_TRUE(model.materials[size_t(m)].smoothing);
        EXPECT_TRUE(model.materials[size_t(m)].selfIlluminated);
        EXPECT_TRUE(model.materials[size_t(m)].twoSided);
    }
    EXPECT_EQ(model.materials[0].ambient, (ColourBytes{1, 2, 3, 0}));
    EXPECT_EQ(model.materials[1].texture, 1);
}

TEST_F(MeshToolsFixture, AOneMaterialNote) {
    materials(2);
    add(tetrahedron("T", 1));
    EXPECT_EQ(FixMesh(ctx), CRLF + "One material was marked as unused.");
}

// ---- Watertightness ----

struct WaterCase {
    const char* name;
    std::vector<V> vertices;
    std::vector<P> polygons;
    std::string verdict;
    int mends;  // the number in the question, 0 for none
};

TEST_P(KernelSets, EachVerdictRow) {
    const std::string n = "Object 'M'";
    const std::vector<V> six{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {5, 0, 0}, {6, 0, 0}, {5, 1, 0}};
    const std::vector<V> nine{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {5, 0, 0}, {6, 0, 0},
                              {5, 1, 0}, {9, 0, 0}, {9, 1, 0}, {8, 0, 0}};
    const std::vector<V> square{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    const WaterCase cases[] = {
        {"1 tetrahedron", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
         {{0, 2, 1}, {0, 1, 3}, {0, 3, 2}, {1, 2, 3}}, n + " is waterproof.", 0},
        {"1 twice the same", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}, {0, 1, 2}}, n + " is waterproof.", 0},
        {"1 back to back", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}, {0, 2, 1}},
         n + " is waterproof." + CRLF + "( 1 Pairs of 'back-to-back' polygons found ).", 0},
        {"2 two tetrahedra", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {5, 0, 0}, {6, 0, 0}, {5, 1, 0}, {5, 0, 1}},
         {{0, 2, 1}, {0, 1, 3}, {0, 3, 2}, {1, 2, 3}, {4, 6, 5}, {4, 5, 7}, {4, 7, 6}, {5, 6, 7}},
         n + " has 0 pairs of 'back-to-back' polygons.", 0},
        {"3 two-sided square", square, {{0, 1, 2, 1}, {0, 2, 3, 1}},
         n + " is considered waterproof, because the only 'open' edges are double-sided.", 0},
        {"4 lone triangle", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}}, n + " has 1 holes.", 1},
        {"5 half two-sided square", square, {{0, 1, 2, 0}, {0, 2, 3, 1}},
         "Although object 'M' has some double-sided 'open' edges, there still are about 1 holes.", 0},
        {"6 three two-sided triangles", nine, {{0, 1, 2, 1}, {3, 4, 5, 1}, {6, 7, 8, 1}},
         n + " is considered waterproof, because the only 'open' edges are double-sided," + CRLF +
             "which may account for some polygon overhead.",
         0},
        {"7 three triangles", nine, {{0, 1, 2}, {3, 4, 5}, {6, 7, 8}},
         n + " still has holes, and also some poly/vertex overhead.", 3},
        {"8 two triangles", six, {{0, 1, 2}, {3, 4, 5}},
         n + " is closed, but it seems to have a rim of 6 'open' edges, which are not double-sided.", 2},
        {"9 one of each", six, {{0, 1, 2}, {3, 4, 5, 1}},
         "Poly's: 2" + CRLF + "Vertices: 6" + CRLF + "Lines: 6" + CRLF + "Double-sided open edges: 3" + CRLF +
             "Single-sided open edges: 3" + CRLF + " 'back-to-back' pairs: 0" + CRLF + "Euler count: 2",
         1},
    };
    for (const WaterCase& c : cases) {
        fresh();
        materials(2, {1});
        add(makeObject("M", c.vertices, c.polygons));
        prompts.shown.clear();
        checkWaterproof(ctx, kernels());
        ASSERT_GE(prompts.shown.size(), 1u) << c.name;
        EXPECT_EQ(prompts.shown[0].text, c.verdict) << c.name;
        EXPECT_EQ(prompts.shown[0].caption, "TARV");
        if (c.mends == 0) {
            EXPECT_EQ(prompts.shown.size(), 1u) << c.name;
        } else {
            ASSERT_EQ(prompts.shown.size(), 2u) << c.name;
            EXPECT_EQ(prompts.shown[1].kind, "yesNo");
            EXPECT_EQ(prompts.shown[1].text, "TARV found " + std::to_string(c.mends) +
                                                 " mendable holes in your mesh, do wish to continue fixing?");
            EXPECT_EQ(prompts.shown[1].caption, kFaceFixTitle);
            EXPECT_EQ(prompts.shown[1].icon, PromptIcon::Question);
        }
        EXPECT_EQ(model.peoObjects[0].polygons.size(), c.polygons.size()) << c.name;  // No was answered
    }
}

TEST_P(KernelSets, AnEdgeSharedByThreePolygonsCountsTwoMatches) {
    materials(1);
    PeoObject o = makeObject("M", std::vector<V>(5, V{0, 0, 0}), {{0, 1, 2}, {1, 0, 3}, {0, 1, 4}});
    const EdgeMatch edges = kernels().matchEdges(o.polygons, model.materials);
    EXPECT_EQ(edges.shared, 2);
    EXPECT_EQ(edges.open, (std::vector<int32_t>{1, 2, 4, 5, 7, 8}));
}

TEST_P(KernelSets, YesAppendsAPatchOfTheNewPolygonKindAndAnswersGoPerObjectInOrder) {
    materials(1);
    add(makeObject("A", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}}));
    PeoObject gone = makeObject("gone", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}});
    gone.name = kDeletedObjectName;
    model.peoObjects.push_back(gone);
    add(makeObject("B", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}}));
    add(makeObject("Empty", {{0, 0, 0}}, {}));
    prompts.answers = {true, false};
    checkWaterproof(ctx, kernels());
    std::vector<std::string> kinds;
    for (const ShownBox& box : prompts.shown) kinds.push_back(box.kind + ":" + box.text.substr(0, 12));
    EXPECT_EQ(kinds, (std::vector<std::string>{"message:Object 'A' h", "yesNo:TARV found 1", "message:Object 'B' h",
                                               "yesNo:TARV found 1", "message:Object 'Empt"}));
    EXPECT_EQ(prompts.shown.back().text, "Object 'Empty' has no polygons.");
    const PeoObject& a = model.peoObjects[0];
    ASSERT_EQ(a.polygons.size(), 2u);
    EXPECT_EQ(a.nPolygons, 2);
    PeoPolygon expected = a.polygons[0];  // the added face: the same corners in the same order
    expected.reserved = kNewPolygonReserved;
    EXPECT_EQ(a.polygons[1], expected);
    EXPECT_EQ(model.peoObjects[2].polygons.size(), 1u);
    EXPECT_FALSE(t.status.busy);
}

// ---- Refusals before any change ----

struct FaultCase {
    const char* name;
    std::function<void(ShipModel&)> spoil;
    std::string reason;
};

bool sameModel(const ShipModel& a, const ShipModel& b) {
    if (a.peoObjects.size() != b.peoObjects.size() || a.materials.size() != b.materials.size()) return false;
    for (size_t i = 0; i < a.peoObjects.size(); ++i) {
        const PeoObject &x = a.peoObjects[i], &y = b.peoObjects[i];
        if (x.name != y.name || x.vertices != y.vertices || x.polygons != y.polygons || x.sharedWith != y.sharedWith)
            return false;
    }
    for (size_t m = 0; m < a.materials.size(); ++m)
        if (a.materials[m].texture != b.materials[m].texture || a.materials[m].twoSided != b.materials[m].twoSided)
            return false;
    return true;
}

TEST_F(MeshToolsFixture, EveryCommandRefusesABadLiveObjectBeforeAnyChange) {
    const FaultCase faults[] = {
        {"vertices", [](ShipModel& m) { m.peoObjects[1].vertices.resize(32768); }, "more than 32767 vertices"},
        {"corner", [](ShipModel& m) { m.peoObjects[1].polygons[3].v2 = 4; },
         "polygon 3 names a vertex outside the object"},
        {"material", [](ShipModel& m) { m.peoObjects[1].polygons[0].material = 2; },
         "polygon 0 names a material that does not exist"},
        {"texture", [](ShipModel& m) { m.materials[1].texture = 9; }, "material 1 names a texture that does not exist"},
    };
    const std::vector<std::pair<const char*, std::function<void()>>> commands = {
        {"Check", [&] { checkDupes_Click(ctx); }},
        {"Remove", [&] { remDupes_Click(ctx); }},
        {"LOD1", [&] { CreateLOD_Click(ctx, 1, {}); }},
        {"Go", [&] { cmdGoLOD_Click(ctx, "20", {true, true, true}); }},
        {"Fix", [&] { cmdFixMesh_Click(ctx); }},
        {"Water", [&] { cmdWaterProof_Click(ctx); }},
    };
    for (const FaultCase& fault : faults)
        for (const auto& [name, run] : commands) {
            fresh();
            materials(2);
            PeoObject first = tetrahedron("First");
            first.vertices.push_back(first.vertices[0]);  // a duplicate that the weld would remove
            add(first);
            add(tetrahedron("Bad", 1));
            fault.spoil(model);
            const ShipModel before = model;
            prompts.shown.clear();
            run();
            EXPECT_TRUE(sameModel(model, before)) << fault.name << " " << name;
            ASSERT_EQ(prompts.shown.size(), 1u) << fault.name << " " << name;
            EXPECT_EQ(prompts.shown[0].text,
                      "The mesh tools cannot work on object 'Bad': " + fault.reason + ". Nothing was changed.");
            EXPECT_EQ(prompts.shown[0].icon, PromptIcon::Exclamation);
            EXPECT_EQ(prompts.shown[0].caption, "TARV");
            EXPECT_TRUE(t.errors.reports.empty());
        }
}

TEST_F(MeshToolsFixture, ABadDeletedObjectIsLeftOutOfTheRun) {
    materials(1);
    PeoObject first = tetrahedron("First");
    first.vertices.push_back(first.vertices[0]);
    add(first);
    PeoObject bad = makeObject("x", {{0, 0, 0}, {0, 0, 0}}, {{0, 1, 5}});
    bad.name = kDeletedObjectName;
    model.peoObjects.push_back(bad);
    const PeoObject badBefore = model.peoObjects[1];
    EXPECT_EQ(remDupVertices(ctx, true), "One redundant vertex removed ." + CRLF);
    EXPECT_EQ(model.peoObjects[1].vertices, badBefore.vertices);
    EXPECT_EQ(model.peoObjects[1].polygons, badBefore.polygons);
    EXPECT_TRUE(t.errors.reports.empty());
}

TEST_F(MeshToolsFixture, CountsBeyondSixteenBitsAreReportedWhole) {
    materials(1);
    for (int i = 0; i < 2; ++i) {
        PeoObject o = makeObject("D" + std::to_string(i), std::vector<V>(20000, V{1, 1, 1}), {});
        o.vertices.push_back(PeoVertex{9, 9, 9, 0, 0});
        o.vertices.push_back(PeoVertex{9, 19, 9, 0, 0});
        o.polygons.push_back(newPolygon(0, 20000, 20001, 0));
        add(o);
    }
    EXPECT_EQ(remDupVertices(ctx, false), "39998 redundant vertices found ." + CRLF);
    EXPECT_EQ(remDupVertices(ctx, true), "39998 redundant vertices removed ." + CRLF);
    EXPECT_EQ(model.peoObjects[1].vertices.size(), 3u);
}

TEST_F(MeshToolsFixture, EmptyListsAreNoError) {
    materials(1);
    add(tetrahedron("T"));
    model.peoObjects.push_back(makeObject("Bare", {}, {}));
    checkDupes_Click(ctx);
    cmdFixMesh_Click(ctx);
    EXPECT_TRUE(t.errors.reports.empty());
}

INSTANTIATE_TEST_SUITE_P(Forms, KernelSets, ::testing::Bool(), formName);

}  // namespace

namespace {

// Two objects sharing one list in the file: mending accepted on the owner and declined on the sharer. The
// writer writes the sharer, whose counts now differ, with its own lists; reading back gives each its own.
TEST_F(MeshToolsFixture, MendingOnOneOfTwoSharersSurvivesAWriteAndARead) {
    materials(1);
    model.peoVersion = kPeoVersionHomeworld;
    add(tetrahedron("Base"));
    add(makeObject("Left", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}}), "o0");
    PeoObject right = makeObject("Right", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}});
    right.sharedWith = 1;
    add(right, "o0");
    model.peoObjects[1].mother = 1;
    model.peoObjects[2].mother = 1;
    prompts.answers = {true, false};
    checkWaterproof(ctx);
    ASSERT_EQ(model.peoObjects[1].polygons.size(), 2u);
    ASSERT_EQ(model.peoObjects[2].polygons.size(), 1u);
    const std::string path = (dir.path() / "mended.peo").string();
    writePeoFile(ctx, path, false);

    TestContext back{dir.path()};
    back.ctx.prefs.logLevel = 0;
    back.prompts.allowUnused();
    readPeoFile(back.ctx, path);
    const auto& objects = back.ctx.model.peoObjects;
    ASSERT_EQ(objects.size(), 3u);
    EXPECT_EQ(objects[1].polygons.size(), 2u);
    EXPECT_EQ(objects[1].nPolygons, 2);
    EXPECT_EQ(objects[2].polygons.size(), 1u);
    EXPECT_EQ(objects[2].nPolygons, 1);
    EXPECT_EQ(objects[2].vertices.size(), 3u);
}

}  // namespace

namespace {

TEST_F(MeshToolsFixture, AReductionThatEmptiesTheSelectedObjectDeselectsItFirst) {
    materials(1);
    add(lodObject({{100, 100, 100}, {300, 100, 100}, {100, 300, 100}}, 322.036f, 1));
    add(makeObject("Small", {{5, 5, 5}, {6, 5, 5}, {5, 6, 5}}, {{0, 1, 2}}), "o0");
    ctx.view.viewObjects.assign(2, ViewObject{});  // a selection lives in the preview
    ctx.view.modelFrame = scene::createFrame();
    for (int16_t i : {0, 1}) {
        create3dObject(ctx, i);
        ctx.view.modelFrame->addChild(ctx.view.viewObjects[size_t(i)].frame);
        ctx.view.viewObjects[size_t(i)].shown = -1;
    }
    ctx.objects.selectedObject = 1;
    reduceToLOD(ctx, 1, {});
    EXPECT_EQ(model.peoObjects[1].name, kDeletedObjectName);
    EXPECT_EQ(ctx.objects.selectedObject, -1);
    EXPECT_EQ(ctx.objects.Dx_Label1, "Nothing selected");
    for (const auto& report : t.errors.reports) ADD_FAILURE() << report.procedure << ": " << report.description;
}

}  // namespace
