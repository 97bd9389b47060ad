#pragma once
// Spaces the draws a canvas is asked for to the display: at most one draw per display frame. Requests
// while a draw waits are folded into it; a request within a frame of the last draw waits until that frame
// is over, so every request is drawn, at the latest one frame later.
#include <optional>

namespace tarv::scene {

class RepaintPacer {
public:
    explicit RepaintPacer(double frameSeconds = 1.0 / 60) : frame_(frameSeconds) {}
    void setFrameSeconds(double seconds) { frame_ = seconds; }
    double frameSeconds() const { return frame_; }

    // A draw is asked for at now (seconds of a monotonic clock): the delay in seconds after which to draw
    // (0: at once), or nothing when a draw already waits.
    std::optional<double> request(double now);
    // A draw happened at now, asked for or not.
    void drawn(double now);

private:
    double frame_;
    std::optional<double> lastDraw_;
    bool waiting_ = false;
};

}  // namespace tarv::scene
