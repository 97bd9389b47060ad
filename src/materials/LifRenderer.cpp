#include "materials/LifRenderer.h"

#include <cmath>
#include <filesystem>

#include "base/NumberText.h"
#include "base/RunTimeError.h"
#include "editor/context/TrapGuard.h"
#include "editor/context/EditingContext.h"

namespace tarv {

namespace {

std::optional<uint8_t> channelByte(double value) {
    const double rounded = roundHalfEven(value);
    if (!(rounded >= 0.0 && rounded <= 255.0)) return std::nullopt;  // NaN too
    return uint8_t(rounded);
}

}  // namespace

std::optional<uint8_t> teamColour0Channel(uint8_t t, float c) {
    const float s = float((255.0 - double(t)) / 255.0);
    return channelByte(double(s * c));
}

std::optional<uint8_t> teamColour1Channel(uint8_t t, float c) { return channelByte(double(c) * double(t) / 255.0); }

TeamColourTable::TeamColourTable(Team team, const RgbColour& colour) {
    auto channel = team == Team0 ? teamColour0Channel : teamColour1Channel;
    for (int t = 0; t < 256; ++t) {
        const auto r = channel(uint8_t(t), colour.red);
        const auto g = channel(uint8_t(t), colour.green);
        const auto b = channel(uint8_t(t), colour.blue);
        if (r && g && b) colours_[size_t(t)] = Rgba{*r, *g, *b, 255};
    }
}

bool lifDrawingCanStart(const LoadedTexture& texture) {
    const int32_t width = texture.lifHeader.width;
    const int32_t height = texture.lifHeader.height;
    if (width < 0 || height < 0 || width > 32767 || height > 32767) return false;
    const int64_t n = int64_t(width) * height;
    return n <= texture.lifPixelCount && n <= int64_t(texture.lifPixels.size());
}

std::optional<Image> drawLifPicture(const LoadedTexture& texture, uint8_t layer, const RgbColour& team0,
                                    const RgbColour& team1, Rgba background) {
    if (!lifDrawingCanStart(texture)) return std::nullopt;
    const int32_t width = texture.lifHeader.width;
    const int32_t height = texture.lifHeader.height;
    const int64_t n = int64_t(width) * height;

    Image surface(width, height, background);
    const bool alpha = texture.lifLayers[kLifAlpha];
    if (alpha && layer > 2) layer = kLayerBase;
    if (layer < kLayerBase || layer > kLayerAll) return surface;

    const bool usesTeam0 = layer == kLayerTeam0 || layer == kLayerBaseTeam0 || layer == kLayerAll;
    const bool usesTeam1 = layer == kLayerTeam1 || layer == kLayerBaseTeam1 || layer == kLayerAll;
    std::optional<TeamColourTable> colours0, colours1;
    if (usesTeam0) colours0.emplace(TeamColourTable::Team0, team0);
    if (usesTeam1) colours1.emplace(TeamColourTable::Team1, team1);

    // The colour of source pixel p with amount index i, or nothing when its team colour is out of range.
    auto colourOf = [&](const LifPixel& p, uint8_t i) -> std::optional<Rgba> {
        const Rgba base{p[0], p[1], p[2], 255};
        if (layer == kLayerBase) return base;
        if (layer == kLayerAlpha) return Rgba{p[3], p[3], p[3], 255};
        const uint8_t t0 = texture.lifTeam0Table[i];
        const uint8_t t1 = texture.lifTeam1Table[i];
        std::optional<Rgba> c = base;
        if (layer == kLayerTeam0 || layer == kLayerBaseTeam0 || layer == kLayerAll) {
            if (t0 != 0)
                c = (*colours0)[t0];
            else if (layer == kLayerTeam0)
                c = background;
            if (!c) return c;
        }
        if (layer == kLayerTeam1 || layer == kLayerBaseTeam1 || layer == kLayerAll) {
            if (t1 != 0)
                c = (*colours1)[t1];
            else if (layer == kLayerTeam1)
                c = background;
        }
        return c;
    };

    // Pixel k - 1 of the texture is pixel k - 1 of the surface: x = (k - 1) mod width, y = (k - 1) div width.
    const size_t count = size_t(n);
    if (alpha || texture.lifIs24Bit) {
        // Direct colours take their amounts from entry 0 of the tables.
        for (size_t k = 0; k < count; ++k) {
            const auto c = colourOf(texture.lifPixels[k], 0);
            if (!c) return surface;
            plotLifPixel(surface, int(k % size_t(width)), int(k / size_t(width)), *c);
        }
        return surface;
    }
    // A paletted pixel's colour depends on its index alone: work out the 256 colours once.
    std::array<std::optional<Rgba>, 256> byIndex;
    for (int i = 0; i < 256; ++i) byIndex[size_t(i)] = colourOf(texture.lifPalette[size_t(i)], uint8_t(i));
    for (size_t k = 0; k < count; ++k) {
        const auto& c = byIndex[texture.lifPixels[k][0]];
        if (!c) return surface;
        surface.pixels[k] = *c;
    }
    return surface;
}

void xepDrawSkin(EditingContext& ctx, uint8_t layer) {
    setErrorContext(ctx, "modLifFunctions", "xepDrawSkin", intText(layer));
    ctx.status().setBusy(true);
    try {
        auto picture = drawLifPicture(ctx.lif.texture, layer, ctx.prefs.playerBaseColor, ctx.prefs.playerStripeColor,
                                      ctx.lif.background);
        if (picture) {
            ctx.lif.preview.panel2 = intText(picture->width);
            ctx.lif.preview.panel3 = intText(picture->height);
            ctx.lif.preview.picLif1 = std::move(*picture);
        }
    } catch (const std::exception&) {
        // A drawing that fails ends without a message; the surface keeps what it had.
    }
    ctx.status().setBusy(false);
}

void drawLayer(EditingContext& ctx) {
    trapErrors(ctx, "frmLifPreview", "drawLayer", "", [&] {
        auto& pv = ctx.lif.preview;
        const int16_t number = toInt16(leadingNumber(pv.panel4));
        if (number < 0 || number > 255) throw RunTimeError::overflow();
        xepDrawSkin(ctx, uint8_t(number));
        pv.Image1 = pv.picLif1;
        pv.Image1Width = pv.Image1.width;  // the zoom's stretch and caption stay
        pv.Image1Height = pv.Image1.height;
        std::error_code ec;
        if (!std::filesystem::exists(pv.panel1 + ".bmp", ec)) pv.mnuFileExportBMP = true;
    });
}

}  // namespace tarv
