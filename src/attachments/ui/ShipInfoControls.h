#pragma once
// The mesh-extras controls of the "Ship Info" page: on "Elements" the chunk commands beside the chunk tree
// and the selected chunk's key. The "Mex Data" page is MexDataControls, "Ship File Data" ShipFileDataControls.
#include <QCheckBox>
#include <QLabel>
#include <QObject>
#include <QPushButton>

namespace tarv {

class EditingContext;
class frmTARV;

class ShipInfoControls : public QObject {
    Q_OBJECT
public:
    explicit ShipInfoControls(frmTARV& window);
    QLabel* lblMexKey;
    QPushButton* cmdMexAdd;
    QPushButton* cmdMexMirror;
    QCheckBox* chkMexMirrorX;
    QCheckBox* chkMexMirrorY;
    QCheckBox* chkMexMirrorZ;
    QPushButton* cmdMexDel;
    QPushButton* cmdAttachMexFile;
    // Shows the page's state.
    void sync();

private:
    frmTARV& window_;
    EditingContext& ctx_;
};

// Installs the attachments subsystem into the main window: its road steps and its controls.
void installAttachments(frmTARV& window);

}  // namespace tarv
