#pragma once

#include "ClientDataSet.h"
#include "ServerResult.h"
#include "TrdmEfetFaturDisp.h"

#include <QDate>
#include <QString>

#include <optional>

namespace fai::appserver::test {

// A billing clerk at the headcount screen, reduced to what the screen sends: the rows of a
// filter loaded into the real client datasets, edited and posted, and the saves made as
// the screen makes them (stamped from the filter, empty counts written as 0, the null-field
// list of the posted row, the delta or Null of each dataset, the change log merged after a
// successful save and cancelled after a failed one; the apportionment's change log is
// never merged, as on the screen, and goes again with the next save until it is reloaded).
class Clerk {
  public:
    // What the clerk types into a row; a count left out keeps what the row shows.
    struct Entry {
        std::optional<double> billed, forecast, value;
    };

    Clerk(TrdmEfetFaturDisp& methods, QString branch, QString client);

    // The filter: every service of the client on the day, or every day of one service.
    void OpenDay(const QDate& day);
    void OpenService(const QString& service);
    ClientDataSet& Rows() { return rows_; }
    // Puts the cursor on the row of the service (by day) or of the day (by service).
    bool GoTo(const QString& service);
    bool GoTo(const QDate& day);

    // Edits the current row and saves it.
    ServerResult Edit(const Entry& entry);
    // A new day in by-service mode.
    ServerResult Insert(const QDate& day, const Entry& entry);
    ServerResult Delete();

    // The apportionment of the current row, and the clerk's change to one item's diners
    // (none or 0 clears it); it goes with the next save of the row.
    void LoadApportionment();
    void Apportion(const QString& itemCode, std::optional<double> diners);
    ClientDataSet& Apportionment() { return apportionment_; }

    // The shift breakdown of the current row, and the save of one shift's quantity.
    void OpenShifts();
    ServerResult SetShift(const QString& shift, std::optional<double> quantity);
    ClientDataSet& Shifts() { return shifts_; }

    // The save of whatever is pending, with the null-field list of the last post.
    ServerResult Save();

  private:
    ServerResult Post(const Entry& entry);
    void Load(QString service, QDate date, int mode);

    TrdmEfetFaturDisp& methods_;
    QString branch_, client_;
    bool byDay_ = true;
    QString service_;
    QDate day_;
    ClientDataSet rows_{QStringLiteral("cdsEfetFatu")};
    ClientDataSet apportionment_{QStringLiteral("cdsItRatEfet")};
    ClientDataSet shifts_{QStringLiteral("cdsTurno")};
    QString nullFields_;
    QString shiftFields_;
    int linkSequence_ = 0;
};

}  // namespace fai::appserver::test
