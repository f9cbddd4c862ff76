#pragma once

#include <QString>

#include <chrono>
#include <functional>
#include <mutex>

namespace fai::appserver {

// One line per call: when, which method, how long it took and how it ended. Written to
// standard error unless a sink is given (the tests read the lines). What a line quotes has
// passed LogSafe: one line each, and no registration number whole.
class CallLog {
  public:
    enum class Outcome { Ok, Refused, Conflict, Failed };
    using Sink = std::function<void(const QString& line)>;

    CallLog();
    explicit CallLog(Sink sink);

    void Record(const char* method, std::chrono::steady_clock::duration took, Outcome outcome,
                const QString& message = QString());
    // Start-up and shut-down notes, in the same stream.
    void Note(const QString& text);

  private:
    void Write(const QString& line);

    Sink sink_;
    std::mutex mutex_;
};

}  // namespace fai::appserver
