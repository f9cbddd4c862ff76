#include "KeyEvents.h"

#include "EventGuard.h"

#include <QKeyEvent>

namespace fai {

QChar TypedChar(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return QChar(9);
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return QChar(13);
        case Qt::Key_Backspace:
            return QChar(8);
        case Qt::Key_Escape:
            return QChar(27);
        default:
            break;
    }
    const QString text = event.text();
    if (text.isEmpty() || event.modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return QChar();
    return text.front().isPrint() ? text.front() : QChar();
}

bool PassKeyDown(const KeyDownEvent& handler, int& key, Qt::KeyboardModifiers shift) {
    if (!handler) return true;
    return GuardEvent([&] { handler(key, shift); }) && key != 0;
}

bool PassKeyPress(const KeyPressEvent& handler, QChar& key) {
    if (!handler) return true;
    return GuardEvent([&] { handler(key); }) && !key.isNull();
}

QKeyEvent WithChar(const QKeyEvent& event, QChar key) {
    return QKeyEvent(event.type(), event.key(), event.modifiers(), QString(key),
                     event.isAutoRepeat(), ushort(event.count()));
}

}  // namespace fai
