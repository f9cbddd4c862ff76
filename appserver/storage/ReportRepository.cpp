#include "ReportRepository.h"

#include "BrazilianText.h"
#include "SqlSession.h"

namespace fai::appserver {

qint64 ReportRepository::NewNumber(const QString& branch, const QDateTime& now) {
    QSqlQuery query = session_.Run(QStringLiteral("INSERT INTO RELFATURNUM (CDFILIAL, DTHRULTUSO) "
                                                  "VALUES (?, ?) RETURNING NRAPURACGD"),
                                   {branch, SqlTimestamp(now)});
    query.next();
    return query.value(0).toLongLong();
}

std::optional<ReportRepository::Number> ReportRepository::Locked(qint64 number) {
    QSqlQuery query = session_.Run(QStringLiteral("SELECT CDFILIAL, IDEXCLUIDO, DTHRDESCARTE "
                                                  "FROM RELFATURNUM WHERE NRAPURACGD = ?") +
                                       session_.Dialect().LockRows(),
                                   {number});
    if (!query.next()) return std::nullopt;
    return Number{query.value(0).toString(), query.value(1).toString() == QStringLiteral("S"),
                  TimestampFromSql(query.value(2))};
}

int ReportRepository::Fill(qint64 number, const QString& branch, const QDate& first,
                           const QDate& last, const QDateTime& now) {
    session_.Run(QStringLiteral("UPDATE RELFATURNUM SET DTHRULTUSO = ? WHERE NRAPURACGD = ?"),
                 {SqlTimestamp(now), number});
    session_.Run(QStringLiteral("DELETE FROM RELCOMENSAL WHERE NRAPURACGD = ?"), {number});
    QString weekday =
        QStringLiteral("CASE %1").arg(session_.Dialect().DayOfWeek(QStringLiteral("E.DTFATURAM")));
    QVariantList params{number};
    for (int day = 0; day < WeekdayNames().size(); ++day) {
        weekday += QStringLiteral(" WHEN %1 THEN ?").arg(day);
        params << WeekdayNames()[day];
    }
    weekday += QStringLiteral(" END");
    params << branch << SqlDate(first) << SqlDate(last);
    return session_.Change(
        QStringLiteral(
            "INSERT INTO RELCOMENSAL (NRAPURACGD, CDFILIAL, CDCLIENTE, NMRAZSOCCLIE, NMFANTCLIE, "
            "CDSERVFILI, NMSERVICO, DTFATURAM, NMDIASEMANA, QTCOMEFATU, QTCOMEPREV, "
            "VRSERVFATUDT) "
            "SELECT CAST(? AS INTEGER), E.CDFILIAL, E.CDCLIENTE, C.NMRAZSOCCLIE, C.NMFANTCLIE, "
            "E.CDSERVFILI, S.NMSERVICO, E.DTFATURAM, %1, E.QTCOMEFATU, E.QTCOMEPREV, "
            "E.VRSERVFATUDT "
            "FROM EFETFATUR E JOIN CLIENTE C ON C.CDCLIENTE = E.CDCLIENTE "
            "JOIN SERVICO S ON S.CDFILIAL = E.CDFILIAL AND S.CDSERVFILI = E.CDSERVFILI "
            "WHERE E.CDFILIAL = ? AND E.DTFATURAM BETWEEN ? AND ?")
            .arg(weekday),
        params);
}

void ReportRepository::Delete(qint64 number) {
    session_.Run(QStringLiteral("DELETE FROM RELCOMENSAL WHERE NRAPURACGD = ?"), {number});
    session_.Run(QStringLiteral("UPDATE RELFATURNUM SET IDEXCLUIDO = 'S' WHERE NRAPURACGD = ?"),
                 {number});
}

// The numbers are locked as they are found: a generation that took one first has renewed its
// use by the time the lock is granted, and PostgreSQL then finds it no longer stale.
int ReportRepository::Discard(const QDateTime& usedBefore, const QDateTime& now) {
    QSqlQuery stale = session_.Run(QStringLiteral("SELECT NRAPURACGD FROM RELFATURNUM "
                                                  "WHERE IDEXCLUIDO = 'N' AND DTHRULTUSO < ?") +
                                       session_.Dialect().LockRows(),
                                   {SqlTimestamp(usedBefore)});
    QVariantList numbers;
    while (stale.next()) numbers << stale.value(0);
    for (const QVariant& number : numbers) {
        session_.Run(QStringLiteral("DELETE FROM RELCOMENSAL WHERE NRAPURACGD = ?"), {number});
        session_.Run(QStringLiteral("UPDATE RELFATURNUM SET IDEXCLUIDO = 'S', DTHRDESCARTE = ? "
                                    "WHERE NRAPURACGD = ?"),
                     {SqlTimestamp(now), number});
    }
    return int(numbers.size());
}

}  // namespace fai::appserver
