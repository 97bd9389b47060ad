// The .lif reader: layouts and length rules, the state it replaces, damaged files, and the thumbnail reader.
#include <gtest/gtest.h>

#include <limits>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "Fakes.h"
#include "LifFixtures.h"
#include "TempDir.h"
#include "model/LogFiles.h"
#include "materials/LifReader.h"
#include "materials/LifRenderer.h"
#include "platform/PictureLoader.h"
#include "editor/context/EditingContext.h"

namespace tarv {
namespace {

using test::ByteBuilder;
using test::LifFields;
using test::TempDir;
using test::TestContext;

// The log's lines without their line ends.
std::vector<std::string> logLines(const EditingContext& ctx) {
    std::vector<std::string> lines;
    std::error_code ec;
    if (!std::filesystem::exists(currentLogPath(ctx), ec)) return lines;
    std::istringstream in(test::readText(currentLogPath(ctx)));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool logHas(const EditingContext& ctx, const std::string& line) {
    for (const auto& l : logLines(ctx))
        if (l == line) return true;
    return false;
}

// The pixels that a block of bytesPerPixel bytes per pixel at data holds, in file order.
std::vector<LifPixel> pixelsOf(const std::vector<uint8_t>& file, size_t data, size_t n, int bytesPerPixel) {
    std::vector<LifPixel> out(n, LifPixel{});
    for (size_t k = 0; k < n; ++k)
        for (int b = 0; b < bytesPerPixel; ++b) out[k][size_t(b)] = file[data + k * size_t(bytesPerPixel) + size_t(b)];
    return out;
}

struct LayoutCase {
    const char* name;
    std::vector<uint8_t> file;
    LifReadResult result;
    std::array<bool, 4> layers;
    bool corrupt;
    bool is24Bit;
    bool fixOffered;
    const char* flagsText;
    int bytesPerPixel;  // 0: no pixels read
};

std::vector<LayoutCase> layoutCases() {
    const std::vector<uint8_t> rgba = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    LifFields noPalette;
    noPalette.flags = 2;
    noPalette.width = 2;
    noPalette.height = 2;
    std::vector<uint8_t> paletteOnly = [] {
        LifFields f;
        f.flags = 2;
        f.palette = 52;
        return test::lifHeader(f).bytes({0, 1, 2, 3}).bytes(test::testPalette()).data();
    }();
    LifFields rgb;
    rgb.flags = 2;
    rgb.width = 2;
    rgb.height = 1;
    LifFields empty;
    empty.width = 0;
    empty.height = 5;
    return {
        {"standard flags 50",
         test::standard2x2(50),
         LifReadResult::Read,
         {true, false, true, true},
         false,
         false,
         false,
         "50",
         1},
        {"standard flags 0",
         test::standard2x2(0),
         LifReadResult::Read,
         {false, false, false, false},
         true,
         false,
         true,
         "0",
         1},
        {"4n+48 with alpha",
         test::rgbaLif(rgba, 2, 2, 8),
         LifReadResult::Read,
         {false, true, false, false},
         false,
         false,
         false,
         "8",
         4},
        {"4n+48 without alpha bit",
         test::rgbaLif(rgba, 2, 2, 2),
         LifReadResult::Read,
         {true, true, false, false},
         false,
         true,
         true,
         "2",
         4},
        {"n+1072", paletteOnly, LifReadResult::Read, {true, false, false, false}, false, false, true, "2", 1},
        {"2x1 RGB of 54 bytes",
         test::lifHeader(rgb).bytes({11, 12, 13, 21, 22, 23}).data(),
         LifReadResult::Read,
         {true, false, false, false},
         false,
         true,
         true,
         "2",
         3},
        {"flags 131072",
         test::standard2x2(131072),
         LifReadResult::Read,
         {true, true, true, true},
         false,
         false,
         false,
         "131072",
         4},
        {"flags -1",
         test::standard2x2(-1),
         LifReadResult::Read,
         {false, false, false, false},
         false,
         false,
         false,
         "-1",
         1},
        {"width 0 with blocks",
         test::lifHeader(empty).data(),
         LifReadResult::NotRead,
         {true, true, true, true},
         false,
         true,
         true,
         "50",
         0},
    };
}

TEST(LifReader, EveryLayoutReadsAsTheLengthRulesSay) {
    for (const auto& c : layoutCases()) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        TestContext t(dir.path());
        const auto path = (dir / "tex.lif").string();
        test::writeBytes(path, c.file);

        EXPECT_EQ(LoadFile(t.ctx, path, true), c.result);
        const auto& tex = t.ctx.lif.texture;
        EXPECT_EQ(tex.lifLayers, c.layers);
        EXPECT_EQ(tex.lifIsCorrupt, c.corrupt);
        EXPECT_EQ(tex.lifIs24Bit, c.is24Bit);
        EXPECT_EQ(t.ctx.lif.preview.mnuFixLif, c.fixOffered);
        EXPECT_EQ(t.ctx.lif.preview.Label1, c.fixOffered ? kCorruptLifWarning : "");
        EXPECT_EQ(t.ctx.lif.boxes.txtLifFlags, c.flagsText);
        EXPECT_EQ(t.ctx.lif.boxes.txtImgCRC, "7");
        EXPECT_EQ(t.ctx.lif.boxes.txtPalCRC, "9");
        EXPECT_EQ(t.ctx.lif.boxes.sourcePath, path);  // the boxes name the file they show
        if (c.bytesPerPixel > 0) {
            const size_t n = size_t(tex.lifHeader.width) * size_t(tex.lifHeader.height);
            EXPECT_EQ(tex.lifPixelCount, int64_t(n));
            EXPECT_EQ(tex.lifPixels, pixelsOf(c.file, 48, n, c.bytesPerPixel));
        }
        EXPECT_TRUE(t.errors.reports.empty());
    }
}

TEST(LifReader, StandardFileFillsHeaderPaletteTablesAndLayerItems) {
    TempDir dir;
    TestContext t(dir.path());
    t.ctx.prefs.logLevel = 2;
    const auto path = (dir / "hull.lif").string();
    test::writeBytes(path, test::standard2x2(50));

    ASSERT_EQ(LoadFile(t.ctx, path, true), LifReadResult::Read);
    const auto& tex = t.ctx.lif.texture;
    EXPECT_EQ(tex.lifHeader.ident, std::string("Willy 7\0", 8));
    EXPECT_EQ(tex.lifHeader.version, 260);
    EXPECT_EQ(tex.lifHeader.width, 2);
    EXPECT_EQ(tex.lifHeader.Palette, 52);
    EXPECT_EQ(tex.lifHeader.Team1, 52 + 1280);
    EXPECT_EQ(tex.lifPalette[1], (std::array<uint8_t, 4>{50, 60, 70, 80}));
    EXPECT_EQ(tex.lifPalette[200], (std::array<uint8_t, 4>{200, 200, 200, 55}));
    EXPECT_EQ(tex.lifTeam0Table[3], 128);
    EXPECT_EQ(tex.lifTeam1Table[2], 200);

    const auto& pv = t.ctx.lif.preview;
    EXPECT_FALSE(pv.mnuViewAlpha);
    EXPECT_TRUE(pv.mnuViewTeam0 && pv.mnuViewBaseTeam0 && pv.mnuViewTeam1 && pv.mnuViewBaseTeam1 && pv.mnuViewAll);
    EXPECT_FALSE(pv.picTeam0Visible || pv.picTeam1Visible);

    const std::vector<std::string> expected = {"[2] Loading Lif " + path, "[2]   -> Palette", "[2]   -> Team0",
                                               "[2]   -> Team1", "[2]   -> 2 x 2"};
    auto lines = logLines(t.ctx);
    std::vector<std::string> lifLines;
    for (const auto& l : lines)
        if (l.rfind("[2] ", 0) == 0) lifLines.push_back(l);
    EXPECT_EQ(lifLines, expected);
}

TEST(LifReader, AlphaBitEnablesOnlyTheAlphaItemAndEveryReadStartsFromDisabledItems) {
    TempDir dir;
    TestContext t(dir.path());
    const auto standard = (dir / "a.lif").string(), alpha = (dir / "b.lif").string();
    test::writeBytes(standard, test::standard2x2(50));
    test::writeBytes(alpha, test::rgbaLif(std::vector<uint8_t>(16, 1), 2, 2, 8));
    t.ctx.lif.preview.picTeam0Visible = t.ctx.lif.preview.picTeam1Visible = true;

    ASSERT_EQ(LoadFile(t.ctx, standard, false), LifReadResult::Read);
    ASSERT_EQ(LoadFile(t.ctx, alpha, false), LifReadResult::Read);
    const auto& pv = t.ctx.lif.preview;
    EXPECT_TRUE(pv.mnuViewAlpha);
    EXPECT_FALSE(pv.mnuViewTeam0 || pv.mnuViewTeam1 || pv.mnuViewBaseTeam0 || pv.mnuViewBaseTeam1 || pv.mnuViewAll);
    EXPECT_FALSE(pv.picTeam0Visible || pv.picTeam1Visible);
}

TEST(LifReader, WarningIsEmptiedByTheNextGoodFileButTheFixOfferStays) {
    TempDir dir;
    TestContext t(dir.path());
    const auto bad = (dir / "bad.lif").string(), good = (dir / "good.lif").string();
    test::writeBytes(bad, test::standard2x2(0));
    test::writeBytes(good, test::standard2x2(50));
    LoadFile(t.ctx, bad, false);
    ASSERT_EQ(t.ctx.lif.preview.Label1, kCorruptLifWarning);
    LoadFile(t.ctx, good, false);
    EXPECT_EQ(t.ctx.lif.preview.Label1, "");
    EXPECT_TRUE(t.ctx.lif.preview.mnuFixLif);  // the preview window withdraws it, not the reader
}

TEST(LifReader, MissingFileIsNotReadAndChangesNothing) {
    TempDir dir;
    TestContext t(dir.path());
    auto& pv = t.ctx.lif.preview;
    pv.Label1 = "before";
    pv.mnuViewAll = true;
    t.ctx.lif.boxes.txtLifFlags = "50";
    t.ctx.lif.boxes.sourcePath = "other.lif";
    t.ctx.lif.texture.lifLayers = {true, true, true, true};

    EXPECT_EQ(LoadFile(t.ctx, (dir / "none.lif").string(), true), LifReadResult::NotRead);
    EXPECT_EQ(pv.Label1, "before");
    EXPECT_TRUE(pv.mnuViewAll);
    EXPECT_EQ(t.ctx.lif.boxes.txtLifFlags, "50");
    EXPECT_EQ(t.ctx.lif.boxes.sourcePath, "other.lif");
    EXPECT_EQ(t.ctx.lif.texture.lifLayers, (std::array<bool, 4>{true, true, true, true}));
    EXPECT_TRUE(t.errors.reports.empty());
}

TEST(LifReader, FileThatCannotBeReadShowsTheErrorReport) {
    TempDir dir;
    TestContext t(dir.path());
    const auto path = dir / "locked.lif";
    test::writeBytes(path, test::standard2x2());
    std::filesystem::permissions(path, std::filesystem::perms::none);
    if (std::ifstream(path).good()) GTEST_SKIP() << "the file stays readable for this user";

    EXPECT_EQ(LoadFile(t.ctx, path.string(), true), LifReadResult::Failed);
    ASSERT_EQ(t.errors.reports.size(), 1u);
    EXPECT_EQ(t.errors.reports[0].module, "modLifFunctions");
    EXPECT_EQ(t.errors.reports[0].procedure, "LoadFile");
    EXPECT_EQ(t.errors.reports[0].arguments, path.string() + "|True");
}

TEST(LifReader, ErrorContextNamesPathAndBlocksFlag) {
    TempDir dir;
    TestContext t(dir.path());
    const auto path = (dir / "a.lif").string();
    test::writeBytes(path, test::standard2x2());
    LoadFile(t.ctx, path, false);
    EXPECT_EQ(t.ctx.err.errModule, "modLifFunctions");
    EXPECT_EQ(t.ctx.err.errProc, "LoadFile");
    EXPECT_EQ(t.ctx.err.errArgs, path + "|False");
}

TEST(LifReader, HeaderOnlyReadKeepsThePreviousBlocks) {
    TempDir dir;
    TestContext t(dir.path());
    const auto first = (dir / "first.lif").string(), second = (dir / "second.lif").string();
    test::writeBytes(first, test::standard2x2(50));
    test::writeBytes(second, test::rgbaLif(std::vector<uint8_t>(36, 9), 3, 3, 8));
    ASSERT_EQ(LoadFile(t.ctx, first, true), LifReadResult::Read);
    const LoadedTexture before = t.ctx.lif.texture;

    ASSERT_EQ(LoadFile(t.ctx, second, false), LifReadResult::Read);
    const auto& tex = t.ctx.lif.texture;
    EXPECT_EQ(tex.lifHeader.width, 3);
    EXPECT_EQ(tex.lifLayers, (std::array<bool, 4>{false, true, false, false}));
    EXPECT_EQ(tex.lifPixels, before.lifPixels);
    EXPECT_EQ(tex.lifPalette, before.lifPalette);
    EXPECT_EQ(tex.lifTeam0Table, before.lifTeam0Table);
    EXPECT_EQ(tex.lifTeam1Table, before.lifTeam1Table);
    EXPECT_EQ(tex.lifPixelCount, 4);
}

// A texture must not take another texture's colours: a file without palette or tables gives zeros.
TEST(LifReader, FileWithoutPaletteOrTablesGetsZerosNotThePreviousOnes) {
    TempDir dir;
    TestContext t(dir.path());
    const auto first = (dir / "first.lif").string(), second = (dir / "second.lif").string();
    test::writeBytes(first, test::standard2x2(50));
    LifFields f;  // 2 x 1 RGB, every offset 0 or negative
    f.width = 2;
    f.height = 1;
    f.palette = 0;
    f.team0 = -5;
    f.team1 = 0;
    test::writeBytes(second, test::lifHeader(f).bytes({1, 2, 3, 4, 5, 6}).data());
    ASSERT_EQ(LoadFile(t.ctx, first, true), LifReadResult::Read);

    ASSERT_EQ(LoadFile(t.ctx, second, true), LifReadResult::Read);
    const auto& tex = t.ctx.lif.texture;
    EXPECT_EQ(tex.lifPalette, (decltype(tex.lifPalette){}));
    EXPECT_EQ(tex.lifTeam0Table, (decltype(tex.lifTeam0Table){}));
    EXPECT_EQ(tex.lifTeam1Table, (decltype(tex.lifTeam1Table){}));
}

// Damaged files are refused before anything of the blocks is stored.
struct DamagedCase {
    const char* name;
    std::vector<uint8_t> file;
    const char* reason;
};

std::vector<DamagedCase> damagedCases() {
    auto withField = [](std::vector<uint8_t> file, size_t at, int32_t v) {
        ByteBuilder b;
        b.bytes(file).patchI32(at, v);
        return b.data();
    };
    LifFields huge;
    huge.width = 65535;
    huge.height = 65535;
    std::vector<uint8_t> short40 = test::standard2x2();
    short40.resize(40);
    LifFields negative;
    negative.width = -2;
    negative.height = -2;
    // Sizes whose product times four leaves 64 bits.
    LifFields lowest;
    lowest.width = std::numeric_limits<int32_t>::min();
    lowest.height = std::numeric_limits<int32_t>::min();
    LifFields highest;
    highest.width = std::numeric_limits<int32_t>::max();
    highest.height = std::numeric_limits<int32_t>::max();
    return {
        {"pixel block past the end", withField(test::standard2x2(), 32, 1588 - 2),
         "pixel block runs past the end of the file"},
        {"negative data", withField(test::standard2x2(), 32, -4), "negative pixel block offset"},
        {"negative width and height", test::lifHeader(negative).fill(1584 + 4).data(), "negative width or height"},
        {"file of 40 bytes", short40, "the file is shorter than its 48-byte header"},
        {"huge width x height", test::lifHeader(huge).fill(64).data(), "pixel block runs past the end of the file"},
        {"lowest 32-bit width and height", test::lifHeader(lowest).fill(64).data(), "negative width or height"},
        {"highest 32-bit width and height", test::lifHeader(highest).fill(64).data(),
         "pixel block runs past the end of the file"},
        {"data beyond the end", withField(test::standard2x2(), 32, 1 << 30),
         "pixel block runs past the end of the file"},
    };
}

TEST(LifReader, DamagedFilesAreRefusedWithALogLineAndKeepTheBlocks) {
    for (const auto& c : damagedCases()) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        TestContext t(dir.path());
        const auto good = (dir / "good.lif").string(), bad = (dir / "bad.lif").string();
        test::writeBytes(good, test::standard2x2(50));
        test::writeBytes(bad, c.file);
        ASSERT_EQ(LoadFile(t.ctx, good, true), LifReadResult::Read);
        const LoadedTexture before = t.ctx.lif.texture;

        EXPECT_EQ(LoadFile(t.ctx, bad, true), LifReadResult::Failed);
        const auto& tex = t.ctx.lif.texture;
        EXPECT_EQ(tex.lifPixels, before.lifPixels);
        EXPECT_EQ(tex.lifPixelCount, before.lifPixelCount);
        EXPECT_EQ(tex.lifPalette, before.lifPalette);
        EXPECT_EQ(tex.lifTeam0Table, before.lifTeam0Table);
        EXPECT_EQ(tex.lifTeam1Table, before.lifTeam1Table);
        EXPECT_TRUE(logHas(t.ctx, "[1] " + textureRefusalText(bad, c.reason)));
        EXPECT_TRUE(t.errors.reports.empty());
        // The same bytes give no thumbnail either.
        EXPECT_FALSE(quickLoadLifBytes(c.file).has_value());
    }
}

TEST(LifReader, ShortFileIsRefusedAfterTheFirstStepsEvenForAHeader) {
    TempDir dir;
    TestContext t(dir.path());
    const auto path = (dir / "short.lif").string();
    test::writeBytes(path, std::vector<uint8_t>(40, 1));
    t.ctx.lif.preview.Label1 = "old";
    t.ctx.lif.preview.mnuViewAll = true;
    t.ctx.lif.boxes.sourcePath = "other.lif";
    EXPECT_EQ(LoadFile(t.ctx, path, false), LifReadResult::Failed);
    EXPECT_EQ(t.ctx.lif.boxes.sourcePath, "other.lif");  // the boxes still show the other file's header
    EXPECT_EQ(t.ctx.lif.preview.Label1, "");
    EXPECT_FALSE(t.ctx.lif.preview.mnuViewAll);
    EXPECT_TRUE(t.errors.reports.empty());
}

TEST(LifReader, PaletteAndTablesPastTheEndAreZeroFilled) {
    TempDir dir;
    TestContext t(dir.path());
    ByteBuilder b;
    b.bytes(test::standard2x2(50));
    const int32_t length = int32_t(b.size());  // 1588
    b.patchI32(36, length - 8);                // palette: two entries left in the file
    b.patchI32(40, length - 4);                // team 0: four bytes left
    b.patchI32(44, length + 100);              // team 1: wholly beyond the end
    const auto path = (dir / "cut.lif").string();
    test::writeBytes(path, b.data());
    // Fill the old state so that zeros show.
    t.ctx.lif.texture.lifPalette.fill({7, 7, 7, 7});
    t.ctx.lif.texture.lifTeam1Table.fill(7);

    EXPECT_EQ(LoadFile(t.ctx, path, true), LifReadResult::Read);
    const auto& tex = t.ctx.lif.texture;
    const auto& file = b.data();
    EXPECT_EQ(tex.lifPalette[0], (std::array<uint8_t, 4>{file[1580], file[1581], file[1582], file[1583]}));
    EXPECT_EQ(tex.lifPalette[1], (std::array<uint8_t, 4>{file[1584], file[1585], file[1586], file[1587]}));
    EXPECT_EQ(tex.lifPalette[2], (std::array<uint8_t, 4>{0, 0, 0, 0}));
    EXPECT_EQ(tex.lifTeam0Table[3], file[1587]);
    EXPECT_EQ(tex.lifTeam0Table[4], 0);
    EXPECT_EQ(tex.lifTeam1Table, (decltype(tex.lifTeam1Table){}));
    EXPECT_TRUE(logHas(t.ctx, "[1]   -> Palette cut short by the end of the file: the rest is zero"));
    EXPECT_TRUE(logHas(t.ctx, "[1]   -> Team0 table cut short by the end of the file: the rest is zero"));
    EXPECT_TRUE(logHas(t.ctx, "[1]   -> Team1 table cut short by the end of the file: the rest is zero"));
}

TEST(LifReader, ZeroSizeWithBlocksSetsTheCountAndKeepsThePixels) {
    TempDir dir;
    TestContext t(dir.path());
    const auto good = (dir / "good.lif").string(), empty = (dir / "empty.lif").string();
    test::writeBytes(good, test::standard2x2(50));
    LifFields f;
    f.width = 3;
    f.height = 0;
    test::writeBytes(empty, test::lifHeader(f).data());
    LoadFile(t.ctx, good, true);
    const auto pixels = t.ctx.lif.texture.lifPixels;

    EXPECT_EQ(LoadFile(t.ctx, empty, true), LifReadResult::NotRead);
    EXPECT_EQ(t.ctx.lif.texture.lifPixelCount, 0);
    EXPECT_EQ(t.ctx.lif.texture.lifPixels, pixels);
    EXPECT_EQ(t.ctx.lif.boxes.txtLifFlags, "50");
    // 48 = 4 x 0 + 48 and no palette: the alpha layer is set, as for any such read.
    EXPECT_TRUE(t.ctx.lif.texture.lifLayers[kLifAlpha]);
}

// ---- The thumbnail reader ----

TEST(QuickLoadLif, DrawsTheSameBaseAsTheReaderAndTheRenderer) {
    for (const auto& c : layoutCases()) {
        if (c.result != LifReadResult::Read) continue;
        SCOPED_TRACE(c.name);
        TempDir dir;
        TestContext t(dir.path());
        const auto path = (dir / "tex.lif").string();
        test::writeBytes(path, c.file);
        ASSERT_EQ(LoadFile(t.ctx, path, true), LifReadResult::Read);
        auto base = drawLifPicture(t.ctx.lif.texture, kLayerBase, {}, {}, kButtonFace);
        ASSERT_TRUE(base.has_value());

        auto quick = quickLoadLif(path);
        ASSERT_TRUE(quick.has_value());
        EXPECT_EQ(*quick, *base);
    }
}

TEST(QuickLoadLif, KeepsNoPaletteFromTheFileBefore) {
    auto withPalette = quickLoadLifBytes(test::standard2x2(50));
    ASSERT_TRUE(withPalette.has_value());
    LifFields f;  // paletted by length (n + 1072 without a palette offset): black through a zero palette
    f.flags = 2;
    f.width = 1;
    f.height = 1;
    auto without = quickLoadLifBytes(test::lifHeader(f).fill(1 + 1024, 3).data());
    ASSERT_TRUE(without.has_value());
    EXPECT_EQ(without->at(0, 0), (Rgba{0, 0, 0, 255}));
}

TEST(QuickLoadLif, RefusesMoreThan32767RowsAndMissingFiles) {
    LifFields f;
    f.flags = 2;
    f.width = 1;
    f.height = 32768;
    EXPECT_FALSE(quickLoadLifBytes(test::lifHeader(f).fill(32768 + 1536).data()).has_value());
    f.height = 32767;
    EXPECT_TRUE(quickLoadLifBytes(test::lifHeader(f).fill(32767 + 1536).data()).has_value());
    EXPECT_FALSE(quickLoadLif("/nonexistent/folder/x.lif").has_value());
}

class FakePictureLoader : public PictureLoader {
public:
    std::optional<Image> load(const std::filesystem::path& path) override {
        loaded.push_back(path.string());
        return Image(1, 1, Rgba{1, 2, 3, 255});
    }
    std::vector<std::string> loaded;
};

TEST(LoadThumbImage, ChoosesTheReaderByTheLastFourCharacters) {
    TempDir dir;
    const auto lif = test::standard2x2(50);
    struct Case {
        std::string name;
        bool picture;    // the picture loader is asked
        bool lifReader;  // the quick reader draws it
    };
    const std::vector<Case> cases = {
        {"HULL.LIF", false, true}, {"a.lif", false, true}, {"b.bmp", true, false},
        {"c.JPG", true, false},    {"d.gif", true, false}, {"e.Dib", true, false},
        {"f.jpeg", false, false},  {"a.b", false, false},  {"g.png", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto path = (dir / c.name).string();
        test::writeBytes(path, lif);
        FakePictureLoader loader;
        auto image = loadThumbImage(path, loader);
        EXPECT_EQ(image.has_value(), c.picture || c.lifReader);
        EXPECT_EQ(loader.loaded.size(), c.picture ? 1u : 0u);
        if (c.lifReader) {
            EXPECT_EQ(image, quickLoadLifBytes(lif));
        }
    }
    FakePictureLoader loader;
    EXPECT_FALSE(loadThumbImage((dir / "missing.bmp").string(), loader).has_value());
    EXPECT_TRUE(loader.loaded.empty());
    EXPECT_FALSE(loadThumbImage("lif", loader).has_value());
}

}  // namespace
}  // namespace tarv
