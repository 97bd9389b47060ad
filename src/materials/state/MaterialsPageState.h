#pragma once
// What the "Materials" page shows: the material list with its selected entry, and the public and local counts;
// and what the "Material Properties" dialog shows.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/CommonDialog.h"

namespace tarv {

class EditingContext;

// The "Material Properties" dialog's controls as plain state.
struct MaterialPropertiesState {
    std::array<bool, 6> chkFlags{};          // Smoothing, Flat Shaded, 2 Sided, Base, Stripe, Self Illuminated
    std::array<std::string, 12> txtColours;  // ambient, diffuse, specular R G B; then the three alpha bytes
    std::string txtMtrKAlpha, txtFullAmbient;
    std::string mtrLifName = "Material Name";
    std::vector<std::string> lstMatFaces;  // "o p" for each polygon that uses the material
    bool cmdPrevEnabled = false, cmdNextEnabled = false;
    bool rgbBoxesEnabled = true;        // colour boxes 0 to 8
    std::array<int32_t, 3> swatches{};  // Picture1-3: red + 256 green + 65536 blue
    CommonDialog CommonDialog1;         // the colour picker; keeps the colour of its last use
};

// Shows the Geometry Inspector modally on object lblObjNo's face lblFaceNo: the objects subsystem's installer
// sets it; none shows nothing.
class GeometryInspectorHook {
public:
    virtual ~GeometryInspectorHook() = default;
    virtual void showGeometryInspector(EditingContext& ctx, const std::string& lblObjNo, const std::string& lblFaceNo) {}
};

struct MaterialsPageState {
    std::vector<std::string> lstMaterial;
    int selectedIndex = -1;  // the entry the Material Properties dialog edits; -1 for none
    std::string txtPublic, txtLocal;
    MaterialPropertiesState properties;
    GeometryInspectorHook* geometryInspector = nullptr;
};

}  // namespace tarv
