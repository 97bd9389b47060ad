#pragma once
// The prompts through Qt's message boxes, input dialog, file dialog and colour dialog.
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include "platform/Prompts.h"

namespace tarv {

class QtPrompts : public Prompts {
public:
    // Dialogs are centred on parent (may be null, or set later).
    explicit QtPrompts(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    void messageBox(const std::string& text, const std::string& caption, PromptIcon icon) override;
    bool okCancel(const std::string& text, const std::string& caption, PromptIcon icon) override;
    bool yesNo(const std::string& text, const std::string& caption, PromptIcon icon) override;
    std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText) override;
    std::optional<FileDialogChoice> openFile(const FileDialogRequest& request) override;
    std::optional<FileDialogChoice> saveFile(const FileDialogRequest& request) override;
    std::optional<int32_t> chooseColour(int32_t startColour) override;

    // The Qt name filters of a filter string, each matching its patterns in any letter case.
    static QStringList nameFilters(const std::string& filter);

private:
    std::optional<FileDialogChoice> runFileDialog(const FileDialogRequest& request, bool save);
    QPointer<QWidget> parent_;
};

}  // namespace tarv
