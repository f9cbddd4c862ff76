#pragma once

#include <QDate>
#include <QString>

#include <vector>

namespace fai::appserver {

class SqlSession;

// The headcounts that the meal-transport records (EFETTRANSP) count per client, service and
// day, waiting to be taken into the billing.
class TransportRepository {
  public:
    struct Transported {
        QString service;
        QDate day;
        double diners = 0;
    };

    explicit TransportRepository(SqlSession& session) : session_(session) {}

    // Every service of the client on the day, by service.
    std::vector<Transported> OfDay(const QString& branch, const QString& client, const QDate& day);
    // Every day of the service for the client, oldest first.
    std::vector<Transported> OfService(const QString& branch, const QString& client,
                                       const QString& service);

  private:
    std::vector<Transported> Select(const QString& condition, const QVariantList& params);

    SqlSession& session_;
};

}  // namespace fai::appserver
