#include "meshtools/ui/ToolsControls.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

#include "meshtools/ObjectSize.h"
#include "meshtools/ScaleRotate.h"
#include "meshtools/state/ToolsPageState.h"
#include "meshtools/ui/LodFrame.h"
#include "meshtools/ui/MeshToolsFrames.h"
#include "meshtools/ui/frmRepair.h"
#include "shell/ControlSync.h"
#include "shell/frmTARV.h"
#include "editor/context/EditingContext.h"

namespace tarv {

ToolsControls::ToolsControls(frmTARV& window)
    : QObject(&window), window_(window), ctx_(window.ctx), loadRoad_(ctx_.toolsPage->loadRoad, *this) {
    setObjectName("toolsControls");
    fraLod = new LodFrame(window);
    insertIntoPage(window.pageTools, 0, fraLod);

    auto* scaling = new QGroupBox("Scaling Options");
    scaling->setObjectName("fraScaling");
    auto* grid = new QGridLayout(scaling);
    cmbObjectSize = namedControl<QComboBox>("cmbObjectSize");
    txtScaleAmount = namedControl<QLineEdit>("txtScaleAmount");
    chkScalePEO = namedControl<QCheckBox>("chkScalePEO");
    chkScaleMEX = namedControl<QCheckBox>("chkScaleMEX");
    chkScaleMAD = namedControl<QCheckBox>("chkScaleMAD");
    cmdScalePeo = namedControl<QPushButton>("cmdScalePeo");
    chkScalePEO->setText("PEO");
    chkScaleMEX->setText("MEX");
    chkScaleMAD->setText("MAD");
    cmdScalePeo->setText("Scale");
    grid->addWidget(new QLabel("Size: "), 0, 0);
    grid->addWidget(cmbObjectSize, 0, 1, 1, 2);
    grid->addWidget(new QLabel("Scale to: "), 1, 0);
    grid->addWidget(txtScaleAmount, 1, 1);
    grid->addWidget(new QLabel("%"), 1, 2);
    grid->addWidget(chkScalePEO, 2, 0);
    grid->addWidget(chkScaleMEX, 2, 1);
    grid->addWidget(chkScaleMAD, 2, 2);
    grid->addWidget(cmdScalePeo, 3, 0, 1, 3);
    insertIntoPage(window.pageTools, 1, scaling);

    auto* rotation = new QGroupBox("Rotation Options");
    rotation->setObjectName("fraRotation");
    auto* turn = new QGridLayout(rotation);
    cmbRotateAmount = namedControl<QComboBox>("cmbRotateAmount");
    cmdRotate = namedControl<QPushButton>("cmdRotate");
    cmdRotate->setText("Rotate");
    const char* axes[] = {"X ", "Y ", "Z "};
    for (int i = 0; i < 3; ++i) {
        rotateOption[size_t(i)] = namedControl<QRadioButton>(QString("rotateOption_%1").arg(i));
        rotateOption[size_t(i)]->setText(axes[i]);
        turn->addWidget(rotateOption[size_t(i)], 0, i);
    }
    turn->addWidget(cmbRotateAmount, 1, 0, 1, 3);
    turn->addWidget(cmdRotate, 2, 0, 1, 3);
    insertIntoPage(window.pageTools, 2, rotation);

    connect(cmdScalePeo, &QPushButton::clicked, this,
            [this] { window_.runCommand([this] { cmdScalePeo_Click(ctx_); }); });
    connect(cmdRotate, &QPushButton::clicked, this, [this] { window_.runCommand([this] { cmdRotate_Click(ctx_); }); });

    // What the user changes goes to the page's state.
    ToolsPageState& tools = *ctx_.toolsPage;
    connect(cmbObjectSize, &QComboBox::currentIndexChanged, this,
            [this](int index) { window_.runCommand([this, index] { selectObjectSize(ctx_, index); }); });
    connect(txtScaleAmount, &QLineEdit::textEdited, this,
            [&tools](const QString& text) { tools.txtScaleAmount = text.toStdString(); });
    for (int i = 0; i < 3; ++i)
        connect(rotateOption[size_t(i)], &QRadioButton::toggled, this, [this, &tools, i](bool on) {
            if (on && !window_.syncing()) tools.rotateOption = i;
        });
    connect(cmbRotateAmount, &QComboBox::currentIndexChanged, this, [this, &tools](int index) {
        if (!window_.syncing()) tools.cmbRotateAmount.listIndex = index;
    });
    const std::pair<QCheckBox*, bool*> scales[] = {
        {chkScalePEO, &tools.chkScalePEO}, {chkScaleMEX, &tools.chkScaleMEX}, {chkScaleMAD, &tools.chkScaleMAD}};
    for (const auto& scale : scales) {
        bool* value = scale.second;
        connect(scale.first, &QCheckBox::toggled, this, [this, value](bool on) {
            if (!window_.syncing()) *value = on;
        });
    }
}

void ToolsControls::sync() {
    const ToolsPageState& tools = *ctx_.toolsPage;
    fraLod->refresh();
    showItems(cmbObjectSize, tools.cmbObjectSize);
    if (txtScaleAmount->text().toStdString() != tools.txtScaleAmount)
        txtScaleAmount->setText(QString::fromStdString(tools.txtScaleAmount));
    txtScaleAmount->setEnabled(tools.txtScaleAmountEnabled);
    if (tools.rotateOption >= 0 && tools.rotateOption < 3) rotateOption[size_t(tools.rotateOption)]->setChecked(true);
    showItems(cmbRotateAmount, tools.cmbRotateAmount);
    chkScalePEO->setChecked(tools.chkScalePEO);
    chkScaleMEX->setChecked(tools.chkScaleMEX);
    chkScaleMAD->setChecked(tools.chkScaleMAD);
}

void ToolsControls::startprocess(EditingContext&) { window_.startprocess(); }

void installMeshTools(frmTARV& window) {
    auto* controls = new ToolsControls(window);
    installMeshToolsFrames(window);
    installRepairWindow(window);
    window.syncHooks.push_back([controls] { controls->sync(); });
}

}  // namespace tarv
