#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

#include <tuple>

namespace fai::appserver {

// What identifies one headcount row: the branch, the client, the service and the billing
// date. Shift quantities and apportionment links hang off the same key.
struct HeadcountKey {
    QString branch;
    QString client;
    QString service;
    QDate date;

    friend bool operator==(const HeadcountKey&, const HeadcountKey&) = default;
    friend bool operator<(const HeadcountKey& a, const HeadcountKey& b) {
        return std::tie(a.branch, a.client, a.service, a.date) <
               std::tie(b.branch, b.client, b.service, b.date);
    }
};

// The counts of a headcount row as the lost-update check compares them: exactly as stored.
struct HeadcountCounts {
    double billed = 0;    // QTCOMEFATU
    double forecast = 0;  // QTCOMEPREV
    double value = 0;     // VRSERVFATUDT

    friend bool operator==(const HeadcountCounts&, const HeadcountCounts&) = default;
};

// A headcount row as a save stores it. The assessment that billed the row, when there is
// one, is a null QVariant otherwise.
struct HeadcountRow {
    HeadcountCounts counts;
    QVariant billingBranch;  // CDFILIFATU
    QVariant assessment;     // NRAPURACFAT
};

// How messages name the row they are about: "Serviço 00001, data 10/03/2026".
inline QString RowLabel(const QString& service, const QDate& date) {
    return QStringLiteral("Serviço %1, data %2")
        .arg(service, date.toString(QStringLiteral("dd/MM/yyyy")));
}

}  // namespace fai::appserver
