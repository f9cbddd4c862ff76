#include "InstallLayout.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace fai {
namespace {

// The installed folder when it is there: a build tree has no such folder beside it.
QString IfInstalled(const QString& relativeToPrefix) {
    const QString folder = QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                           QStringLiteral("/../") + relativeToPrefix);
    return QFileInfo(folder).isDir() ? folder : QString();
}

}  // namespace

QString InstalledDataFolder(const QString& name, const QString& buildTreeFolder) {
    const QString installed =
        IfInstalled(QStringLiteral(FAI_INSTALL_DATADIR) + QLatin1Char('/') + name);
    return installed.isEmpty() ? buildTreeFolder : installed;
}

QString InstalledLibraryFolder() {
    const QString installed = IfInstalled(QStringLiteral(FAI_INSTALL_LIBDIR));
    return installed.isEmpty() ? QCoreApplication::applicationDirPath() : installed;
}

}  // namespace fai
