#pragma once

#include "DataPacket.h"

#include <QString>

#include <initializer_list>
#include <vector>

namespace fai {

class ClientDataSet;

// One change of a headcount row as the history screen shows it.
struct HistoryLine {
    QString when;  // dd/MM/yyyy HH:mm:ss, this machine's time
    QString who;   // the user, and the machine when the server was told it
    QString what;  // the field, with the shift or the apportionment item it belongs to
    QString from;
    QString to;

    friend bool operator==(const HistoryLine&, const HistoryLine&) = default;
};

// The history records of GetHistEfetFatu in the words and formats of the screen: each
// field is named by its label and its values shown in its display format in the first of
// `screenData` that has it, so that the history reads as the grids do.
std::vector<HistoryLine> HistoryLines(const DataPacket& records,
                                      std::initializer_list<const ClientDataSet*> screenData);

}  // namespace fai
