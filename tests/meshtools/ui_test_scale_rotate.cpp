#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include "Screenshot.h"
#include "WindowFixture.h"
#include "meshtools/state/ToolsPageState.h"
#include "objects/ObjectLinks.h"

using namespace tarv;
using tarv::test::WindowFixture;

namespace {

struct ScaleRotateFrames : ::testing::Test, WindowFixture {
    ScaleRotateFrames() {
        t.ctx.version.appTitle = "TARV";
        t.ctx.prefs.logLevel = 0;
        PeoObject o;
        o.name = "Hull";
        o.matrix = Matrix4::identity();
        o.vertices = {PeoVertex{1, 2, 3, 0, 0}};
        t.ctx.model.peoObjects.push_back(o);
        ToolsPageState& tools = *t.ctx.toolsPage;
        tools.cmbObjectSize.items = {"Fighter", "Corvette", "Frigate", "Destroyer", "Cruiser", "Mothership", "Custom"};
        tools.cmbRotateAmount.items = {"90", "180"};
        tools.cmbRotateAmount.listIndex = 0;
        tools.chkScalePEO = true;
        window.syncFromContext();
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
    window.SSTab1->setCurrentWidget(window.pageTools);
    tarv::test::saveScreenshotIfAsked(window, "tools_page");
}

TEST_F(ScaleRotateFrames, ScaleAndRotateButtonsRunTheCommandsOnTheModel) {
    find<QComboBox>("cmbObjectSize")->setCurrentIndex(6);  // "Custom"
    auto* amount = find<QLineEdit>("txtScaleAmount");
    ASSERT_TRUE(amount->isEnabled());
    amount->clear();
    amount->setText("200");
    emit amount->textEdited("200");
    t.prompts.expectMessage("Scaling complete.");
    find<QPushButton>("cmdScalePeo")->click();
    EXPECT_EQ(t.ctx.model.peoObjects[0].vertices[0], (PeoVertex{2, 4, 6, 0, 0}));

    find<QRadioButton>("rotateOption_1")->click();
    find<QComboBox>("cmbRotateAmount")->setCurrentIndex(1);  // "180"
    find<QPushButton>("cmdRotate")->click();
    EXPECT_EQ(t.ctx.model.peoObjects[0].vertices[0], (PeoVertex{-2, 4, 6, 0, 0}));
    EXPECT_TRUE(t.errors.reports.empty());
}

}  // namespace
