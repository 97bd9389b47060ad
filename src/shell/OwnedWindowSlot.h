#pragma once
// A subsystem's window that is made on first use and shown without an owner, yet goes when the main window
// goes. The subsystem's install entry point puts the slot on the main window.
#include <QObject>
#include <QString>

namespace tarv {

template <class Window>
class OwnedWindowSlot : public QObject {
public:
    OwnedWindowSlot(QObject& mainWindow, const QString& name) : QObject(&mainWindow) { setObjectName(name); }
    ~OwnedWindowSlot() override { delete window; }

    // The slot named so on the main window; none before the install entry point put it there.
    static OwnedWindowSlot* of(QObject& mainWindow, const QString& name) {
        return static_cast<OwnedWindowSlot*>(mainWindow.findChild<QObject*>(name, Qt::FindDirectChildrenOnly));
    }

    Window* window = nullptr;  // none until first use
};

}  // namespace tarv
