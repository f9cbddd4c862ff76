#pragma once

#include "DataSource.h"

#include <QLabel>

namespace fai {

// A label showing one field of the current record of its data source (its display text);
// empty while the source is inactive or has no such field.
class TDBText : public QLabel, private DataLink {
    Q_OBJECT
  public:
    explicit TDBText(QWidget* parent = nullptr);

    fai::DataSource* DataSource() const { return Source(); }
    void SetDataSource(fai::DataSource* source);
    const QString& DataField() const { return dataField_; }
    void SetDataField(const QString& fieldName);

  private:
    void Refresh();

    void StateChanged(DataSetState) override { Refresh(); }
    void DataSetReset() override { Refresh(); }
    void CurrentChanged(int) override { Refresh(); }
    void RecordChanged(int, const Field*) override { Refresh(); }
    void RowInserted(int) override { Refresh(); }
    void RowRemoved(int) override { Refresh(); }

    QString dataField_;
};

}  // namespace fai
