#pragma once

#include <QString>

#include <exception>
#include <stdexcept>

namespace fai {

// Abandons the running operation without a message: a refused insert, a swallowed key, or
// a failure whose message was already shown.
class EAbort : public std::exception {
  public:
    const char* what() const noexcept override { return "operation aborted"; }
};

// A failure the user must read. The event-boundary guard shows Message() and restores focus.
class EError : public std::runtime_error {
  public:
    explicit EError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& Message() const { return message_; }

  private:
    QString message_;
};

}  // namespace fai
