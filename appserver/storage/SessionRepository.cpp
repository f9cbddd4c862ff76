#include "SessionRepository.h"

#include "SqlSession.h"

#include <vector>

namespace fai::appserver {

void SessionRepository::Create(const QString& digest, const QString& login, qint64 when) {
    session_.Run(QStringLiteral("INSERT INTO SESSAOUSUARIO (DSRESUMOSESSAO, NMLOGIN, DTINICIO, "
                                "DTULTIMOUSO) VALUES (?, ?, ?, ?)"),
                 {digest, login, when, when});
}

std::optional<SessionRepository::Found> SessionRepository::Find(const QString& digest) {
    std::vector<SqlRows> read = session_.RunTogether(
        {{QStringLiteral("SELECT S.NMLOGIN, S.DTULTIMOUSO, U.IDATIVO, U.IDADMINISTRADOR "
                         "FROM SESSAOUSUARIO S JOIN USUARIO U ON U.NMLOGIN = S.NMLOGIN "
                         "WHERE S.DSRESUMOSESSAO = ?"),
          {digest}},
         {QStringLiteral("SELECT F.CDFILIAL FROM USUARIOFILIAL F "
                         "JOIN SESSAOUSUARIO S ON S.NMLOGIN = F.NMLOGIN "
                         "WHERE S.DSRESUMOSESSAO = ? ORDER BY F.CDFILIAL"),
          {digest}}});
    SqlRows& user = read[0];
    if (!user.Next()) return std::nullopt;
    Found found{user.Value(0).toString(),
                user.Value(1).toLongLong(),
                user.Value(2).toString() == u"S",
                user.Value(3).toString() == u"S",
                {}};
    SqlRows& branches = read[1];
    while (branches.Next()) found.branches << branches.Value(0).toString();
    return found;
}

void SessionRepository::Touch(const QString& digest, qint64 when) {
    session_.Run(
        QStringLiteral("UPDATE SESSAOUSUARIO SET DTULTIMOUSO = ? WHERE DSRESUMOSESSAO = ?"),
        {when, digest});
}

void SessionRepository::Delete(const QString& digest) {
    session_.Run(QStringLiteral("DELETE FROM SESSAOUSUARIO WHERE DSRESUMOSESSAO = ?"), {digest});
}

void SessionRepository::DeleteOfUser(const QString& login) {
    session_.Run(QStringLiteral("DELETE FROM SESSAOUSUARIO WHERE NMLOGIN = ?"), {login});
}

void SessionRepository::DeleteUnusedSince(qint64 before) {
    session_.Run(QStringLiteral("DELETE FROM SESSAOUSUARIO WHERE DTULTIMOUSO < ?"), {before});
}

}  // namespace fai::appserver
