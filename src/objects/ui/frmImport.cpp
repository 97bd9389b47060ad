#include "objects/ui/frmImport.h"

#include <QVBoxLayout>
#include <unordered_map>

#include "editor/context/EditingContext.h"
#include "shell/KeyedTreeWidget.h"
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

void frmImport::mnuFileImport_Click() {
    tarv::mnuFileImport_Click(ctx_, session);
    showState();
}

void frmImport::cmdImport_Click() {
    const bool hideIt = tarv::cmdImport_Click(ctx_, session);
    if (changed) changed();
    showState();
    if (hideIt) hide();
}

namespace {
frmImport*& windowSlot(frmTARV& window) {
    static std::unordered_map<frmTARV*, frmImport*> windows;
    frmImport*& slot = windows[&window];
    return slot;
}
}  // namespace

frmImport* importWindow(frmTARV& window) { return windowSlot(window); }

void mnuImportFromPEO_Click(frmTARV& window) {
    frmImport*& dialog = windowSlot(window);
    if (!dialog) {
        dialog = new frmImport(window.ctx);
        dialog->changed = [&window] { window.syncFromContext(); };
        // Without an owner it is not deleted with the main window: it goes when the main window goes.
        QObject::connect(&window, &QObject::destroyed, dialog, [&window] {
            frmImport*& slot = windowSlot(window);
            delete slot;
            slot = nullptr;
        });
    }
    dialog->exec();
}

void installObjectImport(frmTARV& window) {
    QObject::connect(window.mnuImportFromPEO, &QAction::triggered, &window,
                     [&window] { window.runCommand([&window] { mnuImportFromPEO_Click(window); }); });
}

}  // namespace tarv
