// Fix Lif: the copy and conversion cases byte for byte, the block checks, the base picture it converts,
// the texture list, and what a failed run leaves behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>
#include <sstream>

#include "Fakes.h"
#include "LifFixtures.h"
#include "TempDir.h"
#include "base/AtomicFile.h"
#include "editor/context/EditingContext.h"
#include "materials/FixLif.h"
#include "materials/LifReader.h"
#include "materials/LifRenderer.h"
#include "model/LogFiles.h"

namespace tarv {
namespace {

namespace fs = std::filesystem;
using test::LifFields;
using test::TempDir;
using test::TestContext;

using Entry = std::array<uint8_t, 4>;

const std::vector<uint8_t> kZeroTable(256, 0);

// A source without palette or tables: the header (offsets 48, 0, 0, 0) and the pixel bytes as given.
std::vector<uint8_t> pixelSource(const std::vector<uint8_t>& pixelBytes, int32_t width, int32_t height, int32_t flags) {
    LifFields f;
    f.flags = flags;
    f.width = width;
    f.height = height;
    return test::lifHeader(f).bytes(pixelBytes).data();
}

// The expected standard file: header with CRCs 9 and 7, the indices, the entries (the rest zero) and two
// zero tables.
std::vector<uint8_t> expectedConversion(const std::vector<uint8_t>& indices, int32_t width, int32_t height,
                                        int32_t flags, const std::vector<Entry>& entries) {
    std::vector<uint8_t> palette;
    for (const Entry& e : entries) palette.insert(palette.end(), e.begin(), e.end());
    palette.resize(1024, 0);
    return test::standardLif(indices, width, height, flags, palette, kZeroTable, kZeroTable);
}

// The 2 x 2 picture red, red, blue, red as RGB bytes, and its fixed file.
const std::vector<uint8_t> kRedRedBlueRed = {255, 0, 0, 255, 0, 0, 0, 0, 255, 255, 0, 0};
std::vector<uint8_t> workedResult() {
    return expectedConversion({0, 0, 1, 0}, 2, 2, 50, {{255, 0, 0, 255}, {0, 0, 255, 255}});
}

int32_t flagsOf(const std::vector<uint8_t>& file) {
    return int32_t(uint32_t(file[12]) | uint32_t(file[13]) << 8 | uint32_t(file[14]) << 16 | uint32_t(file[15]) << 24);
}

std::set<std::string> filesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.insert(e.path().filename().string());
    return names;
}

struct Fixture {
    TempDir dir;
    TestContext t{dir.path()};
    EditingContext& ctx = t.ctx;
    std::string P = (dir / "tex.lif").string();

    Fixture() {
        ctx.currentModelPath = (dir / "ship.peo").string();
        ctx.prefs.logLevel = 3;
    }

    void expectDone() { t.prompts.expectMessage("Fix Lif done!", ctx.version.appTitle); }

    // The log's lines, without those of the reader.
    std::vector<std::string> fixLogLines() const {
        std::vector<std::string> lines;
        std::istringstream in(test::readText(currentLogPath(ctx)));
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.rfind("[2] Loading Lif ", 0) == 0 || line.rfind("[2]   -> ", 0) == 0) continue;
            lines.push_back(line);
        }
        return lines;
    }
};

// ---- The copy case ----

TEST(FixLifCopy, StandardFileWithFlagsZeroGetsFlags50AndKeepsTheSourceAsOld) {
    Fixture f;
    const auto source = test::standard2x2(0);
    test::writeBytes(f.P, source);
    f.expectDone();
    fix3dexLif(f.ctx, f.P);

    EXPECT_EQ(test::readBytes(f.P), test::standard2x2(50));
    EXPECT_EQ(test::readBytes(f.P + ".old"), source);
    EXPECT_EQ(filesIn(f.dir.path()), (std::set<std::string>{"tex.lif", "tex.lif.old", "ship.log"}));
    const std::vector<std::string> expectedLog = {
        "[1] Writing LiF " + f.P + ".new",
        "[2] -- Relic non-used Lif",
        "[1] -- Writing flags",
        "[1] -- Writing offsets",
        "[2] -- Data: 48 Palette: 52 Team0: 1076 Team1: 1332",
        "[1] Renaming " + f.P + " as " + f.P + ".old",
        "[1] Fix Lif done!",
    };
    EXPECT_EQ(f.fixLogLines(), expectedLog);
    EXPECT_TRUE(f.t.errors.reports.empty());
    EXPECT_FALSE(f.t.status.busy);
}

TEST(FixLifCopy, BlocksInAnotherOrderComeOutInTheStandardOrder) {
    const std::vector<uint8_t> indices = {3, 2, 1, 0};
    // Team1, Team0, palette, then the pixels.
    LifFields fields;
    fields.flags = 50;
    fields.team1 = 48;
    fields.team0 = 48 + 256;
    fields.palette = 48 + 512;
    fields.data = 48 + 512 + 1024;
    const auto source = test::lifHeader(fields)
                            .bytes(test::kTeam1Amounts)
                            .bytes(test::kTeam0Amounts)
                            .bytes(test::testPalette())
                            .bytes(indices)
                            .data();
    const FixLifResult r = fixLifBytes(source, nullptr);
    ASSERT_FALSE(r.failure);
    EXPECT_EQ(r.bytes, test::standardLif(indices, 2, 2, 50));
    EXPECT_FALSE(r.conversion);
}

TEST(FixLifCopy, MissingTablesAndPaletteBecomeZerosWithTheirLogLines) {
    const std::vector<uint8_t> indices = {0, 1, 2, 3};
    LifFields fields;
    fields.flags = 50;
    fields.palette = 52;
    fields.team0 = 0;
    fields.team1 = -5;
    const auto tablesMissing = test::lifHeader(fields).bytes(indices).bytes(test::testPalette()).fill(512, 0xEE).data();
    fields.palette = -1;
    fields.team0 = 52;
    fields.team1 = 52 + 256;
    const auto paletteMissing = test::lifHeader(fields)
                                    .bytes(indices)
                                    .bytes(test::kTeam0Amounts)
                                    .bytes(test::kTeam1Amounts)
                                    .fill(1024, 0xEE)
                                    .data();

    struct Case {
        const char* name;
        std::vector<uint8_t> source;
        std::vector<uint8_t> expected;
        std::vector<FixLifLogLine> fixingLines;
    };
    const Case cases[] = {
        {"no team tables",
         tablesMissing,
         test::standardLif(indices, 2, 2, 50, test::testPalette(), kZeroTable, kZeroTable),
         {{"-- Fixing Team0", 1}, {"-- Fixing Team1", 1}}},
        {"no palette",
         paletteMissing,
         test::standardLif(indices, 2, 2, 50, std::vector<uint8_t>(1024, 0)),
         {{"-- Fixing Palette", 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FixLifResult r = fixLifBytes(c.source, nullptr);
        ASSERT_FALSE(r.failure) << r.failure->reason;
        EXPECT_EQ(r.bytes, c.expected);
        std::vector<FixLifLogLine> fixing;
        for (const auto& line : r.log)
            if (line.message.rfind("-- Fixing ", 0) == 0) fixing.push_back(line);
        EXPECT_EQ(fixing, c.fixingLines);
        EXPECT_EQ(r.header.Team0, 48 + 4 + 1024);
        EXPECT_EQ(r.header.Team1, 48 + 4 + 1280);
    }
}

// Every block is checked against the file before anything is written; a miss names the block.
TEST(FixLifCopy, BlocksOutsideTheFileFailAndLeaveTheFileAsItWas) {
    struct Case {
        const char* name;
        int32_t data, palette, team0, team1;
        const char* block;
    };
    // The file is 1588 bytes: 48 + 4 + 1536.
    const Case cases[] = {
        {"negative data", -1, 52, 1076, 1332, "pixel"},
        {"pixels past the end", 1585, 52, 1076, 1332, "pixel"},
        {"palette past the end", 48, 565, 1076, 1332, "palette"},
        {"Team1 past the end", 48, 52, 1076, 1333, "Team1"},
        {"Team0 past the end", 48, 52, 1333, 1076, "Team0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        LifFields fields;
        fields.flags = 0;
        fields.data = c.data;
        fields.palette = c.palette;
        fields.team0 = c.team0;
        fields.team1 = c.team1;
        const auto source = test::lifHeader(fields).fill(1540, 7).data();
        ASSERT_EQ(source.size(), 1588u);
        test::writeBytes(f.P, source);
        fix3dexLif(f.ctx, f.P);

        EXPECT_EQ(test::readBytes(f.P), source);
        EXPECT_FALSE(fs::exists(f.P + ".old"));
        ASSERT_EQ(f.t.errors.reports.size(), 1u);
        EXPECT_NE(f.t.errors.reports[0].description.find(std::string("The ") + c.block + " block"), std::string::npos)
            << f.t.errors.reports[0].description;
        EXPECT_EQ(f.t.errors.reports[0].procedure, "fix3dexLif");
        EXPECT_FALSE(f.t.status.busy);
    }
}

// ---- Flags ----

TEST(FixLifFlags, CopyKeepsAnyFlagsButZeroAndAConversionIsPalettedWithoutAlpha) {
    struct Case {
        bool conversion;
        int32_t in, out;
    };
    const Case cases[] = {
        {false, 0, 50}, {false, 34, 34}, {false, 8, 8},  {true, 0, 50},
        {true, 16, 18}, {true, 8, 2},    {true, 56, 50}, {true, 2, 2},
    };
    const Image redBlue = [] {
        Image p(2, 1);
        p.at(0, 0) = {255, 0, 0, 255};
        p.at(1, 0) = {0, 0, 255, 255};
        return p;
    }();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.in) + (c.conversion ? " converted" : " copied"));
        // A conversion source is RGB (length 3n + 48); the alpha bit does not change its length rule here.
        const auto source =
            c.conversion ? pixelSource({255, 0, 0, 0, 0, 255}, 2, 1, c.in) : test::standardLif({0, 1}, 2, 1, c.in);
        const FixLifResult r = fixLifBytes(source, &redBlue);
        ASSERT_FALSE(r.failure) << r.failure->reason;
        EXPECT_EQ(r.conversion, c.conversion);
        EXPECT_EQ(flagsOf(r.bytes), c.out);
        EXPECT_EQ(r.header.flags, c.out);
    }
}

// ---- The conversion case ----

TEST(FixLifConversion, RgbSourceOfRedRedBlueRedByteForByte) {
    Fixture f;
    const auto source = pixelSource(kRedRedBlueRed, 2, 2, 0);
    ASSERT_EQ(source.size(), 60u);
    test::writeBytes(f.P, source);
    test::writeText(f.P + ".bmp", "the user's own picture");
    f.expectDone();
    fix3dexLif(f.ctx, f.P);

    EXPECT_EQ(test::readBytes(f.P), workedResult());
    EXPECT_EQ(test::readBytes(f.P + ".old"), source);
    EXPECT_EQ(test::readText(f.P + ".bmp"), "the user's own picture");
    EXPECT_EQ(filesIn(f.dir.path()), (std::set<std::string>{"tex.lif", "tex.lif.old", "tex.lif.bmp", "ship.log"}));
    const std::vector<std::string> expectedLog = {
        "[1] Writing LiF " + f.P + ".new",
        "[2] -- 3dex lif?",
        "[2] -- Adding entry 0: 255/0/0/255",
        "[2] ++ Adding entry 1: 0/0/255/255",
        "[1] -- Writing pallete",
        "[1] -- Writing Team0",
        "[1] -- Writing Team1",
        "[1] -- Writing flags",
        "[1] -- Writing offsets",
        "[2] -- Data: 48 Palette: 52 Team0: 1076 Team1: 1332",
        "[1] Renaming " + f.P + " as " + f.P + ".old",
        "[1] Fix Lif done!",
    };
    EXPECT_EQ(f.fixLogLines(), expectedLog);

    // The surface holds the reduced picture; the DIB section it was reduced in stays.
    Image reduced(2, 2, {255, 0, 0, 255});
    reduced.at(0, 1) = {0, 0, 255, 255};
    EXPECT_EQ(f.ctx.lif.preview.picLif1, reduced);
    ASSERT_TRUE(f.ctx.lif.fixDib);
    EXPECT_FALSE(f.t.status.busy);
}

TEST(FixLifConversion, AlphaSourceSharesAnEntryByColourAndReadsBackAsPaletted) {
    Fixture f;
    // Two pixels of one colour with alphas 10 and 200; flags 8; length 4n + 48.
    const auto source = pixelSource({10, 20, 30, 10, 10, 20, 30, 200}, 2, 1, 8);
    test::writeBytes(f.P, source);
    f.expectDone();
    fix3dexLif(f.ctx, f.P);

    const auto expected = expectedConversion({0, 0}, 2, 1, 2, {{10, 20, 30, 10}});
    ASSERT_EQ(test::readBytes(f.P), expected);

    // The fixed file reads with its blocks as paletted, is not offered a fix, and draws the reduced colours.
    f.ctx.lif.preview.mnuFixLif = false;
    ASSERT_EQ(LoadFile(f.ctx, f.P, true), LifReadResult::Read);
    const LoadedTexture& tex = f.ctx.lif.texture;
    EXPECT_EQ(tex.lifLayers, (std::array<bool, 4>{true, false, false, false}));
    EXPECT_FALSE(tex.lifIs24Bit);
    EXPECT_FALSE(tex.lifIsCorrupt);
    EXPECT_FALSE(f.ctx.lif.preview.mnuFixLif);
    EXPECT_EQ(f.ctx.lif.preview.Label1, "");
    const auto drawn = drawLifPicture(tex, kLayerBase, {}, {}, kButtonFace);
    ASSERT_TRUE(drawn);
    EXPECT_EQ(*drawn, Image(2, 1, {10, 20, 30, 255}));
}

TEST(FixLifConversion, PixelLoopMakesEntry256AndFailsOnThe258thColour) {
    auto colour = [](int i) { return Rgba{uint8_t(i % 256), uint8_t(i / 256), 7, 255}; };
    // 257 colours, then colour 256 and colour 0 again.
    Image picture(259, 1);
    for (int i = 0; i < 257; ++i) picture.at(i, 0) = colour(i);
    picture.at(257, 0) = colour(256);
    picture.at(258, 0) = colour(0);
    const FixLifIndexing ok = indexReducedPicture(picture, {});
    ASSERT_FALSE(ok.failure);
    EXPECT_EQ(ok.lastUsed, 256);
    ASSERT_EQ(ok.indices.size(), 259u);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(ok.indices[size_t(i)], i);
    EXPECT_EQ(ok.indices[256], 255);
    EXPECT_EQ(ok.indices[257], 255);
    EXPECT_EQ(ok.indices[258], 0);
    EXPECT_EQ(ok.palette[256], (Entry{0, 1, 7, 255}));
    EXPECT_EQ(ok.log.back(), (FixLifLogLine{"++ Adding entry 256: 0/1/7/255", 2}));

    Image tooMany(258, 1);
    for (int i = 0; i < 258; ++i) tooMany.at(i, 0) = colour(i);
    const FixLifIndexing failed = indexReducedPicture(tooMany, {});
    ASSERT_TRUE(failed.failure);
    EXPECT_EQ(failed.failure->number, 9);
}

// The picture converted is the base layer of the file itself, whatever the preview shows or read last.
TEST(FixLifConversion, ConvertsTheBaseLayerWhateverThePreviewShows) {
    struct Case {
        const char* name;
        std::function<void(Fixture&)> before;
    };
    const Case cases[] = {
        {"nothing read", [](Fixture&) {}},
        {"layer 1 shown",
         [](Fixture& f) {
             LoadFile(f.ctx, f.P, true);
             f.ctx.lif.preview.panel4 = "1";
             drawLayer(f.ctx);
         }},
        {"layer 2 shown",
         [](Fixture& f) {
             LoadFile(f.ctx, f.P, true);
             f.ctx.lif.preview.panel4 = "2";
             drawLayer(f.ctx);
         }},
        {"layer 7 shown",
         [](Fixture& f) {
             LoadFile(f.ctx, f.P, true);
             f.ctx.lif.preview.panel4 = "7";
             drawLayer(f.ctx);
         }},
        {"another file's pixels loaded",
         [](Fixture& f) {
             const std::string other = (f.dir / "other.lif").string();
             test::writeBytes(other, test::standard2x2(50));
             LoadFile(f.ctx, f.P, true);
             LoadFile(f.ctx, other, true);
             f.ctx.lif.preview.panel4 = "7";
             drawLayer(f.ctx);
         }},
        {"another file's header read after this one's pixels",
         [](Fixture& f) {
             const std::string other = (f.dir / "other.lif").string();
             test::writeBytes(other, test::rgbaLif(std::vector<uint8_t>(4 * 6, 90), 3, 2));
             LoadFile(f.ctx, f.P, true);
             LoadFile(f.ctx, other, false);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        test::writeBytes(f.P, pixelSource(kRedRedBlueRed, 2, 2, 0));
        c.before(f);
        f.expectDone();
        fix3dexLif(f.ctx, f.P);
        EXPECT_EQ(test::readBytes(f.P), workedResult());
        EXPECT_TRUE(f.t.errors.reports.empty());
    }
}

// ---- The finish ----

TEST(FixLifFinish, FlagsColumnOfTheFixedFilesItemOnlyAndTheBoxesRefreshed) {
    Fixture f;
    test::writeBytes(f.P, test::standard2x2(0));
    auto& list = f.ctx.preview.lstTextures;
    list = {{"hull", {"2", "2", "0"}}, {"TEX", {"2", "2", "0"}}, {"engine", {"2", "2", "0"}}};
    LoadFile(f.ctx, f.P, true);
    ASSERT_EQ(f.ctx.lif.preview.Label1, kCorruptLifWarning);
    f.expectDone();
    fix3dexLif(f.ctx, f.P);

    EXPECT_EQ(list[0].subItems, (std::vector<std::string>{"2", "2", "0"}));
    EXPECT_EQ(list[1].subItems, (std::vector<std::string>{"2", "2", "50"}));
    EXPECT_EQ(list[2].subItems, (std::vector<std::string>{"2", "2", "0"}));
    EXPECT_EQ(f.ctx.lif.boxes.txtLifFlags, "50");
    EXPECT_EQ(f.ctx.lif.preview.Label1, "");
    EXPECT_FALSE(f.ctx.lif.texture.lifIsCorrupt);
}

TEST(FixLifFinish, FileOutsideTheModelFolderChangesNoItem) {
    Fixture f;
    TempDir elsewhere;
    const std::string P = (elsewhere / "tex.lif").string();
    test::writeBytes(P, test::standard2x2(0));
    test::writeBytes(f.P, test::standard2x2(0));  // a file of the same name in the model folder
    auto& list = f.ctx.preview.lstTextures;
    list = {{"tex", {"2", "2", "0"}}};
    f.expectDone();
    fix3dexLif(f.ctx, P);

    EXPECT_EQ(test::readBytes(P), test::standard2x2(50));
    EXPECT_EQ(list[0].subItems, (std::vector<std::string>{"2", "2", "0"}));
    EXPECT_EQ(test::readBytes(f.P), test::standard2x2(0));
}

TEST(FixLifFinish, SecondRunReplacesTheOldCopyOfTheFirst) {
    Fixture f;
    const auto source = pixelSource(kRedRedBlueRed, 2, 2, 0);
    test::writeBytes(f.P, source);
    f.expectDone();
    fix3dexLif(f.ctx, f.P);
    ASSERT_EQ(test::readBytes(f.P + ".old"), source);
    f.expectDone();
    fix3dexLif(f.ctx, f.P);
    EXPECT_EQ(test::readBytes(f.P + ".old"), workedResult());
    EXPECT_EQ(test::readBytes(f.P), workedResult());
}

// A failed write of either file leaves the source as it was, no temporary file, the pointer restored and the
// windows' state unchanged; a stale ".new" of another program is not touched.
TEST(FixLifFinish, FailedAtomicWriteLeavesEverythingAsItWas) {
    struct Case {
        const char* name;
        int writesLetThrough;  // 0 fails the ".old" copy, 1 the write of the file itself
        bool oldWritten;
    };
    const Case cases[] = {{"copy to .old fails", 0, false}, {"write of the file fails", 1, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        const auto source = test::standard2x2(0);
        test::writeBytes(f.P, source);
        test::writeText(f.P + ".new", "stale");
        auto& list = f.ctx.preview.lstTextures;
        list = {{"tex", {"2", "2", "0"}}};
        LoadFile(f.ctx, f.P, true);
        failNextAtomicWriteForTesting(c.writesLetThrough);
        fix3dexLif(f.ctx, f.P);

        EXPECT_EQ(test::readBytes(f.P), source);
        EXPECT_EQ(test::readText(f.P + ".new"), "stale");
        std::set<std::string> expectedFiles = {"tex.lif", "tex.lif.new", "ship.log"};
        if (c.oldWritten) expectedFiles.insert("tex.lif.old");
        EXPECT_EQ(filesIn(f.dir.path()), expectedFiles);
        ASSERT_EQ(f.t.errors.reports.size(), 1u);
        EXPECT_EQ(f.t.errors.reports[0].module, "modLifFunctions");
        EXPECT_EQ(f.t.errors.reports[0].arguments, f.P);
        EXPECT_FALSE(f.t.status.busy);
        EXPECT_EQ(f.ctx.lif.preview.Label1, kCorruptLifWarning);
        EXPECT_EQ(list[0].subItems, (std::vector<std::string>{"2", "2", "0"}));
        EXPECT_TRUE(f.t.prompts.shown.empty());
    }
}

// ---- Guards ----

TEST(FixLifGuards, HeadersThatCannotBeFixedFailWithTheFileUnchanged) {
    LifFields negative;
    negative.width = -2;
    LifFields huge;
    huge.width = 65536;
    huge.height = 32768;  // n + 1584 is beyond 32 bits
    LifFields rgbCut;
    rgbCut.flags = 0;
    struct Case {
        const char* name;
        std::vector<uint8_t> source;
        int number;
    };
    const Case cases[] = {
        {"40 bytes", std::vector<uint8_t>(40, 1), 62},
        {"negative width", test::lifHeader(negative).fill(100).data(), 62},
        {"n + 1584 beyond 32 bits", test::lifHeader(huge).fill(10).data(), 6},
        {"pixels that cannot be read", test::lifHeader(rgbCut).fill(7).data(), 62},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        test::writeBytes(f.P, c.source);
        fix3dexLif(f.ctx, f.P);
        EXPECT_EQ(test::readBytes(f.P), c.source);
        EXPECT_EQ(filesIn(f.dir.path()), (std::set<std::string>{"tex.lif", "ship.log"}));
        ASSERT_EQ(f.t.errors.reports.size(), 1u);
        EXPECT_EQ(f.t.errors.reports[0].number, c.number);
        EXPECT_FALSE(f.t.status.busy);
    }
}

TEST(FixLifGuards, MissingFileIsFileNotFound) {
    Fixture f;
    fix3dexLif(f.ctx, f.P);
    ASSERT_EQ(f.t.errors.reports.size(), 1u);
    EXPECT_EQ(f.t.errors.reports[0].number, 53);
    EXPECT_FALSE(fs::exists(f.P));
    EXPECT_FALSE(fs::exists(f.P + ".old"));
    EXPECT_FALSE(f.t.status.busy);
}

}  // namespace
}  // namespace tarv
