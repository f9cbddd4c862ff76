#pragma once

#include <QString>

namespace fai::appserver {

// Passwords as the server keeps them: Argon2id hashes (libsodium) with the limits libsodium
// sets for interactive sign-ins (64 MiB and 2 passes each), so that every guess costs one who
// stole the table as much as a sign-in costs the server. The hash carries its own salt and
// limits; the password itself is never kept, logged or sent back.
class PasswordHash {
  public:
    // Throws EError when the memory for the hash cannot be had.
    static QString Of(const QString& password);
    // False for a wrong password and for a hash that is not one of ours.
    static bool Matches(const QString& hash, const QString& password);
};

}  // namespace fai::appserver
