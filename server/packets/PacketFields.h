#pragma once

#include "DataPacket.h"

#include <QString>

#include <vector>

namespace fai::packets {

// A field's name, the same in a packet, in the dataset that receives it and in the server's
// reading of it. FAI_FIELD writes each one as the name itself, so that a name mistyped where
// it is used does not compile.
using FieldName = QLatin1StringView;
#define FAI_FIELD(name) \
    static constexpr ::fai::packets::FieldName name { #name }

// A packet's fields in their order, as the receiving dataset defines them.
using Shape = std::vector<FieldDef>;

// What the field list of each packet is made of: its names, its shape and, for rows of
// headcounts, the fields of their key.
struct PacketFields {
  protected:
    static FieldDef Text(FieldName name, int size) {
        return {QString(name), FieldType::String, size, false};
    }
    static FieldDef Flag(FieldName name) { return {QString(name), FieldType::String, 1, true}; }
    static FieldDef Number(FieldName name) { return {QString(name), FieldType::Float, 0, false}; }
    static FieldDef Day(FieldName name) { return {QString(name), FieldType::DateTime, 0, false}; }
};

// The fields that make a row's headcount key in a packet of headcount rows or of rows that
// belong to one.
struct KeyFields {
    FieldName branch;
    FieldName client;
    FieldName service;
    FieldName date;
};

}  // namespace fai::packets
