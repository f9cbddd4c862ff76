#include "BenchPlan.h"

#include "RegistrationNumbers.h"

namespace fai::appserver::bench {

QDate BenchPlan::FirstNotAssessed() const {
    const QDate twoMonthsBack = Last().addMonths(-1);
    return QDate(twoMonthsBack.year(), twoMonthsBack.month(), 1);
}

QString BenchPlan::Branch(int branch) {
    return QStringLiteral("%1").arg(branch + 1, 4, 10, QChar(u'0'));
}

QString BenchPlan::ClientCode(int client) {
    return QStringLiteral("J") + CnpjWithCheckDigits(QStringLiteral("%1").arg(10'000'000 + client) +
                                                     QStringLiteral("0001"));
}

QStringList BenchPlan::ServicesOf(int client) {
    if (client % 4 == 0) return {QStringLiteral("00001"), QStringLiteral("00002")};
    return {QStringLiteral("00001")};
}

bool BenchPlan::Serves(int client, const QDate& day) {
    return client % 3 == 0 || day.dayOfWeek() <= 5;
}

double BenchPlan::Billed(int client, const QString& service, const QDate& day) {
    const int size = 40 + (client * 37) % 400;
    const int share = service == QStringLiteral("00001") ? size : size / 2;
    return share + (static_cast<int>(day.toJulianDay()) * 7 + client) % 11 - 5;
}

}  // namespace fai::appserver::bench
