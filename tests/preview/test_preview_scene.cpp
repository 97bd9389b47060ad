// The preview scene's set-up and the frame helpers that pose a view record's frame.
#include <gtest/gtest.h>

#include <cmath>

#include "Fakes.h"
#include "TempDir.h"
#include "base/RunTimeError.h"
#include "preview/PreviewScene.h"
#include "scene/Scene.h"

using namespace tarv;
using namespace tarv::scene;
using tarv::test::TempDir;
using tarv::test::TestContext;

namespace {

// A canvas that starts or fails as told and counts its renders.
class FakeCanvas : public Canvas {
public:
    bool startOk = true;
    std::string error;
    int renders = 0;
    bool start() override { return startOk; }
    std::string lastErrorText() const override { return error; }
    void render() override { ++renders; }
    void refresh() override { ++renders; }
    void setHeld(bool) override {}
};

void expectPosition(const Vector3& got, const Vector3& want) {
    EXPECT_NEAR(got.x, want.x, 1e-4);
    EXPECT_NEAR(got.y, want.y, 1e-4);
    EXPECT_NEAR(got.z, want.z, 1e-4);
}

}  // namespace

TEST(InitialiseComponents, BuildsTheFrameTreeAndRendersOnce) {
    TempDir dir;
    TestContext t(dir.path());
    FakeCanvas canvas;
    t.ctx.view.canvas = &canvas;
    InitialiseComponents(t.ctx);
    const ViewState& v = t.ctx.view;

    EXPECT_EQ(v.worldFrame->getParent(), v.sceneFrame);
    EXPECT_EQ(v.modelFrame->getParent(), v.worldFrame);
    EXPECT_EQ(v.orbitFrame->getParent(), v.worldFrame);
    EXPECT_EQ(v.zoomFrame->getParent(), v.orbitFrame);
    EXPECT_EQ(v.cameraFrame, v.viewport->getCamera());
    EXPECT_EQ(v.cameraFrame->getParent(), v.zoomFrame);
    EXPECT_EQ(v.lightFrame->getParent(), v.cameraFrame);
    EXPECT_EQ(v.sceneFrame->children(), (std::vector<FramePtr>{v.worldFrame}));  // the camera moved away
    EXPECT_EQ(v.worldFrame->children(), (std::vector<FramePtr>{v.modelFrame, v.orbitFrame}));
    EXPECT_EQ(v.viewport->getBack(), 25000);
    EXPECT_EQ(canvas.renders, 1);
    EXPECT_EQ(t.ctx.err.errModule, "modD3D");
    EXPECT_EQ(t.ctx.err.errProc, "InitialiseComponents");
    EXPECT_TRUE(t.prompts.shown.empty());
    EXPECT_TRUE(t.errors.reports.empty());
}

TEST(InitialiseComponents, BackgroundFromThePreference) {
    struct Case {
        int16_t pref;
        std::optional<int32_t> background;
    };
    for (const Case c : {Case{0, std::nullopt}, Case{1, 0}, Case{2, 127 + 256 * 127 + 65536 * 127},
                         Case{3, 196 + 256 * 196 + 65536 * 196}, Case{9, std::nullopt}}) {
        TempDir dir;
        TestContext t(dir.path());
        t.ctx.prefs.renderBackground = c.pref;
        InitialiseComponents(t.ctx);
        EXPECT_EQ(t.ctx.view.sceneFrame->sceneBackground(), c.background) << c.pref;
    }
}

TEST(InitialiseComponents, AFailingCanvasGivesOneMessageAndNoReport) {
    TempDir dir;
    TestContext t(dir.path());
    FakeCanvas canvas;
    canvas.startOk = false;
    canvas.error = "No OpenGL context could be made.";
    t.ctx.view.canvas = &canvas;
    t.prompts.expectMessage("3d Preview window initialisation failed! No OpenGL context could be made.",
                            t.ctx.version.appTitle);
    InitialiseComponents(t.ctx);
    EXPECT_EQ(t.prompts.shown.size(), 1u);
    EXPECT_TRUE(t.errors.reports.empty());
    EXPECT_EQ(t.ctx.view.worldFrame, nullptr);  // the steps after the failure are not done
    EXPECT_EQ(canvas.renders, 0);
}

TEST(FrameHelpers, PlaceTheFrameRelativeToItsCurrentParent) {
    TempDir dir;
    TestContext t(dir.path());
    InitialiseComponents(t.ctx);
    ViewState& v = t.ctx.view;
    auto mother = createFrame(v.modelFrame);
    mother->setPosition(nullptr, 0, 100, 0);
    mother->addRotation(kCombineBefore, 0, 0, 1, M_PI / 2);

    ViewObject view;
    view.frame = createFrame(v.modelFrame);
    view.matrix = Matrix4::identity();
    view.matrix[3] = 1;
    view.matrix[7] = 2;
    view.matrix[11] = 3;
    positionViewObject(view);
    expectPosition(view.frame->getPosition(nullptr), {1, 2, 3});

    mother->addChild(view.frame);  // re-parented: the same matrix now means a place in the mother's frame
    positionViewObject(view);
    expectPosition(view.frame->getPosition(mother), {1, 2, 3});
    expectPosition(view.frame->getPosition(nullptr), {-2, 101, 3});

    setFramePosition(view, {5, 0, 0});
    expectPosition(view.frame->getPosition(nullptr), {0, 105, 0});

    const float h = float(std::sqrt(0.5));
    setFrameQuaternion(view, {h, 0, 0, -h});  // relative to the mother: local x along the mother's y
    const Vec3 x = view.frame->localTransform().applyToVector({1, 0, 0});
    EXPECT_NEAR(x.y, 1, 1e-6);
    expectPosition(view.frame->getPosition(mother), {5, 0, 0});  // the position stays

    ViewObject empty;
    EXPECT_THROW(positionViewObject(empty), RunTimeError);
}

#include "model/RotationMath.h"
#include "editor/context/EditingContext.h"

namespace {

// A context with one object whose matrix turns a quarter about z and moves it to (10, 20, 30), shown under
// the model frame.
struct OneObject {
    TempDir dir;
    TestContext t{dir.path()};
    OneObject() {
        InitialiseComponents(t.ctx);
        PeoObject object;
        object.matrix = Matrix4::identity();  // Rz(90): x onto y, y onto -x
        object.matrix.at(0, 0) = 0;
        object.matrix.at(0, 1) = -1;
        object.matrix.at(1, 0) = 1;
        object.matrix.at(1, 1) = 0;
        object.matrix[3] = 10.00004f;
        object.matrix[7] = 20;
        object.matrix[11] = 30;
        t.ctx.model.peoObjects.push_back(object);
        ViewObject view;
        view.frame = createFrame(t.ctx.view.modelFrame);
        t.ctx.view.viewObjects.push_back(view);
    }
    const FramePtr& frame() { return t.ctx.view.viewObjects[0].frame; }
};

}  // namespace

TEST(ResetPeoObject, PutsAMovedFrameBackToItsMatrix) {
    OneObject o;
    o.frame()->setPosition(nullptr, -5, 5, 5);
    o.frame()->addRotation(kCombineBefore, 1, 0, 0, 1.0);
    resetPeoObject(o.t.ctx, 0);
    EXPECT_TRUE(o.t.errors.reports.empty());
    EXPECT_FLOAT_EQ(o.t.ctx.view.viewObjects[0].matrix[3], 10.0f);  // rounded to 4 decimals
    expectPosition(o.frame()->getPosition(o.t.ctx.view.modelFrame), {10, 20, 30});
    const Vec3 x = o.frame()->localTransform().applyToVector({1, 0, 0});
    EXPECT_NEAR(x.x, 0, 1e-5);
    EXPECT_NEAR(x.y, 1, 1e-5);  // as the object's matrix: x onto y
    EXPECT_NEAR(x.z, 0, 1e-5);
}

TEST(ResetPeoObject, AnIndexPastTheEndIsReported) {
    for (int16_t objNo : {int16_t(1), int16_t(-1)}) {
        OneObject o;
        resetPeoObject(o.t.ctx, objNo);
        ASSERT_EQ(o.t.errors.reports.size(), 1u);
        EXPECT_EQ(o.t.errors.reports[0].module, "modPeo");
        EXPECT_EQ(o.t.errors.reports[0].procedure, "resetPeoObject");
        EXPECT_EQ(o.t.errors.reports[0].arguments, std::to_string(objNo));
    }
    OneObject fewerViews;
    fewerViews.t.ctx.view.viewObjects.clear();
    resetPeoObject(fewerViews.t.ctx, 0);
    EXPECT_EQ(fewerViews.t.errors.reports.size(), 1u);
}

TEST(FrameHelpers, SetFrameRotationTurnsThroughTheKeyframeQuaternion) {
    OneObject o;
    ViewObject& view = o.t.ctx.view.viewObjects[0];
    setFrameRotation(view, {0, 0, 0});
    EXPECT_NEAR(view.frame->localTransform().m[0][0], 1, 1e-6);
    const Quaternion q = makeQuaternion({0.3f, 0.2f, 0.1f});
    setFrameRotation(view, {0.3f, 0.2f, 0.1f});
    const Transform want = quaternionMatrix(q);
    for (size_t i = 0; i < 3; ++i)
        for (size_t j = 0; j < 3; ++j) EXPECT_NEAR(view.frame->localTransform().m[i][j], want.m[i][j], 1e-6);
}
