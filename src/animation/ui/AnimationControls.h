#pragma once
// The animation controls of the main window: the "Animations" page (the list of animations, the boxes of the
// selected one, "Add", "Clone", "Delete", "Apply", "Play", "Reset" and the .mad attach); the "Keyframes" tab
// (the animation combo, the slider, the ten key boxes with their check boxes, the key buttons, the dump and
// "Play"); File > Import > "Milkshape &SMD file";
// "Only show objects with current animations" among the object options; and the handler of "Show Gun
// Recoil".
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QObject>
#include <QPushButton>
#include <QSlider>
#include <array>
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
    // The Animations page.
    QGroupBox* fraAnimationList;
    QListWidget* lstAnimations;
    QLineEdit* txtAnimName;
    QLineEdit* startTime;
    QLineEdit* endTime;
    QCheckBox* loopBox;
    QGroupBox* fraAnimationOptions;
    QPushButton* cmdAnimNew;
    QPushButton* cmdCloneAnimation;
    QPushButton* cmdAnimDelete;
    QPushButton* cmdAnimApply;
    QPushButton* cmdPlayAnimation;
    QPushButton* cmdResetAllObjects;
    QPushButton* cmdLoadMADfile;
    QPushButton* cmdDumpAllKeyframes;
    // The Keyframes tab.
    QGroupBox* frmKeyframeInfo;
    QComboBox* cmbObjAnims;
    QSlider* sldObjKeyf;
    QLabel* lblkeyfdebug;
    std::array<QLineEdit*, 10> txtKeyVal;
    std::array<QCheckBox*, 9> chkKeyfUse;
    QLabel* lblOther;
    QComboBox* cmbApplyKeyframeType;
    QPushButton* cmdKeyfApply;
    QPushButton* cmdKeyInsert;
    QPushButton* cmdKeyDelete;
    QPushButton* cmdAutoKeyfTime;
    QPushButton* cmdCopyToNext;
    QComboBox* cmbObjectList;
    QPushButton* cmdResetPeoObjectPosition;
    QPushButton* cmdDumpKeyframes;
    QPushButton* cmdObjectPlay;
    // Among the object options.
    QCheckBox* chkObjectsShowAnims;
    // Shows the pages' state.
    void sync();
    // Shows the Play buttons' captions when they changed (the timer stops a playback that reached its end).
    void showPlayCaptions();

private:
    void buildAnimationsPage();
    void buildKeyframesTab();
    void connectHandlers();

    frmTARV& window_;
    std::unique_ptr<PlaybackHook> playback_;  // the timer's playback step while the controls exist
    EditingContext& ctx_;
};

// Installs the animation subsystem into the main window: its road steps and hooks, its playback step in the
// preview's timer and its controls.
void installAnimation(frmTARV& window);

}  // namespace tarv
