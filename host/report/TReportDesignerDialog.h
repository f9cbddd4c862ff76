#pragma once

#include "ReportParams.h"

#include <QString>

class QWidget;

namespace fai {

// The report designer component of the report base form (rpddPadrao). It carries what the
// screen sets for every run of its reports: the name of the database their queries run on
// and the screen's before-get-query-parameters handler, which each run (print, preview, the
// designer's own preview) raises with the report's parameters. The host has one shared
// database, which every database name stands for.
class TReportDesignerDialog {
  public:
    // Opens the designer on the definition file, modally, and returns the path of the file
    // the design was saved to (the user's copy of a definition that is not theirs), or
    // nothing when it was not saved. Throws EReportFileError when the file cannot be used.
    QString Execute(const QString& path, QWidget* parent = nullptr) const;

    const QString& DefaultDatabaseName() const { return defaultDatabaseName_; }
    void SetDefaultDatabaseName(const QString& name) { defaultDatabaseName_ = name; }

    QueryParamsEvent BeforeGetQueryParams;

  private:
    QString defaultDatabaseName_;
};

}  // namespace fai
