#include "LookupDialog.h"

#include "EventGuard.h"
#include "TDBGrid.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fai {

LookupDialog::LookupDialog(DataSource& source, const QString& title, QWidget* parent)
    : QDialog(parent), grid_(new TDBGrid(this)), search_(new QLineEdit(this)) {
    setObjectName(QStringLiteral("frmPesquisa"));
    setWindowTitle(title);
    resize(520, 360);
    search_->setObjectName(QStringLiteral("edtPesquisa"));
    search_->setPlaceholderText(QStringLiteral("Pesquisar"));
    grid_->setObjectName(QStringLiteral("dbgPesquisa"));
    grid_->SetOptions(TDBGrid::dgTitles | TDBGrid::dgColumnResize | TDBGrid::dgColLines |
                      TDBGrid::dgRowLines | TDBGrid::dgAlwaysShowSelection);
    grid_->SetDataSource(&source);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("btnOk"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("btnCancelar"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(search_);
    layout->addWidget(grid_);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(grid_, &QAbstractItemView::doubleClicked, this, &QDialog::accept);
    connect(search_, &QLineEdit::textEdited, this,
            [this](const QString& text) { GuardEvent([this, &text] { Search(text); }); });
    search_->installEventFilter(this);
    grid_->installEventFilter(this);
}

bool LookupDialog::Search(const QString& text) {
    ClientDataSet* dataSet = grid_->ActiveDataSet();
    const Field* field = grid_->SelectedField();
    if (!dataSet || !field || text.isEmpty()) return false;
    for (int row = 0; row < dataSet->RecordCount(); ++row) {
        if (dataSet->DisplayRow(row).DisplayText(*field).startsWith(text, Qt::CaseInsensitive)) {
            dataSet->SetRecNo(row + 1);
            return true;
        }
    }
    return false;
}

bool LookupDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        accept();
        return true;
    }
    if (watched == search_ && (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
                               key == Qt::Key_PageDown)) {
        QCoreApplication::sendEvent(grid_, event);
        return true;
    }
    return false;
}

}  // namespace fai
