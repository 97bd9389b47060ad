#include "materials/ui/frmMaterials.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "editor/context/EditingContext.h"
#include "materials/MaterialProperties.h"
#include "materials/state/MaterialsPageState.h"
#include "shell/ControlSync.h"
#include "shell/frmTARV.h"

namespace tarv {

namespace {

MaterialPropertiesState& state(EditingContext& ctx) { return ctx.materialsPage->properties; }

void showText(QLineEdit* box, const std::string& text) {
    const QString shown = QString::fromStdString(text);
    if (box->text() != shown) box->setText(shown);
}

}  // namespace

frmMaterials::frmMaterials(frmTARV& window) : QDialog(&window), window_(window), ctx_(window.ctx) {
    setObjectName("frmMaterials");
    setWindowTitle("Material Properties");
    setModal(true);
    auto* column = new QVBoxLayout(this);

    auto* flagsFrame = new QGroupBox("Material Flags");
    auto* flagsGrid = new QGridLayout(flagsFrame);
    const char* captions[] = {"Smoothing", "Flat Shaded", "2 Sided", "Base Color", "Stripe Color", "Self Illuminated"};
    for (int k = 0; k < 6; ++k) {
        chkFlags[size_t(k)] = new QCheckBox(captions[k]);
        chkFlags[size_t(k)]->setObjectName(QString("chkFlags_%1").arg(k));
        flagsGrid->addWidget(chkFlags[size_t(k)], k / 3, k % 3);
        connect(chkFlags[size_t(k)], &QCheckBox::toggled, this,
                [this, k](bool on) { state(ctx_).chkFlags[size_t(k)] = on; });
    }
    column->addWidget(flagsFrame);

    auto* colours = new QGridLayout;
    colours->addWidget(new QLabel("Red       Green   Blue          Alpha"), 0, 1, 1, 4);
    const char* rows[] = {"Ambient", "Diffuse", "Specular"};
    for (int r = 0; r < 3; ++r) {
        colours->addWidget(new QLabel(rows[r]), r + 1, 0);
        const int boxes[] = {3 * r, 3 * r + 1, 3 * r + 2, 9 + r};
        for (int c = 0; c < 4; ++c) {
            auto* box = namedControl<QLineEdit>(QString("txtColours_%1").arg(boxes[c]));
            box->setMaximumWidth(48);
            txtColours[size_t(boxes[c])] = box;
            colours->addWidget(box, r + 1, c + 1);
            connect(box, &QLineEdit::textEdited, this, [this, k = boxes[c]](const QString& text) {
                state(ctx_).txtColours[size_t(k)] = text.toStdString();
            });
        }
        auto* swatch = namedControl<QPushButton>(QString("Picture%1").arg(r + 1));
        swatch->setFixedSize(32, 20);
        swatch->setFlat(true);
        swatch->setAutoFillBackground(true);
        pictures[size_t(r)] = swatch;
        colours->addWidget(swatch, r + 1, 5);
        connect(swatch, &QPushButton::clicked, this,
                [this, r] { window_.runCommand([this, r] { pictureClick(ctx_, r); }); });
    }
    column->addLayout(colours);

    auto* values = new QGridLayout;
    txtMtrKAlpha = namedControl<QLineEdit>("txtMtrKAlpha");
    txtFullAmbient = namedControl<QLineEdit>("txtFullAmbient");
    values->addWidget(new QLabel("kAlpha"), 0, 0);
    values->addWidget(txtMtrKAlpha, 0, 1);
    values->addWidget(new QLabel("FullAmbient"), 1, 0);
    values->addWidget(txtFullAmbient, 1, 1);
    connect(txtMtrKAlpha, &QLineEdit::textEdited, this,
            [this](const QString& text) { state(ctx_).txtMtrKAlpha = text.toStdString(); });
    connect(txtFullAmbient, &QLineEdit::textEdited, this,
            [this](const QString& text) { state(ctx_).txtFullAmbient = text.toStdString(); });
    column->addLayout(values);

    mtrLifName = namedControl<QLabel>("mtrLifName", column);
    mtrLifName->setText("Material Name");
    column->addWidget(new QLabel("Faces:"));
    lstMatFaces = namedControl<QListWidget>("lstMatFaces", column);

    connect(lstMatFaces, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        window_.runCommand([this, face = item->text().toStdString()] { lstMatFaces_Click(ctx_, face); });
    });

    auto* buttons = new QHBoxLayout;
    const auto button = [&](const char* name, const char* caption) {
        auto* b = namedControl<QPushButton>(name);
        b->setText(caption);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    cmdPrev = button("cmdPrev", "<- Previous");
    cmdNext = button("cmdNext", "Next ->");
    cmdClose = button("cmdClose", "Close");
    cmdApply = button("cmdApply", "Apply");
    column->addLayout(buttons);
    connect(cmdPrev, &QPushButton::clicked, this, [this] { run(cmdPrev_Click); });
    connect(cmdNext, &QPushButton::clicked, this, [this] { run(cmdNext_Click); });
    connect(cmdApply, &QPushButton::clicked, this, [this] { run(cmdApply_Click); });
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::hide);
}

void frmMaterials::run(void (*command)(EditingContext&)) {
    window_.runCommand([this, command] { command(ctx_); });
}

void frmMaterials::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    run(frmMaterials_Activate);
}

void frmMaterials::sync() {
    const MaterialPropertiesState& s = state(ctx_);
    for (size_t k = 0; k < 6; ++k) {
        const QSignalBlocker block(chkFlags[k]);
        chkFlags[k]->setChecked(s.chkFlags[k]);
    }
    for (size_t k = 0; k < 12; ++k) {
        showText(txtColours[k], s.txtColours[k]);
        if (k < 9) txtColours[k]->setEnabled(s.rgbBoxesEnabled);
    }
    for (size_t k = 0; k < 3; ++k) {
        const int32_t c = s.swatches[k];
        QPalette palette = pictures[k]->palette();
        palette.setColor(QPalette::Button, QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
        pictures[k]->setPalette(palette);
    }
    showText(txtMtrKAlpha, s.txtMtrKAlpha);
    showText(txtFullAmbient, s.txtFullAmbient);
    mtrLifName->setText(QString::fromStdString(s.mtrLifName));
    showItems(lstMatFaces, s.lstMatFaces);
    cmdPrev->setEnabled(s.cmdPrevEnabled);
    cmdNext->setEnabled(s.cmdNextEnabled);
}

}  // namespace tarv
