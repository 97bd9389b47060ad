#include <gtest/gtest.h>

#include <array>
#include <limits>

#include "MeshToolsFixture.h"
#include "meshtools/ObjectSize.h"
#include "meshtools/ScaleRotate.h"
#include "meshtools/state/ToolsPageState.h"
#include "platform/SpacedUpdates.h"
#include "preview/ObjectMeshes.h"
#include "scene/Frame.h"
#include "scene/Scene.h"

using namespace tarv;
using namespace tarv::test;

namespace {

// What Scale and Rotate may change in an object.
struct Geometry {
    std::vector<PeoVertex> vertices;
    std::vector<PeoPolygon> polygons;
    std::vector<PeoNormal> normals;
    std::array<float, 16> matrix;
    std::array<float, 6> extents;
    friend bool operator==(const Geometry&, const Geometry&) = default;
};
Geometry geometryOf(const PeoObject& o) {
    return {o.vertices, o.polygons, o.vertexNormals, o.matrix.m, {o.maxX, o.maxY, o.maxZ, o.minX, o.minY, o.minZ}};
}
std::vector<Geometry> geometryOf(const ShipModel& model) {
    std::vector<Geometry> all;
    for (const PeoObject& o : model.peoObjects) all.push_back(geometryOf(o));
    return all;
}

struct ScaleRotateTest : MeshToolsFixture {
    std::vector<float> mexCalls;
    std::vector<std::pair<int16_t, float>> madCalls;
    ScaleSteps steps{[this](EditingContext&, float f) { mexCalls.push_back(f); },
                     [this](EditingContext&, int16_t track, float f) { madCalls.push_back({track, f}); }};
    ToolsPageState& tools = *ctx.toolsPage;

    ScaleRotateTest() {
        materials(1);
        tools.chkScalePEO = tools.chkScaleMEX = tools.chkScaleMAD = true;
        tools.cmbRotateAmount.items = {"90", "180"};
        tools.cmbRotateAmount.listIndex = 0;
    }
    // Object 0 "Hull" (a top-level object moved to (4, 5, 6)) and object 1 "Gun" under it.
    void twoObjects() {
        PeoObject hull = makeObject("Hull", {{0, 0, 0}, {10, 0, 0}, {0, 20, 0}, {0, 0, 30}}, {{0, 1, 2}, {0, 2, 3}});
        hull.matrix[3] = 4, hull.matrix[7] = 5, hull.matrix[11] = 6;
        add(hull);
        PeoObject gun = makeObject("Gun", {{1, 2, 3}, {2, 2, 3}, {1, 3, 4}}, {{0, 1, 2}});
        gun.mother = 1;
        add(gun, "o0");
    }
    // The preview as a load leaves it: every object's frame under its mother's frame, shown, unposed.
    void preview() {
        ctx.view.modelFrame = scene::createFrame();
        ctx.view.viewObjects.assign(size_t(model.objectCount()), ViewObject{});
        for (int16_t i = 0; i < model.objectCount(); ++i) {
            create3dObject(ctx, i);
            ViewObject& v = ctx.view.viewObjects[size_t(i)];
            const int32_t mother = model.peoObjects[size_t(i)].mother;
            (mother ? ctx.view.viewObjects[size_t(mother - 1)].frame : ctx.view.modelFrame)->addChild(v.frame);
            v.shown = -1;
        }
    }
    Vector3 framePosition(int i) const {
        const auto& frame = ctx.view.viewObjects[size_t(i)].frame;
        return frame->getPosition(frame->getParent());
    }
    void noReports() {
        for (const auto& r : t.errors.reports) ADD_FAILURE() << r.procedure << ": " << r.description;
    }
};

// ---- Ship classes ----

TEST_F(ScaleRotateTest, AShipClassGivesItsPercentageRoundedToThreeDecimals) {
    model.modelExtent = 120;
    const std::pair<int, const char*> cases[] = {{1, "100"}, {0, "50"}, {2, "333.333"}, {5, "5833.333"}};
    for (const auto& [index, text] : cases) {
        tools.txtScaleAmountEnabled = true;
        selectObjectSize(ctx, index);
        EXPECT_EQ(tools.txtScaleAmount, text) << index;
        EXPECT_FALSE(tools.txtScaleAmountEnabled);
    }
    tools.txtScaleAmount = "12.5";
    selectObjectSize(ctx, 6);  // "Custom"
    EXPECT_TRUE(tools.txtScaleAmountEnabled);
    EXPECT_EQ(tools.txtScaleAmount, "12.5");
}

TEST_F(ScaleRotateTest, AShipClassAfterAScaleWithoutObjectsKeepsTheTextAndDisablesTheBox) {
    model.modelExtent = 60;
    tools.txtScaleAmount = "150";
    cmdScalePeo_Click(ctx, steps);  // no objects: modelExtent stays 0
    EXPECT_EQ(model.modelExtent, 0);
    tools.txtScaleAmountEnabled = true;
    selectObjectSize(ctx, 3);
    EXPECT_EQ(tools.txtScaleAmount, "150");
    EXPECT_FALSE(tools.txtScaleAmountEnabled);
    noReports();
}

// ---- Scale ----

TEST_F(ScaleRotateTest, Scale200DoublesVerticesExtentsTranslationsAndTheModelExtent) {
    twoObjects();
    preview();
    const double before = model.modelExtent;
    ASSERT_EQ(before, 30);
    tools.txtScaleAmount = "200";
    cmdScalePeo_Click(ctx, steps);
    noReports();
    const PeoObject& hull = model.peoObjects[0];
    EXPECT_EQ(hull.vertices[3], (PeoVertex{0, 0, 60, 3, 0}));
    EXPECT_EQ(hull.vertices[2].y, 40);
    EXPECT_EQ(hull.maxX, 20); EXPECT_EQ(hull.maxY, 40); EXPECT_EQ(hull.maxZ, 60);
    EXPECT_EQ(model.peoObjects[1].minX, 2); EXPECT_EQ(model.peoObjects[1].minZ, 6);
    EXPECT_EQ(hull.matrix[3], 8); EXPECT_EQ(hull.matrix[7], 10); EXPECT_EQ(hull.matrix[11], 12);
    EXPECT_EQ(hull.matrix[0], 1);  // the rotation part stays
    EXPECT_EQ(model.modelExtent, 2 * before);
    // The rebuilt frames keep their links and take the new translation.
    EXPECT_EQ(ctx.view.viewObjects[1].frame->getParent(), ctx.view.viewObjects[0].frame);
    EXPECT_EQ(ctx.view.viewObjects[0].frame->getParent(), ctx.view.modelFrame);
    EXPECT_FLOAT_EQ(framePosition(0).x, 8);
    EXPECT_EQ(ctx.view.viewObjects[1].shown, -1);
    EXPECT_EQ(prompts.messages(), std::vector<std::string>{"Scaling complete."});
    EXPECT_EQ(mexCalls, std::vector<float>{2.0f});
    EXPECT_EQ(ctx.road.ssTab1Page, 0);
    EXPECT_FALSE(t.status.progress(ProgressBar::LoadTextures).visible);
}

TEST_F(ScaleRotateTest, ScaleLogsEachObjectAfterClearingTheLogBox) {
    twoObjects();
    t.status.logBox = "old text\r\n";
    tools.txtScaleAmount = "50.5";
    cmdScalePeo_Click(ctx, steps);
    const std::string& log = t.status.logBox;
    EXPECT_EQ(log.find("old text"), std::string::npos);
    const size_t first = log.find("Rescaling object 0: Hull by 50.5%\r\n");
    const size_t second = log.find("Rescaling object 1: Gun by 50.5%\r\n");
    ASSERT_NE(first, std::string::npos);
    ASSERT_NE(second, std::string::npos);
    EXPECT_LT(first, second);
    EXPECT_EQ(log.substr(log.size() - 19), "Scaling complete.\r\n");
}

TEST_F(ScaleRotateTest, OnlyMexScalesTheChunksOnceAndKeepsTheModel) {
    twoObjects();
    model.peoObjects[1].madObjectIndex = 3;
    model.modelExtent = 30;
    const auto objects = geometryOf(model);
    tools.chkScalePEO = tools.chkScaleMAD = false;
    tools.txtScaleAmount = "300";
    cmdScalePeo_Click(ctx, steps);
    EXPECT_EQ(mexCalls, std::vector<float>{3.0f});
    EXPECT_TRUE(madCalls.empty());
    EXPECT_EQ(geometryOf(model), objects);
    EXPECT_EQ(model.modelExtent, 30);
    EXPECT_EQ(prompts.messages(), std::vector<std::string>{"Scaling complete."});
}

TEST_F(ScaleRotateTest, MadScalesTheTrackOfEachLinkedObject) {
    twoObjects();
    add(makeObject("Wing", {{1, 1, 1}}, {}));
    model.peoObjects[0].madObjectIndex = 2;
    model.peoObjects[2].madObjectIndex = 0;
    tools.chkScalePEO = tools.chkScaleMEX = false;
    tools.txtScaleAmount = "25";
    cmdScalePeo_Click(ctx, steps);
    EXPECT_EQ(madCalls, (std::vector<std::pair<int16_t, float>>{{2, 0.25f}, {0, 0.25f}}));
    EXPECT_TRUE(mexCalls.empty());
}

TEST_F(ScaleRotateTest, WithNoBoxTickedNothingChangesAndNoMessageShowsButTheLogIsCleared) {
    twoObjects();
    const auto objects = geometryOf(model);
    tools.chkScalePEO = tools.chkScaleMEX = tools.chkScaleMAD = false;
    t.status.logBox = "old";
    tools.txtScaleAmount = "200";
    cmdScalePeo_Click(ctx, steps);
    EXPECT_EQ(geometryOf(model), objects);
    EXPECT_TRUE(prompts.messages().empty());
    EXPECT_EQ(t.status.logBox, "");
    EXPECT_TRUE(mexCalls.empty() && madCalls.empty());
}

TEST_F(ScaleRotateTest, AnAmountThatIsNotAPositiveNumberIsRefusedBeforeAnythingChanges) {
    twoObjects();
    model.modelExtent = 30;
    const auto objects = geometryOf(model);
    for (const char* text : {"0", "-50", "abc", "", "1e-50"}) {
        prompts.shown.clear();
        t.status.logBox = "kept";
        tools.txtScaleAmount = text;
        cmdScalePeo_Click(ctx, steps);
        EXPECT_EQ(prompts.messages(), std::vector<std::string>{"Please enter a numeric scale amount."}) << text;
        EXPECT_EQ(t.status.logBox, "kept") << text;
        EXPECT_EQ(geometryOf(model), objects) << text;
        EXPECT_EQ(model.modelExtent, 30) << text;
    }
    EXPECT_TRUE(mexCalls.empty() && madCalls.empty());
    noReports();
}

TEST_F(ScaleRotateTest, AFactorBeyondTheFloatRangeIsAnOverflowBeforeAnyChange) {
    twoObjects();
    model.modelExtent = 30;
    const auto objects = geometryOf(model);
    tools.txtScaleAmount = "1e41";  // a factor of 1e39
    cmdScalePeo_Click(ctx, steps);
    ASSERT_EQ(t.errors.reports.size(), 1u);
    EXPECT_EQ(t.errors.reports[0].number, 6);
    EXPECT_EQ(t.errors.reports[0].procedure, "cmdScalePeo_Click");
    EXPECT_EQ(geometryOf(model), objects);
    EXPECT_EQ(model.modelExtent, 30);
}

TEST_F(ScaleRotateTest, AnOverflowingProductReportsScaleObjectAndStopsTheCommand) {
    twoObjects();
    model.peoObjects[1].vertices[0].x = 3e38f;
    const Geometry gun = geometryOf(model.peoObjects[1]);
    tools.txtScaleAmount = "200";
    cmdScalePeo_Click(ctx, steps);
    ASSERT_EQ(t.errors.reports.size(), 1u);
    const auto& report = t.errors.reports[0];
    EXPECT_EQ(report.number, 6);
    EXPECT_EQ(report.module, "modPeo");
    EXPECT_EQ(report.procedure, "scaleObject");
    EXPECT_EQ(report.arguments, "1 | 2 | ");
    EXPECT_EQ(model.peoObjects[0].vertices[1].x, 20);  // done before the failure
    EXPECT_EQ(geometryOf(model.peoObjects[1]), gun);               // the failing object is left as it was
    EXPECT_TRUE(mexCalls.empty());
    EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(ScaleRotateTest, DeletedObjectsAreScaledButStayHidden) {
    twoObjects();
    preview();
    ctx.view.viewObjects[1].frame->getParent()->deleteChild(ctx.view.viewObjects[1].frame);
    ctx.view.viewObjects[1].shown = 0;
    model.peoObjects[1].name = kDeletedObjectName;
    tools.txtScaleAmount = "200";
    cmdScalePeo_Click(ctx, steps);
    noReports();
    EXPECT_EQ(model.peoObjects[1].vertices[0].x, 2);
    EXPECT_EQ(ctx.view.viewObjects[1].shown, 0);
    EXPECT_EQ(ctx.view.viewObjects[1].frame->getParent(), nullptr);
}

TEST_F(ScaleRotateTest, TheLocalAxesFollowTheSelectedObject) {
    twoObjects();
    preview();
    ctx.view.selectionMarker.name = ctx.view.viewObjects[1].name;
    tools.txtScaleAmount = "200";
    cmdScalePeo_Click(ctx, steps);
    noReports();
    ASSERT_NE(ctx.view.selectionMarker.frame, nullptr);
    EXPECT_EQ(ctx.view.selectionMarker.frame->getParent(), ctx.view.viewObjects[1].frame);
}

// ---- Rotate ----

struct TurnCase {
    int axis, mode;
    PeoVertex vertex;
};

TEST_F(ScaleRotateTest, EveryAxisAndModeTurnsTheVertexAndReversesThePolygon) {
    const TurnCase cases[] = {
        {0, 0, {1, 3, 2, 0, 0}}, {1, 0, {3, 2, 1, 0, 0}}, {2, 0, {2, 1, 3, 0, 0}},
        {0, 1, {1, 2, -3, 0, 0}}, {1, 1, {-1, 2, 3, 0, 0}}, {2, 1, {1, -2, 3, 0, 0}},
    };
    for (const TurnCase& c : cases) {
        fresh();
        materials(1);
        PeoObject o = makeObject("A", {{1, 2, 3}}, {});
        PeoPolygon p;
        p.v0 = 5, p.v1 = 6, p.v2 = 7, p.s1 = 0.5f, p.t2 = 0.25f, p.faceNormal = 9;
        o.polygons = {p};
        add(o);
        tools.rotateOption = c.axis;
        tools.cmbRotateAmount.listIndex = c.mode;
        cmdRotate_Click(ctx);
        const PeoObject& turned = model.peoObjects[0];
        EXPECT_EQ(turned.vertices[0], c.vertex) << c.axis << " " << c.mode;
        EXPECT_EQ(turned.polygons[0].v0, 5);
        EXPECT_EQ(turned.polygons[0].v1, 7);
        EXPECT_EQ(turned.polygons[0].v2, 6);
        EXPECT_EQ(turned.polygons[0].s1, 0.5f);  // texture coordinates and other fields stay
        EXPECT_EQ(turned.polygons[0].t2, 0.25f);
        EXPECT_EQ(turned.polygons[0].faceNormal, 9);
    }
    noReports();
}

TEST_F(ScaleRotateTest, RotatingTwiceGivesBackTheModelAndTheMatrixNeverChanges) {
    twoObjects();
    model.peoObjects[0].vertexNormals = {{0, 0, 1}};
    const auto objects = geometryOf(model);
    for (int axis = 0; axis < 3; ++axis)
        for (int mode = 0; mode < 2; ++mode) {
            tools.rotateOption = axis;
            tools.cmbRotateAmount.listIndex = mode;
            cmdRotate_Click(ctx);
            EXPECT_EQ(model.peoObjects[0].matrix.m, objects[0].matrix);
            EXPECT_EQ(model.peoObjects[0].vertexNormals, objects[0].normals);
            cmdRotate_Click(ctx);
            EXPECT_EQ(geometryOf(model), objects) << axis << " " << mode;
        }
}

TEST_F(ScaleRotateTest, TheExtentsAreThoseOfTheTurnedVertices) {
    add(makeObject("A", {{0, -1, 2}, {10, 1, 4}}, {}));
    add(makeObject("Empty", {}, {}));
    model.peoObjects[1].maxX = 5;
    tools.rotateOption = 2;
    cmdRotate_Click(ctx);
    const PeoObject& a = model.peoObjects[0];
    EXPECT_EQ(a.minX, -1); EXPECT_EQ(a.maxX, 1);
    EXPECT_EQ(a.minY, 0); EXPECT_EQ(a.maxY, 10);
    EXPECT_EQ(a.minZ, 2); EXPECT_EQ(a.maxZ, 4);
    EXPECT_EQ(model.peoObjects[1].maxX, 0);
    EXPECT_NE(t.status.logBox.find("Rotating object 0: A\r\nRotating object 1: Empty\r\n"), std::string::npos);
    EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(ScaleRotateTest, WithoutASelectedModeRotateDoesNothing) {
    twoObjects();
    const auto objects = geometryOf(model);
    tools.cmbRotateAmount.listIndex = -1;
    cmdRotate_Click(ctx);
    EXPECT_EQ(geometryOf(model), objects);
    EXPECT_EQ(t.status.logBox, "");
}

TEST_F(ScaleRotateTest, TurnedFramesArePosedFromTheirMatrixAndKeepTheirLinks) {
    twoObjects();
    preview();  // unposed frames
    cmdRotate_Click(ctx);
    noReports();
    const Vector3 at = framePosition(0);
    EXPECT_FLOAT_EQ(at.x, 4); EXPECT_FLOAT_EQ(at.y, 5); EXPECT_FLOAT_EQ(at.z, 6);
    EXPECT_EQ(ctx.view.viewObjects[1].frame->getParent(), ctx.view.viewObjects[0].frame);
    EXPECT_EQ(ctx.view.viewObjects[0].shown, -1);
    EXPECT_EQ(ctx.view.viewObjects[1].shown, -1);
}

TEST_F(ScaleRotateTest, DeletedObjectsAreTurnedButStayHidden) {
    twoObjects();
    preview();
    ctx.view.viewObjects[1].frame->getParent()->deleteChild(ctx.view.viewObjects[1].frame);
    ctx.view.viewObjects[1].shown = 0;
    model.peoObjects[1].name = kDeletedObjectName;
    cmdRotate_Click(ctx);
    noReports();
    EXPECT_EQ(model.peoObjects[1].vertices[0], (PeoVertex{1, 3, 2, 0, 0}));
    EXPECT_EQ(ctx.view.viewObjects[1].shown, 0);
    EXPECT_EQ(ctx.view.viewObjects[1].frame->getParent(), nullptr);
}

}  // namespace

namespace {

// ---- What the window hears of a command ----

// Through the window's spaced updates, the status texts and log lines of a whole-model command reach the
// window together, with an event pump at most once every few milliseconds, all of them before the message and
// the rest at the end of the command.
TEST_F(ScaleRotateTest, TheWindowHearsOfTheCommandInSpacedBatches) {
    for (int i = 0; i < 20; ++i)
        add(makeObject("O" + std::to_string(i), {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}}));
    preview();
    t.status.statusHistory.clear();
    t.status.eventPumps = 0;
    SpacedUpdates spaced(t.status, t.errors, prompts, t.clock);
    ctx.services.status = &spaced.status();
    ctx.services.errorReport = &spaced.errorReport();
    ctx.services.prompts = &spaced.prompts();
    int pumpsBefore = -1, pumpsAfter = -1;
    std::string logBefore, logAfter;
    const ScaleSteps watching{[&](EditingContext& c, float) {
                                  // The clock stands still: nothing went through yet, and a pump is held back.
                                  c.status().processEvents();
                                  pumpsBefore = t.status.eventPumps;
                                  logBefore = t.status.logBox;
                                  t.clock.advance(SpacedUpdates::kSpacingSeconds);
                                  c.status().processEvents();
                                  pumpsAfter = t.status.eventPumps;
                                  logAfter = t.status.logBox;
                              },
                              nullptr};
    tools.txtScaleAmount = "100";
    tools.chkScaleMAD = false;
    cmdScalePeo_Click(ctx, watching);
    const std::string logAtEnd = t.status.logBox;
    spaced.flush();  // the window's end of the command
    ctx.services.status = &t.status;
    ctx.services.errorReport = &t.errors;
    ctx.services.prompts = &prompts;
    noReports();
    EXPECT_EQ(logAtEnd.find("Scaling complete."), std::string::npos);  // logged after the message
    EXPECT_EQ(pumpsBefore, 0);
    EXPECT_EQ(logBefore, "");
    EXPECT_EQ(pumpsAfter, 1);
    size_t previous = 0;
    for (int i = 0; i < 20; ++i) {  // every line, in order
        const size_t at = logAfter.find("Rescaling object " + std::to_string(i) + ": O" + std::to_string(i) + " by");
        ASSERT_NE(at, std::string::npos) << i;
        EXPECT_GE(at, previous) << i;
        previous = at;
    }
    // Each object set the status label twice; the window got the latest text once, with the one pump.
    EXPECT_EQ(t.status.statusHistory, (std::vector<std::string>{"Optimizing mesh"}));
    EXPECT_NE(t.status.logBox.find("Scaling complete."), std::string::npos);
    EXPECT_FALSE(t.status.progress(ProgressBar::Status2).visible);
    EXPECT_EQ(prompts.messages(), (std::vector<std::string>{"Scaling complete."}));
}

}  // namespace
