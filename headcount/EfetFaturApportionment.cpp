// The apportionment of the current row's billed diners over the client's items: the dialog
// opened from the billed count's cell, a count typed by hand reconciled with the items, and
// each item completed before it travels with the row's save.
#include "Cli_fai00400.h"

#include "Cli_fai00403.h"
#include "Errors.h"
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
    const double total = ApportionedDiners();
    if (total == 0) return;
    if (msgPadrao.ShowMsg(QStringLiteral("EXISTE_RATEIO_EFET"), DialogKind::Confirmation,
                          mbYes | mbNo, 0) == mrYes) {
        Field& billed = cdsEfetFatu.FieldByName(HeadcountFields::QTCOMEFATU);
        ScopedDetach quiet(billed.OnChange);
        billed.SetAsFloat(total);
        return;
    }
    // The typed count stands: an apportionment that no longer adds up to it goes.
    ClearApportionment();
}

// Read without moving the cursor, which may be on a row the dialog left in view.
double TfrmEfetFatur::ApportionedDiners() {
    const Field& diners = cdsItRatEfet.FieldByName(ApportionmentFields::QTEFETIVOS);
    double total = 0;
    cdsItRatEfet.ForEachRow([&](const RowView& row) {
        if (const double value = row.AsFloat(diners); value > 0) total += value;
    });
    return total;
}

// An item emptied asks the server to drop its link; there is nothing to number or stamp.
void TfrmEfetFatur::ClearApportionment() {
    ScopedDetach unchecked(cdsItRatEfet.BeforePost);
    Field& diners = cdsItRatEfet.FieldByName(ApportionmentFields::QTEFETIVOS);
    for (cdsItRatEfet.First(); !cdsItRatEfet.Eof(); cdsItRatEfet.Next()) {
        if (diners.AsFloat() <= 0) continue;
        cdsItRatEfet.Edit();
        diners.Clear();
        cdsItRatEfet.Post();
    }
}

// The items are the client's, as the server lists them: only their diners change.
void TfrmEfetFatur::cdsItRatEfetBeforeInsert() { throw EAbort(); }

void TfrmEfetFatur::cdsItRatEfetBeforeDelete() { throw EAbort(); }

// A first link of an item to the row gets a temporary negative number, unique over the
// screen's life, and the row's key, so that the server can store it with the row.
void TfrmEfetFatur::cdsItRatEfetBeforePost() {
    Field& diners = cdsItRatEfet.FieldByName(ApportionmentFields::QTEFETIVOS);
    if (diners.AsFloat() < 0) {
        diners.FocusControl();
        Fail(QStringLiteral("QTEFET<0"));
    }
    if (diners.AsFloat() == 0) {
        diners.Clear();
        return;
    }
    Field& link = cdsItRatEfet.FieldByName(ApportionmentFields::NRITRATEFECLIFAT);
    if (!link.IsNull()) return;
    ItRatSeq += 1;
    link.SetAsFloat(-ItRatSeq);
    cdsItRatEfet.FieldByName(ApportionmentFields::CDFILIAL)
        .SetAsString(cdsEfetFatu.FieldByName(HeadcountFields::CDFILIAL).AsString());
    const QString service = ByServiceMode()
                                ? Service()
                                : cdsEfetFatu.FieldByName(HeadcountFields::CDSERVFILI).AsString();
    cdsItRatEfet.FieldByName(ApportionmentFields::DTFATURAM)
        .SetAsDateTime(ByServiceMode()
                           ? cdsEfetFatu.FieldByName(HeadcountFields::DTFATURAM).AsDateTime()
                           : FilterDate());
    cdsItRatEfet.FieldByName(ApportionmentFields::CDSERVFILI).SetAsString(service);
    cdsItRatEfet.FieldByName(ApportionmentFields::CDSERVPLAN).SetAsString(service);
    cdsItRatEfet.FieldByName(ApportionmentFields::CDCLIENTE)
        .SetAsString(cdsEfetFatu.FieldByName(HeadcountFields::CDCLIENTE).AsString());
}

}  // namespace fai
