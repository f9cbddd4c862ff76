// The headcount screen's filter panel as its handlers see it, and the load of the rows the
// filter names.
#include "Cli_fai00400.h"

#include "BusyScope.h"
#include "TButtonFlat.h"
#include "TDBGrid.h"

#include <QAction>
#include <QLineEdit>
#include <QTabWidget>

namespace fai {

void TfrmEfetFatur::cbbEfetivosChange() { filter_.ShowMode(); }

void TfrmEfetFatur::medCdFilialChange() { edtNmFilial->clear(); }

void TfrmEfetFatur::medCdClienteChange() { edtNmCliente->clear(); }

void TfrmEfetFatur::medCdServicoChange() { edtNmServico->clear(); }

void TfrmEfetFatur::medCdFilialExit() { Vd_Filial(false); }

void TfrmEfetFatur::medCdClienteExit() { Vd_Cliente(false); }

void TfrmEfetFatur::medCdServicoExit() { Vd_Servico(false); }

void TfrmEfetFatur::medCdClienteEnter() { filter_.EnterClient(); }

void TfrmEfetFatur::depDataFatuExit() { filter_.LeaveDate(); }

void TfrmEfetFatur::Vd_Filial(bool required) { filter_.CheckBranch(required); }

void TfrmEfetFatur::Vd_Cliente(bool required) { filter_.CheckClient(required); }

void TfrmEfetFatur::Vd_Servico(bool required) { filter_.CheckService(required); }

void TfrmEfetFatur::btpFilialBeforePesq(bool&) { filter_.ListBranches(); }

void TfrmEfetFatur::btpFilialAfterPesq() { filter_.TakeBranchPicked(); }

void TfrmEfetFatur::btpClienteBeforePesq(bool&) { filter_.ListClients(); }

void TfrmEfetFatur::btpClienteAfterPesq() { filter_.TakeClientPicked(); }

void TfrmEfetFatur::btpServicoBeforePesq(bool&) { filter_.ListServices(); }

void TfrmEfetFatur::btpServicoAfterPesq() { filter_.TakeServicePicked(); }

void TfrmEfetFatur::cdsClienteNRINSJURCLIEGetText(const Field& sender, QString& text, bool) {
    text = EfetFaturFilter::RegistrationText(sender);
}

// While the filter is being changed the grids show nothing: their rows belong to the
// filter of the last load.
void TfrmEfetFatur::panFiltroEnter() {
    pgcPadrao->setCurrentWidget(tshEfetivo);
    cdsTurno.Close();
    dtsPadrao.SetEnabled(false);
    ControlaBotoes();
    pgcPadrao->setTabEnabled(pgcPadrao->indexOf(tshTurno), false);
    mnuTurno->setEnabled(false);
    sbtCadastro->setEnabled(false);
    SyncMenuEntries();
}

void TfrmEfetFatur::panFiltroExit() { ValidateFilterAndLoad(); }

void TfrmEfetFatur::ValidateFilterAndLoad() {
    filter_.CheckAll();
    {
        BusyScope busy(this, bkFetching, msgPadrao.Msg(QStringLiteral("get_cdsEfetFatu")));
        session_.LoadHeadcounts(Filter());
        ShowLatestDays();
        ShowApportionmentButtons();
        if (cdsEfetFatu.IsEmpty()) HabilitaBotoes();
    }
    sbtCadastro->setEnabled(ByServiceMode());
    dtsPadrao.SetEnabled(true);
    ControlaBotoes();
    VerifEmpty();
}

void TfrmEfetFatur::ShowLatestDays() {
    if (ByServiceMode()) cdsEfetFatu.Last();
}

void TfrmEfetFatur::ShowApportionmentButtons() {
    const ColumnButtonStyle style =
        cdsItemRat.IsEmpty() ? ColumnButtonStyle::Auto : ColumnButtonStyle::Ellipsis;
    for (TDBGrid* grid : {dbgData, dbgServico}) {
        for (int column = 0; column < grid->Columns().Count(); ++column) {
            if (grid->Columns()[column].FieldName() == HeadcountFields::QTCOMEFATU)
                grid->Columns()[column].SetButtonStyle(style);
        }
    }
}

}  // namespace fai
