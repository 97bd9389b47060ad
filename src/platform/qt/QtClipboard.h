#pragma once
// The system clipboard through Qt.
#include "platform/Clipboard.h"

namespace tarv {

class QtClipboard : public Clipboard {
public:
    bool setImage(const Image& picture) override;
};

}  // namespace tarv
