#include "animation/ui/AnimationControls.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "animation/AnimationList.h"
#include "animation/KeyframeDump.h"
#include "animation/KeyframePanel.h"
#include "animation/MadSteps.h"
#include "animation/Playback.h"
#include "animation/SmdImport.h"
#include "animation/state/AnimationsPageState.h"
#include "editor/context/EditingContext.h"
#include "shell/ControlSync.h"
#include "shell/frmTARV.h"

namespace tarv {

namespace {

// The playback step of the timer, with the Play buttons following a stop at the end of an animation.
class WindowPlayback : public PlaybackHook {
public:
    explicit WindowPlayback(AnimationControls& controls) : controls_(controls) {}
    bool advancePlayback(EditingContext& ctx) override {
        const bool ended = tarv::advancePlayback(ctx);
        if (ended) controls_.showPlayCaptions();
        return ended;
    }

private:
    AnimationControls& controls_;
};

template <class W>
W* captioned(const QString& name, const QString& caption, QWidget* parent = nullptr) {
    auto* w = namedControl<W>(name);
    w->setText(caption);
    if (parent) w->setParent(parent);
    return w;
}

QString text(const std::string& s) { return QString::fromStdString(s); }

void showText(QLineEdit* box, const std::string& s) {
    if (!showsText(box->text(), s)) box->setText(text(s));
}

// The names of the animations, as both animation lists show them.
std::vector<std::string> animationNames(const EditingContext& ctx) {
    std::vector<std::string> names;
    for (const MadAnimation& a : ctx.animation.madAnimations) names.push_back(a.name);
    return names;
}

}  // namespace

AnimationControls::AnimationControls(frmTARV& window) : QObject(&window), window_(window), ctx_(window.ctx) {
    setObjectName("animationControls");
    buildAnimationsPage();
    buildKeyframesTab();
    chkObjectsShowAnims = namedControl<QCheckBox>("chkObjectsShowAnims", pageLayout(window.pageObjects->Frame4));
    chkObjectsShowAnims->setText("Only show objects with current animations");
    playback_ = std::make_unique<WindowPlayback>(*this);
    ctx_.preview.playbackHook = playback_.get();
    connectHandlers();
}

void AnimationControls::buildAnimationsPage() {
    QLayout* page = pageLayout(window_.pageAnimations);
    auto* row = new QHBoxLayout;
    if (auto* box = qobject_cast<QBoxLayout*>(page))
        box->addLayout(row);
    else
        page->addItem(row);

    fraAnimationList = namedControl<QGroupBox>("fraAnimationList");
    fraAnimationList->setTitle("Animation List");
    auto* listLayout = new QVBoxLayout(fraAnimationList);
    lstAnimations = namedControl<QListWidget>("lstAnimations", listLayout);
    row->addWidget(fraAnimationList, 1);

    auto* right = new QVBoxLayout;
    row->addLayout(right, 1);
    auto* boxes = new QGridLayout;
    right->addLayout(boxes);
    txtAnimName = namedControl<QLineEdit>("txtAnimName");
    startTime = namedControl<QLineEdit>("startTime");
    endTime = namedControl<QLineEdit>("endTime");
    const std::pair<const char*, QLineEdit*> labelled[] = {{"Name:", txtAnimName}, {"Start:", startTime}, {"End:", endTime}};
    int r = 0;
    for (const auto& [caption, box] : labelled) {
        boxes->addWidget(new QLabel(caption), r, 0);
        boxes->addWidget(box, r, 1);
        ++r;
    }
    loopBox = captioned<QCheckBox>("loopBox", "Loop");
    boxes->addWidget(loopBox, r, 1);

    fraAnimationOptions = namedControl<QGroupBox>("fraAnimationOptions");
    fraAnimationOptions->setTitle("Options");
    auto* options = new QGridLayout(fraAnimationOptions);
    cmdAnimNew = captioned<QPushButton>("cmdAnimNew", "Add");
    cmdCloneAnimation = captioned<QPushButton>("cmdCloneAnimation", "Clone");
    cmdAnimDelete = captioned<QPushButton>("cmdAnimDelete", "Delete");
    cmdAnimApply = captioned<QPushButton>("cmdAnimApply", "Apply");
    cmdPlayAnimation = captioned<QPushButton>("cmdPlayAnimation", "Play");
    cmdResetAllObjects = captioned<QPushButton>("cmdResetAllObjects", "Reset");
    options->addWidget(cmdAnimNew, 0, 0);
    options->addWidget(cmdCloneAnimation, 0, 1);
    options->addWidget(cmdAnimDelete, 1, 0);
    options->addWidget(cmdAnimApply, 1, 1);
    options->addWidget(cmdPlayAnimation, 2, 0);
    options->addWidget(cmdResetAllObjects, 2, 1);
    right->addWidget(fraAnimationOptions);
    cmdDumpAllKeyframes = captioned<QPushButton>("cmdDumpAllKeyframes", "Dump All keyframes");
    right->addWidget(cmdDumpAllKeyframes);
    right->addStretch(1);

    cmdLoadMADfile = captioned<QPushButton>("cmdLoadMADfile", "Attach existing MAD file animation to this ship");
    page->addWidget(cmdLoadMADfile);
}

void AnimationControls::buildKeyframesTab() {
    QLayout* page = pageLayout(window_.pageObjects->pageKeyframes);
    frmKeyframeInfo = namedControl<QGroupBox>("frmKeyframeInfo", page);
    auto* grid = new QGridLayout(frmKeyframeInfo);

    grid->addWidget(new QLabel("Object Animations:"), 0, 0);
    cmbObjAnims = namedControl<QComboBox>("cmbObjAnims");
    grid->addWidget(cmbObjAnims, 0, 1, 1, 3);
    sldObjKeyf = namedControl<QSlider>("sldObjKeyf");
    sldObjKeyf->setOrientation(Qt::Horizontal);
    grid->addWidget(sldObjKeyf, 1, 0, 1, 3);
    lblkeyfdebug = namedControl<QLabel>("lblkeyfdebug");
    grid->addWidget(lblkeyfdebug, 1, 3);

    static const char* const kUseCaptions[9] = {"X", "Y", "Z", "Position", "Rotation", "Bias", "Cont.", "Tens.", "Time"};
    for (int i = 0; i < 9; ++i)
        chkKeyfUse[size_t(i)] = captioned<QCheckBox>(QString("chkKeyfUse_%1").arg(i), kUseCaptions[i]);
    for (int i = 0; i < 10; ++i) txtKeyVal[size_t(i)] = namedControl<QLineEdit>(QString("txtKeyVal_%1").arg(i));
    // The time on its own row; then the columns "X", "Y" and "Z": position, rotation (x, z, y) and tension,
    // continuity and bias after "Other".
    grid->addWidget(txtKeyVal[0], 2, 1);
    grid->addWidget(chkKeyfUse[kUseTime], 2, 0);
    for (int c = 0; c < 3; ++c) grid->addWidget(chkKeyfUse[size_t(c)], 3, c + 1);
    grid->addWidget(chkKeyfUse[kUsePosition], 4, 0);
    grid->addWidget(chkKeyfUse[kUseRotation], 5, 0);
    lblOther = captioned<QLabel>("lblOther", "Other");
    grid->addWidget(lblOther, 6, 0);
    for (int c = 0; c < 3; ++c) {
        grid->addWidget(txtKeyVal[size_t(1 + c)], 4, c + 1);
        grid->addWidget(txtKeyVal[size_t(4 + c)], 5, c + 1);
        grid->addWidget(txtKeyVal[size_t(7 + c)], 6, c + 1);
    }
    grid->addWidget(chkKeyfUse[kUseTens], 7, 1);
    grid->addWidget(chkKeyfUse[kUseCont], 7, 2);
    grid->addWidget(chkKeyfUse[kUseBias], 7, 3);

    cmdKeyfApply = captioned<QPushButton>("cmdKeyfApply", "Apply to:");
    cmbApplyKeyframeType = namedControl<QComboBox>("cmbApplyKeyframeType");
    grid->addWidget(cmdKeyfApply, 8, 0);
    grid->addWidget(cmbApplyKeyframeType, 8, 1, 1, 3);
    cmdKeyInsert = captioned<QPushButton>("cmdKeyInsert", "Insert keyframe");
    cmdKeyDelete = captioned<QPushButton>("cmdKeyDelete", "Delete keyframe");
    cmdAutoKeyfTime = captioned<QPushButton>("cmdAutoKeyfTime", "Auto");
    grid->addWidget(cmdKeyInsert, 9, 0);
    grid->addWidget(cmdKeyDelete, 9, 1);
    grid->addWidget(cmdAutoKeyfTime, 9, 2);
    cmdCopyToNext = captioned<QPushButton>("cmdCopyToNext", "Copy all keys to:");
    cmbObjectList = namedControl<QComboBox>("cmbObjectList");
    grid->addWidget(cmdCopyToNext, 10, 0);
    grid->addWidget(cmbObjectList, 10, 1, 1, 3);
    cmdResetPeoObjectPosition = captioned<QPushButton>("cmdResetPeoObjectPosition", "Reset 3D display");
    grid->addWidget(cmdResetPeoObjectPosition, 11, 0);
    cmdDumpKeyframes = captioned<QPushButton>("cmdDumpKeyframes", "Dump keyframes");
    grid->addWidget(cmdDumpKeyframes, 11, 1);

    cmdObjectPlay = captioned<QPushButton>("cmdObjectPlay", "Play");
    page->addWidget(cmdObjectPlay);
    if (auto* box = qobject_cast<QBoxLayout*>(page)) box->addStretch(1);
}

void AnimationControls::connectHandlers() {
    AnimationsPageState& s = *ctx_.animationsPage;
    auto button = [this](QPushButton* b, void (*handler)(EditingContext&)) {
        connect(b, &QPushButton::clicked, this, [this, handler] { window_.runCommand([&] { handler(ctx_); }); });
    };
    // The Animations page.
    connect(lstAnimations, &QListWidget::currentRowChanged, this, [this, &s](int row) {
        window_.runCommand([&] {
            s.lstAnimationsIndex = row;
            lstAnimations_Click(ctx_);
        });
    });
    connect(lstAnimations, &QListWidget::itemDoubleClicked, this,
            [this] { window_.runCommand([&] { lstAnimations_DblClick(ctx_); }); });
    connect(txtAnimName, &QLineEdit::textEdited, this, [&s](const QString& t) { s.txtAnimName = t.toStdString(); });
    connect(startTime, &QLineEdit::textEdited, this, [&s](const QString& t) { s.startTime = t.toStdString(); });
    connect(endTime, &QLineEdit::textEdited, this, [&s](const QString& t) { s.endTime = t.toStdString(); });
    connect(loopBox, &QCheckBox::clicked, this, [&s](bool checked) { s.loopBox = checked; });
    connect(cmdAnimNew, &QPushButton::clicked, this, [this] { window_.runCommand([&] { cmdAnimNew_Click(ctx_); }); });
    button(cmdCloneAnimation, cmdCloneAnimation_Click);
    button(cmdAnimDelete, cmdAnimDelete_Click);
    button(cmdAnimApply, cmdAnimApply_Click);
    button(cmdPlayAnimation, cmdPlayAnimation_Click);
    button(cmdResetAllObjects, cmdResetAllObjects_Click);
    button(cmdLoadMADfile, cmdLoadMADfile_Click);
    button(cmdDumpAllKeyframes, dumpAllKeyframes);
    connect(window_.mnuImportFromSMD, &QAction::triggered, this,
            [this] { window_.runCommand([&] { mnuImportFromSMD_Click(ctx_); }); });

    // The Keyframes tab.
    connect(cmbObjAnims, &QComboBox::activated, this, [this, &s](int index) {
        window_.runCommand([&] {
            s.cmbObjAnimsIndex = index;
            cmbObjAnims_Click(ctx_);
        });
    });
    connect(sldObjKeyf, &QSlider::valueChanged, this,
            [this](int value) { window_.runCommand([&] { sldObjKeyf_Scroll(ctx_, value); }); });
    for (int i = 0; i < 10; ++i)
        connect(txtKeyVal[size_t(i)], &QLineEdit::textEdited, this,
                [&s, i](const QString& t) { s.txtKeyVal[size_t(i)] = t.toStdString(); });
    for (int i = 0; i < 9; ++i)
        connect(chkKeyfUse[size_t(i)], &QCheckBox::clicked, this, [&s, i](bool checked) { s.chkKeyfUse[size_t(i)] = checked; });
    connect(cmbApplyKeyframeType, &QComboBox::currentIndexChanged, this, [this, &s](int index) {
        if (!window_.syncing()) s.cmbApplyKeyframeType.listIndex = index;
    });
    connect(cmbObjectList, &QComboBox::currentIndexChanged, this, [this, &s](int index) {
        if (!window_.syncing()) s.cmbObjectListIndex = index;
    });
    button(cmdKeyfApply, cmdKeyfApply_Click);
    button(cmdKeyInsert, cmdKeyInsert_Click);
    button(cmdKeyDelete, cmdKeyDelete_Click);
    button(cmdAutoKeyfTime, cmdAutoKeyfTime_Click);
    button(cmdCopyToNext, cmdCopyToNext_Click);
    button(cmdResetPeoObjectPosition, cmdResetPeoObjectPosition_Click);
    button(cmdDumpKeyframes, dumpKeyframes);
    button(cmdObjectPlay, cmdObjectPlay_Click);

    connect(chkObjectsShowAnims, &QCheckBox::clicked, this,
            [this](bool checked) { window_.runCommand([&] { chkObjectsShowAnims_Click(ctx_, checked); }); });
    if (auto* recoil = window_.findChild<QCheckBox*>("chkShowRecoil")) {
        connect(recoil, &QCheckBox::clicked, this,
                [this](bool checked) { window_.runCommand([&] { chkShowRecoil_Click(ctx_, checked); }); });
    }
}

AnimationControls::~AnimationControls() {
    if (ctx_.preview.playbackHook == playback_.get()) connectPlayback(ctx_);
}

void AnimationControls::showPlayCaptions() {
    const AnimationsPageState& state = *ctx_.animationsPage;
    const QString play = text(state.cmdPlayAnimationCaption);
    const QString object = text(state.cmdObjectPlayCaption);
    if (cmdPlayAnimation->text() != play) cmdPlayAnimation->setText(play);
    if (cmdObjectPlay->text() != object) cmdObjectPlay->setText(object);
}

void AnimationControls::sync() {
    AnimationsPageState& s = *ctx_.animationsPage;
    // A selection beyond the animations (they were replaced) is none.
    const int count = int(ctx_.animation.madAnimations.size());
    if (s.lstAnimationsIndex >= count) s.lstAnimationsIndex = -1;
    if (s.cmbObjAnimsIndex >= count) s.cmbObjAnimsIndex = -1;
    const std::vector<std::string> names = animationNames(ctx_);
    showItems(lstAnimations, names);
    showItems(cmbObjAnims, names, s.cmbObjAnimsIndex);
    if (lstAnimations->currentRow() != s.lstAnimationsIndex) lstAnimations->setCurrentRow(s.lstAnimationsIndex);
    showText(txtAnimName, s.txtAnimName);
    showText(startTime, s.startTime);
    showText(endTime, s.endTime);
    loopBox->setChecked(s.loopBox);

    frmKeyframeInfo->setTitle(text(s.frmKeyframeInfo));
    sldObjKeyf->setRange(s.sldObjKeyf.minimum, s.sldObjKeyf.maximum);
    sldObjKeyf->setValue(s.sldObjKeyf.value);
    sldObjKeyf->setEnabled(s.sldObjKeyf.enabled);
    lblkeyfdebug->setText(text(s.lblkeyfdebug));
    for (int i = 0; i < 10; ++i) showText(txtKeyVal[size_t(i)], s.txtKeyVal[size_t(i)]);
    for (int i = 0; i < 9; ++i) chkKeyfUse[size_t(i)]->setChecked(s.chkKeyfUse[size_t(i)]);
    const bool shown = s.keyControlsShown;
    for (QWidget* w : std::initializer_list<QWidget*>{sldObjKeyf, lblOther, lblkeyfdebug, cmdKeyfApply,
                                                      cmbApplyKeyframeType, cmdAutoKeyfTime})
        w->setVisible(shown);
    for (QLineEdit* box : txtKeyVal) box->setVisible(shown);
    for (QCheckBox* box : chkKeyfUse) box->setVisible(shown);
    for (QPushButton* b : {cmdResetPeoObjectPosition, cmdKeyDelete, cmdCopyToNext}) b->setEnabled(shown);
    showItems(cmbApplyKeyframeType, s.cmbApplyKeyframeType);
    cmdKeyfApply->setEnabled(ctx_.objects.cmdKeyfApplyEnabled);
    if (s.cmbObjectListIndex >= int(ctx_.objects.cmbObjectList.size())) s.cmbObjectListIndex = -1;
    showItems(cmbObjectList, ctx_.objects.cmbObjectList, s.cmbObjectListIndex);

    chkObjectsShowAnims->setChecked(s.chkObjectsShowAnims);
    showPlayCaptions();
}

void installAnimation(frmTARV& window) {
    connectAnimation(window.ctx);
    auto* controls = new AnimationControls(window);
    window.syncHooks.push_back([controls] { controls->sync(); });
}

}  // namespace tarv
