#include "objects/ui/frmGeometry.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

#include "base/NumberText.h"
#include "editor/context/EditingContext.h"
#include "objects/GeometryRows.h"

namespace tarv {

namespace {

// A report list with its column heads; widths in twips, 15 to the pixel.
QTreeWidget* reportList(const char* name, const std::vector<std::pair<const char*, int>>& columns) {
    auto* list = new QTreeWidget;
    list->setObjectName(name);
    list->setRootIsDecorated(false);
    QStringList heads;
    for (const auto& [head, width] : columns) heads << head;
    list->setHeaderLabels(heads);
    int width = 0;
    for (int c = 0; c < int(columns.size()); ++c) {
        list->setColumnWidth(c, columns[size_t(c)].second / 15);
        width += columns[size_t(c)].second / 15;
    }
    // Every column shows without scrolling sideways.
    list->setMinimumWidth(width + 2 * list->frameWidth() + 4);
    return list;
}

template <size_t N>
void addRow(QTreeWidget* list, const std::array<std::string, N>& row) {
    QStringList texts;
    for (const auto& text : row) texts << QString::fromStdString(text);
    list->addTopLevelItem(new QTreeWidgetItem(texts));
}

}  // namespace

frmGeometry::frmGeometry(EditingContext& ctx, QWidget* owner) : QDialog(owner), ctx_(ctx) {
    setObjectName("frmGeometry");
    setWindowTitle("Geometry Inspector");
    setModal(true);
    setAttribute(Qt::WA_DeleteOnClose);
    auto* column = new QVBoxLayout(this);
    auto* labels = new QHBoxLayout;
    lblObjNo = new QLabel;
    lblObjNo->setObjectName("lblObjNo");
    lblFaceNo = new QLabel;
    lblFaceNo->setObjectName("lblFaceNo");
    labels->addWidget(lblObjNo);
    labels->addWidget(lblFaceNo);
    labels->addStretch();
    column->addLayout(labels);
    ListView1 = reportList("ListView1", {{"Vertex", 700}, {"X", 900}, {"Y", 900}, {"Z", 900}, {"Normal", 650}});
    column->addWidget(ListView1);
    auto* label1 = new QLabel("Translated Vertex Normal values:");
    label1->setObjectName("Label1");
    column->addWidget(label1);
    ListView2 = reportList("ListView2", {{"Normal", 700}, {"X", 900}, {"Y", 900}, {"Z", 900}});
    column->addWidget(ListView2);
    cmdClose = new QPushButton("Close");
    cmdClose->setObjectName("cmdClose");
    cmdClose->setAutoDefault(false);
    column->addWidget(cmdClose);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
}

void frmGeometry::fill() {
    ListView1->clear();
    ListView2->clear();
    const int object = int(leadingNumber(lblObjNo->text().toStdString()));
    const int face = int(leadingNumber(lblFaceNo->text().toStdString()));
    const GeometryRows rows = geometryRows(ctx_.model, object, face);
    for (const auto& row : rows.corners) addRow(ListView1, row);
    for (const auto& row : rows.normals) addRow(ListView2, row);
    if (rows.leftOut) ctx_.prompts().messageBox(kGeometryLeftOutText, ctx_.version.appTitle, PromptIcon::None);
}

void showGeometryInspector(EditingContext& ctx, QWidget* owner, const std::string& lblObjNo,
                           const std::string& lblFaceNo) {
    auto* dialog = new frmGeometry(ctx, owner);
    dialog->lblObjNo->setText(QString::fromStdString(lblObjNo));
    dialog->lblFaceNo->setText(QString::fromStdString(lblFaceNo));
    dialog->fill();
    dialog->exec();
}

}  // namespace tarv
