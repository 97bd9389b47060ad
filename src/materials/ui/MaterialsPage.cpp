#include "materials/ui/MaterialsPage.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "materials/MaterialList.h"
#include "materials/ui/TexturesPageControls.h"
#include "materials/ui/frmMaterials.h"
#include "materials/state/MaterialsPageState.h"
#include "shell/ControlSync.h"
#include "shell/frmTARV.h"
#include "editor/context/EditingContext.h"

namespace tarv {

MaterialsPageControls::MaterialsPageControls(frmTARV& window) : QObject(&window), window_(window), ctx_(window.ctx) {
    setObjectName("materialsPageControls");
    QLayout* page = pageLayout(window.pageMaterials);
    const auto button = [this](const char* name, const char* caption, void (*command)(EditingContext&)) {
        auto* b = namedControl<QPushButton>(name);
        b->setText(caption);
        connect(b, &QPushButton::clicked, this,
                [this, command] { window_.runCommand([this, command] { command(ctx_); }); });
        return b;
    };

    auto* listFrame = new QGroupBox("Materials List");
    listFrame->setObjectName("frameMaterialsList");
    auto* listColumn = new QVBoxLayout(listFrame);
    lstMaterial = namedControl<QListWidget>("lstMaterial", listColumn);
    auto* counts = new QFormLayout;
    txtPublic = namedControl<QLineEdit>("txtPublic");
    txtLocal = namedControl<QLineEdit>("txtLocal");
    counts->addRow("Public:", txtPublic);
    counts->addRow("Local:", txtLocal);
    listColumn->addLayout(counts);
    auto* row = new QHBoxLayout;
    cmdSaveMtl = button("cmdSaveMtl", "&Save all", cmdSaveMtl_Click);
    cmdSwapMtl = button("cmdSwapMtl", "S&wap", cmdSwapMtl_Click);
    row->addWidget(cmdSaveMtl);
    row->addWidget(cmdSwapMtl);
    listColumn->addLayout(row);
    auto* hint = new QLabel("Double click a material name to edit flags and ambient / diffuse / specular colours.");
    hint->setObjectName("lblMaterialHint");
    hint->setWordWrap(true);
    listColumn->addWidget(hint);
    page->addWidget(listFrame);

    auto* optionsFrame = new QGroupBox("Material Options");
    optionsFrame->setObjectName("frameMaterialOptions");
    auto* options = new QVBoxLayout(optionsFrame);
    cmdAll2sided = button("cmdAll2sided", "All Two-sided", cmdAll2sided_Click);
    cmdSmoothObj = button("cmdSmoothObj", "Smooth Selected", cmdSmoothObj_Click);
    cmdSmoothAll = button("cmdSmoothAll", "Smooth All", cmdSmoothAll_Click);
    options->addWidget(cmdAll2sided);
    options->addWidget(cmdSmoothObj);
    options->addWidget(cmdSmoothAll);
    page->addWidget(optionsFrame);

    connect(txtPublic, &QLineEdit::textEdited, this,
            [this](const QString& text) { ctx_.materialsPage->txtPublic = text.toStdString(); });
    connect(txtLocal, &QLineEdit::textEdited, this,
            [this](const QString& text) { ctx_.materialsPage->txtLocal = text.toStdString(); });
    connect(lstMaterial, &QListWidget::currentRowChanged, this,
            [this](int row) { ctx_.materialsPage->selectedIndex = row; });
    connect(lstMaterial, &QListWidget::itemDoubleClicked, this, [this] { lstMaterial_DblClick(); });
}

void MaterialsPageControls::lstMaterial_DblClick() {
    if (ctx_.materialsPage->selectedIndex < 0) return;
    window_.runCommand([this] {
        if (!materialProperties) materialProperties = new frmMaterials(window_);
        materialProperties->exec();
    });
}

void MaterialsPageControls::sync() {
    const MaterialsPageState& state = *ctx_.materialsPage;
    const QSignalBlocker blockList(lstMaterial);
    showItems(lstMaterial, state.lstMaterial);
    lstMaterial->setCurrentRow(state.selectedIndex < lstMaterial->count() ? state.selectedIndex : -1);
    const auto show = [](QLineEdit* box, const std::string& text) {
        const QString shown = QString::fromStdString(text);
        if (box->text() != shown) box->setText(shown);
    };
    show(txtPublic, state.txtPublic);
    show(txtLocal, state.txtLocal);
    if (materialProperties && materialProperties->isVisible()) materialProperties->sync();
}

void installMaterials(frmTARV& window) {
    auto* controls = new MaterialsPageControls(window);
    window.syncHooks.push_back([controls] { controls->sync(); });
    installTextures(window);
}

}  // namespace tarv
