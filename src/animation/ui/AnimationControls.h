#pragma once
// The animation controls of the main window: the "Animations" page's list, "Play" and "Reset"; on the
// "Keyframes" tab the animation list, "Play", the apply modes and "Apply"; "Only show objects with current
// animations" among the object options; and the handler of "Show Gun Recoil".
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QListWidget>
#include <QObject>
#include <QPushButton>
#include <memory>

namespace tarv {

class EditingContext;
class PlaybackHook;
class frmTARV;

class AnimationControls : public QObject {
    Q_OBJECT
public:
    explicit AnimationControls(frmTARV& window);
    ~AnimationControls() override;
    QListWidget* lstAnimations;
    QGroupBox* fraAnimationOptions;
    QPushButton* cmdPlayAnimation;
    QPushButton* cmdResetAllObjects;
    QComboBox* cmbObjAnims;
    QPushButton* cmdObjectPlay;
    QComboBox* cmbApplyKeyframeType;
    QPushButton* cmdKeyfApply;
    QCheckBox* chkObjectsShowAnims;
    // Shows the pages' state.
    void sync();
    // Shows the Play buttons' captions when they changed (the timer stops a playback that reached its end).
    void showPlayCaptions();

private:
    frmTARV& window_;
    std::unique_ptr<PlaybackHook> playback_;  // the timer's playback step while the controls exist
    EditingContext& ctx_;
    bool syncing_ = false;
};

// Installs the animation subsystem into the main window: its road steps, its playback step in the preview's
// timer and its controls.
void installAnimation(frmTARV& window);

}  // namespace tarv
