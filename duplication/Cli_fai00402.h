#pragma once

#include "ClientDataSet.h"
#include "TfrmPadrImportExport.h"

#include <QPointer>

class QGroupBox;
class QLabel;
class QLineEdit;

namespace fai {

class HeadcountScreen;
class TDateEditPlus;
class TNumberEdit;

// The duplication screen: one pair of diner counts written onto every day of a date range
// for the branch, client and service chosen on the headcount screen, in one server call.
//
// It has no connection and no filter of its own: at the moment of duplicating it asks the
// open headcount screen (HeadcountScreen) for its filter and closed days, calls through its
// connection and makes it reload.
class TfrmDupCom : public TfrmPadrImportExport {
    Q_OBJECT
  public:
    explicit TfrmDupCom(QWidget* parent = nullptr);

    void FormCreate() override;
    void FormActivate() override;
    // The duplication: every check, then the write of the whole range, then the headcount
    // screen reloaded and this screen closed.
    void sbtImportExportClick() override;
    void depInicialChange();
    void depFinalChange();
    void depInicialExit();
    void depFinalExit();
    void nedComFaturadosKeyPress(QChar& key);
    void nedComPrevistosKeyPress(QChar& key);

    // Refuses a range that touches any of the client's assessed billing periods.
    void Vd_CliFat();
    // The two dates: with `bothOrNone` a range may be left wholly empty (the run reports it
    // next), otherwise each date is required; then both must be dates, in order.
    void vd_data(bool bothOrNone);

    // What a run writes: the branch, client and service the headcount screen is on.
    QLabel* lblDestino;
    QGroupBox* grbData;
    QLabel* lblComFaturados;
    TNumberEdit* nedComFaturados;
    QLabel* lblComPrevistos;
    TNumberEdit* nedComPrevistos;
    QLabel* lblInicial;
    TDateEditPlus* depInicial;
    QLineEdit* edtInicial;
    QLabel* lblFinal;
    TDateEditPlus* depFinal;
    QLineEdit* edtFinal;

    // The client's assessed billing periods, handed over by the headcount screen.
    ClientDataSet cdsVdCliFat{QStringLiteral("cdsVdCliFat")};

  private:
    void BuildDataGroup();
    void ConnectHandlers();
    void SetTabOrder();

    // The headcount screen the range is written for, when it can take a duplication now.
    HeadcountScreen& OpenHeadcount() const;
    // Says in lblDestino what a run would write now.
    void ShowTarget();
    // Leaving a date box: a date or nothing, in order with the other date; its weekday shown.
    void DateExit(TDateEditPlus* box, QLineEdit* weekday);
    // Both dates typed, the final one earlier than the initial one: DTINI_DEV.
    void CheckDateOrder() const;
    // The count of a box, refused with the key below zero.
    double Count(TNumberEdit* box, const QString& negativeKey) const;
    // The first day of the range against the headcount screen's closed days.
    void CheckRangeOpen(const HeadcountScreen& headcount) const;
    static void LimitCountKey(const TNumberEdit* box, QChar& key);
};

extern QPointer<TfrmDupCom> frmDupCom;
extern QString stDataFatur;

// Opens a new duplication screen that knows the client's assessed periods.
void CriaDupCom(const DataPacket& assessedPeriods);

void Cli_fai00402_ShutDown();

}  // namespace fai
