#include "TfrmDadosGerRel.h"

#include "DialogService.h"
#include "TButtonFlat.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace fai {

TfrmDadosGerRel::TfrmDadosGerRel(QWidget* parent)
    : TBaseForm(parent),
      grbDadosRel(new QGroupBox(this)),
      panRelat(new QWidget(this)),
      cbbReportNames(new QComboBox(panRelat)),
      panMenu(new QWidget(this)),
      lblCodRel(new QLabel(panMenu)) {
    grbDadosRel->setObjectName(QStringLiteral("grbDadosRel"));
    panRelat->setObjectName(QStringLiteral("panRelat"));
    cbbReportNames->setObjectName(QStringLiteral("cbbReportNames"));
    panMenu->setObjectName(QStringLiteral("panMenu"));
    lblCodRel->setObjectName(QStringLiteral("lblCodRel"));

    auto* menu = new QHBoxLayout(panMenu);
    menu->setContentsMargins(0, 0, 0, 0);
    sbtPrint =
        MakeToolButton(panMenu, "sbtPrint", QStringLiteral("Imprimir"), QStringLiteral("Imprimir"));
    sbtPreview = MakeToolButton(panMenu, "sbtPreview", QStringLiteral("Visualizar"),
                                QStringLiteral("Visualizar"));
    sbtSalvarComo = MakeToolButton(panMenu, "sbtSalvarComo", QStringLiteral("Salvar como"),
                                   QStringLiteral("Salvar como"));
    sbtReportEdit = MakeToolButton(panMenu, "sbtReportEdit", QStringLiteral("Editar"),
                                   QStringLiteral("Editar o layout do relatório"));
    for (TButtonFlat* button : {sbtPrint, sbtPreview, sbtSalvarComo, sbtReportEdit})
        menu->addWidget(button);
    menu->addStretch(1);
    menu->addWidget(lblCodRel);
    menu->addWidget(lblCodTela);

    auto* report = new QHBoxLayout(panRelat);
    report->setContentsMargins(0, 0, 0, 0);
    report->addWidget(new QLabel(QStringLiteral("Relatório"), panRelat));
    report->addWidget(cbbReportNames, 1);

    FormLayout()->addWidget(panMenu);
    FormLayout()->addWidget(grbDadosRel, 1);
    FormLayout()->addWidget(panRelat);

    sbtPrint->OnClick = [this] { sbtPrintClick(); };
    sbtPreview->OnClick = [this] { sbtPreviewClick(); };
    sbtSalvarComo->OnClick = [this] { sbtSalvarComoClick(); };
    sbtReportEdit->OnClick = [this] { sbtReportEditClick(); };
}

void TfrmDadosGerRel::SetReportCode(const QString& code) { lblCodRel->setText(code); }

void TfrmDadosGerRel::sbtPrintClick() { ReportActionNotAvailable(); }
void TfrmDadosGerRel::sbtPreviewClick() { ReportActionNotAvailable(); }
void TfrmDadosGerRel::sbtSalvarComoClick() { ReportActionNotAvailable(); }
void TfrmDadosGerRel::sbtReportEditClick() { ReportActionNotAvailable(); }

void TfrmDadosGerRel::ReportActionNotAvailable() {
    DialogService::Instance().Message(
        DialogKind::Information, msgMensagensPadroes.Msg(QStringLiteral("RelIndisponivel")), mbOk);
}

}  // namespace fai
