#pragma once

#include "ApportionmentDelta.h"
#include "HeadcountKey.h"
#include "PacketReader.h"

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

namespace fai::appserver {

class SqlSession;

// Who makes the changes of a call, as the history names them.
struct ChangeAuthor {
    QString user;     // the signed-in login; on an open server, the local user the host reports
    QString machine;  // the machine the host reports; empty when it reports none
    QString method;   // the method that writes
};

// The history of the headcount rows (HISTEFETFATUR): every field changed of a headcount row,
// of its shift quantities and of its apportionment links, with who changed it, when and from
// what to what. Written inside the transaction of the change it records, so that the two are
// committed or lost together; the database refuses to change or remove what is written.
class HistoryRepository {
  public:
    // Every record of one call carries the same moment: the server's time now.
    HistoryRepository(SqlSession& session, ChangeAuthor author);

    // A headcount row from `before` to `after` (none: not stored). A row coming or going
    // records its billed count always and its other fields where they hold more than their
    // default; a row changed records the fields that differ.
    void Row(const HeadcountKey& key, const std::optional<HeadcountRow>& before,
             const std::optional<HeadcountRow>& after);
    void Shift(const HeadcountKey& key, const QString& shift, std::optional<double> before,
               std::optional<double> after);
    // A link of the row to an item (none: no link), by the item's number.
    void Link(const HeadcountKey& key, qint64 item, const std::optional<StoredLink>& before,
              const std::optional<StoredLink>& after);
    // The shift quantities and links of a row about to be removed, which go with it.
    void RowDependentsRemoved(const HeadcountKey& key);
    // Sends the records of the call, a few dozen a statement, with its commit (on PostgreSQL
    // in the commit's round trip): called once the call's changes are made. Until then they
    // are only kept, so that a save's history costs no round trip of its own.
    void Flush();

    // What to read: a branch's history over billing dates from `first` to `last`, narrowed
    // to a client and a service when they are given; newest first (or oldest first), the
    // records of one call in the order written; `size` records from `skip` on.
    struct Query {
        QString branch;
        QString client;   // empty: every client
        QString service;  // empty: every service
        QDate first, last;
        qint64 skip = 0;
        int size = 0;
        bool oldestFirst = false;
    };
    static PacketRead Of(const Query& query);

  private:
    void Record(const HeadcountKey& key, QChar operation, const QVariant& shift,
                const QVariant& item, const QString& field, const QVariant& before,
                const QVariant& after);

    SqlSession& session_;
    ChangeAuthor author_;
    qint64 moment_;
    std::vector<QVariantList> pending_;
};

}  // namespace fai::appserver
