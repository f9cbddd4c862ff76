#include "HeadcountSave.h"

#include "AppErrors.h"
#include "ApportionmentDelta.h"
#include "ApportionmentRepository.h"
#include "BillingRulesRepository.h"
#include "HeadcountDelta.h"
#include "HeadcountRepository.h"
#include "HistoryRepository.h"
#include "NullFieldList.h"
#include "PacketShapes.h"
#include "RequestChecks.h"
#include "ShiftRepository.h"
#include "WriteRules.h"

#include <algorithm>
#include <set>

namespace fai::appserver {
namespace {

const QString kReload = QStringLiteral("Recarregue os efetivos e refaça a alteração.");

EConflict RowChanged(const HeadcountKey& key) {
    return EConflict(RowLabel(key.service, key.date) +
                     QStringLiteral(": o efetivo foi alterado por outro usuário depois de "
                                    "carregado. ") +
                     kReload);
}

EConflict LinkChanged(const LinkChange& link) {
    return EConflict(RowLabel(link.key.service, link.key.date) +
                     QStringLiteral(", item de rateio %1: o rateio foi alterado por outro "
                                    "usuário depois de carregado. ")
                         .arg(link.itemCode) +
                     kReload);
}

// The branch and client that every row of the save belongs to, checked.
struct Scope {
    QString branch;
    QString client;
};

Scope ScopeOf(SqlSession& session, const std::vector<HeadcountChange>& rows,
              const std::vector<LinkChange>& links) {
    std::set<std::pair<QString, QString>> seen;
    for (const HeadcountChange& row : rows) seen.emplace(row.key.branch, row.key.client);
    for (const LinkChange& link : links) seen.emplace(link.key.branch, link.key.client);
    if (seen.size() > 1)
        throw EBadRequest(QStringLiteral("Um salvamento traz efetivos de uma só filial e de um "
                                         "só cliente: este traz da filial %1, cliente %2 e da "
                                         "filial %3, cliente %4.")
                              .arg(seen.begin()->first, seen.begin()->second,
                                   std::next(seen.begin())->first,
                                   std::next(seen.begin())->second));
    const HeadcountKey known =
        RequestChecks(session).ClientKey(seen.begin()->first, seen.begin()->second);
    return {known.branch, known.client};
}

class SaveApplier {
  public:
    SaveApplier(SqlSession& session, HistoryRepository& history, const Scope& scope)
        : session_(session),
          history_(history),
          scope_(scope),
          rules_(session, scope.branch, scope.client) {}

    void Check(const HeadcountChange& row) {
        rules_.CheckRow(row.key.service, row.key.date);
        if (row.desired && !row.desired->assessment.isNull() &&
            !BillingRulesRepository(session_).HasAssessment(row.desired->billingBranch.toString(),
                                                            scope_.client,
                                                            row.desired->assessment.toString()))
            throw EBadRequest(RowLabel(row.key.service, row.key.date) +
                              QStringLiteral(": apuração %1 da filial %2 não cadastrada para o "
                                             "cliente.")
                                  .arg(row.desired->assessment.toString(),
                                       row.desired->billingBranch.toString()));
    }

    void Check(const LinkChange& link) {
        rules_.CheckRow(link.key.service, link.key.date);
        if (!ApportionmentRepository(session_).IsItemOfClient(scope_.client, link.item))
            throw EBadRequest(
                RowLabel(link.key.service, link.key.date) +
                QStringLiteral(": o item de rateio %1 não é do cliente.").arg(link.itemCode));
    }

    void Apply(const HeadcountChange& row) {
        HeadcountRepository headcounts(session_);
        const std::optional<HeadcountRow> stored = headcounts.Locked(row.key);
        if ((stored ? std::optional(stored->counts) : std::nullopt) != row.expected)
            throw RowChanged(row.key);
        if (row.desired) {
            if (stored)
                headcounts.Update(row.key, *row.desired);
            else if (!headcounts.InsertIfAbsent(row.key, *row.desired))
                throw RowChanged(row.key);
            history_.Row(row.key, stored, row.desired);
            return;
        }
        history_.RowDependentsRemoved(row.key);
        ShiftRepository(session_).RemoveAll(row.key);
        if (!stored) return;
        headcounts.Remove(row.key);
        history_.Row(row.key, stored, std::nullopt);
    }

    void Apply(const LinkChange& link) {
        if (!HeadcountRepository(session_).Locked(link.key))
            throw EBadRequest(RowLabel(link.key.service, link.key.date) +
                              QStringLiteral(": o rateio precisa do efetivo gravado."));
        ApportionmentRepository links(session_);
        const std::optional<StoredLink> stored = links.Locked(link.key, link.item);
        if (stored != link.expected) {
            const bool alreadyDone =
                link.desired ? stored && stored->diners == link.desired : !stored;
            if (alreadyDone) return;
            throw LinkChanged(link);
        }
        if (link.desired) {
            if (stored)
                links.SetDiners(stored->number, *link.desired);
            else if (!links.InsertIfAbsent(link.key, link.item, link.planService, *link.desired))
                throw LinkChanged(link);
            history_.Link(link.key, link.item, stored, StoredLink{0, link.desired});
        } else if (stored) {
            links.Remove(stored->number);
            history_.Link(link.key, link.item, stored, std::nullopt);
        }
    }

  private:
    SqlSession& session_;
    HistoryRepository& history_;
    Scope scope_;
    WriteRules rules_;
};

}  // namespace

void HeadcountSave::Run(const OptionalPacket& headcountDelta, const QString& nullFields,
                        const OptionalPacket& apportionmentDelta) {
    const NullFieldList nulls(nullFields, shapes::Headcounts(),
                              {QString(HeadcountFields::DIASEMANA)});
    std::vector<HeadcountChange> rows;
    if (headcountDelta) rows = ReadHeadcountDelta(*headcountDelta, nulls);
    std::vector<LinkChange> links;
    if (apportionmentDelta) links = ReadApportionmentDelta(*apportionmentDelta);
    if (rows.empty() && links.empty()) return;

    const Scope scope = ScopeOf(session_, rows, links);
    for (HeadcountChange& row : rows) row.key.client = scope.client;
    for (LinkChange& link : links) link.key.client = scope.client;
    // One order for every save, so that two saves never wait for each other's rows.
    std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.key < b.key; });
    std::sort(links.begin(), links.end(), [](const auto& a, const auto& b) {
        return std::tie(a.key, a.item) < std::tie(b.key, b.item);
    });
    for (std::size_t i = 1; i < rows.size(); ++i)
        if (rows[i].key == rows[i - 1].key)
            throw EBadRequest(RowLabel(rows[i].key.service, rows[i].key.date) +
                              QStringLiteral(": a linha aparece mais de uma vez no salvamento."));
    // The apportionment of a row deleted in the same save goes with the row.
    std::set<HeadcountKey> deleted;
    for (const HeadcountChange& row : rows)
        if (!row.desired) deleted.insert(row.key);
    std::erase_if(links, [&](const LinkChange& link) { return deleted.contains(link.key); });

    SaveApplier applier(session_, history_, scope);
    for (const HeadcountChange& row : rows) applier.Check(row);
    for (const LinkChange& link : links) applier.Check(link);
    for (const HeadcountChange& row : rows) applier.Apply(row);
    for (const LinkChange& link : links) applier.Apply(link);
}

}  // namespace fai::appserver
