#pragma once
// What the "Ship Info" page shows: on "Elements" the selected chunk's key, the chunk commands' enable flags
// and the mirror boxes; on "Mex Data" the chunk edit fields; on "Ship File Data" the gun panel. The
// chunk tree itself is ctx.mex.treeMex; page 2's enable flag and the page to switch to are in ctx.road.
#include <string>

#include "attachments/state/MexDataPage.h"
#include "attachments/state/MexEditPanel.h"
#include "attachments/state/ShipFileDataPage.h"
#include "base/FixedList.h"

namespace tarv {

struct ShipInfoPageState {
    std::string lblMexKey;          // the key of the chunk tree node clicked last
    FixedList cmbShpGunType;
    // "Elements": the enable flags of "Add/Clone" and "Delete", the mirror boxes "X", "Y", "Z".
    bool cmdMexAddEnabled = true;
    bool cmdMexDelEnabled = true;
    bool chkMexMirrorX = false, chkMexMirrorY = false, chkMexMirrorZ = false;
    bool mexDataPageEnabled = true;  // page 1 "Mex Data" of SSTab3
    // The chunk edit panel and gun panel in use: the one of "Mex Data", set by the attachments' install
    // entry, or a test's own.
    MexEditPanel* mexPanel = nullptr;
    // The "Mex Data" page of the chunk edit panel.
    MexDataPage mexData;
    // The gun panel of the "Ship File Data" page (its type list is cmbShpGunType).
    ShipFileDataPage shipFileData;
};

}  // namespace tarv
