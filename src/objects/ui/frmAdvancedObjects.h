#pragma once
// "Advanced Object Properties" (frmAdvancedObjects) and "Pivot Point" (frmPivot): created once with the
// main window, shown modally and hidden when dismissed. They read their controls into the context, call
// the logic of ObjectDialogs and show the context again.
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <array>
#include <functional>

#include "objects/state/ObjectsState.h"
#include "shell/WindowHook.h"

namespace tarv {

class EditingContext;
class frmTARV;

class frmPivot : public QDialog {
    Q_OBJECT
public:
    frmPivot(EditingContext& ctx, QWidget* owner);
    QLabel* Label1;
    QLabel* Label2;
    std::array<QLineEdit*, 3> txtPivot;  // objectNames txtPivot_0 ... txtPivot_2
    QPushButton* cmdPivot;
    QPushButton* cmdCancel;
    void cmdPivot_Click();
    // Runs a command of this window on the main window's one road, which then shows the context on every
    // page; unset, the command runs alone.
    std::function<void(const std::function<void()>&)> run;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    EditingContext& ctx_;
};

// Also shows the bake status at once while it lives.
class frmAdvancedObjects : public QDialog, public BakeStatusHook {
    Q_OBJECT
public:
    frmAdvancedObjects(EditingContext& ctx, QWidget* owner);
    QLabel* lblObjectName;
    std::array<QLabel*, 9> lblObjectSize;  // objectNames lblObjectSize_0 ... lblObjectSize_8
    QPushButton* cmdBakeVertices;
    QLabel* lblBakeStatus;
    QPushButton* cmdCopyRotationMatrix;
    QComboBox* cmbMatrixObjectList;
    QPushButton* cmdMovePivot;
    QGroupBox* Frame1;
    std::array<QCheckBox*, 7> chkObjFlags;  // objectNames chkObjFlags_0 ... chkObjFlags_6; inert
    QPushButton* OKButton;
    frmPivot* pivot;

    // Shows the dialog's texts and the object list of the context.
    void showState();
    void cmdBakeVertices_Click();
    void cmdCopyRotationMatrix_Click();
    void cmdMovePivot_Click();
    // Runs a command of this window on the main window's one road, which then shows the context on every
    // page; unset, the command runs alone.
    std::function<void(const std::function<void()>&)> run;
    void showBakeStatus(EditingContext& ctx) override;

private:
    EditingContext& ctx_;
    WindowHook<BakeStatusHook> bakeStatus_;
};

// The main window's "Advanced Properties": nothing without a selection; otherwise the dialog opens modally.
void openAdvancedObjects(frmTARV& window, frmAdvancedObjects& dialog);

// Builds both dialogs for the main window, connects "Advanced Properties" to them, and returns the first.
frmAdvancedObjects* installObjectDialogs(frmTARV& window, QPushButton* cmdAdvancedObjProps);

}  // namespace tarv
