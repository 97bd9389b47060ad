// Links from the object tree: by index for the editor, and as the .peo writer numbers them around
// deleted objects.
#include <gtest/gtest.h>

#include <random>

#include "ObjectFixtures.h"
#include "model/PeoWriter.h"
#include "objects/ObjectLinks.h"
#include "objects/ObjectTree.h"
#include "editor/context/EditingContext.h"

using namespace tarv;
using namespace tarv::test;

namespace {

// Objects 0 to 4, 1, 3 and 4 children of 0 in that order, and object 2 deleted (its node removed).
void exampleWithObject2Deleted(EditingContext& ctx) {
    makeObjects(ctx, {{"base", 0}, {"a", 1}, {"b", 1}, {"c", 1}, {"d", 1}});
    createObjectTree(ctx);
    ctx.shell.treeHeirachy.remove("o2");
    ctx.model.peoObjects[2].name = kDeletedObjectName;
    ctx.model.peoObjects[2].mother = 77;  // a deleted object keeps whatever links it had
}

int32_t le32(const std::vector<uint8_t>& bytes, size_t at) {
    return int32_t(uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
                   uint32_t(bytes[at + 3]) << 24);
}

}  // namespace

TEST(ObjectLinks, CalcHeirachyNumbersByIndexAroundADeletedObject) {
    TempDir dir;
    TestContext t(dir.path());
    exampleWithObject2Deleted(t.ctx);
    calcHeirachy(t.ctx);
    EXPECT_EQ(linkTexts(t.ctx), (std::vector<std::string>{"0/2/0", "1/0/4", "77/0/0", "1/0/5", "1/0/0"}));
    EXPECT_EQ(t.ctx.objects.lblNoOfObjs, "5") << "the count includes deleted objects";
}

TEST(ObjectLinks, FixHierarchyKeepsIndexLinksAndTheWriterNumbersTheFileRecords) {
    TempDir dir;
    TestContext t(dir.path());
    exampleWithObject2Deleted(t.ctx);
    fixHierarchy(t.ctx);
    EXPECT_EQ(linkTexts(t.ctx), (std::vector<std::string>{"0/2/0", "1/0/4", "77/0/0", "1/0/5", "1/0/0"}))
        << "links in memory stay index + 1 after a save";

    // The file has records for objects 0, 1, 3 and 4: a link to object 3 is record 3, to object 4 record 4.
    const std::vector<uint8_t> bytes = buildPeoFile(t.ctx, false);
    auto recordOffset = [](int record) { return 68 + (record - 1) * 112; };  // 0 for none
    struct Expect {
        int record;
        int parent, child, sibling;  // record numbers, 0 none
    } expected[] = {{1, 0, 2, 0}, {2, 1, 0, 3}, {3, 1, 0, 4}, {4, 1, 0, 0}};
    for (const Expect& e : expected) {
        const size_t at = size_t(recordOffset(e.record));
        auto offset = [&](int record) { return record == 0 ? 0 : recordOffset(record); };
        EXPECT_EQ(le32(bytes, at + 36), offset(e.parent)) << "record " << e.record;
        EXPECT_EQ(le32(bytes, at + 40), offset(e.child)) << "record " << e.record;
        EXPECT_EQ(le32(bytes, at + 44), offset(e.sibling)) << "record " << e.record;
    }
    EXPECT_EQ(linkTexts(t.ctx)[3], "1/0/5") << "the writer numbers its own copy";
}

TEST(ObjectLinks, CalcTakesTheLastNodeOfANameAndFixTheFirst) {
    TempDir dir;
    TestContext t(dir.path());
    // Two objects named "gun": under hull (o3) and under pod (o4).
    makeObjects(t.ctx, {{"base", 0}, {"hull", 1}, {"pod", 1}, {"gun", 2}, {"gun", 3}});
    createObjectTree(t.ctx);
    calcHeirachy(t.ctx);
    EXPECT_EQ(linkTexts(t.ctx)[3], "3/0/0");
    EXPECT_EQ(linkTexts(t.ctx)[4], "3/0/0");
    fixHierarchy(t.ctx);
    EXPECT_EQ(linkTexts(t.ctx)[3], "2/0/0");
    EXPECT_EQ(linkTexts(t.ctx)[4], "2/0/0");
}

TEST(ObjectLinks, CalcHeirachyLogsEachObjectAtLevelThree) {
    TempDir dir;
    TestContext t(dir.path());
    t.ctx.currentModelPath = (dir.path() / "ship.peo").string();
    makeObjects(t.ctx, {{"base", 0}, {"hull", 1}, {"wing", 1}});
    createObjectTree(t.ctx);
    t.ctx.model.peoObjects[1].sister = 9;

    t.ctx.prefs.logLevel = 3;
    calcHeirachy(t.ctx);
    EXPECT_EQ(readText(dir.path() / "ship.log"),
              "[2] Calculating object heirachy:\r\n"
              "[3]   -> 1 base: 0/2/0 0/0/0\r\n"
              "[3]   -> 2 hull: 1/0/3 1/0/9\r\n"
              "[3]   -> 3 wing: 1/0/0 1/0/0\r\n");
    std::filesystem::remove(dir.path() / "ship.log");
    t.ctx.prefs.logLevel = 2;
    calcHeirachy(t.ctx);
    EXPECT_EQ(readText(dir.path() / "ship.log"), "[2] Calculating object heirachy:\r\n");
}

TEST(ObjectLinks, TheIndexedComputationMatchesTheLiteralWalk) {
    std::mt19937 random(8);
    for (int round = 0; round < 40; ++round) {
        TempDir dir;
        TestContext t(dir.path());
        t.prompts.allowUnused();
        const int count = 1 + int(random() % 40);
        std::vector<ObjectRow> rows;
        for (int i = 0; i < count; ++i) {
            // Few distinct names, so most are duplicated; parents anywhere, some bad, some roots.
            rows.push_back({"n" + std::to_string(random() % 8), int32_t(random() % (count + 3)) - 1});
        }
        makeObjects(t.ctx, rows);
        for (int i = 0; i < 50; ++i) t.prompts.expectMessage();
        createObjectTree(t.ctx);
        KeyedTree& tree = t.ctx.shell.treeHeirachy;
        for (int moves = 0; moves < 10 && count > 1; ++moves)
            tree.moveToFirstChild("o" + std::to_string(random() % count), "o" + std::to_string(random() % count));
        if (count > 3) tree.remove("o" + std::to_string(1 + random() % (count - 1)));
        for (NodeMatch match : {NodeMatch::First, NodeMatch::Last}) {
            EXPECT_EQ(linksFromTree(tree, t.ctx.model, match), linksFromTreeLiteral(tree, t.ctx.model, match))
                << "round " << round;
        }
    }
}

TEST(ObjectLinks, AKeysObjectNumberIsTheLeadingNumberAfterItsFirstLetter) {
    struct Case {
        const char* key;
        int32_t number;
    };
    const Case cases[] = {
        {"o0", 0},           {"o12", 12},        {"o007", 7},           {"o123456789", 123456789},
        {"o1234567890", 1234567890}, {"o2147483647", 2147483647}, {"o2147483648", 0}, {"o9999999999", 0},
        {"o12a", 12},        {"o", 0},           {"", 0},               {"x5", 5},
        {"o-3", -3},         {"o 4", 4},         {"o1e3", 1000},        {"o2.5", 2},
        {"oa1", 0},          {"o000000000", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(keyIndex(c.key), c.number) << c.key;
}

TEST(ObjectLinks, ObjectsWithoutANodeKeepTheirLinks) {
    TempDir dir;
    TestContext t(dir.path());
    makeObjects(t.ctx, {{"base", 0}, {"hull", 1}});
    createObjectTree(t.ctx);
    t.ctx.model.peoObjects[1].name = "renamed elsewhere";
    t.ctx.model.peoObjects[1].mother = 42;
    calcHeirachy(t.ctx);
    fixHierarchy(t.ctx);
    EXPECT_EQ(linkTexts(t.ctx), (std::vector<std::string>{"0/2/0", "42/0/0"}));
}
