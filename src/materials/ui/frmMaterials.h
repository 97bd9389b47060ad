#pragma once
// The "Material Properties" dialog: shows the selected material of the "Materials" page and edits it.
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <array>

namespace tarv {

class EditingContext;
class frmTARV;

class frmMaterials : public QDialog {
    Q_OBJECT
public:
    explicit frmMaterials(frmTARV& window);
    std::array<QCheckBox*, 6> chkFlags{};
    std::array<QLineEdit*, 12> txtColours{};
    std::array<QPushButton*, 3> pictures{};  // Picture1 to Picture3
    QLineEdit* txtMtrKAlpha;
    QLineEdit* txtFullAmbient;
    QLabel* mtrLifName;
    QListWidget* lstMatFaces;
    QPushButton* cmdPrev;
    QPushButton* cmdNext;
    QPushButton* cmdClose;
    QPushButton* cmdApply;
    // Shows the dialog's state (while it shows, the main window calls it with its pages).
    void sync();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void run(void (*command)(EditingContext&));
    frmTARV& window_;
    EditingContext& ctx_;
};

}  // namespace tarv
