#include "key_tracker.h"

#include <QEvent>
#include <QKeyEvent>

namespace blok::qt {

int VirtualKeyOf(int qtKey) {
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) {
        return qtKey;  // Qt's codes for these are their upper-case characters already
    }
    switch (qtKey) {
        case Qt::Key_Left:
            return 37;
        case Qt::Key_Up:
            return 38;
        case Qt::Key_Right:
            return 39;
        case Qt::Key_Down:
            return 40;
        case Qt::Key_Space:
            return 32;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Escape:
            return 27;
        default:
            return 0;
    }
}

PhysicalKey PhysicalKeyOf(const QKeyEvent& event) {
    const quint32 code = event.nativeScanCode();
    if (code > 0 && code <= quint32(kLastPhysicalKey)) return PhysicalKey(code);
    return PhysicalKeyOfVirtualKey(VirtualKeyOf(event.key()));
}

KeyTracker::KeyTracker(QObject* parent) : QObject(parent) {}

bool KeyTracker::PressedSinceLastRead(PhysicalKey key) {
    if (!Valid(key)) return false;
    const auto bit = static_cast<std::size_t>(key);
    const bool was = pressed_.test(bit);
    pressed_.reset(bit);
    return was;
}

bool KeyTracker::Held(PhysicalKey key) const {
    return Valid(key) && held_.test(static_cast<std::size_t>(key));
}

bool KeyTracker::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            const auto* key = static_cast<QKeyEvent*>(event);
            const PhysicalKey physical = PhysicalKeyOf(*key);
            if (key->isAutoRepeat() || !Valid(physical)) break;
            const auto bit = static_cast<std::size_t>(physical);
            if (event->type() == QEvent::KeyPress) {
                pressed_.set(bit);
                held_.set(bit);
            } else {
                held_.reset(bit);
            }
            break;
        }
        case QEvent::ApplicationDeactivate:
            // Another program has the keyboard now: its releases would never reach us.
            held_.reset();
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace blok::qt
