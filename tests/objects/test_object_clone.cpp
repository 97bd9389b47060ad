// Clone and mirror: copies, nodes, lists, frames, logs, refusals, the overflow guard and the gun chunks.
#include <gtest/gtest.h>

#include "ObjectFixtures.h"
#include "attachments/state/MexChunkTable.h"
#include "base/NumberText.h"
#include "editor/context/EditingContext.h"
#include "model/PeoReader.h"
#include "objects/ObjectClone.h"
#include "objects/ObjectDelete.h"
#include "objects/ObjectLinks.h"
#include "objects/ObjectTree.h"

using namespace tarv;
using namespace tarv::test;

namespace {

struct CloneFixture {
    TempDir dir;
    TestContext t{dir.path()};
    EditingContext& ctx = t.ctx;
    explicit CloneFixture(const std::vector<ObjectRow>& rows) {
        ctx.currentModelPath = (dir.path() / "ship.peo").string();
        ctx.prefs.createGunChunkOnClone = false;
        makeObjects(ctx, rows);
        createObjectTree(ctx);
    }
    void select(const std::string& key) {
        ctx.shell.treeHeirachy.setSelected(key);
        treeHeirachy_NodeClick(ctx, key);
    }
    std::string names() const {
        std::string text;
        for (const PeoObject& o : ctx.model.peoObjects) text += (text.empty() ? "" : " ") + o.name;
        return text;
    }
    std::vector<std::string> logLines() {
        std::vector<std::string> lines;
        const std::string text = readText(dir.path() / "ship.log");
        size_t start = 0;
        for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
            lines.push_back(text.substr(start, end - start));
        return lines;
    }
};

class RecordingGunChunks : public GunChunkHook {
public:
    void cmdMexAdd_Click(EditingContext& ctx) override {
        selectedAtCall.push_back(ctx.mex.treeMex.selectedKey());
        cloneEnabledAtCall.push_back(ctx.objects.cmdCloneObjectEnabled);
        if (fail) throw RunTimeError::invalidCall();
    }
    std::vector<std::string> selectedAtCall;
    std::vector<bool> cloneEnabledAtCall;
    bool fail = false;
};

void addChunkTree(EditingContext& ctx) {
    KeyedTree& tree = ctx.mex.treeMex;
    tree.addTopLevel("mRoot", "Mesh Extras");
    tree.addChild("mRoot", "gRoot", "Guns");
    tree.addChild("mRoot", "eRoot", "Engines");
    tree.setSelected("eRoot");
}

}  // namespace

TEST(ObjectClone, ASubtreeIsCopiedAfterItsSourceWithConsecutiveNumbers) {
    CloneFixture f({{"base", 0}, {"Hull", 1}, {"Gun1", 2}, {"Gun2", 2}, {"Wing", 1}});
    f.select("o1");
    cmdCloneObject_Click(f.ctx);
    EXPECT_EQ(f.names(), "base Hull Gun1 Gun2 Wing Hull2 Gun3 Gun4");
    EXPECT_EQ(treeShape(f.ctx.shell.treeHeirachy), "o0(o1(o2,o3),o4,o5(o6,o7))");
    EXPECT_EQ(f.ctx.objects.cmbObjectList,
              (std::vector<std::string>{"base", "Hull", "Gun1", "Gun2", "Wing", "Hull2", "Gun3", "Gun4"}));
    EXPECT_EQ(f.ctx.objects.cmbMatrixObjectList, f.ctx.objects.cmbObjectList);
    EXPECT_EQ(linkTexts(f.ctx)[5], "1/7/0");
    EXPECT_EQ(linkTexts(f.ctx)[6], "6/0/8");
    EXPECT_EQ(f.ctx.objects.lastCloneIndex, 5);
    EXPECT_EQ(f.ctx.objects.nodX, "o7");
    for (int i = 1; i <= f.ctx.shell.treeHeirachy.count(); ++i) {
        EXPECT_TRUE(f.ctx.shell.treeHeirachy.nodeAt(i).checked);
        EXPECT_TRUE(f.ctx.shell.treeHeirachy.nodeAt(i).expanded);
    }
    EXPECT_EQ(f.ctx.objects.selectedObject, 1) << "the selection does not change";
    EXPECT_EQ(f.ctx.shell.treeHeirachy.selectedKey(), "o1");
    EXPECT_TRUE(f.ctx.objects.cmdCloneObjectEnabled);
    EXPECT_TRUE(f.t.errors.reports.empty());
}

TEST(ObjectClone, CopiesNestUnderTheCopiesOfTheirParentsWithinOneFamily) {
    // Gun1 with children Gun2 and Gun3: Gun4 with children Gun5 and Gun6 (not Gun6 under Gun5).
    CloneFixture f({{"base", 0}, {"Gun1", 1}, {"Gun2", 2}, {"Gun3", 2}});
    f.select("o1");
    f.ctx.prefs.logLevel = 2;
    cmdCloneObject_Click(f.ctx);
    EXPECT_EQ(f.names(), "base Gun1 Gun2 Gun3 Gun4 Gun5 Gun6");
    EXPECT_EQ(treeShape(f.ctx.shell.treeHeirachy), "o0(o1(o2,o3),o4(o5,o6))");
    const auto lines = f.logLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "[2]    new parent: Gun4"), 2);
}

// Links are found by name, so a copy never takes the name of a live object: where the rule's name is taken
// ("Gun0a" gives "Gun0a2", of another family), the rule's next number is taken until the name is free. The
// links in memory and in the saved file then follow the tree.
TEST(ObjectClone, ACopyNeverTakesTheNameOfALiveObject) {
    using Command = void (*)(EditingContext&);
    struct Case {
        const char* name;
        std::vector<ObjectRow> rows;
        std::vector<Command> commands;  // each on o1
        std::string names;
        std::string shape;
        std::vector<std::string> links;
    };
    const std::vector<std::string> threeSiblings = {"0/2/0", "1/0/3", "1/0/4", "1/0/0"};
    const Case cases[] = {
        {"Clone twice", {{"base", 0}, {"Gun0a", 1}}, {cmdCloneObject_Click, cmdCloneObject_Click},
         "base Gun0a Gun0a2 Gun0a3", "o0(o1,o2,o3)", threeSiblings},
        {"mirror X, then mirror Z", {{"base", 0}, {"Gun0a", 1}}, {cmdYZmirror_Click, cmdXYmirror_Click},
         "base Gun0a Gun0a2 Gun0a3", "o0(o1,o2,o3)", threeSiblings},
        {"mirror Y of a zero name", {{"base", 0}, {"Pod00b", 1}, {"Pod00b2", 1}}, {cmdXZmirror_Click},
         "base Pod00b Pod00b2 Pod00b3", "o0(o1,o2,o3)", threeSiblings},
        {"a subtree whose child holds the rule's name", {{"base", 0}, {"Gun0a", 1}, {"Gun0a2", 2}},
         {cmdCloneObject_Click}, "base Gun0a Gun0a2 Gun0a3 Gun0a4", "o0(o1(o2),o3(o4))",
         {"0/2/0", "1/3/4", "2/0/0", "1/5/0", "4/0/0"}},
    };
    for (const Case& c : cases) {
        CloneFixture f(c.rows);
        for (PeoObject& o : f.ctx.model.peoObjects) {
            o.vertices = {{0, 0, 0, 0, 0}, {1, 0, 0, 0, 0}, {0, 1, 0, 0, 0}};
            o.polygons = {PeoPolygon{0, 1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}};
            o.nVertices = 3;
            o.nPolygons = 1;
        }
        for (Command command : c.commands) {
            f.select("o1");
            command(f.ctx);
        }
        EXPECT_EQ(f.names(), c.names) << c.name;
        EXPECT_EQ(treeShape(f.ctx.shell.treeHeirachy), c.shape) << c.name;
        EXPECT_EQ(linkTexts(f.ctx), c.links) << c.name;
        EXPECT_EQ(savedLinkTexts(f.ctx, f.dir.path()), c.links) << c.name;
        EXPECT_TRUE(f.t.errors.reports.empty()) << c.name;
    }
}

TEST(ObjectClone, TheLogOfATwoLevelCloneInOrder) {
    CloneFixture f({{"base", 0}, {"Hull", 1}, {"Gun01", 2}});
    f.select("o1");
    f.ctx.prefs.logLevel = 3;
    std::filesystem::remove(f.dir.path() / "ship.log");
    cmdCloneObject_Click(f.ctx);
    const std::vector<std::string> expected{
        "[2]   Checking: Hull",
        "[2]   -> Hull2",
        "[2] Adding object: Hull2/2",
        "[1] Increasing total objects: 4",
        "[1] Creating: 3 Hull2",
        "[1] Checking: Hull -- -1",
        "[1] Checking: Gun01 -- " + std::to_string(f.ctx.shell.treeHeirachy.indexOf("o1")),
        "[2] Gun01 o2",
        "[2]    orig parent: Hull",
        "[2]   Checking: Gun01",
        "[3]   numOfZeros: 1 leadZero: 0",
        "[2]   -> Gun02",
        "[2]    adding: Gun02/4",
        "[2]    new parent: Hull2",
        "[2]              : o3",
        "[1] Increasing total objects: 5",
        "[1] Creating: 4 Gun02",
    };
    // The clone's own lines, in order, among the lines of the meshes and links it builds.
    const auto lines = f.logLines();
    size_t at = 0;
    for (const std::string& line : lines)
        if (at < expected.size() && line == expected[at]) ++at;
    EXPECT_EQ(at, expected.size()) << "missing from: " << (at < expected.size() ? expected[at] : "");
    size_t cloneLines = 0;
    for (const std::string& line : lines)
        if (line.find("Checking") != std::string::npos || line.find("Creating: ") != std::string::npos ||
            line.find("adding: ") != std::string::npos)
            ++cloneLines;
    EXPECT_EQ(cloneLines, 7u) << "no line twice";
}

TEST(ObjectClone, TheCopyRecordFollowsTheTable) {
    CloneFixture f({{"base", 0}, {"Hull", 1}});
    PeoObject& hull = f.ctx.model.peoObjects[1];
    PeoPolygon polygon{0, 1, 2, 0, 3, 0x10, int16_t(0x3401), 0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 7};
    hull.polygons = {polygon};
    hull.vertices = {{-1, 2, 3, 5, 9}, {4, -5, 6, 6, 9}, {1, 1, -7, 7, 9}};
    hull.fileFaceNormals = {{0, 0, 1}};
    hull.vertexNormals = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    hull.faceNormals = {{0, 0, 1}};
    hull.workVertices = hull.vertices;
    hull.nFaceNormals = 1;
    hull.nVertNormals = 3;
    hull.nPolygons = 1;
    hull.nVertices = 3;
    hull.flags = 0x41;
    hull.madObjectIndex = 0;
    hull.vertexListOffset = 1234;
    hull.polygonListOffset = 99;
    for (int i = 0; i < 16; ++i) hull.matrix[i] = 0.123456f * float(i + 1);
    f.ctx.view.viewObjects[1].shown = 0;  // hidden source
    f.ctx.shell.treeHeirachy.setChecked("o1", false);
    f.select("o1");
    cmdCloneObject_Click(f.ctx);

    ASSERT_EQ(f.ctx.model.objectCount(), 3);
    const PeoObject& source = f.ctx.model.peoObjects[1];
    const PeoObject& copy = f.ctx.model.peoObjects[2];
    PeoPolygon unmarked = polygon;
    unmarked.mark = 0;
    EXPECT_EQ(copy.polygons, std::vector<PeoPolygon>{unmarked}) << "reserved 0x01 0x34 kept, no work mark";
    EXPECT_EQ(copy.vertices, (std::vector<PeoVertex>{{-1, 2, 3, 0, 0}, {4, -5, 6, 0, 0}, {1, 1, -7, 0, 0}}));
    EXPECT_EQ(copy.fileFaceNormals, source.fileFaceNormals);
    EXPECT_TRUE(copy.vertexNormals.empty());
    EXPECT_TRUE(copy.faceNormals.empty());
    EXPECT_TRUE(copy.workVertices.empty());
    EXPECT_EQ(copy.nFaceNormals, 1);
    EXPECT_EQ(copy.nVertNormals, 3);
    EXPECT_EQ(copy.nPolygons, 1);
    EXPECT_EQ(copy.nVertices, 3);
    EXPECT_EQ(copy.flags, 0x41);
    EXPECT_EQ(copy.madObjectIndex, -1) << "a copy is never animated";
    EXPECT_EQ(copy.sharedWith, 1);
    EXPECT_EQ(copy.vertexListOffset, 0);
    EXPECT_EQ(copy.polygonListOffset, 0);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(copy.matrix[i], source.matrix[i]) << "unrounded";
    EXPECT_EQ(copy.mother, 1) << "links from the tree";
    // Extents and sizes from the copied vertices.
    EXPECT_EQ(copy.minX, -1);
    EXPECT_EQ(copy.maxX, 4);
    EXPECT_EQ(copy.minY, -5);
    EXPECT_EQ(copy.maxY, 2);
    EXPECT_EQ(copy.minZ, -7);
    EXPECT_EQ(copy.maxZ, 6);
    EXPECT_EQ(copy.sizeX, 5);
    EXPECT_EQ(copy.sizeY, 7);
    EXPECT_EQ(copy.sizeZ, 13);
    // A hidden source gives a shown, ticked copy with its own mesh and frame.
    const ViewObject& view = f.ctx.view.viewObjects[2];
    EXPECT_EQ(view.shown, -1);
    EXPECT_TRUE(f.ctx.shell.treeHeirachy.at("o2").checked);
    ASSERT_TRUE(view.frame);
    EXPECT_EQ(view.frame->getName(), "peo_Hull2");
    EXPECT_NE(view.mesh, f.ctx.view.viewObjects[1].mesh);
    EXPECT_EQ(view.frame->visuals().size(), 1u);
    EXPECT_EQ(view.name, "Hull2");
    EXPECT_NEAR(view.matrix[0], 0.1235f, 1e-6) << "the view matrix is rounded";
}

TEST(ObjectClone, ACopyOfACopySharesWithThatCopy) {
    CloneFixture f({{"base", 0}, {"Hull", 1}});
    f.select("o1");
    cmdCloneObject_Click(f.ctx);
    f.select("o2");
    cmdCloneObject_Click(f.ctx);
    EXPECT_EQ(f.names(), "base Hull Hull2 Hull3");
    EXPECT_EQ(f.ctx.model.peoObjects[2].sharedWith, 1);
    EXPECT_EQ(f.ctx.model.peoObjects[3].sharedWith, 2);
}

TEST(ObjectClone, EveryFrameIsHungByTheLinksAndPosedAfterTheCommand) {
    CloneFixture f({{"base", 0}, {"Hull", 1}, {"Gun", 2}});
    // A frame moved away and an object whose pose differs from its matrix.
    f.ctx.view.modelFrame->addChild(f.ctx.view.viewObjects[2].frame);
    f.ctx.model.peoObjects[2].matrix[3] = 7;
    f.select("o1");
    cmdCloneObject_Click(f.ctx);
    const auto& views = f.ctx.view.viewObjects;
    ASSERT_EQ(views.size(), 5u);
    EXPECT_EQ(views[2].frame->getParent(), views[1].frame);
    EXPECT_EQ(views[3].frame->getParent(), views[0].frame);
    EXPECT_EQ(views[4].frame->getParent(), views[3].frame);
    EXPECT_NEAR(views[2].frame->getPosition(views[1].frame).x, 7, 1e-6);
    EXPECT_NEAR(views[4].frame->getPosition(views[3].frame).x, 7, 1e-6);
}

TEST(ObjectClone, RefusalsChangeNothing) {
    struct Case {
        const char* name;
        std::function<void(CloneFixture&)> arrange;
        const char* message;  // or empty: one error report "Overflow"
    };
    const std::vector<Case> cases{
        {"base node", [](CloneFixture& f) { f.select("o0"); }, kCantCloneBaseText},
        {"empty pick",
         [](CloneFixture& f) {
             f.select("o1");
             f.ctx.objects.selectedObject = -1;
         },
         kSelectObjectToCloneText},
        {"other node",
         [](CloneFixture& f) {
             f.select("o1");
             f.ctx.shell.treeHeirachy.setSelected("o2");
         },
         kSelectObjectToCloneText},
        {"number past 32766",
         [](CloneFixture& f) {
             // objectCount 32766 with a two-object subtree: the second copy would be 32767.
             auto& objects = f.ctx.model.peoObjects;
             objects.resize(32766);
             f.ctx.view.viewObjects.resize(32766);
             for (size_t i = 3; i < objects.size(); ++i) objects[i].name = "x" + std::to_string(i);
             f.select("o1");
         },
         ""},
        {"digit run beyond 2147483647",
         [](CloneFixture& f) {
             f.ctx.shell.treeHeirachy.setText("o2", "Gun99999999999");
             f.ctx.model.peoObjects[2].name = "Gun99999999999";
             f.select("o1");
         },
         ""},
        {"name number 2147483647",
         [](CloneFixture& f) {
             f.ctx.shell.treeHeirachy.setText("o2", "Gun2147483647");
             f.ctx.model.peoObjects[2].name = "Gun2147483647";
             f.select("o1");
         },
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CloneFixture f({{"base", 0}, {"Gun1", 1}, {"Gun2", 2}});
        c.arrange(f);
        if (*c.message) f.t.prompts.expectMessage(c.message, f.ctx.version.appTitle);
        const int count = f.ctx.model.objectCount();
        const std::string shape = treeShape(f.ctx.shell.treeHeirachy);
        const auto list = f.ctx.objects.cmbObjectList;
        f.ctx.objects.lastCloneIndex = 77;
        cmdYZmirror_Click(f.ctx);
        EXPECT_EQ(f.ctx.model.objectCount(), count);
        EXPECT_EQ(f.ctx.view.viewObjects.size(), size_t(count));
        EXPECT_EQ(treeShape(f.ctx.shell.treeHeirachy), shape);
        EXPECT_EQ(f.ctx.objects.cmbObjectList, list);
        EXPECT_EQ(f.ctx.objects.lastCloneIndex, 77);
        EXPECT_EQ(f.ctx.model.peoObjects[1].matrix[3], 0);
        EXPECT_TRUE(f.ctx.objects.cmdCloneObjectEnabled);
        if (*c.message) {
            EXPECT_TRUE(f.t.errors.reports.empty());
        } else {
            ASSERT_EQ(f.t.errors.reports.size(), 1u);
            EXPECT_EQ(f.t.errors.reports[0].number, 6);
            EXPECT_EQ(f.t.errors.reports[0].procedure, "cmdCloneObject_Click");
        }
        EXPECT_EQ(f.t.prompts.pending(), 0u);
    }
}

TEST(ObjectClone, GunChunksFollowThePreferenceAndTheGunsGroup) {
    struct Case {
        bool preference, group;
        size_t calls;
        bool logLine;
    } cases[] = {{true, true, 3, false}, {false, true, 0, false}, {true, false, 0, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.preference) + std::to_string(c.group));
        CloneFixture f({{"base", 0}, {"Hull", 1}, {"Gun", 2}, {"Pod", 3}});
        RecordingGunChunks hook;
        f.ctx.objects.gunChunkHook = &hook;
        f.ctx.prefs.createGunChunkOnClone = c.preference;
        if (c.group) addChunkTree(f.ctx);
        f.select("o1");
        cmdCloneObject_Click(f.ctx);
        EXPECT_EQ(f.ctx.model.objectCount(), 7) << "the clone is done";
        EXPECT_EQ(hook.selectedAtCall, std::vector<std::string>(c.calls, "gRoot"));
        EXPECT_EQ(hook.cloneEnabledAtCall, std::vector<bool>(c.calls, false)) << "Clone is disabled while it runs";
        const auto lines = f.logLines();
        EXPECT_EQ(std::count(lines.begin(), lines.end(), std::string("[1] ") + kNoGunChunksText), c.logLine ? 1 : 0);
    }
}

TEST(ObjectClone, AFailureInAddObjectIsReportedAndCloneIsEnabledAgain) {
    CloneFixture f({{"base", 0}, {"Hull", 1}});
    RecordingGunChunks hook;
    hook.fail = true;
    f.ctx.objects.gunChunkHook = &hook;
    f.ctx.prefs.createGunChunkOnClone = true;
    addChunkTree(f.ctx);
    f.select("o1");
    cmdCloneObject_Click(f.ctx);
    ASSERT_EQ(f.t.errors.reports.size(), 1u);
    EXPECT_EQ(f.t.errors.reports[0].module, "modPeo");
    EXPECT_EQ(f.t.errors.reports[0].procedure, "addObject");
    EXPECT_EQ(f.t.errors.reports[0].arguments, "1|2|Hull2");
    EXPECT_TRUE(f.ctx.objects.cmdCloneObjectEnabled);
    EXPECT_EQ(f.ctx.model.objectCount(), 3) << "the copy itself was complete before the hook";
}

TEST(ObjectMirror, MirrorZNegatesTheTopCopysZTranslationOnly) {
    CloneFixture f({{"base", 0}, {"Hull", 1}, {"Gun", 2}});
    PeoObject& hull = f.ctx.model.peoObjects[1];
    hull.matrix = Matrix4::identity();
    hull.matrix[1] = 0.5f;
    hull.matrix[3] = 4;
    hull.matrix[7] = 5;
    hull.matrix[11] = 6;
    hull.vertices = {{1, 2, 3, 0, 0}};
    f.ctx.model.peoObjects[2].matrix[11] = 2;
    f.select("o1");
    cmdXYmirror_Click(f.ctx);
    ASSERT_EQ(f.ctx.model.objectCount(), 5);
    const PeoObject& top = f.ctx.model.peoObjects[3];
    EXPECT_EQ(f.ctx.objects.lastCloneIndex, 3);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(top.matrix[i], i == 11 ? -6.0f : f.ctx.model.peoObjects[1].matrix[i]);
    EXPECT_EQ(top.vertices[0], (PeoVertex{1, 2, 3, 0, 0}));
    EXPECT_EQ(f.ctx.model.peoObjects[4].matrix[11], 2) << "the child copy keeps its matrix";
    EXPECT_EQ(f.ctx.view.viewObjects[3].matrix[11], -6);
    const Vector3 at = f.ctx.view.viewObjects[3].frame->getPosition(f.ctx.view.viewObjects[0].frame);
    EXPECT_NEAR(at.x, 4, 1e-5);
    EXPECT_NEAR(at.y, 5, 1e-5);
    EXPECT_NEAR(at.z, -6, 1e-5);
}

TEST(ObjectMirror, EachButtonNegatesItsElement) {
    const std::pair<void (*)(EditingContext&), int> buttons[] = {
        {cmdYZmirror_Click, 3}, {cmdXZmirror_Click, 7}, {cmdXYmirror_Click, 11}};
    for (const auto& [click, element] : buttons) {
        CloneFixture f({{"base", 0}, {"Hull", 1}});
        f.ctx.model.peoObjects[1].matrix[3] = 1;
        f.ctx.model.peoObjects[1].matrix[7] = 2;
        f.ctx.model.peoObjects[1].matrix[11] = 3;
        f.select("o1");
        click(f.ctx);
        for (int i : {3, 7, 11}) {
            const float was = f.ctx.model.peoObjects[1].matrix[i];
            EXPECT_EQ(f.ctx.model.peoObjects[2].matrix[i], i == element ? -was : was) << element;
        }
    }
}

TEST(ModelExtents, RecomputedFromTheVerticesAsTheyStand) {
    PeoObject object;
    object.maxX = 100;
    object.minY = -100;
    recomputeExtents(object);
    EXPECT_EQ(object.maxX, 0);
    EXPECT_EQ(object.minY, 0) << "no vertices: 0 on every axis";
    object.vertices = {{2, 3, 4, 0, 0}};
    recomputeExtents(object);
    EXPECT_EQ(object.minX, 2);
    EXPECT_EQ(object.maxX, 2) << "the first vertex sets both";
    object.vertices.push_back({-1, 5, 4, 0, 0});
    recomputeExtents(object);
    EXPECT_EQ(object.minX, -1);
    EXPECT_EQ(object.maxY, 5);
    EXPECT_EQ(object.minZ, 4);
    EXPECT_EQ(object.maxZ, 4);
}

TEST(ObjectOptionsTexts, TheMessagesReadAsShown) {
    EXPECT_STREQ(kCantCloneBaseText, "Can't clone base object!");
    EXPECT_STREQ(kSelectObjectToCloneText, "Select the object to clone in the tree first.");
    EXPECT_STREQ(kNoGunChunksText, "No gun chunks added: the chunk tree has no Guns group.");
    EXPECT_STREQ(kCantDeleteBaseText, "Can't delete base object!");
}
