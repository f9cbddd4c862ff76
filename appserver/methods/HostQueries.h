#pragma once

#include "HostReads.h"
#include "fai00400.pb.h"

#include <QString>
#include <QVariantList>

#include <functional>

namespace fai::appserver {

// A host's query as the server takes it: its form judged before anything is run.
struct HostQueryRequest {
    QString name;  // for the log
    QString sql;
    QVariantList params;  // in the order of the "?" places; dates as ISO text

    // Throws EBadRequest for a text that is not UTF-8 or too long, a value that is no value.
    static HostQueryRequest From(const Fai00400::ConsultaHostRequest& request);
};

// Runs a host's query and hands its rows to `send` in parts, in order, each part whole: at
// most a thousand rows, or about a megabyte of text. A column the database gives no type takes
// the type of its first value (text in the parts before it, which held only nulls), and a later
// value of another kind is converted to it where it can be, refused in words where it cannot.
// Throws EQueryRefused when the query passes kMaxRows rows, as HostReadConnection::Run
// otherwise. Returns the rows sent.
class HostQueryParts {
  public:
    static constexpr int kMaxRows = 250'000;
    using Send = std::function<void(Fai00400::ConsultaHostParte& part)>;

    static int Run(HostReadConnection& connection, const HostQueryRequest& request,
                   const ReadScope& scope, const Send& send);
};

}  // namespace fai::appserver
