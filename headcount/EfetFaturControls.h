#pragma once

#include "DataSource.h"

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QStackedWidget;
class QTabWidget;
class QWidget;

namespace fai {

class EfetFaturSession;
class FocusScope;
class TBtnPesquisa;
class TButtonFlat;
class TDBGrid;
class TDBText;
class TDateEditPlus;
class TfrmPadraoSimples;
class TMaskEdit;

// The headcount screen's controls under the names the business knows them by, and how they
// are laid out: the screen's own commands, the filter panel, and the pages of the headcount
// rows and of their shift breakdown. Nothing here reacts to anything; the screen wires the
// events to its handlers.
class EfetFaturControls {
  public:
    // Builds every control into the screen, over the session's datasets.
    void BuildControls(TfrmPadraoSimples& screen, EfetFaturSession& session);

    TButtonFlat* sbtCadastro;
    TButtonFlat* sbtImpEfetTrans;
    TButtonFlat* sbtHistorico;
    QAction* mnuDuplComens;
    QAction* mnuImportar;
    QAction* mnuHistorico;
    // The two pages from the keyboard: the shifts of the row under the cursor, and back.
    QAction* mnuTurno;
    QAction* mnuEfetivo;

    QFrame* panFiltro;
    QLabel* lblFilial;
    TMaskEdit* medCdFilial;
    TBtnPesquisa* btpFilial;
    QLineEdit* edtNmFilial;
    QLabel* lblCliente;
    TMaskEdit* medCdCliente;
    TBtnPesquisa* btpCliente;
    QLineEdit* edtNmCliente;
    QLabel* lblEfetivos;
    QComboBox* cbbEfetivos;
    QStackedWidget* nbkOpcao;
    QLabel* lblDtLanc;
    TDateEditPlus* depDataFatu;
    QLabel* lblServico;
    TMaskEdit* medCdServico;
    TBtnPesquisa* btpServico;
    QLineEdit* edtNmServico;

    QTabWidget* pgcPadrao;
    QWidget* tshEfetivo;
    QStackedWidget* nbkGrid;
    TDBGrid* dbgData;
    TDBGrid* dbgServico;
    QFrame* panDesc;
    TDBText* dbtDesc;
    QWidget* tshTurno;
    // Which row the shifts shown belong to.
    QLabel* lblTurno;
    TDBGrid* dbgTurno;

    DataSource dtsFilial;
    DataSource dtsCliente;
    DataSource dtsServico;
    DataSource dtsTurno;
    DataSource dtsFatuPla;

  protected:
    // Entering and leaving the filter panel, the pages and the headcount page.
    FocusScope* panFiltroScope_;
    FocusScope* pgcPadraoScope_;
    FocusScope* tshEfetivoScope_;

  private:
    void BuildCommands(TfrmPadraoSimples& screen);
    void BuildFilterPanel(TfrmPadraoSimples& screen);
    void BuildPages(TfrmPadraoSimples& screen, DataSource& rows);
    void BuildHeadcountGrids(QWidget* page, DataSource& rows);
    void BuildShiftGrid(QWidget* page);
    void SetTabOrder();
};

}  // namespace fai
