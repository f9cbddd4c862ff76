#include "Cli_fai00403.h"

#include "Cli_fai00400.h"
#include "HostApplication.h"
#include "ScreenCursor.h"
#include "TDBGrid.h"
#include "TDBText.h"

#include <memory>

namespace fai {

QPointer<TfrmItRatEfet> frmItRatEfet;

TfrmItRatEfet::TfrmItRatEfet(QWidget* parent) : TfrmPadraoGrid(parent) {
    setObjectName(QStringLiteral("frmItRatEfet"));
    setWindowTitle(QStringLiteral("Itens para Rateio de Efetivos"));
    SetScreenCode(QStringLiteral("FAI00403"));
    resize(436, 307);
    TColumn& code = dbgPadrao->Columns().Add(QStringLiteral("CDITEMRATEIOEFET"));
    code.SetReadOnly(true);
    code.SetWidth(53);
    TColumn& name = dbgPadrao->Columns().Add(QStringLiteral("NMITEMRATEIOEFET"));
    name.SetReadOnly(true);
    name.SetWidth(244);
    dbgPadrao->Columns().Add(QStringLiteral("QTEFETIVOS"));
    dbtNome->SetDataField(QStringLiteral("NMITEMRATEIOEFET"));
    if (frmEfetFatur) dtsPadrao.SetDataSet(&frmEfetFatur->cdsItRatEfet);
}

double CriaItRatEfet() {
    SetScreenCursor(TCursor::HourGlass);
    // One dialog per opening; it goes when its modal showing is over.
    std::unique_ptr<TfrmItRatEfet> dialog(
        CreateForm<TfrmItRatEfet>(HostApplication::Instance().MainForm()));
    frmItRatEfet = dialog.get();
    dialog->ShowModal();
    SetScreenCursor(TCursor::Default);

    double total = 0;
    if (ClientDataSet* items = dialog->dtsPadrao.DataSet(); items && items->Active()) {
        for (items->First(); !items->Eof(); items->Next())
            total += items->FieldByName("QTEFETIVOS").AsFloat();
    }
    return total;
}

}  // namespace fai
