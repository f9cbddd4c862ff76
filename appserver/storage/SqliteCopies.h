#pragma once

#include "DatabaseLocation.h"

#include <QString>

namespace fai::appserver {

// Every server on an SQLite file holds this lock, shared, for as long as it serves; a
// restore takes it alone. So a restore never swaps the file under a server, and a server
// never starts on a file being restored.
class SqliteServingLock {
  public:
    enum class Mode { Serving, Restoring };

    // Throws EError saying who holds the file when the lock cannot be had at once.
    SqliteServingLock(const QString& databasePath, Mode mode);
    ~SqliteServingLock();
    SqliteServingLock(const SqliteServingLock&) = delete;
    SqliteServingLock& operator=(const SqliteServingLock&) = delete;

  private:
    int fd_ = -1;
};

// A consistent copy of the database as it is at one moment, written while servers go on
// reading and writing (SQLite's own VACUUM INTO, which also compacts it). The target must
// not exist. Throws EError with the reason.
void BackUpSqlite(const DatabaseLocation& database, const QString& target);

// Puts a copy made by BackUpSqlite in the database's place: refused while a server serves
// the file, and refused when the copy is not a whole SQLite database. The journal files of
// the database it replaces go with it, never applied to the copy. Throws EError with the
// reason.
void RestoreSqlite(const QString& source, const DatabaseLocation& database);

}  // namespace fai::appserver
