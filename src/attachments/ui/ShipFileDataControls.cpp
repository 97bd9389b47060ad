#include "attachments/ui/ShipFileDataControls.h"

#include <QGridLayout>

#include "attachments/GunPanel.h"
#include "attachments/state/ShipInfoPageState.h"
#include "editor/context/EditingContext.h"
#include "shell/ControlSync.h"
#include "shell/frmTARV.h"

namespace tarv {

namespace {

// Sets a box's text only when it differs, so the cursor of the box being typed in stays where it is.
void showText(QLineEdit* box, const std::string& text) {
    const QString wanted = QString::fromStdString(text);
    if (box->text() != wanted) box->setText(wanted);
}

}  // namespace

ShipFileDataControls::ShipFileDataControls(frmTARV& window)
    : QObject(&window), window_(window), ctx_(window.ctx) {
    setObjectName("shipFileDataControls");
    Frame8 = namedControl<QGroupBox>("Frame8", pageLayout(window.pageShipInfo->pageShipFileData));
    Frame8->setTitle("Experimental SHP file information");
    if (auto* box = qobject_cast<QBoxLayout*>(window.pageShipInfo->pageShipFileData->layout())) box->addStretch();
    auto* grid = new QGridLayout(Frame8);

    const ShipFileDataPage& page = ctx_.shipInfoPage->shipFileData;
    for (size_t i = 0; i < lblShpGunInfo.size(); ++i) {
        lblShpGunInfo[i] = namedControl<QLabel>(QString("lblShpGunInfo_%1").arg(i));
        lblShpGunInfo[i]->setText(QString::fromStdString(page.lblShpGunInfo[i]));
    }
    for (size_t i = 0; i < txtShpGunInfo.size(); ++i)
        txtShpGunInfo[i] = namedControl<QLineEdit>(QString("txtShpGunInfo_%1").arg(i));
    for (size_t i = 0; i < txtShpGunAngles.size(); ++i)
        txtShpGunAngles[i] = namedControl<QLineEdit>(QString("txtShpGunAngles_%1").arg(i));
    cmbShpGunType = namedControl<QComboBox>("cmbShpGunType");
    txtShpObjAz = namedControl<QLineEdit>("txtShpObjAz");
    txtShpObjDecl = namedControl<QLineEdit>("txtShpObjDecl");
    lblShpObjAz = namedControl<QLabel>("lblShpObjAz");
    lblShpObjAz->setText("Object steered by gun azimuth control:");
    lblShpObjDecl = namedControl<QLabel>("lblShpObjDecl");
    lblShpObjDecl->setText("Object steered by gun declination control:");
    Label16 = namedControl<QLabel>("Label16");
    Label16->setText(kGunPanelNoteText);
    Label16->setWordWrap(true);
    cmdApplyShpInfo = namedControl<QPushButton>("cmdApplyShpInfo");
    cmdApplyShpInfo->setText("Apply");

    grid->addWidget(lblShpGunInfo[0], 0, 0);
    grid->addWidget(cmbShpGunType, 0, 1, 1, 2);
    grid->addWidget(lblShpGunInfo[1], 1, 0);
    grid->addWidget(txtShpGunInfo[1], 1, 1);
    grid->addWidget(lblShpGunInfo[2], 2, 0);
    grid->addWidget(txtShpGunInfo[0], 2, 1);
    grid->addWidget(lblShpGunInfo[3], 3, 0);
    grid->addWidget(txtShpGunAngles[0], 3, 1);
    grid->addWidget(txtShpGunAngles[1], 3, 2);
    grid->addWidget(lblShpGunInfo[4], 4, 0);
    grid->addWidget(txtShpGunAngles[2], 4, 1);
    grid->addWidget(txtShpGunAngles[3], 4, 2);
    grid->addWidget(Label16, 5, 0, 1, 3);
    grid->addWidget(lblShpObjAz, 6, 0, 1, 3);
    grid->addWidget(txtShpObjAz, 7, 0, 1, 3);
    grid->addWidget(lblShpObjDecl, 8, 0, 1, 3);
    grid->addWidget(txtShpObjDecl, 9, 0, 1, 3);
    grid->addWidget(cmdApplyShpInfo, 10, 2);

    // Typing writes the box's text into the page state.
    auto typedAt = [this](QLineEdit* box, std::string* text) {
        connect(box, &QLineEdit::textEdited, this, [this, text](const QString& typed) {
            if (!window_.syncing()) *text = typed.toStdString();
        });
    };
    ShipFileDataPage& state = ctx_.shipInfoPage->shipFileData;
    for (size_t i = 0; i < txtShpGunInfo.size(); ++i) typedAt(txtShpGunInfo[i], &state.txtShpGunInfo[i]);
    for (size_t i = 0; i < txtShpGunAngles.size(); ++i) typedAt(txtShpGunAngles[i], &state.txtShpGunAngles[i]);
    typedAt(txtShpObjAz, &state.txtShpObjAz);
    typedAt(txtShpObjDecl, &state.txtShpObjDecl);
    connect(cmbShpGunType, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!window_.syncing()) ctx_.shipInfoPage->cmbShpGunType.listIndex = index;
    });
    connect(cmdApplyShpInfo, &QPushButton::clicked, this,
            [this] { window_.runCommand([this] { cmdApplyShpInfo_Click(ctx_); }); });
}

void ShipFileDataControls::sync() {
    const ShipInfoPageState& state = *ctx_.shipInfoPage;
    const ShipFileDataPage& page = state.shipFileData;
    showItems(cmbShpGunType, state.cmbShpGunType);
    for (size_t i = 0; i < lblShpGunInfo.size(); ++i)
        lblShpGunInfo[i]->setText(QString::fromStdString(page.lblShpGunInfo[i]));
    for (size_t i = 0; i < txtShpGunInfo.size(); ++i) showText(txtShpGunInfo[i], page.txtShpGunInfo[i]);
    for (size_t i = 0; i < txtShpGunAngles.size(); ++i) showText(txtShpGunAngles[i], page.txtShpGunAngles[i]);
    showText(txtShpObjAz, page.txtShpObjAz);
    showText(txtShpObjDecl, page.txtShpObjDecl);
}

void installShipFileDataControls(frmTARV& window) {
    auto* controls = new ShipFileDataControls(window);
    window.syncHooks.push_back([controls] { controls->sync(); });
}

}  // namespace tarv
