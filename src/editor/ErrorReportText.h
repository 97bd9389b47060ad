#pragma once
// The text that the error report shows and copies.
#include <string>

#include "platform/ErrorReport.h"

namespace tarv {

// The text of the error report: appTitle, "Error: ", "In module: ", "In function: " and, only when there
// are any, "Parameters: " lines, each ending in CR LF.
std::string errorReportText(const std::string& appTitle, const ErrorReportInfo& info);

} // namespace tarv
