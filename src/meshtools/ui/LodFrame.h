#pragma once
// The Tools page frame "Multi-File options (LOD)": the list of level files and its commands.
#include <QGroupBox>

class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QAction;

namespace tarv {

class EditingContext;
class frmTARV;

class LodFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit LodFrame(frmTARV& window, QWidget* parent = nullptr);

    // Shows the file set's state.
    void refresh();

    QLabel* lblLodPath;
    QListWidget* lstLodFiles;
    QPushButton* cmdAddToLod;
    QPushButton* cmdMultiFile;
    QMenu* mnuLodList;
    QAction* mnuLodListDelete;
    QAction* mnuLodFileSwitch;
    QMenu* mnuLodCommands;
    QAction* mnuLodCommandsMatrix;

    void cmdAddToLod_Click();
    void cmdMultiFile_Click();
    void lstLodFiles_MouseDown(Qt::MouseButton button, const QPoint& globalPos);
    void mnuLodFileSwitch_Click();
    void mnuLodListDelete_Click();
    void mnuLodCommandsMatrix_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void takeSelection();
    frmTARV& window_;
    EditingContext& ctx_;
};

}  // namespace tarv
