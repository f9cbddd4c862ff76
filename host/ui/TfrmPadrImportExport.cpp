#include "TfrmPadrImportExport.h"

#include "TButtonFlat.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace fai {

TfrmPadrImportExport::TfrmPadrImportExport(QWidget* parent)
    : TBaseForm(parent),
      grbDadosRel(new QGroupBox(this)),
      panProgresso(new QWidget(this)),
      pgbProgresso(new QProgressBar(panProgresso)),
      panMenu(new QWidget(this)),
      panBotoes(new QWidget(panMenu)) {
    grbDadosRel->setObjectName(QStringLiteral("grbDadosRel"));
    panProgresso->setObjectName(QStringLiteral("panProgresso"));
    pgbProgresso->setObjectName(QStringLiteral("pgbProgresso"));
    panMenu->setObjectName(QStringLiteral("panMenu"));
    panBotoes->setObjectName(QStringLiteral("panBotoes"));
    // F10 confirms here as it does on every screen of the program.
    sbtImportExport = MakeToolButton(panBotoes, "sbtImportExport", QStringLiteral("Executar"),
                                     QStringLiteral("Executar"), Qt::Key_F10);
    sbtImportExport->OnClick = [this] { sbtImportExportClick(); };

    auto* buttons = new QHBoxLayout(panBotoes);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(sbtImportExport);
    auto* menu = new QHBoxLayout(panMenu);
    menu->setContentsMargins(0, 0, 0, 0);
    menu->addWidget(panBotoes);
    menu->addStretch(1);
    menu->addWidget(lblCodTela);
    auto* progress = new QHBoxLayout(panProgresso);
    progress->setContentsMargins(0, 0, 0, 0);
    progress->addWidget(pgbProgresso);

    FormLayout()->addWidget(panMenu);
    FormLayout()->addWidget(grbDadosRel, 1);
    FormLayout()->addWidget(panProgresso);
}

}  // namespace fai
