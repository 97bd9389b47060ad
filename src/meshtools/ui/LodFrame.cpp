#include "meshtools/ui/LodFrame.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>

#include "shell/WidgetNames.h"
#include "meshtools/LodFiles.h"
#include "editor/context/EditingContext.h"
#include "shell/frmTARV.h"

namespace tarv {

LodFrame::LodFrame(frmTARV& window, QWidget* parent)
    : QGroupBox("Multi-File options (LOD)", parent), window_(window), ctx_(window.ctx) {
    setObjectName("fraLod");
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel("LOD Path:", this), 0, 0);
    lblLodPath = named<QLabel>("lblLodPath", this);
    layout->addWidget(lblLodPath, 0, 1, 1, 2);
    lstLodFiles = named<QListWidget>("lstLodFiles", this);
    layout->addWidget(lstLodFiles, 1, 0, 1, 3);
    cmdAddToLod = named<QPushButton>("cmdAddToLod", "Add to File List", this);
    cmdMultiFile = named<QPushButton>("cmdMultiFile", "Multi-file menu", this);
    layout->addWidget(cmdAddToLod, 2, 0, 1, 2);
    layout->addWidget(cmdMultiFile, 2, 2);

    mnuLodList = named<QMenu>("mnuLodList", "Lod File List", this);
    mnuLodListDelete = mnuLodList->addAction("Delete Item");
    mnuLodListDelete->setObjectName("mnuLodListDelete");
    mnuLodList->addSeparator();
    mnuLodFileSwitch = mnuLodList->addAction("Switch to...");
    mnuLodFileSwitch->setObjectName("mnuLodFileSwitch");
    mnuLodCommands = named<QMenu>("mnuLodCommands", "Lod Commands", this);
    mnuLodCommandsMatrix = mnuLodCommands->addAction("Apply matrix & heirachy to all files");
    mnuLodCommandsMatrix->setObjectName("mnuLodCommandsMatrix");

    connect(cmdAddToLod, &QPushButton::clicked, this, &LodFrame::cmdAddToLod_Click);
    connect(cmdMultiFile, &QPushButton::clicked, this, &LodFrame::cmdMultiFile_Click);
    connect(mnuLodListDelete, &QAction::triggered, this, &LodFrame::mnuLodListDelete_Click);
    connect(mnuLodFileSwitch, &QAction::triggered, this, &LodFrame::mnuLodFileSwitch_Click);
    connect(mnuLodCommandsMatrix, &QAction::triggered, this, &LodFrame::mnuLodCommandsMatrix_Click);
    lstLodFiles->viewport()->installEventFilter(this);
    refresh();
}

void LodFrame::refresh() {
    const LodFileSet& lod = ctx_.lod;
    lblLodPath->setText(QString::fromStdString(lod.lblLodPath));
    lstLodFiles->clear();
    for (const LodEntry& e : lod.lstLodFiles) lstLodFiles->addItem(QString::fromStdString(e.text));
    if (lod.selectedEntry >= 0 && lod.selectedEntry < lstLodFiles->count())
        lstLodFiles->setCurrentRow(lod.selectedEntry);
    cmdAddToLod->setEnabled(lod.cmdAddToLodEnabled);
    cmdMultiFile->setEnabled(lod.cmdMultiFileEnabled);
}

void LodFrame::takeSelection() {
    ctx_.lod.selectedEntry = lstLodFiles->selectedItems().isEmpty() ? -1 : lstLodFiles->currentRow();
}

void LodFrame::cmdAddToLod_Click() {
    window_.runCommand([this] { tarv::cmdAddToLod_Click(ctx_); });
}

void LodFrame::cmdMultiFile_Click() {
    mnuLodCommands->popup(cmdMultiFile->mapToGlobal(cmdMultiFile->rect().bottomLeft()));
}

void LodFrame::lstLodFiles_MouseDown(Qt::MouseButton button, const QPoint& globalPos) {
    if (button != Qt::RightButton) return;
    const bool enabled = lodListMenuItemsEnabled(ctx_);
    mnuLodListDelete->setEnabled(enabled);
    mnuLodFileSwitch->setEnabled(enabled);
    mnuLodList->popup(globalPos);
}

void LodFrame::mnuLodFileSwitch_Click() {
    window_.runCommand([this] {
        takeSelection();
        tarv::mnuLodFileSwitch_Click(ctx_);
    });
}

void LodFrame::mnuLodListDelete_Click() {
    window_.runCommand([this] {
        takeSelection();
        tarv::mnuLodListDelete_Click(ctx_);
    });
}

void LodFrame::mnuLodCommandsMatrix_Click() {
    window_.runCommand([this] { tarv::mnuLodCommandsMatrix_Click(ctx_); });
}

bool LodFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lstLodFiles->viewport() && event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        lstLodFiles_MouseDown(mouse->button(), mouse->globalPosition().toPoint());
    }
    return QGroupBox::eventFilter(watched, event);
}

}  // namespace tarv
