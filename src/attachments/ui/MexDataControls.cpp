#include "attachments/ui/MexDataControls.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "attachments/ChunkEditPanel.h"
#include "attachments/MexSteps.h"
#include "attachments/state/ShipInfoPageState.h"
#include "editor/context/EditingContext.h"
#include "shell/ControlSync.h"
#include "shell/frmOptions.h"
#include "shell/frmTARV.h"

namespace tarv {

namespace {

void showLabel(QLabel* label, const MexDataLabel& state) {
    if (!showsText(label->text(), state.caption)) label->setText(QString::fromStdString(state.caption));
    label->setVisible(state.visible);
}

// The text is replaced only when it differs, so a box being typed in keeps its cursor.
void showBox(QLineEdit* box, const MexDataBox& state) {
    if (!showsText(box->text(), state.text)) box->setText(QString::fromStdString(state.text));
    box->setVisible(state.visible);
    box->setEnabled(state.enabled);
}

}  // namespace

QLineEdit* MexDataControls::box(const QString& name, MexDataBox& state) {
    auto* edit = namedControl<QLineEdit>(name);
    connect(edit, &QLineEdit::textEdited, this, [this, &state](const QString& text) {
        if (!window_.syncing()) state.text = text.toStdString();
    });
    return edit;
}

MexDataControls::MexDataControls(frmTARV& window) : QObject(&window), window_(window), ctx_(window.ctx) {
    setObjectName("mexDataControls");
    MexDataPage& page = ctx_.shipInfoPage->mexData;
    for (int i = 0; i < 9; ++i) mexLabel[size_t(i)] = namedControl<QLabel>(QString("mexLabel_%1").arg(i));
    lblChunkID = namedControl<QLabel>("lblChunkID");
    txtChunkId = box("txtChunkId", page.txtChunkId);
    txtMexName = box("txtMexName", page.txtMexName);
    for (int i = 0; i < 3; ++i) {
        txtMexPos[size_t(i)] = box(QString("txtMexPos_%1").arg(i), page.txtMexPos[size_t(i)]);
        txtMexOrt[size_t(i)] = box(QString("txtMexOrt_%1").arg(i), page.txtMexOrt[size_t(i)]);
    }
    for (int i = 0; i < 2; ++i) txtAngle[size_t(i)] = box(QString("txtAngle_%1").arg(i), page.txtAngle[size_t(i)]);
    lblNavColour = namedControl<QLabel>("lblNavColour");
    picNavColour = namedControl<QPushButton>("picNavColour");
    picNavColour->setFixedSize(48, 24);
    picNavColour->setFlat(true);
    picNavColour->setAutoFillBackground(true);
    frmOptions::paintSwatch(picNavColour, page.picNavColour);
    cmdMexEditApply = namedControl<QPushButton>("cmdMexEditApply");
    cmdMexEditApply->setText("Apply");
    cmdMexNormalise = namedControl<QPushButton>("cmdMexNormalise");
    cmdMexNormalise->setText("Normalise");
    cmdBBAutoCalc = namedControl<QPushButton>("cmdBBAutoCalc");
    cmdBBAutoCalc->setText("Auto-calc");
    mexZoom = namedControl<QPushButton>("mexZoom");
    mexZoom->setText("Zoom");

    // The chunk's ID and name on top, then its position and direction side by side, its two angles (or a
    // bounding box's level) beneath them, the nav light's colour, and the buttons.
    auto* grid = new QGridLayout;
    grid->addWidget(lblChunkID, 0, 0);
    grid->addWidget(txtChunkId, 0, 1);
    grid->addWidget(mexLabel[8], 1, 0);
    grid->addWidget(txtMexName, 1, 1, 1, 3);
    for (int i = 0; i < 3; ++i) {
        grid->addWidget(mexLabel[size_t(i)], 2 + i, 0);
        grid->addWidget(txtMexPos[size_t(i)], 2 + i, 1);
        grid->addWidget(mexLabel[size_t(3 + i)], 2 + i, 2);
        grid->addWidget(txtMexOrt[size_t(i)], 2 + i, 3);
    }
    grid->addWidget(mexLabel[6], 5, 0);
    grid->addWidget(txtAngle[0], 5, 1);
    grid->addWidget(mexLabel[7], 5, 2);
    grid->addWidget(txtAngle[1], 5, 3);
    grid->addWidget(lblNavColour, 6, 0);
    grid->addWidget(picNavColour, 6, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {cmdMexEditApply, cmdMexNormalise, cmdBBAutoCalc, mexZoom}) buttons->addWidget(b);
    buttons->addStretch();
    auto* fields = new QWidget;
    auto* column = new QVBoxLayout(fields);
    column->setContentsMargins(0, 0, 0, 0);
    column->addLayout(grid);
    column->addLayout(buttons);
    QLayout* holder = pageLayout(window.pageShipInfo->pageMexData);
    holder->addWidget(fields);
    if (auto* box = qobject_cast<QBoxLayout*>(holder)) box->addStretch();

    connect(cmdMexEditApply, &QPushButton::clicked, this,
            [this] { window_.runCommand([this] { mexPanel(ctx_).cmdMexEditApply_Click(ctx_); }); });
    connect(cmdMexNormalise, &QPushButton::clicked, this,
            [this] { window_.runCommand([this] { cmdMexNormalise_Click(ctx_); }); });
    connect(picNavColour, &QPushButton::clicked, this,
            [this] { window_.runCommand([this] { picNavColour_Click(ctx_); }); });
    connect(cmdBBAutoCalc, &QPushButton::clicked, this,
            [this] { window_.runCommand([this] { cmdBBAutoCalc_Click(ctx_); }); });
    connect(mexZoom, &QPushButton::clicked, this, [this] { window_.runCommand([this] { mexZoom_Click(ctx_); }); });
}

void MexDataControls::sync() {
    const MexDataPage& page = ctx_.shipInfoPage->mexData;
    for (size_t i = 0; i < mexLabel.size(); ++i) showLabel(mexLabel[i], page.mexLabel[i]);
    showLabel(lblChunkID, page.lblChunkID);
    showLabel(lblNavColour, page.lblNavColour);
    showBox(txtChunkId, page.txtChunkId);
    showBox(txtMexName, page.txtMexName);
    for (size_t i = 0; i < 3; ++i) {
        showBox(txtMexPos[i], page.txtMexPos[i]);
        showBox(txtMexOrt[i], page.txtMexOrt[i]);
    }
    for (size_t i = 0; i < 2; ++i) showBox(txtAngle[i], page.txtAngle[i]);
    picNavColour->setVisible(page.picNavColourVisible);
    if (frmOptions::swatchColour(picNavColour) != page.picNavColour)
        frmOptions::paintSwatch(picNavColour, page.picNavColour);
    cmdMexEditApply->setEnabled(page.cmdMexEditApplyEnabled);
    cmdMexNormalise->setVisible(page.cmdMexNormaliseVisible);
    cmdBBAutoCalc->setVisible(page.cmdBBAutoCalcVisible);
}

void installMexDataControls(frmTARV& window) {
    auto* controls = new MexDataControls(window);
    window.syncHooks.push_back([controls] { controls->sync(); });
}

}  // namespace tarv
