#pragma once

#include "ReportDocument.h"
#include "ReportProgress.h"

#include <QString>

class QPrinter;
class QWidget;

namespace fai {

// Writes every page to a PDF file: the fonts embedded, the text selectable, the report's
// title and the author (the user who ran it) in the document's properties. The file is
// written whole or not at all. Throws EError naming the file when it cannot be written,
// EAbort when the user cancels through `progress`.
void ExportPdf(const ReportDocument& document, const QString& path, ReportProgress& progress);

// Prints on the printer as it is set up: the pages of its range (every page when it has
// none) and its number of copies. Throws EAbort when the user cancels through `progress`.
void PrintReport(const ReportDocument& document, QPrinter& printer, ReportProgress& progress);

// The system's print dialog (printer, copies, page range), then the report on the printer,
// with progress shown when it takes long. Nothing happens when the dialog is cancelled.
void PrintWithDialog(const ReportDocument& document, QWidget* parent);

// Asks where to save the PDF (through the dialog service), then writes it with progress.
// Nothing happens when the user cancels.
void ExportPdfWithDialog(const ReportDocument& document, QWidget* parent);

// Who is named as the author of what the report prints: the system user.
QString ReportAuthor();

}  // namespace fai
