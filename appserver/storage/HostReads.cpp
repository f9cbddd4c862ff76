#include "HostReads.h"

#include "AppErrors.h"
#include "WireText.h"

#include "PostgresHostReads.h"
#include "SqliteHostReads.h"

namespace fai::appserver {

const QString HostReadSettings::kDefaultReader = QStringLiteral("fai_leitor");

namespace {

constexpr qsizetype kReasonLength = 200;

}  // namespace

void QueryRefused(const QString& reason) {
    QString said = Escaped(reason.trimmed());
    if (said.size() > kReasonLength) said = said.left(kReasonLength) + QStringLiteral("…");
    throw EQueryRefused(QStringLiteral("foi recusada pelo banco de dados: %1").arg(said));
}

void QueryTooLong(std::chrono::milliseconds limit) {
    throw EQueryRefused(QStringLiteral("passou de %1 s sem terminar; restrinja o período ou os "
                                       "filtros.")
                            .arg(std::chrono::duration_cast<std::chrono::seconds>(limit).count()));
}

std::unique_ptr<HostReadConnection> HostReadConnection::Open(const DatabaseLocation& location,
                                                             const HostReadSettings& settings) {
    if (location.kind == DatabaseKind::PostgreSql) return PostgresHostReads(location, settings);
    return SqliteHostReads(location.path, settings);
}

}  // namespace fai::appserver
