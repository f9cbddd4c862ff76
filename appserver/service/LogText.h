#pragma once

#include <QString>

namespace fai::appserver {

// A line as the call log may hold it, whatever the message it carries: no registration
// number whole (a person's is a personal tax number: a run of eleven digits or more, the
// length of the shortest, or a formatted CPF or CNPJ keeps only its last three digits),
// control characters written out so that nothing can forge a line, and a bounded length.
QString LogSafe(const QString& line);

}  // namespace fai::appserver
