#pragma once

#include "DatabaseLocation.h"
#include "SqlSession.h"

#include <QDate>
#include <QString>
#include <QVariant>

#include <map>
#include <optional>

namespace fai::appserver::test {

// The rows a test needs, written straight into its database beside the running server,
// which keeps nothing of its own and so sees them at the next call.
class TestSeed {
  public:
    explicit TestSeed(const DatabaseLocation& location) : session_(location) {}

    struct Key {
        QString branch, client, service;
        QDate date;
    };

    TestSeed& Branch(const QString& code, const QString& name);
    TestSeed& Params(const QString& branch, const QDate& processing, const QString& blockClosed,
                     double openDaysBefore, const QString& useProcessing);
    TestSeed& Client(const QString& type, const QString& number, const QString& name,
                     const QVariant& tradeName = QVariant());
    TestSeed& ClientAt(const QString& branch, const QString& client);
    TestSeed& Service(const QString& branch, const QString& code, const QString& name);
    TestSeed& ClientService(const QString& branch, const QString& client, const QString& service,
                            const QVariant& invoiceText = QVariant(),
                            const QString& comparePlanning = QStringLiteral("N"),
                            const QString& valuePerDate = QStringLiteral("N"));
    TestSeed& Headcount(const Key& key, double billed, double forecast, double value = 0,
                        const QVariant& billingBranch = QVariant(),
                        const QVariant& assessment = QVariant());
    TestSeed& Period(const QString& branch, const QString& client, const QString& number,
                     const QDate& first, const QDate& last);
    TestSeed& Shift(const QString& branch, const QString& code, const QString& name);
    TestSeed& ShiftQuantity(const Key& key, const QString& shift, double quantity);
    TestSeed& Planning(const Key& key, double diners);
    // Returns the item's generated number.
    int Item(const QString& client, const QString& code, const QString& name);
    // Returns the link's generated number.
    int Link(const Key& key, int item, const QVariant& diners);
    TestSeed& Transported(const Key& key, double diners);

    // What is stored, read back for the checks: none when nothing is.
    struct StoredHeadcount {
        double billed, forecast, value;
        QVariant billingBranch, assessment;
    };
    std::optional<StoredHeadcount> Headcount(const Key& key);
    std::optional<double> ShiftQuantity(const Key& key, const QString& shift);
    // The key's links, item number to diners (null when none are stored).
    std::map<int, QVariant> Links(const Key& key);

    // Rows of a table, to tell that a call wrote nothing.
    int Count(const QString& table);
    // Every row of a query, for checks the methods cannot make.
    QList<QVariantList> Rows(const QString& sql, const QVariantList& params = {});
    SqlSession& Session() { return session_; }

  private:
    SqlSession session_;
};

}  // namespace fai::appserver::test
