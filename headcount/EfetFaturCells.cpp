#include "EfetFaturCells.h"

#include "BusyScope.h"
#include "Cli_fai00400.h"
#include "Consiste.h"
#include "EfetFaturControls.h"
#include "EfetFaturFilter.h"
#include "EfetFaturSession.h"
#include "Errors.h"
#include "FocusOnFailure.h"
#include "TDBGrid.h"
#include "TfrmPadraoSimples.h"

#include <QStackedWidget>

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

bool ServiceColumn(const QString& field) {
    return field == HeadcountFields::CDSERVFILI || field == HeadcountFields::NMSERVICO;
}

bool CountColumn(const QString& field) {
    return field == HeadcountFields::QTCOMEFATU || field == HeadcountFields::QTCOMEPREV;
}

QString NegativeCountKey(const QString& count) {
    return count == HeadcountFields::QTCOMEFATU ? QStringLiteral("NComeFatu_Inv")
                                                : QStringLiteral("NComePrev_Inv");
}

}  // namespace

EfetFaturCells::EfetFaturCells(const EfetFaturParts& parts)
    : screen_(parts.screen),
      controls_(parts.controls),
      session_(parts.session),
      filter_(parts.filter) {}

QString EfetFaturCells::SelectedField(bool byDate) const {
    const Field* field = (byDate ? controls_.dbgData : controls_.dbgServico)->SelectedField();
    return field ? field->FieldName() : QString();
}

bool EfetFaturCells::Inserting() const { return screen_.dtsPadrao.State() == DataSetState::Insert; }

void EfetFaturCells::KeyDownByDate(int& key) const {
    if (!Inserting() && ServiceColumn(SelectedField(true)) && !MovesOnly(key)) throw EAbort();
}

void EfetFaturCells::KeyPressByDate(QChar& key) {
    const QString field = SelectedField(true);
    if (!Inserting() && ServiceColumn(field) && !TabOrEnter(key)) key = QChar();
    if (field == HeadcountFields::VRSERVFATUDT && session_.SaleValueFixedForRow(filter_.Current()))
        key = QChar();
}

void EfetFaturCells::KeyDownByService(int& key) const {
    if (!Inserting() && SelectedField(false) == HeadcountFields::DIASEMANA && !MovesOnly(key))
        throw EAbort();
}

void EfetFaturCells::KeyPressByService(QChar& key) {
    const QString field = SelectedField(false);
    TDBGrid* grid = controls_.dbgServico;
    const bool editing = Editing(screen_.dtsPadrao.State());
    const auto limit = [&](int integerDigits, int decimals) {
        if (!MaxNumber(grid->InplaceText(), integerDigits, decimals, key, grid->InplaceSelStart(),
                       grid->InplaceSelLength()))
            key = QChar();
    };
    if (CountColumn(field) && editing) limit(9, 3);
    if (field == HeadcountFields::VRSERVFATUDT && editing) limit(7, 3);
    if (!Inserting() && field == HeadcountFields::DIASEMANA && !TabOrEnter(key)) throw EAbort();
    if (field == HeadcountFields::VRSERVFATUDT && session_.SaleValueFixedForRow(filter_.Current()))
        key = QChar();
}

void EfetFaturCells::LeaveColumnByDate() {
    boComen = false;
    if (filter_.ByServiceMode()) return;
    ClientDataSet& rows = session_.cdsEfetFatu;
    if (!rows.IsEmpty() && boTestaPas) {
        boTestaPas = false;
        Field& service = rows.FieldByName(HeadcountFields::CDSERVFILI);
        FocusOnFailure(service, [&] {
            session_.FindServices(filter_.Branch(), filter_.Client(), service.AsString());
        });
    }
    if (!Editing(rows.State())) return;
    const QString column = SelectedField(true);
    if (NegativeCountLeft(column)) {
        boComen = column == HeadcountFields::QTCOMEFATU;
        FailOnCount(column);
    }
}

void EfetFaturCells::LeaveColumnByService() {
    if (!filter_.ByServiceMode()) return;
    ClientDataSet& rows = session_.cdsEfetFatu;
    const QString column = SelectedField(false);
    const bool dateLeft = column == HeadcountFields::DTFATURAM;
    Field& billingDate = rows.FieldByName(HeadcountFields::DTFATURAM);
    if (rows.State() == DataSetState::Insert && dateLeft && !billingDate.IsNull()) {
        bool taken = false;
        FocusOnFailure(billingDate, [&] {
            BusyScope busy(&screen_, bkFetching,
                           session_.msgPadrao.Msg(QStringLiteral("get_cdsValidaData")));
            taken = session_.BillingDateTaken(session_.CurrentKey(filter_.Current()));
        });
        if (taken) {
            billingDate.FocusControl();
            session_.msgPadrao.Fail(QStringLiteral("Data_ja_cad"));
        }
    }
    if (!Editing(rows.State())) return;
    if (NegativeCountLeft(column)) FailOnCount(column);
    if (dateLeft) session_.CheckDateOpen();
}

bool EfetFaturCells::NegativeCountLeft(const QString& column) const {
    return CountColumn(column) && session_.cdsEfetFatu.FieldByName(column).AsFloat() < 0;
}

void EfetFaturCells::FailOnCount(const QString& column) {
    session_.cdsEfetFatu.FieldByName(column).FocusControl();
    session_.msgPadrao.Fail(NegativeCountKey(column));
}

void EfetFaturCells::SelectCountColumn(const QString& count) {
    const bool billed = count == HeadcountFields::QTCOMEFATU;
    qint32& inData = billed ? inComen : inComen2;
    qint32& inServico = billed ? inComen1 : inComen3;
    inData = IndiceCol(controls_.dbgData, count);
    inServico = IndiceCol(controls_.dbgServico, count);
    if (!filter_.ByServiceMode()) {
        controls_.dbgData->SetSelectedIndex(inData);
    } else {
        controls_.dbgServico->SetSelectedIndex(inServico);
    }
}

void EfetFaturCells::RefuseNegativeCount(const QString& count) {
    boComen = count == HeadcountFields::QTCOMEFATU;
    SelectCountColumn(count);
    session_.msgPadrao.Fail(NegativeCountKey(count));
}

}  // namespace fai
