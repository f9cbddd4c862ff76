#pragma once

#include "Value.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace fai {

// The rows a report's query returned: the columns by name and a value per column in each
// row, kept row after row in one block.
class ReportTable {
  public:
    explicit ReportTable(QStringList columns = {}) : columns_(std::move(columns)) {}

    const QStringList& Columns() const { return columns_; }
    // Letter case ignored; -1 when the query has no such column.
    int ColumnIndex(const QString& name) const;
    int RowCount() const;
    const Value& At(int row, int column) const {
        return cells_[std::size_t(row) * std::size_t(columns_.size()) + std::size_t(column)];
    }

    // Appends one row: exactly one value per column.
    void AppendRow(std::vector<Value>& row);
    void Reserve(int rows) { cells_.reserve(std::size_t(rows) * std::size_t(columns_.size())); }

  private:
    QStringList columns_;
    std::vector<Value> cells_;
};

}  // namespace fai
