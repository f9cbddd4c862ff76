#include "LookupDialog.h"

#include "EventGuard.h"
#include "RowSearch.h"
#include "SearchBox.h"
#include "TDBGrid.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace fai {
LookupDialog::LookupDialog(DataSource& source, const QString& title, QWidget* parent)
    : QDialog(parent),
      grid_(new TDBGrid(this)),
      search_(new QLineEdit(this)),
      note_(new QLabel(this)) {
    setObjectName(QStringLiteral("frmPesquisa"));
    setWindowTitle(title);
    search_->setObjectName(QStringLiteral("edtPesquisa"));
    search_->setPlaceholderText(QStringLiteral("Pesquisar"));
    note_->setObjectName(QStringLiteral("lblPesquisa"));
    grid_->setObjectName(QStringLiteral("dbgPesquisa"));
    grid_->SetOptions(TDBGrid::dgTitles | TDBGrid::dgColumnResize | TDBGrid::dgColLines |
                      TDBGrid::dgRowLines | TDBGrid::dgAlwaysShowSelection);
    grid_->SetDataSource(&source);
    QStringList titles;
    for (int column = 0; column < grid_->ColumnCount(); ++column) {
        if (!grid_->isColumnHidden(column))
            titles << grid_->model()->headerData(column, Qt::Horizontal).toString();
    }
    where_ = QStringLiteral("Pesquisa em: %1.").arg(titles.join(QStringLiteral(", ")));
    note_->setText(where_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("btnOk"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("btnCancelar"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(search_);
    layout->addWidget(note_);
    layout->addWidget(grid_);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(grid_, &QAbstractItemView::doubleClicked, this, &QDialog::accept);
    connect(search_, &QLineEdit::textEdited, this,
            [this](const QString& text) { GuardEvent([this, &text] { Search(text); }); });
    search_->installEventFilter(this);
    MoveListFromSearchBox(search_, grid_);
    grid_->installEventFilter(this);
    setTabOrder(search_, grid_);
    search_->setFocus();
    FitToColumns();
}

void LookupDialog::FitToColumns() {
    QSize size(520, 360);
    size.setWidth(std::max(size.width(), grid_->WidthShowingAllColumns() +
                                             layout()->contentsMargins().left() +
                                             layout()->contentsMargins().right()));
    if (const QScreen* screen = this->screen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    resize(size);
}

bool LookupDialog::Search(const QString& text) {
    ClientDataSet* dataSet = grid_->ActiveDataSet();
    if (!dataSet || text.trimmed().isEmpty()) {
        note_->setText(where_);
        return false;
    }
    const int row = RowSearch(text).FindRow(*dataSet, grid_->ShownFields());
    if (row < 0) {
        note_->setText(QStringLiteral("Nada encontrado com “%1”. %2").arg(text.trimmed(), where_));
        return false;
    }
    note_->setText(where_);
    dataSet->SetRecNo(row + 1);
    return true;
}

bool LookupDialog::eventFilter(QObject*, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        accept();
        return true;
    }
    return false;
}

}  // namespace fai
