#pragma once
// The "Mex Data" page: the selected chunk's fields with their captions, the nav light swatch and the
// buttons Apply, Normalise, Auto-calc and Zoom. The controls mirror ShipInfoPageState::mexData; what the user
// types goes back into it, and the buttons run the chunk edit panel's commands.
#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <QPushButton>
#include <array>

namespace tarv {

class EditingContext;
class frmTARV;
struct MexDataBox;

class MexDataControls : public QObject {
    Q_OBJECT
public:
    explicit MexDataControls(frmTARV& window);
    std::array<QLabel*, 9> mexLabel;  // 0..2 caption txtMexPos, 3..5 txtMexOrt, 6..7 txtAngle, 8 txtMexName
    QLabel* lblChunkID;
    QLineEdit* txtChunkId;
    QLineEdit* txtMexName;
    std::array<QLineEdit*, 3> txtMexPos;
    std::array<QLineEdit*, 3> txtMexOrt;
    std::array<QLineEdit*, 2> txtAngle;
    QLabel* lblNavColour;
    QPushButton* picNavColour;
    QPushButton* cmdMexEditApply;
    QPushButton* cmdMexNormalise;
    QPushButton* cmdBBAutoCalc;
    QPushButton* mexZoom;
    // Shows the page's state.
    void sync();

private:
    // A text box whose edits go into its box of the page state.
    QLineEdit* box(const QString& name, MexDataBox& state);
    frmTARV& window_;
    EditingContext& ctx_;
};

// Builds the "Mex Data" page into the window's page holder and keeps it in step with the context.
void installMexDataControls(frmTARV& window);

}  // namespace tarv
