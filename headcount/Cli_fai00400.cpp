#include "Cli_fai00400.h"

#include "BusyScope.h"
#include "Consiste.h"
#include "DialogService.h"
#include "Errors.h"
#include "FocusScope.h"
#include "HostApplication.h"
#include "ScreenCursor.h"
#include "TButtonFlat.h"
#include "TDBGrid.h"
#include "TMaskEdit.h"
#include "WorkingContext.h"

#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QResizeEvent>
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

namespace {

// The screen opens as tall as the host's document area lets it: the rows of a month by
// service are what the clerk came for.
int DocumentAreaHeight() {
    const QMdiArea* area = HostApplication::Instance().DocumentArea();
    return area ? area->viewport()->height() : 0;
}

// A screen as tall as the document area stays so when the area's height changes: the host's
// window settles at its size after it shows (a window manager maximizes it then), and the
// clerk may resize it; the screen's bottom never hides below the area.
class FollowAreaHeight : public QObject {
  public:
    FollowAreaHeight(QWidget* screen, QWidget* viewport) : QObject(screen), screen_(screen) {
        viewport->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::Resize) return false;
        const auto* resize = static_cast<QResizeEvent*>(event);
        auto* frame = qobject_cast<QMdiSubWindow*>(screen_->parentWidget());
        if (!frame || frame->isMaximized() || frame->isMinimized() || frame->y() != 0) return false;
        const int area = resize->size().height();
        if (frame->height() == resize->oldSize().height() || frame->height() > area)
            frame->resize(frame->width(), area);
        return false;
    }

  private:
    QWidget* screen_;
};

}  // namespace

TfrmEfetFatur::TfrmEfetFatur(QWidget* parent) : TfrmPadraoSimples(parent) {
    setObjectName(QStringLiteral("frmEfetFatur"));
    setWindowTitle(QStringLiteral("Efetivos para Faturamento"));
    SetScreenCode(QStringLiteral("FAI00400"));
    SetHelpFile(QStringLiteral("FaiHelp.hlp"));
    SetHelpContext(13300400);
    resize(564, std::max(425, DocumentAreaHeight()));
    if (const QMdiArea* area = HostApplication::Instance().DocumentArea())
        new FollowAreaHeight(this, area->viewport());
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

void TfrmEfetFatur::FormShow() { filter_.ShowStartingBranch(ModuFili()); }

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

// F6 and F7 on a row that cannot be changed say why instead of doing nothing.
void TfrmEfetFatur::FormKeyDown(int& key, Qt::KeyboardModifiers shift) {
    TfrmPadraoSimples::FormKeyDown(key, shift);
    const bool plain = !(shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
    if (key == Qt::Key_F12 && plain && medCdCliente->isEnabled()) medCdCliente->setFocus();
    const TButtonFlat* command = key == Qt::Key_F6   ? sbtAlterar
                                 : key == Qt::Key_F7 ? sbtExcluir
                                                     : nullptr;
    if (command && plain && !command->isEnabled() && EfetivoTabActive() &&
        dtsPadrao.State() == DataSetState::Browse) {
        const TDBGrid* grid = ByServiceMode() ? dbgServico : dbgData;
        if (grid->ExplainLockedRow()) key = 0;
    }
}

// ---- the filter as the server calls take it ----------------------------------------------

bool TfrmEfetFatur::ByServiceMode() const { return filter_.ByServiceMode(); }

LoadFilter TfrmEfetFatur::Filter() const { return filter_.Current(); }

QString TfrmEfetFatur::Branch() const { return filter_.Branch(); }

QString TfrmEfetFatur::Client() const { return filter_.Client(); }

QString TfrmEfetFatur::Service() const { return filter_.Service(); }

QString TfrmEfetFatur::ClientName() const {
    return Client().isEmpty() ? QString() : edtNmCliente->text();
}

QString TfrmEfetFatur::ServiceName() const { return edtNmServico->text(); }

QDate TfrmEfetFatur::FilterDate() const { return filter_.Date(); }

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
