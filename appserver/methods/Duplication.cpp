#include "Duplication.h"

#include "AppErrors.h"
#include "HeadcountRepository.h"
#include "HistoryRepository.h"
#include "QuantityChecks.h"
#include "RequestChecks.h"
#include "WriteRules.h"

namespace fai::appserver {
namespace {

[[noreturn]] void Refuse(const QString& why) { throw EBadRequest(why); }

void RequireCount(double count, const QString& label) {
    if (const std::optional<QString> why = QuantityRefusal(count, label, kDuplicatedCountDigits))
        Refuse(*why);
}

}  // namespace

int Duplication::Run(const QString& branch, const QString& client, const QString& service,
                     const QDate& first, const QDate& last, double forecast, double billed) {
    const HeadcountKey key = RequestChecks(session_).ServiceKey(branch, client, service);
    if (RequestChecks::IsNoDate(first)) Refuse(QStringLiteral("Data inicial deve ser informada."));
    if (RequestChecks::IsNoDate(last)) Refuse(QStringLiteral("Data final deve ser informada."));
    if (last < first) Refuse(QStringLiteral("Data inicial deve ser menor ou igual a data final."));
    if (last >= first.addYears(1))
        Refuse(QStringLiteral("O período de %1 a %2 passa de um ano: duplique no máximo um ano "
                              "de cada vez.")
                   .arg(first.toString(QStringLiteral("dd/MM/yyyy")),
                        last.toString(QStringLiteral("dd/MM/yyyy"))));
    RequireCount(billed, QStringLiteral("N° comensais faturados"));
    RequireCount(forecast, QStringLiteral("N° comensais previstos"));

    const WriteRules rules(session_, key.branch, key.client);
    for (QDate day = first; day <= last; day = day.addDays(1)) rules.CheckRow(key.service, day);
    HeadcountRepository headcounts(session_);
    int days = 0;
    for (QDate day = first; day <= last; day = day.addDays(1), ++days) {
        const HeadcountKey dayKey{key.branch, key.client, key.service, day};
        const std::optional<HeadcountRow> before = headcounts.Locked(dayKey);
        headcounts.StoreCounts(dayKey, billed, forecast);
        HeadcountRow after = before.value_or(HeadcountRow{});
        after.counts.billed = billed;
        after.counts.forecast = forecast;
        history_.Row(dayKey, before, after);
    }
    return days;
}

}  // namespace fai::appserver
