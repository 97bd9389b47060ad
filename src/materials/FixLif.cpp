#include "materials/FixLif.h"

#include <cstring>
#include <filesystem>
#include <limits>

#include "base/AtomicFile.h"
#include "base/BinaryReader.h"
#include "base/ByteWriter.h"
#include "base/NumberText.h"
#include "base/Paths.h"
#include "base/RunTimeError.h"
#include "editor/context/EditingContext.h"
#include "editor/context/TrapGuard.h"
#include "materials/BmpWriter.h"
#include "materials/DibSection.h"
#include "materials/LifReader.h"
#include "materials/LifRenderer.h"
#include "materials/Palette.h"
#include "model/LogFiles.h"
#include "model/ModelHelpers.h"

namespace tarv {

namespace {

constexpr int64_t kStandardExtra = 1584;  // header, palette and the two team tables

FixLifFailure badFile(std::string reason) { return {62, std::move(reason)}; }

// Appends count bytes of the source from offset, or count zero bytes when offset is negative.
void appendBlock(std::vector<uint8_t>& out, std::span<const uint8_t> source, int64_t offset, int64_t count) {
    if (offset < 0) {
        out.insert(out.end(), size_t(count), 0);
        return;
    }
    const uint8_t* from = source.data() + offset;
    out.insert(out.end(), from, from + count);
}

// Why a block of the copy case does not lie inside the file, or nothing when it does.
std::optional<FixLifFailure> copyBlockProblem(const char* block, int64_t offset, int64_t count, int64_t length) {
    if (offset + count <= length) return std::nullopt;
    return badFile(std::string("The ") + block + " block at " + intText(offset) + " runs past the end of the file (" +
                   intText(length) + " bytes)");
}

}  // namespace

FixLifSourceOrFailure inspectLifForFix(std::span<const uint8_t> bytes) {
    FixLifSourceOrFailure out;
    if (bytes.size() < size_t(kLifHeaderSize)) {
        out.failure =
            badFile("The file is shorter than its 48-byte header (" + intText(int64_t(bytes.size())) + " bytes)");
        return out;
    }
    FixLifSource s;
    s.header = readLifHeader(bytes);
    const LifHeader& h = s.header;
    if (h.width < 0 || h.height < 0) {
        out.failure = badFile("Negative width or height (" + intText(h.width) + " x " + intText(h.height) + ")");
        return out;
    }
    s.pixelCount = int64_t(h.width) * int64_t(h.height);
    if (s.pixelCount + kStandardExtra > int64_t(std::numeric_limits<int32_t>::max())) {
        out.failure = {6, "Overflow: " + intText(h.width) + " x " + intText(h.height) +
                              " pixels make a file beyond 2,147,483,647 bytes"};
        return out;
    }
    s.length = int64_t(bytes.size());
    s.copyCase = s.length == s.pixelCount + kStandardExtra;
    s.alphaSource = !s.copyCase && s.length == 4 * s.pixelCount + kLifHeaderSize;
    out.source = s;
    return out;
}

int32_t fixedLifFlags(int32_t flags, bool conversion) {
    const int32_t kept = flags == 0 ? 50 : flags;
    return conversion ? (kept | 2) & ~8 : kept;
}

FixLifIndexing indexReducedPicture(const Image& reduced, std::span<const uint8_t> alphaSource) {
    FixLifIndexing out;
    out.indices.reserve(reduced.pixels.size());
    auto entryText = [](int index, const std::array<uint8_t, 4>& e) {
        return intText(index) + ": " + intText(e[0]) + "/" + intText(e[1]) + "/" + intText(e[2]) + "/" + intText(e[3]);
    };
    size_t k = 0;  // pixel k + 1 of the file
    for (int y = 0; y < reduced.height; ++y) {
        for (int x = 0; x < reduced.width; ++x, ++k) {
            const Rgba p = reduced.at(x, y);
            const int32_t colour = int32_t(p.r) + 256 * int32_t(p.g) + 65536 * int32_t(p.b);
            const auto r = uint8_t(getRed(colour)), g = uint8_t(getGreen(colour)), b = uint8_t(getBlue(colour));
            uint8_t a = 255;
            if (!alphaSource.empty()) {
                const size_t at = size_t(kLifHeaderSize) + 4 * k + 3;
                if (at >= alphaSource.size()) {
                    out.failure =
                        badFile("The alpha of pixel " + intText(int64_t(k) + 1) + " lies past the end of the file");
                    return out;
                }
                a = alphaSource[at];
            }
            int index = -1;
            for (int j = 0; j <= out.lastUsed; ++j) {
                const auto& e = out.palette[size_t(j)];
                if (e[0] == r && e[1] == g && e[2] == b) {
                    index = j;
                    break;
                }
            }
            if (index < 0) {
                if (out.lastUsed + 1 > 256) {
                    out.failure = FixLifFailure{9, "Subscript out of range: the picture has more than 257 colours"};
                    return out;
                }
                index = ++out.lastUsed;
                out.palette[size_t(index)] = {r, g, b, a};
                out.log.push_back({(index == 0 ? "-- Adding entry " : "++ Adding entry ") +
                                       entryText(index, out.palette[size_t(index)]),
                                   2});
            }
            out.indices.push_back(uint8_t(index > 255 ? 255 : index));
        }
    }
    return out;
}

std::optional<ReducedPicture> reduceLikeEightBitBmp(const Image& picture) {
    ReducedPicture out;
    out.dib = std::make_shared<cDIBSection>();
    out.dib->CreateFromPicture(picture);
    cPalette palette;
    cDIBSectionSave saver;
    const auto bmp = saver.fileBytes(*out.dib, palette, outputDepth8Bit, reduceToDepthPalette);
    if (!bmp || bmp->size() < 54) return std::nullopt;
    // Decode the 8-bit file: the colour table (blue, green, red, 0) from 54, index rows bottom first.
    const std::vector<uint8_t>& file = *bmp;
    const int64_t offBits = loadI32(file, 10);
    const int32_t width = loadI32(file, 18);
    const int32_t height = loadI32(file, 22);
    const int64_t tableEntries = (offBits - 54) / 4;
    const int64_t rowLength = (int64_t(width) + 3) & ~int64_t(3);
    if (width != picture.width || height != picture.height || tableEntries < 1 ||
        offBits + rowLength * height > int64_t(file.size()))
        return std::nullopt;
    out.picture = Image(width, height);
    for (int32_t y = 0; y < height; ++y) {
        const int64_t row = offBits + int64_t(height - 1 - y) * rowLength;
        for (int32_t x = 0; x < width; ++x) {
            const int64_t index = file[size_t(row + x)];
            if (index >= tableEntries) return std::nullopt;
            const uint8_t* c = file.data() + 54 + 4 * index;
            out.picture.at(x, y) = Rgba{c[2], c[1], c[0], 255};
        }
    }
    return out;
}

FixLifResult fixLifBytes(std::span<const uint8_t> source, const Image* basePicture) {
    FixLifResult out;
    auto fail = [&](FixLifFailure failure) -> FixLifResult& {
        out.failure = std::move(failure);
        out.bytes.clear();
        return out;
    };
    const auto inspected = inspectLifForFix(source);
    if (!inspected.source) return fail(inspected.failure);
    const FixLifSource& s = *inspected.source;
    const LifHeader& h = s.header;
    const int64_t n = s.pixelCount;
    out.pixelCount = n;
    out.header = h;
    out.conversion = !s.copyCase;
    auto log = [&](std::string message, int level) { out.log.push_back({std::move(message), level}); };

    // The room for the whole file is taken once its size is known to be backed by the source or the picture.
    std::vector<uint8_t> file(source.begin(), source.begin() + kLifHeaderSize);
    if (s.copyCase) {
        // Every block is checked against the file before anything is built.
        if (h.data < 0) return fail(badFile("The pixel block has a negative offset (" + intText(h.data) + ")"));
        if (auto p = copyBlockProblem("pixel", h.data, n, s.length)) return fail(*p);
        if (h.Palette > 0)
            if (auto p = copyBlockProblem("palette", h.Palette, 1024, s.length)) return fail(*p);
        if (h.Team0 > 0)
            if (auto p = copyBlockProblem("Team0", h.Team0, 256, s.length)) return fail(*p);
        if (h.Team1 > 0)
            if (auto p = copyBlockProblem("Team1", h.Team1, 256, s.length)) return fail(*p);

        file.reserve(size_t(n + kStandardExtra));
        log("-- Relic non-used Lif", 2);
        appendBlock(file, source, h.data, n);
        if (h.Palette <= 0) log("-- Fixing Palette", 1);
        appendBlock(file, source, h.Palette > 0 ? h.Palette : -1, 1024);
        if (h.Team0 <= 0) log("-- Fixing Team0", 1);
        appendBlock(file, source, h.Team0 > 0 ? h.Team0 : -1, 256);
        if (h.Team1 <= 0) log("-- Fixing Team1", 1);
        appendBlock(file, source, h.Team1 > 0 ? h.Team1 : -1, 256);
    } else {
        log("-- 3dex lif?", 2);
        if (s.alphaSource) log("-- This is an Alpha lif", 2);
        if (!basePicture) return fail(badFile("The base picture of the texture is missing"));
        if (basePicture->width != h.width || basePicture->height != h.height)
            return fail(badFile("The base picture is " + intText(basePicture->width) + " x " +
                                intText(basePicture->height) + ", the header says " + intText(h.width) + " x " +
                                intText(h.height)));
        file.reserve(size_t(n + kStandardExtra));
        auto reduced = reduceLikeEightBitBmp(*basePicture);
        if (!reduced) return fail(badFile("The picture cannot be reduced to 236 colours"));
        out.fixDib = reduced->dib;
        out.reducedPicture = reduced->picture;
        FixLifIndexing indexed =
            indexReducedPicture(reduced->picture, s.alphaSource ? source : std::span<const uint8_t>());
        out.log.insert(out.log.end(), indexed.log.begin(), indexed.log.end());
        if (indexed.failure) return fail(*indexed.failure);
        file.insert(file.end(), indexed.indices.begin(), indexed.indices.end());
        log("-- Writing pallete", 1);
        for (int i = 0; i < 256; ++i)
            file.insert(file.end(), indexed.palette[size_t(i)].begin(), indexed.palette[size_t(i)].end());
        log("-- Writing Team0", 1);
        file.insert(file.end(), 256, 0);
        log("-- Writing Team1", 1);
        file.insert(file.end(), 256, 0);
    }

    log("-- Writing flags", 1);
    out.header.flags = fixedLifFlags(h.flags, out.conversion);
    patchI32(file, 12, out.header.flags);
    out.header.data = kLifHeaderSize;
    out.header.Palette = int32_t(kLifHeaderSize + n);
    out.header.Team0 = int32_t(kLifHeaderSize + n + 1024);
    out.header.Team1 = int32_t(kLifHeaderSize + n + 1280);
    log("-- Writing offsets", 1);
    log("-- Data: " + intText(out.header.data) + " Palette: " + intText(out.header.Palette) +
            " Team0: " + intText(out.header.Team0) + " Team1: " + intText(out.header.Team1),
        2);
    patchI32(file, 32, out.header.data);
    patchI32(file, 36, out.header.Palette);
    patchI32(file, 40, out.header.Team0);
    patchI32(file, 44, out.header.Team1);

    // Every file made here has the standard layout.
    if (int64_t(file.size()) != n + kStandardExtra)
        return fail({51, "Internal error: the new file is " + intText(int64_t(file.size())) + " bytes, not " +
                             intText(n + kStandardExtra)});
    out.bytes = std::move(file);
    return out;
}

namespace {

// Shows the busy pointer until it is released or goes out of scope.
class BusyPointer {
public:
    explicit BusyPointer(StatusDisplay& status) : status_(status) { status_.setBusy(true); }
    ~BusyPointer() { release(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
    void release() {
        if (busy_) status_.setBusy(false);
        busy_ = false;
    }

private:
    StatusDisplay& status_;
    bool busy_ = true;
};

[[noreturn]] void raise(const FixLifFailure& failure) { throw RunTimeError(failure.number, failure.reason); }

// The base layer of the texture at path, drawn from the loaded texture; the texture is read with its
// blocks first unless the last read with blocks was of this file.
Image basePictureOf(EditingContext& ctx, const std::string& path, const LifHeader& header) {
    if (ctx.lif.texture.lifBlocksPath != path) {
        const LifReadResult read = LoadFile(ctx, path, true);
        setErrorContext(ctx, "modLifFunctions", "fix3dexLif", path);
        if (read != LifReadResult::Read)
            throw RunTimeError::badFile("The pixels of " + path + " cannot be read for the conversion");
    }
    ctx.lif.texture.lifHeader = header;
    auto picture = drawLifPicture(ctx.lif.texture, kLayerBase, ctx.prefs.playerBaseColor, ctx.prefs.playerStripeColor,
                                  ctx.lif.background);
    if (!picture || picture->width != header.width || picture->height != header.height)
        throw RunTimeError::badFile("The base layer of " + path + " cannot be drawn at " + intText(header.width) +
                                    " x " + intText(header.height));
    return std::move(*picture);
}

// Sets the "Flags" column of each texture list item whose file in the model folder is path.
void updateFlagsColumn(EditingContext& ctx, const std::string& path, int32_t flags) {
    const std::string folderText = folderOf(ctx.currentModelPath);
    const std::filesystem::path folder =
        folderText.empty() ? std::filesystem::path(".") : std::filesystem::path(folderText);
    for (TextureListItem& item : ctx.preview.lstTextures) {
        const auto found = findCaseInsensitive(folder, item.name + ".lif");
        std::error_code ec;
        if (!found || !std::filesystem::equivalent(*found, path, ec)) continue;
        if (item.subItems.size() < 3) item.subItems.resize(3);
        item.subItems[2] = intText(flags);
    }
}

}  // namespace

void fix3dexLif(EditingContext& ctx, const std::string& path) {
    trapErrors(ctx, "modLifFunctions", "fix3dexLif", path, [&] {
        BusyPointer busy(ctx.status());
        const BinaryReader file = BinaryReader::fromFile(path);
        const std::span<const uint8_t> source = file.data();
        writeLog(ctx, "Writing LiF " + path + ".new", 1);

        const auto inspected = inspectLifForFix(source);
        if (!inspected.source) raise(inspected.failure);
        ctx.lif.texture.lifHeader = inspected.source->header;
        ctx.lif.texture.lifPixelCount = inspected.source->pixelCount;

        std::optional<Image> base;
        if (!inspected.source->copyCase) base = basePictureOf(ctx, path, inspected.source->header);
        FixLifResult result = fixLifBytes(source, base ? &*base : nullptr);
        for (const auto& line : result.log) writeLog(ctx, line.message, line.level);
        if (result.failure) raise(*result.failure);
        if (result.fixDib) ctx.lif.fixDib = result.fixDib;
        if (result.reducedPicture) ctx.lif.preview.picLif1 = *result.reducedPicture;

        writeLog(ctx, "Renaming " + path + " as " + path + ".old", 1);
        copyFileAtomically(path, path + ".old");
        writeFileAtomically(path, result.bytes);

        ctx.prompts().messageBox("Fix Lif done!", ctx.version.appTitle, PromptIcon::None);
        writeLog(ctx, "Fix Lif done!", 1);
        updateFlagsColumn(ctx, path, result.header.flags);
        ctx.lif.preview.Label1.clear();
        busy.release();
        LoadFile(ctx, path, false);
    });
}

}  // namespace tarv
