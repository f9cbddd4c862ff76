#include "HistoryRepository.h"

#include "ApportionmentFields.h"
#include "HeadcountFields.h"
#include "HistoryFields.h"
#include "ShiftFields.h"
#include "SqlSession.h"

#include <QDateTime>
#include <QStringList>

#include <algorithm>
#include <utility>
#include <vector>

namespace fai::appserver {
namespace {

// The sizes of the history's columns; a longer name the host reports is cut, not refused:
// a save must not fail for the name of the machine it came from.
constexpr int kUserSize = 60;
constexpr int kMachineSize = 64;

const QString kRowField = QString(HeadcountFields::QTCOMEFATU);

QVariant Number(std::optional<double> value) {
    return value ? QVariant(QString::number(*value, 'g', 15)) : QVariant();
}

QVariant Text(const QVariant& value) {
    return value.isNull() || value.toString().isEmpty() ? QVariant() : QVariant(value.toString());
}

QChar Operation(bool before, bool after) { return !before ? u'I' : after ? u'A' : u'E'; }

// A row's fields as the history keeps them, in the headcount packet's order.
std::vector<std::pair<QString, QVariant>> FieldsOf(const std::optional<HeadcountRow>& row) {
    if (!row) return {};
    return {{QString(HeadcountFields::QTCOMEFATU), Number(row->counts.billed)},
            {QString(HeadcountFields::CDFILIFATU), Text(row->billingBranch)},
            {QString(HeadcountFields::NRAPURACFAT), Text(row->assessment)},
            {QString(HeadcountFields::QTCOMEPREV), Number(row->counts.forecast)},
            {QString(HeadcountFields::VRSERVFATUDT), Number(row->counts.value)}};
}

// A field at its default says nothing of a row coming or going; its billed count always does.
bool Telling(const QString& field, const QVariant& value) {
    return field == kRowField || (!value.isNull() && value != QVariant(QStringLiteral("0")));
}

// Records a statement: one statement for a save's few, a duplication's year in a dozen.
constexpr std::size_t kRecordsAStatement = 32;

QString InsertOf(std::size_t records) {
    QStringList rows;
    for (std::size_t i = 0; i < records; ++i)
        rows << QStringLiteral("(?, ?, COALESCE(?, ''), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    return QStringLiteral(
               "INSERT INTO HISTEFETFATUR (DTHRALTERACAO, NMUSUARIO, NMMAQUINA, "
               "NMMETODO, IDOPERACAO, CDFILIAL, CDCLIENTE, CDSERVFILI, DTFATURAM, "
               "CDTURNO, CDITEMRATEIOEFET, NMCAMPO, VLANTERIOR, VLNOVO) VALUES ") +
           rows.join(QStringLiteral(", "));
}

QVariantList KeyParams(const HeadcountKey& key) {
    return {key.branch, key.client, key.service, SqlDate(key.date)};
}

}  // namespace

HistoryRepository::HistoryRepository(SqlSession& session, ChangeAuthor author)
    : session_(session), author_(std::move(author)), moment_(QDateTime::currentMSecsSinceEpoch()) {
    // A caller that reports nobody (another program, an older host) still saves, and the
    // record says so.
    if (author_.user.isEmpty()) author_.user = QStringLiteral("(não identificado)");
    author_.user.truncate(kUserSize);
    author_.machine.truncate(kMachineSize);
}

void HistoryRepository::Row(const HeadcountKey& key, const std::optional<HeadcountRow>& before,
                            const std::optional<HeadcountRow>& after) {
    const QChar operation = Operation(before.has_value(), after.has_value());
    const auto old = FieldsOf(before);
    const auto now = FieldsOf(after);
    for (std::size_t i = 0; i < std::max(old.size(), now.size()); ++i) {
        const QString& field = i < old.size() ? old[i].first : now[i].first;
        const QVariant from = i < old.size() ? old[i].second : QVariant();
        const QVariant to = i < now.size() ? now[i].second : QVariant();
        const bool recorded =
            operation == u'A' ? from != to : Telling(field, from.isNull() ? to : from);
        if (recorded) Record(key, operation, {}, {}, field, from, to);
    }
}

void HistoryRepository::Shift(const HeadcountKey& key, const QString& shift,
                              std::optional<double> before, std::optional<double> after) {
    if (before == after) return;
    Record(key, Operation(before.has_value(), after.has_value()), shift, {},
           QString(ShiftFields::QTCOMFATUTUR), Number(before), Number(after));
}

void HistoryRepository::Link(const HeadcountKey& key, qint64 item,
                             const std::optional<StoredLink>& before,
                             const std::optional<StoredLink>& after) {
    const std::optional<double> from = before ? before->diners : std::nullopt;
    const std::optional<double> to = after ? after->diners : std::nullopt;
    if (before.has_value() == after.has_value() && from == to) return;
    SqlRows code = session_.Run(
        QStringLiteral("SELECT CDITEMRATEIOEFET FROM ITEMRATEIOEFET WHERE NRITEMRATEIOEFET = ?"),
        {item});
    const QVariant itemCode = code.Next() ? code.Value(0) : QVariant(QString::number(item));
    Record(key, Operation(before.has_value(), after.has_value()), {}, itemCode,
           QString(ApportionmentFields::QTEFETIVOS), Number(from), Number(to));
}

void HistoryRepository::RowDependentsRemoved(const HeadcountKey& key) {
    std::vector<std::pair<QVariant, std::optional<double>>> shifts, links;
    for (SqlRows rows = session_.Run(
             QStringLiteral("SELECT CDTURNO, QTCOMFATUTUR FROM EFETTURNO WHERE CDFILIAL = ? AND "
                            "CDCLIENTE = ? AND CDSERVFILI = ? AND DTFATURAMTUR = ? "
                            "ORDER BY CDTURNO"),
             KeyParams(key));
         rows.Next();)
        shifts.emplace_back(rows.Value(0), rows.Value(1).toDouble());
    for (SqlRows rows = session_.Run(
             QStringLiteral("SELECT I.CDITEMRATEIOEFET, L.QTEFETIVOS FROM ITRATEFECLIFAT L "
                            "JOIN ITEMRATEIOEFET I ON I.NRITEMRATEIOEFET = L.NRITEMRATEIOEFET "
                            "WHERE L.CDFILIAL = ? AND L.CDCLIENTE = ? AND L.CDSERVFILI = ? AND "
                            "L.DTFATURAM = ? ORDER BY I.CDITEMRATEIOEFET"),
             KeyParams(key));
         rows.Next();)
        links.emplace_back(rows.Value(0), rows.Value(1).isNull()
                                              ? std::nullopt
                                              : std::optional<double>(rows.Value(1).toDouble()));
    for (const auto& [shift, quantity] : shifts)
        Record(key, u'E', shift, {}, QString(ShiftFields::QTCOMFATUTUR), Number(quantity), {});
    for (const auto& [item, diners] : links)
        Record(key, u'E', {}, item, QString(ApportionmentFields::QTEFETIVOS), Number(diners), {});
}

void HistoryRepository::Record(const HeadcountKey& key, QChar operation, const QVariant& shift,
                               const QVariant& item, const QString& field, const QVariant& before,
                               const QVariant& after) {
    pending_.push_back(
        QVariantList{moment_, author_.user, author_.machine, author_.method, QString(operation)} +
        KeyParams(key) + QVariantList{shift, item, field, before, after});
}

void HistoryRepository::Flush() {
    for (std::size_t from = 0; from < pending_.size(); from += kRecordsAStatement) {
        const std::size_t count = std::min(kRecordsAStatement, pending_.size() - from);
        QVariantList params;
        for (std::size_t i = from; i < from + count; ++i) params += pending_[i];
        session_.WithCommit({InsertOf(count), params});
    }
    pending_.clear();
}

PacketRead HistoryRepository::Of(const Query& query) {
    QString sql = QStringLiteral(
        "SELECT H.DTHRALTERACAO, H.NMUSUARIO, H.NMMAQUINA, H.NMMETODO, H.IDOPERACAO, "
        "H.CDFILIAL, H.CDCLIENTE, H.CDSERVFILI, H.DTFATURAM, H.CDTURNO, T.NMTURNO, "
        "H.CDITEMRATEIOEFET, I.NMITEMRATEIOEFET, H.NMCAMPO, H.VLANTERIOR, H.VLNOVO "
        "FROM HISTEFETFATUR H "
        "LEFT JOIN TURNO T ON T.CDFILIAL = H.CDFILIAL AND T.CDTURNO = H.CDTURNO "
        "LEFT JOIN ITEMRATEIOEFET I ON I.CDCLIENTE = H.CDCLIENTE "
        "AND I.CDITEMRATEIOEFET = H.CDITEMRATEIOEFET "
        "WHERE H.CDFILIAL = ? AND H.DTFATURAM >= ? AND H.DTFATURAM <= ?");
    QVariantList params{query.branch, SqlDate(query.first), SqlDate(query.last)};
    if (!query.client.isEmpty()) {
        sql += QStringLiteral(" AND H.CDCLIENTE = ?");
        params << query.client;
    }
    if (!query.service.isEmpty()) {
        sql += QStringLiteral(" AND H.CDSERVFILI = ?");
        params << query.service;
    }
    // The records of one call keep the order they were written in: a row's fields as the
    // screen lists them.
    sql += query.oldestFirst ? QStringLiteral(" ORDER BY H.DTHRALTERACAO, H.NRHISTEFETFATUR")
                             : QStringLiteral(" ORDER BY H.DTHRALTERACAO DESC, H.NRHISTEFETFATUR");
    sql += QStringLiteral(" LIMIT ? OFFSET ?");
    params << query.size << query.skip;
    return {{sql, params}, &HistoryFields::Fields()};
}

}  // namespace fai::appserver
