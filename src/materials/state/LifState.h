#pragma once
// The loaded .lif texture and the state of the texture windows that the reader and the layer renderer
// set, as plain data. The windows bind to it; nothing here knows of them.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/Image.h"
#include "platform/CommonDialog.h"

namespace tarv {

class EditingContext;

class cDIBSection;

// The 48-byte header of a .lif file, as read.
struct LifHeader {
    std::string ident;  // 8 characters, not interpreted
    int32_t version = 0;
    int32_t flags = 0;  // 2 palette, 8 alpha, 16 team colour 0, 32 team colour 1; 0 = needs fixing
    int32_t width = 0;
    int32_t height = 0;
    int32_t paletteCRC = 0;
    int32_t imageCRC = 0;
    int32_t data = 0;     // offset of the pixel block
    int32_t Palette = 0;  // offsets of the palette and the team tables; 0 or less: none
    int32_t Team0 = 0;
    int32_t Team1 = 0;
};

inline constexpr int kLifHeaderSize = 48;

// Layer indices of lifLayers.
enum LifLayerIndex { kLifPalette = 0, kLifAlpha = 1, kLifTeam0 = 2, kLifTeam1 = 3 };

// One pixel's file bytes in file order: R, G, B, A (RGBA); R, G, B, 0 (RGB); index, 0, 0, 0 (paletted).
using LifPixel = std::array<uint8_t, 4>;

// The one texture that the renderer draws: the last file that LoadFile read. Nothing clears it; a
// header-only read replaces the header part, a read with blocks the blocks.
struct LoadedTexture {
    LifHeader lifHeader;
    std::array<bool, 4> lifLayers{};  // palette, alpha, team colour 0, team colour 1
    bool lifIsCorrupt = false;
    bool lifIs24Bit = false;
    std::vector<LifPixel> lifPixels;                       // pixel k of the file is element k - 1
    std::array<std::array<uint8_t, 4>, 256> lifPalette{};  // R, G, B, A
    std::array<uint8_t, 256> lifTeam0Table{};
    std::array<uint8_t, 256> lifTeam1Table{};
    int64_t lifPixelCount = 0;  // n of the last read with blocks
    // The path of the last read, when it was a read with blocks that succeeded; empty after any other
    // read. The pixels above are that file's while it is set.
    std::string lifBlocksPath;
    // Why the last read refused its file as damaged or foreign, naming it; empty when it did not.
    std::string lifRefusal;
};

// The texture preview window (frmLifPreview) as far as the reader and the renderer set it.
// The texture preview window: the Textures page sets it while it lives; none shows nothing (plain use).
class LifPreviewWindow {
public:
    virtual ~LifPreviewWindow() = default;
    // Shows the window modally (owned by the main window, or without an owner) on panel1.
    virtual void showModal(EditingContext& ctx, bool owned) {}
};

struct LifPreviewState {
    // View items that LoadFile enables for the file's layers ("&Base layer" is always enabled).
    bool mnuViewAlpha = true;
    bool mnuViewTeam0 = true;
    bool mnuViewTeam1 = true;
    bool mnuViewBaseTeam0 = true;
    bool mnuViewBaseTeam1 = true;
    bool mnuViewAll = true;
    bool picTeam0Visible = false;
    bool picTeam1Visible = false;
    bool mnuFixLif = false;         // "&Fix Lif"
    std::string Label1;             // the warning label
    bool mnuFileExportBMP = false;  // "As &BMP"

    // StatusBar1: 1 path of the shown .lif, 2 width, 3 height, 4 layer number.
    std::string panel1, panel2, panel3, panel4;

    Image picLif1;  // the drawing surface
    Image Image1;   // the shown copy of the surface

    // The window's own controls.
    std::string Caption;
    bool mnuView = false;  // the View menu: enabled while a texture is shown
    bool cmdPrev = false, cmdNext = false;
    std::string cmdZoom = "Zoom In";
    bool Image1Stretch = false;
    int Image1Width = 0, Image1Height = 0;  // screen pixels
    int32_t picTeam0BackColor = 0, picTeam1BackColor = 0;  // red + 256 green + 65536 blue
    CommonDialog CommonDialog1;
    LifPreviewWindow* window = nullptr;
};

// The main window's header boxes of the Textures page.
struct LifHeaderBoxes {
    std::string txtImgCRC;
    std::string txtPalCRC;
    std::string txtLifFlags;
    // The file whose header the three boxes show; empty before any header was read into them.
    std::string sourcePath;
};

// The surface's background ("button face").
inline constexpr Rgba kButtonFace{240, 240, 240, 255};

struct LifState {
    LoadedTexture texture;
    LifPreviewState preview;
    LifHeaderBoxes boxes;
    Rgba background = kButtonFace;        // tests may set their own
    std::shared_ptr<cDIBSection> fixDib;  // the picture Fix Lif reduced last
};

}  // namespace tarv
