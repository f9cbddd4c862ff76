#pragma once

#include <QDate>
#include <QString>

namespace fai {

// The branch's closed days, from its billing parameters: with the processing date control in
// use and closed days blocked, every day before the first open date, the processing date less
// the days that stay open, is closed to headcount changes. The days that stay open may be a
// fraction, so the first open date is kept as a point in time: a day is closed when it begins
// before it.
class ClosedDayRule {
  public:
    // Off: no day is closed, as for a branch without parameters.
    ClosedDayRule() = default;
    // The flags as the parameters hold them: only an upper-case "S" is yes.
    ClosedDayRule(const QString& useProcessingDate, const QString& blockClosedDays,
                  const QDate& processingDate, double daysOpen);

    bool On() const { return on_; }
    bool IsClosed(const QDate& day) const;
    // The first whole day that is open; meaningful only while the rule is on.
    QDate FirstOpenDay() const;

    // What a change of a closed day is refused with.
    static QString Message();
    // What a range of days written at once is refused with when its first day is closed.
    static QString RangeMessage();

  private:
    bool on_ = false;
    double firstOpen_ = 0;  // Julian day, with the fraction of the day
};

}  // namespace fai
