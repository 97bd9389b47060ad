#pragma once
// Every picture of the editor: width x height RGBA pixels, row by row from the top.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tarv {

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 255;
    friend bool operator==(const Rgba&, const Rgba&) = default;
};

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgba> pixels;

    Image() = default;
    Image(int w, int h, Rgba fill = {}) : width(w), height(h), pixels(size_t(w) * size_t(h), fill) {}

    bool empty() const { return width <= 0 || height <= 0; }
    Rgba& at(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    const Rgba& at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    friend bool operator==(const Image&, const Image&) = default;
};

// The opaque pixel of a colour Long 0x00BBGGRR.
inline Rgba rgbaFromColourLong(int32_t colour) {
    auto c = uint32_t(colour);
    return {uint8_t(c & 0xFF), uint8_t((c >> 8) & 0xFF), uint8_t((c >> 16) & 0xFF), 255};
}

}  // namespace tarv
