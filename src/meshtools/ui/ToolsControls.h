#pragma once
// The mesh tools' controls on the "Tools" page: the LOD frame, and the whole-model scale and turn with the
// ship-class list.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QObject>
#include <QPushButton>
#include <QRadioButton>
#include <array>

#include "meshtools/state/ToolsPageState.h"
#include "shell/WindowHook.h"

namespace tarv {

class EditingContext;
class frmTARV;
class LodFrame;

// Also the mesh tools' load road while the window lives: the load runs as a command of the main window, which
// holds back the user's input while it runs and hands it over afterwards.
class ToolsControls : public QObject, public LoadRoadHook {
    Q_OBJECT
public:
    explicit ToolsControls(frmTARV& window);
    LodFrame* fraLod;
    QComboBox* cmbObjectSize;
    QLineEdit* txtScaleAmount;
    std::array<QRadioButton*, 3> rotateOption;
    QComboBox* cmbRotateAmount;
    QCheckBox* chkScalePEO;
    QCheckBox* chkScaleMEX;
    QCheckBox* chkScaleMAD;
    QPushButton* cmdScalePeo;
    QPushButton* cmdRotate;
    // Shows the page's state.
    void sync();
    void startprocess(EditingContext& ctx) override;

private:
    frmTARV& window_;
    EditingContext& ctx_;
    WindowHook<LoadRoadHook> loadRoad_;
};

// Installs the mesh tools into the main window: the "Tools" page's controls and Tools > "&Repair PEO file".
void installMeshTools(frmTARV& window);

}  // namespace tarv
