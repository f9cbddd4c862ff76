#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace fai::appserver {

class SqlSession;

// The sessions of signed-in users (SESSAOUSUARIO), each known by the digest of its token.
class SessionRepository {
  public:
    // A session with what its calls need to know of its user.
    struct Found {
        QString login;
        qint64 lastUse = 0;  // seconds since 1970
        bool userActive = false;
        bool administrator = false;
        QStringList branches;  // the user's branches, in code order
    };

    explicit SessionRepository(SqlSession& session) : session_(session) {}

    void Create(const QString& digest, const QString& login, qint64 when);
    // The session and its user's branches, read together: on PostgreSQL one round trip, which
    // every call of a signed-in user pays.
    std::optional<Found> Find(const QString& digest);
    void Touch(const QString& digest, qint64 when);
    void Delete(const QString& digest);
    void DeleteOfUser(const QString& login);
    // Drops the sessions not used since `before`: they can no longer be used.
    void DeleteUnusedSince(qint64 before);

  private:
    SqlSession& session_;
};

}  // namespace fai::appserver
