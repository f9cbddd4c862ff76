// The apportionment of the current row's billed diners over the client's items: the dialog
// opened from the billed count's cell, a count typed by hand reconciled with the items, and
// each item completed before it travels with the row's save.
#include "Cli_fai00400.h"

#include "Cli_fai00403.h"
#include "ScopedDetach.h"
#include "TDBGrid.h"

namespace fai {

void TfrmEfetFatur::ConnectApportionmentHandlers() {
    dbgData->OnEditButtonClick = [this] { dbgDataEditButtonClick(); };
    dbgServico->OnEditButtonClick = [this] { dbgServicoEditButtonClick(); };
    cdsEfetFatu.FieldByName(HeadcountFields::QTCOMEFATU).OnChange = [this](Field&) {
        cdsEfetFatuQTCOMEFATUChange();
    };
    cdsItRatEfet.BeforeInsert = [this](ClientDataSet&) { cdsItRatEfetBeforeInsert(); };
    cdsItRatEfet.BeforeDelete = [this](ClientDataSet&) { cdsItRatEfetBeforeDelete(); };
    cdsItRatEfet.BeforePost = [this](ClientDataSet&) { cdsItRatEfetBeforePost(); };
}

void TfrmEfetFatur::dbgDataEditButtonClick() { ApportionFromGrid(dbgData); }

void TfrmEfetFatur::dbgServicoEditButtonClick() { ApportionFromGrid(dbgServico); }

// The items' total becomes the billed count without the question of a count typed by hand:
// the clerk has just made that total.
void TfrmEfetFatur::ApportionFromGrid(TDBGrid* grid) {
    const Field* selected = grid->SelectedField();
    if (!selected || selected->FieldName() != HeadcountFields::QTCOMEFATU) return;
    if (!Editing(cdsEfetFatu.State())) cdsEfetFatu.Edit();
    const double total = CriaItRatEfet();
    if (total <= 0) return;
    Field& billed = cdsEfetFatu.FieldByName(HeadcountFields::QTCOMEFATU);
    {
        ScopedDetach quiet(billed.OnChange);
        billed.SetAsFloat(total);
    }
    // What the cell's editor still holds is older than the total.
    grid->HideEditor();
}

void TfrmEfetFatur::cdsEfetFatuQTCOMEFATUChange() {
    if (cdsItRatEfet.IsEmpty()) return;
    const double total = session_.ApportionedDiners();
    if (total == 0) return;
    if (msgPadrao.ShowMsg(QStringLiteral("EXISTE_RATEIO_EFET"), DialogKind::Confirmation,
                          mbYes | mbNo, 0) == mrYes) {
        Field& billed = cdsEfetFatu.FieldByName(HeadcountFields::QTCOMEFATU);
        ScopedDetach quiet(billed.OnChange);
        billed.SetAsFloat(total);
        return;
    }
    // The typed count stands: an apportionment that no longer adds up to it goes.
    session_.ClearApportionment();
}

// The items are the client's, as the server lists them: only their diners change.
void TfrmEfetFatur::cdsItRatEfetBeforeInsert() { throw EAbort(); }

void TfrmEfetFatur::cdsItRatEfetBeforeDelete() { throw EAbort(); }

void TfrmEfetFatur::cdsItRatEfetBeforePost() { session_.CompleteApportionmentItem(Filter()); }

}  // namespace fai
