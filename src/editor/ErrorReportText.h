#pragma once
// The text that the error report shows and copies.
#include <string>

#include "platform/ErrorReport.h"

namespace tarv {

// The text of the error report: appTitle, "Error: ", "In module: ", "In function: " and, only when there
// are any, "Parameters: " lines, each ending in CR LF. The error line is the classic description followed,
// when known, by ": " and the detail ("Error: Overflow: the object count 1734829 in Tarvlet.peo does not fit
// (at most 32767)").
std::string errorReportText(const std::string& appTitle, const ErrorReportInfo& info);

// The message of View Log when no text viewer could be started: "No text editor found!" and the log's path.
std::string noTextViewerMessage(const std::string& logPath);

}  // namespace tarv
