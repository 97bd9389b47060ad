#include "objects/ui/ObjectPages.h"

#include <QApplication>

#include "materials/state/MaterialsPageState.h"
#include "objects/ui/frmAdvancedObjects.h"
#include "objects/ui/frmGeometry.h"
#include "objects/ui/frmImport.h"
#include "objects/ui/ObjectOptions.h"

#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

#include "shell/KeyedTreeWidget.h"
#include "objects/ObjectSteps.h"
#include "shell/WindowHook.h"
#include "shell/frmTARV.h"
#include "objects/ObjectLinks.h"
#include "objects/ObjectSelection.h"
#include "objects/ObjectTree.h"
#include "editor/context/EditingContext.h"

namespace tarv {

namespace {

template <class W>
W* named(const QString& name, const QString& text = {}) {
    auto* w = new W(text);
    w->setObjectName(name);
    return w;
}

QLineEdit* box(const char* name) {
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    return edit;
}

QString q(const std::string& text) { return QString::fromStdString(text); }

int16_t buttonCode(Qt::MouseButtons buttons) {
    int16_t code = 0;
    if (buttons & Qt::LeftButton) code |= kLeftButton;
    if (buttons & Qt::RightButton) code |= kRightButton;
    if (buttons & Qt::MiddleButton) code |= kMiddleButton;
    return code;
}

}  // namespace

MatrixPage::MatrixPage(frmTARV& window, QWidget* parent) : QWidget(parent), window_(window), ctx_(window.ctx) {
    setObjectName("MatrixPage");
    lblObjectName_0 = named<QLabel>("lblObjectName_0");
    QFont bold = lblObjectName_0->font();
    bold.setBold(true);
    lblObjectName_0->setFont(bold);

    auto* grid = new QGridLayout;
    grid->setSpacing(2);
    for (int i = 0; i < 16; ++i) {
        QLineEdit* cell = box(("localmatrix_" + std::to_string(i + 1)).c_str());
        cell->setReadOnly(true);
        cell->setFocusPolicy(Qt::ClickFocus);
        QPalette p = cell->palette();
        p.setColor(QPalette::Base, p.color(QPalette::Button));  // button-face background
        cell->setPalette(p);
        cell->setMinimumWidth(60);
        localmatrix[size_t(i)] = cell;
        grid->addWidget(cell, i / 4, i % 4);
    }

    posX = box("posX");
    posY = box("posY");
    posZ = box("posZ");
    rotX = box("rotX");
    rotY = box("rotY");
    rotZ = box("rotZ");
    ShearX = box("ShearX");
    ShearY = box("ShearY");
    ShearZ = box("ShearZ");
    ScaleXYZ = box("ScaleXYZ");
    cmdApplyMatrix = named<QPushButton>("cmdApplyMatrix", "Apply");
    cmdApplyMatrix->setDefault(true);
    cmdApplyMatrix->setEnabled(false);
    chkShowRecoil = named<QCheckBox>("chkShowRecoil", "Show Gun Recoil");
    chkShowRecoil->setEnabled(false);
    cmdAdvancedObjProps = named<QPushButton>("cmdAdvancedObjProps", "Advanced Properties");
    cmdAdvancedObjProps->setEnabled(false);
    lblTmpQuat = named<QLabel>("lblTmpQuat");

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel("X"), 0, 1, Qt::AlignHCenter);
    fields->addWidget(new QLabel("Y"), 0, 2, Qt::AlignHCenter);
    fields->addWidget(new QLabel("Z"), 0, 3, Qt::AlignHCenter);
    const char* rows[] = {"Position", "Rotation", "Shear"};
    QLineEdit* rowBoxes[3][3] = {{posX, posY, posZ}, {rotX, rotY, rotZ}, {ShearX, ShearY, ShearZ}};
    for (int r = 0; r < 3; ++r) {
        fields->addWidget(new QLabel(rows[r]), r + 1, 0);
        for (int c = 0; c < 3; ++c) fields->addWidget(rowBoxes[r][c], r + 1, c + 1);
    }
    fields->addWidget(new QLabel("Scale"), 4, 0);
    fields->addWidget(ScaleXYZ, 4, 1);
    fields->addWidget(cmdApplyMatrix, 4, 3);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblObjectName_0);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(fields);
    layout->addWidget(chkShowRecoil);
    layout->addWidget(cmdAdvancedObjProps, 0, Qt::AlignLeft);
    layout->addWidget(lblTmpQuat);
    layout->addStretch(1);

    QWidget* previous = nullptr;
    for (QLineEdit* edit : boxes()) {
        edit->installEventFilter(this);
        // Enter presses the default button "Apply".
        connect(edit, &QLineEdit::returnPressed, this, [this] {
            if (cmdApplyMatrix->isEnabled()) cmdApplyMatrix->click();
        });
        if (previous) setTabOrder(previous, edit);
        previous = edit;
    }
    setTabOrder(previous, cmdApplyMatrix);
    connect(cmdApplyMatrix, &QPushButton::clicked, this, &MatrixPage::cmdApplyMatrix_Click);
}

std::array<QLineEdit*, 10> MatrixPage::boxes() const {
    return {posX, posY, posZ, rotX, rotY, rotZ, ShearX, ShearY, ShearZ, ScaleXYZ};
}

bool MatrixPage::eventFilter(QObject* watched, QEvent* event) {
    // *_GotFocus: the whole text is selected, so typing replaces the value (also after a click).
    if (event->type() == QEvent::FocusIn) {
        if (auto* edit = qobject_cast<QLineEdit*>(watched)) {
            edit->selectAll();
            QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MatrixPage::showState() {
    const ObjectsState& s = ctx_.objects;
    lblObjectName_0->setText(q(s.lblObjectName[0]));
    for (size_t i = 0; i < 16; ++i) localmatrix[i]->setText(q(s.localmatrix[i]));
    const std::string* texts[] = {&s.posX, &s.posY,   &s.posZ,   &s.rotX,   &s.rotY,
                                  &s.rotZ, &s.ShearX, &s.ShearY, &s.ShearZ, &s.ScaleXYZ};
    const auto edits = boxes();
    for (size_t i = 0; i < edits.size(); ++i)
        if (edits[i]->text() != q(*texts[i])) edits[i]->setText(q(*texts[i]));
    lblTmpQuat->setText(q(s.lblTmpQuat));
    cmdApplyMatrix->setEnabled(s.cmdApplyMatrixEnabled);
    cmdAdvancedObjProps->setEnabled(s.cmdAdvancedObjPropsEnabled);
    chkShowRecoil->setEnabled(s.chkShowRecoilEnabled);
    chkShowRecoil->setChecked(s.chkShowRecoil);
}

void MatrixPage::readBoxes() {
    ObjectsState& s = ctx_.objects;
    std::string* texts[] = {&s.posX, &s.posY,   &s.posZ,   &s.rotX,   &s.rotY,
                            &s.rotZ, &s.ShearX, &s.ShearY, &s.ShearZ, &s.ScaleXYZ};
    const auto edits = boxes();
    for (size_t i = 0; i < edits.size(); ++i) *texts[i] = edits[i]->text().toStdString();
}

void MatrixPage::cmdApplyMatrix_Click() {
    window_.runCommand([this] {
        readBoxes();
        tarv::cmdApplyMatrix_Click(ctx_);
    });
}

ObjectPanel::ObjectPanel(frmTARV& w) : QObject(&w), window(w) {
    EditingContext& ctx = window.ctx;
    treeHeirachy = window.treeHeirachy;
    ObjectsPage* page = window.pageObjects;

    // The Matrix tab's page holder gets the matrix page.
    matrixPage = new MatrixPage(window);
    page->pageMatrix->layout()->addWidget(matrixPage);

    lblNoOfObjs = named<QLabel>("lblNoOfObjs");
    if (auto* layout = qobject_cast<QVBoxLayout*>(page->pageHeirachy->layout()))
        layout->insertWidget(layout->indexOf(treeHeirachy) + 1, lblNoOfObjs);

    // Drags begin when the handlers say so, not at the view's own distance.
    treeHeirachy->setDragEnabled(false);
    KeyedTree& tree = ctx.shell.treeHeirachy;

    connect(treeHeirachy, &KeyedTreeWidget::nodeMousePressed, this,
            [this, &ctx, &tree](const QString& key, Qt::MouseButton button, const QPoint& pos) {
                window.runCommand([&] {
                    // The tree selects the node under the pointer before it reports the press.
                    // A press on the check box ticks only: it never leads to renaming the node.
                    pressedSelected_ = !key.isEmpty() && key.toStdString() == tree.selectedKey() &&
                                       !treeHeirachy->isOnCheckBox(pos);
                    if (!key.isEmpty()) tree.setSelected(key.toStdString());
                    treeHeirachy_MouseDown(ctx, buttonCode(button), 0, float(pos.x()), float(pos.y()));
                });
            });
    connect(treeHeirachy, &KeyedTreeWidget::nodeMouseMoved, this,
            [this, &ctx](const QString&, Qt::MouseButtons buttons, const QPoint& pos) {
                window.runCommand([&] {
                    if (!treeHeirachy_MouseMove(ctx, buttonCode(buttons), 0, float(pos.x()), float(pos.y()))) return;
                    pressedSelected_ = false;
                    treeHeirachy->beginDrag(window.windowIcon().pixmap(32, 32));
                    ctx.objects.dragStartTime = -1;  // a drag that ended outside the tree
                });
            });
    connect(treeHeirachy, &KeyedTreeWidget::nodeMouseReleased, this,
            [this, &ctx](const QString&, Qt::MouseButton button, const QPoint& pos) {
                window.runCommand(
                    [&] { treeHeirachy_MouseUp(ctx, buttonCode(button), 0, float(pos.x()), float(pos.y())); });
            });
    connect(treeHeirachy, &KeyedTreeWidget::nodeDragOver, this, [this, &ctx](const QString&, const QString& target) {
        window.runCommand([&] { treeHeirachy_DragOver(ctx, target.toStdString()); });
    });
    connect(treeHeirachy, &KeyedTreeWidget::nodeDropped, this, [this, &ctx](const QString&, const QString& target) {
        window.runCommand([&] {
            treeHeirachy_DragOver(ctx, target.toStdString());
            treeHeirachy_DragDrop(ctx);
        });
    });
    connect(treeHeirachy, &KeyedTreeWidget::nodeClicked, this, [this, &ctx](const QString& key) {
        const bool editNow = pressedSelected_;
        window.runCommand([&] { treeHeirachy_NodeClick(ctx, key.toStdString()); });
        // A click on the node that was selected already edits its text.
        if (editNow) treeHeirachy->startEditing(key.toStdString());
    });
    connect(treeHeirachy, &KeyedTreeWidget::nodeChecked, this, [this, &ctx](const QString& key, bool checked) {
        window.runCommand([&] { treeHeirachy_NodeCheck(ctx, key.toStdString(), checked); });
    });
    connect(treeHeirachy, &KeyedTreeWidget::editCommitted, this,
            [this, &ctx, &tree](const QString& key, const QString& text) {
                window.runCommand([&] {
                    if (tree.find(key.toStdString())) tree.setSelected(key.toStdString());
                    treeHeirachy_AfterLabelEdit(ctx, 0, text.toStdString());
                });
                treeHeirachy->sync(true);  // a refused name shows the old text again
            });
    connect(treeHeirachy, &KeyedTreeWidget::editCancelled, this, [this, &ctx, &tree](const QString& key) {
        window.runCommand([&] {
            const KeyedTree::Node* node = tree.find(key.toStdString());
            treeHeirachy_AfterLabelEdit(ctx, -1, node ? node->text : std::string());
        });
        treeHeirachy->sync(true);
    });
    connect(treeHeirachy, &QTreeWidget::itemDoubleClicked, this,
            [this, &ctx] { window.runCommand([&] { treeHeirachy_DblClick(ctx); }); });
    auto* rename = new QShortcut(QKeySequence(Qt::Key_F2), treeHeirachy);
    rename->setContext(Qt::WidgetShortcut);
    connect(rename, &QShortcut::activated, this, [this, &tree] {
        if (!tree.selectedKey().empty()) treeHeirachy->startEditing(tree.selectedKey());
    });

    window.syncHooks.push_back([this] { sync(); });
}

void ObjectPanel::sync() {
    const ObjectsState& s = window.ctx.objects;
    treeHeirachy->sync();
    lblNoOfObjs->setText(q(s.lblNoOfObjs));
    window.pageObjects->lblKey->setText(q(s.lblKey));
    if (s.Dx_Label1 != shownDx_Label1_) window.Dx_Label1->setText(q(s.Dx_Label1));  // a resize clears it
    shownDx_Label1_ = s.Dx_Label1;
    matrixPage->showState();
}

namespace {
// Opens the Geometry Inspector for the materials page while the main window lives, over the modal window
// that asked for it (Material Properties), else over the main window.
class GeometryInspectorOpener : public QObject, public GeometryInspectorHook {
public:
    explicit GeometryInspectorOpener(frmTARV& window)
        : QObject(&window), window_(window), hook_(window.ctx.materialsPage->geometryInspector, *this) {}
    void showGeometryInspector(EditingContext& ctx, const std::string& lblObjNo, const std::string& lblFaceNo) override {
        QWidget* owner = QApplication::activeModalWidget();
        tarv::showGeometryInspector(ctx, owner ? owner : &window_, lblObjNo, lblFaceNo);
    }

private:
    frmTARV& window_;
    WindowHook<GeometryInspectorHook> hook_;
};
}  // namespace

ObjectPanel* installObjects(frmTARV& window) {
    connectObjects(window.ctx);
    auto* panel = new ObjectPanel(window);
    new ObjectOptions(window);
    installObjectDialogs(window, panel->matrixPage->cmdAdvancedObjProps);
    installObjectImport(window);
    new GeometryInspectorOpener(window);
    return panel;
}

}  // namespace tarv
