#include "TDBText.h"

namespace fai {

TDBText::TDBText(QWidget* parent) : QLabel(parent) {}

void TDBText::SetDataSource(fai::DataSource* source) {
    SetSource(source);
    Refresh();
}

void TDBText::SetDataField(const QString& fieldName) {
    dataField_ = fieldName;
    Refresh();
}

void TDBText::Refresh() {
    fai::DataSource* source = Source();
    ClientDataSet* dataSet = source ? source->DataSet() : nullptr;
    const Field* field = dataSet ? dataSet->FindField(dataField_) : nullptr;
    const bool shown = field && source->State() != DataSetState::Inactive && dataSet->RecNo() > 0;
    // What a display handler throws leaves the label empty rather than breaking the change.
    try {
        setText(shown ? field->DisplayText() : QString());
    } catch (const std::exception&) {
        setText(QString());
    }
}

}  // namespace fai
