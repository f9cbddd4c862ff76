#include "HistoryReads.h"

#include "AppErrors.h"
#include "PacketReader.h"
#include "RequestChecks.h"

namespace fai::appserver {
namespace {

[[noreturn]] void Refuse(const QString& why) { throw EBadRequest(why); }

}  // namespace

HistoryRepository::Query HistoryReads::Period(const QString& branch, const QDate& first,
                                              const QDate& last) {
    if (RequestChecks::IsNoDate(first)) Refuse(QStringLiteral("Data inicial deve ser informada."));
    if (RequestChecks::IsNoDate(last)) Refuse(QStringLiteral("Data final deve ser informada."));
    if (last < first) Refuse(QStringLiteral("Data inicial deve ser menor ou igual a data final."));
    HistoryRepository::Query query;
    query.branch = branch;
    query.first = first;
    query.last = last;
    return query;
}

Fai00400::DataPacket HistoryReads::Page(const QString& branch, const QString& client,
                                        const QString& service, const QDate& first,
                                        const QDate& last, int page, int pageSize) {
    // A service the client no longer has keeps its history readable: only its form is judged.
    const QString serviceCode = RequestChecks::OptionalServiceCode(service);
    const HeadcountKey key = RequestChecks(session_).ClientKey(branch, client);
    if (pageSize < 1 || pageSize > kMaxPageSize)
        Refuse(QStringLiteral("Registros por página do histórico: de 1 a %1, não %2.")
                   .arg(kMaxPageSize)
                   .arg(pageSize));
    if (page < 0) Refuse(QStringLiteral("Página do histórico %1 inválida.").arg(page));
    HistoryRepository::Query query = Period(key.branch, first, last);
    query.client = key.client;
    query.service = serviceCode;
    query.skip = qint64(page) * pageSize;
    query.size = pageSize;
    return ReadPacket(session_, HistoryRepository::Of(query));
}

void HistoryReads::Each(const QString& branch, const QDate& first, const QDate& last,
                        const std::function<void(const DataPacket&)>& take) {
    HistoryRepository::Query query =
        Period(RequestChecks(session_).KnownBranch(branch), first, last);
    query.size = kMaxPageSize;
    query.oldestFirst = true;
    for (;; query.skip += query.size) {
        const DataPacket page = Unpacked(ReadPacket(session_, HistoryRepository::Of(query)));
        take(page);
        if (static_cast<int>(page.rows.size()) < query.size) return;
    }
}

}  // namespace fai::appserver
