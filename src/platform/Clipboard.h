#pragma once
// The system clipboard, as far as the editor puts pictures on it. Qt implements it; tests record.
#include <cstddef>  // core/Image.h uses size_t without including it

#include "base/Image.h"

namespace tarv {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Empties the clipboard and puts the picture on it; true when the clipboard took it.
    virtual bool setImage(const Image& picture) = 0;
};

}  // namespace tarv
