#pragma once

#include "DatabaseLocation.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <ostream>
#include <string>

namespace fai::appserver::test {

enum class Backend { Sqlite, Postgres };

// For test names: "SQLite", "PostgreSQL".
std::string BackendName(Backend backend);
void PrintTo(Backend backend, std::ostream* out);

// The PostgreSQL the test environment names in FAI_TEST_PG (a superuser's URL), or empty.
QString PostgresUrl();

// A fresh, empty database of its own for one test: a file in a temporary directory, or a
// uniquely named PostgreSQL database that is dropped afterwards. Tests run in parallel
// never share one.
class TestDatabase {
  public:
    explicit TestDatabase(Backend backend);
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    const DatabaseLocation& Location() const { return location_; }

  private:
    Backend backend_;
    std::unique_ptr<QTemporaryDir> dir_;
    QString postgresName_;
    DatabaseLocation location_;
};

}  // namespace fai::appserver::test
