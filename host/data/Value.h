#pragma once

#include <QDate>
#include <QString>

#include <variant>

namespace fai {

// The type of a persistent field; the order of the enumerators is part of the wire format.
enum class FieldType { String = 0, Float = 1, DateTime = 2 };

// The type's name in messages to the user: "texto", "número", "data".
QString FieldTypeName(FieldType type);

// Dates travel and compute as day numbers of one serial: day 0 is 30 December 1899, the
// "zero date" that stands for no date. Only the day is kept; there is no time of day.
QDate ZeroDate();
qint64 ToDaySerial(const QDate& date);
QDate FromDaySerial(qint64 serial);

// One cell of a dataset or data packet: null, a text, a double or a day.
class Value {
  public:
    Value() = default;
    Value(const QString& text) : data_(text) {}
    Value(const char* text) : data_(QString::fromUtf8(text)) {}
    Value(double number) : data_(number) {}
    Value(const QDate& day) : data_(day) {}

    bool IsNull() const { return std::holds_alternative<std::monostate>(data_); }
    bool IsText() const { return std::holds_alternative<QString>(data_); }
    bool IsNumber() const { return std::holds_alternative<double>(data_); }
    bool IsDate() const { return std::holds_alternative<QDate>(data_); }

    // Callers check the kind first; reading the wrong kind is a programming error.
    const QString& Text() const { return std::get<QString>(data_); }
    double Number() const { return std::get<double>(data_); }
    const QDate& Date() const { return std::get<QDate>(data_); }

    // Exact equality: same kind and same content, doubles compared bit for bit, so that a
    // value that went through a packet compares equal to the one that was sent.
    friend bool operator==(const Value& a, const Value& b);

  private:
    std::variant<std::monostate, QString, double, QDate> data_;
};

}  // namespace fai
