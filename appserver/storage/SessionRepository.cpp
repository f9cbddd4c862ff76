#include "SessionRepository.h"

#include "SqlSession.h"

namespace fai::appserver {

void SessionRepository::Create(const QString& digest, const QString& login, qint64 when) {
    session_.Run(QStringLiteral("INSERT INTO SESSAOUSUARIO (DSRESUMOSESSAO, NMLOGIN, DTINICIO, "
                                "DTULTIMOUSO) VALUES (?, ?, ?, ?)"),
                 {digest, login, when, when});
}

std::optional<SessionRepository::Found> SessionRepository::Find(const QString& digest) {
    QSqlQuery query =
        session_.Run(QStringLiteral("SELECT S.NMLOGIN, S.DTULTIMOUSO, U.IDATIVO, U.IDADMINISTRADOR "
                                    "FROM SESSAOUSUARIO S JOIN USUARIO U ON U.NMLOGIN = S.NMLOGIN "
                                    "WHERE S.DSRESUMOSESSAO = ?"),
                     {digest});
    if (!query.next()) return std::nullopt;
    return Found{query.value(0).toString(), query.value(1).toLongLong(),
                 query.value(2).toString() == u"S", query.value(3).toString() == u"S"};
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
