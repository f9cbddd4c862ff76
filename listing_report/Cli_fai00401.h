#pragma once

#include "DataSource.h"
#include "ListingRun.h"
#include "TADOIBQuery.h"
#include "TNetConnection.h"
#include "TfrmDadosGerRel.h"

#include <QPointer>
#include <QStringList>

class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace fai {

class FocusScope;
class TBtnPesquisa;
class TDateEditPlus;
class TMaskEdit;

// The diners listing report screen: a branch, a period, and a client and a service selection
// (all of them, or a list picked by the clerk). Print, preview and edit have the server
// generate the branch's working data of the period under the branch's report number, then
// run the chosen definition of code Fai004 with the screen's parameters. Closing deletes the
// working data of every branch the screen generated.
class TfrmRelListComen : public TfrmDadosGerRel {
    Q_OBJECT
  public:
    explicit TfrmRelListComen(QWidget* parent = nullptr);
    ~TfrmRelListComen() override;

    void FormCreate() override;
    void FormShow() override;
    void FormActivate() override;
    void FormClose(TCloseAction& action) override;
    void netComensaisBeforeConnect(TNetConnection& connection);

    void medCdFilialChange();
    void medCdFilialExit();
    void btpFilialBeforePesq(bool& show);
    void btpFilialAfterPesq();
    void grbPeriodoExit();
    void grbServicoExit();
    void rdgTodosSClick();
    void rdgListaSClick();
    void rdgTodosClick();
    void rdgListaClick();
    void btnclienteClick();
    void btnServicoClick();
    void sbtPrintClick() override;
    void sbtPreviewClick() override;
    void sbtSalvarComoClick() override;
    void sbtReportEditClick() override;
    void rpddPadraoBeforeGetQueryParams(ReportParams& params);
    void qryClienteNRINSJURCLIEGetText(const Field& sender, QString& text, bool display);

    // The branch box: with `required` an empty one is an error, otherwise it passes; a typed
    // code must be a branch, whose name is then shown.
    void vd_filial(bool required);
    // The period: with `bothOrNone` two empty dates pass, otherwise both are required; then
    // both must be dates, the final one not before the initial one.
    void vd_data(bool bothOrNone);
    // A "Lista" choice needs a list picked.
    void valida();
    // The branch's report number (asked for the first time), then its data of the period.
    void GeraTableApurFat();

    QLabel* lblFilial;
    TMaskEdit* medCdFilial;
    TBtnPesquisa* btpFilial;
    QLineEdit* edtNmFilial;
    QGroupBox* grbPeriodo;
    QLabel* lblDtInicial;
    TDateEditPlus* depDtInicial;
    QLabel* lblDtFinal;
    TDateEditPlus* depDtFinal;
    QGroupBox* grbCliente;
    QRadioButton* rdgTodosS;
    QRadioButton* rdgListaS;
    TBtnPesquisa* btncliente;
    QGroupBox* grbServico;
    QRadioButton* rdgTodos;
    QRadioButton* rdgLista;
    TBtnPesquisa* btnServico;

    TADOIBQuery qryFilial{QStringLiteral("qryFilial")};
    TADOIBQuery qryServico{QStringLiteral("qryServico")};
    TADOIBQuery qryCliente{QStringLiteral("qryCliente")};
    DataSource dtsFilial;
    DataSource dtsServico;
    DataSource dtsCliente;
    TNetConnection netComensais;

  private:
    void BuildDataGroup();
    void ConnectHandlers();
    void SetTabOrder();

    void OpenBranchQuery(const QString& branch, const QString& all);
    // Print, preview and edit: every check, then the generation.
    void PrepareRun();
    // The client or service list of the branch, picked into `keys`.
    void PickList(TADOIBQuery& query, DataSource& source, QRadioButton* listChoice,
                  const QString& emptyKey, const QString& keyField, const QString& titleKey,
                  QString& keys);
    static void Pair(QRadioButton* clicked, QRadioButton* other, TBtnPesquisa* listButton,
                     bool listChosen);
    ListingChoice Choice() const;
    static ListingRegistry Registry();

    FocusScope* grbPeriodoScope_;
    FocusScope* grbServicoScope_;
    // The deletions the server refused at an earlier attempt to close.
    QStringList refusedDeletions_;
};

extern QPointer<TfrmRelListComen> frmRelListComen;
extern bool boidcriado;
extern QString stCdCliente;
extern QString stCdServico;
// Branches whose report data was generated, and the report number of each, index by index.
extern QStringList stlCdFilial;
extern QStringList stlNrPrx;

// Shows the report screen modally; returns when it is closed.
void cria_RelListComen();

void Cli_fai00401_StartUp();
void Cli_fai00401_ShutDown();

}  // namespace fai
