#pragma once

#include "Value.h"

#include <QString>

#include <optional>
#include <vector>

namespace fai {

// How one field of a packet is defined: what a receiving dataset needs to type its content.
struct FieldDef {
    QString name;
    FieldType type = FieldType::String;
    int size = 0;  // characters of a string field; 0 for the other types
    bool fixedLength = false;

    friend bool operator==(const FieldDef&, const FieldDef&) = default;
};

// What happened to a row since the baseline; the order is part of the wire format.
enum class RowChange { Unchanged = 0, Inserted = 1, Modified = 2, Deleted = 3 };

// One row of a packet. In a whole-content packet every row is Unchanged and only `values`
// is filled. In a delta, `values` holds the current values (empty for a deletion) and
// `original` the baseline values (empty for an insertion), in field order.
struct PacketRow {
    RowChange change = RowChange::Unchanged;
    std::vector<Value> values;
    std::vector<Value> original;

    friend bool operator==(const PacketRow&, const PacketRow&) = default;
};

// The dataset payload exchanged with the application server: field definitions and rows of
// typed values. A delta is a packet whose rows carry their change kinds.
struct DataPacket {
    std::vector<FieldDef> fields;
    std::vector<PacketRow> rows;

    // Index of the field with this name (case-insensitive), or -1.
    int FieldIndex(QAnyStringView name) const;

    friend bool operator==(const DataPacket&, const DataPacket&) = default;
};

// A packet argument that may be Null, as the deltas of a save are when nothing is pending.
using OptionalPacket = std::optional<DataPacket>;

}  // namespace fai
