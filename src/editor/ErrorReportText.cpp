#include "editor/ErrorReportText.h"

namespace tarv {

std::string errorReportText(const std::string& appTitle, const ErrorReportInfo& info) {
    std::string text = appTitle + "\r\n";
    text += "Error: " + info.description + (info.detail.empty() ? "" : ": " + info.detail) + "\r\n";
    text += "In module: " + info.module + "\r\n";
    text += "In function: " + info.procedure + "\r\n";
    if (!info.arguments.empty()) text += "Parameters: " + info.arguments + "\r\n";
    return text;
}

std::string noTextViewerMessage(const std::string& logPath) {
    return "No text editor found!\r\nThe log file is " + logPath;
}

}  // namespace tarv
