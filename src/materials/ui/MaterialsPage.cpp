#include "materials/ui/MaterialsPage.h"

#include <QFormLayout>

#include "materials/MaterialList.h"
#include "materials/state/MaterialsPageState.h"
#include "shell/ControlSync.h"
#include "shell/frmTARV.h"
#include "editor/context/EditingContext.h"

namespace tarv {

MaterialsPageControls::MaterialsPageControls(frmTARV& window) : QObject(&window), ctx_(window.ctx) {
    setObjectName("materialsPageControls");
    QLayout* page = pageLayout(window.pageMaterials);
    lstMaterial = namedControl<QListWidget>("lstMaterial", page);
    auto* counts = new QWidget;
    auto* form = new QFormLayout(counts);
    txtPublic = namedControl<QLineEdit>("txtPublic");
    txtLocal = namedControl<QLineEdit>("txtLocal");
    txtPublic->setReadOnly(true);
    txtLocal->setReadOnly(true);
    form->addRow("Public:", txtPublic);
    form->addRow("Local:", txtLocal);
    page->addWidget(counts);
}

void MaterialsPageControls::sync() {
    const MaterialsPageState& state = *ctx_.materialsPage;
    showItems(lstMaterial, state.lstMaterial);
    txtPublic->setText(QString::fromStdString(state.txtPublic));
    txtLocal->setText(QString::fromStdString(state.txtLocal));
}

void installMaterials(frmTARV& window) {
    connectMaterials(window.ctx);
    auto* controls = new MaterialsPageControls(window);
    window.syncHooks.push_back([controls] { controls->sync(); });
}

} // namespace tarv
