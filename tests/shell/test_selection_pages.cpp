// Every page that acts on the selected object follows the selection the user makes, by a click in the
// object tree or by a pick in the 3D view: it shows the newly selected object, and its buttons change that
// object and leave the one selected before as it was. The pages of the chunk tree's and the texture list's own
// selection keep showing and acting on what was chosen there last. The Keyframes tab follows loads, deletes
// and deselections too. The window is driven by mouse and keys only.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>
#include <functional>

#include "../animation/MadFixtures.h"
#include "../preview/PreviewFixtures.h"
#include "SampleShip.h"
#include "WindowFixture.h"
#include "attachments/state/MexChunkTable.h"
#include "editor/context/EditingContext.h"
#include "editor/StartupExit.h"
#include "objects/ObjectTree.h"

using namespace tarv;
using namespace tarv::test;

namespace {

enum Object { kGun, kTurret, kHull };
enum class By { Tree, Pick };

// A main window driven by mouse and keys.
struct DrivenWindow : WindowFixture {
    void showTab(QTabWidget* tabs, QWidget* page) { clickTab(tabs, page); }
    void showKeyframes() {
        showTab(window.SSTab1, window.pageObjects);
        showTab(window.pageObjects->SSTab2, window.pageObjects->SSTab2->widget(2));
    }
    // A click on the node's rectangle in the object tree.
    void clickNode(const char* name) {
        showTab(window.SSTab1, window.pageObjects);
        showTab(window.pageObjects->SSTab2, window.pageObjects->pageHeirachy);
        const auto found = window.treeHeirachy->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(found.size(), 1) << name;
        QTest::mouseClick(window.treeHeirachy->viewport(), Qt::LeftButton, {},
                          window.treeHeirachy->visualItemRect(found[0]).center());
    }
    // A click on a pixel of the canvas where the object is the innermost one under the pointer (a turret
    // stands on its hull: where it shows, the hull is under the pointer too).
    void pick(const std::string& objectName) {
        const std::string frame = "peo_" + objectName;
        QWidget* canvas = window.RMCanvas1;
        const auto innermost = [&](int x, int y) {
            size_t depth = 0;
            std::string found;
            for (const scene::PickHit& hit : t.ctx.view.viewport->pick(x, y))
                for (size_t j = 0; j < hit.path.size(); ++j)
                    if (hit.path[j]->getName().rfind("peo_", 0) == 0 && j >= depth) {
                        if (j > depth || found.empty()) found = hit.path[j]->getName();
                        depth = j;
                    }
            return found;
        };
        for (int y = 2; y < canvas->height(); y += 4)
            for (int x = 2; x < canvas->width(); x += 4) {
                if (innermost(x, y) != frame) continue;
                QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(x, y));
                return;
            }
        FAIL() << "no pixel shows " << frame;
    }
    void selectObject(const char* name, By by) {
        if (by == By::Tree)
            clickNode(name);
        else
            pick(name);
    }
    void typeInto(const char* name, const char* text) {
        auto* box = find<QLineEdit>(name);
        QTest::mouseDClick(box, Qt::LeftButton);
        box->selectAll();
        QTest::keyClicks(box, text);
    }
    void press(const char* name) {
        clickOn(find<QPushButton>(name));
    }
    QString text(const char* name) { return find<QLineEdit>(name)->text(); }
};

// Three squares side by side in the view: "gun" (material 0) and "turret" (material 1) with tracks in the animation
// "Open", and "hull" without one. The turret's first key stands at (7, 8, 9), the gun's at (1, 2, 3).
struct SelectionWindow : DrivenWindow {
    SelectionWindow() {
        EditingContext& ctx = t.ctx;
        InitialiseComponents(ctx);
        applyStartupState(ctx);
        ctx.model.peoObjects = {squarePeoObject("gun", 10, 0), squarePeoObject("turret", 10, 1),
                                squarePeoObject("hull", 10, 0)};
        ctx.model.peoObjects[kTurret].matrix[7] = -10.5f;
        ctx.model.peoObjects[kHull].matrix[3] = -11;
        ctx.model.materials.resize(2);
        buildScene(ctx);
        createObjectTree(ctx);
        ctx.animation.madAnimations = {{"Open", 0, 2, 0}};
        ctx.animation.madObjects = {makeTrack("gun", {0.5f}), makeTrack("turret", {0.5f, 1.5f})};
        ctx.animation.madObjects[1].keyframes[1].position = {7, 8, 9};
        ctx.model.peoObjects[kGun].madObjectIndex = 0;
        ctx.model.peoObjects[kTurret].madObjectIndex = 1;
        ctx.road.pagesEnabled = true;
        ctx.road.keyframesPageEnabled = true;
        window.resize(1100, 760);
        window.show();
        ctx.view.viewport->setSize(window.RMCanvas1->width(), window.RMCanvas1->height());
        window.syncFromContext();  // the fixture's model, as a load leaves it
        window.mnuRenderReset->trigger();
    }

    void select(Object object, By by) {
        selectObject(t.ctx.model.peoObjects[size_t(object)].name.c_str(), by);
        ASSERT_EQ(t.ctx.objects.selectedObject, int(object));
    }
    const PeoObject& object(Object o) { return t.ctx.model.peoObjects[size_t(o)]; }
    const std::vector<MadKeyframe>& keys(Object o) {
        return t.ctx.animation.madObjects[size_t(object(o).madObjectIndex)].keyframes;
    }
};

// The sample ship opened through File > Open in a shown window. Only its turret has keys, three of them in the
// animation "Sweep"; the gun hangs under the turret.
struct SampleShipWindow : DrivenWindow {
    std::filesystem::path ship = dir.path() / "ship";
    SampleShipWindow() {
        samples::writeSampleShip(ship);
        t.preferencesStore.setKeyValue("AlwaysShowBackup", "0");
        t.ctx.services.status = &window;
        window.Form_Load("");
        window.resize(1100, 760);
        window.show();
        open();
    }
    ~SampleShipWindow() { t.ctx.services.status = &t.status; }
    void open() {
        t.prompts.expectOpen(FileDialogChoice{(ship / samples::kSampleShpName).string(), 1});
        window.mnuFileOpen->trigger();
        EXPECT_EQ(window.lblStatus->text(), "Ship loaded");
        // Only the GL canvas tells the view its size; the offscreen canvas is given the same size here.
        t.ctx.view.viewport->setSize(window.RMCanvas1->width(), window.RMCanvas1->height());
    }
    // A click below the last node of the tree, where there is none.
    void clickEmptyTree() {
        showTab(window.SSTab1, window.pageObjects);
        showTab(window.pageObjects->SSTab2, window.pageObjects->pageHeirachy);
        QWidget* viewport = window.treeHeirachy->viewport();
        const QPoint below(viewport->width() / 2, viewport->height() - 3);
        ASSERT_EQ(window.treeHeirachy->itemAt(below), nullptr);
        QTest::mouseClick(viewport, Qt::LeftButton, {}, below);
    }
    // A click on a pixel of the canvas where no object is.
    void clickEmptyView() {
        QWidget* canvas = window.RMCanvas1;
        for (int y = 2; y < canvas->height(); y += 8)
            for (int x = 2; x < canvas->width(); x += 8) {
                if (!t.ctx.view.viewport->pick(x, y).empty()) continue;
                QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(x, y));
                return;
            }
        FAIL() << "every pixel shows an object";
    }
    // A click on the chunk's node in the chunk tree of the Elements tab.
    void clickChunk(const char* id) {
        showTab(window.SSTab1, window.pageShipInfo);
        showTab(window.pageShipInfo->SSTab3, window.pageShipInfo->pageElements);
        const auto found = window.treeMex->findItems(id, Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(found.size(), 1) << id;
        window.treeMex->scrollToItem(found[0]);
        QTest::mouseClick(window.treeMex->viewport(), Qt::LeftButton, {},
                          window.treeMex->visualItemRect(found[0]).center());
    }
    // A click on the row of the texture list.
    void clickTexture(int row) {
        showTab(window.SSTab1, window.pageTextures);
        QTreeWidget* list = window.pageTextures->lstTextures;
        ASSERT_LT(row, list->topLevelItemCount());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(row)).center());
    }
    std::filesystem::path textureFile(int row) {
        const std::string name = window.pageTextures->lstTextures->topLevelItem(row)->text(0).toStdString();
        for (const auto& entry : std::filesystem::directory_iterator(ship))
            for (const std::filesystem::path& shown : {entry.path().stem(), entry.path().filename()})
                if (entry.path().extension() == ".lif" &&
                    QString::fromStdString(shown.string()).compare(QString::fromStdString(name), Qt::CaseInsensitive) == 0)
                    return entry.path();
        ADD_FAILURE() << "no file of the texture " << name;
        return {};
    }
    QString shownFlags, shownImageCrc;
    std::vector<MadKeyframe>& turretKeys() {
        for (MadObject& track : t.ctx.animation.madObjects)
            if (track.name == "Turret") return track.keyframes;
        ADD_FAILURE() << "no track of the turret";
        static std::vector<MadKeyframe> none;
        return none;
    }

    // The tab shows the turret's keys of "Sweep", with its key buttons in use.
    void expectTurretKeys() {
        EXPECT_EQ(t.ctx.objects.selectedObject, 1);
        EXPECT_TRUE(find<QGroupBox>("frmKeyframeInfo")->title().startsWith("Keyframe Information: "))
            << find<QGroupBox>("frmKeyframeInfo")->title().toStdString();
        EXPECT_TRUE(find<QLineEdit>("txtKeyVal_1")->isVisible());
        EXPECT_TRUE(find<QPushButton>("cmdKeyDelete")->isEnabled());
        EXPECT_TRUE(find<QPushButton>("cmdKeyfApply")->isEnabled());
    }
    // The tab shows no keys, and nothing on it can change one.
    void expectNoKeys() {
        EXPECT_FALSE(find<QGroupBox>("frmKeyframeInfo")->title().startsWith("Keyframe Information: "))
            << find<QGroupBox>("frmKeyframeInfo")->title().toStdString();
        EXPECT_FALSE(find<QLineEdit>("txtKeyVal_1")->isVisible());
        EXPECT_FALSE(find<QPushButton>("cmdKeyDelete")->isEnabled());
        EXPECT_FALSE(find<QPushButton>("cmdKeyfApply")->isVisible() &&
                     find<QPushButton>("cmdKeyfApply")->isEnabled());
        EXPECT_FALSE(find<QSlider>("sldObjKeyf")->isVisible());
    }
};

struct PageCase {
    const char* page;
    Object before, after;
    // Shows the page, checks that it shows `after`, uses its button and checks what changed.
    std::function<void(SelectionWindow&)> check;
};

const PageCase kPages[] = {
    {"Matrix", kGun, kTurret,
     [](SelectionWindow& f) {
         f.showTab(f.window.SSTab1, f.window.pageObjects);
         f.showTab(f.window.pageObjects->SSTab2, f.window.pageObjects->pageMatrix);
         EXPECT_EQ(f.text("posY"), "-10.5");
         f.typeInto("posX", "123");
         f.press("cmdApplyMatrix");
         EXPECT_EQ(f.object(kTurret).matrix[3], 123.0f);
         EXPECT_EQ(f.object(kTurret).matrix[7], -10.5f);
         EXPECT_EQ(f.object(kGun).matrix[3], 0.0f);
     }},
    {"Keyframes, Apply", kGun, kTurret,
     [](SelectionWindow& f) {
         f.showKeyframes();
         EXPECT_EQ(f.find<QGroupBox>("frmKeyframeInfo")->title(), "Keyframe Information: 2 found");
         EXPECT_EQ(f.text("txtKeyVal_1"), "7");
         EXPECT_EQ(f.text("txtKeyVal_2"), "8");
         f.typeInto("txtKeyVal_1", "123");
         f.press("cmdKeyfApply");
         EXPECT_EQ(f.keys(kTurret)[1].position.x, 123.0f);
         EXPECT_EQ(f.keys(kTurret)[1].position.y, 8.0f) << "the key keeps the turret's own values";
         EXPECT_EQ(f.keys(kGun)[1].position.x, 1.0f);
     }},
    {"Keyframes, Delete", kGun, kTurret,
     [](SelectionWindow& f) {
         f.showKeyframes();
         EXPECT_EQ(f.text("txtKeyVal_1"), "7");
         f.press("cmdKeyDelete");
         EXPECT_EQ(f.keys(kTurret).size(), 3u);
         EXPECT_EQ(f.keys(kGun).size(), 3u);
     }},
    {"Keyframes, Insert", kGun, kTurret,
     [](SelectionWindow& f) {
         f.showKeyframes();
         EXPECT_EQ(f.text("txtKeyVal_1"), "7");
         f.press("cmdKeyInsert");
         EXPECT_EQ(f.keys(kTurret).size(), 5u);
         EXPECT_EQ(f.keys(kTurret)[2].position.x, 7.0f) << "the copy of the key on the tab";
         EXPECT_EQ(f.keys(kGun).size(), 3u);
     }},
    {"Keyframes of an object without keys", kGun, kHull,
     [](SelectionWindow& f) {
         f.showKeyframes();
         EXPECT_EQ(f.find<QGroupBox>("frmKeyframeInfo")->title(), "No keyframes defined for this object");
         EXPECT_TRUE(f.find<QLineEdit>("txtKeyVal_1")->isHidden());
         EXPECT_FALSE(f.find<QPushButton>("cmdKeyDelete")->isEnabled());
         EXPECT_TRUE(f.find<QPushButton>("cmdKeyfApply")->isHidden());
         EXPECT_EQ(f.keys(kGun).size(), 3u);
     }},
    {"Materials, Smooth Selected", kHull, kTurret,
     [](SelectionWindow& f) {
         f.showTab(f.window.SSTab1, f.window.pageMaterials);
         f.press("cmdSmoothObj");
         EXPECT_TRUE(f.t.ctx.model.materials[1].smoothing);
         EXPECT_FALSE(f.t.ctx.model.materials[0].smoothing) << "the hull's material";
     }},
};

// The pages of the chunk tree's and the texture list's own selection, on the sample ship: A, then B is chosen in
// its list, then an object is selected in the tree or the 3D view; the page still shows B and acts on it.
struct ListPageCase {
    const char* page;
    std::function<void(SampleShipWindow&)> selectA, selectB;
    std::function<void(SampleShipWindow&)> check;
};

MexChunk& chunk(SampleShipWindow& f, const char* id) {
    for (MexChunk& c : f.t.ctx.mex.mexChunks)
        if (c.chunkId == id) return c;
    ADD_FAILURE() << "no chunk " << id;
    static MexChunk none;
    return none;
}

const ListPageCase kListPages[] = {
    {"Mex Data, Apply", [](SampleShipWindow& f) { f.clickChunk("Gun0"); }, [](SampleShipWindow& f) { f.clickChunk("Gun1"); },
     [](SampleShipWindow& f) {
         f.showTab(f.window.SSTab1, f.window.pageShipInfo);
         f.showTab(f.window.pageShipInfo->SSTab3, f.window.pageShipInfo->pageMexData);
         EXPECT_EQ(f.text("txtMexPos_2"), "9.5");
         f.typeInto("txtMexPos_0", "123");
         f.press("cmdMexEditApply");
         EXPECT_EQ(chunk(f, "Gun1").position.x, 123.0f);
         EXPECT_EQ(chunk(f, "Gun1").position.z, 9.5f);
         EXPECT_EQ(chunk(f, "Gun0").position.x, 17.0f);
     }},
    {"Ship File Data, Apply", [](SampleShipWindow& f) { f.clickChunk("Gun0"); },
     [](SampleShipWindow& f) { f.clickChunk("Gun1"); },
     [](SampleShipWindow& f) {
         f.showTab(f.window.SSTab1, f.window.pageShipInfo);
         f.showTab(f.window.pageShipInfo->SSTab3, f.window.pageShipInfo->pageShipFileData);
         EXPECT_EQ(f.text("txtShpGunAngles_0"), "-45");
         f.typeInto("txtShpGunInfo_1", "123");
         f.press("cmdApplyShpInfo");
         EXPECT_EQ(f.t.ctx.shp.shpGuns[1].barrelLength, 123.0f);
         EXPECT_EQ(f.t.ctx.shp.shpGuns[1].minTurnAngle, -45.0f);
         EXPECT_EQ(f.t.ctx.shp.shpGuns[0].barrelLength, 9.0f);
     }},
    {"Textures, Save changes", [](SampleShipWindow& f) { f.clickTexture(0); },
     [](SampleShipWindow& f) {
         f.clickTexture(1);
         f.shownFlags = f.text("txtLifFlags");
         f.shownImageCrc = f.text("txtImgCRC");
     },
     [](SampleShipWindow& f) {
         f.showTab(f.window.SSTab1, f.window.pageTextures);
         EXPECT_EQ(f.text("txtLifFlags"), f.shownFlags);
         EXPECT_EQ(f.text("txtImgCRC"), f.shownImageCrc);
         const std::string a = readText(f.textureFile(0)), b = readText(f.textureFile(1));
         f.typeInto("txtImgCRC", "12345");
         f.press("cmdSaveCRCs");
         EXPECT_EQ(readText(f.textureFile(0)), a);
         EXPECT_NE(readText(f.textureFile(1)), b);
         f.clickTexture(1);
         EXPECT_EQ(f.text("txtImgCRC"), "12345");
     }},
};

TEST(SelectionPages, EveryPageShowsAndActsOnWhatWasSelectedLast) {
    for (By by : {By::Tree, By::Pick}) {
        const std::string how = by == By::Tree ? ", selected in the tree" : ", picked in the view";
        for (const PageCase& c : kPages) {
            SCOPED_TRACE(c.page + how);
            SelectionWindow f;
            f.select(c.before, By::Tree);
            f.showKeyframes();  // the tab shows the first object's keys (or none) before the second selection
            f.select(c.after, by);
            c.check(f);
        }
        for (const ListPageCase& c : kListPages) {
            SCOPED_TRACE(c.page + how);
            SampleShipWindow f;
            c.selectA(f);
            f.selectObject("Hull", by);
            c.selectB(f);
            f.selectObject("Turret", by);
            EXPECT_EQ(f.t.ctx.objects.selectedObject, 1);
            c.check(f);
            EXPECT_TRUE(f.t.errors.reports.empty());
        }
    }
}

TEST(SelectionPages, TheKeyframesTabFollowsLoadsDeletesAndDeselections) {
    SampleShipWindow f;
    const size_t keys = f.turretKeys().size();
    f.showKeyframes();
    {
        SCOPED_TRACE("after the load");
        f.expectNoKeys();
    }
    f.clickNode("Turret");
    f.showKeyframes();
    {
        SCOPED_TRACE("the turret selected in the tree");
        f.expectTurretKeys();
    }
    f.clickEmptyTree();
    f.showKeyframes();
    {
        SCOPED_TRACE("a click on empty tree space keeps the selection");
        f.expectTurretKeys();
    }
    f.clickEmptyView();
    f.showKeyframes();
    {
        SCOPED_TRACE("a click on empty 3D space");
        EXPECT_EQ(f.t.ctx.objects.selectedObject, -1);
        f.expectNoKeys();
    }
    f.clickNode("Turret");
    f.window.mnuReload->trigger();
    f.showKeyframes();
    {
        SCOPED_TRACE("after Reload");
        EXPECT_EQ(f.t.ctx.objects.selectedObject, -1);
        f.expectNoKeys();
    }
    f.clickNode("Turret");
    f.open();
    f.showKeyframes();
    {
        SCOPED_TRACE("after another File > Open");
        f.expectNoKeys();
    }
    f.clickNode("Turret");
    f.press("cmdDeleteObject");
    f.showKeyframes();
    {
        SCOPED_TRACE("after the selected object was deleted");
        EXPECT_EQ(f.t.ctx.objects.selectedObject, -1);
        f.expectNoKeys();
    }
    EXPECT_EQ(f.turretKeys().size(), keys) << "no key went with the tab";
    EXPECT_TRUE(f.t.errors.reports.empty());
}

}  // namespace
