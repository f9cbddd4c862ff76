#pragma once

#include "DataPacket.h"
#include "SqlSession.h"

#include <functional>
#include <vector>

namespace fai::appserver {

// The read of one packet: a statement whose columns are, in order, the fields of the shape,
// and what is done to the packet once read (the parts of a row's key that the request fixed,
// say, which the database does not hold for rows not stored yet).
struct PacketRead {
    SqlSession::Statement statement;
    const std::vector<FieldDef>* shape;
    std::function<void(DataPacket&)> complete;
};

// Reads every row into a packet of the read's shape. Text, numbers and dates are taken as the
// field types say, whatever form the database hands them in (dates are ISO text on both). A
// value that does not fit its field throws EDatabaseError: the screen would refuse the whole
// packet.
DataPacket ReadPacket(SqlRows& rows, const PacketRead& read);
// Runs the read.
DataPacket ReadPacket(SqlSession& session, const PacketRead& read);
// Runs the reads together, on PostgreSQL in one round trip.
std::vector<DataPacket> ReadPackets(SqlSession& session, const std::vector<PacketRead>& reads);

// Reads sent along with the checks that come first (see SqlAhead): their packets, once the
// checks passed.
class PacketsAhead {
  public:
    PacketsAhead(SqlSession& session, std::vector<PacketRead> reads);
    DataPacket Packet(std::size_t read) { return ReadPacket(ahead_.Rows(read), reads_.at(read)); }

  private:
    std::vector<PacketRead> reads_;
    SqlAhead ahead_;
};

// Gives every row the same value in one field: the parts of a row's key that the request
// fixed and that the database does not hold for rows not stored yet.
void FillColumn(DataPacket& packet, const QString& field, const Value& value);

}  // namespace fai::appserver
