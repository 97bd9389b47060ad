#include "scene/RepaintPacer.h"

#include <algorithm>

namespace tarv::scene {

std::optional<double> RepaintPacer::request(double now) {
    if (waiting_) return std::nullopt;
    waiting_ = true;
    if (!lastDraw_) return 0.0;
    return std::max(0.0, *lastDraw_ + frame_ - now);
}

void RepaintPacer::drawn(double now) {
    waiting_ = false;
    lastDraw_ = now;
}

}  // namespace tarv::scene
