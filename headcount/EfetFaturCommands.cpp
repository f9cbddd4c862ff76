// The commands of the headcount screen, their enabled states, and the grids' keyboard and
// column exits.
#include "Cli_fai00400.h"

#include "DialogService.h"
#include "Errors.h"
#include "Pkg_fai00400.h"
#include "TDBGrid.h"

#include <QStackedWidget>
#include <QTabWidget>

namespace fai {

// ---- command state -----------------------------------------------------------------------

void TfrmEfetFatur::ControlaBotoes() { commands_.Update(); }

void TfrmEfetFatur::VerifEmpty() { commands_.DisableWhenEmpty(); }

void TfrmEfetFatur::HabilitaBotoes() { commands_.DisableRecordCommands(); }

void TfrmEfetFatur::DesabilitaBotoes(bool enabled) { commands_.EnableAddingAndSearching(enabled); }

void TfrmEfetFatur::dtsPadraoStateChange() { commands_.FollowRowState(); }

void TfrmEfetFatur::Verifica_Nbk() {
    const RowKey key = session_.CurrentKey(Filter());
    CurServ = key.service;
    CurDate = key.date;
}

void TfrmEfetFatur::tshEfetivoEnter() { ControlaBotoes(); }

// ---- record commands ---------------------------------------------------------------------

void TfrmEfetFatur::sbtIncluirClick() {
    if (ByServiceMode() && cdsEfetFatu.FieldByName(HeadcountFields::DTFATURAM).IsNull()) {
        // The row without a date takes the new date instead of a second row being added.
        cdsEfetFatu.Edit();
        cdsEfetFatuAfterInsert();
    } else {
        // A new day goes after the last one, where the day proposed for it belongs.
        cdsEfetFatu.Append();
    }
    cdsEfetFatu.FieldByName(RowKeyField(ByServiceMode())).FocusControl();
}

void TfrmEfetFatur::sbtAlterarClick() {
    if (!EfetivoTabActive()) {
        cdsTurno.Edit();
        // The quantity is the only thing a shift row lets the user change.
        dbgTurno->SetSelectedIndex(IndiceCol(dbgTurno, ShiftFields::QTCOMFATUTUR));
        return;
    }
    TfrmPadraoSimples::sbtAlterarClick();
    const Field* selected = dbgData->SelectedField();
    if (selected && (selected->FieldName() == HeadcountFields::QTCOMEFATU ||
                     selected->FieldName() == HeadcountFields::QTCOMEPREV))
        cells_.SelectCountColumn(selected->FieldName());
}

void TfrmEfetFatur::sbtExcluirClick() {
    Vd_CliFat();
    boDeleta = true;
    TfrmPadraoSimples::sbtExcluirClick();
    VerifEmpty();
    if (cdsEfetFatu.IsEmpty()) HabilitaBotoes();
}

void TfrmEfetFatur::sbtCancelarClick() {
    if (!EfetivoTabActive()) {
        if (cdsTurno.State() == DataSetState::Edit && CancelConfirmed()) {
            CancelShiftRow();
            ControlaBotoes();
        }
    } else {
        TfrmPadraoSimples::sbtCancelarClick();
        ControlaBotoes();
    }
    VerifEmpty();
    if (cdsEfetFatu.IsEmpty()) HabilitaBotoes();
}

bool TfrmEfetFatur::CancelConfirmed() {
    return msgMensagensPadroes.ShowMsg(QStringLiteral("Canc"), DialogKind::Confirmation,
                                       mbYes | mbNo, 0) == mrYes;
}

void TfrmEfetFatur::CancelShiftRow() {
    dbgTurno->HideEditor();
    cdsTurno.Cancel();
}

// Confirming brings in what others saved meanwhile, but only while no shift row is held in
// edit: a reload would lose it. On the shift tab it confirms the shift being typed; a
// headcount row being changed meanwhile is confirmed back on its own tab, once its shifts
// add up to it.
void TfrmEfetFatur::sbtConfirmarClick() {
    if (!EfetivoTabActive()) {
        if (cdsTurno.State() == DataSetState::Edit) cdsTurno.Post();
        return;
    }
    TfrmPadraoSimples::sbtConfirmarClick();
    const packets::FieldName keyField = RowKeyField(ByServiceMode());
    const Value key = cdsEfetFatu.FieldByName(keyField).AsValue();
    if (cdsTurno.Active() && cdsTurno.State() == DataSetState::Browse) {
        session_.LoadHeadcounts(Filter());
        ShowApportionmentButtons();
    }
    if (cdsTurno.State() == DataSetState::Edit) cdsTurno.Post();
    cdsEfetFatu.Locate(keyField, key, {.caseInsensitive = true});
}

// The reload puts the cursor on the first row; on the "Turno" tab the shifts shown follow
// it, so that a shift typed next, and the check of the sum on leaving, are that row's.
void TfrmEfetFatur::sbtVerificarClick() {
    ValidateFilterAndLoad();
    if (!EfetivoTabActive()) {
        Verifica_Nbk();
        LoadShifts();
    }
    ControlaBotoes();
}

void TfrmEfetFatur::sbtImprimirClick() { ::cria_RelListComen(); }

// ---- the grids' cells ---------------------------------------------------------------------

void TfrmEfetFatur::dbgDataColExit() { cells_.LeaveColumnByDate(); }

void TfrmEfetFatur::dbgServicoColExit() { cells_.LeaveColumnByService(); }

void TfrmEfetFatur::dbgDataKeyDown(int& key, Qt::KeyboardModifiers) { cells_.KeyDownByDate(key); }

void TfrmEfetFatur::dbgDataKeyPress(QChar& key) { cells_.KeyPressByDate(key); }

void TfrmEfetFatur::dbgServicoKeyDown(int& key, Qt::KeyboardModifiers) {
    cells_.KeyDownByService(key);
}

void TfrmEfetFatur::dbgServicoKeyPress(QChar& key) { cells_.KeyPressByService(key); }

}  // namespace fai
