#pragma once
// The preview's own state: the camera drag, the spin and playback, the Textures page's lists, and the
// seam through which the preview reaches the main window's controls. (The selection is ctx.objects', the
// render mode ctx.view.mnuRenderFlat.) Plain data and small interfaces; no Qt.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/Image.h"
#include "model/state/ShipModel.h"
#include "scene/Interpolator.h"

namespace tarv {

class EditingContext;

// The camera drag (angles in drag units: pointer pixels / 5).
struct CameraState {
    uint8_t mouseIsDown = 0;
    float mouseDownX = 0, mouseDownY = 0;
    Vector3 zoomStartPosition;
    float dragAngleX = 0, dragAngleY = 0;
    float orbitAngleX = 0, orbitAngleY = 0;
};

// Playback of animations and of the spin. The start time is a monotonic clock reading in seconds, so a
// spin runs smoothly over midnight.
struct PlaybackState {
    uint8_t isPlaying = 0;       // 1 while an animation or the spin plays
    int16_t playObject = -1;     // -2 the spin, -1 all tracks, 0 or more one track
    int16_t playAnimation = -1;  // -2 the spin, -1 none
    double playStartTime = 0;    // 0 after a stop
    float playEndTime = 0;       // seconds from the window start of the last key the latest build put in
};

// One item of lstTextures: the name, and width, height and flags once the texture was read.
struct TextureListItem {
    std::string name;
    std::vector<std::string> subItems;  // empty, or the three decimal texts
};

// The Textures page's thumbnail grid (ctlThumbs): one thumbnail per added file.
struct Thumbnail {
    std::string caption;  // the text between the last separator and the last "."
    std::string path;     // the stored path (".lif" in place of the extension for a texture file)
    Image picture;        // empty when the file could not be drawn
};

class ThumbnailList {
public:
    // The caption is the file's name without its extension, unless one is given.
    void Add(const std::string& file, bool isLifFile, Image picture = {}, const std::string& caption = {});
    void Clear() { items_.clear(); }
    std::string Caption;
    const std::vector<Thumbnail>& items() const { return items_; }

private:
    std::vector<Thumbnail> items_;
};

// The main window's controls that the preview's handlers read and write (the selection's labels, buttons
// and tree live in ctx.objects and ctx.shell). This default keeps the values, which is all that tests and
// a window-less editor need; the main window passes them on to its widgets.
class PreviewControls {
public:
    virtual ~PreviewControls() = default;
    virtual int mainTab() const { return SSTab1; }
    virtual void setMainTab(int tab) { SSTab1 = tab; }
    virtual int objectsTab() const { return SSTab2; }
    virtual void setObjectsTab(int tab) { SSTab2 = tab; }
    // Opens mnu3dPreview at the pointer.
    virtual void showPreviewPopup(float x, float y) { ++popupsShown; }
    virtual std::string spinCaption() const { return mnu3dPreviewSpin; }
    virtual void setSpinCaption(const std::string& text) { mnu3dPreviewSpin = text; }
    // The render menu's ticks follow the render mode.
    virtual void setRenderTicks(bool textured) { renderTicksTextured = textured; }
    // Checks the preset view button of that number (0 to 5) without running its preset.
    virtual void setViewButton(int index) {}
    // The pick changed the selection state: the window shows it.
    virtual void selectionChanged() { ++selectionChanges; }
    // The Textures page shows the texture list and thumbnails again.
    virtual void texturesChanged() {}

    int SSTab1 = 0, SSTab2 = 0;
    int popupsShown = 0;
    int selectionChanges = 0;
    std::string mnu3dPreviewSpin = "Spin Object";
    bool renderTicksTextured = true;
};

// The animation subsystem's playback step, run by the timer when the spin is not playing. It returns true
// when the tick ends there (the playback reached its end), and the timer then draws nothing.
class PlaybackHook {
public:
    virtual ~PlaybackHook() = default;
    virtual bool advancePlayback(EditingContext& ctx) { return false; }
};

// What a pick on the canvas selects: the object subsystem's selection connects itself here; none selects nothing.
class PickSelection {
public:
    virtual ~PickSelection() = default;
    // Deselects the previous object and selects objNo with its details, lblKey and tree node.
    virtual void selectPickedObject(EditingContext& ctx, int16_t objNo) {}
    // A pick on empty space.
    virtual void clearPickedSelection(EditingContext& ctx) {}
};

struct PreviewState {
    CameraState camera;
    PlaybackState playback;
    std::shared_ptr<scene::Interpolator> spinInterpolator;
    uint64_t drawnSceneChanges = 0;  // the scene's change count when the clock last drew
    int canvasHolds = 0;             // the HeldCanvas alive: the clock draws nothing while any is
    std::vector<TextureListItem> lstTextures;
    int lstTexturesSelected = -1;  // the list's selected item, 0-based; -1 for none
    ThumbnailList ctlThumbs;

    // Seams: none means the defaults below.
    PreviewControls* controls = nullptr;
    PlaybackHook* playbackHook = nullptr;
    PickSelection* pickSelection = nullptr;
    PreviewControls ownControls;
    PlaybackHook ownPlayback;
    PickSelection ownPickSelection;
};

PreviewControls& previewControls(EditingContext& ctx);

}  // namespace tarv
