// The filter panel of the headcount screen: its boxes, their checks and the load of the
// rows the filter names.
#include "Cli_fai00400.h"

#include "BusyScope.h"
#include "Consiste.h"
#include "FocusOnFailure.h"
#include "ScopedDetach.h"
#include "TButtonFlat.h"
#include "TDBGrid.h"
#include "TDateEditPlus.h"
#include "TMaskEdit.h"
#include "UserBranches.h"

#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTabWidget>

namespace fai {

void TfrmEfetFatur::cbbEfetivosChange() {
    const bool byService = ByServiceMode();
    panDesc->setVisible(byService);
    nbkOpcao->setCurrentIndex(byService ? 1 : 0);
    nbkGrid->setCurrentIndex(byService ? 1 : 0);
    cdsEfetFatu.FieldByName(HeadcountFields::DTFATURAM).SetVisible(byService);
    cdsEfetFatu.FieldByName(HeadcountFields::CDSERVFILI).SetVisible(!byService);
    cdsEfetFatu.FieldByName(HeadcountFields::NMSERVICO).SetVisible(!byService);
    if (byService) cdsServico.Close();
}

void TfrmEfetFatur::medCdFilialChange() { edtNmFilial->clear(); }

void TfrmEfetFatur::medCdClienteChange() { edtNmCliente->clear(); }

void TfrmEfetFatur::medCdServicoChange() { edtNmServico->clear(); }

void TfrmEfetFatur::medCdFilialExit() { Vd_Filial(false); }

void TfrmEfetFatur::medCdClienteExit() { Vd_Cliente(false); }

void TfrmEfetFatur::medCdServicoExit() { Vd_Servico(false); }

// The registration number is typed bare; the client must be checked again when the box is
// left, so until then there is no client for the server calls.
void TfrmEfetFatur::medCdClienteEnter() {
    {
        const ScopedDetach quiet(medCdCliente->OnChange);
        medCdCliente->SetEditMask(QString());
        medCdCliente->SetMaxLength(20);
    }
    cdsCliente.Close();
}

void TfrmEfetFatur::depDataFatuExit() {
    if (!depDataFatu->IsBlank()) depDataFatu->CheckValidDate();
}

void TfrmEfetFatur::OpenBranchQuery(const QString& branch, const QString& all) {
    qryFilial.Close();
    qryFilial.ParamByName(QStringLiteral("P_CDFILIAL")).SetAsString(branch);
    qryFilial.ParamByName(QStringLiteral("P_TCDFILIAL")).SetAsString(all);
    qryFilial.Open();
}

void TfrmEfetFatur::Vd_Filial(bool required) {
    const bool blank = EmptyString(medCdFilial->Text());
    FocusOnFailure(medCdFilial, [&] {
        if (blank) {
            if (required) Fail(QStringLiteral("Filial_Emp"));
            return;
        }
        medCdFilial->SetText(Ajusta(medCdFilial->Text(), 4));
        CheckUserBranch(Branch());
        OpenBranchQuery(Branch(), QString());
        if (qryFilial.IsEmpty()) Fail(QStringLiteral("Filial_Cad"));
    });
    edtNmFilial->setText(blank ? QString()
                               : qryFilial.FieldByName(BranchFields::NMFILIAL).AsString());
}

void TfrmEfetFatur::Vd_Cliente(bool required) {
    const bool blank = EmptyString(medCdCliente->Text());
    FocusOnFailure(medCdCliente, [&] {
        if (blank) {
            if (required) Fail(QStringLiteral("Cliente_Inv"));
            return;
        }
        QString number = medCdCliente->Text();
        Ajusta_Inscricao(number);
        medCdCliente->SetText(number);
        session_.FindClients(Branch(), medCdCliente->Text(), Client());
        if (cdsCliente.IsEmpty()) Fail(QStringLiteral("Cliente_cad"));
    });
    if (blank) {
        edtNmCliente->clear();
        return;
    }
    medCdCliente->SetEditMask(
        PictPess(cdsCliente.FieldByName(ClientFields::IDTPIJURCLIE).AsString()));
    edtNmCliente->setText(cdsCliente.FieldByName(ClientFields::NMRAZSOCCLIE).AsString());
}

void TfrmEfetFatur::Vd_Servico(bool required) {
    const bool blank = EmptyString(medCdServico->Text());
    FocusOnFailure(medCdServico, [&] {
        if (blank) {
            if (required) Fail(QStringLiteral("Serv_Emp"));
            return;
        }
        medCdServico->SetText(Ajusta(medCdServico->Text(), 5));
        session_.FindServices(Branch(), Client(), Service());
        if (cdsServico.IsEmpty()) Fail(QStringLiteral("Serv_cad"));
    });
    edtNmServico->setText(blank ? QString()
                                : cdsServico.FieldByName(ServiceFields::NMSERVICO).AsString());
}

// ---- lookups -----------------------------------------------------------------------------

void TfrmEfetFatur::btpFilialBeforePesq(bool&) { OpenBranchQuery(QString(), QStringLiteral("T")); }

void TfrmEfetFatur::btpFilialAfterPesq() {
    medCdFilial->SetText(qryFilial.FieldByName(BranchFields::CDFILIAL).AsString());
    edtNmFilial->setText(qryFilial.FieldByName(BranchFields::NMFILIAL).AsString());
}

void TfrmEfetFatur::btpClienteBeforePesq(bool&) {
    session_.FindClients(Branch(), QString(), QString());
}

void TfrmEfetFatur::btpClienteAfterPesq() {
    medCdCliente->SetText(cdsCliente.FieldByName(ClientFields::NRINSJURCLIE).AsString());
    edtNmCliente->setText(cdsCliente.FieldByName(ClientFields::NMRAZSOCCLIE).AsString());
}

void TfrmEfetFatur::btpServicoBeforePesq(bool&) {
    session_.FindServices(Branch(), Client(), QString());
}

void TfrmEfetFatur::btpServicoAfterPesq() {
    medCdServico->SetText(cdsServico.FieldByName(ServiceFields::CDSERVFILI).AsString());
    edtNmServico->setText(cdsServico.FieldByName(ServiceFields::NMSERVICO).AsString());
}

void TfrmEfetFatur::cdsClienteNRINSJURCLIEGetText(const Field& sender, QString& text, bool) {
    const ClientDataSet& clients = sender.DataSet();
    text = FormatMaskText(PictPess(clients.FieldByName(ClientFields::IDTPIJURCLIE).AsString()),
                          clients.FieldByName(ClientFields::NRINSJURCLIE).AsString());
}

// ---- entering and leaving the panel ------------------------------------------------------

// While the filter is being changed the grids show nothing: their rows belong to the
// filter of the last load.
void TfrmEfetFatur::panFiltroEnter() {
    pgcPadrao->setCurrentWidget(tshEfetivo);
    cdsTurno.Close();
    dtsPadrao.SetEnabled(false);
    ControlaBotoes();
    pgcPadrao->setTabEnabled(pgcPadrao->indexOf(tshTurno), false);
    sbtCadastro->setEnabled(false);
    SyncMenuEntries();
}

void TfrmEfetFatur::panFiltroExit() { ValidateFilterAndLoad(); }

void TfrmEfetFatur::ValidateFilterAndLoad() {
    Vd_Filial(true);
    Vd_Cliente(true);
    const bool byService = ByServiceMode();
    if (byService) {
        Vd_Servico(true);
    } else {
        FocusOnFailure(depDataFatu, [this] {
            if (depDataFatu->IsBlank()) Fail(QStringLiteral("DtFat_inf"));
            depDataFatu->CheckValidDate();
        });
    }
    {
        BusyScope busy(this, bkFetching, msgPadrao.Msg(QStringLiteral("get_cdsEfetFatu")));
        session_.LoadHeadcounts(Filter());
        ShowApportionmentButtons();
        if (cdsEfetFatu.IsEmpty()) HabilitaBotoes();
    }
    sbtCadastro->setEnabled(byService);
    dtsPadrao.SetEnabled(true);
    ControlaBotoes();
    VerifEmpty();
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
