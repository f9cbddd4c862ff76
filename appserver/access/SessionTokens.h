#pragma once

#include <QString>

namespace fai::appserver {

// The token a session is known by: 256 random bits, written in base64url, handed to the
// client once. The database keeps only its SHA-256 digest, so that reading the sessions
// table gives no one a session.
class SessionTokens {
  public:
    static QString New();
    static QString Digest(const QString& token);
};

}  // namespace fai::appserver
