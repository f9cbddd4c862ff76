#include "DataPacket.h"

namespace fai {

int DataPacket::FieldIndex(QStringView name) const {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace fai
