#include "DatabaseLocation.h"

#include "Errors.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>
#include <QUrlQuery>

namespace fai {
namespace {

constexpr int kDefaultPostgresPort = 5432;

[[noreturn]] void Refuse(const QString& text, const QString& why) {
    throw EError(QStringLiteral("Banco de dados \"%1\" inválido: %2.").arg(text, why));
}

DatabaseLocation ParseSqlite(const QString& text) {
    DatabaseLocation location;
    location.kind = DatabaseKind::Sqlite;
    const QString path = text.mid(QStringLiteral("sqlite:").size());
    if (path.isEmpty()) Refuse(text, QStringLiteral("falta o caminho do arquivo"));
    location.path = QFileInfo(path).absoluteFilePath();
    return location;
}

DatabaseLocation ParsePostgres(const QString& text) {
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid()) Refuse(text, url.errorString());
    DatabaseLocation location;
    location.kind = DatabaseKind::PostgreSql;
    location.host = url.host();
    location.port = url.port(kDefaultPostgresPort);
    location.user = url.userName();
    location.password = url.password();
    location.databaseName = url.path().mid(1);
    if (location.host.isEmpty()) Refuse(text, QStringLiteral("falta o servidor"));
    if (location.databaseName.isEmpty() || location.databaseName.contains(u'/'))
        Refuse(text, QStringLiteral("falta o nome do banco"));
    QStringList options;
    for (const auto& [key, value] : QUrlQuery(url).queryItems(QUrl::FullyDecoded))
        options << key + u'=' + value;
    location.connectOptions = options.join(u';');
    return location;
}

}  // namespace

QString DatabaseLocation::DefaultText() {
    return QStringLiteral("sqlite:") +
           QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/fai-appserver/fai00400.sqlite");
}

DatabaseLocation DatabaseLocation::Parse(const QString& text) {
    if (text.startsWith(QStringLiteral("sqlite:"))) return ParseSqlite(text);
    if (text.startsWith(QStringLiteral("postgresql://")) ||
        text.startsWith(QStringLiteral("postgres://")))
        return ParsePostgres(text);
    Refuse(text, QStringLiteral("use sqlite:CAMINHO ou postgresql://usuario@servidor:porta/banco"));
}

QString DatabaseLocation::Describe() const {
    if (kind == DatabaseKind::Sqlite) return QStringLiteral("sqlite:") + path;
    const QString who = user.isEmpty() ? QString() : user + u'@';
    return QStringLiteral("postgresql://%1%2:%3/%4").arg(who, host).arg(port).arg(databaseName);
}

}  // namespace fai
