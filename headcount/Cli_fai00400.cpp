#include "Cli_fai00400.h"

#include "BusyIndicator.h"
#include "HostApplication.h"
#include "ScreenCursor.h"
#include "WorkingContext.h"

namespace fai {

QPointer<TfrmEfetFatur> frmEfetFatur;
bool boStCriado = false;
bool boComen = false;
bool boDeleta = false;
bool boTestaPas = true;
qint32 inComen = 0;
qint32 inComen1 = 0;
qint32 inComen2 = 0;
qint32 inComen3 = 0;

namespace {

void DefineApportionmentFields(ClientDataSet& items) {
    const auto hidden = [&items](const FieldDef& def) { items.AddField(def).SetVisible(false); };
    hidden({QStringLiteral("NRITRATEFECLIFAT"), FieldType::Float});
    hidden({QStringLiteral("CDFILIAL"), FieldType::String, 4});
    hidden({QStringLiteral("CDSERVFILI"), FieldType::String, 5});
    hidden({QStringLiteral("CDCLIENTE"), FieldType::String, 21});
    hidden({QStringLiteral("DTFATURAM"), FieldType::DateTime});
    hidden({QStringLiteral("CDSERVPLAN"), FieldType::String, 5});
    hidden({QStringLiteral("NRITEMRATEIOEFET"), FieldType::Float});
    items.AddField({QStringLiteral("CDITEMRATEIOEFET"), FieldType::String, 5})
        .SetDisplayLabel(QStringLiteral("Código"));
    items.AddField({QStringLiteral("NMITEMRATEIOEFET"), FieldType::String, 50})
        .SetDisplayLabel(QStringLiteral("Nome"));
    Field& quantity = items.AddField({QStringLiteral("QTEFETIVOS"), FieldType::Float});
    quantity.SetDisplayLabel(QStringLiteral("Efetivos"));
    quantity.SetVisible(false);
}

}  // namespace

TfrmEfetFatur::TfrmEfetFatur(QWidget* parent) : TfrmPadraoSimples(parent) {
    setObjectName(QStringLiteral("frmEfetFatur"));
    setWindowTitle(QStringLiteral("Efetivos para Faturamento"));
    SetScreenCode(QStringLiteral("FAI00400"));
    SetHelpFile(QStringLiteral("FaiHelp.hlp"));
    SetHelpContext(13300400);
    resize(564, 425);
    netEfetFatur.SetServerName(QStringLiteral("Fai00400.rdmEfetFatur"));
    netEfetFatur.SetThrowException(false);
    netEfetFatur.BeforeConnect = [this](TNetConnection& c) { netEfetFaturBeforeConnect(c); };
    DefineApportionmentFields(cdsItRatEfet);
}

void TfrmEfetFatur::FormCreate() {
    TfrmPadraoSimples::FormCreate();
    ActiveShowAvi(this, bkConnecting);
    try {
        netEfetFatur.Connect();
    } catch (...) {
        DeactiveShowAvi();
        throw;
    }
    DeactiveShowAvi();
}

void TfrmEfetFatur::netEfetFaturBeforeConnect(TNetConnection& connection) {
    connection.SetHost(WebURL());
    connection.SetPort(WebPort());
}

void TfrmEfetFatur::FormClose(TCloseAction& action) {
    boStCriado = false;
    netEfetFatur.Disconnect();
    TfrmPadraoSimples::FormClose(action);
}

void CriaEfetFatur() {
    SetScreenCursor(TCursor::HourGlass);
    if (!boStCriado) {
        frmEfetFatur = CreateForm<TfrmEfetFatur>(HostApplication::Instance().MainForm());
        boStCriado = true;
    }
    frmEfetFatur->ShowChild();
    SetScreenCursor(TCursor::Default);
}

void Cli_fai00400_StartUp() {
    boComen = false;
    boStCriado = false;
    boDeleta = false;
    boTestaPas = true;
}

}  // namespace fai
