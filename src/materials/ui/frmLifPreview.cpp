#include "materials/ui/frmLifPreview.h"

#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPixmap>
#include <QVBoxLayout>
#include <cstring>

#include "editor/context/EditingContext.h"
#include "materials/LifPreview.h"
#include "materials/LifRenderer.h"
#include "materials/state/LifState.h"
#include "materials/ui/ThumbNail.h"
#include "shell/frmTARV.h"

namespace tarv {

using namespace lifpreview;

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

constexpr const char* kViewCaptions[7] = {"&Base layer", "&Alpha layer", "Team&0 layer", "Team&1 layer",
                                          "Base+&Team0", "Base+T&eam1",  "A&ll"};
constexpr const char* kViewNames[7] = {"mnuViewBase",      "mnuViewAlpha",     "mnuViewTeam0", "mnuViewTeam1",
                                       "mnuViewBaseTeam0", "mnuViewBaseTeam1", "mnuViewAll"};

}  // namespace

frmLifPreview::frmLifPreview(frmTARV& window)
    : QDialog(&window), window_(window), ctx_(window.ctx), swatchWindow_(ctx_.shell.swatchWindows, *this) {
    setObjectName("frmLifPreview");
    setModal(true);
    auto* column = new QVBoxLayout(this);
    const auto action = [this](QMenu* menu, const char* name, const char* caption) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(name);
        return a;
    };

    menuBar = new QMenuBar(this);
    menuBar->setObjectName("menuBar");
    mnuFile = menuBar->addMenu("&File");
    mnuFile->setObjectName("mnuFile");
    mnuFileOpen = action(mnuFile, "mnuFileOpen", "&Open");
    mnuFile->addSeparator();
    mnuFixLif = action(mnuFile, "mnuFixLif", "&Fix Lif");
    mnuFileExport = mnuFile->addMenu("&Export");
    mnuFileExport->setObjectName("mnuFileExport");
    mnuFileExportBMP = action(mnuFileExport, "mnuFileExportBMP", "As &BMP");
    mnuFile->addSeparator();
    mnuFileExit = action(mnuFile, "mnuFileExit", "E&xit");
    mnuView = menuBar->addMenu("&View");
    mnuView->setObjectName("mnuView");
    for (int i = 0; i < 7; ++i) {
        viewItems[size_t(i)] = action(mnuView, kViewNames[i], kViewCaptions[i]);
        connect(viewItems[size_t(i)], &QAction::triggered, this,
                [this, layer = i + 1] { run([layer](EditingContext& c) { mnuView_Click(c, layer); }); });
    }
    column->setMenuBar(menuBar);

    // The picture area: Image1 at its top left corner.
    pictureArea = new QWidget;
    pictureArea->setObjectName("pictureArea");
    pictureArea->setMinimumSize(kLifZoomPixels, kLifZoomPixels);
    Image1 = new QLabel(pictureArea);
    Image1->setObjectName("Image1");
    Image1->move(0, 0);
    column->addWidget(pictureArea, 1);

    Label1 = new QLabel;
    Label1->setObjectName("Label1");
    Label1->setStyleSheet("color: red");
    column->addWidget(Label1);

    auto* row = new QHBoxLayout;
    const auto swatch = [this](const char* name) {
        auto* s = new QLabel;
        s->setObjectName(name);
        s->setFixedSize(32, 24);
        s->setAutoFillBackground(true);
        s->setFrameShape(QFrame::Box);
        s->installEventFilter(this);
        return s;
    };
    picTeam0 = swatch("picTeam0");
    picTeam1 = swatch("picTeam1");
    const auto button = [](const char* name, const char* caption) {
        auto* b = new QPushButton(caption);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    cmdPrev = button("cmdPrev", "<- Previous");
    cmdNext = button("cmdNext", "Next ->");
    cmdZoom = button("cmdZoom", "Zoom In");
    cmdClose = button("cmdClose", "Close");
    row->addWidget(picTeam0);
    row->addWidget(picTeam1);
    row->addStretch(1);
    row->addWidget(cmdPrev);
    row->addWidget(cmdNext);
    column->addLayout(row);
    auto* row2 = new QHBoxLayout;
    row2->addStretch(1);
    row2->addWidget(cmdZoom);
    row2->addWidget(cmdClose);
    column->addLayout(row2);

    StatusBar1 = new QStatusBar;
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    for (int i = 0; i < 4; ++i) {
        panels[size_t(i)] = new QLabel;
        panels[size_t(i)]->setObjectName(QString("StatusBar1_%1").arg(i + 1));
        StatusBar1->addWidget(panels[size_t(i)], i == 0 ? 1 : 0);
    }
    column->addWidget(StatusBar1);

    connect(mnuFileOpen, &QAction::triggered, this, [this] { run(mnuFileOpen_Click); });
    connect(mnuFixLif, &QAction::triggered, this, [this] { run(mnuFixLif_Click); });
    connect(mnuFileExportBMP, &QAction::triggered, this, [this] { run(mnuFileExportBMP_Click); });
    connect(mnuFileExit, &QAction::triggered, this, [this] { done(0); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { done(0); });
    connect(cmdPrev, &QPushButton::clicked, this, [this] { run(cmdPrev_Click); });
    connect(cmdNext, &QPushButton::clicked, this, [this] { run(cmdNext_Click); });
    connect(cmdZoom, &QPushButton::clicked, this, [this] { run(cmdZoom_Click); });

    frmLifPreview_Load(ctx_);
    sync();
}

frmLifPreview::~frmLifPreview() = default;

// Start-up and the Options dialog paint the two team swatches.
void frmLifPreview::paintSwatchColour(SwatchColour which, int32_t colour) {
    if (which == SwatchColour::PlayerBase) {
        ctx_.lif.preview.picTeam0BackColor = colour;
        paintSwatch(picTeam0, colour);
    } else if (which == SwatchColour::PlayerStripe) {
        ctx_.lif.preview.picTeam1BackColor = colour;
        paintSwatch(picTeam1, colour);
    }
}

void frmLifPreview::paintSwatch(QLabel* swatch, int32_t colour) {
    QPalette p = swatch->palette();
    p.setColor(QPalette::Window, QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
    swatch->setPalette(p);
}

void frmLifPreview::run(const std::function<void(EditingContext&)>& command) {
    window_.runCommand([this, &command] { command(ctx_); });
}

void frmLifPreview::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    run(frmLifPreview_Activate);
}

bool frmLifPreview::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease && (watched == picTeam0 || watched == picTeam1)) {
        const int team = watched == picTeam0 ? 0 : 1;
        run([team](EditingContext& c) { picTeam_Click(c, team); });
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmLifPreview::sync() {
    const LifPreviewState& pv = ctx_.lif.preview;
    setWindowTitle(qs(pv.Caption));
    mnuView->setEnabled(pv.mnuView);
    mnuView->menuAction()->setEnabled(pv.mnuView);
    const bool enabled[7] = {
        true,         pv.mnuViewAlpha, pv.mnuViewTeam0, pv.mnuViewTeam1, pv.mnuViewBaseTeam0, pv.mnuViewBaseTeam1,
        pv.mnuViewAll};
    for (size_t i = 0; i < 7; ++i) viewItems[i]->setEnabled(enabled[i]);
    mnuFixLif->setEnabled(pv.mnuFixLif);
    mnuFileExportBMP->setEnabled(pv.mnuFileExportBMP);
    Label1->setText(qs(pv.Label1));
    picTeam0->setVisible(pv.picTeam0Visible);
    picTeam1->setVisible(pv.picTeam1Visible);
    paintSwatch(picTeam0, pv.picTeam0BackColor);
    paintSwatch(picTeam1, pv.picTeam1BackColor);
    cmdPrev->setEnabled(pv.cmdPrev);
    cmdNext->setEnabled(pv.cmdNext);
    cmdZoom->setText(qs(pv.cmdZoom));
    Image1->setScaledContents(pv.Image1Stretch);
    Image1->setPixmap(pixmapOf(pv.Image1));
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setFixedSize(std::max(pv.Image1Width, 0), std::max(pv.Image1Height, 0));
    pictureArea->setMinimumSize(std::max(kLifZoomPixels, pv.Image1Width), std::max(kLifZoomPixels, pv.Image1Height));
    const std::string* texts[4] = {&pv.panel1, &pv.panel2, &pv.panel3, &pv.panel4};
    for (size_t i = 0; i < 4; ++i) panels[i]->setText(qs(*texts[i]));
}

}  // namespace tarv
