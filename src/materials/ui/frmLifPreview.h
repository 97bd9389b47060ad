#pragma once
// The texture preview window "texPeek v1.2": the picture of one .lif layer, the warning label, the two
// team-colour swatches, Previous, Next, Zoom and Close, the four status panels, and the File and View
// menus. Made once with the main window and hidden, never destroyed, when closed; every showing
// activates it. Its behaviour is LifPreview's; the window shows ctx.lif.preview.
#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <array>
#include <functional>
#include <memory>

#include "editor/context/ShellState.h"
#include "shell/WindowHook.h"

namespace tarv {

class EditingContext;
class frmTARV;

class frmLifPreview : public QDialog, public SwatchWindow {
    Q_OBJECT
public:
    explicit frmLifPreview(frmTARV& window);
    ~frmLifPreview() override;

    // Shows the state of ctx.lif.preview (while it shows, the main window calls it with its pages).
    void sync();
    void paintSwatchColour(SwatchColour which, int32_t colour) override;

    QMenuBar* menuBar;
    QMenu* mnuFile;
    QAction* mnuFileOpen;
    QAction* mnuFixLif;
    QMenu* mnuFileExport;
    QAction* mnuFileExportBMP;
    QAction* mnuFileExit;
    QMenu* mnuView;
    std::array<QAction*, 7> viewItems{};  // mnuViewBase .. mnuViewAll, layers 1 to 7
    QWidget* pictureArea;
    QLabel* Image1;
    QLabel* Label1;
    QLabel* picTeam0;
    QLabel* picTeam1;
    QPushButton* cmdPrev;
    QPushButton* cmdNext;
    QPushButton* cmdZoom;
    QPushButton* cmdClose;
    QStatusBar* StatusBar1;
    std::array<QLabel*, 4> panels{};

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Runs a command on the main window's road, which shows the state here and in the main window.
    void run(const std::function<void(EditingContext&)>& command);
    void paintSwatch(QLabel* swatch, int32_t colour);

    frmTARV& window_;
    EditingContext& ctx_;
    WindowInList<SwatchWindow> swatchWindow_;
};

}  // namespace tarv
