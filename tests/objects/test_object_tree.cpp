// Building the object tree from the parent links, and the tree's handlers: drag and drop, rename, ticks
// and clicks.
#include <gtest/gtest.h>

#include <random>

#include "ObjectFixtures.h"
#include "objects/ObjectLinks.h"
#include "objects/ObjectSelection.h"
#include "objects/ObjectTree.h"
#include "editor/context/EditingContext.h"

using namespace tarv;
using namespace tarv::test;

namespace {

struct BuildCase {
    const char* what;
    std::vector<ObjectRow> rows;
    std::string shape;
    int messages;
    std::vector<std::string> links;  // after calcHeirachy
};

const std::vector<ObjectRow> kShip = {{"base", 0}, {"hull", 1}, {"wing", 1}, {"gun", 2}, {"tip", 4}};

}  // namespace

TEST(CreateObjectTree, BuildsFromTheParentLinksAndMendsBadOnes) {
    const BuildCase cases[] = {
        {"well-formed", kShip, "o0(o1(o3(o4)),o2)", 0, {"0/2/0", "1/4/3", "1/0/0", "2/5/0", "4/0/0"}},
        {"single object", {{"base", 0}}, "o0", 0, {"0/0/0"}},
        {"own parent", {{"base", 0}, {"hull", 2}}, "o0(o1)", 1, {"0/2/0", "1/0/0"}},
        {"parent past the end", {{"base", 0}, {"hull", 3}}, "o0(o1)", 1, {"0/2/0", "1/0/0"}},
        {"negative parent: silent", {{"base", 0}, {"hull", -5}}, "o0(o1)", 0, {"0/2/0", "1/0/0"}},
        {"cycle", {{"base", 0}, {"a", 3}, {"b", 2}}, "o0(o1(o2))", 1, {"0/2/0", "1/3/0", "2/0/0"}},
        {"object 0 with a parent", {{"base", 2}, {"hull", 1}}, "o0(o1)", 1, {"0/2/0", "1/0/0"}},
        {"extra roots",
         {{"base", 0}, {"pod", 0}, {"fin", 0}, {"gun", 2}},
         "o0 o1(o3) o2",
         0,
         {"0/0/0", "0/4/3", "0/0/0", "2/0/0"}},
        {"siblings in index order",
         {{"base", 0}, {"a", 1}, {"b", 1}, {"c", 1}},
         "o0(o1,o2,o3)",
         0,
         {"0/2/0", "1/0/3", "1/0/4", "1/0/0"}},
    };
    for (const BuildCase& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        TestContext t(dir.path());
        makeObjects(t.ctx, c.rows);
        for (int i = 0; i < c.messages; ++i) t.prompts.expectMessage("Corrupted hierarchy detected!");
        t.ctx.objects.selectedObject = 7;
        t.ctx.model.peoObjects[0].sizeX = 7.5f;  // the size labels show the first object's

        createObjectTree(t.ctx);

        const KeyedTree& tree = t.ctx.shell.treeHeirachy;
        EXPECT_EQ(treeShape(tree), c.shape);
        EXPECT_EQ(t.prompts.pending(), 0u);
        EXPECT_TRUE(t.errors.reports.empty());
        for (int i = 1; i <= tree.count(); ++i) {
            EXPECT_TRUE(tree.nodeAt(i).checked) << tree.nodeAt(i).key;
            EXPECT_TRUE(tree.nodeAt(i).expanded) << tree.nodeAt(i).key;
            EXPECT_EQ(tree.nodeAt(i).key, "o" + std::to_string(i - 1)) << "creation order is index order";
            EXPECT_EQ(tree.nodeAt(i).text, c.rows[size_t(i - 1)].name);
        }
        EXPECT_EQ(tree.selectedKey(), "o0");
        EXPECT_EQ(t.ctx.objects.selectedObject, 7) << "the build does not run the click handling";
        EXPECT_EQ(t.ctx.objects.lblObjectName[0], c.rows[0].name);
        EXPECT_EQ(t.ctx.objects.lblObjectName[1], c.rows[0].name);
        EXPECT_EQ(t.ctx.objects.dialogs.lblObjectSize[0], "7.5");
        std::vector<std::string> names;
        for (const auto& row : c.rows) names.push_back(row.name);
        EXPECT_EQ(t.ctx.objects.cmbObjectList, names);
        EXPECT_EQ(t.ctx.objects.cmbMatrixObjectList, names);

        calcHeirachy(t.ctx);
        EXPECT_EQ(linkTexts(t.ctx), c.links);
    }
}

TEST(CreateObjectTree, ALoadAfterAnotherStartsFromEmptyLists) {
    TempDir dir;
    TestContext t(dir.path());
    makeObjects(t.ctx, kShip);
    createObjectTree(t.ctx);
    makeObjects(t.ctx, {{"other", 0}, {"one", 1}});
    createObjectTree(t.ctx);
    EXPECT_EQ(t.ctx.objects.cmbObjectList, (std::vector<std::string>{"other", "one"}));
    EXPECT_EQ(t.ctx.objects.cmbMatrixObjectList, (std::vector<std::string>{"other", "one"}));
    EXPECT_EQ(treeShape(t.ctx.shell.treeHeirachy), "o0(o1)");
}

TEST(CreateObjectTree, AFileInRecordOrderKeepsItsSiblingLinksThroughALoad) {
    // A load followed by the save's link computation gives back the links the file had.
    TempDir dir;
    TestContext t(dir.path());
    std::vector<ObjectRow> rows = {{"base", 0}, {"a", 1}, {"b", 1}, {"c", 2}, {"d", 2}, {"e", 1}};
    makeObjects(t.ctx, rows);
    const std::vector<std::string> fileLinks = {"0/2/0", "1/4/3", "1/0/6", "2/0/5", "2/0/0", "1/0/0"};
    for (size_t i = 0; i < rows.size(); ++i) {
        auto& o = t.ctx.model.peoObjects[i];
        std::sscanf(fileLinks[i].c_str(), "%d/%d/%d", &o.mother, &o.daughter, &o.sister);
    }
    createObjectTree(t.ctx);
    fixHierarchy(t.ctx);
    EXPECT_EQ(linkTexts(t.ctx), fileLinks);
}

namespace {

// The tree build as a series of moves, each node to the first place under its parent, from the last object
// down; kept as the reference that the one-pass build must match. Returns the number of corruption messages.
int buildByMoves(KeyedTree& tree, const std::vector<PeoObject>& objects) {
    tree.clear();
    const int count = int(objects.size());
    for (int i = 0; i < count; ++i) {
        if (objects[size_t(i)].mother != 0 && i != 0)
            tree.addChild("o0", objectKey(i), objects[size_t(i)].name);
        else
            tree.addTopLevel(objectKey(i), objects[size_t(i)].name);
    }
    int messages = 0;
    for (int i = count - 1; i >= 0; --i) {
        const int32_t mother = objects[size_t(i)].mother;
        if (mother <= 0) continue;
        if (i == 0) {
            ++messages;
            continue;
        }
        if (mother - 1 != i && mother <= count &&
            tree.moveToFirstChild(objectKey(i), objectKey(mother - 1)) == KeyedTree::MoveResult::Moved)
            continue;
        ++messages;
        tree.moveToFirstChild(objectKey(i), "o0");
    }
    return messages;
}

struct LinkTable {
    std::string what;
    std::vector<int32_t> mothers;
};

std::vector<LinkTable> linkTables() {
    std::vector<LinkTable> tables;
    auto add = [&](std::string what, int count, auto mother) {
        LinkTable t{std::move(what), {}};
        for (int i = 0; i < count; ++i) t.mothers.push_back(mother(i));
        tables.push_back(std::move(t));
    };
    add("wide", 600, [](int i) { return i == 0 ? 0 : 1; });
    add("deep", 600, [](int i) { return i; });
    add("deep, listed from the tip", 600, [](int i) { return i == 599 ? 0 : i + 2; });
    add("one big cycle", 300, [](int i) { return i == 0 ? 0 : i == 299 ? 2 : i + 2; });
    add("binary tree", 511, [](int i) { return i == 0 ? 0 : (i - 1) / 2 + 1; });
    add("several roots", 200, [](int i) { return i % 7 == 0 ? 0 : i % 7 == 3 ? -4 : i / 2 + 1; });
    std::mt19937 random(20);
    for (int round = 0; round < 40; ++round) {
        const int count = 1 + int(random() % 120);
        std::uniform_int_distribution<int32_t> link(-2, count + 2);
        // Mostly backward links (a tree), some forward ones and some outside the table.
        const bool wild = round % 2 == 1;
        add("random " + std::to_string(round), count, [&](int i) {
            if (wild || i == 0) return link(random);
            return random() % 5 == 0 ? link(random) : int32_t(random() % uint32_t(i)) + 1;
        });
    }
    return tables;
}

}  // namespace

TEST(CreateObjectTree, BuildsTheSameTreeAsMovingEachNodeUnderItsParent) {
    for (const LinkTable& table : linkTables()) {
        SCOPED_TRACE(table.what);
        TempDir dir;
        TestContext t(dir.path());
        for (size_t i = 0; i < table.mothers.size(); ++i) {
            PeoObject object;
            object.name = "n" + std::to_string(i);
            object.mother = table.mothers[i];
            t.ctx.model.peoObjects.push_back(object);
        }
        KeyedTree expected;
        const int messages = buildByMoves(expected, t.ctx.model.peoObjects);
        for (int i = 0; i < messages; ++i) t.prompts.expectMessage("Corrupted hierarchy detected!");

        createObjectTree(t.ctx);

        const KeyedTree& tree = t.ctx.shell.treeHeirachy;
        EXPECT_EQ(t.prompts.pending(), 0u);
        EXPECT_TRUE(t.errors.reports.empty());
        ASSERT_EQ(tree.count(), expected.count());
        EXPECT_EQ(tree.topLevel(), expected.topLevel());
        for (int i = 1; i <= tree.count(); ++i) {
            const std::string key = expected.nodeAt(i).key;
            ASSERT_EQ(tree.nodeAt(i).key, key);
            EXPECT_EQ(tree.parentOf(key), expected.parentOf(key)) << key;
            EXPECT_EQ(tree.childrenOf(key), expected.childrenOf(key)) << key;
        }
    }
}

// ----- Drag and drop -----

namespace {

struct DragFixture {
    TempDir dir;
    TestContext t{dir.path()};
    DragFixture() {
        makeObjects(t.ctx, kShip);  // o0(o1(o3(o4)),o2)
        createObjectTree(t.ctx);
    }
    KeyedTree& tree() { return t.ctx.shell.treeHeirachy; }
    // Press on a node, then drop on another.
    void drag(const std::string& from, const std::string& onto) {
        tree().setSelected(from);
        treeHeirachy_MouseDown(t.ctx, kLeftButton, 0, 0, 0);
        t.clock.advance(2);
        ASSERT_TRUE(treeHeirachy_MouseMove(t.ctx, kLeftButton, 0, 0, 0));
        treeHeirachy_DragOver(t.ctx, onto);
        treeHeirachy_DragDrop(t.ctx);
    }
    scene::FramePtr frame(int i) { return t.ctx.view.viewObjects[size_t(i)].frame; }
};

}  // namespace

TEST(TreeDrag, StartsOnlyAfterMoreThanOneSecondWithTheLeftButtonAlone) {
    struct Case {
        const char* what;
        double held;
        int16_t buttons;
        bool drags;
    } cases[] = {
        {"exactly one second", 1.000, kLeftButton, false},
        {"just over one second", 1.001, kLeftButton, true},
        {"right button", 2.0, kRightButton, false},
        {"left and right", 2.0, kLeftButton | kRightButton, false},
        {"no button", 2.0, 0, false},
    };
    for (const Case& c : cases) {
        DragFixture f;
        f.t.clock.now = 5000.0;
        treeHeirachy_MouseDown(f.t.ctx, kLeftButton, 0, 0, 0);
        f.t.clock.now = 5000.0 + c.held;
        EXPECT_EQ(treeHeirachy_MouseMove(f.t.ctx, c.buttons, 0, 0, 0), c.drags) << c.what;
    }
}

TEST(TreeDrag, EveryPressRearmsTheClock) {
    DragFixture f;
    EXPECT_FALSE(treeHeirachy_MouseMove(f.t.ctx, kLeftButton, 0, 0, 0)) << "no press since start: idle";
    f.t.clock.advance(100);
    treeHeirachy_MouseDown(f.t.ctx, kLeftButton, 0, 0, 0);
    EXPECT_FALSE(treeHeirachy_MouseMove(f.t.ctx, kLeftButton, 0, 0, 0)) << "the first press waits too";
    f.t.clock.advance(1.5);
    EXPECT_TRUE(treeHeirachy_MouseMove(f.t.ctx, kLeftButton, 0, 0, 0));
    // The drag ends outside the tree: no release and no drop reach it. The next press starts afresh.
    f.t.clock.advance(30);
    treeHeirachy_MouseDown(f.t.ctx, kLeftButton, 0, 0, 0);
    EXPECT_FALSE(treeHeirachy_MouseMove(f.t.ctx, kLeftButton, 0, 0, 0));
    treeHeirachy_MouseUp(f.t.ctx, kLeftButton, 0, 0, 0);
    EXPECT_EQ(f.t.ctx.objects.dragStartTime, -1);
}

TEST(TreeDrag, APressTakesTheSelectedNodeAndClearsTheHighlight) {
    DragFixture f;
    f.tree().setSelected("o2");
    f.tree().setDropHighlight("o4");
    treeHeirachy_MouseDown(f.t.ctx, kRightButton, 0, 0, 0);
    EXPECT_EQ(f.t.ctx.objects.nodX, "o2");
    EXPECT_EQ(f.tree().dropHighlightKey(), "");
}

TEST(TreeDrop, ReparentsTheNodeRecomputesEveryLinkAndMovesTheFrame) {
    DragFixture f;
    f.t.ctx.model.peoObjects[2].matrix[3] = 7.5f;  // wing sits 7.5 along x of its parent
    f.drag("o2", "o3");                            // wing under gun
    EXPECT_EQ(treeShape(f.tree()), "o0(o1(o3(o2,o4)))") << "a dropped node lands as the first child";
    EXPECT_EQ(linkTexts(f.t.ctx), (std::vector<std::string>{"0/2/0", "1/4/0", "4/0/5", "2/3/0", "4/0/0"}));
    EXPECT_EQ(f.frame(2)->getParent(), f.frame(3));
    EXPECT_NEAR(f.frame(2)->getPosition(f.frame(3)).x, 7.5, 1e-5) << "posed from its unchanged matrix";
    EXPECT_EQ(f.t.ctx.model.peoObjects[2].matrix[3], 7.5f);
    EXPECT_EQ(f.tree().dropHighlightKey(), "");
    EXPECT_EQ(f.t.ctx.objects.dragStartTime, -1);
    EXPECT_TRUE(f.t.errors.reports.empty());

    f.drag("o2", "o0");  // back under the base, first place
    EXPECT_EQ(treeShape(f.tree()), "o0(o2,o1(o3(o4)))");
    EXPECT_EQ(f.frame(2)->getParent(), f.frame(0));
    EXPECT_EQ(linkTexts(f.t.ctx), (std::vector<std::string>{"0/3/0", "1/4/0", "1/0/2", "2/5/0", "4/0/0"}));
}

TEST(TreeDrop, OntoThePresentParentMovesItAgain) {
    DragFixture f;
    f.drag("o2", "o0");
    EXPECT_EQ(treeShape(f.tree()), "o0(o2,o1(o3(o4)))");
    EXPECT_EQ(linkTexts(f.t.ctx)[0], "0/3/0");
    EXPECT_EQ(linkTexts(f.t.ctx)[2], "1/0/2");
}

TEST(TreeDrop, OntoItselfOnlyClearsTheHighlight) {
    DragFixture f;
    const auto before = linkTexts(f.t.ctx);
    f.drag("o1", "o1");
    EXPECT_EQ(treeShape(f.tree()), "o0(o1(o3(o4)),o2)");
    EXPECT_EQ(f.tree().dropHighlightKey(), "");
    EXPECT_EQ(linkTexts(f.t.ctx), before);
}

TEST(TreeDrop, OntoItsOwnChildrenIsRefused) {
    for (bool ok : {true, false}) {
        for (const char* target : {"o3", "o4"}) {
            DragFixture f;
            f.t.prompts.expectOkCancel(ok, "A node can't be made a child of its own children.");
            const auto before = linkTexts(f.t.ctx);
            f.drag("o1", target);
            EXPECT_EQ(f.t.prompts.shown.back().icon, PromptIcon::Exclamation);
            EXPECT_EQ(treeShape(f.tree()), "o0(o1(o3(o4)),o2)");
            EXPECT_EQ(linkTexts(f.t.ctx), before);
            EXPECT_EQ(f.tree().dropHighlightKey(), ok ? "" : target) << "OK clears the highlight, Cancel keeps it";
            EXPECT_EQ(f.frame(1)->getParent(), f.frame(0));
        }
    }
}

TEST(TreeDrop, WithoutAHighlightNothingHappens) {
    DragFixture f;
    f.tree().setSelected("o2");
    treeHeirachy_MouseDown(f.t.ctx, kLeftButton, 0, 0, 0);
    treeHeirachy_DragOver(f.t.ctx, "");
    treeHeirachy_DragDrop(f.t.ctx);
    EXPECT_EQ(treeShape(f.tree()), "o0(o1(o3(o4)),o2)");
}

TEST(TreeDrop, AFailurePutsTheNodeTheLinksAndTheFrameBack) {
    // The scene refuses: the target's frame hangs below the dragged object's frame, so the frame cannot
    // go under it.
    DragFixture f;
    calcHeirachy(f.t.ctx);
    const auto before = linkTexts(f.t.ctx);
    f.frame(1)->addChild(f.frame(2));  // wing's frame under hull's frame, while the tree has wing under base
    f.drag("o1", "o2");

    EXPECT_EQ(treeShape(f.tree()), "o0(o1(o3(o4)),o2)") << "the node is back in its place";
    EXPECT_EQ(linkTexts(f.t.ctx), before);
    EXPECT_EQ(f.frame(1)->getParent(), f.frame(0)) << "the frame still hangs where it did";
    ASSERT_EQ(f.t.errors.reports.size(), 1u);
    EXPECT_EQ(f.t.errors.reports[0].module, "frmTARV");
    EXPECT_EQ(f.t.errors.reports[0].procedure, "treeHeirachy_DragDrop");

    // A node from a middle place among its siblings goes back to that place.
    TempDir dir;
    TestContext t(dir.path());
    makeObjects(t.ctx, {{"base", 0}, {"a", 1}, {"b", 1}, {"c", 1}});
    createObjectTree(t.ctx);
    t.ctx.view.viewObjects[2].frame.reset();  // the scene has no frame for b
    t.ctx.shell.treeHeirachy.setSelected("o2");
    treeHeirachy_MouseDown(t.ctx, kLeftButton, 0, 0, 0);
    treeHeirachy_DragOver(t.ctx, "o3");
    treeHeirachy_DragDrop(t.ctx);
    EXPECT_EQ(treeShape(t.ctx.shell.treeHeirachy), "o0(o1,o2,o3)");
    EXPECT_EQ(t.errors.reports.size(), 1u);
}

// ----- Rename, ticks and clicks -----

namespace {

struct RenameFixture {
    TempDir dir;
    TestContext t{dir.path()};
    RenameFixture() {
        makeObjects(t.ctx, kShip);  // base, hull, wing, gun, tip
        createObjectTree(t.ctx);
        t.ctx.animation.madObjects = {MadObject{"tip", 0, {}}, MadObject{"gun", 0, {}}};
        t.ctx.model.peoObjects[3].madObjectIndex = 1;
        t.ctx.shp.shpGuns = {ShpGun{}, ShpGun{}};
        t.ctx.shp.shpGuns[0].recoilJoint = "gun";
        t.ctx.shp.shpGuns[0].azimuthJoint = "gun";
        t.ctx.shp.shpGunCount = 1;
    }
};

}  // namespace

TEST(TreeRename, RenamesTheObjectEverywhereItIsNamed) {
    RenameFixture f;
    EditingContext& ctx = f.t.ctx;
    ctx.objects.cmbObjectList.push_back("gun");  // a second entry of that text stays
    ctx.shell.treeHeirachy.setSelected("o3");
    EXPECT_TRUE(treeHeirachy_AfterLabelEdit(ctx, 0, "cannon"));
    EXPECT_EQ(ctx.model.peoObjects[3].name, "cannon");
    EXPECT_EQ(ctx.shell.treeHeirachy.at("o3").text, "cannon");
    EXPECT_EQ(ctx.objects.cmbObjectList, (std::vector<std::string>{"base", "hull", "wing", "cannon", "tip", "gun"}));
    EXPECT_EQ(ctx.objects.cmbMatrixObjectList, (std::vector<std::string>{"base", "hull", "wing", "cannon", "tip"}));
    EXPECT_EQ(ctx.animation.madObjects[1].name, "cannon");
    EXPECT_EQ(ctx.animation.madObjects[0].name, "tip");
    EXPECT_EQ(ctx.view.viewObjects[3].name, "cannon");
    EXPECT_EQ(ctx.view.viewObjects[3].frame->getName(), "peo_cannon");
    EXPECT_EQ(ctx.objects.lblObjectName[0], "cannon");
    EXPECT_EQ(ctx.objects.lblObjectName[1], "cannon");
    EXPECT_EQ(ctx.shp.shpGuns[0].recoilJoint, "gun") << "gun settings keep their names";
    EXPECT_EQ(ctx.shp.shpGuns[0].azimuthJoint, "gun");
    EXPECT_EQ(ctx.err.errProc, "treeHeirachy_AfterLabelEdit");
    EXPECT_EQ(ctx.err.errArgs, "0|cannon");
}

TEST(TreeRename, TheBaseObjectRenamesTheFirstEntries) {
    RenameFixture f;
    f.t.ctx.shell.treeHeirachy.setSelected("o0");
    EXPECT_TRUE(treeHeirachy_AfterLabelEdit(f.t.ctx, 0, "Base"));
    EXPECT_EQ(f.t.ctx.objects.cmbObjectList[0], "Base");
    EXPECT_EQ(f.t.ctx.objects.cmbMatrixObjectList[0], "Base");
}

TEST(TreeRename, RefusesNamesThatWouldBreakTheMatchingByName) {
    struct Case {
        const char* what;
        int16_t cancel;
        std::string text;
        bool message;
    } cases[] = {
        {"empty", 0, "", true},
        {"another object's name", 0, "wing", true},
        {"the deleted-object name", 0, "**DELETED**", true},
        {"cancelled", -1, "cannon", false},
        {"unchanged", 0, "gun", false},
    };
    for (const Case& c : cases) {
        RenameFixture f;
        if (c.message) f.t.prompts.expectMessage("Object names must be unique and can't be empty.");
        f.t.ctx.shell.treeHeirachy.setSelected("o3");
        EXPECT_FALSE(treeHeirachy_AfterLabelEdit(f.t.ctx, c.cancel, c.text)) << c.what;
        EXPECT_EQ(f.t.ctx.model.peoObjects[3].name, "gun") << c.what;
        EXPECT_EQ(f.t.ctx.shell.treeHeirachy.at("o3").text, "gun") << c.what;
        EXPECT_EQ(f.t.ctx.objects.cmbObjectList[3], "gun") << c.what;
        EXPECT_EQ(f.t.ctx.view.viewObjects[3].frame->getName(), "peo_gun") << c.what;
        EXPECT_EQ(f.t.prompts.pending(), 0u) << c.what;
    }
    RenameFixture f;  // names differ by case only: a different name
    f.t.ctx.shell.treeHeirachy.setSelected("o3");
    EXPECT_TRUE(treeHeirachy_AfterLabelEdit(f.t.ctx, 0, "Wing"));
}

TEST(TreeCheck, ShowsAndHidesTheObject) {
    RenameFixture f;
    EditingContext& ctx = f.t.ctx;
    treeHeirachy_NodeCheck(ctx, "o2", false);
    EXPECT_EQ(ctx.view.viewObjects[2].shown, 0);
    EXPECT_TRUE(ctx.view.viewObjects[2].frame->visuals().empty());
    EXPECT_FALSE(ctx.shell.treeHeirachy.at("o2").checked);
    EXPECT_EQ(ctx.err.errModule, "modPeo");
    treeHeirachy_NodeCheck(ctx, "o2", true);
    EXPECT_EQ(ctx.view.viewObjects[2].shown, -1);
    EXPECT_EQ(ctx.view.viewObjects[2].frame->visuals().size(), 1u);
    EXPECT_TRUE(ctx.shell.treeHeirachy.at("o2").checked);

    treeHeirachy_NodeCheck(ctx, "o99", false);
    ASSERT_EQ(f.t.errors.reports.size(), 1u);
    EXPECT_EQ(f.t.errors.reports[0].procedure, "treeHeirachy_NodeCheck");
    EXPECT_EQ(f.t.errors.reports[0].arguments, "o99");
}

TEST(TreeClick, SelectsTheObject) {
    RenameFixture f;
    EditingContext& ctx = f.t.ctx;
    treeHeirachy_NodeClick(ctx, "o2");
    EXPECT_EQ(ctx.objects.selectedObject, 2);
    EXPECT_EQ(ctx.objects.lblKey, "o2");
    EXPECT_EQ(ctx.objects.Dx_Label1, "Selected object: wing");
    EXPECT_TRUE(ctx.objects.cmdApplyMatrixEnabled);
    EXPECT_TRUE(ctx.objects.cmdKeyfApplyEnabled);
    EXPECT_EQ(ctx.view.viewObjects[2].mesh->quality(), 128);

    treeHeirachy_NodeClick(ctx, "o4");
    EXPECT_EQ(ctx.view.viewObjects[2].mesh->quality(), 136) << "the old selection was deselected";
    EXPECT_EQ(ctx.objects.selectedObject, 4);
    EXPECT_TRUE(f.t.errors.reports.empty());
}
