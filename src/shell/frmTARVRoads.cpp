// The main window's part of the load and save roads, start-up and exit: the handlers call the roads'
// logic and then show the new state.
#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QScreen>
#include <cstdio>
#include <cstdlib>

#include "attachments/ShpFile.h"
#include "model/LogFiles.h"
#include "model/PreferencesStore.h"
#include "editor/RecentFiles.h"
#include "editor/context/TrapGuard.h"
#include "editor/LoadRoad.h"
#include "editor/SaveCommands.h"
#include "editor/StartupExit.h"
#include "shell/UserInputGate.h"
#include "shell/frmOptions.h"
#include "shell/frmTARV.h"
#include "preview/PreviewCamera.h"
#include "preview/PreviewScene.h"
#include "editor/context/EditingContext.h"

namespace tarv {

void frmTARV::runCommand(const std::function<void()>& command) {
    if (syncing_ > 0) return;
    try {
        command();
    } catch (const std::exception& error) {
        reportError(ctx, error);
    }
    if (spaced_) spaced_->flush();
    syncFromContext();
    if (ctx.road.operationsRunning > 0) return;  // a command inside a running operation
    inputGate_->release();
    if (closePending_) {
        closePending_ = false;
        close();
    }
}

void frmTARV::connectRoads() {
    inputGate_ = new UserInputGate(this);

    connect(mnuFileOpen, &QAction::triggered, this, &frmTARV::mnuFileOpen_Click);
    connect(mnuReload, &QAction::triggered, this, &frmTARV::mnuReload_Click);
    connect(mnuSaveAll, &QAction::triggered, this, &frmTARV::mnuSaveAll_Click);
    connect(mnuSavePeo, &QAction::triggered, this, &frmTARV::mnuSavePeo_Click);
    connect(mnuSaveMex, &QAction::triggered, this, &frmTARV::mnuSaveMex_Click);
    connect(mnuSaveMad, &QAction::triggered, this, &frmTARV::mnuSaveMad_Click);
    connect(mnuFileSaveSHP, &QAction::triggered, this, &frmTARV::mnuFileSaveSHP_Click);
    connect(mnuFileSaveAs, &QAction::triggered, this, &frmTARV::mnuFileSaveAs_Click);
    connect(mnuSaveTypeHW, &QAction::triggered, this, &frmTARV::mnuSaveTypeHW_Click);
    connect(mnuSaveTypeHWC, &QAction::triggered, this, &frmTARV::mnuSaveTypeHWC_Click);
    connect(mnuToolsOptions, &QAction::triggered, this, &frmTARV::mnuToolsOptions_Click);
    connect(mnuToolsRepair, &QAction::triggered, this, &frmTARV::mnuToolsRepair_Click);
    for (int i = 1; i < int(mnuRecentFile.size()); ++i)
        connect(mnuRecentFile[size_t(i)], &QAction::triggered, this, [this, i] { mnuRecentFile_Click(i); });
    // The repair window belongs to the mesh tools, which enable the item when they install it.
    mnuToolsRepair->setEnabled(false);
}

void frmTARV::showLoadSummary(EditingContext& context) { tarv::showLoadSummary(context, this); }

void frmTARV::endProgram(EditingContext&) {
    // The program ends at once, also before the event loop runs (which would drop a request to quit it)
    // and in the middle of a procedure: nothing of the procedure the exit road interrupted may go on.
    // Every file is written whole or not at all, the logs line by line, the stores value by value.
    std::fflush(nullptr);
    std::_Exit(0);
}

void frmTARV::syncRoadControls() {
    RoadState& road = ctx.road;
    mnuReload->setEnabled(road.mnuReloadEnabled);
    mnuFileSave->setEnabled(road.mnuFileSaveEnabled);
    mnuFileSave->menuAction()->setEnabled(road.mnuFileSaveEnabled);
    mnuFileSaveAs->setEnabled(road.mnuFileSaveAsEnabled);
    mnuFileSaveSHP->setEnabled(ctx.shp.mnuFileSaveSHPEnabled);
    mnuSaveTypeHW->setChecked(!road.cataclysmVariant);
    mnuSaveTypeHWC->setChecked(road.cataclysmVariant);
    if (road.pagesEnabled)
        for (int i = 1; i < SSTab1->count(); ++i) SSTab1->setTabEnabled(i, *road.pagesEnabled);
    if (road.keyframesPageEnabled) pageObjects->SSTab2->setTabEnabled(2, *road.keyframesPageEnabled);
    if (road.shipFileDataPageEnabled) pageShipInfo->SSTab3->setTabEnabled(2, *road.shipFileDataPageEnabled);
    const std::pair<QTabWidget*, int*> switches[] = {
        {SSTab1, &road.ssTab1Page}, {pageObjects->SSTab2, &road.ssTab2Page}, {pageShipInfo->SSTab3, &road.ssTab3Page}};
    for (auto [tabs, page] : switches) {
        if (*page >= 0) tabs->setCurrentIndex(*page);
        *page = -1;
    }
}

void frmTARV::Form_Load(const std::string& commandLine) {
    runCommand([&] {
        trapErrors(ctx, "frmTARV", "Form_Load", "", [&] {
            loadRecentFiles(ctx);
            if (QScreen* screen = this->screen()) {
                const QRect area = screen->availableGeometry();
                move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
            }
            startStartupLog(ctx);
            // The Options dialog is loaded, hidden, when the preferences paint its swatches.
            if (!optionsWindow) optionsWindow = new frmOptions(ctx, this);
            readPreferences(ctx);
            // The application gets no display name: the desktop would append it to every caption.
            setWindowTitle(QString::fromStdString(ctx.version.appTitle));
            show();
            ctx.road.cataclysmVariant = ctx.prefs.defaultFileFormat == 1280;
            InitialiseComponents(ctx);
            applyStartupState(ctx);
            // The Front view button, whose preset runs on the new scene.
            previewControls(ctx).setViewButton(0);
            view3d_Click(ctx, 0);
            QTreeWidget* textures = pageTextures->lstTextures;
            textures->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
            textures->setSelectionBehavior(QAbstractItemView::SelectRows);  // whole rows, the further option
            textures->setAllColumnsShowFocus(true);
            textures->setColumnWidth(0, 113);
            for (int c = 1; c < 4; ++c) textures->setColumnWidth(c, 43);
            Timer1->setInterval(1);
            Timer1->start();
            syncFromContext();
            repaint();
            if (!commandLine.empty()) tarv::loadThisFile(ctx, commandLine);
        });
    });
}

void frmTARV::startprocess() {
    runCommand([&] { tarv::startprocess(ctx); });
}

void frmTARV::loadThisFile(const std::string& filename) {
    runCommand([&] { tarv::loadThisFile(ctx, filename); });
}

void frmTARV::mnuFileOpen_Click() {
    runCommand([&] { tarv::mnuFileOpen_Click(ctx); });
    update();  // the window is drawn again with the next frame, not once more at once
}

void frmTARV::mnuRecentFile_Click(int index) {
    runCommand([&] { tarv::mnuRecentFile_Click(ctx, index); });
}

void frmTARV::mnuRevBU_Click() {
    runCommand([&] { tarv::mnuRevBU_Click(ctx); });
    update();  // the window is drawn again with the next frame, not once more at once
}

void frmTARV::mnuReload_Click() {
    runCommand([&] { tarv::mnuReload_Click(ctx); });
}

void frmTARV::mnuSaveAll_Click() {
    runCommand([&] { tarv::mnuSaveAll_Click(ctx); });
}
void frmTARV::mnuSavePeo_Click() {
    runCommand([&] { tarv::mnuSavePeo_Click(ctx); });
}
void frmTARV::mnuSaveMex_Click() {
    runCommand([&] { tarv::mnuSaveMex_Click(ctx); });
}
void frmTARV::mnuSaveMad_Click() {
    runCommand([&] { tarv::mnuSaveMad_Click(ctx); });
}
void frmTARV::mnuFileSaveSHP_Click() {
    runCommand([&] { tarv::mnuFileSaveSHP_Click(ctx); });
}
void frmTARV::mnuFileSaveAs_Click() {
    runCommand([&] { tarv::mnuFileSaveAs_Click(ctx); });
}
void frmTARV::mnuSaveTypeHW_Click() {
    runCommand([&] { tarv::mnuSaveTypeHW_Click(ctx); });
}
void frmTARV::mnuSaveTypeHWC_Click() {
    runCommand([&] { tarv::mnuSaveTypeHWC_Click(ctx); });
}

void frmTARV::mnuToolsOptions_Click() {
    runCommand([&] {
        if (!optionsWindow) optionsWindow = new frmOptions(ctx, this);
        optionsWindow->exec();
    });
}

void frmTARV::mnuToolsRepair_Click() {
    // Does nothing of its own: the mesh tools connect the item to their repair window.
}

void frmTARV::Form_QueryUnload() { tarv::Form_QueryUnload(ctx); }

void frmTARV::Form_Terminate() { mnuFileExit_Click(); }

void frmTARV::closeEvent(QCloseEvent* event) {
    // The window never unloads itself: the closing road ends the program. A close asked for while a load
    // or save runs waits for its end.
    event->ignore();
    if (ctx.road.operationsRunning > 0) {
        closePending_ = true;
        return;
    }
    Form_QueryUnload();
}

}  // namespace tarv
