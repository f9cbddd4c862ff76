#pragma once

#include <QDate>
#include <QString>

namespace fai {

// A billing period already assessed for a client: its days, both ends included, are closed to
// headcount changes of that client.
struct AssessedPeriod {
    QDate first;
    QDate last;

    bool Holds(const QDate& day) const { return first <= day && day <= last; }
    // Whether any day from `from` to `to` lies in the period.
    bool Touches(const QDate& from, const QDate& to) const { return first <= to && from <= last; }

    // What a change of a day of the period is refused with.
    static QString DayMessage();
    // What a range of days written at once is refused with when it touches a period.
    static QString RangeMessage();
};

}  // namespace fai
