// Camera, picking, preset views, render modes, Reset View, the popup and the spin, over scripted events.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "Fakes.h"
#include "PreviewFixtures.h"
#include "TempDir.h"
#include "model/RotationMath.h"
#include "preview/PreviewCamera.h"
#include "preview/PreviewMarkers.h"
#include "attachments/state/ShipInfoPageState.h"
#include "editor/context/EditingContext.h"

using namespace tarv;
using namespace tarv::test;

namespace {

// A square of size s centred on the origin of its frame, in the z = 0 plane.
PeoObject centredSquare(const std::string& name, float s) {
    PeoObject o = squarePeoObject(name, s);
    for (PeoVertex& v : o.vertices) {
        v.x -= s / 2;
        v.y -= s / 2;
    }
    o.minX = o.minY = -s / 2;
    o.maxX = o.maxY = s / 2;
    return o;
}

void expectTransform(const scene::Transform& got, const scene::Transform& want) {
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) EXPECT_NEAR(got.m[size_t(i)][size_t(j)], want.m[size_t(i)][size_t(j)], 1e-6);
    EXPECT_NEAR(got.t.x, want.t.x, 1e-5);
    EXPECT_NEAR(got.t.y, want.t.y, 1e-5);
    EXPECT_NEAR(got.t.z, want.t.z, 1e-5);
}

// Two objects under the pointer at the centre of a 200 x 200 canvas: the base, and its child "gun" a
// little farther from the camera (deeper in the hierarchy, but not nearer).
class CameraTest : public ::testing::Test {
protected:
    TempDir dir;
    TestContext t{dir.path()};
    CountingCanvas canvas;
    EditingContext& ctx = t.ctx;
    PreviewControls& controls = ctx.preview.ownControls;
    static constexpr float kCentre = 100, kEmpty = 3;

    void SetUp() override {
        ctx.currentModelPath = (dir / "ship.peo").string();
        ctx.view.canvas = &canvas;
        InitialiseComponents(ctx);
        ctx.view.viewport->setSize(200, 200);
        ctx.model.peoObjects = {centredSquare("base", 10), centredSquare("gun", 4)};
        ctx.model.peoObjects[1].mother = 1;
        ctx.model.peoObjects[1].matrix[3] = 0.5f;
        ctx.model.peoObjects[1].matrix[11] = -1;
        buildScene(ctx);
        ctx.shell.treeHeirachy.addTopLevel("o0", "base");
        ctx.shell.treeHeirachy.addChild("o0", "o1", "gun");
        mnuRenderReset_Click(ctx);
        canvas.renders = 0;
    }
    void click(int16_t button, float x, float y, int16_t shift = 0) {
        RMCanvas1_MouseDown(ctx, button, shift, x, y);
        RMCanvas1_MouseUp(ctx, button, shift, x, y);
    }
    void drag(int16_t button, float x0, float y0, float x1, float y1, int16_t shift = 0) {
        RMCanvas1_MouseDown(ctx, button, shift, x0, y0);
        RMCanvas1_MouseMove(ctx, button, shift, (x0 + x1) / 2, (y0 + y1) / 2);
        RMCanvas1_MouseMove(ctx, button, shift, x1, y1);
        RMCanvas1_MouseUp(ctx, button, shift, x1, y1);
    }
    ViewObject& view(int i) { return ctx.view.viewObjects[size_t(i)]; }
    scene::Transform orbit() { return ctx.view.orbitFrame->localTransform(); }
    scene::Vec3 zoomPosition() { return ctx.view.zoomFrame->localTransform().t; }
};

TEST_F(CameraTest, ClickOnAChildSelectsTheChildEvenWhenItsParentIsNearer) {
    ctx.prefs.highlightColour = {128, 0, 0, 0};
    click(1, kCentre, kCentre);
    EXPECT_EQ(ctx.objects.selectedObject, 1);
    EXPECT_EQ(ctx.objects.lblKey, "o1");
    EXPECT_EQ(ctx.objects.Dx_Label1, "Selected object: gun (X: 0.5 Y: 0 Z: -1)");
    EXPECT_TRUE(ctx.objects.cmdApplyMatrixEnabled && ctx.objects.cmdKeyfApplyEnabled);
    EXPECT_GE(controls.selectionChanges, 1);
    EXPECT_EQ(ctx.shell.treeHeirachy.selectedKey(), "o1");
    EXPECT_EQ(controls.SSTab1, 2);
    EXPECT_EQ(controls.SSTab2, 1);
    // The selection look: solid unlit, the highlight colour as 0..1 (128 shows as 0.502 red), local axes.
    EXPECT_EQ(view(1).mesh->quality(), 128);
    EXPECT_EQ(view(1).mesh->faces()[0]->color(), scene::createColorRGB(128 / 255.0, 0, 0));
    EXPECT_EQ(scene::redOf(view(1).mesh->faces()[0]->color()), 128);
    EXPECT_EQ(ctx.view.selectionMarker.name, "gun");
    EXPECT_EQ(canvas.renders, 1);  // mouse-up renders

    // Selecting the parent (off the child) gives the child its own look back.
    click(1, kCentre + 40, kCentre);
    EXPECT_EQ(ctx.objects.selectedObject, 0);
    EXPECT_EQ(view(1).mesh->quality(), 136);
    EXPECT_EQ(view(1).mesh->faces()[0]->color(), scene::createColorRGB(0.5, 0.5, 0.5));
    EXPECT_EQ(view(1).frame->visuals().size(), 1u);  // the marker left the child
    EXPECT_EQ(ctx.view.selectionMarker.name, "base");
}

TEST_F(CameraTest, TabsStayOnKeyframesOrOnTheLaterPages) {
    struct Case {
        int tab1, tab2, want1, want2;
    };
    for (const Case& c : {Case{0, 0, 2, 1}, Case{4, 0, 2, 1}, Case{5, 0, 5, 0}, Case{1, 2, 1, 2}}) {
        controls.SSTab1 = c.tab1;
        controls.SSTab2 = c.tab2;
        click(1, kCentre, kCentre);
        EXPECT_EQ(controls.SSTab1, c.want1);
        EXPECT_EQ(controls.SSTab2, c.want2);
    }
}

TEST_F(CameraTest, EmptyPickDeselects) {
    click(1, kCentre, kCentre);
    click(1, kEmpty, kEmpty);
    EXPECT_EQ(ctx.objects.selectedObject, -1);
    EXPECT_EQ(ctx.objects.lblKey, "");
    EXPECT_EQ(ctx.objects.Dx_Label1, "Nothing selected");
    EXPECT_FALSE(ctx.objects.cmdAdvancedObjPropsEnabled || ctx.objects.cmdKeyfApplyEnabled);
    EXPECT_EQ(view(1).mesh->quality(), 136);
    EXPECT_EQ(ctx.err.errProc, "HitTest");
}

TEST_F(CameraTest, AOnePixelMoveDoesNotPickButCommitsTheDrag) {
    RMCanvas1_MouseDown(ctx, 1, 0, kCentre, kCentre);
    RMCanvas1_MouseMove(ctx, 1, 0, kCentre + 1, kCentre);
    EXPECT_EQ(ctx.err.errProc, "RMCanvas1_MouseMove");
    EXPECT_EQ(ctx.err.errArgs, "1|0|101|100");
    RMCanvas1_MouseUp(ctx, 1, 0, kCentre + 1, kCentre);
    EXPECT_EQ(ctx.err.errArgs, "1|0|101|100");
    EXPECT_EQ(ctx.objects.selectedObject, -1);
    EXPECT_EQ(ctx.objects.Dx_Label1, "");
    EXPECT_FLOAT_EQ(ctx.preview.camera.orbitAngleX, 0.2f);
    EXPECT_EQ(ctx.preview.camera.mouseIsDown, 0);
    // A move without a button down does nothing.
    const scene::Transform before = orbit();
    RMCanvas1_MouseMove(ctx, 1, 0, 150, 150);
    expectTransform(orbit(), before);
}

TEST_F(CameraTest, RightClickOpensThePopupOnlyWhileSelected) {
    click(2, kCentre, kCentre);
    EXPECT_EQ(controls.popupsShown, 0);
    EXPECT_EQ(ctx.objects.selectedObject, -1);  // a right click never picks
    click(1, kCentre, kCentre);
    click(2, kCentre, kCentre);
    EXPECT_EQ(controls.popupsShown, 1);
    drag(2, kCentre, kCentre, kCentre, kCentre + 2);
    EXPECT_EQ(controls.popupsShown, 1);  // not after a move
}

TEST_F(CameraTest, ButtonTables) {
    // Each row: MouseControl, button mask, and what the drag from (100, 100) to (110, 130) does.
    enum Effect { None, Rotate, Zoom, Pan };
    struct Case {
        int16_t mouseControl, button;
        Effect effect;
    };
    for (const Case& c : {Case{0, 1, Rotate}, Case{0, 2, Zoom}, Case{0, 3, Pan}, Case{0, 4, None}, Case{0, 5, None},
                          Case{1, 1, None}, Case{1, 2, Rotate}, Case{1, 3, Zoom}, Case{1, 5, Pan}, Case{1, 4, None}}) {
        SCOPED_TRACE(testing::Message() << c.mouseControl << " " << c.button);
        ctx.prefs.mouseControl = c.mouseControl;
        mnuRenderReset_Click(ctx);
        drag(c.button, 100, 100, 110, 130);
        const scene::Vec3 z = zoomPosition();
        switch (c.effect) {
        case Rotate: {
            Quaternion q;
            getViewQuaternion(-0.2f, -0.6f, 0, q);
            expectTransform(orbit(), scene::quaternionMatrix(q));
            EXPECT_EQ(z, (scene::Vec3{0, 0, 0}));
            break;
        }
        case Zoom:  // six units of 5 pixels, each a sixth of the extent (10)
            EXPECT_NEAR(z.z, 10, 1e-5);
            EXPECT_NEAR(z.x, 0, 1e-6);
            break;
        case Pan:  // vertical along x five times faster than horizontal along y
            EXPECT_NEAR(z.x, 3, 1e-5);
            EXPECT_NEAR(z.y, -0.2, 1e-5);
            EXPECT_NEAR(z.z, 0, 1e-6);
            break;
        case None:
            expectTransform(orbit(), scene::Transform::identity());
            EXPECT_EQ(z, (scene::Vec3{0, 0, 0}));
            break;
        }
    }
}

TEST_F(CameraTest, ZoomStartsFromThePositionAtMouseDown) {
    drag(2, 100, 100, 100, 130);
    drag(2, 100, 100, 100, 115);
    EXPECT_NEAR(zoomPosition().z, 15, 1e-5);
}

TEST_F(CameraTest, ShiftRollsButCommitsTheWholeMovement) {
    drag(1, 100, 100, 150, 120, 1);
    Quaternion roll;
    getViewQuaternion(0, 0, -0.4f, roll);
    expectTransform(orbit(), scene::quaternionMatrix(roll));
    EXPECT_FLOAT_EQ(ctx.preview.camera.orbitAngleX, 10);
    EXPECT_FLOAT_EQ(ctx.preview.camera.orbitAngleY, 4);
    // The next plain drag starts from the committed angles.
    drag(1, 100, 100, 105, 100);
    Quaternion q;
    getViewQuaternion(-1.1f, -0.4f, 0, q);
    expectTransform(orbit(), scene::quaternionMatrix(q));
}

TEST_F(CameraTest, ResetViewAfterADrag) {
    drag(1, 100, 100, 160, 140);
    drag(2, 100, 100, 100, 150);
    canvas.renders = 0;
    mnuRenderReset_Click(ctx);
    expectTransform(orbit(), scene::Transform::identity());
    EXPECT_EQ(zoomPosition(), (scene::Vec3{0, 0, 0}));
    const scene::Transform camera = ctx.view.cameraFrame->worldTransform();
    EXPECT_NEAR(camera.t.z, 20, 1e-6);
    const scene::Vec3 ahead = camera.applyToVector({0, 0, 1});
    const scene::Vec3 up = camera.applyToVector({0, 1, 0});
    EXPECT_NEAR(ahead.z, -1, 1e-9);
    EXPECT_NEAR(up.x, 1, 1e-9);
    EXPECT_EQ(canvas.renders, 1);
    EXPECT_EQ(ctx.err.errProc, "mnuRenderReset_Click");
    // A picking click afterwards does not bring the old orbit back.
    click(1, kCentre, kCentre);
    expectTransform(orbit(), scene::Transform::identity());
    EXPECT_EQ(ctx.preview.camera.orbitAngleX, 0);
}

TEST_F(CameraTest, RenderModesAndResetViewOfTheSelectedObject) {
    click(1, kCentre, kCentre);
    mnuRenderWireframe_Click(ctx);
    EXPECT_EQ(view(0).mesh->quality(), 64);
    EXPECT_FALSE(ctx.view.mnuRenderFlat);
    EXPECT_FALSE(controls.renderTicksTextured);
    mnuRenderReset_Click(ctx);
    EXPECT_EQ(view(1).mesh->quality(), 72);
    EXPECT_EQ(view(1).mesh->faces()[0]->color(), scene::createColorRGB(0.5, 0.5, 0.5));
    EXPECT_EQ(ctx.view.selectionMarker.name, "");
    EXPECT_EQ(view(1).frame->visuals().size(), 1u);
    EXPECT_TRUE(view(1).frame->children().empty());
    EXPECT_EQ(ctx.objects.selectedObject, 1);  // still selected

    mnuRenderFlat_Click(ctx);
    EXPECT_EQ(view(1).mesh->quality(), 136);
    EXPECT_TRUE(controls.renderTicksTextured);
    click(1, kCentre, kCentre);
    EXPECT_EQ(view(1).mesh->quality(), 128);
    mnuRenderReset_Click(ctx);
    EXPECT_EQ(view(1).mesh->quality(), 136);
}

TEST_F(CameraTest, ResetViewGivesTheSelectedChunkItsColourBack) {
    MexChunk chunk;
    chunk.colour = {255, 128, 0};
    ctx.mex.mexChunks = {chunk};
    ctx.mex.mexMeshes.resize(1);
    ctx.mex.mexMeshes[0].mesh = scene::createMeshBuilder();
    ViewObject& marker = ctx.mex.mexMeshes[0];
    createSphere(ctx, chunk, marker);
    ctx.shipInfoPage->lblMexKey = "gRoot";
    mnuRenderReset_Click(ctx);
    EXPECT_EQ(marker.mesh->faces()[0]->color(), scene::kWhite);
    ctx.shipInfoPage->lblMexKey = "g0";
    mnuRenderReset_Click(ctx);
    EXPECT_EQ(marker.mesh->faces()[0]->color(), scene::createColorRGB(1, 128 / 255.0, 0));
    ctx.shipInfoPage->lblMexKey = "g7";  // no such marker: left alone, no report
    mnuRenderReset_Click(ctx);
    EXPECT_TRUE(t.errors.reports.empty());
}

TEST_F(CameraTest, PresetViews) {
    struct Case {
        int16_t index;
        float x, y;
    };
    for (const Case& c : {Case{0, 0, 0}, Case{1, 31.5f, 0}, Case{2, -15.6f, 0}, Case{3, 15.6f, 0}, Case{4, 0, 7.8f},
                          Case{5, 0, -7.8f}}) {
        view3d_Click(ctx, c.index);
        EXPECT_EQ(ctx.preview.camera.dragAngleX, c.x);
        EXPECT_EQ(ctx.preview.camera.orbitAngleY, c.y);
        Quaternion q;
        getViewQuaternion(-c.x / 10, -c.y / 10, 0, q);
        expectTransform(orbit(), scene::quaternionMatrix(q));
    }
    view3d_Click(ctx, 4);
    const Quaternion top{float(std::cos(0.78)), 0, float(-std::sin(0.78)), 0};
    expectTransform(orbit(), scene::quaternionMatrix(top));
    view3d_Click(ctx, 9);  // any other index re-applies the angles
    expectTransform(orbit(), scene::quaternionMatrix(top));
    EXPECT_EQ(canvas.renders, 0);
}

TEST_F(CameraTest, PopupItemsChooseTheTabs) {
    mnu3dPreviewMatrix_Click(ctx);
    EXPECT_EQ(controls.SSTab1, 2);
    EXPECT_EQ(controls.SSTab2, 1);
    mnu3dPreviewKeyframes_Click(ctx);
    EXPECT_EQ(controls.SSTab2, 2);
    mnu3dPreviewHeirachy_Click(ctx);
    EXPECT_EQ(controls.SSTab2, 0);
}

TEST_F(CameraTest, SpinTurnsObjectZeroAndStopsWhereItStands) {
    mnu3dPreviewSpin_Click(ctx);  // nothing selected: nothing happens
    EXPECT_EQ(controls.mnu3dPreviewSpin, "Spin Object");
    EXPECT_EQ(ctx.preview.playback.isPlaying, 0);

    click(1, kCentre, kCentre);  // the child is selected; the spin still turns object 0
    t.clock.now = 86399.5;       // half a second before midnight: the spin must not jump
    mnu3dPreviewSpin_Click(ctx);
    const PlaybackState& play = ctx.preview.playback;
    EXPECT_EQ(controls.mnu3dPreviewSpin, "Stop Spin");
    EXPECT_EQ(play.isPlaying, 1);
    EXPECT_EQ(play.playObject, -2);
    EXPECT_EQ(play.playAnimation, -2);
    EXPECT_EQ(play.playStartTime, 86399.5);
    const auto& spin = ctx.preview.spinInterpolator;
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(spin->orientationKeyCount(), 9u);
    EXPECT_EQ(spin->attachedObjects(), (std::vector<scene::FramePtr>{view(0).frame}));
    EXPECT_EQ(ctx.err.errProc, "mnu3dPreviewSpin_Click");

    const scene::FramePtr& base = view(0).frame;
    canvas.renders = 0;
    t.clock.advance(1);  // past midnight on the wall clock
    Timer1_Timer(ctx);
    expectTransform(base->localTransform(), scene::quaternionMatrix({1, 0, 0, 0}));
    t.clock.advance(1);
    Timer1_Timer(ctx);
    expectTransform(base->localTransform(), scene::quaternionMatrix({0, -1, 0, 0}));
    t.clock.advance(0.5);
    Timer1_Timer(ctx);
    const scene::Transform pose = base->localTransform();
    EXPECT_EQ(canvas.renders, 3);

    mnu3dPreviewSpin_Click(ctx);
    EXPECT_EQ(controls.mnu3dPreviewSpin, "Spin Object");
    EXPECT_EQ(play.isPlaying, 0);
    t.clock.advance(0.3);
    Timer1_Timer(ctx);
    expectTransform(base->localTransform(), pose);
}

TEST_F(CameraTest, TimerRendersOnlyWhileAModelIsLoaded) {
    Timer1_Timer(ctx);
    EXPECT_EQ(canvas.renders, 1);
    ctx.model.modelLoaded = false;
    Timer1_Timer(ctx);
    EXPECT_EQ(canvas.renders, 1);
}

TEST_F(CameraTest, AnIdleClockDrawsNothing) {
    Timer1_Timer(ctx);  // the scene built for the model
    canvas.renders = 0;
    for (int i = 0; i < 200; ++i) {
        t.clock.advance(0.001);
        Timer1_Timer(ctx);
    }
    EXPECT_EQ(canvas.renders, 0);
}

TEST_F(CameraTest, EveryKindOfSceneChangeDrawsOnceAtTheNextTick) {
    const scene::FramePtr& base = view(0).frame;
    const scene::MeshPtr mesh = base->visuals().at(0);
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"pose", [&] { base->setPosition(base->getParent(), 1, 2, 3); }},
        {"orientation",
         [&] {
             base->setQuaternion(base->getParent(), {0, 1, 0, 0});
         }},
        {"parent", [&] { view(1).frame->getParent()->deleteChild(view(1).frame); }},
        {"visual", [&] { base->deleteVisual(mesh); }},
        {"mesh colour", [&] { mesh->setColorRGB(1, 0, 0); }},
        {"face texture", [&] { mesh->faces().at(0)->setTexture(scene::createTexture(Image{})); }},
        {"mesh quality", [&] { mesh->setQuality(scene::kQualityWireframe); }},
        {"material", [&] { scene::createMaterial(1)->setEmissive(1, 1, 1); }},
        {"background", [&] { ctx.view.viewport->scene()->setSceneBackground(0x00FF00); }},
        {"resize", [&] { ctx.view.viewport->setSize(300, 200); }},
        {"camera",
         [&] {
             RMCanvas1_MouseDown(ctx, 1, 0, 10, 10);
             RMCanvas1_MouseMove(ctx, 1, 0, 40, 10);
         }},
    };
    for (const auto& [name, change] : changes) {
        Timer1_Timer(ctx);
        canvas.renders = 0;
        change();
        Timer1_Timer(ctx);
        Timer1_Timer(ctx);
        EXPECT_GE(canvas.renders, 1) << name;
        const int drawn = canvas.renders;
        Timer1_Timer(ctx);
        EXPECT_EQ(canvas.renders, drawn) << name << ": nothing changed after the draw";
    }
}

TEST_F(CameraTest, APlaybackThatPosesFramesDrawsEveryTick) {
    struct Hook : PlaybackHook {
        scene::FramePtr frame;
        bool advancePlayback(EditingContext& c) override {
            frame->setPosition(frame->getParent(), c.clock().monotonicSeconds(), 0, 0);
            return false;
        }
    } hook;
    hook.frame = view(1).frame;
    ctx.preview.playbackHook = &hook;
    ctx.preview.playback.isPlaying = 1;
    ctx.preview.playback.playObject = -1;
    Timer1_Timer(ctx);
    canvas.renders = 0;
    for (int i = 0; i < 10; ++i) {
        t.clock.advance(0.01);
        Timer1_Timer(ctx);
    }
    EXPECT_EQ(canvas.renders, 10);
}

TEST_F(CameraTest, AnimationPlaybackGoesToItsHook) {
    struct Hook : PlaybackHook {
        int steps = 0;
        bool advancePlayback(EditingContext&) override {
            ++steps;
            return false;
        }
    } hook;
    ctx.preview.playbackHook = &hook;
    ctx.preview.playback.isPlaying = 1;
    ctx.preview.playback.playObject = -1;
    Timer1_Timer(ctx);
    EXPECT_EQ(hook.steps, 1);
}

}  // namespace
