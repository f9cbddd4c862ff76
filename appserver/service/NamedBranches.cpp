#include "NamedBranches.h"

#include <cstdint>
#include <string>

namespace fai::appserver {
namespace {

bool HoldsBranch(const std::string& fieldName) {
    const QString name = QString::fromUtf8(fieldName);
    return name.compare(QLatin1String("CDFILIAL"), Qt::CaseInsensitive) == 0 ||
           name.compare(QLatin1String("CDFILIFATU"), Qt::CaseInsensitive) == 0;
}

}  // namespace

void NamedBranches::Add(const QString& branch) {
    if (!branch.isEmpty() && !branches_.contains(branch)) branches_ << branch;
}

NamedBranches& NamedBranches::Argument(const std::string& bytes) {
    Add(QString::fromUtf8(bytes));
    return *this;
}

// Every value the column holds, whatever its field's type says: a branch column sent as
// numbers names its branches too, so that the check of access never sees fewer than the rows.
void NamedBranches::AddValuesOf(const Fai00400::Column& column) {
    for (const std::string& text : column.texts()) Add(QString::fromUtf8(text));
    for (const double number : column.numbers()) Add(QString::number(number));
    for (const std::int64_t day : column.days()) Add(QString::number(day));
}

NamedBranches& NamedBranches::Packet(const Fai00400::DataPacket& packet) {
    for (int column = 0; column < packet.fields_size(); ++column) {
        if (!HoldsBranch(packet.fields(column).name())) continue;
        if (column < packet.values_size()) AddValuesOf(packet.values(column));
        if (column < packet.original_size()) AddValuesOf(packet.original(column));
    }
    return *this;
}

}  // namespace fai::appserver
