#pragma once

#include "Errors.h"
#include "ReportDefinition.h"

#include <QByteArray>
#include <QString>

namespace fai {

// A definition file that cannot be used: which file, the line (0 when the file as a whole is
// at fault, as when it cannot be opened) and why. Its message says all three.
class EReportFileError : public EError {
  public:
    EReportFileError(const QString& file, qint64 line, const QString& why);
    const QString& File() const { return file_; }
    qint64 Line() const { return line_; }
    const QString& Why() const { return why_; }

  private:
    QString file_;
    qint64 line_;
    QString why_;
};

// Reads a definition file: XML with root <report format="1" code="..." title="...">, then
// <page>, <parameters>, <query>, the bands <reportHeader>, <pageHeader>, <group field="...">
// (with <header> and <footer>), <detail>, <summary>, <pageFooter>, each holding its elements
// <text>, <field>, <aggregate>, <pageNumber>, <printDate>, <line>, <rectangle>, <image>.
// Unknown elements and attributes, bad values, a newer format and a definition that does not
// pass ValidateReport are refused with EReportFileError: nothing is half-loaded.
ReportDefinition ReadReportFile(const QString& path);
ReportDefinition ParseReport(const QByteArray& content, const QString& fileName);

// The file's content: the definition's values in a fixed order, defaults left out, so that
// reading a file and writing it again gives the same bytes. Throws EError when the
// definition does not pass ValidateReport.
QByteArray WriteReport(const ReportDefinition& definition);

// Writes the file whole or not at all (a failed write leaves any previous file as it was).
// Throws EError naming the file on a write failure.
void SaveReportFile(const ReportDefinition& definition, const QString& path);

}  // namespace fai
