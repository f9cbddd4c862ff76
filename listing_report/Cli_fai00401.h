#pragma once

#include "TNetConnection.h"
#include "TfrmDadosGerRel.h"

#include <QPointer>
#include <QStringList>

namespace fai {

// The diners listing report screen: branch, period and the client and service selections,
// with the report's working data generated on the server per branch.
class TfrmRelListComen : public TfrmDadosGerRel {
    Q_OBJECT
  public:
    explicit TfrmRelListComen(QWidget* parent = nullptr);

    void FormCreate() override;
    void FormClose(TCloseAction& action) override;
    void netComensaisBeforeConnect(TNetConnection& connection);

    TNetConnection netComensais;
};

extern QPointer<TfrmRelListComen> frmRelListComen;
extern bool boidcriado;
extern QString stCdCliente;
extern QString stCdServico;
// Branches whose report data was generated, and the report number of each, index by index.
extern QStringList stlCdFilial;
extern QStringList stlNrPrx;

// Shows the report screen modally; returns when it is closed.
void cria_RelListComen();

void Cli_fai00401_StartUp();
void Cli_fai00401_ShutDown();

}  // namespace fai
