#pragma once

#include "ClientDataSet.h"
#include "DataPacket.h"

#include <QDate>
#include <QString>

namespace fai::testing {

// The fields of a headcount row in their significant order; DIASEMANA is calculated.
inline void DefineHeadcountFields(ClientDataSet& dataSet) {
    dataSet.AddField({"CDFILIAL", FieldType::String, 4});
    dataSet.AddField({"CDSERVFILI", FieldType::String, 5});
    dataSet.AddField({"NMSERVICO", FieldType::String, 40});
    dataSet.AddField({"DTFATURAM", FieldType::DateTime});
    dataSet.AddField({"CDCLIENTE", FieldType::String, 21});
    dataSet.AddField({"DIASEMANA", FieldType::String, 15, true}, FieldKind::Calculated);
    dataSet.AddField({"QTCOMEFATU", FieldType::Float}).SetDisplayFormat("#,##0.000");
    dataSet.AddField({"CDFILIFATU", FieldType::String, 4});
    dataSet.AddField({"NRAPURACFAT", FieldType::String, 10});
    dataSet.AddField({"QTCOMEPREV", FieldType::Float}).SetDisplayFormat("#,##0.000");
    dataSet.AddField({"VRSERVFATUDT", FieldType::Float}).SetDisplayFormat("#,##0.00000");
    dataSet.AddField({"DSEMISSERCLI", FieldType::String, 400});
}

// What the server sends for headcount rows: the data fields only, in its own column order
// (the billed quantity first), with a few nulls.
inline DataPacket HeadcountPacket(int rows) {
    DataPacket packet;
    packet.fields = {
        {"QTCOMEFATU", FieldType::Float},         {"CDFILIAL", FieldType::String, 4},
        {"CDSERVFILI", FieldType::String, 5},     {"NMSERVICO", FieldType::String, 40},
        {"DTFATURAM", FieldType::DateTime},       {"CDCLIENTE", FieldType::String, 21},
        {"CDFILIFATU", FieldType::String, 4},     {"NRAPURACFAT", FieldType::String, 10},
        {"QTCOMEPREV", FieldType::Float},         {"VRSERVFATUDT", FieldType::Float},
        {"DSEMISSERCLI", FieldType::String, 400},
    };
    packet.rows.reserve(std::size_t(rows));
    const QDate first(2026, 1, 1);
    for (int i = 0; i < rows; ++i) {
        PacketRow row;
        row.values = {
            Value(double(i % 500) + 0.25),
            Value("0001"),
            Value(QString::number(10000 + i % 50)),
            Value(QStringLiteral("Almoço %1").arg(i % 50)),
            Value(first.addDays(i)),
            Value("J12345678000199"),
            i % 7 == 0 ? Value() : Value("0001"),
            i % 3 == 0 ? Value() : Value(QString::number(i)),
            Value(double(i % 400)),
            i % 2 == 0 ? Value() : Value(12.5),
            Value(QStringLiteral("Refeição servida no refeitório central")),
        };
        packet.rows.push_back(std::move(row));
    }
    return packet;
}

}  // namespace fai::testing
