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

class frmMaterials : public QDialog {
    Q_OBJECT
public:
    frmMaterials(EditingContext& ctx, QWidget* owner);
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
    // Shows the dialog's state.
    void sync();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void run(void (*command)(EditingContext&));
    EditingContext& ctx_;
};

}  // namespace tarv
