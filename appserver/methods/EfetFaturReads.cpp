#include "EfetFaturReads.h"

#include "ApportionmentRepository.h"
#include "BillingRulesRepository.h"
#include "BranchRepository.h"
#include "ClientRepository.h"
#include "HeadcountRepository.h"
#include "PacketConversion.h"
#include "PacketShapes.h"
#include "RequestChecks.h"
#include "ServiceRepository.h"
#include "ShiftRepository.h"

namespace fai::appserver {
namespace {

// Keeps only the row of `client` when it is among the rows; all of them otherwise.
Fai00400::DataPacket Narrowed(Fai00400::DataPacket found, const QString& client) {
    if (client.isEmpty()) return found;
    DataPacket clients = Unpacked(found);
    const int code = clients.FieldIndex(ClientFields::CDCLIENTE);
    for (const PacketRow& row : clients.rows) {
        if (row.values[code] == Value(client)) {
            clients.rows = {row};
            return ToProto(clients);
        }
    }
    return found;
}

// The read of what was asked, sent along with the checks of the request (one round trip on
// PostgreSQL) and read once they passed: `judge` runs the checks.
template <class Judge>
Fai00400::DataPacket Checked(SqlSession& session, PacketRead read, const Judge& judge) {
    PacketsAhead ahead(session, {std::move(read)});
    judge();
    return ahead.Packet(0);
}

std::vector<PacketRead> HeadcountReads(const HeadcountFilter& filter) {
    return {filter.byDate
                ? HeadcountRepository::ByDate(filter.branch, filter.client, filter.date)
                : HeadcountRepository::ByService(filter.branch, filter.client, filter.service),
            BillingRulesRepository::AssessedPeriods(filter.branch, filter.client),
            ApportionmentRepository::ItemsOfClient(filter.client)};
}

}  // namespace

Fai00400::DataPacket EfetFaturReads::GetParams(const QString& branch) {
    return Checked(session_, BranchRepository::Params(branch),
                   [&] { RequestChecks(session_).KnownBranch(branch); });
}

Fai00400::DataPacket EfetFaturReads::GetCliente(const QString& branch,
                                                const QString& registrationNumber,
                                                const QString& client) {
    const QString number = RequestChecks::Registration(registrationNumber);
    const QString code = RequestChecks::Asked(branch, client, {}, {}).client;
    const PacketRead read = !number.isEmpty() ? ClientRepository::ByRegistration(branch, number)
                            : !code.isEmpty() ? ClientRepository::ByCode(branch, code)
                                              : ClientRepository::ClientsOfBranch(branch);
    Fai00400::DataPacket found = Checked(session_, read, [&] {
        RequestChecks(session_).KnownBranch(branch);
        RequestChecks::OptionalRegistration(registrationNumber);
        RequestChecks::OptionalClientCode(client);
    });
    return number.isEmpty() ? found : Narrowed(std::move(found), code);
}

Fai00400::DataPacket EfetFaturReads::GetServico(const QString& branch, const QString& client,
                                                const QString& service) {
    const HeadcountKey asked = RequestChecks::Asked(branch, client, service, {});
    return Checked(session_,
                   service.isEmpty()
                       ? ServiceRepository::ServicesOfClient(asked.branch, asked.client)
                       : ServiceRepository::ServiceOfClient(asked.branch, asked.client, service),
                   [&] {
                       RequestChecks(session_).ClientKey(branch, client);
                       RequestChecks::OptionalServiceCode(service);
                   });
}

std::vector<Fai00400::DataPacket> EfetFaturReads::GetEfetFatu(const QString& client,
                                                              const QString& branch,
                                                              const QString& service,
                                                              const QDate& date, int mode) {
    PacketsAhead ahead(
        session_, HeadcountReads(RequestChecks::AskedFilter(client, branch, service, date, mode)));
    RequestChecks(session_).Filter(client, branch, service, date, mode);
    return ahead.Packets();
}

std::vector<Fai00400::DataPacket> EfetFaturReads::Headcounts(const HeadcountFilter& filter) {
    return ReadPackets(session_, HeadcountReads(filter));
}

Fai00400::DataPacket EfetFaturReads::GetValidaData(const QString& branch, const QString& client,
                                                   const QString& service, const QDate& date) {
    return Checked(
        session_,
        HeadcountRepository::StoredDate(RequestChecks::Asked(branch, client, service, date)),
        [&] { RequestChecks(session_).Key(branch, client, service, date); });
}

Fai00400::DataPacket EfetFaturReads::GetVerifData(const QString& branch, const QString& service,
                                                  const QString& client) {
    const HeadcountKey asked = RequestChecks::Asked(branch, client, service, {});
    return Checked(session_,
                   HeadcountRepository::LatestDate(asked.branch, asked.client, asked.service),
                   [&] { RequestChecks(session_).ServiceKey(branch, client, service); });
}

Fai00400::DataPacket EfetFaturReads::GetVlrFatPla(const QString& branch, const QString& service,
                                                  const QString& client, const QDate& date) {
    return Checked(
        session_,
        BillingRulesRepository::PlannedCount(RequestChecks::Asked(branch, client, service, date)),
        [&] { RequestChecks(session_).Key(branch, client, service, date); });
}

Fai00400::DataPacket EfetFaturReads::GetTurno(const QString& branch, const QString& client,
                                              const QString& service, const QDate& date) {
    return Checked(session_,
                   ShiftRepository::ShiftsOf(RequestChecks::Asked(branch, client, service, date)),
                   [&] { RequestChecks(session_).Key(branch, client, service, date); });
}

Fai00400::DataPacket EfetFaturReads::GetSomaTurno(const QString& branch, const QString& client,
                                                  const QString& service, const QDate& date) {
    if (RequestChecks::IsNoDate(date)) {
        RequestChecks(session_).ServiceKey(branch, client, service);
        return Answered(shapes::ShiftSum(), {{RowChange::Unchanged, {Value(0.0)}, {}}});
    }
    return Checked(session_,
                   ShiftRepository::ShiftSum(RequestChecks::Asked(branch, client, service, date)),
                   [&] { RequestChecks(session_).ServiceKey(branch, client, service); });
}

Fai00400::DataPacket EfetFaturReads::GetVdServClie(const QString& branch, const QString& client,
                                                   const QString& service) {
    const HeadcountKey asked = RequestChecks::Asked(branch, client, service, {});
    return Checked(session_, ServiceRepository::Relation(asked.branch, asked.client, service), [&] {
        RequestChecks(session_).ClientKey(branch, client);
        RequestChecks::ServiceCode(service);
    });
}

Fai00400::DataPacket EfetFaturReads::GetItRatEfet(const QString& branch, const QString& client,
                                                  const QDate& date, const QString& service) {
    if (branch.isEmpty() || client.isEmpty() || service.isEmpty() || RequestChecks::IsNoDate(date))
        return Answered(shapes::HeadcountApportion());
    return Checked(session_,
                   ApportionmentRepository::ItemsOfHeadcount(
                       RequestChecks::Asked(branch, client, service, date)),
                   [&] { RequestChecks(session_).Key(branch, client, service, date); });
}

}  // namespace fai::appserver
