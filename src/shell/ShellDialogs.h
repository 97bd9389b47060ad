#pragma once
// The small windows of the shell: the error report, the Cataclysm load summary and the About box.
#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "platform/ErrorReport.h"

namespace tarv {

class EditingContext;

// The error report: modal, one instance, hidden after use; the text is rebuilt at every showing.
class frmError : public QDialog, public ErrorReport {
    Q_OBJECT
public:
    explicit frmError(EditingContext& ctx, QWidget* parent = nullptr);
    using QDialog::show;
    // Shows the report modally; returns when the user resumes or ends.
    void show(const ErrorReportInfo& info) override;
    const std::string& reportText() const { return reportText_; }

    QLabel* Label1;
    QPlainTextEdit* txtError;
    QLabel* Label2;
    QPushButton* cmdEndTARV;
    QPushButton* cmdCopy;
    QPushButton* cmdClose;

    void cmdEndTARV_Click();
    void cmdCopy_Click();
    void cmdClose_Click();

private:
    EditingContext& ctx_;
    std::string reportText_;
    bool endChosen_ = false;
};

// The Cataclysm load summary: the notes of the shell state; its button drops them and closes.
class frmLoad : public QDialog {
    Q_OBJECT
public:
    explicit frmLoad(EditingContext& ctx, QWidget* parent = nullptr);
    QLabel* Label1;
    QLabel* Label2;
    QPlainTextEdit* AdequateNotes;
    QPushButton* GetGoing;
    void GetGoing_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    EditingContext& ctx_;
};

// Shows the load summary modally (the load road decides when).
void showLoadSummary(EditingContext& ctx, QWidget* parent);

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(EditingContext& ctx, QWidget* parent = nullptr);
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QPlainTextEdit* Text1;
    QLabel* Label4;
    QPushButton* cmdOK;
    // The texts as written, each line ending in CR LF.
    static std::string creditsText();
    static std::string teamText();
};

}  // namespace tarv
