#include "DataSetTableModel.h"

#include "GridColumns.h"

#include <QBrush>
#include <QGuiApplication>
#include <QPalette>

namespace fai {

DataSetTableModel::DataSetTableModel(const TDBGridColumns& columns, QObject* parent)
    : QAbstractTableModel(parent), persistent_(columns) {}

void DataSetTableModel::SetSource(DataSource* source) {
    DataLink::SetSource(source);
    Reload();
}

ClientDataSet* DataSetTableModel::ActiveDataSet() const {
    DataSource* source = Source();
    return source && source->State() != DataSetState::Inactive ? source->DataSet() : nullptr;
}

int DataSetTableModel::CurrentRow() const {
    ClientDataSet* dataSet = ActiveDataSet();
    return dataSet ? dataSet->RecNo() - 1 : -1;
}

int DataSetTableModel::ActiveRowCount() const {
    ClientDataSet* dataSet = ActiveDataSet();
    return dataSet ? dataSet->DisplayRowCount() : 0;
}

int DataSetTableModel::ColumnOf(const Field& field) const {
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (columns_[i].field == &field) return static_cast<int>(i);
    }
    return -1;
}

Field* DataSetTableModel::FieldAt(int column) const {
    if (column < 0 || column >= columnCount()) return nullptr;
    if (!Source() || !fieldsOf_ || Source()->DataSet() != fieldsOf_) return nullptr;
    return columns_[std::size_t(column)].field;
}

const TColumn* DataSetTableModel::ColumnAt(int column) const {
    if (column < 0 || column >= columnCount()) return nullptr;
    return columns_[std::size_t(column)].persistent;
}

void DataSetTableModel::Reload() {
    beginResetModel();
    columns_.clear();
    ClientDataSet* dataSet = Source() ? Source()->DataSet() : nullptr;
    fieldsOf_ = dataSet;
    if (!persistent_.IsEmpty()) {
        for (int i = 0; i < persistent_.Count(); ++i) {
            const TColumn& column = persistent_[i];
            columns_.push_back(
                {&column, dataSet ? dataSet->FindField(column.FieldName()) : nullptr});
        }
    } else if (dataSet) {
        for (Field* field : dataSet->Fields()) {
            if (field->Visible()) columns_.push_back({nullptr, field});
        }
    }
    rowCount_ = ActiveRowCount();
    newRowModified_ = false;
    endResetModel();
    emit columnsRebuilt();
    emit currentRowChanged(CurrentRow());
}

int DataSetTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rowCount_;
}

int DataSetTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QString DataSetTableModel::DisplayText(int row, const Field& field) const {
    ClientDataSet* dataSet = ActiveDataSet();
    if (!dataSet || row < 0 || row >= dataSet->DisplayRowCount()) return {};
    // A display handler failing must not take the painting down: the cell stays empty.
    try {
        return dataSet->DisplayRow(row).DisplayText(field);
    } catch (const std::exception&) {
        return {};
    }
}

QString DataSetTableModel::LockReason(int row) const {
    ClientDataSet* dataSet = ActiveDataSet();
    if (!RowLockReason || !dataSet || row < 0 || row >= dataSet->DisplayRowCount()) return {};
    // Asked while painting: a reason that cannot be worked out is none.
    try {
        return RowLockReason(dataSet->DisplayRow(row));
    } catch (const std::exception&) {
        return {};
    }
}

QVariant DataSetTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const Field* field = FieldAt(index.column());
    if (!field) return {};
    switch (role) {
        case Qt::DisplayRole:
            return DisplayText(index.row(), *field);
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(field->DataType() == FieldType::Float
                                           ? Qt::AlignRight | Qt::AlignVCenter
                                           : Qt::AlignLeft | Qt::AlignVCenter);
        case Qt::ForegroundRole:
            if (LockReason(index.row()).isEmpty()) return {};
            return QBrush(QGuiApplication::palette().color(QPalette::Disabled, QPalette::Text));
        case Qt::ToolTipRole: {
            const QString reason = LockReason(index.row());
            if (!reason.isEmpty()) return reason;
            const TColumn* column = ColumnAt(index.column());
            if (column && column->ButtonStyle() == ColumnButtonStyle::Ellipsis &&
                !column->ButtonHint().isEmpty())
                return column->ButtonHint();
            return {};
        }
        default:
            return {};
    }
}

QVariant DataSetTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
    const ShownColumn& column = columns_[std::size_t(section)];
    if (role == Qt::DisplayRole) {
        if (column.persistent && !column.persistent->Title().isEmpty())
            return column.persistent->Title();
        if (const Field* field = FieldAt(section)) return field->DisplayLabel();
        return column.persistent ? column.persistent->FieldName() : QString();
    }
    if (role == Qt::TextAlignmentRole) {
        const Qt::Alignment horizontal =
            column.persistent ? column.persistent->TitleAlignment() : Qt::AlignLeft;
        return QVariant::fromValue(horizontal | Qt::AlignVCenter);
    }
    return {};
}

Qt::ItemFlags DataSetTableModel::flags(const QModelIndex& index) const {
    // The grid decides when a cell may be edited; the view only needs to be allowed to.
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

void DataSetTableModel::RowsChanged(int row) {
    if (row < 0 || row >= rowCount_ || columns_.empty()) return;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void DataSetTableModel::StateChanged(DataSetState state) {
    newRowModified_ = false;
    if (rowCount_ != ActiveRowCount()) {
        Reload();
    } else {
        RowsChanged(CurrentRow());
    }
    emit stateChanged(state);
}

void DataSetTableModel::DataSetReset() { Reload(); }

void DataSetTableModel::CurrentChanged(int row) { emit currentRowChanged(row); }

void DataSetTableModel::RecordChanged(int row, const Field* field) {
    ClientDataSet* dataSet = ActiveDataSet();
    if (field && dataSet && dataSet->State() == DataSetState::Insert) newRowModified_ = true;
    RowsChanged(row);
}

void DataSetTableModel::RowInserted(int row) {
    if (row < 0 || row > rowCount_) {
        Reload();
        return;
    }
    beginInsertRows({}, row, row);
    ++rowCount_;
    endInsertRows();
}

void DataSetTableModel::RowRemoved(int row) {
    if (row < 0 || row >= rowCount_) {
        Reload();
        return;
    }
    beginRemoveRows({}, row, row);
    --rowCount_;
    endRemoveRows();
}

void DataSetTableModel::FocusControlRequested(Field& field) { emit focusRequested(&field); }

}  // namespace fai
