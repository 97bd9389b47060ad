// The preferences in their store: first run, missing and hand-edited values, parsers and writing back.
#include <gtest/gtest.h>

#include "Fakes.h"
#include "TempDir.h"
#include "model/LogFiles.h"
#include "model/PreferencesStore.h"
#include "editor/context/EditingContext.h"

using namespace tarv;
using namespace tarv::test;

namespace {

const std::vector<std::pair<std::string, std::string>> kDefaults = {{"PlayerBaseColor", "0 128 255"},
                                                                    {"PlayerStripeColor", "0 0 160"},
                                                                    {"DrawTeamColours", "1"},
                                                                    {"AlwaysShowBackup", "1"},
                                                                    {"CreateGunChunkOnClone", "1"},
                                                                    {"ShowMexObjects", "1"},
                                                                    {"LogLevel", "1"},
                                                                    {"UseCustomStartDir", "0"},
                                                                    {"CustomStartDir", " "},
                                                                    {"NavLightSize", "3"},
                                                                    {"selectionColour", "255 0 0"},
                                                                    {"ObjectSharing", "1"},
                                                                    {"DefaultFileType", "0"},
                                                                    {"RenderBackground", "1"},
                                                                    {"DefaultFileFormat", "1026"},
                                                                    {"MouseControl", "0"},
                                                                    {"DuplicateMaterials", "0"}};

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        out.push_back(line);
        start = end + 1;
    }
    return out;
}

struct Fixture {
    TempDir dir;
    TestContext t{dir.path()};
    std::vector<std::string> startupLog() { return lines(readText(startupLogPath(t.ctx))); }
    void storeDefaults() {
        for (const auto& [name, text] : kDefaults) t.preferencesStore.values[name] = text;
    }
};

}  // namespace

TEST(PreferencesStore, FirstRunLogsEachNameAndStoresAllDefaults) {
    Fixture f;
    readPreferences(f.t.ctx);
    std::vector<std::string> expected = {"TARV log opened: 10/12/2026 13:30:00", std::string(30, '-'),
                                         "Version set: " + f.t.ctx.version.appTitle};
    for (const auto& [name, text] : kDefaults) {
        expected.push_back(name + ": ");
        expected.push_back("Setting default preferences");
    }
    EXPECT_EQ(f.startupLog(), expected);
    for (const auto& [name, text] : kDefaults) EXPECT_EQ(f.t.preferencesStore.values[name], text) << name;
    std::vector<std::string> order;
    for (const auto& [name, text] : kDefaults) order.push_back(name);
    EXPECT_EQ(f.t.preferencesStore.writes, order);
    const Preferences& p = f.t.ctx.prefs;
    EXPECT_EQ(p.renderBackground, 1);
    EXPECT_EQ(p.defaultFileFormat, 1026);
    EXPECT_EQ(p.logLevel, 1);
    EXPECT_EQ(p.navLightSize, 3);
    EXPECT_EQ(p.customStartDir, " ") << "an empty folder is written, and kept, as one blank";
    EXPECT_TRUE(f.t.errors.reports.empty());
}

TEST(PreferencesStore, OneMissingValueIsTheOnlyOneDefaulted) {
    Fixture f;
    f.storeDefaults();
    f.t.preferencesStore.values["NavLightSize"] = "12";
    f.t.preferencesStore.values.erase("LogLevel");
    f.t.ctx.prefs.logLevel = 3;
    readPreferences(f.t.ctx);
    std::vector<std::string> log = f.startupLog();
    EXPECT_EQ(std::count(log.begin(), log.end(), "Setting default preferences"), 1);
    auto at = std::find(log.begin(), log.end(), "LogLevel: ");
    ASSERT_NE(at, log.end());
    EXPECT_EQ(*(at + 1), "Setting default preferences");
    EXPECT_EQ(f.t.preferencesStore.writes, std::vector<std::string>{"LogLevel"});
    EXPECT_EQ(f.t.ctx.prefs.logLevel, 1);
    EXPECT_EQ(f.t.ctx.prefs.navLightSize, 12) << "the others keep their stored texts";
    EXPECT_NE(std::find(log.begin(), log.end(), "NavLightSize: 12"), log.end());
}

TEST(PreferencesStore, ReadsStoredTextsByKind) {
    struct Case {
        const char* name;
        const char* text;
        std::function<bool(const Preferences&)> check;
        bool defaulted;
    } cases[] = {
        {"DrawTeamColours", "1", [](auto& p) { return p.drawTeamColours; }, false},
        {"DrawTeamColours", "0", [](auto& p) { return !p.drawTeamColours; }, false},
        {"DrawTeamColours", "-1", [](auto& p) { return !p.drawTeamColours; }, false},
        {"AlwaysShowBackup", "yes", [](auto& p) { return !p.alwaysShowBackup; }, false},
        {"NavLightSize", "7 9", [](auto& p) { return p.navLightSize == 9; }, false},
        {"NavLightSize", "4.9", [](auto& p) { return p.navLightSize == 4; }, false},
        {"NavLightSize", " 3", [](auto& p) { return p.navLightSize == 3; }, false},
        {"NavLightSize", "abc", [](auto& p) { return p.navLightSize == 0; }, false},
        {"DefaultFileFormat", "1280", [](auto& p) { return p.defaultFileFormat == 1280; }, false},
        {"CustomStartDir", " ", [](auto& p) { return p.customStartDir == " "; }, false},
        {"CustomStartDir", "/home/me/ships", [](auto& p) { return p.customStartDir == "/home/me/ships"; }, false},
        {"selectionColour", "10 20.5 30",
         [](auto& p) {
             return p.highlightColour == RgbColour{10, 20.5f, 30, 0};
         },
         false},
        // Values that no control offers, written by hand: kept as stored, start-up goes on.
        {"LogLevel", "7", [](auto& p) { return p.logLevel == 7; }, false},
        {"RenderBackground", "9", [](auto& p) { return p.renderBackground == 9; }, false},
        {"MouseControl", "-4", [](auto& p) { return p.mouseControl == -4; }, false},
        // Texts that cannot stand for the value: default in force and written.
        {"PlayerBaseColor", "1 2",
         [](auto& p) {
             return p.playerBaseColor == RgbColour{0, 128, 255, 0};
         },
         true},
        {"PlayerStripeColor", "red green blue",
         [](auto& p) {
             return p.playerStripeColor == RgbColour{0, 0, 160, 0};
         },
         true},
        {"PlayerStripeColor", "inf 0 0",
         [](auto& p) {
             return p.playerStripeColor == RgbColour{0, 0, 160, 0};
         },
         true},
        // A component beyond the float range: it could not be written back as a number.
        {"PlayerBaseColor", "1e39 0 0",
         [](auto& p) {
             return p.playerBaseColor == RgbColour{0, 128, 255, 0};
         },
         true},
        {"selectionColour", "0 -1e40 0",
         [](auto& p) {
             return p.highlightColour == RgbColour{255, 0, 0, 0};
         },
         true},
        {"NavLightSize", "70000", [](auto& p) { return p.navLightSize == 3; }, true},
        {"DefaultFileFormat", "3000000000", [](auto& p) { return p.defaultFileFormat == 1026; }, true},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.storeDefaults();
        f.t.preferencesStore.values[c.name] = c.text;
        readPreferences(f.t.ctx);
        EXPECT_TRUE(c.check(f.t.ctx.prefs)) << c.name << " = \"" << c.text << "\"";
        std::vector<std::string> expectedWrites;
        if (c.defaulted) expectedWrites.push_back(c.name);
        EXPECT_EQ(f.t.preferencesStore.writes, expectedWrites) << c.name << " = \"" << c.text << "\"";
        EXPECT_TRUE(f.t.errors.reports.empty());
    }
}

TEST(PreferencesStore, AStoredColourSurvivesWritingBackAndReadingAgain) {
    for (const char* text : {"3e38 0 0", "0 -3.4e38 1e-30", "12.5 0.001 255", "1e39 0 0"}) {
        Fixture f;
        f.storeDefaults();
        f.t.preferencesStore.values["PlayerBaseColor"] = text;
        readPreferences(f.t.ctx);
        const RgbColour first = f.t.ctx.prefs.playerBaseColor;
        writeAllRegKeys(f.t.ctx);
        f.t.ctx.prefs = Preferences{};
        readPreferences(f.t.ctx);
        EXPECT_EQ(f.t.ctx.prefs.playerBaseColor, first) << text << " stored as \""
                                                        << f.t.preferencesStore.values["PlayerBaseColor"] << "\"";
    }
}

TEST(PreferencesStore, VersionTextHasNoBetaPartAtRevisionZero) {
    EXPECT_EQ(VersionTexts::make(1, 2, 0).appTitle, "TARV v1.2");
    EXPECT_EQ(VersionTexts::make(1, 2, 3).appTitle, "TARV v1.2 beta 3");
}

TEST(PreferencesStore, Parsers) {
    EXPECT_EQ(parseInteger(""), 0);
    EXPECT_EQ(parseInteger("7 9"), 9);
    EXPECT_EQ(parseInteger("4.9"), 4);
    EXPECT_EQ(parseInteger("12 34"), 34);
    EXPECT_EQ(parseInteger("-2.5"), -3) << "rounded down";
    EXPECT_EQ(parseColour(""), (RgbColour{0, 0, 0, 0}));
    EXPECT_EQ(parseColour("0 128 255"), (RgbColour{0, 128, 255, 0}));
    EXPECT_EQ(parseColour("1 2 3 4"), (RgbColour{1, 23, 4, 0})) << "blanks inside a number are ignored";
    EXPECT_TRUE(isColourText("0 128 255"));
    EXPECT_FALSE(isColourText("1 2"));
    EXPECT_FALSE(isColourText("1 2 x"));
    EXPECT_EQ(boolToFlag(true), 1);
    EXPECT_EQ(boolToFlag(false), 0);
    EXPECT_EQ(colourText(RgbColour{0, 128.5f, 255, 0}), "0 128.5 255");
    EXPECT_EQ(colourValue(RgbColour{2.5f, 1.5f, 0.5f, 0}), 2 + 256 * 2 + 65536 * 0) << "halves to even";
}

TEST(PreferencesStore, WriteAllRewritesTheSameTexts) {
    Fixture f;
    f.storeDefaults();
    f.t.preferencesStore.values["LogLevel"] = "2";
    f.t.preferencesStore.values["CustomStartDir"] = "/ships";
    f.t.preferencesStore.values["PlayerBaseColor"] = "1 2 3";
    readPreferences(f.t.ctx);
    auto before = f.t.preferencesStore.values;
    writeAllRegKeys(f.t.ctx);
    EXPECT_EQ(f.t.preferencesStore.values, before);
    EXPECT_EQ(f.t.preferencesStore.writes.size(), 17u);
}

TEST(PreferencesStore, PaintsSwatchesInOrder) {
    Fixture f;
    std::vector<std::string> painted;
    // Two windows with the swatches each has, as the texture preview and the Options dialog have them.
    struct Swatches : SwatchWindow {
        std::vector<std::string>& painted;
        std::vector<std::pair<SwatchColour, std::string>> own;
        Swatches(std::vector<std::string>& p, std::vector<std::pair<SwatchColour, std::string>> o)
            : painted(p), own(std::move(o)) {}
        void paintSwatchColour(SwatchColour which, int32_t c) override {
            for (const auto& [colour, name] : own)
                if (colour == which) painted.push_back(name + "=" + std::to_string(c));
        }
    };
    Swatches preview(painted, {{SwatchColour::PlayerBase, "preview0"}, {SwatchColour::PlayerStripe, "preview1"}});
    Swatches options(painted, {{SwatchColour::PlayerBase, "options0"},
                               {SwatchColour::PlayerStripe, "options1"},
                               {SwatchColour::Highlight, "optionsSel"}});
    f.t.ctx.shell.swatchWindows = {&preview, &options};
    readPreferences(f.t.ctx);
    EXPECT_EQ(painted, (std::vector<std::string>{"preview0=16744448", "options0=16744448", "preview1=10485760",
                                                 "options1=10485760", "optionsSel=255"}));
}

TEST(PreferencesStore, FailingStoreNeverStopsStartUp) {
    Fixture f;
    f.t.preferencesStore.failReads = true;
    f.t.preferencesStore.failWrites = true;
    f.t.ctx.prefs.logLevel = 3;
    readPreferences(f.t.ctx);
    EXPECT_EQ(f.t.ctx.prefs.logLevel, 1) << "unreadable counts as missing";
    EXPECT_TRUE(f.t.errors.reports.empty());
}
