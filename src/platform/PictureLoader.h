#pragma once
// Loads a picture file (.bmp, .jpg, .gif, .dib ...) with the platform's decoders.
#include <filesystem>
#include <optional>

#include "base/Image.h"

namespace tarv {

class PictureLoader {
public:
    virtual ~PictureLoader() = default;
    // The picture, opaque; nothing when the file cannot be decoded.
    virtual std::optional<Image> load(const std::filesystem::path& path) = 0;
};

}  // namespace tarv
