#include "animation/ui/AnimationControls.h"

#include "animation/MadSteps.h"
#include "animation/state/AnimationsPageState.h"
#include "shell/ControlSync.h"
#include "shell/frmTARV.h"
#include "editor/context/EditingContext.h"

namespace tarv {

AnimationControls::AnimationControls(frmTARV& window) : QObject(&window), ctx_(window.ctx) {
    setObjectName("animationControls");
    lstAnimations = namedControl<QListWidget>("lstAnimations", pageLayout(window.pageAnimations));
    QLayout* keyframes = pageLayout(window.pageObjects->pageKeyframes);
    cmbObjAnims = namedControl<QComboBox>("cmbObjAnims", keyframes);
    cmbApplyKeyframeType = namedControl<QComboBox>("cmbApplyKeyframeType", keyframes);
    cmdKeyfApply = namedControl<QPushButton>("cmdKeyfApply", keyframes);
    cmdKeyfApply->setText("Apply");
    cmdKeyfApply->setEnabled(ctx_.objects.cmdKeyfApplyEnabled);
    connect(cmbApplyKeyframeType, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!syncing_) ctx_.animationsPage->cmbApplyKeyframeType.listIndex = index;
    });
}

void AnimationControls::sync() {
    syncing_ = true;
    const AnimationsPageState& state = *ctx_.animationsPage;
    showItems(lstAnimations, state.lstAnimations);
    showItems(cmbObjAnims, state.cmbObjAnims);
    showItems(cmbApplyKeyframeType, state.cmbApplyKeyframeType);
    cmdKeyfApply->setEnabled(ctx_.objects.cmdKeyfApplyEnabled);
    syncing_ = false;
}

void installAnimation(frmTARV& window) {
    connectAnimation(window.ctx);
    auto* controls = new AnimationControls(window);
    window.syncHooks.push_back([controls] { controls->sync(); });
}

} // namespace tarv
