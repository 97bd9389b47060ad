#pragma once
// The mesh-extras controls of the "Ship Info" page: on "Mex Data" the selected chunk's key and its edit
// fields, on "Ship File Data" the gun-type list.
#include <QComboBox>
#include <QLabel>
#include <QObject>
#include <vector>

namespace tarv {

class EditingContext;
class frmTARV;

class ShipInfoControls : public QObject {
    Q_OBJECT
public:
    explicit ShipInfoControls(frmTARV& window);
    QLabel* lblMexKey;
    std::vector<QWidget*>
        mexFields;  // mexLabel(0..8), txtMexName, txtAngle, txtMexPos, txtMexOrt, txtChunkId, lblChunkID
    QComboBox* cmbShpGunType;
    // Shows the page's state.
    void sync();

private:
    EditingContext& ctx_;
    bool syncing_ = false;
};

// Installs the attachments subsystem into the main window: its road steps and its controls.
void installAttachments(frmTARV& window);

}  // namespace tarv
