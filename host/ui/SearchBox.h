#pragma once

class QAbstractItemView;
class QLineEdit;

namespace fai {

// The search box above a list: the arrows and page keys typed in it move through the list,
// so that the clerk can type part of a name and go down to the row without leaving the box.
void MoveListFromSearchBox(QLineEdit* box, QAbstractItemView* list);

}  // namespace fai
