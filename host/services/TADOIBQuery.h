#pragma once

#include "ClientDataSet.h"
#include "SqlStatement.h"
#include "Value.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace fai {

// A parameter of a read-only query, named in its SQL as :NAME.
class QueryParam {
  public:
    explicit QueryParam(QString name) : name_(std::move(name)) {}

    const QString& Name() const { return name_; }
    bool Assigned() const { return assigned_; }
    const Value& AsValue() const { return value_; }
    QString AsString() const;

    void SetAsString(const QString& text) { Assign(Value(text)); }
    void SetAsFloat(double number) { Assign(Value(number)); }
    void SetAsDateTime(const QDate& date) { Assign(Value(date)); }
    // Null, which is an assigned value too.
    void Clear() { Assign(Value()); }

  private:
    void Assign(const Value& value) {
        value_ = value;
        assigned_ = true;
    }

    QString name_;
    Value value_;
    bool assigned_ = false;
};

// A read-only query on the shared data (through the host's general data module, dtmDBGeral),
// its result held in an inner client dataset that data sources and lookup lists show. Declare
// the result's fields on DataSet() before the first Open (the packet rules of the dataset then
// check the result against them); without fields the result's columns make them. Parameters
// are bound, never pasted into the SQL; every parameter must have a value before Open, and the
// SQL must be a SELECT (or WITH).
class TADOIBQuery {
  public:
    explicit TADOIBQuery(QString name = {});

    const QString& Name() const { return name_; }
    const QString& SQL() const { return sql_; }
    // Lines joined with line breaks; the parameters are found anew, without values.
    void SetSQL(const QStringList& lines);
    void SetSQL(const QString& text);
    int ParamCount() const { return static_cast<int>(params_.size()); }
    // Letter case ignored. Throws EError when the SQL has no such parameter.
    QueryParam& ParamByName(const QString& name);

    // Runs the query and loads its rows. Throws EError (nothing loaded, the dataset closed)
    // on a missing parameter value, SQL that would change data, a value that does not fit
    // its declared field, or what the server refuses, in its words.
    void Open();
    void Close() { dataSet_.Close(); }
    bool Active() const { return dataSet_.Active(); }
    bool IsEmpty() const { return dataSet_.IsEmpty(); }
    Field& FieldByName(const QString& name) const { return dataSet_.FieldByName(name); }
    ClientDataSet& DataSet() { return dataSet_; }

  private:
    QString Label() const;
    [[noreturn]] void Fail(const QString& message) const;
    // The fields of the answer, those declared on the dataset as declared (marked so in
    // `declared`).
    std::vector<FieldDef> Declared(const std::vector<FieldDef>& answered,
                                   std::vector<bool>& declared) const;
    PacketRow Converted(const std::vector<FieldDef>& fields, PacketRow& row) const;

    QString name_;
    QString sql_;
    SqlStatement statement_;
    std::vector<std::unique_ptr<QueryParam>> params_;
    ClientDataSet dataSet_;
};

}  // namespace fai
