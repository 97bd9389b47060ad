#pragma once
// What the "Materials" page shows: the material list and the public and local counts.
#include <string>
#include <vector>

namespace tarv {

struct MaterialsPageState {
    std::vector<std::string> lstMaterial;
    std::string txtPublic, txtLocal;
};

} // namespace tarv
