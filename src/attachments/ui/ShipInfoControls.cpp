#include "attachments/ui/ShipInfoControls.h"

#include <QBoxLayout>
#include <QGridLayout>

#include "attachments/MexSteps.h"
#include "attachments/MexTreeCommands.h"
#include "attachments/state/ShipInfoPageState.h"
#include "attachments/ui/DamagePointsButton.h"
#include "attachments/ui/MexDataControls.h"
#include "attachments/ui/ShipFileDataControls.h"
#include "shell/ControlSync.h"
#include "shell/frmTARV.h"
#include "editor/context/EditingContext.h"

namespace tarv {

ShipInfoControls::ShipInfoControls(frmTARV& window) : QObject(&window), window_(window), ctx_(window.ctx) {
    setObjectName("shipInfoControls");
    // "Chunk Options" beside the chunk tree.
    QLayout* frame = pageLayout(window.pageShipInfo->Frame3);
    auto* grid = new QGridLayout;
    if (auto* box = qobject_cast<QBoxLayout*>(frame))
        box->addLayout(grid);
    else
        frame->addItem(grid);
    cmdMexAdd = namedControl<QPushButton>("cmdMexAdd");
    cmdMexAdd->setText("Add/Clone");
    cmdMexMirror = namedControl<QPushButton>("cmdMexMirror");
    cmdMexMirror->setText("Mirror");
    chkMexMirrorX = namedControl<QCheckBox>("chkMexMirrorX");
    chkMexMirrorX->setText("X");
    chkMexMirrorY = namedControl<QCheckBox>("chkMexMirrorY");
    chkMexMirrorY->setText("Y");
    chkMexMirrorZ = namedControl<QCheckBox>("chkMexMirrorZ");
    chkMexMirrorZ->setText("Z");
    cmdMexDel = namedControl<QPushButton>("cmdMexDel");
    cmdMexDel->setText("Delete");
    cmdAttachMexFile = namedControl<QPushButton>("cmdAttachMexFile");
    cmdAttachMexFile->setText("Attach existing MEX file to ship");
    grid->addWidget(cmdMexAdd, 0, 0, 1, 3);
    grid->addWidget(cmdMexMirror, 1, 0, 1, 3);
    grid->addWidget(chkMexMirrorX, 2, 0);
    grid->addWidget(chkMexMirrorY, 2, 1);
    grid->addWidget(chkMexMirrorZ, 2, 2);
    grid->addWidget(cmdMexDel, 3, 0, 1, 3);
    grid->addWidget(cmdAttachMexFile, 4, 0, 1, 3);
    lblMexKey = namedControl<QLabel>("lblMexKey", frame);
    ShipInfoPageState& page = *ctx_.shipInfoPage;
    connect(cmdMexAdd, &QPushButton::clicked, this, [this] { window_.runCommand([this] { cmdMexAdd_Click(ctx_); }); });
    connect(cmdMexMirror, &QPushButton::clicked, this,
            [this] { window_.runCommand([this] { cmdMexMirror_Click(ctx_); }); });
    connect(cmdMexDel, &QPushButton::clicked, this, [this] { window_.runCommand([this] { cmdMexDel_Click(ctx_); }); });
    connect(cmdAttachMexFile, &QPushButton::clicked, this,
            [this] { window_.runCommand([this] { cmdAttachMexFile_Click(ctx_); }); });
    const std::pair<QCheckBox*, bool*> mirrors[] = {{chkMexMirrorX, &page.chkMexMirrorX},
                                                    {chkMexMirrorY, &page.chkMexMirrorY},
                                                    {chkMexMirrorZ, &page.chkMexMirrorZ}};
    for (const auto& mirror : mirrors) {
        bool* flag = mirror.second;
        connect(mirror.first, &QCheckBox::toggled, this, [this, flag](bool on) {
            if (!window_.syncing()) *flag = on;
        });
    }
    KeyedTreeWidget* tree = window.treeMex;
    connect(tree, &KeyedTreeWidget::nodeClicked, this, [this](const QString& key) {
        window_.runCommand([this, key] { treeMex_NodeClick(ctx_, key.toStdString()); });
    });
    connect(tree, &KeyedTreeWidget::nodeChecked, this, [this](const QString& key, bool checked) {
        window_.runCommand([this, key, checked] { treeMex_NodeCheck(ctx_, key.toStdString(), checked); });
    });
    connect(tree, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem*, int) { window_.runCommand([this] { treeMex_DblClick(ctx_); }); });
}

void ShipInfoControls::sync() {
    const ShipInfoPageState& state = *ctx_.shipInfoPage;
    lblMexKey->setText(QString::fromStdString(state.lblMexKey));
    cmdMexAdd->setEnabled(state.cmdMexAddEnabled);
    cmdMexDel->setEnabled(state.cmdMexDelEnabled);
    chkMexMirrorX->setChecked(state.chkMexMirrorX);
    chkMexMirrorY->setChecked(state.chkMexMirrorY);
    chkMexMirrorZ->setChecked(state.chkMexMirrorZ);
}

void installAttachments(frmTARV& window) {
    connectAttachments(window.ctx);
    auto* controls = new ShipInfoControls(window);
    installRandomDamagePoints(window);
    window.syncHooks.push_back([controls] { controls->sync(); });
    installMexDataControls(window);
    installShipFileDataControls(window);
}

}  // namespace tarv
