// The headcount rows: their events, the save that follows every post and delete, the
// apportionment rows of the current row, and the commands that act on the whole filter.
#include "Cli_fai00400.h"

#include "BrazilianText.h"
#include "BusyScope.h"
#include "Consiste.h"
#include "DateText.h"
#include "DialogService.h"
#include "Errors.h"
#include "HistoryDialog.h"
#include "Pkg_fai00400.h"
#include "TMaskEdit.h"
#include "WorkingContext.h"

#include <QLineEdit>
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
    if (!ByServiceMode()) return;
    BusyScope busy(this, bkFetching, msgPadrao.Msg(QStringLiteral("get_cdsVerifData")));
    session_.ProposeBillingDate(Filter(), medCdCliente->Text(), DataProc(Branch()));
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
    const LoadFilter filter = Filter();
    session_.StampRow(filter);
    session_.CheckDateOpen();
    Vd_CliFat();
    Vd_QtdTurno();
    if (filter.byService) session_.CheckRowDate(filter);
    if (const auto negative = session_.ZeroFillCounts()) {
        if (*negative == HeadcountFields::VRSERVFATUDT) Fail(QStringLiteral("ValoVend_Inv"));
        cells_.RefuseNegativeCount(QString(*negative));
    }
    NullFields = NullFieldList(cdsEfetFatu);
    Vd_DtFatuPla();
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
    cdsEfetFatu.FieldByName(RowKeyField(ByServiceMode())).FocusControl();
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
    session_.LoadApportionment(session_.KeyOfRow());
}

// ---- commands on the whole filter --------------------------------------------------------

// What the import wrote and left out is said once the rows show.
void TfrmEfetFatur::sbtImpEfetTransClick() {
    QString summary;
    {
        BusyScope busy(this, bkFetching, msgPadrao.Msg(QStringLiteral("get_cdsEfetFatu")));
        summary = session_.ImportTransported(Filter());
        ShowLatestDays();
        if (cdsEfetFatu.IsEmpty()) HabilitaBotoes();
    }
    DialogService::Instance().Message(DialogKind::Information, summary, mbOk);
}

QString TfrmEfetFatur::LockReasonOf(const RowView& row) const {
    return session_.DayLockReason(session_.DayOfRow(Filter(), row));
}

QString TfrmEfetFatur::RowCaption() const {
    const RowKey key = session_.CurrentKey(Filter());
    const QString service = ByServiceMode()
                                ? edtNmServico->text()
                                : cdsEfetFatu.FieldByName(HeadcountFields::NMSERVICO).AsString();
    return QStringLiteral("Serviço %1 - %2, data %3 (%4)")
        .arg(key.service, service, FormatDate(key.date), NomeSemana(key.date));
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
