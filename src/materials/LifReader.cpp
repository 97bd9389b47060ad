#include "materials/LifReader.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "base/BinaryReader.h"
#include "model/LogFiles.h"
#include "model/ModelHelpers.h"
#include "base/NumberText.h"
#include "base/Paths.h"
#include "editor/context/TrapGuard.h"
#include "platform/PictureLoader.h"
#include "editor/context/EditingContext.h"

namespace tarv {

namespace {

// The four layer bits as longToBinary spells them: positions 16, 14, 13 and 12 of its 17 characters.
std::array<bool, 4> layerBits(int32_t flags) {
    const std::string bits = longToBinary(flags);
    auto at = [&](size_t position) { return bits.size() >= position && bits[position - 1] == '1'; };
    return {at(16), at(14), at(13), at(12)};
}

// The layout of the pixel block that the length rules give.
struct PixelLayout {
    int64_t n = 0;
    bool needsFix = false;  // L is not the standard length and there is no alpha bit
    bool is24Bit = false;
    bool forcedAlpha = false;  // L = 4n + 48 and no palette: four bytes per pixel with blocks
};

PixelLayout layoutOf(const LifHeader& h, bool alphaBit, int64_t length) {
    PixelLayout p;
    p.n = int64_t(h.width) * int64_t(h.height);
    if (length != p.n + 1584 && !alphaBit) {
        p.needsFix = true;
        p.is24Bit = length != p.n + 1072;
    }
    // L = 4n + 48, compared without multiplying: n may be as large as 2^62.
    p.forcedAlpha = h.Palette == 0 && p.n >= 0 && length >= 48 && (length - 48) % 4 == 0 && p.n == (length - 48) / 4;
    return p;
}

// Why a pixel block cannot be read, or empty when it fits in the file.
std::string pixelBlockProblem(const LifHeader& h, int64_t n, int bytesPerPixel, int64_t length) {
    if (h.width < 0 || h.height < 0) return "negative width or height";
    if (h.data < 0) return "negative pixel block offset";
    if (h.data > length || n > (length - h.data) / bytesPerPixel) return "pixel block runs past the end of the file";
    return {};
}

// Copies count bytes from offset into out, as far as the file goes; the rest is zero. False when the
// block was cut short.
bool readBlock(std::span<const uint8_t> bytes, int64_t offset, uint8_t* out, size_t count) {
    std::memset(out, 0, count);
    const int64_t size = int64_t(bytes.size());
    if (offset >= size) return count == 0;
    const size_t available = size_t(std::min<int64_t>(int64_t(count), size - offset));
    std::memcpy(out, bytes.data() + offset, available);
    return available == count;
}

void readPixels(std::span<const uint8_t> bytes, int64_t data, int bytesPerPixel, std::vector<LifPixel>& out) {
    const uint8_t* src = bytes.data() + data;
    for (auto& pixel : out) {
        pixel = {0, 0, 0, 0};
        for (int b = 0; b < bytesPerPixel; ++b) pixel[size_t(b)] = *src++;
    }
}

void offerFix(EditingContext& ctx) {
    ctx.lif.preview.mnuFixLif = true;
    ctx.lif.preview.Label1 = kCorruptLifWarning;
}

// One message for a refused file: in the log, and kept for the load summary and the viewer.
void refuse(EditingContext& ctx, const std::string& path, const std::string& reason) {
    ctx.lif.texture.lifRefusal = textureRefusalText(path, reason);
    writeLog(ctx, ctx.lif.texture.lifRefusal, 1);
}

// The picture kind a file of another format begins with, or null.
const char* foreignPictureKind(std::span<const uint8_t> bytes) {
    auto startsWith = [&](std::initializer_list<uint8_t> magic) {
        return bytes.size() >= magic.size() && std::equal(magic.begin(), magic.end(), bytes.begin());
    };
    if (startsWith({0x89, 'P', 'N', 'G', 0x0d, 0x0a, 0x1a, 0x0a})) return "PNG";
    if (startsWith({0xff, 0xd8, 0xff})) return "JPEG";
    if (startsWith({'G', 'I', 'F', '8'})) return "GIF";
    if (startsWith({'B', 'M'}) && bytes.size() >= 6 && loadU32(bytes, 2) == bytes.size()) return "BMP";
    return nullptr;
}

}  // namespace

LifHeader readLifHeader(std::span<const uint8_t> bytes) {
    LifHeader h;
    h.ident.assign(reinterpret_cast<const char*>(bytes.data()), 8);
    h.version = loadI32(bytes, 8);
    h.flags = loadI32(bytes, 12);
    h.width = loadI32(bytes, 16);
    h.height = loadI32(bytes, 20);
    h.paletteCRC = loadI32(bytes, 24);
    h.imageCRC = loadI32(bytes, 28);
    h.data = loadI32(bytes, 32);
    h.Palette = loadI32(bytes, 36);
    h.Team0 = loadI32(bytes, 40);
    h.Team1 = loadI32(bytes, 44);
    return h;
}

std::string textureRefusalText(const std::string& path, const std::string& reason) {
    return "The texture " + path + " cannot be read (" + reason + "): it is left out.";
}

void startLifRead(EditingContext& ctx, const std::string& path) {
    auto& pv = ctx.lif.preview;
    pv.mnuViewAlpha = pv.mnuViewTeam0 = pv.mnuViewTeam1 = false;
    pv.mnuViewBaseTeam0 = pv.mnuViewBaseTeam1 = pv.mnuViewAll = false;
    pv.picTeam0Visible = pv.picTeam1Visible = false;
    ctx.lif.texture.lifLayers = {false, false, false, false};
    writeLog(ctx, "Loading Lif " + path, 2);
    pv.Label1.clear();
}

LifReadResult parseLif(EditingContext& ctx, std::span<const uint8_t> bytes, bool loadPixels, const std::string& path) {
    auto& tex = ctx.lif.texture;
    auto& pv = ctx.lif.preview;
    const int64_t length = int64_t(bytes.size());
    tex.lifRefusal.clear();
    if (const char* kind = foreignPictureKind(bytes)) {
        refuse(ctx, path, std::string("it is a ") + kind + " picture, not a .lif");
        return LifReadResult::Failed;
    }
    if (length < kLifHeaderSize) {
        refuse(ctx, path, "the file is shorter than its 48-byte header");
        return LifReadResult::Failed;
    }
    tex.lifHeader = readLifHeader(bytes);
    const LifHeader& h = tex.lifHeader;

    const auto bits = layerBits(h.flags);
    if (bits[kLifPalette]) {
        tex.lifLayers[kLifPalette] = true;
        writeLog(ctx, "  -> Palette", 2);
    }
    if (bits[kLifAlpha]) {
        tex.lifLayers[kLifAlpha] = true;
        writeLog(ctx, "  -> Alpha", 2);
        pv.mnuViewAlpha = true;
    }
    if (bits[kLifTeam0]) {
        tex.lifLayers[kLifTeam0] = true;
        writeLog(ctx, "  -> Team0", 2);
        pv.mnuViewTeam0 = pv.mnuViewBaseTeam0 = pv.mnuViewAll = true;
    }
    if (bits[kLifTeam1]) {
        tex.lifLayers[kLifTeam1] = true;
        writeLog(ctx, "  -> Team1", 2);
        pv.mnuViewTeam1 = pv.mnuViewBaseTeam1 = pv.mnuViewAll = true;
    }
    writeLog(ctx, "  -> " + intText(h.width) + " x " + intText(h.height), 2);

    ctx.lif.boxes.txtImgCRC = intText(h.imageCRC);
    ctx.lif.boxes.txtPalCRC = intText(h.paletteCRC);
    ctx.lif.boxes.txtLifFlags = intText(h.flags);
    ctx.lif.boxes.sourcePath = path;

    tex.lifIsCorrupt = false;
    tex.lifIs24Bit = false;
    if (h.flags == 0) {
        offerFix(ctx);
        tex.lifIsCorrupt = true;
    }
    const PixelLayout layout = layoutOf(h, tex.lifLayers[kLifAlpha], length);
    if (layout.needsFix) {
        offerFix(ctx);
        tex.lifIs24Bit = layout.is24Bit;
    }
    if (!loadPixels) return LifReadResult::Read;

    // Nothing of the blocks is stored before they are known to lie inside the file.
    const bool alpha = tex.lifLayers[kLifAlpha] || layout.forcedAlpha;
    const int bytesPerPixel = alpha ? 4 : tex.lifIs24Bit ? 3 : 1;
    if (h.width < 0 || h.height < 0) {
        refuse(ctx, path, "negative width or height");
        return LifReadResult::Failed;
    }
    if (layout.n == 0) {
        tex.lifPixelCount = 0;
        if (layout.forcedAlpha) tex.lifLayers[kLifAlpha] = true;
        return LifReadResult::NotRead;
    }
    if (auto problem = pixelBlockProblem(h, layout.n, bytesPerPixel, length); !problem.empty()) {
        refuse(ctx, path, problem);
        return LifReadResult::Failed;
    }

    tex.lifPixelCount = layout.n;
    tex.lifLayers[kLifAlpha] = alpha;
    tex.lifPixels.assign(size_t(layout.n), LifPixel{});
    readPixels(bytes, h.data, bytesPerPixel, tex.lifPixels);

    // A file without a palette or a team table gets zeros, never the previous texture's.
    tex.lifPalette = {};
    if (h.Palette > 0 && !readBlock(bytes, h.Palette, tex.lifPalette.data()->data(), 1024))
        writeLog(ctx, "  -> Palette cut short by the end of the file: the rest is zero", 1);
    tex.lifTeam0Table = {};
    if (h.Team0 > 0 && !readBlock(bytes, h.Team0, tex.lifTeam0Table.data(), 256))
        writeLog(ctx, "  -> Team0 table cut short by the end of the file: the rest is zero", 1);
    tex.lifTeam1Table = {};
    if (h.Team1 > 0 && !readBlock(bytes, h.Team1, tex.lifTeam1Table.data(), 256))
        writeLog(ctx, "  -> Team1 table cut short by the end of the file: the rest is zero", 1);
    return LifReadResult::Read;
}

LifReadResult LoadFile(EditingContext& ctx, const std::string& path, bool loadPixels) {
    LifReadResult result = LifReadResult::Failed;
    const bool finished =
        trapErrors(ctx, "modLifFunctions", "LoadFile", path + "|" + (loadPixels ? "True" : "False"), [&] {
            std::error_code ec;
            if (!std::filesystem::is_regular_file(path, ec)) {
                result = LifReadResult::NotRead;
                return;
            }
            startLifRead(ctx, path);
            ctx.lif.texture.lifBlocksPath.clear();
            ctx.lif.texture.lifRefusal.clear();
            const BinaryReader file = BinaryReader::fromFile(path);
            result = parseLif(ctx, file.data(), loadPixels, path);
            if (loadPixels && result == LifReadResult::Read) ctx.lif.texture.lifBlocksPath = path;
        });
    return finished ? result : LifReadResult::Failed;
}

// ---- The thumbnail reader ----

std::optional<Image> quickLoadLifBytes(std::span<const uint8_t> bytes) {
    const int64_t length = int64_t(bytes.size());
    if (length < kLifHeaderSize) return std::nullopt;
    const LifHeader h = readLifHeader(bytes);
    const auto bits = layerBits(h.flags);
    const PixelLayout layout = layoutOf(h, bits[kLifAlpha], length);
    const int bytesPerPixel = bits[kLifAlpha] || layout.forcedAlpha ? 4 : layout.is24Bit ? 3 : 1;
    // Its row counter is 16 bits wide: taller pictures are refused.
    if (h.height > 32767) return std::nullopt;
    if (h.width < 0 || h.height < 0 || layout.n == 0) return std::nullopt;
    if (!pixelBlockProblem(h, layout.n, bytesPerPixel, length).empty()) return std::nullopt;

    std::array<std::array<uint8_t, 4>, 256> palette{};
    if (h.Palette > 0) readBlock(bytes, h.Palette, palette.data()->data(), 1024);

    Image image(h.width, h.height);
    const uint8_t* src = bytes.data() + h.data;
    for (auto& pixel : image.pixels) {
        if (bytesPerPixel == 1) {
            const auto& entry = palette[*src++];
            pixel = {entry[0], entry[1], entry[2], 255};
        } else {
            pixel = {src[0], src[1], src[2], 255};
            src += bytesPerPixel;
        }
    }
    return image;
}

std::optional<Image> quickLoadLif(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
    const BinaryReader file = BinaryReader::fromFile(path);
    return quickLoadLifBytes(file.data());
}

std::optional<Image> loadStandardPicture(const std::string& path, PictureLoader& loader) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
    return loader.load(path);
}

std::optional<Image> loadThumbImage(const std::string& path, PictureLoader& loader) {
    const std::string ending = asciiLower(path.size() > 4 ? path.substr(path.size() - 4) : path);
    if (ending == ".lif") return quickLoadLif(path);
    if (ending == ".bmp" || ending == ".jpg" || ending == ".gif" || ending == ".dib")
        return loadStandardPicture(path, loader);
    return std::nullopt;
}

}  // namespace tarv
