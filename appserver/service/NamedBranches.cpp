#include "NamedBranches.h"

#include <vector>

namespace fai::appserver {
namespace {

bool HoldsBranch(const std::string& fieldName) {
    const QString name = QString::fromUtf8(fieldName);
    return name.compare(QLatin1String("CDFILIAL"), Qt::CaseInsensitive) == 0 ||
           name.compare(QLatin1String("CDFILIFATU"), Qt::CaseInsensitive) == 0;
}

QString TextOf(const Fai00400::Value& value) {
    switch (value.kind_case()) {
        case Fai00400::Value::kText:
            return QString::fromUtf8(value.text());
        case Fai00400::Value::kNumber:
            return QString::number(value.number());
        case Fai00400::Value::kDay:
            return QString::number(value.day());
        case Fai00400::Value::KIND_NOT_SET:
            break;
    }
    return {};
}

}  // namespace

void NamedBranches::Add(const QString& branch) {
    if (!branch.isEmpty() && !branches_.contains(branch)) branches_ << branch;
}

NamedBranches& NamedBranches::Argument(const std::string& bytes) {
    Add(QString::fromUtf8(bytes));
    return *this;
}

NamedBranches& NamedBranches::Packet(const Fai00400::DataPacket& packet) {
    std::vector<int> columns;
    for (int column = 0; column < packet.fields_size(); ++column)
        if (HoldsBranch(packet.fields(column).name())) columns.push_back(column);
    if (columns.empty()) return *this;
    for (const Fai00400::Row& row : packet.rows()) {
        for (int column : columns) {
            if (column < row.values_size()) Add(TextOf(row.values(column)));
            if (column < row.original_size()) Add(TextOf(row.original(column)));
        }
    }
    return *this;
}

}  // namespace fai::appserver
