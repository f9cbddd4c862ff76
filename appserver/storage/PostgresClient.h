#pragma once

#include "DatabaseConnection.h"

#include <QSqlDatabase>

#include <memory>
#include <vector>

namespace fai::appserver {

// The libpq connection under an open QPSQL connection, driven through libpq: a statement is
// prepared once under a name of its own and each run is one round trip, its parameters sent
// apart from the text. Throws EDatabaseError when the driver holds no connection.
std::unique_ptr<DatabaseConnection> PostgresClient(const QSqlDatabase& opened);

// The statement with its positional placeholders numbered as PostgreSQL writes them ("?"
// becomes "$1", "$2"...), quoted texts and names left as they are.
QString NumberedPlaceholders(const QString& sql);

// A parameter in PostgreSQL's text form, as QtSql would have written it.
QByteArray PostgresParameterText(const QVariant& value);

// The parameters of a run in PostgreSQL's text form, as libpq takes them; none for NULL.
class PostgresParameters {
  public:
    explicit PostgresParameters(const QVariantList& params);
    int Count() const { return int(values_.size()); }
    const char* const* Values() const { return values_.data(); }

  private:
    std::vector<QByteArray> texts_;
    std::vector<const char*> values_;
};

}  // namespace fai::appserver
