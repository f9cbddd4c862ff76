#pragma once

#include "ClosedDayRule.h"

#include <QString>

namespace fai {

class TNetConnection;

// What another screen of the module may ask of the open headcount screen, which implements
// it: the duplication screen writes a range of days for the filter the headcount screen is
// on, under its closed-day rule and through its connection, and then has it reload.
class HeadcountScreen {
  public:
    // The headcount screen while it is open; null once it is closed.
    static HeadcountScreen* Open();

    // The filter: the branch box, the client accepted, the service box.
    virtual QString Branch() const = 0;
    virtual QString Client() const = 0;
    virtual QString Service() const = 0;
    // The names shown for the client accepted and for the service box; empty when none.
    virtual QString ClientName() const = 0;
    virtual QString ServiceName() const = 0;
    // The closed-day rule of the branch parameters last loaded.
    virtual ClosedDayRule ClosedDays() const = 0;
    // A headcount row or a shift row is being typed: a reload would throw it away.
    virtual bool Typing() const = 0;
    virtual TNetConnection& Connection() = 0;
    // Loads the rows of the filter again, as verifying does.
    virtual void Reload() = 0;

  protected:
    ~HeadcountScreen() = default;
};

}  // namespace fai
