#include <gtest/gtest.h>

#include <cctype>

#include "Fakes.h"
#include "TempDir.h"
#include "attachments/ShpFile.h"
#include "base/AtomicFile.h"
#include "base/Paths.h"
#include "base/RunTimeError.h"
#include "base/TextLines.h"

using namespace tarv;
using tarv::test::readText;
using tarv::test::TempDir;
using tarv::test::TestContext;
using tarv::test::writeText;

namespace {

struct ShpFixture : ::testing::Test {
    TempDir dir;
    TestContext t{dir.path()};
    std::string path(const std::string& name = "ship.shp") { return (dir / name).string(); }
    // Writes text (lines joined with CR LF) and reads it.
    void read(const std::string& text, const std::string& name = "ship.shp") {
        writeText(dir / name, text);
        loadShpFile(t.ctx, path(name));
    }
    ShipDefinition& shp() { return t.ctx.shp; }
};

std::string crlf(std::initializer_list<const char*> lines) {
    std::string s;
    for (const char* l : lines) s += std::string(l) + "\r\n";
    return s;
}

}  // namespace

TEST(ShpLines, CrLfLfAndCrAllEndALine) {
    EXPECT_EQ(splitTextLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(splitTextLines("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(splitTextLines("").empty());
}

TEST_F(ShpFixture, ReaderTakesOnlyUnindentedExactKeywordsOfTheCurrentGun) {
    read(crlf({"Type GUN_NewGimble",
               "BarrelLength 9",
               "NUMBER_OF_GUNS 3",
               "GUN 0",
               "{",
               " Type GUN_NewGimble",
               "\tBarrelLength 7",
               "type GUN_NewGimble",
               "Type GUN_Gimble",
               "BarrelLength 1.5e1x",
               "}",
               "GUN 1",
               "{",
               "Type GUN_Fixed",
               "}",
               "GUN 2",
               "{",
               "Type GUN_VisibleGimble",
               "}",
               "GUN 3",
               "}",
               "RecoilLength -2.25",
               "Type GUN_MissileLauncher"}));
    ASSERT_EQ(shp().shpGunCount, 4);
    EXPECT_EQ(shp().shpNumberOfGuns, 3);
    ASSERT_EQ(shp().shpGuns.size(), 5u);
    EXPECT_EQ(shp().shpGuns[0].gunType, 1);
    EXPECT_FLOAT_EQ(shp().shpGuns[0].barrelLength, 15.f);
    EXPECT_EQ(shp().shpGuns[1].gunType, 0);  // GUN_Fixed is not a type of ours
    EXPECT_EQ(shp().shpGuns[2].gunType, 2);
    // Keywords after the last block still go to the last gun.
    EXPECT_EQ(shp().shpGuns[3].gunType, 3);
    EXPECT_FLOAT_EQ(shp().shpGuns[3].recoilLength, -2.25f);
    EXPECT_EQ(shp().shpGuns[4], ShpGun{});
    EXPECT_TRUE(t.errors.reports.empty());
    EXPECT_FALSE(shp().noShpLoaded);
    EXPECT_EQ(shp().shpFilePath, path());
    EXPECT_EQ(shp().madFilePath, (dir / "ship.mad").string());
}

TEST_F(ShpFixture, LfOnlyFileReadsLikeItsCrLfTwin) {
    const std::string text = "LODFile\t\tship.lod\nNUMBER_OF_GUNS 1\nGUN 0\nType GUN_NewGimble\nNavLight Nav1\n";
    read(text, "lf.shp");
    ShipDefinition lf = shp();
    std::string crlfText;
    for (char c : text) crlfText += c == '\n' ? std::string("\r\n") : std::string(1, c);
    read(crlfText, "crlf.shp");
    EXPECT_EQ(lf.shpGuns, shp().shpGuns);
    EXPECT_EQ(lf.shpNavLights, shp().shpNavLights);
    EXPECT_EQ(lf.lodFilePath, dir.folderText() + "ship.lod");
    EXPECT_EQ(shp().lodFilePath, dir.folderText() + "ship.lod");
}

TEST_F(ShpFixture, AngleLinesAskWhenTheGunIsNotNewGimble) {
    t.prompts
        .expectYesNo(false,
                     "Setting found for gun type 'GUN_NewGimble' but the gun type is incorrect in your "
                     "SHP-file, continue?")
        .expectYesNo(true);
    read(crlf({"GUN 0", "Type GUN_Gimble", "minturnangle -30", "maxturnangle 45", "GUN 1", "Type GUN_NewGimble",
               "mindeclination -10", "maxdeclination 80.5"}));
    ASSERT_EQ(t.prompts.shown.size(), 2u);
    EXPECT_EQ(t.prompts.shown[0].caption, "Tarv SHP file reader");
    EXPECT_EQ(t.prompts.shown[0].icon, PromptIcon::Exclamation);
    EXPECT_EQ(shp().shpGuns[0].minTurnAngle, 0.f);
    EXPECT_EQ(shp().shpGuns[0].maxTurnAngle, 45.f);
    EXPECT_EQ(shp().shpGuns[1].minDeclination, -10.f);
    EXPECT_EQ(shp().shpGuns[1].maxDeclination, 80.5f);
}

TEST_F(ShpFixture, SlaveDriverAndBindings) {
    read(crlf({"GUN 0", "GUN 1", "SlaveDriver 0", "GUN 2", "BindGun Turret GUN1,Azimuth", "BindGun Barrel GUN2,Recoil",
               "BindGun Mount GUN0,AZIMUTH_and_DECLINATION"}));
    const auto& g = shp().shpGuns;
    EXPECT_EQ(g[1].slaveDriver, 0);
    EXPECT_EQ(g[1].azimuthJoint, "Turret");
    EXPECT_EQ(g[1].declinationJoint, "(see master GUN0)");
    EXPECT_TRUE(g[1].isBound);
    EXPECT_EQ(g[2].recoilJoint, "Barrel");
    EXPECT_FALSE(g[2].isBound);
    EXPECT_EQ(g[2].azimuthJoint, "(none)");
    EXPECT_EQ(g[2].declinationJoint, "(none)");
    EXPECT_EQ(g[0].azimuthJoint, "Mount");
    EXPECT_EQ(g[0].declinationJoint, "Mount");
    EXPECT_EQ(g[0].slaveDriver, -1);
}

TEST_F(ShpFixture, ABadBindingLineReportsThatLineOnlyAndReadingGoesOn) {
    // The axis word after a blank is a fourth word: word 3 loses its comma and the number has no comma.
    read(crlf({"GUN 0", "BindGun Obj GUN0, Azimuth", "BindGun Obj GUN7,Azimuth", "NavLight Light1"}));
    ASSERT_EQ(t.errors.reports.size(), 2u);
    EXPECT_EQ(t.errors.reports[1].number, 9);
    EXPECT_EQ(shp().shpGuns[0].azimuthJoint, "");
    EXPECT_EQ(shp().shpNavLightCount, 1);
    EXPECT_EQ(shp().madFilePath, (dir / "ship.mad").string());
}

TEST_F(ShpFixture, ANonNumericDeclaredCountStopsReading) {
    read(crlf({"NavLight A", "NUMBER_OF_GUNS abc", "NavLight B"}));
    ASSERT_EQ(t.errors.reports.size(), 1u);
    EXPECT_EQ(shp().shpNavLightCount, 1);
    EXPECT_EQ(shp().madFilePath, "");
}

TEST_F(ShpFixture, AFaultAfterAQuestionReportsWithTheContextTheWordsLeft) {
    t.prompts.expectYesNo(true);
    read(crlf({"GUN 0", "minturnangle 5", "NUMBER_OF_DOCK_POINTS 99999", "NavLight A"}));
    ASSERT_EQ(t.prompts.shown.size(), 1u);
    ASSERT_EQ(t.errors.reports.size(), 1u);
    EXPECT_EQ(t.errors.reports[0].number, 6);
    // The last word looked up before the fault: word 2 of its line.
    EXPECT_EQ(t.errors.reports[0].module, "modStringFunctions");
    EXPECT_EQ(t.errors.reports[0].procedure, "getFirstSepPos");
    EXPECT_EQ(t.errors.reports[0].arguments, "99999");
    EXPECT_EQ(shp().shpGuns[0].minTurnAngle, 5.f);
    EXPECT_EQ(shp().gunsReadFromFile, 1);
    EXPECT_EQ(shp().shpNumberOfDockPoints, 0);
    EXPECT_EQ(shp().shpNavLightCount, 0);
    EXPECT_EQ(shp().madFilePath, "");
}

TEST_F(ShpFixture, AnEmptyFileReadsAsNoLines) {
    shp().lodFilePath = "";
    read("");
    EXPECT_TRUE(t.errors.reports.empty());
    EXPECT_FALSE(shp().noShpLoaded);
    EXPECT_EQ(shp().shpFilePath, path());
    EXPECT_EQ(shp().madFilePath, (dir / "ship.mad").string());
    EXPECT_EQ(shp().lodFilePath, "");
    EXPECT_EQ(shp().shpGunCount, 0);
}

TEST_F(ShpFixture, DockAndSalvagePoints) {
    read(crlf({"DockPoint Dock1,dpt_salvage", "DockPoint Dock2, dpt_SalvageLatch", "DockPoint Dock3",
               "DockPoint Dock4,dpt_Fighter,extra", "SalvagePoint SalvPoint1", "SalvagePoint Salv2,latch"}));
    const auto& d = shp().shpDockPoints;
    ASSERT_EQ(shp().shpDockCount, 4);
    EXPECT_EQ(d[0], (ShpDockPoint{"Dock1", "dpt_salvage"}));
    EXPECT_EQ(d[1], (ShpDockPoint{"Dock2", "dpt_SalvageLatch"}));
    EXPECT_EQ(d[2], (ShpDockPoint{"Dock3", ""}));
    EXPECT_EQ(d[3], (ShpDockPoint{"Dock4", "dpt_Fighter"}));
    EXPECT_EQ(d[4], ShpDockPoint{});
    EXPECT_EQ(shp().shpCatSalvageCount, 2);
    EXPECT_EQ(shp().shpSalvagePoints, (std::vector<std::string>{"SalvPoint1", "Salv2", ""}));
}

TEST_F(ShpFixture, RealCataclysmShipDefinitionReadsAndItsPathsResolve) {
    auto samples = tarv::test::samplesFolder();
    if (samples.empty()) GTEST_SKIP() << "no sample files";
    // Lay the sample out in a lower-case tree, as files unpacked on Linux often are.
    std::filesystem::create_directories(dir / "bswarmer" / "rl0" / "lod0");
    std::filesystem::copy_file(samples / "bswarmer.shp", dir / "bswarmer.shp");
    writeText(dir / "bswarmer" / "rl0" / "lod0" / "bswarmer.mex", "x");
    writeText(dir / "bswarmer.lod", "x");
    loadShpFile(t.ctx, path("bswarmer.shp"));
    EXPECT_TRUE(t.errors.reports.empty());
    EXPECT_EQ(shp().shpGunCount, 1);
    EXPECT_EQ(shp().shpNumberOfGuns, 1);
    EXPECT_EQ(shp().shpGuns[0].gunType, 1);  // GUN_HiddenGimble
    EXPECT_EQ(shp().shpDockCount, 0);
    EXPECT_EQ(shp().lodFilePath, dir.folderText() + "bSwarmer.lod");
    EXPECT_EQ(shp().mexFilePath, dir.folderText() + "bSwarmer\\Rl0\\LOD0\\bSwarmer.mex");
    auto mex = resolveShipPath(dir.path(), "bSwarmer\\Rl0\\LOD0\\bSwarmer.mex");
    ASSERT_TRUE(mex.has_value());
    EXPECT_EQ(*mex, dir / "bswarmer" / "rl0" / "lod0" / "bswarmer.mex");
    EXPECT_TRUE(resolveShipPath(dir.path(), "bSwarmer.lod").has_value());
}

// ---- The parse ----

TEST(ShpParse, CountsAndMastersThatAreNo16BitNumbersAreRefused) {
    struct Case {
        std::string line;
        int number;
        std::string detail;  // the line and the word that did not read
    };
    for (const Case& c : {Case{"NUMBER_OF_GUNS abc", 13, "line 3, the word \"abc\""},
                          Case{"NUMBER_OF_NAV_LIGHTS 2.5x", 13, "line 3, the word \"2.5x\""},
                          Case{"NUMBER_OF_SALVAGE_POINTS", 13, "line 3, no number"},
                          Case{"NUMBER_OF_DOCK_POINTS 40000", 6, "line 3, the word \"40000\""},
                          Case{"NUMBER_OF_GUNS -32769", 6, "line 3, the word \"-32769\""},
                          Case{"SlaveDriver 32768", 6, "line 3, the word \"32768\""}}) {
        SCOPED_TRACE(c.line);
        ShpFileContents contents;
        try {
            parseShpLines({"NavLight A", "", c.line, "NavLight B"}, contents);
            ADD_FAILURE() << "not refused";
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), c.number);
            EXPECT_EQ(e.description(), c.number == 6 ? "Overflow" : "Type mismatch");
            EXPECT_EQ(e.detail(), c.detail);
        }
        // The lines before the fault, and the line at fault last.
        ASSERT_EQ(contents.lines.size(), 2u);
        EXPECT_EQ(contents.lines[0].value, "A");
        EXPECT_EQ(contents.lines[1].text, c.line);
        EXPECT_EQ(contents.lines[1].words, (std::vector<int>{1, 2}));
    }
}

TEST(ShpParse, The32768thLineOfAKindIsRefused) {
    for (const std::string line : {"GUN", "NavLight N", "SalvagePoint S", "DockPoint D", "DockPoint D,dpt_Salvage"}) {
        SCOPED_TRACE(line);
        std::vector<std::string> lines(32767, line);
        EXPECT_EQ(parseShpLines(lines).lines.size(), 32767u);
        lines.push_back(line);
        try {
            parseShpLines(lines);
            ADD_FAILURE() << "not refused";
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), 6);
        }
    }
}

TEST(ShpParse, LinesBecomeKeywordsWithTheirValues) {
    struct Case {
        std::string line;
        ShpKeyword keyword;
        std::string value;
        float number;
        int16_t count;
        std::vector<int> words;
    };
    const std::vector<Case> cases = {
        {"LODFile\t\tship.lod", ShpKeyword::LodFile, "ship.lod", 0, 0, {1, 2}},
        {"pMexData  rl0\\lod0\\ship.mex ; x", ShpKeyword::MexData, "rl0\\lod0\\ship.mex", 0, 0, {1, 2}},
        {" Type GUN_NewGimble", ShpKeyword::Other, "", 0, 0, {1}},
        {"type GUN_NewGimble", ShpKeyword::Other, "", 0, 0, {1}},
        {"Type GUN_Gimble,", ShpKeyword::Type, "GUN_Gimble,", 0, 0, {1, 2}},
        {"BarrelLength 1.5e1x", ShpKeyword::BarrelLength, "", 15, 0, {1, 2}},
        {"maxdeclination abc", ShpKeyword::MaxDeclination, "", 0, 0, {1, 2}},
        {"SlaveDriver 2.5", ShpKeyword::SlaveDriver, "", 0, 2, {1, 2}},
        {"NUMBER_OF_GUNS 3", ShpKeyword::NumberOfGuns, "", 0, 3, {1, 2}},
        {"BindGun Obj GUN0, Azimuth", ShpKeyword::BindGun, "Obj GUN0", 0, 0, {1, 2, 3}},
        {"SalvagePoint Salv2,latch", ShpKeyword::SalvagePoint, "Salv2", 0, 0, {1, 2}},
        {"GUN 0", ShpKeyword::Gun, "", 0, 0, {1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const ShpFileContents contents = parseShpLines({c.line});
        ASSERT_EQ(contents.lines.size(), 1u);
        const ShpLine& l = contents.lines[0];
        EXPECT_EQ(l.text, c.line);
        EXPECT_EQ(l.keyword, c.keyword);
        EXPECT_EQ(l.value, c.value);
        EXPECT_EQ(l.number, c.number);
        EXPECT_EQ(l.count, c.count);
        EXPECT_EQ(l.words, c.words);
    }
}

TEST(ShpParse, DockPointsTakeTheirTypeFromTheSecondOrThirdWord) {
    struct Case {
        std::string line;
        ShpDockPoint point;
        bool salvage;
        std::vector<int> words;
    };
    for (const Case& c : {Case{"DockPoint Dock1,dpt_salvage", {"Dock1", "dpt_salvage"}, true, {1, 2}},
                          Case{"DockPoint Dock2, dpt_SalvageLatch", {"Dock2", "dpt_SalvageLatch"}, true, {1, 2, 3}},
                          Case{"DockPoint Dock3", {"Dock3", ""}, false, {1, 2, 3}},
                          Case{"DockPoint Dock4,dpt_Fighter,extra", {"Dock4", "dpt_Fighter"}, false, {1, 2}},
                          Case{"DockPoint Dock5,DPT_SALVAGEPROCESS", {"Dock5", "DPT_SALVAGEPROCESS"}, true, {1, 2}}}) {
        SCOPED_TRACE(c.line);
        const ShpLine l = parseShpLines({c.line}).lines.at(0);
        EXPECT_EQ(l.keyword, ShpKeyword::DockPoint);
        EXPECT_EQ(l.dockPoint, c.point);
        EXPECT_EQ(l.salvageDock, c.salvage);
        EXPECT_EQ(l.words, c.words);
    }
}

// ---- The patch ----

namespace {

// A ship definition as the games' files write it: keyword and value separated by tabs, LF line ends, and no
// line end after the last line.
const std::string kTabShp =
    "NUMBER_OF_GUNS\t1\n"
    "GUN\t0\n"
    "{\n"
    "Type\t\t\tGUN_VisibleGimble\n"
    "BarrelLength\t\t-5.0\n"
    "RecoilLength\t\t1.5\n"
    "}\n"
    "NavLight\tNav1";

std::string blanks(int n) { return std::string(size_t(n), ' '); }

}  // namespace

TEST_F(ShpFixture, UneditedSaveLeavesTheFileAsItWasAndDoesNotWriteIt) {
    const std::vector<std::string> files = {
        kTabShp,
        crlf({"GUN 0", "{", "Type        GUN_HiddenGimble   ; c", "BarrelLength   1.5", "RecoilLength\t3", "}"}),
        "GUN 0\r{\rType GUN_Fixed\rBarrelLength 2.000\r}\r",
        "GUN\t0\r\nType\tGUN_Gimble\nBarrelLength 1e1\r\n\r\n}\n\nGUN 1\n{\nRecoilLength\t-0.0\n}\r\n",
        crlf({"GUN 1", "Type GUN_Gimble", "BarrelLength 1", "}"}),  // numbered from 1: no gun owns the block
        "\n",
    };
    for (const std::string& text : files) {
        SCOPED_TRACE(text);
        read(text);
        // A write would replace the file by a new one, which the second name would no longer share.
        std::filesystem::remove(dir / "second name");
        std::filesystem::create_hard_link(dir / "ship.shp", dir / "second name");
        EXPECT_TRUE(saveSHPfile(t.ctx, path()));
        EXPECT_EQ(readText(dir / "ship.shp"), text);
        EXPECT_EQ(std::filesystem::hard_link_count(dir / "ship.shp"), 2u);
        EXPECT_TRUE(t.errors.reports.empty());
        EXPECT_EQ(patchShpText(text, shp()), text);
    }
}

TEST_F(ShpFixture, AnEditedBarrelLengthRewritesExactlyItsLineAndKeepsTheLineEnd) {
    read(kTabShp);
    ASSERT_EQ(shp().shpGunCount, 1);
    EXPECT_EQ(shp().shpGuns[0].gunType, 2);
    EXPECT_EQ(shp().shpGuns[0].barrelLength, -5.f);
    EXPECT_EQ(shp().shpGuns[0].recoilLength, 1.5f);
    shp().shpGuns[0].barrelLength = 2.5f;
    ASSERT_TRUE(saveSHPfile(t.ctx, path()));
    std::string expected = kTabShp;
    const std::string before = "BarrelLength\t\t-5.0\n";
    expected.replace(expected.find(before), before.size(), "BarrelLength" + blanks(24) + "2.50\n");
    EXPECT_EQ(readText(dir / "ship.shp"), expected);
}

TEST_F(ShpFixture, PatchFindsTabAndBlankSeparatedGunLinesAlikeAndRewritesOnlyEditedValues) {
    // Gun 0 with tabs, gun 1 with blanks, gun 2 with both; CR LF, LF and a last line without an end.
    const std::vector<std::string> lines = {
        "GUN\t0", "{", "Type\tGUN_VisibleGimble",    "BarrelLength\t1.0", "RecoilLength\t-5.0", "}",
        "GUN 1",  "{", "Type GUN_HiddenGimble",      "BarrelLength 2",    "RecoilLength 3",     "}",
        "GUN 2",  "{", "Type \tGUN_MissileLauncher", "BarrelLength\t 4",  "RecoilLength 5",     "}"};
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) text += lines[i] + (i + 1 == lines.size() ? "" : i % 2 ? "\n" : "\r\n");
    read(text);
    ASSERT_EQ(shp().shpGunCount, 3);
    EXPECT_EQ(shp().shpGuns[0].barrelLength, 1.f);
    EXPECT_EQ(shp().shpGuns[2].barrelLength, 4.f);
    shp().shpGuns[0].recoilLength = -0.125f;
    shp().shpGuns[1].gunType = 3;
    shp().shpGuns[2].barrelLength = 12.345f;
    ASSERT_TRUE(saveSHPfile(t.ctx, path()));

    std::vector<std::string> want = lines;
    want[4] = "RecoilLength" + blanks(24) + "-0.13";
    want[8] = "Type" + blanks(32) + "GUN_MissileLauncher";
    want[15] = "BarrelLength" + blanks(24) + "12.35";
    std::string expected;
    for (size_t i = 0; i < want.size(); ++i) expected += want[i] + (i + 1 == want.size() ? "" : i % 2 ? "\n" : "\r\n");
    EXPECT_EQ(readText(dir / "ship.shp"), expected);
}

TEST_F(ShpFixture, AnEditBackToTheValueFirstReadReachesTheFileToo) {
    read(crlf({"GUN 0", "Type GUN_VisibleGimble", "BarrelLength 1", "}"}));
    shp().shpGuns[0].barrelLength = 4;
    shp().shpGuns[0].gunType = 1;
    ASSERT_TRUE(saveSHPfile(t.ctx, path()));
    shp().shpGuns[0].barrelLength = 1;
    shp().shpGuns[0].gunType = 2;
    ASSERT_TRUE(saveSHPfile(t.ctx, path()));
    EXPECT_EQ(readText(dir / "ship.shp"), crlf({"GUN 0", ("Type" + blanks(32) + "GUN_NewGimble").c_str(),
                                                ("BarrelLength" + blanks(24) + "1.00").c_str(), "}"}));
}

TEST_F(ShpFixture, AChangedTypeIsWrittenByItsCanonicalNameAndAnUnnamedTypeKeepsItsLine) {
    struct Case {
        const char* typeLine;
        int newType;
        std::string written;
    };
    for (const Case& c : {Case{"Type GUN_VisibleGimble", 1, "Type" + blanks(32) + "GUN_Gimble"},
                          Case{"Type\tGUN_HiddenGimble", 2, "Type" + blanks(32) + "GUN_NewGimble"},
                          Case{"Type GUN_Fixed", 4, "Type" + blanks(32) + "GUN_MineLauncher"},
                          Case{"Type GUN_Gimble", 0, "Type GUN_Gimble"}}) {
        SCOPED_TRACE(c.typeLine);
        read(crlf({"GUN 0", c.typeLine, "}"}));
        shp().shpGuns[0].gunType = c.newType;
        ASSERT_TRUE(saveSHPfile(t.ctx, path()));
        EXPECT_EQ(readText(dir / "ship.shp"), crlf({"GUN 0", c.written.c_str(), "}"}));
    }
}

TEST(ShpWords, ReaderAndPatchSplitWordsAlike) {
    struct Case {
        std::string line;
        int n;
        std::string word;
    };
    for (const Case& c : {Case{"Type\tGUN_Gimble", 1, "Type"}, Case{"Type \t GUN_Gimble x", 2, "GUN_Gimble"},
                          Case{" Type GUN_Gimble", 1, ""}, Case{"\tType", 2, "Type"}, Case{"Type, X", 1, "Type"},
                          Case{"Name A,", 2, "A,"}, Case{"A B", 3, ""}, Case{"A \t", 2, ""}, Case{"", 1, ""},
                          Case{std::string(32767, 'x') + " y", 1, std::string(32767, 'x') + " y"},
                          Case{std::string(32766, 'x') + " y", 2, "y"}}) {
        SCOPED_TRACE(c.line.substr(0, 40));
        EXPECT_EQ(wordOfLine(c.line, c.n), c.word);
    }
}

TEST(ShpLines, EveryLineKeepsItsOwnEnd) {
    for (const std::string text : {"a\r\nb\nc\rd", "a\n\nb\r\n", "\r\n", "x", "a\r\r\n"}) {
        std::string joined;
        for (const TextLine& l : splitTextLinesKeepingEnds(text)) joined += l.text + l.end;
        EXPECT_EQ(joined, text);
    }
    const auto lines = splitTextLinesKeepingEnds("a\r\nb\nc\rd");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].end, "\r\n");
    EXPECT_EQ(lines[1].end, "\n");
    EXPECT_EQ(lines[2].end, "\r");
    EXPECT_EQ(lines[3].end, "");
}

TEST_F(ShpFixture, PatchLeavesBlocksAloneThatNoGunOfTheReaderOwns) {
    // Numbered from 1: the numbers never match the reader's count, so nothing changes.
    const std::string fromOne =
        crlf({"GUN 1", "Type GUN_Gimble", "BarrelLength 1", "}", "GUN 2", "Type GUN_Gimble", "BarrelLength 1", "}"});
    read(fromOne);
    shp().shpGuns[0].barrelLength = 9;
    shp().shpGuns[1].barrelLength = 9;
    ASSERT_TRUE(saveSHPfile(t.ctx, path()));
    EXPECT_EQ(readText(dir / "ship.shp"), fromOne);

    // More blocks on disk than were read: the extra block is copied unchanged.
    read(crlf({"GUN 0", "BarrelLength 1", "}"}));
    shp().shpGuns[0].barrelLength = 3;
    writeText(dir / "ship.shp", crlf({"GUN 0", "BarrelLength 1", "}", "GUN 1", "BarrelLength 1", "}"}));
    ASSERT_TRUE(saveSHPfile(t.ctx, path()));
    EXPECT_EQ(readText(dir / "ship.shp"), crlf({"GUN 0", ("BarrelLength" + std::string(24, ' ') + "3.00").c_str(), "}",
                                                "GUN 1", "BarrelLength 1", "}"}));
}

TEST_F(ShpFixture, PatchOfAMissingFileWritesNothingAndOfAnEmptyFileFailsSafely) {
    EXPECT_TRUE(saveSHPfile(t.ctx, path("missing.shp")));
    EXPECT_FALSE(std::filesystem::exists(dir / "missing.shp"));
    EXPECT_TRUE(t.errors.reports.empty());

    writeText(dir / "empty.shp", "");
    EXPECT_FALSE(saveSHPfile(t.ctx, path("empty.shp")));
    EXPECT_EQ(t.errors.reports.size(), 1u);
    EXPECT_EQ(readText(dir / "empty.shp"), "");
}

TEST_F(ShpFixture, AFailingPatchLeavesTheOriginalAndNoTemporaryFile) {
    const std::string original = crlf({"GUN 0", "BarrelLength 1", "}"});
    read(original);
    shp().shpGuns[0].barrelLength = 5;
    failNextAtomicWriteForTesting();
    EXPECT_FALSE(saveSHPfile(t.ctx, path()));
    EXPECT_EQ(readText(dir / "ship.shp"), original);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    ASSERT_EQ(t.errors.reports.size(), 1u);
    EXPECT_EQ(t.errors.reports[0].module, "modShp");
}

TEST_F(ShpFixture, SaveShpOnlyPatchesTheFileReadAtLoadAlsoAfterALevelSwitch) {
    std::filesystem::create_directories(dir / "lod");
    writeText(dir / "Ship.SHP", crlf({"GUN 0", "BarrelLength 1", "}"}));
    loadShpFile(t.ctx, path("Ship.SHP"));
    // A switch to another level: the model now comes from a file whose name has no .shp beside it.
    t.ctx.lod.lblLodPath = dir.folderText();
    t.ctx.currentModelPath = (dir / "lod" / "Ship_LOD1.peo").string();
    shp().shpGuns[0].barrelLength = 4;
    EXPECT_TRUE(mnuFileSaveSHP_Click(t.ctx));
    EXPECT_EQ(t.status.status, "Save done!");
    EXPECT_EQ(readText(dir / "Ship.SHP"), crlf({"GUN 0", ("BarrelLength" + blanks(24) + "4.00").c_str(), "}"}));
    EXPECT_FALSE(std::filesystem::exists(dir / "Ship_LOD1.shp"));
    EXPECT_FALSE(std::filesystem::exists(dir / "lod" / "Ship_LOD1.shp"));
}

TEST_F(ShpFixture, SaveShpOnlySaysSaveDoneOnlyWhenTheFileWasPatched) {
    read(crlf({"GUN 0", "BarrelLength 1", "}"}));
    shp().shpGuns[0].barrelLength = 4;
    // The file read at load is gone: nothing is written, and the user is told so.
    std::filesystem::remove(dir / "ship.shp");
    t.prompts.expectMessage("The SHP-file " + path() + " no longer exists. Nothing was written.");
    EXPECT_FALSE(mnuFileSaveSHP_Click(t.ctx));
    EXPECT_EQ(shpNothingWrittenText(path()), t.prompts.shown.at(0).text);
    EXPECT_EQ(t.prompts.shown.at(0).icon, PromptIcon::Exclamation);
    EXPECT_FALSE(std::filesystem::exists(dir / "ship.shp"));
    EXPECT_EQ(t.status.status, "");

    // A patch that fails shows the error report, not "Save done!".
    writeText(dir / "ship.shp", "");
    EXPECT_FALSE(mnuFileSaveSHP_Click(t.ctx));
    EXPECT_EQ(t.errors.reports.size(), 1u);
    EXPECT_EQ(t.status.status, "");

    // Nothing to change in an existing file is a save done.
    read(crlf({"GUN 0", "BarrelLength 1", "}"}));
    EXPECT_TRUE(mnuFileSaveSHP_Click(t.ctx));
    EXPECT_EQ(t.status.status, "Save done!");
}

TEST_F(ShpFixture, SaveShpOnlyIsOfferedOnlyForAShipOpenedFromItsDefinition) {
    struct Case {
        const char* load;
        bool noShp;
        bool hasPath;
        bool enabled;
    };
    for (Case c : {Case{".shp", false, true, true},
                   {".peo", true, true, false},
                   {"LOD switch", false, true, true},
                   {"repair load", true, false, false},
                   {"fresh", true, false, false}}) {
        disableShpSave(t.ctx);
        shp().noShpLoaded = c.noShp;
        shp().shpFilePath = c.hasPath ? "x.shp" : "";
        updateShpSaveAfterLoad(t.ctx);
        EXPECT_EQ(shp().mnuFileSaveSHPEnabled, c.enabled) << c.load;
    }
}

TEST_F(ShpFixture, ObjectIndexByNameIgnoresCaseAndFallsBackToZero) {
    for (const char* n : {"Hull", "**DELETED**", "Turret", "turret"}) {
        PeoObject o;
        o.name = n;
        t.ctx.model.peoObjects.push_back(o);
    }
    EXPECT_EQ(getObjectIndexByName(t.ctx, "TURRET"), 2);
    EXPECT_EQ(getObjectIndexByName(t.ctx, "**deleted**"), 1);
    EXPECT_EQ(getObjectIndexByName(t.ctx, "nothing"), 0);
}

// ---- Real ship definitions ----

TEST_F(ShpFixture, EveryRealShipDefinitionSavedUneditedStaysByteIdentical) {
    const auto samples = tarv::test::samplesFolder();
    if (samples.empty()) GTEST_SKIP() << "no sample folder";
    size_t tried = 0;
    for (const auto& entry : std::filesystem::directory_iterator(samples)) {
        std::string extension = entry.path().extension().string();
        for (char& c : extension) c = char(std::tolower(static_cast<unsigned char>(c)));
        if (extension != ".shp") continue;
        SCOPED_TRACE(entry.path().filename().string());
        const auto copy = dir / entry.path().filename();
        std::filesystem::copy_file(entry.path(), copy, std::filesystem::copy_options::overwrite_existing);
        const std::string original = readText(copy);
        t.prompts.answerYesNoCycling({true});
        loadShpFile(t.ctx, copy.string());
        std::filesystem::remove(dir / "second name");
        std::filesystem::create_hard_link(copy, dir / "second name");
        EXPECT_TRUE(saveSHPfile(t.ctx, copy.string()));
        EXPECT_EQ(readText(copy), original);
        EXPECT_EQ(std::filesystem::hard_link_count(copy), 2u);  // not written at all
        ++tried;
    }
    EXPECT_TRUE(t.errors.reports.empty());
    EXPECT_GE(tried, 1u);
}

TEST_F(ShpFixture, AGunTypeChangedOnTheRecordReachesTheRealFileAsTheCanonicalTypeLine) {
    const auto samples = tarv::test::samplesFolder();
    if (samples.empty()) GTEST_SKIP() << "no sample folder";
    std::filesystem::copy_file(samples / "bswarmer.shp", dir / "bswarmer.shp");
    const std::string original = readText(dir / "bswarmer.shp");
    loadShpFile(t.ctx, path("bswarmer.shp"));
    ASSERT_EQ(shp().shpGunCount, 1);
    ASSERT_EQ(shp().shpGuns[0].gunType, 1);  // GUN_HiddenGimble
    shp().shpGuns[0].gunType = 2;
    shp().shpGuns[0].barrelLength = 3;  // the file has no length line, and the patch adds none
    ASSERT_TRUE(saveSHPfile(t.ctx, path("bswarmer.shp")));

    std::string expected = original;
    const std::string typeLine = "\nType\t\t\t\t\t\tGUN_HiddenGimble\n";
    const size_t at = expected.find(typeLine);
    ASSERT_NE(at, std::string::npos);
    expected.replace(at, typeLine.size(), "\nType" + blanks(32) + "GUN_NewGimble\n");
    EXPECT_EQ(readText(dir / "bswarmer.shp"), expected);

    loadShpFile(t.ctx, path("bswarmer.shp"));
    EXPECT_EQ(shp().shpGuns[0].gunType, 2);
    EXPECT_EQ(shp().shpGuns[0].barrelLength, 0.f);
    EXPECT_TRUE(t.errors.reports.empty());
}
