#pragma once

#include "ReportParams.h"

#include <QString>

namespace fai {

// The report designer component of the report base form (rpddPadrao). It carries what the
// screen sets for every run of its reports: the name of the database their queries run on
// and the screen's before-get-query-parameters handler, which each run (print, preview, the
// designer's own preview) raises with the report's parameters. The host has one shared
// database, which every database name stands for.
class TReportDesignerDialog {
  public:
    const QString& DefaultDatabaseName() const { return defaultDatabaseName_; }
    void SetDefaultDatabaseName(const QString& name) { defaultDatabaseName_ = name; }

    QueryParamsEvent BeforeGetQueryParams;

  private:
    QString defaultDatabaseName_;
};

}  // namespace fai
