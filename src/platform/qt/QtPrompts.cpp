#include "platform/qt/QtPrompts.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

#include "platform/FileFilter.h"

namespace tarv {

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }

QMessageBox::Icon toQt(PromptIcon icon) {
    switch (icon) {
    case PromptIcon::Information: return QMessageBox::Information;
    case PromptIcon::Exclamation: return QMessageBox::Warning;
    case PromptIcon::Critical: return QMessageBox::Critical;
    case PromptIcon::Question: return QMessageBox::Question;
    case PromptIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

int runBox(QWidget* parent, const std::string& text, const std::string& caption, PromptIcon icon,
           QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton) {
    QMessageBox box(toQt(icon), q(caption), q(text), buttons, parent);
    box.setDefaultButton(defaultButton);
    return box.exec();
}
}  // namespace

void QtPrompts::messageBox(const std::string& text, const std::string& caption, PromptIcon icon) {
    runBox(parent_, text, caption, icon, QMessageBox::Ok, QMessageBox::Ok);
}

bool QtPrompts::okCancel(const std::string& text, const std::string& caption, PromptIcon icon) {
    return runBox(parent_, text, caption, icon, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) ==
           QMessageBox::Ok;
}

bool QtPrompts::yesNo(const std::string& text, const std::string& caption, PromptIcon icon) {
    return runBox(parent_, text, caption, icon, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
           QMessageBox::Yes;
}

std::optional<std::string> QtPrompts::inputBox(const std::string& prompt, const std::string& title,
                                               const std::string& defaultText) {
    bool ok = false;
    QString text = QInputDialog::getText(parent_, q(title), q(prompt), QLineEdit::Normal, q(defaultText), &ok);
    if (!ok) return std::nullopt;
    return text.toStdString();
}

QStringList QtPrompts::nameFilters(const std::string& filter) {
    QStringList filters;
    for (const FileFilterEntry& entry : parseFileFilter(filter)) {
        QStringList patterns;
        for (const std::string& p : entry.patterns) patterns << q(caseInsensitivePattern(p));
        filters << q(entry.description) + " (" + patterns.join(' ') + ")";
    }
    return filters;
}

std::optional<FileDialogChoice> QtPrompts::runFileDialog(const FileDialogRequest& request, bool save) {
    QFileDialog dialog(parent_, q(request.title), q(request.initialFolder));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The descriptions already name their patterns; the both-case sets would only clutter them.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    QStringList filters = nameFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        int index = request.filterIndex - 1;
        if (index >= 0 && index < filters.size()) dialog.selectNameFilter(filters[index]);
    }
    if (!request.fileName.empty()) dialog.selectFile(q(request.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    FileDialogChoice choice;
    choice.path = dialog.selectedFiles().first().toStdString();
    // With the details hidden the dialog names the chosen filter by its description alone.
    QString selected = dialog.selectedNameFilter();
    choice.filterIndex = request.filterIndex;
    for (int i = 0; i < filters.size(); ++i)
        if (filters[i] == selected || filters[i].startsWith(selected + " (")) {
            choice.filterIndex = i + 1;
            break;
        }
    return choice;
}

std::optional<FileDialogChoice> QtPrompts::openFile(const FileDialogRequest& request) {
    return runFileDialog(request, false);
}

std::optional<FileDialogChoice> QtPrompts::saveFile(const FileDialogRequest& request) {
    return runFileDialog(request, true);
}

std::optional<int32_t> QtPrompts::chooseColour(int32_t startColour) {
    QColor start(startColour & 0xFF, (startColour >> 8) & 0xFF, (startColour >> 16) & 0xFF);
    QColor chosen = QColorDialog::getColor(start, parent_);
    if (!chosen.isValid()) return std::nullopt;
    return int32_t(chosen.red() | (chosen.green() << 8) | (chosen.blue() << 16));
}

}  // namespace tarv
