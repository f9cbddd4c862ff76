// The wiring of the headcount screen's events to its handlers.
#include "Cli_fai00400.h"

#include "EventGuard.h"
#include "FocusScope.h"
#include "TBtnPesquisa.h"
#include "TButtonFlat.h"
#include "TDBGrid.h"
#include "TDateEditPlus.h"
#include "TMaskEdit.h"

#include <QAction>
#include <QComboBox>
#include <QTabWidget>

namespace fai {

void TfrmEfetFatur::ConnectHandlers() {
    netEfetFatur.BeforeConnect = [this](TNetConnection& c) { netEfetFaturBeforeConnect(c); };

    panFiltroScope_->OnEnter = [this] { panFiltroEnter(); };
    panFiltroScope_->OnExit = [this] { panFiltroExit(); };
    pgcPadraoScope_->OnEnter = [this] { pgcPadraoEnter(); };
    tshEfetivoScope_->OnEnter = [this] { tshEfetivoEnter(); };
    connect(pgcPadrao, &QTabWidget::currentChanged, this,
            [this] { GuardEvent([this] { pgcPadraoChange(); }); });
    connect(cbbEfetivos, &QComboBox::currentIndexChanged, this,
            [this] { GuardEvent([this] { cbbEfetivosChange(); }); });

    medCdFilial->OnChange = [this] { medCdFilialChange(); };
    medCdCliente->OnChange = [this] { medCdClienteChange(); };
    medCdServico->OnChange = [this] { medCdServicoChange(); };
    medCdFilial->OnExit = [this] { medCdFilialExit(); };
    medCdCliente->OnExit = [this] { medCdClienteExit(); };
    medCdServico->OnExit = [this] { medCdServicoExit(); };
    medCdCliente->OnEnter = [this] { medCdClienteEnter(); };
    depDataFatu->OnExit = [this] { depDataFatuExit(); };
    // F2 in a code box opens its list, so that the lookups need no mouse.
    for (auto [box, button] : {std::pair{medCdFilial, btpFilial},
                               {medCdCliente, btpCliente},
                               {medCdServico, btpServico}}) {
        box->OnKeyDown = [button](int& key, Qt::KeyboardModifiers shift) {
            if (key != Qt::Key_F2 || shift != Qt::NoModifier) return;
            key = 0;
            if (button->isEnabled()) button->click();
        };
    }
    btpFilial->OnBeforePesq = [this](bool& show) { btpFilialBeforePesq(show); };
    btpFilial->OnAfterPesq = [this] { btpFilialAfterPesq(); };
    btpCliente->OnBeforePesq = [this](bool& show) { btpClienteBeforePesq(show); };
    btpCliente->OnAfterPesq = [this] { btpClienteAfterPesq(); };
    btpServico->OnBeforePesq = [this](bool& show) { btpServicoBeforePesq(show); };
    btpServico->OnAfterPesq = [this] { btpServicoAfterPesq(); };
    const auto registration = [this](const Field& sender, QString& text, bool display) {
        cdsClienteNRINSJURCLIEGetText(sender, text, display);
    };
    cdsCliente.FieldByName(ClientFields::NRINSJURCLIE).OnGetText = registration;
    cdsCliente.FieldByName(ClientFields::IDTPIJURCLIE).OnGetText = registration;

    ConnectApportionmentHandlers();
    sbtCadastro->OnClick = [this] { sbtCadastroClick(); };
    sbtImpEfetTrans->OnClick = [this] { sbtImpEfetTransClick(); };
    sbtHistorico->OnClick = [this] { sbtHistoricoClick(); };
    connect(mnuTurno, &QAction::triggered, this, [this] { GuardEvent([this] { ShowShifts(); }); });
    connect(mnuEfetivo, &QAction::triggered, this,
            [this] { GuardEvent([this] { ShowHeadcounts(); }); });
    for (TDBGrid* grid : {dbgData, dbgServico}) {
        grid->SetRowLockReason([this](const RowView& row) { return LockReasonOf(row); });
        grid->OnDescribeRow = [this] { return RowCaption(); };
    }
    dbgData->OnKeyDown = [this](int& key, Qt::KeyboardModifiers shift) {
        dbgDataKeyDown(key, shift);
    };
    dbgData->OnKeyPress = [this](QChar& key) { dbgDataKeyPress(key); };
    dbgServico->OnKeyDown = [this](int& key, Qt::KeyboardModifiers shift) {
        dbgServicoKeyDown(key, shift);
    };
    dbgServico->OnKeyPress = [this](QChar& key) { dbgServicoKeyPress(key); };
    dbgData->OnColExit = [this] { dbgDataColExit(); };
    dbgServico->OnColExit = [this] { dbgServicoColExit(); };

    cdsEfetFatu.BeforeInsert = [this](ClientDataSet&) { cdsEfetFatuBeforeInsert(); };
    cdsEfetFatu.AfterInsert = [this](ClientDataSet&) { cdsEfetFatuAfterInsert(); };
    cdsEfetFatu.BeforeEdit = [this](ClientDataSet&) { cdsEfetFatuBeforeEdit(); };
    cdsEfetFatu.BeforePost = [this](ClientDataSet&) { cdsEfetFatuBeforePost(); };
    cdsEfetFatu.AfterPost = [this](ClientDataSet&) { cdsEfetFatuAfterPost(); };
    cdsEfetFatu.AfterDelete = cdsEfetFatu.AfterPost;
    cdsEfetFatu.AfterCancel = [this](ClientDataSet&) { cdsEfetFatuAfterCancel(); };
    cdsEfetFatu.BeforeDelete = [this](ClientDataSet&) { cdsEfetFatuBeforeDelete(); };
    cdsEfetFatu.BeforeScroll = [this](ClientDataSet&) { cdsEfetFatuBeforeScroll(); };
    cdsEfetFatu.AfterScroll = [this](ClientDataSet&) { cdsEfetFatuAfterScroll(); };
    cdsEfetFatu.OnCalcFields = [this](ClientDataSet&) { cdsEfetFatuCalcFields(); };
    cdsEfetFatu.FieldByName(HeadcountFields::CDSERVFILI).OnChange = [this](Field&) {
        cdsEfetFatuCDSERVFILIChange();
    };
    cdsEfetFatu.FieldByName(HeadcountFields::DTFATURAM).OnSetText =
        [this](Field& sender, const QString& text) { cdsEfetFatuDTFATURAMSetText(sender, text); };
    ConnectShiftHandlers();
}

}  // namespace fai
