// Delete and the geometry-sharing rules: the subtree walk, the lists, the frames, the re-pointing of
// sharers, the deselection, and what a save and a read-back keep.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "ObjectFixtures.h"
#include "editor/context/EditingContext.h"
#include "model/PeoReader.h"
#include "model/PeoWriter.h"
#include "objects/ObjectClone.h"
#include "objects/ObjectDelete.h"
#include "objects/ObjectLinks.h"
#include "objects/ObjectTree.h"

using namespace tarv;
using namespace tarv::test;

namespace {

struct DeleteFixture {
    TempDir dir;
    TestContext t{dir.path()};
    EditingContext& ctx = t.ctx;
    explicit DeleteFixture(const std::vector<ObjectRow>& rows, const std::vector<int16_t>& sharedWith = {}) {
        ctx.currentModelPath = (dir.path() / "ship.peo").string();
        ctx.prefs.createGunChunkOnClone = false;
        makeObjects(ctx, rows);
        for (size_t i = 0; i < sharedWith.size(); ++i) ctx.model.peoObjects[i].sharedWith = sharedWith[i];
        createObjectTree(ctx);
    }
    void select(const std::string& key) {
        ctx.shell.treeHeirachy.setSelected(key);
        treeHeirachy_NodeClick(ctx, key);
    }
    std::vector<int16_t> shared() const {
        std::vector<int16_t> values;
        for (const PeoObject& o : ctx.model.peoObjects) values.push_back(o.sharedWith);
        return values;
    }
};

std::vector<ObjectRow> flatRows(int count) {
    std::vector<ObjectRow> rows{{"base", 0}};
    for (int i = 1; i < count; ++i) rows.push_back({"obj" + std::to_string(i), 1});
    return rows;
}

}  // namespace

TEST(ObjectDelete, TheSubtreeIsMarkedChildrenFirstAndItsNodesGoAtOnce) {
    // node with children A (child A1) and B; an earlier equal text in entry 0 of the lists stays.
    DeleteFixture f({{"base", 0}, {"node", 1}, {"A", 2}, {"A1", 3}, {"B", 2}, {"C", 1}});
    f.ctx.objects.cmbObjectList[0] = "A";
    f.ctx.objects.cmbMatrixObjectList[0] = "A";
    f.select("o1");
    f.ctx.prefs.logLevel = 2;
    std::filesystem::remove(f.dir.path() / "ship.log");
    cmdDeleteObject_Click(f.ctx);
    const std::string log = readText(f.dir.path() / "ship.log");
    EXPECT_EQ(log.substr(0, log.find("[2] Calculating")),
              "[2] Deleting object: A1\r\n[2]   -> Key: 3 Name: **DELETED**\r\n"
              "[2] Deleting object: A\r\n[2]   -> Key: 2 Name: **DELETED**\r\n"
              "[2] Deleting object: B\r\n[2]   -> Key: 4 Name: **DELETED**\r\n"
              "[2] Deleting object: node\r\n[2]   -> Key: 1 Name: **DELETED**\r\n");
    EXPECT_EQ(treeShape(f.ctx.shell.treeHeirachy), "o0(o5)");
    EXPECT_EQ(f.ctx.objects.cmbObjectList, (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(f.ctx.objects.cmbMatrixObjectList, f.ctx.objects.cmbObjectList);
    for (int i : {1, 2, 3, 4}) {
        EXPECT_TRUE(f.ctx.model.peoObjects[size_t(i)].isDeleted());
        EXPECT_EQ(f.ctx.view.viewObjects[size_t(i)].name, kDeletedObjectName);
        EXPECT_EQ(f.ctx.view.viewObjects[size_t(i)].shown, 0);
        EXPECT_TRUE(f.ctx.view.viewObjects[size_t(i)].frame->visuals().empty());
    }
    EXPECT_EQ(f.ctx.model.objectCount(), 6);
    EXPECT_EQ(linkTexts(f.ctx)[5], "1/0/0");
    EXPECT_TRUE(f.ctx.objects.cmdDeleteObjectEnabled);
}

TEST(ObjectDelete, SlotsAndKeysStayAndTheNextCloneAppends) {
    DeleteFixture f(flatRows(10));
    f.select("o3");
    cmdDeleteObject_Click(f.ctx);
    f.select("o4");
    cmdDeleteObject_Click(f.ctx);
    EXPECT_EQ(f.ctx.model.objectCount(), 10);
    for (int i = 5; i < 10; ++i)
        EXPECT_EQ(f.ctx.shell.treeHeirachy.find("o" + std::to_string(i))->text, "obj" + std::to_string(i));
    f.select("o5");
    cmdCloneObject_Click(f.ctx);
    EXPECT_EQ(f.ctx.model.objectCount(), 11);
    EXPECT_EQ(f.ctx.shell.treeHeirachy.find("o10")->text, "obj10");
}

TEST(ObjectDelete, AHiddenObjectKeepsItsFramesVisuals) {
    DeleteFixture f(flatRows(3));
    ViewObject& view = f.ctx.view.viewObjects[2];
    view.shown = 0;  // hidden, yet something hangs on its frame
    f.select("o2");
    cmdDeleteObject_Click(f.ctx);
    EXPECT_EQ(view.frame->visuals().size(), 1u);
    EXPECT_TRUE(f.ctx.model.peoObjects[2].isDeleted());
}

TEST(ObjectDelete, TheBaseNodeIsRefused) {
    DeleteFixture f(flatRows(3));
    f.select("o0");
    f.t.prompts.expectMessage(kCantDeleteBaseText, f.ctx.version.appTitle);
    cmdDeleteObject_Click(f.ctx);
    EXPECT_EQ(f.ctx.objects.cmbObjectList.size(), 3u);
    EXPECT_EQ(f.ctx.shell.treeHeirachy.count(), 3);
    EXPECT_TRUE(f.ctx.objects.cmdDeleteObjectEnabled);
}

TEST(ObjectDelete, TheSelectedObjectInTheSubtreeIsDeselectedFirst) {
    DeleteFixture f({{"base", 0}, {"Hull", 1}, {"Gun", 2}, {"Wing", 1}});
    f.select("o2");
    f.ctx.shell.treeHeirachy.setSelected("o1");  // the tree's node above the selected object
    cmdDeleteObject_Click(f.ctx);
    EXPECT_EQ(f.ctx.objects.selectedObject, -1);
    EXPECT_EQ(f.ctx.objects.lblKey, "");
    EXPECT_EQ(f.ctx.objects.Dx_Label1, "Nothing selected");
    EXPECT_FALSE(f.ctx.objects.cmdApplyMatrixEnabled);
    EXPECT_FALSE(f.ctx.objects.cmdKeyfApplyEnabled);
    EXPECT_FALSE(f.ctx.objects.cmdAdvancedObjPropsEnabled);
    const auto& visuals = f.ctx.view.viewObjects[2].frame->visuals();
    EXPECT_EQ(std::count(visuals.begin(), visuals.end(), f.ctx.view.selectionMarker.mesh), 0);

    // A selection outside the subtree stays.
    DeleteFixture g({{"base", 0}, {"Hull", 1}, {"Gun", 2}, {"Wing", 1}});
    g.select("o3");
    g.ctx.shell.treeHeirachy.setSelected("o1");
    cmdDeleteObject_Click(g.ctx);
    EXPECT_EQ(g.ctx.objects.selectedObject, 3);
}

namespace {

// One triangle object of the given offset.
void giveTriangle(PeoObject& object, float offset) {
    object.vertices = {{offset, 0, 0, 0, 0}, {offset + 1, 0, 0, 0, 0}, {offset, 1, 0, 0, 0}};
    object.polygons = {PeoPolygon{0, 1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}};
    object.nVertices = 3;
    object.nPolygons = 1;
}

// x of the first vertex of every live object after a save and a read-back, by name.
std::map<std::string, float> savedFirstX(DeleteFixture& f) {
    const std::string path = (f.dir.path() / "saved.peo").string();
    fixHierarchy(f.ctx);
    writePeoFile(f.ctx, path, false);
    TempDir dir;
    TestContext back(dir.path());
    back.prompts.answerYesNoCycling({false});  // equal counts: keep each object as written
    back.ctx.prefs.logLevel = 0;
    readPeoFile(back.ctx, path);
    std::map<std::string, float> xs;
    for (const PeoObject& o : back.ctx.model.peoObjects) xs[o.name] = o.vertices.empty() ? -999 : o.vertices[0].x;
    return xs;
}

}  // namespace

TEST(ObjectDelete, SharersKeepALiveSource) {
    struct Case {
        const char* name;
        std::vector<ObjectRow> rows;
        std::vector<int16_t> before;
        std::vector<std::string> deletions;  // node keys, in order
        std::vector<int16_t> after;
    };
    const std::vector<Case> cases{
        // Object 2 shared by 5 and 9: 5 owns, 9 points at 5.
        {"two sharers",
         flatRows(10),
         {-1, -1, -1, -1, -1, 2, -1, -1, -1, 2},
         {"o2"},
         {-1, -1, -1, -1, -1, -1, -1, -1, -1, 5}},
        // A shared descendant: 3 under 2 is shared by 4.
        {"shared descendant",
         {{"base", 0}, {"a", 1}, {"b", 2}, {"c", 3}, {"d", 1}},
         {-1, -1, -1, -1, 3},
         {"o2"},
         {-1, -1, -1, -1, -1}},
        // The first sharer was deleted earlier: 5 goes first, then 2; 7 owns rather than naming 5.
        {"first sharer deleted earlier",
         flatRows(8),
         {-1, -1, -1, -1, -1, 2, -1, 2},
         {"o5", "o2"},
         {-1, -1, -1, -1, -1, -1, -1, -1}},
        {"nothing shares", flatRows(4), {-1, -1, -1, -1}, {"o2"}, {-1, -1, -1, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFixture f(c.rows, c.before);
        // Each object holds the geometry of the object it shares (an owner its own).
        f.ctx.model.materials.resize(1);
        for (size_t i = 0; i < c.before.size(); ++i) {
            int16_t source = int16_t(i);
            const auto& objects = f.ctx.model.peoObjects;
            while (objects[size_t(source)].sharedWith >= 0) source = objects[size_t(source)].sharedWith;
            giveTriangle(f.ctx.model.peoObjects[i], float(source));
        }
        for (const std::string& key : c.deletions) {
            f.select(key);
            cmdDeleteObject_Click(f.ctx);
        }
        for (size_t i = 0; i < c.after.size(); ++i)
            if (!f.ctx.model.peoObjects[i].isDeleted()) {
                EXPECT_EQ(f.shared()[i], c.after[i]) << i;
            }
        // No live object names a deleted one.
        for (const PeoObject& o : f.ctx.model.peoObjects)
            if (!o.isDeleted() && o.sharedWith >= 0) {
                EXPECT_FALSE(f.ctx.model.peoObjects[size_t(o.sharedWith)].isDeleted());
            }
        // After a save and a read-back every live object has the geometry it held in memory.
        std::map<std::string, float> expected;
        for (const PeoObject& o : f.ctx.model.peoObjects)
            if (!o.isDeleted()) expected[o.name] = o.vertices[0].x;
        EXPECT_EQ(savedFirstX(f), expected);
    }
}

TEST(ObjectSharing, TheOnePassGivesTheValuesOfTheFullScan) {
    struct Layout {
        const char* name;
        std::vector<int16_t> shared;
        std::vector<int> deleted;
        std::vector<int16_t> sources;
    };
    std::vector<Layout> layouts{
        {"none", {-1, -1, -1, -1}, {}, {2}},
        {"chain 2 <- 5 <- 7", {-1, -1, -1, -1, -1, 2, -1, 5}, {}, {2}},
        {"chain, both sources", {-1, -1, -1, -1, -1, 2, -1, 5, 2}, {}, {2, 5}},
        {"two sources in one subtree", {-1, -1, -1, 1, 2, 1, 2, 1}, {}, {1, 2}},
        {"deleted sharers", {-1, -1, -1, 1, 1, 1, 2}, {3}, {1}},
        {"sharer inside the set", {-1, -1, 1, 1, -1, 1}, {}, {1, 2}},
    };
    std::mt19937 random(5);
    for (int r = 0; r < 40; ++r) {
        Layout layout{"random", {}, {}, {}};
        const int count = 2 + int(random() % 30);
        for (int i = 0; i < count; ++i) layout.shared.push_back(i > 0 && random() % 2 ? int16_t(random() % i) : -1);
        for (int i = 0; i < count; ++i) {
            if (random() % 6 == 0) layout.deleted.push_back(i);
            if (random() % 4 == 0) layout.sources.push_back(int16_t(i));
        }
        layouts.push_back(layout);
    }
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(layout.name);
        std::vector<int16_t> results[2];
        for (int way = 0; way < 2; ++way) {
            TempDir dir;
            TestContext t(dir.path());
            t.ctx.model.peoObjects.resize(layout.shared.size());
            for (size_t i = 0; i < layout.shared.size(); ++i) t.ctx.model.peoObjects[i].sharedWith = layout.shared[i];
            for (int d : layout.deleted) t.ctx.model.peoObjects[size_t(d)].name = kDeletedObjectName;
            if (way == 0)
                repointSharers(t.ctx, layout.sources);
            else
                repointSharersLiteral(t.ctx, layout.sources);
            for (const PeoObject& o : t.ctx.model.peoObjects) results[way].push_back(o.sharedWith);
        }
        EXPECT_EQ(results[0], results[1]);
    }
}

TEST(ObjectSharing, OwnGeometryStopsSharingBothWays) {
    TempDir dir;
    TestContext t(dir.path());
    t.ctx.model.peoObjects.resize(6);
    const std::vector<int16_t> before{-1, -1, 1, 2, 1, 2};
    for (size_t i = 0; i < before.size(); ++i) t.ctx.model.peoObjects[i].sharedWith = before[i];
    ownGeometry(t.ctx, 2);
    std::vector<int16_t> after;
    for (const PeoObject& o : t.ctx.model.peoObjects) after.push_back(o.sharedWith);
    EXPECT_EQ(after, (std::vector<int16_t>{-1, -1, -1, -1, 1, 3}));
    ownGeometry(t.ctx, 2);
    std::vector<int16_t> again;
    for (const PeoObject& o : t.ctx.model.peoObjects) again.push_back(o.sharedWith);
    EXPECT_EQ(again, after) << "idempotent";
}

TEST(ObjectSharing, AnEditAfterOwnGeometrySurvivesASave) {
    // A vertex edit on a sharer, and on a source with two sharers.
    for (int edited : {3, 1}) {
        SCOPED_TRACE(edited);
        DeleteFixture f({{"base", 0}, {"a", 1}, {"b", 1}, {"c", 1}, {"d", 1}}, {-1, -1, -1, 1, 1});
        f.ctx.model.materials.resize(1);
        for (int i = 0; i < 5; ++i) giveTriangle(f.ctx.model.peoObjects[size_t(i)], i == 3 || i == 4 ? 1 : float(i));
        ownGeometry(f.ctx, int16_t(edited));
        f.ctx.model.peoObjects[size_t(edited)].vertices[0].x = 42;
        std::map<std::string, float> expected;
        for (const PeoObject& o : f.ctx.model.peoObjects) expected[o.name] = o.vertices[0].x;
        EXPECT_EQ(savedFirstX(f), expected);
    }
}

TEST(ObjectSharing, SharersOfADeletedSubtreeKeepTheirGeometryInTheFile) {
    DeleteFixture f({{"base", 0}, {"a", 1}, {"a1", 2}, {"b", 1}, {"c", 1}, {"d", 1}}, {-1, -1, -1, 1, 2, 2});
    f.ctx.model.materials.resize(1);
    for (int i = 0; i < 6; ++i) giveTriangle(f.ctx.model.peoObjects[size_t(i)], i == 3 ? 1 : i >= 4 ? 2 : float(i));
    f.select("o1");
    cmdDeleteObject_Click(f.ctx);
    EXPECT_EQ(savedFirstX(f), (std::map<std::string, float>{{"base", 0}, {"b", 1}, {"c", 2}, {"d", 2}}));
}

TEST(ObjectDelete, AnErrorInTheWalkIsReportedAndDeleteIsEnabledAgain) {
    DeleteFixture f(flatRows(3));
    f.ctx.view.viewObjects[2].frame = nullptr;  // shown, yet without a frame
    f.select("o1");
    f.ctx.shell.treeHeirachy.setSelected("o2");
    cmdDeleteObject_Click(f.ctx);
    ASSERT_EQ(f.t.errors.reports.size(), 1u);
    EXPECT_EQ(f.t.errors.reports[0].procedure, "TraverseTreeDelete");
    EXPECT_EQ(f.t.errors.reports[0].arguments, std::to_string(3));
    EXPECT_TRUE(f.ctx.objects.cmdDeleteObjectEnabled);
    EXPECT_EQ(f.ctx.shell.treeHeirachy.find("o2"), nullptr) << "the command goes on after the walk's report";
}
