#pragma once

#include "DatabaseConnection.h"

#include <QString>

#include <memory>
#include <unordered_map>

namespace fai::appserver {

// A statement kept prepared on its connection, and whether its rows are being read.
struct CachedStatement {
    std::unique_ptr<PreparedStatement> statement;
    quint64 lastUse = 0;
    bool reading = false;
};

// The statements of one connection by their SQL text, each prepared on its first run and
// kept for the next ones: on PostgreSQL a statement then costs one round trip, on SQLite
// nothing is parsed again. A statement that fails stays prepared: a failure is its run's,
// not its text's. Bounded: to make room, the statement unused the longest is dropped. The
// cache lives and dies with its connection, so a connection opened again starts empty.
class StatementCache {
  public:
    static constexpr std::size_t kCapacity = 128;

    explicit StatementCache(DatabaseConnection& connection) : connection_(connection) {}
    StatementCache(const StatementCache&) = delete;
    StatementCache& operator=(const StatementCache&) = delete;

    // The statement for `sql`, prepared now when it is not kept; throws as Prepare does.
    CachedStatement& For(const QString& sql);
    // Drops every statement without freeing them one by one: for a connection that closes.
    void Clear() { statements_.clear(); }

  private:
    void MakeRoom();

    DatabaseConnection& connection_;
    std::unordered_map<QString, CachedStatement> statements_;
    quint64 uses_ = 0;
};

}  // namespace fai::appserver
