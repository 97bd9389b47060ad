#include "shell/ShellDialogs.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "editor/ErrorReportText.h"
#include "editor/StartupExit.h"
#include "model/LoadSummary.h"
#include "shell/WidgetNames.h"
#include "editor/context/EditingContext.h"

namespace tarv {

namespace {

// Text boxes show CR LF line ends as plain line breaks.
QString shown(const std::string& text) {
    QString s = QString::fromStdString(text);
    s.remove('\r');
    if (s.endsWith('\n')) s.chop(1);
    return s;
}
}  // namespace

frmError::frmError(EditingContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setObjectName("frmError");
    setWindowTitle("An Error has occured!");
    setModal(true);
    Label1 = named<QLabel>("Label1",
                           "The following error has occured. Please report it, with the text below and what you "
                           "were doing, on the project's issue tracker, so that it can be mended.");
    Label1->setWordWrap(true);
    txtError = named<QPlainTextEdit>("txtError");
    txtError->setReadOnly(true);
    Label2 = named<QLabel>("Label2", "Warning! Resuming may mean loss and/or corruption of data!");
    cmdEndTARV = named<QPushButton>("cmdEndTARV", "End");
    cmdCopy = named<QPushButton>("cmdCopy", "Copy");
    cmdClose = named<QPushButton>("cmdClose", "Resume");
    cmdClose->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(txtError, 1);
    layout->addWidget(Label2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdEndTARV);
    buttons->addStretch(1);
    buttons->addWidget(cmdCopy);
    buttons->addWidget(cmdClose);
    layout->addLayout(buttons);
    resize(460, 300);

    connect(cmdEndTARV, &QPushButton::clicked, this, &frmError::cmdEndTARV_Click);
    connect(cmdCopy, &QPushButton::clicked, this, &frmError::cmdCopy_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmError::cmdClose_Click);
}

void frmError::show(const ErrorReportInfo& info) {
    reportText_ = errorReportText(ctx_.version.appTitle, info);
    txtError->setPlainText(shown(reportText_));
    endChosen_ = false;
    exec();
    if (endChosen_) {
        endChosen_ = false;
        mnuFileExit_Click(ctx_);  // the exit road
    }
}

void frmError::cmdEndTARV_Click() {
    endChosen_ = true;
    done(QDialog::Rejected);
}

void frmError::cmdCopy_Click() { QGuiApplication::clipboard()->setText(QString::fromStdString(reportText_)); }

void frmError::cmdClose_Click() { done(QDialog::Accepted); }

frmLoad::frmLoad(EditingContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setObjectName("frmLoad");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromStdString(ctx.version.appTitle + " Cataclysm PEO load summary"));
    Label1 = named<QLabel>("Label1", "TARV Load Summary Report");
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label2 = named<QLabel>("Label2", "(for Cataclysm SHP loading of PEO & MEX file).");
    AdequateNotes = named<QPlainTextEdit>("AdequateNotes");
    AdequateNotes->setReadOnly(true);
    AdequateNotes->setPlainText(shown(ctx.shell.loadSummaryNotes));
    GetGoing = named<QPushButton>("GetGoing", "Ah, I've seen it ...  now get going !");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addWidget(AdequateNotes, 1);
    layout->addWidget(GetGoing);
    resize(480, 360);
    connect(GetGoing, &QPushButton::clicked, this, &frmLoad::GetGoing_Click);
}

void frmLoad::GetGoing_Click() { close(); }

void frmLoad::closeEvent(QCloseEvent* event) {
    // Unloading the window drops its notes (the button and the close box alike).
    dropLoadSummary(ctx_);
    QDialog::closeEvent(event);
}

void showLoadSummary(EditingContext& ctx, QWidget* parent) {
    auto* window = new frmLoad(ctx, parent);
    window->exec();
}

std::string frmAbout::creditsText() {
    return "In no particular order...:)\r\n"
           "Cone and sphere generation: a generous contributor from the modding scene\r\n"
           "The first matrix code: an early helper who knew his linear algebra\r\n"
           "The first 3D preview: a contributor who showed it could be done\r\n"
           "The source of a texture tool: a fellow tool author who shared it\r\n"
           "Hints on the file formats: the modders who took the ships apart first\r\n"
           "Suggestions and bug reports: everyone who wrote in\r\n"
           "Thanks to the Homeworld modding community for years of ships\r\n"
           "Thanks to our supporter for hosting and patience\r\n";
}

std::string frmAbout::teamText() {
    return "The TARV development team:\r\n"
           "Main coder\r\n"
           "Keyframe and math expert\r\n";
}

frmAbout::frmAbout(EditingContext& ctx, QWidget* parent) : QDialog(parent) {
    setObjectName("frmAbout");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("About TARV");
    Label1 = named<QLabel>("Label1", "TARV, the Homeworld ship model editor");
    QFont big = Label1->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.4);
    Label1->setFont(big);
    Label2 = named<QLabel>("Label2", QString::fromStdString(ctx.version.appVersion));
    Label3 = named<QLabel>("Label3", "Contributions and thanks:");
    Text1 = named<QPlainTextEdit>("Text1");
    Text1->setReadOnly(true);
    Text1->setPlainText(shown(creditsText()));
    Label4 = named<QLabel>("Label4", shown(teamText()));
    cmdOK = named<QPushButton>("cmdOK", "OK");
    cmdOK->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addWidget(Label3);
    layout->addWidget(Text1, 1);
    layout->addWidget(Label4);
    layout->addWidget(cmdOK, 0, Qt::AlignRight);
    resize(480, 380);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::close);
}

}  // namespace tarv
