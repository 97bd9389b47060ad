#include "attachments/ui/DamagePointsButton.h"

#include "attachments/RandomDamagePoints.h"
#include "editor/context/EditingContext.h"
#include "shell/ControlSync.h"
#include "shell/frmTARV.h"

namespace tarv {

QPushButton* installRandomDamagePoints(frmTARV& window) {
    auto* cmdRDP = namedControl<QPushButton>("cmdRDP", pageLayout(window.pageShipInfo->Frame3));
    cmdRDP->setText("Random Damage Points");
    QObject::connect(cmdRDP, &QPushButton::clicked, &window,
                     [&window] { window.runCommand([&window] { cmdRDP_Click(window.ctx); }); });
    return cmdRDP;
}

}  // namespace tarv
