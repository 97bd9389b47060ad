#include "editor/context/Messages.h"

#include "editor/context/EditingContext.h"

namespace tarv {

void okMessage(EditingContext& ctx, const std::string& text) { okMessage(ctx, text, ctx.version.appTitle); }

void okMessage(EditingContext& ctx, const std::string& text, const std::string& caption) {
    ctx.prompts().messageBox(text, caption, PromptIcon::None);
}

}  // namespace tarv
