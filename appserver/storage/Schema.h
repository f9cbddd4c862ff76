#pragma once

namespace fai::appserver {

class SqlSession;

// The tables of the module and the record of which version of them a database holds.
// A new version is one more step at the end of the list in Schema.cpp; a database is
// brought up to date step by step, each step with its version in one transaction, so that
// a failed step leaves the database at the version before it.
class Schema {
  public:
    static int CurrentVersion();

    // Creates the tables of a new database or upgrades an older one. Throws ESchemaTooNew
    // for a database made by a newer server, EDatabaseError when a statement fails.
    static void Upgrade(SqlSession& session);
    // Only as far as `toVersion`: how an older server left the database.
    static void Upgrade(SqlSession& session, int toVersion);

    // The version recorded in the database; 0 for a database without our tables.
    static int VersionOf(SqlSession& session);
};

}  // namespace fai::appserver
