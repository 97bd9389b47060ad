#include "objects/ui/ObjectOptions.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

#include "editor/context/EditingContext.h"
#include "objects/ObjectClone.h"
#include "objects/ObjectDelete.h"
#include "shell/MainWindowPages.h"
#include "shell/frmTARV.h"

namespace tarv {

ObjectOptions::ObjectOptions(frmTARV& window) : QObject(&window), window_(window) {
    QGroupBox* frame = window.pageObjects->Frame4;
    auto* grid = new QGridLayout;
    if (auto* column = qobject_cast<QVBoxLayout*>(frame->layout()))
        column->addLayout(grid);
    else
        frame->layout()->addItem(grid);
    auto button = [&](const char* name, const char* caption, int row, int column, void (*command)(EditingContext&)) {
        auto* b = new QPushButton(caption, frame);
        b->setObjectName(name);
        grid->addWidget(b, row, column);
        connect(b, &QPushButton::clicked, this,
                [this, command] { window_.runCommand([this, command] { command(window_.ctx); }); });
        return b;
    };
    cmdCloneObject = button("cmdCloneObject", "Clone", 0, 0, cmdCloneObject_Click);
    cmdDeleteObject = button("cmdDeleteObject", "Delete", 0, 2, cmdDeleteObject_Click);
    cmdYZmirror = button("cmdYZmirror", "mirror X", 1, 0, cmdYZmirror_Click);
    cmdXZmirror = button("cmdXZmirror", "mirror Y", 1, 1, cmdXZmirror_Click);
    cmdXYmirror = button("cmdXYmirror", "mirror Z", 1, 2, cmdXYmirror_Click);
    window.syncHooks.push_back([this] { sync(); });
}

void ObjectOptions::sync() {
    const ObjectsState& s = window_.ctx.objects;
    cmdCloneObject->setEnabled(s.cmdCloneObjectEnabled);
    cmdDeleteObject->setEnabled(s.cmdDeleteObjectEnabled);
}

}  // namespace tarv
