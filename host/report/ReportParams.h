#pragma once

#include "Errors.h"
#include "ReportDefinition.h"
#include "Value.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace fai {

// A parameter the report does not declare: what a screen gets when it sets one.
class EParamNotFound : public EError {
  public:
    EParamNotFound(const QString& parameter, const QString& report);
};

// One declared parameter of a report and the value the screen gave it, held in the declared
// type: a date given as a day number or as dd/MM/yyyy text is a date, a number given as
// Brazilian text is a number, a list is the keys of the multi-selection text. A value that
// cannot be read as the declared type is refused with a message naming parameter and report.
class ReportParam {
  public:
    ReportParam(ReportParameter declaration, QString report);

    const QString& Name() const { return declaration_.name; }
    ParamType Type() const { return declaration_.type; }
    bool Assigned() const { return assigned_; }

    void SetAsString(const QString& text) { Assign(Value(text)); }
    void SetAsFloat(double number) { Assign(Value(number)); }
    void SetAsDateTime(const QDate& date) { Assign(Value(date)); }
    // Null, which is a value too.
    void Clear() { Assign(Value()); }

    // The values bound where the query names the parameter: one, or one per key of a list
    // (a list without keys binds one null, which matches nothing).
    const std::vector<Value>& Values() const { return values_; }

  private:
    void Assign(const Value& value);

    ReportParameter declaration_;
    QString report_;
    std::vector<Value> values_;
    bool assigned_ = false;
};

// The parameters a report declares, as its before-get-query-parameters event hands them to
// the screen.
class ReportParams {
  public:
    explicit ReportParams(const ReportDefinition& definition);

    int Count() const { return static_cast<int>(params_.size()); }
    ReportParam& Param(int index) { return *params_[std::size_t(index)]; }
    const ReportParam& Param(int index) const { return *params_[std::size_t(index)]; }
    // Letter case ignored.
    bool ExistParam(const QString& name) const;
    // Letter case ignored. Throws EParamNotFound when the report does not declare it.
    ReportParam& ParamByName(const QString& name);
    const ReportParam& ParamByName(const QString& name) const;

  private:
    ReportParam* Find(const QString& name) const;

    QString report_;
    std::vector<std::unique_ptr<ReportParam>> params_;
};

// The screen's handler of the event, where it sets the values of the parameters.
using QueryParamsEvent = std::function<void(ReportParams& params)>;

// How a report is named in messages: 'Listagem de Comensais' (Fai004).
QString ReportLabel(const ReportDefinition& definition);

}  // namespace fai
