#include "preview/ui/PreviewParts.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QStyledItemDelegate>

#include "shell/frmTARV.h"
#include "scene/gl/RMCanvas.h"
#include "editor/context/EditingContext.h"

namespace tarv {

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

// A column whose texts are not edited in place.
class ReadOnlyColumn : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget*, const QStyleOptionViewItem&, const QModelIndex&) const override { return nullptr; }
};

}  // namespace

PreviewParts::PreviewParts(frmTARV& window)
    : QObject(&window),
      w_(window),
      ctx_(window.ctx),
      mouse_(window.ctx),
      textureSource_(window.ctx),
      materialHook_(textureSource_) {
    setObjectName("previewParts");
    EditingContext& ctx = w_.ctx;
    ctx.preview.controls = this;
    ctx.services.materialPreview = &materialHook_;
    for (int column = 1; column < 4; ++column)
        w_.pageTextures->lstTextures->setItemDelegateForColumn(column, new ReadOnlyColumn(this));

    // The canvas draws the preview's scene and hands its mouse to the camera handlers.
    if (auto* canvas = qobject_cast<scene::RMCanvas*>(w_.RMCanvas1)) {
        canvas->setScene(ctx.view.viewport);
        canvas->setMouseHandler(&canvasMouse_);
        ctx.view.canvas = canvas;
        canvas_ = canvas;
        connect(canvas, &QObject::destroyed, this, [this] {
            if (ctx_.view.canvas == canvas_) ctx_.view.canvas = nullptr;
            canvas_ = nullptr;
        });
    } else {
        plainCanvas_ = w_.RMCanvas1;
        plainCanvas_->installEventFilter(this);
    }

    // The preset views, in a row under the canvas.
    auto* row = new QWidget;
    row->setObjectName("view3dRow");
    auto* rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < 6; ++i) {
        view3d[size_t(i)] = new QRadioButton(kView3dCaptions[i]);
        view3d[size_t(i)]->setObjectName(QString("view3d_%1").arg(i));
        rowLayout->addWidget(view3d[size_t(i)]);
        connect(view3d[size_t(i)], &QRadioButton::clicked, this,
                [this, i] { w_.runCommand([this, i] { view3d_Click(w_.ctx, int16_t(i)); }); });
    }
    rowLayout->addStretch(1);
    w_.canvasColumn->addWidget(row);

    // The Render menu.
    w_.mnuRenderWireframe->setCheckable(true);
    setRenderTicks(ctx.view.mnuRenderFlat);
    const auto command = [this](QAction* item, void (*handler)(EditingContext&)) {
        connect(item, &QAction::triggered, this,
                [this, handler] { w_.runCommand([this, handler] { handler(w_.ctx); }); });
    };
    command(w_.mnuRenderWireframe, mnuRenderWireframe_Click);
    command(w_.mnuRenderFlat, mnuRenderFlat_Click);
    command(w_.mnuRenderReset, mnuRenderReset_Click);

    // The canvas popup.
    QMenu* popup = w_.mnu3dPreview;
    const auto item = [&](const char* name, const char* caption) {
        QAction* a = popup->addAction(caption);
        a->setObjectName(name);
        return a;
    };
    mnu3dPreviewHeirachy = item("mnu3dPreviewHeirachy", "Edit Heirachy");
    mnu3dPreviewMatrix = item("mnu3dPreviewMatrix", "Edit Matrix");
    mnu3dPreviewKeyframes = item("mnu3dPreviewKeyframes", "Edit Keyframes");
    popup->addSeparator();
    mnu3dPreviewSpin = item("mnu3dPreviewSpin", "Spin Object");
    command(mnu3dPreviewHeirachy, mnu3dPreviewHeirachy_Click);
    command(mnu3dPreviewMatrix, mnu3dPreviewMatrix_Click);
    command(mnu3dPreviewKeyframes, mnu3dPreviewKeyframes_Click);
    command(mnu3dPreviewSpin, mnu3dPreviewSpin_Click);

    connect(w_.Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(w_.ctx); });

    // The Textures page's thumbnails: the materials' grid when they placed one, otherwise above the hint.
    ctlThumbs = w_.pageTextures->findChild<ThumbNail*>("ctlThumbs");
    if (!ctlThumbs) {
        ctlThumbs = new ThumbNail;
        if (auto* texturesLayout = qobject_cast<QVBoxLayout*>(w_.pageTextures->layout()))
            texturesLayout->insertWidget(1, ctlThumbs, 1);
    }
    // Filling the grid during a load lets events run through the window's pump, spaced like the load's own.
    EditingContext& context = w_.ctx;
    ctlThumbs->pumpEvents = [&context] { context.status().processEvents(); };
}

PreviewParts::~PreviewParts() {
    EditingContext& ctx = ctx_;
    if (ctx.preview.controls == this) ctx.preview.controls = nullptr;
    if (ctx.services.materialPreview == &materialHook_) ctx.services.materialPreview = nullptr;
    if (canvas_ && ctx.view.canvas == canvas_) ctx.view.canvas = nullptr;
}

int PreviewParts::mainTab() const { return w_.SSTab1->currentIndex(); }

void PreviewParts::setMainTab(int tab) { w_.SSTab1->setCurrentIndex(tab); }

int PreviewParts::objectsTab() const { return w_.pageObjects->SSTab2->currentIndex(); }

void PreviewParts::setObjectsTab(int tab) { w_.pageObjects->SSTab2->setCurrentIndex(tab); }

bool PreviewParts::eventFilter(QObject* watched, QEvent* event) {
    // Compared with the pointer kept at start: events still come while the window is taken down.
    if (watched == plainCanvas_ && dynamic_cast<QMouseEvent*>(event))
        return scene::forwardCanvasMouse(canvasMouse_, *static_cast<QMouseEvent*>(event));
    return QObject::eventFilter(watched, event);
}

void CanvasCommands::mouseDown(int16_t button, int16_t shift, float x, float y) {
    window_.runCommand([&] { preview_.mouseDown(button, shift, x, y); });
}

void CanvasCommands::mouseMove(int16_t button, int16_t shift, float x, float y) {
    preview_.mouseMove(button, shift, x, y);
}

void CanvasCommands::mouseUp(int16_t button, int16_t shift, float x, float y) {
    window_.runCommand([&] { preview_.mouseUp(button, shift, x, y); });
}

void PreviewParts::showPreviewPopup(float x, float y) {
    PreviewControls::showPreviewPopup(x, y);
    w_.mnu3dPreview->popup(w_.RMCanvas1->mapToGlobal(QPoint(int(x), int(y))));
}

std::string PreviewParts::spinCaption() const { return mnu3dPreviewSpin->text().toStdString(); }

void PreviewParts::setSpinCaption(const std::string& text) {
    PreviewControls::setSpinCaption(text);
    mnu3dPreviewSpin->setText(qs(text));
}

void PreviewParts::setRenderTicks(bool textured) {
    PreviewControls::setRenderTicks(textured);
    w_.mnuRenderFlat->setChecked(textured);
    w_.mnuRenderWireframe->setChecked(!textured);
}

void PreviewParts::setViewButton(int index) {
    if (index >= 0 && index < int(view3d.size())) view3d[size_t(index)]->setChecked(true);
}

void PreviewParts::texturesChanged() {
    const PreviewState& p = w_.ctx.preview;
    QTreeWidget* list = w_.pageTextures->lstTextures;
    list->clear();
    for (const TextureListItem& item : p.lstTextures) {
        QStringList columns{qs(item.name)};
        for (const std::string& sub : item.subItems) columns << qs(sub);
        auto* entry = new QTreeWidgetItem(columns);
        entry->setFlags(entry->flags() | Qt::ItemIsEditable);  // the name is edited in place
        list->addTopLevelItem(entry);
    }
    ctlThumbs->Clear();
    for (const Thumbnail& t : p.ctlThumbs.items()) {
        std::string path = t.path;
        ctlThumbs->Add(path, false, &t.picture);
        ctlThumbs->setThumbCaption(ctlThumbs->Count() - 1, t.caption);
    }
    ctlThumbs->setCaption(qs(p.ctlThumbs.Caption));
}

void installPreview(frmTARV& window) {
    new PreviewParts(window);
}

}  // namespace tarv
