#pragma once
// The three frames of the " Mesh Tools " page: "Duplicate vertices", "Create Level of Detail mesh" and
// "Polygon tools". Each button reads its controls, runs the mesh tools command and shows the context again.
#include <QCheckBox>
#include <QLineEdit>
#include <QObject>
#include <QPushButton>
#include <array>

#include "meshtools/MeshKernels.h"

namespace tarv {

class EditingContext;
class frmTARV;

class MeshToolsFrames : public QObject {
    Q_OBJECT
public:
    explicit MeshToolsFrames(frmTARV& window);

    QPushButton* checkDupes;
    QPushButton* remDupes;
    std::array<QPushButton*, 4> CreateLOD;  // CreateLOD1 .. CreateLOD4
    QLineEdit* txtHighLOD;
    QPushButton* cmdGoLOD;
    QCheckBox* xzCheck;
    QCheckBox* yzCheck;
    QCheckBox* xyCheck;
    QPushButton* cmdFixMesh;
    QPushButton* cmdWaterProof;

    void checkDupes_Click();
    void remDupes_Click();
    void CreateLOD_Click(int level);
    void cmdGoLOD_Click();
    void cmdFixMesh_Click();
    void cmdWaterProof_Click();

private:
    LodSymmetry symmetry() const;
    frmTARV& window_;
    EditingContext& ctx_;
};

// Builds the frames onto the page (called by installMeshTools).
MeshToolsFrames* installMeshToolsFrames(frmTARV& window);

}  // namespace tarv
