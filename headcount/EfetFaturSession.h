#pragma once

#include "ClientDataSet.h"
#include "TADOIBQuery.h"
#include "TNetConnection.h"

#include <QDate>
#include <QString>

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

// The headcount screen's data and its conversation with the application server, without a
// widget: the datasets the grids and the checks read, the branch lookup, the connection, and
// one method per conversation. Each fills the datasets it names; a failure the server
// reports raises EServerError with its message (the screen's result check). What a window
// adds, the focus, the busy indicator and the messages, stays with the window.
class EfetFaturSession {
  public:
    EfetFaturSession();

    // ---- the filter and the load ----------------------------------------------------------
    // GetEfetFatu: the rows, the client's assessed periods and apportionment items.
    void LoadHeadcounts(const LoadFilter& filter);
    // ImportaEfetTrans: the transported counts stored, the rows and periods as they now are.
    void ImportTransported(const LoadFilter& filter);
    void LoadParams(const QString& branch);
    void FindClients(const QString& branch, const QString& registrationNumber,
                     const QString& client);
    void FindServices(const QString& branch, const QString& client, const QString& service);

    // ---- the checks of a row --------------------------------------------------------------
    // Whether the day lies in one of the client's assessed periods; cdsVdCliFat is left
    // filtered on the periods that hold it.
    bool Assessed(const QDate& day);
    // Whether the current headcount row has a date the branch's closed-day rule closes.
    bool RowOnClosedDay() const;
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

    // Empty fields of the headcount row and of the shift row last posted, each followed by
    // "|", sent with the next save.
    QString NullFields;
    QString TurnoFields;
};

}  // namespace fai
