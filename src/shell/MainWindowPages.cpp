#include "shell/MainWindowPages.h"

#include <QHeaderView>
#include <QVBoxLayout>
#include "shell/WidgetNames.h"

namespace tarv {

namespace {

QProgressBar* progressBar(const char* name) {
    auto* bar = named<QProgressBar>(name);
    bar->setTextVisible(false);
    bar->setVisible(false);  // shown only while a load runs
    return bar;
}
}  // namespace

GeneralPage::GeneralPage(QWidget* parent) : QWidget(parent) {
    setObjectName("pageGeneral");
    auto* layout = new QVBoxLayout(this);
    Text1 = named<QPlainTextEdit>("Text1");
    Text1->setReadOnly(true);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    lblStatus = named<QLabel>("lblStatus");
    lblStatus2 = named<QLabel>("lblStatus2");
    prgLoadTextures = progressBar("prgLoadTextures");
    prgStatus2 = progressBar("prgStatus2");
    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(1);
    layout->addWidget(Text1, 1);
    layout->addWidget(lblStatus);
    layout->addWidget(lblStatus2);
    layout->addWidget(prgLoadTextures);
    layout->addWidget(prgStatus2);
}

ToolsPage::ToolsPage(QWidget* parent) : QWidget(parent) {
    setObjectName("pageTools");
    auto* layout = new QVBoxLayout(this);
    layout->addStretch(1);
}

ObjectsPage::ObjectsPage(QWidget* parent) : QWidget(parent) {
    setObjectName("pageObjects");
    auto* layout = new QVBoxLayout(this);
    SSTab2 = showingWholeCaptions(named<QTabWidget>("SSTab2"));
    pageHeirachy = named<QWidget>("pageHeirachy");
    pageMatrix = named<QWidget>("pageMatrix");
    pageKeyframes = named<QWidget>("pageKeyframes");
    SSTab2->addTab(pageHeirachy, "Heirachy");
    SSTab2->addTab(pageMatrix, "Matrix");
    SSTab2->addTab(pageKeyframes, "Keyframes");
    layout->addWidget(SSTab2);

    auto* heirachy = new QVBoxLayout(pageHeirachy);
    treeHeirachy = named<KeyedTreeWidget>("treeHeirachy");
    lblKey = named<QLabel>("lblKey");
    Label11 =
        named<QLabel>("Label11", "Drag-drop a node to change the hierarchy, or use the buttons and tabs to edit.");
    Label11->setWordWrap(true);
    Frame4 = named<QGroupBox>("Frame4", "Object Options");
    new QVBoxLayout(Frame4);
    heirachy->addWidget(treeHeirachy, 1);
    heirachy->addWidget(lblKey);
    heirachy->addWidget(Label11);
    heirachy->addWidget(Frame4);
    new QVBoxLayout(pageMatrix);
    new QVBoxLayout(pageKeyframes);
}

MaterialsPage::MaterialsPage(QWidget* parent) : QWidget(parent) {
    setObjectName("pageMaterials");
    new QVBoxLayout(this);
}

TexturesPage::TexturesPage(QWidget* parent) : QWidget(parent) {
    setObjectName("pageTextures");
    auto* layout = new QVBoxLayout(this);
    lstTextures = named<QTreeWidget>("lstTextures");
    lstTextures->setRootIsDecorated(false);
    lstTextures->setHeaderLabels({"Name", "Width", "Height", "Flags"});
    lstTextures->header()->setStretchLastSection(true);
    Label27 = named<QLabel>("Label27", "Double click on a texture in the list above to preview");
    Label27->setWordWrap(true);
    layout->addWidget(lstTextures, 1);
    layout->addWidget(Label27);
}

ShipInfoPage::ShipInfoPage(QWidget* parent) : QWidget(parent) {
    setObjectName("pageShipInfo");
    auto* layout = new QVBoxLayout(this);
    SSTab3 = showingWholeCaptions(named<QTabWidget>("SSTab3"));
    pageElements = named<QWidget>("pageElements");
    pageMexData = named<QWidget>("pageMexData");
    pageShipFileData = named<QWidget>("pageShipFileData");
    SSTab3->addTab(pageElements, "Elements");
    SSTab3->addTab(pageMexData, "Mex Data");
    SSTab3->addTab(pageShipFileData, "Ship File Data");
    layout->addWidget(SSTab3);

    auto* elements = new QVBoxLayout(pageElements);
    treeMex = named<KeyedTreeWidget>("treeMex");
    Frame3 = named<QGroupBox>("Frame3", "Chunk Options");
    new QVBoxLayout(Frame3);
    elements->addWidget(treeMex, 1);
    elements->addWidget(Frame3);
    new QVBoxLayout(pageMexData);
    new QVBoxLayout(pageShipFileData);
}

AnimationsPage::AnimationsPage(QWidget* parent) : QWidget(parent) {
    setObjectName("pageAnimations");
    new QVBoxLayout(this);
}

MeshToolsPage::MeshToolsPage(QWidget* parent) : QWidget(parent) {
    setObjectName("pageMeshTools");
    new QVBoxLayout(this);
}

}  // namespace tarv
