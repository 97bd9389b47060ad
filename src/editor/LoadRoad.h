#pragma once
// The load road of the main window: File > Open, the recent files, the command line, Reload, and the road
// every way of opening a model ends in (loadThisFile, startprocess, getGeneralInfo, cleanup).
#include <string>
#include <vector>
#include "model/state/ShipModel.h"
#include "editor/context/RoadState.h"

namespace tarv {

class EditingContext;

inline constexpr const char* kOpenFilter = "Geometry Files (*.peo,*.geo)|*.peo;*.geo|Homeworld SHP files (*.shp)|*.shp";

// File > "&Open". Traps its errors.
void mnuFileOpen_Click(EditingContext& ctx);
// A recent-file item (1 to 5) of the File menu. Traps its errors.
void mnuRecentFile_Click(EditingContext& ctx, int index);
// File > "&Reload": the model in the status bar again. Traps its errors.
void mnuReload_Click(EditingContext& ctx);

// File > Backup > "&Load": restores the model's and its .mex's backups and loads the model again. When
// restoring stops after the model, the model is still read again from what is now on disk, so no later
// save writes the old model over the restored file.
void mnuRevBU_Click(EditingContext& ctx);

// Opens a model by the lower-cased last four characters of its name: .peo and .geo directly, .shp through
// its .lod list; anything else is refused with a message. Traps nothing.
void loadThisFile(EditingContext& ctx, const std::string& filename);
// The load road for the model in the status bar (ctx.currentModelPath). Traps its errors.
void startprocess(EditingContext& ctx);
// Clears the old model, reads the .peo and builds the scene. Traps its errors; false when one was reported
// (the file refused by the reader, or the scene not built).
bool getGeneralInfo(EditingContext& ctx);
// The status of a load whose file could not be read.
inline constexpr const char* kLoadFailedStatus = "Load failed";
// Ends a load whose model could not be read: not loaded, every save command and Save As disabled, Reload
// enabled for the same path, the status kLoadFailedStatus.
void endRefusedLoad(EditingContext& ctx);
// Clears the model's lists, trees and tables; with fileExit false also takes it out of the scene.
void cleanup(EditingContext& ctx, bool fileExit);

// The parent of every object as the load links it: -1 for the scene's model frame, else an object index.
// Links are read in object order; a link to nothing (0) hangs under the model frame; a link that names the
// object itself, lies outside 1..objectCount or would close a cycle counts as corrupted and hangs under
// object 0 (under the model frame when that too would close a cycle); object 0 with any link counts as
// corrupted and hangs under the model frame.
struct ResolvedParents {
    std::vector<int> parent;
    std::vector<bool> corrupted;  // per object: its link counts as corrupted
    int corruptedLinks = 0;
};
ResolvedParents resolveObjectParents(const ShipModel& model);

// Hands the load road to the subsystems that start it from their own windows (the repair window of the mesh
// tools).
void connectLoadRoad(EditingContext& ctx);

// The roads' own steps: each calls its subsystem. Tests derive from it to watch or break one step.
class SubsystemRoadSteps : public RoadSteps {
public:
    void create3dObject(EditingContext& ctx, int objNo) override;
    void showAxes(EditingContext& ctx) override;
    void createObjectTree(EditingContext& ctx) override;
    void fixHierarchy(EditingContext& ctx) override;
    void applyRenderMode(EditingContext& ctx) override;
};

// The steps the roads run: the ones a test set in ctx.road.steps, else the subsystems' own.
RoadSteps& roadSteps(EditingContext& ctx);

// Marks a load or save as running for as long as it lives (no user input is handled meanwhile).
class OperationScope {
public:
    explicit OperationScope(EditingContext& ctx);
    ~OperationScope();
    OperationScope(const OperationScope&) = delete;
    OperationScope& operator=(const OperationScope&) = delete;

private:
    EditingContext& ctx_;
};

}  // namespace tarv
