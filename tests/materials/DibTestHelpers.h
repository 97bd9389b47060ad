#pragma once
// Small helpers for the picture tests: set and read a pixel of a cDIBSection by column and memory row.
#include <array>
#include <cstdint>

#include "materials/DibSection.h"

namespace tarv::test {

inline void setPixel(cDIBSection& dib, int column, int row, uint8_t r, uint8_t g, uint8_t b) {
    dib.byteAt(3 * column, row) = b;
    dib.byteAt(3 * column + 1, row) = g;
    dib.byteAt(3 * column + 2, row) = r;
}
inline void setGrey(cDIBSection& dib, int column, int row, uint8_t v) { setPixel(dib, column, row, v, v, v); }

// Red, green, blue.
inline std::array<uint8_t, 3> pixel(const cDIBSection& dib, int column, int row) {
    return {dib.byteAt(3 * column + 2, row), dib.byteAt(3 * column + 1, row), dib.byteAt(3 * column, row)};
}
using Rgb = std::array<uint8_t, 3>;

}  // namespace tarv::test
