#pragma once

#include "DatabaseLocation.h"

#include <QString>
#include <QVariantList>

#include <memory>
#include <vector>

namespace fai::appserver::bench {

// One statement of a floor with its parameters.
struct FloorStatement {
    QString sql;  // positional "?" placeholders
    QVariantList params;
};

// The floor of a method on its database: the rows its answer carries read with the fewest
// statements, each prepared once, through the database's own client library (libpq, the
// sqlite3 C API) on a connection of its own, outside QtSql and outside the server. Every
// value of every row is fetched. On PostgreSQL the statements of one call go in one round
// trip (pipeline mode); each runs on its own, with no transaction around it.
class NativeFloor {
  public:
    static std::unique_ptr<NativeFloor> Open(const DatabaseLocation& location);
    virtual ~NativeFloor() = default;

    // Runs the statements; how many rows they read or changed, all told.
    virtual qint64 Run(const std::vector<FloorStatement>& statements) = 0;
};

}  // namespace fai::appserver::bench
