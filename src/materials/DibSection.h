#pragma once
// cDIBSection: a 24-bit picture held in the memory layout of a BMP file (rows bottom first, blue, green,
// red, each row padded to four bytes). The colour reduction works on its pixel bytes in place, the BMP
// writer saves it, and it saves itself as a 24-bit BMP file.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "base/Image.h"

namespace tarv {

class EditingContext;
class Clipboard;

// The 40-byte BITMAPINFOHEADER of a BMP file.
struct BitmapInfoHeader {
    int32_t biSize = 40;
    int32_t biWidth = 0;
    int32_t biHeight = 0;
    int16_t biPlanes = 1;
    int16_t biBitCount = 24;
    int32_t biCompression = 0;
    int32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 0;
    int32_t biYPelsPerMeter = 0;
    int32_t biClrUsed = 0;
    int32_t biClrImportant = 0;
};

class cDIBSection {
public:
    cDIBSection() = default;
    cDIBSection(const cDIBSection&) = default;
    cDIBSection& operator=(const cDIBSection&) = default;
    ~cDIBSection() { ClearUp(); }

    // A zeroed picture of that size (the old one is cleared first). False for a width or height below 1
    // or when the memory cannot be had; byte counts beyond 2,147,483,647 raise error 6 before anything is
    // allocated.
    bool Create(int32_t lWidth, int32_t lheight);
    // Create with the picture's size, then the whole picture copied in (alpha dropped).
    void CreateFromPicture(const Image& picThis);
    // Source-copy block transfers between an Image and the DIB, whose corner (0, 0) is the top left
    // pixel. A negative width or height stands for the DIB's own; the part of the rectangle that lies
    // outside either picture is skipped. Pixels copied out get alpha 255.
    void LoadPictureBlt(const Image& source, int32_t lSrcLeft, int32_t lSrcTop, int32_t lSrcWidth, int32_t lSrcHeight);
    void PaintPicture(Image& target, int32_t lDestLeft, int32_t lDestTop, int32_t lDestWidth, int32_t lDestHeight,
                      int32_t lSrcLeft, int32_t lSrcTop) const;

    int32_t BytesPerScanLine() const;
    // From the header, so they keep the last size after ClearUp.
    int32_t Width() const { return dibHeader.biWidth; }
    int32_t Height() const { return dibHeader.biHeight; }
    // The pixel bytes, or null when there are none.
    uint8_t* DIBSectionBitsPtr() { return bits_.empty() ? nullptr : bits_.data(); }
    const uint8_t* DIBSectionBitsPtr() const { return bits_.empty() ? nullptr : bits_.data(); }
    bool hasPixels() const { return !bits_.empty(); }
    // The byte at (byte offset x in the row, row y in memory order).
    uint8_t& byteAt(int32_t x, int32_t y) { return bits_[size_t(y) * size_t(BytesPerScanLine()) + size_t(x)]; }
    uint8_t byteAt(int32_t x, int32_t y) const { return bits_[size_t(y) * size_t(BytesPerScanLine()) + size_t(x)]; }
    const BitmapInfoHeader& header() const { return dibHeader; }

    // Fills every pixel with random levels (grey, or blue 0 and random green and red), freshly seeded.
    void RandomiseBits(bool bGray);
    // Frees the pixels; harmless when empty or repeated.
    void ClearUp();
    // A new picture of the new size (height first), or null when it cannot be made.
    std::unique_ptr<cDIBSection> Resample(int32_t lNewHeight, int32_t lNewWidth) const;
    // Writes the 24-bit BMP file. False for a picture without pixels or an incomplete write (the target
    // is unchanged); a file that cannot be created raises error 17 with source appName & ".cDIBSection256".
    bool SavePicture(EditingContext& ctx, const std::string& sFileName) const;
    // The bytes SavePicture writes (empty for a picture without pixels).
    std::vector<uint8_t> pictureFileBytes() const;
    // With bAsDIB shows why that cannot be done and returns false; otherwise puts the picture on the
    // clipboard and returns whether it took it.
    bool CopyToClipboard(EditingContext& ctx, Clipboard& clipboard, bool bAsDIB) const;

    // The system's message text for an error code, at most 256 characters; empty for an unknown code.
    static std::string ApiError(int code);

private:
    void resampleInto(cDIBSection& target) const;

    BitmapInfoHeader dibHeader;
    std::vector<uint8_t> bits_;
};

// The 14-byte BITMAPFILEHEADER followed by an info header, as file bytes.
void appendBitmapFileHeader(std::vector<uint8_t>& out, int64_t fileSize, int64_t offBits);
void appendBitmapInfoHeader(std::vector<uint8_t>& out, const BitmapInfoHeader& h);
// Writes a finished picture file atomically: true when written; false when the write failed after the
// file was created (the target is unchanged); a file that cannot be created raises error 17 with source
// appName & ".cDIBSection256" and the system's message.
bool writePictureFile(EditingContext& ctx, const std::string& sFileName, std::span<const uint8_t> bytes);

}  // namespace tarv
