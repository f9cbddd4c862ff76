#include "CallLog.h"

#include "LogText.h"

#include <QDateTime>

#include <cstdio>

namespace fai::appserver {
namespace {

QString Describe(CallLog::Outcome outcome) {
    switch (outcome) {
        case CallLog::Outcome::Ok:
            return QStringLiteral("ok");
        case CallLog::Outcome::Refused:
            return QStringLiteral("recusado");
        case CallLog::Outcome::Conflict:
            return QStringLiteral("conflito");
        case CallLog::Outcome::Failed:
            return QStringLiteral("falhou");
    }
    return QString();
}

}  // namespace

CallLog::CallLog()
    : sink_([](const QString& line) {
          std::fprintf(stderr, "%s\n", line.toUtf8().constData());
          std::fflush(stderr);
      }) {}

CallLog::CallLog(Sink sink) : sink_(std::move(sink)) {}

void CallLog::Record(const char* method, std::chrono::steady_clock::duration took, Outcome outcome,
                     const QString& message) {
    const double ms = std::chrono::duration<double, std::milli>(took).count();
    QString line = QStringLiteral("%1 %2 ms %3")
                       .arg(QLatin1String(method))
                       .arg(ms, 0, 'f', 1)
                       .arg(Describe(outcome));
    if (!message.isEmpty()) line += QStringLiteral(": ") + message;
    Write(line);
}

void CallLog::Note(const QString& text) { Write(text); }

void CallLog::Write(const QString& line) {
    const QString stamped =
        QDateTime::currentDateTime().toString(Qt::ISODateWithMs) + u' ' + LogSafe(line);
    std::lock_guard lock(mutex_);
    sink_(stamped);
}

}  // namespace fai::appserver
