#pragma once

#include "AssessedPeriod.h"
#include "ClientDataSet.h"
#include "EfetFaturData.h"
#include "TADOIBQuery.h"
#include "TMessages.h"
#include "TNetConnection.h"

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

namespace fai {

// What a load of the headcount screen reads: the branch and client, and the service (by
// service, one row per date) or the date (by date, one row per service).
struct LoadFilter {
    QString branch;
    QString client;
    QString service;
    QDate date;
    bool byService = false;
};

// The key of one headcount row as the server's methods take it.
struct RowKey {
    QString branch;
    QString client;
    QString service;
    QDate date;
};

// The headcount screen's data, its rules and its conversation with the application server,
// without a widget: the datasets the grids and the checks read, the branch lookup, the
// connection, and one method per conversation. Each fills the datasets it names; a failure
// the server reports raises EServerError with its message (the screen's result check). A
// rule a row breaks is said with the screen's message and puts the focus on the row's field
// to correct, as a field does through its dataset. What a window adds, the focus on its
// controls, the selected column, the busy indicator and its own messages, stays with it.
class EfetFaturSession {
  public:
    EfetFaturSession();

    // ---- the current row ------------------------------------------------------------------
    // The key of the row under the cursor: by service the filter's service and the row's
    // date, by date the row's service and the filter's date.
    RowKey CurrentKey(const LoadFilter& filter) const;
    // The key the current row carries in its own fields, as it was stamped or loaded.
    RowKey KeyOfRow() const;
    // The service record (cdsServico) of the current row's own service, which the row's
    // checks and typing rules read; fetched when the record held is another's.
    const ClientDataSet& RowService(const LoadFilter& filter);
    // No sale value can be typed for the current row's service.
    bool SaleValueFixedForRow(const LoadFilter& filter);
    // Whether the current row's day (by date the filter's) is open; it is while the branch
    // parameters are unknown or the new row has no date yet.
    bool DateOpenForEditing(const LoadFilter& filter) const;

    // ---- the filter and the load ----------------------------------------------------------
    // GetEfetFatu: the rows, the client's assessed periods and apportionment items.
    void LoadHeadcounts(const LoadFilter& filter);
    // ImportaEfetTrans: the transported counts stored, the rows and periods as they now are.
    // Answers what the import did: the days written, those left out and why.
    QString ImportTransported(const LoadFilter& filter);
    void LoadParams(const QString& branch);
    void FindClients(const QString& branch, const QString& registrationNumber,
                     const QString& client);
    void FindServices(const QString& branch, const QString& client, const QString& service);

    // ---- the checks of a row --------------------------------------------------------------
    // A day inside a billing period already assessed for the client is refused; the day
    // tested is kept in CliFatDate.
    void CheckAssessedDay(const LoadFilter& filter);
    // For services compared with the catering planning, the billed count must be the
    // planned one; a planning of 0 (or none) asks nothing.
    void CheckPlanning(const LoadFilter& filter);
    // The current row's date must not be a closed day.
    void CheckDateOpen();
    // By service the date is the row's key: no row is saved without one, and a new row's
    // must be free on the server.
    void CheckRowDate(const LoadFilter& filter);
    // The row takes the filter's branch and client, and its service or date.
    void StampRow(const LoadFilter& filter);
    // Counts and sale value left empty become 0, in column order; the first found below
    // zero is answered, and what follows it is left as typed.
    std::optional<packets::FieldName> ZeroFillCounts();
    // A new row continues the service's days: the day after the last one entered, never a
    // closed day; `processingDate` when the service has none yet.
    void ProposeBillingDate(const LoadFilter& filter, const QString& clientRegistration,
                            const QDate& processingDate);
    // Whether the day lies in one of the client's assessed periods; cdsVdCliFat is left
    // filtered on the periods that hold it.
    bool Assessed(const QDate& day);
    // Whether the row being changed still has the key it was loaded with: its date by
    // service, its service by date.
    bool RowKeepsItsKey(bool byService) const;
    // Whether the current headcount row has a date the branch's closed-day rule closes.
    bool RowOnClosedDay() const;
    // Why headcounts of the day cannot be changed, with what tells the clerk more: the
    // branch's first open day for a closed day, the assessment and its days for an assessed
    // one; empty for a day open to changes (or no day at all).
    QString DayLockReason(const QDate& day) const;
    // The day of a row of the grid: the row's own by service, the filter's by date.
    QDate DayOfRow(const LoadFilter& filter, const RowView& row) const;
    // Whether the server has a row of the key already (cdsValidaData).
    bool BillingDateTaken(const RowKey& key);
    // The latest date stored for the service (cdsVerifData).
    void LoadLatestDate(const QString& branch, const QString& service, const QString& client);
    // The day after the latest date loaded, never a closed day; `processingDate` when the
    // service has none yet.
    QDate NextBillingDate(const QDate& processingDate) const;
    // The planning's diners of the key (cdsFatuPla).
    double PlannedDiners(const RowKey& key);
    // The sum of the key's stored shift quantities (cdsSomaTurno).
    double StoredShiftSum(const RowKey& key);
    // Whether the service is related to the client at the branch (cdsVdServClie).
    bool ServiceOfClient(const QString& branch, const QString& client, const QString& service);
    // The service of the first row whose stored shifts do not add up to its billed count;
    // empty when all agree.
    QString FirstDisagreeingService();

    // ---- shifts and apportionment ---------------------------------------------------------
    void LoadShifts(const RowKey& key);
    // The shift row takes the key of its headcount row.
    void StampShiftRow(const RowKey& key);
    // A shift the server holds no quantity for needs one; once it has one, it may go down
    // to 0 but never below.
    void CheckShiftQuantity();
    // The items' diners above zero, added up, without moving the items' cursor.
    double ApportionedDiners();
    // Every item's diners emptied, each posted as it stands.
    void ClearApportionment();
    // An item's diners checked before its post; a first link of an item to the row gets a
    // temporary negative number, unique over the session's life, and the row's key.
    void CompleteApportionmentItem(const LoadFilter& filter);
    // The apportionment of the key (cdsItRatEfet); on a failure the items held are emptied,
    // so that those of another row are never changed as this one's.
    void LoadApportionment(const RowKey& key);

    // ---- history --------------------------------------------------------------------------
    // GetHistEfetFatu: every change recorded of the key's row, its shifts and apportionment
    // included, newest first.
    DataPacket RowHistory(const RowKey& key);

    // ---- saves ----------------------------------------------------------------------------
    // Whether the headcount rows or the apportionment hold changes not yet saved.
    bool HeadcountsPending() const;
    // UpdEfetFatu with what is pending and NullFields; nothing is merged here.
    void SendHeadcounts();
    // SetTurno with the shift rows' changes and TurnoFields.
    void SendShifts();

    TNetConnection netEfetFatur;
    TADOIBQuery qryFilial{QStringLiteral("qryFilial")};

    ClientDataSet cdsEfetFatu{QStringLiteral("cdsEfetFatu")};
    ClientDataSet cdsCliente{QStringLiteral("cdsCliente")};
    ClientDataSet cdsServico{QStringLiteral("cdsServico")};
    ClientDataSet cdsValidaData{QStringLiteral("cdsValidaData")};
    ClientDataSet cdsVerifServ{QStringLiteral("cdsVerifServ")};
    ClientDataSet cdsVerifData{QStringLiteral("cdsVerifData")};
    ClientDataSet cdsFatuPla{QStringLiteral("cdsFatuPla")};
    ClientDataSet cdsVerifSoma{QStringLiteral("cdsVerifSoma")};
    ClientDataSet cdsVdServClie{QStringLiteral("cdsVdServClie")};
    ClientDataSet cdsSomaTurno{QStringLiteral("cdsSomaTurno")};
    ClientDataSet cdsParams{QStringLiteral("cdsParams")};
    ClientDataSet cdsVdCliFat{QStringLiteral("cdsVdCliFat")};
    ClientDataSet cdsItemRat{QStringLiteral("cdsItemRat")};
    ClientDataSet cdsTurno{QStringLiteral("cdsTurno")};
    // The apportionment items of the current headcount row, edited in place by the
    // apportionment dialog.
    ClientDataSet cdsItRatEfet{QStringLiteral("cdsItRatEfet")};

    // The screen's message table, which the rules refuse with.
    const TMessages msgPadrao{HeadcountMessages()};

    // Empty fields of the headcount row and of the shift row last posted, each followed by
    // "|", sent with the next save.
    QString NullFields;
    QString TurnoFields;
    // The current row key: service code and billing date of the row under the cursor.
    QString CurServ;
    QDate CurDate;
    // The date last tested against the client's assessed billing periods.
    QDate CliFatDate;
    // Apportionment links numbered in this session; new links get temporary negative
    // numbers.
    double ItRatSeq = 0;

  private:
    struct Assessment {
        QString number;
        AssessedPeriod days;
    };
    // Every assessed period of the last load, whatever the filter cdsVdCliFat is left with.
    void TakeAssessments();
    std::vector<Assessment> assessments_;
};

}  // namespace fai
