#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace fai::appserver {

// The tables a host may read (its lookups, the branch context, the listing's data and the
// queries of the report designer), each with what makes one of its rows the caller's. Nothing
// else is readable by a host: not the users, their sessions, the history, nor the tables
// that only the methods read.
struct HostReadableTable {
    QString name;
    // The row's branch column; empty for a table whose rows belong to the branches they are
    // linked to (the clients, through CLIENFILIAL).
    QString branchColumn;
};

const std::vector<HostReadableTable>& HostReadableTables();

// Where a host read's caller branches are kept for the length of its transaction: one row
// per branch, or the one row "*" for every branch.
inline const QString kReadScopeTable = QStringLiteral("LEITURAFILIAL");
inline const QString kEveryBranch = QStringLiteral("*");

// The condition, on a row of `table` named by its table name, that keeps only the caller's
// rows. `scope` is the relation that holds the caller's branches (CDFILIAL), as the dialect
// names it.
QString CallerRowCondition(const HostReadableTable& table, const QString& scope);

}  // namespace fai::appserver
