#include <gtest/gtest.h>

#include "Fakes.h"
#include "MexFixtures.h"
#include "TempDir.h"
#include "attachments/MexChunkTree.h"
#include "attachments/MexFile.h"
#include "attachments/MexShpChecks.h"
#include "editor/context/EditingContext.h"

namespace tarv {
namespace {

using namespace tarv::test;

struct ShpLists {
    std::vector<ShpDockPoint> docks;
    std::vector<std::string> salvage;
    std::vector<std::string> lights;
    int guns = 0;
};

class MexChecks : public ::testing::Test {
protected:
    MexChecks() {
        t.ctx.mex.markers = nullptr;  // the checks' colours alone, without the markers' type colours
        addMexTreeDefaults(t.ctx);
    }

    // A ship definition as its reader leaves it: entries, a blank spare, and matching declared numbers.
    void loadShp(const ShpLists& lists) {
        ShipDefinition& shp = t.ctx.shp;
        shp.shpFilePath = (dir / "ship.shp").string();
        shp.noShpLoaded = false;
        shp.shpDockPoints = lists.docks;
        shp.shpDockPoints.emplace_back();
        shp.shpSalvagePoints = lists.salvage;
        shp.shpSalvagePoints.emplace_back();
        shp.shpNavLights = lists.lights;
        shp.shpNavLights.emplace_back();
        shp.shpGuns.assign(size_t(lists.guns) + 1, ShpGun{});
        shp.shpDockCount = shp.shpNumberOfDockPoints = int16_t(lists.docks.size());
        shp.shpSalvageCount = shp.shpNumberOfSalvagePoints = int16_t(lists.salvage.size());
        shp.shpNavLightCount = shp.shpNumberOfNavLights = int16_t(lists.lights.size());
        shp.shpGunCount = shp.shpNumberOfGuns = int16_t(lists.guns);
        shp.shpCatSalvageCount = 0;
        for (const auto& d : lists.docks)
            if (d.dockType == "dpt_salvage") ++shp.shpCatSalvageCount;
    }
    // A .mex of dock ("Dok") and salvage ("Sal") chunks with the given names.
    void readPoints(uint16_t version, const std::vector<std::pair<std::string, std::string>>& points) {
        ByteBuilder b;
        mexHeader(b, version, int16_t(points.size()));
        for (const auto& [tag, name] : points)
            coneChunk(b, tag, tag == "Dok" ? "DOCK" : "SALVAGE", 0, 0, 0, 1, 0, 0, 10, 10, name);
        writeBytes(dir / "p.mex", b.data());
        getMexInfo(t.ctx, (dir / "p.mex").string());
        ASSERT_TRUE(t.errors.reports.empty());
    }

    TempDir dir;
    TestContext t{dir.path()};
};

const char* const kCrLf = "\r\n";

TEST_F(MexChecks, NoShipDefinitionMeansNoCheckAtAll) {
    loadShp({{{"Other", "dpt_salvage"}}, {"X"}, {"Y"}, 3});
    t.ctx.shp.noShpLoaded = true;
    t.ctx.shp.shpNumberOfGuns = 9;
    t.ctx.mex.mexGunCount = 5;  // left by an earlier ship
    for (uint16_t version : {kHomeworld, kCataclysm}) {
        resetMexChunkTable(t.ctx);
        addMexTreeDefaults(t.ctx);
        ByteBuilder b;
        mexHeader(b, version, 3);
        coneChunk(b, "Dok", "DOCK", 0, 0, 0, 1, 0, 0, 10, 10, "TOW1");
        coneChunk(b, "Sal", "SALVAGE", 0, 0, 0, 1, 0, 0, 10, 10, "Nowhere");
        navChunk(b, "NAV", 0, 0, 0, 1, 2, 3, "Nowhere");
        writeBytes(dir / "n.mex", b.data());
        getMexInfo(t.ctx, (dir / "n.mex").string());  // the strict prompts fail on any box
    }
    EXPECT_TRUE(t.ctx.shell.loadSummaryNotes.empty());
    EXPECT_EQ(t.ctx.mex.catSalvageDockCount, 0);
    EXPECT_EQ(t.ctx.mex.mexChunks[0].colour, ChunkColour{});
}

TEST_F(MexChecks, HomeworldShipThatAgreesIsSilent) {
    loadShp({{{"Dock1", ""}, {"Dock2", ""}, {"Dock3", ""}}, {"Salv1", "Salv2"}, {}, 0});
    readPoints(kHomeworld, {{"Dok", "Dock1"}, {"Dok", "Dock2"}, {"Dok", "Dock3"}, {"Sal", "Salv1"}, {"Sal", "Salv2"}});
    EXPECT_EQ(t.prompts.shown.size(), 0u);
    EXPECT_EQ(t.ctx.mex.mexDockCount, 3);
    EXPECT_EQ(t.ctx.mex.mexSalvageCount, 2);
}

TEST_F(MexChecks, HomeworldShipWithoutSalvagePointsGetsBoxes) {
    loadShp({{{"Dock1", ""}, {"Dock2", ""}, {"Dock3", ""}}, {}, {}, 0});
    const std::string title = t.ctx.version.appTitle;
    t.prompts.expectMessage("Salvage point Salv1 not found in SHP-file!", title)
        .expectMessage("Salvage point Salv2 not found in SHP-file!", title)
        .expectMessage(std::string("The number of salvage points found in your MEX-file does not correspond") + kCrLf +
                           " to the number of salvage points found in your SHP-file (resp. 2 and 0)." + kCrLf,
                       title);
    readPoints(kHomeworld, {{"Dok", "Dock1"}, {"Dok", "Dock2"}, {"Dok", "Dock3"}, {"Sal", "Salv1"}, {"Sal", "Salv2"}});
    EXPECT_EQ(t.prompts.pending(), 0u);
    EXPECT_TRUE(t.ctx.shell.loadSummaryNotes.empty());
}

TEST_F(MexChecks, CataclysmSalvagePointsAreDockPoints) {
    const std::vector<std::pair<std::string, std::string>> points{{"Dok", "Dock1"}, {"Dok", "Dock2"}, {"Dok", "Dock3"},
                                                                  {"Dok", "Dock4"}, {"Sal", "Salv1"}, {"Sal", "Salv2"}};
    ShpLists six{{{"Dock1", "dpt_normal"},
                  {"Dock2", "dpt_normal"},
                  {"Dock3", "dpt_normal"},
                  {"Dock4", "dpt_normal"},
                  {"Salv1", "dpt_salvage"},
                  {"Salv2", "dpt_salvage"}},
                 {},
                 {},
                 0};
    loadShp(six);
    readPoints(kCataclysm, points);
    EXPECT_EQ(t.ctx.shell.loadSummaryNotes, "");

    resetMexChunkTable(t.ctx);
    addMexTreeDefaults(t.ctx);
    ShpLists five = six;
    five.docks.pop_back();
    loadShp(five);
    t.ctx.shp.shpCatSalvageCount = 2;
    readPoints(kCataclysm, points);
    EXPECT_EQ(t.ctx.shell.loadSummaryNotes,
              std::string("Salvage point Salv2 in MEX not found in SHP-file.\r\n") +
                  "The number of dock and salvage points found in your MEX-file does not correspond to the number "
                  "of dock points found in your SHP-file (resp. 6 and 5).\r\n\r\n");
    EXPECT_EQ(t.prompts.shown.size(), 0u);
}

TEST_F(MexChecks, DockPointsListedTwiceUnderOneNameCountOnce) {
    // An in and an out path of one chunk, the second in other letters.
    const ShpLists shp{{{"Dock1", "dpt_in"}, {"DOCK1", "dpt_out"}, {"Dock2", "dpt_normal"}}, {}, {}, 0};
    struct Case {
        uint16_t version;
        std::vector<std::pair<std::string, std::string>> points;
        std::string finding;
    };
    const std::vector<Case> cases = {
        {kHomeworld, {{"Dok", "Dock1"}, {"Dok", "Dock2"}}, ""},
        {kCataclysm, {{"Dok", "Dock1"}, {"Dok", "Dock2"}}, ""},
        {kHomeworld,
         {{"Dok", "Dock1"}},
         "The number of dock points found in your MEX-file does not correspond\r\n to the number of dock points "
         "found in your SHP-file (resp. 1 and 2).\r\n"},
        {kCataclysm,
         {{"Dok", "dock1"}},
         "The number of dock and salvage points found in your MEX-file does not correspond to the number of dock "
         "points found in your SHP-file (resp. 1 and 2).\r\n\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.points.size());
        resetMexChunkTable(t.ctx);
        addMexTreeDefaults(t.ctx);
        t.ctx.shell.loadSummaryNotes.clear();
        loadShp(shp);
        if (c.version == kHomeworld && !c.finding.empty()) t.prompts.expectMessage(c.finding);
        readPoints(c.version, c.points);
        EXPECT_EQ(t.prompts.pending(), 0u);
        EXPECT_EQ(t.ctx.shell.loadSummaryNotes, c.version == kCataclysm ? c.finding : "");
    }
    EXPECT_EQ(distinctDockPointCount(t.ctx.shp), 2);
    EXPECT_EQ(t.ctx.shp.shpDockCount, 3);
}

TEST_F(MexChecks, TowAndPointNamesAreCountedAndColouredBlue) {
    loadShp({{{"TOW1", ""}, {"DockPoint1", ""}, {"point2", "dpt_salvage"}, {"tow3", ""}}, {}, {}, 0});
    ByteBuilder b;
    mexHeader(b, kCataclysm, 5);
    coneChunk(b, "Dok", "DOCK", 0, 0, 0, 1, 0, 0, 10, 10, "TOW1");        // listed: blue all the same
    coneChunk(b, "Dok", "DOCK", 0, 0, 0, 1, 0, 0, 10, 10, "DOCKPOINT1");  // matches DockPoint1
    coneChunk(b, "Dok", "DOCK", 0, 0, 0, 1, 0, 0, 10, 10, "Point2");
    navChunk(b, "NAV", 0, 0, 0, 9, 9, 9, "tow3", true);  // coloured by the next lookup
    coneChunk(b, "Dok", "DOCK", 0, 0, 0, 1, 0, 0, 10, 10, "tow3");
    writeBytes(dir / "t.mex", b.data());
    t.ctx.shp.shpNavLights = {"tow3", ""};
    t.ctx.shp.shpNavLightCount = t.ctx.shp.shpNumberOfNavLights = 1;
    getMexInfo(t.ctx, (dir / "t.mex").string());
    const auto& chunks = t.ctx.mex.mexChunks;
    ASSERT_EQ(chunks.size(), 5u);
    const ChunkColour blue{0, 0, 255};
    EXPECT_EQ(chunks[0].colour, blue);
    EXPECT_EQ(chunks[1].colour, ChunkColour{});
    EXPECT_EQ(chunks[2].colour, blue);
    EXPECT_EQ(chunks[3].colour, blue);
    EXPECT_EQ(chunks[4].colour, blue);
    EXPECT_EQ(t.ctx.mex.catSalvageDockCount, 3);
    EXPECT_EQ(t.ctx.shell.loadSummaryNotes.find("not found"), std::string::npos);
    // One Cataclysm salvage point among the 4 dock points, none read: both salvage lines.
    EXPECT_EQ(t.ctx.shell.loadSummaryNotes,
              "The number of 'Cataclysm'-type salvage points among 4 dock points in your SHP-file does not match "
              "the number of salvage points found in your MEX file (resp. 1, and 0).\r\n\r\n"
              "TARV identified 3 dock points as possible Cataclysm salvage points among 4 dock and salvage "
              "points in your MEX file.\r\n");
}

TEST_F(MexChecks, FindInShpAnswersPerKind) {
    loadShp({{{"DockPoint1", ""}}, {"Salv"}, {"Light"}, 0});
    t.ctx.shp.shpSalvagePoints.push_back("Beyond");  // entries past the count are not searched
    t.ctx.mex.mexChunks.resize(3);
    t.ctx.mex.mexChunks[0].pointName = "Tow9";
    t.ctx.mex.mexChunks[1].pointName = "TOW9";
    t.ctx.mex.mexChunks[2].pointName = "Tow9";
    EXPECT_TRUE(findInShp(t.ctx, "dock", "dockpoint1"));
    EXPECT_FALSE(findInShp(t.ctx, "dock", "Salv"));
    EXPECT_TRUE(findInShp(t.ctx, "salv", "SALV"));
    EXPECT_FALSE(findInShp(t.ctx, "salv", "Beyond"));
    EXPECT_TRUE(findInShp(t.ctx, "light", "light"));
    EXPECT_FALSE(findInShp(t.ctx, "lights", "Light"));
    EXPECT_EQ(t.ctx.mex.catSalvageDockCount, 0);
    EXPECT_FALSE(findInShp(t.ctx, "dock", "Tow9"));
    EXPECT_EQ(t.ctx.mex.catSalvageDockCount, 1);
    EXPECT_EQ(t.ctx.mex.mexChunks[0].colour, (ChunkColour{0, 0, 255}));
    EXPECT_EQ(t.ctx.mex.mexChunks[1].colour, ChunkColour{});  // exact names only
    EXPECT_EQ(t.ctx.mex.mexChunks[2].colour, (ChunkColour{0, 0, 255}));
    findInShp(t.ctx, "salv", "Tow9");
    EXPECT_EQ(t.ctx.mex.catSalvageDockCount, 1);
}

TEST_F(MexChecks, GunsNotNamedGunAreNotCounted) {
    loadShp({{}, {}, {}, 0});
    ByteBuilder b;
    mexHeader(b, kHomeworld, 1);
    coneChunk(b, "Gun", "BEAM0", 0, 0, 0, 1, 0, 0, 10, 10);
    writeBytes(dir / "b.mex", b.data());
    getMexInfo(t.ctx, (dir / "b.mex").string());
    EXPECT_EQ(t.ctx.mex.mexGunCount, 0);
    EXPECT_EQ(t.prompts.shown.size(), 0u);
}

TEST_F(MexChecks, EveryFindingHasItsExactText) {
    ShpLists lists{{{"D1", "dpt_salvage"}}, {"S1"}, {"L1"}, 2};
    // One gun, one dock point named TOW5 that is not listed, one salvage point, two nav lights.
    auto file = [&](uint16_t version) {
        ByteBuilder f;
        const bool cat = version == kCataclysm;
        mexHeader(f, version, 5);
        coneChunk(f, "Gun", "Gun0", 0, 0, 0, 1, 0, 0, 10, 10);
        coneChunk(f, "Dok", "DOCK", 0, 0, 0, 1, 0, 0, 10, 10, "TOW5");
        coneChunk(f, "Sal", "SALVAGE", 0, 0, 0, 1, 0, 0, 10, 10, "S1");
        navChunk(f, "NAV", 0, 0, 0, 1, 1, 1, "L1", cat);
        navChunk(f, "NAV", 0, 0, 0, 1, 1, 1, "L2", cat);
        return f;
    };
    const std::string title = t.ctx.version.appTitle;
    auto declaredOff = [&] {
        t.ctx.shp.shpNumberOfGuns = 3;
        t.ctx.shp.shpNumberOfNavLights = 0;
        t.ctx.shp.shpNumberOfDockPoints = 7;
        t.ctx.shp.shpNumberOfSalvagePoints = 2;
    };
    const char* const declared[] = {
        "The 'NUMBER_OF_GUNS' parameter in the SHP-file does not correspond to the number of guns found in the "
        "SHP-file.",
        "The 'NUMBER_OF_NAV_LIGHTS' parameter in the SHP-file does not correspond to the number of navlights found "
        "in the SHP-file.",
        "The 'NUMBER_OF_DOCK_POINTS' parameter in the SHP-file does not correspond to the number of dock points "
        "found in the SHP-file.",
        "The 'NUMBER_OF_SALVAGE_POINTS' parameter in the SHP-file does not correspond to the number of salvage "
        "points found in the SHP-file.",
    };

    // Homeworld: message boxes.
    loadShp(lists);
    lists.docks.clear();  // (the Cataclysm pass below lists no dock point)
    declaredOff();
    t.prompts.expectMessage("Dock point TOW5 not found in SHP-file.", title)
        .expectMessage("Navlight L2 not found in SHP-file!", title);
    for (const char* text : declared) t.prompts.expectMessage(text, title);
    t.prompts
        .expectMessage(std::string("The number of guns found in your MEX-file does not correspond\r\n") +
                           " to the number of guns found in your SHP-file (resp. 1 and 2).\r\n\r\n" +
                           "  (In the original game, only the SalCapCorvette and\r\n" +
                           "    the ResourceCollector have no GUN set in their SHP-file).",
                       title)
        .expectMessage(std::string("The number of navlights found in your MEX-file does not correspond\r\n") +
                           " to the number of navlights found in your SHP-file (resp. 2 and 1).\r\n",
                       title);
    writeBytes(dir / "hw.mex", file(kHomeworld).data());
    getMexInfo(t.ctx, (dir / "hw.mex").string());
    EXPECT_EQ(t.prompts.pending(), 0u);
    // Dock count 1 and 1, salvage 1 and 1: no box for them.

    // Homeworld dock and salvage count boxes.
    resetMexChunkTable(t.ctx);
    addMexTreeDefaults(t.ctx);
    loadShp({{}, {}, {}, 0});
    t.prompts.expectMessage("Dock point Dock9 not found in SHP-file.", title)
        .expectMessage(std::string("The number of dock points found in your MEX-file does not correspond\r\n") +
                           " to the number of dock points found in your SHP-file (resp. 1 and 0).\r\n",
                       title);
    readPoints(kHomeworld, {{"Dok", "Dock9"}});
    EXPECT_EQ(t.prompts.pending(), 0u);

    // Cataclysm: summary lines, in order, each with its own CR LF.
    resetMexChunkTable(t.ctx);
    addMexTreeDefaults(t.ctx);
    lists.docks = {{"D1", "dpt_salvage"}, {"D2", "dpt_salvage"}};
    loadShp(lists);
    declaredOff();
    writeBytes(dir / "hwc.mex", file(kCataclysm).data());
    getMexInfo(t.ctx, (dir / "hwc.mex").string());
    std::string expected =
        "Dock point TOW5 in MEX not found in SHP-file.\r\n"
        "Salvage point S1 in MEX not found in SHP-file.\r\n"
        "The number of 'Cataclysm'-type salvage points among 2 dock points in your SHP-file does not match the "
        "number of salvage points found in your MEX file (resp. 2, and 1).\r\n\r\n";
    for (const char* text : declared) expected += std::string(text) + "\r\n";
    expected +=
        "The number of guns found in your MEX-file does not correspond to the number of guns found in your "
        "SHP-file (resp. 1 and 2). In original Cataclysm, then Pirate Outpost, the Worker, the RepairDroid, the "
        "Leech, the MCV, the Mimic, and the RammingFrigate have no GUN set in their SHP-file (in the "
        "RammingFrigate.shp file, in the MCV.shp file, and in the Mimic.shp file, 'NUMBER_OF_GUNS is set to "
        "zero).\r\n\r\n"
        "The number of navlights found in your MEX-file does not correspond to the number of navlights found in "
        "your SHP-file (resp. 2 and 1).\r\n\r\n"
        "TARV identified 1 dock points as possible Cataclysm salvage points among 2 dock and salvage points in "
        "your MEX file.\r\n";
    EXPECT_EQ(t.ctx.shell.loadSummaryNotes, expected);
    EXPECT_EQ(t.prompts.shown.size(), 10u);  // only the Homeworld boxes above
}

}  // namespace
}  // namespace tarv
