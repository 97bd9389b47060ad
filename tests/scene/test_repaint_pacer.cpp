// The spacing of a canvas's draws: a canvas asked to draw on every tick of a 1 ms timer draws once per display
// frame, and every request is drawn by the end of the frame after it.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

#include "scene/RepaintPacer.h"

using namespace tarv::scene;

namespace {

// A canvas that counts its draws: a request runs the pacer; a delayed draw happens when its time comes.
struct CountingCanvas {
    RepaintPacer pacer;
    std::optional<double> due;
    std::vector<double> draws;
    void render(double now) {
        if (const auto delay = pacer.request(now)) {
            if (*delay <= 0)
                draw(now);
            else
                due = now + *delay;
        }
    }
    void runUntil(double now) {
        if (due && *due <= now) draw(*due);
    }
    void draw(double now) {
        due.reset();
        draws.push_back(now);
        pacer.drawn(now);
    }
};

}  // namespace

TEST(RepaintPacer, RequestsOnEveryMillisecondDrawOncePerDisplayFrame) {
    struct Case {
        double frame;  // seconds
        int ticks;     // 1 ms apart, each asking for a draw
        size_t draws;  // over the run
    } cases[] = {
        {1.0 / 60, 17, 1},     // within one frame: the first request only
        {1.0 / 60, 18, 2},     // the frame is over: the waiting draw comes
        {1.0 / 60, 1000, 60},  // one second
        {1.0 / 144, 1000, 144},
    };
    for (const Case& c : cases) {
        CountingCanvas canvas;
        canvas.pacer.setFrameSeconds(c.frame);
        for (int tick = 0; tick < c.ticks; ++tick) {
            const double now = tick * 0.001;
            canvas.runUntil(now);
            canvas.render(now);
        }
        EXPECT_EQ(canvas.draws.size(), c.draws) << c.frame << " " << c.ticks;
        for (size_t k = 1; k < canvas.draws.size(); ++k)
            EXPECT_GE(canvas.draws[k] - canvas.draws[k - 1], c.frame - 1e-12) << k;
        // The last request is drawn within a frame of it.
        canvas.runUntil(1e9);
        EXPECT_LE(canvas.draws.back(), (c.ticks - 1) * 0.001 + c.frame + 1e-12);
    }
}

TEST(RepaintPacer, ARequestAfterAQuietSpellDrawsAtOnceAndADrawOfItsOwnCountsAsTheFramesDraw) {
    RepaintPacer pacer(0.02);
    EXPECT_EQ(pacer.request(5.0), 0.0);
    EXPECT_EQ(pacer.request(5.001), std::nullopt);  // folded into the waiting draw
    pacer.drawn(5.002);
    EXPECT_NEAR(*pacer.request(5.012), 0.01, 1e-9);
    pacer.drawn(5.013);  // a draw the platform made itself (a resize) shows the request too
    EXPECT_NEAR(*pacer.request(5.014), 0.019, 1e-9);
    pacer.drawn(5.033);
    EXPECT_EQ(pacer.request(6.0), 0.0);
}
