#pragma once
// The animation controls of the main window: the "Animations" page's list, and on the "Keyframes" tab the
// animation list, the apply modes and "Apply".
#include <QComboBox>
#include <QListWidget>
#include <QObject>
#include <QPushButton>

namespace tarv {

class EditingContext;
class frmTARV;

class AnimationControls : public QObject {
    Q_OBJECT
public:
    explicit AnimationControls(frmTARV& window);
    QListWidget* lstAnimations;
    QComboBox* cmbObjAnims;
    QComboBox* cmbApplyKeyframeType;
    QPushButton* cmdKeyfApply;
    // Shows the pages' state.
    void sync();

private:
    EditingContext& ctx_;
    bool syncing_ = false;
};

// Installs the animation subsystem into the main window: its road steps and its controls.
void installAnimation(frmTARV& window);

} // namespace tarv
