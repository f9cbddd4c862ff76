// The headcount rows: their events, the save that follows every post and delete, the
// apportionment rows of the current row, and the commands that act on the whole filter.
#include "Cli_fai00400.h"

#include "BrazilianText.h"
#include "BusyScope.h"
#include "Consiste.h"
#include "DateText.h"
#include "DialogService.h"
#include "EfetFaturData.h"
#include "Errors.h"
#include "FocusOnFailure.h"
#include "HistoryDialog.h"
#include "Pkg_fai00400.h"
#include "TDateEditPlus.h"
#include "TMaskEdit.h"
#include "WorkingContext.h"

#include <QComboBox>
#include <QStackedWidget>

namespace fai {
namespace {

const QString kItemsNotReloaded = QStringLiteral(
    "Os efetivos foram gravados, mas os itens para rateio não puderam ser recarregados.");

}  // namespace

// Rows come from the server in by-date mode, one per service of the client.
void TfrmEfetFatur::cdsEfetFatuBeforeInsert() {
    if (!ByServiceMode()) throw EAbort();
}

void TfrmEfetFatur::cdsEfetFatuAfterInsert() {
    if (nbkGrid->currentIndex() == 1) ProposeBillingDate();
}

// A new row continues the service's days: the day after the last one entered, but never a
// closed day; the branch's processing date when the service has none yet.
void TfrmEfetFatur::ProposeBillingDate() {
    {
        BusyScope busy(this, bkFetching, msgPadrao.Msg(QStringLiteral("get_cdsVerifData")));
        const QString client =
            cdsCliente.FieldByName(ClientFields::IDTPIJURCLIE).AsString() + medCdCliente->Text();
        session_.LoadLatestDate(Branch(), Service(), client);
    }
    Field& billingDate = cdsEfetFatu.FieldByName(HeadcountFields::DTFATURAM);
    billingDate.SetAsDateTime(session_.NextBillingDate(DataProc(Branch())));
    billingDate.FocusControl();
}

void TfrmEfetFatur::cdsEfetFatuBeforeEdit() {
    Vd_CliFat();
    Vd_ServClie();
}

void TfrmEfetFatur::cdsEfetFatuBeforeDelete() {
    Vd_DtFatuPla();
    Vd_CliFat();
}

// The checks run in a fixed order and the first failure wins, so that the clerk is always
// told about the day before the counts. Counts left empty are stored as 0; the null-field
// list of what stays empty goes with the save.
void TfrmEfetFatur::cdsEfetFatuBeforePost() {
    boComen = false;
    StampRowWithFilter();
    CheckDateOpen();
    Vd_CliFat();
    Vd_QtdTurno();
    if (nbkGrid->currentIndex() == 1) CheckRowDate();
    ZeroFillOrCheckCount(HeadcountFields::QTCOMEFATU);
    ZeroFillOrCheckCount(HeadcountFields::QTCOMEPREV);
    ZeroFillOrCheckSaleValue();
    NullFields = NullFieldList(cdsEfetFatu);
    Vd_DtFatuPla();
}

void TfrmEfetFatur::StampRowWithFilter() {
    cdsEfetFatu.FieldByName(HeadcountFields::CDFILIAL).SetAsString(Branch());
    cdsEfetFatu.FieldByName(HeadcountFields::CDCLIENTE).SetAsString(Client());
    if (ByServiceMode()) {
        cdsEfetFatu.FieldByName(HeadcountFields::CDSERVFILI).SetAsString(Service());
    } else {
        cdsEfetFatu.FieldByName(HeadcountFields::DTFATURAM).SetAsDateTime(FilterDate());
    }
}

// A row without a date is not on a closed day: it is told that its date is missing.
void TfrmEfetFatur::CheckDateOpen() {
    if (!session_.RowOnClosedDay()) return;
    cdsEfetFatu.FieldByName(HeadcountFields::DTFATURAM).FocusControl();
    Fail(QStringLiteral("DATA_BLOQ"));
}

// By service the date is the row's key: no row is saved without one, a stored row whose
// date was cleared included, and a new row's must be free.
void TfrmEfetFatur::CheckRowDate() {
    Field& billingDate = cdsEfetFatu.FieldByName(HeadcountFields::DTFATURAM);
    const bool newRow = cdsEfetFatu.State() == DataSetState::Insert;
    FocusOnFailure(billingDate, [&] {
        if (billingDate.IsNull()) Fail(QStringLiteral("Data_Emp"));
        if (newRow && BillingDateTaken()) Fail(QStringLiteral("Data_ja_cad"));
    });
}

bool TfrmEfetFatur::BillingDateTaken() {
    return session_.BillingDateTaken(
        {Branch(), Client(), Service(),
         cdsEfetFatu.FieldByName(HeadcountFields::DTFATURAM).AsDateTime()});
}

// A count typed below zero is refused with its column selected; one left empty is 0.
void TfrmEfetFatur::ZeroFillOrCheckCount(packets::FieldName field) {
    Field& count = cdsEfetFatu.FieldByName(field);
    if (count.AsString().isEmpty()) {
        count.SetAsFloat(0);
        return;
    }
    if (count.AsFloat() >= 0) return;
    const QString name(field);
    boComen = name == HeadcountFields::QTCOMEFATU;
    if (boComen) {
        SelectCountColumn(name, inComen, inComen1);
    } else {
        SelectCountColumn(name, inComen2, inComen3);
    }
    Fail(NegativeCountKey(name));
}

void TfrmEfetFatur::ZeroFillOrCheckSaleValue() {
    Field& value = cdsEfetFatu.FieldByName(HeadcountFields::VRSERVFATUDT);
    if (value.AsString().isEmpty()) {
        value.SetAsFloat(0);
    } else if (value.AsFloat() < 0) {
        boComen = false;
        Fail(QStringLiteral("ValoVend_Inv"));
    }
}

// Saved at once: a failed save leaves the grid as the server has it, so that what the
// clerk sees is what will be invoiced.
void TfrmEfetFatur::cdsEfetFatuAfterPost() {
    if (!session_.HeadcountsPending()) return;
    try {
        {
            BusyScope busy(this, bkSaving, msgPadrao.Msg(QStringLiteral("upd_cdsEfetFatu")));
            session_.SendHeadcounts();
        }
        if (cdsEfetFatu.LogChanges()) cdsEfetFatu.MergeChangeLog();
        boDeleta = false;
    } catch (...) {
        boDeleta = true;
        cdsEfetFatu.CancelUpdates();
        // The clerk reads why the save was refused, whatever becomes of the items.
        ReloadApportionmentAfterSave();
        throw;
    }
    // The row is saved: items that cannot be read again do not make the save look failed.
    if (!ReloadApportionmentAfterSave())
        DialogService::Instance().Message(DialogKind::Warning, kItemsNotReloaded, mbOk);
}

// The items are read again after every save, saved or not: the links the server numbered
// are the ones a second apportionment changes, and no change is sent twice. Items that
// cannot be read are none (getItRatEfet), so nothing is lost by going on without them.
bool TfrmEfetFatur::ReloadApportionmentAfterSave() {
    try {
        if (!cdsEfetFatu.IsEmpty()) getItRatEfet();
    } catch (const EError&) {
        return false;
    }
    return true;
}

void TfrmEfetFatur::cdsEfetFatuAfterCancel() {
    cdsEfetFatu.CancelUpdates();
    getItRatEfet();
    dtsPadraoStateChange();
    cdsEfetFatu
        .FieldByName(nbkGrid->currentIndex() == 0 ? HeadcountFields::CDSERVFILI
                                                  : HeadcountFields::DTFATURAM)
        .FocusControl();
}

void TfrmEfetFatur::cdsEfetFatuBeforeScroll() { boTestaPas = true; }

void TfrmEfetFatur::cdsEfetFatuAfterScroll() {
    Verifica_Nbk();
    getItRatEfet();
    ControlaBotoes();
}

void TfrmEfetFatur::cdsEfetFatuCalcFields() {
    cdsEfetFatu.FieldByName(HeadcountFields::DIASEMANA)
        .SetAsString(NomeSemana(cdsEfetFatu.FieldByName(HeadcountFields::DTFATURAM).AsDateTime()));
}

// A new row's service name belongs to the code typed before.
void TfrmEfetFatur::cdsEfetFatuCDSERVFILIChange() {
    if (cdsEfetFatu.State() == DataSetState::Insert)
        cdsEfetFatu.FieldByName(HeadcountFields::NMSERVICO).Clear();
}

void TfrmEfetFatur::cdsEfetFatuDTFATURAMSetText(Field& sender, const QString& text) {
    DateSetText(sender, text);
}

// Items that cannot be read for the row are none: those of the row before must never be
// changed as this row's.
void TfrmEfetFatur::getItRatEfet() {
    BusyScope busy(this, bkSaving);
    const ClientDataSet& row = cdsEfetFatu;
    session_.LoadApportionment({row.FieldByName(HeadcountFields::CDFILIAL).AsString(),
                                row.FieldByName(HeadcountFields::CDCLIENTE).AsString(),
                                row.FieldByName(HeadcountFields::CDSERVFILI).AsString(),
                                row.FieldByName(HeadcountFields::DTFATURAM).AsDateTime()});
}

// ---- commands on the whole filter --------------------------------------------------------

void TfrmEfetFatur::sbtImpEfetTransClick() {
    BusyScope busy(this, bkFetching, msgPadrao.Msg(QStringLiteral("get_cdsEfetFatu")));
    session_.ImportTransported(Filter());
    if (cdsEfetFatu.IsEmpty()) HabilitaBotoes();
}

void TfrmEfetFatur::sbtCadastroClick() { ::CriaDupCom(cdsVdCliFat.Data()); }

void TfrmEfetFatur::sbtHistoricoClick() {
    Verifica_Nbk();
    std::vector<HistoryLine> lines;
    {
        BusyScope busy(this, bkFetching);
        lines = HistoryLines(session_.RowHistory({Branch(), Client(), CurServ, CurDate}),
                             {&cdsEfetFatu, &cdsTurno, &cdsItRatEfet});
    }
    MostraHistorico(QStringLiteral("Serviço %1, data %2").arg(CurServ, FormatDate(CurDate)), lines,
                    this);
}

}  // namespace fai
