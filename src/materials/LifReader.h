#pragma once
// Reading .lif textures into the loaded-texture state (LoadFile), and the self-contained thumbnail reader.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "base/Image.h"
#include "materials/TextureSource.h"
#include "materials/state/LifState.h"

namespace tarv {

class EditingContext;

class PictureLoader;

// The 48-byte header at the start of bytes, which holds at least that many.
LifHeader readLifHeader(std::span<const uint8_t> bytes);

// The one message for a texture refused as damaged or of another format, naming the file and why.
std::string textureRefusalText(const std::string& path, const std::string& reason);

inline constexpr const char* kCorruptLifWarning = "Warning! Corrupted lif detected.  Fix using File -> Fix lif";

// Reads the .lif at path into ctx.lif: the header alone, or with loadPixels the blocks too. Updates the
// preview window's layer items, swatches, fix offer and warning, and the main window's header boxes.
// A missing file is NotRead and changes nothing; a file that cannot be read shows the error report and
// is Failed; a damaged file is Failed with a log line and leaves the blocks as they were.
LifReadResult LoadFile(EditingContext& ctx, const std::string& path, bool loadPixels);

// The steps of LoadFile before the file is opened: layer items off, swatches hidden, layers cleared,
// "Loading Lif " & path logged, warning emptied.
void startLifRead(EditingContext& ctx, const std::string& path);
// The rest of LoadFile on the file's bytes.
// path names the file whose header goes into the header boxes.
LifReadResult parseLif(EditingContext& ctx, std::span<const uint8_t> bytes, bool loadPixels,
                       const std::string& path = {});

// The thumbnail of a file by its extension: ".lif" through quickLoadLif, ".bmp", ".jpg", ".gif" and
// ".dib" through the picture loader, nothing for anything else.
std::optional<Image> loadThumbImage(const std::string& path, PictureLoader& loader);
std::optional<Image> loadStandardPicture(const std::string& path, PictureLoader& loader);
// The base layer of a .lif, read on its own (no shared state, no log). Nothing for a missing or damaged
// file; a file that cannot be read throws.
std::optional<Image> quickLoadLif(const std::string& path);
std::optional<Image> quickLoadLifBytes(std::span<const uint8_t> bytes);

}  // namespace tarv
