#pragma once

#include "DataPacket.h"
#include "fai00400.pb.h"

#include <QStringEncoder>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace fai {

// A packet that came off the wire and does not hold together: unknown field type, a row
// whose values do not match the field definitions, a value of the wrong kind.
class MalformedPacket : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The one place where data packets and their protobuf form meet.
void ToProto(const DataPacket& packet, Fai00400::DataPacket* out);
Fai00400::DataPacket ToProto(const DataPacket& packet);

// One field's cells on their way to the wire, added row after row. A text equal to the last
// one of the column is found without a lookup; each distinct text goes once.
class ColumnOut {
  public:
    ColumnOut(const FieldDef& field, Fai00400::Column* out) : field_(field), out_(out) {}

    void AddNull() { out_->add_cells(0); }
    void AddNumber(double number) {
        out_->add_cells(1);
        out_->add_numbers(number);
    }
    void AddDay(const QDate& day) {
        out_->add_cells(1);
        out_->add_days(ToDaySerial(day));
    }
    void AddText(const QString& text);
    // The text when the column already holds its UTF-8 bytes; false, with nothing added,
    // when it does not.
    bool AddKnownText(std::string_view utf8);
    // Throws MalformedPacket, naming the row, for a value of another type than the field's.
    void Add(const Value& value, int rowNumber);

  private:
    void AddPlace(std::uint32_t place);

    const FieldDef& field_;
    Fai00400::Column* out_;
    // Views of the texts the message holds, which stay where they are as it grows.
    std::unordered_map<std::string_view, std::uint32_t> places_;
    std::string_view lastText_;
    std::uint32_t lastPlace_ = 0;
    std::string utf8_;
    QStringEncoder encoder_{QStringConverter::Utf8, QStringConverter::Flag::Stateless};
};

// A packet's message whose unchanged rows are added one at a time, each cell straight into
// its column: what a server reads goes to the wire with no packet in between.
class RowsOut {
  public:
    // Starts `out` afresh with the fields; they must outlive this object.
    RowsOut(const std::vector<FieldDef>& fields, Fai00400::DataPacket* out);

    // Adds a row, whose cells follow through Column, one for each field.
    void AddRow();
    ColumnOut& Column(std::size_t field) { return columns_[field]; }

  private:
    const std::vector<FieldDef>& fields_;
    Fai00400::DataPacket* out_;
    std::vector<ColumnOut> columns_;  // from the first row on: a packet without rows has none
};

// Checks the packet as it converts it and throws MalformedPacket, with a message for the
// user, on the first inconsistency.
DataPacket FromProto(const Fai00400::DataPacket& packet);

}  // namespace fai
