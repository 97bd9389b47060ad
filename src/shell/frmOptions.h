#pragma once
// The Options dialog: the stored preferences, and the live switches that act while the program runs. It is
// created hidden at start-up (its swatches are painted with the preferences) and lives until the end.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <array>

#include "editor/context/ShellState.h"
#include "model/state/ShipModel.h"
#include "platform/CommonDialog.h"
#include "shell/WindowHook.h"

namespace tarv {

class EditingContext;

class frmOptions : public QDialog, public SwatchWindow {
    Q_OBJECT
public:
    explicit frmOptions(EditingContext& ctx, QWidget* parent = nullptr);
    ~frmOptions() override;

    QTabWidget* SSTab1;
    // General
    QComboBox* cmbFileType;
    QComboBox* cmbMouseControl;
    QLabel* lblWarning;
    QComboBox* cmbBackgroundColour;
    QCheckBox* chkAlwaysShowBackup;
    QCheckBox* chkCustomDirectory;
    QLineEdit* txtCustomStartDir;
    QCheckBox* chkObjectSharing;
    // Logging
    std::array<QRadioButton*, 4> optLogging;
    QButtonGroup* optLoggingGroup;
    QPushButton* cmdViewLog;
    // Textures
    QCheckBox* chkDrawTeam;
    QLabel* Label1;
    QPushButton* picTeam0;
    QPushButton* picTeam1;
    QLabel* Label3;
    QPushButton* picSelectColour;
    QCheckBox* chkMaterialDuplicates;
    // Mex Display
    QLabel* Label2;
    QComboBox* cmbNavLightSize;
    QCheckBox* chkCreateGunChunkOnClone;
    QCheckBox* chkShowMexObjects;
    // Advanced
    QCheckBox* chkShowVisibleFaceNorms;
    QCheckBox* chkShowVisibleVertNormals;
    QCheckBox* chkSaveKeyframesXrotInvert;
    QCheckBox* chkVNs;
    QCheckBox* chkDuplicateMaterials;
    QCheckBox* chkMEXload;
    QCheckBox* chkSwitchClrs;
    QCheckBox* chkSHIPfilePEO;

    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    CommonDialog CommonDialog1;

    // The colour a swatch shows: red + 256 x green + 65536 x blue.
    static int32_t swatchColour(const QPushButton* swatch);
    static void paintSwatch(QPushButton* swatch, int32_t colour);
    // Start-up paints the three swatches from the preferences.
    void paintSwatchColour(SwatchColour which, int32_t colour) override;

    void Form_Activate();
    void setOptionValues();
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdViewLog_Click();
    void chkCustomDirectory_Click();
    void chkDrawTeam_Click();
    void cmbBackgroundColour_Click();
    void cmbMouseControl_Click();
    void picSelectColour_Click();
    void picTeam0_Click();
    void picTeam1_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildGeneralPage();
    QWidget* buildLoggingPage();
    QWidget* buildTexturesPage();
    QWidget* buildMexDisplayPage();
    QWidget* buildAdvancedPage();
    void connectLiveSwitches();
    void clearSwatches();
    // Asks for a colour; the swatch and its preference take it at once. False on Cancel.
    bool pickColour(QPushButton* swatch, RgbColour& preference);
    EditingContext& ctx_;
    WindowInList<SwatchWindow> swatchWindow_;
};

}  // namespace tarv
