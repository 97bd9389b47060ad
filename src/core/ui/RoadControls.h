#pragma once
// The controls of the pages that start-up and the load road set: the LOD frame and the scaling and turning
// controls of the Tools page, the material list and its counts, the animation lists, the chunk edit fields
// and the gun-type list. A control that its own subsystem has already put on a page is used as it is;
// the others are plain placeholders until their subsystems build them.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <array>
#include <vector>

#include "core/EditingContext.h"

namespace tarv {

class frmTARV;
class LodFrame;

class RoadControls : public QObject {
    Q_OBJECT
public:
    RoadControls(EditingContext& ctx, frmTARV& window);

    LodFrame* fraLod;
    QComboBox* cmbObjectSize;
    QLineEdit* txtScaleAmount;
    std::array<QRadioButton*, 3> rotateOption;
    QComboBox* cmbRotateAmount;
    QCheckBox* chkScalePEO;
    QCheckBox* chkScaleMEX;
    QCheckBox* chkScaleMAD;
    QListWidget* lstMaterial;
    QLineEdit* txtPublic;
    QLineEdit* txtLocal;
    QListWidget* lstAnimations;
    QComboBox* cmbObjAnims;
    QComboBox* cmbApplyKeyframeType;
    std::vector<QWidget*> mexFields;  // mexLabel(0..8), txtMexName, txtAngle, txtMexPos, txtMexOrt, txtChunkId, lblChunkID
    QComboBox* cmbShpGunType;

    // Shows the road state of the context.
    void sync();

private:
    EditingContext& ctx_;
    frmTARV& window_;
    bool syncing_ = false;
};

} // namespace tarv
