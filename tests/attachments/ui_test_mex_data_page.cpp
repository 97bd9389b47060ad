// The "Mex Data" page: its controls laid out per chunk type as the widgets show them, typing into the page,
// and Apply, Normalise, the nav light swatch, Zoom and Auto-calc through the buttons with the real panel.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "ChunkFixtures.h"
#include "WindowFixture.h"
#include "Screenshot.h"
#include "app/EditorStart.h"
#include "attachments/ChunkEditPanel.h"
#include "attachments/MexSteps.h"
#include "attachments/MexTreeCommands.h"
#include "base/NumberText.h"
#include "shell/KeyedTreeWidget.h"
#include "shell/frmOptions.h"
#include "shell/frmTARV.h"

using namespace tarv;
using namespace tarv::test;

namespace {

// A ship with object 0 (a 2 x 2 x 2 box round the origin) in a main window with every subsystem installed.
struct MexDataWindow {
    MexDataWindow() {
        s.ctx.version.appTitle = "TARV";
        installSubsystems(window);
        window.resize(900, 650);
    }
    template <class T>
    T* find(const QString& name) {
        T* found = window.pageShipInfo->pageMexData->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    QLineEdit* box(const QString& name) { return find<QLineEdit>(name); }
    QPushButton* button(const QString& name) { return find<QPushButton>(name); }
    // A mouse click on the node of the chunk tree, its group opened first when it is closed. A chunk the
    // test has just put in the table shows in the tree after the window's next command, as any change does:
    // a click on the tree's root is that command.
    void click(const std::string& key) {
        clickTab(window.SSTab1, window.pageShipInfo);
        clickTab(window.pageShipInfo->SSTab3, window.pageShipInfo->pageElements);
        if (!window.treeMex->itemForKey(key)) clickNode("Root");
        clickNode(key);
        clickTab(window.pageShipInfo->SSTab3, window.pageShipInfo->pageMexData);
    }
    void clickNode(const std::string& key) {
        QTreeWidgetItem* item = window.treeMex->itemForKey(key);
        ASSERT_NE(item, nullptr) << key;
        openGroupsOf(window.treeMex, item);
        QTest::mouseClick(window.treeMex->viewport(), Qt::LeftButton, {},
                          window.treeMex->visualItemRect(item).center());
        // (the command's sync builds the items again when the tree's shape changed)
        ASSERT_EQ(KeyedTreeWidget::keyOf(window.treeMex->currentItem()), key);
    }
    // Moves the tree's selection to the node with the arrow keys, without a click.
    void moveByKeys(const std::string& key) {
        QTreeWidgetItem* target = window.treeMex->itemForKey(key);
        ASSERT_NE(target, nullptr) << key;
        clickTab(window.pageShipInfo->SSTab3, window.pageShipInfo->pageElements);
        openGroupsOf(window.treeMex, target);
        window.treeMex->setFocus();
        const bool down = window.treeMex->visualItemRect(target).top() >
                          window.treeMex->visualItemRect(window.treeMex->currentItem()).top();
        for (int n = 0; n < 100 && window.treeMex->currentItem() != target; ++n)
            QTest::keyClick(window.treeMex, down ? Qt::Key_Down : Qt::Key_Up);
        ASSERT_EQ(window.treeMex->currentItem(), target) << key;
        clickTab(window.pageShipInfo->SSTab3, window.pageShipInfo->pageMexData);
    }
    void click(int chunk) { click(mexChunkKey(s.chunk(chunk).chunkType[0], chunk)); }
    // Replaces a box's text by typing.
    void type(const QString& name, const QString& text) {
        QLineEdit* edit = box(name);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    QString text(const QString& name) { return box(name)->text(); }
    MexDataPage& page() { return s.ctx.shipInfoPage->mexData; }

    ChunkShip s;
    frmTARV window{s.ctx};
};

const char* const kBoxes[8] = {"txtMexPos_0", "txtMexPos_1", "txtMexPos_2", "txtMexOrt_0",
                               "txtMexOrt_1", "txtMexOrt_2", "txtAngle_0",  "txtAngle_1"};

TEST(MexDataPage, ControlsSitOnThePageWithTheirCaptions) {
    MexDataWindow f;
    QStringList names{"txtChunkId", "lblChunkID", "txtMexName", "lblNavColour", "picNavColour"};
    for (int i = 0; i <= 8; ++i) names << QString("mexLabel_%1").arg(i);
    for (const char* name : kBoxes) names << name;
    for (const QString& name : names) EXPECT_NE(f.find<QWidget>(name), nullptr);
    const std::pair<const char*, const char*> buttons[] = {
        {"cmdMexEditApply", "Apply"}, {"cmdMexNormalise", "Normalise"}, {"cmdBBAutoCalc", "Auto-calc"}, {"mexZoom", "Zoom"}};
    for (const auto& [name, caption] : buttons) EXPECT_EQ(f.button(name)->text(), caption);
    // Before any chunk is chosen the fields are hidden and Apply is disabled.
    for (const QString& name : names) EXPECT_TRUE(f.find<QWidget>(name)->isHidden()) << name.toStdString();
    EXPECT_FALSE(f.button("cmdMexEditApply")->isEnabled());
    EXPECT_FALSE(f.button("mexZoom")->isHidden());
    // Each name exists once in the window.
    for (const QString& name : names) EXPECT_EQ(f.window.findChildren<QWidget*>(name).size(), 1) << name.toStdString();
}

// Each chunk type as the widgets show it after a click on its node: the labels with their captions, the
// boxes with their texts, the read-only ID, the type's buttons and the swatch; the root's click and an
// unknown letter after it.
TEST(MexDataPage, LaysItselfOutPerChunkType) {
    MexDataWindow f;
    struct Case {
        std::string letter;
        std::vector<std::string> captions;  // mexLabel 0..8, "-" hidden
        std::vector<std::string> boxes;     // txtMexPos 0..2, txtMexOrt 0..2, txtAngle 0..1, "-" hidden
        bool idEnabled, name, normalise, autoCalc, swatch;
    };
    const std::vector<std::string> pos{"Pos X", "Pos Y", "Pos Z", "Normal X", "Normal Y", "Normal Z",
                                       "coneAngle", "edgeAngle"};
    const std::vector<std::string> posBoxes{"1.5", "-2", "3.25", "0.1", "0.2", "0.3", "15", "5"};
    auto with = [](std::vector<std::string> v, std::string last) {
        v.push_back(last);
        return v;
    };
    const std::vector<Case> cases{
        {"c", {"Level", "-", "Radius", "Center X", "Center Y", "Center Z", "-", "-", "-"},
         {"7", "-", "15", "1.5", "-2", "3.25", "-", "-"}, true, false, false, true, false},
        {"r", {"Corner X", "Corner Y", "Corner Z", "Size X", "Size Y", "Size Z", "-", "Level", "-"},
         {"1.5", "-2", "3.25", "0.1", "0.2", "0.3", "-", "7"}, true, false, false, true, false},
        {"g", with(pos, "-"), posBoxes, true, false, true, false, false},
        {"d", with(pos, "-"), posBoxes, true, false, true, false, false},
        {"e", with(pos, "-"), posBoxes, true, false, true, false, false},
        {"k", with(pos, "Chunk Name:"), posBoxes, false, true, true, false, false},
        {"s", with(pos, "Chunk Name:"), posBoxes, false, true, true, false, false},
        {"n", {"Position X", "Position Y", "Position Z", "Colour R", "Colour G", "Colour B", "-", "-", "Chunk Name:"},
         {"1.5", "-2", "3.25", "16", "32.5", "300", "-", "-"}, false, true, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.letter);
        const int i = f.s.add(c.letter, "Id" + c.letter, {1.5f, -2, 3.25f}, {0.1f, 0.2f, 0.3f}, 15, 5, "Point");
        f.s.chunk(i).level = 7;
        f.s.chunk(i).colour = {16, 32.5f, 300};
        f.click(i);
        for (int k = 0; k < 9; ++k) {
            QLabel* label = f.find<QLabel>(QString("mexLabel_%1").arg(k));
            EXPECT_EQ(!label->isHidden(), c.captions[size_t(k)] != "-") << k;
            if (!label->isHidden()) {
                EXPECT_EQ(label->text().toStdString(), c.captions[size_t(k)]) << k;
            }
        }
        for (int k = 0; k < 8; ++k) {
            QLineEdit* box = f.box(kBoxes[k]);
            EXPECT_EQ(!box->isHidden(), c.boxes[size_t(k)] != "-") << kBoxes[k];
            EXPECT_EQ(box->text().toStdString(), c.boxes[size_t(k)] == "-" ? "0" : c.boxes[size_t(k)]) << kBoxes[k];
        }
        EXPECT_FALSE(f.find<QLabel>("lblChunkID")->isHidden());
        EXPECT_EQ(f.find<QLabel>("lblChunkID")->text(), "Chunk ID:");
        EXPECT_FALSE(f.box("txtChunkId")->isHidden());
        EXPECT_EQ(f.text("txtChunkId").toStdString(), "Id" + c.letter);
        EXPECT_EQ(f.box("txtChunkId")->isEnabled(), c.idEnabled);
        EXPECT_EQ(!f.box("txtMexName")->isHidden(), c.name);
        if (c.name) {
            EXPECT_EQ(f.text("txtMexName"), "Point");
        }
        EXPECT_TRUE(f.button("cmdMexEditApply")->isEnabled());
        EXPECT_EQ(!f.button("cmdMexNormalise")->isHidden(), c.normalise);
        EXPECT_EQ(!f.button("cmdBBAutoCalc")->isHidden(), c.autoCalc);
        EXPECT_EQ(!f.button("picNavColour")->isHidden(), c.swatch);
        EXPECT_EQ(!f.find<QLabel>("lblNavColour")->isHidden(), c.swatch);
        if (c.swatch) {
            EXPECT_EQ(f.find<QLabel>("lblNavColour")->text(), "Navlight Colour:");
            // Each box rounded half to even, above 255 shown as 255.
            EXPECT_EQ(frmOptions::swatchColour(f.button("picNavColour")), 16 + 256 * 32 + 65536 * 255);
        }
        if (c.letter == "c" || c.letter == "g" || c.letter == "n") {
            f.window.show();
            QApplication::processEvents();  // the page's layout follows the shown and hidden fields
            saveScreenshotIfAsked(f.window, ("mex_data_page_" + c.letter).c_str());
        }
    }

    // A click on the root hides the page.
    f.click("Root");
    for (int k = 0; k <= 8; ++k) EXPECT_TRUE(f.find<QLabel>(QString("mexLabel_%1").arg(k))->isHidden()) << k;
    for (const char* name : kBoxes) EXPECT_TRUE(f.box(name)->isHidden()) << name;
    for (const char* name : {"txtChunkId", "txtMexName"}) EXPECT_TRUE(f.box(name)->isHidden()) << name;
    for (const char* name : {"cmdMexNormalise", "cmdBBAutoCalc", "picNavColour"})
        EXPECT_TRUE(f.button(name)->isHidden()) << name;
    EXPECT_TRUE(f.find<QLabel>("lblChunkID")->isHidden());
    EXPECT_TRUE(f.find<QLabel>("lblNavColour")->isHidden());
    EXPECT_TRUE(f.box("txtChunkId")->isEnabled());
    EXPECT_FALSE(f.button("cmdMexEditApply")->isEnabled());
    EXPECT_TRUE(f.s.t.errors.reports.empty());
}

// What the user types goes into the chunk at Apply; the node takes the new ID; letters in any box, hidden
// ones included, give the message and store nothing.
TEST(MexDataPage, TypedBoxesReachTheChunkThroughApply) {
    MexDataWindow f;
    const int i = f.s.add("d", "Dmg0", {1, 2, 3});
    f.click(i);
    f.type("txtChunkId", "Dmg7");
    f.type("txtMexPos_0", "-4.5");
    f.type("txtMexOrt_2", "-1");
    f.type("txtAngle_0", "30");
    EXPECT_EQ(f.page().txtChunkId.text, "Dmg7");
    EXPECT_EQ(f.page().txtMexPos[0].text, "-4.5");
    clickOn(f.button("cmdMexEditApply"));
    EXPECT_EQ(f.s.chunk(i).chunkId, "Dmg7");
    EXPECT_EQ(f.s.chunk(i).position, (Vector3{-4.5f, 2, 3}));
    EXPECT_EQ(f.s.chunk(i).normal, (Vector3{0, 0, -1}));
    EXPECT_EQ(f.s.chunk(i).coneAngle, 30);
    EXPECT_EQ(f.window.treeMex->itemForKey(mexChunkKey('d', i))->text(0), "Dmg7");
    EXPECT_EQ(f.s.colourOf(i), kWhite);

    const MexChunk before = f.s.chunk(i);
    for (const char* name : kBoxes) {
        SCOPED_TRACE(name);
        f.click(i);
        f.type(name, "abc");
        f.s.t.prompts.expectMessage("Invalid numeric input. Please check and re-enter.", "TARV");
        clickOn(f.button("cmdMexEditApply"));
        EXPECT_EQ(f.s.chunk(i), before);
    }
    // A collision sphere's hidden second box holds "0", which passes.
    const int c = f.s.add("c", "Col0", {1, 1, 1}, {}, 4);
    f.click(c);
    EXPECT_TRUE(f.box("txtMexPos_1")->isHidden());
    f.type("txtMexPos_2", "9");
    clickOn(f.button("cmdMexEditApply"));
    EXPECT_EQ(f.s.chunk(c).coneAngle, 9);
    EXPECT_EQ(f.s.t.prompts.pending(), 0u);
    EXPECT_EQ(f.s.t.prompts.shown.size(), 8u);
    EXPECT_TRUE(f.s.t.errors.reports.empty());
}

// Normalise, the swatch with the colour dialog and Zoom, each through its button.
TEST(MexDataPage, NormaliseSwatchAndZoomButtons) {
    MexDataWindow f;
    const int d = f.s.add("d", "Dmg0", {1, 2, 3});
    f.click(d);
    f.type("txtMexOrt_0", "3");
    f.type("txtMexOrt_1", "0");
    f.type("txtMexOrt_2", "4");
    clickOn(f.button("cmdMexNormalise"));
    EXPECT_EQ(f.text("txtMexOrt_0"), "0.6");
    EXPECT_EQ(f.text("txtMexOrt_1"), "0");
    EXPECT_EQ(f.text("txtMexOrt_2"), "0.8");
    EXPECT_EQ(f.s.chunk(d).normal, (Vector3{0, 0, 1}));  // the chunk changes only at Apply

    const int n = f.s.add("n", "Nav0", {}, {}, 15, 5, "Light");
    f.s.chunk(n).colour = {1.5f, 2.5f, 3};
    f.click(n);
    f.s.t.prompts.expectColour(0x00302010);
    clickOn(f.button("picNavColour"));
    EXPECT_EQ(f.s.t.prompts.shown.back().kind, "colour");
    EXPECT_EQ(f.text("txtMexOrt_0"), "16");
    EXPECT_EQ(f.text("txtMexOrt_1"), "32");
    EXPECT_EQ(f.text("txtMexOrt_2"), "48");
    EXPECT_EQ(frmOptions::swatchColour(f.button("picNavColour")), 0x00302010);

    f.click(n);  // boxes 1.5, 2.5, 3: the dialog starts from 2, 2, 3; Cancel keeps that colour
    f.s.t.prompts.expectColour(std::nullopt);
    clickOn(f.button("picNavColour"));
    EXPECT_EQ(f.text("txtMexOrt_0"), "2");
    EXPECT_EQ(f.text("txtMexOrt_1"), "2");
    EXPECT_EQ(f.text("txtMexOrt_2"), "3");
    EXPECT_EQ(frmOptions::swatchColour(f.button("picNavColour")), 2 + 256 * 2 + 65536 * 3);

    f.type("txtMexOrt_0", "-5");  // not a colour component: no dialog, nothing changes
    clickOn(f.button("picNavColour"));
    EXPECT_EQ(f.text("txtMexOrt_0"), "-5");
    EXPECT_EQ(frmOptions::swatchColour(f.button("picNavColour")), 2 + 256 * 2 + 65536 * 3);
    EXPECT_EQ(f.s.t.prompts.shown.size(), 2u);

    scene::FramePtr orbit = scene::createFrame();
    orbit->setPosition(nullptr, 100, 0, 0);
    f.s.ctx.view.zoomFrame = scene::createFrame(orbit);
    f.s.ctx.view.cameraFrame = scene::createFrame(f.s.ctx.view.zoomFrame);
    f.click("dRoot");
    clickOn(f.button("mexZoom"));
    EXPECT_EQ(f.s.ctx.view.cameraFrame->getPosition(orbit), (Vector3{0, 0, 0}));
    f.click(d);
    clickOn(f.button("mexZoom"));
    EXPECT_EQ(f.s.ctx.view.cameraFrame->getPosition(orbit), (Vector3{1, 2, 53}));
    EXPECT_TRUE(f.s.t.errors.reports.empty());
}

// Auto-calc on a bounding box stores object 0's box; on one of two collision spheres both take the
// sphere's centre and radius, and the selected one is applied from its page, the radius through its text.
TEST(MexDataPage, AutoCalcThroughThePage) {
    MexDataWindow f;
    const int r = f.s.add("r", "BBox", {9, 9, 9}, {1, 1, 1});
    f.click(r);
    clickOn(f.button("cmdBBAutoCalc"));
    EXPECT_EQ(f.s.chunk(r).position, (Vector3{-1, -1, -1}));
    EXPECT_EQ(f.s.chunk(r).normal, (Vector3{2, 2, 2}));
    EXPECT_EQ(f.text("txtMexPos_0"), "-1");
    EXPECT_EQ(f.text("txtMexOrt_2"), "2");

    const int c0 = f.s.add("c", "ColA", {5, 5, 5}, {}, 1);
    const int c1 = f.s.add("c", "ColB", {-5, -5, -5}, {}, 2);
    f.s.chunk(c0).level = 4;
    f.s.chunk(c1).level = 3;
    f.click(c1);
    clickOn(f.button("cmdBBAutoCalc"));
    const float radius = std::sqrt(3.0f);  // the farthest corner of the 2 x 2 x 2 box from its centre
    EXPECT_EQ(f.text("txtMexOrt_0"), "0");
    EXPECT_EQ(f.text("txtMexPos_2"), QString::fromStdString(floatText(radius)));
    // The other sphere: set directly.
    EXPECT_EQ(f.s.chunk(c0).chunkId, "Col0");
    EXPECT_EQ(f.s.chunk(c0).position, (Vector3{0, 0, 0}));
    EXPECT_EQ(f.s.chunk(c0).level, 1);
    EXPECT_EQ(f.s.chunk(c0).coneAngle, radius);
    // The selected sphere: its page applied, so the ID and level boxes as shown and the radius's text.
    EXPECT_EQ(f.s.chunk(c1).chunkId, "ColB");
    EXPECT_EQ(f.s.chunk(c1).position, (Vector3{0, 0, 0}));
    EXPECT_EQ(f.s.chunk(c1).level, 3);
    EXPECT_EQ(f.s.chunk(c1).coneAngle, std::stof(floatText(radius)));
    EXPECT_EQ(f.s.colourOf(c1), kWhite);

    // The selection moved to a damage point by the keyboard while the sphere's page shows: Auto-calc only
    // hides itself.
    const int d = f.s.add("d", "Dmg0", {1, 2, 3});
    f.click(c1);
    f.moveByKeys(mexChunkKey('d', d));
    const std::vector<MexChunk> before = f.s.ctx.mex.mexChunks;
    ASSERT_FALSE(f.button("cmdBBAutoCalc")->isHidden());
    clickOn(f.button("cmdBBAutoCalc"));
    EXPECT_TRUE(f.button("cmdBBAutoCalc")->isHidden());
    EXPECT_EQ(f.s.ctx.mex.mexChunks, before);
    EXPECT_TRUE(f.s.t.errors.reports.empty());
}

// Add/Clone applies the new chunk's page, so the clone's values pass through the boxes' float text.
TEST(MexDataPage, AddCloneRoundsThroughThePage) {
    MexDataWindow f;
    const int i = f.s.add("d", "Dmg0", {0.1234567891f, 2, 3});
    f.click(i);
    EXPECT_EQ(f.text("txtMexPos_0"), "0.1234568");
    clickTab(f.window.pageShipInfo->SSTab3, f.window.pageShipInfo->pageElements);  // where Add/Clone sits
    clickOn(f.window.findChild<QPushButton*>("cmdMexAdd"));
    ASSERT_EQ(f.s.ctx.mex.mexChunkCount(), 2);
    EXPECT_EQ(f.s.chunk(1).position.x, 0.1234568f);
    EXPECT_NE(f.s.chunk(1).position.x, 0.1234567891f);
    EXPECT_EQ(f.s.chunk(i).position.x, 0.1234567891f);
    EXPECT_EQ(f.text("txtMexPos_0"), "0.1234568");
    EXPECT_TRUE(f.s.t.errors.reports.empty());
}

// The page still shows a chunk after the tree's selection moved to the root or a group without a click
// (by the keyboard): Apply and Zoom then act on no chunk.
TEST(MexDataPage, ApplyAndZoomIgnoreTheRootAndGroups) {
    MexDataWindow f;
    const int i = f.s.add("d", "Dmg0", {1, 2, 3});
    f.s.ctx.view.zoomFrame = scene::createFrame();
    f.s.ctx.view.cameraFrame = scene::createFrame(f.s.ctx.view.zoomFrame);
    f.click(i);
    f.type("txtMexPos_0", "7");
    const MexChunk before = f.s.chunk(i);
    const scene::MeshPtr mesh = f.s.marker(i).mesh;
    for (const char* key : {"Root", "dRoot", "gRoot"}) {
        SCOPED_TRACE(key);
        f.moveByKeys(key);
        ASSERT_EQ(f.s.ctx.mex.treeMex.selectedKey(), key);
        ASSERT_TRUE(f.button("cmdMexEditApply")->isEnabled());
        clickOn(f.button("cmdMexEditApply"));
        clickOn(f.button("mexZoom"));
        EXPECT_EQ(f.s.chunk(i), before);
        EXPECT_EQ(f.s.marker(i).mesh, mesh);
        EXPECT_EQ(f.s.ctx.view.cameraFrame->getPosition(nullptr), (Vector3{0, 0, 0}));
    }
    EXPECT_TRUE(f.s.t.errors.reports.empty());
    EXPECT_TRUE(f.s.t.prompts.shown.empty());
}

}  // namespace
