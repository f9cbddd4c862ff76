#include "Deltas.h"

#include "PacketShapes.h"

#include <stdexcept>

namespace fai::appserver::test {
namespace {

int IndexOf(const DataPacket& packet, const char* field) {
    const int index = packet.FieldIndex(QString::fromLatin1(field));
    if (index < 0) throw std::invalid_argument(std::string("no field ") + field);
    return index;
}

}  // namespace

DataPacket InsertedHeadcount(const TestSeed::Key& key, double billed, double forecast,
                             double value) {
    DataPacket delta;
    delta.fields = shapes::Headcounts();
    PacketRow row{RowChange::Inserted, std::vector<Value>(delta.fields.size()), {}};
    const std::pair<const char*, Value> cells[] = {
        {"CDFILIAL", key.branch}, {"CDCLIENTE", key.client}, {"CDSERVFILI", key.service},
        {"DTFATURAM", key.date},  {"QTCOMEFATU", billed},    {"QTCOMEPREV", forecast},
        {"VRSERVFATUDT", value}};
    for (const auto& [field, cell] : cells) row.values[IndexOf(delta, field)] = cell;
    delta.rows.push_back(std::move(row));
    return delta;
}

DataPacket Joined(std::initializer_list<DataPacket> deltas) {
    DataPacket joined;
    joined.fields = deltas.begin()->fields;
    for (const DataPacket& delta : deltas)
        joined.rows.insert(joined.rows.end(), delta.rows.begin(), delta.rows.end());
    return joined;
}

void SetEverywhere(DataPacket& delta, const char* field, const Value& value) {
    const int index = IndexOf(delta, field);
    for (PacketRow& row : delta.rows) {
        if (!row.values.empty()) row.values[index] = value;
        if (!row.original.empty()) row.original[index] = value;
    }
}

}  // namespace fai::appserver::test
