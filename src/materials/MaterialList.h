#pragma once
// The "Materials" page's list of the model's materials: the duplicate merge, the material log lines, the flag
// commands, the swap of the two material counts and the .hml material text list.
#include <functional>
#include <string>
#include <vector>

namespace tarv {

class EditingContext;
struct ShipModel;

// Receives one log line.
using MaterialLogLine = std::function<void(const std::string&)>;

// What a duplicate check did: the duplicate count, and for each old material index its index after the merge
// (empty when nothing merged).
struct MaterialMerge {
    int duplicates = 0;
    std::vector<int> oldToNew;
};

// The largest number of polygons of one object that the merge handles.
inline constexpr size_t kMergePolygonLimit = 32768;

// The duplicate check and merge, with two or more materials: every material's ambient red, green and blue
// become 50, kAlpha 0 and fullAmbient 0xAB00; a material with the texture and six flags of a lower one merges
// into the lowest of them; survivors are compacted in index order and the polygons of every object (deleted
// ones included) renumbered; polygon indices outside the list stay as they are. Logs the duplicate and
// reduction lines and sets the header counts. Before anything merges, an object of more than
// kMergePolygonLimit polygons throws Overflow.
MaterialMerge mergeDuplicateMaterials(ShipModel& model, const MaterialLogLine& log);
// The same by the check's pairwise loops and a renumbering pass per survivor: the reference of the above.
MaterialMerge mergeDuplicateMaterialsPairwise(ShipModel& model, const MaterialLogLine& log);

// Logs "Loading materials....", merges duplicates when the DuplicateMaterials preference is 1, logs each
// material's name and flags and adds the names to lstMaterial. Traps its errors.
void showMaterials(EditingContext& ctx);

// Sets twoSided on every material.
void cmdAll2sided_Click(EditingContext& ctx);
// Sets smoothing on every material.
void cmdSmoothAll_Click(EditingContext& ctx);
// Sets smoothing on the materials that the selected object's polygons use; nothing without a selection.
void cmdSmoothObj_Click(EditingContext& ctx);

// The message shown when a count box is not a whole number from 0 to 32767.
inline const char* const kMaterialCountText = "Material counts must be whole numbers from 0 to 32767.";
// Swaps txtPublic and txtLocal and stores them as the two header counts. When either box is not a number
// that rounds into 0..32767, shows kMaterialCountText and changes nothing.
void cmdSwapMtl_Click(EditingContext& ctx);

// The material text list of the model's materials: thirteen lines per material, each ended by CR LF.
std::string materialListText(const ShipModel& model);
// The .hml file of a model path: the path up to and including its last ".", then "hml".
std::string materialListPath(const std::string& modelPath);
// Appends the material text list to the model's .hml file, written whole by the atomic road.
void saveMaterialList(EditingContext& ctx);
// Saves the material text list and tells where it is. Traps its errors: a failed write shows the error
// report and no message, and leaves the .hml as it was.
void cmdSaveMtl_Click(EditingContext& ctx);


}  // namespace tarv
