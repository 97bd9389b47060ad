#include "shell/frmTARV.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

#include "model/Backups.h"
#include "model/LogFiles.h"
#include "model/PreferencesStore.h"
#include "editor/RecentFiles.h"
#include "editor/context/TrapGuard.h"
#include "editor/StartupExit.h"
#include "shell/UserInputGate.h"
#include "shell/WidgetNames.h"
#include "editor/context/EditingContext.h"

namespace tarv {

namespace {
QAction* item(QMenu* menu, const char* name, const char* caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}

QMenu* submenu(QWidget* owner, const char* name, const char* title) {
    auto* menu = new QMenu(title, owner);
    menu->setObjectName(name);
    return menu;
}
}  // namespace

QWidget* makeCanvasPlaceholder(QWidget* parent) {
    auto* canvas = new QFrame(parent);
    canvas->setObjectName("RMCanvas1");
    canvas->setFrameShape(QFrame::StyledPanel);
    canvas->setAutoFillBackground(true);
    QPalette p = canvas->palette();
    p.setColor(QPalette::Window, Qt::black);
    canvas->setPalette(p);
    return canvas;
}

frmTARV::frmTARV(EditingContext& context, const CanvasFactory& canvasFactory, QWidget* parent)
    : QMainWindow(parent), ctx(context), roadWindow_(context.road.window, *this) {
    setObjectName("frmTARV");
    setWindowTitle(QString::fromStdString(ctx.version.appTitle));

    SSTab1 = new QTabWidget;
    SSTab1->setObjectName("SSTab1");
    pageGeneral = new GeneralPage;
    pageTools = new ToolsPage;
    pageObjects = new ObjectsPage;
    pageMaterials = new MaterialsPage;
    pageTextures = new TexturesPage;
    pageShipInfo = new ShipInfoPage;
    pageAnimations = new AnimationsPage;
    pageMeshTools = new MeshToolsPage;
    SSTab1->addTab(pageGeneral, "General");
    SSTab1->addTab(pageTools, "Tools");
    SSTab1->addTab(pageObjects, "Objects");
    SSTab1->addTab(pageMaterials, "Materials");
    SSTab1->addTab(pageTextures, "Textures");
    SSTab1->addTab(pageShipInfo, "Ship Info");
    SSTab1->addTab(pageAnimations, "Animations");
    SSTab1->addTab(pageMeshTools, " Mesh Tools ");
    // The left pane is at least as wide as its row of captions, and takes a share of a wider window.
    showingWholeCaptions(SSTab1);
    SSTab1->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);

    Text1 = pageGeneral->Text1;
    lblStatus = pageGeneral->lblStatus;
    lblStatus2 = pageGeneral->lblStatus2;
    prgLoadTextures = pageGeneral->prgLoadTextures;
    prgStatus2 = pageGeneral->prgStatus2;
    Timer1 = pageGeneral->Timer1;
    treeHeirachy = pageObjects->treeHeirachy;
    treeMex = pageShipInfo->treeMex;
    treeHeirachy->bind(&ctx.shell.treeHeirachy);
    treeMex->bind(&ctx.mex.treeMex);

    auto* central = new QWidget;
    central->setObjectName("centralWidget");
    RMCanvas1 = canvasFactory ? canvasFactory(central) : makeCanvasPlaceholder(central);
    RMCanvas1->setObjectName("RMCanvas1");
    RMCanvas1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    RMCanvas1->setMinimumSize(200, 150);
    Dx_Label1 = new QLabel;
    Dx_Label1->setObjectName("Dx_Label1");
    auto* canvasPane = new QWidget;
    canvasPane->setObjectName("canvasPane");
    canvasColumn = new QVBoxLayout(canvasPane);
    canvasColumn->setContentsMargins(0, 0, 0, 0);
    canvasColumn->addWidget(RMCanvas1, 1);
    canvasColumn->addWidget(Dx_Label1);
    // The pages on the left, the canvas on the right; a wider window widens both, the canvas twice as much,
    // and the user can move the border between them.
    auto* split = new QSplitter(Qt::Horizontal);
    split->setObjectName("splitPagesCanvas");
    split->setChildrenCollapsible(false);
    split->addWidget(SSTab1);
    split->addWidget(canvasPane);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 2);
    auto* layout = new QHBoxLayout(central);
    layout->addWidget(split);
    setCentralWidget(central);

    buildMenus();
    buildStatusBar();

    errorWindow = new frmError(ctx, this);

    resize(1100, 760);
    connectRoads();
    syncFromContext();
}

frmTARV::~frmTARV() {
    // An editor still open in a control (a tree node's rename) closes when the window hides; what it commits
    // then runs no command, and the window is hidden before its parts go.
    ++syncing_;
    hide();
    if (busy_) QApplication::restoreOverrideCursor();
    if (spaced_) {
        // The context outlives the window: it goes back to the services it had.
        Services& services = ctx.services;
        if (services.status == &spaced_->status()) services.status = nullptr;
        if (services.errorReport == &spaced_->errorReport()) services.errorReport = nullptr;
        if (services.prompts == &spaced_->prompts()) services.prompts = unspacedPrompts_;
    }
}

void frmTARV::spaceUpdates() {
    if (spaced_) return;
    unspacedPrompts_ = ctx.services.prompts;
    spaced_ = std::make_unique<SpacedUpdates>(*this, ctx.errorReport(), ctx.prompts(), ctx.clock());
    // Whatever a command leaves held back reaches the window once the command returns to the event loop.
    spaced_->onHeld = [this] {
        QTimer::singleShot(0, this, [this] { spaced_->flush(); });
    };
    // A batch reaches the screen at once, in one repaint of the widgets it changed; nothing else of the
    // event loop runs for it.
    spaced_->onFlushed = [this] { QCoreApplication::sendPostedEvents(this, QEvent::UpdateRequest); };
    ctx.services.status = &spaced_->status();
    ctx.services.errorReport = &spaced_->errorReport();
    ctx.services.prompts = &spaced_->prompts();
}

void frmTARV::buildMenus() {
    QMenuBar* bar = menuBar();
    mnuFile = submenu(this, "mnuFile", "&File");
    bar->addMenu(mnuFile);
    mnuFileOpen = item(mnuFile, "mnuFileOpen", "&Open");
    mnuReload = item(mnuFile, "mnuReload", "&Reload");
    mnuFileSave = submenu(this, "mnuFileSave", "&Save");
    mnuFile->addMenu(mnuFileSave);
    mnuSaveAll = item(mnuFileSave, "mnuSaveAll", "&All");
    mnuSavePeo = item(mnuFileSave, "mnuSavePeo", "&PEO only");
    mnuSaveMex = item(mnuFileSave, "mnuSaveMex", "&MEX only");
    mnuSaveMad = item(mnuFileSave, "mnuSaveMad", "MA&D only");
    mnuFileSaveSHP = item(mnuFileSave, "mnuFileSaveSHP", "&SHP only");
    mnuSaveSep = mnuFileSave->addSeparator();
    mnuSaveSep->setObjectName("mnuSaveSep");
    mnuSaveTypeHW = item(mnuFileSave, "mnuSaveTypeHW", "&HW");
    mnuSaveTypeHWC = item(mnuFileSave, "mnuSaveTypeHWC", "HW:&C");
    mnuSaveTypeHW->setCheckable(true);
    mnuSaveTypeHWC->setCheckable(true);
    mnuSaveTypeHW->setChecked(true);
    mnuFileSaveAs = item(mnuFile, "mnuFileSaveAs", "S&ave As...");
    mnuBackup = submenu(this, "mnuBackup", "&Backup");
    mnuFile->addMenu(mnuBackup);
    mnuBUC = item(mnuBackup, "mnuBUC", "&Create");
    mnuRevBU = item(mnuBackup, "mnuRevBU", "&Load");
    mnuFile->addSeparator();
    mnuFileImport = submenu(this, "mnuFileImport", "&Import");
    mnuFile->addMenu(mnuFileImport);
    mnuImportFromOBJ = item(mnuFileImport, "mnuImportFromOBJ", "Wavefront &OBJ file");
    mnuImportFromOBJ->setEnabled(false);
    mnuImportFromPEO = item(mnuFileImport, "mnuImportFromPEO", "Homeworld &PEO file");
    mnuImportFromSMD = item(mnuFileImport, "mnuImportFromSMD", "Milkshape &SMD file");
    mnuFile->addSeparator();
    mnuFileExit = item(mnuFile, "mnuFileExit", "E&xit");
    for (size_t i = 0; i < mnuRecentFile.size(); ++i) {
        std::string name = "mnuRecentFile_" + std::to_string(i);
        mnuRecentFile[i] = i == 0 ? mnuFile->addSeparator() : mnuFile->addAction(QString());
        mnuRecentFile[i]->setObjectName(QString::fromStdString(name));
        mnuRecentFile[i]->setVisible(false);
    }

    mnuRender = submenu(this, "mnuRender", "&Render");
    bar->addMenu(mnuRender);
    mnuRenderWireframe = item(mnuRender, "mnuRenderWireframe", "&Wireframe");
    mnuRenderFlat = item(mnuRender, "mnuRenderFlat", "&Textured");
    mnuRenderFlat->setCheckable(true);
    mnuRenderFlat->setChecked(true);
    mnuRender->addSeparator();
    mnuRenderReset = item(mnuRender, "mnuRenderReset", "&Reset View");

    mnuTools = submenu(this, "mnuTools", "&Tools");
    bar->addMenu(mnuTools);
    mnuToolsOptions = item(mnuTools, "mnuToolsOptions", "&Options...");
    mnuTools->addSeparator();
    mnuTexPeek = item(mnuTools, "mnuTexPeek", "&Lif Viewer");
    mnuToolsRepair = item(mnuTools, "mnuToolsRepair", "&Repair PEO file");

    mnuHelp = submenu(this, "mnuHelp", "&Help");
    bar->addMenu(mnuHelp);
    mnuHelpAbout = item(mnuHelp, "mnuHelpAbout", "&About");

    mnuFixLif = submenu(this, "mnuFixLif", "Fix Lifs");
    mnuLodList = submenu(this, "mnuLodList", "Lod File List");
    mnuLodCommands = submenu(this, "mnuLodCommands", "Lod Commands");
    mnu3dPreview = submenu(this, "mnu3dPreview", "3d Preview");

    // The File menu shows what logic elsewhere did to the shell state since it was last open.
    connect(mnuFile, &QMenu::aboutToShow, this, &frmTARV::syncFromContext);
    connect(mnuBUC, &QAction::triggered, this, &frmTARV::mnuBUC_Click);
    connect(mnuRevBU, &QAction::triggered, this, &frmTARV::mnuRevBU_Click);
    connect(mnuHelpAbout, &QAction::triggered, this, &frmTARV::mnuHelpAbout_Click);
    connect(mnuFileExit, &QAction::triggered, this, &frmTARV::mnuFileExit_Click);
}

void frmTARV::buildStatusBar() {
    StatusBar1 = statusBar();
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(true);
    for (size_t i = 0; i < statusPanels.size(); ++i) {
        auto* panel = new QLabel;
        panel->setObjectName(QString("StatusBar1_Panel%1").arg(i + 1));
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setMinimumWidth(i == 0 ? 200 : 50);
        StatusBar1->addPermanentWidget(panel, i == 0 ? 1 : 0);
        statusPanels[i] = panel;
    }
}

void frmTARV::syncFromContext() {
    struct Syncing {
        int& depth;
        explicit Syncing(int& d) : depth(d) { ++depth; }
        ~Syncing() { --depth; }
    } syncing(syncing_);
    statusPanels[0]->setText(QString::fromStdString(ctx.currentModelPath));
    mnuBUC->setEnabled(ctx.shell.mnuBUCEnabled);
    mnuRevBU->setEnabled(ctx.shell.mnuRevBUEnabled);
    for (size_t i = 1; i < mnuRecentFile.size(); ++i) {
        const RecentFileItem& state = ctx.shell.mnuRecentFile[i];
        mnuRecentFile[i]->setText(QString::fromStdString(state.caption));
        mnuRecentFile[i]->setData(QString::fromStdString(state.path));
        if (state.visible) mnuRecentFile[i]->setVisible(true);
    }
    if (ctx.shell.mnuRecentFile[0].visible) mnuRecentFile[0]->setVisible(true);
    treeHeirachy->sync();
    treeMex->sync();
    syncRoadControls();
    for (const auto& hook : syncHooks) hook();
}

void frmTARV::mnuBUC_Click() {
    runCommand([&] { createModelBackup(ctx); });
}

void frmTARV::mnuHelpAbout_Click() {
    runCommand([&] {
        auto* about = new frmAbout(ctx, this);
        about->exec();
    });
}

void frmTARV::mnuFileExit_Click() { tarv::mnuFileExit_Click(ctx); }

void frmTARV::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // The layouts place the controls; what stays of the layout rules is that the selection text goes.
    trapErrors(ctx, "frmTARV", "Form_Resize", "", [&] { Dx_Label1->clear(); });
}

QProgressBar* frmTARV::bar(ProgressBar which) const {
    return which == ProgressBar::LoadTextures ? prgLoadTextures : prgStatus2;
}

void frmTARV::setStatus(const std::string& text) {
    // Painted with the other widgets that changed, at the next repaint of the window: a repaint of its own
    // would repaint the whole window for each text.
    lblStatus->setText(QString::fromStdString(text));
}

void frmTARV::setStatus2(const std::string& text) { lblStatus2->setText(QString::fromStdString(text)); }

void frmTARV::setProgressMax(ProgressBar which, int maximum) { bar(which)->setMaximum(maximum); }

void frmTARV::setProgressValue(ProgressBar which, int value) {
    // A progress bar repaints itself at once on a new value, which repaints the whole window; here it is
    // painted with the other widgets that changed, at the next repaint of the window.
    QProgressBar* progress = bar(which);
    const bool updates = progress->updatesEnabled();
    progress->setUpdatesEnabled(false);
    progress->setValue(value);
    progress->setUpdatesEnabled(updates);
    if (updates) progress->update();
}

void frmTARV::setProgressVisible(ProgressBar which, bool visible) { bar(which)->setVisible(visible); }

void frmTARV::setPanelText(int panel, const std::string& text) {
    if (panel >= 2 && panel <= 4) statusPanels[size_t(panel - 1)]->setText(QString::fromStdString(text));
    statusPanels[0]->setText(QString::fromStdString(ctx.currentModelPath));
}

void frmTARV::appendLog(const std::string& text) {
    QString s = QString::fromStdString(text);
    s.remove('\r');
    Text1->moveCursor(QTextCursor::End);
    Text1->insertPlainText(s);
    Text1->moveCursor(QTextCursor::End);
}

void frmTARV::clearLog() { Text1->clear(); }

void frmTARV::setBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void frmTARV::processEvents() {
    syncFromContext();
    // While a load or save runs, the user's input to this window waits for its end.
    if (inputGate_ && ctx.road.operationsRunning > 0) inputGate_->hold();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace tarv
