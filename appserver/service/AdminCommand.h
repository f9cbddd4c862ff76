#pragma once

#include "DatabaseLocation.h"

#include <QCommandLineOption>
#include <QString>

#include <functional>

namespace fai::appserver::admin {

// What the server program's administration commands ("user", "history") share: each is named
// by the program's first argument, works on the server's database as --database names it,
// and ends with an exit code.

bool Asked(int argc, char* argv[], const QString& command);

QCommandLineOption DatabaseOption();

// The database an administration command works on. A SQLite file that is not there is a
// mistyped path, not a database to start: throws EError saying so.
DatabaseLocation ExistingDatabase(const QString& text);

// The command's exit code: its own, or 1 when it is refused, the reason on standard error.
int Run(const std::function<int()>& command);

}  // namespace fai::appserver::admin
