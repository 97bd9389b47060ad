#pragma once
// cColourReduceDIB: maps a picture onto a palette (with or without error diffusion), greys it, or dithers
// it to black and white. Pictures are read and written in their own pixel bytes; every conversion ends by
// copying its result into cFrom. No progress events: nothing listens to them.
#include <cstdint>

namespace tarv {

class cDIBSection;
class cPalette;

class cColourReduceDIB {
public:
    // Dithers cFrom to black and white into cTo, then copies cTo into cFrom.
    void BlackAndWhite(cDIBSection& cFrom, cDIBSection& cTo);
    // Every pixel of cFrom becomes the colour of its ClosestIndex entry in cTo; with bDiffuseError the
    // difference is spread to the neighbours still to come. A pixel whose ClosestIndex is 0 (an empty
    // palette, or 765 away from every entry) raises error 9. Then cTo is copied into cFrom.
    void ApplyPalette(cDIBSection& cFrom, cDIBSection& cTo, const cPalette& cPal, bool bDiffuseError);
    // Grey = (222 red + 707 green + 71 blue) / 1000, rounded half to even, in place.
    void GrayScale(cDIBSection& cTo);

private:
    static void clampValue(int32_t& value, int32_t low, int32_t high);
    // Adds delta to the byte at (x, y) of the picture, clamped to 0..255.
    static void gain(cDIBSection& picture, int32_t x, int32_t y, int32_t delta);
    // Error 9 unless both pictures have pixels and the same size.
    static void requireSameSize(const cDIBSection& cFrom, const cDIBSection& cTo);
};

}  // namespace tarv
