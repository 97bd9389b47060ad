#pragma once
// The "Geometry Inspector": the corners of one face of one object and their vertex normals.
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

namespace tarv {

class EditingContext;

class frmGeometry : public QDialog {
    Q_OBJECT
public:
    frmGeometry(EditingContext& ctx, QWidget* owner);
    QLabel* lblObjNo;
    QLabel* lblFaceNo;
    QTreeWidget* ListView1;
    QTreeWidget* ListView2;
    QPushButton* cmdClose;
    // Fills both lists from the two labels; once per opening, with one message when rows were left out.
    void fill();

private:
    EditingContext& ctx_;
};

// Shows a new Geometry Inspector modally over owner on object lblObjNo's face lblFaceNo.
void showGeometryInspector(EditingContext& ctx, QWidget* owner, const std::string& lblObjNo,
                           const std::string& lblFaceNo);

}  // namespace tarv
