#include "core/ui/RoadControls.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLayout>

#include "core/roads/LoadRoad.h"
#include "core/ui/frmTARV.h"
#include "meshtools/ui/LodFrame.h"

namespace tarv {

namespace {

// The control of that name already on the window, or a new one added to layout.
template <class W>
W* control(QWidget* window, QLayout* layout, const QString& name) {
    if (auto* existing = window->findChild<W*>(name)) return existing;
    auto* w = new W;
    w->setObjectName(name);
    if (layout) layout->addWidget(w);
    return w;
}

QLayout* layoutOf(QWidget* page) {
    if (!page->layout()) new QVBoxLayout(page);
    return page->layout();
}

void showItems(QComboBox* box, const FixedList& list) {
    QStringList items;
    for (const auto& s : list.items) items << QString::fromStdString(s);
    QStringList shown;
    for (int i = 0; i < box->count(); ++i) shown << box->itemText(i);
    if (shown != items) {
        box->clear();
        box->addItems(items);
    }
    box->setCurrentIndex(list.listIndex < box->count() ? list.listIndex : -1);
}

void showItems(QComboBox* box, const std::vector<std::string>& list) {
    FixedList fixed{list, box->currentIndex() < int(list.size()) ? box->currentIndex() : -1};
    showItems(box, fixed);
}

void showItems(QListWidget* box, const std::vector<std::string>& list) {
    QStringList items;
    for (const auto& s : list) items << QString::fromStdString(s);
    QStringList shown;
    for (int i = 0; i < box->count(); ++i) shown << box->item(i)->text();
    if (shown == items) return;
    box->clear();
    box->addItems(items);
}

} // namespace

RoadControls::RoadControls(EditingContext& ctx, frmTARV& window) : QObject(&window), ctx_(ctx), window_(window) {
    setObjectName("roadControls");
    QWidget* w = &window;

    // Tools page: the LOD frame takes the place of the page's own path label.
    QLayout* tools = layoutOf(window.pageTools);
    fraLod = w->findChild<LodFrame*>("fraLod");
    if (!fraLod) {
        fraLod = new LodFrame(ctx);
        if (window.pageTools->lblLodPath && window.pageTools->lblLodPath->parent() != fraLod) {
            tools->removeWidget(window.pageTools->lblLodPath);
            delete window.pageTools->lblLodPath;
        }
        window.pageTools->lblLodPath = fraLod->lblLodPath;
        window.lblLodPath = fraLod->lblLodPath;
        if (auto* box = qobject_cast<QBoxLayout*>(tools)) box->insertWidget(0, fraLod);
        else tools->addWidget(fraLod);
    }
    fraLod->setStartProcess([this](EditingContext& c) {
        startprocess(c);
        window_.syncFromContext();
    });
    auto* scaling = new QGroupBox("Scale and rotate");
    scaling->setObjectName("fraScaleRotate");
    auto* grid = new QGridLayout(scaling);
    cmbObjectSize = control<QComboBox>(w, nullptr, "cmbObjectSize");
    txtScaleAmount = control<QLineEdit>(w, nullptr, "txtScaleAmount");
    cmbRotateAmount = control<QComboBox>(w, nullptr, "cmbRotateAmount");
    chkScalePEO = control<QCheckBox>(w, nullptr, "chkScalePEO");
    chkScaleMEX = control<QCheckBox>(w, nullptr, "chkScaleMEX");
    chkScaleMAD = control<QCheckBox>(w, nullptr, "chkScaleMAD");
    chkScalePEO->setText("PEO");
    chkScaleMEX->setText("MEX");
    chkScaleMAD->setText("MAD");
    const char* axes[] = {"X ", "Y ", "Z "};
    for (int i = 0; i < 3; ++i) {
        rotateOption[size_t(i)] = control<QRadioButton>(w, nullptr, QString("rotateOption_%1").arg(i));
        rotateOption[size_t(i)]->setText(axes[i]);
        grid->addWidget(rotateOption[size_t(i)], 2, i);
    }
    grid->addWidget(new QLabel("Ship class:"), 0, 0);
    grid->addWidget(cmbObjectSize, 0, 1, 1, 2);
    grid->addWidget(new QLabel("Scale %:"), 1, 0);
    grid->addWidget(txtScaleAmount, 1, 1, 1, 2);
    grid->addWidget(cmbRotateAmount, 3, 0);
    grid->addWidget(chkScalePEO, 4, 0);
    grid->addWidget(chkScaleMEX, 4, 1);
    grid->addWidget(chkScaleMAD, 4, 2);
    if (auto* box = qobject_cast<QBoxLayout*>(tools)) box->insertWidget(1, scaling);
    else tools->addWidget(scaling);

    QLayout* materials = layoutOf(window.pageMaterials);
    lstMaterial = control<QListWidget>(w, materials, "lstMaterial");
    auto* counts = new QWidget;
    auto* form = new QFormLayout(counts);
    txtPublic = control<QLineEdit>(w, nullptr, "txtPublic");
    txtLocal = control<QLineEdit>(w, nullptr, "txtLocal");
    txtPublic->setReadOnly(true);
    txtLocal->setReadOnly(true);
    form->addRow("Public:", txtPublic);
    form->addRow("Local:", txtLocal);
    materials->addWidget(counts);

    lstAnimations = control<QListWidget>(w, layoutOf(window.pageAnimations), "lstAnimations");
    QLayout* keyframes = layoutOf(window.pageObjects->pageKeyframes);
    cmbObjAnims = control<QComboBox>(w, keyframes, "cmbObjAnims");
    cmbApplyKeyframeType = control<QComboBox>(w, keyframes, "cmbApplyKeyframeType");

    QLayout* mexData = layoutOf(window.pageShipInfo->pageMexData);
    QStringList fieldNames;
    for (int i = 0; i <= 8; ++i) fieldNames << QString("mexLabel_%1").arg(i);
    fieldNames << "txtMexName" << "txtAngle_0" << "txtAngle_1";
    for (int i = 0; i < 3; ++i) fieldNames << QString("txtMexPos_%1").arg(i);
    for (int i = 0; i < 3; ++i) fieldNames << QString("txtMexOrt_%1").arg(i);
    fieldNames << "txtChunkId" << "lblChunkID";
    for (const QString& name : fieldNames) {
        QWidget* field = name.startsWith("txt") ? static_cast<QWidget*>(control<QLineEdit>(w, mexData, name))
                                                : static_cast<QWidget*>(control<QLabel>(w, mexData, name));
        mexFields.push_back(field);
    }
    cmbShpGunType = control<QComboBox>(w, layoutOf(window.pageShipInfo->pageShipFileData), "cmbShpGunType");

    // What the user changes goes to the road state.
    connect(cmbObjectSize, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (syncing_) return;
        selectObjectSize(ctx_, index);
        sync();
    });
    connect(txtScaleAmount, &QLineEdit::textEdited, this,
            [this](const QString& text) { ctx_.road.txtScaleAmount = text.toStdString(); });
    for (int i = 0; i < 3; ++i)
        connect(rotateOption[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on && !syncing_) ctx_.road.rotateOption = i;
        });
    connect(cmbRotateAmount, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!syncing_) ctx_.road.cmbRotateAmount.listIndex = index;
    });
    connect(cmbApplyKeyframeType, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!syncing_) ctx_.road.cmbApplyKeyframeType.listIndex = index;
    });
    connect(cmbShpGunType, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!syncing_) ctx_.road.cmbShpGunType.listIndex = index;
    });
    const std::pair<QCheckBox*, bool*> scales[] = {
        {chkScalePEO, &ctx_.road.chkScalePEO}, {chkScaleMEX, &ctx_.road.chkScaleMEX}, {chkScaleMAD, &ctx_.road.chkScaleMAD}};
    for (auto [box, value] : scales)
        connect(box, &QCheckBox::toggled, this, [this, value](bool on) {
            if (!syncing_) *value = on;
        });
}

void RoadControls::sync() {
    syncing_ = true;
    const RoadState& road = ctx_.road;
    fraLod->refresh();
    showItems(cmbObjectSize, road.cmbObjectSize);
    if (txtScaleAmount->text().toStdString() != road.txtScaleAmount)
        txtScaleAmount->setText(QString::fromStdString(road.txtScaleAmount));
    txtScaleAmount->setEnabled(road.txtScaleAmountEnabled);
    if (road.rotateOption >= 0 && road.rotateOption < 3) rotateOption[size_t(road.rotateOption)]->setChecked(true);
    showItems(cmbRotateAmount, road.cmbRotateAmount);
    chkScalePEO->setChecked(road.chkScalePEO);
    chkScaleMEX->setChecked(road.chkScaleMEX);
    chkScaleMAD->setChecked(road.chkScaleMAD);
    showItems(lstMaterial, road.lstMaterial);
    txtPublic->setText(QString::fromStdString(road.txtPublic));
    txtLocal->setText(QString::fromStdString(road.txtLocal));
    showItems(lstAnimations, road.lstAnimations);
    showItems(cmbObjAnims, road.cmbObjAnims);
    showItems(cmbApplyKeyframeType, road.cmbApplyKeyframeType);
    for (QWidget* field : mexFields) field->setVisible(road.mexFieldsVisible);
    showItems(cmbShpGunType, road.cmbShpGunType);
    syncing_ = false;
}

} // namespace tarv
