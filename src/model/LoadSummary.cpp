#include "model/LoadSummary.h"
#include "editor/context/EditingContext.h"

namespace tarv {

void addToLoadSummary(EditingContext& ctx, const std::string& note) {
    ctx.shell.loadSummaryExists = true;
    ctx.shell.loadSummaryNotes += note + "\r\n";
    ctx.status().processEvents();
}

void addWarningToLoadSummary(EditingContext& ctx, const std::string& note) {
    ctx.shell.loadSummaryWarns = true;
    addToLoadSummary(ctx, note);
}

void dropLoadSummary(EditingContext& ctx) {
    ctx.shell.loadSummaryExists = false;
    ctx.shell.loadSummaryWarns = false;
    ctx.shell.loadSummaryNotes.clear();
}

}  // namespace tarv
