#pragma once
// The "Textures" page's controls beside the shell's lstTextures and Label27: the label "Textures in
// file:", the frame "Advanced LiF Options - Do not change!!" with the three header boxes and their two
// buttons, the thumbnail grid ctlThumbs and the hidden "Fix 3dex Lifs"; the page's handlers, Tools >
// "&Lif Viewer", and the texture preview window frmLifPreview they open.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <QPushButton>
#include <QPointer>
#include <QTreeWidget>

#include "materials/state/LifState.h"
#include "shell/WindowHook.h"

namespace tarv {

class EditingContext;
class frmLifPreview;
class frmTARV;
class ThumbNail;

// Also the texture preview window's opener while the page lives.
class TexturesPageControls : public QObject, public LifPreviewWindow {
    Q_OBJECT
public:
    explicit TexturesPageControls(frmTARV& window);
    ~TexturesPageControls() override;
    void showModal(EditingContext& ctx, bool owned) override;

    QLabel* lblTexturesInFile;
    QGroupBox* fraAdvancedLifOptions;
    QLineEdit* txtImgCRC;
    QLineEdit* txtPalCRC;
    QLineEdit* txtLifFlags;
    QPushButton* cmdSaveCRCs;
    QPushButton* cmdLifApplyToAll;
    ThumbNail* ctlThumbs;
    QPushButton* cmdFixLif;
    QPointer<frmLifPreview> lifPreview;

    // Shows the page's state: the list's texts and selection, and the header boxes.
    void sync();

private:
    void run(void (*command)(EditingContext&));
    int indexOf(QTreeWidgetItem* item) const;

    frmTARV& window_;
    EditingContext& ctx_;
    QTreeWidget* lstTextures_;
    WindowHook<LifPreviewWindow> previewWindow_;
};

// Builds the page's controls and the preview window into the main window and connects their handlers.
void installTextures(frmTARV& window);

}  // namespace tarv
