#include "animation/ui/AnimationControls.h"

#include <QVBoxLayout>

#include "animation/MadSteps.h"
#include "animation/Playback.h"
#include "animation/state/AnimationsPageState.h"
#include "shell/ControlSync.h"
#include "shell/frmTARV.h"
#include "editor/context/EditingContext.h"

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

}  // namespace

AnimationControls::AnimationControls(frmTARV& window) : QObject(&window), window_(window), ctx_(window.ctx) {
    setObjectName("animationControls");
    QLayout* animations = pageLayout(window.pageAnimations);
    lstAnimations = namedControl<QListWidget>("lstAnimations", animations);
    fraAnimationOptions = namedControl<QGroupBox>("fraAnimationOptions", animations);
    fraAnimationOptions->setTitle("Options");
    auto* options = new QHBoxLayout(fraAnimationOptions);
    cmdPlayAnimation = namedControl<QPushButton>("cmdPlayAnimation", options);
    cmdResetAllObjects = namedControl<QPushButton>("cmdResetAllObjects", options);
    cmdResetAllObjects->setText("Reset");
    options->addStretch(1);

    QLayout* keyframes = pageLayout(window.pageObjects->pageKeyframes);
    cmbObjAnims = namedControl<QComboBox>("cmbObjAnims", keyframes);
    cmdObjectPlay = namedControl<QPushButton>("cmdObjectPlay", keyframes);
    cmbApplyKeyframeType = namedControl<QComboBox>("cmbApplyKeyframeType", keyframes);
    cmdKeyfApply = namedControl<QPushButton>("cmdKeyfApply", keyframes);
    cmdKeyfApply->setText("Apply");
    cmdKeyfApply->setEnabled(ctx_.objects.cmdKeyfApplyEnabled);

    chkObjectsShowAnims = namedControl<QCheckBox>("chkObjectsShowAnims", pageLayout(window.pageObjects->Frame4));
    chkObjectsShowAnims->setText("Only show objects with current animations");
    showPlayCaptions();
    playback_ = std::make_unique<WindowPlayback>(*this);
    ctx_.preview.playbackHook = playback_.get();

    connect(cmbApplyKeyframeType, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!syncing_) ctx_.animationsPage->cmbApplyKeyframeType.listIndex = index;
    });
    connect(lstAnimations, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!syncing_) ctx_.animationsPage->lstAnimationsIndex = row;
    });
    connect(cmbObjAnims, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!syncing_) ctx_.animationsPage->cmbObjAnimsIndex = index;
    });
    connect(cmdPlayAnimation, &QPushButton::clicked, this, [this] {
        cmdPlayAnimation_Click(ctx_);
        window_.syncFromContext();
    });
    connect(cmdObjectPlay, &QPushButton::clicked, this, [this] {
        cmdObjectPlay_Click(ctx_);
        window_.syncFromContext();
    });
    connect(cmdResetAllObjects, &QPushButton::clicked, this, [this] { cmdResetAllObjects_Click(ctx_); });
    connect(chkObjectsShowAnims, &QCheckBox::clicked, this, [this](bool checked) {
        chkObjectsShowAnims_Click(ctx_, checked);
        window_.syncFromContext();
    });
    if (auto* recoil = window.findChild<QCheckBox*>("chkShowRecoil")) {
        connect(recoil, &QCheckBox::clicked, this, [this](bool checked) {
            chkShowRecoil_Click(ctx_, checked);
            window_.syncFromContext();
        });
    }
}

AnimationControls::~AnimationControls() {
    if (ctx_.preview.playbackHook == playback_.get()) connectPlayback(ctx_);
}

void AnimationControls::showPlayCaptions() {
    const AnimationsPageState& state = *ctx_.animationsPage;
    const QString play = QString::fromStdString(state.cmdPlayAnimationCaption);
    const QString object = QString::fromStdString(state.cmdObjectPlayCaption);
    if (cmdPlayAnimation->text() != play) cmdPlayAnimation->setText(play);
    if (cmdObjectPlay->text() != object) cmdObjectPlay->setText(object);
}

void AnimationControls::sync() {
    syncing_ = true;
    AnimationsPageState& state = *ctx_.animationsPage;
    showItems(lstAnimations, state.lstAnimations);
    showItems(cmbObjAnims, state.cmbObjAnims);
    // A selection beyond the list (the list was replaced) is none.
    if (state.lstAnimationsIndex >= int(state.lstAnimations.size())) state.lstAnimationsIndex = -1;
    if (state.cmbObjAnimsIndex >= int(state.cmbObjAnims.size())) state.cmbObjAnimsIndex = -1;
    if (lstAnimations->currentRow() != state.lstAnimationsIndex) lstAnimations->setCurrentRow(state.lstAnimationsIndex);
    if (cmbObjAnims->currentIndex() != state.cmbObjAnimsIndex) cmbObjAnims->setCurrentIndex(state.cmbObjAnimsIndex);
    showItems(cmbApplyKeyframeType, state.cmbApplyKeyframeType);
    cmdKeyfApply->setEnabled(ctx_.objects.cmdKeyfApplyEnabled);
    chkObjectsShowAnims->setChecked(state.chkObjectsShowAnims);
    showPlayCaptions();
    syncing_ = false;
}

void installAnimation(frmTARV& window) {
    connectAnimation(window.ctx);
    auto* controls = new AnimationControls(window);
    window.syncHooks.push_back([controls] { controls->sync(); });
}

}  // namespace tarv
