#include "preview/PreviewScene.h"

#include "base/RunTimeError.h"
#include "editor/context/TrapGuard.h"
#include "scene/Scene.h"
#include "editor/context/EditingContext.h"

namespace tarv {

const scene::MeshPtr& meshOf(const ViewObject& view) {
    if (!view.mesh) throw RunTimeError::objectNotSet();
    return view.mesh;
}

const scene::FramePtr& frameOf(const ViewObject& view) {
    if (!view.frame) throw RunTimeError::objectNotSet();
    return view.frame;
}

namespace {
int32_t rgb(int32_t r, int32_t g, int32_t b) { return r + 256 * g + 65536 * b; }
}  // namespace

bool renderBackgroundColour(int32_t renderBackground, int32_t& colour) {
    switch (renderBackground) {
    case 1: colour = rgb(0, 0, 0); return true;
    case 2: colour = rgb(127, 127, 127); return true;
    case 3: colour = rgb(196, 196, 196); return true;
    default: return false;
    }
}

void InitialiseComponents(EditingContext& ctx) {
    setErrorContext(ctx, "modD3D", "InitialiseComponents", "");
    ViewState& v = ctx.view;
    bool canvasFailed = false;
    try {
        if (v.canvas && !v.canvas->start()) {
            canvasFailed = true;
            throw RunTimeError(5, v.canvas->lastErrorText());
        }
        int32_t colour = 0;
        if (renderBackgroundColour(ctx.prefs.renderBackground, colour)) v.sceneFrame->setSceneBackground(colour);
        v.viewport->setBack(25000);
        v.worldFrame = scene::createFrame(v.sceneFrame);
        v.cameraFrame = v.viewport->getCamera();
        v.modelFrame = scene::createFrame(v.worldFrame);
        v.orbitFrame = scene::createFrame(v.worldFrame);
        v.zoomFrame = scene::createFrame(v.orbitFrame);
        v.zoomFrame->addChild(v.cameraFrame);
        v.lightFrame = scene::createFrame(v.cameraFrame);
        if (v.canvas) v.canvas->render();
    } catch (const std::exception& error) {
        // The canvas says why it failed; a failing scene call says so itself.
        const std::string why = canvasFailed ? v.canvas->lastErrorText() : std::string(error.what());
        ctx.prompts().messageBox("3d Preview window initialisation failed! " + why, ctx.version.appTitle,
                                 PromptIcon::None);
    }
}

void positionViewObject(ViewObject& view) {
    const auto& frame = frameOf(view);
    frame->setPosition(frame->getParent(), view.matrix[3], view.matrix[7], view.matrix[11]);
}

void setFramePosition(ViewObject& view, const Vector3& position) {
    const auto& frame = frameOf(view);
    frame->setPosition(frame->getParent(), position.x, position.y, position.z);
}

void setFrameQuaternion(ViewObject& view, const Quaternion& rotation) {
    const auto& frame = frameOf(view);
    frame->setQuaternion(frame->getParent(), rotation);
}

}  // namespace tarv
