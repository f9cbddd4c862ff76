#pragma once

#include <QChar>
#include <Qt>

#include <functional>

class QKeyEvent;

namespace fai {

// A key going down: `key` is the Qt key code (Qt::Key_Tab, Qt::Key_A...). Setting it to 0,
// or throwing (EAbort for silence), swallows the key: the control never sees it.
using KeyDownEvent = std::function<void(int& key, Qt::KeyboardModifiers shift)>;
// A character typed: setting it to QChar() (0), or throwing, discards it; changing it types
// the new character instead.
using KeyPressEvent = std::function<void(QChar& key)>;

// The character a key event types, or QChar() when it types none. Tab, Enter, Backspace and
// Escape count as characters, as in the classic key-press events.
QChar TypedChar(const QKeyEvent& event);

// Runs the handler through the event guard; false when the key is swallowed.
bool PassKeyDown(const KeyDownEvent& handler, int& key, Qt::KeyboardModifiers shift);
bool PassKeyPress(const KeyPressEvent& handler, QChar& key);

// The same key event typing another character.
QKeyEvent WithChar(const QKeyEvent& event, QChar key);

}  // namespace fai
