#include "EfetFaturReads.h"

#include "ApportionmentRepository.h"
#include "BillingRulesRepository.h"
#include "BranchRepository.h"
#include "ClientRepository.h"
#include "HeadcountRepository.h"
#include "PacketShapes.h"
#include "RequestChecks.h"
#include "ServiceRepository.h"
#include "ShiftRepository.h"

namespace fai::appserver {
namespace {

DataPacket Empty(const shapes::Shape& shape) {
    DataPacket packet;
    packet.fields = shape;
    return packet;
}

// Keeps only the row of `client` when it is among the rows; all of them otherwise.
DataPacket Narrowed(DataPacket clients, const QString& client) {
    if (client.isEmpty()) return clients;
    const int code = clients.FieldIndex(ClientFields::CDCLIENTE);
    for (const PacketRow& row : clients.rows) {
        if (row.values[code] == Value(client)) {
            clients.rows = {row};
            break;
        }
    }
    return clients;
}

}  // namespace

DataPacket EfetFaturReads::GetParams(const QString& branch) {
    RequestChecks checks(session_);
    return BranchRepository(session_).Params(checks.KnownBranch(branch));
}

DataPacket EfetFaturReads::GetCliente(const QString& branch, const QString& registrationNumber,
                                      const QString& client) {
    RequestChecks checks(session_);
    const QString knownBranch = checks.KnownBranch(branch);
    const QString number = RequestChecks::OptionalRegistration(registrationNumber);
    const QString code = RequestChecks::OptionalClientCode(client);
    ClientRepository clients(session_);
    if (!number.isEmpty()) return Narrowed(clients.ByRegistration(knownBranch, number), code);
    if (!code.isEmpty()) return clients.ByCode(knownBranch, code);
    return clients.ClientsOfBranch(knownBranch);
}

DataPacket EfetFaturReads::GetServico(const QString& branch, const QString& client,
                                      const QString& service) {
    RequestChecks checks(session_);
    const QString knownBranch = checks.KnownBranch(branch);
    const QString knownClient = checks.ClientOfBranch(knownBranch, client);
    const QString code = RequestChecks::OptionalServiceCode(service);
    ServiceRepository services(session_);
    if (code.isEmpty()) return services.ServicesOfClient(knownBranch, knownClient);
    return services.ServiceOfClient(knownBranch, knownClient, code);
}

std::vector<DataPacket> EfetFaturReads::GetEfetFatu(const QString& client, const QString& branch,
                                                    const QString& service, const QDate& date,
                                                    int mode) {
    return Headcounts(RequestChecks(session_).Filter(client, branch, service, date, mode));
}

std::vector<DataPacket> EfetFaturReads::Headcounts(const HeadcountFilter& filter) {
    HeadcountRepository headcounts(session_);
    DataPacket rows = filter.byDate
                          ? headcounts.ByDate(filter.branch, filter.client, filter.date)
                          : headcounts.ByService(filter.branch, filter.client, filter.service);
    return {std::move(rows),
            BillingRulesRepository(session_).AssessedPeriods(filter.branch, filter.client),
            ApportionmentRepository(session_).ItemsOfClient(filter.client)};
}

DataPacket EfetFaturReads::GetValidaData(const QString& branch, const QString& client,
                                         const QString& service, const QDate& date) {
    return HeadcountRepository(session_).StoredDate(
        RequestChecks(session_).Key(branch, client, service, date));
}

DataPacket EfetFaturReads::GetVerifData(const QString& branch, const QString& service,
                                        const QString& client) {
    const HeadcountKey key = RequestChecks(session_).ServiceKey(branch, client, service);
    return HeadcountRepository(session_).LatestDate(key.branch, key.client, key.service);
}

DataPacket EfetFaturReads::GetVlrFatPla(const QString& branch, const QString& service,
                                        const QString& client, const QDate& date) {
    return BillingRulesRepository(session_).PlannedCount(
        RequestChecks(session_).Key(branch, client, service, date));
}

DataPacket EfetFaturReads::GetTurno(const QString& branch, const QString& client,
                                    const QString& service, const QDate& date) {
    return ShiftRepository(session_).ShiftsOf(
        RequestChecks(session_).Key(branch, client, service, date));
}

DataPacket EfetFaturReads::GetSomaTurno(const QString& branch, const QString& client,
                                        const QString& service, const QDate& date) {
    HeadcountKey key = RequestChecks(session_).ServiceKey(branch, client, service);
    if (RequestChecks::IsNoDate(date)) {
        DataPacket nothingStored = Empty(shapes::ShiftSum());
        nothingStored.rows.push_back({RowChange::Unchanged, {Value(0.0)}, {}});
        return nothingStored;
    }
    key.date = date;
    return ShiftRepository(session_).ShiftSum(key);
}

DataPacket EfetFaturReads::GetVdServClie(const QString& branch, const QString& client,
                                         const QString& service) {
    RequestChecks checks(session_);
    const QString knownBranch = checks.KnownBranch(branch);
    const QString knownClient = checks.ClientOfBranch(knownBranch, client);
    return ServiceRepository(session_).Relation(knownBranch, knownClient,
                                                RequestChecks::ServiceCode(service));
}

DataPacket EfetFaturReads::GetItRatEfet(const QString& branch, const QString& client,
                                        const QDate& date, const QString& service) {
    if (branch.isEmpty() || client.isEmpty() || service.isEmpty() || RequestChecks::IsNoDate(date))
        return Empty(shapes::HeadcountApportion());
    return ApportionmentRepository(session_).ItemsOfHeadcount(
        RequestChecks(session_).Key(branch, client, service, date));
}

}  // namespace fai::appserver
