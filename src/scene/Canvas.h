#pragma once
// What the editor asks of the 3D canvas, so that the scene's users work with or without a real one:
// start it, read its last error, and ask it to draw. Mouse events come back through CanvasMouseHandler.
#include <cstdint>
#include <string>

namespace tarv::scene {

class Canvas {
public:
    virtual ~Canvas() = default;
    // Makes the drawing device ready; false when it cannot (lastErrorText says why).
    virtual bool start() = 0;
    virtual std::string lastErrorText() const = 0;
    // Draw the scene again soon (requests are coalesced).
    virtual void render() = 0;
    virtual void refresh() = 0;
    // While held the canvas keeps showing the frame it drew last and draws nothing, whatever asks it to
    // (a render, a repaint of the window around it); released, it draws once if anything asked meanwhile.
    virtual void setHeld(bool held) = 0;
};

// Mouse events of the canvas. Button: 1 left, 2 right, 4 middle (on a move the buttons held, on a press or
// release the button concerned); shift: 1 Shift, 2 Ctrl, 4 Alt; x and y in the pixels pick takes.
class CanvasMouseHandler {
public:
    virtual ~CanvasMouseHandler() = default;
    virtual void mouseDown(int16_t button, int16_t shift, float x, float y) = 0;
    virtual void mouseMove(int16_t button, int16_t shift, float x, float y) = 0;
    virtual void mouseUp(int16_t button, int16_t shift, float x, float y) = 0;
};

}  // namespace tarv::scene
