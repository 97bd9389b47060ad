#pragma once
// The buttons of the "Object Options" frame Frame4 on the "Heirachy" page: Clone, the three mirrors and
// Delete. Each click runs its command and shows the context again.
#include <QObject>
#include <QPushButton>

namespace tarv {

class frmTARV;

class ObjectOptions : public QObject {
    Q_OBJECT
public:
    explicit ObjectOptions(frmTARV& window);

    // The enable flags of Clone and Delete.
    void sync();

    QPushButton* cmdCloneObject;
    QPushButton* cmdYZmirror;
    QPushButton* cmdXZmirror;
    QPushButton* cmdXYmirror;
    QPushButton* cmdDeleteObject;

private:
    frmTARV& window_;
};

}  // namespace tarv
