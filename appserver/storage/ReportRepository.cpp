#include "ReportRepository.h"

#include "SqlSession.h"

namespace fai::appserver {

qint64 ReportRepository::NewNumber(const QString& branch) {
    SqlRows rows = session_.Run(
        QStringLiteral("INSERT INTO RELFATURNUM (CDFILIAL) VALUES (?) RETURNING NRAPURACGD"),
        {branch});
    rows.Next();
    return rows.Value(0).toLongLong();
}

std::optional<ReportRepository::Number> ReportRepository::Locked(qint64 number) {
    SqlRows rows = session_.Run(
        QStringLiteral("SELECT CDFILIAL, IDEXCLUIDO FROM RELFATURNUM WHERE NRAPURACGD = ?") +
            session_.Dialect().LockRows(),
        {number});
    if (!rows.Next()) return std::nullopt;
    return Number{rows.Value(0).toString(), rows.Value(1).toString() == QStringLiteral("S")};
}

int ReportRepository::Fill(qint64 number, const QString& branch, const QDate& first,
                           const QDate& last) {
    session_.Run(QStringLiteral("DELETE FROM RELCOMENSAL WHERE NRAPURACGD = ?"), {number});
    return session_.Change(
        QStringLiteral(
            "INSERT INTO RELCOMENSAL (NRAPURACGD, CDFILIAL, CDCLIENTE, NMRAZSOCCLIE, NMFANTCLIE, "
            "CDSERVFILI, NMSERVICO, DTFATURAM, QTCOMEFATU, QTCOMEPREV, VRSERVFATUDT) "
            "SELECT CAST(? AS INTEGER), E.CDFILIAL, E.CDCLIENTE, C.NMRAZSOCCLIE, C.NMFANTCLIE, "
            "E.CDSERVFILI, S.NMSERVICO, E.DTFATURAM, E.QTCOMEFATU, E.QTCOMEPREV, E.VRSERVFATUDT "
            "FROM EFETFATUR E JOIN CLIENTE C ON C.CDCLIENTE = E.CDCLIENTE "
            "JOIN SERVICO S ON S.CDFILIAL = E.CDFILIAL AND S.CDSERVFILI = E.CDSERVFILI "
            "WHERE E.CDFILIAL = ? AND E.DTFATURAM BETWEEN ? AND ?"),
        {number, branch, SqlDate(first), SqlDate(last)});
}

void ReportRepository::Delete(qint64 number) {
    session_.Run(QStringLiteral("DELETE FROM RELCOMENSAL WHERE NRAPURACGD = ?"), {number});
    session_.Run(QStringLiteral("UPDATE RELFATURNUM SET IDEXCLUIDO = 'S' WHERE NRAPURACGD = ?"),
                 {number});
}

}  // namespace fai::appserver
