// Advanced Object Properties and Pivot Point: size labels, Bake, Copy rotation, Pivot, the vertex-count
// guard, shared geometry across a save, and the mesh rebuilt on the object's own frame.
#include <gtest/gtest.h>

#include <map>

#include "ObjectFixtures.h"
#include "base/NumberText.h"
#include "editor/context/EditingContext.h"
#include "model/LogFiles.h"
#include "model/PeoReader.h"
#include "model/PeoWriter.h"
#include "objects/ObjectDialogs.h"
#include "objects/ObjectLinks.h"
#include "objects/ObjectSelection.h"
#include "objects/ObjectTree.h"
#include "preview/ObjectMeshes.h"

using namespace tarv;
using namespace tarv::test;

namespace {

// Two triangles (corners 0 1 2 and 0 2 3) at the given place.
void giveSquare(PeoObject& object, float x) {
    object.vertices = {{x, 0, 0, 0, 0}, {x + 1, 0, 0, 0, 0}, {x + 1, 2, 0, 0, 0}, {x, 2, 3, 0, 0}};
    object.polygons = {newPolygon(0, 1, 2, 0), newPolygon(0, 2, 3, 0)};
    object.nVertices = 4;
    object.nPolygons = 2;
    recomputeExtents(object);
}

struct DialogFixture {
    TempDir dir;
    TestContext t{dir.path()};
    EditingContext& ctx = t.ctx;
    explicit DialogFixture(const std::vector<ObjectRow>& rows) {
        ctx.currentModelPath = (dir.path() / "ship.peo").string();
        ctx.prefs.logLevel = 0;
        makeObjects(ctx, rows);
        for (size_t i = 0; i < ctx.model.peoObjects.size(); ++i) {
            giveSquare(ctx.model.peoObjects[i], float(i));
            create3dObject(ctx, int16_t(i));
        }
        // Frames hung by the links, as the load road does.
        for (size_t i = 0; i < rows.size(); ++i) {
            const int32_t m = rows[i].mother;
            auto parent =
                m >= 1 && size_t(m - 1) != i ? ctx.view.viewObjects[size_t(m - 1)].frame : ctx.view.modelFrame;
            parent->addChild(ctx.view.viewObjects[i].frame);
            ctx.view.viewObjects[i].frame->addVisual(ctx.view.viewObjects[i].mesh);
            ctx.view.viewObjects[i].shown = -1;
        }
        createObjectTree(ctx);
    }
    void select(int16_t n) {
        const std::string key = objectKey(n);
        ctx.shell.treeHeirachy.setSelected(key);
        treeHeirachy_NodeClick(ctx, key);
    }
    PeoObject& object(int n) { return ctx.model.peoObjects[size_t(n)]; }
    std::vector<std::string> startupLog() {
        std::vector<std::string> lines;
        const std::string text = readText(startupLogPath(ctx));
        size_t start = 0;
        for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
            lines.push_back(text.substr(start, end - start));
        return lines;
    }
    bool logHas(const std::vector<std::string>& wanted) {
        const auto lines = startupLog();
        return std::search(lines.begin(), lines.end(), wanted.begin(), wanted.end()) != lines.end();
    }
    // x of the first vertex of every object after a save and a read-back, by name.
    std::map<std::string, std::vector<float>> savedXs() {
        const std::string path = (dir.path() / "saved.peo").string();
        fixHierarchy(ctx);
        writePeoFile(ctx, path, false);
        TempDir other;
        TestContext back(other.path());
        back.prompts.answerYesNoCycling({false});
        back.ctx.prefs.logLevel = 0;
        readPeoFile(back.ctx, path);
        std::map<std::string, std::vector<float>> xs;
        for (const PeoObject& o : back.ctx.model.peoObjects)
            for (const PeoVertex& v : o.vertices) xs[o.name].push_back(v.x);
        return xs;
    }
};

std::array<std::string, 9> labels(float sx, float sy, float sz, float ax, float ay, float az, float ix, float iy,
                                  float iz) {
    return {floatText(sx), floatText(sy), floatText(sz), floatText(ax), floatText(ay),
            floatText(az), floatText(ix), floatText(iy), floatText(iz)};
}

}  // namespace

TEST(ObjectDialogs, AdvancedPropertiesOpenOnlyWithASelectionAndShowTheSizes) {
    DialogFixture f({{"base", 0}, {"Hull", 1}});
    EXPECT_FALSE(cmdAdvancedObjProps_Click(f.ctx));
    EXPECT_EQ(f.ctx.objects.dialogs.lblObjectName, "Object Name");
    f.select(1);
    EXPECT_TRUE(cmdAdvancedObjProps_Click(f.ctx));
    EXPECT_EQ(f.ctx.objects.dialogs.lblObjectName, "Hull");
    // Object 1 spans x 1..2, y 0..2, z 0..3; the selection filled the labels.
    EXPECT_EQ(f.ctx.objects.dialogs.lblObjectSize, labels(1, 2, 3, 2, 2, 3, 1, 0, 0));
}

TEST(ObjectDialogs, BakeAddsTheTranslationUnrotatedAndRebuildsOnTheSameFrame) {
    struct Case {
        const char* what;
        std::array<float, 3> translation;
        bool rotated;
        bool hidden;
    };
    const std::vector<Case> cases{{"zero translation", {0, 0, 0}, false, false},
                                  {"negative component", {2, -3, 0.5f}, false, false},
                                  {"rotated object", {1, 0, 0}, true, false},
                                  {"hidden object", {0, 0, -1}, false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DialogFixture f({{"base", 0}, {"Hull", 1}, {"Gun", 2}});
        PeoObject& hull = f.object(1);
        hull.matrix[3] = c.translation[0];
        hull.matrix[7] = c.translation[1];
        hull.matrix[11] = c.translation[2];
        if (c.rotated) {  // a quarter turn about z
            hull.matrix[0] = hull.matrix[5] = 0;
            hull.matrix[1] = -1;
            hull.matrix[4] = 1;
        }
        if (c.hidden) hideObject(f.ctx, 1);
        f.select(1);
        const std::vector<PeoVertex> before = hull.vertices;
        const Matrix4 matrixBefore = hull.matrix;
        const auto frame = f.ctx.view.viewObjects[1].frame;
        const auto oldMesh = f.ctx.view.viewObjects[1].mesh;

        cmdBakeVertices_Click(f.ctx);

        EXPECT_TRUE(f.t.errors.reports.empty());
        for (size_t i = 0; i < before.size(); ++i) {
            EXPECT_EQ(hull.vertices[i].x, before[i].x + c.translation[0]);
            EXPECT_EQ(hull.vertices[i].y, before[i].y + c.translation[1]);
            EXPECT_EQ(hull.vertices[i].z, before[i].z + c.translation[2]);
        }
        for (int i : {3, 7, 11}) EXPECT_EQ(hull.matrix[i], 0);
        for (int i : {0, 1, 2, 4, 5, 6, 8, 9, 10}) EXPECT_EQ(hull.matrix[i], matrixBefore[i]);
        EXPECT_EQ(hull.minX, 1 + c.translation[0]);
        EXPECT_EQ(hull.maxY, 2 + c.translation[1]);
        EXPECT_EQ(f.ctx.objects.dialogs.lblObjectSize[3], floatText(2 + c.translation[0]));
        EXPECT_EQ(f.ctx.objects.dialogs.lblBakeStatus, "Bake complete!");
        EXPECT_EQ(f.ctx.objects.posX, "0");
        const ViewObject& view = f.ctx.view.viewObjects[1];
        EXPECT_EQ(view.frame, frame);
        EXPECT_NE(view.mesh, oldMesh);
        EXPECT_EQ(view.frame->getParent(), f.ctx.view.viewObjects[0].frame);
        EXPECT_EQ(f.ctx.view.viewObjects[2].frame->getParent(), frame);
        EXPECT_EQ(view.shown, c.hidden ? 0 : -1);
        const auto& visuals = frame->visuals();
        EXPECT_EQ(std::count(visuals.begin(), visuals.end(), view.mesh), c.hidden ? 0 : 1);
        EXPECT_EQ(std::count(visuals.begin(), visuals.end(), oldMesh), 0);
        EXPECT_TRUE(f.logHas({"Baking....", "Matrix Values: ", "X: " + floatText(c.translation[0]),
                              "Y: " + floatText(c.translation[1]), "Z: " + floatText(c.translation[2]),
                              "0: " + floatText(before[0].x) + " 0 0",
                              "0: " + floatText(hull.vertices[0].x) + " " + floatText(hull.vertices[0].y) + " " +
                                  floatText(hull.vertices[0].z)}));
    }
}

TEST(ObjectDialogs, CopyRotationTakesTheFirstObjectOfTheChosenNameOrObjectZero) {
    DialogFixture f({{"base", 0}, {"Hull", 1}, {"Gun", 2}});
    // base: a quarter turn about z; Gun: a half turn about z; Hull translated by 5 in x.
    Matrix4& base = f.object(0).matrix;
    base[0] = 0, base[1] = -1, base[4] = 1, base[5] = 0;
    Matrix4& gun = f.object(2).matrix;
    gun[0] = -1, gun[5] = -1;
    f.object(1).matrix[3] = 5;
    f.select(1);

    cmdCopyRotationMatrix_Click(f.ctx, "");  // no entry chosen: object 0
    const Matrix4& hull = f.object(1).matrix;
    EXPECT_EQ(hull[0], 0);
    EXPECT_EQ(hull[1], -1);
    EXPECT_EQ(hull[4], 1);
    EXPECT_EQ(hull[3], 5);
    EXPECT_EQ(f.ctx.objects.localmatrix[1], "-1");
    EXPECT_EQ(f.ctx.objects.rotZ, "90");

    cmdCopyRotationMatrix_Click(f.ctx, "Gun");
    EXPECT_EQ(hull[0], -1);
    EXPECT_EQ(hull[5], -1);
    EXPECT_EQ(hull[1], 0);
    EXPECT_EQ(std::abs(leadingNumber(f.ctx.objects.rotZ)), 180);

    const Matrix4 before = hull;
    cmdCopyRotationMatrix_Click(f.ctx, "Hull");  // from itself
    EXPECT_EQ(hull, before);
    EXPECT_TRUE(f.t.errors.reports.empty());
}

TEST(ObjectDialogs, CopyRotationWithoutASelectionDoesNothing) {
    DialogFixture f({{"base", 0}, {"Hull", 1}});
    f.object(0).matrix[1] = 7;
    const Matrix4 before = f.object(1).matrix;
    cmdCopyRotationMatrix_Click(f.ctx, "base");
    EXPECT_EQ(f.object(1).matrix, before);
}

TEST(ObjectDialogs, PivotMovesTheVerticesAndTheChildrenKeepFollowing) {
    DialogFixture f({{"base", 0}, {"Hull", 1}, {"Gun", 2}});
    f.select(1);
    frmPivot_Activate(f.ctx);
    EXPECT_EQ(f.ctx.objects.dialogs.txtPivot, (std::array<std::string, 3>{"0", "0", "0"}));
    const auto frame = f.ctx.view.viewObjects[1].frame;
    const auto oldMesh = f.ctx.view.viewObjects[1].mesh;
    f.ctx.objects.dialogs.txtPivot = {"1.5", " -2", "0"};
    EXPECT_TRUE(cmdPivot_Click(f.ctx));
    const PeoObject& hull = f.object(1);
    EXPECT_EQ(hull.vertices[0].x, 2.5f);
    EXPECT_EQ(hull.vertices[0].y, -2.0f);
    EXPECT_EQ(hull.minX, 2.5f);
    EXPECT_EQ(hull.maxX, 3.5f);
    EXPECT_EQ(hull.minY, -2.0f);
    EXPECT_EQ(hull.maxY, 0.0f);
    EXPECT_EQ(f.ctx.objects.dialogs.lblObjectSize[6], "2.5");
    const ViewObject& view = f.ctx.view.viewObjects[1];
    EXPECT_EQ(view.frame, frame);
    EXPECT_NE(view.mesh, oldMesh);
    EXPECT_EQ(f.ctx.view.viewObjects[2].frame->getParent(), frame);
    EXPECT_EQ(frame->getParent(), f.ctx.view.viewObjects[0].frame);
    EXPECT_TRUE(f.logHas({"Pivoting....", "Offset Values: ", "X: 1.5", "Y: -2", "Z: 0", "0: 1 0 0", "0: 2.5 -2 0"}));
    // The selection marker still hangs from the object's frame.
    EXPECT_EQ(f.ctx.view.selectionMarker.frame->getParent(), frame);
}

TEST(ObjectDialogs, PivotOfZeroRebuildsOnlyAndAHiddenObjectEndsShown) {
    DialogFixture f({{"base", 0}, {"Hull", 1}});
    hideObject(f.ctx, 1);
    f.select(1);
    const std::vector<PeoVertex> before = f.object(1).vertices;
    const auto oldMesh = f.ctx.view.viewObjects[1].mesh;
    frmPivot_Activate(f.ctx);
    EXPECT_TRUE(cmdPivot_Click(f.ctx));
    EXPECT_EQ(f.object(1).vertices, before);
    EXPECT_NE(f.ctx.view.viewObjects[1].mesh, oldMesh);
    EXPECT_EQ(f.ctx.view.viewObjects[1].shown, -1);
    EXPECT_TRUE(f.ctx.shell.treeHeirachy.find("o1")->checked);
}

TEST(ObjectDialogs, PivotWithALetterShowsTheMessageAndChangesNothing) {
    DialogFixture f({{"base", 0}, {"Hull", 1}});
    f.select(1);
    const std::vector<PeoVertex> before = f.object(1).vertices;
    const auto oldMesh = f.ctx.view.viewObjects[1].mesh;
    f.ctx.objects.dialogs.txtPivot = {"1", "a", "2"};
    f.t.prompts.expectMessage("Invalid input detected! Please re-enter offsets");
    EXPECT_FALSE(cmdPivot_Click(f.ctx));
    EXPECT_EQ(f.object(1).vertices, before);
    EXPECT_EQ(f.ctx.view.viewObjects[1].mesh, oldMesh);
    EXPECT_FALSE(f.logHas({"Pivoting...."}));
}

TEST(ObjectDialogs, MoreThan32768VerticesStopBakeAndPivotBeforeAnyChange) {
    DialogFixture f({{"base", 0}, {"Hull", 1}});
    PeoObject& hull = f.object(1);
    hull.vertices.resize(32769, PeoVertex{1, 1, 1, 0, 0});
    hull.matrix[3] = 4;
    f.select(1);
    const std::vector<PeoVertex> before = hull.vertices;
    cmdBakeVertices_Click(f.ctx);
    ASSERT_EQ(f.t.errors.reports.size(), 1u);
    EXPECT_EQ(f.t.errors.reports[0].number, 6);
    EXPECT_EQ(f.t.errors.reports[0].procedure, "cmdBakeVertices_Click");
    EXPECT_EQ(hull.vertices, before);
    EXPECT_EQ(hull.matrix[3], 4);
    EXPECT_TRUE(f.logHas({"Baking....", "Matrix Values: ", "X: 4"}));

    f.ctx.objects.dialogs.txtPivot = {"1", "1", "1"};
    EXPECT_FALSE(cmdPivot_Click(f.ctx));
    ASSERT_EQ(f.t.errors.reports.size(), 2u);
    EXPECT_EQ(f.t.errors.reports[1].module, "frmPivot");
    EXPECT_EQ(hull.vertices, before);
}

TEST(ObjectDialogs, BakeAndPivotOnSharedGeometrySurviveASave) {
    // Bake on a sharer: the sharer's own vertices are saved; its source keeps its own.
    {
        DialogFixture f({{"base", 0}, {"Hull", 1}, {"Hull2", 1}});
        f.object(2).vertices = f.object(1).vertices;
        f.object(2).sharedWith = 1;
        f.object(2).matrix[3] = 10;
        f.select(2);
        cmdBakeVertices_Click(f.ctx);
        EXPECT_EQ(f.object(2).sharedWith, -1);
        auto xs = f.savedXs();
        EXPECT_EQ(xs["Hull2"], (std::vector<float>{11, 12, 12, 11}));
        EXPECT_EQ(xs["Hull"], (std::vector<float>{1, 2, 2, 1}));
    }
    // Pivot on a source with two sharers: the sharers keep the old geometry.
    {
        DialogFixture f({{"base", 0}, {"Hull", 1}, {"Hull2", 1}, {"Hull3", 1}});
        for (int i : {2, 3}) {
            f.object(i).vertices = f.object(1).vertices;
            f.object(i).sharedWith = 1;
        }
        f.select(1);
        f.ctx.objects.dialogs.txtPivot = {"100", "0", "0"};
        EXPECT_TRUE(cmdPivot_Click(f.ctx));
        auto xs = f.savedXs();
        EXPECT_EQ(xs["Hull"], (std::vector<float>{101, 102, 102, 101}));
        EXPECT_EQ(xs["Hull2"], (std::vector<float>{1, 2, 2, 1}));
        EXPECT_EQ(xs["Hull3"], (std::vector<float>{1, 2, 2, 1}));
    }
}
