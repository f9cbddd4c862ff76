#include "Cli_fai00401.h"

#include "Consiste.h"
#include "DialogService.h"
#include "Errors.h"
#include "EventGuard.h"
#include "FocusOnFailure.h"
#include "FocusScope.h"
#include "HostApplication.h"
#include "ListingLookups.h"
#include "PesquisaLista.h"
#include "ScreenControls.h"
#include "ScreenCursor.h"
#include "TBtnPesquisa.h"
#include "TDateEditPlus.h"
#include "TMaskEdit.h"
#include "UserBranches.h"
#include "WorkingContext.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace fai {

QPointer<TfrmRelListComen> frmRelListComen;
bool boidcriado = false;
QString stCdCliente;
QString stCdServico;
QStringList stlCdFilial;
QStringList stlNrPrx;

namespace {

const QString kHint = QStringLiteral("Pesquisar");

TDateEditPlus* MakeDateEdit(QWidget* parent, const char* name) {
    auto* edit = Named(new TDateEditPlus(parent), name);
    edit->setFixedWidth(edit->sizeHint().width());
    return edit;
}

QRadioButton* MakeChoice(QWidget* parent, const char* name, const QString& caption) {
    return Named(new QRadioButton(caption, parent), name);
}

QGroupBox* MakeGroup(QWidget* parent, const char* name, const QString& caption) {
    return Named(new QGroupBox(caption, parent), name);
}

TBtnPesquisa* MakeListButton(QWidget* parent, const char* name, DataSource* source,
                             const QString& emptyError) {
    TBtnPesquisa* button = MakeLookup(parent, name, nullptr, QString(), source, emptyError);
    button->setToolTip(kHint);
    button->setEnabled(false);
    // No code box beside it opens it with F2: the keyboard reaches it with Tab, Space presses it.
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

}  // namespace

TfrmRelListComen::TfrmRelListComen(QWidget* parent) : TfrmDadosGerRel(parent) {
    setObjectName(QStringLiteral("frmRelListComen"));
    setWindowTitle(QStringLiteral("Listagem de Comensais"));
    SetScreenCode(QStringLiteral("Fai00401"));
    SetReportCode(QStringLiteral("Fai004"));
    SetHelpFile(QStringLiteral("FaiHelp.hlp"));
    SetHelpContext(13300401);
    msgPadrao.SetEntries(RelListComenMessages());
    rpddPadrao.SetDefaultDatabaseName(QStringLiteral("ZUVORUDEZ"));
    rpddPadrao.BeforeGetQueryParams = [this](ReportParams& params) {
        rpddPadraoBeforeGetQueryParams(params);
    };
    netComensais.SetServerName(QStringLiteral("Fai00400.rdmEfetFatur"));
    netComensais.SetThrowException(false);
    DefineQryFilial(qryFilial);
    DefineQryServico(qryServico);
    DefineQryCliente(qryCliente);
    dtsFilial.SetDataSet(&qryFilial.DataSet());
    dtsServico.SetDataSet(&qryServico.DataSet());
    dtsCliente.SetDataSet(&qryCliente.DataSet());
    BuildDataGroup();
    ConnectHandlers();
    SetTabOrder();
    // A fixed border: the screen has the size its controls need, at least its design size.
    setFixedSize(sizeHint().expandedTo(QSize(466, 189)));
}

TfrmRelListComen::~TfrmRelListComen() = default;

void TfrmRelListComen::BuildDataGroup() {
    lblFilial = MakeLabel(grbDadosRel, "lblFilial", QStringLiteral("Filial"));
    medCdFilial = MakeCodeBox(grbDadosRel, "medCdFilial", QStringLiteral(">aaaa;0; "), 4, 4);
    QPalette colours = medCdFilial->palette();
    colours.setColor(QPalette::Base, QColor(255, 255, 225));  // the info background
    medCdFilial->setPalette(colours);
    lblFilial->setBuddy(medCdFilial);
    btpFilial = MakeLookup(grbDadosRel, "btpFilial", medCdFilial, QStringLiteral("Filial"),
                           &dtsFilial, QStringLiteral("Não há filial cadastrada."));
    btpFilial->setToolTip(kHint);
    edtNmFilial = MakeNameBox(grbDadosRel, "edtNmFilial");
    edtNmFilial->setEnabled(false);

    grbPeriodo = MakeGroup(grbDadosRel, "grbPeriodo", QStringLiteral(" Período "));
    depDtInicial = MakeDateEdit(grbPeriodo, "depDtInicial");
    lblDtInicial = MakeLabel(grbPeriodo, "lblDtInicial", QStringLiteral("de"));
    lblDtInicial->setBuddy(depDtInicial);
    depDtFinal = MakeDateEdit(grbPeriodo, "depDtFinal");
    lblDtFinal = MakeLabel(grbPeriodo, "lblDtFinal", QStringLiteral("até"));
    lblDtFinal->setBuddy(depDtFinal);
    auto* period = Row({lblDtInicial, depDtInicial, lblDtFinal, depDtFinal}, false);
    grbPeriodo->setLayout(period);

    grbCliente = MakeGroup(grbDadosRel, "grbCliente", QStringLiteral(" Cliente "));
    rdgTodosS = MakeChoice(grbCliente, "rdgTodosS", QStringLiteral("Todos"));
    rdgListaS = MakeChoice(grbCliente, "rdgListaS", QStringLiteral("Lista"));
    btncliente = MakeListButton(grbCliente, "btncliente", &dtsCliente,
                                QStringLiteral("Não há cliente cadastrado."));
    grbCliente->setLayout(Row({rdgTodosS, rdgListaS, btncliente}, false));
    rdgTodosS->setChecked(true);

    grbServico = MakeGroup(grbDadosRel, "grbServico", QStringLiteral(" Serviço "));
    rdgTodos = MakeChoice(grbServico, "rdgTodos", QStringLiteral("Todos"));
    rdgLista = MakeChoice(grbServico, "rdgLista", QStringLiteral("Lista"));
    btnServico = MakeListButton(grbServico, "btnServico", &dtsServico,
                                QStringLiteral("Não há serviço cadastrado."));
    grbServico->setLayout(Row({rdgTodos, rdgLista, btnServico}, false));
    rdgTodos->setChecked(true);

    auto* data = new QGridLayout(grbDadosRel);
    data->addWidget(lblFilial, 0, 0);
    data->addLayout(Row({medCdFilial, btpFilial, edtNmFilial}, true), 0, 1, 1, 2);
    data->addWidget(grbPeriodo, 1, 0, 1, 3);
    data->addWidget(grbCliente, 2, 0, 1, 2);
    data->addWidget(grbServico, 2, 2);
    data->setColumnStretch(2, 1);

    grbPeriodoScope_ = new FocusScope(grbPeriodo);
    grbServicoScope_ = new FocusScope(grbServico);
}

void TfrmRelListComen::ConnectHandlers() {
    netComensais.BeforeConnect = [this](TNetConnection& c) { netComensaisBeforeConnect(c); };
    medCdFilial->OnChange = [this] { medCdFilialChange(); };
    medCdFilial->OnExit = [this] { medCdFilialExit(); };
    // F2 in the branch box opens its list, as on the other screens.
    medCdFilial->OnKeyDown = [this](int& key, Qt::KeyboardModifiers shift) {
        if (key != Qt::Key_F2 || shift != Qt::NoModifier) return;
        key = 0;
        if (btpFilial->isEnabled()) btpFilial->click();
    };
    btpFilial->OnBeforePesq = [this](bool& show) { btpFilialBeforePesq(show); };
    btpFilial->OnAfterPesq = [this] { btpFilialAfterPesq(); };
    grbPeriodoScope_->OnExit = [this] { grbPeriodoExit(); };
    grbServicoScope_->OnExit = [this] { grbServicoExit(); };
    // A choice's handler runs when it becomes the checked one, by a click or by the screen.
    const auto onChosen = [this](QRadioButton* choice, void (TfrmRelListComen::*handler)()) {
        connect(choice, &QRadioButton::toggled, this, [this, handler](bool checked) {
            if (checked) GuardEvent([this, handler] { (this->*handler)(); });
        });
    };
    onChosen(rdgTodosS, &TfrmRelListComen::rdgTodosSClick);
    onChosen(rdgListaS, &TfrmRelListComen::rdgListaSClick);
    onChosen(rdgTodos, &TfrmRelListComen::rdgTodosClick);
    onChosen(rdgLista, &TfrmRelListComen::rdgListaClick);
    btncliente->OnClick = [this] { btnclienteClick(); };
    btnServico->OnClick = [this] { btnServicoClick(); };
    qryCliente.FieldByName(QStringLiteral("NRINSJURCLIE")).OnGetText =
        [this](const Field& sender, QString& text, bool display) {
            qryClienteNRINSJURCLIEGetText(sender, text, display);
        };
}

void TfrmRelListComen::SetTabOrder() {
    setTabOrder(medCdFilial, depDtInicial);
    setTabOrder(depDtInicial, depDtFinal);
    setTabOrder(depDtFinal, rdgTodosS);
    setTabOrder(rdgTodosS, rdgListaS);
    setTabOrder(rdgListaS, btncliente);
    setTabOrder(btncliente, rdgTodos);
    setTabOrder(rdgTodos, rdgLista);
    setTabOrder(rdgLista, btnServico);
}

// ---- the screen's life ----------------------------------------------------------------------

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

// The name shown is the branch table's for the branch the box ends up with (the working
// branch when there is no billing branch); when the shared database cannot be read it stays
// the working context's, and leaving the box or running the report says what is wrong.
void TfrmRelListComen::FormShow() {
    const bool branchFixed = ModuFili();
    for (QWidget* control : std::initializer_list<QWidget*>{lblFilial, medCdFilial, btpFilial})
        control->setEnabled(!branchFixed);
    // The clerk starts where the boxes start, not in the report list at the bottom.
    (branchFixed ? static_cast<QWidget*>(depDtInicial) : medCdFilial)->setFocus();
    medCdFilial->SetText(FiliProcFat());
    edtNmFilial->setText(NomeFiliProcFat());
    if (EmptyString(medCdFilial->Text())) {
        medCdFilial->SetText(FiliProc());
        edtNmFilial->setText(NomeFiliProc());
    }
    if (branchFixed) return;
    try {
        OpenBranchQuery(medCdFilial->Text(), QString());
    } catch (const EError&) {
        return;
    }
    if (!qryFilial.IsEmpty())
        edtNmFilial->setText(qryFilial.FieldByName(QStringLiteral("NMFILIAL")).AsString());
}

void TfrmRelListComen::FormActivate() {
    TfrmDadosGerRel::FormActivate();
    update();
}

// A server out of reach is said and lets the screen close: the server discards data nobody
// deleted once its retention time has passed. A deletion the server refuses keeps the screen
// open with everything as it was, and the next close starts the deletions over; refused
// again, it is given up to the same retention time, saying so, and the screen closes.
void TfrmRelListComen::FormClose(TCloseAction& action) {
    try {
        for (const ListingRegistry::Refusal& again :
             Registry().DeleteAll(netComensais, refusedDeletions_))
            DialogService::Instance().Message(
                DialogKind::Warning,
                Format(msgPadrao.Msg(QStringLiteral("DeletaRel_Desiste")),
                       {again.number, again.branch, again.reason}),
                mbOk);
    } catch (const EConnectionError& unreachable) {
        DialogService::Instance().Error(unreachable.Message());
    }
    boidcriado = false;
    netComensais.Disconnect();
    stCdCliente.clear();
    stCdServico.clear();
    TfrmDadosGerRel::FormClose(action);
}

// ---- the boxes ------------------------------------------------------------------------------

void TfrmRelListComen::medCdFilialChange() { edtNmFilial->clear(); }

void TfrmRelListComen::medCdFilialExit() { vd_filial(false); }

void TfrmRelListComen::btpFilialBeforePesq(bool&) {
    OpenBranchQuery(QString(), QStringLiteral("T"));
}

void TfrmRelListComen::btpFilialAfterPesq() {
    medCdFilial->SetText(qryFilial.FieldByName(QStringLiteral("CDFILIAL")).AsString());
    edtNmFilial->setText(qryFilial.FieldByName(QStringLiteral("NMFILIAL")).AsString());
}

void TfrmRelListComen::grbPeriodoExit() { vd_data(true); }

void TfrmRelListComen::grbServicoExit() { vd_data(true); }

void TfrmRelListComen::Pair(QRadioButton* clicked, QRadioButton* other, TBtnPesquisa* listButton,
                            bool listChosen) {
    other->setChecked(!clicked->isChecked());
    listButton->setEnabled(listChosen);
}

void TfrmRelListComen::rdgTodosSClick() {
    Pair(rdgTodosS, rdgListaS, btncliente, !rdgTodosS->isChecked());
}

void TfrmRelListComen::rdgListaSClick() {
    Pair(rdgListaS, rdgTodosS, btncliente, rdgListaS->isChecked());
}

void TfrmRelListComen::rdgTodosClick() {
    Pair(rdgTodos, rdgLista, btnServico, !rdgTodos->isChecked());
}

void TfrmRelListComen::rdgListaClick() {
    Pair(rdgLista, rdgTodos, btnServico, rdgLista->isChecked());
}

void TfrmRelListComen::btnclienteClick() {
    PickList(qryCliente, dtsCliente, rdgListaS, QStringLiteral("Cliente_nh"),
             QStringLiteral("CDCLIENTE"), QStringLiteral("Cliente"), stCdCliente);
}

void TfrmRelListComen::btnServicoClick() {
    PickList(qryServico, dtsServico, rdgLista, QStringLiteral("Servico_nh"),
             QStringLiteral("CDSERVFILI"), QStringLiteral("Servico"), stCdServico);
}

void TfrmRelListComen::PickList(TADOIBQuery& query, DataSource& source, QRadioButton* listChoice,
                                const QString& emptyKey, const QString& keyField,
                                const QString& titleKey, QString& keys) {
    vd_filial(true);
    query.Close();
    query.ParamByName(QStringLiteral("P_CDFILIAL")).SetAsString(medCdFilial->Text());
    query.Open();
    if (query.IsEmpty()) FailAt(listChoice, emptyKey);
    PesquisaLista(&source, keyField, msgPadrao.Msg(titleKey), false, keys);
}

void TfrmRelListComen::qryClienteNRINSJURCLIEGetText(const Field& sender, QString& text, bool) {
    const ClientDataSet& clients = sender.DataSet();
    text = FormatMaskText(PictPess(clients.FieldByName("IDTPIJURCLIE").AsString()),
                          clients.FieldByName("NRINSJURCLIE").AsString());
}

// ---- the checks -----------------------------------------------------------------------------

void TfrmRelListComen::OpenBranchQuery(const QString& branch, const QString& all) {
    qryFilial.Close();
    qryFilial.ParamByName(QStringLiteral("P_CDFILIAL")).SetAsString(branch);
    qryFilial.ParamByName(QStringLiteral("P_TCDFILIAL")).SetAsString(all);
    qryFilial.Open();
}

void TfrmRelListComen::vd_filial(bool required) {
    FocusOnFailure(medCdFilial, [&] {
        if (EmptyString(medCdFilial->Text())) {
            if (required) Fail(QStringLiteral("Filial_inf"));
            return;
        }
        medCdFilial->SetText(Ajusta(medCdFilial->Text(), 4));
        CheckUserBranch(medCdFilial->Text());
        OpenBranchQuery(medCdFilial->Text(), QString());
        if (qryFilial.IsEmpty()) Fail(QStringLiteral("Filial_nc"));
        edtNmFilial->setText(qryFilial.FieldByName(QStringLiteral("NMFILIAL")).AsString());
    });
}

void TfrmRelListComen::vd_data(bool bothOrNone) {
    const bool initialBlank = depDtInicial->IsBlank();
    const bool finalBlank = depDtFinal->IsBlank();
    if (bothOrNone ? initialBlank && !finalBlank : initialBlank)
        FailAt(depDtInicial, QStringLiteral("dtinicial_inf"));
    if (bothOrNone ? finalBlank && !initialBlank : finalBlank)
        FailAt(depDtFinal, QStringLiteral("dtfinal_inf"));
    FocusOnFailure(depDtInicial, [this] { depDtInicial->CheckValidDate(); });
    FocusOnFailure(depDtFinal, [this] { depDtFinal->CheckValidDate(); });
    if (!initialBlank && !finalBlank && depDtFinal->GetDate() < depDtInicial->GetDate())
        FailAt(depDtInicial, QStringLiteral("DTINI_DEV"));
}

void TfrmRelListComen::valida() {
    if (rdgListaS->isChecked() && stCdCliente.isEmpty())
        FailAt(btncliente, QStringLiteral("cliente_inf"));
    if (rdgLista->isChecked() && stCdServico.isEmpty())
        FailAt(btnServico, QStringLiteral("servico_inf"));
}

// ---- the report ---------------------------------------------------------------------------

ListingRegistry TfrmRelListComen::Registry() { return {stlCdFilial, stlNrPrx}; }

ListingChoice TfrmRelListComen::Choice() const {
    return {medCdFilial->Text(),
            depDtInicial->GetDate(),
            depDtFinal->GetDate(),
            rdgTodosS->isChecked(),
            stCdCliente,
            rdgTodos->isChecked(),
            stCdServico};
}

void TfrmRelListComen::GeraTableApurFat() {
    Registry().Generate(netComensais, medCdFilial->Text(), depDtInicial->GetDate(),
                        depDtFinal->GetDate());
}

void TfrmRelListComen::PrepareRun() {
    vd_filial(true);
    vd_data(false);
    valida();
    GeraTableApurFat();
}

void TfrmRelListComen::sbtPrintClick() {
    PrepareRun();
    TfrmDadosGerRel::sbtPrintClick();
}

void TfrmRelListComen::sbtPreviewClick() {
    PrepareRun();
    TfrmDadosGerRel::sbtPreviewClick();
}

void TfrmRelListComen::sbtReportEditClick() {
    PrepareRun();
    TfrmDadosGerRel::sbtReportEditClick();
}

// Save-as copies a definition: nothing is generated.
void TfrmRelListComen::sbtSalvarComoClick() {
    vd_filial(true);
    vd_data(false);
    valida();
    TfrmDadosGerRel::sbtSalvarComoClick();
}

void TfrmRelListComen::rpddPadraoBeforeGetQueryParams(ReportParams& params) {
    SetListingParams(params, Choice(), Registry().NumberOf(medCdFilial->Text()));
}

// ---- creation ---------------------------------------------------------------------------------

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
