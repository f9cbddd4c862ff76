#include "EfetFaturControls.h"

#include "EfetFaturSession.h"
#include "FocusScope.h"
#include "HeadcountFields.h"
#include "PageFocus.h"
#include "ScreenControls.h"
#include "ShiftFields.h"
#include "TBtnPesquisa.h"
#include "TButtonFlat.h"
#include "TDBGrid.h"
#include "TDBText.h"
#include "TDateEditPlus.h"
#include "TMaskEdit.h"
#include "TfrmPadraoSimples.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStackedWidget>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

namespace fai {
namespace {

TColumn& AddColumn(TDBGrid* grid, packets::FieldName field, int width = -1) {
    TColumn& column = grid->Columns().Add(QString(field));
    if (width >= 0) column.SetWidth(width);
    return column;
}

// Its button, when the client has apportionment items, opens them.
void AddBilledColumn(TDBGrid* grid, int width) {
    TColumn& billed = AddColumn(grid, HeadcountFields::QTCOMEFATU, width);
    billed.SetTitleAlignment(Qt::AlignRight);
    billed.SetButtonHint(QStringLiteral("Itens para rateio de efetivos (Ctrl+Enter)"));
}

}  // namespace

void EfetFaturControls::BuildControls(TfrmPadraoSimples& screen, EfetFaturSession& session) {
    dtsFilial.SetDataSet(&session.qryFilial.DataSet());
    dtsCliente.SetDataSet(&session.cdsCliente);
    dtsServico.SetDataSet(&session.cdsServico);
    dtsTurno.SetDataSet(&session.cdsTurno);
    dtsFatuPla.SetDataSet(&session.cdsFatuPla);
    BuildCommands(screen);
    BuildFilterPanel(screen);
    BuildPages(screen, screen.dtsPadrao);
    SetTabOrder();
}

void EfetFaturControls::BuildCommands(TfrmPadraoSimples& screen) {
    screen.AddMenuSeparator();
    mnuDuplComens = screen.AddMenuEntry("mnuDuplComens", QStringLiteral("&Duplicação de Comensais"),
                                        QKeySequence(Qt::CTRL | Qt::Key_D));
    mnuImportar =
        screen.AddMenuEntry("mnuImportar", QStringLiteral("I&mportar Efetivos Transportados"),
                            QKeySequence(Qt::CTRL | Qt::Key_M));
    mnuHistorico = screen.AddMenuEntry("mnuHistorico", QStringLiteral("&Histórico"),
                                       QKeySequence(Qt::CTRL | Qt::Key_H));
    screen.AddMenuSeparator();
    mnuTurno = screen.AddMenuEntry("mnuTurno", QStringLiteral("T&urnos do efetivo"),
                                   QKeySequence(Qt::CTRL | Qt::Key_T));
    mnuEfetivo = screen.AddMenuEntry("mnuEfetivo", QStringLiteral("Efe&tivos"),
                                     QKeySequence(Qt::CTRL | Qt::Key_E));
    const QList<QAction*> entries = screen.mnuManutencao->actions();
    if (const qsizetype at = entries.indexOf(mnuDuplComens); at > 0)
        entries[at - 1]->setObjectName(QStringLiteral("N1"));
    sbtCadastro = screen.AddToolButton("sbtCadastro", QStringLiteral("Duplicar"),
                                       QStringLiteral("Duplicação de Comensais"), mnuDuplComens,
                                       QStyle::SP_FileLinkIcon);
    sbtImpEfetTrans = screen.AddToolButton("sbtImpEfetTrans", QStringLiteral("Importar"),
                                           QStringLiteral("Importar Efetivos Transportado"),
                                           mnuImportar, QStyle::SP_ArrowDown);
    sbtHistorico = screen.AddToolButton("sbtHistorico", QStringLiteral("Histórico"),
                                        QStringLiteral("Histórico do Efetivo"), mnuHistorico,
                                        QStyle::SP_FileDialogDetailedView);
    for (TButtonFlat* button : {screen.sbtConfirmar, screen.sbtCancelar, screen.sbtIncluir,
                                screen.sbtAlterar, screen.sbtExcluir, screen.sbtProcurar,
                                screen.sbtVerificar, sbtCadastro, sbtImpEfetTrans, sbtHistorico})
        button->setEnabled(false);
    screen.SyncMenuEntries();
}

void EfetFaturControls::BuildFilterPanel(TfrmPadraoSimples& screen) {
    panFiltro = Named(new QFrame(screen.ClientArea()), "panFiltro");
    panFiltro->setFrameShape(QFrame::StyledPanel);

    lblFilial = MakeLabel(panFiltro, "lblFilial", QStringLiteral("Filial"));
    medCdFilial = MakeCodeBox(panFiltro, "medCdFilial", QStringLiteral(">aaaa;0; "), 4, 4);
    btpFilial = MakeLookup(panFiltro, "btpFilial", medCdFilial, QStringLiteral("Filial"),
                           &dtsFilial, QStringLiteral("Não há filial cadastrada."));
    edtNmFilial = MakeNameBox(panFiltro, "edtNmFilial");

    lblCliente = MakeLabel(panFiltro, "lblCliente", QStringLiteral("Cliente"));
    // Wide enough for a company's registration number shown with its punctuation.
    medCdCliente = MakeCodeBox(panFiltro, "medCdCliente", QString(), 20, 13);
    btpCliente = MakeLookup(panFiltro, "btpCliente", medCdCliente, QStringLiteral("Cliente"),
                            &dtsCliente, QStringLiteral("Não há cliente cadastrado."));
    edtNmCliente = MakeNameBox(panFiltro, "edtNmCliente");

    lblEfetivos = MakeLabel(panFiltro, "lblEfetivos", QStringLiteral("Efetivos por"));
    cbbEfetivos = Named(new QComboBox(panFiltro), "cbbEfetivos");
    cbbEfetivos->addItems({QStringLiteral("Data"), QStringLiteral("Serviço")});

    nbkOpcao = Named(new QStackedWidget(panFiltro), "nbkOpcao");
    auto* datePage = Named(new QWidget(nbkOpcao), "Data");
    lblDtLanc = MakeLabel(datePage, "lblDtLanc", QStringLiteral("Data Faturamento"));
    depDataFatu = Named(new TDateEditPlus(datePage), "depDataFatu");
    depDataFatu->setFixedWidth(depDataFatu->sizeHint().width());
    auto* dateRow = Row({lblDtLanc, depDataFatu}, false);
    dateRow->setContentsMargins(0, 0, 0, 0);
    datePage->setLayout(dateRow);

    auto* servicePage = Named(new QWidget(nbkOpcao), "Servico");
    lblServico = MakeLabel(servicePage, "lblServico", QStringLiteral("Serviço"));
    medCdServico = MakeCodeBox(servicePage, "medCdServico", QStringLiteral("99999;0; "), 5, 5);
    btpServico = MakeLookup(servicePage, "btpServico", medCdServico, QStringLiteral("Serviço"),
                            &dtsServico, QStringLiteral("Não há serviço cadastrado."));
    edtNmServico = MakeNameBox(servicePage, "edtNmServico");
    auto* serviceRow = Row({lblServico, medCdServico, btpServico, edtNmServico}, true);
    serviceRow->setContentsMargins(0, 0, 0, 0);
    servicePage->setLayout(serviceRow);
    nbkOpcao->addWidget(datePage);
    nbkOpcao->addWidget(servicePage);

    // Nested layouts keep every control a direct child of the panel, which enables and
    // disables them as one.
    auto* grid = new QGridLayout(panFiltro);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    grid->addWidget(lblFilial, 0, 0);
    grid->addLayout(Row({medCdFilial, btpFilial, edtNmFilial}, true), 0, 1);
    grid->addWidget(lblCliente, 1, 0);
    grid->addLayout(Row({medCdCliente, btpCliente, edtNmCliente}, true), 1, 1);
    grid->addWidget(lblEfetivos, 2, 0);
    grid->addLayout(Row({cbbEfetivos, nbkOpcao}, true), 2, 1);
    grid->setColumnStretch(1, 1);

    panFiltroScope_ = new FocusScope(panFiltro);
}

void EfetFaturControls::BuildPages(TfrmPadraoSimples& screen, DataSource& rows) {
    pgcPadrao = Named(new QTabWidget(screen.ClientArea()), "pgcPadrao");
    tshEfetivo = Named(new QWidget, "tshEfetivo");
    tshTurno = Named(new QWidget, "tshTurno");
    pgcPadrao->addTab(tshEfetivo, QStringLiteral("Efetivo"));
    pgcPadrao->addTab(tshTurno, QStringLiteral("Turno"));
    pgcPadrao->setTabToolTip(0, QStringLiteral("Efetivos (Ctrl+E)"));
    pgcPadrao->setTabToolTip(1, QStringLiteral("Turnos do efetivo (Ctrl+T)"));
    CarryFocusIntoClickedPages(pgcPadrao);
    BuildHeadcountGrids(tshEfetivo, rows);
    BuildShiftGrid(tshTurno);

    auto* area = new QVBoxLayout(screen.ClientArea());
    area->setContentsMargins(0, 0, 0, 0);
    area->setSpacing(4);
    area->addWidget(panFiltro);
    area->addWidget(pgcPadrao, 1);

    pgcPadraoScope_ = new FocusScope(pgcPadrao);
    tshEfetivoScope_ = new FocusScope(tshEfetivo);
}

void EfetFaturControls::BuildHeadcountGrids(QWidget* page, DataSource& rows) {
    nbkGrid = Named(new QStackedWidget(page), "nbkGrid");
    auto* datePage = Named(new QWidget(nbkGrid), "Grid Data");
    auto* servicePage = Named(new QWidget(nbkGrid), "Grid Servico");
    dbgData = Named(new TDBGrid(datePage), "dbgData");
    dbgServico = Named(new TDBGrid(servicePage), "dbgServico");
    for (auto [gridPage, grid] : {std::pair{datePage, dbgData}, {servicePage, dbgServico}}) {
        auto* layout = new QVBoxLayout(gridPage);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(grid);
        nbkGrid->addWidget(gridPage);
        grid->SetDataSource(&rows);
    }

    AddColumn(dbgData, HeadcountFields::CDSERVFILI, 40);
    AddColumn(dbgData, HeadcountFields::NMSERVICO, 205);
    AddColumn(dbgData, HeadcountFields::DSEMISSERCLI, 250).SetReadOnly(true);
    AddBilledColumn(dbgData, 107);
    AddColumn(dbgData, HeadcountFields::QTCOMEPREV);
    AddColumn(dbgData, HeadcountFields::VRSERVFATUDT);

    AddColumn(dbgServico, HeadcountFields::DTFATURAM, 90);
    AddColumn(dbgServico, HeadcountFields::DIASEMANA, 78).SetTitle(QStringLiteral("Dia da Semana"));
    AddBilledColumn(dbgServico, 128);
    AddColumn(dbgServico, HeadcountFields::QTCOMEPREV);
    AddColumn(dbgServico, HeadcountFields::VRSERVFATUDT);

    // By service the grid has no room for the description: it shows below the rows.
    panDesc = Named(new QFrame(page), "panDesc");
    auto* caption = MakeLabel(panDesc, "lblDesc", QStringLiteral("Descrição para Emissão:"));
    dbtDesc = Named(new TDBText(panDesc), "dbtDesc");
    dbtDesc->SetDataSource(&rows);
    dbtDesc->SetDataField(HeadcountFields::DSEMISSERCLI);
    dbtDesc->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* descRow = new QHBoxLayout(panDesc);
    descRow->setContentsMargins(2, 2, 2, 2);
    descRow->addWidget(caption);
    descRow->addWidget(dbtDesc, 1);
    panDesc->hide();

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(nbkGrid, 1);
    layout->addWidget(panDesc);
}

void EfetFaturControls::BuildShiftGrid(QWidget* page) {
    dbgTurno = Named(new TDBGrid(page), "dbgTurno");
    dbgTurno->SetOptions(TDBGrid::dgEditing | TDBGrid::dgTitles | TDBGrid::dgColumnResize |
                         TDBGrid::dgColLines | TDBGrid::dgRowLines | TDBGrid::dgTabs |
                         TDBGrid::dgAlwaysShowSelection | TDBGrid::dgConfirmDelete);
    dbgTurno->SetDataSource(&dtsTurno);
    AddColumn(dbgTurno, ShiftFields::CDTURNO, 52).SetTitle(QStringLiteral("Código"));
    AddColumn(dbgTurno, ShiftFields::NMTURNO, 187).SetTitle(QStringLiteral("Nome"));
    AddColumn(dbgTurno, ShiftFields::QTCOMFATUTUR);
    lblTurno = MakeLabel(page, "lblTurno", QString());
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(lblTurno);
    layout->addWidget(dbgTurno);
}

void EfetFaturControls::SetTabOrder() {
    QWidget::setTabOrder(medCdFilial, medCdCliente);
    QWidget::setTabOrder(medCdCliente, cbbEfetivos);
    QWidget::setTabOrder(cbbEfetivos, depDataFatu);
    QWidget::setTabOrder(depDataFatu, medCdServico);
    QWidget::setTabOrder(medCdServico, pgcPadrao);
}

}  // namespace fai
