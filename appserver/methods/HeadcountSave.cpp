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
#include <span>

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

// The branch and client that every row of the save belongs to, as asked.
struct Scope {
    QString branch;
    QString client;
};

Scope ScopeOf(const std::vector<HeadcountChange>& rows, const std::vector<LinkChange>& links) {
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
    const HeadcountKey asked =
        RequestChecks::Asked(seen.begin()->first, seen.begin()->second, {}, {});
    return {asked.branch, asked.client};
}

// What a save reads before it judges anything, sent along with the check of its client (on
// PostgreSQL in that one round trip): the write rules, and the stored rows it changes, locked.
class SaveReads {
  public:
    SaveReads(SqlSession& session, const Scope& scope, std::vector<HeadcountKey> keys)
        : session_(session),
          keys_(std::move(keys)),
          rules_(WriteRules::Reads(scope.branch, scope.client)) {
        ahead_.emplace(session, Statements());
    }

    struct Read {
        WriteRules rules;
        HeadcountRepository::StoredRows stored;
    };
    // Once the checks that went first passed. The keys beyond what one statement takes are
    // read now.
    Read Take() {
        Read read{WriteRules(ahead_->Rows(0), ahead_->Rows(1), ahead_->Rows(2)), {}};
        if (!keys_.empty())
            HeadcountRepository::TakeLocked(ahead_->Rows(rules_.size()), read.stored);
        // Its statements are free again for the reads that follow.
        ahead_.reset();
        read.stored.merge(
            HeadcountRepository(session_).Locked(std::span(keys_).subspan(AheadKeys())));
        return read;
    }

  private:
    std::size_t AheadKeys() const {
        return std::min(keys_.size(), HeadcountRepository::kLockedAtOnce);
    }

    std::vector<SqlSession::Statement> Statements() const {
        std::vector<SqlSession::Statement> statements = StatementsOf(rules_);
        if (!keys_.empty())
            statements.push_back(
                HeadcountRepository(session_).LockedRead(std::span(keys_).first(AheadKeys())));
        return statements;
    }

    SqlSession& session_;
    std::vector<HeadcountKey> keys_;
    std::vector<PacketRead> rules_;
    std::optional<SqlAhead> ahead_;
};

class SaveApplier {
  public:
    SaveApplier(SqlSession& session, HistoryRepository& history, const Scope& scope,
                SaveReads::Read read)
        : session_(session),
          history_(history),
          scope_(scope),
          rules_(std::move(read.rules)),
          stored_(std::move(read.stored)) {}

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
        const auto found = stored_.find(row.key);
        const std::optional<HeadcountRow> stored =
            found == stored_.end() ? std::nullopt : std::optional(found->second);
        if ((stored ? std::optional(stored->counts) : std::nullopt) != row.expected)
            throw RowChanged(row.key);
        if (row.desired) {
            // Nothing after it in the save reads the row's counts: it goes with the commit,
            // in the commit's round trip on PostgreSQL.
            if (stored)
                session_.WithCommit(HeadcountRepository::Update(row.key, *row.desired));
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
    HeadcountRepository::StoredRows stored_;
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

    const Scope scope = ScopeOf(rows, links);
    for (HeadcountChange& row : rows) row.key.client = scope.client;
    for (LinkChange& link : links) link.key.client = scope.client;
    // One order for every save, so that two saves never wait for each other's rows.
    std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.key < b.key; });
    std::sort(links.begin(), links.end(), [](const auto& a, const auto& b) {
        return std::tie(a.key, a.item) < std::tie(b.key, b.item);
    });
    std::vector<HeadcountKey> keys;
    for (const HeadcountChange& row : rows) keys.push_back(row.key);
    SaveReads reads(session_, scope, std::move(keys));
    // Judged first; the reads go with it.
    RequestChecks(session_).ClientKey(scope.branch, scope.client);
    for (std::size_t i = 1; i < rows.size(); ++i)
        if (rows[i].key == rows[i - 1].key)
            throw EBadRequest(RowLabel(rows[i].key.service, rows[i].key.date) +
                              QStringLiteral(": a linha aparece mais de uma vez no salvamento."));
    // The apportionment of a row deleted in the same save goes with the row.
    std::set<HeadcountKey> deleted;
    for (const HeadcountChange& row : rows)
        if (!row.desired) deleted.insert(row.key);
    std::erase_if(links, [&](const LinkChange& link) { return deleted.contains(link.key); });

    SaveApplier applier(session_, history_, scope, reads.Take());
    for (const HeadcountChange& row : rows) applier.Check(row);
    for (const LinkChange& link : links) applier.Check(link);
    for (const HeadcountChange& row : rows) applier.Apply(row);
    for (const LinkChange& link : links) applier.Apply(link);
}

}  // namespace fai::appserver
