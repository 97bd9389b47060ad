#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <QTest>

#include "../model/PeoFixture.h"
#include "Screenshot.h"
#include "WindowFixture.h"
#include "meshtools/state/ToolsPageState.h"
#include "objects/ObjectLinks.h"

using namespace tarv;
using tarv::test::WindowFixture;
using tarv::test::clickOn;
namespace test = tarv::test;

namespace {

// The object "Hull" whose first vertex stands at (1, 2, 3); only the .peo is scaled.
struct ScaleRotateFrames : ::testing::Test, WindowFixture {
    ScaleRotateFrames() {
        t.preferencesStore.setKeyValue("LogLevel", "0");
        test::FxFile file;
        file.publicMaterials = {test::FxMaterial{}};
        file.objects = {test::squareObject("Hull")};
        file.objects[0].vertices[0] = {1, 2, 3, 0};
        openShip(test::buildPeo(file).data());
        test::clickTab(window.SSTab1, window.pageTools);
        for (const char* box : {"chkScaleMEX", "chkScaleMAD"}) {
            auto* tick = find<QCheckBox>(box);
            if (tick->isChecked()) QTest::mouseClick(tick, Qt::LeftButton, {}, QPoint(4, tick->height() / 2));
            EXPECT_FALSE(tick->isChecked()) << box;
        }
    }
};

TEST_F(ScaleRotateFrames, TheFramesCarryTheirCaptions) {
    EXPECT_EQ(find<QGroupBox>("fraScaling")->title(), "Scaling Options");
    EXPECT_EQ(find<QGroupBox>("fraRotation")->title(), "Rotation Options");
    EXPECT_EQ(find<QPushButton>("cmdScalePeo")->text(), "Scale");
    EXPECT_EQ(find<QPushButton>("cmdRotate")->text(), "Rotate");
    EXPECT_EQ(find<QCheckBox>("chkScaleMAD")->text(), "MAD");
    EXPECT_EQ(find<QRadioButton>("rotateOption_2")->text(), "Z ");
    window.resize(900, 700);
    window.show();
    test::clickTab(window.SSTab1, window.pageTools);
    tarv::test::saveScreenshotIfAsked(window, "tools_page");
}

TEST_F(ScaleRotateFrames, ScaleAndRotateButtonsRunTheCommandsOnTheModel) {
    test::chooseWithKeys(find<QComboBox>("cmbObjectSize"), 6);  // "Custom"
    auto* amount = find<QLineEdit>("txtScaleAmount");
    ASSERT_TRUE(amount->isEnabled());
    test::typeInto(amount, "200");
    t.prompts.expectMessage("Scaling complete.");
    clickOn(find<QPushButton>("cmdScalePeo"));
    EXPECT_EQ(t.ctx.model.peoObjects[0].vertices[0], (PeoVertex{2, 4, 6, 0, 0}));

    test::clickTab(window.SSTab1, window.pageTools);  // a scale shows the first page
    clickOn(find<QRadioButton>("rotateOption_1"));
    test::chooseWithKeys(find<QComboBox>("cmbRotateAmount"), 1);  // "180"
    clickOn(find<QPushButton>("cmdRotate"));
    EXPECT_EQ(t.ctx.model.peoObjects[0].vertices[0], (PeoVertex{-2, 4, 6, 0, 0}));
    EXPECT_TRUE(t.errors.reports.empty());
}

}  // namespace
