#pragma once

#include "DataPacket.h"
#include "HeadcountKey.h"

#include <QDate>
#include <QString>

#include <optional>

namespace fai::appserver {

// A packet a screen sent: its columns are found by name, whatever their position, and each
// is checked for the type the server reads it as. Throws EBadRequest naming the packet
// (`what`, "efetivos", "turnos"...) when a column is missing or of another type.
class IncomingPacket {
  public:
    IncomingPacket(const DataPacket& packet, QString what);

    const DataPacket& Packet() const { return packet_; }
    const QString& What() const { return what_; }
    int Column(const char* name, FieldType type) const;

    // Where a row's headcount key is: CDFILIAL, CDCLIENTE, CDSERVFILI and the date field.
    struct KeyColumns {
        int branch, client, service, date;
    };
    KeyColumns Key(const char* dateField) const;
    // The row's key, none when a part of it is empty (the zero date is no date). Throws EBadRequest
    // for a date the billing cannot hold.
    static std::optional<HeadcountKey> KeyOf(const std::vector<Value>& row,
                                             const KeyColumns& columns);

    // Cells as the server reads them: a null text is the empty text, a null number or date
    // is none.
    static QString TextOf(const Value& cell);
    static std::optional<double> NumberOf(const Value& cell);
    static std::optional<QDate> DateOf(const Value& cell);

  private:
    const DataPacket& packet_;
    QString what_;
};

}  // namespace fai::appserver
