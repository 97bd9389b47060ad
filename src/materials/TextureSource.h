#pragma once
// How the preview's texture pass reads and draws a model's textures. LifTextureSource is the editor's
// own; the preview's tests pass a fake.
#include <cstdint>
#include <string>

#include "base/Image.h"

namespace tarv {

class EditingContext;

// The result of LoadFile: read; not read (no file, or no pixels); failed (an error was reported, or the
// file was refused as damaged).
enum class LifReadResult { Read, NotRead, Failed };

class TextureSource {
public:
    virtual ~TextureSource() = default;
    virtual LifReadResult LoadFile(const std::string& path, bool loadPixels) = 0;
    // The header of the texture last read.
    virtual int32_t width() const = 0;
    virtual int32_t height() const = 0;
    virtual int32_t flags() const = 0;
    // The texture last read drawn as a layer: 1 the base, 7 all layers with the team colours.
    virtual Image drawLayer(int layer) = 0;
};

// Reads through LoadFile into the context's loaded texture and draws through the preview window's
// drawLayer; no file is written.
class LifTextureSource final : public TextureSource {
public:
    explicit LifTextureSource(EditingContext& ctx) : ctx_(ctx) {}
    LifReadResult LoadFile(const std::string& path, bool loadPixels) override;
    int32_t width() const override;
    int32_t height() const override;
    int32_t flags() const override;
    Image drawLayer(int layer) override;

private:
    EditingContext& ctx_;
};

}  // namespace tarv
