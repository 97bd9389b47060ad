#include <gtest/gtest.h>

#include "TempDir.h"
#include "base/Paths.h"

using namespace tarv;
using tarv::test::TempDir;
namespace fs = std::filesystem;

TEST(Paths, SplitsPathTexts) {
    struct Case {
        std::string path, folder, name, base, log;
    };
    const Case cases[] = {
        {"C:\\a.b\\ship.peo", "C:\\a.b\\", "ship.peo", "C:\\a.b\\ship.", "C:\\a.b\\ship.log"},
        {"/a.b/ship.peo", "/a.b/", "ship.peo", "/a.b/ship.", "/a.b/ship.log"},
        {"ships/x.y.peo", "ships/", "x.y.peo", "ships/x.y.", "ships/x.y.log"},
        {"d:\\mixed/sep\\f.lif", "d:\\mixed/sep\\", "f.lif", "d:\\mixed/sep\\f.", "d:\\mixed/sep\\f.log"},
        // No "." at all: nothing is kept, so the log is "log" in the working folder.
        {"noext", "", "noext", "", "log"},
        {"C:\\ships\\noext", "C:\\ships\\", "noext", "", "log"},
        // Only the last "." of the whole path counts, even inside a folder name.
        {"C:\\a.b\\noext", "C:\\a.b\\", "noext", "C:\\a.", "C:\\a.log"},
        {"folder\\", "folder\\", "", "", "log"},
        {"", "", "", "", "log"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(folderOf(c.path), c.folder);
        EXPECT_EQ(fileNameOf(c.path), c.name);
        EXPECT_EQ(baseWithDot(c.path), c.base);
        EXPECT_EQ(replaceExtension(c.path, "log"), c.log);
    }
}

TEST(Paths, FindsNamesIgnoringLetterCase) {
    TempDir dir;
    tarv::test::writeText(dir / "Hull.lif", "upper");
    tarv::test::writeText(dir / "hull.LIF", "lower");
    tarv::test::writeText(dir / "only.lif", "x");
    fs::create_directory(dir / "Textures");

    struct Case {
        std::string name;
        std::optional<std::string> found;
    };
    const Case cases[] = {
        {"hull.LIF", "hull.LIF"},  // an exact match wins over an earlier one in sorted order
        {"Hull.lif", "Hull.lif"},      {"HULL.LIF", "Hull.lif"},  // two candidates: the first in sorted order
        {"ONLY.Lif", "only.lif"},      {"textures", "Textures"},  // folders too
        {"missing.lif", std::nullopt}, {"", std::nullopt},       {"Textures/x", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<fs::path> found = findCaseInsensitive(dir.path(), c.name);
        ASSERT_EQ(found.has_value(), c.found.has_value());
        if (found) {
            EXPECT_EQ(*found, dir.path() / *c.found);
        }
    }
    EXPECT_FALSE(findCaseInsensitive(dir / "nowhere", "hull.lif"));
    EXPECT_FALSE(findCaseInsensitive(dir / "only.lif", "x"));
}

TEST(Paths, ResolvesWindowsNamesFromShipFiles) {
    TempDir dir;
    fs::create_directories(dir / "ships" / "textures");
    fs::create_directories(dir / "ships" / "data");
    tarv::test::writeText(dir / "ships" / "textures" / "hull.lif", "t");
    tarv::test::writeText(dir / "ships" / "data" / "gun.peo", "g");
    tarv::test::writeText(dir / "top.lif", "top");
    const fs::path ships = dir / "ships";

    struct Case {
        std::string written;
        std::optional<fs::path> resolved;
    };
    const Case cases[] = {
        {"Textures\\HULL.LIF", ships / "textures" / "hull.lif"},
        {"textures/hull.lif", ships / "textures" / "hull.lif"},
        {"\\Textures\\Hull.lif", ships / "textures" / "hull.lif"},     // a leading "\" stays in the folder
        {".\\textures\\\\hull.lif", ships / "textures" / "hull.lif"},  // "." and doubled separators
        {"Data\\..\\Textures\\hull.lif", ships / "textures" / "hull.lif"},
        {"..\\TOP.LIF", ships / ".." / "top.lif"},
        {"textures", ships / "textures"},
        {"Textures\\missing.lif", std::nullopt},
        {"Nowhere\\hull.lif", std::nullopt},
        {"Textures\\hull.lif\\x", std::nullopt},  // a file is not a folder
        {"", std::nullopt},
        {"\\", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.written);
        std::optional<fs::path> resolved = resolveShipPath(ships, c.written);
        ASSERT_EQ(resolved.has_value(), c.resolved.has_value());
        if (resolved) {
            EXPECT_EQ(*resolved, *c.resolved);
            EXPECT_TRUE(fs::exists(*resolved));
        }
    }
}

TEST(Paths, MissingShipNamesComeBackAsWritten) {
    TempDir dir;
    fs::create_directory(dir / "textures");
    tarv::test::writeText(dir / "textures" / "hull.lif", "t");
    EXPECT_EQ(resolveShipPathOrAsWritten(dir.path(), "TEXTURES\\Hull.lif"), dir.path() / "textures" / "hull.lif");
    EXPECT_EQ(resolveShipPathOrAsWritten(dir.path(), "Textures\\Gone.lif"), dir.path() / "Textures/Gone.lif");
    EXPECT_EQ(resolveShipPathOrAsWritten(dir.path(), "\\Gone.lif"), dir.path() / "Gone.lif");
}

TEST(Paths, FoldsLetterCaseForAsciiOnly) {
    struct Case {
        std::string text, lower;
    };
    const Case cases[] = {
        {"C:\\Ships\\HULL.LIF", "c:\\ships\\hull.lif"},
        {"AZaz@[`{09", "azaz@[`{09"},              // only A-Z move; the bytes around them stay
        {"\xC3\x84rger.PEO", "\xC3\x84rger.peo"},  // a UTF-8 capital keeps its bytes
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(asciiLower(c.text), c.lower);
        EXPECT_TRUE(sameIgnoringAsciiCase(c.text, c.lower));
    }
    EXPECT_FALSE(sameIgnoringAsciiCase("ship.peo", "ship.peo "));
    EXPECT_FALSE(sameIgnoringAsciiCase("\xC3\x84", "\xC3\xA4"));  // Ä and ä differ outside ASCII
}
