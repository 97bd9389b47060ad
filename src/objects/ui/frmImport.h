#pragma once
// "TARV Import" (frmImport): the objects of a second .peo as a tree with check boxes, and the button that
// appends the ticked ones to the model. Created the first time File > Import > "Homeworld &PEO file" is
// used, then kept and hidden after each import.
#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTextEdit>
#include <functional>

#include "objects/ObjectImport.h"

namespace tarv {

class EditingContext;
class frmTARV;
class KeyedTreeWidget;

class frmImport : public QDialog {
    Q_OBJECT
public:
    frmImport(EditingContext& ctx, QWidget* owner = nullptr);
    QMenuBar* menuBar;
    QAction* mnuFileImport;
    QAction* mnuFileExit;
    QLabel* Label1;
    KeyedTreeWidget* treeHeirachy;
    QTextEdit* Text1;
    QPushButton* cmdImport;
    QStatusBar* StatusBar1;
    ImportSession session;

    void showState();
    void mnuFileImport_Click();
    void cmdImport_Click();
    // Runs a command of this window on the main window's one road, which then shows the context on every
    // page; unset, the command runs alone.
    std::function<void(const std::function<void()>&)> run;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void runCommand(const std::function<void()>& command);
    EditingContext& ctx_;
};

// The main window's "Homeworld &PEO file": the import window, made on first use, shown modally without
// an owner until it is hidden.
void mnuImportFromPEO_Click(frmTARV& window);
// The import window once it was made; none before.
frmImport* importWindow(frmTARV& window);
// Connects the menu item of the main window.
void installObjectImport(frmTARV& window);

}  // namespace tarv
