#include "RecordedStatements.h"

namespace fai::appserver::bench {

RecordedStatements RecordedStatements::Of(SqlSession& session, const std::function<void()>& work) {
    RecordedStatements recorded;
    session.Observe([&recorded](const SqlSession::Statement& statement) {
        recorded.statements_.push_back(statement);
    });
    try {
        work();
    } catch (...) {
        session.Observe({});
        throw;
    }
    session.Observe({});
    return recorded;
}

void RecordedStatements::Replay(SqlSession& session) const {
    for (const SqlSession::Statement& statement : statements_) {
        if (!statement.prepared) {
            session.Execute(statement.sql);
            continue;
        }
        SqlRows rows = session.Run(statement.sql, statement.params);
        const int columns = rows.Columns();
        while (rows.Next())
            for (int i = 0; i < columns; ++i) rows.Value(i);
    }
}

}  // namespace fai::appserver::bench
