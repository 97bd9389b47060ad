#pragma once
// The error report: an unexpected error with the context of the procedure that met it.
#include <string>

namespace tarv {

struct ErrorReportInfo {
    int number = 0;
    std::string source;
    std::string description;
    std::string module;     // errModule
    std::string procedure;  // errProc
    std::string arguments;  // errArgs
    std::string detail;     // what is wrong and in which file, when known
};

class ErrorReport {
public:
    virtual ~ErrorReport() = default;
    // Shows the report and returns when the user resumes. Choosing End ends the program (the window's
    // business); the procedure that failed returns either way.
    virtual void show(const ErrorReportInfo& info) = 0;
};

// Drops reports: the default of a fresh context. The reports are still counted.
class SilentErrorReport : public ErrorReport {
public:
    void show(const ErrorReportInfo& info) override {
        ++count;
        last = info;
    }
    int count = 0;
    ErrorReportInfo last;
};

}  // namespace tarv
