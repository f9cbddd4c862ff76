#include "ReportTotals.h"

#include "BrazilianText.h"
#include "Errors.h"
#include "ValueConversion.h"

#include <cmath>

namespace fai {
namespace {

constexpr double kScale = 100000.0;

double NumberOf(const Value& value, const QString& column) {
    if (value.IsNumber()) return value.Number();
    if (value.IsText()) {
        bool ok = false;
        const double number = value.Text().trimmed().toDouble(&ok);
        if (ok) return number;
        if (const std::optional<double> typed = ParseNumber(value.Text())) return *typed;
    }
    throw EError(QStringLiteral("A coluna '%1' tem o valor \"%2\", que não é um número: não "
                                "pode ser somada.")
                     .arg(column, TextOf(value)));
}

// Order within one kind of value; values of different kinds compare by their text.
bool Less(const Value& a, const Value& b) {
    if (a.IsNumber() && b.IsNumber()) return a.Number() < b.Number();
    if (a.IsDate() && b.IsDate()) return a.Date() < b.Date();
    return TextOf(a) < TextOf(b);
}

}  // namespace

ReportTotals::ReportTotals(const ReportTable& table, std::vector<int> groupColumns)
    : table_(table), groupColumns_(std::move(groupColumns)) {
    const int rows = table.RowCount();
    const std::size_t levels = groupColumns_.size();
    breakLevel_.resize(std::size_t(rows));
    groupOfRow_.assign(levels, std::vector<int>(std::size_t(rows)));
    for (int row = 0; row < rows; ++row) {
        int level = row == 0 ? 0 : int(levels);
        for (std::size_t g = 0; row > 0 && g < levels; ++g) {
            if (!(table.At(row, groupColumns_[g]) == table.At(row - 1, groupColumns_[g]))) {
                level = int(g);
                break;
            }
        }
        breakLevel_[std::size_t(row)] = level;
        for (std::size_t g = 0; g < levels; ++g) {
            const int previous = row == 0 ? -1 : groupOfRow_[g][std::size_t(row - 1)];
            groupOfRow_[g][std::size_t(row)] = int(g) >= level ? previous + 1 : previous;
        }
    }
}

int ReportTotals::Add(AggregateFunction function, int column, int level) {
    const int groups =
        level < 0 || table_.RowCount() == 0 ? 1 : GroupOf(level, table_.RowCount() - 1) + 1;
    aggregates_.push_back({function, column, level, std::vector<Accumulator>(std::size_t(groups))});
    return int(aggregates_.size()) - 1;
}

int ReportTotals::GroupOf(int level, int row) const {
    return level < 0 ? 0 : groupOfRow_[std::size_t(level)][std::size_t(row)];
}

void ReportTotals::Compute() {
    for (Aggregate& aggregate : aggregates_) {
        for (auto& group : aggregate.groups) group = Accumulator();
        for (int row = 0; row < table_.RowCount(); ++row)
            Accumulate(aggregate, aggregate.groups[std::size_t(GroupOf(aggregate.level, row))],
                       row);
    }
}

void ReportTotals::Accumulate(Aggregate& aggregate, Accumulator& into, int row) const {
    if (aggregate.column < 0) {
        ++into.count;
        return;
    }
    const Value& value = table_.At(row, aggregate.column);
    if (value.IsNull()) return;
    ++into.count;
    switch (aggregate.function) {
        case AggregateFunction::Sum:
        case AggregateFunction::Average:
            into.sum += std::llround(NumberOf(value, table_.Columns()[aggregate.column]) * kScale);
            break;
        case AggregateFunction::Minimum:
            if (into.minimum.IsNull() || Less(value, into.minimum)) into.minimum = value;
            break;
        case AggregateFunction::Maximum:
            if (into.maximum.IsNull() || Less(into.maximum, value)) into.maximum = value;
            break;
        case AggregateFunction::Count:
            break;
    }
}

Value ReportTotals::Result(int aggregate, int row) const {
    const Aggregate& of = aggregates_[std::size_t(aggregate)];
    const Accumulator& group = of.groups[std::size_t(GroupOf(of.level, row))];
    switch (of.function) {
        case AggregateFunction::Sum:
            return Value(double(group.sum) / kScale);
        case AggregateFunction::Count:
            return Value(double(group.count));
        case AggregateFunction::Average:
            return group.count == 0 ? Value()
                                    : Value(double(group.sum) / kScale / double(group.count));
        case AggregateFunction::Minimum:
            return group.minimum;
        case AggregateFunction::Maximum:
            return group.maximum;
    }
    return Value();
}

}  // namespace fai
