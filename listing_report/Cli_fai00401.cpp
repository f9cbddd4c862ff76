#include "Cli_fai00401.h"

#include "CheckResultServ.h"
#include "HostApplication.h"
#include "ScreenCursor.h"
#include "WorkingContext.h"

#include <memory>

namespace fai {

QPointer<TfrmRelListComen> frmRelListComen;
bool boidcriado = false;
QString stCdCliente;
QString stCdServico;
QStringList stlCdFilial;
QStringList stlNrPrx;

TfrmRelListComen::TfrmRelListComen(QWidget* parent) : TfrmDadosGerRel(parent) {
    setObjectName(QStringLiteral("frmRelListComen"));
    setWindowTitle(QStringLiteral("Listagem de Comensais"));
    SetScreenCode(QStringLiteral("Fai00401"));
    SetReportCode(QStringLiteral("Fai004"));
    resize(466, 189);
    netComensais.SetServerName(QStringLiteral("Fai00400.rdmEfetFatur"));
    netComensais.SetThrowException(false);
    netComensais.BeforeConnect = [this](TNetConnection& c) { netComensaisBeforeConnect(c); };
}

void TfrmRelListComen::FormCreate() {
    TfrmDadosGerRel::FormCreate();
    netComensais.Connect();
    stlCdFilial.clear();
    stlNrPrx.clear();
}

void TfrmRelListComen::netComensaisBeforeConnect(TNetConnection& connection) {
    connection.SetHost(WebURL());
    connection.SetPort(WebPort());
}

void TfrmRelListComen::FormClose(TCloseAction& action) {
    // A failed deletion keeps the screen open with its registry; the next close starts over.
    for (qsizetype i = 0; i < stlCdFilial.size(); ++i)
        CheckResultServ(netComensais.AppServer().DeletaRel(stlCdFilial[i], stlNrPrx[i]), true, 0);
    boidcriado = false;
    netComensais.Disconnect();
    stCdCliente.clear();
    stCdServico.clear();
    TfrmDadosGerRel::FormClose(action);
}

void cria_RelListComen() {
    {
        const HourGlassScope creating;
        if (!boidcriado) {
            frmRelListComen = CreateForm<TfrmRelListComen>(HostApplication::Instance().MainForm());
            boidcriado = true;
        }
        frmRelListComen->setWindowState(Qt::WindowNoState);
    }
    frmRelListComen->ShowModal();
    // A closed report screen lives for one showing: the next call makes a fresh one.
    if (!boidcriado) delete frmRelListComen.data();
}

void Cli_fai00401_StartUp() {
    boidcriado = false;
    stCdCliente.clear();
    stCdServico.clear();
}

void Cli_fai00401_ShutDown() {
    stCdServico.clear();
    stCdCliente.clear();
}

}  // namespace fai
