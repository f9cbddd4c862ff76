#include "EfetFaturFilter.h"

#include "Consiste.h"
#include "EfetFaturControls.h"
#include "Errors.h"
#include "FocusOnFailure.h"
#include "ScopedDetach.h"
#include "TBtnPesquisa.h"
#include "TDateEditPlus.h"
#include "TMaskEdit.h"
#include "UserBranches.h"
#include "WorkingContext.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>

namespace fai {

EfetFaturFilter::EfetFaturFilter(EfetFaturControls& controls, EfetFaturSession& session)
    : controls_(controls), session_(session) {}

bool EfetFaturFilter::ByServiceMode() const { return controls_.cbbEfetivos->currentIndex() == 1; }

QString EfetFaturFilter::Branch() const { return controls_.medCdFilial->Text(); }

QString EfetFaturFilter::Client() const {
    return session_.cdsCliente.FieldByName(ClientFields::CDCLIENTE).AsString();
}

QString EfetFaturFilter::Service() const { return controls_.medCdServico->Text(); }

QDate EfetFaturFilter::Date() const { return controls_.depDataFatu->GetDate(); }

LoadFilter EfetFaturFilter::Current() const {
    return {Branch(), Client(), Service(), Date(), ByServiceMode()};
}

// Showing checks nothing: the name is the branch table's when it can be read, and stays the
// working context's when the shared database cannot be reached; leaving the filter panel
// checks the branch and says what is wrong.
void EfetFaturFilter::ShowStartingBranch(bool branchFixed) {
    for (QWidget* control : std::initializer_list<QWidget*>{
             controls_.lblFilial, controls_.medCdFilial, controls_.btpFilial})
        control->setEnabled(!branchFixed);
    controls_.medCdFilial->SetText(FiliProcFat());
    controls_.edtNmFilial->setText(NomeFiliProcFat());
    if (EmptyString(controls_.medCdFilial->Text())) {
        controls_.medCdFilial->SetText(FiliProc());
        controls_.edtNmFilial->setText(NomeFiliProc());
    }
    // The processing date and the name are those of the branch the box ends up with: the
    // working branch when there is no billing branch.
    controls_.depDataFatu->SetDate(DataProc(Branch()));
    if (branchFixed) return;
    try {
        OpenBranchQuery(Branch(), QString());
    } catch (const EError&) {
        return;
    }
    controls_.edtNmFilial->setText(
        session_.qryFilial.FieldByName(BranchFields::NMFILIAL).AsString());
}

void EfetFaturFilter::ShowMode() {
    const bool byService = ByServiceMode();
    controls_.panDesc->setVisible(byService);
    controls_.nbkOpcao->setCurrentIndex(byService ? 1 : 0);
    controls_.nbkGrid->setCurrentIndex(byService ? 1 : 0);
    ClientDataSet& rows = session_.cdsEfetFatu;
    rows.FieldByName(HeadcountFields::DTFATURAM).SetVisible(byService);
    rows.FieldByName(HeadcountFields::CDSERVFILI).SetVisible(!byService);
    rows.FieldByName(HeadcountFields::NMSERVICO).SetVisible(!byService);
    if (byService) session_.cdsServico.Close();
}

// The number is selected without its punctuation, so that what the clerk types replaces
// it (a masked box entered with Tab would only put the cursor at its start); a click then
// puts the cursor where it points, as in any box.
void EfetFaturFilter::EnterClient() {
    TMaskEdit* box = controls_.medCdCliente;
    {
        const ScopedDetach quiet(box->OnChange);
        box->SetEditMask(QString());
        box->SetMaxLength(20);
    }
    box->selectAll();
    session_.cdsCliente.Close();
}

void EfetFaturFilter::LeaveDate() {
    if (!controls_.depDataFatu->IsBlank()) controls_.depDataFatu->CheckValidDate();
}

void EfetFaturFilter::OpenBranchQuery(const QString& branch, const QString& all) {
    TADOIBQuery& branches = session_.qryFilial;
    branches.Close();
    branches.ParamByName(QStringLiteral("P_CDFILIAL")).SetAsString(branch);
    branches.ParamByName(QStringLiteral("P_TCDFILIAL")).SetAsString(all);
    branches.Open();
}

void EfetFaturFilter::CheckBranch(bool required) {
    TMaskEdit* box = controls_.medCdFilial;
    const bool blank = EmptyString(box->Text());
    FocusOnFailure(box, [&] {
        if (blank) {
            if (required) session_.msgPadrao.Fail(QStringLiteral("Filial_Emp"));
            return;
        }
        box->SetText(Ajusta(box->Text(), 4));
        CheckUserBranch(Branch());
        OpenBranchQuery(Branch(), QString());
        if (session_.qryFilial.IsEmpty()) session_.msgPadrao.Fail(QStringLiteral("Filial_Cad"));
    });
    controls_.edtNmFilial->setText(
        blank ? QString() : session_.qryFilial.FieldByName(BranchFields::NMFILIAL).AsString());
}

void EfetFaturFilter::CheckClient(bool required) {
    TMaskEdit* box = controls_.medCdCliente;
    const bool blank = EmptyString(box->Text());
    FocusOnFailure(box, [&] {
        if (blank) {
            if (required) session_.msgPadrao.Fail(QStringLiteral("Cliente_Inv"));
            return;
        }
        QString number = box->Text();
        Ajusta_Inscricao(number);
        box->SetText(number);
        session_.FindClients(Branch(), box->Text(), Client());
        if (session_.cdsCliente.IsEmpty()) session_.msgPadrao.Fail(QStringLiteral("Cliente_cad"));
    });
    if (blank) {
        controls_.edtNmCliente->clear();
        return;
    }
    const ClientDataSet& clients = session_.cdsCliente;
    box->SetEditMask(PictPess(clients.FieldByName(ClientFields::IDTPIJURCLIE).AsString()));
    controls_.edtNmCliente->setText(clients.FieldByName(ClientFields::NMRAZSOCCLIE).AsString());
}

void EfetFaturFilter::CheckService(bool required) {
    TMaskEdit* box = controls_.medCdServico;
    const bool blank = EmptyString(box->Text());
    FocusOnFailure(box, [&] {
        if (blank) {
            if (required) session_.msgPadrao.Fail(QStringLiteral("Serv_Emp"));
            return;
        }
        box->SetText(Ajusta(box->Text(), 5));
        session_.FindServices(Branch(), Client(), Service());
        if (session_.cdsServico.IsEmpty()) session_.msgPadrao.Fail(QStringLiteral("Serv_cad"));
    });
    controls_.edtNmServico->setText(
        blank ? QString() : session_.cdsServico.FieldByName(ServiceFields::NMSERVICO).AsString());
}

void EfetFaturFilter::CheckAll() {
    CheckBranch(true);
    CheckClient(true);
    if (ByServiceMode()) {
        CheckService(true);
        return;
    }
    TDateEditPlus* box = controls_.depDataFatu;
    FocusOnFailure(box, [&] {
        if (box->IsBlank()) session_.msgPadrao.Fail(QStringLiteral("DtFat_inf"));
        box->CheckValidDate();
    });
}

void EfetFaturFilter::SetEnabled(bool enabled, bool branchFixed) {
    if (!branchFixed) {
        SetChildEnabled(controls_.panFiltro, enabled);
    } else {
        for (QWidget* control : std::initializer_list<QWidget*>{
                 controls_.lblCliente, controls_.medCdCliente, controls_.btpCliente,
                 controls_.lblEfetivos, controls_.cbbEfetivos})
            control->setEnabled(enabled);
    }
    for (QWidget* control : std::initializer_list<QWidget*>{
             controls_.lblDtLanc, controls_.depDataFatu, controls_.lblServico,
             controls_.medCdServico, controls_.btpServico})
        control->setEnabled(enabled);
}

// ---- lookups -----------------------------------------------------------------------------

void EfetFaturFilter::ListBranches() { OpenBranchQuery(QString(), QStringLiteral("T")); }

void EfetFaturFilter::TakeBranchPicked() {
    controls_.medCdFilial->SetText(
        session_.qryFilial.FieldByName(BranchFields::CDFILIAL).AsString());
    controls_.edtNmFilial->setText(
        session_.qryFilial.FieldByName(BranchFields::NMFILIAL).AsString());
}

void EfetFaturFilter::ListClients() { session_.FindClients(Branch(), QString(), QString()); }

void EfetFaturFilter::TakeClientPicked() {
    const ClientDataSet& clients = session_.cdsCliente;
    controls_.medCdCliente->SetText(clients.FieldByName(ClientFields::NRINSJURCLIE).AsString());
    controls_.edtNmCliente->setText(clients.FieldByName(ClientFields::NMRAZSOCCLIE).AsString());
}

void EfetFaturFilter::ListServices() { session_.FindServices(Branch(), Client(), QString()); }

void EfetFaturFilter::TakeServicePicked() {
    const ClientDataSet& services = session_.cdsServico;
    controls_.medCdServico->SetText(services.FieldByName(ServiceFields::CDSERVFILI).AsString());
    controls_.edtNmServico->setText(services.FieldByName(ServiceFields::NMSERVICO).AsString());
}

QString EfetFaturFilter::RegistrationText(const Field& sender) {
    const ClientDataSet& clients = sender.DataSet();
    return FormatMaskText(PictPess(clients.FieldByName(ClientFields::IDTPIJURCLIE).AsString()),
                          clients.FieldByName(ClientFields::NRINSJURCLIE).AsString());
}

}  // namespace fai
