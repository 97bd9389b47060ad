#pragma once
// The keyframe text dumps: "Dump All keyframes" (every animated object's keys) and "Dump keyframes" (the
// selected object's keys, animation by animation, then all). The text goes to "keyframes.tmp" in the user's
// data folder, replacing an earlier dump, and opens in the text viewer; the file stays until the next dump or
// the program's exit.
#include <filesystem>
#include <string>

namespace tarv {

class EditingContext;

// The dump texts (8-bit, every line ended by CR LF); empty when there is nothing to write.
std::string allKeyframesText(const EditingContext& ctx);
std::string selectedKeyframesText(EditingContext& ctx);

std::filesystem::path keyframeDumpPath(const EditingContext& ctx);
// Write the text and open it in the viewer (a viewer that fails is passed over); with nothing to write, an
// earlier dump is removed and no viewer opens. Trap their errors.
void dumpAllKeyframes(EditingContext& ctx);
void dumpKeyframes(EditingContext& ctx);
// Removes the dump file when there is one (the exit's step).
void removeKeyframeDump(EditingContext& ctx);

}  // namespace tarv
