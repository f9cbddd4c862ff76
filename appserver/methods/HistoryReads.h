#pragma once

#include "DataPacket.h"
#include "HistoryRepository.h"
#include "fai00400.pb.h"

#include <QDate>
#include <QString>

#include <functional>

namespace fai::appserver {

class SqlSession;

// Reading the history of the headcount rows: a page of one client's for the screens, every
// record of a branch for the auditors' export. Each judges its arguments first (EBadRequest).
// The history is read by billing date, the date an invoice names.
class HistoryReads {
  public:
    static constexpr int kMaxPageSize = 500;

    explicit HistoryReads(SqlSession& session) : session_(session) {}

    // GetHistEfetFatu: one page of the client's history at the branch, of one service when
    // `service` is not empty; newest first.
    Fai00400::DataPacket Page(const QString& branch, const QString& client, const QString& service,
                              const QDate& first, const QDate& last, int page, int pageSize);
    // Every record of the branch from `first` to `last`, oldest first, handed to `take` a page
    // at a time, so that a long history is never held whole. Records written meanwhile can
    // only come after those read: no page shifts under the reading.
    void Each(const QString& branch, const QDate& first, const QDate& last,
              const std::function<void(const DataPacket&)>& take);

  private:
    HistoryRepository::Query Period(const QString& branch, const QDate& first, const QDate& last);

    SqlSession& session_;
};

}  // namespace fai::appserver
