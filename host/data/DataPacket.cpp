#include "DataPacket.h"

namespace fai {

int DataPacket::FieldIndex(QAnyStringView name) const {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (QAnyStringView::compare(fields[i].name, name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

}  // namespace fai
