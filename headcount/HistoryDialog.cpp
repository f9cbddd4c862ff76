#include "HistoryDialog.h"

#include "DialogService.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace fai {

TfrmHistEfetFatur::TfrmHistEfetFatur(const QString& rowLabel, const std::vector<HistoryLine>& lines,
                                     QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmHistEfetFatur"));
    setWindowTitle(QStringLiteral("Histórico do Efetivo"));
    resize(760, 360);
    auto* layout = new QVBoxLayout(this);
    lblHistorico = new QLabel(lines.empty() ? rowLabel + QStringLiteral(": nenhuma alteração "
                                                                        "registrada.")
                                            : rowLabel,
                              this);
    lblHistorico->setObjectName(QStringLiteral("lblHistorico"));
    layout->addWidget(lblHistorico);

    dbgHistorico = new QTableWidget(static_cast<int>(lines.size()), 5, this);
    dbgHistorico->setObjectName(QStringLiteral("dbgHistorico"));
    dbgHistorico->setHorizontalHeaderLabels({QStringLiteral("Quando"), QStringLiteral("Usuário"),
                                             QStringLiteral("Alteração"), QStringLiteral("De"),
                                             QStringLiteral("Para")});
    dbgHistorico->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dbgHistorico->setSelectionBehavior(QAbstractItemView::SelectRows);
    dbgHistorico->verticalHeader()->hide();
    dbgHistorico->setVisible(!lines.empty());
    for (int row = 0; row < dbgHistorico->rowCount(); ++row) {
        const HistoryLine& line = lines[static_cast<std::size_t>(row)];
        int column = 0;
        for (const QString& text : {line.when, line.who, line.what, line.from, line.to}) {
            auto* cell = new QTableWidgetItem(text);
            if (column >= 3) cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            dbgHistorico->setItem(row, column++, cell);
        }
    }
    dbgHistorico->resizeColumnsToContents();
    dbgHistorico->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(dbgHistorico, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Fechar"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void MostraHistorico(const QString& rowLabel, const std::vector<HistoryLine>& lines,
                     QWidget* parent) {
    TfrmHistEfetFatur dialog(rowLabel, lines, parent);
    DialogService::Instance().ExecModal(dialog);
}

}  // namespace fai
