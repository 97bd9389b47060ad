#include "attachments/ui/ShipInfoControls.h"

#include <QLineEdit>

#include "attachments/MexSteps.h"
#include "attachments/state/ShipInfoPageState.h"
#include "shell/ControlSync.h"
#include "shell/frmTARV.h"
#include "editor/context/EditingContext.h"

namespace tarv {

ShipInfoControls::ShipInfoControls(frmTARV& window) : QObject(&window), ctx_(window.ctx) {
    setObjectName("shipInfoControls");
    lblMexKey = namedControl<QLabel>("lblMexKey", pageLayout(window.pageShipInfo->Frame3));
    QLayout* mexData = pageLayout(window.pageShipInfo->pageMexData);
    QStringList fieldNames;
    for (int i = 0; i <= 8; ++i) fieldNames << QString("mexLabel_%1").arg(i);
    fieldNames << "txtMexName"
               << "txtAngle_0"
               << "txtAngle_1";
    for (int i = 0; i < 3; ++i) fieldNames << QString("txtMexPos_%1").arg(i);
    for (int i = 0; i < 3; ++i) fieldNames << QString("txtMexOrt_%1").arg(i);
    fieldNames << "txtChunkId"
               << "lblChunkID";
    for (const QString& name : fieldNames) {
        QWidget* field = name.startsWith("txt") ? static_cast<QWidget*>(namedControl<QLineEdit>(name, mexData))
                                                : static_cast<QWidget*>(namedControl<QLabel>(name, mexData));
        mexFields.push_back(field);
    }
    cmbShpGunType = namedControl<QComboBox>("cmbShpGunType", pageLayout(window.pageShipInfo->pageShipFileData));
    connect(cmbShpGunType, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!syncing_) ctx_.shipInfoPage->cmbShpGunType.listIndex = index;
    });
}

void ShipInfoControls::sync() {
    syncing_ = true;
    const ShipInfoPageState& state = *ctx_.shipInfoPage;
    lblMexKey->setText(QString::fromStdString(state.lblMexKey));
    for (QWidget* field : mexFields) field->setVisible(state.mexFieldsVisible);
    showItems(cmbShpGunType, state.cmbShpGunType);
    syncing_ = false;
}

void installAttachments(frmTARV& window) {
    connectAttachments(window.ctx);
    auto* controls = new ShipInfoControls(window);
    window.syncHooks.push_back([controls] { controls->sync(); });
}

}  // namespace tarv
