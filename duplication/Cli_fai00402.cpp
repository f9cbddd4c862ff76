#include "Cli_fai00402.h"

#include "AssessedPeriod.h"
#include "AssessedPeriodFields.h"
#include "BusyScope.h"
#include "CheckResultServ.h"
#include "Consiste.h"
#include "DateText.h"
#include "Errors.h"
#include "FocusOnFailure.h"
#include "HeadcountScreen.h"
#include "HostApplication.h"
#include "ScreenControls.h"
#include "TButtonFlat.h"
#include "TDateEditPlus.h"
#include "TNetConnection.h"
#include "TNumberEdit.h"
#include "WorkingContext.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

namespace fai {

QPointer<TfrmDupCom> frmDupCom;
QString stDataFatur;

namespace {

QStringList DupComMessages() {
    return {
        QStringLiteral("Fili_Inf|Filial deve ser informada."),
        QStringLiteral("Fili_NCad|Filial não cadastrada."),
        QStringLiteral("Fili_Resc|Filial com contrato rescindido."),
        QStringLiteral("Cliente_Inf|Cliente deve ser informado."),
        QStringLiteral("Consumidor_Inf|Consumidor deve ser informado."),
        QStringLiteral("Cliente_N_Cad|Cliente não cadastrado."),
        QStringLiteral("ClieCons_<>|Cliente/consumidor de destino deve ser diferente do "
                       "cliente/consumidor de origem."),
        QStringLiteral("Consumidor_N_Cad|Consumidor não cadastrado para o cliente informado."),
        QStringLiteral("Data_Inf|Data inicial deve ser informada."),
        QStringLiteral("Hora_Inf|Hora inicial deve ser informada."),
        QStringLiteral("Nao_Ha_Mov|Não há nenhuma movimentação a ser transferida."),
        QStringLiteral("Confirm|Todas as movimentações informadas serão transferidas. Confirma "
                       "operação?"),
        QStringLiteral("SUCESSO|A transferência de movimentação foi realizada com sucesso."),
        QStringLiteral("VENDA|Venda"),
        QStringLiteral("TRANS|Transferência de Movimentação originada do Cliente "),
        QStringLiteral("DO| e do Consumidor "),
        QStringLiteral("TRANORI|Transferência de Movimentação para o Cliente "),
        QStringLiteral("ECON| e Consumidor "),
        QStringLiteral("PERI|Período Incial deve ser menor ou igual ao Período Final."),
        QStringLiteral("VENDADV|Venda deve ser informada."),
        QStringLiteral("PERINI|Período Inicial deve ser informado."),
        QStringLiteral("PERATE|Período Final deve ser informado."),
        QStringLiteral("Vr_Fatuardos|Número de Comensais Faturados deve ser informado."),
        QStringLiteral("Vr_Previtos|Número de Comensais Previstos deve ser informado."),
        QStringLiteral("Faturados<0|Número Comensais Faturados deve ver maior que zero."),
        QStringLiteral("Previstos<0|Número Comensais Previstos deve ser maior que zero."),
        QStringLiteral("Serv|Serviço"),
        QStringLiteral("Servico_Deve|Serviço deve ser informado."),
        QStringLiteral("Data_Deve|Data de Faturamento do serviço deve ser informada."),
        QStringLiteral("Dt_Inv|Data inicial deve ser menor ou igual a data final."),
        QStringLiteral("DtInicial_Inf|Data inicial deve ser informada."),
        QStringLiteral("DtFinal_Inf|Data final deve ser informada."),
        QStringLiteral("DTINI_DEV|Data Inicial deve ser menor ou igual a data final."),
        QStringLiteral("Conf_Periodo|O período informado é superior a trinta dias.Confirma "
                       "operação?"),
        QStringLiteral("Conf_DtInf|Período informado inferior a data de processamento. Confirma "
                       "operação?"),
        QStringLiteral("Periodo_blq|") + ClosedDayRule::RangeMessage(),
        QStringLiteral("Efet_Apur|") + AssessedPeriod::RangeMessage(),
        // The screen works on the headcount screen, which may have been closed meanwhile or
        // hold a row the clerk is still typing, which a reload would throw away.
        QStringLiteral("EfetFatur_Fech|A tela Efetivos para Faturamento foi fechada. Abra-a "
                       "novamente para duplicar comensais."),
        QStringLiteral("EfetFatur_Edit|Confirme ou cancele o lançamento em edição na tela "
                       "Efetivos para Faturamento antes de duplicar comensais."),
    };
}

// A range longer than thirty days, counted with both ends, is asked about.
constexpr qint64 kDaysWithoutQuestion = 29;

// Both boxes hold real days, the initial one not after the final one.
bool RangeTyped(const TDateEditPlus& initial, const TDateEditPlus& final, QDate& first,
                QDate& last) {
    const std::optional<QDate> from = ParseDateText(initial.Text());
    const std::optional<QDate> to = ParseDateText(final.Text());
    if (!from || !to || !from->isValid() || !to->isValid() || *to < *from) return false;
    first = *from;
    last = *to;
    return true;
}

TNumberEdit* MakeCountEdit(QWidget* parent, const char* name) {
    auto* edit = new TNumberEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->SetDecimals(3);
    edit->SetThousandSeparator(false);
    return edit;
}

TDateEditPlus* MakeDateEdit(QWidget* parent, const char* name) {
    auto* edit = new TDateEditPlus(parent);
    edit->setObjectName(QLatin1String(name));
    QPalette colours = edit->palette();
    colours.setColor(QPalette::Base, QColor(255, 255, 225));  // the info background
    edit->setPalette(colours);
    return edit;
}

QLineEdit* MakeWeekdayBox(QWidget* parent, const char* name, const QStringList& weekdays) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setReadOnly(true);
    edit->setEnabled(false);
    edit->setMinimumWidth(WidthShowing(*edit, weekdays));
    return edit;
}

// The client as the clerk knows it: the registration number with its punctuation.
QString ClientShown(const QString& client) {
    return FormatMaskText(PictPess(client.left(1)), client.mid(1));
}

QString CodeAndName(const QString& code, const QString& name) {
    return name.isEmpty() ? code : QStringLiteral("%1 - %2").arg(code, name);
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, QWidget* buddy) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->setBuddy(buddy);
    return label;
}

}  // namespace

TfrmDupCom::TfrmDupCom(QWidget* parent) : TfrmPadrImportExport(parent) {
    setObjectName(QStringLiteral("frmDupCom"));
    setWindowTitle(QStringLiteral("Duplicação de Comensais"));
    SetScreenCode(QStringLiteral("FAI00402"));
    SetHelpFile(QStringLiteral("RodIVIV.hlp"));
    SetHelpContext(13002900);
    resize(424, 154);
    sbtImportExport->SetHint(QStringLiteral("Duplicação de Comensais"));
    // The run shows no progress.
    pgbProgresso->setMaximum(200);
    pgbProgresso->hide();
    panProgresso->hide();
    msgPadrao.SetEntries(DupComMessages());
    cdsVdCliFat.AddFields(AssessedPeriodFields::Fields());
    BuildDataGroup();
    ConnectHandlers();
    SetTabOrder();
}

void TfrmDupCom::BuildDataGroup() {
    nedComFaturados = MakeCountEdit(grbDadosRel, "nedComFaturados");
    lblComFaturados = MakeLabel(grbDadosRel, "lblComFaturados",
                                QStringLiteral("Numero Comensais Faturados"), nedComFaturados);
    nedComPrevistos = MakeCountEdit(grbDadosRel, "nedComPrevistos");
    lblComPrevistos = MakeLabel(grbDadosRel, "lblComPrevistos",
                                QStringLiteral("Numero Comensais Previstos"), nedComPrevistos);

    lblDestino = new QLabel(grbDadosRel);
    lblDestino->setObjectName(QStringLiteral("lblDestino"));

    grbData = new QGroupBox(QStringLiteral("Data de Faturamento"), grbDadosRel);
    grbData->setObjectName(QStringLiteral("grbData"));
    depInicial = MakeDateEdit(grbData, "depInicial");
    lblInicial = MakeLabel(grbData, "lblInicial", QStringLiteral("Inicial"), depInicial);
    edtInicial = MakeWeekdayBox(grbData, "edtInicial", depInicial->WeekdayNames());
    depFinal = MakeDateEdit(grbData, "depFinal");
    lblFinal = MakeLabel(grbData, "lblFinal", QStringLiteral("Final"), depFinal);
    edtFinal = MakeWeekdayBox(grbData, "edtFinal", depFinal->WeekdayNames());

    auto* dates = new QGridLayout(grbData);
    dates->addWidget(lblInicial, 0, 0);
    dates->addWidget(depInicial, 0, 1);
    dates->addWidget(edtInicial, 0, 2);
    dates->addWidget(lblFinal, 1, 0);
    dates->addWidget(depFinal, 1, 1);
    dates->addWidget(edtFinal, 1, 2);

    auto* data = new QGridLayout(grbDadosRel);
    data->addWidget(lblDestino, 0, 0, 1, 2);
    data->addWidget(lblComFaturados, 1, 0);
    data->addWidget(nedComFaturados, 2, 0);
    data->addWidget(lblComPrevistos, 3, 0);
    data->addWidget(nedComPrevistos, 4, 0);
    data->addWidget(grbData, 1, 1, 4, 1);
}

void TfrmDupCom::ConnectHandlers() {
    depInicial->OnChange = [this] { depInicialChange(); };
    depFinal->OnChange = [this] { depFinalChange(); };
    depInicial->OnExit = [this] { depInicialExit(); };
    depFinal->OnExit = [this] { depFinalExit(); };
    nedComFaturados->OnKeyPress = [this](QChar& key) { nedComFaturadosKeyPress(key); };
    nedComPrevistos->OnKeyPress = [this](QChar& key) { nedComPrevistosKeyPress(key); };
}

void TfrmDupCom::SetTabOrder() {
    setTabOrder(nedComFaturados, nedComPrevistos);
    setTabOrder(nedComPrevistos, depInicial);
    setTabOrder(depInicial, depFinal);
}

void TfrmDupCom::FormCreate() {
    TfrmPadrImportExport::FormCreate();
    stDataFatur.clear();
    const QDate processing = DataProc(FiliProc());
    depInicial->SetDate(processing);
    depFinal->SetDate(processing);
    edtInicial->setText(depInicial->WeekdayName());
    edtFinal->setText(depFinal->WeekdayName());
    ShowTarget();
}

// The headcount screen may have moved to another client or service while this one stayed
// open: coming back to it shows what a run would write now.
void TfrmDupCom::FormActivate() {
    TfrmPadrImportExport::FormActivate();
    ShowTarget();
}

void TfrmDupCom::ShowTarget() {
    const HeadcountScreen* headcount = HeadcountScreen::Open();
    if (!headcount) {
        lblDestino->setText(msgPadrao.Msg(QStringLiteral("EfetFatur_Fech")));
        return;
    }
    const QString client = headcount->Client();
    lblDestino->setText(
        QStringLiteral("Cliente: %1\nServiço: %2    Filial: %3")
            .arg(client.isEmpty() ? QStringLiteral("não informado")
                                  : CodeAndName(ClientShown(client), headcount->ClientName()),
                 CodeAndName(headcount->Service(), headcount->ServiceName()),
                 headcount->Branch()));
}

// ---- the boxes ------------------------------------------------------------------------------

void TfrmDupCom::depInicialChange() { edtInicial->clear(); }

void TfrmDupCom::depFinalChange() { edtFinal->clear(); }

void TfrmDupCom::depInicialExit() { DateExit(depInicial, edtInicial); }

void TfrmDupCom::depFinalExit() { DateExit(depFinal, edtFinal); }

void TfrmDupCom::DateExit(TDateEditPlus* box, QLineEdit* weekday) {
    FocusOnFailure(box, [&] {
        box->CheckValidDate();
        CheckDateOrder();
    });
    weekday->setText(box->WeekdayName());
}

// An empty box is no date to compare: leaving the initial date before the final one is
// typed is no mistake. Both dates start on the processing date, so a range after it is
// refused at its first date until the final one is moved: the message says so.
void TfrmDupCom::CheckDateOrder() const {
    if (depInicial->IsBlank() || depFinal->IsBlank()) return;
    if (depFinal->GetDate() >= depInicial->GetDate()) return;
    MensErro(msgPadrao.Msg(QStringLiteral("DTINI_DEV")) +
             QStringLiteral("\nInicial %1, final %2: para um período depois da data final, "
                            "informe primeiro a data final.")
                 .arg(depInicial->Text(), depFinal->Text()));
}

void TfrmDupCom::nedComFaturadosKeyPress(QChar& key) { LimitCountKey(nedComFaturados, key); }

void TfrmDupCom::nedComPrevistosKeyPress(QChar& key) { LimitCountKey(nedComPrevistos, key); }

void TfrmDupCom::LimitCountKey(const TNumberEdit* box, QChar& key) {
    if (key == QLatin1Char('-')) key = QChar();
    if (!MaxNumber(box->text(), 10, 3, key, box->SelStart(), box->SelLength())) key = QChar();
}

// ---- the checks -----------------------------------------------------------------------------

// Every day of the range is written, so a period anywhere inside it is as assessed as one
// holding either end. Dates not yet typed as a range are left to the date checks that follow.
void TfrmDupCom::Vd_CliFat() {
    QDate first;
    QDate last;
    if (!RangeTyped(*depInicial, *depFinal, first, last)) return;
    cdsVdCliFat.SetFiltered(false);
    cdsVdCliFat.SetFilter([first, last](const RowView& period) {
        return AssessedPeriod{period.AsDateTime(AssessedPeriodFields::DTINIAPURAC),
                              period.AsDateTime(AssessedPeriodFields::DTFIMAPURAC)}
            .Touches(first, last);
    });
    cdsVdCliFat.SetFiltered(true);
    if (!cdsVdCliFat.IsEmpty()) FailAt(depInicial, QStringLiteral("Efet_Apur"));
}

void TfrmDupCom::vd_data(bool bothOrNone) {
    const bool initialBlank = depInicial->IsBlank();
    const bool finalBlank = depFinal->IsBlank();
    if (bothOrNone ? initialBlank && !finalBlank : initialBlank)
        FailAt(depInicial, QStringLiteral("dtinicial_inf"));
    if (bothOrNone ? finalBlank && !initialBlank : finalBlank)
        FailAt(depFinal, QStringLiteral("dtfinal_inf"));
    FocusOnFailure(depInicial, [this] {
        depInicial->CheckValidDate();
        depFinal->CheckValidDate();
        CheckDateOrder();
    });
}

double TfrmDupCom::Count(TNumberEdit* box, const QString& negativeKey) const {
    double count = 0;
    FocusOnFailure(box, [&] {
        count = box->GetNumber();
        if (count < 0) Fail(negativeKey);
    });
    return count;
}

// The whole range is open when its first day is: the days after it are later still.
void TfrmDupCom::CheckRangeOpen(const HeadcountScreen& headcount) const {
    if (headcount.ClosedDays().IsClosed(depInicial->GetDate()))
        FailAt(depInicial, QStringLiteral("Periodo_blq"));
}

HeadcountScreen& TfrmDupCom::OpenHeadcount() const {
    HeadcountScreen* headcount = HeadcountScreen::Open();
    if (!headcount) Fail(QStringLiteral("EfetFatur_Fech"));
    if (headcount->Typing()) Fail(QStringLiteral("EfetFatur_Edit"));
    return *headcount;
}

// ---- the run --------------------------------------------------------------------------------

void TfrmDupCom::sbtImportExportClick() {
    HeadcountScreen& headcount = OpenHeadcount();
    Vd_CliFat();
    vd_data(true);
    const double billed = Count(nedComFaturados, QStringLiteral("Faturados<0"));
    const double forecast = Count(nedComPrevistos, QStringLiteral("Previstos<0"));
    if (depInicial->IsBlank()) FailAt(depInicial, QStringLiteral("DtInicial_Inf"));
    if (depFinal->IsBlank()) FailAt(depFinal, QStringLiteral("DtFinal_Inf"));
    const QDate first = depInicial->GetDate();
    const QDate last = depFinal->GetDate();
    if (first.daysTo(last) > kDaysWithoutQuestion) Confirm(QStringLiteral("Conf_Periodo"));
    CheckRangeOpen(headcount);
    if (DataProc(FiliProc()) > first) Confirm(QStringLiteral("Conf_DtInf"));

    {
        BusyScope busy(HostApplication::Instance().MainForm(), bkFetching);
        CheckResultServ(headcount.Connection().AppServer().UpDateServData(
                            headcount.Branch(), headcount.Client(), headcount.Service(), first,
                            last, forecast, billed),
                        true, 0);
    }
    // The days are written: a reload that fails leaves nothing here to do again.
    try {
        headcount.Reload();
    } catch (...) {
        close();
        throw;
    }
    close();
}

void CriaDupCom(const DataPacket& assessedPeriods) {
    // The screen loads its own copy; the caller's packet stays untouched.
    const DataPacket periods = assessedPeriods;
    frmDupCom = CreateForm<TfrmDupCom>(HostApplication::Instance().MainForm());
    frmDupCom->ShowChild();
    frmDupCom->cdsVdCliFat.SetData(periods);
}

void Cli_fai00402_ShutDown() { stDataFatur.clear(); }

}  // namespace fai
