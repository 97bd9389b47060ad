#pragma once
// The object pages of the main window: the "Matrix" page of SSTab2, and the panel that connects the
// "Heirachy" page's tree treeHeirachy (placed by the window) to the tree's handlers and shows the object
// state (labels, object count, selection texts) after each of them.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <QPushButton>
#include <QWidget>
#include <array>
#include <functional>

namespace tarv {

class EditingContext;

class frmTARV;
class KeyedTreeWidget;

class MatrixPage : public QWidget {
    Q_OBJECT
public:
    explicit MatrixPage(frmTARV& window, QWidget* parent = nullptr);

    // Shows ctx.objects: the name, the grid, the boxes and the enable flags.
    void showState();
    // The boxes' texts into ctx.objects.
    void readBoxes();
    void cmdApplyMatrix_Click();

    QLabel* lblObjectName_0;
    std::array<QLineEdit*, 16> localmatrix;  // objectNames localmatrix_1 ... localmatrix_16
    QLineEdit* posX;
    QLineEdit* posY;
    QLineEdit* posZ;
    QLineEdit* rotX;
    QLineEdit* rotY;
    QLineEdit* rotZ;
    QLineEdit* ShearX;
    QLineEdit* ShearY;
    QLineEdit* ShearZ;
    QLineEdit* ScaleXYZ;
    QPushButton* cmdApplyMatrix;
    QCheckBox* chkShowRecoil;
    QPushButton* cmdAdvancedObjProps;
    QLabel* lblTmpQuat;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::array<QLineEdit*, 10> boxes() const;
    frmTARV& window_;
    EditingContext& ctx_;
};

// Connects treeHeirachy and the Matrix page to the logic and shows the object state in the window.
class ObjectPanel : public QObject {
    Q_OBJECT
public:
    explicit ObjectPanel(frmTARV& window);

    void sync();

    frmTARV& window;
    KeyedTreeWidget* treeHeirachy;
    MatrixPage* matrixPage;
    QLabel* lblNoOfObjs;

private:
    bool pressedSelected_ = false;  // the press was on the node that was selected already
    std::string shownDx_Label1_;
};

// Installs the object subsystem into the main window: its road steps, the picks of the canvas, and the object
// pages (the panel lives as long as the window).
ObjectPanel* installObjects(frmTARV& window);

}  // namespace tarv
