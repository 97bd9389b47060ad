#pragma once
// The plain OK box that operations show through the context's prompts: no icon, captioned with the
// program's title unless a caption is given.
#include <string>

namespace tarv {

class EditingContext;

void okMessage(EditingContext& ctx, const std::string& text);
void okMessage(EditingContext& ctx, const std::string& text, const std::string& caption);

}  // namespace tarv
