#pragma once
// cDIBSectionSave: writes a cDIBSection as a 1-, 4-, 8- or 24-bit BMP file, reducing its colours first
// where the depth needs it. Every file is built in memory and written atomically.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "materials/DibSection.h"

namespace tarv {

class EditingContext;
class cPalette;

// eOutputColourDepth codes.
enum : int32_t { outputDepth1Bit = 0, outputDepth4Bit = 1, outputDepth8Bit = 2, outputDepth24Bit = 3 };
// eColourReductionMethod codes.
enum : int32_t { reduceNone = 0, reduceToGivenPalette = 1, reduceToDepthPalette = 2 };

// A paletted picture: its info header, colour table (blue, green, red, 0) and index rows, bottom row first,
// each row padded with zero bits to its row length.
struct PalettedPicture {
    BitmapInfoHeader header;
    std::vector<std::array<uint8_t, 4>> colourTable;
    int32_t rowLength = 0;
    std::vector<uint8_t> rows;
};

class cDIBSectionSave {
public:
    // Reduces cDIB's colours for the depth (0 = 1 bit, 1 = 4, 2 = 8, 3 = 24 bits) by the method (0 none,
    // 1 cPal with error diffusion, 2 the depth's own palette, stored in cPal at depths 1 and 2) and writes
    // the file. True when it was written. False, writing nothing, for a depth outside 0..3, a picture
    // without pixels or a palette that cannot be made; a file that cannot be created raises error 17 with
    // source appName & ".cDIBSection256".
    bool Save(EditingContext& ctx, const std::string& sFileName, cDIBSection& cDIB, cPalette& cPal,
              int32_t eOutputColourDepth, int32_t eColourReductionMethod);
    // The bytes Save would write, with the same reduction of cDIB and cPal; nullopt where Save gives False
    // before writing.
    std::optional<std::vector<uint8_t>> fileBytes(cDIBSection& cDIB, cPalette& cPal, int32_t eOutputColourDepth,
                                                  int32_t eColourReductionMethod);

    // The whole file of a paletted picture.
    static std::vector<uint8_t> bmpFileBytes(const PalettedPicture& picture);

private:
    // Steps 2 to 5 of Save for depths 0 to 2: the reduction, the paletted picture and, for method 0, its
    // colours copied back into cDIB. Nullopt when a picture or palette cannot be made.
    std::optional<PalettedPicture> reduceAndIndex(cDIBSection& cDIB, cPalette& cPal, int32_t eOutputColourDepth,
                                                  int32_t eColourReductionMethod);
    // Nullopt when the paletted picture cannot be made.
    std::optional<PalettedPicture> create1BitDib(const cDIBSection& cDIB);
    std::optional<PalettedPicture> create4BitDib(const cDIBSection& cDIB);
    std::optional<PalettedPicture> create8BitDib(const cDIBSection& cDIB, cPalette& cPal);
    bool write1BitBmp(EditingContext& ctx, const std::string& sFileName, const PalettedPicture& picture);
    bool write4BitBmp(EditingContext& ctx, const std::string& sFileName, const PalettedPicture& picture);
    bool write8BitBmp(EditingContext& ctx, const std::string& sFileName, const PalettedPicture& picture);
    static std::string getApiErrorText(int code) { return cDIBSection::ApiError(code); }
};

}  // namespace tarv
