#pragma once

#include <QDate>
#include <QString>

namespace fai::appserver {

// What identifies one headcount row: the branch, the client, the service and the billing
// date. Shift quantities and apportionment links hang off the same key.
struct HeadcountKey {
    QString branch;
    QString client;
    QString service;
    QDate date;
};

}  // namespace fai::appserver
