#pragma once
// Start-up and exit of the editor: the state start-up gives the window, the command line, and the two
// ways out (File > Exit and closing the window) with the question about the session's log files.
#include <string>
#include <vector>

namespace tarv {

class EditingContext;

// The command line as the editor takes it: every argument joined by single blanks, unchanged.
std::string commandLineText(const std::vector<std::string>& arguments);

// The start-up steps that set the window's state: the save variant from DefaultFileFormat, the disabled
// commands and pages, modelExtent 1, the fixed lists and their first choices, nothing selected.
void applyStartupState(EditingContext& ctx);

// The log-files question; true when the user keeps the logs.
bool askKeepLogFiles(EditingContext& ctx);
// "TARV " & major & "." & minor & ", initiating shutdown sequence..."
std::string shutdownCaption(const EditingContext& ctx);

// File > "E&xit" (also the error report's End): clears the model (the scene stays), asks the question
// when there are session logs, deletes them on No, and ends the program.
void mnuFileExit_Click(EditingContext& ctx);
// Closing the window: the question and the deletion without the clean-up, then the end of the program.
void Form_QueryUnload(EditingContext& ctx);

}  // namespace tarv
