#include "RowView.h"

#include "ClientDataSet.h"
#include "ValueConversion.h"

namespace fai {

Value RowView::ValueOf(const Field& field) const { return dataSet_->ValueOfRow(row_, field); }

Value RowView::ValueOf(QAnyStringView name) const { return ValueOf(dataSet_->FieldByName(name)); }

QString RowView::AsString(const Field& field) const { return TextOf(ValueOf(field)); }

QString RowView::AsString(QAnyStringView name) const {
    return AsString(dataSet_->FieldByName(name));
}

double RowView::AsFloat(const Field& field) const {
    return FloatOf(ValueOf(field), field.DisplayLabel());
}

double RowView::AsFloat(QAnyStringView name) const { return AsFloat(dataSet_->FieldByName(name)); }

QDate RowView::AsDateTime(const Field& field) const {
    return DateOf(ValueOf(field), field.DisplayLabel());
}

QDate RowView::AsDateTime(QAnyStringView name) const {
    return AsDateTime(dataSet_->FieldByName(name));
}

QString RowView::DisplayText(const Field& field) const {
    return dataSet_->DisplayTextOfRow(row_, field);
}

}  // namespace fai
