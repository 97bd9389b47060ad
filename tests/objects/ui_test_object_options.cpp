// The "Object Options" frame in the main window: its five buttons, and Clone reaching the model and the tree.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QPushButton>
#include <QTest>

#include "../model/PeoFixture.h"
#include "../objects/ObjectFixtures.h"
#include "WindowFixture.h"
#include "Screenshot.h"
#include "app/EditorStart.h"
#include "editor/context/EditingContext.h"
#include "objects/ObjectLinks.h"
#include "objects/ObjectTree.h"
#include "shell/KeyedTreeWidget.h"
#include "shell/frmTARV.h"

using namespace tarv;
using namespace tarv::test;

TEST(ObjectOptions, TheFiveButtonsSitInFrame4AndCloneCopiesTheSelectedObject) {
    // base, Hull a child of base and Gun1 a child of Hull.
    WindowFixture f;
    frmTARV& window = f.window;
    TestContext& t = f.t;
    t.preferencesStore.setKeyValue("CreateGunChunkOnClone", "0");
    FxFile file;
    file.publicMaterials = {FxMaterial{}};
    for (const char* name : {"base", "Hull", "Gun1"}) file.objects.push_back(squareObject(name));
    file.objects[1].mother = 68;        // base's record
    file.objects[2].mother = 68 + 112;  // Hull's
    window.resize(1100, 800);
    f.openShip(buildPeo(file).data());

    auto* frame = window.findChild<QGroupBox*>("Frame4");
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->title(), "Object Options");
    const std::pair<const char*, const char*> buttons[] = {{"cmdCloneObject", "Clone"},
                                                           {"cmdYZmirror", "mirror X"},
                                                           {"cmdXZmirror", "mirror Y"},
                                                           {"cmdXYmirror", "mirror Z"},
                                                           {"cmdDeleteObject", "Delete"}};
    for (const auto& [name, caption] : buttons) {
        auto* button = frame->findChild<QPushButton*>(name);
        ASSERT_NE(button, nullptr) << name;
        EXPECT_EQ(button->text(), caption);
        EXPECT_TRUE(button->isEnabled());
    }

    clickObjectNode(window, "o1");
    clickOn(frame->findChild<QPushButton*>("cmdCloneObject"));
    EXPECT_EQ(t.ctx.model.objectCount(), 5);
    EXPECT_EQ(t.ctx.model.peoObjects[3].name, "Hull2");
    EXPECT_EQ(t.ctx.model.peoObjects[4].name, "Gun2");
    ASSERT_NE(window.treeHeirachy->itemForKey("o4"), nullptr);
    EXPECT_EQ(window.treeHeirachy->itemForKey("o4")->text(0), "Gun2");
    EXPECT_TRUE(frame->findChild<QPushButton*>("cmdCloneObject")->isEnabled());
    EXPECT_TRUE(t.errors.reports.empty());
    test::clickTab(window.SSTab1, window.pageObjects);
    test::clickTab(window.pageObjects->SSTab2, window.pageObjects->pageHeirachy);
    saveScreenshotIfAsked(window, "object_options");
}
