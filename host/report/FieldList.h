#pragma once

#include "ReportDefinition.h"

#include <QStringList>
#include <QWidget>

class QLabel;
class QListWidget;

namespace fai {

// What a dragged field of the query carries: the column's name, in UTF-8.
inline constexpr char kFieldMimeType[] = "application/x-fai-report-field";

// The columns the report's query returns, read by running it on the shared database with
// every parameter null (so that it returns the columns and, as a rule, no rows). Throws EError
// with the database's text when it cannot run.
QStringList QueryFields(const ReportDefinition& definition);

// The query's fields in the designer (lstCampos), each dragged onto a band to make a field
// element there. When the query cannot run, the list is empty and lblCampos says why.
class FieldList : public QWidget {
    Q_OBJECT
  public:
    explicit FieldList(QWidget* parent = nullptr);

    void Load(const ReportDefinition& definition);
    const QStringList& Fields() const { return fields_; }
    // The field chosen in the list; empty when none.
    QString CurrentField() const;

  signals:
    void FieldsChanged();

  private:
    QLabel* lblCampos_;
    QListWidget* lstCampos_;
    QStringList fields_;
};

}  // namespace fai
