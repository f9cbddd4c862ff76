#include "BackendTest.h"

#include <QDate>

namespace fai {

void PrintTo(const Value& value, std::ostream* out) {
    if (value.IsNull())
        *out << "null";
    else if (value.IsText())
        *out << '"' << value.Text().toStdString() << '"';
    else if (value.IsNumber())
        *out << value.Number();
    else
        *out << value.Date().toString(Qt::ISODate).toStdString();
}

}  // namespace fai

namespace fai::appserver::test {

void BackendTest::SetUp() {
    if (GetParam() == Backend::Postgres && PostgresUrl().isEmpty())
        GTEST_SKIP() << "FAI_TEST_PG não definido: variante PostgreSQL não executada";
    database_ = std::make_unique<TestDatabase>(GetParam());
}

Value At(const DataPacket& packet, std::size_t row, const char* field) {
    const int index = packet.FieldIndex(QString::fromLatin1(field));
    if (index < 0) throw std::invalid_argument(std::string("no field ") + field);
    return packet.rows.at(row).values.at(index);
}

std::vector<Value> Column(const DataPacket& packet, const char* field) {
    std::vector<Value> values;
    for (std::size_t row = 0; row < packet.rows.size(); ++row)
        values.push_back(At(packet, row, field));
    return values;
}

}  // namespace fai::appserver::test
