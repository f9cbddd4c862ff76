#include "LayoutMemory.h"

#include <QSettings>

namespace fai {
namespace {

const QString kMainWindow = QStringLiteral("principal");
const QString kScreens = QStringLiteral("telas");

QSettings Store() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("fai-host"),
                     QStringLiteral("disposicao"));
}

QString ScreenKey(const QString& screen, const QString& entry) {
    return kScreens + QLatin1Char('/') + screen + QLatin1Char('/') + entry;
}

}  // namespace

QByteArray LayoutMemory::MainWindowGeometry() {
    return Store().value(kMainWindow + QStringLiteral("/geometria")).toByteArray();
}

QByteArray LayoutMemory::MainWindowState() {
    return Store().value(kMainWindow + QStringLiteral("/estado")).toByteArray();
}

void LayoutMemory::RememberMainWindow(const QByteArray& geometry, const QByteArray& state) {
    QSettings store = Store();
    store.setValue(kMainWindow + QStringLiteral("/geometria"), geometry);
    store.setValue(kMainWindow + QStringLiteral("/estado"), state);
}

QSize LayoutMemory::ScreenSize(const QString& screen) {
    return Store().value(ScreenKey(screen, QStringLiteral("tamanho"))).toSize();
}

void LayoutMemory::RememberScreenSize(const QString& screen, const QSize& size) {
    Store().setValue(ScreenKey(screen, QStringLiteral("tamanho")), size);
}

QHash<QString, int> LayoutMemory::ColumnWidths(const QString& screen, const QString& grid) {
    QSettings store = Store();
    store.beginGroup(ScreenKey(screen, grid));
    QHash<QString, int> widths;
    for (const QString& field : store.childKeys()) {
        bool number = false;
        const int width = store.value(field).toInt(&number);
        if (number && width > 0) widths.insert(field, width);
    }
    return widths;
}

void LayoutMemory::RememberColumnWidths(const QString& screen, const QString& grid,
                                        const QHash<QString, int>& widths) {
    QSettings store = Store();
    store.beginGroup(ScreenKey(screen, grid));
    for (auto width = widths.cbegin(); width != widths.cend(); ++width)
        store.setValue(width.key(), width.value());
}

void LayoutMemory::ForgetScreens() { Store().remove(kScreens); }

}  // namespace fai
