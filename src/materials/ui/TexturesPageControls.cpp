#include "materials/ui/TexturesPageControls.h"

#include <QFormLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "editor/context/EditingContext.h"
#include "materials/LifPreview.h"
#include "materials/TexturesPage.h"
#include "materials/ui/ThumbNail.h"
#include "materials/ui/frmLifPreview.h"
#include "shell/ControlSync.h"
#include "shell/frmTARV.h"

namespace tarv {

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

void showText(QLineEdit* box, const std::string& text) {
    const QString shown = qs(text);
    if (box->text() != shown) box->setText(shown);
}

}  // namespace

TexturesPageControls::TexturesPageControls(frmTARV& window)
    : QObject(&window),
      window_(window),
      ctx_(window.ctx),
      lstTextures_(window.pageTextures->lstTextures),
      previewWindow_(ctx_.lif.preview.window, *this) {
    setObjectName("texturesPageControls");
    QWidget* page = window.pageTextures;
    auto* layout = qobject_cast<QVBoxLayout*>(pageLayout(page));

    lblTexturesInFile = namedControl<QLabel>("lblTexturesInFile");
    lblTexturesInFile->setText("Textures in file:");

    fraAdvancedLifOptions = namedControl<QGroupBox>("fraAdvancedLifOptions");
    fraAdvancedLifOptions->setTitle("Advanced LiF Options - Do not change!!");
    auto* form = new QFormLayout(fraAdvancedLifOptions);
    txtImgCRC = namedControl<QLineEdit>("txtImgCRC");
    txtPalCRC = namedControl<QLineEdit>("txtPalCRC");
    txtLifFlags = namedControl<QLineEdit>("txtLifFlags");
    form->addRow("ImageCRC:", txtImgCRC);
    form->addRow("Palette CRC:", txtPalCRC);
    form->addRow("Flags:", txtLifFlags);
    auto* buttons = new QHBoxLayout;
    cmdSaveCRCs = namedControl<QPushButton>("cmdSaveCRCs", buttons);
    cmdSaveCRCs->setText("Save changes");
    cmdLifApplyToAll = namedControl<QPushButton>("cmdLifApplyToAll", buttons);
    cmdLifApplyToAll->setText("Apply to all LIFs");
    form->addRow(buttons);

    ctlThumbs = new ThumbNail;
    ctlThumbs->setFixedSize(ctlThumbs->sizeHint());  // the grid's design size
    cmdFixLif = namedControl<QPushButton>("cmdFixLif");
    cmdFixLif->setText("Fix 3dex Lifs");
    cmdFixLif->setEnabled(false);

    if (layout) {
        layout->insertWidget(0, lblTexturesInFile);
        layout->insertWidget(layout->indexOf(lstTextures_) + 1, fraAdvancedLifOptions);
        layout->addWidget(ctlThumbs);
        layout->addWidget(cmdFixLif);
    }
    cmdFixLif->hide();

    lifPreview = new frmLifPreview(window);

    connect(txtImgCRC, &QLineEdit::textEdited, this,
            [this](const QString& t) { ctx_.lif.boxes.txtImgCRC = t.toStdString(); });
    connect(txtPalCRC, &QLineEdit::textEdited, this,
            [this](const QString& t) { ctx_.lif.boxes.txtPalCRC = t.toStdString(); });
    connect(txtLifFlags, &QLineEdit::textEdited, this,
            [this](const QString& t) { ctx_.lif.boxes.txtLifFlags = t.toStdString(); });
    connect(cmdSaveCRCs, &QPushButton::clicked, this, [this] { run(cmdSaveCRCs_Click); });
    connect(cmdLifApplyToAll, &QPushButton::clicked, this, [this] { run(cmdLifApplyToAll_Click); });
    connect(window.mnuTexPeek, &QAction::triggered, this, [this] { run(mnuTexPeek_Click); });
    connect(ctlThumbs, &ThumbNail::DblClick, this, [this] {
        window_.runCommand([this] { ctlThumbs_DblClick(ctx_, ctlThumbs->grid().selection().selectedThumbPath); });
    });

    connect(lstTextures_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (!window_.syncing()) ctx_.preview.lstTexturesSelected = indexOf(item);
    });
    connect(lstTextures_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        window_.runCommand([this, index = indexOf(item)] { lstTextures_ItemClick(ctx_, index); });
    });
    connect(lstTextures_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        ctx_.preview.lstTexturesSelected = indexOf(item);
        run(lstTextures_DblClick);
    });
    connect(lstTextures_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
        if (column != 0) return;
        const int index = indexOf(item);
        const std::string newText = item->text(0).toStdString();
        window_.runCommand([this, index, &newText] {
            if (index < 0 || index >= int(ctx_.preview.lstTextures.size())) return;
            ctx_.preview.lstTexturesSelected = index;
            lstTextures_AfterLabelEdit(ctx_, false, newText);
        });
    });
}

TexturesPageControls::~TexturesPageControls() = default;

void TexturesPageControls::showModal(EditingContext&, bool) {
    if (lifPreview) lifPreview->exec();
}

int TexturesPageControls::indexOf(QTreeWidgetItem* item) const {
    return item ? lstTextures_->indexOfTopLevelItem(item) : -1;
}

void TexturesPageControls::run(void (*command)(EditingContext&)) {
    window_.runCommand([this, command] { command(ctx_); });
}

void TexturesPageControls::sync() {
    const QSignalBlocker blockList(lstTextures_);
    const std::vector<TextureListItem>& items = ctx_.preview.lstTextures;
    if (lstTextures_->topLevelItemCount() == int(items.size())) {
        for (size_t i = 0; i < items.size(); ++i) {
            QTreeWidgetItem* shown = lstTextures_->topLevelItem(int(i));
            if (shown->text(0) != qs(items[i].name)) shown->setText(0, qs(items[i].name));
            for (size_t k = 0; k < items[i].subItems.size(); ++k)
                if (shown->text(int(k) + 1) != qs(items[i].subItems[k]))
                    shown->setText(int(k) + 1, qs(items[i].subItems[k]));
        }
    }
    const int selected = ctx_.preview.lstTexturesSelected;
    QTreeWidgetItem* current = selected >= 0 ? lstTextures_->topLevelItem(selected) : nullptr;
    if (lstTextures_->currentItem() != current) lstTextures_->setCurrentItem(current);
    showText(txtImgCRC, ctx_.lif.boxes.txtImgCRC);
    showText(txtPalCRC, ctx_.lif.boxes.txtPalCRC);
    showText(txtLifFlags, ctx_.lif.boxes.txtLifFlags);
    if (lifPreview->isVisible()) lifPreview->sync();
}

void installTextures(frmTARV& window) {
    auto* controls = new TexturesPageControls(window);
    window.syncHooks.push_back([controls] { controls->sync(); });
}

}  // namespace tarv
