#include "shell/frmOptions.h"

#include <QApplication>
#include <QGridLayout>
#include <QVBoxLayout>

#include "editor/ErrorReportText.h"
#include "model/LogFiles.h"
#include "model/ModelHelpers.h"
#include "model/PreferencesStore.h"
#include "editor/context/TrapGuard.h"
#include "preview/PreviewScene.h"
#include "shell/WidgetNames.h"
#include "editor/context/EditingContext.h"

namespace tarv {

namespace {

QComboBox* dropDownList(const char* name, const QStringList& items) {
    auto* box = named<QComboBox>(name);
    box->addItems(items);
    box->setEditable(false);
    box->setCurrentIndex(-1);
    return box;
}

QPushButton* swatch(const char* name) {
    auto* s = named<QPushButton>(name);
    s->setFixedSize(48, 24);
    s->setFlat(true);
    s->setAutoFillBackground(true);
    return s;
}

// A list position for a stored value: -1 (no choice shown) when no entry stands for it.
int positionFor(int value, int count) { return value >= 0 && value < count ? value : -1; }

RgbColour rgbOf(int32_t colour) {
    return RgbColour{float(getRed(colour)), float(getGreen(colour)), float(getBlue(colour)), 0};
}

void setChecked(QCheckBox* box, bool checked) { box->setChecked(checked); }

}  // namespace

int32_t frmOptions::swatchColour(const QPushButton* s) { return s->property("colour").toInt(); }

void frmOptions::paintSwatch(QPushButton* s, int32_t colour) {
    s->setProperty("colour", colour);
    s->setStyleSheet(QString("background-color: rgb(%1, %2, %3); border: 1px solid black;")
                         .arg(getRed(colour))
                         .arg(getGreen(colour))
                         .arg(getBlue(colour)));
}

// The General page: file type, mouse control, background, backup reminder, start directory, sharing.
QWidget* frmOptions::buildGeneralPage() {
    auto* general = new QWidget;
    auto* g = new QGridLayout(general);
    cmbFileType = dropDownList("cmbFileType", {"PEO", "SHP"});
    cmbMouseControl = dropDownList("cmbMouseControl", {"3dex", "HW"});
    lblWarning = named<QLabel>("lblWarning");
    cmbBackgroundColour = dropDownList("cmbBackgroundColour", {"Black", "Grey", "LgtGrey"});
    chkAlwaysShowBackup = named<QCheckBox>("chkAlwaysShowBackup", "Always show backup reminder");
    chkCustomDirectory = named<QCheckBox>("chkCustomDirectory", "Always use custom start directory:");
    txtCustomStartDir = named<QLineEdit>("txtCustomStartDir");
    chkObjectSharing = named<QCheckBox>("chkObjectSharing", "Enable Object Sharing");
    g->addWidget(new QLabel("Default file type:"), 0, 0);
    g->addWidget(cmbFileType, 0, 1);
    g->addWidget(new QLabel("Mouse control:"), 1, 0);
    g->addWidget(cmbMouseControl, 1, 1);
    g->addWidget(lblWarning, 2, 0, 1, 2);
    g->addWidget(new QLabel("Background colour:"), 3, 0);
    g->addWidget(cmbBackgroundColour, 3, 1);
    g->addWidget(chkAlwaysShowBackup, 4, 0, 1, 2);
    g->addWidget(chkCustomDirectory, 5, 0, 1, 2);
    g->addWidget(txtCustomStartDir, 6, 0, 1, 2);
    g->addWidget(chkObjectSharing, 7, 0, 1, 2);
    g->setRowStretch(8, 1);
    return general;
}

// The Logging page: the four log levels and View Log.
QWidget* frmOptions::buildLoggingPage() {
    auto* logging = new QWidget;
    auto* l = new QVBoxLayout(logging);
    optLoggingGroup = new QButtonGroup(this);
    const char* levels[] = {"Normal", "Extra", "Verbose", "Debug"};
    for (int i = 0; i < 4; ++i) {
        optLogging[size_t(i)] = new QRadioButton(levels[i]);
        optLogging[size_t(i)]->setObjectName(QString("optLogging_%1").arg(i));
        optLoggingGroup->addButton(optLogging[size_t(i)], i);
        l->addWidget(optLogging[size_t(i)]);
    }
    cmdViewLog = named<QPushButton>("cmdViewLog", "View Log");
    l->addWidget(cmdViewLog);
    l->addStretch(1);
    return logging;
}

// The Textures page: team colours, the highlight colour and the duplicate-material check.
QWidget* frmOptions::buildTexturesPage() {
    auto* textures = new QWidget;
    auto* t = new QGridLayout(textures);
    chkDrawTeam = named<QCheckBox>("chkDrawTeam", "Draw Team Colours on Lifs");
    Label1 = named<QLabel>("Label1", QString("Base/Team0 colour") + QString(35, ' ') + "Stripe/Team1 colour");
    picTeam0 = swatch("picTeam0");
    picTeam1 = swatch("picTeam1");
    Label3 = named<QLabel>("Label3", "Selected object highlight colour");
    picSelectColour = swatch("picSelectColour");
    chkMaterialDuplicates = named<QCheckBox>("chkMaterialDuplicates", "Enable check for duplicate materials (beta)");
    t->addWidget(chkDrawTeam, 0, 0, 1, 2);
    t->addWidget(Label1, 1, 0, 1, 2);
    t->addWidget(picTeam0, 2, 0);
    t->addWidget(picTeam1, 2, 1);
    t->addWidget(Label3, 3, 0);
    t->addWidget(picSelectColour, 3, 1);
    t->addWidget(chkMaterialDuplicates, 4, 0, 1, 2);
    t->setRowStretch(5, 1);
    return textures;
}

// The Mex Display page: the navigation lights' size, the gun chunk on cloning, the mex objects on load.
QWidget* frmOptions::buildMexDisplayPage() {
    auto* mex = new QWidget;
    auto* m = new QGridLayout(mex);
    Label2 = named<QLabel>("Label2", "Nav Light Default Size");
    QStringList sizes;
    for (int i = 2; i <= 50; ++i) sizes << QString::number(i);
    cmbNavLightSize = dropDownList("cmbNavLightSize", sizes);
    chkCreateGunChunkOnClone =
        named<QCheckBox>("chkCreateGunChunkOnClone", "Automatically create Gun chunk when cloning objects");
    chkShowMexObjects = named<QCheckBox>("chkShowMexObjects", "Always show mex objects on load");
    chkShowMexObjects->setEnabled(false);
    m->addWidget(Label2, 0, 0);
    m->addWidget(cmbNavLightSize, 0, 1);
    m->addWidget(chkCreateGunChunkOnClone, 1, 0, 1, 2);
    m->addWidget(chkShowMexObjects, 2, 0, 1, 2);
    m->setRowStretch(3, 1);
    return mex;
}

// The Advanced page: the switches of loading and saving.
QWidget* frmOptions::buildAdvancedPage() {
    auto* advanced = new QWidget;
    auto* a = new QVBoxLayout(advanced);
    chkShowVisibleFaceNorms = named<QCheckBox>("chkShowVisibleFaceNorms", "Show visible face normals");
    chkShowVisibleVertNormals = named<QCheckBox>("chkShowVisibleVertNormals", "Show visible vertex normals");
    chkSaveKeyframesXrotInvert =
        named<QCheckBox>("chkSaveKeyframesXrotInvert", "Save keyframes with inverted X rotation");
    chkVNs = named<QCheckBox>("chkVNs", "Save PEO with vertex normals (for smoothing)");
    chkDuplicateMaterials = named<QCheckBox>("chkDuplicateMaterials", "Check for duplicate materials on load");
    chkMEXload = named<QCheckBox>("chkMEXload", "Disable MEX file loading");
    chkSwitchClrs = named<QCheckBox>("chkSwitchClrs", "Switch material colours when loading 3Dex PEO");
    chkSHIPfilePEO = named<QCheckBox>("chkSHIPfilePEO", "Save as SHIP-file PEO (not HW:C !)");
    chkShowVisibleFaceNorms->setEnabled(false);
    chkShowVisibleVertNormals->setEnabled(false);
    for (QCheckBox* box : {chkShowVisibleFaceNorms, chkShowVisibleVertNormals, chkSaveKeyframesXrotInvert, chkVNs,
                           chkDuplicateMaterials, chkMEXload, chkSwitchClrs, chkSHIPfilePEO})
        a->addWidget(box);
    a->addStretch(1);
    return advanced;
}

// The live switches start from the context's states and act at once.
void frmOptions::connectLiveSwitches() {
    const std::pair<QCheckBox*, bool*> live[] = {{chkVNs, &ctx_.live.chkVNs},
                                                 {chkSHIPfilePEO, &ctx_.live.chkSHIPfilePEO},
                                                 {chkSwitchClrs, &ctx_.live.chkSwitchClrs},
                                                 {chkMEXload, &ctx_.live.chkMEXload},
                                                 {chkSaveKeyframesXrotInvert, &ctx_.live.chkSaveKeyframesXrotInvert}};
    for (const auto& [box, switchValue] : live) {
        bool* value = switchValue;  // a lambda captures a variable, not a structured binding
        box->setChecked(*value);
        connect(box, &QCheckBox::toggled, this, [value](bool on) { *value = on; });
    }
}

void frmOptions::clearSwatches() {
    for (QPushButton* s : {picTeam0, picTeam1, picSelectColour}) paintSwatch(s, 0);
}

// The swatches show the preferences' colours whenever the context repaints them.
void frmOptions::paintSwatchColour(SwatchColour which, int32_t colour) {
    switch (which) {
    case SwatchColour::PlayerBase: paintSwatch(picTeam0, colour); break;
    case SwatchColour::PlayerStripe: paintSwatch(picTeam1, colour); break;
    case SwatchColour::Highlight: paintSwatch(picSelectColour, colour); break;
    }
}

frmOptions::frmOptions(EditingContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx), swatchWindow_(ctx.shell.swatchWindows, *this) {
    setObjectName("frmOptions");
    setModal(true);
    SSTab1 = showingWholeCaptions(named<QTabWidget>("SSTab1"));
    SSTab1->addTab(buildGeneralPage(), "General");
    SSTab1->addTab(buildLoggingPage(), "Logging");
    SSTab1->addTab(buildTexturesPage(), "Textures");
    SSTab1->addTab(buildMexDisplayPage(), "Mex Display");
    SSTab1->addTab(buildAdvancedPage(), "Advanced");
    cmdOK = named<QPushButton>("cmdOK", "OK");
    cmdCancel = named<QPushButton>("cmdCancel", "Cancel");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);
    layout->addLayout(buttons);

    connectLiveSwitches();
    clearSwatches();

    connect(cmdOK, &QPushButton::clicked, this, &frmOptions::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmOptions::cmdCancel_Click);
    connect(cmdViewLog, &QPushButton::clicked, this, &frmOptions::cmdViewLog_Click);
    connect(chkCustomDirectory, &QCheckBox::toggled, this, &frmOptions::chkCustomDirectory_Click);
    connect(chkDrawTeam, &QCheckBox::toggled, this, &frmOptions::chkDrawTeam_Click);
    connect(cmbBackgroundColour, &QComboBox::activated, this, &frmOptions::cmbBackgroundColour_Click);
    connect(cmbMouseControl, &QComboBox::activated, this, &frmOptions::cmbMouseControl_Click);
    connect(picSelectColour, &QPushButton::clicked, this, &frmOptions::picSelectColour_Click);
    connect(picTeam0, &QPushButton::clicked, this, &frmOptions::picTeam0_Click);
    connect(picTeam1, &QPushButton::clicked, this, &frmOptions::picTeam1_Click);

    // Form_Load.
    setWindowTitle(QString::fromStdString(ctx_.version.appTitle + " options"));
    setOptionValues();
}

frmOptions::~frmOptions() = default;

void frmOptions::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Form_Activate();
}

void frmOptions::Form_Activate() {
    setWindowTitle(QString::fromStdString(ctx_.version.appTitle + " options"));
    SSTab1->setCurrentIndex(0);
    setOptionValues();
}

void frmOptions::setOptionValues() {
    Preferences& p = ctx_.prefs;
    setChecked(chkDrawTeam, p.drawTeamColours);
    chkDrawTeam_Click();
    // A stored value that no button stands for shows no choice.
    optLoggingGroup->setExclusive(false);
    for (int i = 0; i < 4; ++i) optLogging[size_t(i)]->setChecked(i == p.logLevel);
    optLoggingGroup->setExclusive(true);
    setChecked(chkCreateGunChunkOnClone, p.createGunChunkOnClone);
    setChecked(chkAlwaysShowBackup, p.alwaysShowBackup);
    setChecked(chkCustomDirectory, p.useCustomStartDir);
    chkCustomDirectory_Click();
    txtCustomStartDir->setText(QString::fromStdString(p.customStartDir));
    if (txtCustomStartDir->text() == " ") txtCustomStartDir->clear();
    setChecked(chkShowMexObjects, p.showMexObjects);
    if (p.navLightSize == 0) p.navLightSize = 2;
    cmbNavLightSize->setCurrentIndex(positionFor(p.navLightSize - 2, cmbNavLightSize->count()));
    setChecked(chkObjectSharing, p.objectSharing);
    cmbFileType->setCurrentIndex(positionFor(p.defaultFileType, 2));
    cmbMouseControl->setCurrentIndex(positionFor(p.mouseControl, 2));
    cmbMouseControl_Click();
    setChecked(chkDuplicateMaterials, p.duplicateMaterials != 0);
    cmbBackgroundColour->setCurrentIndex(positionFor(p.renderBackground - 1, 3));
    cmbBackgroundColour_Click();
}

void frmOptions::cmdOK_Click() {
    trapErrors(ctx_, "frmOptions", "cmdOK_Click", "", [&] {
        Preferences& p = ctx_.prefs;
        p.drawTeamColours = chkDrawTeam->isChecked();
        // A list or button group without a choice keeps the stored value.
        if (optLoggingGroup->checkedId() >= 0) p.logLevel = optLoggingGroup->checkedId();
        p.createGunChunkOnClone = chkCreateGunChunkOnClone->isChecked();
        p.alwaysShowBackup = chkAlwaysShowBackup->isChecked();
        p.useCustomStartDir = chkCustomDirectory->isChecked();
        p.customStartDir = txtCustomStartDir->text().toStdString();
        p.showMexObjects = chkShowMexObjects->isChecked();
        if (cmbNavLightSize->currentIndex() >= 0) p.navLightSize = int16_t(cmbNavLightSize->currentIndex() + 2);
        p.highlightColour = rgbOf(swatchColour(picSelectColour));
        p.objectSharing = chkObjectSharing->isChecked();
        if (cmbFileType->currentIndex() >= 0) p.defaultFileType = int16_t(cmbFileType->currentIndex());
        if (cmbMouseControl->currentIndex() >= 0) p.mouseControl = int16_t(cmbMouseControl->currentIndex());
        p.duplicateMaterials = chkDuplicateMaterials->isChecked() ? 1 : 0;
        if (cmbBackgroundColour->currentIndex() >= 0)
            p.renderBackground = int16_t(cmbBackgroundColour->currentIndex() + 1);
        p.playerBaseColor = rgbOf(swatchColour(picTeam0));
        p.playerStripeColor = rgbOf(swatchColour(picTeam1));
        // The texture preview window's swatches take the dialog's two colours.
        const int32_t base = swatchColour(picTeam0), stripe = swatchColour(picTeam1);
        for (SwatchWindow* window : ctx_.shell.swatchWindows) {
            window->paintSwatchColour(SwatchColour::PlayerBase, base);
            window->paintSwatchColour(SwatchColour::PlayerStripe, stripe);
        }
        writeAllRegKeys(ctx_);
        hide();
        if (isModal()) done(QDialog::Accepted);
    });
}

void frmOptions::cmdCancel_Click() {
    hide();
    if (isModal()) done(QDialog::Rejected);
}

void frmOptions::cmdViewLog_Click() {
    // Before any load there is no model log: the start-up log is shown instead.
    std::string path = ctx_.log.logFilePath;
    if (path.empty()) path = startupLogPath(ctx_);
    if (!ctx_.textViewer().openTextFile(path))
        ctx_.prompts().messageBox(noTextViewerMessage(path), ctx_.version.appTitle, PromptIcon::None);
}

void frmOptions::chkCustomDirectory_Click() {
    const bool on = chkCustomDirectory->isChecked();
    txtCustomStartDir->setEnabled(on);
    QPalette palette = txtCustomStartDir->palette();
    palette.setColor(QPalette::Base, QApplication::palette().color(on ? QPalette::Base : QPalette::Button));
    txtCustomStartDir->setPalette(palette);
}

void frmOptions::chkDrawTeam_Click() {
    const bool on = chkDrawTeam->isChecked();
    picTeam0->setEnabled(on);
    picTeam1->setEnabled(on);
    Label1->setEnabled(on);
}

void frmOptions::cmbBackgroundColour_Click() {
    int32_t colour = 0;
    if (!renderBackgroundColour(cmbBackgroundColour->currentIndex() + 1, colour)) return;
    ViewState& view = ctx_.view;
    // While start-up loads the dialog the scene is not set up yet; its set-up applies the background.
    if (!view.worldFrame) return;
    view.sceneFrame->setSceneBackground(colour);
    if (view.canvas) view.canvas->render();
}

void frmOptions::cmbMouseControl_Click() {
    lblWarning->setText(cmbMouseControl->currentIndex() == 1 ? "Warning, this control system disables viewport panning."
                                                             : "");
}

bool frmOptions::pickColour(QPushButton* s, RgbColour& preference) {
    std::optional<int32_t> chosen = CommonDialog1.ShowColor(ctx_.prompts());
    if (!chosen) return false;
    paintSwatch(s, *chosen);
    preference = rgbOf(*chosen);
    return true;
}

void frmOptions::picTeam0_Click() { pickColour(picTeam0, ctx_.prefs.playerBaseColor); }

void frmOptions::picTeam1_Click() { pickColour(picTeam1, ctx_.prefs.playerStripeColor); }

void frmOptions::picSelectColour_Click() {
    if (!pickColour(picSelectColour, ctx_.prefs.highlightColour)) return;
    const int16_t selected = ctx_.objects.selectedObject;
    auto& views = ctx_.view.viewObjects;
    if (!ctx_.model.modelLoaded || selected < 0 || size_t(selected) >= views.size() || !views[size_t(selected)].mesh)
        return;
    // The scene takes colours from 0 to 1.
    const RgbColour& c = ctx_.prefs.highlightColour;
    views[size_t(selected)].mesh->setColorRGB(c.red / 255.0, c.green / 255.0, c.blue / 255.0);
}

}  // namespace tarv
