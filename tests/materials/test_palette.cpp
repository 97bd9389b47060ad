// The palette: nearest entry, fixed palettes, the octree, palette files and the colour reductions.
#include <gtest/gtest.h>

#include <random>

#include "ByteBuilder.h"
#include "DibTestHelpers.h"
#include "Fakes.h"
#include "TempDir.h"
#include "base/RunTimeError.h"
#include "materials/ColourReduce.h"
#include "materials/DibSection.h"
#include "materials/Palette.h"

using namespace tarv;
using tarv::test::ByteBuilder;
using tarv::test::pixel;
using tarv::test::Rgb;
using tarv::test::setGrey;
using tarv::test::setPixel;

namespace {

cPalette paletteOf(std::initializer_list<Rgb> colours) {
    cPalette p;
    for (const Rgb& c : colours) p.Add(c[0], c[1], c[2]);
    return p;
}

Rgb entryOf(const cPalette& p, int i) { return {p.Red(i), p.Green(i), p.Blue(i)}; }

// A picture of width x 1 with the given colours, left to right.
cDIBSection rowOf(const std::vector<Rgb>& colours) {
    cDIBSection dib;
    EXPECT_TRUE(dib.Create(int32_t(colours.size()), 1));
    for (size_t i = 0; i < colours.size(); ++i) setPixel(dib, int(i), 0, colours[i][0], colours[i][1], colours[i][2]);
    return dib;
}

int errorNumber(const std::function<void()>& f) {
    try {
        f();
    } catch (const RunTimeError& e) {
        return e.number();
    }
    return 0;
}

}  // namespace

TEST(Palette, ClosestIndex) {
    struct Case {
        const char* what;
        cPalette palette;
        Rgb colour;
        int expected;
    };
    const Case cases[] = {
        {"empty palette", cPalette(), {1, 2, 3}, 0},
        {"765 from every entry", paletteOf({{255, 255, 255}}), {0, 0, 0}, 0},
        {"nearest", paletteOf({{0, 0, 0}, {100, 100, 100}, {255, 255, 255}}), {90, 120, 100}, 2},
        {"a tie goes to the lower entry", paletteOf({{10, 0, 0}, {0, 10, 0}}), {5, 5, 0}, 1},
        {"a colour present twice: the first", paletteOf({{1, 1, 1}, {9, 9, 9}, {9, 9, 9}}), {9, 9, 9}, 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.palette.ClosestIndex(c.colour[0], c.colour[1], c.colour[2]), c.expected) << c.what;
}

TEST(Palette, EntriesOutsideTheRangeRaiseSubscriptOutOfRange) {
    cPalette p = paletteOf({{1, 2, 3}});
    EXPECT_EQ(entryOf(p, 1), (Rgb{1, 2, 3}));
    EXPECT_EQ(errorNumber([&] { p.Red(0); }), 9);
    EXPECT_EQ(errorNumber([&] { p.Green(2); }), 9);
    EXPECT_EQ(errorNumber([&] { p.Blue(-1); }), 9);
    p.Clear();
    EXPECT_EQ(p.Count(), 0);
    EXPECT_EQ(errorNumber([&] { p.Red(1); }), 9);
}

TEST(Palette, FixedPalettes) {
    struct Spot {
        int index;
        Rgb colour;
    };
    struct Case {
        const char* name;
        void (cPalette::*make)();
        int count;
        std::vector<Spot> spots;
    };
    const Case cases[] = {
        {"16 colours",
         &cPalette::Create16Colour,
         16,
         {{1, {0, 0, 0}}, {2, {128, 0, 0}}, {8, {192, 192, 192}}, {9, {128, 128, 128}}, {16, {255, 255, 255}}}},
        {"web safe",
         &cPalette::CreateWebSafe,
         256,
         {{1, {0, 0, 0}},
          {2, {128, 0, 0}},
          {9, {51, 0, 0}},
          {10, {102, 0, 0}},
          {12, {204, 0, 0}},
          {13, {0, 51, 0}},
          {216, {204, 255, 255}},
          {217, {8, 8, 8}},
          {247, {248, 248, 248}},
          {248, {128, 128, 128}},
          {255, {255, 255, 255}},
          {256, {0, 0, 0}}}},
        {"half tone",
         &cPalette::CreateHalfTone,
         256,
         {{1, {0, 0, 0}},
          {2, {64, 0, 0}},
          {6, {0, 64, 0}},
          {26, {0, 0, 64}},
          {125, {255, 255, 255}},
          {126, {0, 0, 0}},
          {256, {0, 0, 0}}}},
        {"mono", &cPalette::CreateMono, 2, {{1, {0, 0, 0}}, {2, {255, 255, 255}}}},
    };
    for (const Case& c : cases) {
        cPalette p = paletteOf({{7, 7, 7}});
        (p.*c.make)();
        EXPECT_EQ(p.Count(), c.count) << c.name;
        for (const Spot& s : c.spots) EXPECT_EQ(entryOf(p, s.index), s.colour) << c.name << " entry " << s.index;
        for (const PaletteEntry& e : p.entries()) EXPECT_EQ(e.reserved, 0);
    }
}

// ---- octree

TEST(Octree, OneColourGivesOneEntry) {
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(3, 2));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) setPixel(dib, x, y, 10, 20, 30);
    cPalette p;
    ASSERT_TRUE(p.CreateOptimal(dib, 236, 6));
    ASSERT_EQ(p.Count(), 1);
    EXPECT_EQ(entryOf(p, 1), (Rgb{10, 20, 30}));
    EXPECT_EQ(p.ClosestIndex(10, 20, 30), 1);
}

TEST(Octree, BoxesAreListedInNodeTableOrderBottomRowFirst) {
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(2, 2));
    setPixel(dib, 0, 1, 255, 0, 0);  // top row: red, green
    setPixel(dib, 1, 1, 0, 255, 0);
    setPixel(dib, 0, 0, 0, 0, 255);  // bottom row: blue, white
    setPixel(dib, 1, 0, 255, 255, 255);
    cPalette p;
    ASSERT_TRUE(p.CreateOptimal(dib, 236, 6));
    ASSERT_EQ(p.Count(), 4);
    EXPECT_EQ(entryOf(p, 1), (Rgb{0, 0, 255}));
    EXPECT_EQ(entryOf(p, 2), (Rgb{255, 255, 255}));
    EXPECT_EQ(entryOf(p, 3), (Rgb{255, 0, 0}));
    EXPECT_EQ(entryOf(p, 4), (Rgb{0, 255, 0}));
    EXPECT_EQ(p.NodesInUse(), 1 + 4 * 6);
}

TEST(Octree, ABoxAveragesItsPixelsHalvesToEven) {
    cDIBSection dib = rowOf({{98, 98, 98}, {99, 99, 99}});
    cPalette p;
    ASSERT_TRUE(p.CreateOptimal(dib, 236, 6));
    ASSERT_EQ(p.Count(), 1);
    EXPECT_EQ(entryOf(p, 1), (Rgb{98, 98, 98}));  // 98.5
    cDIBSection three = rowOf({{99, 99, 99}, {100, 100, 100}, {100, 100, 100}, {99, 99, 99}});
    ASSERT_TRUE(p.CreateOptimal(three, 236, 6));
    EXPECT_EQ(entryOf(p, 1), (Rgb{100, 100, 100}));  // 99.5
}

TEST(Octree, NodeTableGrowsByATenth) {
    // Eight colours in the eight root octants take 1 + 8 * 6 nodes; (5, 0, 0) and its kind share all
    // inner nodes with black and add one leaf each; (195, 0, 0) one leaf beside (200, 0, 0).
    std::vector<Rgb> colours;
    for (uint8_t b : {0, 200})
        for (uint8_t g : {0, 200})
            for (uint8_t r : {0, 200}) colours.push_back({r, g, b});
    for (Rgb c : {Rgb{5, 0, 0}, Rgb{0, 5, 0}, Rgb{5, 5, 0}, Rgb{0, 0, 5}, Rgb{5, 0, 5}, Rgb{0, 5, 5}, Rgb{5, 5, 5},
                  Rgb{195, 0, 0}})
        colours.push_back(c);
    struct Case {
        size_t pixels;
        int nodes;
        int table;
    };
    for (Case c :
         {Case{1, 7, 50}, Case{8, 49, 50}, Case{9, 50, 50}, Case{10, 51, 56}, Case{15, 56, 56}, Case{16, 57, 63}}) {
        cDIBSection dib = rowOf(std::vector<Rgb>(colours.begin(), colours.begin() + long(c.pixels)));
        cPalette p;
        ASSERT_TRUE(p.CreateOptimal(dib, 236, 6));
        EXPECT_EQ(p.NodesInUse(), c.nodes) << c.pixels;
        EXPECT_EQ(p.nodeTableSize(), c.table) << c.pixels;
        EXPECT_EQ(p.Count(), int(c.pixels));
    }
    cPalette p;
    p.EraseNodes();
    EXPECT_EQ(p.nodeTableSize(), 0);
}

TEST(Octree, MergesReuseFreedNodes) {
    // Four colours under one level-5 node; PalSize 2 merges the deepest inner node and reuses its leaves.
    cDIBSection dib = rowOf({{0, 0, 0}, {5, 0, 0}, {0, 5, 0}, {200, 200, 200}, {5, 5, 0}});
    cPalette p;
    ASSERT_TRUE(p.CreateOptimal(dib, 2, 6));
    ASSERT_EQ(p.Count(), 2);
    EXPECT_EQ(entryOf(p, 1), (Rgb{2, 2, 0}));  // (0+5+0+5)/4 = 2.5 -> 2
    EXPECT_EQ(entryOf(p, 2), (Rgb{200, 200, 200}));
    EXPECT_LE(p.LeafCount(), 2);
    EXPECT_EQ(p.nodeTableSize(), 50);
}

TEST(Octree, RandomPictureStaysWithinPalSizeAndMapsOntoPaletteColours) {
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(256, 256));
    std::mt19937 rng(42);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) setPixel(dib, x, y, uint8_t(rng()), uint8_t(rng()), uint8_t(rng()));
    cPalette p;
    ASSERT_TRUE(p.CreateOptimal(dib, 236, 6));
    EXPECT_GT(p.Count(), 8);
    EXPECT_LE(p.Count(), 236);
    EXPECT_LE(p.LeafCount(), 236);

    cDIBSection work;
    ASSERT_TRUE(work.Create(256, 256));
    cColourReduceDIB().ApplyPalette(dib, work, p, false);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            const Rgb c = pixel(dib, x, y);
            const int k = p.ClosestIndex(c[0], c[1], c[2]);
            ASSERT_GE(k, 1);
            ASSERT_EQ(entryOf(p, k), c);
        }
}

TEST(Octree, LevelsOutsideOneToEight) {
    cDIBSection one = rowOf({{1, 2, 3}});
    cDIBSection two = rowOf({{1, 2, 3}, {200, 2, 3}});
    cPalette p;
    // 0: the first descent needs a ninth list.
    EXPECT_EQ(errorNumber([&] { p.CreateOptimal(one, 236, 0); }), 9);
    // 9: the descent stays within the lists; only a merge needs list 8.
    ASSERT_TRUE(p.CreateOptimal(two, 236, 9));
    EXPECT_EQ(p.Count(), 2);
    EXPECT_EQ(entryOf(p, 2), (Rgb{200, 2, 3}));
    EXPECT_EQ(errorNumber([&] { p.CreateOptimal(two, 1, 9); }), 9);
    EXPECT_EQ(errorNumber([&] { p.CreateOptimal(two, 1, 255); }), 9);
    // Outside a byte: overflow before anything is done.
    EXPECT_EQ(errorNumber([&] { p.CreateOptimal(one, 236, 256); }), 6);
    EXPECT_EQ(errorNumber([&] { p.CreateOptimal(one, 236, -1); }), 6);
}

TEST(Octree, ATreeThatCannotBeReducedFailsQuietly) {
    // Five root octants cannot become four boxes: the root's children are never merged.
    tarv::test::TempDir dir;
    tarv::test::TestContext t(dir.path());  // strict prompts: nothing may be shown
    cDIBSection dib = rowOf({{0, 0, 0}, {200, 0, 0}, {0, 200, 0}, {0, 0, 200}, {200, 200, 200}});
    cPalette p = paletteOf({{1, 1, 1}});
    EXPECT_FALSE(p.CreateOptimal(dib, 4, 6));
    EXPECT_EQ(p.Count(), 0);
    // Four octants fit.
    cDIBSection four = rowOf({{0, 0, 0}, {200, 0, 0}, {0, 200, 0}, {0, 0, 200}});
    EXPECT_TRUE(p.CreateOptimal(four, 4, 6));
    EXPECT_EQ(p.Count(), 4);
    EXPECT_TRUE(t.prompts.shown.empty());
}

// ---- reductions

TEST(ColourReduce, ApplyPaletteOntoASupersetLeavesThePictureUnchanged) {
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(5, 4));
    const Rgb colours[3] = {{10, 20, 30}, {250, 0, 7}, {0, 0, 0}};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            setPixel(dib, x, y, colours[(x + y) % 3][0], colours[(x + y) % 3][1], colours[(x + y) % 3][2]);
    const std::vector<uint8_t> before = dib.pictureFileBytes();
    cPalette p = paletteOf({{255, 255, 255}, {0, 0, 0}, {250, 0, 7}, {10, 20, 31}, {10, 20, 30}});
    cDIBSection work;
    ASSERT_TRUE(work.Create(5, 4));
    cColourReduceDIB().ApplyPalette(dib, work, p, true);
    EXPECT_EQ(dib.pictureFileBytes(), before);
}

TEST(ColourReduce, ApplyPaletteDiffusesRightAndUpWithinItsBounds) {
    // A palette of every grey but 100..139. Columns are the outer loop, memory rows the inner one.
    cPalette greys;
    for (int v = 0; v < 256; ++v)
        if (v < 100 || v > 139) greys.Add(uint8_t(v), uint8_t(v), uint8_t(v));
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(4, 3));
    const int start[3][4] = {{104, 50, 119, 60}, {70, 135, 90, 30}, {0, 20, 100, 40}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) setGrey(dib, x, y, uint8_t(start[y][x]));
    setPixel(dib, 0, 2, 102, 99, 99);  // 3 away from grey 99: no diffusion at a total error of 3
    cDIBSection work;
    ASSERT_TRUE(work.Create(4, 3));
    cColourReduceDIB().ApplyPalette(dib, work, greys, true);
    // (0,0) 104 -> 99, error 5: right +35\16 = 2 (52); column 0 gives nothing upwards ((0,1) stays 70).
    // (3,1) 135 -> 140, error -5: right -35\16 = -2 (88), up -20\16 = -1 (19), both toward zero.
    // (6,0) 119 -> 99, error 20: no right share past lastX - 3 ((9,0) stays 60), up +80\16 = 5 (93).
    const int expected[3][4] = {{99, 52, 99, 60}, {70, 140, 93, 30}, {99, 19, 99, 40}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            const uint8_t v = uint8_t(expected[y][x]);
            EXPECT_EQ(pixel(dib, x, y), (Rgb{v, v, v})) << x << "," << y;
            EXPECT_EQ(pixel(work, x, y), (Rgb{v, v, v})) << x << "," << y;
        }
}

TEST(ColourReduce, ApplyPaletteRaisesSubscriptOutOfRange) {
    cColourReduceDIB reducer;
    cDIBSection black;
    ASSERT_TRUE(black.Create(2, 2));
    cDIBSection work;
    ASSERT_TRUE(work.Create(2, 2));
    // Black is 765 away from white: ClosestIndex 0, and entry 0 does not exist.
    EXPECT_EQ(errorNumber([&] { reducer.ApplyPalette(black, work, paletteOf({{255, 255, 255}}), false); }), 9);
    EXPECT_EQ(errorNumber([&] { reducer.ApplyPalette(black, work, cPalette(), false); }), 9);
    // A target of another size: nothing changes.
    cDIBSection picture = rowOf({{1, 2, 3}, {4, 5, 6}});
    cDIBSection small;
    ASSERT_TRUE(small.Create(1, 1));
    const std::vector<uint8_t> before = picture.pictureFileBytes();
    EXPECT_EQ(errorNumber([&] { reducer.ApplyPalette(picture, small, paletteOf({{0, 0, 0}}), true); }), 9);
    EXPECT_EQ(errorNumber([&] { reducer.BlackAndWhite(picture, small); }), 9);
    EXPECT_EQ(picture.pictureFileBytes(), before);
}

TEST(ColourReduce, GrayScaleWeighsTheChannelsAndRoundsHalvesToEven) {
    cDIBSection dib = rowOf({{113, 2, 0}, {255, 255, 255}, {0, 0, 10}, {10, 0, 0}});
    cColourReduceDIB().GrayScale(dib);
    EXPECT_EQ(pixel(dib, 0, 0), (Rgb{26, 26, 26}));  // 26.5
    EXPECT_EQ(pixel(dib, 1, 0), (Rgb{255, 255, 255}));
    EXPECT_EQ(pixel(dib, 2, 0), (Rgb{1, 1, 1}));  // 0.71
    EXPECT_EQ(pixel(dib, 3, 0), (Rgb{2, 2, 2}));  // 2.22
}

TEST(ColourReduce, BlackAndWhiteDithersWithItsOwnErrors) {
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(4, 2));
    const int start[2][4] = {{200, 100, 10, 120}, {100, 100, 127, 127}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) setGrey(dib, x, y, uint8_t(start[y][x]));
    cDIBSection work;
    ASSERT_TRUE(work.Create(4, 2));
    cColourReduceDIB().BlackAndWhite(dib, work);
    // (6,1) ends at 127 + 4 - 14 + 12 = 129 and turns white only with the white error 127 - g (-33 from
    // (3,1) = 160) and shares divided toward zero. (9,0) and (9,1) stay black: x < lastX - 3 keeps (6,0)'s
    // error from (9,0), and 0 < x + j < lastX keeps (6,0)'s and (9,0)'s from (9,1).
    const int expected[2][4] = {{255, 0, 0, 0}, {0, 255, 255, 0}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) {
            const uint8_t v = uint8_t(expected[y][x]);
            EXPECT_EQ(pixel(dib, x, y), (Rgb{v, v, v})) << x << "," << y;
        }
}

// ---- palette files

namespace {

std::vector<uint8_t> paletteFile(int32_t count, int entriesPresent) {
    ByteBuilder b;
    b.i32(count);
    for (int i = 0; i < entriesPresent; ++i) b.u8(uint8_t(i)).u8(uint8_t(i + 1)).u8(uint8_t(i + 2)).u8(uint8_t(i + 3));
    return b.data();
}

}  // namespace

TEST(PaletteFile, LoadAcceptsOneTo4097Entries) {
    tarv::test::TempDir dir;
    const auto path = (dir / "p.pal").string();
    struct Case {
        int32_t count;
        bool accepted;
    };
    for (Case c : {Case{1, true}, Case{4097, true}, Case{0, false}, Case{4098, false}, Case{-1, false}}) {
        tarv::test::writeBytes(path, paletteFile(c.count, std::clamp(c.count, 0, 4098)));
        cPalette p;
        p.CreateMono();
        int32_t position = 0;
        EXPECT_EQ(p.Load(path, position), c.accepted) << c.count;
        if (c.accepted) {
            EXPECT_EQ(p.Count(), c.count);
            EXPECT_EQ(position, 4 + 4 * c.count);
            EXPECT_EQ(p.entries().back(), (PaletteEntry{uint8_t(c.count - 1), uint8_t(c.count), uint8_t(c.count + 1),
                                                        uint8_t(c.count + 2)}));
        } else {
            EXPECT_EQ(p.Count(), 2) << "entries untouched";
            EXPECT_EQ(entryOf(p, 2), (Rgb{255, 255, 255}));
            EXPECT_EQ(position, 0);
        }
    }
}

TEST(PaletteFile, ShortReadsAndMissingFiles) {
    tarv::test::TempDir dir;
    const auto path = (dir / "short.pal").string();
    ByteBuilder b;
    b.i32(3).u8(1).u8(2).u8(3).u8(4).u8(5);  // one entry and one byte of the second
    b.writeTo(path);
    cPalette p;
    int32_t position = 0;
    EXPECT_FALSE(p.Load(path, position));
    ASSERT_EQ(p.Count(), 3);
    EXPECT_EQ(p.entries()[0], (PaletteEntry{1, 2, 3, 4}));
    EXPECT_EQ(p.entries()[1], (PaletteEntry{5, 0, 0, 0}));
    EXPECT_EQ(p.entries()[2], (PaletteEntry{}));
    EXPECT_EQ(position, 0);

    ByteBuilder two;
    two.u8(1).u8(0);  // not even a count
    two.writeTo(path);
    cPalette q;
    EXPECT_FALSE(q.Load(path, position));
    EXPECT_EQ(q.Count(), 0);
    EXPECT_FALSE(q.Load((dir / "missing.pal").string(), position));
    position = 99;
    EXPECT_FALSE(q.Load(path, position));  // past the end
}

TEST(PaletteFile, PalettesReadInSequenceThroughThePosition) {
    tarv::test::TempDir dir;
    const auto path = (dir / "two.pal").string();
    ByteBuilder b;
    b.i32(1).u8(10).u8(11).u8(12).u8(0);
    b.i32(2).u8(20).u8(21).u8(22).u8(0).u8(30).u8(31).u8(32).u8(9);
    b.writeTo(path);
    cPalette p;
    int32_t position = -5;  // below 1: from the start
    ASSERT_TRUE(p.Load(path, position));
    EXPECT_EQ(position, 8);
    EXPECT_EQ(entryOf(p, 1), (Rgb{10, 11, 12}));
    ASSERT_TRUE(p.Load(path, position));
    EXPECT_EQ(position, 20);
    ASSERT_EQ(p.Count(), 2);
    EXPECT_EQ(p.entries()[1], (PaletteEntry{30, 31, 32, 9}));
}

TEST(PaletteFile, SaveWritesAtThePosition) {
    tarv::test::TempDir dir;
    const auto path = (dir / "out.pal").string();
    tarv::test::writeBytes(path, std::vector<uint8_t>(100, 0xAA));
    cPalette p = paletteOf({{1, 2, 3}, {250, 251, 252}});
    ASSERT_TRUE(p.Save(path, 3));
    ByteBuilder expected;
    expected.fill(3).i32(2).u8(1).u8(2).u8(3).u8(0).u8(250).u8(251).u8(252).u8(0);
    EXPECT_EQ(tarv::test::readBytes(path), expected.data());
    ASSERT_TRUE(p.Save(path, 0));
    EXPECT_EQ(tarv::test::readBytes(path), std::vector<uint8_t>(expected.data().begin() + 3, expected.data().end()));

    cPalette back;
    int32_t position = 0;
    ASSERT_TRUE(back.Load(path, position));
    EXPECT_EQ(back.entries(), p.entries());
    EXPECT_FALSE(p.Save((dir / "no folder" / "x.pal").string(), 0));
}

TEST(JascFile, SaveAndLoadBlackAndWhite) {
    tarv::test::TempDir dir;
    tarv::test::TestContext t(dir.path());
    const auto path = (dir / "bw.pal").string();
    tarv::test::writeText(path, std::string(300, 'x'));
    cPalette p;
    p.CreateMono();
    ASSERT_TRUE(p.SaveToJASCFile(t.ctx, path));
    EXPECT_EQ(tarv::test::readText(path), "JASC\r\n0100\r\n2\r\n0 0 0\r\n255 255 255");
    cPalette back = paletteOf({{5, 5, 5}});
    ASSERT_TRUE(back.LoadFromJASCFile(t.ctx, path));
    EXPECT_EQ(back.entries(), p.entries());
}

TEST(JascFile, LinesOfThreePartsAreEntries) {
    tarv::test::TempDir dir;
    tarv::test::TestContext t(dir.path());
    struct Case {
        const char* text;
        std::vector<Rgb> entries;
    };
    const Case cases[] = {
        {"JASC\r\n0100\r\n2\r\n1 2 3 4\r\n5 6 7", {{5, 6, 7}}},           // four parts: skipped
        {"JASC\r\n0100\r\n9\r\n\r\n1 2 3\r\n", {{1, 2, 3}}},              // empty lines skipped
        {"1 2 3\n4 5 6", {}},                                             // a bare line feed does not split
        {"12.5 13.5 1e2\r\n-0.4 0 255.4", {{12, 14, 100}, {0, 0, 255}}},  // decimals round half to even
        {"", {}},
    };
    for (const Case& c : cases) {
        const auto path = dir / "in.pal";
        tarv::test::writeText(path, c.text);
        cPalette p;
        ASSERT_TRUE(p.LoadFromJASCFile(t.ctx, path.string())) << c.text;
        ASSERT_EQ(p.Count(), int(c.entries.size())) << c.text;
        for (size_t i = 0; i < c.entries.size(); ++i) EXPECT_EQ(entryOf(p, int(i) + 1), c.entries[i]) << c.text;
    }
}

TEST(JascFile, AnythingButANumberFrom0To255FailsTheLoad) {
    tarv::test::TempDir dir;
    tarv::test::TestContext t(dir.path());
    struct Case {
        const char* text;
        int error;
    };
    const Case cases[] = {
        {"JASC\r\n0100\r\n2\r\n0 0 0\r\n1 2 300", 6},
        {"1 2 255.5", 6},
        {"1 -1 2", 6},
        {"1 two 3", 13},
        {"1  3", 13},
        {"1 2 3x", 13},
        {"1 2 0x10", 13},
    };
    for (const Case& c : cases) {
        const auto path = dir / "bad.pal";
        tarv::test::writeText(path, c.text);
        cPalette p = paletteOf({{9, 9, 9}});
        try {
            p.LoadFromJASCFile(t.ctx, path.string());
            ADD_FAILURE() << c.text;
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), c.error) << c.text;
            EXPECT_EQ(e.source(), "TARV.cPalette");
        }
        EXPECT_EQ(p.Count(), 0) << c.text;
    }
    cPalette p = paletteOf({{9, 9, 9}});
    try {
        p.LoadFromJASCFile(t.ctx, (dir / "missing.pal").string());
        ADD_FAILURE();
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), 53);
        EXPECT_EQ(e.source(), "TARV.cPalette");
    }
    EXPECT_EQ(p.Count(), 0);
    try {
        p.SaveToJASCFile(t.ctx, (dir / "no folder" / "x.pal").string());
        ADD_FAILURE();
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.source(), "TARV.cPalette");
    }
}

TEST(SplitString, KeepsEmptyPiecesAndTheLastPiece) {
    using V = std::vector<std::string>;
    EXPECT_EQ(splitString("a b", " "), (V{"a", "b"}));
    EXPECT_EQ(splitString("a  b ", " "), (V{"a", "", "b", ""}));
    EXPECT_EQ(splitString("abc", " "), (V{"abc"}));
    EXPECT_EQ(splitString("", " "), (V{""}));
    EXPECT_EQ(splitString("1\r\n\r\n2", "\r\n"), (V{"1", "", "2"}));
}
