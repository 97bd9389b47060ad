#pragma once
// Picture files through QImageReader, which decides the format from the content (so ".dib" works).
#include "platform/PictureLoader.h"

namespace tarv {

class QtPictureLoader : public PictureLoader {
public:
    std::optional<Image> load(const std::filesystem::path& path) override;
};

}  // namespace tarv
