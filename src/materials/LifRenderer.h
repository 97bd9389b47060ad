#pragma once
// The texture layer renderer: the loaded texture drawn as one of its seven layer views, with the team
// colours, into the preview window's surface.
#include <array>
#include <cstdint>
#include <optional>

#include "base/Image.h"
#include "model/state/ShipModel.h"
#include "materials/state/LifState.h"

namespace tarv {

class EditingContext;

// The layer views of the renderer.
enum LifLayer : uint8_t {
    kLayerBase = 1,
    kLayerAlpha = 2,
    kLayerTeam0 = 3,
    kLayerTeam1 = 4,
    kLayerBaseTeam0 = 5,
    kLayerBaseTeam1 = 6,
    kLayerAll = 7,
};

// One channel of the team colours for amount t and channel c (0..255) of the team colour, rounded half
// to even; nothing when it falls outside 0..255. Team 0 counts down (255 gives black), team 1 up.
std::optional<uint8_t> teamColour0Channel(uint8_t t, float c);
std::optional<uint8_t> teamColour1Channel(uint8_t t, float c);

// The 256 team colours of one team, worked out once per drawing.
class TeamColourTable {
public:
    enum Team { Team0, Team1 };
    TeamColourTable(Team team, const RgbColour& colour);
    // The colour of amount t, or nothing when one of its channels falls outside 0..255.
    const std::optional<Rgba>& operator[](uint8_t t) const { return colours_[t]; }

private:
    std::array<std::optional<Rgba>, 256> colours_;
};

// Whether a drawing of the texture can start: its sides lie in 0..32,767 and its pixels are all loaded.
bool lifDrawingCanStart(const LoadedTexture& texture);

// The drawing of a texture in a layer (an unknown layer gives the cleared surface). Nothing when the
// drawing cannot start: a negative side, a side above 32,767, or more pixels than the texture holds.
// A team colour outside 0..255 ends the drawing at that pixel; the pixels drawn so far stay.
std::optional<Image> drawLifPicture(const LoadedTexture& texture, uint8_t layer, const RgbColour& team0,
                                    const RgbColour& team1, Rgba background);

// Sets one pixel of the surface.
inline void plotLifPixel(Image& surface, int x, int y, Rgba colour) { surface.at(x, y) = colour; }

// Draws the loaded texture into picLif1 with the current team colours and writes the width and height
// into status panels 2 and 3. A drawing that cannot start leaves the surface and the panels as they were.
void xepDrawSkin(EditingContext& ctx, uint8_t layer);

// Draws the layer whose number stands in status panel 4, copies the surface to Image1 and enables
// "As &BMP" unless a file named panel 1 & ".bmp" exists. A number outside 0..255 is reported.
void drawLayer(EditingContext& ctx);

}  // namespace tarv
