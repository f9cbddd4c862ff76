#include "ScreenCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace fai {
namespace {

TCursor& Current() {
    static TCursor cursor = TCursor::Default;
    return cursor;
}

}  // namespace

void SetScreenCursor(TCursor cursor) {
    if (cursor == Current()) return;
    if (cursor == TCursor::HourGlass) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    } else {
        QGuiApplication::restoreOverrideCursor();
    }
    Current() = cursor;
}

TCursor ScreenCursor() { return Current(); }

}  // namespace fai
