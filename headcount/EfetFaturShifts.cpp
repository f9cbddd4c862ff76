// The "Turno" tab: the billed diners of the current row broken down by meal shift, each
// change saved at once.
#include "Cli_fai00400.h"

#include "BusyScope.h"
#include "Errors.h"
#include "HostApplication.h"
#include "TDBGrid.h"

#include <QLabel>
#include <QTabWidget>

namespace fai {

void TfrmEfetFatur::ConnectShiftHandlers() {
    cdsTurno.BeforeInsert = [this](ClientDataSet&) { cdsTurnoBeforeInsert(); };
    cdsTurno.BeforeEdit = [this](ClientDataSet&) { cdsTurnoBeforeEdit(); };
    cdsTurno.BeforePost = [this](ClientDataSet&) { cdsTurnoBeforePost(); };
    cdsTurno.AfterPost = [this](ClientDataSet&) { cdsTurnoAfterPost(); };
    // The edit command depends on the quantity of the shift under the cursor.
    cdsTurno.AfterScroll = [this](ClientDataSet&) { ControlaBotoes(); };
    dtsTurno.OnStateChange = [this](DataSource&) { dtsTurnoStateChange(); };
    dbgTurno->OnExit = [this] { dbgTurnoExit(); };
    dbgTurno->OnKeyDown = [this](int& key, Qt::KeyboardModifiers shift) {
        dbgTurnoKeyDown(key, shift);
    };
}

// The shifts are fetched at every switch to their tab, so that they are those of the row
// under the cursor as the server has them now. The key is taken again first: a cancelled
// new row leaves the cursor on another row without a scroll to say so.
void TfrmEfetFatur::pgcPadraoChange() {
    Verifica_Nbk();
    if (!EfetivoTabActive()) LoadShifts();
    ControlaBotoes();
}

void TfrmEfetFatur::LoadShifts() {
    {
        BusyScope busy(this, bkFetching, msgPadrao.Msg(QStringLiteral("Get_Turno")));
        session_.LoadShifts({Branch(), Client(), CurServ, CurDate});
    }
    lblTurno->setText(QStringLiteral("Turnos do efetivo: %1").arg(RowCaption()));
}

// What is typed in the row's cell is taken first, so that its question, if any, is asked
// before the page changes; the focus goes with the page, leaving the rows' grid.
void TfrmEfetFatur::ShowShifts() {
    if (!pgcPadrao->isTabEnabled(pgcPadrao->indexOf(tshTurno))) return;
    if (EfetivoTabActive()) {
        (ByServiceMode() ? dbgServico : dbgData)->CommitEdit();
        pgcPadrao->setCurrentWidget(tshTurno);
    }
    dbgTurno->setFocus();
}

// A shift being typed is saved first, as moving off its row would; the shifts must add up
// to the row, as when they are left with the mouse.
void TfrmEfetFatur::ShowHeadcounts() {
    if (cdsTurno.State() == DataSetState::Edit) cdsTurno.Post();
    if (!pgcPadrao->isTabEnabled(pgcPadrao->indexOf(tshEfetivo))) return;
    if (!EfetivoTabActive()) {
        Vd_QtdTurno();
        pgcPadrao->setCurrentWidget(tshEfetivo);
    }
    (ByServiceMode() ? dbgServico : dbgData)->setFocus();
}

// The shifts are the branch's: the server has one row for each, never more.
void TfrmEfetFatur::cdsTurnoBeforeInsert() { throw EAbort(); }

void TfrmEfetFatur::cdsTurnoBeforeEdit() { Vd_CliFat(); }

void TfrmEfetFatur::cdsTurnoBeforePost() {
    Verifica_Nbk();
    session_.StampShiftRow({Branch(), Client(), CurServ, CurDate});
    session_.CheckShiftQuantity();
    TurnoFields = NullFieldList(cdsTurno);
}

// Saved at once; a refused save shows the quantities as stored again.
void TfrmEfetFatur::cdsTurnoAfterPost() {
    if (cdsTurno.ChangeCount() == 0) return;
    try {
        {
            BusyScope busy(HostApplication::Instance().MainForm(), bkSaving);
            session_.SendShifts();
        }
        cdsTurno.MergeChangeLog();
    } catch (...) {
        cdsTurno.CancelUpdates();
        throw;
    }
}

void TfrmEfetFatur::dtsTurnoStateChange() { commands_.FollowShiftState(); }

// The breakdown just changed must still add up to the row's billed count.
void TfrmEfetFatur::dbgTurnoExit() { Vd_QtdTurno(); }

// A shift row is never deleted from the grid: a shift without diners is a quantity of 0.
void TfrmEfetFatur::dbgTurnoKeyDown(int& key, Qt::KeyboardModifiers shift) {
    if (key == Qt::Key_Delete && (shift & Qt::ControlModifier)) key = 0;
}

}  // namespace fai
