#pragma once

#include <QString>

class QTableView;

namespace fai {

class Field;

// The width a table's column needs to show, in the table's own font and style, the widest
// value its field can hold (a text of up to fifty characters, a date, a number of twelve
// places) and its title, margins included. `extra` is room kept beside the value, such as
// an edit button's.
int ColumnWidthFor(const QTableView& view, int column, const Field* field, int extra = 0);

}  // namespace fai
