#pragma once
// The "Ship File Data" page: the gun panel in the frame "Experimental SHP file information". The controls
// mirror ShipInfoPageState::shipFileData and the gun-type list; typing writes the boxes' texts back, and
// "Apply" runs the gun panel's Apply.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <QPushButton>
#include <array>

namespace tarv {

class EditingContext;
class frmTARV;

class ShipFileDataControls : public QObject {
    Q_OBJECT
public:
    explicit ShipFileDataControls(frmTARV& window);
    QGroupBox* Frame8;
    QComboBox* cmbShpGunType;
    std::array<QLineEdit*, 2> txtShpGunInfo;
    std::array<QLineEdit*, 4> txtShpGunAngles;
    QLineEdit* txtShpObjAz;
    QLineEdit* txtShpObjDecl;
    std::array<QLabel*, 5> lblShpGunInfo;
    QLabel* lblShpObjAz;
    QLabel* lblShpObjDecl;
    QLabel* Label16;
    QPushButton* cmdApplyShpInfo;
    // Shows the page's state.
    void sync();

private:
    frmTARV& window_;
    EditingContext& ctx_;
};

// Builds the gun panel on the main window's "Ship File Data" page and lets it show the context.
void installShipFileDataControls(frmTARV& window);

}  // namespace tarv
