#pragma once

#include "DatabaseConnection.h"

#include <QSqlDatabase>

#include <memory>

struct sqlite3_stmt;

namespace fai::appserver {

// The sqlite3 connection under an open QSQLITE connection, driven through the sqlite3 C API.
// Its statements must be gone before QtSql closes the connection. Throws EDatabaseError when
// the driver holds no sqlite3 connection.
std::unique_ptr<DatabaseConnection> SqliteClient(const QSqlDatabase& opened);

// The cell of the statement's current row as SQLite holds it (see SqlCell).
SqlCell SqliteCell(sqlite3_stmt* statement, int column);

// Binds the parameter as QtSql would: null, a whole number, a double, bytes or text.
int SqliteBind(sqlite3_stmt* statement, int index, const QVariant& value);

}  // namespace fai::appserver
