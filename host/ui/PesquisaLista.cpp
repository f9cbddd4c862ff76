#include "PesquisaLista.h"

#include "DataSource.h"
#include "DialogService.h"

#include <QAbstractTableModel>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QSet>
#include <QTableView>
#include <QVBoxLayout>

#include <vector>

namespace fai {
namespace {

// The rows of a dataset with a check box in front of each, read without moving its cursor.
class CheckedRowsModel : public QAbstractTableModel {
  public:
    CheckedRowsModel(ClientDataSet& dataSet, const Field& key, const QSet<QString>& chosen,
                     bool all, QObject* parent)
        : QAbstractTableModel(parent), dataSet_(dataSet), key_(key) {
        for (Field* field : dataSet.Fields()) {
            if (field->Visible()) columns_.push_back(field);
        }
        checked_.resize(std::size_t(dataSet.RecordCount()));
        for (int row = 0; row < dataSet.RecordCount(); ++row)
            checked_[std::size_t(row)] = all || chosen.contains(KeyOf(row));
    }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(checked_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(columns_.size()) + 1;
    }

    QVariant data(const QModelIndex& index, int role) const override {
        const std::size_t row = std::size_t(index.row());
        if (index.column() == 0)
            return role == Qt::CheckStateRole
                       ? QVariant(checked_[row] ? Qt::Checked : Qt::Unchecked)
                       : QVariant();
        if (role != Qt::DisplayRole) return {};
        try {
            return dataSet_.DisplayRow(index.row())
                .DisplayText(*columns_[std::size_t(index.column() - 1)]);
        } catch (const std::exception&) {
            return {};
        }
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        if (index.column() != 0 || role != Qt::CheckStateRole) return false;
        checked_[std::size_t(index.row())] = value.toInt() == Qt::Checked;
        emit dataChanged(index, index, {Qt::CheckStateRole});
        return true;
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (index.column() == 0) flags |= Qt::ItemIsUserCheckable;
        return flags;
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
        return section == 0 ? QStringLiteral("Marcar")
                            : columns_[std::size_t(section - 1)]->DisplayLabel();
    }

    void CheckAll(bool checked) {
        std::fill(checked_.begin(), checked_.end(), checked);
        if (!checked_.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, 0));
    }

    QStringList ChosenKeys() const {
        QStringList keys;
        for (std::size_t row = 0; row < checked_.size(); ++row) {
            if (checked_[row]) keys << KeyOf(int(row));
        }
        return keys;
    }

  private:
    QString KeyOf(int row) const { return dataSet_.DisplayRow(row).AsString(key_); }

    ClientDataSet& dataSet_;
    const Field& key_;
    std::vector<Field*> columns_;
    std::vector<bool> checked_;
};

}  // namespace

bool PesquisaLista(DataSource* source, const QString& keyField, const QString& title,
                   bool selectAll, QString& keys) {
    ClientDataSet* dataSet =
        source && source->State() != DataSetState::Inactive ? source->DataSet() : nullptr;
    if (!dataSet || dataSet->IsEmpty()) {
        DialogService::Instance().Message(
            DialogKind::Information, QStringLiteral("Não há registros para selecionar."), mbOk);
        return false;
    }
    const Field& key = dataSet->FieldByName(keyField);
    const QStringList previous = SplitKeys(keys);

    QDialog list;
    list.setObjectName(QStringLiteral("frmPesquisaLista"));
    list.setWindowTitle(title);
    list.resize(520, 380);
    auto* model = new CheckedRowsModel(
        *dataSet, key, QSet<QString>(previous.begin(), previous.end()), selectAll, &list);
    auto* table = new QTableView(&list);
    table->setObjectName(QStringLiteral("grdLista"));
    table->setModel(model);
    table->verticalHeader()->hide();
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    // Each column as wide as its widest text: a registration number cut is no number.
    table->resizeColumnsToContents();
    auto* all = new QPushButton(QStringLiteral("Marcar todos"), &list);
    all->setObjectName(QStringLiteral("btnTodos"));
    auto* none = new QPushButton(QStringLiteral("Desmarcar todos"), &list);
    none->setObjectName(QStringLiteral("btnNenhum"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &list);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("btnOk"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("btnCancelar"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
    buttons->addButton(all, QDialogButtonBox::ActionRole);
    buttons->addButton(none, QDialogButtonBox::ActionRole);
    auto* layout = new QVBoxLayout(&list);
    layout->addWidget(table);
    layout->addWidget(buttons);
    QObject::connect(all, &QPushButton::clicked, model, [model] { model->CheckAll(true); });
    QObject::connect(none, &QPushButton::clicked, model, [model] { model->CheckAll(false); });
    QObject::connect(buttons, &QDialogButtonBox::accepted, &list, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &list, &QDialog::reject);

    if (DialogService::Instance().ExecModal(list) != QDialog::Accepted) return false;
    keys = JoinKeys(model->ChosenKeys());
    return true;
}

}  // namespace fai
