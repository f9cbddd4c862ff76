#pragma once

#include "DataPacket.h"
#include "HeadcountKey.h"
#include "PacketShapes.h"

#include <QDate>
#include <QString>

#include <optional>

namespace fai::appserver {

// A packet a screen sent, judged against what the method expects before any of its values is
// read: the rows' kind (the screen's rows as they stand, or a delta of pending changes, each
// with the values its change kind carries), and every column read, found by name whatever its
// position, of the type and size of the dataset field it stands for, free of control
// characters. Throws EBadRequest naming the packet (`what`: "efetivos", "turnos"...) and what
// does not fit.
class IncomingPacket {
  public:
    enum class Kind {
        Content,  // every row unchanged, with its values
        Delta,    // every row inserted, modified or deleted
    };

    IncomingPacket(const DataPacket& packet, QString what, const shapes::Shape& shape, Kind kind);

    // The index of a field of the shape in the packet.
    int Column(packets::FieldName name) const;

    // Where a row's headcount key is.
    struct KeyColumns {
        int branch, client, service, date;
    };
    KeyColumns Key(const packets::KeyFields& key) const;
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
    void CheckRows(Kind kind) const;
    void CheckCells(const FieldDef& field, int column) const;

    const DataPacket& packet_;
    QString what_;
    const shapes::Shape& shape_;
};

}  // namespace fai::appserver
