// The sample ship in the running editor: its animation "Sweep" is listed, plays in the 3D preview and stops
// on "Stop"; the Keyframes tab shows the turret's keys. Pictures of both pages when TARV_SCREENSHOTS is set.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <filesystem>

#include "Fakes.h"
#include "Screenshot.h"
#include "TempDir.h"
#include "WindowFixture.h"
#include "animation/state/AnimationsPageState.h"
#include "app/EditorStart.h"
#include "editor/context/EditingContext.h"
#include "objects/ObjectTree.h"
#include "preview/PreviewCamera.h"
#include "shell/frmTARV.h"

namespace tarv::test {
namespace fs = std::filesystem;

namespace {

bool samePose(const scene::Transform& a, const scene::Transform& b) {
    for (size_t i = 0; i < 3; ++i)
        for (size_t j = 0; j < 3; ++j)
            if (std::abs(a.m[i][j] - b.m[i][j]) > 1e-5) return false;
    return std::abs(a.t.x - b.t.x) < 1e-5 && std::abs(a.t.y - b.t.y) < 1e-5 && std::abs(a.t.z - b.t.z) < 1e-5;
}

}  // namespace

TEST(PlaybackSample, TheSampleShipsAnimationPlaysInThePreviewAndStops) {
    TempDir dir;
    const fs::path ship = dir / "ship";
    fs::create_directories(ship);
    for (const auto& entry : fs::directory_iterator(TARV_SOURCE_SAMPLES))
        if (entry.is_regular_file()) fs::copy_file(entry.path(), ship / entry.path().filename());
    fs::create_directories(dir / "data");
    TestContext t(dir / "data");
    t.preferencesStore.setKeyValue("AlwaysShowBackup", "0");
    auto window = startEditor(t.ctx, (ship / "Tarvlet.shp").string());
    window->resize(1200, 800);
    window->show();
    QApplication::processEvents();
    EditingContext& ctx = t.ctx;

    auto* list = window->findChild<QListWidget*>("lstAnimations");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), "Sweep");
    int turret = -1;
    for (int i = 0; i < ctx.model.objectCount(); ++i)
        if (ctx.model.peoObjects[size_t(i)].name == "Turret") turret = i;
    ASSERT_GE(turret, 0);
    ASSERT_GE(ctx.model.peoObjects[size_t(turret)].madObjectIndex, 0);
    const scene::Transform rest = ctx.view.viewObjects[size_t(turret)].frame->localTransform();

    clickTab(window->SSTab1, window->pageAnimations);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    auto* play = window->findChild<QPushButton*>("cmdPlayAnimation");
    clickOn(play);
    EXPECT_EQ(play->text(), "Stop");
    t.clock.advance(1.0);
    QTest::qWait(20);  // the window's frame timer ticks
    EXPECT_FALSE(samePose(ctx.view.viewObjects[size_t(turret)].frame->localTransform(), rest))
        << "the turret turns half a radian at one second";
    saveScreenshotIfAsked(*window, "playback_sample_playing");

    clickOn(play);
    EXPECT_EQ(play->text(), "Play");
    EXPECT_EQ(ctx.preview.playback.isPlaying, 0);
    clickOn(window->findChild<QPushButton*>("cmdResetAllObjects"));
    EXPECT_TRUE(samePose(ctx.view.viewObjects[size_t(turret)].frame->localTransform(), rest));

    // The Keyframes tab for the turret: its three keys of "Sweep", the first shown.
    clickObjectNode(*window, "o" + std::to_string(turret));
    clickTab(window->pageObjects->SSTab2, window->pageObjects->SSTab2->widget(2));
    QApplication::processEvents();
    EXPECT_EQ(window->findChild<QGroupBox*>("frmKeyframeInfo")->title(), "Keyframe Information: 3 found");
    saveScreenshotIfAsked(*window, "playback_sample_keyframes");
}

}  // namespace tarv::test
