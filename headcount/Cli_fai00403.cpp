#include "Cli_fai00403.h"

#include "Cli_fai00400.h"
#include "HostApplication.h"
#include "ScreenCursor.h"
#include "TButtonFlat.h"
#include "TDBGrid.h"
#include "TDBText.h"

#include <QCoreApplication>

#include <algorithm>
#include <memory>

namespace fai {

QPointer<TfrmItRatEfet> frmItRatEfet;

TfrmItRatEfet::TfrmItRatEfet(QWidget* parent) : TfrmPadraoGrid(parent) {
    setObjectName(QStringLiteral("frmItRatEfet"));
    setWindowTitle(QStringLiteral("Itens para Rateio de Efetivos"));
    SetScreenCode(QStringLiteral("FAI00403"));
    resize(436, 307);
    // No item is ever deleted here, so there is nothing to confirm.
    dbgPadrao->SetOption(TDBGrid::dgConfirmDelete, false);
    TColumn& code = dbgPadrao->Columns().Add(ApportionmentFields::CDITEMRATEIOEFET);
    code.SetReadOnly(true);
    code.SetWidth(53);
    TColumn& name = dbgPadrao->Columns().Add(ApportionmentFields::NMITEMRATEIOEFET);
    name.SetReadOnly(true);
    name.SetWidth(244);
    dbgPadrao->Columns().Add(ApportionmentFields::QTEFETIVOS);
    dbtNome->SetDataField(ApportionmentFields::NMITEMRATEIOEFET);
    sbtFechar->SetKey(QKeySequence(Qt::Key_Escape));
    if (frmEfetFatur) dtsPadrao.SetDataSet(&frmEfetFatur->cdsItRatEfet);
    Habilita();
}

// The clerk starts on the first item, in the diners' column, with every column on view.
void TfrmItRatEfet::FormShow() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    const int around = width() - dbgPadrao->width();
    resize(std::max(width(), around + dbgPadrao->WidthShowingAllColumns()), height());
    if (ClientDataSet* items = MainDataSet()) items->First();
    dbgPadrao->SetSelectedIndex(IndiceCol(dbgPadrao, ApportionmentFields::QTEFETIVOS));
    dbgPadrao->setFocus();
}

void TfrmItRatEfet::FormKeyDown(int& key, Qt::KeyboardModifiers shift) {
    TfrmPadraoGrid::FormKeyDown(key, shift);
    if (key != Qt::Key_Escape || shift != Qt::NoModifier) return;
    if (dbgPadrao->EditorMode() || Editing(dtsPadrao.State())) return;
    key = 0;
    close();
}

void TfrmItRatEfet::FormClose(TCloseAction& action) {
    sbtConfirmarClick();
    TfrmPadraoGrid::FormClose(action);
}

void TfrmItRatEfet::dtsPadraoStateChange() {
    TfrmPadraoGrid::dtsPadraoStateChange();
    Habilita();
}

// Only the diners of the listed items change: editing and searching while the items are
// browsed, confirming or cancelling while one is edited, never adding or removing one.
void TfrmItRatEfet::Habilita() {
    const DataSetState state = dtsPadrao.State();
    const bool browsing = state == DataSetState::Browse && !dtsPadrao.DataSet()->IsEmpty();
    const bool editing = state == DataSetState::Edit || state == DataSetState::Insert;
    sbtAlterar->setEnabled(browsing);
    sbtProcurar->setEnabled(browsing);
    sbtConfirmar->setEnabled(editing);
    sbtCancelar->setEnabled(editing);
    for (TButtonFlat* command : {sbtIncluir, sbtExcluir, sbtVerificar, sbtImprimir})
        command->setEnabled(false);
    SyncMenuEntries();
}

double CriaItRatEfet() {
    // One dialog per opening; it goes when its modal showing is over.
    std::unique_ptr<TfrmItRatEfet> dialog;
    {
        const HourGlassScope creating;
        dialog.reset(CreateForm<TfrmItRatEfet>(HostApplication::Instance().MainForm()));
    }
    frmItRatEfet = dialog.get();
    dialog->ShowModal();

    double total = 0;
    if (ClientDataSet* items = dialog->dtsPadrao.DataSet(); items && items->Active()) {
        for (items->First(); !items->Eof(); items->Next())
            total += items->FieldByName(ApportionmentFields::QTEFETIVOS).AsFloat();
    }
    return total;
}

}  // namespace fai
