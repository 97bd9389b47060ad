// The keyed tree behind the object tree and the chunk tree.
#include <gtest/gtest.h>

#include "base/KeyedTree.h"
#include "base/RunTimeError.h"

using namespace tarv;

namespace {

// o0 ─┬─ o1 ─── o3
//     └─ o2 ─── o4 ─── o5
KeyedTree sampleTree() {
    KeyedTree t;
    t.addTopLevel("o0", "base");
    t.addChild("o0", "o1", "hull");
    t.addChild("o0", "o2", "wing");
    t.addChild("o1", "o3", "gun");
    t.addChild("o2", "o4", "gun");
    t.addChild("o4", "o5", "tip");
    return t;
}

std::vector<std::string> keysInOrder(const KeyedTree& t) {
    std::vector<std::string> keys;
    for (int i = 1; i <= t.count(); ++i) keys.push_back(t.nodeAt(i).key);
    return keys;
}

int errorOf(auto&& action) {
    try {
        action();
    } catch (const RunTimeError& e) {
        return e.number();
    }
    return 0;
}

}  // namespace

TEST(KeyedTree, BuildsWalksAndFindsNodes) {
    KeyedTree t = sampleTree();
    EXPECT_EQ(keysInOrder(t), (std::vector<std::string>{"o0", "o1", "o2", "o3", "o4", "o5"}));
    EXPECT_EQ(t.topLevel(), std::vector<std::string>{"o0"});
    EXPECT_EQ(t.childrenOf("o0"), (std::vector<std::string>{"o1", "o2"}));
    EXPECT_EQ(t.firstChildOf("o0"), "o1");
    EXPECT_EQ(t.nextSiblingOf("o1"), "o2");
    EXPECT_EQ(t.nextSiblingOf("o2"), "");
    EXPECT_EQ(t.parentOf("o5"), "o4");
    EXPECT_EQ(t.parentOf("o0"), "");
    EXPECT_EQ(t.indexOf("o4"), 5);
    EXPECT_EQ(t.indexOf("nothing"), 0);
    ASSERT_NE(t.find("o3"), nullptr);
    EXPECT_EQ(t.find("o3")->text, "gun");
    EXPECT_EQ(t.firstWithText("gun")->key, "o3");
    EXPECT_EQ(t.lastWithText("gun")->key, "o4");
    EXPECT_EQ(t.firstWithText("GUN"), nullptr) << "texts compare exactly, case included";
}

TEST(KeyedTree, RefusesWhatWouldBreakIt) {
    KeyedTree t = sampleTree();
    struct Case {
        const char* what;
        std::function<void()> action;
        int error;
    } cases[] = {
        {"duplicate top-level key", [&] { t.addTopLevel("o1", "again"); }, 35602},
        {"duplicate child key", [&] { t.addChild("o2", "o5", "again"); }, 35602},
        {"child of a missing parent", [&] { t.addChild("o9", "o10", "x"); }, 35601},
        {"index 0", [&] { t.nodeAt(0); }, 35600},
        {"index past the end", [&] { t.nodeAt(7); }, 35600},
        {"remove a missing key", [&] { t.remove("o9"); }, 35601},
        {"select a missing key", [&] { t.setSelected("o9"); }, 35601},
    };
    for (auto& c : cases) EXPECT_EQ(errorOf(c.action), c.error) << c.what;
    EXPECT_EQ(t.count(), 6) << "refused operations change nothing";
    EXPECT_EQ(t.find("o1")->text, "hull");
}

TEST(KeyedTree, MovesToTheFirstPlaceAndRefusesItsOwnSubtree) {
    struct Case {
        const char* key;
        const char* newParent;
        KeyedTree::MoveResult result;
        std::vector<std::string> childrenAfter;  // of newParent
    } cases[] = {
        {"o5", "o0", KeyedTree::MoveResult::Moved, {"o5", "o1", "o2"}},
        {"o4", "o1", KeyedTree::MoveResult::Moved, {"o4", "o3"}},
        {"o1", "o1", KeyedTree::MoveResult::IntoOwnSubtree, {"o3"}},
        {"o2", "o5", KeyedTree::MoveResult::IntoOwnSubtree, {}},
        {"o0", "o4", KeyedTree::MoveResult::IntoOwnSubtree, {"o5"}},
        {"o2", "o3", KeyedTree::MoveResult::Moved, {"o2"}},
    };
    for (const Case& c : cases) {
        KeyedTree t = sampleTree();
        std::string oldParent = t.parentOf(c.key);
        EXPECT_EQ(t.moveToFirstChild(c.key, c.newParent), c.result) << c.key << " -> " << c.newParent;
        EXPECT_EQ(t.childrenOf(c.newParent), c.childrenAfter) << c.key << " -> " << c.newParent;
        EXPECT_EQ(t.parentOf(c.key), c.result == KeyedTree::MoveResult::Moved ? c.newParent : oldParent);
        EXPECT_EQ(keysInOrder(t), (std::vector<std::string>{"o0", "o1", "o2", "o3", "o4", "o5"}))
            << "a move never changes the creation order";
    }
    KeyedTree t = sampleTree();
    t.moveToFirstChild("o4", "o0");
    EXPECT_EQ(t.childrenOf("o4"), std::vector<std::string>{"o5"}) << "the subtree moves along";
    EXPECT_EQ(t.childrenOf("o2"), std::vector<std::string>{});
}

TEST(KeyedTree, PutsANodeBackAtItsPlaceAmongSiblingsOrTopLevelNodes) {
    KeyedTree t = sampleTree();
    EXPECT_EQ(t.siblingPlace("o2"), 1u);
    EXPECT_EQ(t.moveToFirstChild("o2", "o4"), KeyedTree::MoveResult::IntoOwnSubtree);
    t.moveToFirstChild("o2", "o3");
    EXPECT_EQ(t.moveTo("o2", "o0", 1), KeyedTree::MoveResult::Moved);
    EXPECT_EQ(t.childrenOf("o0"), (std::vector<std::string>{"o1", "o2"}));
    EXPECT_EQ(t.moveTo("o1", "o5", 0), KeyedTree::MoveResult::Moved);
    EXPECT_EQ(t.moveTo("o0", "o3", 0), KeyedTree::MoveResult::IntoOwnSubtree);
    EXPECT_EQ(t.moveTo("o4", "", 5), KeyedTree::MoveResult::Moved) << "a place past the end appends";
    EXPECT_EQ(t.topLevel(), (std::vector<std::string>{"o0", "o4"}));
    EXPECT_EQ(t.moveTo("o4", "", 0), KeyedTree::MoveResult::Moved);
    EXPECT_EQ(t.topLevel(), (std::vector<std::string>{"o4", "o0"}));
    EXPECT_EQ(t.parentOf("o4"), "");
    EXPECT_EQ(t.siblingPlace("o0"), 1u);
}

TEST(KeyedTree, ArrangesTheWholeShapeAtOnceAndRefusesCyclesAndBadIndexes) {
    KeyedTree t = sampleTree();
    // o5 and o1 at the top, in that order; o0 under o5; o4, o2 and o3 under o0 in the order listed.
    t.arrange({6, 0, 1, 1, 1, 0}, {6, 5, 3, 1, 2, 4});
    EXPECT_EQ(t.topLevel(), (std::vector<std::string>{"o5", "o1"}));
    EXPECT_EQ(t.childrenOf("o5"), (std::vector<std::string>{"o0"}));
    EXPECT_EQ(t.childrenOf("o0"), (std::vector<std::string>{"o4", "o2", "o3"}));
    EXPECT_EQ(t.parentOf("o3"), "o0");
    EXPECT_EQ(keysInOrder(t), (std::vector<std::string>{"o0", "o1", "o2", "o3", "o4", "o5"})) << "creation order stays";

    const std::vector<std::string> topBefore = t.topLevel(), childrenBefore = t.childrenOf("o0");
    const std::pair<std::vector<int>, std::vector<int>> refused[] = {
        {{2, 1, 0, 0, 0, 0}, {1, 2, 3, 4, 5, 6}},  // o0 and o1 under each other
        {{1, 0, 0, 0, 0, 0}, {1, 2, 3, 4, 5, 6}},  // o0 under itself
        {{0, 0, 0, 0, 0, 7}, {1, 2, 3, 4, 5, 6}},  // no seventh node
        {{0, 0, 0, 0, 0, 0}, {1, 2, 3, 4, 5, 5}},  // o5 listed twice, o6 never
        {{0, 0, 0, 0, 0}, {1, 2, 3, 4, 5}},        // too short
    };
    for (const auto& refusal : refused) {
        const std::vector<int>& parents = refusal.first;
        const std::vector<int>& order = refusal.second;
        EXPECT_EQ(errorOf([&] { t.arrange(parents, order); }), 5);
        EXPECT_EQ(t.topLevel(), topBefore);
        EXPECT_EQ(t.childrenOf("o0"), childrenBefore);
    }
}

TEST(KeyedTree, RemovalClosesTheGapsInCreationOrder) {
    KeyedTree t = sampleTree();
    t.setSelected("o5");
    t.setDropHighlight("o4");
    t.remove("o2");  // with o4 and o5
    EXPECT_EQ(keysInOrder(t), (std::vector<std::string>{"o0", "o1", "o3"}));
    EXPECT_EQ(t.indexOf("o3"), 3);
    EXPECT_EQ(t.find("o5"), nullptr);
    EXPECT_EQ(t.selectedKey(), "") << "a removed node is no longer selected";
    EXPECT_EQ(t.dropHighlightKey(), "");
    EXPECT_EQ(t.childrenOf("o0"), std::vector<std::string>{"o1"});
    t.addChild("o0", "o2", "wing again");
    EXPECT_EQ(t.indexOf("o2"), 4) << "a key can come back after removal, at the end";
    uint64_t before = t.revision();
    t.clear();
    EXPECT_EQ(t.count(), 0);
    EXPECT_GT(t.revision(), before);
}

TEST(KeyedTree, LooksUpKeysInConstantTime) {
    KeyedTree t;
    t.addTopLevel("Root", "Mex Entries");
    for (int i = 0; i < 100000; ++i) t.addChild("Root", "g" + std::to_string(i), "Gun" + std::to_string(i));
    // A linear search per lookup would make this take minutes.
    for (int i = 0; i < 100000; ++i) ASSERT_EQ(t.indexOf("g" + std::to_string(i)), i + 2);
}
