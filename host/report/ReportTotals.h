#pragma once

#include "ReportDefinition.h"
#include "ReportTable.h"
#include "Value.h"

#include <vector>

namespace fai {

// The groups of a report's rows and the aggregates of its elements, worked out in one pass
// before the layout, so that a group header can show its group's total as well as the
// footer. Sums are kept exactly, as whole hundred-thousandths (the five decimals a count or
// value can have), whatever the number of rows; averages divide that exact sum.
class ReportTotals {
  public:
    // groupColumns: the column of each group's field, outermost first.
    ReportTotals(const ReportTable& table, std::vector<int> groupColumns);

    int GroupCount() const { return int(groupColumns_.size()); }
    // The outermost group level that starts a new group at the row: 0 for the first row,
    // GroupCount() when the row continues every group of the row before it.
    int BreakLevel(int row) const { return breakLevel_[std::size_t(row)]; }

    // Registers an aggregate of `column` (-1: rows, for a count) over the group at `level`
    // (-1: the whole report) and returns its number. Compute works them all out.
    int Add(AggregateFunction function, int column, int level);
    // Throws EError when a sum or average meets a value that is no number.
    void Compute();
    // The aggregate over the group (at its level) that holds the row; null when it has no
    // value there (the average of no values).
    Value Result(int aggregate, int row) const;

  private:
    struct Accumulator {
        qint64 sum = 0;  // hundred-thousandths
        qint64 count = 0;
        Value minimum;
        Value maximum;
    };
    struct Aggregate {
        AggregateFunction function;
        int column;
        int level;
        std::vector<Accumulator> groups;  // one per group at the level (one for the report)
    };

    int GroupOf(int level, int row) const;
    void Accumulate(Aggregate& aggregate, Accumulator& into, int row) const;

    const ReportTable& table_;
    std::vector<int> groupColumns_;
    std::vector<int> breakLevel_;
    // The ordinal of each row's group, level by level.
    std::vector<std::vector<int>> groupOfRow_;
    std::vector<Aggregate> aggregates_;
};

}  // namespace fai
