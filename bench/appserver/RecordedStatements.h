#pragma once

#include "SqlSession.h"

#include <functional>
#include <vector>

namespace fai::appserver::bench {

// The statements one call of a method sent to the database, with their parameters, recorded
// while the method's own code ran in process: the SQL floor of that call.
class RecordedStatements {
  public:
    static RecordedStatements Of(SqlSession& session, const std::function<void()>& work);

    // Sends the same statements again, as they stand, and reads every value of every row
    // they answer.
    void Replay(SqlSession& session) const;
    std::size_t Count() const { return statements_.size(); }

  private:
    std::vector<SqlSession::Statement> statements_;
};

}  // namespace fai::appserver::bench
