#include "RecordedStatements.h"

#include <QSqlRecord>

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
        QSqlQuery query = session.Run(statement.sql, statement.params);
        const int columns = query.record().count();
        while (query.next())
            for (int i = 0; i < columns; ++i) query.value(i);
    }
}

}  // namespace fai::appserver::bench
