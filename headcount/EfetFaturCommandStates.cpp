#include "EfetFaturCommandStates.h"

#include "Consiste.h"
#include "EfetFaturControls.h"
#include "EfetFaturFilter.h"
#include "EfetFaturSession.h"
#include "TButtonFlat.h"
#include "TDBGrid.h"
#include "TfrmPadraoSimples.h"
#include "WorkingContext.h"

#include <QAction>
#include <QTabWidget>

namespace fai {

EfetFaturCommandStates::EfetFaturCommandStates(const EfetFaturParts& parts)
    : screen_(parts.screen),
      controls_(parts.controls),
      session_(parts.session),
      filter_(parts.filter) {}

bool EfetFaturCommandStates::HeadcountPageShown() const {
    return controls_.pgcPadrao->currentWidget() == controls_.tshEfetivo;
}

void EfetFaturCommandStates::Update() {
    const bool open = session_.DateOpenForEditing(filter_.Current());
    controls_.dbgData->SetOption(TDBGrid::dgEditing, open);
    controls_.dbgServico->SetOption(TDBGrid::dgEditing, open);
    if (HeadcountPageShown()) {
        UpdateHeadcountCommands(open);
    } else {
        UpdateShiftCommands(open);
    }
    EnablePages();
    screen_.SyncMenuEntries();
}

bool EfetFaturCommandStates::Typing() const {
    return Editing(screen_.dtsPadrao.State()) || Editing(controls_.dtsTurno.State());
}

// The shifts of a stored row being changed can be reached too, so that a new billed count
// and the shifts that add up to it are typed together; a new row has no shifts until it is
// saved, and a row whose key is being changed would show another row's.
void EfetFaturCommandStates::EnablePages() {
    const DataSetState state = screen_.dtsPadrao.State();
    QTabWidget* pages = controls_.pgcPadrao;
    const bool headcounts = session_.cdsTurno.State() != DataSetState::Edit;
    const bool shifts = !session_.cdsEfetFatu.IsEmpty() &&
                        (!Editing(state) || (state == DataSetState::Edit &&
                                             session_.RowKeepsItsKey(filter_.ByServiceMode())));
    pages->setTabEnabled(pages->indexOf(controls_.tshEfetivo), headcounts);
    pages->setTabEnabled(pages->indexOf(controls_.tshTurno), shifts);
    // Back to the rows saves a shift being typed first.
    controls_.mnuEfetivo->setEnabled(state != DataSetState::Inactive);
    controls_.mnuTurno->setEnabled(shifts);
}

void EfetFaturCommandStates::UpdateHeadcountCommands(bool open) {
    const DataSetState state = screen_.dtsPadrao.State();
    const bool browse = state == DataSetState::Browse;
    const bool editing = Editing(state);
    const bool byService = filter_.ByServiceMode();
    const ClientDataSet& rows = session_.cdsEfetFatu;
    // By service a row without a date is the empty row the server may answer with.
    const bool onRecord =
        byService ? !rows.FieldByName(HeadcountFields::DTFATURAM).IsNull() : !rows.IsEmpty();
    screen_.sbtIncluir->setEnabled(byService && browse);
    controls_.sbtImpEfetTrans->setEnabled(browse && open);
    screen_.sbtAlterar->setEnabled(browse && onRecord && open);
    screen_.sbtExcluir->setEnabled(browse && onRecord && open);
    screen_.sbtProcurar->setEnabled(browse && onRecord);
    screen_.sbtVerificar->setEnabled(browse);
    screen_.sbtConfirmar->setEnabled(editing);
    screen_.sbtCancelar->setEnabled(editing);
    controls_.sbtCadastro->setEnabled(byService && !EmptyString(filter_.Service()) && !editing);
    controls_.sbtHistorico->setEnabled(browse && onRecord);
}

void EfetFaturCommandStates::UpdateShiftCommands(bool open) {
    const ClientDataSet& shifts = session_.cdsTurno;
    const DataSetState state = controls_.dtsTurno.State();
    const bool browse = state == DataSetState::Browse;
    for (TButtonFlat* button : {controls_.sbtImpEfetTrans, screen_.sbtIncluir, screen_.sbtExcluir,
                                screen_.sbtProcurar, controls_.sbtCadastro})
        button->setEnabled(false);
    screen_.sbtAlterar->setEnabled(browse && !shifts.IsEmpty() &&
                                   shifts.FieldByName(ShiftFields::QTCOMFATUTUR).AsFloat() > 0 &&
                                   open);
    screen_.sbtVerificar->setEnabled(browse);
    controls_.sbtHistorico->setEnabled(browse);
    screen_.sbtConfirmar->setEnabled(Editing(state));
    screen_.sbtCancelar->setEnabled(Editing(state));
}

void EfetFaturCommandStates::DisableWhenEmpty() {
    if (!session_.cdsEfetFatu.IsEmpty()) return;
    for (TButtonFlat* button :
         {screen_.sbtAlterar, screen_.sbtExcluir, screen_.sbtVerificar, screen_.sbtProcurar})
        button->setEnabled(false);
    screen_.SyncMenuEntries();
}

void EfetFaturCommandStates::DisableRecordCommands() {
    for (TButtonFlat* button : {screen_.sbtAlterar, screen_.sbtExcluir, screen_.sbtProcurar,
                                screen_.sbtVerificar, screen_.sbtConfirmar, screen_.sbtCancelar})
        button->setEnabled(false);
    screen_.SyncMenuEntries();
}

void EfetFaturCommandStates::EnableAddingAndSearching(bool enabled) {
    if (!HeadcountPageShown()) return;
    for (TButtonFlat* button :
         {screen_.sbtIncluir, screen_.sbtProcurar, screen_.sbtVerificar, controls_.sbtCadastro})
        button->setEnabled(enabled);
}

void EfetFaturCommandStates::EnableDuplication() {
    controls_.sbtCadastro->setEnabled(!EmptyString(filter_.Service()) && filter_.ByServiceMode() &&
                                      !Editing(screen_.dtsPadrao.State()));
}

// By date the service of a stored row is never retyped: its columns are read-only but for
// a new row, so that Tab goes past them to the counts.
void EfetFaturCommandStates::FollowRowState() {
    const DataSetState state = screen_.dtsPadrao.State();
    const bool inserting = state == DataSetState::Insert;
    TDBGrid* grid = controls_.dbgData;
    TColumn& service = grid->Columns()[grid->Columns().IndexOf(HeadcountFields::CDSERVFILI)];
    service.SetButtonStyle(inserting ? ColumnButtonStyle::Ellipsis : ColumnButtonStyle::Auto);
    service.SetReadOnly(!inserting);
    grid->Columns()[grid->Columns().IndexOf(HeadcountFields::NMSERVICO)].SetReadOnly(!inserting);
    filter_.SetEnabled(!Typing(), ModuFili());
    EnableDuplication();
    Update();
}

// The filter cannot change under a shift row being edited: its key is the filter's.
void EfetFaturCommandStates::FollowShiftState() {
    filter_.SetEnabled(!Typing(), ModuFili());
    EnableDuplication();
    Update();
}

}  // namespace fai
