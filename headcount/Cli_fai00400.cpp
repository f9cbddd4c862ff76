#include "Cli_fai00400.h"

#include "BusyScope.h"
#include "Consiste.h"
#include "DialogService.h"
#include "Errors.h"
#include "FocusScope.h"
#include "HostApplication.h"
#include "ScreenCursor.h"
#include "TBtnPesquisa.h"
#include "TDBGrid.h"
#include "TDateEditPlus.h"
#include "TMaskEdit.h"
#include "WorkingContext.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabWidget>

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

TfrmEfetFatur::TfrmEfetFatur(QWidget* parent) : TfrmPadraoSimples(parent) {
    setObjectName(QStringLiteral("frmEfetFatur"));
    setWindowTitle(QStringLiteral("Efetivos para Faturamento"));
    SetScreenCode(QStringLiteral("FAI00400"));
    SetHelpFile(QStringLiteral("FaiHelp.hlp"));
    SetHelpContext(13300400);
    resize(564, 425);
    msgPadrao.SetEntries(HeadcountMessages());
    dtsPadrao.SetDataSet(&cdsEfetFatu);
    BuildControls(*this, session_);
    ConnectHandlers();
}

// The focus and page handlers reach members that are gone once this destructor has run,
// before the widgets' own teardown moves the focus.
TfrmEfetFatur::~TfrmEfetFatur() {
    delete panFiltroScope_;
    delete pgcPadraoScope_;
    delete tshEfetivoScope_;
    pgcPadrao->disconnect(this);
    cbbEfetivos->disconnect(this);
}

void TfrmEfetFatur::FormCreate() {
    TfrmPadraoSimples::FormCreate();
    {
        BusyScope busy(this, bkConnecting);
        netEfetFatur.Connect();
    }
    {
        const QSignalBlocker quiet(cbbEfetivos);
        cbbEfetivos->setCurrentIndex(0);
    }
    nbkOpcao->setCurrentIndex(0);
    nbkGrid->setCurrentIndex(0);
    cdsEfetFatu.FieldByName(HeadcountFields::DTFATURAM).SetEditMask(DateMask());
    dbgTurno->Columns()[0].SetReadOnly(true);
    dbgTurno->Columns()[1].SetReadOnly(true);
    cdsTurno.FieldByName(ShiftFields::CDTURNO).SetTag(1);
    cdsTurno.FieldByName(ShiftFields::NMTURNO).SetTag(1);
    ItRatSeq = 0;
}

void TfrmEfetFatur::netEfetFaturBeforeConnect(TNetConnection& connection) {
    connection.SetHost(WebURL());
    connection.SetPort(WebPort());
}

void TfrmEfetFatur::FormShow() {
    const bool branchFixed = ModuFili();
    for (QWidget* control : std::initializer_list<QWidget*>{lblFilial, medCdFilial, btpFilial})
        control->setEnabled(!branchFixed);
    medCdFilial->SetText(FiliProcFat());
    edtNmFilial->setText(NomeFiliProcFat());
    if (EmptyString(medCdFilial->Text())) {
        medCdFilial->SetText(FiliProc());
        edtNmFilial->setText(NomeFiliProc());
    }
    // The processing date and the name are those of the branch the box ends up with: the
    // working branch when there is no billing branch.
    depDataFatu->SetDate(DataProc(Branch()));
    if (!branchFixed) ShowBranchNameFromTable();
}

// Showing checks nothing: the name is the branch table's when it can be read, and stays the
// working context's when the shared database cannot be reached; leaving the filter panel
// checks the branch and says what is wrong.
void TfrmEfetFatur::ShowBranchNameFromTable() {
    try {
        OpenBranchQuery(Branch(), QString());
    } catch (const EError&) {
        return;
    }
    edtNmFilial->setText(qryFilial.FieldByName(BranchFields::NMFILIAL).AsString());
}

void TfrmEfetFatur::FormActivate() { update(); }

// Closing reloads the rows, which would throw away a row being typed: the clerk is asked
// first, and No keeps the screen open with the row as typed. Once nothing is pending, a
// server out of reach is said once and does not keep the screen open; anything the server
// or the checks refuse still does.
void TfrmEfetFatur::FormClose(TCloseAction& action) {
    const bool typing = Typing();
    if (typing && !CancelConfirmed()) throw EAbort();
    try {
        if (typing) CancelTyping();
        if (!EmptyString(medCdFilial->Text()) && !EmptyString(medCdCliente->Text())) {
            ValidateFilterAndLoad();
            Vd_VerifSoma();
        }
    } catch (const EConnectionError& unreachable) {
        DialogService::Instance().Error(unreachable.Message());
    }
    boStCriado = false;
    netEfetFatur.Disconnect();
    TfrmPadraoSimples::FormClose(action);
}

void TfrmEfetFatur::CancelTyping() {
    if (Editing(cdsTurno.State())) CancelShiftRow();
    if (Editing(cdsEfetFatu.State())) TfrmPadraoSimples::sbtCancelarClick();
}

void TfrmEfetFatur::FormKeyDown(int& key, Qt::KeyboardModifiers shift) {
    TfrmPadraoSimples::FormKeyDown(key, shift);
    const bool plain = !(shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
    if (key == Qt::Key_F12 && plain && medCdCliente->isEnabled()) medCdCliente->setFocus();
}

// ---- the filter as the server calls take it ----------------------------------------------

bool TfrmEfetFatur::ByServiceMode() const { return cbbEfetivos->currentIndex() == 1; }

LoadFilter TfrmEfetFatur::Filter() const {
    return {Branch(), Client(), Service(), FilterDate(), ByServiceMode()};
}

QString TfrmEfetFatur::Branch() const { return medCdFilial->Text(); }

QString TfrmEfetFatur::Client() const {
    return cdsCliente.FieldByName(ClientFields::CDCLIENTE).AsString();
}

QString TfrmEfetFatur::Service() const { return medCdServico->Text(); }

QDate TfrmEfetFatur::FilterDate() const { return depDataFatu->GetDate(); }

ClosedDayRule TfrmEfetFatur::ClosedDays() const { return ClosedDayRuleOf(cdsParams); }

bool TfrmEfetFatur::Typing() const {
    return Editing(cdsEfetFatu.State()) || Editing(cdsTurno.State());
}

bool TfrmEfetFatur::EfetivoTabActive() const { return pgcPadrao->currentWidget() == tshEfetivo; }

// ---- creation ----------------------------------------------------------------------------

void CriaEfetFatur() {
    const HourGlassScope creating;
    if (!boStCriado) {
        frmEfetFatur = CreateForm<TfrmEfetFatur>(HostApplication::Instance().MainForm());
        boStCriado = true;
    }
    frmEfetFatur->ShowChild();
}

void Cli_fai00400_StartUp() {
    boComen = false;
    boStCriado = false;
    boDeleta = false;
    boTestaPas = true;
}

}  // namespace fai
