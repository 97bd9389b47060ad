#pragma once
// The user's hand on the 3D view (the main window's canvas handlers, module "frmTARV"): drags that orbit,
// zoom and pan the camera rig, the click that picks an object, the preset views, the render modes, Reset
// View, the canvas popup and the spin of the base object, and the playback timer's tick.
#include <cstdint>

#include "scene/Canvas.h"

namespace tarv {

class EditingContext;

// Button: 1 left, 2 right, 4 middle (a move gives the buttons held); shift: 1 Shift, 2 Ctrl, 4 Alt.
void RMCanvas1_MouseDown(EditingContext& ctx, int16_t button, int16_t shift, float x, float y);
void RMCanvas1_MouseMove(EditingContext& ctx, int16_t button, int16_t shift, float x, float y);
void RMCanvas1_MouseUp(EditingContext& ctx, int16_t button, int16_t shift, float x, float y);

// Picks at the pixel (rounded half to even): the deepest "peo_" frame over all hits wins; nothing under
// the pointer deselects.
void HitTest(EditingContext& ctx, float x, float y);

// The six preset views: 0 Front, 1 Back, 2 Left, 3 Right, 4 Top, 5 Bottom.
void view3d_Click(EditingContext& ctx, int16_t index);
inline const char* const kView3dCaptions[6] = {"Front", "Back", "Left", "Right", "Top", "Bottom"};

void mnuRenderWireframe_Click(EditingContext& ctx);
void mnuRenderFlat_Click(EditingContext& ctx);
void mnuRenderReset_Click(EditingContext& ctx);

void mnu3dPreviewHeirachy_Click(EditingContext& ctx);
void mnu3dPreviewMatrix_Click(EditingContext& ctx);
void mnu3dPreviewKeyframes_Click(EditingContext& ctx);
// Starts the spin of object 0 ("Spin Object") or stops it where it stands ("Stop Spin").
void mnu3dPreviewSpin_Click(EditingContext& ctx);

// The playback timer's tick: the spin (or the animation hook) advances; while a model is loaded the canvas
// renders when the scene changed since the last tick that drew (a step of the spin or playback, a camera
// move, an edit, a resize), and not otherwise, nor while a HeldCanvas lives.
void Timer1_Timer(EditingContext& ctx);

// While one lives the tick draws nothing and the canvas is held (it draws nothing either when the window
// around it repaints): the meshes of a load or of a rebuild are drawn once, when the last of them is built
// and linked, not at each event pump or status repaint on the way.
class HeldCanvas {
public:
    explicit HeldCanvas(EditingContext& ctx);
    ~HeldCanvas();
    HeldCanvas(const HeldCanvas&) = delete;
    HeldCanvas& operator=(const HeldCanvas&) = delete;

private:
    EditingContext& ctx_;
    scene::Canvas* canvas_;
};

// The canvas's mouse events go to the handlers above.
class PreviewMouseHandler : public scene::CanvasMouseHandler {
public:
    explicit PreviewMouseHandler(EditingContext& ctx) : ctx_(ctx) {}
    void mouseDown(int16_t button, int16_t shift, float x, float y) override {
        RMCanvas1_MouseDown(ctx_, button, shift, x, y);
    }
    void mouseMove(int16_t button, int16_t shift, float x, float y) override {
        RMCanvas1_MouseMove(ctx_, button, shift, x, y);
    }
    void mouseUp(int16_t button, int16_t shift, float x, float y) override {
        RMCanvas1_MouseUp(ctx_, button, shift, x, y);
    }

private:
    EditingContext& ctx_;
};

}  // namespace tarv
