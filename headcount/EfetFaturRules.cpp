// The billing rules a headcount row must pass before it is changed or deleted, and the
// agreement of the rows with their shift breakdown when the screen closes.
#include "Cli_fai00400.h"

#include "BusyScope.h"
#include "Consiste.h"
#include "Quantities.h"
#include "ShiftSum.h"
#include "TDBGrid.h"

namespace fai {
namespace {

// The rules stay; the clerk is told the figures and the way to change a row and its shifts
// together: the shifts of a row being changed are reached before the row is confirmed.
QString ShiftSumWayOut(double sum, double billed, bool rowBeingChanged) {
    if (rowBeingChanged)
        return QStringLiteral(
                   "Os turnos gravados somam %1. Para gravar o efetivo com %2, corrija os "
                   "turnos para somarem %2: Ctrl+T abre os turnos deste efetivo sem perder o que "
                   "foi digitado, e Ctrl+E volta para confirmar a linha (F10).")
            .arg(FloatToStr(sum), FloatToStr(billed));
    return QStringLiteral(
               "Os turnos gravados somam %1 e o efetivo tem %2. Corrija os turnos para somarem "
               "%2. Para mudar também o número do efetivo, deixe os turnos somando %2, altere "
               "a linha na aba Efetivo (F6), digite o novo número e, antes de confirmar, "
               "corrija os turnos com Ctrl+T.")
        .arg(FloatToStr(sum), FloatToStr(billed));
}

}  // namespace

// Entering the grids: the rules need the parameters of the branch the filter now names.
void TfrmEfetFatur::pgcPadraoEnter() {
    BusyScope busy(this, bkFetching);
    session_.LoadParams(Branch());
}

void TfrmEfetFatur::Vd_CliFat() { session_.CheckAssessedDay(Filter()); }

void TfrmEfetFatur::Vd_DtFatuPla() { session_.CheckPlanning(Filter()); }

// When shift quantities are stored, they must add up to the row's billed count; with none
// stored the row needs no breakdown. A failure leaves the focus on the grid to correct.
void TfrmEfetFatur::Vd_QtdTurno() {
    try {
        double sum = 0;
        {
            BusyScope busy(this, bkFetching, msgPadrao.Msg(QStringLiteral("Get_SomaTurno")));
            Verifica_Nbk();
            sum = session_.StoredShiftSum({Branch(), Client(), CurServ, CurDate});
        }
        const double billed = cdsEfetFatu.FieldByName(HeadcountFields::QTCOMEFATU).AsFloat();
        if (ShiftSumDisagrees(sum, billed))
            MensErro(Format(msgPadrao.Msg(QStringLiteral("SomaTurno_Inf")),
                            {FloatToStr(QuantityDifference(sum, billed)), FloatToStr(billed)}) +
                         QLatin1Char('\n') +
                         ShiftSumWayOut(sum, billed, Editing(cdsEfetFatu.State())),
                     true);
    } catch (...) {
        if (!EfetivoTabActive()) {
            dbgTurno->setFocus();
        } else {
            (ByServiceMode() ? dbgServico : dbgData)->setFocus();
        }
        throw;
    }
}

// By date every service of the client has a row; only a service still related to the
// client and branch may be changed.
void TfrmEfetFatur::Vd_ServClie() {
    if (ByServiceMode()) return;
    bool related = false;
    {
        BusyScope busy(this, bkConnecting);
        related = session_.ServiceOfClient(
            Branch(), cdsEfetFatu.FieldByName(HeadcountFields::CDCLIENTE).AsString(),
            cdsEfetFatu.FieldByName(HeadcountFields::CDSERVFILI).AsString());
    }
    if (!related) {
        cdsEfetFatu.FieldByName(HeadcountFields::QTCOMEFATU).FocusControl();
        Fail(QStringLiteral("Serv_n"));
    }
}

bool TfrmEfetFatur::Vd_VerifSoma() {
    try {
        const QString service = session_.FirstDisagreeingService();
        if (service.isEmpty()) return true;
        TDBGrid* grid = !EfetivoTabActive() ? dbgTurno : ByServiceMode() ? dbgServico : dbgData;
        grid->setFocus();
        cdsEfetFatu.Locate(HeadcountFields::CDSERVFILI, service, {.caseInsensitive = true});
        Fail(QStringLiteral("VerifSoma_Inf"));
    } catch (...) {
        DesabilitaBotoes(false);
        if (frmEfetFatur) frmEfetFatur->ShowChild();
        throw;
    }
}

}  // namespace fai
