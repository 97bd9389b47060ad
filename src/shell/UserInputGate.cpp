#include "shell/UserInputGate.h"

#include <QCoreApplication>
#include <QWidget>

namespace tarv {

namespace {
bool isUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd: return true;
    default: return false;
    }
}
}  // namespace

UserInputGate::UserInputGate(QWidget* window) : QObject(window), window_(window) {}

UserInputGate::~UserInputGate() {
    if (holding_) QCoreApplication::instance()->removeEventFilter(this);
}

void UserInputGate::hold() {
    if (holding_) return;
    holding_ = true;
    QCoreApplication::instance()->installEventFilter(this);
}

void UserInputGate::release() {
    if (!holding_) return;
    holding_ = false;
    QCoreApplication::instance()->removeEventFilter(this);
    auto held = std::move(held_);
    held_.clear();
    for (auto& [receiver, event] : held)
        if (receiver) QCoreApplication::postEvent(receiver, event.release());
}

bool UserInputGate::eventFilter(QObject* watched, QEvent* event) {
    if (!holding_ || !isUserInput(event->type()) || !watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    // Only this window's own widgets wait; a message box shown during the operation takes its input.
    if (widget->window() != window_) return false;
    held_.emplace_back(watched, std::unique_ptr<QEvent>(event->clone()));
    return true;
}

}  // namespace tarv
