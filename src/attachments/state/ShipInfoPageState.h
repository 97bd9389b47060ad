#pragma once
// What the "Ship Info" page's "Mex Data" and "Ship File Data" tabs show: the chunk key label, the chunk edit
// fields and the gun-type list.
#include <string>

#include "base/FixedList.h"

namespace tarv {

struct ShipInfoPageState {
    std::string lblMexKey;          // the key of the chunk selected in the chunk tree
    bool mexFieldsVisible = false;  // the chunk edit fields of the "Mex Data" tab
    FixedList cmbShpGunType;
};

}  // namespace tarv
