#pragma once
// Message boxes, input boxes and the file and colour dialogs. The Qt windows implement it; tests script it.
#include <cstdint>
#include <optional>
#include <string>

namespace tarv {

enum class PromptIcon { None, Information, Exclamation, Critical, Question };

struct FileDialogRequest {
    std::string title;
    std::string filter;   // "description|patterns|description|patterns..."
    int filterIndex = 1;  // 1-based, as the filter string counts its pairs
    std::string initialFolder;
    std::string fileName;
    bool hideReadOnly = true;
};

struct FileDialogChoice {
    std::string path;
    int filterIndex = 1;
};

class Prompts {
public:
    virtual ~Prompts() = default;
    // A message with an OK button.
    virtual void messageBox(const std::string& text, const std::string& caption, PromptIcon icon) = 0;
    // OK and Cancel: true when OK was chosen.
    virtual bool okCancel(const std::string& text, const std::string& caption, PromptIcon icon) = 0;
    // Yes and No: true for Yes.
    virtual bool yesNo(const std::string& text, const std::string& caption, PromptIcon icon) = 0;
    // A line of text; nullopt on Cancel.
    virtual std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                                const std::string& defaultText) = 0;
    virtual std::optional<FileDialogChoice> openFile(const FileDialogRequest& request) = 0;
    virtual std::optional<FileDialogChoice> saveFile(const FileDialogRequest& request) = 0;
    // A colour as 0x00BBGGRR; nullopt on Cancel.
    virtual std::optional<int32_t> chooseColour(int32_t startColour) = 0;
};

// Answers nothing: every question is declined and every dialog cancelled. The default of a fresh context.
class DecliningPrompts : public Prompts {
public:
    void messageBox(const std::string&, const std::string&, PromptIcon) override {}
    bool okCancel(const std::string&, const std::string&, PromptIcon) override { return false; }
    bool yesNo(const std::string&, const std::string&, PromptIcon) override { return false; }
    std::optional<std::string> inputBox(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<FileDialogChoice> openFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<FileDialogChoice> saveFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<int32_t> chooseColour(int32_t) override { return std::nullopt; }
};

}  // namespace tarv
