#pragma once

#include "ClientDataSet.h"
#include "DataSource.h"
#include "EfetFaturCells.h"
#include "EfetFaturCommandStates.h"
#include "EfetFaturControls.h"
#include "EfetFaturData.h"
#include "EfetFaturFilter.h"
#include "EfetFaturSession.h"
#include "HeadcountScreen.h"
#include "TADOIBQuery.h"
#include "TNetConnection.h"
#include "TfrmPadraoSimples.h"

#include <QDate>
#include <QPointer>

namespace fai {

class TDBGrid;

// The headcount screen, where billing clerks record per branch, client, service and date
// the diners billed and forecast.
//
// The filter panel at the top picks branch, client, mode and date (by-date mode, one row per
// service) or service (by-service mode, one row per date); leaving it checks the filter and
// loads the rows. Every post and every delete of a row is saved to the application server
// at once. Components and handlers carry the names the business knows them by.
class TfrmEfetFatur : public TfrmPadraoSimples, public HeadcountScreen, public EfetFaturControls {
    Q_OBJECT
  public:
    explicit TfrmEfetFatur(QWidget* parent = nullptr);
    ~TfrmEfetFatur() override;

    // ---- the screen ---------------------------------------------------------------------
    void FormCreate() override;
    void FormShow() override;
    void FormActivate() override;
    void FormClose(TCloseAction& action) override;
    void FormKeyDown(int& key, Qt::KeyboardModifiers shift) override;
    void netEfetFaturBeforeConnect(TNetConnection& connection);

    // ---- the filter and the load --------------------------------------------------------
    void panFiltroEnter();
    void panFiltroExit();
    void cbbEfetivosChange();
    void medCdFilialChange();
    void medCdClienteChange();
    void medCdServicoChange();
    void medCdFilialExit();
    void medCdClienteExit();
    void medCdServicoExit();
    void medCdClienteEnter();
    void depDataFatuExit();
    void btpFilialBeforePesq(bool& show);
    void btpFilialAfterPesq();
    void btpClienteBeforePesq(bool& show);
    void btpClienteAfterPesq();
    void btpServicoBeforePesq(bool& show);
    void btpServicoAfterPesq();
    void cdsClienteNRINSJURCLIEGetText(const Field& sender, QString& text, bool displayText);
    void Vd_Filial(bool required);
    void Vd_Cliente(bool required);
    void Vd_Servico(bool required);

    // ---- commands -----------------------------------------------------------------------
    void ControlaBotoes();
    // Only disables, as its callers expect after a result without rows.
    void HabilitaBotoes();
    void DesabilitaBotoes(bool enabled);
    void VerifEmpty();
    void Verifica_Nbk();
    void dtsPadraoStateChange() override;
    void sbtIncluirClick() override;
    void sbtAlterarClick() override;
    void sbtExcluirClick() override;
    void sbtCancelarClick() override;
    // Posts through the base form, reloads when the shift tab's rows allow it, and comes back
    // to the row the clerk was on.
    void sbtConfirmarClick() override;
    void sbtVerificarClick() override;
    void sbtImprimirClick() override;
    void sbtCadastroClick();
    void sbtImpEfetTransClick();
    // Shows who changed the current row, its shifts and apportionment, when and how.
    void sbtHistoricoClick();
    void tshEfetivoEnter();
    void pgcPadraoEnter();
    void pgcPadraoChange();
    void dbgDataKeyDown(int& key, Qt::KeyboardModifiers shift);
    void dbgDataKeyPress(QChar& key);
    void dbgServicoKeyDown(int& key, Qt::KeyboardModifiers shift);
    void dbgServicoKeyPress(QChar& key);
    void dbgDataColExit();
    void dbgServicoColExit();

    // ---- the headcount rows -------------------------------------------------------------
    void cdsEfetFatuBeforeInsert();
    void cdsEfetFatuAfterInsert();
    void cdsEfetFatuBeforeEdit();
    void cdsEfetFatuBeforePost();
    // The save, after every post and every delete.
    void cdsEfetFatuAfterPost();
    void cdsEfetFatuAfterCancel();
    void cdsEfetFatuBeforeDelete();
    void cdsEfetFatuBeforeScroll();
    void cdsEfetFatuAfterScroll();
    void cdsEfetFatuCalcFields();
    void cdsEfetFatuCDSERVFILIChange();
    void cdsEfetFatuDTFATURAMSetText(Field& sender, const QString& text);
    void getItRatEfet();

    // ---- the shift breakdown ------------------------------------------------------------
    void cdsTurnoBeforeInsert();
    void cdsTurnoBeforeEdit();
    void cdsTurnoBeforePost();
    // The save of a shift row, at once after its post.
    void cdsTurnoAfterPost();
    void dtsTurnoStateChange();
    void dbgTurnoExit();
    void dbgTurnoKeyDown(int& key, Qt::KeyboardModifiers shift);

    // ---- apportionment ----
    void dbgDataEditButtonClick();
    void dbgServicoEditButtonClick();
    void cdsEfetFatuQTCOMEFATUChange();
    void cdsItRatEfetBeforeInsert();
    void cdsItRatEfetBeforeDelete();
    void cdsItRatEfetBeforePost();

    // ---- billing rules ------------------------------------------------------------------
    void Vd_CliFat();
    void Vd_DtFatuPla();
    void Vd_ServClie();
    // The row's billed count against the sum of its shift quantities stored on the server.
    void Vd_QtdTurno();
    // False is never returned: a disagreement fails with its message.
    bool Vd_VerifSoma();

    // ---- what the duplication screen asks of this one -------------------------------------
    QString Branch() const override;
    QString Client() const override;
    QString Service() const override;
    QString ClientName() const override;
    QString ServiceName() const override;
    ClosedDayRule ClosedDays() const override;
    bool Typing() const override;
    TNetConnection& Connection() override { return netEfetFatur; }
    void Reload() override { sbtVerificarClick(); }

  private:
    // Declared before the references to what it holds, so that it is made first.
    EfetFaturSession session_;
    EfetFaturFilter filter_{*this, session_};
    EfetFaturCommandStates commands_{{*this, *this, session_, filter_}};
    EfetFaturCells cells_{{*this, *this, session_, filter_}};

  public:
    // The session's connection, lookup and datasets under the names the handlers use.
    TNetConnection& netEfetFatur = session_.netEfetFatur;
    TADOIBQuery& qryFilial = session_.qryFilial;
    ClientDataSet& cdsEfetFatu = session_.cdsEfetFatu;
    ClientDataSet& cdsCliente = session_.cdsCliente;
    ClientDataSet& cdsServico = session_.cdsServico;
    ClientDataSet& cdsValidaData = session_.cdsValidaData;
    ClientDataSet& cdsVerifServ = session_.cdsVerifServ;
    ClientDataSet& cdsVerifData = session_.cdsVerifData;
    ClientDataSet& cdsFatuPla = session_.cdsFatuPla;
    ClientDataSet& cdsVerifSoma = session_.cdsVerifSoma;
    ClientDataSet& cdsVdServClie = session_.cdsVdServClie;
    ClientDataSet& cdsSomaTurno = session_.cdsSomaTurno;
    ClientDataSet& cdsParams = session_.cdsParams;
    ClientDataSet& cdsVdCliFat = session_.cdsVdCliFat;
    ClientDataSet& cdsItemRat = session_.cdsItemRat;
    ClientDataSet& cdsTurno = session_.cdsTurno;
    ClientDataSet& cdsItRatEfet = session_.cdsItRatEfet;

    // ---- working state, the session's ---------------------------------------------------
    QString& CurServ = session_.CurServ;
    QDate& CurDate = session_.CurDate;
    QString& NullFields = session_.NullFields;
    QString& TurnoFields = session_.TurnoFields;
    QDate& CliFatDate = session_.CliFatDate;
    double& ItRatSeq = session_.ItRatSeq;

  private:
    void ConnectHandlers();
    void ConnectShiftHandlers();
    void ConnectApportionmentHandlers();

    // The filter as the server calls take it.
    bool ByServiceMode() const;
    LoadFilter Filter() const;
    QDate FilterDate() const;
    bool EfetivoTabActive() const;

    // The host's standard cancel question ("Canc"), answered Yes.
    bool CancelConfirmed();
    void CancelShiftRow();
    // Drops the headcount or shift row being typed, as the cancel command does once asked.
    void CancelTyping();
    // The checks of the filter and the load of its rows, as leaving the panel runs them.
    void ValidateFilterAndLoad();
    void ShowApportionmentButtons();
    // False when the items could not be read again.
    bool ReloadApportionmentAfterSave();
    // The shifts of the current row key, as the server has them.
    void LoadShifts();
    // Ctrl+T and Ctrl+E: the shifts of the row under the cursor, and back to the rows, with
    // the checks of leaving a grid run as for the mouse.
    void ShowShifts();
    void ShowHeadcounts();
    // By service the clerk works on the latest days: a load shows them.
    void ShowLatestDays();
    // Why a grid's row cannot be changed.
    QString LockReasonOf(const RowView& row) const;
    // The current row as the clerk names it: its service, day and weekday.
    QString RowCaption() const;
    // The dialog over the current row's items, opened from the billed count's cell.
    void ApportionFromGrid(TDBGrid* grid);
};

// Module state of the headcount screen. The instance reference empties itself when the
// screen is freed.
extern QPointer<TfrmEfetFatur> frmEfetFatur;
extern bool boStCriado;
extern bool boComen;
extern bool boDeleta;
extern bool boTestaPas;
extern qint32 inComen;
extern qint32 inComen1;
extern qint32 inComen2;
extern qint32 inComen3;

// Creates the headcount screen once, or restores and activates the one there is.
void CriaEfetFatur();

// The unit's start-up values of the module state.
void Cli_fai00400_StartUp();

}  // namespace fai
