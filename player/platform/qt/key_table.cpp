#include "platform/qt/key_table.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWindow>

#include "platform/ports.h"

namespace zefa::qt {

int virtual_key(int qt_key) {
    // Letters, digits and the space bar share their codes with the virtual keys.
    if (qt_key >= Qt::Key_A && qt_key <= Qt::Key_Z) return qt_key;
    if (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9) return qt_key;
    switch (qt_key) {
    case Qt::Key_Space:
        return vk::Space;
    case Qt::Key_Escape:
        return vk::Escape;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return vk::Return;
    case Qt::Key_Left:
        return vk::Left;
    case Qt::Key_Up:
        return vk::Up;
    case Qt::Key_Right:
        return vk::Right;
    case Qt::Key_Down:
        return vk::Down;
    case Qt::Key_Control:
        return vk::Control;
    case Qt::Key_Alt:
        return vk::Menu;
    case Qt::Key_Shift:
        return vk::Shift;
    // A virtual key names the physical key, whatever Shift makes of it.
    case Qt::Key_Comma:
    case Qt::Key_Less:
        return vk::OemComma;
    case Qt::Key_Period:
    case Qt::Key_Greater:
        return vk::OemPeriod;
    default:
        return 0;
    }
}

void KeyTable::press(int vkey) {
    if (vkey > 0 && vkey < static_cast<int>(down_.size())) down_[static_cast<size_t>(vkey)] = true;
}

void KeyTable::release(int vkey) {
    if (vkey > 0 && vkey < static_cast<int>(down_.size())) down_[static_cast<size_t>(vkey)] = false;
}

bool KeyTable::down(int vkey) const {
    return vkey > 0 && vkey < static_cast<int>(down_.size()) && down_[static_cast<size_t>(vkey)];
}

KeyWatcher::KeyWatcher(KeyTable& table, std::function<void(QWindow*)> on_press)
    : table_(table), on_press_(std::move(on_press)) {
    QCoreApplication::instance()->installEventFilter(this);
}

KeyWatcher::~KeyWatcher() {
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
}

bool KeyWatcher::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        if (!watched->isWindowType()) break;
        auto* key = static_cast<QKeyEvent*>(event);
        const int vkey = virtual_key(key->key());
        if (event->type() == QEvent::KeyPress) {
            table_.press(vkey);
            if (on_press_) on_press_(static_cast<QWindow*>(watched));
        } else if (!key->isAutoRepeat()) {
            table_.release(vkey);
        }
        break;
    }
    case QEvent::ApplicationStateChange:
        if (static_cast<QApplicationStateChangeEvent*>(event)->applicationState() !=
            Qt::ApplicationActive)
            table_.clear();
        break;
    default:
        break;
    }
    return false;
}

} // namespace zefa::qt
