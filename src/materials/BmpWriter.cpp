#include "materials/BmpWriter.h"

#include <climits>
#include <new>

#include "base/RunTimeError.h"
#include "materials/ColourReduce.h"
#include "materials/Palette.h"

namespace tarv {

namespace {

// A paletted picture of cDIB's size with the colour table, every index 0.
std::optional<PalettedPicture> makePaletted(const cDIBSection& cDIB, int16_t bitCount, const cPalette& table) {
    PalettedPicture p;
    const int64_t w = cDIB.Width(), h = cDIB.Height();
    const int64_t rowLength = ((int64_t(bitCount) * w + 31) / 32) * 4;
    const int64_t sizeImage = rowLength * h;
    const int64_t offBits = 54 + 4 * int64_t(table.Count());
    if (rowLength > INT32_MAX || sizeImage > INT32_MAX || sizeImage + offBits > INT32_MAX) {
        throw RunTimeError::overflow();
    }
    try {
        p.rows.assign(size_t(sizeImage), 0);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    p.rowLength = int32_t(rowLength);
    p.header.biWidth = int32_t(w);
    p.header.biHeight = int32_t(h);
    p.header.biBitCount = bitCount;
    p.header.biSizeImage = int32_t(sizeImage);
    for (const PaletteEntry& e : table.entries()) p.colourTable.push_back({e.blue, e.green, e.red, 0});
    return p;
}

// Each pixel becomes the number (from 0) of the nearest colour-table entry: the first with exactly its
// colour, else the smallest sum of channel differences, ties to the lower entry.
void fillIndices(PalettedPicture& p, const cDIBSection& cDIB, const cPalette& table) {
    const int bits = p.header.biBitCount;
    const int perByte = 8 / bits;
    for (int32_t y = 0; y < cDIB.Height(); ++y) {
        uint8_t* row = p.rows.data() + size_t(y) * size_t(p.rowLength);
        for (int32_t x = 0; x < cDIB.Width(); ++x) {
            const int32_t closest =
                table.ClosestIndex(cDIB.byteAt(3 * x + 2, y), cDIB.byteAt(3 * x + 1, y), cDIB.byteAt(3 * x, y));
            const uint8_t index = uint8_t(closest > 0 ? closest - 1 : 0);
            const int shift = 8 - bits * (x % perByte + 1);  // the leftmost pixel in the highest bits
            row[x / perByte] |= uint8_t(index << shift);
        }
    }
}

// The colours of the paletted picture back into cDIB.
void copyBack(const PalettedPicture& p, cDIBSection& cDIB) {
    const int bits = p.header.biBitCount;
    const int perByte = 8 / bits;
    const int mask = (1 << bits) - 1;
    for (int32_t y = 0; y < cDIB.Height(); ++y) {
        const uint8_t* row = p.rows.data() + size_t(y) * size_t(p.rowLength);
        for (int32_t x = 0; x < cDIB.Width(); ++x) {
            const int shift = 8 - bits * (x % perByte + 1);
            const auto& c = p.colourTable[size_t((row[x / perByte] >> shift) & mask)];
            cDIB.byteAt(3 * x, y) = c[0];
            cDIB.byteAt(3 * x + 1, y) = c[1];
            cDIB.byteAt(3 * x + 2, y) = c[2];
        }
    }
}

}  // namespace

std::optional<PalettedPicture> cDIBSectionSave::create1BitDib(const cDIBSection& cDIB) {
    cPalette table;
    table.CreateMono();
    auto p = makePaletted(cDIB, 1, table);
    if (p) fillIndices(*p, cDIB, table);
    return p;
}

std::optional<PalettedPicture> cDIBSectionSave::create4BitDib(const cDIBSection& cDIB) {
    cPalette table;
    table.Create16Colour();
    auto p = makePaletted(cDIB, 4, table);
    if (p) fillIndices(*p, cDIB, table);
    return p;
}

std::optional<PalettedPicture> cDIBSectionSave::create8BitDib(const cDIBSection& cDIB, cPalette& cPal) {
    if (cPal.Count() == 0) cPal.CreateHalfTone();
    // The table as written: the first 256 entries of cPal, then black with a zero fourth byte.
    cPalette table;
    for (int32_t i = 1; i <= 256; ++i) {
        if (i <= cPal.Count())
            table.Add(cPal.Red(i), cPal.Green(i), cPal.Blue(i));
        else
            table.Add(0, 0, 0);
    }
    auto p = makePaletted(cDIB, 8, table);
    if (p) fillIndices(*p, cDIB, table);
    return p;
}

std::vector<uint8_t> cDIBSectionSave::bmpFileBytes(const PalettedPicture& picture) {
    const int64_t offBits = 54 + 4 * int64_t(picture.colourTable.size());
    const int64_t fileSize = offBits + int64_t(picture.rows.size());
    std::vector<uint8_t> out;
    appendBitmapFileHeader(out, fileSize, offBits);
    out.reserve(size_t(fileSize));
    appendBitmapInfoHeader(out, picture.header);
    for (const auto& c : picture.colourTable) out.insert(out.end(), c.begin(), c.end());
    out.insert(out.end(), picture.rows.begin(), picture.rows.end());
    return out;
}

bool cDIBSectionSave::write1BitBmp(EditingContext& ctx, const std::string& sFileName, const PalettedPicture& p) {
    return writePictureFile(ctx, sFileName, bmpFileBytes(p));
}
bool cDIBSectionSave::write4BitBmp(EditingContext& ctx, const std::string& sFileName, const PalettedPicture& p) {
    return writePictureFile(ctx, sFileName, bmpFileBytes(p));
}
bool cDIBSectionSave::write8BitBmp(EditingContext& ctx, const std::string& sFileName, const PalettedPicture& p) {
    return writePictureFile(ctx, sFileName, bmpFileBytes(p));
}

std::optional<PalettedPicture> cDIBSectionSave::reduceAndIndex(cDIBSection& cDIB, cPalette& cPal,
                                                               int32_t eOutputColourDepth,
                                                               int32_t eColourReductionMethod) {
    cColourReduceDIB reducer;
    bool copyBackArmed = false;
    switch (eColourReductionMethod) {
    case reduceNone: copyBackArmed = true; break;
    case reduceToGivenPalette: {
        cDIBSection work;
        if (!work.Create(cDIB.Width(), cDIB.Height())) return std::nullopt;
        reducer.ApplyPalette(cDIB, work, cPal, true);
        break;
    }
    case reduceToDepthPalette: {
        cDIBSection work;
        if (!work.Create(cDIB.Width(), cDIB.Height())) return std::nullopt;
        if (eOutputColourDepth == outputDepth1Bit) {
            reducer.BlackAndWhite(cDIB, work);
        } else if (eOutputColourDepth == outputDepth4Bit) {
            cPal = cPalette();
            cPal.Create16Colour();
            reducer.ApplyPalette(cDIB, work, cPal, true);
        } else {
            cPal = cPalette();
            if (!cPal.CreateOptimal(cDIB, 236, 6)) return std::nullopt;
            reducer.ApplyPalette(cDIB, work, cPal, false);
        }
        break;
    }
    default: break;
    }

    std::optional<PalettedPicture> paletted;
    if (eOutputColourDepth == outputDepth1Bit)
        paletted = create1BitDib(cDIB);
    else if (eOutputColourDepth == outputDepth4Bit)
        paletted = create4BitDib(cDIB);
    else
        paletted = create8BitDib(cDIB, cPal);
    if (paletted && copyBackArmed) copyBack(*paletted, cDIB);
    return paletted;
}

std::optional<std::vector<uint8_t>> cDIBSectionSave::fileBytes(cDIBSection& cDIB, cPalette& cPal,
                                                               int32_t eOutputColourDepth,
                                                               int32_t eColourReductionMethod) {
    if (eOutputColourDepth < 0 || eOutputColourDepth > 3 || !cDIB.hasPixels()) return std::nullopt;
    if (eOutputColourDepth == outputDepth24Bit) return cDIB.pictureFileBytes();
    const auto paletted = reduceAndIndex(cDIB, cPal, eOutputColourDepth, eColourReductionMethod);
    if (!paletted) return std::nullopt;
    return bmpFileBytes(*paletted);
}

bool cDIBSectionSave::Save(EditingContext& ctx, const std::string& sFileName, cDIBSection& cDIB, cPalette& cPal,
                           int32_t eOutputColourDepth, int32_t eColourReductionMethod) {
    if (eOutputColourDepth < 0 || eOutputColourDepth > 3 || !cDIB.hasPixels()) return false;
    if (eOutputColourDepth == outputDepth24Bit) return cDIB.SavePicture(ctx, sFileName);
    const auto paletted = reduceAndIndex(cDIB, cPal, eOutputColourDepth, eColourReductionMethod);
    if (!paletted) return false;
    if (eOutputColourDepth == outputDepth1Bit) return write1BitBmp(ctx, sFileName, *paletted);
    if (eOutputColourDepth == outputDepth4Bit) return write4BitBmp(ctx, sFileName, *paletted);
    return write8BitBmp(ctx, sFileName, *paletted);
}

}  // namespace tarv
