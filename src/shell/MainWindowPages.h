#pragma once
// The eight pages of the main window's SSTab1, one class each. The frame places here the controls that
// the core and the canvas share; each subsystem fills its own page.
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QWidget>

#include "shell/KeyedTreeWidget.h"

namespace tarv {

// Page 0 "General": the log box, the status labels and progress bars, the playback timer.
class GeneralPage : public QWidget {
    Q_OBJECT
public:
    explicit GeneralPage(QWidget* parent = nullptr);
    QPlainTextEdit* Text1;
    QLabel* lblStatus;
    QLabel* lblStatus2;
    QProgressBar* prgLoadTextures;
    QProgressBar* prgStatus2;
    QTimer* Timer1;
};

// Page 1 "Tools": rotation, LOD file set and scaling (the mesh tools fill it).
class ToolsPage : public QWidget {
    Q_OBJECT
public:
    explicit ToolsPage(QWidget* parent = nullptr);
};

// Page 2 "Objects": SSTab2 with "Heirachy", "Matrix" and "Keyframes".
class ObjectsPage : public QWidget {
    Q_OBJECT
public:
    explicit ObjectsPage(QWidget* parent = nullptr);
    QTabWidget* SSTab2;
    QWidget* pageHeirachy;
    QWidget* pageMatrix;
    QWidget* pageKeyframes;
    KeyedTreeWidget* treeHeirachy;
    QGroupBox* Frame4;
    QLabel* Label11;
    QLabel* lblKey;
};

// Page 3 "Materials".
class MaterialsPage : public QWidget {
    Q_OBJECT
public:
    explicit MaterialsPage(QWidget* parent = nullptr);
};

// Page 4 "Textures": the texture list and its hint.
class TexturesPage : public QWidget {
    Q_OBJECT
public:
    explicit TexturesPage(QWidget* parent = nullptr);
    QTreeWidget* lstTextures;
    QLabel* Label27;
};

// Page 5 "Ship Info": SSTab3 with "Elements", "Mex Data" and "Ship File Data".
class ShipInfoPage : public QWidget {
    Q_OBJECT
public:
    explicit ShipInfoPage(QWidget* parent = nullptr);
    QTabWidget* SSTab3;
    QWidget* pageElements;
    QWidget* pageMexData;
    QWidget* pageShipFileData;
    KeyedTreeWidget* treeMex;
    QGroupBox* Frame3;
};

// Page 6 "Animations".
class AnimationsPage : public QWidget {
    Q_OBJECT
public:
    explicit AnimationsPage(QWidget* parent = nullptr);
};

// Page 7 " Mesh Tools ".
class MeshToolsPage : public QWidget {
    Q_OBJECT
public:
    explicit MeshToolsPage(QWidget* parent = nullptr);
};

}  // namespace tarv
