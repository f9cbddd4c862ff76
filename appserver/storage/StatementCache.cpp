#include "StatementCache.h"

namespace fai::appserver {

CachedStatement& StatementCache::For(const QString& sql) {
    auto found = statements_.find(sql);
    if (found == statements_.end()) {
        std::unique_ptr<PreparedStatement> prepared = connection_.Prepare(sql);
        MakeRoom();
        found = statements_.emplace(sql, CachedStatement{std::move(prepared), 0, false}).first;
    }
    found->second.lastUse = ++uses_;
    return found->second;
}

void StatementCache::MakeRoom() {
    if (statements_.size() < kCapacity) return;
    auto oldest = statements_.end();
    for (auto it = statements_.begin(); it != statements_.end(); ++it)
        if (!it->second.reading &&
            (oldest == statements_.end() || it->second.lastUse < oldest->second.lastUse))
            oldest = it;
    if (oldest == statements_.end()) return;  // all being read: room is made next time
    connection_.Forget(*oldest->second.statement);
    statements_.erase(oldest);
}

}  // namespace fai::appserver
