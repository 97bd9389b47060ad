#pragma once
// The "Materials" page: the material list, the public and local counts, the material text list, the count
// swap and the flag commands.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QObject>
#include <QPushButton>

namespace tarv {

class EditingContext;
class frmMaterials;
class frmTARV;

class MaterialsPageControls : public QObject {
    Q_OBJECT
public:
    explicit MaterialsPageControls(frmTARV& window);
    QListWidget* lstMaterial;
    QLineEdit* txtPublic;
    QLineEdit* txtLocal;
    QPushButton* cmdSaveMtl;
    QPushButton* cmdSwapMtl;
    QPushButton* cmdAll2sided;
    QPushButton* cmdSmoothObj;
    QPushButton* cmdSmoothAll;
    frmMaterials* materialProperties = nullptr;  // made at the first double-click, then hidden and shown again
    // Shows the page's state.
    void sync();
    // Shows the Material Properties dialog modally on the selected material; nothing without a selection.
    void lstMaterial_DblClick();

private:
    frmTARV& window_;
    EditingContext& ctx_;
};

// Installs the materials subsystem into the main window: its road steps and its page.
void installMaterials(frmTARV& window);

}  // namespace tarv
