// The layer renderer: team colours, the seven layers, drawLayer's panel 4 and "As &BMP", the guards, and
// the texture source of the preview.
#include <gtest/gtest.h>

#include <filesystem>

#include "Fakes.h"
#include "LifFixtures.h"
#include "TempDir.h"
#include "base/NumberText.h"
#include "materials/LifReader.h"
#include "materials/LifRenderer.h"
#include "materials/TextureSource.h"
#include "editor/context/EditingContext.h"

namespace tarv {
namespace {

using test::TempDir;
using test::TestContext;

const RgbColour kTeam0{0, 128, 255, 0};
const RgbColour kTeam1{0, 0, 160, 0};
constexpr Rgba kBg{240, 240, 240, 255};

Rgba rgb(int r, int g, int b) { return Rgba{uint8_t(r), uint8_t(g), uint8_t(b), 255}; }

// The 2 x 2 paletted texture of the fixtures: indices 0..3, palette (10 + 40i, 20 + 40i, 30 + 40i,
// 40 + 40i), team 0 amounts 0, 64, 0, 128, team 1 amounts 0, 0, 200, 255.
LoadedTexture paletted2x2() {
    LoadedTexture tex;
    tex.lifHeader.width = 2;
    tex.lifHeader.height = 2;
    tex.lifPixels = {{0, 0, 0, 0}, {1, 0, 0, 0}, {2, 0, 0, 0}, {3, 0, 0, 0}};
    tex.lifPixelCount = 4;
    const auto palette = test::testPalette();
    for (size_t i = 0; i < 256; ++i)
        tex.lifPalette[i] = {palette[4 * i], palette[4 * i + 1], palette[4 * i + 2], palette[4 * i + 3]};
    std::copy(test::kTeam0Amounts.begin(), test::kTeam0Amounts.end(), tex.lifTeam0Table.begin());
    std::copy(test::kTeam1Amounts.begin(), test::kTeam1Amounts.end(), tex.lifTeam1Table.begin());
    return tex;
}

std::vector<Rgba> pixelsOf(const Image& image) { return image.pixels; }

TEST(TeamColours, DefaultColoursGiveThePinnedTable) {
    struct Row {
        uint8_t t;
        Rgba team0, team1;
    };
    const Row rows[] = {
        {1, rgb(0, 127, 254), rgb(0, 0, 1)},   {64, rgb(0, 96, 191), rgb(0, 0, 40)},
        {128, rgb(0, 64, 127), rgb(0, 0, 80)}, {200, rgb(0, 28, 55), rgb(0, 0, 125)},
        {255, rgb(0, 0, 0), rgb(0, 0, 160)},
    };
    const TeamColourTable team0(TeamColourTable::Team0, kTeam0), team1(TeamColourTable::Team1, kTeam1);
    for (const auto& r : rows) {
        SCOPED_TRACE(int(r.t));
        EXPECT_EQ(team0[r.t], r.team0);
        EXPECT_EQ(team1[r.t], r.team1);
    }
}

// The tables worked out once per drawing equal the formulas for every amount and many colours.
TEST(TeamColours, TablesEqualTheFormulas) {
    auto formula0 = [](int t, float c) {
        const float s = float((255.0 - t) / 255.0);
        return roundHalfEven(double(s * c));
    };
    auto formula1 = [](int t, float c) { return roundHalfEven(double(c) * t / 255.0); };
    for (float c : {0.0f, 1.0f, 17.0f, 51.0f, 127.0f, 128.0f, 160.0f, 200.0f, 254.0f, 255.0f}) {
        const RgbColour colour{c, 255.0f - c, c / 2, 0};
        const TeamColourTable team0(TeamColourTable::Team0, colour), team1(TeamColourTable::Team1, colour);
        for (int t = 0; t < 256; ++t) {
            ASSERT_TRUE(team0[uint8_t(t)] && team1[uint8_t(t)]);
            EXPECT_EQ(team0[uint8_t(t)]->r, formula0(t, colour.red));
            EXPECT_EQ(team0[uint8_t(t)]->g, formula0(t, colour.green));
            EXPECT_EQ(team0[uint8_t(t)]->b, formula0(t, colour.blue));
            EXPECT_EQ(team1[uint8_t(t)]->r, formula1(t, colour.red));
            EXPECT_EQ(team1[uint8_t(t)]->g, formula1(t, colour.green));
            EXPECT_EQ(team1[uint8_t(t)]->b, formula1(t, colour.blue));
        }
    }
}

TEST(LayerRenderer, SevenLayersOfAPalettedTextureWithBothTables) {
    const Rgba base[] = {rgb(10, 20, 30), rgb(50, 60, 70), rgb(90, 100, 110), rgb(130, 140, 150)};
    const Rgba t0_64 = rgb(0, 96, 191), t0_128 = rgb(0, 64, 127), t1_200 = rgb(0, 0, 125), t1_255 = rgb(0, 0, 160);
    struct Row {
        uint8_t layer;
        std::vector<Rgba> pixels;
    };
    const Row rows[] = {
        {0, {kBg, kBg, kBg, kBg}},
        {1, {base[0], base[1], base[2], base[3]}},
        {2, {rgb(40, 40, 40), rgb(80, 80, 80), rgb(120, 120, 120), rgb(160, 160, 160)}},
        {3, {kBg, t0_64, kBg, t0_128}},
        {4, {kBg, kBg, t1_200, t1_255}},
        {5, {base[0], t0_64, base[2], t0_128}},
        {6, {base[0], base[1], t1_200, t1_255}},
        {7, {base[0], t0_64, t1_200, t1_255}},  // pixel 4 has both amounts: team 1 wins
        {8, {kBg, kBg, kBg, kBg}},
        {255, {kBg, kBg, kBg, kBg}},
    };
    const auto tex = paletted2x2();
    for (const auto& r : rows) {
        SCOPED_TRACE(int(r.layer));
        auto picture = drawLifPicture(tex, r.layer, kTeam0, kTeam1, kBg);
        ASSERT_TRUE(picture.has_value());
        EXPECT_EQ(picture->width, 2);
        EXPECT_EQ(picture->height, 2);
        EXPECT_EQ(pixelsOf(*picture), r.pixels);
    }
}

TEST(LayerRenderer, PixelKLandsAtItsColumnAndRow) {
    LoadedTexture tex;
    tex.lifHeader.width = 3;
    tex.lifHeader.height = 2;
    tex.lifIs24Bit = true;
    for (uint8_t k = 1; k <= 6; ++k) tex.lifPixels.push_back({k, uint8_t(10 * k), 0, 0});
    tex.lifPixelCount = 6;
    auto picture = drawLifPicture(tex, kLayerBase, kTeam0, kTeam1, kBg);
    ASSERT_TRUE(picture.has_value());
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(picture->at((k - 1) % 3, (k - 1) / 3), rgb(k, 10 * k, 0)) << k;
}

TEST(LayerRenderer, AlphaTextureShowsBaseAboveLayerTwoAndAlphaGreysOnTwo) {
    LoadedTexture tex;
    tex.lifHeader.width = 2;
    tex.lifHeader.height = 1;
    tex.lifLayers[kLifAlpha] = true;
    tex.lifPixels = {{1, 2, 3, 200}, {4, 5, 6, 0}};
    tex.lifPixelCount = 2;
    tex.lifTeam0Table.fill(255);  // would paint black if the team layers were drawn
    tex.lifTeam1Table.fill(255);
    for (uint8_t layer : {1, 3, 4, 5, 6, 7, 8, 200}) {
        SCOPED_TRACE(int(layer));
        EXPECT_EQ(pixelsOf(*drawLifPicture(tex, layer, kTeam0, kTeam1, kBg)),
                  (std::vector<Rgba>{rgb(1, 2, 3), rgb(4, 5, 6)}));
    }
    EXPECT_EQ(pixelsOf(*drawLifPicture(tex, kLayerAlpha, kTeam0, kTeam1, kBg)),
              (std::vector<Rgba>{rgb(200, 200, 200), rgb(0, 0, 0)}));
    EXPECT_EQ(pixelsOf(*drawLifPicture(tex, 0, kTeam0, kTeam1, kBg)), (std::vector<Rgba>{kBg, kBg}));
}

TEST(LayerRenderer, TwentyFourBitTextureTakesItsAmountsFromEntryZero) {
    LoadedTexture tex;
    tex.lifHeader.width = 2;
    tex.lifHeader.height = 1;
    tex.lifIs24Bit = true;
    tex.lifPixels = {{1, 2, 3, 0}, {3, 0, 0, 0}};
    tex.lifPixelCount = 2;
    tex.lifTeam0Table[0] = 128;
    tex.lifTeam0Table[3] = 0;
    tex.lifTeam1Table[3] = 255;
    EXPECT_EQ(pixelsOf(*drawLifPicture(tex, kLayerTeam0, kTeam0, kTeam1, kBg)),
              (std::vector<Rgba>{rgb(0, 64, 127), rgb(0, 64, 127)}));
    EXPECT_EQ(pixelsOf(*drawLifPicture(tex, kLayerAll, kTeam0, kTeam1, kBg)),
              (std::vector<Rgba>{rgb(0, 64, 127), rgb(0, 64, 127)}));
    EXPECT_EQ(pixelsOf(*drawLifPicture(tex, kLayerTeam1, kTeam0, kTeam1, kBg)), (std::vector<Rgba>{kBg, kBg}));
}

TEST(LayerRenderer, EmptySidesGiveAnEmptySurface) {
    LoadedTexture tex;
    tex.lifHeader.width = 0;
    tex.lifHeader.height = 7;
    auto picture = drawLifPicture(tex, kLayerAll, kTeam0, kTeam1, kBg);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->width, 0);
    EXPECT_EQ(picture->height, 7);
    EXPECT_TRUE(picture->pixels.empty());
}

// The renderer never sizes a surface beyond the pixels that were loaded.
TEST(LayerRenderer, GuardsKeepThePreviousSurface) {
    TempDir dir;
    TestContext t(dir.path());
    auto& pv = t.ctx.lif.preview;
    const Image previous(1, 1, rgb(9, 9, 9));
    struct Row {
        const char* name;
        int32_t width, height;
        int64_t count;
    };
    const Row rows[] = {
        {"short pixel array", 2, 3, 4},
        {"32,768 wide", 32768, 1, 4},
        {"negative sides", -2, -2, 4},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        t.ctx.lif.texture = paletted2x2();
        t.ctx.lif.texture.lifHeader.width = r.width;
        t.ctx.lif.texture.lifHeader.height = r.height;
        t.ctx.lif.texture.lifPixelCount = r.count;
        pv.picLif1 = previous;
        pv.panel2 = "old2";
        pv.panel3 = "old3";
        EXPECT_FALSE(drawLifPicture(t.ctx.lif.texture, kLayerBase, kTeam0, kTeam1, kBg).has_value());
        xepDrawSkin(t.ctx, kLayerBase);
        EXPECT_EQ(pv.picLif1, previous);
        EXPECT_EQ(pv.panel2, "old2");
        EXPECT_EQ(pv.panel3, "old3");
    }
    // A header-only read after a read with blocks: the count of the blocks rules.
    t.ctx.lif.texture = paletted2x2();
    t.ctx.lif.texture.lifPixelCount = 3;
    EXPECT_FALSE(drawLifPicture(t.ctx.lif.texture, kLayerBase, kTeam0, kTeam1, kBg).has_value());
    EXPECT_TRUE(t.errors.reports.empty());
}

TEST(LayerRenderer, TeamChannelOutsideAByteStopsAtThatPixel) {
    const RgbColour tooBlue{0, 0, 300, 0};  // amount 200 gives 235, amount 255 gives 300
    auto picture = drawLifPicture(paletted2x2(), kLayerTeam1, kTeam0, tooBlue, kBg);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(pixelsOf(*picture), (std::vector<Rgba>{kBg, kBg, rgb(0, 0, 235), kBg}));
    // Team 0 counts down: amount 64 gives 300 x 191 / 255 = 225, amount 128 gives 149; all fit.
    auto team0 = drawLifPicture(paletted2x2(), kLayerTeam0, tooBlue, kTeam1, kBg);
    EXPECT_EQ(pixelsOf(*team0), (std::vector<Rgba>{kBg, rgb(0, 0, 225), kBg, rgb(0, 0, 149)}));
}

// ---- drawLayer ----

struct PanelCase {
    const char* text;
    int layer;  // -1: the error report
};

TEST(DrawLayer, FollowsTheNumberInPanelFour) {
    const PanelCase cases[] = {
        {"", 0},  {"abc", 0}, {"2.5", 2},  {"3.5", 4}, {"7abc", 7},
        {"8", 8}, {" 5", 5},  {"256", -1}, {"-1", -1}, {"40000", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        TempDir dir;
        TestContext t(dir.path());
        t.ctx.lif.texture = paletted2x2();
        auto& pv = t.ctx.lif.preview;
        const Image previous(1, 1, rgb(9, 9, 9));
        pv.picLif1 = previous;
        pv.Image1 = previous;
        pv.panel1 = (dir / "tex.lif").string();
        pv.panel4 = c.text;
        drawLayer(t.ctx);
        if (c.layer < 0) {
            ASSERT_EQ(t.errors.reports.size(), 1u);
            EXPECT_EQ(t.errors.reports[0].module, "frmLifPreview");
            EXPECT_EQ(t.errors.reports[0].procedure, "drawLayer");
            EXPECT_EQ(t.errors.reports[0].arguments, "");
            EXPECT_EQ(pv.picLif1, previous);
            EXPECT_EQ(pv.Image1, previous);
            EXPECT_FALSE(pv.mnuFileExportBMP);
        } else {
            EXPECT_TRUE(t.errors.reports.empty());
            const auto expected = drawLifPicture(t.ctx.lif.texture, uint8_t(c.layer), t.ctx.prefs.playerBaseColor,
                                                 t.ctx.prefs.playerStripeColor, kButtonFace);
            EXPECT_EQ(pv.picLif1, *expected);
            EXPECT_EQ(pv.Image1, pv.picLif1);
            EXPECT_EQ(pv.panel2, "2");
            EXPECT_EQ(pv.panel3, "2");
            EXPECT_TRUE(pv.mnuFileExportBMP);
            EXPECT_FALSE(t.status.busy);
        }
    }
}

TEST(DrawLayer, NumberEightDrawsTheBaseOfAnAlphaTexture) {
    TempDir dir;
    TestContext t(dir.path());
    auto& tex = t.ctx.lif.texture;
    tex.lifHeader.width = 1;
    tex.lifHeader.height = 1;
    tex.lifLayers[kLifAlpha] = true;
    tex.lifPixels = {{7, 8, 9, 10}};
    tex.lifPixelCount = 1;
    t.ctx.lif.preview.panel4 = "8";
    drawLayer(t.ctx);
    EXPECT_EQ(t.ctx.lif.preview.picLif1.pixels, (std::vector<Rgba>{rgb(7, 8, 9)}));
}

TEST(DrawLayer, TeamColoursAreReadAtTheMomentOfDrawing) {
    TempDir dir;
    TestContext t(dir.path());
    t.ctx.lif.texture = paletted2x2();
    t.ctx.lif.preview.panel4 = "4";
    t.ctx.prefs.playerStripeColor = RgbColour{255, 0, 0, 0};
    drawLayer(t.ctx);
    EXPECT_EQ(t.ctx.lif.preview.picLif1.at(1, 1), rgb(255, 0, 0));
}

TEST(DrawLayer, AsBmpStaysAsItIsWhenTheBmpOfPanelOneExists) {
    TempDir dir;
    TestContext t(dir.path());
    t.ctx.lif.texture = paletted2x2();
    auto& pv = t.ctx.lif.preview;
    pv.panel1 = (dir / "hull.lif").string();
    pv.panel4 = "1";
    test::writeText(dir / "hull.lif.bmp", "x");
    drawLayer(t.ctx);
    EXPECT_FALSE(pv.mnuFileExportBMP);
    std::filesystem::remove(dir / "hull.lif.bmp");
    drawLayer(t.ctx);
    EXPECT_TRUE(pv.mnuFileExportBMP);
}

TEST(DrawLayer, BackgroundComesFromTheState) {
    TempDir dir;
    TestContext t(dir.path());
    t.ctx.lif.texture = paletted2x2();
    t.ctx.lif.background = rgb(1, 2, 3);
    t.ctx.lif.preview.panel4 = "3";
    drawLayer(t.ctx);
    EXPECT_EQ(t.ctx.lif.preview.picLif1.at(0, 0), rgb(1, 2, 3));
    EXPECT_EQ(kButtonFace, rgb(240, 240, 240));
}

// ---- The texture source of the preview ----

TEST(LifTextureSource, ReadsATextureAndDrawsLayersOneAndSevenWithoutWritingFiles) {
    TempDir dir;
    TestContext t(dir.path());
    const auto folder = dir / "ship";
    std::filesystem::create_directory(folder);
    const auto path = (folder / "hull.lif").string();
    test::writeBytes(path, test::standard2x2(50));
    LifTextureSource source(t.ctx);

    ASSERT_EQ(source.LoadFile(path, true), LifReadResult::Read);
    EXPECT_EQ(source.width(), 2);
    EXPECT_EQ(source.height(), 2);
    EXPECT_EQ(source.flags(), 50);
    const Image all = source.drawLayer(7);
    EXPECT_EQ(all.pixels, (std::vector<Rgba>{rgb(10, 20, 30), rgb(0, 96, 191), rgb(0, 0, 125), rgb(0, 0, 160)}));
    const Image base = source.drawLayer(1);
    EXPECT_EQ(base.pixels,
              (std::vector<Rgba>{rgb(10, 20, 30), rgb(50, 60, 70), rgb(90, 100, 110), rgb(130, 140, 150)}));
    EXPECT_EQ(t.ctx.lif.preview.panel4, "1");

    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++files;
    EXPECT_EQ(files, 1);
    EXPECT_EQ(source.LoadFile((folder / "missing.lif").string(), true), LifReadResult::NotRead);
}

}  // namespace
}  // namespace tarv
