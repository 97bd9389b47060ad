#include "meshtools/ui/MeshToolsFrames.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "editor/context/EditingContext.h"
#include "meshtools/MeshTools.h"
#include "shell/ControlSync.h"
#include "shell/frmTARV.h"

namespace tarv {

namespace {

QPushButton* button(const QString& name, const QString& caption) {
    auto* b = namedControl<QPushButton>(name);
    b->setText(caption);
    return b;
}

QLabel* wrappedLabel(const QString& name, const QString& text) {
    auto* label = namedControl<QLabel>(name);
    label->setText(text);
    label->setWordWrap(true);
    return label;
}

}  // namespace

MeshToolsFrames::MeshToolsFrames(frmTARV& window) : QObject(&window), window_(window), ctx_(window.ctx) {
    setObjectName("meshToolsFrames");

    auto* dupes = new QGroupBox("Duplicate vertices");
    dupes->setObjectName("fraDuplicateVertices");
    auto* dupesRow = new QHBoxLayout(dupes);
    checkDupes = button("checkDupes", "Check");
    remDupes = button("remDupes", "Remove");
    dupesRow->addWidget(checkDupes);
    dupesRow->addWidget(remDupes);
    dupesRow->addStretch();

    auto* lod = new QGroupBox("Create Level of Detail mesh");
    lod->setObjectName("fraCreateLOD");
    auto* lodGrid = new QGridLayout(lod);
    for (int i = 0; i < 4; ++i) {
        CreateLOD[size_t(i)] = button(QString("CreateLOD%1").arg(i + 1), QString("LOD%1 !").arg(i + 1));
        lodGrid->addWidget(CreateLOD[size_t(i)], 0, i);
    }
    lodGrid->addWidget(wrappedLabel("lblHighLOD", "Enter higher LOD number"), 1, 0, 1, 2);
    txtHighLOD = namedControl<QLineEdit>("txtHighLOD");
    txtHighLOD->setText("5");
    lodGrid->addWidget(txtHighLOD, 1, 2);
    cmdGoLOD = button("cmdGoLOD", "Go !");
    lodGrid->addWidget(cmdGoLOD, 1, 3);
    xzCheck = namedControl<QCheckBox>("xzCheck");
    xzCheck->setText("Keep symmetry in the XZ-plane");
    yzCheck = namedControl<QCheckBox>("yzCheck");
    yzCheck->setText("Keep symmetry in the YZ-plane");
    xyCheck = namedControl<QCheckBox>("xyCheck");
    xyCheck->setText("Keep symmetry in the XY-plane");
    lodGrid->addWidget(xzCheck, 2, 0, 1, 4);
    lodGrid->addWidget(yzCheck, 3, 0, 1, 4);
    lodGrid->addWidget(xyCheck, 4, 0, 1, 4);
    for (int column = 0; column < 4; ++column) lodGrid->setColumnStretch(column, 1);

    auto* polygons = new QGroupBox("Polygon tools");
    polygons->setObjectName("fraPolygonTools");
    auto* polygonGrid = new QGridLayout(polygons);
    cmdFixMesh = button("cmdFixMesh", "Mesh fix-up");
    cmdWaterProof = button("cmdWaterProof", "Watertightness");
    polygonGrid->addWidget(cmdFixMesh, 0, 0, Qt::AlignTop);
    polygonGrid->addWidget(wrappedLabel("lblFixMesh",
                                        "Mesh fix-up removes redundant poly's and vertices. It also moves single-poly "
                                        "edges (of non-double-sided poly's), and marks unused materials as duplicate."),
                           0, 1);
    polygonGrid->addWidget(cmdWaterProof, 1, 0, Qt::AlignTop);
    polygonGrid->addWidget(wrappedLabel("lblWaterProof",
                                        "Test whether your mesh has 'holes'. LODing yields best results if you have a "
                                        "'waterproof' mesh. The test may take a while on large meshes."),
                           1, 1);
    polygonGrid->setColumnStretch(1, 1);

    insertIntoPage(window.pageMeshTools, 0, dupes);
    insertIntoPage(window.pageMeshTools, 1, lod);
    insertIntoPage(window.pageMeshTools, 2, polygons);
    if (auto* box = qobject_cast<QBoxLayout*>(window.pageMeshTools->layout())) box->addStretch();

    connect(checkDupes, &QPushButton::clicked, this, [this] { checkDupes_Click(); });
    connect(remDupes, &QPushButton::clicked, this, [this] { remDupes_Click(); });
    for (int i = 0; i < 4; ++i)
        connect(CreateLOD[size_t(i)], &QPushButton::clicked, this, [this, i] { CreateLOD_Click(i + 1); });
    connect(cmdGoLOD, &QPushButton::clicked, this, [this] { cmdGoLOD_Click(); });
    connect(cmdFixMesh, &QPushButton::clicked, this, [this] { cmdFixMesh_Click(); });
    connect(cmdWaterProof, &QPushButton::clicked, this, [this] { cmdWaterProof_Click(); });
}

LodSymmetry MeshToolsFrames::symmetry() const {
    return {xzCheck->isChecked(), yzCheck->isChecked(), xyCheck->isChecked()};
}

void MeshToolsFrames::checkDupes_Click() {
    window_.runCommand([&] { tarv::checkDupes_Click(ctx_); });
}

void MeshToolsFrames::remDupes_Click() {
    window_.runCommand([&] { tarv::remDupes_Click(ctx_); });
}

void MeshToolsFrames::CreateLOD_Click(int level) {
    window_.runCommand([&] { tarv::CreateLOD_Click(ctx_, level, symmetry()); });
}

void MeshToolsFrames::cmdGoLOD_Click() {
    window_.runCommand([&] { tarv::cmdGoLOD_Click(ctx_, txtHighLOD->text().toStdString(), symmetry()); });
}

void MeshToolsFrames::cmdFixMesh_Click() {
    window_.runCommand([&] { tarv::cmdFixMesh_Click(ctx_); });
}

void MeshToolsFrames::cmdWaterProof_Click() {
    window_.runCommand([&] { tarv::cmdWaterProof_Click(ctx_); });
}

MeshToolsFrames* installMeshToolsFrames(frmTARV& window) { return new MeshToolsFrames(window); }

}  // namespace tarv
