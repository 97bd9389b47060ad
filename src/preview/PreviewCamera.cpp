#include "preview/PreviewCamera.h"

#include <string>

#include "base/NumberText.h"
#include "model/RotationMath.h"
#include "base/RunTimeError.h"
#include "editor/context/TrapGuard.h"
#include "attachments/state/ShipInfoPageState.h"
#include "scene/Scene.h"
#include "editor/context/EditingContext.h"

namespace tarv {

namespace {

const scene::FramePtr& need(const scene::FramePtr& frame) {
    if (!frame) throw RunTimeError::objectNotSet();
    return frame;
}

std::string mouseArgs(int16_t button, int16_t shift, float x, float y) {
    return intText(button) + "|" + intText(shift) + "|" + floatText(x) + "|" + floatText(y);
}

// The buttons that rotate, zoom and pan for the MouseControl preference.
struct ButtonTable {
    int16_t rotate, zoom, pan;
};
ButtonTable buttonTable(int16_t mouseControl) {
    if (mouseControl == 0) return {1, 2, 3};
    return {2, 3, 5};
}

void setOrbit(EditingContext& ctx, float angleX, float angleY, float roll) {
    Quaternion q;
    getViewQuaternion(angleX, angleY, roll, q);
    const scene::FramePtr& orbit = need(ctx.view.orbitFrame);
    orbit->setQuaternion(orbit->getParent(), q);
}

void renderCanvas(EditingContext& ctx) {
    if (ctx.view.canvas) ctx.view.canvas->render();
}

ViewObject& viewAt(EditingContext& ctx, int16_t i) {
    if (i < 0 || size_t(i) >= ctx.view.viewObjects.size()) throw RunTimeError::subscriptOutOfRange();
    return ctx.view.viewObjects[size_t(i)];
}

}  // namespace

PreviewControls& previewControls(EditingContext& ctx) {
    return ctx.preview.controls ? *ctx.preview.controls : ctx.preview.ownControls;
}

void RMCanvas1_MouseDown(EditingContext& ctx, int16_t, int16_t, float x, float y) {
    CameraState& cam = ctx.preview.camera;
    cam.mouseDownX = x;
    cam.mouseDownY = y;
    if (const scene::FramePtr& zoom = ctx.view.zoomFrame) cam.zoomStartPosition = zoom->getPosition(zoom->getParent());
    cam.mouseIsDown = 1;
}

void RMCanvas1_MouseMove(EditingContext& ctx, int16_t button, int16_t shift, float x, float y) {
    CameraState& cam = ctx.preview.camera;
    if (cam.mouseIsDown != 1) return;
    trapErrors(ctx, "frmTARV", "RMCanvas1_MouseMove", mouseArgs(button, shift, x, y), [&] {
        const ButtonTable table = buttonTable(ctx.prefs.mouseControl);
        const double extent = ctx.model.modelExtent;
        const Vector3& start = cam.zoomStartPosition;
        if (button == table.rotate) {
            cam.dragAngleX = float(float((x - cam.mouseDownX) / 5.0f) + cam.orbitAngleX);
            cam.dragAngleY = float(float((y - cam.mouseDownY) / 5.0f) + cam.orbitAngleY);
            if (shift == 1)
                setOrbit(ctx, 0, 0, -cam.dragAngleY / 10.0f);
            else
                setOrbit(ctx, -cam.dragAngleX / 10.0f, -cam.dragAngleY / 10.0f, 0);
        } else if (button == table.zoom) {
            const scene::FramePtr& zoom = need(ctx.view.zoomFrame);
            const float z = float(double(start.z) + (double(y) - cam.mouseDownY) / 5.0 * extent / 6.0);
            zoom->setPosition(zoom->getParent(), start.x, start.y, z);
        } else if (button == table.pan) {
            const scene::FramePtr& zoom = need(ctx.view.zoomFrame);
            const float px = float(double(start.x) + (double(y) - cam.mouseDownY) / 5.0 / 20.0 * extent);
            const float py = float(double(start.y) - (double(x) - cam.mouseDownX) / 5.0 / 20.0 * extent / 5.0);
            zoom->setPosition(zoom->getParent(), px, py, start.z);
        }
    });
}

void RMCanvas1_MouseUp(EditingContext& ctx, int16_t button, int16_t shift, float x, float y) {
    trapErrors(ctx, "frmTARV", "RMCanvas1_MouseUp", mouseArgs(button, shift, x, y), [&] {
        CameraState& cam = ctx.preview.camera;
        cam.orbitAngleX = cam.dragAngleX;
        cam.orbitAngleY = cam.dragAngleY;
        cam.mouseIsDown = 0;
        const bool still = x == cam.mouseDownX && y == cam.mouseDownY;
        if (button == 1 && still) HitTest(ctx, x, y);
        if (button == 2 && still && ctx.objects.selectedObject > -1) previewControls(ctx).showPreviewPopup(x, y);
        renderCanvas(ctx);
    });
}

static PickSelection& pickSelection(EditingContext& ctx) {
    return ctx.preview.pickSelection ? *ctx.preview.pickSelection : ctx.preview.ownPickSelection;
}

void HitTest(EditingContext& ctx, float x, float y) {
    trapErrors(ctx, "frmTARV", "HitTest", "", [&] {
        PreviewControls& controls = previewControls(ctx);
        ObjectsState& objects = ctx.objects;
        const auto picks = ctx.view.viewport->pick(roundHalfEven(x), roundHalfEven(y));
        if (picks.empty()) {
            pickSelection(ctx).clearPickedSelection(ctx);
            setErrorContext(ctx, "frmTARV", "HitTest", "");  // the calls above recorded their own
            controls.selectionChanged();
            return;
        }
        size_t best = 0;
        std::string name;
        for (const scene::PickHit& hit : picks) {
            for (size_t j = 0; j < hit.path.size(); ++j) {
                const std::string& frameName = hit.path[j]->getName();
                if (frameName.size() > 4 && frameName.compare(0, 4, "peo_") == 0 && j > best) {
                    best = j;
                    name = frameName.substr(4);
                }
            }
        }
        for (const PeoObject& object : ctx.model.peoObjects) {
            if (object.name != name) continue;
            objects.Dx_Label1 = "Selected object: " + name + " (X: " + floatText(object.matrix[3]) +
                                " Y: " + floatText(object.matrix[7]) + " Z: " + floatText(object.matrix[11]) + ")";
        }
        objects.cmdApplyMatrixEnabled = objects.cmdKeyfApplyEnabled = objects.cmdAdvancedObjPropsEnabled = true;
        for (size_t i = 0; i < ctx.view.viewObjects.size(); ++i) {
            if (ctx.view.viewObjects[i].name != name) continue;
            // Deselects the previous object, selects this one with its details, lblKey and tree node.
            pickSelection(ctx).selectPickedObject(ctx, int16_t(i));
            setErrorContext(ctx, "frmTARV", "HitTest", "");  // the calls above recorded their own
            if (controls.objectsTab() != 2 && controls.mainTab() < 5) {
                controls.setMainTab(2);
                controls.setObjectsTab(1);
            }
        }
        controls.selectionChanged();
    });
}

void view3d_Click(EditingContext& ctx, int16_t index) {
    CameraState& cam = ctx.preview.camera;
    static constexpr float kPresets[6][2] = {{0, 0}, {31.5f, 0}, {-15.6f, 0}, {15.6f, 0}, {0, 7.8f}, {0, -7.8f}};
    if (index >= 0 && index < 6) {
        cam.dragAngleX = kPresets[index][0];
        cam.dragAngleY = kPresets[index][1];
    }
    cam.orbitAngleX = cam.dragAngleX;
    cam.orbitAngleY = cam.dragAngleY;
    setOrbit(ctx, -cam.dragAngleX / 10.0f, -cam.dragAngleY / 10.0f, 0);
}

namespace {
void setAllQualities(EditingContext& ctx, int32_t quality) {
    const size_t count = std::min(size_t(ctx.model.objectCount()), ctx.view.viewObjects.size());
    for (size_t i = 0; i < count; ++i)
        if (const scene::MeshPtr& mesh = ctx.view.viewObjects[i].mesh) mesh->setQuality(quality);
}
}  // namespace

void mnuRenderWireframe_Click(EditingContext& ctx) {
    setAllQualities(ctx, 64);
    ctx.view.mnuRenderFlat = false;
    previewControls(ctx).setRenderTicks(false);
}

void mnuRenderFlat_Click(EditingContext& ctx) {
    setAllQualities(ctx, 136);
    ctx.view.mnuRenderFlat = true;
    previewControls(ctx).setRenderTicks(true);
}

void mnuRenderReset_Click(EditingContext& ctx) {
    trapErrors(ctx, "frmTARV", "mnuRenderReset_Click", "", [&] {
        ViewState& view = ctx.view;
        need(view.orbitFrame)->setQuaternion(nullptr, Quaternion{0, 0, 0, 0});
        need(view.zoomFrame)->setPosition(nullptr, 0, 0, 0);
        need(view.cameraFrame)->setOrientation(nullptr, Vector3{0, 0, -1}, Vector3{1, 0, 0});
        view.cameraFrame->setPosition(nullptr, 0, 0, 2.0 * ctx.model.modelExtent);
        CameraState& cam = ctx.preview.camera;
        cam.orbitAngleX = cam.orbitAngleY = cam.dragAngleX = cam.dragAngleY = 0;

        // The chunk selected in the chunk tree gets its own colour back (a chunk without a marker is left).
        const std::string mexKey = ctx.shipInfoPage->lblMexKey;
        if (!mexKey.empty() && mexKey.find("Root") == std::string::npos) {
            const double i = leadingNumber(std::string_view(mexKey).substr(1));
            if (i >= 0 && i < double(ctx.mex.mexMeshes.size()) && i < double(ctx.mex.mexChunks.size())) {
                const ChunkColour& c = ctx.mex.mexChunks[size_t(i)].colour;
                if (const scene::MeshPtr& mesh = ctx.mex.mexMeshes[size_t(i)].mesh)
                    mesh->setColorRGB(c.red / 255.0, c.green / 255.0, c.blue / 255.0);
            }
        }

        const int16_t selected = ctx.objects.selectedObject;
        if (selected >= 0) {
            ViewObject& v = viewAt(ctx, selected);
            if (!v.mesh) throw RunTimeError::objectNotSet();
            v.mesh->setQuality(ctx.view.mnuRenderFlat ? 136 : 72);
            v.mesh->setColorRGB(v.colour.red, v.colour.green, v.colour.blue);
            ViewObject& marker = view.selectionMarker;
            if (marker.name == v.name) {
                if (v.frame) {
                    if (marker.mesh) v.frame->deleteVisual(marker.mesh);
                    if (marker.frame) v.frame->deleteChild(marker.frame);
                }
                marker.name.clear();
            }
        }
        renderCanvas(ctx);
    });
}

void mnu3dPreviewHeirachy_Click(EditingContext& ctx) {
    previewControls(ctx).setMainTab(2);
    previewControls(ctx).setObjectsTab(0);
}

void mnu3dPreviewMatrix_Click(EditingContext& ctx) {
    previewControls(ctx).setMainTab(2);
    previewControls(ctx).setObjectsTab(1);
}

void mnu3dPreviewKeyframes_Click(EditingContext& ctx) {
    previewControls(ctx).setMainTab(2);
    previewControls(ctx).setObjectsTab(2);
}

void mnu3dPreviewSpin_Click(EditingContext& ctx) {
    trapErrors(ctx, "frmTARV", "mnu3dPreviewSpin_Click", "", [&] {
        PreviewControls& controls = previewControls(ctx);
        PlaybackState& play = ctx.preview.playback;
        if (ctx.objects.selectedObject == -1) return;
        if (controls.spinCaption() != "Spin Object") {
            controls.setSpinCaption("Spin Object");
            play.isPlaying = 0;
            return;
        }
        const Quaternion q0{0, 1, 0, 0}, q1{1, 0, 0, 0}, q2{0, -1, 0, 0};
        const Quaternion keys[9] = {q0, q1, q2, q1, q0, q1, q2, q1, q0};
        const scene::FramePtr& base = need(viewAt(ctx, 0).frame);
        const scene::FramePtr parent = base->getParent();
        auto spin = scene::createInterpolator();
        for (int t = 0; t < 9; ++t) {
            spin->setIndex(t);
            spin->setQuaternion(parent, keys[t]);
        }
        spin->setIndex(0);
        spin->attachObject(base);
        ctx.preview.spinInterpolator = spin;
        play.isPlaying = 1;
        play.playStartTime = ctx.clock().monotonicSeconds();
        play.playAnimation = -2;
        play.playObject = -2;
        controls.setSpinCaption("Stop Spin");
    });
}

void Timer1_Timer(EditingContext& ctx) {
    PlaybackState& play = ctx.preview.playback;
    if (play.isPlaying == 1) {
        if (play.playObject == -2) {
            if (ctx.preview.spinInterpolator)
                ctx.preview.spinInterpolator->interpolate(ctx.clock().monotonicSeconds() - play.playStartTime,
                                                          scene::kInterpolationClosed | scene::kInterpolationLinear);
        } else {
            PlaybackHook& hook = ctx.preview.playbackHook ? *ctx.preview.playbackHook : ctx.preview.ownPlayback;
            if (hook.advancePlayback(ctx)) return;
        }
    }
    if (ctx.model.modelLoaded && ctx.preview.canvasHolds == 0 &&
        ctx.preview.drawnSceneChanges != scene::sceneChangeCount()) {
        renderCanvas(ctx);
        ctx.preview.drawnSceneChanges = scene::sceneChangeCount();
    }
}

HeldCanvas::HeldCanvas(EditingContext& ctx) : ctx_(ctx), canvas_(ctx.view.canvas) {
    if (ctx_.preview.canvasHolds++ == 0 && canvas_) canvas_->setHeld(true);
}

HeldCanvas::~HeldCanvas() {
    if (--ctx_.preview.canvasHolds != 0 || !canvas_ || canvas_ != ctx_.view.canvas) return;
    // One draw shows whatever changed while held; the clock's next tick has nothing left to draw.
    if (ctx_.preview.drawnSceneChanges != scene::sceneChangeCount()) {
        canvas_->render();
        ctx_.preview.drawnSceneChanges = scene::sceneChangeCount();
    }
    canvas_->setHeld(false);
}

}  // namespace tarv
