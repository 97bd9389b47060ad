// Every page that acts on the selected object follows the selection the user makes, by a click in the
// object tree or by a pick in the 3D view: it shows the newly selected object, and its buttons change that
// object and leave the one selected before as it was. The window is driven by mouse and keys only.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "../animation/MadFixtures.h"
#include "../preview/PreviewFixtures.h"
#include "WindowFixture.h"
#include "editor/context/EditingContext.h"
#include "editor/StartupExit.h"
#include "objects/ObjectTree.h"

using namespace tarv;
using namespace tarv::test;

namespace {

enum Object { kGun, kTurret, kHull };
enum class By { Tree, Pick };

// Three squares side by side in the view: "gun" (material 0) and "turret" (material 1) with tracks in the animation
// "Open", and "hull" without one. The turret's first key stands at (7, 8, 9), the gun's at (1, 2, 3).
struct SelectionWindow : WindowFixture {
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

    void showTab(QTabWidget* tabs, QWidget* page) { clickTab(tabs, page); }
    void showKeyframes() {
        showTab(window.SSTab1, window.pageObjects);
        showTab(window.pageObjects->SSTab2, window.pageObjects->SSTab2->widget(2));
    }

    // A click on a pixel of the canvas where the object, and only it, is under the pointer.
    void pick(Object object) {
        const std::string frame = "peo_" + t.ctx.model.peoObjects[size_t(object)].name;
        QWidget* canvas = window.RMCanvas1;
        const auto onlyThere = [&](int x, int y) {
            const auto hits = t.ctx.view.viewport->pick(x, y);
            for (const scene::PickHit& hit : hits) {
                bool there = false;
                for (const scene::FramePtr& f : hit.path) there = there || f->getName() == frame;
                if (!there) return false;
            }
            return !hits.empty();
        };
        for (int y = 2; y < canvas->height(); y += 4)
            for (int x = 2; x < canvas->width(); x += 4) {
                if (!onlyThere(x, y)) continue;
                QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(x, y));
                return;
            }
        FAIL() << "no pixel shows " << frame;
    }
    void select(Object object, By by) {
        if (by == By::Tree)
            clickObjectNode(window, "o" + std::to_string(int(object)));
        else
            pick(object);
        ASSERT_EQ(t.ctx.objects.selectedObject, int(object));
    }

    void typeInto(const char* name, const char* text) {
        auto* box = find<QLineEdit>(name);
        QTest::mouseDClick(box, Qt::LeftButton);
        box->selectAll();
        QTest::keyClicks(box, text);
    }
    void press(const char* name) {
        auto* button = find<QPushButton>(name);
        ASSERT_TRUE(button->isVisible() && button->isEnabled()) << name;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    const PeoObject& object(Object o) { return t.ctx.model.peoObjects[size_t(o)]; }
    const std::vector<MadKeyframe>& keys(Object o) {
        return t.ctx.animation.madObjects[size_t(object(o).madObjectIndex)].keyframes;
    }
    QString text(const char* name) { return find<QLineEdit>(name)->text(); }
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

TEST(SelectionPages, EveryPageShowsAndActsOnTheObjectSelectedLast) {
    for (By by : {By::Tree, By::Pick})
        for (const PageCase& c : kPages) {
            SCOPED_TRACE(std::string(c.page) + (by == By::Tree ? ", selected in the tree" : ", picked in the view"));
            SelectionWindow f;
            f.select(c.before, By::Tree);
            f.showKeyframes();  // the tab shows the first object's keys (or none) before the second selection
            f.select(c.after, by);
            c.check(f);
        }
}

}  // namespace
