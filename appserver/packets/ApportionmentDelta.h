#pragma once

#include "DataPacket.h"
#include "HeadcountKey.h"

#include <optional>
#include <vector>

namespace fai::appserver {

// A link between a headcount row and an apportionment item, as stored.
struct StoredLink {
    qint64 number = 0;             // NRITRATEFECLIFAT
    std::optional<double> diners;  // QTEFETIVOS

    friend bool operator==(const StoredLink&, const StoredLink&) = default;
};

// What a save asks for the link of one item to one headcount row.
struct LinkChange {
    HeadcountKey key;
    qint64 item = 0;                     // NRITEMRATEIOEFET
    QString itemCode;                    // CDITEMRATEIOEFET, for messages
    QString planService;                 // CDSERVPLAN
    std::optional<StoredLink> expected;  // as loaded; none: the item had no link
    std::optional<double> desired;       // the diners; none: no link (an existing one goes)
};

// Reads the apportionment delta of a save. The screen only changes the diners of the items
// it was given: a link it creates carries a temporary negative number, which the database
// replaces. Throws EBadRequest for rows the screen cannot have made (inserted or deleted
// items, link numbers it was not given, negative diners) and for a link without its
// headcount row's key. Rows that ask for nothing (an item left without link and diners) are
// left out.
std::vector<LinkChange> ReadApportionmentDelta(const DataPacket& delta);

}  // namespace fai::appserver
