#pragma once

#include "DataSource.h"

#include <QAbstractTableModel>

#include <functional>
#include <vector>

namespace fai {

class TColumn;
class TDBGridColumns;

// The rows of a data source as a table: one row per visible record (the row being inserted
// included), one column per grid column. Cells are read straight from the dataset, so a
// table of any size costs nothing per row. Only the current record can be written, through
// its fields.
class DataSetTableModel : public QAbstractTableModel, private DataLink {
    Q_OBJECT
  public:
    explicit DataSetTableModel(const TDBGridColumns& columns, QObject* parent = nullptr);

    DataSource* Source() const { return DataLink::Source(); }
    void SetSource(DataSource* source);
    // The dataset while the source shows one; null when the source is inactive.
    ClientDataSet* ActiveDataSet() const;
    // The current record's row, or -1.
    int CurrentRow() const;
    // Whether a field of the row being inserted was assigned since the insert began.
    bool NewRowModified() const { return newRowModified_; }

    // Runs before every post of the dataset: the grid writes its open cell editor here.
    std::function<void()> OnUpdateData;
    // Why a row cannot be changed, or empty: such a row shows muted, with the reason as its
    // tool tip.
    std::function<QString(const RowView& row)> RowLockReason;
    QString LockReason(int row) const;

    int ColumnOf(const Field& field) const;
    Field* FieldAt(int column) const;
    // The persistent column shown at `column`, or null for a default column.
    const TColumn* ColumnAt(int column) const;
    // Columns and rows read again from the source: the columns follow the persistent
    // columns or, without them, the dataset's visible fields.
    void Reload();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  signals:
    void currentRowChanged(int row);
    void stateChanged(fai::DataSetState state);
    void focusRequested(fai::Field* field);
    void columnsRebuilt();

  private:
    struct ShownColumn {
        const TColumn* persistent;
        Field* field;
    };

    QString DisplayText(int row, const Field& field) const;
    int ActiveRowCount() const;
    void RowsChanged(int row);

    void StateChanged(DataSetState state) override;
    void DataSetReset() override;
    void CurrentChanged(int row) override;
    void RecordChanged(int row, const Field* field) override;
    void RowInserted(int row) override;
    void RowRemoved(int row) override;
    void FocusControlRequested(Field& field) override;
    void UpdateData() override {
        if (OnUpdateData) OnUpdateData();
    }

    const TDBGridColumns& persistent_;
    std::vector<ShownColumn> columns_;
    // The dataset the columns' fields belong to. A dataset destroyed before the grid (a
    // screen's member dataset, its grids being child widgets) leaves the source without one,
    // and its fields are then no longer read.
    const ClientDataSet* fieldsOf_ = nullptr;
    int rowCount_ = 0;
    bool newRowModified_ = false;
};

}  // namespace fai
