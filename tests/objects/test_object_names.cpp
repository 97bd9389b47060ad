// Copy names and numbers: the numbering table, the family index against the full scan, checkKey and
// checkParent.
#include <gtest/gtest.h>

#include <random>

#include "ObjectFixtures.h"
#include "base/RunTimeError.h"
#include "editor/context/EditingContext.h"
#include "objects/ObjectNames.h"
#include "objects/ObjectTree.h"

using namespace tarv;
using namespace tarv::test;

namespace {

struct NameCase {
    const char* source;
    std::vector<std::string> family;
    const char* copy;
};

const NameCase kNameTable[] = {
    {"Hull", {}, "Hull2"},         {"Hull", {"Hull2"}, "Hull3"}, {"Hull2", {"Hull"}, "Hull3"},
    {"Hull", {"Hull7b"}, "Hull2"}, {"Gun0", {}, "Gun02"},        {"Gun00", {}, "Gun002"},
    {"Gun1", {"Gun0"}, "Gun2"},    {"Gun01", {}, "Gun02"},       {"Gun09", {}, "Gun010"},
    {"Gun001", {}, "Gun002"},      {"Gun010", {}, "Gun11"},      {"Gun01", {"Gun10"}, "Gun11"},
    {"Gun099", {}, "Gun100"},      {"Gun0999", {}, "Gun1000"},   {"Gun1Left", {"Gun2Left", "Gun5"}, "Gun3Left"},
    {"2Hull", {}, "3Hull"},        {"Pod1a2", {}, "Pod1a3"},     {"Engine", {"engine3"}, "Engine2"},
};

class NameTable : public testing::TestWithParam<NameCase> {};

}  // namespace

TEST_P(NameTable, TheCopyNameOverTheTree) {
    const NameCase& c = GetParam();
    TempDir dir;
    TestContext t(dir.path());
    std::vector<ObjectRow> rows{{"base", 0}, {c.source, 1}};
    for (const std::string& name : c.family) rows.push_back({name, 1});
    makeObjects(t.ctx, rows);
    createObjectTree(t.ctx);
    EXPECT_EQ(checkName(t.ctx, 2), c.copy);
    const std::vector<std::string> texts = objectTreeTexts(t.ctx);
    EXPECT_EQ(copyNameAmong(c.source, texts).name, c.copy);
    EXPECT_EQ(NameFamilyIndex(texts).copyName(c.source).name, c.copy);
    EXPECT_TRUE(t.errors.reports.empty());
}

INSTANTIATE_TEST_SUITE_P(CopyNames, NameTable, testing::ValuesIn(kNameTable));

TEST(ObjectNames, CheckNameLogsTheSourceTheFillAndTheResult) {
    TempDir dir;
    TestContext t(dir.path());
    t.ctx.currentModelPath = (dir.path() / "ship.peo").string();
    makeObjects(t.ctx, {{"base", 0}, {"Gun001", 1}, {"Hull", 1}});
    createObjectTree(t.ctx);
    t.ctx.prefs.logLevel = 3;
    checkName(t.ctx, 2);
    checkName(t.ctx, 3);
    EXPECT_EQ(readText(dir.path() / "ship.log"),
              "[2]   Checking: Gun001\r\n"
              "[3]   numOfZeros: 2 leadZero: 00\r\n"
              "[2]   -> Gun002\r\n"
              "[2]   Checking: Hull\r\n"
              "[2]   -> Hull2\r\n");
}

TEST(ObjectNames, NumbersBeyondThirtyTwoBitsOverflow) {
    // A family number of 2147483647 cannot grow; a digit run beyond it cannot be read.
    const std::vector<std::vector<std::string>> trees{
        {"Gun1", "Gun2147483647"}, {"Gun1", "Gun2147483648"}, {"Gun1", "Gun99999999999999999999"}};
    for (const auto& names : trees) {
        SCOPED_TRACE(names[1]);
        try {
            copyNameAmong("Gun1", names);
            ADD_FAILURE() << "no overflow";
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), 6);
        }
        EXPECT_THROW(NameFamilyIndex(names).copyName("Gun1"), RunTimeError);
    }
    EXPECT_EQ(copyNameAmong("Gun1", {"Gun1", "Gun2147483646"}).name, "Gun2147483647");
    EXPECT_EQ(copyNameAmong("Hull", {"Hull", "Gun99999999999999999999"}).name, "Hull2") << "other family";

    TempDir dir;
    TestContext t(dir.path());
    makeObjects(t.ctx, {{"base", 0}, {"Gun1", 1}, {"Gun2147483647", 1}});
    createObjectTree(t.ctx);
    EXPECT_EQ(checkName(t.ctx, 2), "");
    ASSERT_EQ(t.errors.reports.size(), 1u);
    EXPECT_EQ(t.errors.reports[0].number, 6);
    EXPECT_EQ(t.errors.reports[0].procedure, "checkName");
    EXPECT_EQ(t.errors.reports[0].arguments, "2");
}

TEST(ObjectNames, TheFamilyIndexGivesTheNamesOfTheFullScan) {
    std::mt19937 random(22);
    const char* bases[] = {"Gun", "Hull", "Pod", "gun", "Eng"};
    const char* suffixes[] = {"", "", "Left", "b"};
    for (int round = 0; round < 60; ++round) {
        std::vector<std::string> names;
        const int count = 1 + int(random() % 30);
        for (int i = 0; i < count; ++i) {
            std::string name = bases[random() % 5];
            const int digits = int(random() % 4);
            if (random() % 5 == 0) name = std::to_string(random() % 30) + name;
            for (int d = 0; d < digits; ++d) name += char('0' + random() % (d == 0 ? 2 : 10));
            name += suffixes[random() % 4];
            names.push_back(name);
        }
        NameFamilyIndex index(names);
        std::vector<std::string> scanned = names;
        for (int copy = 0; copy < 20; ++copy) {
            const std::string& source = scanned[random() % scanned.size()];
            const CopyName literal = copyNameAmong(source, scanned);
            const CopyName indexed = index.copyName(source);
            ASSERT_EQ(indexed.name, literal.name) << source;
            EXPECT_EQ(indexed.numbered, literal.numbered);
            EXPECT_EQ(indexed.zeros, literal.zeros);
            EXPECT_EQ(indexed.fill, literal.fill);
            scanned.push_back(literal.name);
            index.add(literal.name);
        }
    }
}

TEST(ObjectNames, CheckKeyIsTheLargestKeyOrTheLastObject) {
    TempDir dir;
    TestContext t(dir.path());
    makeObjects(t.ctx, {{"base", 0}, {"hull", 1}, {"gun", 2}});
    createObjectTree(t.ctx);
    EXPECT_EQ(checkKey(t.ctx), 2) << "keys below objectCount - 1 give objectCount - 1";
    t.ctx.shell.treeHeirachy.addChild("o0", "o40", "stray");
    EXPECT_EQ(checkKey(t.ctx), 40) << "a key above it wins";
    t.ctx.shell.treeHeirachy.remove("o40");
    t.ctx.shell.treeHeirachy.remove("o2");
    t.ctx.shell.treeHeirachy.remove("o1");
    EXPECT_EQ(checkKey(t.ctx), 2) << "deleted objects keep their numbers";
}

TEST(ObjectNames, CheckParentTakesTheNewestMemberOfTheFamily) {
    // Gun1 with children Gun2 and Gun3, after the copies Gun4 (under the base) and Gun5 (under Gun4).
    TempDir dir;
    TestContext t(dir.path());
    makeObjects(t.ctx, {{"base", 0}, {"Gun1", 1}, {"Gun2", 2}, {"Gun3", 2}, {"Gun4", 1}, {"Gun5", 5}, {"Hull", 1}});
    createObjectTree(t.ctx);
    const KeyedTree& tree = t.ctx.shell.treeHeirachy;
    const int16_t newest = checkParent(t.ctx, tree.indexOf("o2"));
    EXPECT_EQ(tree.nodeAt(newest).text, "Gun5");
    EXPECT_EQ(checkParent(t.ctx, tree.indexOf("o6")), 0) << "no member of Hull's family has a number";
}
