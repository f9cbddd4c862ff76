#include "HostReadable.h"

namespace fai::appserver {

const std::vector<HostReadableTable>& HostReadableTables() {
    static const std::vector<HostReadableTable> tables{
        {QStringLiteral("FILIAL"), QStringLiteral("CDFILIAL")},
        {QStringLiteral("PARAMFATUR"), QStringLiteral("CDFILIAL")},
        {QStringLiteral("CLIENFILIAL"), QStringLiteral("CDFILIAL")},
        {QStringLiteral("CLIENTE"), {}},
        {QStringLiteral("SERVICO"), QStringLiteral("CDFILIAL")},
        {QStringLiteral("SERVCLIEFILI"), QStringLiteral("CDFILIAL")},
        {QStringLiteral("EFETFATUR"), QStringLiteral("CDFILIAL")},
        {QStringLiteral("RELCOMENSAL"), QStringLiteral("CDFILIAL")},
    };
    return tables;
}

QString CallerRowCondition(const HostReadableTable& table, const QString& scope) {
    // A client is the caller's when it is linked to one of the caller's branches: the links
    // are read as the caller may read them, so the condition is theirs too.
    if (table.branchColumn.isEmpty())
        return QStringLiteral(
                   "EXISTS (SELECT 1 FROM CLIENFILIAL LNK WHERE LNK.CDCLIENTE = "
                   "%1.CDCLIENTE)")
            .arg(table.name);
    return QStringLiteral(
               "(EXISTS (SELECT 1 FROM %1 SCP WHERE SCP.CDFILIAL = '%2') OR "
               "%3.%4 IN (SELECT SCP.CDFILIAL FROM %1 SCP))")
        .arg(scope, kEveryBranch, table.name, table.branchColumn);
}

}  // namespace fai::appserver
