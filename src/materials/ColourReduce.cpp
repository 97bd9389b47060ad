#include "materials/ColourReduce.h"

#include <algorithm>
#include <cstdlib>

#include "base/NumberText.h"
#include "base/RunTimeError.h"
#include "materials/DibSection.h"
#include "materials/Palette.h"

namespace tarv {

void cColourReduceDIB::clampValue(int32_t& value, int32_t low, int32_t high) { value = std::clamp(value, low, high); }

void cColourReduceDIB::requireSameSize(const cDIBSection& cFrom, const cDIBSection& cTo) {
    if (!cFrom.hasPixels() || !cTo.hasPixels() || cFrom.Width() != cTo.Width() || cFrom.Height() != cTo.Height()) {
        throw RunTimeError::subscriptOutOfRange();
    }
}

void cColourReduceDIB::gain(cDIBSection& picture, int32_t x, int32_t y, int32_t delta) {
    int32_t v = int32_t(picture.byteAt(x, y)) + delta;
    clampValue(v, 0, 255);
    picture.byteAt(x, y) = uint8_t(v);
}

namespace {

void copyPixels(const cDIBSection& from, cDIBSection& to) {
    std::copy_n(from.DIBSectionBitsPtr(), size_t(from.header().biSizeImage), to.DIBSectionBitsPtr());
}

}  // namespace

void cColourReduceDIB::ApplyPalette(cDIBSection& cFrom, cDIBSection& cTo, const cPalette& cPal, bool bDiffuseError) {
    requireSameSize(cFrom, cTo);
    const int32_t lastX = 3 * (cFrom.Width() - 1);
    const int32_t lastY = cFrom.Height() - 1;
    for (int32_t x = 0; x <= lastX; x += 3) {
        for (int32_t y = 0; y <= lastY; ++y) {
            const int32_t red = cFrom.byteAt(x + 2, y), green = cFrom.byteAt(x + 1, y), blue = cFrom.byteAt(x, y);
            const int32_t k = cPal.ClosestIndex(red, green, blue);
            cTo.byteAt(x, y) = cPal.Blue(k);
            cTo.byteAt(x + 1, y) = cPal.Green(k);
            cTo.byteAt(x + 2, y) = cPal.Red(k);
            if (!bDiffuseError) continue;
            const int32_t error[3] = {blue - cTo.byteAt(x, y), green - cTo.byteAt(x + 1, y),
                                      red - cTo.byteAt(x + 2, y)};
            if (std::abs(error[0]) + std::abs(error[1]) + std::abs(error[2]) <= 3) continue;
            for (int32_t c = 0; c < 3; ++c) {
                if (x < lastX - 3) gain(cFrom, x + 3 + c, y, error[c] * 7 / 16);
                // Of the row above only the pixel straight up takes a share, and not in the outer columns.
                if (y < lastY && 0 < x && x < lastX) gain(cFrom, x + c, y + 1, error[c] * 4 / 16);
            }
        }
    }
    copyPixels(cTo, cFrom);
}

void cColourReduceDIB::GrayScale(cDIBSection& cTo) {
    if (!cTo.hasPixels()) return;
    const int32_t lastX = 3 * (cTo.Width() - 1);
    for (int32_t x = 0; x <= lastX; x += 3) {
        for (int32_t y = 0; y < cTo.Height(); ++y) {
            const int32_t weighted = 222 * cTo.byteAt(x + 2, y) + 707 * cTo.byteAt(x + 1, y) + 71 * cTo.byteAt(x, y);
            const uint8_t grey = uint8_t(roundHalfEven(weighted / 1000.0));
            cTo.byteAt(x, y) = cTo.byteAt(x + 1, y) = cTo.byteAt(x + 2, y) = grey;
        }
    }
}

void cColourReduceDIB::BlackAndWhite(cDIBSection& cFrom, cDIBSection& cTo) {
    requireSameSize(cFrom, cTo);
    GrayScale(cFrom);
    const int32_t lastX = 3 * (cFrom.Width() - 1);
    const int32_t lastY = cFrom.Height() - 1;
    auto spread = [&](int32_t x, int32_t y, int32_t delta) {
        for (int32_t c = 0; c < 3; ++c) gain(cFrom, x + c, y, delta);
    };
    for (int32_t x = 0; x <= lastX; x += 3) {
        for (int32_t y = 0; y <= lastY; ++y) {
            const int32_t g = cFrom.byteAt(x, y);
            int32_t error = 0;
            uint8_t level = 0;
            if (g > 128) {
                level = 255;
                error = 127 - g;
            } else if (g > 16) {
                error = g;
            }
            cTo.byteAt(x, y) = cTo.byteAt(x + 1, y) = cTo.byteAt(x + 2, y) = level;
            if (x < lastX - 3) spread(x + 3, y, error * 7 / 16);
            if (y < lastY) {
                static constexpr int32_t shares[3] = {3, 5, 1};
                for (int32_t j = -3, i = 0; j <= 3; j += 3, ++i) {
                    if (0 < x + j && x + j < lastX) spread(x + j, y + 1, error * shares[i] / 16);
                }
            }
        }
    }
    copyPixels(cTo, cFrom);
}

}  // namespace tarv
