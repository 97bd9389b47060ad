#include "objects/ui/frmAdvancedObjects.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QTimer>
#include <QVBoxLayout>

#include "editor/context/EditingContext.h"
#include "objects/ObjectDialogs.h"
#include "shell/ControlSync.h"
#include "shell/frmTARV.h"

namespace tarv {

namespace {

QString q(const std::string& text) { return QString::fromStdString(text); }

template <class W, class... A>
W* named(const QString& name, A&&... args) {
    auto* w = new W(std::forward<A>(args)...);
    w->setObjectName(name);
    return w;
}

// Runs the command on the road given, or alone without one.
void runCommand(const std::function<void(const std::function<void()>&)>& road, const std::function<void()>& command) {
    if (road)
        road(command);
    else
        command();
}

}  // namespace

frmPivot::frmPivot(EditingContext& ctx, QWidget* owner) : QDialog(owner), ctx_(ctx) {
    setObjectName("frmPivot");
    setWindowTitle("Pivot Point");
    setModal(true);
    auto* column = new QVBoxLayout(this);
    Label1 = named<QLabel>("Label1",
                           "This function allows you to change the point about which the currently selected object "
                           "\"pivots\".  If the vertices are saved in such a way that the object pivots about the "
                           "global axis, then you can move the actual vertices using this tool.");
    Label1->setWordWrap(true);
    column->addWidget(Label1);
    Label2 = named<QLabel>("Label2", "Offset     X:                  Y:                  Z:");
    column->addWidget(Label2);
    auto* boxes = new QHBoxLayout;
    for (size_t i = 0; i < txtPivot.size(); ++i) {
        txtPivot[i] = named<QLineEdit>(QString("txtPivot_%1").arg(i));
        txtPivot[i]->installEventFilter(this);
        boxes->addWidget(txtPivot[i]);
    }
    column->addLayout(boxes);
    auto* buttons = new QHBoxLayout;
    cmdPivot = named<QPushButton>("cmdPivot", "Pivot!");
    cmdCancel = named<QPushButton>("cmdCancel", "Cancel");
    buttons->addWidget(cmdPivot);
    buttons->addWidget(cmdCancel);
    column->addLayout(buttons);
    connect(cmdPivot, &QPushButton::clicked, this, &frmPivot::cmdPivot_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::hide);
}

void frmPivot::showEvent(QShowEvent* event) {
    frmPivot_Activate(ctx_);
    for (size_t i = 0; i < txtPivot.size(); ++i) txtPivot[i]->setText(q(ctx_.objects.dialogs.txtPivot[i]));
    QDialog::showEvent(event);
}

bool frmPivot::eventFilter(QObject* watched, QEvent* event) {
    // txtPivot_GotFocus: the whole text is selected (also after a click).
    if (event->type() == QEvent::FocusIn) {
        if (auto* edit = qobject_cast<QLineEdit*>(watched)) {
            edit->selectAll();
            QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmPivot::cmdPivot_Click() {
    for (size_t i = 0; i < txtPivot.size(); ++i) ctx_.objects.dialogs.txtPivot[i] = txtPivot[i]->text().toStdString();
    bool hideIt = false;
    runCommand(run, [this, &hideIt] { hideIt = tarv::cmdPivot_Click(ctx_); });
    if (hideIt) hide();
}

frmAdvancedObjects::frmAdvancedObjects(EditingContext& ctx, QWidget* owner)
    : QDialog(owner), ctx_(ctx), bakeStatus_(ctx.objects.dialogs.bakeStatus, *this) {
    setObjectName("frmAdvancedObjects");
    setWindowTitle("Advanced Object Properties");
    setModal(true);
    auto* column = new QVBoxLayout(this);
    lblObjectName = named<QLabel>("lblObjectName", "Object Name");
    column->addWidget(lblObjectName);
    column->addWidget(named<QLabel>("Label9", "Object Size Information:"));
    auto* grid = new QGridLayout;
    grid->addWidget(named<QLabel>("Label10", "X"), 0, 1);
    grid->addWidget(named<QLabel>("Label15", "Y"), 0, 2);
    grid->addWidget(named<QLabel>("Label16", "Z"), 0, 3);
    grid->addWidget(named<QLabel>("Label17", "Size: "), 1, 0);
    grid->addWidget(named<QLabel>("Label20", "Maximum: "), 2, 0);
    grid->addWidget(named<QLabel>("Label26", "Minimum: "), 3, 0);
    for (int i = 0; i < 9; ++i) {
        lblObjectSize[size_t(i)] = named<QLabel>(QString("lblObjectSize_%1").arg(i));
        grid->addWidget(lblObjectSize[size_t(i)], 1 + i / 3, 1 + i % 3);
    }
    column->addLayout(grid);
    auto* bake = new QHBoxLayout;
    cmdBakeVertices = named<QPushButton>("cmdBakeVertices", "Bake vertices");
    lblBakeStatus = named<QLabel>("lblBakeStatus");
    bake->addWidget(cmdBakeVertices);
    bake->addWidget(lblBakeStatus, 1);
    column->addLayout(bake);
    auto* copy = new QHBoxLayout;
    cmdCopyRotationMatrix = named<QPushButton>("cmdCopyRotationMatrix", "Copy rotation values from:");
    cmbMatrixObjectList = named<QComboBox>("cmbMatrixObjectList");
    copy->addWidget(cmdCopyRotationMatrix);
    copy->addWidget(cmbMatrixObjectList, 1);
    column->addLayout(copy);
    cmdMovePivot = named<QPushButton>("cmdMovePivot", "Move Pivot Point for this object");
    column->addWidget(cmdMovePivot);
    Frame1 = named<QGroupBox>("Frame1", "Object Flags");
    auto* flags = new QGridLayout(Frame1);
    const char* captions[7] = {"Master", "Clone", "Parent", "Child", "?", "?", "Sister"};
    for (int i = 0; i < 7; ++i) {
        chkObjFlags[size_t(i)] = named<QCheckBox>(QString("chkObjFlags_%1").arg(i), captions[i]);
        flags->addWidget(chkObjFlags[size_t(i)], i / 4, i % 4);
    }
    column->addWidget(Frame1);
    OKButton = named<QPushButton>("OKButton", "OK");
    column->addWidget(OKButton, 0, Qt::AlignRight);
    pivot = new frmPivot(ctx, this);

    connect(cmdBakeVertices, &QPushButton::clicked, this, &frmAdvancedObjects::cmdBakeVertices_Click);
    connect(cmdCopyRotationMatrix, &QPushButton::clicked, this, &frmAdvancedObjects::cmdCopyRotationMatrix_Click);
    connect(cmdMovePivot, &QPushButton::clicked, this, &frmAdvancedObjects::cmdMovePivot_Click);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::hide);
    // The pivot window runs its commands on the same road as this one.
    pivot->run = [this](const std::function<void()>& command) { runCommand(run, command); };
}

void frmAdvancedObjects::showBakeStatus(EditingContext&) {
    lblBakeStatus->setText(q(ctx_.objects.dialogs.lblBakeStatus));
    lblBakeStatus->repaint();
}

void frmAdvancedObjects::showState() {
    const ObjectDialogsState& d = ctx_.objects.dialogs;
    lblObjectName->setText(q(d.lblObjectName));
    for (size_t i = 0; i < lblObjectSize.size(); ++i) lblObjectSize[i]->setText(q(d.lblObjectSize[i]));
    lblBakeStatus->setText(q(d.lblBakeStatus));
    // The list follows the object tree; the chosen entry stays while it is there.
    const std::vector<std::string>& names = ctx_.objects.cmbMatrixObjectList;
    int chosen = cmbMatrixObjectList->currentIndex();
    if (!showsItems(cmbMatrixObjectList, names)) {
        const QString text = cmbMatrixObjectList->currentText();
        chosen = -1;
        for (size_t i = 0; chosen < 0 && i < names.size(); ++i)
            if (showsText(text, names[i])) chosen = int(i);
    }
    showItems(cmbMatrixObjectList, names, chosen);
}

void frmAdvancedObjects::cmdBakeVertices_Click() {
    runCommand(run, [this] { tarv::cmdBakeVertices_Click(ctx_); });
    showState();
}

void frmAdvancedObjects::cmdCopyRotationMatrix_Click() {
    const std::string chosen =
        cmbMatrixObjectList->currentIndex() >= 0 ? cmbMatrixObjectList->currentText().toStdString() : std::string();
    runCommand(run, [this, &chosen] { tarv::cmdCopyRotationMatrix_Click(ctx_, chosen); });
    showState();
}

void frmAdvancedObjects::cmdMovePivot_Click() { pivot->exec(); }

void openAdvancedObjects(frmTARV& window, frmAdvancedObjects& dialog) {
    if (!cmdAdvancedObjProps_Click(window.ctx)) return;
    dialog.showState();
    dialog.exec();
}

frmAdvancedObjects* installObjectDialogs(frmTARV& window, QPushButton* cmdAdvancedObjProps) {
    auto* dialog = new frmAdvancedObjects(window.ctx, &window);
    dialog->run = [&window](const std::function<void()>& command) { window.runCommand(command); };
    QObject::connect(cmdAdvancedObjProps, &QPushButton::clicked, dialog, [&window, dialog] {
        window.runCommand([&window, dialog] { openAdvancedObjects(window, *dialog); });
    });
    // The size labels and the list follow every selection, also while the dialog is hidden.
    window.syncHooks.push_back([dialog] { dialog->showState(); });
    return dialog;
}

}  // namespace tarv
