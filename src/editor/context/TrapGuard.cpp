#include "editor/context/TrapGuard.h"

#include "editor/context/EditingContext.h"

namespace tarv {

void setErrorContext(EditingContext& ctx, std::string module, std::string procedure, std::string arguments) {
    ctx.err.errModule = std::move(module);
    ctx.err.errProc = std::move(procedure);
    ctx.err.errArgs = std::move(arguments);
}

void reportError(EditingContext& ctx, const std::exception& error) {
    ErrorReportInfo info;
    info.module = ctx.err.errModule;
    info.procedure = ctx.err.errProc;
    info.arguments = ctx.err.errArgs;
    if (auto* rte = dynamic_cast<const RunTimeError*>(&error)) {
        info.number = rte->number();
        info.source = rte->source() == "TARV" ? ctx.version.appName : rte->source();
        info.description = rte->description();
        info.detail = rte->detail();
    } else if (dynamic_cast<const std::bad_alloc*>(&error)) {
        info.number = 7;
        info.source = ctx.version.appName;
        info.description = "Out of memory";
    } else {
        info.number = 0;
        info.source = ctx.version.appName;
        info.description = error.what();
    }
    ctx.errorReport().show(info);
}

}  // namespace tarv
