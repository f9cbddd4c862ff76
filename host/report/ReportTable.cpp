#include "ReportTable.h"

#include <iterator>

namespace fai {

int ReportTable::ColumnIndex(const QString& name) const {
    for (qsizetype i = 0; i < columns_.size(); ++i) {
        if (columns_[i].compare(name, Qt::CaseInsensitive) == 0) return int(i);
    }
    return -1;
}

int ReportTable::RowCount() const {
    return columns_.isEmpty() ? 0 : int(cells_.size() / std::size_t(columns_.size()));
}

void ReportTable::AppendRow(std::vector<Value>& row) {
    cells_.insert(cells_.end(), std::make_move_iterator(row.begin()),
                  std::make_move_iterator(row.end()));
    row.clear();
}

}  // namespace fai
