#pragma once

#include "DataPacket.h"
#include "QtPrinters.h"
#include "TestDatabase.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

namespace fai {

// Readable values in failure messages.
void PrintTo(const Value& value, std::ostream* out);

}  // namespace fai

namespace fai::appserver::test {

// A test that runs once on SQLite and once on PostgreSQL, each time on a fresh database.
// Without FAI_TEST_PG the PostgreSQL run is skipped, saying so.
class BackendTest : public ::testing::TestWithParam<Backend> {
  protected:
    void SetUp() override;
    const DatabaseLocation& Location() const { return database_->Location(); }

  private:
    std::unique_ptr<TestDatabase> database_;
};

inline const auto kBackends = ::testing::Values(Backend::Sqlite, Backend::Postgres);

struct BackendNamer {
    std::string operator()(const ::testing::TestParamInfo<Backend>& info) const {
        return BackendName(info.param);
    }
};

// Packet reading for the checks.
Value At(const DataPacket& packet, std::size_t row, const char* field);
std::vector<Value> Column(const DataPacket& packet, const char* field);

}  // namespace fai::appserver::test
