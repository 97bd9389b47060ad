// The main window frame, the error report, the load summary and the About box.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QClipboard>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

#include <memory>

#include "../model/PeoFixture.h"
#include "Fakes.h"
#include "RoadHooks.h"
#include "Screenshot.h"
#include "TempDir.h"
#include "model/LoadSummary.h"
#include "editor/RecentFiles.h"
#include "editor/context/TrapGuard.h"
#include "WindowFixture.h"
#include "shell/ControlSync.h"
#include "shell/frmOptions.h"
#include "shell/frmTARV.h"
#include "editor/context/EditingContext.h"

using namespace tarv;
using namespace tarv::test;

namespace {

// Runs fn once the modal window that is about to open has opened.
void whenOpen(std::function<void()> fn) { QTimer::singleShot(0, std::move(fn)); }

}  // namespace

TEST(frmTARV, HasThePagesMenusAndControlsByName) {
    WindowFixture f;
    QTabWidget* tabs = f.find<QTabWidget>("SSTab1");
    ASSERT_NE(tabs, nullptr);
    QStringList pages;
    for (int i = 0; i < tabs->count(); ++i) pages << tabs->tabText(i);
    EXPECT_EQ(pages, QStringList({"General", "Tools", "Objects", "Materials", "Textures", "Ship Info", "Animations",
                                  " Mesh Tools "}));
    struct Tab {
        const char* name;
        QStringList captions;
    } subTabs[] = {{"SSTab2", {"Heirachy", "Matrix", "Keyframes"}},
                   {"SSTab3", {"Elements", "Mex Data", "Ship File Data"}}};
    for (const Tab& tab : subTabs) {
        auto* w = f.find<QTabWidget>(tab.name);
        ASSERT_NE(w, nullptr);
        QStringList captions;
        for (int i = 0; i < w->count(); ++i) captions << w->tabText(i);
        EXPECT_EQ(captions, tab.captions) << tab.name;
    }
    EXPECT_TRUE(tabs->widget(2)->isAncestorOf(f.find<QWidget>("SSTab2")));
    EXPECT_TRUE(tabs->widget(5)->isAncestorOf(f.find<QWidget>("SSTab3")));

    struct Menu {
        const char* name;
        const char* caption;
    } menus[] = {
        {"mnuFile", "&File"},
        {"mnuFileSave", "&Save"},
        {"mnuBackup", "&Backup"},
        {"mnuFileImport", "&Import"},
        {"mnuRender", "&Render"},
        {"mnuTools", "&Tools"},
        {"mnuHelp", "&Help"},
        {"mnuFixLif", "Fix Lifs"},
        {"mnuLodList", "Lod File List"},
        {"mnuLodCommands", "Lod Commands"},
        {"mnu3dPreview", "3d Preview"},
    };
    for (const Menu& m : menus) {
        auto* menu = f.find<QMenu>(m.name);
        if (menu) {
            EXPECT_EQ(menu->title().toStdString(), m.caption) << m.name;
        }
    }
    QStringList bar;
    for (QAction* a : f.window.menuBar()->actions()) bar << a->text();
    EXPECT_EQ(bar, QStringList({"&File", "&Render", "&Tools", "&Help"})) << "the pop-ups stay out of the menu bar";

    Menu items[] = {
        {"mnuFileOpen", "&Open"},
        {"mnuReload", "&Reload"},
        {"mnuSaveAll", "&All"},
        {"mnuSavePeo", "&PEO only"},
        {"mnuSaveMex", "&MEX only"},
        {"mnuSaveMad", "MA&D only"},
        {"mnuFileSaveSHP", "&SHP only"},
        {"mnuSaveTypeHW", "&HW"},
        {"mnuSaveTypeHWC", "HW:&C"},
        {"mnuFileSaveAs", "S&ave As..."},
        {"mnuBUC", "&Create"},
        {"mnuRevBU", "&Load"},
        {"mnuImportFromOBJ", "Wavefront &OBJ file"},
        {"mnuImportFromPEO", "Homeworld &PEO file"},
        {"mnuImportFromSMD", "Milkshape &SMD file"},
        {"mnuFileExit", "E&xit"},
        {"mnuRenderWireframe", "&Wireframe"},
        {"mnuRenderFlat", "&Textured"},
        {"mnuRenderReset", "&Reset View"},
        {"mnuToolsOptions", "&Options..."},
        {"mnuTexPeek", "&Lif Viewer"},
        {"mnuToolsRepair", "&Repair PEO file"},
        {"mnuHelpAbout", "&About"},
    };
    for (const Menu& m : items) {
        auto* action = f.find<QAction>(m.name);
        if (action) {
            EXPECT_EQ(action->text().toStdString(), m.caption) << m.name;
        }
    }
    EXPECT_TRUE(f.find<QAction>("mnuSaveSep")->isSeparator());
    // File menu order: ..., "E&xit", then the recent-file items.
    QList<QAction*> file = f.window.mnuFile->actions();
    int exitAt = int(file.indexOf(f.window.mnuFileExit));
    for (int i = 0; i <= 5; ++i) {
        auto* recent = f.find<QAction>(("mnuRecentFile_" + std::to_string(i)).c_str());
        ASSERT_NE(recent, nullptr);
        EXPECT_EQ(file.indexOf(recent), exitAt + 1 + i);
        EXPECT_FALSE(recent->isVisible());
    }
    EXPECT_TRUE(f.window.mnuRecentFile[0]->isSeparator());

    const char* controls[] = {"Text1",  "lblStatus", "lblStatus2", "prgLoadTextures", "prgStatus2", "treeHeirachy",
                              "Frame4", "Label11",   "lblKey",     "lstTextures",     "Label27",    "treeMex",
                              "Frame3", "Dx_Label1", "lblLodPath", "StatusBar1",      "RMCanvas1"};
    for (const char* name : controls) f.find<QWidget>(name);
    EXPECT_NE(f.window.findChild<QTimer*>("Timer1"), nullptr);
    EXPECT_EQ(f.find<QGroupBox>("Frame4")->title(), "Object Options");
    EXPECT_EQ(f.find<QGroupBox>("Frame3")->title(), "Chunk Options");
    EXPECT_EQ(f.find<QLabel>("Label11")->text(),
              "Drag-drop a node to change the hierarchy, or use the buttons and tabs to edit.");
    EXPECT_EQ(f.find<QLabel>("Label27")->text(), "Double click on a texture in the list above to preview");
    QTreeWidget* textures = f.find<QTreeWidget>("lstTextures");
    QStringList headers;
    for (int i = 0; i < textures->columnCount(); ++i) headers << textures->headerItem()->text(i);
    EXPECT_EQ(headers, QStringList({"Name", "Width", "Height", "Flags"}));
    EXPECT_TRUE(f.window.pageObjects->pageHeirachy->isAncestorOf(f.window.treeHeirachy));
    EXPECT_TRUE(f.window.pageShipInfo->pageElements->isAncestorOf(f.window.treeMex));
}

TEST(frmTARV, StartsWithTheDesignedTicksAndStates) {
    WindowFixture f;
    f.window.show();
    EXPECT_TRUE(f.window.mnuSaveTypeHW->isChecked());
    EXPECT_FALSE(f.window.mnuSaveTypeHWC->isChecked());
    EXPECT_TRUE(f.window.mnuRenderFlat->isChecked());
    EXPECT_FALSE(f.window.mnuImportFromOBJ->isEnabled());
    EXPECT_FALSE(f.window.mnuBUC->isEnabled());
    EXPECT_FALSE(f.window.mnuRevBU->isEnabled());
    EXPECT_FALSE(f.window.prgStatus2->isVisible());
    EXPECT_FALSE(f.window.prgLoadTextures->isVisible());
    EXPECT_EQ(f.window.Timer1->interval(), 1);
    FxFile file;  // "Root" and its child "Hull", for the picture
    file.publicMaterials = {FxMaterial{}};
    file.objects = {squareObject("Root"), squareObject("Hull", 1)};
    file.objects[1].mother = 68;
    f.openShip(buildPeo(file).data());
    clickTab(f.window.SSTab1, f.window.pageObjects);
    saveScreenshotIfAsked(f.window, "frmTARV");
}

TEST(frmTARV, EveryResizeEmptiesTheSelectionText) {
    WindowFixture f;
    FxFile file;
    file.publicMaterials = {FxMaterial{}};
    file.objects = {squareObject("Hull")};
    f.openShip(buildPeo(file).data());
    clickObjectNode(f.window, "o0");
    ASSERT_EQ(f.window.Dx_Label1->text(), "Selected object: Hull");
    f.window.resize(f.window.width() + 40, f.window.height() + 30);
    QCoreApplication::processEvents();
    EXPECT_EQ(f.window.Dx_Label1->text(), "");
    EXPECT_EQ(f.t.ctx.err.errModule, "frmTARV");
    EXPECT_EQ(f.t.ctx.err.errProc, "Form_Resize");
}

// The window closed while the user renames a node of the object tree: the open editor commits nothing
// into a window that is going.
TEST(frmTARV, GoingWhileATreeNodeIsRenamedRunsNoCommand) {
    auto f = std::make_unique<WindowFixture>();
    FxFile file;
    file.publicMaterials = {FxMaterial{}};
    file.objects = {squareObject("Hull")};
    f->openShip(buildPeo(file).data());
    f->window.activateWindow();
    QApplication::processEvents();
    clickObjectNode(f->window, "o0");
    QTest::keyClick(f->window.treeHeirachy, Qt::Key_F2);
    QApplication::processEvents();
    auto* editor = f->window.treeHeirachy->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "Renamed");
    f.reset();  // no crash while the window's parts go
}

// Every caption of the tab control is drawn whole inside its bar, with room for its text.
void expectEveryCaptionReadable(QTabWidget* tabs) {
    QTabBar* bar = tabs->tabBar();
    EXPECT_GE(bar->width(), bar->sizeHint().width()) << tabs->objectName().toStdString();
    for (int i = 0; i < tabs->count(); ++i) {
        const QRect r = bar->tabRect(i);
        EXPECT_TRUE(bar->rect().contains(r)) << tabs->objectName().toStdString() << " " << i;
        EXPECT_GE(r.width(), bar->fontMetrics().horizontalAdvance(tabs->tabText(i))) << tabs->tabText(i).toStdString();
    }
}

TEST(frmTARV, EveryTabCaptionIsReadableAtTheDefaultSizeAndTheLeftPaneGrows) {
    WindowFixture f;
    f.window.show();
    QApplication::processEvents();
    EXPECT_EQ(f.window.size(), QSize(1100, 760));
    for (const char* name : {"SSTab1", "SSTab2", "SSTab3"}) {
        auto* tabs = f.find<QTabWidget>(name);
        if (name != std::string("SSTab1")) clickTab(f.window.SSTab1, tabs->parentWidget());
        QApplication::processEvents();
        expectEveryCaptionReadable(tabs);
    }
    for (int i = 0; i < f.window.SSTab1->count(); ++i) {
        clickTab(f.window.SSTab1, f.window.SSTab1->widget(i));
        saveScreenshotIfAsked(f.window, ("frmTARV_page" + std::to_string(i)).c_str());
    }

    const int narrow = f.window.SSTab1->width();
    f.window.resize(1600, 900);
    QApplication::processEvents();
    EXPECT_GT(f.window.SSTab1->width(), narrow + 100);
    EXPECT_GT(f.window.RMCanvas1->width(), f.window.SSTab1->width()) << "the canvas keeps the larger share";
}

TEST(frmOptions, EveryTabCaptionIsReadable) {
    WindowFixture f;
    auto* options = new frmOptions(f.t.ctx, &f.window);
    options->show();
    QApplication::processEvents();
    expectEveryCaptionReadable(options->SSTab1);
    for (int i = 0; i < options->SSTab1->count(); ++i) {
        clickTab(options->SSTab1, options->SSTab1->widget(i));
        saveScreenshotIfAsked(*options, ("frmOptions_page" + std::to_string(i)).c_str());
    }
    options->hide();
}

TEST(frmTARV, IsTheStatusDisplay) {
    WindowFixture f;
    StatusDisplay& status = f.window;
    f.t.ctx.currentModelPath = "/ships/Scout.peo";
    status.setPanelText(2, "HW:C");
    status.setStatus("Ship loaded");
    status.appendLog("first line\r\n");
    status.appendLog("second line\r\n");
    status.setProgressVisible(ProgressBar::Status2, true);
    status.setProgressMax(ProgressBar::Status2, 10);
    status.setProgressValue(ProgressBar::Status2, 4);
    EXPECT_EQ(f.window.statusPanels[0]->text(), "/ships/Scout.peo");
    EXPECT_EQ(f.window.statusPanels[1]->text(), "HW:C");
    EXPECT_EQ(f.window.lblStatus->text(), "Ship loaded");
    EXPECT_EQ(f.window.Text1->toPlainText(), "first line\nsecond line\n");
    EXPECT_EQ(f.window.prgStatus2->value(), 4);
    status.clearLog();
    EXPECT_EQ(f.window.Text1->toPlainText(), "");
}

TEST(frmTARV, MirrorsRecentFilesAndBackupItems) {
    WindowFixture f;
    f.shipFolder = f.dir / "R&D";
    FxFile file;
    file.publicMaterials = {FxMaterial{}};
    file.objects = {squareObject("Hull")};
    const std::vector<uint8_t> peo = buildPeo(file).data();
    f.openShip(peo, "Scout.peo");
    const std::string model = (f.shipFolder / "Scout.peo").string();
    EXPECT_TRUE(f.window.mnuRecentFile[0]->isVisible());
    EXPECT_TRUE(f.window.mnuRecentFile[1]->isVisible());
    EXPECT_EQ(f.window.mnuRecentFile[1]->text().toStdString(), "&1 " + (f.dir / "R&&D" / "Scout.peo").string());
    EXPECT_EQ(f.window.mnuRecentFile[1]->data().toString().toStdString(), model);
    EXPECT_FALSE(f.window.mnuRecentFile[2]->isVisible());

    ASSERT_TRUE(f.window.mnuBUC->isEnabled());
    f.window.mnuBUC->trigger();
    EXPECT_TRUE(f.window.mnuBUC->isEnabled());
    EXPECT_TRUE(f.window.mnuRevBU->isEnabled());
    EXPECT_EQ(readBytes(f.shipFolder / "Backup of Scout.peo"), peo);

    writeText(model, "changed");
    clickTab(f.window.SSTab1, f.window.pageMaterials);
    f.window.mnuRevBU->trigger();
    EXPECT_EQ(readBytes(model), peo);
    EXPECT_EQ(f.window.SSTab1->currentIndex(), 0) << "Backup > Load shows the first page";
}

TEST(frmTARV, StartUpReadsThePreferencesAndSetsTheCaption) {
    WindowFixture f;
    f.t.recentFilesStore.values["RecentFile1"] = "/ships/Scout.peo";
    f.t.preferencesStore.values["LogLevel"] = "7";
    f.t.preferencesStore.values["RenderBackground"] = "9";
    f.window.Form_Load();
    EXPECT_TRUE(f.t.errors.reports.empty()) << "hand-edited values never stop start-up";
    EXPECT_EQ(f.t.ctx.prefs.logLevel, 7);
    EXPECT_EQ(f.t.ctx.prefs.renderBackground, 9);
    EXPECT_EQ(f.t.preferencesStore.values["DefaultFileFormat"], "1026");
    EXPECT_EQ(f.window.windowTitle().toStdString(), f.t.ctx.version.appTitle);
    EXPECT_TRUE(f.window.mnuRecentFile[1]->isVisible());
}

TEST(frmError, BuildsTheReportWithAndWithoutParameters) {
    TempDir dir;
    TestContext t(dir.path());
    frmError report(t.ctx);
    EXPECT_EQ(report.windowTitle(), "An Error has occured!");
    EXPECT_TRUE(report.Label1->text().startsWith("The following error has occured."));
    EXPECT_EQ(report.Label2->text(), "Warning! Resuming may mean loss and/or corruption of data!");
    EXPECT_EQ(report.cmdEndTARV->text(), "End");
    EXPECT_EQ(report.cmdCopy->text(), "Copy");
    EXPECT_EQ(report.cmdClose->text(), "Resume");

    ErrorReportInfo info{9, "TARV", "Subscript out of range", "modD3D", "resetPeoObject", "", ""};
    whenOpen([&] { clickOn(report.cmdClose); });
    report.show(info);
    std::string title = t.ctx.version.appTitle;
    EXPECT_EQ(report.reportText(),
              title + "\r\nError: Subscript out of range\r\nIn module: modD3D\r\nIn function: resetPeoObject\r\n");
    EXPECT_EQ(report.txtError->toPlainText().count('\n'), 3) << "four lines";

    info.arguments = "5";
    whenOpen([&] { clickOn(report.cmdClose); });
    report.show(info);
    EXPECT_TRUE(report.reportText().ends_with("In function: resetPeoObject\r\nParameters: 5\r\n"));
    EXPECT_EQ(report.txtError->toPlainText().count('\n'), 4) << "five lines";
    EXPECT_FALSE(report.isVisible()) << "hidden after use";
}

TEST(frmError, CopyPutsExactlyTheTextOnTheClipboardAndStaysOpen) {
    TempDir dir;
    TestContext t(dir.path());
    frmError report(t.ctx);
    bool stayedOpen = false;
    QString copied;
    whenOpen([&] {
        saveScreenshotIfAsked(report, "frmError");
        clickOn(report.cmdCopy);
        copied = QApplication::clipboard()->text();
        stayedOpen = report.isVisible();
        clickOn(report.cmdClose);
    });
    report.show({6, "TARV", "Overflow", "modPeo", "readPeo", "/ships/a.peo|1", ""});
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(copied.toStdString(), report.reportText());
    EXPECT_TRUE(copied.contains("\r\nParameters: /ships/a.peo|1\r\n"));
}

TEST(frmError, ResumeSkipsTheRestOfTheTrappedProcedure) {
    TempDir dir;
    TestContext t(dir.path());
    frmError report(t.ctx);
    t.ctx.services.errorReport = &report;
    int stepsDone = 0;
    whenOpen([&] { clickOn(report.cmdClose); });
    bool ran = trapErrors(t.ctx, "modTest", "twoSteps", "", [&] {
        ++stepsDone;
        throw RunTimeError::divisionByZero();
        ++stepsDone;
    });
    EXPECT_FALSE(ran);
    EXPECT_EQ(stepsDone, 1);
    EXPECT_NE(report.reportText().find("Error: Division by zero\r\n"), std::string::npos);
}

TEST(frmError, EndHidesTheReportAndRunsTheExitRoad) {
    TempDir dir;
    TestContext t(dir.path());
    frmTARV window(t.ctx);
    RoadWindowWatch road(t.ctx);
    road.onEnd = [&] { EXPECT_FALSE(window.errorWindow->isVisible()); };
    whenOpen([&] { clickOn(window.errorWindow->cmdEndTARV); });
    window.errorWindow->show(ErrorReportInfo{5, "TARV", "Invalid procedure call or argument", "frmTARV", "x", "", ""});
    EXPECT_EQ(road.ends, 1);
}

TEST(frmLoad, ShowsTheNotesAndDropsThemWhenDone) {
    TempDir dir;
    TestContext t(dir.path());
    addToLoadSummary(t.ctx, "Gun chunk missing");
    addToLoadSummary(t.ctx, "Nav light renamed");
    QPointer<frmLoad> summary = new frmLoad(t.ctx);
    EXPECT_EQ(summary->windowTitle().toStdString(), t.ctx.version.appTitle + " Cataclysm PEO load summary");
    EXPECT_EQ(summary->Label1->text(), "TARV Load Summary Report");
    EXPECT_EQ(summary->Label2->text(), "(for Cataclysm SHP loading of PEO & MEX file).");
    EXPECT_EQ(summary->Label2->text().count('&'), 1);
    EXPECT_EQ(summary->AdequateNotes->toPlainText(), "Gun chunk missing\nNav light renamed");
    EXPECT_EQ(summary->GetGoing->text(), "Ah, I've seen it ...  now get going !");
    summary->show();
    saveScreenshotIfAsked(*summary, "frmLoad");
    clickOn(summary->GetGoing);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(summary.isNull()) << "the button unloads the window";
    EXPECT_EQ(t.ctx.shell.loadSummaryNotes, "");
    EXPECT_FALSE(t.ctx.shell.loadSummaryExists);
}

TEST(frmAbout, ShowsTheVersionAndCredits) {
    TempDir dir;
    TestContext t(dir.path());
    QPointer<frmAbout> about = new frmAbout(t.ctx);
    EXPECT_EQ(about->windowTitle(), "About TARV");
    EXPECT_EQ(about->Label2->text().toStdString(), t.ctx.version.appVersion);
    EXPECT_EQ(about->Label3->text(), "Contributions and thanks:");
    std::string credits = frmAbout::creditsText();
    EXPECT_TRUE(credits.starts_with("In no particular order...:)\r\n"));
    EXPECT_EQ(std::count(credits.begin(), credits.end(), '\n'), 9) << "the opening line and eight more";
    EXPECT_EQ(std::count(credits.begin(), credits.end(), '\r'), 9);
    EXPECT_EQ(about->cmdOK->text(), "OK");
    about->show();
    saveScreenshotIfAsked(*about, "frmAbout");
    clickOn(about->cmdOK);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(about.isNull()) << "OK unloads the About box";
}

// A combo box shown a list again keeps the items it shows already: only the names that differ are set, the
// rest added or removed, and the chosen entry is the list's.
TEST(ControlSync, AComboBoxShowsAListInPlace) {
    struct Case {
        const char* what;
        std::vector<std::string> after;
        int index;
        QStringList shown;
        int setNames;  // items whose text was set
    };
    const std::vector<std::string> before = {"Hull", "T\xc3\xbcrme", "Gun"};
    const Case cases[] = {
        {"the same list", before, 1, {"Hull", "T\u00fcrme", "Gun"}, 0},
        {"one name differs", {"Hull", "Turret", "Gun"}, 2, {"Hull", "Turret", "Gun"}, 1},
        {"a shorter list", {"Hull", "T\xc3\xbcrme"}, 2, {"Hull", "T\u00fcrme"}, 0},
        {"a longer list", {"Hull", "T\xc3\xbcrme", "Gun", "Mast"}, 3, {"Hull", "T\u00fcrme", "Gun", "Mast"}, 0},
        {"no list", {}, 0, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QComboBox box;
        showItems(&box, before, 0);
        int setNames = 0;
        QObject::connect(box.model(), &QAbstractItemModel::dataChanged, [&] { ++setNames; });
        showItems(&box, c.after, c.index);
        QStringList shown;
        for (int i = 0; i < box.count(); ++i) shown << box.itemText(i);
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(setNames, c.setNames);
        EXPECT_EQ(box.currentIndex(), c.index < int(c.after.size()) ? c.index : -1);
    }
}
