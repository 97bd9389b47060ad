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
#include <QVBoxLayout>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "editor/context/RoadState.h"
#include "platform/CommonDialog.h"
#include "platform/SpacedUpdates.h"
#include "platform/StatusDisplay.h"
#include "shell/MainWindowPages.h"
#include "shell/ShellDialogs.h"
#include "shell/WindowHook.h"

namespace tarv {

class EditingContext;

class frmOptions;
class UserInputGate;

// Makes the 3D canvas; the GL canvas where GL works, a plain widget in offscreen tests. The widget
// must be named "RMCanvas1".
using CanvasFactory = std::function<QWidget*(QWidget* parent)>;
QWidget* makeCanvasPlaceholder(QWidget* parent);

class frmTARV : public QMainWindow, public StatusDisplay, public RoadWindow {
    Q_OBJECT
public:
    explicit frmTARV(EditingContext& ctx, const CanvasFactory& canvasFactory = {}, QWidget* parent = nullptr);
    ~frmTARV() override;

    EditingContext& ctx;

    // The start-up: recent files, a fresh start-up log, the preferences, the scene, the starting state of
    // the commands and pages, and last the file the command line names (frmTARVRoads.cpp).
    void Form_Load(const std::string& commandLine = {});
    // Shows the shell state of the context: model path panel, Backup items, recent files, trees.
    void syncFromContext();
    // Called at the end of syncFromContext: the pages of the subsystems show their state. Each subsystem's
    // installer adds its own.
    std::vector<std::function<void()>> syncHooks;
    // The one road of every control event, of this window and of the subsystems' windows: runs the command,
    // reports an error that escapes it, and then every page shows the context once. The user's input held
    // back during the command is handled afterwards, and a close asked for meanwhile happens. A control
    // changed while the window shows the context runs no command.
    void runCommand(const std::function<void()>& command);
    // True while the window shows the context: a control that changes now is not the user's doing.
    bool syncing() const { return syncing_ > 0; }

    // Handlers.
    void mnuBUC_Click();
    void mnuRevBU_Click();
    void mnuHelpAbout_Click();
    void mnuFileExit_Click();
    void startprocess();

    // The load and save roads, the Tools and exit commands (frmTARVRoads.cpp).
    void loadThisFile(const std::string& filename);
    void mnuFileOpen_Click();
    void mnuRecentFile_Click(int index);
    void mnuReload_Click();
    void mnuSaveAll_Click();
    void mnuSavePeo_Click();
    void mnuSaveMex_Click();
    void mnuSaveMad_Click();
    void mnuFileSaveSHP_Click();
    void mnuFileSaveAs_Click();
    void mnuSaveTypeHW_Click();
    void mnuSaveTypeHWC_Click();
    void mnuToolsOptions_Click();
    void mnuToolsRepair_Click();
    void Form_QueryUnload();
    void Form_Terminate();
    // Shows the road state of the context: File menu, variant, pages, the road's lists and labels.
    void syncRoadControls();
    frmOptions* optionsWindow = nullptr;

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
    // RoadWindow: the modal load summary; the end of the program ends the process at once.
    void showLoadSummary(EditingContext& context) override;
    void endProgram(EditingContext& context) override;
    // From now on the context's operations report to this window, the context's error report and its
    // prompts through SpacedUpdates: the window takes their updates at most ten times a second, and
    // all of them before a prompt or an error report and at the end of each command.
    void spaceUpdates();
    // What is held back for the window, when spaceUpdates() was called.
    SpacedUpdates* spacedUpdates() const { return spaced_.get(); }

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
    QVBoxLayout* canvasColumn;  // the canvas and Dx_Label1; the preview adds its view buttons beneath

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void connectRoads();
    int syncing_ = 0;
    UserInputGate* inputGate_ = nullptr;
    bool closePending_ = false;
    void buildMenus();
    void buildStatusBar();
    QProgressBar* bar(ProgressBar which) const;
    bool busy_ = false;
    std::unique_ptr<SpacedUpdates> spaced_;
    Prompts* unspacedPrompts_ = nullptr;
    WindowHook<RoadWindow> roadWindow_;
};

}  // namespace tarv
