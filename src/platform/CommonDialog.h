#pragma once
// The state that a window's common dialog keeps between uses: title, filter, filter index, start folder,
// file name and colour. Each window owns one (CommonDialog1); the dialogs themselves are the prompts'.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/Prompts.h"

namespace tarv {

struct CommonDialog {
    std::string DialogTitle;
    std::string Filter;  // "description|patterns|..."
    int FilterIndex = 1;
    std::string InitDir;
    std::string FileName;
    int32_t Color = 0;

    // Shows the dialog from this state; a choice is kept (FileName, FilterIndex or Color) and returned,
    // a cancel keeps everything and returns nullopt.
    std::optional<std::string> ShowOpen(Prompts& prompts) { return runFile(prompts, false); }
    std::optional<std::string> ShowSave(Prompts& prompts) { return runFile(prompts, true); }
    std::optional<int32_t> ShowColor(Prompts& prompts) {
        auto chosen = prompts.chooseColour(Color);
        if (chosen) Color = *chosen;
        return chosen;
    }

private:
    std::optional<std::string> runFile(Prompts& prompts, bool save) {
        FileDialogRequest request{DialogTitle, Filter, FilterIndex, InitDir, FileName};
        auto choice = save ? prompts.saveFile(request) : prompts.openFile(request);
        if (!choice) return std::nullopt;
        FileName = choice->path;
        FilterIndex = choice->filterIndex;
        return choice->path;
    }
};

}  // namespace tarv
