// The filter panel of the headcount screen: its boxes, their checks and the load of the
// rows the filter names.
#include "Cli_fai00400.h"

#include "BusyScope.h"
#include "CheckResultServ.h"
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
    cdsEfetFatu.FieldByName("DTFATURAM").SetVisible(byService);
    cdsEfetFatu.FieldByName("CDSERVFILI").SetVisible(!byService);
    cdsEfetFatu.FieldByName("NMSERVICO").SetVisible(!byService);
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
                               : qryFilial.FieldByName(QStringLiteral("NMFILIAL")).AsString());
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
        cdsCliente.SetData(SinglePacket(
            netEfetFatur.AppServer().GetCliente(Branch(), medCdCliente->Text(), Client())));
        if (cdsCliente.IsEmpty()) Fail(QStringLiteral("Cliente_cad"));
    });
    if (blank) {
        edtNmCliente->clear();
        return;
    }
    medCdCliente->SetEditMask(PictPess(cdsCliente.FieldByName("IDTPIJURCLIE").AsString()));
    edtNmCliente->setText(cdsCliente.FieldByName("NMRAZSOCCLIE").AsString());
}

void TfrmEfetFatur::Vd_Servico(bool required) {
    const bool blank = EmptyString(medCdServico->Text());
    FocusOnFailure(medCdServico, [&] {
        if (blank) {
            if (required) Fail(QStringLiteral("Serv_Emp"));
            return;
        }
        medCdServico->SetText(Ajusta(medCdServico->Text(), 5));
        cdsServico.SetData(
            SinglePacket(netEfetFatur.AppServer().GetServico(Branch(), Client(), FilterService())));
        if (cdsServico.IsEmpty()) Fail(QStringLiteral("Serv_cad"));
    });
    edtNmServico->setText(blank ? QString() : cdsServico.FieldByName("NMSERVICO").AsString());
}

// ---- lookups -----------------------------------------------------------------------------

void TfrmEfetFatur::btpFilialBeforePesq(bool&) { OpenBranchQuery(QString(), QStringLiteral("T")); }

void TfrmEfetFatur::btpFilialAfterPesq() {
    medCdFilial->SetText(qryFilial.FieldByName(QStringLiteral("CDFILIAL")).AsString());
    edtNmFilial->setText(qryFilial.FieldByName(QStringLiteral("NMFILIAL")).AsString());
}

void TfrmEfetFatur::btpClienteBeforePesq(bool&) {
    cdsCliente.SetData(
        SinglePacket(netEfetFatur.AppServer().GetCliente(Branch(), QString(), QString())));
}

void TfrmEfetFatur::btpClienteAfterPesq() {
    medCdCliente->SetText(cdsCliente.FieldByName("NRINSJURCLIE").AsString());
    edtNmCliente->setText(cdsCliente.FieldByName("NMRAZSOCCLIE").AsString());
}

void TfrmEfetFatur::btpServicoBeforePesq(bool&) {
    cdsServico.SetData(
        SinglePacket(netEfetFatur.AppServer().GetServico(Branch(), Client(), QString())));
}

void TfrmEfetFatur::btpServicoAfterPesq() {
    medCdServico->SetText(cdsServico.FieldByName("CDSERVFILI").AsString());
    edtNmServico->setText(cdsServico.FieldByName("NMSERVICO").AsString());
}

void TfrmEfetFatur::cdsClienteNRINSJURCLIEGetText(const Field& sender, QString& text, bool) {
    const ClientDataSet& clients = sender.DataSet();
    text = FormatMaskText(PictPess(clients.FieldByName("IDTPIJURCLIE").AsString()),
                          clients.FieldByName("NRINSJURCLIE").AsString());
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
    QString service = byService ? FilterService() : QString();
    QDate date = byService ? ZeroDate() : FilterDate();
    {
        BusyScope busy(this, bkFetching, msgPadrao.Msg(QStringLiteral("get_cdsEfetFatu")));
        LoadHeadcounts(CheckResultServ(netEfetFatur.AppServer().GetEfetFatu(
                                           Client(), Branch(), service, date, byService ? 1 : 0),
                                       true, 0));
        ShowApportionmentButtons();
        if (cdsEfetFatu.IsEmpty()) HabilitaBotoes();
    }
    sbtCadastro->setEnabled(byService);
    dtsPadrao.SetEnabled(true);
    ControlaBotoes();
    VerifEmpty();
}

void TfrmEfetFatur::LoadHeadcounts(const std::vector<DataPacket>& packets) {
    cdsEfetFatu.SetData(packets.at(0));
    cdsVdCliFat.SetData(packets.at(1));
    cdsItemRat.SetData(packets.at(2));
}

void TfrmEfetFatur::ShowApportionmentButtons() {
    const ColumnButtonStyle style =
        cdsItemRat.IsEmpty() ? ColumnButtonStyle::Auto : ColumnButtonStyle::Ellipsis;
    for (TDBGrid* grid : {dbgData, dbgServico}) {
        for (int column = 0; column < grid->Columns().Count(); ++column) {
            if (grid->Columns()[column].FieldName() == QLatin1String("QTCOMEFATU"))
                grid->Columns()[column].SetButtonStyle(style);
        }
    }
}

}  // namespace fai
