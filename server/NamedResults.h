#pragma once

#include "DataPacket.h"
#include "ServerResult.h"

namespace fai {

// The payloads of more than one packet by name, in the contract's order: the one place that
// knows which position holds what.

// GetEfetFatu's answer.
struct HeadcountPackets {
    static constexpr int kCount = 3;
    DataPacket headcounts;          // HeadcountFields
    DataPacket assessedPeriods;     // AssessedPeriodFields
    DataPacket apportionmentItems;  // ApportionItemFields
};

// ImportaEfetTrans' answer.
struct ImportedPackets {
    static constexpr int kCount = 3;
    DataPacket headcounts;       // HeadcountFields, as they now are
    DataPacket assessedPeriods;  // AssessedPeriodFields
    DataPacket summary;          // ImportSummaryFields, one row
};

// Each runs the screens' result check (CheckResultServ, the server's message shown) and
// names what a successful answer carries; the method table has already refused an answer
// with fewer packets than its method promises.
HeadcountPackets HeadcountPacketsOf(const ServerResult& result);
ImportedPackets ImportedPacketsOf(const ServerResult& result);
// The one packet of a method that answers one.
DataPacket SinglePacket(const ServerResult& result);

}  // namespace fai
