#pragma once

#include "ClientDataSet.h"
#include "TNetConnection.h"
#include "TfrmPadraoSimples.h"

#include <QPointer>

namespace fai {

// The headcount screen, where billing clerks record per branch, client, service and date
// the diners billed and forecast.
class TfrmEfetFatur : public TfrmPadraoSimples {
    Q_OBJECT
  public:
    explicit TfrmEfetFatur(QWidget* parent = nullptr);

    void FormCreate() override;
    void FormClose(TCloseAction& action) override;
    void netEfetFaturBeforeConnect(TNetConnection& connection);

    TNetConnection netEfetFatur;
    // The apportionment items of the current headcount row, edited in place by the
    // apportionment dialog.
    ClientDataSet cdsItRatEfet{QStringLiteral("cdsItRatEfet")};
};

// Module state of the headcount screen. The instance reference empties itself when the
// screen is freed.
extern QPointer<TfrmEfetFatur> frmEfetFatur;
extern bool boStCriado;
extern bool boComen;
extern bool boDeleta;
extern bool boTestaPas;
extern qint32 inComen;
extern qint32 inComen1;
extern qint32 inComen2;
extern qint32 inComen3;

// Creates the headcount screen once, or restores and activates the one there is.
void CriaEfetFatur();

// The unit's start-up values of the module state.
void Cli_fai00400_StartUp();

}  // namespace fai
