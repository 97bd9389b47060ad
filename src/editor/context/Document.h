#pragma once
// The document: the loaded ship and everything read from or written to its files, with the view records the
// preview builds from it.
#include <string>

#include "animation/state/AnimationState.h"
#include "attachments/state/MexChunkTable.h"
#include "attachments/state/ShipDefinition.h"
#include "meshtools/state/LodFileSet.h"
#include "model/state/ShipModel.h"
#include "preview/state/ViewState.h"

namespace tarv {

// The files the ship on screen was loaded from, set only when a load succeeds (as its last step) and
// cleared when a load leaves no ship. Every save writes into these (Save As into the name chosen).
struct DocumentFiles {
    std::string model;      // the .peo (or .geo) read
    std::string shpFolder;  // the folder (with its "/") of the ship definition it came through; empty without
    std::string damage;     // what was found damaged when it was read; empty for a sound file
};

struct Document {
    ShipModel model;
    MexChunkTable mex;         // the mesh-extras chunks
    ShipDefinition shp;        // the ship definition's tables
    AnimationState animation;  // animations and key tracks
    LodFileSet lod;            // the level-of-detail set
    ViewState view;            // the preview's records and scene
    // The full path of the loaded model (the first panel of the status bar); empty before the first load.
    std::string currentModelPath;
    DocumentFiles documentFiles;
};

}  // namespace tarv
