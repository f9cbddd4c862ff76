#pragma once

#include "DataPacket.h"
#include "PacketFields.h"
#include "SqlSession.h"
#include "fai00400.pb.h"

#include <vector>

namespace fai::appserver {

// A value that every row of a packet has in one field, whatever the query selects there: the
// parts of a row's key that the request fixed, which the database does not hold for rows not
// stored yet.
struct FixedColumn {
    packets::FieldName field;
    Value value;
};

// The read of one packet: a statement whose columns are, in order, the fields of the shape.
struct PacketRead {
    SqlSession::Statement statement;
    const std::vector<FieldDef>* shape;
    std::vector<FixedColumn> fixed = {};
    // What each number read becomes; as read when null.
    double (*number)(double) = nullptr;
};

// The statements of the reads, in order.
std::vector<SqlSession::Statement> StatementsOf(const std::vector<PacketRead>& reads);
// The column of a read of the shape that holds the field: for the server's own use of the
// rows, without a packet.
int ColumnOf(const std::vector<FieldDef>& shape, packets::FieldName field);

// Reads every row into the message of a packet of the read's shape, each cell straight from
// the database's bytes into its column. Text, numbers and dates are taken as the field types
// say, whatever form the database hands them in (dates are ISO text on both). A value that
// does not fit its field throws EDatabaseError: the screen would refuse the whole packet.
Fai00400::DataPacket ReadPacket(SqlRows& rows, const PacketRead& read);
// Runs the read.
Fai00400::DataPacket ReadPacket(SqlSession& session, const PacketRead& read);
// Runs the reads together, on PostgreSQL in one round trip.
std::vector<Fai00400::DataPacket> ReadPackets(SqlSession& session,
                                              const std::vector<PacketRead>& reads);
// A packet read for the server's own use rather than for an answer.
DataPacket Unpacked(const Fai00400::DataPacket& packet);
// A packet the server answers without reading it: the shape's fields and the rows given.
Fai00400::DataPacket Answered(const std::vector<FieldDef>& shape, std::vector<PacketRow> rows = {});

// Reads sent along with the checks that come first (see SqlAhead): their packets, once the
// checks passed.
class PacketsAhead {
  public:
    PacketsAhead(SqlSession& session, std::vector<PacketRead> reads);
    Fai00400::DataPacket Packet(std::size_t read) {
        return ReadPacket(ahead_.Rows(read), reads_.at(read));
    }
    // Every packet, in the order of the reads.
    std::vector<Fai00400::DataPacket> Packets();

  private:
    std::vector<PacketRead> reads_;
    SqlAhead ahead_;
};

}  // namespace fai::appserver
