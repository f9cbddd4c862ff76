#pragma once

#include <QDate>

namespace fai {

class ClientDataSet;

// The branch's closed days, from its billing parameters (cdsParams): with the processing
// date control in use and closed days blocked, every day before the first open date, the
// processing date less the days that stay open, is closed to headcount changes. The days
// that stay open may be a fraction, so the first open date is kept as a point in time: a
// day is closed when it begins before it.
class ClosedDayRule {
  public:
    // Off when the parameters have no row.
    static ClosedDayRule FromParams(const ClientDataSet& params);

    bool On() const { return on_; }
    bool IsClosed(const QDate& day) const;
    // The first whole day that is open; meaningful only while the rule is on.
    QDate FirstOpenDay() const;

  private:
    ClosedDayRule() = default;

    bool on_ = false;
    double firstOpen_ = 0;  // day serial, with the fraction of the day
};

}  // namespace fai
