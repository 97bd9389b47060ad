#pragma once
// "Random Damage Points" in "Chunk Options" on the "Elements" page.
#include <QPushButton>

namespace tarv {

class frmTARV;

// Adds cmdRDP to Frame3; its click runs cmdRDP_Click and the window shows the context again.
QPushButton* installRandomDamagePoints(frmTARV& window);

}  // namespace tarv
