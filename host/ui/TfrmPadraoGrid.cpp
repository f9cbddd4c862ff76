#include "TfrmPadraoGrid.h"

#include "TDBGrid.h"
#include "TDBNavigator.h"
#include "TDBText.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace fai {

TfrmPadraoGrid::TfrmPadraoGrid(QWidget* parent)
    : TfrmPadraoSimples(parent),
      dbgPadrao(new TDBGrid(ClientArea())),
      dbnPadrao(new TDBNavigator(ClientArea())),
      dbtNome(new TDBText(ClientArea())) {
    dbgPadrao->setObjectName(QStringLiteral("dbgPadrao"));
    dbnPadrao->setObjectName(QStringLiteral("dbnPadrao"));
    dbtNome->setObjectName(QStringLiteral("dbtNome"));
    dbgPadrao->SetDataSource(&dtsPadrao);
    dbnPadrao->SetDataSource(&dtsPadrao);
    dbtNome->SetDataSource(&dtsPadrao);
    auto* top = new QHBoxLayout;
    top->addWidget(dbnPadrao);
    top->addWidget(dbtNome, 1);
    auto* layout = new QVBoxLayout(ClientArea());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addWidget(dbgPadrao, 1);
}

}  // namespace fai
