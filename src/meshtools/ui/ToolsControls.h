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

namespace tarv {

class EditingContext;
class frmTARV;
class LodFrame;

class ToolsControls : public QObject {
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

private:
    frmTARV& window_;
    EditingContext& ctx_;
};

// Installs the mesh tools into the main window: the "Tools" page's controls and Tools > "&Repair PEO file".
void installMeshTools(frmTARV& window);

}  // namespace tarv
