#include "meshtools/ui/frmRepair.h"

#include <QAbstractTableModel>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

#include "base/NumberText.h"
#include "meshtools/state/ToolsPageState.h"
#include "editor/context/EditingContext.h"
#include "shell/OwnedWindowSlot.h"
#include "shell/frmTARV.h"

namespace tarv {

namespace {
QString q(const std::string& text) { return QString::fromStdString(text); }

void showText(QLineEdit* box, const std::string& text) {
    if (box->text() != q(text)) box->setText(q(text));
}
}  // namespace

// ListView1's rows straight from the window's state: the view asks for the rows it shows, so filling the
// list costs no item per row and no repaint per row.
class NormalRowsModel : public QAbstractTableModel {
public:
    NormalRowsModel(const std::vector<NormalRow>& rows, QObject* parent) : QAbstractTableModel(parent), rows_(rows) {}
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : shownRows_; }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 7; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid() || index.row() >= shownRows_) return {};
        const size_t row = size_t(index.row());
        if (index.column() == 0) return q(intText(int64_t(row)));
        return q(floatText(rows_[row].values[size_t(index.column() - 1)]));
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        static const char* const headers[] = {"#", "X", "Y", "Z", "X", "Y", "Z"};
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section > 6) return {};
        return QString(headers[section]);
    }
    // Shows the rows as they stand now.
    void refresh() {
        beginResetModel();
        shownRows_ = int(rows_.size());
        endResetModel();
    }

private:
    const std::vector<NormalRow>& rows_;
    int shownRows_ = 0;
};

frmRepair::frmRepair(EditingContext& ctx, QWidget* owner) : QDialog(owner), ctx_(ctx) {
    setObjectName("frmRepair");
    setWindowTitle("Repair PEO tool");
    setModal(true);
    auto* column = new QVBoxLayout(this);
    menuBar = new QMenuBar;
    menuBar->setObjectName("menuBar");
    QMenu* mnuFile = menuBar->addMenu("File");
    mnuFile->setObjectName("mnuFile");
    mnuFileOpen = mnuFile->addAction("&Open");
    mnuFileOpen->setObjectName("mnuFileOpen");
    mnuFile->addSeparator()->setObjectName("mnuFileSep1");
    mnuFileLoadIntoTARV = mnuFile->addAction("&Load into TARV");
    mnuFileLoadIntoTARV->setObjectName("mnuFileLoadIntoTARV");
    mnuFile->addSeparator()->setObjectName("mnuFileSep2");
    mnuFileExit = mnuFile->addAction("E&xit Repair");
    mnuFileExit->setObjectName("mnuFileExit");
    column->setMenuBar(menuBar);

    auto box = [](const char* name, bool readOnly = true) {
        auto* edit = new QLineEdit;
        edit->setObjectName(name);
        edit->setReadOnly(readOnly);
        return edit;
    };
    auto label = [](const char* name, const QString& caption = {}) {
        auto* l = new QLabel(caption);
        l->setObjectName(name);
        return l;
    };

    auto* frames = new QHBoxLayout;
    column->addLayout(frames, 1);
    auto* header = new QGroupBox("Header Information");
    header->setObjectName("fraHeader");
    auto* headerGrid = new QGridLayout(header);
    txtVersion = box("txtVersion", false);
    txtNumberOfObjects = box("txtNumberOfObjects");
    txtMats = box("txtMats");
    lblMatSize = label("lblMatSize");
    lblMatOffset = label("lblMatOffset", q(view.lblMatOffset));
    lblMatSize->setMinimumWidth(lblMatSize->fontMetrics().horizontalAdvance("-67108864.96875"));
    cmdRepairMats = new QPushButton("Repair Materials");
    cmdRepairMats->setObjectName("cmdRepairMats");
    lstObjects = new QListWidget;
    lstObjects->setObjectName("lstObjects");
    Label4 = label("Label4");
    headerGrid->addWidget(new QLabel("Version:"), 0, 0);
    headerGrid->addWidget(txtVersion, 0, 1);
    headerGrid->addWidget(new QLabel("Objects:"), 1, 0);
    headerGrid->addWidget(txtNumberOfObjects, 1, 1);
    headerGrid->addWidget(new QLabel("Mats:"), 2, 0);
    headerGrid->addWidget(txtMats, 2, 1);
    headerGrid->addWidget(lblMatSize, 2, 2);
    headerGrid->addWidget(lblMatOffset, 3, 0, 1, 3);
    headerGrid->addWidget(cmdRepairMats, 4, 0, 1, 3);
    headerGrid->addWidget(lstObjects, 5, 0, 1, 3);
    headerGrid->addWidget(Label4, 6, 0, 1, 3);
    headerGrid->setRowStretch(5, 1);
    frames->addWidget(header);

    auto* object = new QGroupBox("Object Information @ ");
    object->setObjectName("fraObject");
    auto* objectGrid = new QGridLayout(object);
    txtObjNameOffset = box("txtObjNameOffset");
    objectGrid->addWidget(new QLabel("String Offset:"), 0, 0);
    objectGrid->addWidget(txtObjNameOffset, 0, 1);
    const char* captions[] = {"Vertex Offset:",       "Polygon Offset:", "Vert Normal offset:",
                              "Face Normal offset:", "Face Normals:",   "Vertex Normals:"};
    for (int i = 0; i < 6; ++i) {
        auto* edit = new QLineEdit;
        edit->setObjectName(QString("txtObjInfo_%1").arg(i));
        edit->setReadOnly(true);
        txtObjInfo[size_t(i)] = edit;
        objectGrid->addWidget(new QLabel(captions[i]), 1 + i % 3, i < 3 ? 0 : 2);
        objectGrid->addWidget(edit, 1 + i % 3, i < 3 ? 1 : 3);
    }
    Label5 = label("Label5");
    objectGrid->addWidget(Label5, 0, 2, 1, 2);
    ListView1 = new QTreeView;
    ListView1->setObjectName("ListView1");
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setAllColumnsShowFocus(true);
    rows_ = new NormalRowsModel(view.ListView1, this);
    ListView1->setModel(rows_);
    for (int c = 0; c < 7; ++c) ListView1->setColumnWidth(c, c == 0 ? 50 : 70);
    objectGrid->addWidget(ListView1, 4, 0, 1, 4);
    objectGrid->setRowStretch(4, 1);
    frames->addWidget(object, 2);

    StatusBar1 = new QStatusBar;
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    column->addWidget(StatusBar1);
    resize(900, 520);

    connect(mnuFileOpen, &QAction::triggered, this, &frmRepair::mnuFileOpen_Click);
    connect(mnuFileLoadIntoTARV, &QAction::triggered, this, &frmRepair::mnuFileLoadIntoTARV_Click);
    connect(mnuFileExit, &QAction::triggered, this, &frmRepair::mnuFileExit_Click);
    connect(cmdRepairMats, &QPushButton::clicked, this, &frmRepair::cmdRepairMats_Click);
    connect(lstObjects, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!showing_ && row >= 0) lstObjects_Click(row);
    });
    connect(txtVersion, &QLineEdit::textEdited, this, [this](const QString& text) {
        view.txtVersion = text.toStdString();
    });
    Form_Load();
    showState();
}

void frmRepair::Form_Load() {
    ++formLoads_;
    tarv::Form_Load(view);
}

void frmRepair::showEvent(QShowEvent* event) {
    view.visible = true;
    showState();
    QDialog::showEvent(event);
}

void frmRepair::showState(bool rowsChanged) {
    showing_ = true;
    showText(txtVersion, view.txtVersion);
    showText(txtNumberOfObjects, view.txtNumberOfObjects);
    showText(txtMats, view.txtMats);
    lblMatSize->setText(q(view.lblMatSize));
    lblMatOffset->setText(q(view.lblMatOffset));
    cmdRepairMats->setEnabled(view.cmdRepairMatsEnabled);
    QStringList entries;
    entries.reserve(qsizetype(view.lstObjects.size()));
    for (const std::string& entry : view.lstObjects) entries << q(entry);
    bool same = lstObjects->count() == entries.size();
    for (int i = 0; same && i < lstObjects->count(); ++i) same = lstObjects->item(i)->text() == entries[i];
    if (!same) {
        lstObjects->clear();
        lstObjects->addItems(entries);
    }
    lstObjects->setCurrentRow(view.lstObjectsIndex);
    Label4->setText(q(view.Label4));
    showText(txtObjNameOffset, view.txtObjNameOffset);
    for (size_t i = 0; i < 6; ++i) showText(txtObjInfo[i], view.txtObjInfo[i]);
    Label5->setText(QString::fromLatin1(view.Label5.data(), qsizetype(view.Label5.size())));
    if (rowsChanged || rows_->rowCount() != int(view.ListView1.size())) rows_->refresh();
    StatusBar1->showMessage(q(view.StatusBar1));
    mnuFileLoadIntoTARV->setEnabled(view.mnuFileLoadIntoTARVEnabled);
    showing_ = false;
}

void frmRepair::hideEvent(QHideEvent* event) {
    view.visible = false;
    QDialog::hideEvent(event);
}

void frmRepair::followVisibility(bool rowsChanged) {
    showState(rowsChanged);
    if (!view.visible && isVisible()) hide();
}

void frmRepair::runCommand(const std::function<void()>& command) {
    if (run)
        run(command);
    else
        command();
}

void frmRepair::mnuFileOpen_Click() {
    runCommand([this] { tarv::mnuFileOpen_Click(ctx_, view); });
    followVisibility();
}

void frmRepair::mnuFileLoadIntoTARV_Click() {
    runCommand([this] { tarv::mnuFileLoadIntoTARV_Click(ctx_, view); });
    followVisibility();
}

void frmRepair::mnuFileExit_Click() {
    runCommand([this] { tarv::mnuFileExit_Click(view); });
    followVisibility();
}

void frmRepair::lstObjects_Click(int index) {
    runCommand([this, index] { tarv::lstObjects_Click(ctx_, view, index); });
    followVisibility(true);
}

void frmRepair::cmdRepairMats_Click() {
    runCommand([this] { tarv::cmdRepairMats_Click(ctx_, view); });
    followVisibility();
}

namespace {
using RepairWindowSlot = OwnedWindowSlot<frmRepair>;
const QString kRepairWindowSlot = QStringLiteral("repairWindowSlot");
}  // namespace

frmRepair* repairWindow(frmTARV& window) {
    RepairWindowSlot* slot = RepairWindowSlot::of(window, kRepairWindowSlot);
    return slot ? slot->window : nullptr;
}

void mnuToolsRepair_Click(frmTARV& window) {
    frmRepair*& dialog = RepairWindowSlot::of(window, kRepairWindowSlot)->window;
    if (!dialog) {
        dialog = new frmRepair(window.ctx);
        dialog->run = [&window](const std::function<void()>& command) { window.runCommand(command); };
    }
    dialog->exec();
}

void installRepairWindow(frmTARV& window) {
    new RepairWindowSlot(window, kRepairWindowSlot);
    QObject::connect(window.mnuToolsRepair, &QAction::triggered, &window,
                     [&window] { window.runCommand([&window] { mnuToolsRepair_Click(window); }); });
    window.mnuToolsRepair->setEnabled(true);
}

}  // namespace tarv
