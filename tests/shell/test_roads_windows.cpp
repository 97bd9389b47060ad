// The main window's start-up, exit and load commands, the input held back during a load, and the Options
// dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QTest>
#include <filesystem>

#include "Fakes.h"
#include "RoadHooks.h"
#include "SampleShip.h"
#include "Screenshot.h"
#include "TempDir.h"
#include "WindowFixture.h"
#include "../model/PeoFixture.h"
#include "model/LogFiles.h"
#include "model/PreferencesStore.h"
#include "editor/LoadRoad.h"
#include "app/EditorStart.h"
#include "shell/ShellDialogs.h"
#include "shell/frmOptions.h"
#include "shell/frmTARV.h"
#include <QListWidget>
#include "meshtools/ui/LodFrame.h"
#include "meshtools/state/ToolsPageState.h"
#include "preview/PreviewScene.h"
#include "scene/Scene.h"
#include "editor/context/EditingContext.h"

using namespace tarv;
using namespace tarv::test;
namespace fs = std::filesystem;

namespace {

struct Started {
    TempDir dir;
    TestContext t{dir.path() / "data"};
    fs::path ship = dir.path() / "ship";
    WatchedRoadSteps steps{t.ctx};
    std::unique_ptr<frmTARV> window;
    std::unique_ptr<RoadWindowWatch> roadWindow;  // counts the ends of the program

    explicit Started(const std::string& commandLine = {}, bool withSample = true) {
        fs::create_directories(dir.path() / "data");
        if (withSample) samples::writeSampleShip(ship);
        t.preferencesStore.setKeyValue("AlwaysShowBackup", "0");
        window = std::make_unique<frmTARV>(t.ctx);
        roadWindow = std::make_unique<RoadWindowWatch>(t.ctx);
        installSubsystems(*window);
        t.ctx.services.status = window.get();
        t.ctx.services.errorReport = &t.errors;
        window->Form_Load(commandLine);
    }
    ~Started() {
        roadWindow.reset();
        window.reset();
        t.ctx.services.status = &t.status;
    }
    std::string at(const std::string& name) const { return (ship / name).string(); }
    template <class T>
    T* find(const char* name) {
        T* found = window->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
};

void whenOpen(std::function<void()> fn) { QTimer::singleShot(0, std::move(fn)); }

}  // namespace

TEST(StartUp, CaptionsAreTheirOwnWithNothingAppended) {
    TempDir dir;
    TestContext t(dir.path());
    frmTARV window(t.ctx);
    installSubsystems(window);
    t.ctx.services.status = &window;
    window.Form_Load("");
    // With a display name set, the desktop appends it to every window's caption.
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
    frmError report(t.ctx, &window);
    frmAbout about(t.ctx, &window);
    const std::string& title = t.ctx.version.appTitle;
    const std::pair<const char*, std::string> captions[] = {
        {"frmTARV", title},
        {"frmOptions", title + " options"},
        {"frmError", "An Error has occured!"},
        {"frmAbout", "About TARV"},
    };
    for (const auto& [name, caption] : captions) {
        QWidget* w = window.objectName() == name ? &window : window.findChild<QWidget*>(name);
        ASSERT_NE(w, nullptr) << name;
        EXPECT_EQ(w->windowTitle().toStdString(), caption) << name;
    }
}

TEST(StartUp, AnEmptyCommandLineStartsWithCommandsAndPagesDisabled) {
    TempDir dir;
    writeText(dir / "tarv.log", "a log of an earlier run\r\n");
    TestContext t(dir.path());
    frmTARV window(t.ctx);
    installSubsystems(window);
    t.ctx.services.status = &window;
    window.Form_Load("");
    // The old start-up log went before the new header.
    EXPECT_EQ(readText(dir / "tarv.log").find("earlier run"), std::string::npos);
    EXPECT_NE(readText(dir / "tarv.log").find("TARV log opened: "), std::string::npos);
    EXPECT_FALSE(window.mnuFileSave->menuAction()->isEnabled());
    EXPECT_FALSE(window.mnuFileSaveAs->isEnabled());
    EXPECT_FALSE(window.mnuReload->isEnabled());
    EXPECT_FALSE(window.mnuBUC->isEnabled());
    EXPECT_FALSE(window.mnuRevBU->isEnabled());
    EXPECT_TRUE(window.mnuToolsRepair->isEnabled());  // the mesh tools' repair window
    EXPECT_TRUE(window.SSTab1->isTabEnabled(0));
    for (int i = 1; i < window.SSTab1->count(); ++i) EXPECT_FALSE(window.SSTab1->isTabEnabled(i)) << i;
    EXPECT_FALSE(window.pageObjects->SSTab2->isTabEnabled(2));
    EXPECT_FALSE(window.pageShipInfo->SSTab3->isTabEnabled(2));
    EXPECT_FALSE(window.findChild<QPushButton*>("cmdAddToLod")->isEnabled());
    EXPECT_FALSE(window.findChild<QPushButton*>("cmdMultiFile")->isEnabled());
    EXPECT_TRUE(window.mnuSaveTypeHW->isChecked());
    EXPECT_EQ(window.windowTitle().toStdString(), t.ctx.version.appTitle);
    EXPECT_EQ(window.Timer1->interval(), 1);
    QTreeWidget* textures = window.pageTextures->lstTextures;
    EXPECT_EQ(textures->columnWidth(0), 113);
    EXPECT_EQ(textures->columnWidth(1), 43);
    EXPECT_EQ(textures->selectionBehavior(), QAbstractItemView::SelectRows);
    const auto named = [&window](const char* name) { return window.findChild<QWidget*>(name); };
    const auto combo = [&window](const char* name) { return window.findChild<QComboBox*>(name); };
    const auto ticked = [&window](const char* name) { return window.findChild<QAbstractButton*>(name)->isChecked(); };
    EXPECT_EQ(combo("cmbObjectSize")->currentText(), "Fighter");
    EXPECT_EQ(window.findChild<QLineEdit*>("txtScaleAmount")->text(), "6000");
    EXPECT_TRUE(ticked("chkScalePEO") && ticked("chkScaleMEX") && ticked("chkScaleMAD"));
    EXPECT_EQ(combo("cmbApplyKeyframeType")->currentText(), "Current keyframe only");
    EXPECT_EQ(combo("cmbRotateAmount")->currentText(), "90");
    EXPECT_TRUE(ticked("rotateOption_0"));
    EXPECT_EQ(combo("cmbShpGunType")->count(), 4);
    EXPECT_EQ(combo("cmbShpGunType")->currentIndex(), -1);
    EXPECT_TRUE(named("mexLabel_0")->isHidden());
    // The Options dialog is loaded, hidden, and shows the preferences' colours.
    ASSERT_NE(window.optionsWindow, nullptr);
    EXPECT_FALSE(window.optionsWindow->isVisible());
    EXPECT_EQ(frmOptions::swatchColour(window.optionsWindow->picSelectColour), 255);
    t.ctx.services.status = &t.status;
}

TEST(StartUp, DefaultFileFormat1280TicksTheCataclysmVariant) {
    TempDir dir;
    TestContext t(dir.path());
    t.preferencesStore.setKeyValue("DefaultFileFormat", "1280");
    frmTARV window(t.ctx);
    installSubsystems(window);
    window.Form_Load("");
    EXPECT_TRUE(window.mnuSaveTypeHWC->isChecked());
    EXPECT_FALSE(window.mnuSaveTypeHW->isChecked());
}

TEST(StartUp, TheCommandLineIsOpenedLastAndItsLogCountsAtExit) {
    TempDir dir;
    fs::path ship = dir.path() / "ship";
    samples::writeSampleShip(ship);
    Started s((ship / "Tarvlet.shp").string(), false);
    EXPECT_EQ(s.window->lblStatus->text(), "Ship loaded");
    EXPECT_EQ(s.window->statusPanels[0]->text().toStdString(), (ship / "Tarvlet.peo").string());
    for (int i = 1; i < s.window->SSTab1->count(); ++i) EXPECT_TRUE(s.window->SSTab1->isTabEnabled(i));
    EXPECT_TRUE(s.window->mnuReload->isEnabled());
    EXPECT_TRUE(s.window->mnuFileSaveSHP->isEnabled());
    EXPECT_EQ(s.find<QLabel>("lblLodPath")->text().toStdString(), (ship / "").string());
    EXPECT_EQ(s.find<QListWidget>("lstLodFiles")->count(), 1);
    EXPECT_EQ(s.find<QListWidget>("lstMaterial")->count(), 3);
    EXPECT_EQ(s.find<QListWidget>("lstAnimations")->count(), 1);
    EXPECT_EQ(s.window->treeHeirachy->topLevelItemCount(), 1);
    saveScreenshotIfAsked(*s.window, "roads_sample_loaded");

    // The error report's End takes the exit road, with the log-files question.
    s.t.prompts.expectYesNo(false, "TARV has generated 1 logfiles. Do you want to keep them?");
    whenOpen([&] { clickOn(s.window->errorWindow->cmdEndTARV); });
    s.window->errorWindow->show(
        ErrorReportInfo{5, "TARV", "Invalid procedure call or argument", "frmTARV", "x", "", ""});
    EXPECT_EQ(s.roadWindow->ends, 1);
    EXPECT_FALSE(fs::exists(ship / "Tarvlet.log"));
}

TEST(LoadCommands, AClickDuringALoadIsHandledOnlyAfterIt) {
    Started s;
    auto* probe = new QPushButton("probe", s.window->pageGeneral);
    probe->setObjectName("probe");
    probe->show();
    int clicks = 0;
    bool clickedDuringLoad = false;
    QObject::connect(probe, &QPushButton::clicked, [&] { ++clicks; });
    s.steps.onCreate3dObject = [&](EditingContext& ctx, int objNo) {
        if (objNo == 0) {
            const QPointF at(5, 5);
            QCoreApplication::postEvent(probe, new QMouseEvent(QEvent::MouseButtonPress, at, probe->mapToGlobal(at),
                                                               Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
            QCoreApplication::postEvent(probe, new QMouseEvent(QEvent::MouseButtonRelease, at, probe->mapToGlobal(at),
                                                               Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
        }
        ctx.status().processEvents();
        clickedDuringLoad = clickedDuringLoad || clicks > 0;
    };
    s.window->loadThisFile(s.at("Tarvlet.peo"));
    EXPECT_FALSE(clickedDuringLoad);
    EXPECT_EQ(s.window->lblStatus->text(), "Ship loaded");
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(clicks, 1);
}

TEST(LoadCommands, ACloseRequestDuringALoadWaitsForItsEnd) {
    Started s;
    bool endedDuringLoad = false;
    s.steps.onShowAxes = [&](EditingContext&) {
        s.window->close();
        endedDuringLoad = s.roadWindow->ends > 0;
    };
    s.t.prompts.expectYesNo(true);
    s.window->loadThisFile(s.at("Tarvlet.peo"));
    EXPECT_FALSE(endedDuringLoad);
    EXPECT_EQ(s.roadWindow->ends, 1);
    EXPECT_EQ(s.t.ctx.model.objectCount(), 4);
}

TEST(LoadCommands, TheMexAndMadPanelsShowTheFilesOfTheModelNowLoaded) {
    Started s;
    const auto panel = [&](int i) { return s.window->statusPanels[size_t(i - 1)]->text().toStdString(); };
    s.window->loadThisFile(s.at("Tarvlet.peo"));
    EXPECT_EQ(panel(3), "MEX");
    EXPECT_EQ(panel(4), "MAD");

    // The same model alone in its folder: no .mex, no .mad.
    const fs::path bare = s.dir.path() / "bare";
    fs::create_directories(bare);
    fs::copy_file(s.ship / "Tarvlet.peo", bare / "Tarvlet.peo");
    s.window->loadThisFile((bare / "Tarvlet.peo").string());
    EXPECT_EQ(panel(3), "");
    EXPECT_EQ(panel(4), "");
    EXPECT_TRUE(s.t.errors.reports.empty());

    // A .mad that is opened but cannot be read still shows that it was opened.
    writeText(bare / "Tarvlet.mad", "MAD");
    s.window->loadThisFile((bare / "Tarvlet.peo").string());
    EXPECT_EQ(panel(4), "MAD");
    EXPECT_EQ(s.t.errors.reports.size(), 1u);
}

TEST(LoadCommands, OpenAndRecentFilesGoThroughTheMenu) {
    Started s;
    s.t.prompts.expectOpen(FileDialogChoice{s.at("Tarvlet.peo"), 1});
    s.window->mnuFileOpen->trigger();
    EXPECT_EQ(s.window->lblStatus->text(), "Ship loaded");
    s.t.prompts.expectOpen(FileDialogChoice{s.at("Tarvlet.shp"), 2});
    s.window->mnuFileOpen->trigger();
    ASSERT_TRUE(s.window->mnuRecentFile[2]->isVisible());
    EXPECT_EQ(s.window->mnuRecentFile[2]->data().toString().toStdString(), s.at("Tarvlet.peo"));
    s.window->mnuRecentFile[2]->trigger();
    EXPECT_EQ(s.t.ctx.currentModelPath, s.at("Tarvlet.peo"));
    EXPECT_EQ(s.find<QListWidget>("lstLodFiles")->count(), 0);
    EXPECT_FALSE(s.window->mnuFileSaveSHP->isEnabled());
}

// ------------------------------------------------------------------------------------------- Options

namespace {

struct OptionsFixture {
    TempDir dir;
    TestContext t{dir.path()};
    std::unique_ptr<frmOptions> dialog;
    using Stored = std::vector<std::pair<std::string, std::string>>;
    explicit OptionsFixture(const Stored& stored = Stored{}) {
        for (const auto& [name, value] : stored) t.preferencesStore.setKeyValue(name, value);
        dialog = std::make_unique<frmOptions>(t.ctx);
        readPreferences(t.ctx);
        InitialiseComponents(t.ctx);
    }
    void show() {
        dialog->show();
        QApplication::processEvents();
    }
};

}  // namespace

TEST(frmOptions, TheFirstShowingAfterTheDefaults) {
    OptionsFixture f;
    f.dialog->SSTab1->setCurrentIndex(3);
    f.show();
    frmOptions& d = *f.dialog;
    EXPECT_EQ(d.windowTitle().toStdString(), f.t.ctx.version.appTitle + " options");
    EXPECT_EQ(d.SSTab1->currentIndex(), 0);
    EXPECT_EQ(d.SSTab1->tabText(4), "Advanced");
    EXPECT_EQ(d.cmbFileType->currentText(), "PEO");
    EXPECT_EQ(d.cmbMouseControl->currentText(), "3dex");
    EXPECT_EQ(d.lblWarning->text(), "");
    EXPECT_EQ(d.cmbBackgroundColour->currentText(), "Black");
    EXPECT_TRUE(d.chkAlwaysShowBackup->isChecked());
    EXPECT_FALSE(d.chkCustomDirectory->isChecked());
    EXPECT_FALSE(d.txtCustomStartDir->isEnabled());
    EXPECT_EQ(d.txtCustomStartDir->text(), "");
    EXPECT_TRUE(d.chkObjectSharing->isChecked());
    EXPECT_TRUE(d.optLogging[1]->isChecked());
    EXPECT_EQ(frmOptions::swatchColour(d.picTeam0), 0 + 256 * 128 + 65536 * 255);
    EXPECT_EQ(frmOptions::swatchColour(d.picTeam1), 65536 * 160);
    EXPECT_EQ(frmOptions::swatchColour(d.picSelectColour), 255);
    EXPECT_EQ(d.cmbNavLightSize->currentText(), "3");
    EXPECT_TRUE(d.chkCreateGunChunkOnClone->isChecked());
    EXPECT_TRUE(d.chkVNs->isChecked());
    EXPECT_FALSE(d.chkDuplicateMaterials->isChecked());
    EXPECT_FALSE(d.chkShowMexObjects->isEnabled());
    EXPECT_FALSE(d.chkShowVisibleFaceNorms->isEnabled() || d.chkShowVisibleFaceNorms->isChecked());
    EXPECT_EQ(d.Label1->text(), QString("Base/Team0 colour") + QString(35, ' ') + "Stripe/Team1 colour");
    saveScreenshotIfAsked(d, "options_general");
}

TEST(frmOptions, GreyIsStoredAppliedAndKeptOverARestart) {
    OptionsFixture f;
    f.show();
    chooseWithKeys(f.dialog->cmbBackgroundColour, 1);
    EXPECT_EQ(f.t.ctx.view.sceneFrame->sceneBackground(), 127 + 256 * 127 + 65536 * 127);
    clickOn(f.dialog->cmdOK);
    EXPECT_EQ(f.t.preferencesStore.getKeyValue("RenderBackground"), "2");

    TestContext next(f.dir.path());
    next.ctx.services.preferencesStore = &f.t.preferencesStore;
    frmOptions dialog(next.ctx);
    readPreferences(next.ctx);
    InitialiseComponents(next.ctx);
    EXPECT_EQ(next.ctx.view.sceneFrame->sceneBackground(), 127 + 256 * 127 + 65536 * 127);
    dialog.show();
    EXPECT_EQ(dialog.cmbBackgroundColour->currentText(), "Grey");
}

TEST(frmOptions, DuplicateMaterialsAreStoredAsOne) {
    OptionsFixture f;
    f.show();
    clickTab(f.dialog->SSTab1, f.dialog->SSTab1->widget(4));  // "Advanced"
    ASSERT_FALSE(f.dialog->chkDuplicateMaterials->isChecked());
    clickOn(f.dialog->chkDuplicateMaterials);
    clickOn(f.dialog->cmdOK);
    EXPECT_EQ(f.t.preferencesStore.getKeyValue("DuplicateMaterials"), "1");
    OptionsFixture again(OptionsFixture::Stored{{"DuplicateMaterials", "1"}});
    again.show();
    EXPECT_TRUE(again.dialog->chkDuplicateMaterials->isChecked());
    clickOn(again.dialog->cmdOK);
    EXPECT_EQ(again.t.preferencesStore.getKeyValue("DuplicateMaterials"), "1");
}

TEST(frmOptions, ChoosingHWShowsTheWarning) {
    OptionsFixture f;
    f.show();
    chooseWithKeys(f.dialog->cmbMouseControl, 1);
    EXPECT_EQ(f.dialog->lblWarning->text(), "Warning, this control system disables viewport panning.");
    chooseWithKeys(f.dialog->cmbMouseControl, 0);
    EXPECT_EQ(f.dialog->lblWarning->text(), "");
}

TEST(frmOptions, ColourPickers) {
    OptionsFixture f;
    f.show();
    frmOptions& d = *f.dialog;
    clickTab(d.SSTab1, d.SSTab1->widget(2));  // "Textures"
    // Cancel changes nothing.
    f.t.prompts.expectColour(std::nullopt);
    clickOn(d.picSelectColour);
    EXPECT_EQ(frmOptions::swatchColour(d.picSelectColour), 255);
    EXPECT_EQ(f.t.ctx.prefs.highlightColour, (RgbColour{255, 0, 0, 0}));
    // With no object selected only the swatch and the global change.
    f.t.prompts.expectColour(128);
    clickOn(d.picSelectColour);
    EXPECT_EQ(frmOptions::swatchColour(d.picSelectColour), 128);
    EXPECT_EQ(f.t.ctx.prefs.highlightColour, (RgbColour{128, 0, 0, 0}));
    // The selected object takes the colour at once, on the scene's 0..1 scale.
    f.t.ctx.model.modelLoaded = true;
    f.t.ctx.objects.selectedObject = 0;
    f.t.ctx.view.viewObjects.resize(1);
    auto mesh = scene::createMeshBuilder();
    auto face = scene::createFace();
    face->addVertex(0, 0, 0);
    face->addVertex(1, 0, 0);
    face->addVertex(0, 1, 0);
    mesh->addFace(face);
    f.t.ctx.view.viewObjects[0].mesh = mesh;
    f.t.prompts.expectColour(128);
    clickOn(d.picSelectColour);
    EXPECT_EQ(scene::redOf(face->color()), 128);
    EXPECT_EQ(scene::greenOf(face->color()), 0);
    // A team colour picked and then Cancel: kept for the run, not stored; the next OK stores it.
    f.t.prompts.expectColour(65536 * 200);
    clickOn(d.picTeam0);
    clickOn(d.cmdCancel);
    EXPECT_EQ(f.t.ctx.prefs.playerBaseColor, (RgbColour{0, 0, 200, 0}));
    EXPECT_EQ(f.t.preferencesStore.getKeyValue("PlayerBaseColor"), "0 128 255");
    f.show();
    clickOn(d.cmdOK);
    EXPECT_EQ(f.t.preferencesStore.getKeyValue("PlayerBaseColor"), "0 0 200");
}

TEST(frmOptions, NavLightSizesZeroAndOne) {
    OptionsFixture zero(OptionsFixture::Stored{{"NavLightSize", "0"}});
    zero.show();
    EXPECT_EQ(zero.dialog->cmbNavLightSize->currentText(), "2");
    EXPECT_EQ(zero.t.ctx.prefs.navLightSize, 2);
    OptionsFixture one(OptionsFixture::Stored{{"NavLightSize", "1"}});
    one.show();
    EXPECT_EQ(one.dialog->cmbNavLightSize->currentIndex(), -1);
}

TEST(frmOptions, StoredValuesNoControlOffersShowNoChoiceAndOKKeepsThem) {
    OptionsFixture f(OptionsFixture::Stored{
        {"LogLevel", "7"}, {"NavLightSize", "60"}, {"MouseControl", "5"}, {"RenderBackground", "9"}});
    f.show();
    frmOptions& d = *f.dialog;
    for (auto* option : d.optLogging) EXPECT_FALSE(option->isChecked());
    EXPECT_EQ(d.cmbNavLightSize->currentIndex(), -1);
    EXPECT_EQ(d.cmbMouseControl->currentIndex(), -1);
    EXPECT_EQ(d.cmbBackgroundColour->currentIndex(), -1);
    clickOn(d.cmdOK);
    EXPECT_EQ(f.t.preferencesStore.getKeyValue("LogLevel"), "7");
    EXPECT_EQ(f.t.preferencesStore.getKeyValue("NavLightSize"), "60");
    EXPECT_EQ(f.t.preferencesStore.getKeyValue("MouseControl"), "5");
    EXPECT_EQ(f.t.preferencesStore.getKeyValue("RenderBackground"), "9");
    // A value the user picks is stored.
    f.show();
    clickTab(d.SSTab1, d.SSTab1->widget(1));  // "Logging"
    clickOn(d.optLogging[2]);
    clickOn(d.cmdOK);
    EXPECT_EQ(f.t.preferencesStore.getKeyValue("LogLevel"), "2");
}

TEST(frmOptions, ViewLogShowsTheStartUpLogBeforeALoad) {
    OptionsFixture f;
    f.show();
    clickTab(f.dialog->SSTab1, f.dialog->SSTab1->widget(1));  // "Logging"
    clickOn(f.dialog->cmdViewLog);
    ASSERT_EQ(f.t.textViewer.opened.size(), 1u);
    EXPECT_EQ(f.t.textViewer.opened[0], startupLogPath(f.t.ctx));
    f.t.ctx.log.logFilePath = "/models/ship.log";
    f.t.textViewer.succeed = false;
    f.t.prompts.expectMessage("No text editor found!\r\nThe log file is /models/ship.log");
    clickOn(f.dialog->cmdViewLog);
    EXPECT_EQ(f.t.textViewer.opened.back(), "/models/ship.log");
}

TEST(frmOptions, LiveSwitchesActAtOnceAcrossCancelAndStartFreshAfterARestart) {
    OptionsFixture f;
    f.show();
    clickTab(f.dialog->SSTab1, f.dialog->SSTab1->widget(4));  // "Advanced"
    ASSERT_FALSE(f.dialog->chkMEXload->isChecked());
    ASSERT_TRUE(f.dialog->chkVNs->isChecked());
    clickOn(f.dialog->chkMEXload);
    clickOn(f.dialog->chkVNs);
    clickOn(f.dialog->cmdCancel);
    EXPECT_TRUE(f.t.ctx.live.chkMEXload);
    EXPECT_FALSE(f.t.ctx.live.chkVNs);
    f.show();
    EXPECT_TRUE(f.dialog->chkMEXload->isChecked());
    TestContext next(f.dir.path());
    next.ctx.services.preferencesStore = &f.t.preferencesStore;
    frmOptions restarted(next.ctx);
    EXPECT_FALSE(restarted.chkMEXload->isChecked());
    EXPECT_TRUE(restarted.chkVNs->isChecked());
}

TEST(LoadCommands, ARefusedModelLeavesTheSaveMenusDisabledAndReloadEnabled) {
    Started s;
    s.window->loadThisFile(s.at("Tarvlet.peo"));
    ASSERT_TRUE(s.window->mnuFileSave->menuAction()->isEnabled());
    writeBytes(s.at("Broken.peo"), {1, 2, 3});
    s.window->loadThisFile(s.at("Broken.peo"));
    EXPECT_EQ(s.t.errors.reports.size(), 1u);
    EXPECT_EQ(s.window->lblStatus->text(), "Load failed");
    EXPECT_FALSE(s.window->mnuFileSave->menuAction()->isEnabled());
    EXPECT_FALSE(s.window->mnuFileSaveAs->isEnabled());
    EXPECT_TRUE(s.window->mnuReload->isEnabled());
    EXPECT_EQ(s.window->statusPanels[0]->text().toStdString(), s.at("Broken.peo"));
    for (int panel = 2; panel <= 4; ++panel) EXPECT_EQ(s.window->statusPanels[size_t(panel - 1)]->text(), "") << panel;
    saveScreenshotIfAsked(*s.window, "roads_refused_load");
}

// ---- The window's spaced updates ----

namespace {

// Counts the paints of the status label and the log box.
struct PaintCounter : QObject {
    explicit PaintCounter(QEvent::Type counted = QEvent::Paint) : counted(counted) {}
    QEvent::Type counted;  // a paint of the widget, or a repaint of the whole window (UpdateRequest)
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == counted) ++paints;
        return false;
    }
};

}  // namespace

// A load reports to the window in spaced batches: the same log box and status text as when every update
// reaches the window at once, while the clock stands still no event pump during the command and fewer paints,
// and the whole log at the end of the command.
TEST(SpacedWindow, AReloadShowsTheSameLogWithFewerPaintsAndNoPumpsWhileTheClockStandsStill) {
    Started s;
    frmTARV& window = *s.window;
    window.loadThisFile(s.at(samples::kSamplePeoName));
    ASSERT_EQ(s.t.ctx.model.objectCount(), 4);
    PaintCounter counter;
    window.lblStatus->installEventFilter(&counter);
    window.Text1->viewport()->installEventFilter(&counter);
    int syncs = 0;
    window.syncHooks.push_back([&] { ++syncs; });

    window.mnuReload->trigger();
    const QString oneByOne = window.Text1->toPlainText();
    const int paintsOneByOne = counter.paints, syncsOneByOne = syncs;
    ASSERT_FALSE(oneByOne.isEmpty());

    window.spaceUpdates();
    counter.paints = 0;
    syncs = 0;
    window.mnuReload->trigger();
    EXPECT_EQ(window.Text1->toPlainText(), oneByOne);
    EXPECT_EQ(window.lblStatus->text(), "Ship loaded");
    EXPECT_GE(syncsOneByOne, 2);
    EXPECT_EQ(syncs, 1);  // the command's own, at its end
    EXPECT_LT(counter.paints, paintsOneByOne);
    EXPECT_TRUE(s.t.errors.reports.empty());
    saveScreenshotIfAsked(window, "spaced_reload");
}

// A command the window does not run itself (a page's button) shows what it left held back once the event loop
// runs again.
TEST(SpacedWindow, WhatACommandLeavesHeldBackReachesTheWindowWhenTheEventLoopRuns) {
    Started s;
    frmTARV& window = *s.window;
    window.spaceUpdates();
    ASSERT_NE(window.spacedUpdates(), nullptr);
    QTimer::singleShot(0, &window, [&] {
        s.t.ctx.status().appendLog("Rotating object 0: Hull\r\n");
        s.t.ctx.status().setStatus("Optimizing mesh");
    });
    QApplication::processEvents();  // runs the command
    EXPECT_TRUE(window.spacedUpdates()->holding());
    EXPECT_FALSE(window.Text1->toPlainText().contains("Rotating object 0: Hull"));
    QApplication::processEvents();
    EXPECT_FALSE(window.spacedUpdates()->holding());
    EXPECT_TRUE(window.Text1->toPlainText().endsWith("Rotating object 0: Hull\n"));
    EXPECT_EQ(window.lblStatus->text(), "Optimizing mesh");
}

// A ship of many objects, each of them 10 ms in the building, loads through File > Open in two seconds of the
// clock: the window takes the load's updates in a few batches, each repainted at once, rather than a repaint
// of the whole window for each object, and the end of the load shows whole.
TEST(SpacedWindow, ALoadOfManyObjectsRepaintsTheWindowAFewTimesASecond) {
    Started s;
    frmTARV& window = *s.window;
    window.spaceUpdates();
    s.t.ctx.prefs.objectSharing = false;  // the parts are alike: no offer to share them
    FxFile file;
    file.publicMaterials = {FxMaterial{}};
    for (int k = 0; k < 200; ++k) file.objects.push_back(squareObject("Part" + std::to_string(k), float(k)));
    const fs::path many = s.dir.path() / "Many.peo";
    buildPeo(file).bytes.writeTo(many);
    s.steps.onCreate3dObject = [&](EditingContext& ctx, int objNo) {
        s.steps.SubsystemRoadSteps::create3dObject(ctx, objNo);
        s.t.clock.advance(0.01);
    };
    QApplication::processEvents();
    PaintCounter windowRepaints(QEvent::UpdateRequest), labelPaints;
    window.installEventFilter(&windowRepaints);
    window.lblStatus->installEventFilter(&labelPaints);

    s.t.prompts.expectOpen(FileDialogChoice{many.string(), 1});
    window.mnuFileOpen->trigger();
    QApplication::processEvents();
    ASSERT_EQ(s.t.ctx.model.objectCount(), 200);
    EXPECT_EQ(window.lblStatus->text(), "Ship loaded");
    EXPECT_TRUE(window.Text1->toPlainText().contains("Statistics for object 199 :"));
    EXPECT_GT(labelPaints.paints, 0);
    // Two seconds of the clock at ten batches a second, and the end of the load: the bars, the pointer and the
    // cleared log cost no repaints of their own.
    EXPECT_LE(windowRepaints.paints, 23);
    EXPECT_LT(labelPaints.paints, 50);
    EXPECT_TRUE(s.t.errors.reports.empty());
}
