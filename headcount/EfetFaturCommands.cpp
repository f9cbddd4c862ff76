// The commands of the headcount screen, their enabled states, and the grids' keyboard and
// column exits.
#include "Cli_fai00400.h"

#include "BusyScope.h"
#include "Consiste.h"
#include "DialogService.h"
#include "EfetFaturData.h"
#include "Errors.h"
#include "FocusOnFailure.h"
#include "Pkg_fai00400.h"
#include "TBtnPesquisa.h"
#include "TButtonFlat.h"
#include "TDBGrid.h"
#include "TDateEditPlus.h"
#include "TMaskEdit.h"
#include "WorkingContext.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QStackedWidget>
#include <QTabWidget>

namespace fai {
namespace {

// The keys that only move around a grid (or start a new row, which the dataset refuses
// where it must): all a cell that cannot be retyped lets through.
bool MovesOnly(int key) {
    switch (key) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Left:
        case Qt::Key_Up:
        case Qt::Key_Right:
        case Qt::Key_Down:
        case Qt::Key_Insert:
            return true;
        default:
            return false;
    }
}

bool TabOrEnter(QChar key) { return key == QChar(9) || key == QChar(13); }

QString SelectedFieldName(const TDBGrid* grid) {
    const Field* field = grid->SelectedField();
    return field ? field->FieldName() : QString();
}

}  // namespace

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
        cdsEfetFatu.Insert();
    }
    cdsEfetFatu
        .FieldByName(nbkGrid->currentIndex() == 0 ? HeadcountFields::CDSERVFILI
                                                  : HeadcountFields::DTFATURAM)
        .FocusControl();
}

void TfrmEfetFatur::sbtAlterarClick() {
    if (!EfetivoTabActive()) {
        cdsTurno.Edit();
        // The quantity is the only thing a shift row lets the user change.
        dbgTurno->SetSelectedIndex(IndiceCol(dbgTurno, ShiftFields::QTCOMFATUTUR));
        return;
    }
    TfrmPadraoSimples::sbtAlterarClick();
    const QString selected = SelectedFieldName(dbgData);
    if (selected == HeadcountFields::QTCOMEFATU || selected == HeadcountFields::QTCOMEPREV)
        SelectCountColumn(selected);
}

void TfrmEfetFatur::SelectCountColumn(const QString& field) {
    const bool billed = field == HeadcountFields::QTCOMEFATU;
    qint32& inData = billed ? inComen : inComen2;
    qint32& inServico = billed ? inComen1 : inComen3;
    inData = IndiceCol(dbgData, field);
    inServico = IndiceCol(dbgServico, field);
    if (nbkGrid->currentIndex() == 0) {
        dbgData->SetSelectedIndex(inData);
    } else {
        dbgServico->SetSelectedIndex(inServico);
    }
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
// edit: a reload would lose it.
void TfrmEfetFatur::sbtConfirmarClick() {
    TfrmPadraoSimples::sbtConfirmarClick();
    const bool byService = ByServiceMode();
    const packets::FieldName keyField =
        byService ? HeadcountFields::DTFATURAM : HeadcountFields::CDSERVFILI;
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

// ---- leaving a column ---------------------------------------------------------------------

// By date the service record follows the row under the cursor, fetched once per row, for
// the planning and sale-value flags the row's checks read.
void TfrmEfetFatur::dbgDataColExit() {
    boComen = false;
    if (nbkGrid->currentIndex() != 0) return;
    if (!cdsEfetFatu.IsEmpty() && boTestaPas) {
        boTestaPas = false;
        Field& service = cdsEfetFatu.FieldByName(HeadcountFields::CDSERVFILI);
        FocusOnFailure(service,
                       [&] { session_.FindServices(Branch(), Client(), service.AsString()); });
    }
    if (!Editing(cdsEfetFatu.State())) return;
    const QString column = SelectedFieldName(dbgData);
    if (NegativeCountLeft(column)) {
        boComen = column == HeadcountFields::QTCOMEFATU;
        FailOnCount(column);
    }
}

void TfrmEfetFatur::dbgServicoColExit() {
    if (nbkGrid->currentIndex() != 1) return;
    const QString column = SelectedFieldName(dbgServico);
    const bool dateLeft = column == HeadcountFields::DTFATURAM;
    Field& billingDate = cdsEfetFatu.FieldByName(HeadcountFields::DTFATURAM);
    if (cdsEfetFatu.State() == DataSetState::Insert && dateLeft && !billingDate.IsNull()) {
        bool taken = false;
        FocusOnFailure(billingDate, [&] {
            BusyScope busy(this, bkFetching, msgPadrao.Msg(QStringLiteral("get_cdsValidaData")));
            taken = session_.BillingDateTaken(session_.CurrentKey(Filter()));
        });
        if (taken) {
            billingDate.FocusControl();
            Fail(QStringLiteral("Data_ja_cad"));
        }
    }
    if (!Editing(cdsEfetFatu.State())) return;
    if (NegativeCountLeft(column)) FailOnCount(column);
    if (dateLeft) session_.CheckDateOpen();
}

bool TfrmEfetFatur::NegativeCountLeft(const QString& column) const {
    return (column == HeadcountFields::QTCOMEFATU || column == HeadcountFields::QTCOMEPREV) &&
           cdsEfetFatu.FieldByName(column).AsFloat() < 0;
}

void TfrmEfetFatur::FailOnCount(const QString& column) {
    cdsEfetFatu.FieldByName(column).FocusControl();
    Fail(NegativeCountKey(column));
}

QString TfrmEfetFatur::NegativeCountKey(const QString& count) {
    return count == HeadcountFields::QTCOMEFATU ? QStringLiteral("NComeFatu_Inv")
                                                : QStringLiteral("NComePrev_Inv");
}

// ---- keyboard ----------------------------------------------------------------------------

void TfrmEfetFatur::dbgDataKeyDown(int& key, Qt::KeyboardModifiers) {
    const QString field = SelectedFieldName(dbgData);
    // The service of an existing row cannot be retyped.
    if (dtsPadrao.State() != DataSetState::Insert &&
        (field == HeadcountFields::CDSERVFILI || field == HeadcountFields::NMSERVICO) &&
        !MovesOnly(key))
        throw EAbort();
}

void TfrmEfetFatur::dbgDataKeyPress(QChar& key) {
    const QString field = SelectedFieldName(dbgData);
    if (dtsPadrao.State() != DataSetState::Insert &&
        (field == HeadcountFields::CDSERVFILI || field == HeadcountFields::NMSERVICO) &&
        !TabOrEnter(key))
        key = QChar();
    if (field == HeadcountFields::VRSERVFATUDT && session_.SaleValueFixedForRow(Filter()))
        key = QChar();
}

void TfrmEfetFatur::dbgServicoKeyDown(int& key, Qt::KeyboardModifiers) {
    if (dtsPadrao.State() != DataSetState::Insert &&
        SelectedFieldName(dbgServico) == HeadcountFields::DIASEMANA && !MovesOnly(key))
        throw EAbort();
}

void TfrmEfetFatur::dbgServicoKeyPress(QChar& key) {
    const QString field = SelectedFieldName(dbgServico);
    const DataSetState state = dtsPadrao.State();
    const auto limit = [this, &key](int integerDigits, int decimals) {
        if (!MaxNumber(dbgServico->InplaceText(), integerDigits, decimals, key,
                       dbgServico->InplaceSelStart(), dbgServico->InplaceSelLength()))
            key = QChar();
    };
    if ((field == HeadcountFields::QTCOMEFATU || field == HeadcountFields::QTCOMEPREV) &&
        Editing(state))
        limit(9, 3);
    if (field == HeadcountFields::VRSERVFATUDT && Editing(state)) limit(7, 3);
    if (state != DataSetState::Insert && field == HeadcountFields::DIASEMANA && !TabOrEnter(key))
        throw EAbort();
    if (field == HeadcountFields::VRSERVFATUDT && session_.SaleValueFixedForRow(Filter()))
        key = QChar();
}

}  // namespace fai
