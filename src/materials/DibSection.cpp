#include "materials/DibSection.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <new>
#include <random>
#include <system_error>

#include "base/AtomicFile.h"
#include "base/ByteWriter.h"
#include "editor/context/EditingContext.h"
#include "base/NumberText.h"
#include "base/RunTimeError.h"
#include "platform/Clipboard.h"

namespace tarv {

namespace {

int64_t strideFor(int64_t width) { return (3 * width + 3) & ~int64_t(3); }

}  // namespace

void appendBitmapFileHeader(std::vector<uint8_t>& out, int64_t fileSize, int64_t offBits) {
    if (fileSize > INT32_MAX) throw RunTimeError::overflow();
    out.push_back('B');
    out.push_back('M');
    appendLittleEndian(out, uint32_t(fileSize));
    appendLittleEndian(out, uint16_t(0));
    appendLittleEndian(out, uint16_t(0));
    appendLittleEndian(out, uint32_t(offBits));
}

void appendBitmapInfoHeader(std::vector<uint8_t>& out, const BitmapInfoHeader& h) {
    appendLittleEndian(out, uint32_t(h.biSize));
    appendLittleEndian(out, uint32_t(h.biWidth));
    appendLittleEndian(out, uint32_t(h.biHeight));
    appendLittleEndian(out, uint16_t(h.biPlanes));
    appendLittleEndian(out, uint16_t(h.biBitCount));
    appendLittleEndian(out, uint32_t(h.biCompression));
    appendLittleEndian(out, uint32_t(h.biSizeImage));
    appendLittleEndian(out, uint32_t(h.biXPelsPerMeter));
    appendLittleEndian(out, uint32_t(h.biYPelsPerMeter));
    appendLittleEndian(out, uint32_t(h.biClrUsed));
    appendLittleEndian(out, uint32_t(h.biClrImportant));
}

bool writePictureFile(EditingContext& ctx, const std::string& sFileName, std::span<const uint8_t> bytes) {
    errno = 0;
    try {
        writeFileAtomically(sFileName, bytes);
        return true;
    } catch (const RunTimeError& e) {
        const int code = errno;
        // The atomic writer names the two failures; only a file that cannot be created is an error.
        const std::string& what = e.description();
        if (what.find("cannot create") == std::string::npos) return false;
        // The system's text: the writer's reason in its closing brackets, else the text of errno.
        std::string text;
        const size_t open = what.rfind('(');
        if (open != std::string::npos && what.back() == ')') text = what.substr(open + 1, what.size() - open - 2);
        if (text.empty() && code != 0) text = cDIBSection::ApiError(code);
        if (text.empty()) text = what;
        if (text.size() > 256) text.resize(256);
        throw RunTimeError(17, text, ctx.version.appName + ".cDIBSection256");
    }
}

std::string cDIBSection::ApiError(int code) {
    std::string text = std::system_category().message(code);
    if (text.rfind("Unknown error", 0) == 0) return {};
    if (text.size() > 256) text.resize(256);
    return text;
}

int32_t cDIBSection::BytesPerScanLine() const { return int32_t(strideFor(dibHeader.biWidth)); }

bool cDIBSection::Create(int32_t lWidth, int32_t lheight) {
    ClearUp();
    if (lWidth < 1 || lheight < 1) return false;
    const int64_t stride = strideFor(lWidth);
    if (stride > INT32_MAX || stride * lheight > INT32_MAX) throw RunTimeError::overflow();
    try {
        bits_.assign(size_t(stride * lheight), 0);
    } catch (const std::bad_alloc&) {
        bits_.clear();
        return false;
    }
    dibHeader = BitmapInfoHeader{};
    dibHeader.biWidth = lWidth;
    dibHeader.biHeight = lheight;
    dibHeader.biSizeImage = int32_t(stride * lheight);
    return true;
}

void cDIBSection::CreateFromPicture(const Image& picThis) {
    if (Create(picThis.width, picThis.height)) LoadPictureBlt(picThis, 0, 0, -1, -1);
}

void cDIBSection::LoadPictureBlt(const Image& source, int32_t lSrcLeft, int32_t lSrcTop, int32_t lSrcWidth,
                                 int32_t lSrcHeight) {
    if (!hasPixels()) return;
    const int64_t w = lSrcWidth < 0 ? Width() : lSrcWidth;
    const int64_t h = lSrcHeight < 0 ? Height() : lSrcHeight;
    for (int64_t dy = 0; dy < std::min<int64_t>(h, Height()); ++dy) {
        const int64_t sy = lSrcTop + dy;
        if (sy < 0 || sy >= source.height) continue;
        const int32_t row = Height() - 1 - int32_t(dy);
        for (int64_t dx = 0; dx < std::min<int64_t>(w, Width()); ++dx) {
            const int64_t sx = lSrcLeft + dx;
            if (sx < 0 || sx >= source.width) continue;
            const Rgba& p = source.at(int(sx), int(sy));
            byteAt(int32_t(3 * dx), row) = p.b;
            byteAt(int32_t(3 * dx + 1), row) = p.g;
            byteAt(int32_t(3 * dx + 2), row) = p.r;
        }
    }
}

void cDIBSection::PaintPicture(Image& target, int32_t lDestLeft, int32_t lDestTop, int32_t lDestWidth,
                               int32_t lDestHeight, int32_t lSrcLeft, int32_t lSrcTop) const {
    if (!hasPixels()) return;
    const int64_t w = lDestWidth < 0 ? Width() : lDestWidth;
    const int64_t h = lDestHeight < 0 ? Height() : lDestHeight;
    for (int64_t dy = 0; dy < h; ++dy) {
        const int64_t ty = lDestTop + dy, sy = lSrcTop + dy;
        if (ty < 0 || ty >= target.height || sy < 0 || sy >= Height()) continue;
        const int32_t row = Height() - 1 - int32_t(sy);
        for (int64_t dx = 0; dx < w; ++dx) {
            const int64_t tx = lDestLeft + dx, sx = lSrcLeft + dx;
            if (tx < 0 || tx >= target.width || sx < 0 || sx >= Width()) continue;
            target.at(int(tx), int(ty)) = Rgba{byteAt(int32_t(3 * sx + 2), row), byteAt(int32_t(3 * sx + 1), row),
                                               byteAt(int32_t(3 * sx), row), 255};
        }
    }
}

void cDIBSection::RandomiseBits(bool bGray) {
    if (!hasPixels()) return;
    std::random_device device;
    std::mt19937 generator(device() ^ uint32_t(std::chrono::system_clock::now().time_since_epoch().count()));
    std::uniform_int_distribution<int> level(0, 255);
    for (int32_t y = 0; y < Height(); ++y) {
        for (int32_t x = 0; x < 3 * Width(); x += 3) {
            if (bGray) {
                const uint8_t v = uint8_t(level(generator));
                byteAt(x, y) = byteAt(x + 1, y) = byteAt(x + 2, y) = v;
            } else {
                byteAt(x, y) = 0;
                byteAt(x + 1, y) = uint8_t(level(generator));
                byteAt(x + 2, y) = uint8_t(level(generator));
            }
        }
    }
}

void cDIBSection::ClearUp() {
    bits_.clear();
    bits_.shrink_to_fit();
}

std::unique_ptr<cDIBSection> cDIBSection::Resample(int32_t lNewHeight, int32_t lNewWidth) const {
    if (!hasPixels()) return nullptr;
    auto result = std::make_unique<cDIBSection>();
    if (!result->Create(lNewWidth, lNewHeight)) return nullptr;
    if (lNewWidth == Width() && lNewHeight == Height()) {
        result->bits_ = bits_;
    } else {
        resampleInto(*result);
    }
    return result;
}

void cDIBSection::resampleInto(cDIBSection& target) const {
    const float xScale = float(Width() - 1) / float(target.Width());
    const float yScale = float(Height() - 1) / float(target.Height());
    auto blend = [](float a, float b, float f) { return float(roundHalfEven(double(a * (1.0f - f) + b * f))); };
    for (int32_t y = 0; y < target.Height(); ++y) {
        const float sy = float(y) * yScale;
        const int32_t iy = int32_t(sy);
        const float fy = sy - float(iy);
        // A source one row high has no row iy + 1: its neighbour is the row itself.
        const int32_t iy1 = std::min(iy + 1, Height() - 1);
        for (int32_t x = 0; x < target.Width(); ++x) {
            const float sx = float(x) * xScale;
            const int32_t ix = int32_t(sx);
            const float fx = sx - float(ix);
            const int32_t ix1 = std::min(ix + 1, Width() - 1);
            for (int32_t c = 0; c < 3; ++c) {
                const float left = blend(byteAt(3 * ix + c, iy), byteAt(3 * ix + c, iy1), fy);
                const float right = blend(byteAt(3 * ix1 + c, iy), byteAt(3 * ix1 + c, iy1), fy);
                const float v = std::clamp(blend(left, right, fx), 0.0f, 255.0f);
                target.byteAt(3 * x + c, y) = uint8_t(v);
            }
        }
    }
}

std::vector<uint8_t> cDIBSection::pictureFileBytes() const {
    std::vector<uint8_t> out;
    if (!hasPixels()) return out;
    const int64_t fileSize = 54 + int64_t(dibHeader.biSizeImage);
    appendBitmapFileHeader(out, fileSize, 54);
    out.reserve(size_t(fileSize));
    appendBitmapInfoHeader(out, dibHeader);
    out.insert(out.end(), bits_.begin(), bits_.end());
    return out;
}

bool cDIBSection::SavePicture(EditingContext& ctx, const std::string& sFileName) const {
    if (!hasPixels()) return false;
    const std::vector<uint8_t> bytes = pictureFileBytes();
    return writePictureFile(ctx, sFileName, bytes);
}

bool cDIBSection::CopyToClipboard(EditingContext& ctx, Clipboard& clipboard, bool bAsDIB) const {
    if (bAsDIB) {
        ctx.prompts().messageBox("I don't know how to put a DIB on the clipboard! Copy as bitmap instead!!!",
                                 ctx.version.appName, PromptIcon::None);
        return false;
    }
    if (!hasPixels()) return false;
    Image picture(Width(), Height());
    PaintPicture(picture, 0, 0, -1, -1, 0, 0);
    return clipboard.setImage(picture);
}

}  // namespace tarv
