#pragma once

#include "Value.h"

#include <QAnyStringView>
#include <QDate>
#include <QString>

namespace fai {

class ClientDataSet;
class Field;

// One stored row read without moving the dataset's cursor: what ForEachRow, filters and
// Locate hand out. Reads follow the rules of Field (a null reads as "", 0 and the zero date);
// a calculated field is worked out for this row by the dataset's OnCalcFields. Names are
// looked up like FieldByName; in long loops, pass the Field itself.
class RowView {
  public:
    RowView(ClientDataSet& dataSet, const Value* row) : dataSet_(&dataSet), row_(row) {}

    Value ValueOf(const Field& field) const;
    Value ValueOf(QAnyStringView name) const;
    bool IsNull(QAnyStringView name) const { return ValueOf(name).IsNull(); }
    QString AsString(const Field& field) const;
    QString AsString(QAnyStringView name) const;
    double AsFloat(const Field& field) const;
    double AsFloat(QAnyStringView name) const;
    QDate AsDateTime(const Field& field) const;
    QDate AsDateTime(QAnyStringView name) const;
    // What a grid shows in this row's cell: the field's OnGetText and the calculated fields
    // see this row through the dataset's fields while it runs.
    QString DisplayText(const Field& field) const;

  private:
    ClientDataSet* dataSet_;
    const Value* row_;
};

}  // namespace fai
