#pragma once
// The "Materials" page: the material list and the public and local counts.
#include <QLineEdit>
#include <QListWidget>
#include <QObject>

namespace tarv {

class EditingContext;
class frmTARV;

class MaterialsPageControls : public QObject {
    Q_OBJECT
public:
    explicit MaterialsPageControls(frmTARV& window);
    QListWidget* lstMaterial;
    QLineEdit* txtPublic;
    QLineEdit* txtLocal;
    // Shows the page's state.
    void sync();

private:
    EditingContext& ctx_;
};

// Installs the materials subsystem into the main window: its road steps and its page.
void installMaterials(frmTARV& window);

} // namespace tarv
