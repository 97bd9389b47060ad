#pragma once
// The texture preview window (frmLifPreview, "texPeek v1.2") as plain logic over ctx.lif.preview: its
// start and activation, openLif, Previous and Next, Zoom, export of the shown layer, File > Open, Fix Lif,
// the View items and the team-colour swatches. The window shows the state and calls these.
#include <cstdint>
#include <string>

namespace tarv {

class EditingContext;

inline constexpr const char* kLifPreviewCaption = "texPeek v1.2";
inline constexpr const char* kLifOpenFilter = "All Files (*.*)|*.*|Layered Image Format (*.lif)|*.lif";
// Zoom In shows the picture stretched to this many screen pixels each way.
inline constexpr int kLifZoomPixels = 256;

// The swatches each View item shows: hide both, show one and leave the other, or show both.
struct LifViewSwatches {
    enum Change : uint8_t { Keep, Show, Hide };
    Change team0 = Keep;
    Change team1 = Keep;
};
LifViewSwatches viewSwatchesFor(int layer);

// The window's handlers, named as its controls are (other windows have handlers of the same names).
namespace lifpreview {

// The window's state when it is made: "As &BMP" and "&Fix Lif" off, the caption, both swatches hidden,
// then openLif of status panel 1.
void frmLifPreview_Load(EditingContext& ctx);
// Every showing (traps its errors): the same, with setNavButtons before openLif.
void frmLifPreview_Activate(EditingContext& ctx);
// Shows the .lif at path in layer 1 and enables the View menu; an empty path disables the View menu. A file
// that cannot be drawn clears the picture and panels 2 to 4 and leaves the View menu, "As &BMP" and
// "&Fix Lif" disabled.
void openLif(EditingContext& ctx, const std::string& path);
// Previous and Next from the texture list's selection.
void setNavButtons(EditingContext& ctx);
// Moves the texture list's selection one item back or on and shows that texture. A step that would leave
// the list does nothing.
void cmdPrev_Click(EditingContext& ctx);
void cmdNext_Click(EditingContext& ctx);
// "Zoom In": the picture stretched to 256 x 256; "Zoom Out": its size of panels 2 and 3 (traps its errors).
void cmdZoom_Click(EditingContext& ctx);
// The file the export of the texture at panel1 writes: its folder, its name less the last 4 characters,
// ".bmp". Error 5 when the name is shorter than 4 characters.
std::string lifExportPath(const std::string& panel1);
// Writes the layer last drawn as a 24-bit .bmp beside the shown texture and disables "As &BMP" (traps
// its errors; a failed export keeps "As &BMP" enabled).
void mnuFileExportBMP_Click(EditingContext& ctx);
// The window's open dialog; a chosen file is shown in layer 1.
void mnuFileOpen_Click(EditingContext& ctx);
// Fix Lif on the texture of panel 1.
void mnuFixLif_Click(EditingContext& ctx);
// A View item: the layer into panel 4, the swatches as the item shows them, and the drawing.
void mnuView_Click(EditingContext& ctx, int layer);
// A swatch click: the colour dialog from its last colour; a chosen colour sets the swatch and the team
// colour (team 0 playerBaseColor, team 1 playerStripeColor) and redraws. Cancel changes nothing.
void picTeam_Click(EditingContext& ctx, int team);

}  // namespace lifpreview

// Opens the preview window on path (or the empty text for none): panel 1, then the window modally.
void openLifPreview(EditingContext& ctx, const std::string& path, bool owned);

}  // namespace tarv
