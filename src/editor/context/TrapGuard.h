#pragma once
// Procedures that trap their own run-time errors: record the error context, run the body, and on any
// error show the error report and skip the rest of the body (the report's Resume returns from the
// procedure).
#include <exception>
#include <new>
#include <string>
#include <utility>

#include "base/RunTimeError.h"

namespace tarv {

class EditingContext;

// Records module, procedure and arguments as the running procedure's error context.
void setErrorContext(EditingContext& ctx, std::string module, std::string procedure, std::string arguments = {});

// Shows the error report for an exception caught inside a trapping procedure.
void reportError(EditingContext& ctx, const std::exception& error);

// Runs body under the trap; returns true when it ran to its end, false when an error was reported.
template <class Body>
bool trapErrors(EditingContext& ctx, std::string module, std::string procedure, std::string arguments, Body&& body) {
    setErrorContext(ctx, std::move(module), std::move(procedure), std::move(arguments));
    try {
        std::forward<Body>(body)();
        return true;
    } catch (const std::exception& error) {
        reportError(ctx, error);
        return false;
    }
}

}  // namespace tarv
