#pragma once
// "Repair PEO tool" (frmRepair): a .peo file's header, the material count its layout implies, its object
// records and one object's normals, with the repair of the material count and the hand-over of the file to
// the main window. Made the first time Tools > "&Repair PEO file" is used, then hidden, never destroyed, so
// it shows the last file again.
#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeView>
#include <array>
#include <functional>

#include "meshtools/PeoRepair.h"

namespace tarv {

class EditingContext;
class frmTARV;
class NormalRowsModel;

class frmRepair : public QDialog {
    Q_OBJECT
public:
    explicit frmRepair(EditingContext& ctx, QWidget* owner = nullptr);

    QMenuBar* menuBar;
    QAction* mnuFileOpen;
    QAction* mnuFileLoadIntoTARV;
    QAction* mnuFileExit;
    QLineEdit* txtVersion;
    QLineEdit* txtNumberOfObjects;
    QLineEdit* txtMats;
    QLabel* lblMatSize;
    QLabel* lblMatOffset;
    QPushButton* cmdRepairMats;
    QListWidget* lstObjects;
    QLabel* Label4;
    QLineEdit* txtObjNameOffset;
    std::array<QLineEdit*, 6> txtObjInfo;
    QLabel* Label5;
    QTreeView* ListView1;
    QStatusBar* StatusBar1;
    RepairView view;

    // Shows the view; rowsChanged when a command refilled ListView1.
    void showState(bool rowsChanged = false);
    void mnuFileOpen_Click();
    void mnuFileLoadIntoTARV_Click();
    void mnuFileExit_Click();
    void lstObjects_Click(int index);
    void cmdRepairMats_Click();
    // How often Form_Load ran: once per window.
    int formLoads() const { return formLoads_; }
    // Runs a command of this window on the main window's one road, which then shows the context on every
    // page; unset, the command runs alone.
    std::function<void(const std::function<void()>&)> run;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void runCommand(const std::function<void()>& command);
    void Form_Load();
    // Hides the window when a command asked for it.
    void followVisibility(bool rowsChanged = false);
    EditingContext& ctx_;
    NormalRowsModel* rows_;
    bool showing_ = false;
    int formLoads_ = 0;
};

// Tools > "&Repair PEO file": the repair window, made on first use, shown modally until it is hidden.
void mnuToolsRepair_Click(frmTARV& window);
// The repair window once it was made; none before.
frmRepair* repairWindow(frmTARV& window);
// Connects Tools > "&Repair PEO file" of the main window and enables it.
void installRepairWindow(frmTARV& window);

}  // namespace tarv
