#pragma once

#include "ClientDataSet.h"
#include "TfrmPadrImportExport.h"

#include <QPointer>

namespace fai {

// The duplication screen: one pair of diner counts written onto every day of a date range
// for the branch, client and service chosen on the headcount screen.
class TfrmDupCom : public TfrmPadrImportExport {
    Q_OBJECT
  public:
    explicit TfrmDupCom(QWidget* parent = nullptr);

    void FormCreate() override;
    void sbtImportExportClick() override;

    // The client's assessed billing periods, handed over by the headcount screen.
    ClientDataSet cdsVdCliFat{QStringLiteral("cdsVdCliFat")};
};

extern QPointer<TfrmDupCom> frmDupCom;
extern QString stDataFatur;

// Opens a new duplication screen that knows the client's assessed periods.
void CriaDupCom(const DataPacket& assessedPeriods);

void Cli_fai00402_ShutDown();

}  // namespace fai
