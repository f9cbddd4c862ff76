#pragma once

#include <QStringList>

namespace fai::appserver {

// "fai-appserver user ...": the administration of the users from the server's command line,
// on the database the server uses (SQLite or PostgreSQL), while servers run or not.
//
//   user add LOGIN --name NAME (--branches 0001,0002 | --admin)   then asks the password
//   user password LOGIN                                           a new password
//   user branches LOGIN (--branches 0001,0003 | --admin)
//   user disable LOGIN / user enable LOGIN
//   user list
//
// A password is typed twice without echo, or read from standard input with
// --password-stdin. Every change says what it did on standard output.
class UserCommands {
  public:
    static bool Asked(int argc, char* argv[]);
    // The program's exit code: 0 done, 1 refused (the reason on standard error).
    static int Run(const QStringList& arguments);
};

}  // namespace fai::appserver
