#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QStringList>

namespace fai::appserver {

// The server's configuration file as command-line arguments, so that the file and the
// command line say the same things in the same words. One option a line, "NAME = VALUE" with
// an option's long name; an option without a value takes "sim" or "não". Blank lines and
// lines starting with # are skipped. Throws EError naming the file and line of anything else.
QStringList ConfigFileArguments(const QString& path, const QList<QCommandLineOption>& options);

}  // namespace fai::appserver
