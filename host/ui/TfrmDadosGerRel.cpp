#include "TfrmDadosGerRel.h"

#include "Consiste.h"
#include "DialogService.h"
#include "Errors.h"
#include "ReportDocument.h"
#include "ReportFile.h"
#include "ReportOutput.h"
#include "ReportPreview.h"
#include "ReportProgressDialog.h"
#include "TButtonFlat.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
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
    // The keys of the same commands elsewhere: F9 previews in the designer too.
    sbtPrint = MakeToolButton(panMenu, "sbtPrint", QStringLiteral("Imprimir"),
                              QStringLiteral("Imprimir"), QKeySequence(Qt::CTRL | Qt::Key_P));
    sbtPreview = MakeToolButton(panMenu, "sbtPreview", QStringLiteral("Visualizar"),
                                QStringLiteral("Visualizar"), Qt::Key_F9);
    sbtSalvarComo = MakeToolButton(panMenu, "sbtSalvarComo", QStringLiteral("Salvar como"),
                                   QStringLiteral("Salvar como"),
                                   QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    sbtReportEdit = MakeToolButton(panMenu, "sbtReportEdit", QStringLiteral("Editar"),
                                   QStringLiteral("Editar o layout do relatório"),
                                   QKeySequence(Qt::CTRL | Qt::Key_E));
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

TfrmDadosGerRel::~TfrmDadosGerRel() = default;

void TfrmDadosGerRel::SetReportCode(const QString& code) { lblCodRel->setText(code); }

QString TfrmDadosGerRel::ReportCode() const { return lblCodRel->text(); }

void TfrmDadosGerRel::FormCreate() {
    TBaseForm::FormCreate();
    LoadReportNames();
}

void TfrmDadosGerRel::LoadReportNames(const QString& path) {
    catalog_ = ReportCatalog::Scan(CurrentReportFolders(), ReportCode());
    cbbReportNames->clear();
    for (const ReportEntry& entry : catalog_.Entries()) {
        cbbReportNames->addItem(entry.title, entry.path);
        cbbReportNames->setItemData(cbbReportNames->count() - 1, entry.path, Qt::ToolTipRole);
    }
    cbbReportNames->setCurrentIndex(std::max(catalog_.IndexOfPath(path), 0));
    if (!catalog_.Problems().isEmpty())
        DialogService::Instance().Message(
            DialogKind::Warning,
            QStringLiteral("Estas definições de relatório não puderam ser lidas e ficaram fora "
                           "da lista:\n\n") +
                catalog_.Problems().join(QStringLiteral("\n\n")),
            mbOk);
}

ReportEntry TfrmDadosGerRel::ChosenReport() {
    const int index = cbbReportNames->currentIndex();
    if (index < 0 || index >= int(catalog_.Entries().size()))
        MensErro(Format(ReportMessage(QStringLiteral("Arq_Rel_Err")),
                        {ReportCode(), CurrentReportFolders().installed}));
    return catalog_.Entries()[std::size_t(index)];
}

std::unique_ptr<ReportDocument> TfrmDadosGerRel::RunChosenReport() {
    const ReportDefinition definition = ReadReportFile(ChosenReport().path);
    ReportProgressDialog progress(this);
    return RunReport(definition, rpddPadrao.BeforeGetQueryParams, progress);
}

void TfrmDadosGerRel::sbtPrintClick() { PrintWithDialog(*RunChosenReport(), this); }

void TfrmDadosGerRel::sbtPreviewClick() { ShowPreview(RunChosenReport(), this); }

void TfrmDadosGerRel::sbtSalvarComoClick() {
    const ReportEntry source = ChosenReport();
    QInputDialog ask(this);
    ask.setObjectName(QStringLiteral("dlgNovoTitulo"));
    ask.setWindowTitle(ReportMessage(QStringLiteral("NovoCaption")));
    ask.setLabelText(ReportMessage(QStringLiteral("NovoPrompt")));
    ask.setTextValue(source.title);
    if (DialogService::Instance().ExecModal(ask) != QDialog::Accepted) return;
    const QString path =
        SaveReportCopy(catalog_, source, ask.textValue(), CurrentReportFolders().user);
    LoadReportNames(path);
}

void TfrmDadosGerRel::sbtReportEditClick() {
    const QString saved = rpddPadrao.Execute(ChosenReport().path, this);
    if (!saved.isEmpty()) LoadReportNames(saved);
}

QString TfrmDadosGerRel::ReportMessage(const QString& key) const {
    return msgPadrao.Contains(key) ? msgPadrao.Msg(key) : msgMensagensPadroes.Msg(key);
}

}  // namespace fai
