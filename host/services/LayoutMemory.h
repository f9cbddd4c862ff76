#pragma once

#include <QByteArray>
#include <QHash>
#include <QSize>
#include <QString>

namespace fai {

// How the user left the host's windows: the main window's place, each screen's size and the
// widths given to its grids' columns. Kept per user between sessions in a file of its own
// beside the host's settings, so that a screen opens as it was left and "restore the layout"
// can forget the screens without touching the settings.
class LayoutMemory {
  public:
    static QByteArray MainWindowGeometry();
    static QByteArray MainWindowState();
    static void RememberMainWindow(const QByteArray& geometry, const QByteArray& state);

    // An invalid size when the screen's size was never changed by the user.
    static QSize ScreenSize(const QString& screen);
    static void RememberScreenSize(const QString& screen, const QSize& size);

    // Column widths by field name.
    static QHash<QString, int> ColumnWidths(const QString& screen, const QString& grid);
    static void RememberColumnWidths(const QString& screen, const QString& grid,
                                     const QHash<QString, int>& widths);

    // Every screen back to its own layout; the main window keeps its place.
    static void ForgetScreens();
};

}  // namespace fai
