#include "HostReadAccess.h"

#include "Errors.h"
#include "HostReadable.h"
#include "SqlSession.h"

namespace fai::appserver {
namespace {

QString ReaderLogin(const HostReadSettings& settings) {
    const QString reader =
        settings.reader.isEmpty() ? HostReadSettings::kDefaultReader : settings.reader;
    return reader.contains(u"://") ? DatabaseLocation::Parse(reader).user : reader;
}

void Grant(SqlSession& session, const QString& reader, const QString& quoted, const QString& table,
           const QString& privilege) {
    SqlRows has = session.Run(QStringLiteral("SELECT has_table_privilege(?, ?, ?)"),
                              {reader, table.toLower(), privilege});
    if (has.Next() && has.Value(0).toBool()) return;
    session.Execute(QStringLiteral("GRANT %1 ON %2 TO %3").arg(privilege, table, quoted));
}

}  // namespace

void AllowHostReads(SqlSession& session, const DatabaseLocation& location,
                    const HostReadSettings& settings) {
    if (location.kind != DatabaseKind::PostgreSql) return;
    // Under the schema's lock: servers starting together would grant the same at once.
    Transaction granting(session, Transaction::Kind::Exclusive);
    const QString reader = ReaderLogin(settings);
    SqlRows role =
        session.Run(QStringLiteral("SELECT rolsuper OR rolbypassrls, rolname = current_user, "
                                   "quote_ident(rolname) FROM pg_roles WHERE rolname = ?"),
                    {reader});
    if (!role.Next())
        throw EError(
            QStringLiteral("O papel %1, com que o servidor lê o banco para os hosts, não existe no "
                           "PostgreSQL. Peça ao administrador do banco: CREATE ROLE %1 LOGIN "
                           "PASSWORD '...'; e deixe a senha no ~/.pgpass do servidor (ou informe "
                           "outro papel com --reader).")
                .arg(reader));
    if (role.Value(0).toBool() || role.Value(1).toBool())
        throw EError(QStringLiteral("O papel %1, com que o servidor lê o banco para os hosts, "
                                    "não pode ser o do próprio servidor, nem superusuário, nem "
                                    "ignorar a segurança por linha (BYPASSRLS): cada host veria "
                                    "as filiais de todos.")
                         .arg(reader));
    const QString quoted = role.Value(2).toString();
    for (const HostReadableTable& table : HostReadableTables())
        Grant(session, reader, quoted, table.name, QStringLiteral("SELECT"));
    Grant(session, reader, quoted, kReadScopeTable, QStringLiteral("SELECT"));
    Grant(session, reader, quoted, kReadScopeTable, QStringLiteral("INSERT"));
    granting.Commit();
}

}  // namespace fai::appserver
