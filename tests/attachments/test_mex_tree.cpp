#include <gtest/gtest.h>

#include "Fakes.h"
#include "TempDir.h"
#include "attachments/MexChunkTree.h"
#include "model/LogFiles.h"
#include "editor/context/EditingContext.h"

namespace tarv {
namespace {

using namespace tarv::test;

class MexTree : public ::testing::Test {
protected:
    MexTree() { addMexTreeDefaults(t.ctx); }
    // Adds chunk nodes of one type with the given texts; returns their keys.
    std::vector<std::string> add(char letter, const std::vector<std::string>& texts) {
        std::vector<std::string> keys;
        for (const auto& text : texts) {
            const std::string key = mexChunkKey(letter, next++);
            tree().addChild(mexChunkTypeByLetter(letter)->parentKey, key, text);
            keys.push_back(key);
        }
        return keys;
    }
    KeyedTree& tree() { return t.ctx.mex.treeMex; }
    std::string nameFor(const std::string& key) { return checkMexName(t.ctx, int16_t(tree().indexOf(key))); }

    TempDir dir;
    TestContext t{dir.path()};
    int next = 0;
};

TEST_F(MexTree, SkeletonHasRootAndSixGroups) {
    add('g', {"Gun0"});
    addMexTreeDefaults(t.ctx);  // clears what was there
    const char* const expected[][3] = {{"Root", "", "Mex Entries"},         {"gRoot", "Root", "Guns"},
                                       {"dRoot", "Root", "Damage points"},  {"eRoot", "Root", "Engines"},
                                       {"kRoot", "Root", "Docking points"}, {"sRoot", "Root", "Salvage points"},
                                       {"nRoot", "Root", "Navlights"}};
    ASSERT_EQ(tree().count(), 7);
    for (int i = 0; i < 7; ++i) {
        const auto& node = tree().nodeAt(i + 1);
        EXPECT_EQ(node.key, expected[i][0]);
        EXPECT_EQ(tree().parentOf(node.key), expected[i][1]);
        EXPECT_EQ(node.text, expected[i][2]);
        EXPECT_FALSE(node.checked);
    }
    EXPECT_TRUE(tree().nodeAt(1).expanded);
}

TEST_F(MexTree, NewChunksOfAnEmptyTree) {
    const char* const cases[][3] = {{"g", "Gun0", ""},
                                    {"d", "Dmg0", ""},
                                    {"e", "Eng0", ""},
                                    {"k", "DOCK", "Dock0"},
                                    {"s", "SALVAGE", "Salvage0"},
                                    {"n", "NAV", "NavLight0"},
                                    {"c", "", ""},
                                    {"r", "", ""},
                                    {"x", "", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        EXPECT_EQ(getNextChunkId(t.ctx, c[0]), c[1]);
        EXPECT_EQ(getNextChunkText(t.ctx, c[0]), c[2]);
        EXPECT_EQ(getCounter(t.ctx, c[0]), 0);
    }
    EXPECT_TRUE(t.errors.reports.empty());
}

TEST_F(MexTree, NewChunksFollowTheGroupsFirstChild) {
    add('g', {"Gun0", "Gun1", "Gun2"});
    add('k', {"Dock0", "Dock1"});
    add('d', {"Dmg00"});
    EXPECT_EQ(getNextChunkId(t.ctx, "g"), "Gun3");
    EXPECT_EQ(getNextChunkId(t.ctx, "k"), "DOCK");
    EXPECT_EQ(getNextChunkText(t.ctx, "k"), "Dock2");
    EXPECT_EQ(getNextChunkId(t.ctx, "d"), "Dmg001");
    EXPECT_EQ(getNextChunkText(t.ctx, "s"), "Salvage0");
}

TEST_F(MexTree, CheckMexNameMakesNamesUniqueInTheWholeTree) {
    struct Case {
        const char* what;
        std::vector<std::pair<char, std::vector<std::string>>> nodes;  // the first node is the reference
        const char* expected;
    };
    const Case cases[] = {
        {"next number", {{'g', {"Gun3", "Gun0", "Gun1", "Gun2"}}}, "Gun4"},
        {"clone among many", {{'g', {"Gun3", "Gun0", "Gun1", "Gun2", "Gun4", "Gun5", "Gun6", "Gun7"}}}, "Gun8"},
        {"one zero dropped at 10",
         {{'g', {"Gun01", "Gun02", "Gun03", "Gun04", "Gun05", "Gun06", "Gun07", "Gun08", "Gun09"}}},
         "Gun10"},
        {"zeros kept at 13",
         {{'g',
           {"Gun001", "Gun002", "Gun003", "Gun004", "Gun005", "Gun006", "Gun007", "Gun008", "Gun009", "Gun010",
            "Gun011", "Gun012"}}},
         "Gun013"},
        {"every leading zero counts", {{'g', {"Gun00"}}}, "Gun001"},
        {"single zero", {{'g', {"Gun0"}}}, "Gun1"},
        {"no digits", {{'c', {"Collision Sphere"}}}, "Collision Sphere1"},
        {"other types count", {{'g', {"Gun0", "Gun1"}}, {'d', {"Gun5"}}}, "Gun6"},
        {"suffix kept", {{'g', {"Gun1Left", "Gun2Left", "Gun7Right"}}}, "Gun3Left"},
        {"case-sensitive base", {{'g', {"Gun1", "gun9", "GUN8"}}}, "Gun2"},
        {"group captions count", {{'g', {"Guns (4)"}}}, "Guns (5)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        addMexTreeDefaults(t.ctx);
        std::string reference;
        for (const auto& [letter, texts] : c.nodes) {
            const auto keys = add(letter, texts);
            if (reference.empty()) reference = keys.front();
        }
        EXPECT_EQ(nameFor(reference), c.expected);
    }
    EXPECT_TRUE(t.errors.reports.empty());
}

TEST_F(MexTree, CountersLiveInTheGroupCaptions) {
    const char* const cases[][2] = {{"g", "Guns (12)"},           {"d", "Damage points (12)"},
                                    {"e", "Engines (12)"},        {"k", "Docking points (12)"},
                                    {"s", "Salvage points (12)"}, {"n", "Navlights (12)"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        EXPECT_EQ(getCounter(t.ctx, c[0]), 0);
        setCounter(t.ctx, 12, c[0]);
        EXPECT_EQ(getCounter(t.ctx, c[0]), 12);
        EXPECT_EQ(tree().find(std::string(c[0]) + "Root")->text, c[1]);
    }
    setCounter(t.ctx, 3, "c");
    setCounter(t.ctx, 3, "r");
    EXPECT_EQ(tree().nodeAt(1).text, "Mex Entries");
    EXPECT_EQ(getCounter(t.ctx, "c"), 0);
    EXPECT_TRUE(t.errors.reports.empty());
}

TEST_F(MexTree, CounterOfATreeWithoutGroupsIsAnErrorAndZero) {
    tree().clear();
    EXPECT_EQ(getCounter(t.ctx, "g"), 0);
    ASSERT_EQ(t.errors.reports.size(), 1u);
    EXPECT_EQ(t.errors.reports[0].module, "modMex");
    EXPECT_EQ(t.errors.reports[0].procedure, "getCounter");
    EXPECT_EQ(t.errors.reports[0].arguments, "g");
}

TEST_F(MexTree, ChunkKeysCarryTheIndex) {
    EXPECT_EQ(mexChunkKey('g', 3), "g3");
    EXPECT_EQ(mexChunkIndexOfKey("g3"), 3);
    EXPECT_EQ(mexChunkIndexOfKey("d12"), 12);
    EXPECT_EQ(mexChunkIndexOfKey("gRoot"), -1);
    EXPECT_EQ(mexChunkIndexOfKey("g"), -1);
    EXPECT_TRUE(isMexGroupOrRootKey("Root"));
    EXPECT_TRUE(isMexGroupOrRootKey("nRoot"));
    EXPECT_FALSE(isMexGroupOrRootKey("n7"));
}

}  // namespace
}  // namespace tarv

namespace tarv {
namespace {

TEST_F(MexTree, CheckMexNameLogsItsSteps) {
    t.ctx.prefs.logLevel = 3;
    const auto keys = add('g', {"Gun001", "Gun012"});
    EXPECT_EQ(nameFor(keys[0]), "Gun013");
    EXPECT_NE(readText(currentLogPath(t.ctx))
                  .find("[2] Checking: Gun001\r\n"
                        "[3] numOfZeros: 2 leadZero: 0\r\n"
                        "[2] -> Gun013\r\n"),
              std::string::npos);
}

}  // namespace
}  // namespace tarv
