#pragma once
// The editor's main window: the eight pages of SSTab1, the 3D canvas RMCanvas1 with Dx_Label1 beneath,
// the menus and the status bar. It is the status display of long operations and mirrors the shell
// state of the context (model path, Backup items, recent files, trees). Each page is its own class.
#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>
#include <QTabWidget>
#include <array>
#include <functional>
#include <vector>

#include "core/CommonDialog.h"
#include "core/EditingContext.h"
#include "core/StatusDisplay.h"
#include "core/ui/MainWindowPages.h"
#include "core/ui/ShellDialogs.h"

namespace tarv {

class PreviewParts;

// Makes the 3D canvas; the GL canvas where GL works, a plain placeholder in offscreen tests. The widget
// must be named "RMCanvas1".
using CanvasFactory = std::function<QWidget*(QWidget* parent)>;
QWidget* makeCanvasPlaceholder(QWidget* parent);

class frmTARV : public QMainWindow, public StatusDisplay {
    Q_OBJECT
public:
    explicit frmTARV(EditingContext& ctx, const CanvasFactory& canvasFactory = {}, QWidget* parent = nullptr);
    ~frmTARV() override;

    EditingContext& ctx;

    // The start-up steps of the shell: recent files, a fresh start-up log, the preferences, the caption.
    void Form_Load();
    // Shows the shell state of the context: model path panel, Backup items, recent files, trees.
    void syncFromContext();
    // Called at the end of syncFromContext: the pages of the subsystems show their state.
    std::vector<std::function<void()>> syncHooks;

    // Handlers.
    void mnuBUC_Click();
    void mnuRevBU_Click();
    void mnuHelpAbout_Click();
    void mnuFileExit_Click();
    void startprocess();

    // StatusDisplay.
    void setStatus(const std::string& text) override;
    void setStatus2(const std::string& text) override;
    void setProgressMax(ProgressBar bar, int maximum) override;
    void setProgressValue(ProgressBar bar, int value) override;
    void setProgressVisible(ProgressBar bar, bool visible) override;
    void setPanelText(int panel, const std::string& text) override;
    void appendLog(const std::string& text) override;
    void clearLog() override;
    void setBusy(bool busy) override;
    void processEvents() override;

    // Pages of SSTab1, in order.
    QTabWidget* SSTab1;
    GeneralPage* pageGeneral;
    ToolsPage* pageTools;
    ObjectsPage* pageObjects;
    MaterialsPage* pageMaterials;
    TexturesPage* pageTextures;
    ShipInfoPage* pageShipInfo;
    AnimationsPage* pageAnimations;
    MeshToolsPage* pageMeshTools;

    QWidget* RMCanvas1;
    QLabel* Dx_Label1;
    QStatusBar* StatusBar1;
    std::array<QLabel*, 4> statusPanels;  // panels 1 to 4

    // Controls of the pages that the core uses (owned by the pages).
    QPlainTextEdit* Text1;
    QLabel* lblStatus;
    QLabel* lblStatus2;
    QProgressBar* prgLoadTextures;
    QProgressBar* prgStatus2;
    QTimer* Timer1;
    QLabel* lblLodPath;
    KeyedTreeWidget* treeHeirachy;
    KeyedTreeWidget* treeMex;

    // Menus.
    QMenu* mnuFile;
    QAction* mnuFileOpen;
    QAction* mnuReload;
    QMenu* mnuFileSave;
    QAction* mnuSaveAll;
    QAction* mnuSavePeo;
    QAction* mnuSaveMex;
    QAction* mnuSaveMad;
    QAction* mnuFileSaveSHP;
    QAction* mnuSaveSep;
    QAction* mnuSaveTypeHW;
    QAction* mnuSaveTypeHWC;
    QAction* mnuFileSaveAs;
    QMenu* mnuBackup;
    QAction* mnuBUC;
    QAction* mnuRevBU;
    QMenu* mnuFileImport;
    QAction* mnuImportFromOBJ;
    QAction* mnuImportFromPEO;
    QAction* mnuImportFromSMD;
    QAction* mnuFileExit;
    std::array<QAction*, 6> mnuRecentFile;
    QMenu* mnuRender;
    QAction* mnuRenderWireframe;
    QAction* mnuRenderFlat;
    QAction* mnuRenderReset;
    QMenu* mnuTools;
    QAction* mnuToolsOptions;
    QAction* mnuTexPeek;
    QAction* mnuToolsRepair;
    QMenu* mnuHelp;
    QAction* mnuHelpAbout;
    // Pop-up menus of other pages, never in the menu bar.
    QMenu* mnuFixLif;
    QMenu* mnuLodList;
    QMenu* mnuLodCommands;
    QMenu* mnu3dPreview;

    CommonDialog CommonDialog1;
    frmError* errorWindow;
    PreviewParts* previewParts;  // the canvas wiring, view buttons, popup items and thumbnails

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildMenus();
    void buildStatusBar();
    QProgressBar* bar(ProgressBar which) const;
    bool busy_ = false;
};

} // namespace tarv
