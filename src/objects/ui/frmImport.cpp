#include "objects/ui/frmImport.h"

#include <QVBoxLayout>

#include "editor/context/EditingContext.h"
#include "shell/KeyedTreeWidget.h"
#include "shell/OwnedWindowSlot.h"
#include "shell/frmTARV.h"

namespace tarv {

namespace {
QString q(const std::string& text) { return QString::fromStdString(text); }
}  // namespace

frmImport::frmImport(EditingContext& ctx, QWidget* owner) : QDialog(owner), ctx_(ctx) {
    setObjectName("frmImport");
    setWindowTitle("TARV Import");
    setModal(true);
    auto* column = new QVBoxLayout(this);
    menuBar = new QMenuBar;
    menuBar->setObjectName("menuBar");
    QMenu* mnuFile = menuBar->addMenu("&File");
    mnuFile->setObjectName("mnuFile");
    mnuFileImport = mnuFile->addAction("&Import");
    mnuFileImport->setObjectName("mnuFileImport");
    QAction* separator = mnuFile->addSeparator();
    separator->setObjectName("mnuFileSep");
    mnuFileExit = mnuFile->addAction("E&xit");  // no behaviour
    mnuFileExit->setObjectName("mnuFileExit");
    column->setMenuBar(menuBar);
    Label1 =
        new QLabel("Select the objects you want to import by checking them, then click on the Import button below.");
    Label1->setObjectName("Label1");
    Label1->setWordWrap(true);
    column->addWidget(Label1);
    treeHeirachy = new KeyedTreeWidget;
    treeHeirachy->setObjectName("treeHeirachy");
    treeHeirachy->setIndentation(80 / 15);
    treeHeirachy->setRootIsDecorated(true);
    treeHeirachy->bind(&session.treeHeirachy);
    column->addWidget(treeHeirachy, 1);
    Text1 = new QTextEdit;  // no behaviour; it shares the tree's place
    Text1->setObjectName("Text1");
    Text1->hide();
    column->addWidget(Text1);
    cmdImport = new QPushButton("Import Selected Objects");
    cmdImport->setObjectName("cmdImport");
    column->addWidget(cmdImport);
    StatusBar1 = new QStatusBar;
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    column->addWidget(StatusBar1);
    resize(420, 480);

    connect(mnuFileImport, &QAction::triggered, this, &frmImport::mnuFileImport_Click);
    connect(cmdImport, &QPushButton::clicked, this, &frmImport::cmdImport_Click);
    connect(treeHeirachy, &KeyedTreeWidget::nodeChecked, this,
            [this](const QString& key, bool checked) { session.treeHeirachy.setChecked(key.toStdString(), checked); });
}

void frmImport::showEvent(QShowEvent* event) {
    frmImport_Activate(session);
    showState();
    QDialog::showEvent(event);
}

void frmImport::showState() {
    treeHeirachy->sync();
    StatusBar1->showMessage(q(session.StatusBar1));
    cmdImport->setEnabled(session.cmdImportEnabled);
}

void frmImport::runCommand(const std::function<void()>& command) {
    if (run)
        run(command);
    else
        command();
}

void frmImport::mnuFileImport_Click() {
    runCommand([this] { tarv::mnuFileImport_Click(ctx_, session); });
    showState();
}

void frmImport::cmdImport_Click() {
    bool hideIt = false;
    runCommand([this, &hideIt] { hideIt = tarv::cmdImport_Click(ctx_, session); });
    showState();
    if (hideIt) hide();
}

namespace {
using ImportWindowSlot = OwnedWindowSlot<frmImport>;
const QString kImportWindowSlot = QStringLiteral("importWindowSlot");
}  // namespace

frmImport* importWindow(frmTARV& window) {
    ImportWindowSlot* slot = ImportWindowSlot::of(window, kImportWindowSlot);
    return slot ? slot->window : nullptr;
}

void mnuImportFromPEO_Click(frmTARV& window) {
    frmImport*& dialog = ImportWindowSlot::of(window, kImportWindowSlot)->window;
    if (!dialog) {
        dialog = new frmImport(window.ctx);
        dialog->run = [&window](const std::function<void()>& command) { window.runCommand(command); };
    }
    dialog->exec();
}

void installObjectImport(frmTARV& window) {
    new ImportWindowSlot(window, kImportWindowSlot);
    QObject::connect(window.mnuImportFromPEO, &QAction::triggered, &window,
                     [&window] { window.runCommand([&window] { mnuImportFromPEO_Click(window); }); });
}

}  // namespace tarv
