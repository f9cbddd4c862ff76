#pragma once

#include "ClientDataSet.h"
#include "DataPacket.h"

#include <QDate>
#include <QString>

#include <string>
#include <vector>

namespace fai::testing {

// The three columns of the small test tables: CODE, QTY and DAY.
inline std::vector<FieldDef> SmallFields() {
    return {
        {"CODE", FieldType::String, 5}, {"QTY", FieldType::Float}, {"DAY", FieldType::DateTime}};
}

// A dataset's persistent fields, as the small packets have them.
inline void AddSmallFields(ClientDataSet& dataSet) {
    for (const FieldDef& field : SmallFields()) dataSet.AddField(field);
}

// The three columns and as many rows as codes given: CODE "A", "B"..., QTY 1, 2..., DAY 1, 2...
// March 2026.
inline DataPacket SmallPacket(std::vector<QString> codes = {"A", "B", "C"}) {
    DataPacket packet;
    packet.fields = SmallFields();
    for (std::size_t i = 0; i < codes.size(); ++i) {
        packet.rows.push_back(
            {RowChange::Unchanged,
             {Value(codes[i]), Value(double(i + 1)), Value(QDate(2026, 3, int(i) + 1))},
             {}});
    }
    return packet;
}

// The codes of the visible rows, in order, read without moving.
inline std::vector<QString> Codes(ClientDataSet& dataSet) {
    std::vector<QString> codes;
    dataSet.ForEachRow([&codes](const RowView& row) { codes.push_back(row.AsString("CODE")); });
    return codes;
}

// Records the dataset events in the order they run.
class EventLog {
  public:
    explicit EventLog(ClientDataSet& dataSet) {
        Record(dataSet.BeforeInsert, "BeforeInsert");
        Record(dataSet.AfterInsert, "AfterInsert");
        Record(dataSet.BeforeEdit, "BeforeEdit");
        Record(dataSet.AfterEdit, "AfterEdit");
        Record(dataSet.BeforePost, "BeforePost");
        Record(dataSet.AfterPost, "AfterPost");
        Record(dataSet.BeforeCancel, "BeforeCancel");
        Record(dataSet.AfterCancel, "AfterCancel");
        Record(dataSet.BeforeDelete, "BeforeDelete");
        Record(dataSet.AfterDelete, "AfterDelete");
        Record(dataSet.BeforeScroll, "BeforeScroll");
        Record(dataSet.AfterScroll, "AfterScroll");
    }

    ~EventLog() {
        for (ClientDataSet::Event* event : recorded_) *event = nullptr;
    }
    EventLog(const EventLog&) = delete;
    EventLog& operator=(const EventLog&) = delete;

    std::vector<std::string> Take() { return std::exchange(events_, {}); }

  private:
    void Record(ClientDataSet::Event& event, const char* name) {
        event = [this, name](ClientDataSet&) { events_.push_back(name); };
        recorded_.push_back(&event);
    }

    std::vector<std::string> events_;
    std::vector<ClientDataSet::Event*> recorded_;
};

}  // namespace fai::testing
